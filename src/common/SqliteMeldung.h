#pragma once

#include <QString>

namespace SQLite {
class Exception;
}

namespace orve {

// What went wrong in an SQLite call, as far as the user can act on it.
enum class SqliteUrsache {
    Voll,           // SQLITE_FULL: the disk (or a size limit) is full
    Schreibschutz,  // SQLITE_READONLY, SQLITE_PERM: file or folder not writable
    Gesperrt,       // SQLITE_BUSY, SQLITE_LOCKED: another program holds the database
    Datentraeger,   // SQLITE_IOERR: the disk or network failed
    KeineDatenbank, // SQLITE_NOTADB, SQLITE_CORRUPT
    NichtZuOeffnen, // SQLITE_CANTOPEN
    Speicher,       // SQLITE_NOMEM
    TabelleFehlt,   // "no such table: x"
    SpalteFehlt,    // "no such column: x"
    Sonstige,
};

// The kind of a failure from SQLite's result code (primary or extended) and
// its message text (which alone tells a missing table or column).
SqliteUrsache sqliteUrsache(int ergebnisCode, const QString& sqliteText);
SqliteUrsache sqliteUrsache(const SQLite::Exception& e);

// A German message for a failure on the database `datenbank` (a path, shown
// with native separators; empty where it is not known): what happened and what to do, ending with
// `danach`, what the user does once the cause is gone ("lesen Sie die Daten
// erneut ein"); then SQLite's own text as a detail line. Lines are joined
// with CR, ready for a message box.
QString sqliteMeldung(int ergebnisCode, const QString& sqliteText, const QString& datenbank, const QString& danach);
QString sqliteMeldung(const SQLite::Exception& e, const QString& datenbank, const QString& danach);

} // namespace orve
