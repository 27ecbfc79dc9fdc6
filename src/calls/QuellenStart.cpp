#include "calls/QuellenStart.h"

#include "calls/ParadoxKopie.h"
#include "calls/ParadoxTabelle.h"
#include "calls/QuellAnzeige.h"
#include "calls/Settings.h"
#include "calls/TkBillQuelle.h"
#include "common/AppState.h"
#include "common/BusyCursor.h"
#include "common/Dialogs.h"
#include "common/LokaleDatenbank.h"
#include "common/ProgramEnd.h"
#include "common/SqliteMeldung.h"
#include "common/TextFile.h"
#include "common/Version.h"
#include "startup/OdbcSchluessel.h"
#include "startup/Registry.h"
#include "startup/Systemumgebung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <SQLiteCpp/SQLiteCpp.h>

namespace orve {

namespace {

// A Windows path of TK-Suite's installation in this system's form.
QString windowsPfadNativ(const QString& windowsPfad)
{
#ifdef Q_OS_WIN
    return windowsPfad;
#else
    QString p = windowsPfad;
    if (p.size() >= 2 && p[1] == QLatin1Char(':'))
        p.remove(0, 2);
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
#endif
}

} // namespace

StartPfade StartPfade::system()
{
    return {windowsPfadNativ(QStringLiteral("C:\\agfeo\\TK-Suite-Server\\dbf\\bill.db")),
            windowsPfadNativ(QStringLiteral("C:\\Programme\\AGFEO\\Tk-Suite\\tkserver\\bill.db")),
            windowsPfadNativ(QStringLiteral("C:\\Programme\\AGFEO\\Tk-Suite-Basic\\tkserver\\var\\dbf\\bill.db"))};
}

QuellenStart::QuellenStart(AppState& state, Registry& reg, Systemumgebung& system, Datenquellen& quellen,
                           Dialogs& dialogs, QuellAnzeige& anzeige, StartPfade pfade)
    : m_state(state), m_reg(reg), m_system(system), m_quellen(quellen), m_dialogs(dialogs), m_anzeige(anzeige),
      m_pfade(std::move(pfade))
{
}

namespace {

const QString kNochmals = QStringLiteral("Wollen Sie es nochmals versuchen");

QString billpfadDatei(const AppState& s)
{
    return s.pfadImProgrammordner(QStringLiteral("Billpfad.txt"));
}

// The Paradox table "bill" of a folder: bill.db, or the same name in
// another case on a system whose file names are case-sensitive.
QString paradoxTabellenDatei(const QString& ordner)
{
    const QDir d(ordner);
    const QString genau = d.filePath(QStringLiteral("bill.db"));
    if (QFileInfo(genau).isFile() || !QFileInfo(ordner).isDir())
        return genau;
    for (const QString& name : d.entryList(QDir::Files))
        if (name.compare(QStringLiteral("bill.db"), Qt::CaseInsensitive) == 0)
            return d.filePath(name);
    return genau;
}

bool istSQLiteDatei(const QString& pfad)
{
    // Only a regular file is opened: a FIFO would block the open.
    if (!QFileInfo(pfad).isFile())
        return false;
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3\0", 16);
}

} // namespace

void QuellenStart::laden()
{
    QDir::setCurrent(m_state.programmOrdner);

    m_state.Billpfad = m_vorgabe ? *m_vorgabe : ersteZeileLesen(billpfadDatei(m_state)).value_or(QString());
    enum class Zustand { Suchen, Eingeben, Versuchen };
    Zustand z = m_state.Billpfad.isEmpty() ? Zustand::Suchen : Zustand::Versuchen;
    for (;;) {
        if (z == Zustand::Versuchen) {
            if (versuchen())
                break;
            z = Zustand::Eingeben;
            continue;
        }
        if (z == Zustand::Suchen ? suchen() : eingeben()) {
            z = Zustand::Versuchen;
            continue;
        }
        if (m_dialogs.message(zeilen({QStringLiteral("Sie müssen einen gültigen Pfad angeben!"), kNochmals}),
                              programmCaption(), Buttons::YesNo, Icon::Critical)
            != Answer::Yes)
            throw ProgramEnd(QStringLiteral("Kein Pfad der Datei bill.db"));
        z = Zustand::Suchen;
    }

    kostenaufschlagBeimStart(m_state, m_dialogs);
    steuersatzBeimStart(m_state, m_dialogs);
    internetadresseBeimStart(m_state);
}

bool QuellenStart::pfadUebernehmen(const QString& pfad)
{
    if (pfad.isEmpty())
        return false;
    m_state.Billpfad = pfad;
    // A path that cannot be stored is still tried; it is asked for again at the next start.
    if (!m_vorgabe)
        zeileSchreiben(billpfadDatei(m_state), pfad);
    return true;
}

bool QuellenStart::suchen()
{
    m_state.Billpfad.clear();
    for (const QString& ort : {m_pfade.standard1, m_pfade.standard2})
        if (QFileInfo(ort).isFile())
            return pfadUebernehmen(ort);
    m_dialogs.message(QStringLiteral("Die Datei bill.db kann in den Standardpfaden nicht gefunden werden!"),
                      kProduktName, Buttons::Ok, Icon::Critical);
    return eingeben();
}

bool QuellenStart::eingeben()
{
    InputRequest r {zeilen({QStringLiteral("Bitte geben Sie den vollständigen Pfad der Datei"),
                            QStringLiteral("'Bill.db' an:")}),
                    programmCaption(), m_pfade.vorgabe, true};
    m_state.Billpfad = m_dialogs.input(r);
    return pfadUebernehmen(m_state.Billpfad);
}

QuellenStart::Antwort QuellenStart::sqliteVersuchen(int istSQLite3, QString& grund)
{
    const QString danach = QStringLiteral("geben Sie den richtigen Pfad an");
    int code = 0;
    try {
        auto db = m_quellen.oeffnen(quellVerbindung(istSQLite3, m_state.Billpfad));
        SQLite::Statement test(*db, "SELECT time From stdbill GROUP BY time ORDER BY time;");
        test.executeStep();
        return Antwort::Ja;
    } catch (const VerbindungsFehler& e) {
        grund = e.text();
        code = e.sqliteCode();
    } catch (const SQLite::Exception& e) {
        code = e.getExtendedErrorCode();
        grund = sqliteMeldung(e, m_state.Billpfad, danach);
    }
    if (code != 0 && sqliteUrsache(code, QString()) == SqliteUrsache::Gesperrt) {
        grund = QStringLiteral("Die TK-Bill Datenbank %1 wird gerade von einem anderen Programm benutzt und kann "
                               "im Moment nicht gelesen werden.")
                    .arg(QDir::toNativeSeparators(m_state.Billpfad));
        return Antwort::Gesperrt;
    }
    return Antwort::Nein;
}

void QuellenStart::paradoxDatenquelleSicherstellen()
{
    bool vorhanden = false;
    try {
        vorhanden = DatenquelleVorhanden(m_reg, kParadoxDatenquelle);
    } catch (const RegistryFehler&) {
    }
    if (vorhanden)
        return;
    QString treiberDatei;
    bool gefunden = false;
    try {
        gefunden = TreiberSuchen(m_reg, kParadoxTreiber, treiberDatei)
                   || TreiberSuchen(m_reg, kParadoxTreiberDeutsch, treiberDatei);
    } catch (const RegistryFehler&) {
    }
    if (!gefunden) {
        m_dialogs.message(QStringLiteral("Es wurde kein Paradox ODBC Treiber gefunden."), kProduktName,
                          Buttons::OkCancel, Icon::Critical);
        throw ProgramEnd(QStringLiteral("Kein Paradox-Treiber"));
    }
    bool angelegt = false;
    try {
        angelegt =
            ParadoxDatenquelleAnlegen(m_reg, treiberDatei, kParadoxDatenquelle, m_system.GetSystemDirectoryA());
    } catch (const RegistryFehler&) {
    }
    if (!angelegt) {
        m_dialogs.message(
            zeilen({QStringLiteral("Der ODBC-Eintrag 'ORVE-Paradox' konnte nicht erzeugt werden!"), QString(),
                    QStringLiteral("Tragen Sie diesen manuell über die Systemsteuerung im ODBC-Bereich ein "
                                   "(Systemsteuerung/Datenquellen(ODBC))"),
                    QString(),
                    QStringLiteral("Erzeugen Sie den Eintrag ORVE-Paradox, indem Sie den Microsoft Paradox Treiber "
                                   "mit dem Namen ORVE-Paradox"),
                    QStringLiteral("in der ODBC-Steuerung unter System-DNS einbinden!"), QString(),
                    QStringLiteral("Achten Sie auf genaue Schreibweise: ORVE-Paradox")}),
            kProduktName, Buttons::OkCancel, Icon::Critical);
        throw ProgramEnd(QStringLiteral("Datenquelle ORVE-Paradox fehlt"));
    }
}

bool QuellenStart::paradoxVersuchen(QString& grund)
{
    const QString datei = paradoxTabellenDatei(m_state.Billpfad);
    std::optional<paradox::ParadoxTabelle> tabelle;
    try {
        tabelle.emplace(paradox::ParadoxTabelle::oeffnen(datei));
    } catch (const paradox::ParadoxFehler& e) {
        // Something of that name that is no readable table: say why.
        if (QFileInfo(datei).exists())
            grund = e.text();
        return false;
    }
    if (tabelle->anzahl() <= 0)
        return false;

    m_state.IstParadox = 1;
    m_anzeige.text2Setzen(QStringLiteral("Paradox"));
    BusyCursor sanduhr;
    auto fehlgeschlagen = [this](const QString& meldung) {
        m_state.paradoxKopieFehlt = meldung;
        m_dialogs.message(meldung, kProduktName, Buttons::Ok, Icon::Critical);
    };
    std::unique_ptr<SQLite::Database> lokal;
    try {
        lokal = lokalOeffnen(m_quellen, m_state);
    } catch (const VerbindungsFehler& e) {
        fehlgeschlagen(zeilen({e.text(), QString(),
                               QStringLiteral("Die Anrufdaten der Paradox-Tabelle konnten nicht übernommen "
                                              "werden.")}));
        return true;
    }
    try {
        const ParadoxKopieErgebnis k = paradoxKopieren(*tabelle, *lokal);
        if (k.lesefehler)
            m_dialogs.message(zeilen({*k.lesefehler, QString(),
                                      QStringLiteral("Es wurden nur %1 von %2 Datensätzen übernommen.")
                                          .arg(k.uebernommen)
                                          .arg(tabelle->anzahl())}),
                              kProduktName, Buttons::Ok, Icon::Critical);
    } catch (const QuellFehler& e) {
        fehlgeschlagen(e.text());
    }
    return true;
}

bool QuellenStart::versuchen()
{
    m_state.IstParadox = 0;
    m_state.paradoxKopieFehlt.clear();
    m_state.IstSQLite3 = 0;
    QString sqliteGrund;
    // SQLite is asked only about a regular file: opening a FIFO or a device
    // would block, and a folder may hold a Paradox table.
    const bool datei = QFileInfo(m_state.Billpfad).isFile();
    Antwort antwort = datei ? sqliteVersuchen(1, sqliteGrund) : Antwort::Nein;
    if (antwort == Antwort::Ja) {
        m_state.IstSQLite3 = 1;
        m_anzeige.text2Setzen(QStringLiteral("SQLite3"));
        m_anzeige.text3Setzen(m_state.Billpfad);
        return true;
    }
    if (datei && antwort == Antwort::Nein)
        antwort = sqliteVersuchen(0, sqliteGrund);
    if (antwort == Antwort::Ja) {
        m_anzeige.text2Setzen(QStringLiteral("SQLite"));
        m_anzeige.text3Setzen(m_state.Billpfad);
        return true;
    }
    if (antwort == Antwort::Gesperrt) {
        if (m_dialogs.message(zeilen({sqliteGrund, kNochmals}), programmCaption(), Buttons::YesNo, Icon::Critical)
            != Answer::Yes)
            throw ProgramEnd(QStringLiteral("Datei bill.db gesperrt"));
        return versuchen();
    }

    paradoxDatenquelleSicherstellen();
    const QString gegeben = m_state.Billpfad;
    m_state.Billpfad.remove(QDir::separator() + QStringLiteral("bill.db"), Qt::CaseSensitive);
    QString paradoxGrund;
    if (paradoxVersuchen(paradoxGrund)) {
        m_anzeige.text3Setzen(m_state.Billpfad);
        return true;
    }

    m_state.Billpfad.clear();
    // Why the file could not be read, when it is a database of one of the two kinds.
    const QString grund = istSQLiteDatei(gegeben) ? sqliteGrund : paradoxGrund;
    if (!grund.isEmpty())
        m_dialogs.message(
            zeilen(
                {QStringLiteral("Die Datei %1 kann nicht gelesen werden:").arg(QDir::toNativeSeparators(gegeben)),
                 grund}),
            kProduktName, Buttons::Ok, Icon::Critical);
    if (m_dialogs.message(zeilen({QStringLiteral("Der angegebene Pfad der Datei Bill.db ist falsch!"),
                                  QStringLiteral("Wollen Sie diesen Pfad jetzt neu eingeben")}),
                          programmCaption(), Buttons::YesNo, Icon::Critical)
        != Answer::Yes)
        throw ProgramEnd(QStringLiteral("Falscher Pfad der Datei bill.db"));
    return false;
}

} // namespace orve
