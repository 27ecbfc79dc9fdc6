#include "startup/SplashLaden.h"

#include "common/ProgramEnd.h"
#include "startup/DateiRegistry.h"
#include "startup/OdbcSchluessel.h"

#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

const QString kAccessKey = kDatenquellenSchluessel + kAccessDatenquelle;
const QString kControl = QStringLiteral("System\\CurrentControlSet\\Control");
const QString kBenutzerFehlt =
    QStringLiteral("M ORVE-Tarifo | Aktueller User konnte nicht ermittelt werden, Programm wird beendet! | Ok Critical");

// Each test runs in a fresh program folder and restores the current
// directory afterwards (the load step changes it).
class Start : public ::testing::Test {
protected:
    void TearDown() override { QDir::setCurrent(m_vorher); }

    void laden(Registry& reg) { splashLaden(folder.state(), reg, system, dialogs, anzeige); }

    // Runs the load step expecting it to end the program after one box; that box.
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
    std::vector<std::pair<QString, QString>> entfernt; // key, value ("": the whole key)
    const char* meldung;                               // how the message starts
    const char* aufruf;                                // the installer it names, if any
    bool accessAngelegt;                               // the data source step ran before
};

class FehlendeVoraussetzung : public Start, public ::testing::WithParamInterface<FehlenderEintrag> {};

TEST_P(FehlendeVoraussetzung, EndsWithItsMessageAndRunsNothingLater)
{
    const auto& f = GetParam();
    auto eintraege = standardInstallation();
    for (const auto& [key, value] : f.entfernt)
        eintraege = ohne(eintraege, key, value);
    TestRegistry reg(eintraege);

    const QString box = beendet(reg, f.accessAngelegt ? Answer::Ok : Answer::Cancel);
    EXPECT_TRUE(box.startsWith(QStringLiteral("M ORVE-Tarifo | ") + QString::fromUtf8(f.meldung))) << box.toStdString();
    EXPECT_TRUE(box.endsWith(QStringLiteral(" | OkCancel Critical")));
    if (f.aufruf)
        EXPECT_TRUE(box.contains(QStringLiteral("die Datei '%1'").arg(QLatin1String(f.aufruf)))) << box.toStdString();

    EXPECT_EQ(DatenquelleVorhanden(reg, kAccessDatenquelle), f.accessAngelegt);
    EXPECT_TRUE(folder.state().Anwender.isEmpty()) << "the user step did not run";
    EXPECT_FALSE(imProgrammordner());
    EXPECT_EQ(anzeige.Label2, QStringLiteral("MDAC-Version: 3.40.1")) << "the data-access check ran first";
}

const QString kOdbcTreiber = QStringLiteral("SOFTWARE\\ODBC\\ODBCINST.INI\\");

INSTANTIATE_TEST_SUITE_P(
    Reihenfolge, FehlendeVoraussetzung,
    ::testing::Values(
        FehlenderEintrag{"SQLiteDriverValue", {{kOdbcTreiber + kSQLiteTreiber, QStringLiteral("Driver")}},
                         "Sie müssen zuerst die SQLite-ODBC Treiber", "sqliteodbc.exe", false},
        FehlenderEintrag{"SQLite3DriverKey", {{kOdbcTreiber + kSQLite3Treiber, QString()}},
                         "Sie müssen zuerst die SQLite3-ODBC Treiber", "sqlite3odbc.exe", false},
        FehlenderEintrag{"SQLiteDataSource", {{kDatenquellenListe, kSQLiteDatenquelle}},
                         "Es wurde kein SQLite DNS Eintrag gefunden.\\r\\rTragen Sie diesen bitte manuell mit der "
                         "Bezeichnung 'SQLite Datasource' ein!\\roder wiederholen Sie die SQLite Installation!",
                         "sqliteodbc.exe", false},
        FehlenderEintrag{"SQLite3DataSource", {{kDatenquellenListe, kSQLite3Datenquelle}},
                         "Es wurde kein SQLite3 DNS Eintrag gefunden.\\r\\rTragen Sie diesen bitte manuell mit der "
                         "Bezeichnung 'SQLite3 Datasource' ein!\\roder wiederholen Sie die SQLite3 Installation!",
                         "sqlite3odbc.exe", false},
        FehlenderEintrag{"AccessDriver", {{kOdbcTreiber + kAccessTreiber, QString()}},
                         "Sie müssen zuerst die MS-Access-ODBC Treiber\\r(=MDAC-Treiber", nullptr, false},
        FehlenderEintrag{"ParadoxDriver", {{kOdbcTreiber + kParadoxTreiber, QString()}},
                         "Sie müssen zuerst die Paradox-ODBC Treiber\\r(=MDAC-Treiber", nullptr, true},
        // Several parts missing: the SQLite drivers come first, then the
        // data sources, then Access, then Paradox.
        FehlenderEintrag{"SQLite3DriverBeforeParadoxAndDataSources",
                         {{kOdbcTreiber + kParadoxTreiber, QString()}, {kDatenquellenListe, QString()},
                          {kOdbcTreiber + kSQLite3Treiber, QStringLiteral("Driver")}},
                         "Sie müssen zuerst die SQLite3-ODBC Treiber", nullptr, false},
        FehlenderEintrag{"DataSourceBeforeAccess",
                         {{kOdbcTreiber + kAccessTreiber, QString()}, {kDatenquellenListe, kSQLite3Datenquelle}},
                         "Es wurde kein SQLite3 DNS Eintrag", nullptr, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Start, CompleteMachineCreatesOrveAccessWithoutAnyMessage)
{
    TestRegistry reg(standardInstallation(QStringLiteral("/usr/lib/libsqlite3.so.0")));
    laden(reg);
    EXPECT_EQ(reg.wert(Hive::LocalMachine, kAccessKey, QStringLiteral("Driver")),
              RegWert::alsText(QStringLiteral("/usr/lib/libsqlite3.so.0")));
    EXPECT_TRUE(DatenquelleVorhanden(reg, kAccessDatenquelle));
    EXPECT_FALSE(DatenquelleVorhanden(reg, kParadoxDatenquelle)) << "created only at a Paradox start";

    EXPECT_EQ(folder.state().Anwender, QStringLiteral("anwender"));
    EXPECT_TRUE(imProgrammordner());
    EXPECT_EQ(anzeige.Username, QStringLiteral("anwender"));
    EXPECT_EQ(anzeige.lblProductName, QStringLiteral("ORVE-Tarifo"));
    EXPECT_EQ(anzeige.lblVersion, QStringLiteral("Version: 2.0.1"));
    EXPECT_TRUE(anzeige.Text1.startsWith(QStringLiteral("Auswertung der Telefonkosten")));
    EXPECT_TRUE(anzeige.lblCopyright.startsWith(QStringLiteral("Copyright")));
}

TEST_F(Start, ListedOrveAccessIsNotWrittenAgain)
{
    TestRegistry reg(mit(standardInstallation(), textEintrag(kDatenquellenListe, QStringLiteral("orve-access"), QStringLiteral("x"))));
    laden(reg);
    EXPECT_TRUE(reg.protokoll().empty());
}

TEST_F(Start, OnlyTheGermanDriversAreAcceptedAndTheAccessFileUsed)
{
    auto eintraege = ohne(ohne(standardInstallation(), kOdbcTreiber + kAccessTreiber), kOdbcTreiber + kParadoxTreiber);
    eintraege.push_back(textEintrag(kOdbcTreiber + kAccessTreiberDeutsch, QStringLiteral("Driver"), QStringLiteral("/de/odbcjt32.so")));
    eintraege.push_back(textEintrag(kOdbcTreiber + kParadoxTreiberDeutsch, QStringLiteral("Driver"), QStringLiteral("/de/px.so")));
    TestRegistry reg(eintraege);
    laden(reg);
    EXPECT_EQ(reg.wert(Hive::LocalMachine, kAccessKey, QStringLiteral("Driver")), RegWert::alsText(QStringLiteral("/de/odbcjt32.so")));
    EXPECT_EQ(reg.wert(Hive::LocalMachine, kDatenquellenListe, kAccessDatenquelle), RegWert::alsText(kAccessTreiber));
}

TEST_F(Start, EmptyAccessDriverValueEndsOnlyWhenTheDataSourceMustBeCreated)
{
    const auto leer = mit(standardInstallation(), textEintrag(kOdbcTreiber + kAccessTreiber, QStringLiteral("Driver"), QString()));
    TestRegistry reg(leer);
    EXPECT_EQ(beendet(reg), QStringLiteral("M ORVE-Tarifo | Es wurde kein Access ODBC Treiber gefunden. | OkCancel Critical"));
    EXPECT_TRUE(reg.protokoll().empty());

    TestRegistry vorhanden(mit(leer, textEintrag(kDatenquellenListe, kAccessDatenquelle, QStringLiteral("x"))));
    ScriptedDialogs ruhig;
    splashLaden(folder.state(), vorhanden, system, ruhig, anzeige);
}

TEST_F(Start, OrveAccessThatCannotBeCreatedEndsTheProgram)
{
    TestRegistry reg(standardInstallation());
    reg.gesperrteSchluessel.insert(QStringLiteral("software\\odbc\\odbc.ini\\orve-access\\engines\\jet"));
    EXPECT_EQ(beendet(reg), QStringLiteral("M ORVE-Tarifo | Der ODBC-Eintrag 'Access' konnte nicht erzeugt werden!\\r"
                                           "Tragen Sie diesen manuell ein. | OkCancel Critical"));
    EXPECT_TRUE(folder.state().Anwender.isEmpty());
}

// The name the system gives is cut at its first NUL and stored; the
// registry's names are only shown; without a name the program ends.
TEST_F(Start, UserNameFromTheSystemElseShownFromTheRegistry)
{
    struct Fall {
        const char* name;
        std::optional<QByteArray> system;
        std::vector<RegEintrag> werte;
        QString gezeigt, gespeichert;
        QStringList boxen;
        bool lesenWirft = false;
    };
    const auto eintrag = [](const char* wert, const QString& text) { return textEintrag(kControl, QLatin1String(wert), text); };
    const QString fehler = QStringLiteral("M GenUtils/sdaGetRegEntry | 5>  Zugriff verweigert | Ok Critical");
    const std::vector<Fall> faelle = {
        {"system", QByteArray("maria\0geheim", 12), {eintrag("Current User", QStringLiteral("peter"))}, QStringLiteral("maria"), QStringLiteral("maria")},
        {"CurrentUser", std::nullopt, {eintrag("CurrentUser", QStringLiteral("peter"))}, QStringLiteral("peter"), QStringLiteral("vorher")},
        {"both", std::nullopt, {eintrag("CurrentUser", QStringLiteral("peter")), eintrag("Current User", QStringLiteral("maria"))},
         QStringLiteral("maria"), QStringLiteral("vorher")},
        {"NUL inside", std::nullopt, {eintrag("Current User", QStringLiteral("anna") + QChar(0) + QStringLiteral("x"))},
         QStringLiteral("anna"), QStringLiteral("vorher")},
        {"nowhere", std::nullopt, {}, QStringLiteral("Text2"), QStringLiteral("vorher"), {kBenutzerFehlt}},
        {"registry errors", std::nullopt, {eintrag("Current User", QStringLiteral("maria"))}, QStringLiteral("Text2"),
         QStringLiteral("vorher"), {fehler, fehler, kBenutzerFehlt}, true},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        system.benutzer = f.system;
        auto eintraege = standardInstallation();
        eintraege.insert(eintraege.end(), f.werte.begin(), f.werte.end());
        TestRegistry reg(eintraege);
        if (f.lesenWirft)
            reg.lesenWirft = {QStringLiteral("current user"), QStringLiteral("currentuser")};
        SplashAnzeige a;
        folder.state().Anwender = QStringLiteral("vorher");
        ScriptedDialogs d;
        for (int i = 0; i < f.boxen.size(); ++i)
            d.answer(Answer::Ok);
        if (f.boxen.isEmpty())
            splashLaden(folder.state(), reg, system, d, a);
        else
            EXPECT_THROW(splashLaden(folder.state(), reg, system, d, a), ProgramEnd);
        EXPECT_EQ(a.Username, f.gezeigt);
        EXPECT_EQ(folder.state().Anwender, f.gespeichert);
        EXPECT_EQ(d.protokoll(), f.boxen);
        EXPECT_EQ(imProgrammordner(), f.boxen.isEmpty());
        QDir::setCurrent(m_vorher);
    }
}

TEST_F(Start, DataAccessVersionBelow28OrNoneOnlyWarns)
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
        TestRegistry reg = standardRegistry();
        SplashAnzeige a;
        splashLaden(folder.state(), reg, system, d, a);
        EXPECT_EQ(a.Label2, f.label2);
        EXPECT_EQ(d.protokoll().join(QString()), f.warnung);
        EXPECT_EQ(folder.state().Anwender, QStringLiteral("anwender")) << "the start-up went on";
    }
}

TEST_F(Start, UnreadableRegistryFileEndsTheProgramWithItsReason)
{
    ScriptedDialogs ruhig;
    TempProgramFolder leer;
    const auto reg = registryLaden(leer.state(), ruhig); // no file: an empty registry
    EXPECT_FALSE(reg->oeffnen(Hive::LocalMachine, QStringLiteral("SOFTWARE")));

    folder.writeFile(QStringLiteral("Registry/HKEY_LOCAL_MACHINE.reg"), "Unsinn\n");
    dialogs.answer(Answer::Ok);
    EXPECT_THROW(registryLaden(folder.state(), dialogs), ProgramEnd);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages()[0].text.startsWith(QStringLiteral("Die Registry-Datei konnte nicht gelesen werden:")));
}
