#pragma once

#include "calls/Auswahl.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace orve {

// The options of the batch command orve-tarifo-bericht.
struct StapelOptionen {
    QString programmOrdner;        // where settings, registry and database are read
    std::optional<QString> billdb; // replaces Billpfad.txt for this run
    QString nebenstelle = kAlle;
    QString ab = kAlle;
    QString bis; // a date: through that day; a moment: calls that started before it; empty: no limit
    bool eigenpreis = false;
    bool ohneMwst = false;
    bool kuerzen = false;
    bool neueSeite = false;     // each extension on a new page of the PDF
    bool tarifePruefen = false; // check the tariff tables and the calls instead of a report
    QString tarifeExportieren;  // instead of a report: write the tariff tables into this CSV
    QString tarifeImportieren;  // instead of a report: replace the tariff tables from this CSV or backup
    bool trotzdem = false;      // import despite findings of the check
    QString pdf;                // empty: no PDF
    QString csv;                // empty: no CSV
    QString jeNebenstelle;      // the folder of the files per extension; empty: none
    int warten = 0;             // seconds to wait while another run holds the program folder; 0: none
    bool hilfe = false;
};

// The German usage text printed by --help.
QString stapelHilfe();

// Reads the arguments (the first is the program's path). standardOrdner is
// the folder of the executable. Returns the options, or the German reason
// why the arguments cannot be used (also an --ab or --bis that is no date,
// and an end before the beginning).
struct StapelArgumente {
    std::optional<StapelOptionen> optionen;
    QString fehler;
};
StapelArgumente stapelArgumenteLesen(const QStringList& argumente, const QString& standardOrdner);

} // namespace orve
