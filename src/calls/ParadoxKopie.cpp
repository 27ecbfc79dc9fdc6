#include "calls/ParadoxKopie.h"

#include "calls/QuellFehler.h"
#include "calls/TabellenSpalten.h"
#include "common/Dialogs.h"
#include "common/SqlName.h"
#include "common/SqliteMeldung.h"

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QTime>

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <cstdio>

namespace orve {

namespace {

// The text forms written into a buffer (100,000 records are copied at a start).
int datumSchreiben(char* ziel, std::size_t n, const QDate& d)
{
    int j = 0, m = 0, t = 0;
    d.getDate(&j, &m, &t);
    return std::snprintf(ziel, n, "%04d-%02d-%02d", j, m, t);
}

int zeitSchreiben(char* ziel, std::size_t n, const QTime& u)
{
    return std::snprintf(ziel, n, "%02d:%02d:%02d", u.hour(), u.minute(), u.second());
}

} // namespace

QString paradoxSpaltenTyp(paradox::FeldTyp typ)
{
    using paradox::FeldTyp;
    switch (typ) {
    case FeldTyp::Alpha:
    case FeldTyp::Date:
    case FeldTyp::Time:
    case FeldTyp::Timestamp:
        return QStringLiteral("TEXT");
    case FeldTyp::Short:
    case FeldTyp::Long:
    case FeldTyp::AutoInc:
    case FeldTyp::Logical:
        return QStringLiteral("INTEGER");
    case FeldTyp::Number:
    case FeldTyp::Currency:
        return QStringLiteral("REAL");
    default:
        return QStringLiteral("BLOB");
    }
}

namespace {

struct Spalte {
    QString name;
    QString typ;
    bool operator==(const Spalte&) const = default;
};

std::vector<Spalte> vorhandeneSpalten(SQLite::Database& db)
{
    std::vector<Spalte> spalten;
    SQLite::Statement q(db, "SELECT name, type FROM pragma_table_info('paradox')");
    while (q.executeStep())
        spalten.push_back(
            {QString::fromUtf8(q.getColumn(0).getText()), QString::fromUtf8(q.getColumn(1).getText())});
    return spalten;
}

void tabelleAnlegen(SQLite::Database& db, const std::vector<Spalte>& soll)
{
    if (vorhandeneSpalten(db) == soll)
        return;
    QStringList teile;
    for (const auto& s : soll)
        teile << sqlName(s.name) + QLatin1Char(' ') + s.typ;
    db.exec("DROP TABLE IF EXISTS paradox");
    db.exec(QStringLiteral("CREATE TABLE paradox (%1)").arg(teile.join(QStringLiteral(", "))).toStdString());
}

void binden(SQLite::Statement& s, int i, const QVariant& v)
{
    if (!v.isValid() || v.isNull()) {
        s.bind(i);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::QString: {
        const QByteArray t = v.toString().toUtf8();
        s.bind(i, std::string(t.constData(), static_cast<size_t>(t.size())));
        break;
    }
    case QMetaType::QDate: {
        char b[32];
        datumSchreiben(b, sizeof b, v.toDate());
        s.bind(i, b);
        break;
    }
    case QMetaType::QTime: {
        char b[16];
        zeitSchreiben(b, sizeof b, v.toTime());
        s.bind(i, b);
        break;
    }
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        char b[48];
        const int n = datumSchreiben(b, sizeof b, dt.date());
        b[n] = ' ';
        zeitSchreiben(b + n + 1, sizeof b - static_cast<std::size_t>(n) - 1, dt.time());
        s.bind(i, b);
        break;
    }
    case QMetaType::Bool:
        s.bind(i, v.toBool() ? 1 : 0);
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        s.bind(i, v.toDouble());
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        s.bind(i, static_cast<std::int64_t>(v.toLongLong()));
        break;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        s.bind(i, b.constData(), static_cast<int>(b.size()));
        break;
    }
    default:
        s.bind(i, v.toString().toStdString());
        break;
    }
}

} // namespace

ParadoxKopieErgebnis paradoxKopieren(const paradox::ParadoxTabelle& tabelle, SQLite::Database& lokal)
{
    const auto& felder = tabelle.felder();
    std::vector<Spalte> soll;
    QSet<QString> namen;
    for (const auto& f : felder) {
        const QString klein = f.name.toLower();
        if (namen.contains(klein))
            throw QuellFehler(
                QStringLiteral("Die Paradox-Tabelle hat mehrere Felder mit dem Namen \"%1\" und kann nicht "
                               "übernommen werden!")
                    .arg(f.name));
        namen.insert(klein);
        soll.push_back({f.name, paradoxSpaltenTyp(f.typ)});
    }
    if (soll.empty())
        throw QuellFehler(QStringLiteral("Die Paradox-Tabelle hat keine Felder!"));

    ParadoxKopieErgebnis ergebnis;
    try {
        SQLite::Transaction t(lokal);
        tabelleAnlegen(lokal, soll);
        lokal.exec("DELETE FROM paradox");
        QStringList platz;
        for (size_t i = 0; i < soll.size(); ++i)
            platz << QStringLiteral("?");
        SQLite::Statement einfuegen(
            lokal,
            QStringLiteral("INSERT INTO paradox VALUES (%1)").arg(platz.join(QLatin1Char(','))).toStdString());
        const int n = static_cast<int>(soll.size());
        try {
            // A refused record ends the copy: its exception leaves the reader.
            tabelle.lesen([&](const paradox::Satz& satz) {
                einfuegen.reset();
                einfuegen.clearBindings();
                for (int i = 0; i < n && i < static_cast<int>(satz.size()); ++i)
                    binden(einfuegen, i + 1, satz[static_cast<size_t>(i)]);
                einfuegen.exec();
                ++ergebnis.uebernommen;
            });
        } catch (const paradox::ParadoxFehler& e) {
            ergebnis.lesefehler = e.text();
        }
        // SQLite may have rolled the whole transaction back on its own (a
        // full disk while spilling its cache): then nothing may be committed
        // as if the copy were whole.
        if (sqlite3_get_autocommit(lokal.getHandle()) != 0)
            throw SQLite::Exception("the copy's transaction was rolled back", SQLITE_ABORT);
        t.commit();
    } catch (const SQLite::Exception& e) {
        // Rolled back, which also brought back the previous start's rows:
        // they must not pass for this start's calls.
        try {
            lokal.exec("DELETE FROM paradox");
        } catch (const SQLite::Exception&) {
        }
        throw QuellFehler(zeilen({QStringLiteral("Die Anrufdaten der Paradox-Tabelle konnten nicht in die lokale "
                                                 "Datenbank übernommen werden."),
                                  sqliteMeldung(e, QString::fromStdString(lokal.getFilename()),
                                                QStringLiteral("starten Sie das Programm neu"))}));
    }
    return ergebnis;
}

} // namespace orve
