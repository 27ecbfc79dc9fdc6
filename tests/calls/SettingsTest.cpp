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
    QString AppState::*wert;
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

TEST(SettingsAtStart, AnyFirstLineIsTakenWithoutQuestion)
{
    TempProgramFolder dir;
    dir.writeFile(QStringLiteral("Kostenaufschlag.txt"), "1,35\r\n");
    dir.writeFile(QStringLiteral("Steuersatz.txt"), "abc\r\n");
    ScriptedDialogs dialogs;
    kostenaufschlagBeimStart(dir.state(), dialogs);
    steuersatzBeimStart(dir.state(), dialogs);
    EXPECT_EQ(dir.state().Kostenaufschlag, QStringLiteral("1,35"));
    EXPECT_EQ(dir.state().Steuersatz, QStringLiteral("abc"));
}

// A missing file or an empty first line: "1,20" is offered; an entry that
// is no number is refused, and No to "try again?" ends the program.
TEST(SettingsAtStart, MissingSurchargeIsAskedForAndGivingUpEndsTheProgram)
{
    for (const bool aufgeben : {false, true}) {
        TempProgramFolder dir;
        if (aufgeben)
            dir.writeFile(QStringLiteral("Kostenaufschlag.txt"), "\r\n1,20\r\n");
        ScriptedDialogs dialogs;
        dialogs.type(QStringLiteral("x")).answer(aufgeben ? Answer::No : Answer::Yes);
        if (aufgeben) {
            EXPECT_THROW(kostenaufschlagBeimStart(dir.state(), dialogs), ProgramEnd);
        } else {
            dialogs.type(QStringLiteral("1,25"));
            kostenaufschlagBeimStart(dir.state(), dialogs);
        }
        EXPECT_TRUE(dialogs.protokoll()[0].endsWith(QStringLiteral(" | 1,20")));
        EXPECT_TRUE(dialogs.protokoll()[1].endsWith(QStringLiteral("YesNo Critical")));
        EXPECT_EQ(dir.readFile(QStringLiteral("Kostenaufschlag.txt")), aufgeben ? "\r\n1,20\r\n" : "1,25\r\n");
    }
}

// Without Steuersatz.txt the VAT command runs; still no valid rate ends the program.
TEST(SettingsAtStart, MissingVatRateRunsTheVatCommandAndStillNoneEndsTheProgram)
{
    for (const char* eingabe : {"19", "0"}) {
        TempProgramFolder dir;
        ScriptedDialogs dialogs;
        dialogs.answer(Answer::Ok).type(QString::fromUtf8(eingabe));
        if (eingabe[0] == '0') {
            dialogs.answer(Answer::No).answer(Answer::Ok);
            EXPECT_THROW(steuersatzBeimStart(dir.state(), dialogs), ProgramEnd);
            EXPECT_TRUE(dialogs.protokoll().back().contains(QStringLiteral("Programm wird jetzt beendet!")));
        } else {
            steuersatzBeimStart(dir.state(), dialogs);
            EXPECT_EQ(dir.readFile(QStringLiteral("Steuersatz.txt")), QByteArray("19\r\n"));
        }
        EXPECT_TRUE(dialogs.protokoll()[0].contains(QStringLiteral("Bisher ist kein gültiger Steuersatz")));
    }
}

} // namespace
