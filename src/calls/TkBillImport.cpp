#include "calls/TkBillImport.h"

#include "calls/StartZeit.h"
#include "calls/TkBillQuelle.h"
#include "common/AppState.h"
#include "common/BusyCursor.h"
#include "common/Dialogs.h"
#include "common/Numbers.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <memory>

namespace orve {

QString paradoxDauer(const std::optional<QString>& dauer)
{
    if (!dauer)
        return QStringLiteral("0");
    const QString& d = *dauer;
    const double sekunden = 3600 * fuehrendeZahl(d.left(2)) + 60 * fuehrendeZahl(d.mid(3, 2))
        + fuehrendeZahl(d.right(2));
    return QString::number(sekunden, 'g', 15);
}

QString paradoxRufnummer(const std::optional<QString>& rufnummer)
{
    if (!rufnummer)
        return QStringLiteral("unbekannt");
    if (rufnummer->size() <= 18)
        return rufnummer->leftJustified(18, QLatin1Char(' '));
    return *rufnummer;
}

namespace {

std::optional<QString> textOderNull(const SQLite::Column& c)
{
    if (c.isNull())
        return std::nullopt;
    return feldText(c);
}

// The statement over the source rows, with its values bound.
struct QuellAbfrage {
    std::unique_ptr<SQLite::Statement> q;
    bool paradox = false;
};

QuellAbfrage paradoxAbfrage(SQLite::Database& db, std::optional<std::int64_t> nebenstelle,
                            std::optional<std::int64_t> ab)
{
    const QStringList s = spaltenVerlangen(db, QStringLiteral("paradox"), paradoxSpalten());
    const QStringList alle = tabellenSpalten(db, QStringLiteral("paradox"));
    if (alle.size() < 2)
        throw QuellFehler(QStringLiteral("Die Paradox-Tabelle hat weniger als zwei Felder (Datum und Uhrzeit)!"));
    const QString start = QStringLiteral("%1(%2 || ' ' || %3)")
                              .arg(QString::fromLatin1(kStartZeitFunktion), sqlName(alle[0]), sqlName(alle[1]));
    QString sql = QStringLiteral("SELECT %1, %2, %3, %4, %5, %6 FROM paradox WHERE %7 = 0")
                      .arg(sqlName(alle[0]), sqlName(alle[1]), sqlName(s[0]), sqlName(s[2]), sqlName(s[3]),
                           sqlName(s[4]), sqlName(s[1]));
    if (nebenstelle)
        sql += QStringLiteral(" AND ") + nebenstellenBedingung(s[0]);
    if (ab)
        sql += QStringLiteral(" AND ") + start + QStringLiteral(" >= ?");
    sql += QStringLiteral(" ORDER BY %1, %2, %3, %4").arg(sqlName(s[0]), start, sqlName(alle[0]), sqlName(alle[1]));
    QuellAbfrage a{std::make_unique<SQLite::Statement>(db, sql.toStdString()), true};
    int i = 1;
    if (nebenstelle) {
        a.q->bind(i++, static_cast<std::int64_t>(*nebenstelle));
        a.q->bind(i++, QString::number(*nebenstelle).toStdString());
    }
    if (ab)
        a.q->bind(i++, static_cast<std::int64_t>(*ab));
    return a;
}

QuellAbfrage sqliteAbfrage(SQLite::Database& db, std::optional<std::int64_t> nebenstelle,
                           std::optional<std::int64_t> ab)
{
    const QStringList s = spaltenVerlangen(db, QStringLiteral("stdbill"), stdbillSpalten());
    const QString start = QStringLiteral("%1(%2)").arg(QString::fromLatin1(kStartZeitFunktion), sqlName(s[0]));
    QStringList namen;
    for (const auto& n : s)
        namen << sqlName(n);
    QString sql = QStringLiteral("SELECT %1 FROM stdbill").arg(namen.join(QStringLiteral(", ")));
    QStringList bedingungen;
    if (nebenstelle)
        bedingungen << nebenstellenBedingung(s[1]);
    if (ab)
        bedingungen << start + QStringLiteral(" >= ?");
    if (!bedingungen.isEmpty())
        sql += QStringLiteral(" WHERE ") + bedingungen.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY %1, %2, %3").arg(sqlName(s[1]), start, sqlName(s[0]));
    QuellAbfrage a{std::make_unique<SQLite::Statement>(db, sql.toStdString()), false};
    int i = 1;
    if (nebenstelle) {
        a.q->bind(i++, static_cast<std::int64_t>(*nebenstelle));
        a.q->bind(i++, QString::number(*nebenstelle).toStdString());
    }
    if (ab)
        a.q->bind(i++, static_cast<std::int64_t>(*ab));
    return a;
}

// Dateneintrag: the six values of the current source row.
Anruf dateneintrag(const QuellAbfrage& a)
{
    const SQLite::Statement& q = *a.q;
    Anruf r;
    if (a.paradox) {
        r.time = feldText(q.getColumn(0)) + QLatin1Char(' ') + feldText(q.getColumn(1));
        r.user = feldText(q.getColumn(2));
        r.username = QStringLiteral("(Internnummer) ");
        r.number = paradoxRufnummer(textOderNull(q.getColumn(3)));
        r.duration = paradoxDauer(textOderNull(q.getColumn(4)));
        r.lineno = feldText(q.getColumn(5));
    } else {
        r.time = feldText(q.getColumn(0));
        r.user = feldText(q.getColumn(1));
        r.username = feldText(q.getColumn(2));
        r.number = feldText(q.getColumn(3));
        r.duration = feldText(q.getColumn(4));
        r.lineno = feldText(q.getColumn(5));
    }
    return r;
}

void bindText(SQLite::Statement& s, int i, const QString& text)
{
    const QByteArray b = text.toUtf8();
    s.bind(i, b.constData(), static_cast<int>(b.size()));
}

} // namespace

EinleseErgebnis tkBillEinlesen(const AppState& state, Datenquellen& quellen, const QString& nebenstelle,
                               const QString& datumZeit, AnrufListe& liste)
{
    const auto nebenstellenNummer = nebenstellenGrenze(nebenstelle);
    const auto ab = datumGrenze(datumZeit);
    BusyCursor sanduhr;

    auto lokal = lokalOeffnen(quellen, state);
    std::unique_ptr<SQLite::Database> quelle;
    QuellAbfrage abfrage;
    try {
        if (state.IstParadox == 1) {
            abfrage = paradoxAbfrage(*lokal, nebenstellenNummer, ab);
        } else {
            quelle = quelleOeffnen(quellen, state);
            abfrage = sqliteAbfrage(*quelle, nebenstellenNummer, ab);
        }
    } catch (const SQLite::Exception& e) {
        throw QuellFehler(zeilen({QStringLiteral("Die Anrufdaten können nicht gelesen werden:"),
                                  QString::fromUtf8(e.what())}));
    }

    EinleseErgebnis ergebnis;
    std::vector<Anruf> neue;
    liste.leeren();
    try {
        SQLite::Transaction t(*lokal);
        lokal->exec("DELETE FROM bill");
        SQLite::Statement einfuegen(
            *lokal, "INSERT INTO bill (user, username, number, time, duration, lineno) VALUES (?, ?, ?, ?, ?, ?)");
        try {
            while (abfrage.q->executeStep()) {
                Anruf a = dateneintrag(abfrage);
                einfuegen.tryReset();
                bindText(einfuegen, 1, a.user);
                bindText(einfuegen, 2, a.username);
                bindText(einfuegen, 3, a.number);
                bindText(einfuegen, 4, a.time);
                bindText(einfuegen, 5, a.duration);
                bindText(einfuegen, 6, a.lineno);
                einfuegen.exec();
                neue.push_back(std::move(a));
            }
        } catch (const SQLite::Exception& e) {
            // The calls written so far stay; the user learns why the rest is missing.
            ergebnis.fehler = zeilen({QStringLiteral("Das Einlesen der TK-Bill Daten wurde nach %1 Datensätzen "
                                                     "abgebrochen:")
                                          .arg(neue.size()),
                                      QString::fromUtf8(e.what())});
        }
        abfrage.q.reset();
        t.commit();
    } catch (const SQLite::Exception& e) {
        // Nothing was stored: the old table is back.
        neue.clear();
        ergebnis.fehler = zeilen({QStringLiteral("Die TK-Bill Daten konnten nicht in die lokale Datenbank "
                                                 "geschrieben werden:"),
                                  QString::fromUtf8(e.what())});
    }
    ergebnis.anzahl = static_cast<std::int64_t>(neue.size());
    liste.anhaengen(std::move(neue));
    return ergebnis;
}

} // namespace orve
