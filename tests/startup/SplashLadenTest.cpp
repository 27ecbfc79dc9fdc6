#include "startup/SplashLaden.h"

#include "common/ProgramEnd.h"
#include "startup/DateiRegistry.h"
#include "startup/OdbcSchluessel.h"

#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

const QString kTreiber = QStringLiteral("SOFTWARE\\ODBC\\ODBCINST.INI\\");
const QString kControl = QStringLiteral("System\\CurrentControlSet\\Control");
const QString kKeinBenutzer =
    QStringLiteral("M ORVE-Tarifo | Aktueller User konnte nicht ermittelt werden, Programm wird beendet! | Ok Critical");

// Each test runs in a fresh program folder and restores the current
// directory afterwards (the load step changes it).
class Start : public ::testing::Test {
protected:
    void TearDown() override { QDir::setCurrent(m_vorher); }

    bool imProgrammordner() const
    {
        const bool da = QFileInfo(QDir::currentPath()).canonicalFilePath() == QFileInfo(folder.path()).canonicalFilePath();
        QDir::setCurrent(m_vorher);
        return da;
    }

    QString m_vorher = QDir::currentPath();
    TempProgramFolder folder;
    FesteSystemumgebung system;
    SplashAnzeige anzeige;
};

} // namespace

// Drivers and data sources are checked in a fixed order; the first missing
// one is named in a box and ends the program, whichever button is pressed.
TEST_F(Start, EndsAtTheFirstMissingPrerequisiteAndCreatesOrveAccessOtherwise)
{
    struct Fall {
        const char* name;
        std::vector<std::pair<QString, QString>> weg; // key, value ("": the whole key)
        std::vector<RegEintrag> dazu;
        const char* meldung;    // pattern of the box; nullptr: none, the start goes on
        bool accessDa;          // ORVE-Access listed afterwards
        size_t geschrieben = 0; // values written
        const char* gesperrt = nullptr;
    };
    const auto treiber = [](const QString& name, const char* datei) {
        return textEintrag(kTreiber + name, QStringLiteral("Driver"), QLatin1String(datei));
    };
    const auto gelistet = textEintrag(kDatenquellenListe, QStringLiteral("orve-access"), QStringLiteral("x"));
    const QString driver = QStringLiteral("Driver");
    const std::vector<Fall> faelle = {
        {"complete", {}, {}, nullptr, true, 12},
        {"ORVE-Access listed", {}, {gelistet}, nullptr, true},
        {"only German drivers", {{kTreiber + kAccessTreiber, {}}, {kTreiber + kParadoxTreiber, {}}},
         {treiber(kAccessTreiberDeutsch, "/de/odbcjt32.so"), treiber(kParadoxTreiberDeutsch, "/de/px.so")}, nullptr, true, 12},
        {"SQLite driver value", {{kTreiber + kSQLiteTreiber, driver}}, {}, "^Sie müssen zuerst die SQLite-ODBC.*'sqliteodbc.exe'", false},
        {"SQLite3 driver", {{kTreiber + kSQLite3Treiber, {}}}, {}, "^Sie müssen zuerst die SQLite3-ODBC.*'sqlite3odbc.exe'", false},
        {"SQLite data source", {{kDatenquellenListe, kSQLiteDatenquelle}}, {}, "^Es wurde kein SQLite DNS.*'sqliteodbc.exe'", false},
        {"SQLite3 data source", {{kDatenquellenListe, kSQLite3Datenquelle}}, {}, "^Es wurde kein SQLite3 DNS.*'sqlite3odbc.exe'", false},
        {"Access driver", {{kTreiber + kAccessTreiber, {}}}, {}, "^Sie müssen zuerst die MS-Access-ODBC", false},
        {"Paradox driver", {{kTreiber + kParadoxTreiber, {}}}, {}, "^Sie müssen zuerst die Paradox-ODBC", true, 12},
        {"empty Access driver value", {}, {treiber(kAccessTreiber, "")}, "^Es wurde kein Access ODBC Treiber gefunden.$", false},
        {"empty Access driver value, listed", {}, {treiber(kAccessTreiber, ""), gelistet}, nullptr, true},
        {"ORVE-Access not creatable", {}, {}, "^Der ODBC-Eintrag 'Access' konnte nicht erzeugt werden!", false, 6,
         "software\\odbc\\odbc.ini\\orve-access\\engines\\jet"},
        {"SQLite3 driver first", {{kTreiber + kParadoxTreiber, {}}, {kDatenquellenListe, {}}, {kTreiber + kSQLite3Treiber, driver}},
         {}, "^Sie müssen zuerst die SQLite3-ODBC", false},
        {"data source before Access", {{kTreiber + kAccessTreiber, {}}, {kDatenquellenListe, kSQLite3Datenquelle}}, {},
         "^Es wurde kein SQLite3 DNS", false},
    };
    for (size_t i = 0; i < faelle.size(); ++i) {
        const Fall& f = faelle[i];
        SCOPED_TRACE(f.name);
        auto eintraege = standardInstallation(QStringLiteral("/usr/lib/libsqlite3.so.0"));
        for (const auto& [key, value] : f.weg)
            eintraege = ohne(eintraege, key, value);
        eintraege.insert(eintraege.end(), f.dazu.begin(), f.dazu.end());
        TestRegistry reg(eintraege);
        if (f.gesperrt)
            reg.gesperrteSchluessel.insert(QLatin1String(f.gesperrt));
        folder.state().Anwender.clear();
        ScriptedDialogs dialogs;
        if (f.meldung) {
            dialogs.answer(i % 2 ? Answer::Ok : Answer::Cancel);
            EXPECT_THROW(splashLaden(folder.state(), reg, system, dialogs, anzeige), ProgramEnd);
            const QString box = dialogs.protokoll().value(0);
            EXPECT_TRUE(box.startsWith(QStringLiteral("M ORVE-Tarifo | ")) && box.endsWith(QStringLiteral(" | OkCancel Critical")));
            const QRegularExpression muster(QString::fromUtf8(f.meldung), QRegularExpression::DotMatchesEverythingOption);
            ASSERT_EQ(dialogs.messages().size(), 1u);
            EXPECT_TRUE(muster.match(dialogs.messages()[0].text).hasMatch()) << box.toStdString();
        } else {
            splashLaden(folder.state(), reg, system, dialogs, anzeige);
        }
        EXPECT_EQ(imProgrammordner(), !f.meldung);
        EXPECT_EQ(folder.state().Anwender.isEmpty(), f.meldung != nullptr) << "the user step runs last";
        EXPECT_EQ(DatenquelleVorhanden(reg, kAccessDatenquelle), f.accessDa);
        EXPECT_EQ(reg.protokoll().size(), f.geschrieben);
        if (f.geschrieben == 12)
            EXPECT_EQ(reg.wert(Hive::LocalMachine, kDatenquellenSchluessel + kAccessDatenquelle, driver),
                      RegWert::alsText(QLatin1String(f.dazu.empty() ? "/usr/lib/libsqlite3.so.0" : "/de/odbcjt32.so")));
        EXPECT_FALSE(DatenquelleVorhanden(reg, kParadoxDatenquelle)) << "created only at a Paradox start";
    }
}

// The name the system gives is cut at its first NUL and stored; the
// registry's names are only shown; without a name the program ends.
TEST_F(Start, UserNameFromTheSystemElseShownFromTheRegistry)
{
    struct Fall {
        const char* name;
        std::optional<QByteArray> system;
        std::vector<std::pair<const char*, QString>> werte; // below kControl
        QString gezeigt, gespeichert;
        QStringList boxen;
        bool lesenWirft = false; // reading the two values fails
    };
    const QString fehler = QStringLiteral("M GenUtils/sdaGetRegEntry | 5>  Zugriff verweigert | Ok Critical");
    const QString anna = QStringLiteral("anna") + QChar(0) + QStringLiteral("x");
    const std::vector<Fall> faelle = {
        {"system", QByteArray("maria\0geheim", 12), {{"Current User", "peter"}}, "maria", "maria"},
        {"CurrentUser", std::nullopt, {{"CurrentUser", "peter"}}, "peter", "vorher"},
        {"both", std::nullopt, {{"CurrentUser", "peter"}, {"Current User", "maria"}}, "maria", "vorher"},
        {"NUL inside", std::nullopt, {{"Current User", anna}}, "anna", "vorher"},
        {"nowhere", std::nullopt, {}, "Text2", "vorher", {kKeinBenutzer}},
        {"registry errors", std::nullopt, {{"Current User", "maria"}}, "Text2", "vorher", {fehler, fehler, kKeinBenutzer}, true},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        system.benutzer = f.system;
        auto eintraege = standardInstallation();
        for (const auto& [wert, text] : f.werte)
            eintraege.push_back(textEintrag(kControl, QLatin1String(wert), text));
        TestRegistry reg(eintraege);
        if (f.lesenWirft)
            reg.lesenWirft = {QStringLiteral("current user"), QStringLiteral("currentuser")};
        SplashAnzeige a;
        folder.state().Anwender = QStringLiteral("vorher");
        ScriptedDialogs d;
        for (qsizetype i = 0; i < f.boxen.size(); ++i)
            d.answer(Answer::Ok);
        if (f.boxen.isEmpty())
            splashLaden(folder.state(), reg, system, d, a);
        else
            EXPECT_THROW(splashLaden(folder.state(), reg, system, d, a), ProgramEnd);
        EXPECT_EQ(a.Username, f.gezeigt);
        EXPECT_EQ(folder.state().Anwender, f.gespeichert);
        EXPECT_EQ(d.protokoll(), f.boxen);
        EXPECT_EQ(imProgrammordner(), f.boxen.isEmpty());
    }
}

TEST_F(Start, DataAccessVersionBelow28OrNoneOnlyWarns)
{
    const struct { std::optional<QString> version; QString warnung, label2; } faelle[] = {
        {QStringLiteral("2.7"), "M ORVE-Tarifo | Die MDAC Version ist < 2.80!\\rBitte installieren Sie eine neuere Version! | Ok Critical",
         "MDAC-Version: 2.7"},
        {QStringLiteral("2.8"), QString(), "MDAC-Version: 2.8"},
        {std::nullopt, "M ORVE-Tarifo | Es konnte keine MDAC Installation gefunden werden!\\rDas Programm wird vermutlich nicht "
                       "laufen! | Ok Critical", "MDAC-Treiber fehlen!"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.label2.toStdString());
        system.version = f.version;
        ScriptedDialogs d;
        if (!f.warnung.isEmpty())
            d.answer(Answer::Ok);
        TestRegistry reg = standardRegistry();
        splashLaden(folder.state(), reg, system, d, anzeige);
        EXPECT_EQ(anzeige.Label2, f.label2);
        EXPECT_EQ(d.protokoll().join(QString()), f.warnung);
        EXPECT_TRUE(imProgrammordner()) << "the start-up went on";
    }
}

TEST_F(Start, UnreadableRegistryFileEndsTheProgramWithItsReason)
{
    ScriptedDialogs dialogs;
    EXPECT_FALSE(registryLaden(folder.state(), dialogs)->oeffnen(Hive::LocalMachine, QStringLiteral("SOFTWARE")))
        << "no file: an empty registry";
    folder.writeFile(QStringLiteral("Registry/HKEY_LOCAL_MACHINE.reg"), "Unsinn\n");
    dialogs.answer(Answer::Ok);
    EXPECT_THROW(registryLaden(folder.state(), dialogs), ProgramEnd);
    EXPECT_TRUE(dialogs.protokoll().value(0).startsWith(QStringLiteral("M ORVE-Tarifo | Die Registry-Datei konnte nicht gelesen werden:")));
}
