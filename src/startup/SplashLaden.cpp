#include "startup/SplashLaden.h"

#include "common/AppState.h"
#include "common/Dialogs.h"
#include "common/Numbers.h"
#include "common/ProgramEnd.h"
#include "common/Version.h"
#include "startup/DateiRegistry.h"
#include "startup/OdbcSchluessel.h"
#include "startup/Systemumgebung.h"

#include <QDir>

namespace orve {

namespace {

// A missing prerequisite: the message, then the end, whichever button.
[[noreturn]] void beenden(Dialogs& dialogs, const QString& text)
{
    dialogs.message(text, kProduktName, Buttons::OkCancel, Icon::Critical);
    throw ProgramEnd(text);
}

const QString kSQLiteAufruf = QStringLiteral(
    "Bitte rufen Sie dazu die Datei 'sqliteodbc.exe' im Installationsunterpfad '/SQLite' dieses Programmes auf!");
const QString kSQLite3Aufruf = QStringLiteral(
    "Bitte rufen Sie dazu die Datei 'sqlite3odbc.exe' bzw. sqlite3odbc_w64 bei 64-Bit Windows Systemen im "
    "Installationsunterpfad '/SQLite' dieses Programmes auf!");

const QString kBenutzerFehlt =
    QStringLiteral("Aktueller User konnte nicht ermittelt werden, Programm wird beendet!");

// A registry value read for the user name: found when the text holds a NUL;
// the name is what stands before it.
std::optional<QString> benutzerAusRegistry(Registry& reg, Dialogs& dialogs, const QString& wertName)
{
    int typ = 0;
    const QString v = sdaGetRegEntry(reg, dialogs, QStringLiteral("HKEY_LOCAL_MACHINE"),
                                     QStringLiteral("System\\CurrentControlSet\\Control"), wertName, typ);
    if (typ == -1)
        return std::nullopt;
    const auto nul = v.indexOf(QChar(0));
    if (nul < 0)
        return std::nullopt;
    return v.left(nul);
}

const QString kVersionsKommentar = QStringLiteral(
    "Auswertung der Telefonkosten aus den Gesprächsdaten der TK-Suite, mit eigenen Tarifen und Kostenaufschlag.");
const QString kVersionsCopyright = QStringLiteral("Copyright © ORVE. Alle Rechte vorbehalten.");

void MdacPruefen(Systemumgebung& system, Dialogs& dialogs, SplashAnzeige& anzeige)
{
    const auto version = system.datenzugriffVersion();
    if (!version) {
        dialogs.message(zeilen({QStringLiteral("Es konnte keine MDAC Installation gefunden werden!"),
                                QStringLiteral("Das Programm wird vermutlich nicht laufen!")}),
                        kProduktName, Buttons::Ok, Icon::Critical);
        anzeige.Label2 = QStringLiteral("MDAC-Treiber fehlen!");
        return;
    }
    if (fuehrendeZahl(*version) < 2.8)
        dialogs.message(zeilen({QStringLiteral("Die MDAC Version ist < 2.80!"),
                                QStringLiteral("Bitte installieren Sie eine neuere Version!")}),
                        kProduktName, Buttons::Ok, Icon::Critical);
    anzeige.Label2 = QStringLiteral("MDAC-Version: ") + *version;
}

void AnwenderErmitteln(AppState& state, Registry& reg, Systemumgebung& system, Dialogs& dialogs,
                       SplashAnzeige& anzeige)
{
    if (const auto bytes = system.GetUserNameA()) {
        const auto nul = bytes->indexOf('\0');
        state.Anwender = QString::fromLocal8Bit(nul < 0 ? *bytes : bytes->left(nul));
        anzeige.Username = state.Anwender;
        return;
    }
    // A name found in the registry is shown; Anwender stays as it is.
    auto name = benutzerAusRegistry(reg, dialogs, QStringLiteral("Current User"));
    if (!name)
        name = benutzerAusRegistry(reg, dialogs, QStringLiteral("CurrentUser"));
    if (!name) {
        dialogs.message(kBenutzerFehlt, kProduktName, Buttons::Ok, Icon::Critical);
        throw ProgramEnd(kBenutzerFehlt);
    }
    anzeige.Username = *name;
}

} // namespace

void splashLaden(AppState& state, Registry& reg, Systemumgebung& system, Dialogs& dialogs, SplashAnzeige& anzeige)
{
    MdacPruefen(system, dialogs, anzeige);

    QString datei;
    if (!TreiberSuchen(reg, kSQLiteTreiber, datei))
        beenden(dialogs, zeilen({QStringLiteral("Sie müssen zuerst die SQLite-ODBC Treiber installieren, um mit "
                                                "diesem Programm arbeiten zu können!"),
                                 QString(), kSQLiteAufruf}));
    if (!TreiberSuchen(reg, kSQLite3Treiber, datei))
        beenden(dialogs, zeilen({QStringLiteral("Sie müssen zuerst die SQLite3-ODBC Treiber installieren, um mit "
                                                "diesem Programm arbeiten zu können!"),
                                 QString(), kSQLite3Aufruf}));
    if (!DatenquelleVorhanden(reg, kSQLiteDatenquelle))
        beenden(dialogs, zeilen({QStringLiteral("Es wurde kein SQLite DNS Eintrag gefunden."), QString(),
                                 QStringLiteral("Tragen Sie diesen bitte manuell mit der Bezeichnung "
                                                "'SQLite Datasource' ein!"),
                                 QStringLiteral("oder wiederholen Sie die SQLite Installation!"), QString(),
                                 kSQLiteAufruf}));
    if (!DatenquelleVorhanden(reg, kSQLite3Datenquelle))
        beenden(dialogs, zeilen({QStringLiteral("Es wurde kein SQLite3 DNS Eintrag gefunden."), QString(),
                                 QStringLiteral("Tragen Sie diesen bitte manuell mit der Bezeichnung "
                                                "'SQLite3 Datasource' ein!"),
                                 QStringLiteral("oder wiederholen Sie die SQLite3 Installation!"), QString(),
                                 kSQLite3Aufruf}));

    QString accessDatei;
    if (!TreiberSuchen(reg, kAccessTreiber, accessDatei) && !TreiberSuchen(reg, kAccessTreiberDeutsch, accessDatei))
        beenden(dialogs, zeilen({QStringLiteral("Sie müssen zuerst die MS-Access-ODBC Treiber"),
                                 QStringLiteral("(=MDAC-Treiber von der Installations-CD) installieren,"),
                                 QStringLiteral("um mit diesem Programm arbeiten zu können!")}));

    if (!DatenquelleVorhanden(reg, kAccessDatenquelle)) {
        if (accessDatei.isEmpty())
            beenden(dialogs, QStringLiteral("Es wurde kein Access ODBC Treiber gefunden."));
        if (!AccessDatenquelleAnlegen(reg, accessDatei, kAccessDatenquelle, state.IstSQLite3))
            beenden(dialogs, zeilen({QStringLiteral("Der ODBC-Eintrag 'Access' konnte nicht erzeugt werden!"),
                                     QStringLiteral("Tragen Sie diesen manuell ein.")}));
    }

    QString paradoxDatei;
    if (!TreiberSuchen(reg, kParadoxTreiber, paradoxDatei)
        && !TreiberSuchen(reg, kParadoxTreiberDeutsch, paradoxDatei))
        beenden(dialogs, zeilen({QStringLiteral("Sie müssen zuerst die Paradox-ODBC Treiber"),
                                 QStringLiteral("(=MDAC-Treiber von der Installations-CD) installieren,"),
                                 QStringLiteral("um mit diesem Programm arbeiten zu können!")}));

    AnwenderErmitteln(state, reg, system, dialogs, anzeige);

    QDir::setCurrent(state.programmOrdner);

    anzeige.lblProductName = kProduktName;
    anzeige.lblVersion = QStringLiteral("Version: ") + versionText();
    anzeige.lblCopyright = kVersionsCopyright;
    anzeige.Text1 = kVersionsKommentar;
}

std::unique_ptr<DateiRegistry> registryLaden(const AppState& state, Dialogs& dialogs)
{
    try {
        return std::make_unique<DateiRegistry>(DateiRegistry::standardDatei(state.programmOrdner));
    } catch (const RegistryFehler& e) {
        const QString text =
            zeilen({QStringLiteral("Die Registry-Datei konnte nicht gelesen werden:"), e.beschreibung()});
        dialogs.message(text, kProduktName, Buttons::Ok, Icon::Critical);
        throw ProgramEnd(text);
    }
}

} // namespace orve
