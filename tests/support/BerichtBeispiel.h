#pragma once

// Priced calls in the local call table `bill`, as a report run leaves them,
// for the report's tests, benchmark and sample pages.

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace SQLite { class Database; }

namespace orve::test {

// One row of `bill` with all eleven columns; empty optionals are NULL.
struct BillZeile {
    QString time, user, username, number, duration;
    std::optional<double> ucosts;
    QString rufziel;
    QString lineno = QStringLiteral("1");
    std::optional<double> costs;
    QString vergleichsnummer;
    std::optional<double> ucostsBrutto;
};

// Appends the rows to `bill` in the given order (one transaction).
void billSchreiben(SQLite::Database& lokal, const std::vector<BillZeile>& zeilen);

// `anzahl` calls of `nebenstellen` extensions (21, 22, ... and from the
// eleventh on 100, 101, ...), in the order the import writes them (by
// extension, then start): local, long-distance, mobile and foreign numbers
// priced with a surcharge of 1,20 and 19 % VAT, now and then an internal
// call ("Internes S0 Gespräch", 0,000) or one left without tariff ("????",
// no costs). The same seed gives the same rows.
std::vector<BillZeile> beispielBill(int anzahl, int nebenstellen, std::uint32_t seed = 1);

} // namespace orve::test
