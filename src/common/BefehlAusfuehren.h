#pragma once

#include <functional>

class QWidget;

namespace orve {

class Dialogs;

// Runs one window command. Exceptions never cross Qt's event loop: a
// ProgramEnd quits the application with its exit code (open databases are
// closed by their owners as the windows go), any other error is shown to the
// user in a German message and the window stays usable.
// Returns false when the command did not run to its end.
bool befehlAusfuehren(Dialogs& dialogs, const std::function<void()>& befehl);

// The exit code a ProgramEnd asked for, 0 when none did (read by main()).
int programmEndeCode();

} // namespace orve
