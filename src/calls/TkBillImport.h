#pragma once

#include "calls/AnrufListe.h"
#include "calls/Auswahl.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace SQLite {
class Statement;
}

namespace orve {

struct AppState;
class Datenquellen;

struct EinleseErgebnis {
    std::int64_t anzahl = 0; // calls written to `bill` and to the list
    // The database error that ended the import early, as a German message;
    // the calls written before it stay in `bill`, in the list and the count.
    std::optional<QString> fehler;
    // With a date/time selection: the calls left out because their start is
    // no date and time (their moment is unknown), each named with its number,
    // extension and start as stored.
    QStringList ohneZeitpunkt;
};

// "&TK-Bill Daten einlesen (ohne Report)": replaces the local call table
// `bill` with the calls of the source that pass the two selections, and the
// list with the same calls.
//
// Source: the staging table `paradox` (only rows with flags 0) when
// state.IstParadox is 1, else `stdbill` of the SQLite source. Order: by
// extension, then chronologically by start. The extension selection limits
// to the number in front of its "|", the date/time selection to calls that
// started at or after its moment, to the second; "alle" and the empty text
// do not limit. All values are bound. An SQLite call without number (Null)
// is written "unbekannt", one without duration "0", as Paradox calls are.
//
// Throws QuellFehler, before anything is changed, for a selection that is
// no extension or no date and time, and for a source that cannot be opened
// or lacks a column the import needs. Writes in one transaction.
//
// bisZeit (the window's "Auswertung bis Datum/Zeit", the batch command's
// --bis) ends the period, read as bisGrenze (calls/Auswahl.h) reads it with
// `bisArt`; "alle" or empty: no end. An end before the beginning is refused
// with a QuellFehler too.
EinleseErgebnis tkBillEinlesen(const AppState& state, Datenquellen& quellen, const QString& nebenstelle,
                               const QString& datumZeit, AnrufListe& liste, const QString& bisZeit = QString(),
                               BisGrenze bisArt = BisGrenze::Einschliesslich);

// The seconds of a Paradox duration "hh:mm:ss": 3600 x characters 1-2 +
// 60 x characters 4-5 + the last two characters, each read as a leading
// number; "0" for Null.
QString paradoxDauer(const std::optional<QString>& dauer);

// A Paradox number as written: "unbekannt" for Null; a text of 18
// characters or fewer padded with blanks to 18; a longer one unchanged.
QString paradoxRufnummer(const std::optional<QString>& rufnummer);

} // namespace orve
