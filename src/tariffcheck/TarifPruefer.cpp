#include "tariffcheck/TarifPruefer.h"

#include "common/Numbers.h"
#include "costing/Kostenfehler.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <set>

namespace orve {

namespace {

constexpr int kTag = 86400;
using Art = Tarifwert::Art;
using PBereich = Pruefbefund::Bereich;

// A part of the day in whole seconds, both ends included. von > bis runs
// across midnight.
struct Zeitraum {
    int von = 0, bis = 0;
    int laenge() const { return von <= bis ? bis - von + 1 : kTag - von + bis + 1; }
};

// A call at that second of the day: the window test reads only its time.
Preisanruf probe(int sekunde)
{
    Preisanruf a;
    a.number = QStringLiteral("0");
    a.time = QStringLiteral("2000-01-03 ") + tageszeitText(sekunde);
    a.duration = QStringLiteral("60");
    return a;
}

bool leer(const std::optional<QString>& t)
{
    return !t || t->isEmpty();
}

// The lookup ends on reaching such a row, whatever the time of the call:
// a window not given in full, or none of the three prices.
bool beendetSuche(const Tarifzeile& z)
{
    return leer(z.vonZeit) || leer(z.bisZeit)
           || (z.Minutenpreis.art == Art::Null && z.Pauschale.art == Art::Null && z.Sekundentakt.art == Art::Null);
}

// Both times are times of day: the window test can run on the row.
bool fensterLesbar(const Tarifzeile& z)
{
    return z.vonZeit && z.bisZeit && tageszeitSekunden(*z.vonZeit) && tageszeitSekunden(*z.bisZeit);
}

// The row takes the calls of its window.
bool preist(const Tarifzeile& z)
{
    return !beendetSuche(z) && fensterLesbar(z);
}

// The seconds at which one of the windows begins or ends after an end: the
// rows' windows change only there.
std::vector<int> grenzen(const std::vector<const Tarifzeile*>& zeilen)
{
    std::vector<int> g {0};
    for (const Tarifzeile* z : zeilen) {
        const int von = *tageszeitSekunden(*z->vonZeit), bis = *tageszeitSekunden(*z->bisZeit);
        if (von < kTag)
            g.push_back(von);
        if (bis + 1 < kTag)
            g.push_back(bis + 1);
    }
    std::sort(g.begin(), g.end());
    g.erase(std::unique(g.begin(), g.end()), g.end());
    return g;
}

// Calls f(beginn, ende) for every stretch of the day between two limits.
template<typename F> void abschnitte(const std::vector<int>& g, F f)
{
    for (size_t i = 0; i < g.size(); ++i)
        f(g[i], i + 1 < g.size() ? g[i + 1] - 1 : kTag - 1);
}

void anhaengen(std::vector<Zeitraum>& r, Zeitraum z)
{
    if (!r.empty() && r.back().bis + 1 == z.von)
        r.back().bis = z.bis;
    else
        r.push_back(z);
}

// Joins a stretch at the end of the day with one at its beginning.
void ueberMitternacht(std::vector<Zeitraum>& r)
{
    if (r.size() > 1 && r.front().von == 0 && r.back().bis == kTag - 1) {
        r.back().bis = r.front().bis;
        r.erase(r.begin());
    }
}

QString aufzaehlung(const QStringList& teile)
{
    if (teile.size() <= 1)
        return teile.join(QString());
    return teile.mid(0, teile.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" und ") + teile.last();
}

QString zeitenText(const std::vector<Zeitraum>& r)
{
    QStringList t;
    for (const Zeitraum& z : r)
        t << (z.laenge() == kTag ? QStringLiteral("den ganzen Tag")
                                 : QStringLiteral("von %1 bis %2").arg(tageszeitText(z.von), tageszeitText(z.bis)));
    return aufzaehlung(t);
}

// The parts of the day that none of the rows covers.
std::vector<Zeitraum> luecken(const std::vector<const Tarifzeile*>& zeilen)
{
    std::vector<Zeitraum> r;
    abschnitte(grenzen(zeilen), [&](int von, int bis) {
        const Preisanruf a = probe(von);
        if (std::none_of(zeilen.begin(), zeilen.end(),
                         [&](const Tarifzeile* z) { return ZeitGradberechnen(a, *z); }))
            anhaengen(r, {von, bis});
    });
    ueberMitternacht(r);
    return r;
}

QString zeigen(const std::optional<QString>& t)
{
    return t ? *t : QString();
}

QString vorwahlText(const std::optional<QString>& v)
{
    if (!v)
        return QStringLiteral("ohne Vorwahl");
    if (v->isEmpty())
        return QStringLiteral("Vorwahl (leer)");
    return QStringLiteral("Vorwahl ") + *v;
}

// "Satz 12 „Beispiel Ortsgespräch Tag“ (08:00:00–18:00:00)"
QString zeileText(const Tarifzeile& z)
{
    QString t = QStringLiteral("Satz %1").arg(z.satz);
    if (!leer(z.Bezeichnung))
        t += QStringLiteral(" „%1“").arg(*z.Bezeichnung);
    if (!leer(z.vonZeit) && !leer(z.bisZeit))
        t += QStringLiteral(" (%1–%2)").arg(*z.vonZeit, *z.bisZeit);
    return t;
}

class Pruefer {
public:
    Pruefer(const Tarifdaten& d) : m_d(d) {}

    std::vector<Pruefbefund> befunde;

    void tabellen()
    {
        if (m_d.ortstarif.empty() && m_d.faktor.empty()) {
            melden(
                PBereich::faktor, QStringLiteral("Keine Tarife"),
                QStringLiteral("Die Tabellen „Standardtarife“ und „Ortstarife und Citybereich“ "
                               "sind leer: kein Gespräch außer den internen findet einen Tarif. Tragen Sie unter "
                               "„Tariftabellen“ → „pflegen“ Ihre Tarife ein (oder übernehmen Sie dort "
                               "die Beispieltarife und passen Sie sie an Ihren Vertrag an)."));
            return;
        }
        tabelle(Tariftabelle::Ortstarif, m_d.ortstarif);
        tabelle(Tariftabelle::faktor, m_d.faktor);
        ortsnummern();
        callByCall();
    }

    void anrufe(const std::vector<Preisanruf>& anrufe);

private:
    void melden(PBereich b, const QString& gruppe, const QString& text) { befunde.push_back({b, gruppe, text}); }

    static PBereich bereich(Tariftabelle t)
    {
        return t == Tariftabelle::Ortstarif ? PBereich::Ortstarif : PBereich::faktor;
    }

    bool hatVorwahl(const std::vector<Tarifzeile>& zeilen, const QString& v) const
    {
        return std::any_of(zeilen.begin(), zeilen.end(), [&](const Tarifzeile& z) { return z.vorwahl == v; });
    }

    void tabelle(Tariftabelle t, const std::vector<Tarifzeile>& zeilen)
    {
        // The prefixes in table order, rows without prefix last.
        std::vector<std::optional<QString>> vorwahlen;
        for (const Tarifzeile& z : zeilen)
            if (z.vorwahl && std::find(vorwahlen.begin(), vorwahlen.end(), z.vorwahl) == vorwahlen.end())
                vorwahlen.push_back(z.vorwahl);
        if (std::any_of(zeilen.begin(), zeilen.end(), [](const Tarifzeile& z) { return !z.vorwahl; }))
            vorwahlen.push_back(std::nullopt);

        for (const auto& v : vorwahlen) {
            // A prefix of both tables has its gaps told under the local
            // tariffs; a row of its own without readable window is told
            // instead (the search stops there anyway).
            const bool fensterDa = std::all_of(zeilen.begin(), zeilen.end(), [&](const Tarifzeile& z) {
                return z.vorwahl != v || fensterLesbar(z);
            });
            if (v && fensterDa && (t == Tariftabelle::Ortstarif || !hatVorwahl(m_d.ortstarif, *v)))
                luecke(t, *v);
            for (size_t i = 0; i < zeilen.size(); ++i)
                if (zeilen[i].vorwahl == v) {
                    zeileStoppt(t, zeilen[i]);
                    ueberschneidungen(t, zeilen, i);
                }
        }
    }

    // The rows that can price a number beginning with v: every row of either
    // table whose prefix v begins with, and for a number without leading 0
    // every Ortstarif row.
    void luecke(Tariftabelle t, const QString& v)
    {
        std::vector<const Tarifzeile*> zeilen;
        QStringList andere;
        for (const auto* tab : {&m_d.ortstarif, &m_d.faktor})
            for (const Tarifzeile& z : *tab)
                if (z.vorwahl && v.startsWith(*z.vorwahl) && fensterLesbar(z)) {
                    zeilen.push_back(&z);
                    const QString name =
                        QStringLiteral("%1 (%2)").arg(*z.vorwahl, bereichTitel(bereich(z.tabelle)));
                    if ((*z.vorwahl != v || z.tabelle != t) && !andere.contains(name))
                        andere << name;
                }
        const bool ortsnummer = !v.startsWith(QLatin1Char('0'));
        if (ortsnummer)
            for (const Tarifzeile& z : m_d.ortstarifAlle)
                if (fensterLesbar(z))
                    zeilen.push_back(&z);
        const auto r = luecken(zeilen);
        if (r.empty())
            return;
        QString text =
            r.front().laenge() == kTag
                ? QStringLiteral("Zu keiner Uhrzeit gilt eine Zeile: Gespräche mit dieser Vorwahl finden "
                                 "keinen Tarif.")
                : QStringLiteral("Keine Zeile gilt %1: Gespräche mit dieser Vorwahl finden dann keinen "
                                 "Tarif.")
                      .arg(zeitenText(r));
        if (!andere.isEmpty() || ortsnummer)
            text +=
                QStringLiteral(" Berücksichtigt sind auch %1.")
                    .arg(aufzaehlung((andere.isEmpty()
                                          ? QStringList()
                                          : QStringList {QStringLiteral("die Zeilen für ") + aufzaehlung(andere)})
                                     + (ortsnummer ? QStringList {QStringLiteral("alle Ortstarife (die Nummer "
                                                                                 "beginnt nicht mit 0)")}
                                                   : QStringList())));
        melden(bereich(t), vorwahlText(v), text);
    }

    void zeileStoppt(Tariftabelle t, const Tarifzeile& z)
    {
        const QString gruppe = vorwahlText(z.vorwahl);
        const QString satz = zeileText(z);
        if (!z.vorwahl || z.vorwahl->trimmed().isEmpty())
            melden(bereich(t), gruppe,
                   QStringLiteral(
                       "%1: die Vorwahl fehlt. Eine solche Zeile würde jedes Gespräch berechnen: jeder Report "
                       "bricht mit einer Fehlermeldung ab, bis die Vorwahl eingetragen oder die Zeile "
                       "gelöscht ist.")
                       .arg(satz));
        if (z.vorwahlGespeichert)
            melden(
                bereich(t), gruppe,
                QStringLiteral("%1: die Vorwahl „%2“ ist international geschrieben und wird als „%3“ "
                               "gelesen, wie gewählte Nummern in internationaler Form. Bitte schreiben Sie sie so.")
                    .arg(satz, *z.vorwahlGespeichert, *z.vorwahl));
        const QString keinTarif =
            QStringLiteral("Die Tarifsuche endet an dieser Zeile ohne Tarif, zu jeder Uhrzeit und auch wenn eine "
                           "spätere Zeile passen "
                           "würde: der Report fragt nach dem Tarif, der Stapellauf schreibt „????“.");
        if (leer(z.vonZeit) || leer(z.bisZeit)) {
            melden(bereich(t), gruppe,
                   QStringLiteral("%1: das Zeitfenster ist unvollständig („gilt ab“ %2, „gilt bis“ %3). ")
                           .arg(satz, leer(z.vonZeit) ? QStringLiteral("fehlt") : *z.vonZeit,
                                leer(z.bisZeit) ? QStringLiteral("fehlt") : *z.bisZeit)
                       + keinTarif);
        } else if (!fensterLesbar(z)) {
            const QString falsch = tageszeitSekunden(*z.vonZeit) ? *z.bisZeit : *z.vonZeit;
            melden(
                bereich(t), gruppe,
                QStringLiteral("%1: „%2“ ist keine Uhrzeit (hh:mm:ss, z. B. 08:00:00). Die Berechnung bricht mit "
                               "einer Fehlermeldung ab, sobald die Tarifsuche diese Zeile erreicht.")
                    .arg(satz, falsch));
        }
        if (z.Minutenpreis.art == Art::Null && z.Pauschale.art == Art::Null && z.Sekundentakt.art == Art::Null) {
            melden(bereich(t), gruppe,
                   QStringLiteral("%1: Minutenpreis, Pauschale und Sekundentakt fehlen alle drei. ").arg(satz)
                       + keinTarif);
            return;
        }

        const struct {
            const Tarifwert& wert;
            QString name;
        } werte[] = {{z.Minutenpreis, QStringLiteral("Minutenpreis")},
                     {z.Pauschale, QStringLiteral("Pauschale")},
                     {z.Sekundentakt, QStringLiteral("Sekundentakt")}};
        QStringList keineZahl, negativ;
        for (const auto& w : werte) {
            if (w.wert.art == Art::Text)
                keineZahl << QStringLiteral("%1 „%2“").arg(w.name, w.wert.text);
            else if (w.wert.art == Art::Zahl && w.wert.zahl < 0)
                negativ << QStringLiteral("%1 %2").arg(w.name, deutscheZahlText(w.wert.zahl));
        }
        if (!keineZahl.isEmpty()) {
            melden(bereich(t), gruppe,
                   QStringLiteral("%1: %2 %3 keine Zahl. Die Berechnung bricht mit einer Fehlermeldung ab, sobald "
                                  "diese Zeile ein Gespräch berechnet.")
                       .arg(satz, aufzaehlung(keineZahl),
                            keineZahl.size() == 1 ? QStringLiteral("ist") : QStringLiteral("sind")));
            return;
        }

        if (!negativ.isEmpty()) {
            melden(bereich(t), gruppe,
                   QStringLiteral("%1: negativer Wert (%2). ").arg(satz, aufzaehlung(negativ))
                       + QStringLiteral("Die Berechnung bricht mit einer Fehlermeldung ab, sobald diese Zeile ein "
                                        "Gespräch berechnet."));
            return;
        }
        // Whether the prices give a cost: the costing's own computation on a
        // call of one minute.
        try {
            tarifberechnung(probe(0), z,
                            Kostensaetze::aus(QStringLiteral("0"), QStringLiteral("1"), QString(), false));
        } catch (const Tariftabellenfehler&) {
            melden(bereich(t), gruppe,
                   QStringLiteral(
                       "%1: Sekundentakt und Pauschale sind angegeben, aber kein Minutenpreis. Sobald diese "
                       "Zeile ein Gespräch berechnet, meldet das Programm „Fehler in der Tariftabelle!“ und "
                       "wird beendet.")
                       .arg(satz));
        }
    }

    // The rows tried before row i for a number with its prefix: the
    // Ortstarif rows (for a faktor row), then the earlier rows of its table
    // whose prefix its prefix begins with. Where one of them covers the
    // time, it wins: the first fitting row prices the call.
    void ueberschneidungen(Tariftabelle t, const std::vector<Tarifzeile>& zeilen, size_t i)
    {
        const Tarifzeile& r = zeilen[i];
        if (!r.vorwahl || !preist(r))
            return;
        const auto davor = [&](const Tarifzeile& z) {
            return z.vorwahl && r.vorwahl->startsWith(*z.vorwahl) && preist(z);
        };
        std::vector<const Tarifzeile*> vorher;
        size_t fremde = 0; // the first ones, of Ortstarif ahead of faktor
        if (t == Tariftabelle::faktor)
            for (const Tarifzeile& z : m_d.ortstarif)
                if (davor(z))
                    vorher.push_back(&z);
        fremde = vorher.size();
        for (size_t j = 0; j < i; ++j)
            if (davor(zeilen[j]))
                vorher.push_back(&zeilen[j]);
        if (vorher.size() == fremde)
            return;

        std::vector<const Tarifzeile*> alle = vorher;
        alle.push_back(&r);
        std::map<size_t, std::vector<Zeitraum>> gewinner; // by position in vorher
        bool nie = true, imFenster = false;
        abschnitte(grenzen(alle), [&](int von, int bis) {
            const Preisanruf a = probe(von);
            if (!ZeitGradberechnen(a, r))
                return;
            imFenster = true;
            size_t k = 0;
            while (k < vorher.size() && !ZeitGradberechnen(a, *vorher[k]))
                ++k;
            if (k < fremde || k == vorher.size()) {
                nie = false;
                return;
            }
            anhaengen(gewinner[k], {von, bis});
        });
        if (!imFenster || gewinner.empty())
            return;

        const QString ersteZeile = QStringLiteral(" (es gilt die erste passende Zeile, nicht die längste Vorwahl)");
        const auto kuerzer = [&](const Tarifzeile& w) {
            return *w.vorwahl != *r.vorwahl ? QStringLiteral(" der kürzeren Vorwahl %1").arg(*w.vorwahl)
                                            : QString();
        };
        if (nie) {
            // The rows that take more than a boundary second, if there are any.
            const bool lang = std::any_of(gewinner.begin(), gewinner.end(), [](const auto& g) {
                return std::any_of(g.second.begin(), g.second.end(),
                                   [](const Zeitraum& z) { return z.laenge() > 1; });
            });
            QStringList w;
            bool kuerzere = false;
            for (const auto& [k, zeiten] : gewinner) {
                if (lang
                    && std::none_of(zeiten.begin(), zeiten.end(), [](const Zeitraum& z) { return z.laenge() > 1; }))
                    continue;
                w << zeileText(*vorher[k]) + kuerzer(*vorher[k]);
                kuerzere |= *vorher[k]->vorwahl != *r.vorwahl;
            }
            melden(bereich(t), vorwahlText(r.vorwahl),
                   QStringLiteral("%1 wird nie verwendet: in seinem ganzen Zeitfenster gilt zuvor %2%3.")
                       .arg(zeileText(r), aufzaehlung(w), kuerzere ? ersteZeile : QString()));
            return;
        }
        for (auto& [k, r2] : gewinner) {
            ueberMitternacht(r2);
            // Windows that meet in one second (08:00:00-18:00:00 and
            // 18:00:00-08:00:00) are how the tables are written.
            std::erase_if(r2, [](const Zeitraum& z) { return z.laenge() <= 1; });
            if (r2.empty())
                continue;
            const Tarifzeile& w = *vorher[k];
            melden(bereich(t), vorwahlText(r.vorwahl),
                   QStringLiteral("%1 überschneidet sich %2 mit %3%4: dort gilt Satz %5, Satz %6 wird dann nicht "
                                  "verwendet.")
                       .arg(zeileText(r), zeitenText(r2), zeileText(w),
                            kuerzer(w) + (kuerzer(w).isEmpty() ? QString() : ersteZeile), QString::number(w.satz),
                            QString::number(r.satz)));
        }
    }

    void ortsnummern()
    {
        const QString gruppe = QStringLiteral("Rufnummern ohne Vorwahl");
        if (m_d.ortstarifAlle.empty()) {
            melden(PBereich::Ortsnummern, gruppe,
                   QStringLiteral("Die Tabelle „Ortstarife und Citybereich“ ist leer: Rufnummern, die nicht mit 0 "
                                  "beginnen (Ortsgespräche ohne Vorwahl), finden keinen Tarif, wenn keine Vorwahl "
                                  "der Standardtarife zu ihnen passt."));
            return;
        }
        std::vector<const Tarifzeile*> zeilen;
        for (const Tarifzeile& z : m_d.ortstarifAlle)
            if (fensterLesbar(z))
                zeilen.push_back(&z);
        const auto r = luecken(zeilen);
        if (!r.empty())
            melden(PBereich::Ortsnummern, gruppe,
                   QStringLiteral("Keine Zeile der Ortstarife gilt %1: Rufnummern, die nicht mit 0 beginnen "
                                  "(Ortsgespräche ohne Vorwahl), finden dann keinen Tarif, wenn keine Vorwahl zu "
                                  "ihnen passt.")
                       .arg(zeitenText(r)));
    }

    void callByCall()
    {
        const auto& c = m_d.callByCall;
        for (size_t i = 0; i < c.size(); ++i) {
            if (c[i].isEmpty()) {
                melden(PBereich::CallByCall, QStringLiteral("Vorwahl (leer)"),
                       QStringLiteral("Eine Zeile ohne Vorwahl passt zu jeder Rufnummer: sie entfernt nichts, und "
                                      "keine Call-by-Call-Vorwahl der folgenden Zeilen wird mehr entfernt."));
                continue;
            }
            for (size_t j = 0; j < i; ++j) {
                if (c[j].isEmpty() || c[j] == c[i] || !c[i].startsWith(c[j]))
                    continue;
                const QString beispiel = c[i] + QStringLiteral("0301234567");
                melden(PBereich::CallByCall, QStringLiteral("Vorwahl ") + c[i],
                       QStringLiteral("Die Vorwahl %1 wird nie entfernt: zuvor passt die kürzere Vorwahl %2, und "
                                      "die wird überall aus der Nummer entfernt (aus %3 wird %4).")
                           .arg(c[i], c[j], beispiel, QString(beispiel).replace(c[j], QString())));
                break;
            }
        }
    }

    const Tarifdaten& m_d;
};

// The first line of a costing message and the tariff row it names.
QString grundAus(const QString& meldung)
{
    const QStringList z = meldung.split(QRegularExpression(QStringLiteral("[\r\n]")), Qt::SkipEmptyParts);
    QString grund = z.value(0);
    for (const QString& s : z)
        if (s.startsWith(QStringLiteral("Tariftabelle „")))
            grund += QStringLiteral(" (%1)").arg(s);
    return grund;
}

void Pruefer::anrufe(const std::vector<Preisanruf>& anrufe)
{
    const Tarifsuche suche(m_d);
    const Kostensaetze saetze = Kostensaetze::aus(QStringLiteral("0"), QStringLiteral("1"), QString(), false);
    struct Gruppe {
        QString nummer, vergleich, grund, erster;
        int anzahl = 0;
        std::set<QString> nebenstellen;
    };
    std::map<std::pair<QString, QString>, Gruppe> gruppen; // by number, then reason
    for (const Preisanruf& a : anrufe) {
        QString grund, vergleich;
        try {
            const Suchergebnis e = suche.suchen(a, saetze);
            if (e.art == Suchergebnis::Art::Unlesbar)
                grund = e.grund;
            else if (e.art != Suchergebnis::Art::KeinTarif)
                continue;
            vergleich = e.vergleichsnummer.value_or(QString());
        } catch (const Tariftabellenfehler& f) {
            grund = grundAus(f.text());
        } catch (const Kostenfehler& f) {
            grund = grundAus(f.text());
        }
        const QString nummer = a.number ? a.number->trimmed() : QStringLiteral("unbekannt");
        Gruppe& g = gruppen[{nummer, grund}];
        if (g.anzahl++ == 0) {
            g.nummer = nummer;
            g.vergleich = vergleich.trimmed();
            g.grund = grund;
            g.erster = zeigen(a.time);
        }
        if (a.user && !a.user->trimmed().isEmpty())
            g.nebenstellen.insert(a.user->trimmed());
    }
    for (const auto& [_, g] : gruppen) {
        QStringList nst(g.nebenstellen.begin(), g.nebenstellen.end());
        QString wer = g.anzahl == 1 ? QStringLiteral("1 Gespräch") : QStringLiteral("%1 Gespräche").arg(g.anzahl);
        QStringList angaben;
        if (!nst.isEmpty())
            angaben << (nst.size() == 1 ? QStringLiteral("Nebenstelle ") : QStringLiteral("Nebenstellen "))
                           + nst.join(QStringLiteral(", "));
        angaben << (g.anzahl == 1 ? QStringLiteral("Beginn ") : QStringLiteral("das erste ")) + g.erster;
        wer += QStringLiteral(" (%1)").arg(angaben.join(QStringLiteral("; ")));
        QString text;
        if (g.grund.isEmpty()) {
            text = wer
                   + (g.anzahl == 1 ? QStringLiteral(" findet keinen Tarif.")
                                    : QStringLiteral(" finden keinen Tarif."));
            if (g.vergleich != g.nummer)
                text +=
                    g.vergleich.isEmpty()
                        ? QStringLiteral(" Nach dem Entfernen der Call-by-Call-Vorwahl bleibt keine Nummer übrig.")
                        : QStringLiteral(" Gesucht wird nach dem Entfernen der Call-by-Call-Vorwahl mit %1.")
                              .arg(g.vergleich);
        } else {
            text = wer + QStringLiteral(": die Berechnung bricht ab – ") + g.grund;
        }
        melden(PBereich::Gespraeche, QStringLiteral("Rufnummer ") + g.nummer, text);
    }
}

} // namespace

TarifPruefer::TarifPruefer(const Tarifdaten& daten) : m_daten(daten)
{
}

Tarifpruefung TarifPruefer::pruefen(const std::vector<Preisanruf>& anrufe) const
{
    const Tarifdaten& daten = m_daten;
    Tarifpruefung p;
    p.zeitpunkt = QDateTime::currentDateTime();
    p.ortstarifZeilen = static_cast<int>(daten.ortstarifAlle.size());
    p.faktorZeilen = static_cast<int>(daten.faktor.size());
    p.callByCallZeilen = static_cast<int>(daten.callByCall.size());
    p.gespraeche = static_cast<std::int64_t>(anrufe.size());
    Pruefer pruefer(daten);
    pruefer.tabellen();
    pruefer.anrufe(anrufe);
    p.befunde = std::move(pruefer.befunde);
    return p;
}

} // namespace orve
