#pragma once

#include "common/Fehler.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

namespace SQLite { class Column; class Database; class Exception; }

namespace orve {

struct AppState;
class Datenquellen;

// A source or selection the import and the filter lists cannot work with.
// text() is the German message for the user.
class QuellFehler : public Fehler {
public:
    using Fehler::Fehler;
};

// The connection string of the SQLite source for the data source that
// answered at start (istSQLite3 = 1: "SQLite3 Datasource"), the path as given.
QString quellVerbindung(int istSQLite3, const QString& billpfad);

// Opens the SQLite source (read-only, through the data sources) with the
// start-time function registered. Throws QuellFehler naming the problem.
std::unique_ptr<SQLite::Database> quelleOeffnen(Datenquellen& quellen, const AppState& state);

// Opens the local database (LokalVerbindung) with the start-time function
// registered. Throws QuellFehler naming the problem.
std::unique_ptr<SQLite::Database> lokalOeffnen(Datenquellen& quellen, const AppState& state);

// A column's value as text: Null gives the empty text, whole numbers their
// digits, other numbers their shortest form with a point ("1.5"), and text
// unchanged.
QString feldText(const SQLite::Column& spalte);

// "alle" and the empty text: no limit.
bool keineGrenze(const QString& auswahl);

// The extension of a selection text: nothing for "alle" or the empty text;
// otherwise the part in front of the first "|" (the whole text when there is
// none) read as a whole number, blanks around it allowed ("21  " -> 21).
// Throws QuellFehler when that part is no whole number.
std::optional<std::int64_t> nebenstellenGrenze(const QString& auswahl);

// The moment of a date/time selection as a start key (calls/StartZeit.h):
// nothing for "alle" or the empty text. Throws QuellFehler when the text is
// no date and time.
std::optional<std::int64_t> datumGrenze(const QString& auswahl);

// "name" in double quotes, for a column name in SQL ("Tln#").
QString sqlName(const QString& name);

// The column names of a table in their order; empty when it does not exist.
QStringList tabellenSpalten(SQLite::Database& db, const QString& tabelle);

// The column of `spalten` that matches `name` without regard to case, or
// nothing.
std::optional<QString> spalteFinden(const QStringList& spalten, const QString& name);

// Makes sure a table has the named columns (case-insensitive) and returns
// their names as the table spells them. Throws QuellFehler with a German text
// naming the table or the first missing column.
QStringList spaltenVerlangen(SQLite::Database& db, const QString& tabelle, const QStringList& namen);

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

// The columns the program reads from TK-Suite's tables.
QStringList stdbillSpalten();   // time, user, username, number, duration, lineno
QStringList paradoxSpalten();   // Tln#, flags, Rufnummer, Dauer, line

// The condition "column = extension" that holds for an INTEGER column and
// for one that keeps the number as text (blanks around it allowed). Binds
// two values: the number and its digits.
QString nebenstellenBedingung(const QString& spalte);

} // namespace orve
