#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace SQLite { class Database; }

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

// One row of a tariff table. An absent value is a Null column. For
// CallByCall only satz, vorwahl and Bezeichnung are used.
struct Tarifeintrag {
    std::int64_t satz = 0;                 // assigned by the database, never 0
    std::optional<QString> vorwahl;
    std::optional<QString> Bezeichnung;
    std::optional<QString> vonZeit;        // "von Zeit", "hh:mm:ss"
    std::optional<QString> bisZeit;        // "bis Zeit", "24:00:00" is the end of the day
    std::optional<double> Minutenpreis;    // Euro without VAT
    std::optional<double> Pauschale;       // Euro without VAT
    std::optional<double> Sekundentakt;    // seconds, written as a whole number
    std::optional<QString> typ;            // D, A, O, M or S
    std::optional<QString> username;

    bool operator==(const Tarifeintrag&) const = default;
};

// A record number typed or kept as text: a whole number, blanks around it
// allowed. Anything else is no record number (and then finds no row).
std::optional<std::int64_t> satzNummer(const QString& text);

// Every row, ordered by vorwahl as text ("0171" before "030" before "0800"),
// then by "von Zeit" (faktor, Ortstarif); rows alike in both by satz.
std::vector<Tarifeintrag> tarifeLesen(SQLite::Database& db, Tariftabelle t);

// The row with that record number, or nothing.
std::optional<Tarifeintrag> tarifFinden(SQLite::Database& db, Tariftabelle t, std::int64_t satz);
std::optional<Tarifeintrag> tarifFinden(SQLite::Database& db, Tariftabelle t, const QString& satzText);

// How many rows carry exactly this prefix (text equality, no trimming).
int vorwahlZaehlen(SQLite::Database& db, Tariftabelle t, const QString& vorwahl);

// Appends a row; the database assigns satz, which is returned. e.satz is
// ignored. For CallByCall only vorwahl and Bezeichnung are written.
std::int64_t tarifEinfuegen(SQLite::Database& db, Tariftabelle t, const Tarifeintrag& e);

// Rewrites every column (but satz) of the row e.satz. False, with nothing
// written, when no row has that number.
bool tarifAendern(SQLite::Database& db, Tariftabelle t, const Tarifeintrag& e);

// Deletes the row; the number of rows deleted (0 or 1).
int tarifLoeschen(SQLite::Database& db, Tariftabelle t, std::int64_t satz);

} // namespace orve
