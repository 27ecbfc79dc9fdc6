#pragma once

#include "common/VerbindungsFehler.h"

#include <QString>

#include <memory>

namespace SQLite {
class Database;
}

namespace orve {

// Opens a database from a connection string (the data-source stand-in in
// startup/ implements it on top of the registry file). Throws
// VerbindungsFehler when the data source is not set up or the file cannot be
// opened.
class Datenquellen {
public:
    virtual ~Datenquellen() = default;
    virtual std::unique_ptr<SQLite::Database> oeffnen(const QString& verbindung) = 0;
};

} // namespace orve
