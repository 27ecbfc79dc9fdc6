#pragma once

#include <QString>

namespace orve {

struct AppState;
class Dialogs;

// The settings of the menu "&Einstellungen". Each lives in memory in
// AppState as the text the user typed and in a one-line file in the program
// folder: Steuersatz.txt, Minutenpreis.txt, Kostenaufschlag.txt,
// Internetadresse.txt.

// "&Mehrwertsteuer einstellen": reads Steuersatz.txt first, asks, accepts a
// text whose leading number is not 0.
void mnuMehrwertsteuerEinstellen(AppState& state, Dialogs& dialogs);

// "&eigenen Minutenpreis einstellen": reads Minutenpreis.txt first, asks,
// accepts a German decimal number.
void mnuMinutenpreisEinstellen(AppState& state, Dialogs& dialogs);

// "&Kostenaufschlag für Rechnungserstellung": offers the value in memory,
// accepts a German decimal number. A factor of 5 or more ("20") is most
// likely a percentage: the user is asked whether the factor meant (1,20) is
// to be stored, the number as typed, or to type again.
void mnuKostenaufschlag(AppState& state, Dialogs& dialogs);

// "&Internetadresse einstellen": the web address the report's page footer
// names (Internetadresse.txt). Reads the file first, asks; an empty answer
// clears it.
void mnuInternetadresse(AppState& state, Dialogs& dialogs);

// Start: reads Internetadresse.txt; a missing file is no address.
void internetadresseBeimStart(AppState& state);

// End of the main window's load step: makes sure a surcharge factor exists
// (Kostenaufschlag.txt, else the question with "1,20"). Throws ProgramEnd
// when the user gives up. A stored factor of 5 or more gets the question of
// the menu command once.
void kostenaufschlagBeimStart(AppState& state, Dialogs& dialogs);

// The batch command, which asks nothing, warns instead: one line naming the
// surcharge factor in memory when it is 5 or more, else the empty text.
QString kostenaufschlagWarnung(const AppState& state);

// End of the main window's load step: reads Steuersatz.txt, or asks through
// the VAT command. Throws ProgramEnd when still no rate exists.
void steuersatzBeimStart(AppState& state, Dialogs& dialogs);

} // namespace orve
