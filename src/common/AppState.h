#pragma once

#include "common/Einstellungswert.h"

#include <QString>

namespace orve {

// Program-wide state. One instance lives for the whole run, owned by main(),
// and is handed by reference to the logic that reads or writes it.
struct AppState {
    QString programmOrdner; // folder of the executable, native separators
    QString Billpfad;       // full path of bill.db; the folder after a Paradox start
    int IstParadox = 0;     // 1: the source is the Paradox table
    int IstSQLite3 = 0;     // 1: "SQLite3 Datasource" opened the source
    // After a Paradox start whose copy into the staging table failed or was
    // refused: why (German). The import and the selection lists then refuse
    // to work on the staging table, which may hold an earlier start's calls.
    QString paradoxKopieFehlt;
    QString Anwender;               // user name, stored with every saved tariff entry
    int OhneMwst = 0;               // 1: report without VAT
    int RufnummernKuerzen = 0;      // 1: report and CSV show dialled numbers without their last three digits
    int NeueSeiteJeNebenstelle = 0; // 1: each extension of the report starts on a new page
    QString Internetadresse;        // named in the report's page footer (Internetadresse.txt); empty: none

    // The three settings as typed by the user, each with its number (see calls/Settings.h).
    Einstellungswert Steuersatz {Einstellungswert::Regel::FuehrendeZahl};     // VAT rate in percent
    Einstellungswert Kostenaufschlag {Einstellungswert::Regel::DeutscheZahl}; // surcharge factor
    Einstellungswert Minutenpreis {Einstellungswert::Regel::DeutscheZahl};    // own price per minute

    // Path below the program folder, native separators ("Datenbank/Bill.sqlite").
    QString pfadImProgrammordner(const QString& relativ) const;
};

} // namespace orve
