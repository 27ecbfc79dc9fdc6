#include "tariffcheck/Tarifimport.h"

#include "tariffcheck/TarifimportHaken.h"

#include "common/Dialogs.h"
#include "common/Fehler.h"
#include "common/SqliteMeldung.h"
#include "tariffs/Beispieltarife.h"
#include "tariffs/Tarifsicherung.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <SQLiteCpp/Backup.h>
#include <SQLiteCpp/SQLiteCpp.h>

#include <functional>
#include <set>

namespace orve {

namespace {

std::function<void()>& haken()
{
    static std::function<void()> h;
    return h;
}

QString nativ(const QString& pfad)
{
    return QDir::toNativeSeparators(pfad);
}

QString nichtUebernommen(const QString& datei)
{
    return QStringLiteral("Die Datei %1 wurde nicht übernommen; an den Tariftabellen wurde nichts geändert.")
        .arg(nativ(datei));
}

// The faktor and CallByCall prefixes a spreadsheet may have cut the leading
// zero from, one finding per prefix and table.
void fuehrendeNullen(const Tarifdatei& datei, Tarifpruefung& p)
{
    std::set<std::pair<Tariftabelle, QString>> gemeldet;
    for (const Tarifzeile& e : datei.zeilen) {
        const QString v = e.vorwahl.value_or(QString()).trimmed();
        if (e.tabelle == Tariftabelle::Ortstarif || v.isEmpty() || !v[0].isDigit() || v.startsWith(QLatin1Char('0'))
            || v.startsWith(QStringLiteral("11")) || !gemeldet.insert({e.tabelle, v}).second)
            continue;
        p.befunde.push_back(
            {e.tabelle == Tariftabelle::faktor ? Pruefbefund::Bereich::faktor : Pruefbefund::Bereich::CallByCall,
             QStringLiteral("Vorwahl ") + v,
             QStringLiteral(
                 "Die Vorwahl „%1“ beginnt nicht mit 0: War „0%1“ gemeint? Tabellenprogramme lassen "
                 "führende Nullen weg, wenn sie die Spalte vorwahl als Zahl lesen; lesen Sie sie als Text "
                 "ein.")
                 .arg(v)});
    }
}

} // namespace

void tarifimportHakenSetzen(std::function<void()> h)
{
    haken() = std::move(h);
}

Tarifimport Tarifimport::lesen(const QString& datei)
{
    Tarifimport imp(datei);
    if (Tarifsicherung::istSqlite(datei))
        return imp;
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly))
        throw Fehler(QStringLiteral("Die Datei %1 kann nicht gelesen werden. Bitte prüfen Sie, ob es sie gibt und "
                                    "ob Sie sie lesen dürfen.")
                         .arg(nativ(datei)));
    try {
        imp.m_csv = tarifCsvLesen(f.readAll());
    } catch (const Tarifdateifehler& e) {
        throw Fehler(zeilen({nichtUebernommen(datei), e.text()}));
    }
    return imp;
}

std::vector<Tariftabelle> Tarifimport::einspielen(SQLite::Database& db, bool echt) const
{
    std::optional<Tarifsicherung> sicherung;
    if (!m_csv)
        sicherung.emplace(db, m_datei);
    const std::vector<Tariftabelle> tabellen = m_csv ? m_csv->tabellen : sicherung->tabellen();
    SQLite::Transaction tx(db);
    if (sicherung)
        sicherung->einspielen();
    else
        for (Tariftabelle t : tabellen)
            tabelleErsetzen(db, t, m_csv->zeilenVon(t));
    if (echt && haken())
        haken()();
    tx.commit();
    return tabellen;
}

Tarifpruefung Tarifimport::pruefen(SQLite::Database& lokal) const
{
    try {
        SQLite::Database kopie(":memory:", SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        SQLite::Backup(kopie, lokal).executeStep();
        einspielen(kopie, false);
        Tarifpruefung p = tarifePruefen(kopie);
        if (m_csv)
            fuehrendeNullen(*m_csv, p);
        return p;
    } catch (const Fehler& e) {
        throw Fehler(zeilen({nichtUebernommen(m_datei), e.text()}));
    } catch (const SQLite::Exception& e) {
        throw Fehler(zeilen({nichtUebernommen(m_datei),
                             sqliteMeldung(e, m_csv ? QString::fromStdString(lokal.getFilename()) : m_datei,
                                           QStringLiteral("importieren Sie erneut"))}));
    }
}

Tarifuebernahme Tarifimport::uebernehmen(SQLite::Database& lokal) const
{
    Tarifuebernahme u;
    u.sicherung = Tarifsicherung::schreiben(
        lokal, QFileInfo(QString::fromStdString(lokal.getFilename())).absolutePath(), QDateTime::currentDateTime());
    QStringList tabellen;
    try {
        for (Tariftabelle t : einspielen(lokal, true)) {
            const int n = tarifZeilenZaehlen(lokal, t);
            tabellen << QStringLiteral("„%1“ (%2 %3)")
                            .arg(tabellenTitel(t), QLocale(QLocale::German, QLocale::Germany).toString(n),
                                 n == 1 ? QStringLiteral("Zeile") : QStringLiteral("Zeilen"));
        }
    } catch (const Fehler& e) {
        throw Fehler(zeilen({nichtUebernommen(m_datei), e.text()}));
    } catch (const SQLite::Exception& e) {
        throw Fehler(
            zeilen({nichtUebernommen(m_datei), sqliteMeldung(e, QString::fromStdString(lokal.getFilename()),
                                                             QStringLiteral("importieren Sie erneut"))}));
    }
    u.meldung = zeilen({QStringLiteral("Aus der Datei %1 übernommen: %2.")
                            .arg(nativ(m_datei), tabellen.join(QStringLiteral(", "))),
                        QStringLiteral("Die bisherigen Tariftabellen sind gesichert in %1; importieren Sie diese "
                                       "Datei, um sie zurückzuholen.")
                            .arg(nativ(u.sicherung))});
    return u;
}

} // namespace orve
