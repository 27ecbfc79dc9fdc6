#include "calls/TkBillFilter.h"

#include "calls/Auswahl.h"
#include "calls/StartZeit.h"
#include "calls/TabellenSpalten.h"
#include "calls/TkBillQuelle.h"
#include "common/AppState.h"
#include "common/Dialogs.h"
#include "common/SqlName.h"

#include <SQLiteCpp/SQLiteCpp.h>

namespace orve {

namespace {

// The first two columns of `paradox` (date and time of day), then the
// columns the program uses.
struct ParadoxNamen {
    QString datum, zeit, tln, flags;
    QString start() const { return QStringLiteral("%1 || ' ' || %2").arg(sqlName(datum), sqlName(zeit)); }
};

ParadoxNamen paradoxNamen(SQLite::Database& db)
{
    const QStringList gefunden = spaltenVerlangen(db, QStringLiteral("paradox"), paradoxSpalten());
    const QStringList alle = tabellenSpalten(db, QStringLiteral("paradox"));
    if (alle.size() < 2)
        throw QuellFehler(QStringLiteral("Die Paradox-Tabelle hat weniger als zwei Felder (Datum und Uhrzeit)!"));
    return {alle[0], alle[1], gefunden[0], gefunden[1]};
}

void nebenstelleBinden(SQLite::Statement& q, int& i, std::int64_t nummer)
{
    q.bind(i++, static_cast<std::int64_t>(nummer));
    q.bind(i++, QString::number(nummer).toStdString());
}

} // namespace

QStringList nebenstellenEintraege(const AppState& state, Datenquellen& quellen)
{
    QStringList eintraege {kAlle};
    try {
        if (state.IstParadox == 1) {
            paradoxKopieVerlangen(state);
            auto db = lokaleAnrufdatenOeffnen(quellen, state);
            const ParadoxNamen n = paradoxNamen(*db);
            SQLite::Statement q(*db, QStringLiteral("SELECT %1 FROM paradox WHERE %2 = 0 GROUP BY %1 ORDER BY %1")
                                         .arg(sqlName(n.tln), sqlName(n.flags))
                                         .toStdString());
            while (q.executeStep())
                eintraege << feldText(q.getColumn(0)) + QStringLiteral("  |  (Internnummer) ");
        } else {
            auto db = quelleOeffnen(quellen, state);
            const QStringList s = spaltenVerlangen(*db, QStringLiteral("stdbill"),
                                                   {QStringLiteral("user"), QStringLiteral("username")});
            SQLite::Statement q(*db, QStringLiteral("SELECT %1, %2 FROM stdbill GROUP BY %1, %2 ORDER BY %1")
                                         .arg(sqlName(s[0]), sqlName(s[1]))
                                         .toStdString());
            while (q.executeStep())
                eintraege << feldText(q.getColumn(0)) + QStringLiteral("  |  ") + feldText(q.getColumn(1));
        }
    } catch (const SQLite::Exception& e) {
        throw anrufdatenLesefehler(state, e);
    }
    return eintraege;
}

QStringList datumEintraege(const AppState& state, Datenquellen& quellen, const QString& nebenstelle)
{
    const auto grenze = nebenstellenGrenze(nebenstelle);
    const QString fn = QString::fromLatin1(kStartZeitFunktion);
    QStringList eintraege {kAlle};
    try {
        if (state.IstParadox == 1) {
            paradoxKopieVerlangen(state);
            auto db = lokaleAnrufdatenOeffnen(quellen, state);
            const ParadoxNamen n = paradoxNamen(*db);
            QString sql = QStringLiteral("SELECT %1, %2 FROM paradox WHERE %3 = 0")
                              .arg(sqlName(n.datum), sqlName(n.zeit), sqlName(n.flags));
            if (grenze)
                sql += QStringLiteral(" AND ") + nebenstellenBedingung(n.tln);
            sql += QStringLiteral(" GROUP BY %1, %2, %3 ORDER BY %4(%5), %1, %2")
                       .arg(sqlName(n.datum), sqlName(n.zeit), sqlName(n.tln), fn, n.start());
            SQLite::Statement q(*db, sql.toStdString());
            int i = 1;
            if (grenze)
                nebenstelleBinden(q, i, *grenze);
            while (q.executeStep())
                eintraege << feldText(q.getColumn(0)) + QLatin1Char(' ') + feldText(q.getColumn(1));
        } else {
            auto db = quelleOeffnen(quellen, state);
            const QStringList s =
                spaltenVerlangen(*db, QStringLiteral("stdbill"), {QStringLiteral("time"), QStringLiteral("user")});
            QString sql = QStringLiteral("SELECT %1 FROM stdbill").arg(sqlName(s[0]));
            if (grenze)
                sql += QStringLiteral(" WHERE ") + nebenstellenBedingung(s[1]);
            sql += QStringLiteral(" GROUP BY %1 ORDER BY %2(%1), %1").arg(sqlName(s[0]), fn);
            SQLite::Statement q(*db, sql.toStdString());
            int i = 1;
            if (grenze)
                nebenstelleBinden(q, i, *grenze);
            while (q.executeStep())
                eintraege << feldText(q.getColumn(0));
        }
    } catch (const SQLite::Exception& e) {
        throw anrufdatenLesefehler(state, e);
    }
    return eintraege;
}

} // namespace orve
