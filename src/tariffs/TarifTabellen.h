#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace SQLite {
class Database;
}

namespace orve {

// The three tariff tables of the local database.
enum class Tariftabelle { faktor, Ortstarif, CallByCall };

// "faktor", "Ortstarif", "CallByCall".
QString tabellenName(Tariftabelle t);

// The German title the user knows the table by: "Standardtarife",
// "Ortstarife und Citybereich", "Call by Call Anbieter".
QString tabellenTitel(Tariftabelle t);

// faktor and Ortstarif carry time windows and prices; CallByCall only a
// prefix and a description.
bool hatTarifspalten(Tariftabelle t);

struct Tarifzeile;

// A record number typed or kept as text: a whole number, blanks around it
// allowed. Anything else is no record number (and then finds no row).
std::optional<std::int64_t> satzNummer(const QString& text);

// The one reader of the tariff tables. Every row, ordered by vorwahl as text
// ("0171" before "030" before "0800"), then by "von Zeit" (faktor,
// Ortstarif), rows alike in both by satz; or by satz alone. Prices as
// stored (Tarifwert): a text that is no number stays that text.
enum class Reihenfolge { NachVorwahl, NachSatz };
std::vector<Tarifzeile> tarifeLesen(SQLite::Database& db, Tariftabelle t,
                                    Reihenfolge reihenfolge = Reihenfolge::NachVorwahl);

// The row with that record number, or nothing.
std::optional<Tarifzeile> tarifFinden(SQLite::Database& db, Tariftabelle t, std::int64_t satz);
std::optional<Tarifzeile> tarifFinden(SQLite::Database& db, Tariftabelle t, const QString& satzText);

// How many rows carry exactly this prefix (text equality, no trimming).
int vorwahlZaehlen(SQLite::Database& db, Tariftabelle t, const QString& vorwahl);

// Appends a row; the database assigns satz, which is returned. e.satz is
// ignored. For CallByCall only vorwahl and Bezeichnung are written.
std::int64_t tarifEinfuegen(SQLite::Database& db, Tariftabelle t, const Tarifzeile& e);

// Rewrites every column (but satz) of the row e.satz. False, with nothing
// written, when no row has that number.
bool tarifAendern(SQLite::Database& db, Tariftabelle t, const Tarifzeile& e);

// Deletes the row; the number of rows deleted (0 or 1).
int tarifLoeschen(SQLite::Database& db, Tariftabelle t, std::int64_t satz);

// Replaces every row of the table by `zeilen`, which keep their satz (and so
// their order by satz); rows with satz 0 are appended after them in their
// order and get a new one. Inside the caller's transaction.
void tabelleErsetzen(SQLite::Database& db, Tariftabelle t, const std::vector<Tarifzeile>& zeilen);

} // namespace orve
