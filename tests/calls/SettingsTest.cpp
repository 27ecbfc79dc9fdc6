#include "calls/Settings.h"

#include "common/ProgramEnd.h"

#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <gtest/gtest.h>

#include <optional>

using namespace orve;
using orve::test::ScriptedDialogs;
using orve::test::TempProgramFolder;

namespace {

const QString kNochmals = QStringLiteral("\\rWollen Sie es nochmals versuchen | YesNo ");

struct Command {
    const char* name;
    void (*run)(AppState&, Dialogs&);
    Einstellungswert AppState::*value;
    const char* file;
    const char* prompt; // as the box log shows it, lines joined by \r
    const char* errorLine;
    bool readsFileFirst;
};

const Command kVat{"vat", mnuMehrwertsteuerEinstellen, &AppState::Steuersatz, "Steuersatz.txt",
                   "Bitte geben Sie den gewünschten Mehrwertsteuersatz\\r(z.B. 19 für 19%) für die Kostenberechnung an:",
                   "Sie müssen einen gültigen Steuersatz angeben!", true};
const Command kMinute{"minute", mnuMinutenpreisEinstellen, &AppState::Minutenpreis, "Minutenpreis.txt",
                      "Bitte geben Sie den gewünschten eigenen Minutenpreis (ohne Mehrwertsteuer)\\r"
                      "der angefallenen Telefonate an\\r(z.B. 0,20 für 20 Cent/Minute):",
                      "Sie müssen einen gültigen eigenen Minutenpreis angeben!", true};
const Command kSurcharge{"surcharge", mnuKostenaufschlag, &AppState::Kostenaufschlag, "Kostenaufschlag.txt",
                         "Bitte geben Sie den gewünschten Kostenaufschlag\\rder angefallenen Telefonate in Prozent an\\r"
                         "(z.B. für 20% Aufschlag muß Ihre Eingabe lauten 1,20):",
                         "Sie müssen einen gültigen Kostenaufschlag angeben!", false};

// One entry typed into the first input box (an empty text is also what a
// cancelled box gives); a refused entry is answered No.
struct EntryCase {
    Command cmd;
    const char* typed;
    bool accepted;
};

class SettingsEntry : public ::testing::TestWithParam<EntryCase> {};

TEST_P(SettingsEntry, AcceptsOrRefusesAndKeepsTheFileConsistent)
{
    const auto& p = GetParam();
    TempProgramFolder dir;
    dir.state().*(p.cmd.value) = QStringLiteral("alt");
    ScriptedDialogs dialogs;
    dialogs.type(QString::fromUtf8(p.typed));
    if (!p.accepted)
        dialogs.answer(Answer::No);

    p.cmd.run(dir.state(), dialogs);

    QStringList boxen{QStringLiteral("I ORVE-Tarifo V2.01 | %1 | alt").arg(QString::fromUtf8(p.cmd.prompt))};
    const QString file = QString::fromUtf8(p.cmd.file);
    if (p.accepted) {
        EXPECT_EQ(dir.state().*(p.cmd.value), QString::fromUtf8(p.typed));
        EXPECT_EQ(dir.readFile(file), QByteArray(p.typed) + "\r\n");
    } else {
        boxen << "M ORVE-Tarifo V2.01 | " + QString::fromUtf8(p.cmd.errorLine) + kNochmals + "Stop";
        EXPECT_EQ(dir.state().*(p.cmd.value), QStringLiteral("alt"));
        EXPECT_FALSE(dir.exists(file));
    }
    EXPECT_EQ(dialogs.protokoll(), boxen);
}

INSTANTIATE_TEST_SUITE_P(Entries, SettingsEntry, ::testing::Values(
    EntryCase{kVat, "19", true}, EntryCase{kVat, "7,5", true}, EntryCase{kVat, "-5", true},
    EntryCase{kVat, "0", false}, EntryCase{kVat, "abc", false}, EntryCase{kVat, "", false},
    EntryCase{kMinute, "0.20", true}, EntryCase{kMinute, "", false},
    EntryCase{kSurcharge, "1,20", true}, EntryCase{kSurcharge, "abc", false}));

class SettingsFileFirst : public ::testing::TestWithParam<Command> {};

// The VAT and minute price commands offer what the file holds now (edited by
// hand, say); the surcharge command offers the value in memory.
TEST_P(SettingsFileFirst, OffersFileOrMemoryAndPutsBackOnNo)
{
    const Command& c = GetParam();
    TempProgramFolder dir;
    dir.state().*(c.value) = QStringLiteral("im Speicher");
    dir.writeFile(QString::fromUtf8(c.file), "aus Datei\r\n");
    ScriptedDialogs dialogs;
    dialogs.type(QString()).answer(Answer::Yes).type(QString()).answer(Answer::No);
    c.run(dir.state(), dialogs);
    const QString expected = c.readsFileFirst ? QStringLiteral("aus Datei") : QStringLiteral("im Speicher");
    EXPECT_EQ(dialogs.boxes()[0].input.preset, expected);
    EXPECT_EQ(dialogs.boxes()[2].input.preset, expected); // retry starts from the previous value
    EXPECT_EQ(dir.state().*(c.value), expected);
    EXPECT_EQ(dir.readFile(QString::fromUtf8(c.file)), QByteArray("aus Datei\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Commands, SettingsFileFirst, ::testing::Values(kVat, kMinute, kSurcharge),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsCommand, UnwritableFileIsReportedAndValueKeptForTheRun)
{
    TempProgramFolder dir;
    dir.state().programmOrdner = dir.file(QStringLiteral("gibt/es/nicht"));
    ScriptedDialogs dialogs;
    dialogs.type(QStringLiteral("1,30")).answer(Answer::Ok);
    mnuKostenaufschlag(dir.state(), dialogs);
    EXPECT_EQ(dir.state().Kostenaufschlag, QStringLiteral("1,30"));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QStringLiteral("konnte nicht geschrieben werden")));
}

// --- at the end of the main window's load step -------------------------------

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
    EXPECT_TRUE(dialogs.boxes().empty());
}

class SurchargeAtStartAsks : public ::testing::TestWithParam<std::optional<QByteArray>> {};

// A missing file and an empty first line are the same: the surcharge is asked for.
TEST_P(SurchargeAtStartAsks, OffersOneTwentyAndStoresTheAnswer)
{
    TempProgramFolder dir;
    if (GetParam())
        dir.writeFile(QStringLiteral("Kostenaufschlag.txt"), *GetParam());
    ScriptedDialogs dialogs;
    dialogs.cancelInput().answer(Answer::Yes).type(QStringLiteral("1,25"));
    kostenaufschlagBeimStart(dir.state(), dialogs);
    const auto boxen = dialogs.protokoll();
    ASSERT_EQ(boxen.size(), 3);
    EXPECT_TRUE(boxen[0].endsWith(QStringLiteral(" | 1,20")));
    EXPECT_EQ(boxen[1], "M ORVE-Tarifo V2.01 | Sie müssen einen gültigen Kostenaufschlag angeben!" + kNochmals + "Critical");
    EXPECT_EQ(dir.state().Kostenaufschlag, QStringLiteral("1,25"));
    EXPECT_EQ(dir.readFile(QStringLiteral("Kostenaufschlag.txt")), QByteArray("1,25\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Files, SurchargeAtStartAsks,
                         ::testing::Values(std::nullopt, QByteArray("\r\n1,20\r\n")));

TEST(SettingsAtStart, NoToTheSurchargeEndsTheProgram)
{
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    dialogs.cancelInput().answer(Answer::No);
    EXPECT_THROW(kostenaufschlagBeimStart(dir.state(), dialogs), ProgramEnd);
    EXPECT_FALSE(dir.exists(QStringLiteral("Kostenaufschlag.txt")));
}

TEST(SettingsAtStart, MissingVatFileRunsTheVatCommand)
{
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    dialogs.answer(Answer::Ok).type(QStringLiteral("19"));
    steuersatzBeimStart(dir.state(), dialogs);
    EXPECT_EQ(dialogs.protokoll().value(0),
              QStringLiteral("M ORVE-Tarifo | Bisher ist kein gültiger Steuersatz angelegt! | Ok Critical"));
    EXPECT_EQ(dir.state().Steuersatz, QStringLiteral("19"));
    EXPECT_EQ(dir.readFile(QStringLiteral("Steuersatz.txt")), QByteArray("19\r\n"));
}

TEST(SettingsAtStart, StillNoVatRateEndsTheProgram)
{
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    dialogs.answer(Answer::Ok).type(QStringLiteral("0")).answer(Answer::No).answer(Answer::Ok);
    EXPECT_THROW(steuersatzBeimStart(dir.state(), dialogs), ProgramEnd);
    EXPECT_TRUE(dialogs.scriptDone());
    EXPECT_EQ(dialogs.protokoll().back(), QStringLiteral("M ORVE-Tarifo | Es ist immer noch kein gültiger Steuersatz "
                                                         "angelegt!\\rProgramm wird jetzt beendet! | Ok Critical"));
}

} // namespace
