#include "DirectSources.h"

#include <QFile>
#include <QRegularExpression>

#include <SQLiteCpp/SQLiteCpp.h>

namespace orve::test {

std::unique_ptr<SQLite::Database> DirectSources::oeffnen(const QString& verbindung)
{
    static const QRegularExpression datei(QStringLiteral("(?:DBQ|Database)=(.*?);(?:DefaultDir|Threaded)="));
    const auto m = datei.match(verbindung);
    if (!m.hasMatch())
        throw VerbindungsFehler(QStringLiteral("Keine Datei in der Verbindung: ") + verbindung);
    const QString pfad = m.captured(1);
    if (verbindung.contains(QStringLiteral("DSN=ORVE-Access;")))
        return lokaleDatenbankOeffnen(pfad);
    try {
        auto db = std::make_unique<SQLite::Database>(QFile::encodeName(pfad).toStdString(), SQLite::OPEN_READONLY);
        db->setBusyTimeout(300); // the program waits longer; tests of a locked source need not
        return db;
    } catch (const SQLite::Exception& e) {
        throw VerbindungsFehler(QString::fromUtf8(e.what()), e.getExtendedErrorCode());
    }
}

} // namespace orve::test
