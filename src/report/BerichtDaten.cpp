#include "report/BerichtDaten.h"

#include "common/Dialogs.h"
#include "common/LokaleDatenbank.h"
#include "common/Numbers.h"
#include "common/SqliteMeldung.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <cmath>
#include <map>
#include <string>
#include <utility>

namespace orve {

namespace {

QString text(const SQLite::Column& c)
{
    if (c.isNull())
        return QString();
    return QString::fromUtf8(c.getText());
}

// A money column: a number as stored. A text that a foreign writer left
// there is read in the German or the point form; anything else stays empty
// rather than counting as 0.
std::optional<double> geld(const SQLite::Column& c)
{
    if (c.isNull())
        return std::nullopt;
    if (c.isInteger() || c.isFloat())
        return c.getDouble();
    return deutscheZahl(QString::fromUtf8(c.getText()));
}

// Sum with compensation (Neumaier), so that ten thousand three-decimal
// values add up to the exact cent.
class Summe {
public:
    void add(const std::optional<double>& v)
    {
        if (!v)
            return;
        m_leer = false;
        const double t = m_summe + *v;
        if (std::abs(m_summe) >= std::abs(*v))
            m_ausgleich += (m_summe - t) + *v;
        else
            m_ausgleich += (*v - t) + m_summe;
        m_summe = t;
    }
    std::optional<double> wert() const
    {
        if (m_leer)
            return std::nullopt;
        return m_summe + m_ausgleich;
    }

private:
    double m_summe = 0;
    double m_ausgleich = 0;
    bool m_leer = true;
};

} // namespace

std::size_t BerichtDaten::anrufe() const
{
    std::size_t n = 0;
    for (const auto& g : gruppen)
        n += g.bill.size();
    return n;
}

BerichtDaten bill_Grouping(SQLite::Database& lokal)
{
    BerichtDaten daten;
    std::vector<std::pair<Summe, Summe>> summen;
    try {
        SQLite::Statement q(lokal,
                            std::string("SELECT time, user, username, number, duration, ucosts, rufziel, lineno, "
                                        "costs, vergleichsnummer, ucostsBrutto, tarifsatz FROM bill ")
                                + kBerichtReihenfolge);
        std::map<std::pair<QString, QString>, std::size_t> index;
        while (q.executeStep()) {
            BerichtAnruf a;
            a.time = text(q.getColumn(0));
            a.user = text(q.getColumn(1));
            a.username = text(q.getColumn(2));
            a.number = text(q.getColumn(3));
            a.duration = text(q.getColumn(4));
            a.ucosts = geld(q.getColumn(5));
            a.rufziel = text(q.getColumn(6));
            a.lineno = text(q.getColumn(7));
            a.costs = geld(q.getColumn(8));
            a.vergleichsnummer = text(q.getColumn(9));
            a.ucostsBrutto = geld(q.getColumn(10));
            a.tarifsatz = text(q.getColumn(11));

            auto [it, neu] = index.try_emplace({a.user, a.username}, daten.gruppen.size());
            if (neu) {
                daten.gruppen.push_back(BerichtGruppe {a.user, a.username, std::nullopt, std::nullopt, {}});
                summen.emplace_back();
            }
            summen[it->second].first.add(a.ucosts);
            summen[it->second].second.add(a.ucostsBrutto);
            daten.gruppen[it->second].bill.push_back(std::move(a));
        }
    } catch (const SQLite::Exception& e) {
        throw BerichtFehler(zeilen({QStringLiteral("Die Anrufe für den Report konnten nicht gelesen werden."),
                                    sqliteMeldung(e, QString::fromStdString(lokal.getFilename()),
                                                  QStringLiteral("erstellen Sie den Report erneut"))}));
    }
    for (std::size_t i = 0; i < daten.gruppen.size(); ++i) {
        daten.gruppen[i].Kostensumme = summen[i].first.wert();
        daten.gruppen[i].Bruttokosten = summen[i].second.wert();
    }
    return daten;
}

BerichtDaten bill_Grouping(Datenquellen& quellen, const QString& shapeVerbindung)
{
    auto db = quellen.oeffnen(shapeVerbindung);
    return bill_Grouping(*db);
}

} // namespace orve
