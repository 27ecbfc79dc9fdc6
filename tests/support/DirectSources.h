#pragma once

#include "common/LocalDatabase.h"

namespace orve::test {

// Opens databases from connection strings without any registry: the DBQ=
// or Database= part names the file. "DSN=ORVE-Access" opens the local
// database (created when missing), every other data source opens its file
// read-only and never creates it. For tests of code that only needs a
// working Datenquellen.
class DirectSources : public Datenquellen {
public:
    std::unique_ptr<SQLite::Database> oeffnen(const QString& verbindung) override;
};

} // namespace orve::test
