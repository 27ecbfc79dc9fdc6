#pragma once

#include "tariffcheck/Tarifpruefung.h"
#include "tariffs/TarifCsv.h"

#include <QString>

#include <optional>
#include <vector>

namespace SQLite {
class Database;
}

namespace orve {

// What an import wrote: the backup of the tables it replaced, and the
// message that says which tables it replaced and how to undo it.
struct Tarifuebernahme {
    QString sicherung;
    QString meldung;
};

// An import of the tariff tables from a file: a tariff CSV (the program's
// own export or a spreadsheet's) or a backup an earlier import wrote
// (Tarifsicherung), which is put back exactly as it is. The callers take
// the program folder's lock (Laufsperre) before pruefen() and keep it
// until uebernehmen() is done, so that no run prices meanwhile and the
// check sees the tables that are replaced.
class Tarifimport {
public:
    // Reads the file; a CSV is read and checked line by line. Throws Fehler
    // naming the file and every line that cannot be read; nothing changes.
    static Tarifimport lesen(const QString& datei);

    const QString& datei() const { return m_datei; }

    // The tariff check on the tables as they would be after the import,
    // made on a copy of the local database in memory (with the calls read
    // in last). For a CSV it also names every faktor and CallByCall prefix
    // that does not begin with "0": a spreadsheet drops leading zeros ("89"
    // was probably "089"); the short numbers beginning with "11" (110, 112,
    // 115, 116…, 118…) are meant so. Throws Fehler.
    Tarifpruefung pruefen(SQLite::Database& lokal) const;

    // Copies the current three tables into a backup beside the local
    // database (Tarifsicherung::schreiben: Datenbank/Tarife-….sqlite), then
    // replaces the tables the file names or holds, all in one transaction.
    // Throws Fehler; the tables stay as they were.
    Tarifuebernahme uebernehmen(SQLite::Database& lokal) const;

private:
    explicit Tarifimport(QString datei) : m_datei(std::move(datei)) {}
    // Replaces the tables in one transaction; the tables replaced.
    std::vector<Tariftabelle> einspielen(SQLite::Database& db, bool echt) const;

    QString m_datei;
    std::optional<Tarifdatei> m_csv; // none: a backup
};

} // namespace orve
