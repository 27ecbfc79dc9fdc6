#pragma once

#include <QString>

namespace orve {

struct AppState;
class Dialogs;

// The help file setting: the program folder followed by
// "/Hilfe/ORVE-Tarifo.hlp" (native separators).
QString hilfeDateiEinstellung(const QString& programmOrdner);

// No WinHelp viewer exists here: the help is shipped as HTML pages beside
// the setting, under the same base name ("Hilfe/ORVE-Tarifo.html" is the
// contents page).
QString hilfeSeite(const QString& hilfeDatei);

// Shows a help file at its contents page. The windows pass the help window
// of the program, tests a recording stand-in. May throw; the commands below
// pass every error over.
class HilfeAnzeige {
public:
    virtual ~HilfeAnzeige() = default;
    virtual void zeigen(const QString& inhaltsSeite) = 0;
};

// "&Hilfe aufrufen": shows the help at its contents page. A missing help
// file, or any error while showing it, ends the command without a message.
void mnuHilfeklick(const AppState& state, HilfeAnzeige& anzeige);

// "Hinweis für Windows 7 und Vista": the hint for users of newer Windows
// versions, then the help as by mnuHilfeklick.
void mnuWin7(const AppState& state, Dialogs& dialogs, HilfeAnzeige& anzeige);

} // namespace orve
