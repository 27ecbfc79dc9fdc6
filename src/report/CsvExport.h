#pragma once

#include "common/Fehler.h"

#include <QString>

namespace SQLite { class Database; }

namespace orve {

// The CSV of the priced calls could not be written; text() says why.
class CsvFehler : public Fehler {
public:
    using Fehler::Fehler;
};

// Writes the priced calls of the local table `bill` as CSV for a German
// spreadsheet: UTF-8 with a byte-order mark, ";" between fields, CR LF at
// line ends, a header line with the column names
// time;user;username;number;duration;ucosts;rufziel;lineno;costs;
// vergleichsnummer;ucostsBrutto;tarifsatz, then one line per call in report
// order. Money has a decimal comma (costs and ucosts with three decimals,
// ucostsBrutto unrounded); empty values stay empty; a text holding ";",
// quotes or a line break is quoted. With kuerzen the dialled number shows
// its last three digits as "xxx". The file is replaced only when it was
// written completely. Throws CsvFehler.
void csvSchreiben(SQLite::Database& lokal, const QString& datei, bool kuerzen);

} // namespace orve
