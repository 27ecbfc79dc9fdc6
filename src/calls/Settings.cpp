#include "calls/Settings.h"

#include "common/AppState.h"
#include "common/Dialogs.h"
#include "common/ProgramEnd.h"
#include "common/TextFile.h"
#include "common/Version.h"

#include <QDir>

#include <functional>

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

struct Einstellung {
    QString datei;         // below the program folder
    bool dateiZuerstLesen; // VAT and minute price read their file before asking
    QString frage;
    QString fehlerzeile;
    std::function<bool(const Einstellungswert&)> gueltig;
    Einstellungswert AppState::*wert;
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
               {kSteuersatzDatei, true,
                zeilen({QStringLiteral("Bitte geben Sie den gewünschten Mehrwertsteuersatz"),
                        QStringLiteral("(z.B. 19 für 19%) für die Kostenberechnung an:")}),
                QStringLiteral("Sie müssen einen gültigen Steuersatz angeben!"), steuersatzGueltig,
                &AppState::Steuersatz});
}

void mnuMinutenpreisEinstellen(AppState& state, Dialogs& dialogs)
{
    einstellen(
        state, dialogs,
        {kMinutenpreisDatei, true,
         zeilen({QStringLiteral("Bitte geben Sie den gewünschten eigenen Minutenpreis (ohne Mehrwertsteuer)"),
                 QStringLiteral("der angefallenen Telefonate an"),
                 QStringLiteral("(z.B. 0,20 für 20 Cent/Minute):")}),
         QStringLiteral("Sie müssen einen gültigen eigenen Minutenpreis angeben!"), zahlGueltig,
         &AppState::Minutenpreis});
}

void mnuKostenaufschlag(AppState& state, Dialogs& dialogs)
{
    einstellen(state, dialogs,
               {kKostenaufschlagDatei, false, kostenaufschlagFrage(), kKostenaufschlagFehler, zahlGueltig,
                &AppState::Kostenaufschlag});
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
    if (!state.Kostenaufschlag.leer())
        return;
    for (;;) {
        Einstellungswert antwort = state.Kostenaufschlag;
        antwort = dialogs.input(kostenaufschlagFrage(), programmCaption(), QStringLiteral("1,20"));
        if (zahlGueltig(antwort)) {
            state.Kostenaufschlag = antwort;
            speichern(state, dialogs, kKostenaufschlagDatei, antwort.text());
            return;
        }
        const Answer a = dialogs.message(zeilen({kKostenaufschlagFehler, kNochmals}), programmCaption(),
                                         Buttons::YesNo, Icon::Critical);
        if (a != Answer::Yes)
            throw ProgramEnd(kKostenaufschlagFehler);
    }
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
