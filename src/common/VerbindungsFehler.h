#pragma once

#include "common/Fehler.h"

namespace orve {

// A database that could not be opened, with a German text for the user.
class VerbindungsFehler : public Fehler {
public:
    explicit VerbindungsFehler(const QString& text, int sqliteCode = 0) : Fehler(text), m_sqliteCode(sqliteCode) {}
    // SQLite's result code when SQLite refused the file (e.g. SQLITE_BUSY
    // for a database another program holds); 0 otherwise.
    int sqliteCode() const { return m_sqliteCode; }

private:
    int m_sqliteCode = 0;
};

} // namespace orve
