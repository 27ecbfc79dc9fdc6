#pragma once

#include "common/Fehler.h"

#include <QString>

#include <memory>

namespace SQLite { class Database; }

namespace orve {

struct AppState;

// The local database below the program folder.
inline const QString kLokaleDatenbankRelativ = QStringLiteral("Datenbank/Bill.sqlite");

// Schema version kept in SQLite's user_version; raise it together with a
// migration step in LocalDatabase.cpp. 2: `bill` has the column `tarifsatz`.
inline constexpr int kSchemaVersion = 2;

// Opens (and creates when missing) the local database file, creating every
// missing table and migrating an older schema without losing rows.
std::unique_ptr<SQLite::Database> lokaleDatenbankOeffnen(const QString& datei);

// Creates the missing tables and columns and sets user_version.
void lokalesSchemaSicherstellen(SQLite::Database& db);

// The connection strings of the local database ("LokalVerbindung" and the
// shaped one of the report). The FIL part follows IstSQLite3.
QString lokaleVerbindung(const QString& programmOrdner, int istSQLite3);
QString lokaleShapeVerbindung(const QString& programmOrdner, int istSQLite3);

// A database that could not be opened, with a German text for the user.
class VerbindungsFehler : public Fehler {
public:
    explicit VerbindungsFehler(const QString& text, int sqliteCode = 0) : Fehler(text), m_sqliteCode(sqliteCode) {}
    // SQLite's result code when SQLite refused the file (e.g. SQLITE_BUSY
    // for a database another program holds); 0 otherwise.
    int sqliteCode() const { return m_sqliteCode; }

private:
    int m_sqliteCode = 0;
};

// Opens a database from a connection string (the data-source stand-in in
// startup/ implements it on top of the registry file). Throws
// VerbindungsFehler when the data source is not set up or the file cannot be
// opened.
class Datenquellen {
public:
    virtual ~Datenquellen() = default;
    virtual std::unique_ptr<SQLite::Database> oeffnen(const QString& verbindung) = 0;
};

// The one way to open the local database: through the data sources with
// LokalVerbindung. Throws VerbindungsFehler, "Die lokale Datenbank kann
// nicht geöffnet werden:" and the cause on the next line.
std::unique_ptr<SQLite::Database> lokalOeffnen(Datenquellen& quellen, const AppState& state);

} // namespace orve
