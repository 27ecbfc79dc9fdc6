#pragma once

#include "tariffs/Tarifzeile.h"

#include <QString>

#include <vector>

namespace SQLite {
class Database;
}

namespace orve {

// The example tariffs shipped with the program: one list for every table,
// used by the demonstration folder and offered by the tariff editor for an
// empty table. Every description begins with "Beispiel" so that nobody takes
// them for real prices; they show each price shape (minute price only;
// minute price, flat price and increment; flat price only; free), day and
// night windows (the night window runs across midnight) and call-by-call
// prefixes. A national row "08" or "09" is left out on purpose: it would
// come before "0800" and "0900" in prefix order and price those numbers.
std::vector<Tarifzeile> beispieltarife(Tariftabelle t);

inline const QString kBeispielAnfang = QStringLiteral("Beispiel");

// Writes the example tariffs of the tables given, all in one transaction,
// when none of them holds a row; username is stored with every row of
// faktor and Ortstarif. Returns the number of rows written, 0 when a table
// held rows (all are then left untouched). Database errors are thrown
// (nothing written).
int beispieltarifeEinfuegen(SQLite::Database& db, const std::vector<Tariftabelle>& tabellen,
                            const QString& username);

// Number of rows of table t.
int tarifZeilenZaehlen(SQLite::Database& db, Tariftabelle t);

// Number of rows of the three tables whose description begins with
// "Beispiel": example tariffs not yet replaced by real ones.
int beispielzeilenZaehlen(SQLite::Database& db);

} // namespace orve
