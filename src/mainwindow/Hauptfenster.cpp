#include "mainwindow/Hauptfenster.h"

#include "calls/Auswahl.h"
#include "calls/QuellFehler.h"
#include "calls/TkBillFilter.h"
#include "calls/TkBillImport.h"
#include "common/AppState.h"
#include "common/BusyCursor.h"
#include "common/Dialogs.h"
#include "common/Fehler.h"
#include "common/Laufsperre.h"
#include "common/LokaleDatenbank.h"
#include "common/ProgramEnd.h"
#include "common/SqliteMeldung.h"
#include "common/TarifeditorOeffner.h"
#include "common/TextFile.h"
#include "common/Version.h"
#include "costing/Bepreisung.h"
#include "mainwindow/HauptAnsicht.h"
#include "report/BerichtLayout.h"
#include "report/Berichtslauf.h"
#include "report/Telefonkostenauswertung.h"
#include "tariffcheck/Tarifimport.h"
#include "tariffs/TarifCsv.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>

#include <algorithm>
#include <climits>

namespace orve {

Hauptfenster::Hauptfenster(AppState& state, Registry& reg, Systemumgebung& system, Datenquellen& quellen,
                           Dialogs& dialogs, HauptAnsicht& ansicht)
    : m_state(state), m_reg(reg), m_system(system), m_quellen(quellen), m_dialogs(dialogs), m_ansicht(ansicht)
{
}

void Hauptfenster::laden(const StartPfade& pfade)
{
    m_ansicht.captionSetzen(programmCaption());
    QuellenStart(m_state, m_reg, m_system, m_quellen, m_dialogs, m_ansicht, pfade).laden();
}

void Hauptfenster::anzeigeLeeren()
{
    m_liste.leeren();
    m_ansicht.text1Setzen(QStringLiteral("0"));
    m_ansicht.fortschrittSetzen(0);
}

void Hauptfenster::fehlerZeigen(const QString& text)
{
    m_dialogs.message(text, programmCaption(), Buttons::Ok, Icon::Critical);
}

void Hauptfenster::Combo1_DropDown()
{
    anzeigeLeeren();
    QStringList eintraege {kAlle};
    std::optional<QString> fehler;
    try {
        eintraege = nebenstellenEintraege(m_state, m_quellen);
    } catch (const QuellFehler& e) {
        fehler = e.text();
    }
    m_ansicht.combo2Setzen({}, kAlle);
    m_ansicht.combo3Setzen({}, kAlle);
    m_ansicht.combo1Setzen(eintraege, QString());
    if (fehler)
        fehlerZeigen(*fehler);
}

// The starts for a date/time list; "alle" alone after a message.
QStringList Hauptfenster::datumEintraegeLesen()
{
    anzeigeLeeren();
    try {
        return datumEintraege(m_state, m_quellen, m_ansicht.combo1Text());
    } catch (const QuellFehler& e) {
        fehlerZeigen(e.text());
    }
    return {kAlle};
}

void Hauptfenster::Combo2_DropDown()
{
    m_ansicht.combo2Setzen(datumEintraegeLesen(), QString());
}

void Hauptfenster::Combo3_DropDown()
{
    m_ansicht.combo3Setzen(datumEintraegeLesen(), QString());
}

bool Hauptfenster::einlesen(std::int64_t& anzahl, QStringList& ohneZeitpunkt)
{
    EinleseErgebnis e;
    try {
        e = tkBillEinlesen(m_state, m_quellen, m_ansicht.combo1Text(), m_ansicht.combo2Text(), m_liste,
                           m_ansicht.combo3Text(), BisGrenze::Einschliesslich);
    } catch (const QuellFehler& f) {
        fehlerZeigen(f.text());
        return false;
    }
    anzahl = e.anzahl;
    ohneZeitpunkt = e.ohneZeitpunkt;
    m_ansicht.text1Setzen(QString::number(e.anzahl));
    if (e.fehler) {
        fehlerZeigen(*e.fehler);
        return false;
    }
    return true;
}

bool Hauptfenster::sperreNehmen(Laufsperre& sperre, const QString& kopf)
{
    try {
        if (sperre.nehmen())
            return true;
        fehlerZeigen(sperre.meldung(kopf, QStringLiteral("Bitte versuchen Sie es erneut, wenn er beendet ist.")));
    } catch (const Fehler& f) {
        fehlerZeigen(f.text());
    }
    return false;
}

bool Hauptfenster::mnuLesenBill()
{
    Laufsperre sperre(m_state.programmOrdner, Laufsperre::Programm::Fenster);
    if (!sperreNehmen(sperre, QStringLiteral("Die TK-Bill Daten können jetzt nicht eingelesen werden.")))
        return false;
    std::int64_t anzahl = 0;
    QStringList ohneZeitpunkt;
    const bool eingelesen = einlesen(anzahl, ohneZeitpunkt);
    sperre.freigeben();
    if (eingelesen && !ohneZeitpunkt.isEmpty())
        fehlerZeigen(unlesbareAnrufeMeldung(ohneZeitpunkt));
    return eingelesen;
}

void Hauptfenster::mnuReport()
{
    if (m_laeuft)
        return;
    m_laeuft = true;
    m_anhalten = false;
    m_ansicht.laufAnzeigen(true);
    struct Ende {
        Hauptfenster& h;
        ~Ende()
        {
            h.m_laeuft = false;
            h.m_ansicht.laufAnzeigen(false);
        }
    } ende {*this};
    reportLauf();
}

void Hauptfenster::reportLauf()
{
    Laufsperre sperre(m_state.programmOrdner, Laufsperre::Programm::Fenster);
    if (!sperreNehmen(sperre, QStringLiteral("Der Report kann jetzt nicht erstellt werden.")))
        return;
    std::int64_t anzahl = 0;
    QStringList ohneZeitpunkt;
    if (!einlesen(anzahl, ohneZeitpunkt))
        return; // a report on part of the calls would be a wrong bill
    if (anzahl > 0) {
        m_ansicht.fortschrittMaximum(static_cast<int>(std::min<std::int64_t>(anzahl, INT_MAX)));
        m_ansicht.fortschrittSetzen(0);
    }
    LaufUmgebung umgebung;
    umgebung.editor = [this](SQLite::Database& lokal) { return m_ansicht.tarifeditor(lokal); };
    umgebung.fortschritt = [this](std::int64_t erledigt, std::int64_t) {
        m_ansicht.fortschrittSetzen(static_cast<int>(std::min<std::int64_t>(erledigt, INT_MAX)));
        m_ansicht.ereignisseVerarbeiten();
        return !m_anhalten;
    };
    LaufErgebnis r = berichtslauf(m_state, m_quellen, m_dialogs, anzahl, m_EigenpreisModus != 0, umgebung);
    // The report window prints and saves from memory: it holds nothing.
    sperre.freigeben();
    if (r.ende != LaufErgebnis::Ende::Bericht && r.ende != LaufErgebnis::Ende::KeineDaten)
        return; // the progress bar keeps its position
    // Calls that could not be priced or were left out are named once.
    if (const QStringList unlesbar = ohneZeitpunkt + r.unlesbar; !unlesbar.isEmpty())
        fehlerZeigen(unlesbareAnrufeMeldung(unlesbar));
    if (r.ende != LaufErgebnis::Ende::Bericht)
        return;
    BerichtOptionen optionen = BerichtOptionen::aus(m_state);
    optionen.zeitraum = zeitraumText(m_ansicht.combo2Text(), m_ansicht.combo3Text());
    optionen.zeitraumOrdner =
        zeitraumOrdnername(m_ansicht.combo2Text(), m_ansicht.combo3Text(), BisGrenze::Einschliesslich);
    m_ansicht.berichtZeigen(
        Telefonkostenauswertung(std::move(*r.daten), std::move(optionen)),
        berichtDateiname(m_ansicht.combo1Text(), m_ansicht.combo2Text(), m_ansicht.combo3Text()));
    m_ansicht.fortschrittSetzen(0);
}

void Hauptfenster::mnuReportEigen()
{
    if (m_laeuft || !eigenenMinutenpreisLesen(m_state, m_dialogs))
        return;
    m_EigenpreisModus = 1;
    struct Zurueck {
        int& modus;
        ~Zurueck() { modus = 0; }
    } zurueck {m_EigenpreisModus};
    mnuReport();
}

void Hauptfenster::Check1_Click(bool angehakt)
{
    m_state.OhneMwst = angehakt ? 1 : 0;
}

void Hauptfenster::Check2_Click(bool angehakt)
{
    m_state.RufnummernKuerzen = angehakt ? 1 : 0;
}

void Hauptfenster::Check3_Click(bool angehakt)
{
    m_state.NeueSeiteJeNebenstelle = angehakt ? 1 : 0;
}

QString Hauptfenster::speicherordner() const
{
    return gemerkterOrdner(m_state.pfadImProgrammordner(kSpeicherordnerDatei));
}

void Hauptfenster::mnuTarifeExportieren()
{
    const QString datei = m_dialogs.speichernUnter(
        QStringLiteral("Tariftabellen exportieren"),
        QStringLiteral("Tariftabellen %1.csv").arg(QDate::currentDate().toString(Qt::ISODate)),
        QStringLiteral("CSV-Dateien (*.csv)"), QStringLiteral("csv"), speicherordner());
    if (datei.isEmpty())
        return;
    try {
        BusyCursor warten;
        const int n = tarifeExportieren(*lokalOeffnen(m_quellen, m_state), datei);
        ordnerMerken(m_state.pfadImProgrammordner(kSpeicherordnerDatei), QFileInfo(datei).absolutePath());
        m_dialogs.message(QStringLiteral("%1 Tarifzeilen wurden in die Datei %2 geschrieben.")
                              .arg(n)
                              .arg(QDir::toNativeSeparators(datei)),
                          programmCaption(), Buttons::Ok, Icon::Information);
    } catch (const Fehler& f) {
        fehlerZeigen(f.text());
    } catch (const SQLite::Exception& e) {
        fehlerZeigen(zeilen({QStringLiteral("Die Tariftabellen konnten nicht gelesen werden."),
                             sqliteMeldung(e, m_state.pfadImProgrammordner(kLokaleDatenbankRelativ),
                                           QStringLiteral("exportieren Sie erneut"))}));
    }
}

void Hauptfenster::mnuTarifeImportieren()
{
    const QString datei =
        m_dialogs.openFile({QStringLiteral("Tariftabellen importieren"), QDir::toNativeSeparators(speicherordner()),
                            QStringLiteral("Tariftabellen (*.csv *.txt *.sqlite);;Alle Dateien (*)"), QString()});
    if (datei.isEmpty())
        return;
    try {
        const Tarifimport import = Tarifimport::lesen(datei);
        Laufsperre sperre(m_state.programmOrdner, Laufsperre::Programm::Fenster);
        if (!sperreNehmen(sperre, QStringLiteral("Die Tariftabellen können jetzt nicht importiert werden.")))
            return;
        const auto lokal = lokalOeffnen(m_quellen, m_state);
        Tarifpruefung pruefung;
        {
            BusyCursor warten;
            pruefung = import.pruefen(*lokal);
        }
        if (!m_ansicht.tarifimportBestaetigen(std::move(pruefung), datei))
            return;
        Tarifuebernahme u;
        {
            BusyCursor warten;
            u = import.uebernehmen(*lokal);
        }
        sperre.freigeben();
        m_dialogs.message(u.meldung, programmCaption(), Buttons::Ok, Icon::Information);
    } catch (const Fehler& f) {
        fehlerZeigen(f.text());
    }
}

void Hauptfenster::mnuDatenbankpfadneu()
{
    m_state.Billpfad.clear();
    const QString datei = m_state.pfadImProgrammordner(QStringLiteral("Billpfad.txt"));
    // A file that cannot be rewritten is removed: no file means no path as well.
    if (!zeileSchreiben(datei, QString()) && QFile::exists(datei) && !QFile::remove(datei))
        m_dialogs.message(
            zeilen({QStringLiteral("Die Datei %1 kann nicht geändert werden.").arg(QDir::toNativeSeparators(datei)),
                    QStringLiteral("Der bisherige Datenbankpfad bleibt erhalten.")}),
            kProduktName, Buttons::Ok, Icon::Critical);
    m_dialogs.message(
        QStringLiteral("Bitte starten Sie das Programm zur Ermittlung des neuen Datenbankpfades neu!"),
        kProduktName, Buttons::Ok, Icon::Information);
    throw ProgramEnd(QStringLiteral("Neuer Datenbankpfad"), 0);
}

} // namespace orve
