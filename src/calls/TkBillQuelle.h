#pragma once

#include "calls/QuellFehler.h"

#include <QString>

#include <memory>

namespace SQLite {
class Database;
class Exception;
} // namespace SQLite

namespace orve {

struct AppState;
class Datenquellen;

// The connection string of the SQLite source for the data source that
// answered at start (istSQLite3 = 1: "SQLite3 Datasource"), the path as given.
QString quellVerbindung(int istSQLite3, const QString& billpfad);

// Opens the SQLite source (read-only, through the data sources) with the
// start-time function registered. Throws QuellFehler naming the problem.
std::unique_ptr<SQLite::Database> quelleOeffnen(Datenquellen& quellen, const AppState& state);

// Opens the local database (common/LokaleDatenbank.h lokalOeffnen), which
// holds the staging table of a Paradox start, with the start-time function
// registered. Throws QuellFehler with lokalOeffnen's message.
std::unique_ptr<SQLite::Database> lokaleAnrufdatenOeffnen(Datenquellen& quellen, const AppState& state);

// The database file the calls are read from: the local database after a
// Paradox start (its staging table), else bill.db.
QString anrufDatenbank(const AppState& state);

// "The calls cannot be read" with the German cause of an SQLite failure on
// anrufDatenbank(state).
QuellFehler anrufdatenLesefehler(const AppState& state, const SQLite::Exception& e);

// Throws QuellFehler when this start's Paradox table did not reach the
// staging table (state.paradoxKopieFehlt): its rows may be an earlier
// start's calls.
void paradoxKopieVerlangen(const AppState& state);

} // namespace orve
