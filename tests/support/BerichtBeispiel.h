#pragma once

// Priced calls in the local call table `bill`, as a report run leaves them, for the report's tests and benchmark.

#include <QString>

#include <cstdint>
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

// `anzahl` calls of `nebenstellen` extensions (21, 22, ..., from the eleventh on 100, 101, ...) in import order
// (extension, then start): numbers priced with surcharge 1,20 and 19 % VAT, now and then an internal call
// ("Internes S0 Gespräch", 0,000) or one without tariff ("????", no costs). The same seed gives the same rows.
std::vector<BillZeile> beispielBill(int anzahl, int nebenstellen, std::uint32_t seed = 1);

} // namespace orve::test
