#pragma once

#include "calls/AnrufListe.h"
#include "calls/QuellenStart.h"

#include <cstdint>

namespace orve {

struct AppState;
class Datenquellen;
class Dialogs;
class HauptAnsicht;
class Laufsperre;
class Registry;
class Systemumgebung;

// The main window's own logic, free of widgets: its load step and the
// commands that belong to it. The window (frmHaupt) forwards its events
// here; the list of calls is the model behind List1.
class Hauptfenster {
public:
    Hauptfenster(AppState& state, Registry& reg, Systemumgebung& system, Datenquellen& quellen, Dialogs& dialogs,
                 HauptAnsicht& ansicht);

    // The load step (throws ProgramEnd when the program must end).
    void laden(const StartPfade& pfade = StartPfade::system());

    // Opening the extension list: clears the list of calls, the count and
    // the progress bar, resets both date/time selections to "alle", and
    // fills the extension list ("alle" first) with an empty text.
    void Combo1_DropDown();
    // Opening the date/time list "ab" (Combo2) or "bis" (Combo3): clears the
    // list of calls, the count and the progress bar, and fills that list
    // with the starts of the calls of the extension selection ("alle"
    // first) with an empty text.
    void Combo2_DropDown();
    void Combo3_DropDown();
    // "&TK-Bill Daten einlesen (ohne Report)": imports the selected calls
    // into `bill`, the list and the count: those of the extension that
    // started from "ab" through "bis" (a date alone: through that day; a
    // moment: the calls that started at it included). While another run
    // holds the program folder (Laufsperre) a message names it and nothing
    // is read. Returns whether the calls were read.
    bool mnuLesenBill();
    // The check box "without VAT".
    void Check1_Click(bool angehakt);
    // "&Datenbankpfad neu eingeben": forgets the path and ends the program.
    void mnuDatenbankpfadneu();
    // The check box "shortened numbers".
    void Check2_Click(bool angehakt);
    // The check box "each extension on a new page".
    void Check3_Click(bool angehakt);

    // "&Report erstellen": imports the selected calls, prices every call
    // (progress bar from 0 to the count, pending messages processed after
    // every call) and shows the report. An import that failed, no calls,
    // Cancel at a missing tariff and a pricing error end the run without a
    // report. A broken tariff table ends the program (Tariftabellenfehler).
    // The run holds the program folder's lock from the import to the read
    // of the report's data; while another run holds it, a message names
    // that run and nothing is started. The page header shows the period
    // chosen in Combo2.
    void mnuReport();
    // "Report mit eigenem Minutenpreis erstellen": the own price per minute
    // from Minutenpreis.txt, then the run with EigenpreisModus set.
    void mnuReportEigen();
    // "Tariftabellen" → "exportieren…": asks for the file (Tariftabellen
    // with today's date, in the folder saved to last) and writes the three
    // tariff tables into it as CSV.
    void mnuTarifeExportieren();
    // "Tariftabellen" → "importieren…": asks for a tariff CSV or a backup
    // of the tables and reads it (a line that cannot be read: a message
    // naming it, nothing changed); takes the lock as a report run does;
    // shows the check of the new tables (tarifimportBestaetigen) and after
    // "Übernehmen" backs the tables up and replaces them; the message names
    // the backup.
    void mnuTarifeImportieren();
    // A run is in progress (its commands nest in the event loop).
    bool laeuft() const { return m_laeuft; }
    // The window closes during a run: the run stops after the current call.
    void laufAnhalten() { m_anhalten = true; }

    AnrufListe& liste() { return m_liste; }

private:
    // The import of mnuLesenBill; false when it failed (its message was shown).
    bool einlesen(std::int64_t& anzahl, QStringList& ohneZeitpunkt);
    QStringList datumEintraegeLesen();
    // Takes the lock; false after the message naming the run that holds it.
    bool sperreNehmen(Laufsperre& sperre, const QString& kopf);
    // The folder saved to last, where it still is; else empty.
    QString speicherordner() const;
    void reportLauf();
    void anzeigeLeeren();
    void fehlerZeigen(const QString& text);

    AppState& m_state;
    Registry& m_reg;
    Systemumgebung& m_system;
    Datenquellen& m_quellen;
    Dialogs& m_dialogs;
    HauptAnsicht& m_ansicht;
    AnrufListe m_liste;
    bool m_laeuft = false;
    bool m_anhalten = false;
    int m_EigenpreisModus = 0; // non-zero while the report with own minute price runs
};

} // namespace orve
