#pragma once

#include "common/Fehler.h"
#include "tariffs/TarifTabellen.h"
#include "tariffs/Tarifzeile.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace SQLite {
class Database;
}

namespace orve {

// The header of a tariff file: one column for every column of faktor and
// Ortstarif, led by the table the line belongs to.
inline const QString kTarifCsvKopf = QStringLiteral(
    "tabelle;satz;vorwahl;Bezeichnung;von Zeit;bis Zeit;Minutenpreis;Pauschale;Sekundentakt;typ;username");

// A tariff file with lines that cannot be read; text() names each with its
// number and what is wrong.
class Tarifdateifehler : public Fehler {
public:
    using Fehler::Fehler;
};

// The rows of a tariff file.
struct Tarifdatei {
    std::vector<Tariftabelle> tabellen; // the tables it names, in the order faktor, Ortstarif, CallByCall
    std::vector<Tarifzeile> zeilen;     // in the order of the file; satz 0: a new row

    std::vector<Tarifzeile> zeilenVon(Tariftabelle t) const;
};

// The three tariff tables as one CSV in the program's form (UTF-8 with a
// byte-order mark, ";", CR LF, a decimal comma): the header kTarifCsvKopf,
// then every row of faktor, Ortstarif and CallByCall by satz. A Null is an
// empty field, an empty text is "", a number has the fewest digits that
// read back to it; a price stored as a text is written as that text,
// between quotes. The rows are read in one transaction.
QByteArray tarifeAlsCsv(SQLite::Database& db, int* zeilen = nullptr);

// Writes tarifeAlsCsv into the file, completely or not at all; returns the
// number of rows. Throws Ausgabefehler (OutputFile.h).
int tarifeExportieren(SQLite::Database& db, const QString& datei);

// Reads a tariff file: the program's own or one saved by a spreadsheet
// (UTF-8 with or without byte-order mark, else Windows-1252, or UTF-16 with
// its byte-order mark; ";", "," or a
// tab as separator, found in the header; a decimal comma or point; fields
// between quotes; times as "8:00" or "8:00:00", stored as "08:00:00"; an
// empty satz for a new row). The columns are found by their names in the
// header, in any order; tabelle and vorwahl are needed, a missing one
// stays Null. Outside files separated by ",", where a spreadsheet quotes
// every decimal comma, a price between quotes is stored as that text.
// Throws Tarifdateifehler naming every line that cannot be read: an unknown
// table, a price or increment that is no number or is negative, an
// increment that is no whole number, a time that is not hh:mm:ss, an empty
// prefix, a satz that is no number above 0 or stands twice in a table, a
// value in a column its table does not have, more fields than the header.
Tarifdatei tarifCsvLesen(const QByteArray& inhalt);

} // namespace orve
