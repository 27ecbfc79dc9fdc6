#include "calls/Settings.h"

#include "common/ProgramEnd.h"

#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <gtest/gtest.h>

using namespace orve;
using orve::test::ScriptedDialogs;
using orve::test::TempProgramFolder;

namespace {

struct Befehl {
    void (*run)(AppState&, Dialogs&);
    Einstellungswert AppState::*wert;
    const char* datei;
    bool dateiZuerst; // offers what the file holds now, else the value in memory
};
const Befehl kSteuer{mnuMehrwertsteuerEinstellen, &AppState::Steuersatz, "Steuersatz.txt", true};
const Befehl kMinute{mnuMinutenpreisEinstellen, &AppState::Minutenpreis, "Minutenpreis.txt", true};
const Befehl kAufschlag{mnuKostenaufschlag, &AppState::Kostenaufschlag, "Kostenaufschlag.txt", false};

// The entry is stored in memory and file, or refused; "try again?" is
// answered Yes with an empty entry, then No: the offered value is back.
TEST(SettingsCommand, StoresAValidEntryOrPutsTheOfferedValueBack)
{
    struct Fall {
        Befehl befehl;
        const char* eingabe;
        bool gueltig;
    };
    for (const Fall& f : {Fall{kSteuer, "19", true}, Fall{kSteuer, "7,5", true}, Fall{kSteuer, "-5", true},
                          Fall{kSteuer, "0", false}, Fall{kSteuer, "abc", false}, Fall{kMinute, "0.20", true},
                          Fall{kMinute, "x", false}, Fall{kAufschlag, "1,20", true}, Fall{kAufschlag, "abc", false}}) {
        TempProgramFolder dir;
        dir.state().*(f.befehl.wert) = QStringLiteral("im Speicher");
        dir.writeFile(QString::fromUtf8(f.befehl.datei), "aus Datei\r\n");
        const QString angeboten = f.befehl.dateiZuerst ? QStringLiteral("aus Datei") : QStringLiteral("im Speicher");
        ScriptedDialogs dialogs;
        dialogs.type(QString::fromUtf8(f.eingabe));
        if (!f.gueltig)
            dialogs.answer(Answer::Yes).cancelInput().answer(Answer::No);
        f.befehl.run(dir.state(), dialogs);
        const QString soll = f.gueltig ? QString::fromUtf8(f.eingabe) : angeboten;
        EXPECT_EQ(dir.state().*(f.befehl.wert), soll) << f.eingabe;
        EXPECT_EQ(dir.readFile(QString::fromUtf8(f.befehl.datei)), f.gueltig ? soll.toUtf8() + "\r\n" : "aus Datei\r\n");
        EXPECT_EQ(dialogs.boxes()[0].input.preset, angeboten) << f.eingabe;
        if (!f.gueltig) {
            EXPECT_EQ(dialogs.boxes()[2].input.preset, angeboten) << f.eingabe; // the retry starts from it too
            EXPECT_TRUE(dialogs.protokoll()[1].endsWith(QStringLiteral("YesNo Stop"))) << f.eingabe;
        }
    }
}

TEST(SettingsCommand, UnwritableFileIsReportedAndValueKeptForTheRun)
{
    TempProgramFolder dir;
    dir.state().programmOrdner = dir.file(QStringLiteral("gibt/es/nicht"));
    ScriptedDialogs dialogs;
    dialogs.type(QStringLiteral("1,30")).answer(Answer::Ok);
    mnuKostenaufschlag(dir.state(), dialogs);
    EXPECT_EQ(dir.state().Kostenaufschlag, QStringLiteral("1,30"));
    EXPECT_TRUE(dialogs.messages().at(0).text.contains(QStringLiteral("konnte nicht geschrieben werden")));
}

// At the end of the load step a first line of the file is taken as it is.
// Without one the surcharge is asked for, "1,20" offered, and the VAT
// command runs; giving up ends the program.
TEST(SettingsAtStart, TakesTheFileOrAsksAndGivingUpEndsTheProgram)
{
    struct Fall {
        void (*run)(AppState&, Dialogs&);
        Befehl befehl;
        const char* inhalt;              // of the file; nullptr: none
        std::vector<const char*> skript; // "=text" typed, else the answer Yes, No or Ok
        const char* soll;                // the value afterwards; nullptr: the program ends
        const char* ersteBox = "";
    };
    const Fall faelle[] = {
        {kostenaufschlagBeimStart, kAufschlag, "1,35\r\n", {}, "1,35"},
        {kostenaufschlagBeimStart, kAufschlag, nullptr, {"=x", "Yes", "=1,25"}, "1,25", " | 1,20"},
        {kostenaufschlagBeimStart, kAufschlag, "\r\n1,20\r\n", {"=x", "No"}, nullptr, " | 1,20"},
        {steuersatzBeimStart, kSteuer, "abc\r\n", {}, "abc"},
        {steuersatzBeimStart, kSteuer, nullptr, {"Ok", "=19"}, "19", "Bisher ist kein gültiger Steuersatz"},
        {steuersatzBeimStart, kSteuer, nullptr, {"Ok", "=0", "No", "Ok"}, nullptr, "Bisher ist kein gültiger Steuersatz"},
    };
    for (const Fall& f : faelle) {
        TempProgramFolder dir;
        const QString datei = QString::fromUtf8(f.befehl.datei);
        if (f.inhalt)
            dir.writeFile(datei, f.inhalt);
        ScriptedDialogs dialogs;
        for (const QString schritt : f.skript)
            schritt.startsWith(QLatin1Char('=')) ? (void)dialogs.type(schritt.mid(1))
                : (void)dialogs.answer(schritt == QStringLiteral("Yes") ? Answer::Yes : schritt == QStringLiteral("No") ? Answer::No : Answer::Ok);
        if (!f.soll) {
            EXPECT_THROW(f.run(dir.state(), dialogs), ProgramEnd);
        } else {
            f.run(dir.state(), dialogs);
            EXPECT_EQ(dir.state().*(f.befehl.wert), QString::fromUtf8(f.soll));
        }
        EXPECT_EQ(dir.readFile(datei), f.inhalt ? QByteArray(f.inhalt) : f.soll ? QByteArray(f.soll) + "\r\n" : QByteArray());
        EXPECT_TRUE(dialogs.protokoll().value(0).contains(QString::fromUtf8(f.ersteBox))) << dialogs.protokoll().value(0).toStdString();
    }
}

} // namespace
