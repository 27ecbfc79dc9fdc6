#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace SQLite {
class Column;
class Database;
} // namespace SQLite

namespace orve {

// The columns the program reads from TK-Suite's tables.
QStringList stdbillSpalten(); // time, user, username, number, duration, lineno
QStringList paradoxSpalten(); // Tln#, flags, Rufnummer, Dauer, line

// The column names of a table in their order; empty when it does not exist.
QStringList tabellenSpalten(SQLite::Database& db, const QString& tabelle);

// The column of `spalten` that matches `name` without regard to case, or
// nothing.
std::optional<QString> spalteFinden(const QStringList& spalten, const QString& name);

// Makes sure a table has the named columns (case-insensitive) and returns
// their names as the table spells them. Throws QuellFehler with a German text
// naming the table or the first missing column.
QStringList spaltenVerlangen(SQLite::Database& db, const QString& tabelle, const QStringList& namen);

// A column's value as text: Null gives the empty text, whole numbers their
// digits, other numbers their shortest form with a point ("1.5"), and text
// unchanged.
QString feldText(const SQLite::Column& spalte);

} // namespace orve
