#pragma once

#include "common/LokaleDatenbank.h"

#include <QString>

#include <memory>

namespace orve {

class Registry;

// The parts of a connection string the data-source stand-in reads.
struct Verbindungsangaben {
    QString dsn;   // "DSN=" value
    QString datei; // "DBQ=" or "Database=" value
};

// Reads DSN and file from a connection string such as
// "DSN=ORVE-Access;DBQ=/p/Datenbank/Bill.sqlite;DefaultDir=...;..." or
// "Provider=MSDASQL.1;...;Extended Properties=DSN=SQLite3 Datasource;Database=/p/bill.db;Threaded=0;...".
// The file value runs to the next ";<known key>=" or the end, so a path may
// itself hold ';' or '='.
Verbindungsangaben verbindungZerlegen(const QString& verbindung);

// Opens databases through the data sources kept in the registry, as the ODBC
// driver manager does: the data source must be listed and its driver
// installed (the "Driver" file of the data source exists). "ORVE-Access"
// opens the local database (created with its tables when missing); every
// other data source opens an existing SQLite file read-only, never creating
// one, with a busy timeout of 5 seconds. Throws VerbindungsFehler with a
// German text.
class OdbcDatenquellen : public Datenquellen {
public:
    explicit OdbcDatenquellen(Registry& reg) : m_reg(reg) {}
    std::unique_ptr<SQLite::Database> oeffnen(const QString& verbindung) override;

private:
    Registry& m_reg;
};

} // namespace orve
