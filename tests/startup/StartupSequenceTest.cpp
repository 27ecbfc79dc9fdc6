#include "startup/StartupSequence.h"

#include "common/Dialogs.h"
#include "common/ProgramEnd.h"
#include "startup/OdbcSchluessel.h"
#include "startup/Registry.h"

#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

const QString kTreiber = QStringLiteral("SOFTWARE\\ODBC\\ODBCINST.INI\\");
const QString kListe = QStringLiteral("SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources");
const QString kAccessKey = QStringLiteral("SOFTWARE\\ODBC\\ODBC.INI\\ORVE-Access");
const QString kControl = QStringLiteral("System\\CurrentControlSet\\Control");

// The messages as the box log shows them, lines joined by \r.
const QString kAufruf = QStringLiteral("\\r\\rBitte rufen Sie dazu die Datei 'sqliteodbc.exe' im Installationsunterpfad "
                                       "'/SQLite' dieses Programmes auf!");
const QString kAufruf3 = QStringLiteral("\\r\\rBitte rufen Sie dazu die Datei 'sqlite3odbc.exe' bzw. sqlite3odbc_w64 bei "
                                        "64-Bit Windows Systemen im Installationsunterpfad '/SQLite' dieses Programmes auf!");
const QString kSQLiteFehlt = "Sie müssen zuerst die SQLite-ODBC Treiber installieren, um mit diesem Programm arbeiten "
                             "zu können!" + kAufruf;
const QString kSQLite3Fehlt = "Sie müssen zuerst die SQLite3-ODBC Treiber installieren, um mit diesem Programm arbeiten "
                              "zu können!" + kAufruf3;
const QString kSQLiteQuelleFehlt = "Es wurde kein SQLite DNS Eintrag gefunden.\\r\\rTragen Sie diesen bitte manuell mit der "
                                   "Bezeichnung 'SQLite Datasource' ein!\\roder wiederholen Sie die SQLite Installation!" + kAufruf;
const QString kSQLite3QuelleFehlt = "Es wurde kein SQLite3 DNS Eintrag gefunden.\\r\\rTragen Sie diesen bitte manuell mit der "
                                    "Bezeichnung 'SQLite3 Datasource' ein!\\roder wiederholen Sie die SQLite3 Installation!" + kAufruf3;
const QString kAccessFehlt = QStringLiteral("Sie müssen zuerst die MS-Access-ODBC Treiber\\r(=MDAC-Treiber von der "
                                            "Installations-CD) installieren,\\rum mit diesem Programm arbeiten zu können!");
const QString kParadoxFehlt = QStringLiteral("Sie müssen zuerst die Paradox-ODBC Treiber\\r(=MDAC-Treiber von der "
                                             "Installations-CD) installieren,\\rum mit diesem Programm arbeiten zu können!");
const QString kBenutzerFehlt =
    QStringLiteral("M ORVE-Tarifo | Aktueller User konnte nicht ermittelt werden, Programm wird beendet! | Ok Critical");

// Every start-up test runs in a fresh program folder and restores the
// current directory afterwards (the load step changes it).
class Start : public ::testing::Test {
protected:
    void TearDown() override { QDir::setCurrent(m_vorher); }

    void laden(Registry& reg)
    {
        splashLaden(folder.state(), reg, system, dialogs, anzeige);
    }

    // Runs the load step expecting it to end the program after one box; that
    // box as the box log shows it.
    QString beendet(Registry& reg, Answer antwort = Answer::Ok)
    {
        dialogs.answer(antwort);
        EXPECT_THROW(laden(reg), ProgramEnd);
        EXPECT_EQ(dialogs.boxes().size(), 1u);
        return dialogs.protokoll().value(0);
    }

    bool imProgrammordner() const
    {
        return QFileInfo(QDir::currentPath()).canonicalFilePath() == QFileInfo(folder.path()).canonicalFilePath();
    }

    QString m_vorher = QDir::currentPath();
    TempProgramFolder folder;
    FesteSystemumgebung system;
    ScriptedDialogs dialogs;
    SplashAnzeige anzeige;
};

} // namespace

struct FehlenderEintrag {
    const char* name;
    std::vector<std::pair<QString, QString>> entfernt; // key, value ("" = whole key)
    QString meldung;
    bool accessAngelegt; // the data source step ran before the failing check
};

class FehlendeVoraussetzung : public Start, public ::testing::WithParamInterface<FehlenderEintrag> {};

TEST_P(FehlendeVoraussetzung, EndsWithItsMessageAndRunsNothingLater)
{
    const auto& f = GetParam();
    auto eintraege = standardInstallation();
    for (const auto& [key, value] : f.entfernt)
        eintraege = ohne(eintraege, key, value);
    SpeicherRegistry reg(eintraege);

    EXPECT_EQ(beendet(reg, f.accessAngelegt ? Answer::Ok : Answer::Cancel), "M ORVE-Tarifo | " + f.meldung + " | OkCancel Critical");

    EXPECT_EQ(DatenquelleVorhanden(reg, QStringLiteral("ORVE-Access")), f.accessAngelegt);
    EXPECT_TRUE(folder.state().Anwender.isEmpty()) << "the user step did not run";
    EXPECT_FALSE(imProgrammordner());
    EXPECT_EQ(anzeige.Username, QStringLiteral("Text2"));
    EXPECT_EQ(anzeige.Label2, QStringLiteral("MDAC-Version: 3.40.1")) << "the data-access check ran first";
}

INSTANTIATE_TEST_SUITE_P(
    Reihenfolge, FehlendeVoraussetzung,
    ::testing::Values(
        FehlenderEintrag{"SQLiteDriverValue", {{kTreiber + QStringLiteral("SQLite ODBC Driver"), QStringLiteral("Driver")}}, kSQLiteFehlt, false},
        FehlenderEintrag{"SQLite3DriverKey", {{kTreiber + QStringLiteral("SQLite3 ODBC Driver"), QString()}}, kSQLite3Fehlt, false},
        FehlenderEintrag{"SQLiteDataSource", {{kListe, QStringLiteral("SQLite Datasource")}}, kSQLiteQuelleFehlt, false},
        FehlenderEintrag{"SQLite3DataSource", {{kListe, QStringLiteral("SQLite3 Datasource")}}, kSQLite3QuelleFehlt, false},
        FehlenderEintrag{"AccessDriver", {{kTreiber + QStringLiteral("Microsoft Access Driver (*.mdb)"), QString()}}, kAccessFehlt, false},
        FehlenderEintrag{"ParadoxDriver", {{kTreiber + QStringLiteral("Microsoft Paradox Driver (*.db )"), QString()}}, kParadoxFehlt, true},
        // Several parts missing: the SQLite drivers come first, then the
        // data sources, then Access, then Paradox.
        FehlenderEintrag{"SQLite3DriverBeforeParadoxAndDataSources",
                         {{kTreiber + QStringLiteral("Microsoft Paradox Driver (*.db )"), QString()},
                          {kListe, QString()},
                          {kTreiber + QStringLiteral("SQLite3 ODBC Driver"), QStringLiteral("Driver")}},
                         kSQLite3Fehlt, false},
        FehlenderEintrag{"DataSourceBeforeAccess",
                         {{kTreiber + QStringLiteral("Microsoft Access Driver (*.mdb)"), QString()},
                          {kListe, QStringLiteral("SQLite3 Datasource")}},
                         kSQLite3QuelleFehlt, false},
        FehlenderEintrag{"NothingInstalled", {{QStringLiteral("SOFTWARE\\ODBC"), QString()}}, kSQLiteFehlt, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Start, CompleteMachineCreatesOrveAccessWithoutAnyMessage)
{
    SpeicherRegistry reg = standardRegistry(QStringLiteral("/usr/lib/libsqlite3.so.0"));
    laden(reg);
    EXPECT_TRUE(dialogs.boxes().empty());
    EXPECT_TRUE(DatenquelleVorhanden(reg, QStringLiteral("ORVE-Access")));
    EXPECT_EQ(reg.wert(Hive::LocalMachine, kAccessKey, QStringLiteral("Driver")),
              RegWert::alsText(QStringLiteral("/usr/lib/libsqlite3.so.0")));
    EXPECT_EQ(reg.wert(Hive::LocalMachine, kAccessKey, QStringLiteral("FIL")),
              RegWert::alsText(QStringLiteral("SQLite ODBC Driver;")));
    EXPECT_EQ(reg.protokoll().size(), 12u);
    EXPECT_FALSE(DatenquelleVorhanden(reg, QStringLiteral("ORVE-Paradox"))) << "created only at a Paradox start";

    EXPECT_EQ(folder.state().Anwender, QStringLiteral("anwender"));
    EXPECT_TRUE(imProgrammordner());
    EXPECT_EQ(anzeige.Username, QStringLiteral("anwender"));
    EXPECT_EQ(anzeige.lblProductName, QStringLiteral("ORVE-Tarifo"));
    EXPECT_EQ(anzeige.lblVersion, QStringLiteral("Version: 2.0.1"));
    EXPECT_FALSE(anzeige.Text1.isEmpty());
    EXPECT_FALSE(anzeige.lblCopyright.isEmpty());
    EXPECT_EQ(anzeige.hilfeDatei, folder.file(QStringLiteral("Hilfe/ORVE-Tarifo.hlp")));
}

TEST_F(Start, ListedOrveAccessIsNotWrittenAgain)
{
    SpeicherRegistry reg(mit(standardInstallation(), textEintrag(kListe, QStringLiteral("orve-access"), QStringLiteral("x"))));
    laden(reg);
    EXPECT_TRUE(reg.protokoll().empty());
    EXPECT_FALSE(reg.schluesselVorhanden(Hive::LocalMachine, kAccessKey));
}

TEST_F(Start, OnlyTheGermanAccessDriverIsAcceptedAndItsFileUsed)
{
    auto eintraege = ohne(standardInstallation(), kTreiber + QStringLiteral("Microsoft Access Driver (*.mdb)"));
    eintraege.push_back(textEintrag(kTreiber + QStringLiteral("Microsoft Access-Treiber (*.mdb)"), QStringLiteral("Driver"),
                                    QStringLiteral("/opt/deutsch/odbcjt32.so")));
    // and only the German Paradox driver
    eintraege = ohne(eintraege, kTreiber + QStringLiteral("Microsoft Paradox Driver (*.db )"));
    eintraege.push_back(textEintrag(kTreiber + QStringLiteral("Microsoft Paradox-Treiber (*.db )"), QStringLiteral("Driver"),
                                    QStringLiteral("/opt/deutsch/paradox.so")));
    SpeicherRegistry reg(eintraege);
    laden(reg);
    EXPECT_TRUE(dialogs.boxes().empty());
    EXPECT_EQ(reg.wert(Hive::LocalMachine, kAccessKey, QStringLiteral("Driver")),
              RegWert::alsText(QStringLiteral("/opt/deutsch/odbcjt32.so")));
    EXPECT_EQ(reg.wert(Hive::LocalMachine, kListe, QStringLiteral("ORVE-Access")),
              RegWert::alsText(QStringLiteral("Microsoft Access Driver (*.mdb)")));
}

TEST_F(Start, EmptyAccessDriverValueEndsOnlyWhenTheDataSourceMustBeCreated)
{
    const auto leer = mit(standardInstallation(),
                          textEintrag(kTreiber + QStringLiteral("Microsoft Access Driver (*.mdb)"), QStringLiteral("Driver"), QString()));
    {
        SpeicherRegistry reg(leer);
        EXPECT_EQ(beendet(reg), QStringLiteral("M ORVE-Tarifo | Es wurde kein Access ODBC Treiber gefunden. | OkCancel Critical"));
        EXPECT_TRUE(reg.protokoll().empty());
    }
    SpeicherRegistry vorhanden(mit(leer, textEintrag(kListe, QStringLiteral("ORVE-Access"), QStringLiteral("x"))));
    ScriptedDialogs ruhig;
    splashLaden(folder.state(), vorhanden, system, ruhig, anzeige);
    EXPECT_TRUE(ruhig.boxes().empty());
}

TEST_F(Start, OrveAccessThatCannotBeCreatedEndsTheProgram)
{
    StoerRegistry reg(standardInstallation());
    reg.gesperrteSchluessel.insert(QStringLiteral("software\\odbc\\odbc.ini\\orve-access\\engines\\jet"));
    EXPECT_EQ(beendet(reg), QStringLiteral("M ORVE-Tarifo | Der ODBC-Eintrag 'Access' konnte nicht erzeugt werden!\\r"
                                           "Tragen Sie diesen manuell ein. | OkCancel Critical"));
    EXPECT_TRUE(folder.state().Anwender.isEmpty());
}

// The name the system gives is cut at its first NUL and stored; the
// registry's fallbacks are only shown.
TEST_F(Start, UserNameFromTheSystemOrShownFromTheRegistry)
{
    struct Fall {
        const char* name;
        std::optional<QByteArray> system;
        std::vector<RegEintrag> werte;
        QString gezeigt, gespeichert;
    };
    const auto eintrag = [](const char* wert, const QString& text) {
        return textEintrag(kControl, QLatin1String(wert), text);
    };
    const std::vector<Fall> faelle = {
        {"system", QByteArray("maria\0geheim", 12), {}, QStringLiteral("maria"), QStringLiteral("maria")},
        {"CurrentUser", std::nullopt, {eintrag("CurrentUser", QStringLiteral("peter"))}, QStringLiteral("peter")},
        {"both", std::nullopt, {eintrag("CurrentUser", QStringLiteral("peter")), eintrag("Current User", QStringLiteral("maria"))},
         QStringLiteral("maria")},
        {"NUL inside", std::nullopt, {eintrag("Current User", QStringLiteral("anna") + QChar(0) + QStringLiteral("x"))},
         QStringLiteral("anna")},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        system.benutzer = f.system;
        auto eintraege = standardInstallation();
        eintraege.insert(eintraege.end(), f.werte.begin(), f.werte.end());
        SpeicherRegistry reg(eintraege);
        SplashAnzeige a;
        folder.state().Anwender.clear();
        splashLaden(folder.state(), reg, system, dialogs, a);
        EXPECT_EQ(a.Username, f.gezeigt);
        EXPECT_EQ(folder.state().Anwender, f.gespeichert);
    }
    EXPECT_TRUE(dialogs.boxes().empty());
}

TEST_F(Start, NoUserNameAnywhereEndsTheProgram)
{
    system.benutzer.reset();
    SpeicherRegistry reg = standardRegistry();
    EXPECT_EQ(beendet(reg), kBenutzerFehlt);
    EXPECT_FALSE(imProgrammordner());
}

TEST_F(Start, RegistryErrorsWhileLookingForTheUserAreShownThenTheProgramEnds)
{
    system.benutzer.reset();
    StoerRegistry reg(mit(standardInstallation(), textEintrag(kControl, QStringLiteral("Current User"), QStringLiteral("maria"))));
    AppState& state = folder.state();
    reg.lesenWirft = true;
    dialogs.answer(Answer::Ok).answer(Answer::Ok).answer(Answer::Ok);
    EXPECT_THROW(AnwenderErmitteln(state, reg, system, dialogs, anzeige), ProgramEnd);
    const QString fehler = QStringLiteral("M GenUtils/sdaGetRegEntry | 5>  Zugriff verweigert | Ok Critical");
    EXPECT_EQ(dialogs.protokoll(), QStringList({fehler, fehler, kBenutzerFehlt}));
}

TEST_F(Start, DataAccessVersionBelow28OnlyWarns)
{
    struct Fall {
        std::optional<QString> version;
        QString warnung;
        QString label2;
    };
    const std::vector<Fall> faelle = {
        {QStringLiteral("2.7"), "M ORVE-Tarifo | Die MDAC Version ist < 2.80!\\rBitte installieren Sie eine neuere Version! | Ok Critical",
         QStringLiteral("MDAC-Version: 2.7")},
        {QStringLiteral("2.8"), QString(), QStringLiteral("MDAC-Version: 2.8")},
        {std::nullopt, "M ORVE-Tarifo | Es konnte keine MDAC Installation gefunden werden!\\r"
                       "Das Programm wird vermutlich nicht laufen! | Ok Critical", QStringLiteral("MDAC-Treiber fehlen!")},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.label2.toStdString());
        system.version = f.version;
        ScriptedDialogs d;
        if (!f.warnung.isEmpty())
            d.answer(Answer::Ok);
        SpeicherRegistry reg = standardRegistry();
        SplashAnzeige a;
        splashLaden(folder.state(), reg, system, d, a);
        EXPECT_EQ(a.Label2, f.label2);
        EXPECT_EQ(d.protokoll().join(QString()), f.warnung);
        EXPECT_EQ(folder.state().Anwender, QStringLiteral("anwender")) << "the start-up went on";
    }
}

TEST_F(Start, UnreadableRegistryFileEndsTheProgramWithItsReason)
{
    folder.writeFile(QStringLiteral("Registry/HKEY_LOCAL_MACHINE.reg"), "Unsinn\n");
    dialogs.answer(Answer::Ok);
    EXPECT_THROW(registryLaden(folder.state(), dialogs), ProgramEnd);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.startsWith(QStringLiteral("Die Registry-Datei konnte nicht gelesen werden:")));

    ScriptedDialogs ruhig;
    TempProgramFolder leer;
    EXPECT_TRUE(registryLaden(leer.state(), ruhig)->eintraege().empty()) << "no file: an empty registry";
}
