#pragma once

#include <QString>
#include <QStringList>

namespace orve {

struct BerichtDaten;
class Telefonkostenauswertung;

// The bill of each extension on its own: for every group of a report
// (extension and name) one PDF and one CSV with only that group's calls,
// in a subfolder named after the period, so that a hotel hands each guest
// his own bill and last month's bills are never taken for this month's.

// The name of an extension's files, without suffix: "<Nebenstelle> <Name>"
// ("21 Empfang"). A character that a file name cannot hold on Linux or
// Windows (/ \ : * ? " < > | and control characters) becomes "_"; a name
// that would be hidden (a leading "."), empty or a device name of Windows
// (CON, PRN, AUX, NUL, COM0..9, LPT0..9, also followed by a dot) gets a
// leading "_". At most 200 bytes (UTF-8), so that " (2).pdf" still fits.
QString nebenstellenDateiname(const QString& nebenstelle, const QString& name);

// The file names of the groups in report order, distinct also where only
// the letter case differs (Windows tells no case apart): the second "21
// Empfang" becomes "21 Empfang (2)".
QStringList nebenstellenDateinamen(const BerichtDaten& daten);

// The subfolder of `ordner` that the files go to: zeitraumOrdner ("2026-11",
// "2026-11-03 bis 2026-11-07", "alle"), native separators.
QString jeNebenstelleOrdner(const QString& ordner, const QString& zeitraumOrdner);

// Throws Ausgabefehler with a German text when `ordner` is no folder or
// something other than a folder stands at the subfolder's name; nothing is
// touched. For checks before a long run; the writing checks again.
void jeNebenstellePruefen(const QString& ordner, const QString& zeitraumOrdner);

struct JeNebenstelleErgebnis {
    QString ordner;       // the subfolder written, native separators
    QStringList dateien;  // its files, full paths: PDF and CSV of each extension in report order
    bool ersetzt = false; // a subfolder of that name was there before and was replaced
};

// Writes the files of every group of `bericht` (its layout and options: the
// page header with the period, "Seite n von m" counted within each file,
// shortened numbers, without VAT) into the subfolder jeNebenstelleOrdner of
// `ordner`. They go first into a new folder beside it, which takes the
// subfolder's place only when every file is complete; a subfolder of that
// name is replaced as a whole (a file an earlier run left there is gone).
// On any failure the earlier subfolder stays as it was, nothing new is left
// behind, and Ausgabefehler names the cause.
JeNebenstelleErgebnis jeNebenstelleSchreiben(const Telefonkostenauswertung& bericht, const QString& ordner);

} // namespace orve
