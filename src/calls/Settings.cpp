#include "calls/Settings.h"

#include "common/AppState.h"
#include "common/Dialogs.h"
#include "common/Numbers.h"
#include "common/ProgramEnd.h"
#include "common/TextFile.h"
#include "common/Version.h"

#include <QDir>

#include <cmath>
#include <functional>
#include <optional>
#include <vector>

namespace orve {

namespace {

const QString kSteuersatzDatei = QStringLiteral("Steuersatz.txt");
const QString kMinutenpreisDatei = QStringLiteral("Minutenpreis.txt");
const QString kKostenaufschlagDatei = QStringLiteral("Kostenaufschlag.txt");
const QString kInternetadresseDatei = QStringLiteral("Internetadresse.txt");
const QString kNochmals = QStringLiteral("Wollen Sie es nochmals versuchen");

QString kostenaufschlagFrage()
{
    return zeilen({QStringLiteral("Bitte geben Sie den gewünschten Kostenaufschlag"),
                   QStringLiteral("der angefallenen Telefonate in Prozent an"),
                   QStringLiteral("(z.B. für 20% Aufschlag muß Ihre Eingabe lauten 1,20):")});
}

const QString kKostenaufschlagFehler = QStringLiteral("Sie müssen einen gültigen Kostenaufschlag angeben!");

// The surcharge is a factor; from 5 on (400 % surcharge) a typed number is
// most likely a percentage: "20" for 20 %, "120" for 120 % of the price.
constexpr double kGrosserFaktor = 5.0;

// German digit grouping of a number text: "11900,5" -> "11.900,5".
QString mitTausenderpunkten(const QString& zahl)
{
    const qsizetype komma = zahl.indexOf(QLatin1Char(','));
    QString ganz = komma < 0 ? zahl : zahl.left(komma);
    for (qsizetype i = ganz.size() - 3; i > 0; i -= 3)
        ganz.insert(i, QLatin1Char('.'));
    return ganz + (komma < 0 ? QString() : zahl.mid(komma));
}

QString prozentText(double wert)
{
    return mitTausenderpunkten(deutscheZahlText(wert)) + QStringLiteral(" %");
}

// A factor as the prompt's example writes it, at least two decimals: "1,20", "1,075".
QString faktorText(double wert)
{
    QString t = deutscheZahlText(wert);
    qsizetype komma = t.indexOf(QLatin1Char(','));
    if (komma < 0) {
        komma = t.size();
        t += QLatin1Char(',');
    }
    while (t.size() - komma - 1 < 2)
        t += QLatin1Char('0');
    return t;
}

// What a factor of 5 or more may have been meant as: the description and
// the factor, the likelier first.
struct Lesart {
    QString was;
    QString faktor;
};

std::vector<Lesart> lesarten(double x)
{
    std::vector<Lesart> out;
    if (x >= 100 && x < 1000)
        out.push_back(
            {QStringLiteral("%1 des Preises, also %2 Aufschlag").arg(prozentText(x), prozentText(x - 100)),
             faktorText(x / 100)});
    out.push_back(
        {prozentText(x) + (out.empty() ? QString() : QStringLiteral(" Aufschlag")), faktorText(1 + x / 100)});
    return out;
}

bool grosserFaktor(const Einstellungswert& wert)
{
    return wert.zahl() && *wert.zahl() >= kGrosserFaktor && std::isfinite((*wert.zahl() - 1) * 100);
}

// Asks about a factor of 5 or more what was meant, one reading after the
// other: Yes takes that reading's factor, No the next reading or, after the
// last, the text as it is; Cancel gives nothing: the user types again. Any
// other value is kept without a question. `anfang` names the value ("Sie
// haben %1 eingegeben:").
std::optional<QString> aufschlagKlaeren(Dialogs& dialogs, const Einstellungswert& wert, const QString& anfang)
{
    if (!grosserFaktor(wert))
        return wert.text();
    const double x = *wert.zahl();
    const QString getippt = wert.text().trimmed();
    const QString satz =
        anfang.arg(getippt) + QStringLiteral(" Das ist ein Aufschlag von %1.").arg(prozentText((x - 1) * 100));
    const std::vector<Lesart> l = lesarten(x);
    for (std::size_t i = 0; i < l.size(); ++i) {
        const QString nein = i + 1 < l.size() ? QStringLiteral("weiter zur Frage nach %1").arg(l[i + 1].was)
                                              : QStringLiteral("%1 so behalten").arg(getippt);
        const Answer a = dialogs.message(
            zeilen({satz + QStringLiteral(" Meinten Sie %1 (Faktor %2)?").arg(l[i].was, l[i].faktor), QString(),
                    QStringLiteral("Ja: Faktor %1 übernehmen. Nein: %2. Abbrechen: neu eingeben.")
                        .arg(l[i].faktor, nein)}),
            programmCaption(), Buttons::YesNoCancel, Icon::Information);
        if (a == Answer::Yes)
            return l[i].faktor;
        if (a != Answer::No)
            return std::nullopt;
    }
    return wert.text();
}

const QString kGetippt = QStringLiteral("Sie haben %1 eingegeben:");

struct Einstellung {
    QString datei;         // below the program folder
    bool dateiZuerstLesen; // VAT and minute price read their file before asking
    QString frage;
    QString fehlerzeile;
    std::function<bool(const Einstellungswert&)> gueltig;
    Einstellungswert AppState::*wert;
    // Asked about a valid entry: the text to store, nothing to type again.
    std::function<std::optional<QString>(Dialogs&, const Einstellungswert&)> rueckfrage;
};

bool steuersatzGueltig(const Einstellungswert& wert)
{
    return wert.zahl() && *wert.zahl() != 0.0;
}

// Surcharge factor and minute price must be numbers: a text such as "abc"
// would only fail later, in the middle of pricing the calls.
bool zahlGueltig(const Einstellungswert& wert)
{
    return wert.zahl().has_value();
}

// A settings file that cannot be written is reported; the value stays in
// memory for this run.
void speichern(const AppState& state, Dialogs& dialogs, const QString& datei, const QString& wert)
{
    const QString pfad = state.pfadImProgrammordner(datei);
    if (!zeileSchreiben(pfad, wert)) {
        dialogs.message(zeilen({QStringLiteral("Die Datei %1 konnte nicht geschrieben werden!").arg(pfad),
                                QStringLiteral("Die Einstellung gilt nur bis zum Programmende.")}),
                        programmCaption(), Buttons::Ok, Icon::Critical);
    }
}

void einstellen(AppState& state, Dialogs& dialogs, const Einstellung& e)
{
    Einstellungswert& wert = state.*(e.wert);
    if (e.dateiZuerstLesen) {
        if (const auto zeile = ersteZeileLesen(state.pfadImProgrammordner(e.datei)))
            wert = *zeile;
    }
    const Einstellungswert vorher = wert;
    for (;;) {
        wert = dialogs.input(e.frage, programmCaption(), wert.text());
        if (e.gueltig(wert)) {
            const auto gemeint = e.rueckfrage ? e.rueckfrage(dialogs, wert) : std::optional(wert.text());
            if (!gemeint)
                continue; // typed again, starting from the text typed
            wert = *gemeint;
            speichern(state, dialogs, e.datei, wert.text());
            return;
        }
        wert = vorher;
        const Answer a =
            dialogs.message(zeilen({e.fehlerzeile, kNochmals}), programmCaption(), Buttons::YesNo, Icon::Stop);
        if (a != Answer::Yes)
            return;
    }
}

} // namespace

void mnuMehrwertsteuerEinstellen(AppState& state, Dialogs& dialogs)
{
    einstellen(state, dialogs,
               {kSteuersatzDatei,
                true,
                zeilen({QStringLiteral("Bitte geben Sie den gewünschten Mehrwertsteuersatz"),
                        QStringLiteral("(z.B. 19 für 19%) für die Kostenberechnung an:")}),
                QStringLiteral("Sie müssen einen gültigen Steuersatz angeben!"),
                steuersatzGueltig,
                &AppState::Steuersatz,
                {}});
}

void mnuMinutenpreisEinstellen(AppState& state, Dialogs& dialogs)
{
    einstellen(
        state, dialogs,
        {kMinutenpreisDatei,
         true,
         zeilen({QStringLiteral("Bitte geben Sie den gewünschten eigenen Minutenpreis (ohne Mehrwertsteuer)"),
                 QStringLiteral("der angefallenen Telefonate an"),
                 QStringLiteral("(z.B. 0,20 für 20 Cent/Minute):")}),
         QStringLiteral("Sie müssen einen gültigen eigenen Minutenpreis angeben!"),
         zahlGueltig,
         &AppState::Minutenpreis,
         {}});
}

void mnuKostenaufschlag(AppState& state, Dialogs& dialogs)
{
    einstellen(state, dialogs,
               {kKostenaufschlagDatei, false, kostenaufschlagFrage(), kKostenaufschlagFehler, zahlGueltig,
                &AppState::Kostenaufschlag,
                [](Dialogs& d, const Einstellungswert& w) { return aufschlagKlaeren(d, w, kGetippt); }});
}

void mnuInternetadresse(AppState& state, Dialogs& dialogs)
{
    internetadresseBeimStart(state);
    state.Internetadresse =
        dialogs
            .input(
                zeilen({QStringLiteral("Bitte geben Sie die Internetadresse an, die in der Fußzeile des Reports"),
                        QStringLiteral("genannt werden soll (z.B. www.hotel-am-see.de;"),
                        QStringLiteral("ohne Eingabe wird keine Adresse genannt):")}),
                programmCaption(), state.Internetadresse)
            .trimmed();
    speichern(state, dialogs, kInternetadresseDatei, state.Internetadresse);
}

void internetadresseBeimStart(AppState& state)
{
    if (const auto zeile = ersteZeileLesen(state.pfadImProgrammordner(kInternetadresseDatei)))
        state.Internetadresse = zeile->trimmed();
}

void kostenaufschlagBeimStart(AppState& state, Dialogs& dialogs)
{
    if (const auto zeile = ersteZeileLesen(state.pfadImProgrammordner(kKostenaufschlagDatei)))
        state.Kostenaufschlag = *zeile;
    if (!state.Kostenaufschlag.leer()) {
        // A factor of 5 or more stored, perhaps typed as a percentage: asked once a start. Cancel lets the user
        // type a new one, as the menu command does.
        const auto gemeint = aufschlagKlaeren(dialogs, state.Kostenaufschlag,
                                              QStringLiteral("Als Kostenaufschlag ist %1 gespeichert:"));
        if (!gemeint) {
            mnuKostenaufschlag(state, dialogs);
        } else if (state.Kostenaufschlag.text() != *gemeint) {
            state.Kostenaufschlag = *gemeint;
            speichern(state, dialogs, kKostenaufschlagDatei, *gemeint);
        }
        return;
    }
    QString vorgabe = QStringLiteral("1,20");
    for (;;) {
        Einstellungswert antwort = state.Kostenaufschlag;
        antwort = dialogs.input(kostenaufschlagFrage(), programmCaption(), vorgabe);
        if (zahlGueltig(antwort)) {
            const auto gemeint = aufschlagKlaeren(dialogs, antwort, kGetippt);
            if (!gemeint) {
                vorgabe = antwort.text();
                continue;
            }
            state.Kostenaufschlag = *gemeint;
            speichern(state, dialogs, kKostenaufschlagDatei, *gemeint);
            return;
        }
        const Answer a = dialogs.message(zeilen({kKostenaufschlagFehler, kNochmals}), programmCaption(),
                                         Buttons::YesNo, Icon::Critical);
        if (a != Answer::Yes)
            throw ProgramEnd(kKostenaufschlagFehler);
    }
}

QString kostenaufschlagWarnung(const AppState& state)
{
    if (!grosserFaktor(state.Kostenaufschlag))
        return {};
    const double x = *state.Kostenaufschlag.zahl();
    QStringList gemeint;
    for (const Lesart& l : lesarten(x))
        gemeint << QStringLiteral("%1 (Faktor %2)").arg(l.was, l.faktor);
    const QString wert = state.Kostenaufschlag.text().trimmed();
    return QStringLiteral("Warnung: Kostenaufschlag.txt enthält %1, das ist ein Aufschlag von %2. Gemeint ist "
                          "vielleicht %3; dann bitte im Programm unter „Einstellungen“ → „Kostenaufschlag für "
                          "Rechnungserstellung“ ändern. Dieser Lauf rechnet mit %1.")
        .arg(wert, prozentText((x - 1) * 100), gemeint.join(QStringLiteral(" oder ")));
}

void steuersatzBeimStart(AppState& state, Dialogs& dialogs)
{
    const QString datei = state.pfadImProgrammordner(kSteuersatzDatei);
    QString kein = QStringLiteral("Bisher ist kein gültiger Steuersatz angelegt!");
    if (const auto zeile = ersteZeileLesen(datei)) {
        // "0" is a rate (VAT-exempt businesses); a text without a number is none.
        state.Steuersatz = *zeile;
        if (state.Steuersatz.zahl())
            return;
        kein = zeilen({QStringLiteral("Die Datei %1 enthält „%2“, keinen Steuersatz.")
                           .arg(QDir::toNativeSeparators(datei), *zeile),
                       kein});
    } else if (steuersatzGueltig(state.Steuersatz)) {
        return;
    }
    dialogs.message(kein, kProduktName, Buttons::Ok, Icon::Critical);
    mnuMehrwertsteuerEinstellen(state, dialogs);
    if (!steuersatzGueltig(state.Steuersatz)) {
        const QString text = zeilen({QStringLiteral("Es ist immer noch kein gültiger Steuersatz angelegt!"),
                                     QStringLiteral("Programm wird jetzt beendet!")});
        dialogs.message(text, kProduktName, Buttons::Ok, Icon::Critical);
        throw ProgramEnd(text);
    }
}

} // namespace orve
