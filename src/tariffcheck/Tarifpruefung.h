#pragma once

#include <QDateTime>
#include <QPageLayout>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QPagedPaintDevice;

namespace SQLite {
class Database;
}

namespace orve {

struct AppState;
class Datenquellen;

// One finding of the tariff check: a German sentence, filed under a section
// (a table, the local numbers, the call-by-call prefixes, the calls, the
// notices) and a heading inside it ("Vorwahl 089", "Rufnummer 0301234").
// A notice (Hinweis) points at something to do, but no call is priced
// wrong or left without tariff because of it.
struct Pruefbefund {
    enum class Bereich { Ortstarif, faktor, Ortsnummern, CallByCall, Gespraeche, Hinweise };
    enum class Art { Befund, Hinweis };
    Bereich bereich = Bereich::faktor;
    QString gruppe; // heading inside the section
    QString text;
    Art art = Art::Befund;
};

// What the tariff check found, in the order it is shown: by section, then
// by prefix in the order of the lookup, then by row.
struct Tarifpruefung {
    std::vector<Pruefbefund> befunde;
    int ortstarifZeilen = 0, faktorZeilen = 0, callByCallZeilen = 0;
    std::int64_t gespraeche = 0; // calls of bill that were looked up
    QDateTime zeitpunkt;

    // No finding but notices.
    bool inOrdnung() const { return anzahl(Pruefbefund::Art::Befund) == 0; }
    qint64 anzahl(Pruefbefund::Art art) const;
    // The findings as plain text (the batch command's output) and as HTML
    // (the window, printing, PDF).
    QString alsText() const;
    QString alsHtml() const;
};

// The section headings: "Ortstarife und Citybereich", "Standardtarife", ...
QString bereichTitel(Pruefbefund::Bereich b);

// The tariff check (TarifPruefer) on the tables and the calls in `bill` of
// the local database, with a notice counting the example tariffs left.
Tarifpruefung tarifePruefen(SQLite::Database& lokal);

// The same over the program's local connection. Throws VerbindungsFehler
// and SQLite::Exception.
Tarifpruefung tarifePruefen(const AppState& state, Datenquellen& quellen);

// The page of the printed check: A4 portrait, 5 mm margins (printing adds
// 2 cm around the text and the page number).
QPageLayout pruefungSeitenformat();

// Paints the findings onto a printer or PDF writer, page by page with page
// numbers, in the device's page layout (A4 unless a dialog chose another).
void pruefungDrucken(const Tarifpruefung& pruefung, QPagedPaintDevice& geraet);

// Writes the findings as a PDF file (A4). The file appears complete or not
// at all; a folder, device or FIFO of that name is refused. Throws Fehler
// with a German text.
void pruefungAlsPdfSchreiben(const Tarifpruefung& pruefung, const QString& datei);

} // namespace orve
