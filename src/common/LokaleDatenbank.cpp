#include "common/LokaleDatenbank.h"

#include "common/AppState.h"
#include "common/Dialogs.h"
#include "common/SqlName.h"
#include "common/SqliteMeldung.h"

#include <QDir>
#include <QFileInfo>

#include <SQLiteCpp/SQLiteCpp.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace orve {

namespace {

struct Spalte {
    const char* name;
    const char* typ;
};

const std::vector<Spalte> kBill = {
    {"time", "TEXT"},
    {"user", "TEXT"},
    {"username", "TEXT"},
    {"number", "TEXT"},
    {"duration", "TEXT"},
    {"ucosts", "REAL"},
    {"rufziel", "TEXT"},
    {"lineno", "TEXT"},
    {"costs", "REAL"},
    {"vergleichsnummer", "TEXT"},
    {"ucostsBrutto", "REAL"},
    // Version 2: the tariff row that priced the call ("faktor:12", "Ortstarif:3", "intern").
    {"tarifsatz", "TEXT"},
};

const std::vector<Spalte> kTarif = {
    {"satz", "INTEGER PRIMARY KEY AUTOINCREMENT"},
    {"vorwahl", "TEXT"},
    {"Bezeichnung", "TEXT"},
    {"von Zeit", "TEXT"},
    {"bis Zeit", "TEXT"},
    {"Minutenpreis", "REAL"},
    {"Pauschale", "REAL"},
    {"Sekundentakt", "INTEGER"},
    {"typ", "TEXT"},
    {"username", "TEXT"},
};

const std::vector<Spalte> kCallByCall = {
    {"satz", "INTEGER PRIMARY KEY AUTOINCREMENT"},
    {"vorwahl", "TEXT"},
    {"Bezeichnung", "TEXT"},
};

std::set<std::string> vorhandeneSpalten(SQLite::Database& db, const std::string& tabelle)
{
    std::set<std::string> namen;
    SQLite::Statement q(db, "SELECT name FROM pragma_table_info(?)");
    q.bind(1, tabelle);
    while (q.executeStep()) {
        std::string n = q.getColumn(0).getString();
        for (auto& c : n)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        namen.insert(n);
    }
    return namen;
}

void tabelleSicherstellen(SQLite::Database& db, const std::string& tabelle, const std::vector<Spalte>& spalten)
{
    const auto vorhanden = vorhandeneSpalten(db, tabelle);
    if (vorhanden.empty()) {
        std::string sql = "CREATE TABLE " + sqlName(QString::fromStdString(tabelle)).toStdString() + " (";
        for (size_t i = 0; i < spalten.size(); ++i) {
            if (i)
                sql += ", ";
            sql += sqlName(QString::fromUtf8(spalten[i].name)).toStdString() + " " + spalten[i].typ;
        }
        db.exec(sql + ")");
        return;
    }
    // An older file may lack a column added later: add it, keep every row.
    for (const auto& s : spalten) {
        std::string n = s.name;
        for (auto& c : n)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!vorhanden.count(n) && std::string(s.typ).find("PRIMARY") == std::string::npos)
            db.exec("ALTER TABLE " + sqlName(QString::fromStdString(tabelle)).toStdString() + " ADD COLUMN "
                    + sqlName(QString::fromUtf8(s.name)).toStdString() + " " + s.typ);
    }
}

} // namespace

void lokalesSchemaSicherstellen(SQLite::Database& db)
{
    SQLite::Transaction t(db);
    tabelleSicherstellen(db, "bill", kBill);
    tabelleSicherstellen(db, "faktor", kTarif);
    tabelleSicherstellen(db, "Ortstarif", kTarif);
    tabelleSicherstellen(db, "CallByCall", kCallByCall);
    const int version = db.execAndGet("PRAGMA user_version").getInt();
    if (version < kSchemaVersion)
        db.exec("PRAGMA user_version = " + std::to_string(kSchemaVersion));
    t.commit();
}

std::unique_ptr<SQLite::Database> lokaleDatenbankOeffnen(const QString& datei)
{
    const QFileInfo info(datei);
    if (!QDir().mkpath(info.absolutePath()))
        throw VerbindungsFehler(QStringLiteral("Der Ordner der lokalen Datenbank konnte nicht angelegt werden:\r%1")
                                    .arg(QDir::toNativeSeparators(info.absolutePath())));
    try {
        auto db = std::make_unique<SQLite::Database>(datei.toUtf8().toStdString(),
                                                     SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        db->setBusyTimeout(5000);
        lokalesSchemaSicherstellen(*db);
        return db;
    } catch (const SQLite::Exception& e) {
        throw VerbindungsFehler(sqliteMeldung(e, datei, QStringLiteral("versuchen Sie es erneut")),
                                e.getExtendedErrorCode());
    }
}

namespace {
QString lokalerRumpf(const QString& programmOrdner, int istSQLite3)
{
    const QString p = QDir::toNativeSeparators(programmOrdner);
    const QString sep = QDir::separator();
    const QString fil =
        istSQLite3 == 1 ? QStringLiteral("SQLite3 ODBC Driver") : QStringLiteral("SQLite ODBC Driver");
    return QStringLiteral("DSN=ORVE-Access;DBQ=") + p + sep + QStringLiteral("Datenbank") + sep
           + QStringLiteral("Bill.sqlite;DefaultDir=") + p + sep + QStringLiteral("Datenbank")
           + QStringLiteral(";DriverId=25;FIL=") + fil
           + QStringLiteral(";MaxBufferSize=2048;PageTimeout=5;UID=admin;");
}
} // namespace

QString lokaleVerbindung(const QString& programmOrdner, int istSQLite3)
{
    return lokalerRumpf(programmOrdner, istSQLite3);
}

std::unique_ptr<SQLite::Database> lokalOeffnen(Datenquellen& quellen, const AppState& state)
{
    const QString kopf = QStringLiteral("Die lokale Datenbank kann nicht geöffnet werden:");
    try {
        return quellen.oeffnen(lokaleVerbindung(state.programmOrdner, state.IstSQLite3));
    } catch (const VerbindungsFehler& e) {
        // SQLite's refusal is already a whole sentence naming the database.
        if (e.sqliteCode() != 0)
            throw;
        throw VerbindungsFehler(zeilen({kopf, e.text()}));
    } catch (const SQLite::Exception& e) {
        throw VerbindungsFehler(sqliteMeldung(e, state.pfadImProgrammordner(kLokaleDatenbankRelativ),
                                              QStringLiteral("versuchen Sie es erneut")),
                                e.getExtendedErrorCode());
    }
}

QString lokaleShapeVerbindung(const QString& programmOrdner, int istSQLite3)
{
    return QStringLiteral("Provider=MSDataShape.1;Extended Properties=") + lokalerRumpf(programmOrdner, istSQLite3)
           + QStringLiteral(";Persist Security Info=False;Data Provider=MSDASQL.1");
}

} // namespace orve
