#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QPagedPaintDevice;

namespace SQLite { class Database; }

namespace orve {

struct AppState;
struct Anruf;
struct Tarifdaten;
class Datenquellen;

// One finding of the tariff check: a German sentence, filed under a section
// (a table, the local numbers, the call-by-call prefixes, the calls) and a
// heading inside it ("Vorwahl 089", "Rufnummer 0301234").
struct Pruefbefund {
    enum class Bereich { Ortstarif, faktor, Ortsnummern, CallByCall, Gespraeche };
    Bereich bereich = Bereich::faktor;
    QString gruppe; // heading inside the section
    QString text;
};

// What the tariff check found, in the order it is shown: by section, then
// by prefix in the order of the lookup, then by row.
struct Tarifpruefung {
    std::vector<Pruefbefund> befunde;
    int ortstarifZeilen = 0, faktorZeilen = 0, callByCallZeilen = 0;
    std::int64_t gespraeche = 0; // calls of bill that were looked up
    QDateTime zeitpunkt;

    bool inOrdnung() const { return befunde.empty(); }
    // The findings as plain text (the batch command's output) and as HTML
    // (the window, printing, PDF).
    QString alsText() const;
    QString alsHtml() const;
};

// The section headings: "Ortstarife und Citybereich", "Standardtarife", ...
QString bereichTitel(Pruefbefund::Bereich b);

// Checks the tariff tables the way the costing reads them, without asking
// and without writing anything:
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
//   and a flat price without minute price, other combinations that give no
//   price;
// - call-by-call prefixes that never apply (an empty prefix, a prefix
//   behind a shorter one it begins with);
// - the calls that would find no tariff or stop the run (the real lookup,
//   one finding per number).
Tarifpruefung tarifePruefen(const Tarifdaten& daten, const std::vector<Anruf>& anrufe);

// The tables and the calls in `bill` of the local database.
Tarifpruefung tarifePruefen(SQLite::Database& lokal);

// The same over the program's local connection. Throws VerbindungsFehler
// and SQLite::Exception.
Tarifpruefung tarifePruefen(const AppState& state, Datenquellen& quellen);

// Paints the findings onto a printer or PDF writer, page by page with page
// numbers, in the device's page layout (A4 unless a dialog chose another).
void pruefungDrucken(const Tarifpruefung& pruefung, QPagedPaintDevice& geraet);

// Writes the findings as a PDF file (A4). The file appears complete or not
// at all. Throws Fehler with a German text.
void pruefungAlsPdfSchreiben(const Tarifpruefung& pruefung, const QString& datei);

} // namespace orve
