#include "common/LocalDatabase.h"

#include "TempProgramFolder.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

using namespace orve;
using orve::test::TempProgramFolder;

namespace {

std::string spalten(SQLite::Database& db, const char* tabelle)
{
    SQLite::Statement q(db, "SELECT group_concat(name || ' ' || type, ', ') FROM pragma_table_info(?)");
    q.bind(1, tabelle);
    return q.executeStep() ? q.getColumn(0).getString() : std::string();
}

const char* const kTarif = "satz INTEGER, vorwahl TEXT, Bezeichnung TEXT, von Zeit TEXT, bis Zeit TEXT, Minutenpreis "
                           "REAL, Pauschale REAL, Sekundentakt INTEGER, typ TEXT, username TEXT";

TEST(LocalDatabase, CreatesEveryTableAndMigratesAVersion1FileKeepingItsRows)
{
    TempProgramFolder dir;
    auto neu = lokaleDatenbankOeffnen(dir.file(QStringLiteral("neu.sqlite")));
    EXPECT_EQ(spalten(*neu, "bill"), "time TEXT, user TEXT, username TEXT, number TEXT, duration TEXT, ucosts REAL, "
                                     "rufziel TEXT, lineno TEXT, costs REAL, vergleichsnummer TEXT, ucostsBrutto "
                                     "REAL, tarifsatz TEXT");
    EXPECT_EQ(spalten(*neu, "Ortstarif"), kTarif);
    EXPECT_EQ(spalten(*neu, "CallByCall"), "satz INTEGER, vorwahl TEXT, Bezeichnung TEXT");
    EXPECT_EQ(neu->execAndGet("PRAGMA user_version").getInt(), kSchemaVersion);
    // Table names compare without case, as the tariff statements expect.
    neu->exec("INSERT INTO callbycall (Vorwahl, bezeichnung) VALUES ('01013', 'Anbieter')");
    EXPECT_EQ(neu->execAndGet("SELECT satz FROM CallbyCall").getInt(), 1);

    const QString alt = dir.file(kLokaleDatenbankRelativ);
    {
        SQLite::Database db(alt.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        db.exec("CREATE TABLE faktor (satz INTEGER PRIMARY KEY AUTOINCREMENT, vorwahl TEXT, Bezeichnung TEXT);"
                "INSERT INTO faktor (vorwahl, Bezeichnung) VALUES ('0171', 'Mobil');"
                "CREATE TABLE bill (time TEXT, user TEXT, username TEXT, number TEXT, duration TEXT, ucosts REAL, "
                "rufziel TEXT, lineno TEXT, costs REAL, vergleichsnummer TEXT, ucostsBrutto REAL);"
                "INSERT INTO bill (number, costs) VALUES ('0891234', 0.09); PRAGMA user_version = 1");
    }
    auto db = lokaleDatenbankOeffnen(alt);
    EXPECT_EQ(db->execAndGet("SELECT number || costs || ifnull(tarifsatz, '-') FROM bill").getString(), "08912340.09-");
    EXPECT_EQ(db->execAndGet("PRAGMA user_version").getInt(), 2);
    EXPECT_EQ(spalten(*db, "faktor"), kTarif);
    EXPECT_EQ(db->execAndGet("SELECT vorwahl || Bezeichnung FROM faktor").getString(), "0171Mobil");
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

TEST(LocalDatabase, ConnectionStringsNameTheFileAndFollowIstSQLite3)
{
    const QString plain = lokaleVerbindung(QStringLiteral("/opt/ORVE-Tarifo"), 1);
    EXPECT_EQ(plain, "DSN=ORVE-Access;DBQ=/opt/ORVE-Tarifo/Datenbank/Bill.sqlite;DefaultDir=/opt/ORVE-Tarifo/Datenbank;"
                     "DriverId=25;FIL=SQLite3 ODBC Driver;MaxBufferSize=2048;PageTimeout=5;UID=admin;");
    EXPECT_TRUE(lokaleVerbindung(QStringLiteral("/o"), 0).contains(QStringLiteral(";FIL=SQLite ODBC Driver;")));
    EXPECT_EQ(lokaleShapeVerbindung(QStringLiteral("/opt/ORVE-Tarifo"), 1),
              "Provider=MSDataShape.1;Extended Properties=" + plain + ";Persist Security Info=False;Data Provider=MSDASQL.1");
}

} // namespace
