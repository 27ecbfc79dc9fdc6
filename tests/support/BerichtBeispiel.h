#pragma once

// Priced calls in the local call table `bill`, as a report run leaves them, for the report's tests.

#include <QString>

#include <optional>
#include <vector>

namespace SQLite {
class Database;
}

namespace orve::test {

// One row of `bill` with all eleven columns; empty optionals and null texts of the last two are NULL.
struct BillZeile {
    QString time, user, username, number, duration, lineno = QStringLiteral("1");
    std::optional<double> ucosts, costs, ucostsBrutto;
    QString rufziel, vergleichsnummer;
};

// Appends the rows to `bill` in the given order (one transaction).
void billSchreiben(SQLite::Database& lokal, const std::vector<BillZeile>& zeilen);

} // namespace orve::test
