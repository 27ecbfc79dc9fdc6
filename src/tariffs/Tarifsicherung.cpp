#include "tariffs/Tarifsicherung.h"

#include "common/Dialogs.h"
#include "common/Fehler.h"
#include "common/SqlName.h"
#include "common/SqliteMeldung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <SQLiteCpp/SQLiteCpp.h>

#include <string>

namespace orve {

namespace {

const std::string kSicherung = "sicherung";
const std::string kKopie = "kopie";
const Tariftabelle kAlle[] = {Tariftabelle::faktor, Tariftabelle::Ortstarif, Tariftabelle::CallByCall};

std::string sql(const QString& name)
{
    return sqlName(name).toStdString();
}

// The name of the table in `schema` as spelt there (names are matched
// without regard to case); empty when it has none.
QString nameIn(SQLite::Database& db, const std::string& schema, Tariftabelle t)
{
    SQLite::Statement q(db, "SELECT name FROM " + schema
                                + ".sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE");
    q.bind(1, tabellenName(t).toStdString());
    return q.executeStep() ? QString::fromStdString(q.getColumn(0).getString()) : QString();
}

QStringList spalten(SQLite::Database& db, const std::string& schema, const QString& tabelle)
{
    SQLite::Statement q(db, "SELECT name FROM pragma_table_info(?, ?)");
    q.bind(1, tabelle.toStdString());
    q.bind(2, schema);
    QStringList out;
    while (q.executeStep())
        out << QString::fromStdString(q.getColumn(0).getString());
    return out;
}

void anhaengen(SQLite::Database& db, const QString& datei, const std::string& schema)
{
    SQLite::Statement q(db, "ATTACH DATABASE ? AS " + schema);
    q.bind(1, datei.toUtf8().toStdString());
    q.exec();
}

void abhaengen(SQLite::Database& db, const std::string& schema) noexcept
{
    try {
        db.exec("DETACH DATABASE " + schema);
    } catch (const SQLite::Exception&) {
        // Not attached (any more): nothing to undo.
    }
}

} // namespace

Tarifsicherung::Tarifsicherung(SQLite::Database& db, const QString& datei) : m_db(db)
{
    const QString lokal = QFileInfo(QString::fromStdString(db.getFilename())).canonicalFilePath();
    if (!lokal.isEmpty() && QFileInfo(datei).canonicalFilePath() == lokal)
        throw Fehler(QStringLiteral("Die Datei %1 ist die Datenbank des Programms selbst, keine Sicherung der "
                                    "Tariftabellen.")
                         .arg(QDir::toNativeSeparators(datei)));
    anhaengen(db, datei, kSicherung);
    try {
        for (Tariftabelle t : kAlle) {
            const QString name = nameIn(db, kSicherung, t);
            if (name.isEmpty())
                continue;
            const QStringList gesichert = spalten(db, kSicherung, name);
            const QStringList vorhanden = spalten(db, "main", tabellenName(t));
            for (const QString& s : gesichert)
                if (!vorhanden.contains(s, Qt::CaseInsensitive))
                    throw Fehler(QStringLiteral("Die Tabelle %1 der Datei %2 hat die Spalte „%3“, die Tariftabelle "
                                                "des Programms nicht. Es wurde nichts geändert.")
                                     .arg(name, QDir::toNativeSeparators(datei), s));
            m_tabellen.push_back({t, name, gesichert});
        }
        if (m_tabellen.empty())
            throw Fehler(QStringLiteral("Die Datei %1 ist keine Sicherung der Tariftabellen: Sie enthält keine der "
                                        "Tabellen faktor, Ortstarif und CallByCall.")
                             .arg(QDir::toNativeSeparators(datei)));
    } catch (...) {
        abhaengen(db, kSicherung);
        throw;
    }
}

Tarifsicherung::~Tarifsicherung()
{
    abhaengen(m_db, kSicherung);
}

std::vector<Tariftabelle> Tarifsicherung::tabellen() const
{
    std::vector<Tariftabelle> out;
    for (const Tabelle& t : m_tabellen)
        out.push_back(t.tabelle);
    return out;
}

void Tarifsicherung::einspielen() const
{
    for (const Tabelle& t : m_tabellen) {
        QStringList namen;
        for (const QString& s : t.spalten)
            namen << sqlName(s);
        const std::string liste = namen.join(QStringLiteral(", ")).toStdString();
        const std::string ziel = "main." + sql(tabellenName(t.tabelle));
        m_db.exec("DELETE FROM " + ziel);
        m_db.exec("INSERT INTO " + ziel + " (" + liste + ") SELECT " + liste + " FROM " + kSicherung + "."
                  + sql(t.name) + " ORDER BY rowid");
    }
}

QString Tarifsicherung::schreiben(SQLite::Database& db, const QString& ordner, const QDateTime& zeitpunkt)
{
    const QString stamm =
        QDir(ordner).filePath(QStringLiteral("Tarife-") + zeitpunkt.toString(QStringLiteral("yyyy-MM-dd-HHmmss")));
    QString ziel = stamm + QStringLiteral(".sqlite");
    for (int n = 2; QFileInfo::exists(ziel); ++n)
        ziel = QStringLiteral("%1-%2.sqlite").arg(stamm).arg(n);
    // Under a name of its own until it is complete.
    const QString teil = ziel + QStringLiteral(".teil");
    QFile::remove(teil);
    const auto fehler = [&](const QString& ursache) {
        QFile::remove(teil);
        return Fehler(
            zeilen({QStringLiteral("Die bisherigen Tariftabellen konnten nicht gesichert werden; an ihnen "
                                   "wurde nichts geändert."),
                    ursache}));
    };
    try {
        {
            // The tables as the local database declares them, so every value keeps its type.
            SQLite::Database neu(teil.toUtf8().toStdString(),
                                 SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
            for (Tariftabelle t : kAlle) {
                SQLite::Statement q(
                    db, "SELECT sql FROM main.sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE");
                q.bind(1, tabellenName(t).toStdString());
                if (q.executeStep())
                    neu.exec(q.getColumn(0).getString());
            }
        }
        anhaengen(db, teil, kKopie);
        try {
            SQLite::Transaction tx(db);
            for (Tariftabelle t : kAlle)
                db.exec("INSERT INTO " + kKopie + "." + sql(nameIn(db, kKopie, t)) + " SELECT * FROM main."
                        + sql(tabellenName(t)) + " ORDER BY rowid");
            tx.commit();
        } catch (...) {
            abhaengen(db, kKopie);
            throw;
        }
        abhaengen(db, kKopie);
    } catch (const SQLite::Exception& e) {
        throw fehler(sqliteMeldung(e, teil, QStringLiteral("importieren Sie die Datei erneut")));
    }
    if (!QFile::rename(teil, ziel))
        throw fehler(
            QStringLiteral("Die Datei %1 konnte nicht angelegt werden.").arg(QDir::toNativeSeparators(ziel)));
    return ziel;
}

bool Tarifsicherung::istSqlite(const QString& datei)
{
    QFile f(datei);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3", 16);
}

} // namespace orve
