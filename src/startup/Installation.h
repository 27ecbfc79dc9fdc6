#pragma once

#include "startup/Registry.h"

#include <QString>

#include <vector>

namespace orve {

// What an installer writes on a Windows machine before the program first
// runs: the entries of the four ODBC drivers ("Driver" naming the file that
// serves each on this system) and the two SQLite data sources. The
// program's own data sources are not part of it: the program creates them.
// sqliteBibliothek serves the SQLite, SQLite3 and Access drivers; the
// Paradox driver is served by the program itself (programmDatei), which has
// its Paradox reader built in.
std::vector<RegEintrag> standardInstallation(const QString& sqliteBibliothek, const QString& programmDatei);

// Writes the registry file with the standard installation when the file
// does not exist yet (an existing file, with the user's and the program's
// own entries, is never touched). Returns false with a German text in
// fehler when the file cannot be written.
bool installationSchreiben(const QString& datei, const QString& sqliteBibliothek, const QString& programmDatei,
                           QString* fehler = nullptr);

} // namespace orve
