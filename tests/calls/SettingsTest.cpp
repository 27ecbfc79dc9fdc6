#include "calls/Settings.h"

#include "common/ProgramEnd.h"
#include "common/Version.h"

#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace orve;
using orve::test::ScriptedDialogs;
using orve::test::TempProgramFolder;

namespace {

const QString kNochmals = QStringLiteral("Wollen Sie es nochmals versuchen");

struct Command {
    const char* name;
    void (*run)(AppState&, Dialogs&);
    QString AppState::*value;
    const char* file;
    const char* errorLine;
    bool readsFileFirst;
};

const Command kVat{"vat", mnuMehrwertsteuerEinstellen, &AppState::Steuersatz, "Steuersatz.txt",
                   "Sie müssen einen gültigen Steuersatz angeben!", true};
const Command kMinute{"minute", mnuMinutenpreisEinstellen, &AppState::Minutenpreis, "Minutenpreis.txt",
                      "Sie müssen einen gültigen eigenen Minutenpreis angeben!", true};
const Command kSurcharge{"surcharge", mnuKostenaufschlag, &AppState::Kostenaufschlag, "Kostenaufschlag.txt",
                         "Sie müssen einen gültigen Kostenaufschlag angeben!", false};

// One entry typed into the first input box; a refused entry is answered No.
struct EntryCase {
    Command cmd;
    const char* typed;      // nullptr: the box is cancelled
    bool accepted;
};

class SettingsEntry : public ::testing::TestWithParam<EntryCase> {};

TEST_P(SettingsEntry, AcceptsOrRefusesAndKeepsTheFileConsistent)
{
    const auto& p = GetParam();
    TempProgramFolder dir;
    AppState& state = dir.state();
    state.*(p.cmd.value) = QStringLiteral("alt");
    ScriptedDialogs dialogs;
    if (p.typed)
        dialogs.type(QString::fromUtf8(p.typed));
    else
        dialogs.cancelInput();
    if (!p.accepted)
        dialogs.answer(Answer::No);

    p.cmd.run(state, dialogs);

    EXPECT_TRUE(dialogs.scriptDone());
    const auto& input = dialogs.boxes().front().input;
    EXPECT_EQ(input.title, programmCaption());
    EXPECT_EQ(input.preset, QStringLiteral("alt"));
    const QString file = QString::fromUtf8(p.cmd.file);
    if (p.accepted) {
        EXPECT_EQ(state.*(p.cmd.value), QString::fromUtf8(p.typed));
        EXPECT_EQ(dir.readFile(file), QByteArray(p.typed) + "\r\n");
        EXPECT_EQ(dialogs.boxes().size(), 1u);
    } else {
        EXPECT_EQ(state.*(p.cmd.value), QStringLiteral("alt"));
        EXPECT_FALSE(dir.exists(file));
        const Message m = dialogs.messages().at(0);
        EXPECT_EQ(m.text, QString::fromUtf8(p.cmd.errorLine) + QChar(13) + kNochmals);
        EXPECT_EQ(m.title, programmCaption());
        EXPECT_EQ(m.buttons, Buttons::YesNo);
        EXPECT_EQ(m.icon, Icon::Stop);
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, SettingsEntry, ::testing::Values(
    EntryCase{kVat, "19", true}, EntryCase{kVat, "7,5", true}, EntryCase{kVat, "-5", true},
    EntryCase{kVat, "0", false}, EntryCase{kVat, "abc", false}, EntryCase{kVat, "", false},
    EntryCase{kVat, nullptr, false},
    EntryCase{kMinute, "0,20", true}, EntryCase{kMinute, "0.20", true}, EntryCase{kMinute, "", false},
    EntryCase{kMinute, "abc", false}, EntryCase{kMinute, nullptr, false},
    EntryCase{kSurcharge, "1,20", true}, EntryCase{kSurcharge, "1", true}, EntryCase{kSurcharge, "", false},
    EntryCase{kSurcharge, "abc", false}, EntryCase{kSurcharge, nullptr, false}));

TEST(SettingsCommand, PromptsAreExact)
{
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    dialogs.type(QStringLiteral("19")).type(QStringLiteral("0,20")).type(QStringLiteral("1,20"));
    mnuMehrwertsteuerEinstellen(dir.state(), dialogs);
    mnuMinutenpreisEinstellen(dir.state(), dialogs);
    mnuKostenaufschlag(dir.state(), dialogs);
    ASSERT_EQ(dialogs.boxes().size(), 3u);
    const QChar cr(13);
    EXPECT_EQ(dialogs.boxes()[0].input.prompt, QStringLiteral("Bitte geben Sie den gewünschten Mehrwertsteuersatz")
                                                   + cr + QStringLiteral("(z.B. 19 für 19%) für die Kostenberechnung an:"));
    EXPECT_EQ(dialogs.boxes()[1].input.prompt,
              QStringLiteral("Bitte geben Sie den gewünschten eigenen Minutenpreis (ohne Mehrwertsteuer)") + cr
                  + QStringLiteral("der angefallenen Telefonate an") + cr
                  + QStringLiteral("(z.B. 0,20 für 20 Cent/Minute):"));
    EXPECT_EQ(dialogs.boxes()[2].input.prompt, QStringLiteral("Bitte geben Sie den gewünschten Kostenaufschlag") + cr
                                                   + QStringLiteral("der angefallenen Telefonate in Prozent an") + cr
                                                   + QStringLiteral("(z.B. für 20% Aufschlag muß Ihre Eingabe lauten 1,20):"));
}

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

TEST(SettingsCommand, RetryThenValidEntryIsStored)
{
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    dialogs.type(QStringLiteral("0")).answer(Answer::Yes).type(QStringLiteral("16"));
    mnuMehrwertsteuerEinstellen(dir.state(), dialogs);
    EXPECT_EQ(dir.state().Steuersatz, QStringLiteral("16"));
    EXPECT_EQ(dir.readFile(QStringLiteral("Steuersatz.txt")), QByteArray("16\r\n"));
}

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

TEST(SurchargeAtStart, FileWithValueAsksNothing)
{
    TempProgramFolder dir;
    dir.writeFile(QStringLiteral("Kostenaufschlag.txt"), "1,35\r\n");
    ScriptedDialogs dialogs;
    kostenaufschlagBeimStart(dir.state(), dialogs);
    EXPECT_EQ(dir.state().Kostenaufschlag, QStringLiteral("1,35"));
    EXPECT_TRUE(dialogs.boxes().empty());
}

struct SurchargeStartCase {
    const char* name;
    std::optional<QByteArray> file;
};

class SurchargeAtStartAsks : public ::testing::TestWithParam<SurchargeStartCase> {};

TEST_P(SurchargeAtStartAsks, OffersOneTwentyAndStoresTheAnswer)
{
    TempProgramFolder dir;
    if (GetParam().file)
        dir.writeFile(QStringLiteral("Kostenaufschlag.txt"), *GetParam().file);
    ScriptedDialogs dialogs;
    dialogs.cancelInput().answer(Answer::Yes).type(QStringLiteral("1,25"));
    kostenaufschlagBeimStart(dir.state(), dialogs);
    EXPECT_EQ(dialogs.boxes()[0].input.preset, QStringLiteral("1,20"));
    EXPECT_EQ(dialogs.boxes()[1].message.text,
              QStringLiteral("Sie müssen einen gültigen Kostenaufschlag angeben!") + QChar(13) + kNochmals);
    EXPECT_EQ(dialogs.boxes()[1].message.icon, Icon::Critical);
    EXPECT_EQ(dir.state().Kostenaufschlag, QStringLiteral("1,25"));
    EXPECT_EQ(dir.readFile(QStringLiteral("Kostenaufschlag.txt")), QByteArray("1,25\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Files, SurchargeAtStartAsks, ::testing::Values(
    SurchargeStartCase{"missing", std::nullopt}, SurchargeStartCase{"empty_first_line", QByteArray("\r\n1,20\r\n")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SurchargeAtStart, NoEndsTheProgram)
{
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    dialogs.cancelInput().answer(Answer::No);
    EXPECT_THROW(kostenaufschlagBeimStart(dir.state(), dialogs), ProgramEnd);
    EXPECT_FALSE(dir.exists(QStringLiteral("Kostenaufschlag.txt")));
}

TEST(VatAtStart, AnyFirstLineIsTakenWithoutQuestion)
{
    TempProgramFolder dir;
    dir.writeFile(QStringLiteral("Steuersatz.txt"), "abc\r\n");
    ScriptedDialogs dialogs;
    steuersatzBeimStart(dir.state(), dialogs);
    EXPECT_EQ(dir.state().Steuersatz, QStringLiteral("abc"));
    EXPECT_TRUE(dialogs.boxes().empty());
}

TEST(VatAtStart, MissingFileRunsTheVatCommand)
{
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    dialogs.answer(Answer::Ok).type(QStringLiteral("19"));
    steuersatzBeimStart(dir.state(), dialogs);
    const Message m = dialogs.messages().at(0);
    EXPECT_EQ(m.text, QStringLiteral("Bisher ist kein gültiger Steuersatz angelegt!"));
    EXPECT_EQ(m.title, QStringLiteral("ORVE-Tarifo"));
    EXPECT_EQ(m.icon, Icon::Critical);
    EXPECT_EQ(dir.state().Steuersatz, QStringLiteral("19"));
    EXPECT_EQ(dir.readFile(QStringLiteral("Steuersatz.txt")), QByteArray("19\r\n"));
}

TEST(VatAtStart, StillNoRateEndsTheProgram)
{
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    dialogs.answer(Answer::Ok).type(QStringLiteral("0")).answer(Answer::No).answer(Answer::Ok);
    EXPECT_THROW(steuersatzBeimStart(dir.state(), dialogs), ProgramEnd);
    EXPECT_EQ(dialogs.messages().back().text, QStringLiteral("Es ist immer noch kein gültiger Steuersatz angelegt!")
                                                  + QChar(13) + QStringLiteral("Programm wird jetzt beendet!"));
    EXPECT_TRUE(dialogs.scriptDone());
}

} // namespace
