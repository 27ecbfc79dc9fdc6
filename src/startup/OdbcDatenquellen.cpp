#include "startup/OdbcDatenquellen.h"

#include "common/SqliteMeldung.h"

#include "startup/OdbcSchluessel.h"
#include "startup/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

namespace orve {

namespace {

// Keys that may follow a file value in the connection strings of ADO, the
// ODBC driver manager, the Access and the SQLite drivers.
const QRegularExpression& folgeSchluessel()
{
    static const QRegularExpression kMuster(
        QStringLiteral(";\\s*(?:DSN|DBQ|Database|DefaultDir|DriverId|Driver|FIL|MaxBufferSize|PageTimeout|UID|PWD|"
                       "Threaded|Timeout|NoWCHAR|Provider|Persist Security Info|Mode|Extended Properties|"
                       "Data Provider|Data Source|User ID|Password|StepAPI|SyncPragma|NoTXN|ShortNames|LongNames|"
                       "JournalMode|LoadExt|OEMCP|BigInt|FKSupport|JDConv|Description|ReadOnly|SafeTransactions|"
                       "UserCommitSync|ImplicitCommitSync|Threads|Exclusive)\\s*="),
        QRegularExpression::CaseInsensitiveOption);
    return kMuster;
}

QString nativ(const QString& pfad)
{
    return QDir::toNativeSeparators(pfad);
}

// The file that serves a data source: the "Driver" value of its own key,
// else the driver file of the driver its list entry names.
QString treiberDateiDerQuelle(Registry& reg, const QString& dsn)
{
    QString datei;
    try {
        if (auto s = reg.oeffnen(Hive::LocalMachine, kDatenquellenSchluessel + dsn)) {
            const auto w = reg.wertLesen(*s, QStringLiteral("Driver"));
            reg.schliessen(*s);
            if (w && w->typ == RegWert::Text)
                datei = w->text;
        }
        if (datei.isEmpty()) {
            if (auto s = reg.oeffnen(Hive::LocalMachine, kDatenquellenListe)) {
                const auto w = reg.wertLesen(*s, dsn);
                reg.schliessen(*s);
                if (w && w->typ == RegWert::Text)
                    TreiberSuchen(reg, w->text, datei);
            }
        }
    } catch (const RegistryFehler&) {
        return QString();
    }
    return datei;
}

} // namespace

Verbindungsangaben verbindungZerlegen(const QString& verbindung)
{
    Verbindungsangaben a;
    static const QRegularExpression kDsn(QStringLiteral("(?:^|[;=])\\s*DSN\\s*=([^;]*)"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (const auto m = kDsn.match(verbindung); m.hasMatch())
        a.dsn = m.captured(1).trimmed();

    static const QRegularExpression kDatei(QStringLiteral("(?:^|[;=])\\s*(?:DBQ|Database)\\s*="),
                                           QRegularExpression::CaseInsensitiveOption);
    if (const auto m = kDatei.match(verbindung); m.hasMatch()) {
        const auto anfang = m.capturedEnd();
        const auto folge = folgeSchluessel().match(verbindung, anfang);
        if (folge.hasMatch()) {
            a.datei = verbindung.mid(anfang, folge.capturedStart() - anfang);
        } else {
            a.datei = verbindung.mid(anfang);
            if (a.datei.endsWith(QLatin1Char(';')))
                a.datei.chop(1);
        }
    }
    return a;
}

std::unique_ptr<SQLite::Database> OdbcDatenquellen::oeffnen(const QString& verbindung)
{
    const Verbindungsangaben a = verbindungZerlegen(verbindung);
    if (a.dsn.isEmpty())
        throw VerbindungsFehler(QStringLiteral("In der Verbindung ist keine ODBC-Datenquelle (DSN) angegeben."));
    if (!DatenquelleVorhanden(m_reg, a.dsn))
        throw VerbindungsFehler(QStringLiteral("Die ODBC-Datenquelle '%1' ist nicht eingetragen.").arg(a.dsn));
    const QString treiber = treiberDateiDerQuelle(m_reg, a.dsn);
    if (treiber.isEmpty() || !QFileInfo(treiber).isFile())
        throw VerbindungsFehler(
            QStringLiteral("Der ODBC-Treiber der Datenquelle '%1' ist nicht installiert%2.")
                .arg(a.dsn, treiber.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(nativ(treiber))));
    if (a.datei.isEmpty())
        throw VerbindungsFehler(
            QStringLiteral("In der Verbindung zur Datenquelle '%1' ist keine Datenbankdatei angegeben.")
                .arg(a.dsn));

    if (a.dsn.compare(kAccessDatenquelle, Qt::CaseInsensitive) == 0)
        return lokaleDatenbankOeffnen(a.datei);

    const QFileInfo info(a.datei);
    if (!info.exists())
        throw VerbindungsFehler(QStringLiteral("Die Datenbankdatei %1 wurde nicht gefunden.").arg(nativ(a.datei)));
    if (!info.isFile())
        throw VerbindungsFehler(QStringLiteral("%1 ist keine Datei.").arg(nativ(a.datei)));
    try {
        // Read-only: the call database of the telephone system is never
        // written, and a missing file is never created.
        auto db =
            std::make_unique<SQLite::Database>(a.datei.toUtf8().toStdString(), SQLite::OPEN_READONLY);
        db->setBusyTimeout(5000);
        db->execAndGet("SELECT count(*) FROM sqlite_master");
        return db;
    } catch (const SQLite::Exception& e) {
        if (e.getErrorCode() == SQLITE_NOTADB)
            throw VerbindungsFehler(QStringLiteral("Die Datei %1 ist keine SQLite-Datenbank.").arg(nativ(a.datei)));
        throw VerbindungsFehler(sqliteMeldung(e, a.datei, QStringLiteral("versuchen Sie es erneut")),
                                e.getExtendedErrorCode());
    }
}

} // namespace orve
