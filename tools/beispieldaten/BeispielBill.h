#pragma once

// Sample calls for the report's benchmark and its pictures: many priced calls, as a report run leaves them.

#include "BerichtBeispiel.h"

#include <cstdint>
#include <vector>

namespace orve::test {

// `anzahl` calls of `nebenstellen` extensions (21, 22, ..., from the eleventh on 100, 101, ...) in import order
// (extension, then start): numbers priced with surcharge 1,20 and 19 % VAT, now and then an internal call
// ("Internes S0 Gespräch", 0,000) or one without tariff ("????", no costs). The same seed gives the same rows.
std::vector<BillZeile> beispielBill(int anzahl, int nebenstellen, std::uint32_t seed = 1);

} // namespace orve::test
