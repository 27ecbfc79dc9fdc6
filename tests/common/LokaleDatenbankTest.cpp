#include "common/LokaleDatenbank.h"
#include "common/SqliteMeldung.h"

#include "TempProgramFolder.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace orve;
using orve::test::TempProgramFolder;

namespace {

std::string spalten(SQLite::Database& db, const char* tabelle)
{
    SQLite::Statement q(db, "SELECT group_concat(name || ' ' || type, ', ') FROM pragma_table_info(?)");
    q.bind(1, tabelle);
    return q.executeStep() ? q.getColumn(0).getString() : std::string();
}

const char* const kTarif =
    "satz INTEGER, vorwahl TEXT, Bezeichnung TEXT, von Zeit TEXT, bis Zeit TEXT, Minutenpreis "
    "REAL, Pauschale REAL, Sekundentakt INTEGER, typ TEXT, username TEXT";

TEST(LokaleDatenbank, CreatesEveryTableMigratesAVersion1FileRefusesAFileThatIsNoneAndNamesItsDriver)
{
    TempProgramFolder dir;
    auto neu = lokaleDatenbankOeffnen(dir.file("neu.sqlite"));
    EXPECT_EQ(spalten(*neu, "bill"),
              "time TEXT, user TEXT, username TEXT, number TEXT, duration TEXT, ucosts REAL, "
              "rufziel TEXT, lineno TEXT, costs REAL, vergleichsnummer TEXT, ucostsBrutto "
              "REAL, tarifsatz TEXT");
    EXPECT_EQ(spalten(*neu, "Ortstarif"), kTarif);
    EXPECT_EQ(spalten(*neu, "CallByCall"), "satz INTEGER, vorwahl TEXT, Bezeichnung TEXT");
    EXPECT_EQ(neu->execAndGet("PRAGMA user_version").getInt(), kSchemaVersion);

    const QString alt = dir.file(kLokaleDatenbankRelativ);
    SQLite::Database(alt.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE)
        .exec("CREATE TABLE faktor (satz INTEGER PRIMARY KEY AUTOINCREMENT, vorwahl TEXT, Bezeichnung TEXT);"
              "INSERT INTO faktor (vorwahl, Bezeichnung) VALUES ('0171', 'Mobil');"
              "CREATE TABLE bill (time TEXT, user TEXT, username TEXT, number TEXT, duration TEXT, ucosts REAL, "
              "rufziel TEXT, lineno TEXT, costs REAL, vergleichsnummer TEXT, ucostsBrutto REAL);"
              "INSERT INTO bill (number, costs) VALUES ('0891234', 0.09); PRAGMA user_version = 1");
    auto db = lokaleDatenbankOeffnen(alt);
    EXPECT_EQ(db->execAndGet("PRAGMA user_version").getInt(), 2);
    EXPECT_EQ(spalten(*db, "faktor"), kTarif);
    EXPECT_EQ(db->execAndGet("SELECT number || costs || ifnull(tarifsatz, '-') FROM bill").getString(),
              "08912340.09-");
    EXPECT_EQ(db->execAndGet("SELECT vorwahl || Bezeichnung FROM faktor").getString(), "0171Mobil");

    dir.writeFile("kaputt.sqlite", QByteArray(4096, 'x'));
    try {
        lokaleDatenbankOeffnen(dir.file("kaputt.sqlite"));
        ADD_FAILURE() << "no error";
    } catch (const VerbindungsFehler& e) {
        EXPECT_TRUE(
            e.text().startsWith(dir.file("kaputt.sqlite").prepend("Die Datei ") + " ist keine SQLite-Datenbank"))
            << e.what();
    }
    // The driver named follows the data source that opened the call database; the report's shaped string carries the
    // plain one (which file it names is seen by every test that opens the local database through it).
    for (int istSQLite3 : {0, 1}) {
        const QString plain = lokaleVerbindung(QStringLiteral("/o"), istSQLite3);
        EXPECT_TRUE(plain.contains(istSQLite3 ? u";FIL=SQLite3 ODBC Driver;" : u";FIL=SQLite ODBC Driver;"))
            << istSQLite3;
        EXPECT_TRUE(lokaleShapeVerbindung(QStringLiteral("/o"), istSQLite3).contains(plain));
    }
}

// The sentence tells what happened and ends with what to do; SQLite's own text is the last line.
TEST(SqliteMeldung, EachKindOfFailureSaysWhatHappenedAndWhatToDo)
{
    const std::tuple<int, const char*, const char*> faelle[] = {
        {SQLITE_FULL, "database or disk is full",
         "Der Datenträger mit der Datenbank /d/Bill.sqlite ist voll. Bitte schaffen Sie Platz und lesen Sie"},
        {SQLITE_READONLY_DIRECTORY, "attempt to write a readonly database",
         "ist schreibgeschützt. Bitte geben Sie Ihrem Benutzerkonto Schreibrechte"},
        {SQLITE_BUSY, "database is locked", "wird gerade von einem anderen Programm benutzt"},
        {SQLITE_LOCKED, "database table is locked", "wird gerade von einem anderen Programm benutzt"},
        {SQLITE_IOERR_WRITE, "disk I/O error", "hat der Datenträger einen Fehler gemeldet"},
        {SQLITE_NOTADB, "file is not a database", "ist keine SQLite-Datenbank oder sie ist beschädigt"},
        {SQLITE_ERROR, "no such table: main.stdbill",
         "In der Datenbank /d/Bill.sqlite fehlt die Tabelle \"stdbill\"."},
        {SQLITE_ERROR, "no such column: duration", "fehlt das Feld \"duration\""},
        {SQLITE_CONSTRAINT, "nein", "ist ein Fehler aufgetreten. Bitte lesen Sie"},
    };
    for (const auto& [code, text, satz] : faelle) {
        const QString m = sqliteMeldung(code, QString::fromUtf8(text), QStringLiteral("/d/Bill.sqlite"),
                                        QStringLiteral("lesen Sie die Daten erneut ein"));
        EXPECT_TRUE(QDir::fromNativeSeparators(m.section(QLatin1Char('\r'), 0, 0)).contains(QString::fromUtf8(satz)))
            << m.toStdString();
        EXPECT_TRUE(m.endsWith("Daten erneut ein.\rMeldung von SQLite: " + QString::fromUtf8(text)))
            << m.toStdString();
    }
}

} // namespace
