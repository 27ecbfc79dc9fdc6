#pragma once

#include "tariffs/TarifTabellen.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace SQLite {
class Database;
}

namespace orve {

// A backup of the tariff tables: faktor, Ortstarif and CallByCall exactly
// as stored (every row with its satz, every value with its type, a price
// stored as a text stays that text) in an SQLite file of their own, written
// before an import replaces them. Attached to the local database while the
// object lives, so that its tables can be put back as they are.
class Tarifsicherung {
public:
    // Attaches the file (outside a transaction). Throws Fehler when it
    // holds none of the three tables, a column the local table lacks, or is
    // the local database itself; SQLite::Exception when it is no database.
    Tarifsicherung(SQLite::Database& db, const QString& datei);
    ~Tarifsicherung(); // detaches it
    Tarifsicherung(const Tarifsicherung&) = delete;
    Tarifsicherung& operator=(const Tarifsicherung&) = delete;

    // The tables it holds, in the order faktor, Ortstarif, CallByCall.
    std::vector<Tariftabelle> tabellen() const;
    // Replaces those tables by its rows, whatever they hold; inside the
    // caller's transaction.
    void einspielen() const;

    // Writes the backup of the three tables of `db` into `ordner` as
    // "Tarife-<yyyy-MM-dd>-<hhmmss>.sqlite" ("-2", "-3", … added when that
    // name is taken) and returns its path. The file appears complete or not
    // at all. Throws Fehler with the cause (outside a transaction).
    static QString schreiben(SQLite::Database& db, const QString& ordner, const QDateTime& zeitpunkt);

    // Whether the file begins as an SQLite database does, so is no CSV.
    static bool istSqlite(const QString& datei);

private:
    struct Tabelle {
        Tariftabelle tabelle;
        QString name;        // as the backup spells it
        QStringList spalten; // its columns
    };

    SQLite::Database& m_db;
    std::vector<Tabelle> m_tabellen;
};

} // namespace orve
