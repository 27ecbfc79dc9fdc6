#pragma once

#include <QString>

namespace orve {

struct BerichtDaten;

// Writes the calls of a report (the priced calls of `bill`) as CSV for a
// German spreadsheet: UTF-8 with a byte-order mark, ";" between fields, CR LF at
// line ends, a header line with the column names
// time;user;username;number;duration;ucosts;rufziel;lineno;costs;
// vergleichsnummer;ucostsBrutto;tarifsatz, then one line per call in report
// order. Money has a decimal comma (costs and ucosts with three decimals,
// ucostsBrutto unrounded); empty values stay empty; a text holding ";",
// quotes or a line break is quoted. With kuerzen the dialled number and
// the comparison number show their last three digits as "xxx". The file is replaced only when it was
// written completely; a folder, device or FIFO of that name is refused. Throws Ausgabefehler (OutputFile.h).
void csvSchreiben(const BerichtDaten& daten, const QString& datei, bool kuerzen);

} // namespace orve
