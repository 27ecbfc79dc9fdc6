#pragma once

#include "costing/Tarifsuche.h"
#include "tariffcheck/Tarifpruefung.h"

#include <vector>

namespace orve {

// The tariff check: looks at the tariff tables the way the costing reads
// them, without asking and without writing anything:
// - per prefix, the times of day at which a number with that prefix finds
//   no row. A number is priced by every row of either table whose prefix it
//   begins with, and a number without leading "0" also by every Ortstarif
//   row, so a night gap of an Ortstarif prefix that a faktor row covers is
//   no gap. The same for numbers without area code (all Ortstarif rows);
// - rows that take calls away from a later row of the same table (same or
//   shorter prefix, windows overlapping by more than the one second in
//   which 08:00:00-18:00:00 and 18:00:00-08:00:00 meet): the first row in
//   table order wins, the finding says which. Ortstarif coming before faktor
//   is the rule of the lookup and no finding;
// - rows that stop a run: a window missing or no time of day, none of the
//   three prices, prices that are no numbers, negative values, an increment
//   and a flat price without minute price;
// - call-by-call prefixes that never apply (an empty prefix, a prefix
//   behind a shorter one it begins with);
// - the calls that would find no tariff or stop the run (the real lookup,
//   one finding per number).
class TarifPruefer {
public:
    // The tables are kept by reference while the object lives.
    explicit TarifPruefer(const Tarifdaten& daten);

    Tarifpruefung pruefen(const std::vector<Preisanruf>& anrufe) const;

private:
    const Tarifdaten& m_daten;
};

} // namespace orve
