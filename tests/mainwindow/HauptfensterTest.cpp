#include "mainwindow/Hauptfenster.h"

#include "common/ProgramEnd.h"

#include "AnsichtProtokoll.h"
#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"
#include "SourceBuilders.h"

#include <QFileInfo>
#include <QTimeZone>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

QDateTime zeit(const char* iso) { return utcZeit(iso); }

class Haupt : public ::testing::Test {
protected:
    QuellUmgebung u;
    SpeicherRegistry reg = standardRegistry();
    FesteSystemumgebung system;
    ScriptedDialogs dialogs;
    AnsichtProtokoll ansicht;
    Hauptfenster fenster{u.state(), reg, system, u.quellen, dialogs, ansicht};
};

// The commands on an SQLite source (the Paradox source differs only in the
// filter and import functions the commands call).
class Befehle : public Haupt {
protected:
    void SetUp() override
    {
        u.sqlite({{zeit("2009-03-21 14:30:00"), 21, QStringLiteral("Zentrale"), QStringLiteral("0301234"), 125},
                  {zeit("2009-03-21 14:31:00"), 22, QStringLiteral("Lager"), QStringLiteral("0301234"), 125},
                  {zeit("2009-03-22 09:00:00"), 21, QStringLiteral("Zentrale"), QStringLiteral("0301234"), 125}},
                 {StdbillOptionen::User::Text, StdbillOptionen::Zeit::Deutsch});
    }
    int billZeilen() { return u.lokal()->execAndGet("SELECT count(*) FROM bill").getInt(); }
};

TEST_F(Befehle, OpeningTheExtensionListClearsTheShownImportAndResetsTheDates)
{
    fenster.mnuLesenBill();
    ansicht.fortschritt = 40;
    ansicht.combo2Liste = {QStringLiteral("alle"), QStringLiteral("x")};
    ansicht.combo2 = QStringLiteral("x");
    fenster.Combo1_DropDown();
    EXPECT_EQ(ansicht.combo1Liste, QStringList({"alle", QStringLiteral("21  |  Zentrale"), "22  |  Lager"}));
    EXPECT_EQ(ansicht.combo1, QString());
    EXPECT_TRUE(ansicht.combo2Liste.isEmpty());
    EXPECT_EQ(ansicht.combo2, QStringLiteral("alle"));
    EXPECT_EQ(ansicht.text1, QStringLiteral("0"));
    EXPECT_EQ(ansicht.fortschritt, 0);
    EXPECT_EQ(fenster.liste().rowCount(), 0);
    EXPECT_EQ(billZeilen(), 3) << "the table keeps the imported calls";
    // Closed without a choice: both selections mean no limit.
    fenster.mnuLesenBill();
    EXPECT_EQ(ansicht.text1, QStringLiteral("3"));
}

TEST_F(Befehle, BadSelectionIsReportedAndChangesNothing)
{
    fenster.mnuLesenBill();
    ansicht.combo1 = QStringLiteral("Zentrale");
    dialogs.answer(Answer::Ok).answer(Answer::Ok);
    fenster.mnuLesenBill();
    EXPECT_EQ(ansicht.text1, QStringLiteral("3"));
    EXPECT_EQ(fenster.liste().rowCount(), 3);
    fenster.Combo2_DropDown();
    EXPECT_EQ(ansicht.combo2Liste, QStringList({"alle"}));
    const auto boxen = dialogs.protokoll();
    ASSERT_EQ(boxen.size(), 2);
    for (const auto& b : boxen)
        EXPECT_TRUE(b.startsWith("M ORVE-Tarifo V2.01 | ") && b.endsWith(" | Ok Critical")) << b.toStdString();
}

TEST_F(Befehle, DatabaseErrorDuringTheImportIsReportedWithTheCallsSoFar)
{
    u.lokal()->exec("CREATE TRIGGER voll BEFORE INSERT ON bill WHEN (SELECT count(*) FROM bill) >= 2 "
                    "BEGIN SELECT RAISE(ABORT, 'Platte voll'); END");
    dialogs.answer(Answer::Ok);
    fenster.mnuLesenBill();
    EXPECT_EQ(ansicht.text1, QStringLiteral("2"));
    EXPECT_EQ(fenster.liste().rowCount(), 2);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QStringLiteral("Platte voll")));
}


TEST_F(Haupt, SourceThatVanishedGivesAMessageInEveryCommand)
{
    u.sqlite(beispielStdbill(5));
    QFile::remove(u.billDatei());
    dialogs.answer(Answer::Ok).answer(Answer::Ok).answer(Answer::Ok);
    fenster.Combo1_DropDown();
    fenster.Combo2_DropDown();
    fenster.mnuLesenBill();
    EXPECT_TRUE(dialogs.scriptDone());
    EXPECT_EQ(ansicht.combo1Liste, QStringList({"alle"}));
    EXPECT_FALSE(QFileInfo::exists(u.billDatei()));
}

TEST_F(Haupt, NewDatabasePathForgetsThePathAndEndsSoTheNextStartSearchesAgain)
{
    u.ordner.writeFile(QStringLiteral("Kostenaufschlag.txt"), "1,20\r\n");
    u.ordner.writeFile(QStringLiteral("Steuersatz.txt"), "19\r\n");
    u.ordner.writeFile(QStringLiteral("Billpfad.txt"), "C:\\alt\\bill.db\r\n");
    u.state().Billpfad = QStringLiteral("C:\\alt\\bill.db");
    dialogs.answer(Answer::Ok);
    try {
        fenster.mnuDatenbankpfadneu();
        ADD_FAILURE() << "the program did not end";
    } catch (const ProgramEnd& e) {
        EXPECT_EQ(e.exitCode(), 0);
    }
    EXPECT_EQ(dialogs.protokoll(), QStringList{"M ORVE-Tarifo | Bitte starten Sie das Programm zur Ermittlung des neuen "
                                               "Datenbankpfades neu! | Ok Information"});
    EXPECT_EQ(u.ordner.readFile(QStringLiteral("Billpfad.txt")), QByteArray("\r\n"));
    EXPECT_TRUE(u.state().Billpfad.isEmpty());

    // At the next start bill.db lies at a standard place: taken without a question.
    StartPfade pfade{u.ordner.file(QStringLiteral("agfeo/bill.db")), QStringLiteral("x"), u.ordner.file(QStringLiteral("p/bill.db"))};
    QDir().mkpath(u.ordner.file(QStringLiteral("agfeo")));
    schreibeSqliteBill(pfade.standard1, beispielStdbill(3));
    ScriptedDialogs neu;
    Hauptfenster(u.state(), reg, system, u.quellen, neu, ansicht).laden(pfade);
    EXPECT_TRUE(neu.boxes().empty());
    EXPECT_EQ(ansicht.text3, pfade.standard1);
}

} // namespace
