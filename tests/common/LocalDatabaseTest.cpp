#include "common/LocalDatabase.h"

#include "TempProgramFolder.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orve;
using orve::test::TempProgramFolder;

namespace {

std::vector<std::pair<std::string, std::string>> columns(SQLite::Database& db, const std::string& table)
{
    std::vector<std::pair<std::string, std::string>> out;
    SQLite::Statement q(db, "SELECT name, type FROM pragma_table_info(?)");
    q.bind(1, table);
    while (q.executeStep())
        out.emplace_back(q.getColumn(0).getString(), q.getColumn(1).getString());
    return out;
}

using Cols = std::vector<std::pair<std::string, std::string>>;

const Cols kTariff = {{"satz", "INTEGER"}, {"vorwahl", "TEXT"}, {"Bezeichnung", "TEXT"}, {"von Zeit", "TEXT"},
                      {"bis Zeit", "TEXT"}, {"Minutenpreis", "REAL"}, {"Pauschale", "REAL"},
                      {"Sekundentakt", "INTEGER"}, {"typ", "TEXT"}, {"username", "TEXT"}};

} // namespace

TEST(LocalDatabase, CreatedFileHasEveryTableAndColumn)
{
    TempProgramFolder dir;
    auto db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
    EXPECT_EQ(columns(*db, "bill"),
              (Cols{{"time", "TEXT"}, {"user", "TEXT"}, {"username", "TEXT"}, {"number", "TEXT"},
                    {"duration", "TEXT"}, {"ucosts", "REAL"}, {"rufziel", "TEXT"}, {"lineno", "TEXT"},
                    {"costs", "REAL"}, {"vergleichsnummer", "TEXT"}, {"ucostsBrutto", "REAL"},
                    {"tarifsatz", "TEXT"}}));
    EXPECT_EQ(columns(*db, "faktor"), kTariff);
    EXPECT_EQ(columns(*db, "Ortstarif"), kTariff);
    EXPECT_EQ(columns(*db, "CallByCall"), (Cols{{"satz", "INTEGER"}, {"vorwahl", "TEXT"}, {"Bezeichnung", "TEXT"}}));
    EXPECT_EQ(db->execAndGet("PRAGMA user_version").getInt(), kSchemaVersion);
    // Table names compare without case, as the tariff statements expect.
    db->exec("INSERT INTO callbycall (Vorwahl, bezeichnung) VALUES ('01013', 'Anbieter')");
    EXPECT_EQ(db->execAndGet("SELECT satz FROM CallbyCall").getInt(), 1);
}

TEST(LocalDatabase, MissingTableIsAddedAndRowsAreKept)
{
    TempProgramFolder dir;
    const QString file = dir.file(kLokaleDatenbankRelativ);
    {
        SQLite::Database db(file.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        db.exec("CREATE TABLE faktor (satz INTEGER PRIMARY KEY AUTOINCREMENT, vorwahl TEXT, Bezeichnung TEXT)");
        db.exec("INSERT INTO faktor (vorwahl, Bezeichnung) VALUES ('0171', 'Mobil')");
        // A version 1 call table: no tarifsatz yet.
        db.exec("CREATE TABLE bill (time TEXT, user TEXT, username TEXT, number TEXT, duration TEXT, ucosts REAL, "
                "rufziel TEXT, lineno TEXT, costs REAL, vergleichsnummer TEXT, ucostsBrutto REAL)");
        db.exec("INSERT INTO bill (number, costs) VALUES ('0891234', 0.09)");
        db.exec("PRAGMA user_version = 1");
    }
    auto db = lokaleDatenbankOeffnen(file);
    EXPECT_EQ(db->execAndGet("SELECT number || costs || ifnull(tarifsatz, '-') FROM bill").getString(), "08912340.09-");
    EXPECT_EQ(db->execAndGet("PRAGMA user_version").getInt(), 2);
    EXPECT_EQ(columns(*db, "faktor"), kTariff);
    EXPECT_EQ(db->execAndGet("SELECT vorwahl || Bezeichnung FROM faktor").getString(), "0171Mobil");
    EXPECT_EQ(columns(*db, "CallByCall").size(), 3u);
}

TEST(LocalDatabase, FileThatIsNoDatabaseGivesAGermanError)
{
    TempProgramFolder dir;
    dir.writeFile(kLokaleDatenbankRelativ, QByteArray(4096, 'x'));
    try {
        lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
        FAIL() << "no error";
    } catch (const VerbindungsFehler& e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("Die lokale Datenbank"))) << e.what();
    }
}

struct ConnCase { int istSQLite3; const char* fil; };
class LocalConnectionString : public ::testing::TestWithParam<ConnCase> {};

TEST_P(LocalConnectionString, FollowsIstSQLite3)
{
    const QString plain = lokaleVerbindung(QStringLiteral("/opt/ORVE-Tarifo"), GetParam().istSQLite3);
    EXPECT_EQ(plain, QStringLiteral("DSN=ORVE-Access;DBQ=/opt/ORVE-Tarifo/Datenbank/Bill.sqlite;"
                                    "DefaultDir=/opt/ORVE-Tarifo/Datenbank;DriverId=25;FIL=%1;"
                                    "MaxBufferSize=2048;PageTimeout=5;UID=admin;").arg(QString::fromUtf8(GetParam().fil)));
    EXPECT_EQ(lokaleShapeVerbindung(QStringLiteral("/opt/ORVE-Tarifo"), GetParam().istSQLite3),
              QStringLiteral("Provider=MSDataShape.1;Extended Properties=") + plain
                  + QStringLiteral(";Persist Security Info=False;Data Provider=MSDASQL.1"));
}

INSTANTIATE_TEST_SUITE_P(Fil, LocalConnectionString,
                         ::testing::Values(ConnCase{0, "SQLite ODBC Driver"}, ConnCase{1, "SQLite3 ODBC Driver"}));
