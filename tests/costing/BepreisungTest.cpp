#include "costing/Bepreisung.h"
#include "costing/Kostenfehler.h"
#include "tariffs/TarifeditorOeffner.h"

#include "KostenTestDaten.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <QRegularExpression>
#include <QThread>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <functional>

using namespace orve;
using namespace orve::test;

namespace {

// Counts the openings; `aendern` plays the user's work in the editor.
struct TestEditor : TarifeditorOeffner {
    QStringList geoeffnet;
    std::function<void(int)> aendern = [](int) {};
    SQLite::Database* db = nullptr;
    void oeffnen(const QString& nummer) override
    {
        EXPECT_TRUE(sqlite3_get_autocommit(db->getHandle())) << "transaction open while the editor runs";
        geoeffnet << nummer;
        aendern(static_cast<int>(geoeffnet.size()));
    }
};

class BepreisungLauf : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor.db = db.get();
        dir.state().Steuersatz = QStringLiteral("19");
        dir.state().Kostenaufschlag = QStringLiteral("1,20");
        dir.state().Minutenpreis = QStringLiteral("0,10");
        tarifeSchreiben(*db, {{'C', "01013"}, {'O', "089"}});
    }

    Bepreisungsergebnis lauf(bool eigenpreis = false, Bepreisung::Fortschritt f = {})
    {
        return Bepreisung(*db, dir.state(), eigenpreis, dialogs, editor).ausfuehren(f);
    }

    // The columns the run writes, one line per call in table order (numbers in their 15-digit text form).
    std::string zeilen()
    {
        return db->execAndGet("SELECT ifnull(group_concat(typeof(costs) || ' ' || ifnull(CAST(costs AS TEXT), 'NULL') "
                              "|| ' ' || ifnull(CAST(ucosts AS TEXT), 'NULL') || ' ' || ifnull(CAST(ucostsBrutto AS TEXT), "
                              "'NULL') || ' ' || quote(rufziel) || ' ' || quote(vergleichsnummer) || ' ' || "
                              "quote(tarifsatz) || char(10), ''), '') FROM (SELECT * FROM bill ORDER BY rowid)").getString();
    }

    TempProgramFolder dir;
    std::unique_ptr<SQLite::Database> db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
    ScriptedDialogs dialogs;
    TestEditor editor;
};

const std::string kLeer = "null NULL NULL NULL NULL NULL NULL\n";
const std::string kMuenchen90 = "real 0.09 0.108 0.12852 'O1' '0891234' 'Ortstarif:1'\n";
const std::string kIntern = "real 0.0 0.0 0.0 'Internes S0 Gespräch' NULL 'intern'\n";

} // namespace

TEST_F(BepreisungLauf, EveryCallInTableOrderWithNumbersStoredAndNoAnsweredOncePerNumber)
{
    anrufeSchreiben(*db, {{"0891234", "2026-03-02 12:00:00", "90"}, {""}, {"0301234"}, {"0101308912345"}, {"0301234"}});
    dialogs.answer(Answer::No).answer(Answer::No);
    std::vector<std::pair<std::int64_t, std::int64_t>> fortschritt;
    const auto r = lauf(false, [&](std::int64_t i, std::int64_t n) {
        fortschritt.emplace_back(i, n);
        return true;
    });
    EXPECT_EQ(r.status, Bepreisungsergebnis::Status::Fertig);
    EXPECT_EQ(r.ohneTarif, QStringList{QStringLiteral("0301234")});
    EXPECT_EQ(fortschritt, (std::vector<std::pair<std::int64_t, std::int64_t>>{{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));
    const std::string ohne = "null NULL NULL NULL '\?\?\?\?' '0301234' NULL\n";
    EXPECT_EQ(zeilen(), kMuenchen90 + kIntern + ohne + "real 0.06 0.072 0.08568 'O1' '08912345' 'Ortstarif:1'\n" + ohne);
    const QRegularExpression frage(QStringLiteral("^M ORVE-Tarifo V2.01 \\| Es fehlen für die Rufnummer 0301234 die Angaben "
                                                  "im Tarifbereich!.* \\| YesNoCancel Stop default No$"));
    EXPECT_EQ(dialogs.protokoll().filter(frage).size(), 2) << dialogs.protokoll().join(u'\n').toStdString();
}

TEST_F(BepreisungLauf, YesOpensTheEditorAndLooksTheSameCallUpAgainUntilItIsPriced)
{
    anrufeSchreiben(*db, {{"0301234           ", "2026-03-02 12:00:00", "90"}});
    editor.aendern = [&](int mal) {
        if (mal == 2) // the second time the user adds the prefix
            tarifeSchreiben(*db, {{'F', "030"}});
    };
    dialogs.answer(Answer::Yes).answer(Answer::Yes);
    EXPECT_EQ(lauf().status, Bepreisungsergebnis::Status::Fertig);
    EXPECT_EQ(editor.geoeffnet, (QStringList{"0301234           ", "0301234           "}));
    EXPECT_EQ(zeilen(), "real 0.09 0.108 0.12852 'F1' '0301234           ' 'faktor:1'\n");
}

TEST_F(BepreisungLauf, CancelAtTheQuestionOrAStopByTheProgressKeepsTheCallsPricedBefore)
{
    anrufeSchreiben(*db, {{"0891234", "2026-03-02 12:00:00", "90"}, {"0301234"}, {"0891234"}});
    dialogs.answer(Answer::Cancel);
    auto r = lauf(true); // own price 0,10: 0.15 raised to 0.20
    EXPECT_EQ(r.status, Bepreisungsergebnis::Status::Abgebrochen);
    EXPECT_EQ(r.bearbeitet, 1);
    EXPECT_EQ(zeilen(), "real 0.2 0.24 0.2856 'O1' '0891234' 'Ortstarif:1'\n" + kLeer + kLeer);

    r = lauf(false, [](std::int64_t, std::int64_t) { return false; });
    EXPECT_EQ(r.status, Bepreisungsergebnis::Status::Angehalten);
    EXPECT_EQ(zeilen(), kMuenchen90 + kLeer + kLeer);
}

TEST_F(BepreisungLauf, IncrementWithoutMinutePriceShowsTheMessageKeepsEarlierCallsAndEndsTheProgram)
{
    tarifeSchreiben(*db, {{'F', "0301", "00:00:00", "24:00:00", 0, 0.5, 60}});
    anrufeSchreiben(*db, {{"0891234", "2026-03-02 12:00:00", "90"}, {"0301234"}, {"0891234"}});
    dialogs.answer(Answer::Ok);
    EXPECT_THROW(lauf(), Tariftabellenfehler);
    EXPECT_TRUE(dialogs.protokoll().value(0).endsWith(QStringLiteral("aber kein Minutenpreis!\\rBitte prüfen Sie Ihre "
                                                                      "Tariftabelle!\\rRufnummer 0301234 | Ok Stop")));
    EXPECT_EQ(zeilen(), kMuenchen90 + kLeer + kLeer);
}

TEST_F(BepreisungLauf, CostErrorShowsTheMessageAndStopsWithTheCallsBeforeStored)
{
    dir.state().Kostenaufschlag = QStringLiteral("zwanzig Prozent");
    anrufeSchreiben(*db, {{""}, {"0891234"}});
    dialogs.answer(Answer::Ok);
    const auto r = lauf();
    EXPECT_EQ(r.status, Bepreisungsergebnis::Status::Fehler);
    EXPECT_TRUE(r.fehler.startsWith(QStringLiteral("Der Kostenaufschlag „zwanzig Prozent“ ist keine Zahl!")));
    EXPECT_TRUE(dialogs.protokoll().value(0).endsWith(QStringLiteral(" | Ok Stop")));
    EXPECT_EQ(zeilen(), kIntern + kLeer);
}

TEST_F(BepreisungLauf, ChangesByOtherCommandsDuringTheRunAreSeenOrRefused)
{
    // A tariff changed meanwhile prices the following calls.
    anrufeSchreiben(*db, {{"0891234"}, {"0891234"}});
    SQLite::Database andere(dir.file(kLokaleDatenbankRelativ).toStdString(), SQLite::OPEN_READWRITE);
    lauf(false, [&](std::int64_t i, std::int64_t) {
        if (i == 1) { // the user changes a tariff in a window opened meanwhile
            andere.exec("UPDATE Ortstarif SET Minutenpreis = 0.12");
            QThread::msleep(5);
        }
        return true;
    });
    EXPECT_EQ(zeilen(), "real 0.06 0.072 0.08568 'O1' '0891234' 'Ortstarif:1'\n"
                        "real 0.12 0.144 0.17136 'O1' '0891234' 'Ortstarif:1'\n");

    // A call table read in anew meanwhile is not written over.
    db->exec("DELETE FROM bill");
    anrufeSchreiben(*db, {{"0891234"}, {"0891234"}});
    dialogs.answer(Answer::Ok);
    const auto r = lauf(false, [&](std::int64_t i, std::int64_t) {
        if (i == 1) {
            andere.exec("DELETE FROM bill");
            anrufeSchreiben(andere, {{"040123", "2026-03-02 09:00:00"}, {"040123", "2026-03-02 09:00:00"}});
        }
        return true;
    });
    EXPECT_EQ(r.status, Bepreisungsergebnis::Status::Fehler);
    EXPECT_EQ(zeilen(), kLeer + kLeer);
}
