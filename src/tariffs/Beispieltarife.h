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

// Writes the example tariffs of table t, all in one transaction, when the
// table holds no row; username is stored with every row of faktor and
// Ortstarif. Returns the number of rows written, 0 when the table held rows
// (it is then left untouched). Database errors are thrown (nothing written).
int beispieltarifeEinfuegen(SQLite::Database& db, Tariftabelle t, const QString& username);

// Number of rows of table t.
int tarifZeilenZaehlen(SQLite::Database& db, Tariftabelle t);

} // namespace orve
