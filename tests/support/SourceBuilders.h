#pragma once

// Builders of TK-Suite call databases for tests, benchmarks and screenshots: an SQLite bill.db with the
// table `stdbill`, a Paradox one in the staging table, and data sources that refuse chosen names.

#include "common/Fehler.h"
#include "common/LokaleDatenbank.h"

#include "DirectSources.h"
#include "ParadoxWriter.h"
#include "TempProgramFolder.h"

#include <QDateTime>
#include <QStringList>

namespace orve::test {

// Rows of texts as one readable text (fields in quotes, one row a line): a failed comparison shows what differs.
std::string lesbar(const QStringList& zeile);
std::string lesbar(const std::vector<QStringList>& zeilen);
#define EXPECT_ZEILEN(ist, soll) EXPECT_EQ(::orve::test::lesbar(ist), ::orve::test::lesbar(soll))

// The German message of the orve::Fehler that f throws, "(kein Fehler)" when it throws none.
template<class F> QString fehlerText(F&& f)
{
    try {
        f();
    } catch (const Fehler& e) {
        return e.text();
    }
    return QStringLiteral("(kein Fehler)");
}
// The statement fails with a message that holds `teil`.
#define EXPECT_FEHLER(anweisung, teil)                                                                             \
    do {                                                                                                           \
        const QString text_ = ::orve::test::fehlerText([&] { anweisung; });                                        \
        EXPECT_TRUE(text_.contains(teil)) << text_.toStdString();                                                  \
    } while (false)

// One row of `stdbill`; an empty number is an internal call.
struct StdbillAnruf {
    QDateTime start; // written as text in the chosen form
    int user = 21;
    QString username = "Zentrale";
    QString number;
    int duration = 60; // seconds
    int lineno = 1;
};

// The declared type of the column `user`; the form of `time`: "2009-03-21 14:30:00" / "21.03.2009 14:30:00".
struct StdbillOptionen {
    enum class User { Integer, Text } user = User::Integer;
    enum class Zeit { Iso, Deutsch } zeit = Zeit::Iso;
};
QString stdbillZeit(const QDateTime& start, StdbillOptionen::Zeit form);

// Creates an SQLite file with `stdbill` (columns id, time, user, username, number, duration, lineno)
// holding the rows in the given order. Replaces an existing file. Throws SQLite::Exception.
void schreibeSqliteBill(const QString& pfad, const std::vector<StdbillAnruf>& anrufe,
                        const StdbillOptionen& optionen = {});

// The calls of beispielAnrufe as `stdbill` rows, with the names of the extensions 20..25.
std::vector<StdbillAnruf> beispielStdbill(int anzahl, std::uint32_t seed = 1);

// Data sources as DirectSources opens them, except that the names in `abgelehnt` are refused as if not set up.
class AuswahlQuellen : public DirectSources {
public:
    explicit AuswahlQuellen(QStringList abgelehnt = {}) : m_abgelehnt(std::move(abgelehnt)) {}
    std::unique_ptr<SQLite::Database> oeffnen(const QString& verbindung) override;

private:
    QStringList m_abgelehnt;
};

// A program folder with a TK-Suite call database at dbf/bill.db: sqlite() writes it and points the state at
// it as the load step would after "SQLite3 Datasource" answered; paradox() writes a Paradox table there and
// copies it into the staging table as a Paradox start does.
class QuellUmgebung {
public:
    QuellUmgebung() { QDir().mkpath(QFileInfo(billDatei()).absolutePath()); }

    AppState& state() { return ordner.state(); }
    QString billDatei() const { return ordner.file(QStringLiteral("dbf/bill.db")); }

    void sqlite(const std::vector<StdbillAnruf>& anrufe, const StdbillOptionen& optionen = {});
    void sqlite(const char* sql); // a database made by these statements
    void paradox(const std::vector<BillAnruf>& anrufe);

    // The local database (Datenbank/Bill.sqlite), opened anew; the number a query of it gives.
    auto lokal() const { return lokaleDatenbankOeffnen(ordner.file(kLokaleDatenbankRelativ)); }
    int wert(const char* sql) const { return lokal()->execAndGet(sql).getInt(); }
    // The local call table in table order, the columns user, username, number, time, duration, lineno.
    std::vector<QStringList> billZeilen() const;

    TempProgramFolder ordner;
    DirectSources quellen;
};

// "yyyy-MM-dd hh:mm:ss" as a moment in UTC (no daylight-saving shifts).
QDateTime utcZeit(const char* iso);

} // namespace orve::test
