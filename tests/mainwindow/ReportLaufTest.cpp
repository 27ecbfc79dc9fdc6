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

// A report run over an SQLite source: every call to 030... finds the
// standard tariff 0,06 per minute; calls to 040... find no tariff.
class ReportLauf : public ::testing::Test {
protected:
    void SetUp() override
    {
        u.state().Steuersatz = QStringLiteral("19");
        u.state().Kostenaufschlag = QStringLiteral("1,20");
        u.lokal()->exec("INSERT INTO faktor (vorwahl, Bezeichnung, \"von Zeit\", \"bis Zeit\", Minutenpreis, "
                        "Pauschale, Sekundentakt) VALUES ('030', 'Berlin', '00:00:00', '24:00:00', 0.06, 0, 0)");
    }
    void anrufe(int anzahl, const QString& nummer = QStringLiteral("0301234"))
    {
        std::vector<StdbillAnruf> a;
        for (int i = 0; i < anzahl; ++i)
            a.push_back({utcZeit("2009-03-21 14:30:00").addSecs(60 * i), 21 + i % 2, QStringLiteral("Zentrale"),
                         nummer, 90});
        u.sqlite(a);
    }
    std::vector<double> ucosts()
    {
        std::vector<double> w;
        for (const auto& g : ansicht.bericht->daten().gruppen)
            for (const auto& a : g.bill)
                w.push_back(a.ucosts.value_or(-1));
        return w;
    }

    QuellUmgebung u;
    SpeicherRegistry reg = standardRegistry();
    FesteSystemumgebung system;
    ScriptedDialogs dialogs;
    AnsichtProtokoll ansicht;
    AuswahlQuellen quellen;
    Hauptfenster fenster{u.state(), reg, system, quellen, dialogs, ansicht};
};

TEST_F(ReportLauf, CountsEveryCallOnTheProgressBarAndShowsTheReportOverTheShapedConnection)
{
    for (const int istSQLite3 : {1, 0}) {
        anrufe(250);
        u.state().IstSQLite3 = istSQLite3;
        int gesperrt = 0;
        ansicht.beimVerarbeiten = [&] { gesperrt += ansicht.laufAnzeigen_.back() ? 1 : 0; };
        ansicht.fortschritte.clear();
        fenster.mnuReport();

        EXPECT_EQ(ansicht.fortschrittMax, 250);
        ASSERT_EQ(ansicht.fortschritte.size(), 252u); // 0, each call, 0 again
        EXPECT_EQ(ansicht.fortschritte[0], 0);
        EXPECT_EQ(ansicht.fortschritte[250], 250);
        EXPECT_EQ(ansicht.fortschritte.back(), 0);
        EXPECT_EQ(gesperrt, 250) << "commands stay disabled while the calls are priced";
        EXPECT_FALSE(ansicht.laufAnzeigen_.back());
        ASSERT_TRUE(ansicht.bericht);
        EXPECT_EQ(ansicht.bericht->daten().anrufe(), 250u);
        EXPECT_EQ(ucosts().front(), 0.108);
        const QString fil = istSQLite3 ? QStringLiteral("FIL=SQLite3 ODBC Driver;") : QStringLiteral("FIL=SQLite ODBC Driver;");
        EXPECT_TRUE(quellen.verlangt().last().startsWith(QStringLiteral("Provider=MSDataShape.1;Extended Properties=DSN=ORVE-Access;")));
        EXPECT_TRUE(quellen.verlangt().last().contains(fil)) << quellen.verlangt().last().toStdString();
    }
    EXPECT_EQ(ansicht.berichte, 2);
    EXPECT_TRUE(dialogs.boxes().empty());
}

TEST_F(ReportLauf, EndsWithoutReportWhenNothingWasImportedOrTheImportFailed)
{
    anrufe(3);
    ansicht.combo1 = QStringLiteral("99  |  niemand");
    dialogs.answer(Answer::Ok);
    fenster.mnuReport();
    EXPECT_EQ(dialogs.protokoll(), QStringList{"M ORVE-Tarifo V2.01 | Datentabelle enthält keine Daten!\\r"
                                               "Reporterstellung wird abgebrochen! | Ok Stop"});

    // A report on part of the calls would be a wrong bill.
    ansicht.combo1 = QStringLiteral("alle");
    u.lokal()->exec("CREATE TRIGGER voll BEFORE INSERT ON bill WHEN (SELECT count(*) FROM bill) >= 2 "
                    "BEGIN SELECT RAISE(ABORT, 'Platte voll'); END");
    dialogs.answer(Answer::Ok);
    fenster.mnuReport();
    EXPECT_EQ(dialogs.boxes().size(), 2u) << "no question about tariffs after the failed import";
    EXPECT_EQ(ansicht.berichte, 0);
    EXPECT_EQ(u.lokal()->execAndGet("SELECT count(*) FROM bill WHERE rufziel IS NOT NULL").getInt(), 0);
    EXPECT_EQ(ansicht.laufAnzeigen_, std::vector<bool>({true, false, true, false}));
}

TEST_F(ReportLauf, CancelOrClosingTheWindowStopsTheRunAndKeepsWhatWasPriced)
{
    std::vector<StdbillAnruf> a{{utcZeit("2009-03-21 14:30:00"), 21, QStringLiteral("Zentrale"), QStringLiteral("0301234"), 90},
                                {utcZeit("2009-03-21 14:31:00"), 21, QStringLiteral("Zentrale"), QStringLiteral("0401234"), 90},
                                {utcZeit("2009-03-21 14:32:00"), 21, QStringLiteral("Zentrale"), QStringLiteral("0301234"), 90}};
    u.sqlite(a);
    dialogs.answer(Answer::Cancel);
    fenster.mnuReport();
    EXPECT_EQ(ansicht.berichte, 0);
    EXPECT_EQ(ansicht.fortschritt, 1) << "the progress bar keeps its position";
    EXPECT_EQ(u.lokal()->execAndGet("SELECT group_concat(ifnull(ucosts, '-'), ' ') FROM bill ORDER BY rowid").getString(),
              "0.108 - -");

    // The main window closes during the run: it stops after the current call.
    ansicht.beimVerarbeiten = [&] {
        fenster.mnuReport(); // a second run cannot start inside the first
        fenster.laufAnhalten();
    };
    fenster.mnuReport();
    EXPECT_EQ(ansicht.berichte, 0);
    EXPECT_EQ(ansicht.laufAnzeigen_, std::vector<bool>({true, false, true, false}));
    EXPECT_TRUE(dialogs.scriptDone());
}

TEST_F(ReportLauf, OwnPriceRunRoundsUpToTheOwnPriceAndAPlainRunAfterItDoesNot)
{
    anrufe(1);
    dialogs.answer(Answer::Ok);
    fenster.mnuReportEigen();
    EXPECT_EQ(dialogs.protokoll(), QStringList{"M ORVE-Tarifo V2.01 | Sie müssen zuerst über die Funktion "
                                               "'Einstellungen' einen eigenen Minutenpreis festlegen! | Ok Stop"});
    EXPECT_EQ(ansicht.text1, QStringLiteral("0")) << "nothing imported";

    u.ordner.writeFile(QStringLiteral("Minutenpreis.txt"), "0,10\r\n");
    fenster.mnuReportEigen();
    EXPECT_EQ(ucosts(), std::vector<double>{0.24}); // 0,06 -> 0,10 a minute, 0,15 -> 0,20, x 1,20
    EXPECT_EQ(fenster.EigenpreisModus, 0);
    fenster.mnuReport();
    EXPECT_EQ(ucosts(), std::vector<double>{0.108});
}

} // namespace
