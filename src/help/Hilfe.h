#pragma once

#include <QString>

namespace orve {

struct AppState;
class Dialogs;
class HilfeAnzeige;

// The help file setting: the program folder followed by
// "/Hilfe/ORVE-Tarifo.hlp" (native separators).
QString hilfeDateiEinstellung(const QString& programmOrdner);

// No WinHelp viewer exists here: the help is shipped as HTML pages beside
// the setting, under the same base name ("Hilfe/ORVE-Tarifo.html" is the
// contents page).
QString hilfeSeite(const QString& hilfeDatei);

// "&Hilfe aufrufen": shows the help at its contents page. A missing help
// file, or any error while showing it, ends the command without a message.
void mnuHilfeklick(const AppState& state, HilfeAnzeige& anzeige);

// "Hinweis für Windows 7 und Vista": the hint for users of newer Windows
// versions, then the help as by mnuHilfeklick.
void mnuWin7(const AppState& state, Dialogs& dialogs, HilfeAnzeige& anzeige);

} // namespace orve
