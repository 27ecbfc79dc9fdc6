#include "mainwindow/Hauptfenster.h"

#include "AnsichtProtokoll.h"
#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"
#include "SourceBuilders.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

// Calls to 030... find the tariff 0,06 a minute, calls to 040... none.
class Haupt : public ::testing::Test {
protected:
    void SetUp() override
    {
        u.state().Steuersatz = QStringLiteral("19");
        u.state().Kostenaufschlag = QStringLiteral("1,20");
        u.lokal()->exec("INSERT INTO faktor (vorwahl, Bezeichnung, \"von Zeit\", \"bis Zeit\", Minutenpreis, Pauschale, "
                        "Sekundentakt) VALUES ('030', 'Berlin', '00:00:00', '24:00:00', 0.06, 0, 0)");
    }
    void anrufe(std::vector<const char*> nummern)
    {
        std::vector<StdbillAnruf> a;
        for (const char* n : nummern)
            a.push_back({utcZeit("2009-03-21 14:30:00").addSecs(60 * a.size()), 21, QStringLiteral("Zentrale"), n, 90});
        u.sqlite(a);
    }
    std::string ucosts() { return u.lokal()->execAndGet("SELECT ifnull(group_concat(ifnull(ucosts, '-'), ' '), '') FROM bill").getString(); }

    QuellUmgebung u;
    SpeicherRegistry reg = standardRegistry();
    FesteSystemumgebung system;
    ScriptedDialogs dialogs;
    AnsichtProtokoll ansicht;
    Hauptfenster fenster{u.state(), reg, system, u.quellen, dialogs, ansicht};
};

TEST_F(Haupt, SourceErrorsAreShownAndLeaveTheShownImportAsItWas)
{
    anrufe({"0301234", "0301234", "0301234"});
    fenster.mnuLesenBill();
    ansicht.combo1 = QStringLiteral("Zentrale"); // no extension
    dialogs.answer(Answer::Ok).answer(Answer::Ok).answer(Answer::Ok);
    fenster.mnuLesenBill();
    EXPECT_EQ(ansicht.text1, QStringLiteral("3"));
    EXPECT_EQ(fenster.liste().rowCount(), 3);
    fenster.Combo2_DropDown();
    EXPECT_EQ(ansicht.combo2Liste, QStringList({"alle"}));
    QFile::remove(u.billDatei());
    fenster.Combo1_DropDown();
    EXPECT_EQ(ansicht.combo1Liste, QStringList({"alle"}));
    for (const QString& b : dialogs.protokoll())
        EXPECT_TRUE(b.startsWith("M ORVE-Tarifo V2.01 | ") && b.endsWith(" | Ok Critical")) << b.toStdString();
}

TEST_F(Haupt, ReportRunCountsEveryCallWithTheCommandsLockedAndShowsTheReport)
{
    anrufe(std::vector<const char*>(250, "0301234"));
    int gesperrt = 0;
    ansicht.beimVerarbeiten = [&] { gesperrt += ansicht.gesperrt.back() ? 1 : 0; };
    fenster.mnuReport();
    EXPECT_EQ(ansicht.fortschrittMax, 250);
    ASSERT_EQ(ansicht.fortschritte.size(), 253u); // as it was, 0, each call, 0 again
    EXPECT_EQ(ansicht.fortschritte[1], 0);
    EXPECT_EQ(ansicht.fortschritte[251], 250);
    EXPECT_EQ(ansicht.fortschritte.back(), 0);
    EXPECT_EQ(gesperrt, 250);
    EXPECT_EQ(ansicht.gesperrt, std::vector<bool>({true, false}));
    ASSERT_TRUE(ansicht.bericht);
    EXPECT_EQ(ansicht.bericht->daten().anrufe(), 250u);
}

// A report on part of the calls would be a wrong bill; Cancel at a number
// without tariff ends the run with the progress bar where it stood.
TEST_F(Haupt, ReportRunEndsWithoutReportWhenTheImportFailedOrWasCancelled)
{
    anrufe({"0301234", "0401234", "0301234"});
    dialogs.answer(Answer::Cancel);
    fenster.mnuReport();
    EXPECT_EQ(ansicht.fortschritte.back(), 1);
    EXPECT_EQ(ucosts(), "0.108 - -");
    u.lokal()->exec("CREATE TRIGGER voll BEFORE INSERT ON bill WHEN (SELECT count(*) FROM bill) >= 2 "
                    "BEGIN SELECT RAISE(ABORT, 'Platte voll'); END");
    dialogs.answer(Answer::Ok);
    fenster.mnuReport();
    EXPECT_TRUE(dialogs.messages().back().text.contains(QStringLiteral("Platte voll")));
    EXPECT_EQ(ansicht.text1, QStringLiteral("2"));
    EXPECT_EQ(ucosts(), "- -");
    EXPECT_FALSE(ansicht.bericht);
    EXPECT_EQ(ansicht.gesperrt, std::vector<bool>({true, false, true, false}));
}

TEST_F(Haupt, OwnPriceRunNeedsAnOwnPriceAndAPlainRunAfterItDoesNotUseIt)
{
    anrufe({"0301234"});
    dialogs.answer(Answer::Ok);
    fenster.mnuReportEigen();
    EXPECT_TRUE(dialogs.messages().at(0).text.contains(QStringLiteral("eigenen Minutenpreis festlegen")));
    EXPECT_EQ(ansicht.text1, QStringLiteral("0")) << "nothing imported";
    u.ordner.writeFile(QStringLiteral("Minutenpreis.txt"), "0,10\r\n");
    fenster.mnuReportEigen();
    EXPECT_EQ(ucosts(), "0.24"); // 0,06 -> 0,10 a minute, 0,15 -> 0,20, x 1,20
    fenster.mnuReport();
    EXPECT_EQ(ucosts(), "0.108");
}

} // namespace
