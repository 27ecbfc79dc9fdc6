#pragma once

#include "common/Datenquellen.h"

#include <QString>

#include <memory>

namespace SQLite {
class Database;
}

namespace orve {

struct AppState;

// The local database below the program folder.
inline const QString kLokaleDatenbankRelativ = QStringLiteral("Datenbank/Bill.sqlite");

// Schema version kept in SQLite's user_version; raise it together with a
// migration step in LokaleDatenbank.cpp. 2: `bill` has the column `tarifsatz`.
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

// The one way to open the local database: through the data sources with
// LokalVerbindung. Throws VerbindungsFehler, "Die lokale Datenbank kann
// nicht geöffnet werden:" and the cause on the next line.
std::unique_ptr<SQLite::Database> lokalOeffnen(Datenquellen& quellen, const AppState& state);

} // namespace orve
