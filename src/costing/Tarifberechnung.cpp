#include "costing/Tarifberechnung.h"

#include "calls/StartZeit.h"
#include "common/AppState.h"
#include "common/Dialogs.h"
#include "common/Numbers.h"
#include "costing/Kostenfehler.h"

namespace orve {

namespace {

const QString kAbbruch = QStringLiteral("Die Kostenberechnung wird abgebrochen, es wird kein Report erstellt.");

[[noreturn]] void tariffehler(const QString& was, const Preisanruf& anruf, const Tarifzeile& tarif)
{
    throw Kostenfehler(zeilen({QStringLiteral("Fehler in der Tariftabelle! ") + was,
                               QStringLiteral("Bitte prüfen Sie Ihre Tariftabelle!"), tarifText(tarif),
                               anrufText(anruf), kAbbruch}));
}

[[noreturn]] void einstellungsfehler(const QString& was, const QString& menue, const Preisanruf& anruf)
{
    throw Kostenfehler(zeilen({was,
                               QStringLiteral("Bitte korrigieren Sie die Angabe "
                                              "unter „Einstellungen“ → „%1“!")
                                   .arg(menue),
                               anrufText(anruf), kAbbruch}));
}

double preis(const Tarifwert& w, const QString& spalte, const Preisanruf& anruf, const Tarifzeile& tarif)
{
    switch (w.art) {
    case Tarifwert::Art::Null:
        return 0;
    case Tarifwert::Art::Zahl:
        if (w.zahl < 0)
            tariffehler(QStringLiteral("Die Angabe %1 „%2“ ist negativ!").arg(spalte, deutscheZahlText(w.zahl)),
                        anruf, tarif);
        return w.zahl;
    case Tarifwert::Art::Text:
        break;
    }
    tariffehler(QStringLiteral("Die Angabe %1 „%2“ ist keine Zahl!").arg(spalte, w.text), anruf, tarif);
}

QString zeigen(const std::optional<QString>& t)
{
    return t ? *t : QString();
}

// Seconds since midnight of the call's start.
int anrufSekunden(const Preisanruf& anruf)
{
    const auto k = anruf.time ? startZeitSchluessel(QStringView(*anruf.time)) : std::nullopt;
    if (!k)
        throw Anruffehler(anrufText(anruf)
                          + QStringLiteral(": Der Beginn „%1“ des Gesprächs ist kein Datum mit Uhrzeit.")
                                .arg(zeigen(anruf.time)));
    return static_cast<int>(((*k % 86400) + 86400) % 86400);
}

double dauer(const Preisanruf& anruf)
{
    if (!anruf.duration)
        return 0; // the import writes "0" for a call without duration
    // Whole seconds, as the import writes them, are read directly.
    const QString& t = *anruf.duration;
    if (!t.isEmpty() && t.size() <= 9) {
        int sekunden = 0;
        bool ziffern = true;
        for (QChar c : t) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
                ziffern = false;
                break;
            }
            sekunden = sekunden * 10 + (c.unicode() - '0');
        }
        if (ziffern)
            return sekunden;
    }
    const auto d = deutscheZahl(t);
    if (!d)
        throw Anruffehler(anrufText(anruf)
                          + QStringLiteral(": Die Dauer „%1“ des Gesprächs ist keine Zahl.").arg(t));
    if (*d < 0)
        throw Anruffehler(anrufText(anruf) + QStringLiteral(": Die Dauer „%1“ des Gesprächs ist negativ.").arg(t));
    return *d;
}

} // namespace

Kostensaetze Kostensaetze::aus(const QString& steuersatz, const QString& kostenaufschlag,
                               const QString& minutenpreis, bool eigenpreisModus)
{
    AppState state;
    state.Steuersatz = steuersatz;
    state.Kostenaufschlag = kostenaufschlag;
    state.Minutenpreis = minutenpreis;
    return aus(state, eigenpreisModus);
}

Kostensaetze Kostensaetze::aus(const AppState& state, bool eigenpreisModus)
{
    Kostensaetze s;
    s.Steuersatz = state.Steuersatz.text();
    s.Kostenaufschlag = state.Kostenaufschlag.text();
    s.Minutenpreis = state.Minutenpreis.text();
    s.V = state.Steuersatz.zahl();
    s.F = state.Kostenaufschlag.zahl();
    s.O = state.Minutenpreis.zahl();
    s.EigenpreisModus = eigenpreisModus;
    return s;
}

QString tarifsatzText(const Tarifzeile& t)
{
    return tabellenName(t.tabelle) + QLatin1Char(':') + QString::number(t.satz);
}

bool ZeitGradberechnen(const Preisanruf& anruf, const Tarifzeile& tarif)
{
    const auto von = tageszeitSekunden(zeigen(tarif.vonZeit));
    const auto bis = tageszeitSekunden(zeigen(tarif.bisZeit));
    if (!von || !bis)
        tariffehler(QStringLiteral("Die Zeit „%1“ ist keine Uhrzeit (hh:mm:ss)!")
                        .arg(!von ? zeigen(tarif.vonZeit) : zeigen(tarif.bisZeit)),
                    anruf, tarif);
    const int t = anrufSekunden(anruf);
    // Both times are "hh:mm:ss" texts, so comparing the seconds is comparing the texts.
    if (*von <= *bis)
        return *von <= t && t <= *bis;
    return t >= *von || t <= *bis;
}

Kosten tarifberechnung(const Preisanruf& anruf, const Tarifzeile& tarif, const Kostensaetze& s)
{
    const double M = preis(tarif.Minutenpreis, QStringLiteral("Minutenpreis"), anruf, tarif);
    const double P = preis(tarif.Pauschale, QStringLiteral("Pauschale"), anruf, tarif);
    const double S = preis(tarif.Sekundentakt, QStringLiteral("Sekundentakt"), anruf, tarif);

    if (M == 0 && S > 0 && P > 0)
        throw Tariftabellenfehler(
            zeilen({QStringLiteral("Fehler in der Tariftabelle! Es wurde für eine Vorwahl ein "
                                   "Sekundentakt angegeben, aber kein Minutenpreis!"),
                    QStringLiteral("Bitte prüfen Sie Ihre Tariftabelle!"),
                    QStringLiteral("Rufnummer ") + zeigen(anruf.number), tarifText(tarif)}));
    enum class Zeile { Minute, Takt, Pauschal, PauschalUndMinute, Frei };
    Zeile zeile;
    if (P == 0 && S == 0)
        zeile = Zeile::Minute;
    else if (M != 0 && S != 0 && P != 0)
        zeile = Zeile::Takt;
    else if (M != 0 && P == 0)
        zeile = Zeile::Minute;
    else if (M == 0 && S == 0)
        zeile = Zeile::Pauschal;
    else if (S == 0)
        zeile = Zeile::PauschalUndMinute; // no value is negative here: M > 0, P > 0
    else
        zeile = Zeile::Frei; // M = 0, P = 0, S > 0 (M = 0 with P > 0 and S > 0 was refused above)

    if (!s.V)
        einstellungsfehler(QStringLiteral("Der Steuersatz „%1“ ist keine Zahl!").arg(s.Steuersatz),
                           QStringLiteral("Mehrwertsteuer einstellen"), anruf);
    if (!s.F)
        einstellungsfehler(QStringLiteral("Der Kostenaufschlag „%1“ ist keine Zahl!").arg(s.Kostenaufschlag),
                           QStringLiteral("Kostenaufschlag für Rechnungserstellung"), anruf);
    double O = 0;
    double E = M;
    if (s.EigenpreisModus) {
        if (!s.O)
            einstellungsfehler(QStringLiteral("Der eigene Minutenpreis „%1“ ist keine Zahl!").arg(s.Minutenpreis),
                               QStringLiteral("eigenen Minutenpreis einstellen"), anruf);
        if (*s.O <= 0)
            einstellungsfehler(
                QStringLiteral("Der eigene Minutenpreis „%1“ muss größer als 0 sein!").arg(s.Minutenpreis),
                QStringLiteral("eigenen Minutenpreis einstellen"), anruf);
        O = *s.O;
        E = M >= O ? O * aufrunden(M / O) : O;
    }

    double kosten = 0;
    switch (zeile) {
    case Zeile::Minute:
        kosten = s.EigenpreisModus && P == 0 && S == 0 && M <= 0 ? 0 : E * dauer(anruf) / 60;
        break;
    case Zeile::Takt: {
        const double d = dauer(anruf);
        kosten = d - S > 0 ? E + P * (d - S) / S : E;
        break;
    }
    case Zeile::Pauschal:
        kosten = P;
        break;
    case Zeile::PauschalUndMinute:
        kosten = P + E * dauer(anruf) / 60;
        break;
    case Zeile::Frei:
        kosten = 0;
        break;
    }
    // The cost is kept as its standard text form: 15 significant digits.
    kosten = auf15Stellen(kosten);
    if (s.EigenpreisModus)
        kosten = auf15Stellen(O * aufrunden(kosten / O));

    Kosten k;
    k.kosten = kosten;
    k.costs = geldWert(kosten);
    k.ucosts = geldWert(kosten * *s.F);
    k.ucostsBrutto = k.ucosts * (*s.V / 100 + 1);
    k.rufziel = zeigen(tarif.Bezeichnung);
    k.tarifsatz = tarifsatzText(tarif);
    return k;
}

std::optional<QString> anrufUnlesbar(const Preisanruf& anruf)
{
    try {
        anrufSekunden(anruf);
        dauer(anruf);
    } catch (const Anruffehler& e) {
        return e.text();
    }
    return std::nullopt;
}

QString anrufText(const Preisanruf& anruf)
{
    return QStringLiteral("Rufnummer %1, Nebenstelle %2, Beginn %3")
        .arg(anruf.number ? *anruf.number : QStringLiteral("(keine)"), zeigen(anruf.user), zeigen(anruf.time));
}

QString tarifText(const Tarifzeile& tarif)
{
    return QStringLiteral("Tariftabelle „%1“, Satz %2, Vorwahl %3")
        .arg(tabellenTitel(tarif.tabelle), QString::number(tarif.satz),
             zeigen(tarif.vorwahlGespeichert ? tarif.vorwahlGespeichert : tarif.vorwahl));
}

} // namespace orve
