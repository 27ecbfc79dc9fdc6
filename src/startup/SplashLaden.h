#pragma once

#include <QString>

#include <memory>

namespace orve {

struct AppState;
class DateiRegistry;
class Dialogs;
class Registry;
class Systemumgebung;

// What the start-up window shows once its load step has run. The window
// binds these texts to its controls of the same names.
struct SplashAnzeige {
    QString Label2 = QStringLiteral("Mdac Version"); // data-access version or "MDAC-Treiber fehlen!"
    QString Username = QStringLiteral("Text2");      // the user name
    QString lblProductName;                          // "ORVE-Tarifo"
    QString lblVersion;                              // "Version: 2.0.1"
    QString lblCopyright;                            // legal notice of the version information
    QString Text1;                                   // comment of the version information
};

// The load step of the start-up window: checks the data-access components,
// the SQLite and SQLite3 drivers, their data sources, the Access driver,
// creates "ORVE-Access" when it is missing, checks the Paradox driver,
// determines the user, makes the program folder the current directory and
// fills the texts. A data-access version below 2.8 or none only warns. The
// user is the system's (stored in state.Anwender), else the registry value
// "Current User" or "CurrentUser" (shown only). A missing prerequisite or
// user is reported and ends the program (throws ProgramEnd); nothing later
// runs.
void splashLaden(AppState& state, Registry& reg, Systemumgebung& system, Dialogs& dialogs, SplashAnzeige& anzeige);

// Reads the registry file of the program folder
// (Registry/HKEY_LOCAL_MACHINE.reg; a missing file is an empty registry).
// A file that cannot be read is reported and ends the program (ProgramEnd).
std::unique_ptr<DateiRegistry> registryLaden(const AppState& state, Dialogs& dialogs);

} // namespace orve
