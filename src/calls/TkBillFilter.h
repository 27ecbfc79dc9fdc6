#pragma once

#include <QString>
#include <QStringList>

namespace orve {

struct AppState;
class Datenquellen;

// Entry texts of the two selections of the main window. Both lists start
// with "alle". Both throw QuellFehler (calls/QuellFehler.h) with a German
// message when the source cannot be read.

// The extension list: per extension of the calls, in the order of the
// extensions. Paradox (staging table `paradox`, only rows with flags 0):
// "21  |  (Internnummer) "; SQLite (`stdbill`): "21  |  " and the
// extension's name, once per pair of number and name.
QStringList nebenstellenEintraege(const AppState& state, Datenquellen& quellen);

// The date/time list for the extension selection `nebenstelle` ("alle" or
// empty: every extension), in chronological order. Paradox: "datum Zeit"
// of each moment and extension with flags 0 ("2009-03-21 14:30:00", a moment
// shared by two extensions twice); SQLite: each distinct `time` once, as the
// table holds it. Throws QuellFehler for an extension text without a number.
QStringList datumEintraege(const AppState& state, Datenquellen& quellen, const QString& nebenstelle);

} // namespace orve
