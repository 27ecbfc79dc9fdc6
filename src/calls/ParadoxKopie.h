#pragma once

#include "calls/ParadoxTabelle.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace SQLite {
class Database;
}

namespace orve {

// The column type of the staging table for a Paradox field: TEXT for alpha,
// date, time and timestamp; INTEGER for short, long, autoincrement and
// logical; REAL for number and currency; BLOB for the rest.
QString paradoxSpaltenTyp(paradox::FeldTyp typ);

struct ParadoxKopieErgebnis {
    std::int64_t uebernommen = 0; // records stored
    // Set when the table turned out to be damaged while its records were
    // read; the records read before stay copied.
    std::optional<QString> lesefehler;
};

// Copies every record of the Paradox table, in table order, into the local
// staging table `paradox`: its columns are the table's fields with the same
// names in the same order (the table is created, or dropped and created
// anew, when its columns differ); it is emptied first. All or nothing: the
// copy runs in one transaction and stops at the first write the database
// refuses; then it is rolled back, `paradox` is emptied where the database
// still allows it, and QuellFehler names the cause in German. A field list
// that cannot become a table (no fields, two fields of one name) is refused
// with QuellFehler before anything changes.
ParadoxKopieErgebnis paradoxKopieren(const paradox::ParadoxTabelle& tabelle, SQLite::Database& lokal);

} // namespace orve
