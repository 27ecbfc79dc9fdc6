#include "calls/ParadoxKopie.h"
#include "calls/QuellFehler.h"

#include "DateiGroessenGrenze.h"
#include "SourceBuilders.h"

#include <QFileInfo>
#include <QTimeZone>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;
using paradox::FeldTyp;
using paradox::ParadoxTabelle;

namespace {

class Staging : public ::testing::Test {
protected:
    TempProgramFolder dir;
    std::unique_ptr<SQLite::Database> db = lokaleDatenbankOeffnen(dir.file(QStringLiteral("Datenbank/Bill.sqlite")));

    ParadoxKopieErgebnis kopieren(const std::vector<ParadoxFeldDef>& felder, const std::vector<ParadoxZeile>& zeilen)
    {
        return paradoxKopieren(ParadoxTabelle::ausBytes(paradoxTabelle(felder, zeilen)), *db);
    }

    // The columns as "name type", then each row with each value as "type:text".
    std::vector<QStringList> inhalt()
    {
        std::vector<QStringList> z{{}};
        SQLite::Statement s(*db, "SELECT name, type FROM pragma_table_info('paradox')");
        while (s.executeStep())
            z[0] << QString::fromUtf8(s.getColumn(0).getText()) + QLatin1Char(' ') + QString::fromUtf8(s.getColumn(1).getText());
        SQLite::Statement q(*db, "SELECT * FROM paradox ORDER BY rowid");
        while (q.executeStep()) {
            QStringList r;
            for (int i = 0; i < q.getColumnCount(); ++i) {
                const auto c = q.getColumn(i);
                r << QString::fromLatin1(c.isNull() ? "null" : c.isInteger() ? "int" : c.isFloat() ? "real" : "text")
                        + QLatin1Char(':') + QString::fromUtf8(c.getText());
            }
            z.push_back(r);
        }
        return z;
    }
};

TEST_F(Staging, ColumnsFollowTheFieldsAndValuesTheirTypes)
{
    const std::vector<ParadoxFeldDef> felder = {
        {"datum", FeldTyp::Date, 4}, {"Zeit", FeldTyp::Time, 4},      {"Tln#", FeldTyp::Short, 2},
        {"Nummer", FeldTyp::Alpha, 20}, {"Lang", FeldTyp::Long, 4},   {"Betrag", FeldTyp::Number, 8},
        {"Ja", FeldTyp::Logical, 1}, {"Stempel", FeldTyp::Timestamp, 8}, {"Lfd", FeldTyp::AutoInc, 4},
        {"Geld", FeldTyp::Currency, 8},
    };
    const QDateTime stempel(QDate(2009, 3, 21), QTime(14, 30, 5), QTimeZone::utc());
    const QVariant n;
    const auto e = kopieren(felder, {{QDate(2009, 3, 21), QTime(14, 30, 0), 21, "Ölmühle 030", -70000, 1.25, true, stempel, 1, 0.5},
                                     {n, n, n, n, n, n, n, n, 2, n}});
    EXPECT_EQ(e.uebernommen, 2);
    EXPECT_FALSE(e.lesefehler.has_value());
    EXPECT_ZEILEN(inhalt(), std::vector<QStringList>({
        {"datum TEXT", "Zeit TEXT", "Tln# INTEGER", "Nummer TEXT", "Lang INTEGER", "Betrag REAL", "Ja INTEGER",
         "Stempel TEXT", "Lfd INTEGER", "Geld REAL"},
        {"text:2009-03-21", "text:14:30:00", "int:21", "text:Ölmühle 030", "int:-70000", "real:1.25", "int:1",
         "text:2009-03-21 14:30:05", "int:1", "real:0.5"},
        {"null:", "null:", "null:", "null:", "null:", "null:", "null:", "null:", "int:2", "null:"}}));
}

TEST_F(Staging, EmptiedFirstAndRecreatedOnlyWhenColumnsDiffer)
{
    const std::vector<ParadoxFeldDef> felder = {{"datum", FeldTyp::Date, 4}, {"Zeit", FeldTyp::Time, 4}};
    kopieren(felder, {{QDate(2009, 3, 21), QTime(10, 0)}, {QDate(2009, 3, 22), QTime(11, 0)}});
    db->exec("CREATE TRIGGER merker AFTER INSERT ON paradox BEGIN SELECT 1; END");
    kopieren(felder, {{QDate(2009, 3, 21), QTime(10, 0)}});
    EXPECT_EQ(inhalt().size(), 2u);
    EXPECT_EQ(db->execAndGet("SELECT count(*) FROM sqlite_master WHERE name = 'merker'").getInt(), 1)
        << "table with the same columns was recreated";
    kopieren({{"datum", FeldTyp::Date, 4}, {"zeit", FeldTyp::Time, 4}, {"flags", FeldTyp::Short, 2}},
             {{QDate(2009, 3, 21), QTime(10, 0), 0}});
    EXPECT_ZEILEN(inhalt(), std::vector<QStringList>({{"datum TEXT", "zeit TEXT", "flags INTEGER"},
                                                      {"text:2009-03-21", "text:10:00:00", "int:0"}}));
    EXPECT_THROW(kopieren({{"datum", FeldTyp::Date, 4}, {"Datum", FeldTyp::Date, 4}}, {}), QuellFehler); // one name twice
    EXPECT_EQ(inhalt().size(), 2u);
}

// All or nothing: a refused record, a full disk or a file that cannot grow
// (SQLite then rolls back on its own) ends the copy with the cause, and the
// previous start's rows do not stay behind as if they were this start's.
TEST_F(Staging, AFailedWriteEndsTheCopyWithItsCauseAndLeavesNoOldRows)
{
    struct Fall {
        std::string sql;
        std::int64_t grenze; // bytes a file may grow beyond the database's size; 0: no limit
        const char* ursache;
    };
    const int seiten = db->execAndGet("PRAGMA page_count").getInt();
    for (const Fall& f : {Fall{"CREATE TRIGGER nein BEFORE INSERT ON paradox WHEN NEW.\"Tln#\" = 23 BEGIN "
                               "SELECT RAISE(ABORT, 'nein'); END", 0, "Meldung von SQLite: nein"},
                          Fall{"PRAGMA max_page_count = " + std::to_string(seiten + 3), 0, "ist voll"},
                          Fall{"PRAGMA max_page_count = 1000000; PRAGMA cache_size = 4", 20001,
                               "hat der Datenträger einen Fehler gemeldet"}}) {
        db->exec("DROP TRIGGER IF EXISTS nein");
        kopieren(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(5)));
        db->exec(f.sql);
        std::optional<DateiGroessenGrenze> grenze;
        if (f.grenze)
            grenze.emplace(QFileInfo(QString::fromStdString(db->getFilename())).size() + f.grenze);
        EXPECT_FEHLER(kopieren(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(3000, 4))), f.ursache);
        grenze.reset();
        EXPECT_EQ(inhalt().size(), 1u) << f.ursache;
    }
}

} // namespace
