#pragma once

#include "common/LokaleDatenbank.h"

#include <QFile>
#include <QRegularExpression>

#include <SQLiteCpp/SQLiteCpp.h>

namespace orve::test {

// Opens databases from connection strings without any registry: the DBQ= or Database= part names the file.
// "DSN=ORVE-Access" opens the local database (created when missing), every other data source opens its file read-only
// and never creates it.
class DirectSources : public Datenquellen {
public:
    std::unique_ptr<SQLite::Database> oeffnen(const QString& verbindung) override
    {
        static const QRegularExpression datei(QStringLiteral("(?:DBQ|Database)=(.*?);(?:DefaultDir|Threaded)="));
        const auto m = datei.match(verbindung);
        if (!m.hasMatch())
            throw VerbindungsFehler(QStringLiteral("Keine Datei in der Verbindung: ") + verbindung);
        if (verbindung.contains(QStringLiteral("DSN=ORVE-Access;")))
            return lokaleDatenbankOeffnen(m.captured(1));
        try {
            const std::string pfad = QFile::encodeName(m.captured(1)).toStdString();
            auto db = std::make_unique<SQLite::Database>(pfad, SQLite::OPEN_READONLY);
            db->setBusyTimeout(300); // the program waits longer; tests of a locked source need not
            return db;
        } catch (const SQLite::Exception& e) {
            throw VerbindungsFehler(QString::fromUtf8(e.what()), e.getExtendedErrorCode());
        }
    }
};

} // namespace orve::test
