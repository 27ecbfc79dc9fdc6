#include "calls/ParadoxKopie.h"
#include "calls/TkBillQuelle.h"

#include "DateiGroessenGrenze.h"
#include "SourceBuilders.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTimeZone>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace orve;
using namespace orve::test;
using paradox::FeldTyp;
using paradox::ParadoxTabelle;

namespace {

class Staging : public ::testing::Test {
protected:
    TempProgramFolder dir;
    std::unique_ptr<SQLite::Database> db = lokaleDatenbankOeffnen(dir.file(QStringLiteral("Datenbank/Bill.sqlite")));

    ParadoxTabelle tabelle(const std::vector<ParadoxFeldDef>& felder, const std::vector<ParadoxZeile>& zeilen,
                           const ParadoxOptionen& optionen = {})
    {
        return ParadoxTabelle::ausBytes(paradoxTabelle(felder, zeilen, optionen));
    }

    // "name type" of each column.
    QStringList spalten()
    {
        QStringList s;
        SQLite::Statement q(*db, "SELECT name, type FROM pragma_table_info('paradox')");
        while (q.executeStep())
            s << QString::fromUtf8(q.getColumn(0).getText()) + QLatin1Char(' ') + QString::fromUtf8(q.getColumn(1).getText());
        return s;
    }

    // Each value as "type:text", in table order.
    std::vector<QStringList> zeilen()
    {
        std::vector<QStringList> z;
        SQLite::Statement q(*db, "SELECT * FROM paradox ORDER BY rowid");
        while (q.executeStep()) {
            QStringList r;
            for (int i = 0; i < q.getColumnCount(); ++i) {
                const auto c = q.getColumn(i);
                const char* typ = c.isNull() ? "null" : c.isInteger() ? "int" : c.isFloat() ? "real" : "text";
                r << QString::fromLatin1(typ) + QLatin1Char(':') + feldText(c);
            }
            z.push_back(r);
        }
        return z;
    }
};

TEST_F(Staging, ColumnsFollowTheFieldsAndValuesTheirTypes)
{
    const std::vector<ParadoxFeldDef> felder = {
        {"datum", FeldTyp::Date, 4},      {"Zeit", FeldTyp::Time, 4},     {"Tln#", FeldTyp::Short, 2},
        {"Nummer", FeldTyp::Alpha, 20},   {"Lang", FeldTyp::Long, 4},     {"Betrag", FeldTyp::Number, 8},
        {"Ja", FeldTyp::Logical, 1},      {"Stempel", FeldTyp::Timestamp, 8}, {"Lfd", FeldTyp::AutoInc, 4},
        {"Geld", FeldTyp::Currency, 8},
    };
    const QDateTime stempel(QDate(2009, 3, 21), QTime(14, 30, 5), QTimeZone::utc());
    const std::vector<ParadoxZeile> daten = {
        {QDate(2009, 3, 21), QTime(14, 30, 0), 21, QStringLiteral("Ölmühle 030"), -70000, 1.25, true, stempel, 1, 0.5},
        {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), 2, QVariant()},
    };
    const auto e = paradoxKopieren(tabelle(felder, daten), *db);
    EXPECT_EQ(e.uebernommen, 2);
    EXPECT_FALSE(e.lesefehler.has_value());

    EXPECT_ZEILEN(spalten(), QStringList({"datum TEXT", "Zeit TEXT", "Tln# INTEGER", "Nummer TEXT", "Lang INTEGER",
                                          "Betrag REAL", "Ja INTEGER", "Stempel TEXT", "Lfd INTEGER", "Geld REAL"}));
    const std::vector<QStringList> soll = {
        {"text:2009-03-21", "text:14:30:00", "int:21", "text:Ölmühle 030", "int:-70000", "real:1.25", "int:1",
         "text:2009-03-21 14:30:05", "int:1", "real:0.5"},
        {"null:", "null:", "null:", "null:", "null:", "null:", "null:", "null:", "int:2", "null:"},
    };
    EXPECT_ZEILEN(zeilen(), soll);
}

TEST_F(Staging, EmptiedFirstAndRecreatedOnlyWhenColumnsDiffer)
{
    const std::vector<ParadoxFeldDef> felder = {{"datum", FeldTyp::Date, 4}, {"Zeit", FeldTyp::Time, 4}};
    const std::vector<ParadoxZeile> daten = {{QDate(2009, 3, 21), QTime(10, 0)}, {QDate(2009, 3, 22), QTime(11, 0)}};
    paradoxKopieren(tabelle(felder, daten), *db);
    db->exec("CREATE TRIGGER merker AFTER INSERT ON paradox BEGIN SELECT 1; END");
    paradoxKopieren(tabelle(felder, daten), *db);
    EXPECT_EQ(zeilen().size(), 2u);
    EXPECT_EQ(db->execAndGet("SELECT count(*) FROM sqlite_master WHERE name = 'merker'").getInt(), 1)
        << "table with the same columns was recreated";

    // Another field list: the table takes its columns.
    const std::vector<ParadoxFeldDef> andere = {{"datum", FeldTyp::Date, 4}, {"zeit", FeldTyp::Time, 4},
                                                {"flags", FeldTyp::Short, 2}};
    paradoxKopieren(tabelle(andere, {{QDate(2009, 3, 21), QTime(10, 0), 0}}), *db);
    EXPECT_ZEILEN(spalten(), QStringList({"datum TEXT", "zeit TEXT", "flags INTEGER"}));
    EXPECT_EQ(zeilen().size(), 1u);
}

// All or nothing: a refused record or a full disk ends the copy with the
// cause, and the previous start's rows do not stay behind as if they were
// this start's calls.
TEST_F(Staging, AFailedWriteEndsTheCopyWithItsCauseAndLeavesNoOldRows)
{
    const auto alt = paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(5)));
    struct Fall {
        const char* name;
        std::function<void()> vorher;
        std::int64_t grenze; // bytes a file may grow beyond the database's size; 0: no limit
        const char* ursache;
    };
    const Fall faelle[] = {
        {"refused record", [&] { db->exec("CREATE TRIGGER nein BEFORE INSERT ON paradox WHEN NEW.\"Tln#\" = 23 "
                                          "BEGIN SELECT RAISE(ABORT, 'nein'); END"); }, 0, "Meldung von SQLite: nein"},
        // A size limit on the database file, as SQLite meets a full disk.
        {"disk full", [&] {
             db->exec("PRAGMA max_page_count = " + std::to_string(db->execAndGet("PRAGMA page_count").getInt() + 3));
         }, 0, "ist voll"},
        // A file that cannot grow (SQLite reports EFBIG as an I/O error); a
        // small cache makes SQLite write to the file while the copy runs.
        {"write fails", [&] { db->exec("PRAGMA max_page_count = 1000000; PRAGMA cache_size = 4"); }, 20001,
         "hat der Datenträger einen Fehler gemeldet"},
    };
    for (const auto& f : faelle) {
        db->exec("DROP TRIGGER IF EXISTS nein");
        paradoxKopieren(ParadoxTabelle::ausBytes(alt), *db);
        ASSERT_EQ(zeilen().size(), 5u);
        f.vorher();
        const auto neu = ParadoxTabelle::ausBytes(paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(3000, 4))));
        std::optional<QString> fehler;
        {
            std::optional<DateiGroessenGrenze> grenze;
            if (f.grenze)
                grenze.emplace(QFileInfo(QString::fromStdString(db->getFilename())).size() + f.grenze);
            try {
                paradoxKopieren(neu, *db);
            } catch (const QuellFehler& e) {
                fehler = e.text();
            }
        }
        ASSERT_TRUE(fehler) << f.name;
        EXPECT_TRUE(fehler->contains(QString::fromUtf8(f.ursache))) << f.name << ": " << fehler->toStdString();
        EXPECT_TRUE(zeilen().empty()) << f.name;
    }
}

TEST_F(Staging, TwoFieldsOfOneNameAreRefusedBeforeAnythingChanges)
{
    const std::vector<ParadoxFeldDef> gut = {{"datum", FeldTyp::Date, 4}};
    paradoxKopieren(tabelle(gut, {{QDate(2009, 3, 21)}}), *db);
    const std::vector<ParadoxFeldDef> doppelt = {{"datum", FeldTyp::Date, 4}, {"Datum", FeldTyp::Date, 4}};
    EXPECT_THROW(paradoxKopieren(tabelle(doppelt, {{QDate(2009, 3, 21), QDate(2009, 3, 22)}}), *db), QuellFehler);
    EXPECT_EQ(zeilen().size(), 1u);
}

} // namespace
