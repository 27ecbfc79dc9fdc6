#include "tariffs/TarifEditor.h"

#include "common/AppState.h"
#include "common/BusyCursor.h"
#include "common/Fehler.h"
#include "common/Laufsperre.h"
#include "common/Numbers.h"
#include "common/SqliteMeldung.h"
#include "common/TextFile.h"
#include "common/Version.h"
#include "tariffs/Beispieltarife.h"

#include <QDir>

#include <SQLiteCpp/SQLiteCpp.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace orve {

namespace {

const QString kNichtGespeichert = QStringLiteral("Datensatz wurde nicht gespeichert!");
const QString kNichtGefunden = QStringLiteral("Satz wurde nicht gefunden!");

// A time text passes when it has 8 characters with ":" as 3rd and 6th.
bool zeitFormOk(const QString& t)
{
    return t.size() == 8 && t[2] == QLatin1Char(':') && t[5] == QLatin1Char(':');
}

// A price as the mask shows it: a number the German way, a text as stored.
QString wertText(const Tarifwert& v, const QString& leer)
{
    switch (v.art) {
    case Tarifwert::Art::Zahl:
        return deutscheZahlText(v.zahl);
    case Tarifwert::Art::Text:
        return v.text;
    case Tarifwert::Art::Null:
        break;
    }
    return leer;
}

// Whole numbers of seconds; beyond 15 digits a double no longer holds them.
std::optional<double> ganzeZahl(const QString& text)
{
    const auto v = deutscheZahl(text);
    if (!v || std::floor(*v) != *v || std::fabs(*v) >= 1e15)
        return std::nullopt;
    return v;
}

QString ohneEndleerzeichen(QString s)
{
    while (!s.isEmpty() && (s.endsWith(QLatin1Char(' ')) || s.endsWith(QChar(0))))
        s.chop(1);
    return s;
}

} // namespace

QString tarifrechnerAdresse(const QString& programmOrdner)
{
    const auto zeile = ersteZeileLesen(
        QDir(QDir::fromNativeSeparators(programmOrdner)).filePath(QStringLiteral("Tarifrechner.txt")));
    if (zeile && !zeile->trimmed().isEmpty())
        return zeile->trimmed();
    return kTarifrechnerStandard;
}

TarifEditor::TarifEditor(AppState& state, Dialogs& dialogs, SQLite::Database& lokal, Tarifsperre sperre)
    : m_state(state), m_dialogs(dialogs), m_db(lokal), m_sperre(sperre)
{
}

bool TarifEditor::sperreNehmen(Laufsperre& sperre)
{
    if (m_sperre == Tarifsperre::VomLauf)
        return true;
    try {
        if (sperre.nehmen())
            return true;
        meldung(sperre.meldung(QStringLiteral("Die Tariftabellen können jetzt nicht geändert werden."),
                               zeilen({QStringLiteral("Damit ein Report alle Gespräche nach demselben Stand der "
                                                      "Tariftabellen berechnet, ändert sie während eines Laufs nur "
                                                      "dieser selbst."),
                                       QStringLiteral("Bitte versuchen Sie es erneut, wenn er beendet ist; Ihre "
                                                      "Eingaben bleiben in der Maske.")})),
                Icon::Critical);
    } catch (const Fehler& f) {
        meldung(f.text(), Icon::Critical);
    }
    return false;
}

void TarifEditor::meldung(const QString& text, Icon icon)
{
    m_dialogs.message(text, programmCaption(), Buttons::Ok, icon);
}

void TarifEditor::datenbankFehler(const QStringList& zeilenDavor, const SQLite::Exception& e,
                                  const QStringList& zeilenDanach)
{
    const QString satz =
        sqliteMeldung(e, QString::fromStdString(m_db.getFilename()), QStringLiteral("versuchen Sie es erneut"));
    meldung(zeilen(zeilenDavor + QStringList {satz} + zeilenDanach), Icon::Critical);
}

void TarifEditor::zeigeFehlendeVorwahl(const QString& nummer)
{
    m_suchvorwahl = nummer;
    m_hinweisSichtbar = true;
}

bool TarifEditor::ungespeicherteAenderungen() const
{
    return (m_neuerSatz == 1 || m_geladen) && m_maske != m_gezeigt;
}

bool TarifEditor::maskeVerlassen()
{
    if (!ungespeicherteAenderungen())
        return true;
    const Answer a = m_dialogs.message(
        QStringLiteral("Die Änderungen an diesem Eintrag sind nicht gespeichert. Jetzt speichern?"),
        programmCaption(), Buttons::YesNoCancel, Icon::Information, Answer::Yes);
    if (a == Answer::No)
        return true;
    if (a == Answer::Yes)
        speichern();
    return a == Answer::Yes && !ungespeicherteAenderungen();
}

void TarifEditor::laden()
{
    tabelleWaehlen(Tariftabelle::faktor);
}

void TarifEditor::tabelleWaehlen(Tariftabelle t)
{
    if (!maskeVerlassen())
        return;
    m_tabelle = t;
    felderleeren();
    switch (t) {
    case Tariftabelle::faktor:
        m_maske.fldTyp = QStringLiteral("D");
        break;
    case Tariftabelle::Ortstarif:
        m_maske.fldTyp = QStringLiteral("O");
        break;
    case Tariftabelle::CallByCall:
        m_maske.fldTyp.clear();
        break;
    }
    m_gezeigt = m_maske;
}

void TarifEditor::felderleeren()
{
    m_vorwahlEingabe = false;
    m_neuerSatz = 0;
    m_eintraege.clear();
    m_combo1Text.clear();
    m_geladen.reset();
    m_maske = Tarifmaske {};
    m_gezeigt = m_maske;
}

QString TarifEditor::listenText(Tariftabelle t, const Tarifzeile& e)
{
    QString s = e.vorwahl.value_or(QString()) + QLatin1Char(' ') + e.Bezeichnung.value_or(QString());
    if (hatTarifspalten(t))
        s += QLatin1Char(' ') + e.vonZeit.value_or(QString()) + QLatin1Char(' ') + e.bisZeit.value_or(QString());
    return s + QStringLiteral(" *(") + QString::number(e.satz) + QStringLiteral(")*");
}

void TarifEditor::listeFuellen()
{
    if (!maskeVerlassen())
        return;
    BusyCursor busy;
    felderleeren();
    try {
        for (const auto& e : tarifeLesen(m_db, m_tabelle))
            m_eintraege.append(listenText(m_tabelle, e));
    } catch (const SQLite::Exception& e) {
        m_eintraege.clear();
        datenbankFehler({QStringLiteral("Die Tarifeinträge konnten nicht gelesen werden:")}, e);
    }
}

void TarifEditor::neuerSatzAnlegen()
{
    if (!maskeVerlassen())
        return;
    felderleeren();
    m_vorwahlEingabe = true;
    m_neuerSatz = 1;
}

void TarifEditor::uebernehmen()
{
    const bool vorwahlEingabe = std::exchange(m_vorwahlEingabe, false);
    const QString text = m_combo1Text; // a save below clears Combo1
    const qsizetype anfang = text.indexOf(QStringLiteral("*("));
    // Without a closing mark behind the opening one there is no record number.
    const qsizetype ende = anfang < 0 ? -1 : text.indexOf(QStringLiteral(")*"), anfang + 2);
    if (anfang < 0 || ende < 0) {
        meldung(QStringLiteral("Es wurde kein gültiger (vorhandener) Satz gewählt!"), Icon::Critical);
        return;
    }
    const QString nummer = text.mid(anfang + 2, ende - anfang - 2);

    std::optional<Tarifzeile> e;
    const auto finden = [&] {
        try {
            e = tarifFinden(m_db, m_tabelle, nummer);
        } catch (const SQLite::Exception& ex) {
            datenbankFehler({QStringLiteral("Der Tarifzeile konnte nicht gelesen werden:")}, ex);
            return false;
        }
        if (!e)
            meldung(kNichtGefunden, Icon::Critical);
        return e.has_value();
    };
    if (!finden())
        return;
    // Asked only when an entry is there to replace the mask; a save may have changed it.
    if (ungespeicherteAenderungen()) {
        if (!maskeVerlassen()) {
            m_vorwahlEingabe = vorwahlEingabe; // the user goes on with the mask
            return;
        }
        if (!finden())
            return;
    }

    m_maske.fldSatz = QString::number(e->satz);
    m_maske.fldVorwahl = e->vorwahl.value_or(QString());
    m_maske.fldBezeichnung = e->Bezeichnung.value_or(QString());
    struct Merken {
        TarifEditor& ed;
        const Tarifzeile& zeile;
        ~Merken()
        {
            ed.m_geladen = zeile;
            ed.m_gezeigt = ed.m_maske;
        }
    } merken {*this, *e};
    if (!hatTarifspalten(m_tabelle)) {
        m_maske.fldTyp.clear();
        return;
    }
    m_maske.fldAbZeit = e->vonZeit.value_or(QStringLiteral("00:00:00"));
    m_maske.fldBisZeit = e->bisZeit.value_or(QStringLiteral("24:00:00"));
    m_maske.fldMinutenpreis = wertText(e->Minutenpreis, QString());
    m_maske.fldPauschalpreis = wertText(e->Pauschale, QStringLiteral("0"));
    m_maske.fldSekundentakt = wertText(e->Sekundentakt, QStringLiteral("0"));
    m_maske.fldTyp = e->typ.value_or(QString());
    // An entry without a kind must be completed before it can be saved again.
    if (m_maske.fldTyp.isEmpty()) {
        m_maske.fldAbZeit.clear();
        m_maske.fldBisZeit.clear();
        m_maske.fldMinutenpreis.clear();
        m_maske.fldPauschalpreis.clear();
        m_maske.fldSekundentakt.clear();
    }
}

bool TarifEditor::maskePruefen()
{
    const Tarifmaske& m = m_maske;
    const bool tarif = hatTarifspalten(m_tabelle);
    // Only the empty text is empty; a blank counts as filled.
    bool vollstaendig = !m.fldVorwahl.isEmpty() && !m.fldBezeichnung.isEmpty();
    if (tarif)
        vollstaendig = vollstaendig && !m.fldAbZeit.isEmpty() && !m.fldBisZeit.isEmpty()
                       && !m.fldMinutenpreis.isEmpty() && !m.fldPauschalpreis.isEmpty()
                       && !m.fldSekundentakt.isEmpty() && !m.fldTyp.isEmpty();
    if (!vollstaendig) {
        meldung(zeilen({QStringLiteral("Es wurden nicht alle Feldinhalte gefüllt!"), kNichtGespeichert}),
                Icon::Critical);
        return false;
    }
    // A prefix of blanks alone would take every number or none.
    if (m.fldVorwahl.trimmed().isEmpty()) {
        meldung(zeilen({QStringLiteral("Die Vorwahl darf nicht leer sein!"), kNichtGespeichert}), Icon::Critical);
        return false;
    }
    if (!tarif)
        return true;
    if (!zeitFormOk(m.fldAbZeit)) {
        meldung(QStringLiteral("Zeitangabe im Feld 'gilt ab' ist nicht korrekt!"), Icon::Critical);
        return false;
    }
    if (!zeitFormOk(m.fldBisZeit)) {
        meldung(QStringLiteral("Zeitangabe im Feld 'gilt bis' ist nicht korrekt!"), Icon::Critical);
        return false;
    }
    // Prices and the increment are stored as numbers: a text the database
    // cannot read as one is refused here instead of being stored as garbage.
    const struct {
        const QString& text;
        bool ganz;
        QString satzanfang;
    } zahlen[] = {
        {m.fldMinutenpreis, false, QStringLiteral("Der Minutenpreis")},
        {m.fldPauschalpreis, false, QStringLiteral("Der Pauschalpreis")},
        {m.fldSekundentakt, true, QStringLiteral("Der Sekundentakt")},
    };
    for (const auto& z : zahlen) {
        const auto zahl = z.ganz ? ganzeZahl(z.text) : deutscheZahl(z.text);
        if (!zahl || *zahl < 0) {
            meldung(zeilen({z.satzanfang + QStringLiteral(" „") + z.text
                                + (!zahl ? QStringLiteral("“ ist keine ")
                                               + (z.ganz ? QStringLiteral("ganze Zahl!") : QStringLiteral("Zahl!"))
                                         : QStringLiteral("“ darf nicht negativ sein!")),
                            kNichtGespeichert}),
                    Icon::Critical);
            return false;
        }
    }
    return true;
}

Tarifzeile TarifEditor::eintragAusMaske() const
{
    const std::int64_t satz = satzNummer(m_maske.fldSatz).value_or(0);
    const bool alt = m_neuerSatz == 0 && m_geladen && m_geladen->satz == satz;
    Tarifzeile e = alt ? *m_geladen : Tarifzeile {};
    e.tabelle = m_tabelle;
    e.satz = satz;
    // A field left as it was shown keeps what is stored.
    const auto feld = [&](const QString Tarifmaske::*f, auto& ziel, auto neu) {
        if (!alt || m_maske.*f != m_gezeigt.*f)
            ziel = neu(m_maske.*f);
    };
    const auto text = [](const QString& t) { return std::optional<QString>(t); };
    feld(&Tarifmaske::fldVorwahl, e.vorwahl, text);
    feld(&Tarifmaske::fldBezeichnung, e.Bezeichnung, text);
    if (hatTarifspalten(m_tabelle)) {
        const auto zahl = [](const QString& t) { return Tarifwert::von(deutscheZahl(t).value_or(0)); };
        const auto ganz = [](const QString& t) { return Tarifwert::von(ganzeZahl(t).value_or(0)); };
        feld(&Tarifmaske::fldAbZeit, e.vonZeit, text);
        feld(&Tarifmaske::fldBisZeit, e.bisZeit, text);
        feld(&Tarifmaske::fldMinutenpreis, e.Minutenpreis, zahl);
        feld(&Tarifmaske::fldPauschalpreis, e.Pauschale, zahl);
        feld(&Tarifmaske::fldSekundentakt, e.Sekundentakt, ganz);
        feld(&Tarifmaske::fldTyp, e.typ, text);
        e.username = ohneEndleerzeichen(m_state.Anwender);
    }
    return e;
}

void TarifEditor::speichern()
{
    if (!maskePruefen())
        return;
    m_vorwahlEingabe = false;
    m_hinweisSichtbar = false;

    const Tarifzeile e = eintragAusMaske();
    try {
        // A mask without a stored entry looks for its prefix, a taken-over
        // entry for its record number.
        const int vorhanden = e.satz == 0 ? vorwahlZaehlen(m_db, m_tabelle, m_maske.fldVorwahl)
                                          : (tarifFinden(m_db, m_tabelle, e.satz) ? 1 : 0);
        if (vorhanden > 0 && m_neuerSatz == 1) {
            const Answer a = m_dialogs.message(
                zeilen({QStringLiteral("Sie wollen einen neuen Satz speichern, die betreffende Vorwahl ist aber "
                                       "bereits gegeben!"),
                        QString(),
                        QStringLiteral("Wollen Sie den Satz trotzdem speichern (nur notwendig, wenn zusätzlicher "
                                       "Zeitbereich anzulegen ist)")}),
                programmCaption(), Buttons::YesNo, Icon::Information, Answer::No);
            if (a != Answer::Yes) {
                meldung(QStringLiteral("Speicherung wurde abgebrochen!"), Icon::Information);
                felderleeren();
                return;
            }
        }
        Laufsperre sperre(m_state.programmOrdner, Laufsperre::Programm::Tarifeditor);
        if (!sperreNehmen(sperre))
            return;
        if (m_neuerSatz == 1) {
            tarifEinfuegen(m_db, m_tabelle, e);
        } else if (e.satz == 0 || !tarifAendern(m_db, m_tabelle, e)) {
            // The entry was deleted meanwhile (or none was taken over).
            meldung(zeilen({kNichtGefunden, kNichtGespeichert}), Icon::Critical);
            return;
        }
    } catch (const SQLite::Exception& ex) {
        datenbankFehler({QStringLiteral("Fehler der Datenbank:")}, ex, {kNichtGespeichert});
        return;
    }
    meldung(QStringLiteral("Datensatz wurde gespeichert!"), Icon::Information);
    felderleeren();
}

void TarifEditor::loeschen()
{
    m_vorwahlEingabe = false;
    const auto satz = satzNummer(m_maske.fldSatz).value_or(0);
    if (satz == 0) {
        meldung(zeilen({QStringLiteral("Satz kann nur gelöscht werden, wenn er vorher über die"),
                        QStringLiteral("'Auswahl bereits angelegter Tarifeinträge' übernommen wurde!")}),
                Icon::Critical);
        felderleeren();
        return;
    }
    const Answer a = m_dialogs.message(QStringLiteral("Wollen Sie diesen Datensatz wirklich löschen"),
                                       programmCaption(), Buttons::YesNo, Icon::Critical, Answer::No);
    if (a != Answer::Yes)
        return;
    Laufsperre sperre(m_state.programmOrdner, Laufsperre::Programm::Tarifeditor);
    if (!sperreNehmen(sperre))
        return;
    try {
        tarifLoeschen(m_db, m_tabelle, satz);
    } catch (const SQLite::Exception& ex) {
        datenbankFehler({QStringLiteral("Der Datensatz konnte nicht gelöscht werden:")}, ex);
        return;
    }
    meldung(QStringLiteral("Satz wurde gelöscht!"), Icon::Information);
    felderleeren();
}

void TarifEditor::tarifrechnerZeigen()
{
    // Shown only for copying; the answer is not used.
    m_dialogs.input(QStringLiteral("Den Tarifrechner der T-Com finden Sie unter"), kProduktName,
                    tarifrechnerAdresse(m_state.programmOrdner));
}

void TarifEditor::beispieltarifeUebernehmen()
{
    const auto titel = [](Tariftabelle t) { return QStringLiteral("„") + tabellenTitel(t) + QStringLiteral("“"); };
    std::vector<Tariftabelle> tabellen {m_tabelle};
    try {
        if (tarifZeilenZaehlen(m_db, m_tabelle) > 0) {
            meldung(zeilen({QStringLiteral("Die Tabelle ") + titel(m_tabelle)
                                + QStringLiteral(" enthält bereits Einträge."),
                            QStringLiteral("Beispieltarife werden nur in eine leere Tabelle übernommen; an Ihren "
                                           "Einträgen wurde nichts geändert.")}),
                    Icon::Information);
            return;
        }
        // At the first start all three at once. Beside real tariffs, example local or call-by-call rows would
        // price real calls: then only the table chosen.
        const std::vector<Tariftabelle> alle {Tariftabelle::faktor, Tariftabelle::Ortstarif,
                                              Tariftabelle::CallByCall};
        if (std::all_of(alle.begin(), alle.end(), [&](Tariftabelle t) { return tarifZeilenZaehlen(m_db, t) == 0; }))
            tabellen = alle;
    } catch (const SQLite::Exception& ex) {
        datenbankFehler({QStringLiteral("Die Tarifeinträge konnten nicht gelesen werden:")}, ex);
        return;
    }
    const bool eine = tabellen.size() == 1;
    const QString namen = eine ? QStringLiteral("Tabelle ") + titel(m_tabelle)
                               : QStringLiteral("Tabellen %1, %2 und %3")
                                     .arg(titel(tabellen[0]), titel(tabellen[1]), titel(tabellen[2]));
    const Answer a = m_dialogs.message(
        zeilen({QStringLiteral("Sollen die Beispieltarife in die %1 %2 übernommen werden?")
                    .arg(eine ? QStringLiteral("leere") : QStringLiteral("leeren"), namen),
                QString(),
                QStringLiteral("Es sind nur Beispiele: Vorwahlen, Zeiten und Preise stimmen nicht mit Ihrem "
                               "Telefonvertrag überein."),
                QStringLiteral("Prüfen Sie jeden Eintrag anhand Ihres eigenen Vertrags und ändern Sie ihn, bevor "
                               "Sie damit Rechnungen erstellen!")}),
        programmCaption(), Buttons::YesNo, Icon::Information, Answer::No);
    if (a != Answer::Yes)
        return;
    Laufsperre sperre(m_state.programmOrdner, Laufsperre::Programm::Tarifeditor);
    if (!sperreNehmen(sperre))
        return;
    int n = 0;
    try {
        BusyCursor busy;
        n = beispieltarifeEinfuegen(m_db, tabellen, ohneEndleerzeichen(m_state.Anwender));
    } catch (const SQLite::Exception& ex) {
        datenbankFehler({QStringLiteral("Die Beispieltarife konnten nicht gespeichert werden:")}, ex,
                        {QStringLiteral("Es wurde nichts übernommen.")});
        return;
    }
    felderleeren();
    if (n == 0) {
        meldung(zeilen({eine ? QStringLiteral("Die Tabelle ") + titel(m_tabelle)
                                   + QStringLiteral(" enthält inzwischen Einträge.")
                             : QStringLiteral("Die Tariftabellen enthalten inzwischen Einträge."),
                        QStringLiteral("Es wurde nichts übernommen.")}),
                Icon::Information);
        return;
    }
    meldung(zeilen({QStringLiteral("%1 Beispieltarife wurden in die %2 übernommen.").arg(n).arg(namen),
                    QStringLiteral("Bitte prüfen Sie jeden Eintrag anhand Ihres Vertrags!")}),
            Icon::Information);
}

} // namespace orve
