#include "mainwindow/Hauptfenster.h"

#include "calls/TkBillFilter.h"
#include "calls/TkBillImport.h"
#include "calls/TkBillQuelle.h"
#include "common/AppState.h"
#include "common/Dialogs.h"
#include "common/ProgramEnd.h"
#include "common/TextFile.h"
#include "common/Version.h"
#include "mainwindow/HauptAnsicht.h"

#include <QDir>
#include <QFile>

namespace orve {

namespace {
const QString kAlle = QStringLiteral("alle");
}

Hauptfenster::Hauptfenster(AppState& state, Registry& reg, Systemumgebung& system, Datenquellen& quellen,
                           Dialogs& dialogs, HauptAnsicht& ansicht)
    : m_state(state), m_reg(reg), m_system(system), m_quellen(quellen), m_dialogs(dialogs), m_ansicht(ansicht)
{
}

void Hauptfenster::laden(const StartPfade& pfade)
{
    HauptfensterStart(m_state, m_reg, m_system, m_quellen, m_dialogs, m_ansicht, pfade).laden();
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
    QStringList eintraege{kAlle};
    std::optional<QString> fehler;
    try {
        eintraege = nebenstellenEintraege(m_state, m_quellen);
    } catch (const QuellFehler& e) {
        fehler = e.text();
    }
    m_ansicht.combo2Setzen({}, kAlle);
    m_ansicht.combo1Setzen(eintraege, QString());
    if (fehler)
        fehlerZeigen(*fehler);
}

void Hauptfenster::Combo2_DropDown()
{
    anzeigeLeeren();
    QStringList eintraege{kAlle};
    std::optional<QString> fehler;
    try {
        eintraege = datumEintraege(m_state, m_quellen, m_ansicht.combo1Text());
    } catch (const QuellFehler& e) {
        fehler = e.text();
    }
    m_ansicht.combo2Setzen(eintraege, QString());
    if (fehler)
        fehlerZeigen(*fehler);
}

void Hauptfenster::mnuLesenBill()
{
    EinleseErgebnis e;
    try {
        e = tkBillEinlesen(m_state, m_quellen, m_ansicht.combo1Text(), m_ansicht.combo2Text(), m_liste);
    } catch (const QuellFehler& f) {
        fehlerZeigen(f.text());
        return;
    }
    m_ansicht.text1Setzen(QString::number(e.anzahl));
    if (e.fehler)
        fehlerZeigen(*e.fehler);
}

void Hauptfenster::Check1_Click(bool angehakt)
{
    m_state.OhneMwst = angehakt ? 1 : 0;
}

void Hauptfenster::mnuDatenbankpfadneu()
{
    m_state.Billpfad.clear();
    const QString datei = m_state.pfadImProgrammordner(QStringLiteral("Billpfad.txt"));
    // A file that cannot be rewritten is removed: no file means no path as well.
    if (!zeileSchreiben(datei, QString()) && QFile::exists(datei) && !QFile::remove(datei))
        m_dialogs.message(zeilen({QStringLiteral("Die Datei %1 kann nicht geändert werden.")
                                      .arg(QDir::toNativeSeparators(datei)),
                                  QStringLiteral("Der bisherige Datenbankpfad bleibt erhalten.")}),
                          kProduktName, Buttons::Ok, Icon::Critical);
    m_dialogs.message(QStringLiteral("Bitte starten Sie das Programm zur Ermittlung des neuen Datenbankpfades neu!"),
                      kProduktName, Buttons::Ok, Icon::Information);
    throw ProgramEnd(QStringLiteral("Neuer Datenbankpfad"), 0);
}

} // namespace orve
