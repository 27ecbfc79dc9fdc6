#pragma once

#include "calls/AnrufListe.h"
#include "mainwindow/HauptfensterStart.h"

namespace orve {

struct AppState;
class Datenquellen;
class Dialogs;
class HauptAnsicht;
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
    // the progress bar, resets the date/time selection to "alle", and fills
    // the extension list ("alle" first) with an empty text.
    void Combo1_DropDown();
    // Opening the date/time list: clears the list of calls, the count and
    // the progress bar, and fills the date/time list for the extension
    // selection ("alle" first) with an empty text.
    void Combo2_DropDown();
    // "&TK-Bill Daten einlesen (ohne Report)": imports the selected calls
    // into `bill`, the list and the count.
    void mnuLesenBill();
    // The check box "without VAT".
    void Check1_Click(bool angehakt);
    // "&Datenbankpfad neu eingeben": forgets the path and ends the program.
    void mnuDatenbankpfadneu();

    AnrufListe& liste() { return m_liste; }

private:
    void anzeigeLeeren();
    void fehlerZeigen(const QString& text);

    AppState& m_state;
    Registry& m_reg;
    Systemumgebung& m_system;
    Datenquellen& m_quellen;
    Dialogs& m_dialogs;
    HauptAnsicht& m_ansicht;
    AnrufListe m_liste;
};

} // namespace orve
