#pragma once

#include <cstdio>

namespace orve {

struct StapelOptionen;

// The exit codes of the batch command.
enum StapelErgebnis : int {
    kStapelOk = 0,           // every call priced, report written
    kStapelFehler = 1,       // a setting, the path or a file is missing or wrong
    kStapelKeineDaten = 2,   // the selection holds no call
    kStapelTariffehler = 3,  // a tariff row (or a setting it needs) gives no cost: nothing written
    kStapelOhneTarif = 4,    // report written, some calls found no tariff or could not be read ("????")
    kStapelTarifluecken = 5, // --tarife-pruefen found gaps or errors; the check before --tarife-importieren found
                             // some and nothing was written (without --trotzdem)
};

// orve-tarifo-bericht: the report run of the main window without a window
// and without questions, on the program folder of the options. The start
// checks, the recognition of bill.db with the Paradox copy, the import, the
// pricing and the report are the window's own code; where the window would
// ask, the message goes to `fehler` and the run ends (a missing tariff is
// answered "????" and its number listed). Writes one line per extension to
// `aus`: extension, name, calls, Kostensumme, Bruttokosten. With
// --tarife-exportieren or --tarife-importieren it writes or replaces the
// tariff tables instead (the import under the lock, after the check, whose
// findings go to `aus`). Returns the exit code.
int stapellauf(const StapelOptionen& optionen, std::FILE* aus, std::FILE* fehler);

} // namespace orve
