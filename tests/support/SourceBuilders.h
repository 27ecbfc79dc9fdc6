#pragma once

// Builders of TK-Suite call databases for tests, benchmarks and screenshots:
// an SQLite bill.db with the table `stdbill`, and data sources that refuse
// chosen data-source names.

#include "common/Fehler.h"
#include "common/LocalDatabase.h"

#include "DirectSources.h"
#include "ParadoxWriter.h"
#include "TempProgramFolder.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orve::test {

// Rows of texts as one readable text (fields in quotes, one row a line), so
// that a failed comparison shows what differs.
std::string lesbar(const QStringList& zeile);
std::string lesbar(const std::vector<QStringList>& zeilen);
#define EXPECT_ZEILEN(ist, soll) EXPECT_EQ(::orve::test::lesbar(ist), ::orve::test::lesbar(soll))

// The German message of the orve::Fehler that f throws, "(kein Fehler)" when
// it throws none.
template <class F>
QString fehlerText(F&& f)
{
    try {
        f();
    } catch (const Fehler& e) {
        return e.text();
    }
    return QStringLiteral("(kein Fehler)");
}
// The statement fails with a message that holds `teil`.
#define EXPECT_FEHLER(anweisung, teil)                                         \
    do {                                                                       \
        const QString text_ = ::orve::test::fehlerText([&] { anweisung; });     \
        EXPECT_TRUE(text_.contains(teil)) << text_.toStdString();              \
    } while (false)

// One row of `stdbill`.
struct StdbillAnruf {
    QDateTime start;             // written as text in the chosen form
    int user = 21;
    QString username = QStringLiteral("Zentrale");
    QString number;              // empty: internal call
    int duration = 60;           // seconds
    int lineno = 1;
};

struct StdbillOptionen {
    enum class User { Integer, Text };
    enum class Zeit { Iso, Deutsch };   // "2009-03-21 14:30:00" / "21.03.2009 14:30:00"
    User user = User::Integer;          // declared type of the column `user`
    Zeit zeit = Zeit::Iso;
};

// The text form of a start in `stdbill`.
QString stdbillZeit(const QDateTime& start, StdbillOptionen::Zeit form);

// Creates an SQLite file with `stdbill` (columns id, time, user, username,
// number, duration, lineno, in this order) holding the rows in the given
// order. Replaces an existing file. Throws std::runtime_error on failure.
void schreibeSqliteBill(const QString& pfad, const std::vector<StdbillAnruf>& anrufe,
                        const StdbillOptionen& optionen = {});

// The calls of beispielAnrufe as `stdbill` rows: six extensions with their
// names (20..25), local, long-distance, mobile and foreign numbers, now and
// then an internal call or one without number (empty number). The same seed
// gives the same rows.
std::vector<StdbillAnruf> beispielStdbill(int anzahl, std::uint32_t seed = 1);

// Data sources as DirectSources opens them, except that the data-source
// names in `abgelehnt` are refused as if they were not set up.
class AuswahlQuellen : public Datenquellen {
public:
    explicit AuswahlQuellen(QStringList abgelehnt = {}) : m_abgelehnt(std::move(abgelehnt)) {}
    std::unique_ptr<SQLite::Database> oeffnen(const QString& verbindung) override;
    // The connection strings asked for, in order.
    const QStringList& verlangt() const { return m_verlangt; }

private:
    QStringList m_abgelehnt;
    QStringList m_verlangt;
    DirectSources m_basis;
};

// A program folder with a TK-Suite call database below it, ready for the
// filter lists and the import: sqlite() writes dbf/bill.db and points the
// state at it as the load step would after "SQLite3 Datasource" answered;
// paradox() writes a Paradox dbf/bill.db and copies it into the staging
// table as a Paradox start does.
class QuellUmgebung {
public:
    QuellUmgebung();

    AppState& state() { return ordner.state(); }
    QString billDatei() const { return ordner.file(QStringLiteral("dbf/bill.db")); }

    void sqlite(const std::vector<StdbillAnruf>& anrufe, const StdbillOptionen& optionen = {});
    // A new dbf/bill.db made by running `sql` (several statements may follow
    // each other), the state pointed at it as sqlite() does.
    void sqlite(const char* sql);
    void paradox(const std::vector<BillAnruf>& anrufe);

    // The local database (Datenbank/Bill.sqlite), opened anew.
    std::unique_ptr<SQLite::Database> lokal() const;
    // The rows of the local call table in table order, the six columns the
    // import writes: user, username, number, time, duration, lineno.
    std::vector<QStringList> billZeilen() const;

    TempProgramFolder ordner;
    DirectSources quellen;
};

// "yyyy-MM-dd hh:mm:ss" as a moment in UTC (no daylight-saving shifts).
QDateTime utcZeit(const char* iso);

// A Paradox call of extension tln that started at start ("yyyy-MM-dd hh:mm:ss").
// Rufnummer and Dauer may be Null (nullopt).
BillAnruf paradoxAnruf(const char* start, int tln, int flags = 0,
                       std::optional<QString> rufnummer = QStringLiteral("030123"),
                       std::optional<QString> dauer = QStringLiteral("00:01:00"), int line = 1);

} // namespace orve::test
