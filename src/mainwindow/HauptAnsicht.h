#pragma once

#include "calls/QuellAnzeige.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace SQLite {
class Database;
}

namespace orve {

class TarifeditorOeffner;
class Telefonkostenauswertung;
struct Tarifpruefung;

// What the main window's logic reads from and writes to its controls. The
// window implements it; tests use a plain record. Kind and place of the
// source (Text2, Text3) are shown by the start on the source.
class HauptAnsicht : public QuellAnzeige {
public:
    virtual ~HauptAnsicht() = default;

    virtual void captionSetzen(const QString& caption) = 0;
    virtual void text1Setzen(const QString& text) = 0; // count of calls
    virtual void fortschrittSetzen(int wert) = 0;      // ProgressBar1
    virtual void fortschrittMaximum(int maximum) = 0;  // ProgressBar1, from 0

    // The report run: pending window messages are processed after every
    // call; while it runs, the commands that would start another run or
    // import, change a setting or the database path, or open the tariff
    // editor are disabled.
    virtual void ereignisseVerarbeiten() = 0;
    virtual void laufAnzeigen(bool laeuft) = 0;
    // The tariff editor for a number without tariff, on the run's connection.
    virtual std::unique_ptr<TarifeditorOeffner> tarifeditor(SQLite::Database& lokal) = 0;
    // Shows the report in its window, replacing the report of an earlier
    // run; its save commands propose `dateiname` (without suffix).
    virtual void berichtZeigen(Telefonkostenauswertung bericht, const QString& dateiname) = 0;
    // Shows the check of the tables an import from `datei` would write and
    // asks whether to take them ("Übernehmen") or not ("Abbrechen").
    virtual bool tarifimportBestaetigen(Tarifpruefung pruefung, const QString& datei) = 0;

    // Combo1 (extension), Combo2 (date/time from) and Combo3 (date/time to):
    // the text shown, and the list replaced together with the text.
    virtual QString combo1Text() const = 0;
    virtual QString combo2Text() const = 0;
    virtual QString combo3Text() const = 0;
    virtual void combo1Setzen(const QStringList& eintraege, const QString& text) = 0;
    virtual void combo2Setzen(const QStringList& eintraege, const QString& text) = 0;
    virtual void combo3Setzen(const QStringList& eintraege, const QString& text) = 0;
};

} // namespace orve
