#include "startup/DateiRegistry.h"
#include "startup/Installation.h"
#include "startup/OdbcDatenquellen.h"
#include "startup/OdbcSchluessel.h"
#include "startup/SplashLaden.h"
#include "startup/frmSplash.h"

#include "common/ProgramEnd.h"

#include "DateiGroessenGrenze.h"
#include "OhneRootRechte.h"
#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"
#include "SourceBuilders.h"
#include "TempProgramFolder.h"
#include "WidgetTexte.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <SQLiteCpp/SQLiteCpp.h>

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

const Hive hklm = Hive::LocalMachine;
const QString kOdbc = "SOFTWARE\\ODBC\\ODBC.INI\\ORVE-Access";
const QString kRegDatei = "Registry/HKEY_LOCAL_MACHINE.reg";
const QString kControl = "System\\CurrentControlSet\\Control";

QString quelle(const QString& dsn, const QString& pfad) // as the data-source dialog builds it
{
    return "Provider=MSDASQL.1;Persist Security Info=False;Mode=ReadWrite;Extended Properties=DSN=" + dsn
           + ";Database=" + pfad + ";Threaded=0;Timeout=;NoWCHAR=0";
}

// A fresh program folder per test; the current directory, which the load step changes, is restored.
class Start : public ::testing::Test {
protected:
    void TearDown() override { QDir::setCurrent(m_vorher); }

    // Runs the load step on reg with a fresh display; false when it ended the program.
    bool laden(Dialogs& d)
    try {
        anzeige = SplashAnzeige();
        splashLaden(folder.state(), reg, system, d, anzeige);
        return true;
    } catch (const ProgramEnd&) {
        return false;
    }

    QString m_vorher = QDir::currentPath();
    TempProgramFolder folder;
    FesteSystemumgebung system;
    SplashAnzeige anzeige;
    TestRegistry reg = standardRegistry();
    ScriptedDialogs dialogs;
};

} // namespace

// What the program writes comes back from its file, in the form regedit reads; what the program cannot read of the
// file stays as it was. The memory registry: names ignore case, a key closes once, only a handle for writing writes.
TEST(DateiRegistry, EveryWriteIsInTheFileAsRegeditWritesItAndNamesIgnoreCase)
{
    TestRegistry speicher({textEintrag(kOdbc, "Driver", "/lib/a.so")});
    const auto k = speicher.oeffnen(hklm, "software\\odbc\\odbc.ini\\orve-access\\");
    ASSERT_TRUE(k);
    EXPECT_EQ(speicher.wertLesen(*k, "DRIVER"), RegWert::alsText("/lib/a.so"));
    EXPECT_FALSE(speicher.wertSetzen(*k, "y", RegWert::alsZahl(2))) << "opened for reading only";
    EXPECT_TRUE(speicher.schliessen(*k));
    EXPECT_FALSE(speicher.schliessen(*k)) << "a key closes once";
    const auto w = speicher.anlegen(hklm, kOdbc);
    ASSERT_TRUE(w && speicher.wertSetzen(*w, "x", RegWert::alsText("1")));
    EXPECT_TRUE(speicher.wertSetzen(*w, "X", RegWert::alsZahl(7))) << "same value, other spelling";
    EXPECT_EQ(speicher.wert(hklm, kOdbc, "x"), RegWert::alsZahl(7));
    TempProgramFolder p;
    const QByteArray fremd = "[HKEY_LOCAL_MACHINE\\A]\r\n\"Bin\"=hex:01,02,\\\r\n  03\r\nkaputte Zeile\r\n\r\n"
                             "[HKEY_CURRENT_USER\\B]\r\n\"U\"=\"u\"\r\n";
    p.writeFile(kRegDatei, "Windows Registry Editor Version 5.00\r\n\r\n" + fremd);
    const QString weg = "SOFTWARE\\Weg \"mit\" Zeichen";
    const std::vector<RegEintrag> eintraege = {
        textEintrag(weg, "Na\\me \"zitiert\"", "C:\\Pfad\\\"x\"\\"),
        textEintrag(weg, QString(), "Standardwert"),
        RegEintrag {hklm, kOdbc, "DriverId", RegWert::alsZahl(25)},
        RegEintrag {hklm, kOdbc, "Groß", RegWert::alsZahl(0xFFFFFFFFu)},
        textEintrag(kOdbc, "UID", QString()),
        textEintrag(kOdbc, "Mehrzeilig", "a\r\nb\nc"),
        textEintrag(kOdbc, "Umlaute", "ODBC Eintrag für ORVE Programme"),
    };
    DateiRegistry reg(p.file(kRegDatei));
    for (const auto& e : eintraege) {
        const auto s = reg.anlegen(hklm, e.schluessel);
        ASSERT_TRUE(s && reg.wertSetzen(*s, e.name, e.wert));
        reg.schliessen(*s);
    }
    EXPECT_FALSE(reg.anlegen(Hive::CurrentUser, "X"));
    EXPECT_FALSE(reg.oeffnen(Hive::CurrentUser, QString()));
    DateiRegistry wieder(p.file(kRegDatei));
    for (const auto& e : eintraege)
        EXPECT_EQ(wert(wieder, hklm, e.schluessel, e.name), e.wert) << e.name.toStdString();

    const QByteArray text = p.readFile(kRegDatei);
    EXPECT_TRUE(text.startsWith("Windows Registry Editor Version 5.00\r\n"));
    for (const char* teil :
         {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\ORVE-Access]\r\n", "\"DriverId\"=dword:00000019\r\n",
          "\"Na\\\\me \\\"zitiert\\\"\"=\"C:\\\\Pfad\\\\\\\"x\\\"\\\\\"\r\n", "@=\"Standardwert\"",
          "[HKEY_CURRENT_USER\\B]\r\n\"U\"=\"u\"\r\n"})
        EXPECT_TRUE(text.contains(teil)) << teil;
    EXPECT_LT(text.indexOf("[HKEY_LOCAL_MACHINE\\SOFTWARE]"), text.indexOf("[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC]"));
    EXPECT_TRUE(text.contains(fremd.left(fremd.indexOf("[HKEY_CURRENT"))))
        << "binary value and unreadable line kept";
}

TEST(DateiRegistry, ReadsHandWrittenAndForeignExports)
{
    const QString utf16Text =
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"D\"=\"/usr/lib/x.so\"\r\n";
    const QByteArray utf16 =
        "\xFF\xFE" + QByteArray(reinterpret_cast<const char*>(utf16Text.utf16()), utf16Text.size() * 2);
    const struct {
        const char* name;
        QByteArray inhalt;
        std::optional<RegWert> d;
    } faelle[] = {
        // value "D" of key "A"
        {"LF line ends, blanks and comments",
         "\n\nWindows Registry Editor Version 5.00\n; Kommentar\n[HKEY_LOCAL_MACHINE\\A]\n"
         "  \"D\" = \"/x.so\"  \n",
         RegWert::alsText("/x.so")},
        {"UTF-16 as regedit exports", utf16, RegWert::alsText("/usr/lib/x.so")},
        {"Windows-1252", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"D\"=\"f\xFCr\"\r\n", RegWert::alsText("für")},
        {"hex(4) on two lines", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"D\"=hex(4):19,00,\\\r\n  00,00\r\n",
         RegWert::alsZahl(25)},
        {"deleted value", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"D\"=\"1\"\r\n\"D\"=-\r\n", std::nullopt},
        {"binary value", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"D\"=hex:01,02\r\n", std::nullopt},
        {"blank file", "  \r\n", std::nullopt},
    };
    TempProgramFolder p;
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        p.writeFile(kRegDatei, f.inhalt);
        DateiRegistry reg(p.file(kRegDatei));
        EXPECT_EQ(wert(reg, hklm, "A", "D"), f.d);
    }
    p.writeFile(kRegDatei, "[HKEY_LOCAL_MACHINE\\A]\r\n\"D\"=\"1\"\r\n");
    EXPECT_THROW(DateiRegistry(p.file(kRegDatei)), RegistryFehler) << "no header";
}

// A program folder an administrator installed: the registry file is
// writable, its folder takes no new (temporary) file.
TEST(DateiRegistry, AWritableFileInAFolderWithoutWritePermissionIsWrittenInPlaceOrLeftAsItWas)
{
    ORVE_NUR_POSIX("Ordnerrechte für einen anderen Benutzer, Dateigrößengrenze");
    TempProgramFolder p;
    p.writeFile(kRegDatei, SpeicherRegistry(standardInstallation()).alsRegDatei());
    const auto rx = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther;
    const auto rw =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther | QFileDevice::WriteOther;
    ASSERT_TRUE(QFile::setPermissions(p.path(), rx | QFileDevice::WriteOwner)
                && QFile::setPermissions(p.file("Registry"), rx) && QFile::setPermissions(p.file(kRegDatei), rw));
    EXPECT_TRUE(ohneRootRechte([&] {
        DateiRegistry reg(p.file(kRegDatei));
        const auto s = reg.anlegen(hklm, kOdbc);
        return s && reg.wertSetzen(*s, "DriverId", RegWert::alsZahl(25));
    }));
    QFile::setPermissions(p.file("Registry"), rx | QFileDevice::WriteOwner);
    DateiRegistry wieder(p.file(kRegDatei));
    EXPECT_EQ(wert(wieder, hklm, kOdbc, "DriverId"), RegWert::alsZahl(25));

    // A write that fails leaves the old file and undoes the change.
    const QByteArray vorher = p.readFile(kRegDatei);
    DateiRegistry reg(p.file(kRegDatei));
    const auto s = reg.anlegen(hklm, "SOFTWARE\\ODBC\\ODBC.INI");
    ASSERT_TRUE(s);
    {
        DateiGroessenGrenze grenze(vorher.size()); // the larger file stops half-way
        EXPECT_FALSE(reg.wertSetzen(*s, "Neu", RegWert::alsText(QString(500, 'x'))));
        EXPECT_FALSE(reg.anlegen(hklm, "SOFTWARE\\Ganz\\" + QString(500, 'k')));
    }
    EXPECT_EQ(p.readFile(kRegDatei), vorher);
    EXPECT_FALSE(wert(reg, hklm, "SOFTWARE\\ODBC\\ODBC.INI", "Neu"));
    EXPECT_FALSE(reg.oeffnen(hklm, "SOFTWARE\\Ganz"));
    EXPECT_TRUE(reg.wertSetzen(*s, "Neu", RegWert::alsText("klein"))) << "works again";
}

// The SQLite library serves the SQLite and Access drivers, the program
// itself the Paradox driver; the program's own data sources are left to it.
TEST(Installation, WritesTheFileOnceNamingEachDriversFileAndReportsAFolderItCannotMake)
{
    TempProgramFolder p;
    const QString datei = p.file("neu/" + kRegDatei);
    ASSERT_TRUE(installationSchreiben(datei, "/lib/libsqlite3.so.0", "/opt/orve"));
    DateiRegistry reg(datei);
    for (const QString& t : {kSQLiteTreiber, kSQLite3Treiber, kAccessTreiber, kParadoxTreiber})
        EXPECT_EQ(wert(reg, hklm, kTreiberSchluessel + t, "Driver"),
                  RegWert::alsText(t == kParadoxTreiber ? "/opt/orve" : "/lib/libsqlite3.so.0"));
    EXPECT_FALSE(DatenquelleVorhanden(reg, kAccessDatenquelle) || DatenquelleVorhanden(reg, kParadoxDatenquelle));

    ASSERT_TRUE(AccessDatenquelleAnlegen(reg, "/lib/libsqlite3.so.0", kAccessDatenquelle, 0));
    const QByteArray mitAccess = p.readFile("neu/" + kRegDatei);
    ASSERT_TRUE(installationSchreiben(datei, "/anders.so", "/anders"));
    EXPECT_EQ(p.readFile("neu/" + kRegDatei), mitAccess) << "the user's entries survive the next build";

    p.writeFile("datei", "x");
    QString fehler;
    EXPECT_FALSE(installationSchreiben(p.file("datei/Registry/x.reg"), "/a", "/b", &fehler));
    EXPECT_TRUE(fehler.contains("kann nicht angelegt werden")) << fehler.toStdString();
}

// Driver file and data-source entry are read through a buffer of 255 bytes
// with the terminating NUL; the text ends at its first NUL.
TEST(RegistryLesen, TreiberSuchenFindsWhatFitsTheBufferAndSdaGetRegEntryReadsTextsWithTheirNul)
{
    const QString lang(254, 'd');
    const struct {
        const char* name;
        RegWert wert;
        bool gefunden;
        QString datei;
        bool lesenWirft = false;
    } faelle[] = {
        {"cut at NUL", RegWert::alsText(QString("/a.so") + QChar(0) + "rest"), true, "/a.so"},
        {"254 bytes fit", RegWert::alsText(lang), true, lang},
        {"255 bytes do not", RegWert::alsText(lang + 'd'), false, "vorher"},
        {"a number: no text", RegWert::alsZahl(7), true, QString()},
        {"read error", RegWert::alsText("/a.so"), false, "vorher", true},
    };
    for (const auto& f : faelle) { // the value as the driver's file and as the list entry "Q"
        SCOPED_TRACE(f.name);
        TestRegistry reg({{hklm, kTreiberSchluessel + kSQLiteTreiber, "Driver", f.wert},
                          {hklm, kDatenquellenListe, "Q", f.wert}});
        if (f.lesenWirft)
            reg.lesenWirft = {"driver", "q"};
        QString datei = "vorher";
        EXPECT_EQ(TreiberSuchen(reg, kSQLiteTreiber, datei), f.gefunden);
        EXPECT_EQ(datei, f.datei);
        EXPECT_EQ(DatenquelleVorhanden(reg, "Q"), f.gefunden);
        EXPECT_EQ(reg.offeneSchluessel(), 0);
    }
    // The registry read of the user look-up: a text with its NUL, a number as its
    // bytes; what cannot be read is empty, an error is shown.
    const struct {
        const char* hive;
        QString key;
        const char* value;
        QString erwartet;
        int typ;
    } lesen[] = {
        {"HKEY_LOCAL_MACHINE", kControl, "Current User", QString("maria") + QChar(0), 1},
        {"HKEY_LOCAL_MACHINE", kControl, "Zahl", QString("ABC") + QChar(0), 4},
        {"HKEY_LOCAL_MACHINE", kControl, "Fehlt", QString(), 0},
        {"HKEY_LOCAL_MACHINE", "System\\Fehlt", "Current User", QString(), 99},
        {"HKEY_CURRENT_USER", kControl, "Current User", QString(), 99},
        {"hkey_local_machine", kControl, "Current User", QString(), 99},
        {"HKEY_LOCAL_MACHINE", kControl, "Gesperrt", QString(), -1}, // with a box
    };
    for (const auto& f : lesen) {
        SCOPED_TRACE(std::string(f.hive) + " " + f.value);
        TestRegistry reg({textEintrag(kControl, "Current User", "maria"),
                          textEintrag(kControl, "Gesperrt", "x"),
                          {hklm, kControl, "Zahl", RegWert::alsZahl(0x00434241)}});
        reg.lesenWirft = {"gesperrt"};
        ScriptedDialogs d;
        if (f.typ == -1)
            d.answer(Answer::Ok);
        int typ = 99;
        EXPECT_EQ(sdaGetRegEntry(reg, d, f.hive, f.key, f.value, typ), f.erwartet);
        EXPECT_EQ(typ, f.typ);
        EXPECT_EQ(d.protokoll().join(""),
                  f.typ == -1 ? "M GenUtils/sdaGetRegEntry | 5>  Zugriff verweigert | Ok Critical" : "");
        EXPECT_EQ(reg.offeneSchluessel(), 0);
    }
}

// A source opens read-only, never creating its file, except the local database. Its driver file is the source's own
// "Driver" value, else that of the driver its list entry names; a file that is gone means not installed.
TEST(OdbcDatenquellen, OpensWhatTheDriverManagerWouldOpen)
{
    TempProgramFolder folder;
    const QString bill = folder.file("x;Modus=y/bill;.db"), fehlt = folder.file("fehlt.db"); // separators
    QDir().mkpath(folder.file("x;Modus=y"));
    schreibeSqliteBill(bill, {StdbillAnruf {}});
    folder.writeFile("kein.db", "Dies ist eine Textdatei und keine Datenbank, auch wenn sie so heißt.\n");
    const QString quellKey = kDatenquellenSchluessel + kSQLite3Datenquelle;
    const auto standard = standardInstallation(), ohneQuellTreiber = ohne(standard, quellKey, "Driver");
    auto wegTreiber = standard; // a later entry replaces an earlier one of the same place
    wegTreiber.push_back(textEintrag(quellKey, "Driver", folder.file("weg/x.so")));
    const struct {
        std::vector<RegEintrag> reg;
        QString verbindung;
        const char* fehler;
    } faelle[] = {
        {standard, quelle("Fremde Quelle", bill), "'Fremde Quelle' ist nicht eingetragen"},
        {standard, "Database=" + bill, "keine ODBC-Datenquelle"},
        {standard, quelle(kSQLite3Datenquelle, QString()), "keine Datenbankdatei"},
        {standard, quelle(kSQLite3Datenquelle, folder.path()), "keine Datei"},
        {standard, quelle(kSQLite3Datenquelle, folder.file("kein.db")), "ist keine SQLite-Datenbank."},
        {standard, quelle(kSQLiteDatenquelle, fehlt), "nicht gefunden"},
        {standard, quelle(kSQLite3Datenquelle, bill), nullptr},
        {standard, "dsn=" + kSQLite3Datenquelle + ";dbq=" + bill + ";", nullptr},
        {ohneQuellTreiber, quelle(kSQLite3Datenquelle, bill), nullptr},
        {ohne(ohneQuellTreiber, kTreiberSchluessel + kSQLite3Treiber, "Driver"), quelle(kSQLite3Datenquelle, bill),
         "Treiber der Datenquelle 'SQLite3 Datasource' ist nicht installiert"},
        {wegTreiber, quelle(kSQLite3Datenquelle, bill), "nicht installiert"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.verbindung.toStdString());
        TestRegistry reg(f.reg);
        if (f.fehler) {
            EXPECT_FEHLER(OdbcDatenquellen(reg).oeffnen(f.verbindung), f.fehler);
            continue;
        }
        auto db = OdbcDatenquellen(reg).oeffnen(f.verbindung);
        ASSERT_TRUE(db);
        EXPECT_EQ(db->execAndGet("SELECT count(*) FROM stdbill").getInt(), 1);
        EXPECT_THROW(db->exec("INSERT INTO stdbill (number) VALUES ('x')"), SQLite::Exception) << "read-only";
    }
    EXPECT_FALSE(QFile::exists(fehlt));
    // The local data source opens the local database for writing, creating it.
    TestRegistry reg = standardRegistry();
    ASSERT_TRUE(AccessDatenquelleAnlegen(reg, QCoreApplication::applicationFilePath(), kAccessDatenquelle, 0));
    auto db = OdbcDatenquellen(reg).oeffnen(lokaleVerbindung(folder.state().programmOrdner, 0));
    ASSERT_TRUE(db);
    EXPECT_TRUE(folder.exists("Datenbank/Bill.sqlite"));
    db->exec("INSERT INTO bill (time) VALUES ('x')");
}

// Drivers and data sources are checked in a fixed order; the first missing
// one is named in a box and ends the program, whichever button is pressed.
TEST_F(Start, EndsAtTheFirstMissingPrerequisiteAndCreatesOrveAccessOtherwise)
{
    const QString sqlite = kTreiberSchluessel + kSQLiteTreiber, sqlite3 = kTreiberSchluessel + kSQLite3Treiber,
                  access = kTreiberSchluessel + kAccessTreiber, paradox = kTreiberSchluessel + kParadoxTreiber,
                  driver = "Driver", liste = kDatenquellenListe, zuerst = "Sie müssen zuerst die ",
                  kein = "Es wurde kein ";
    const auto treiber = [](const QString& t, const char* datei) {
        return textEintrag(kTreiberSchluessel + t, "Driver", datei);
    };
    const auto gelistet = textEintrag(kDatenquellenListe, "orve-access", "x"), leer = treiber(kAccessTreiber, "");
    const std::vector<RegEintrag> deutsch = {treiber(kAccessTreiberDeutsch, "/de/odbcjt32.so"),
                                             treiber(kParadoxTreiberDeutsch, "/de/px.so")};
    struct Fall {
        const char* name;
        QString meldung;                // start of the box text; empty: none, the start goes on
        size_t geschrieben;             // values written, 12 when ORVE-Access was created
        const char* gesperrt = nullptr; // a key (with a backslash) or value that cannot be written
        std::vector<std::pair<QString, QString>> weg = {}; // key, value ("": the whole key)
        std::vector<RegEintrag> dazu = {};
    };
    const Fall faelle[] = {
        {"complete", {}, 12},
        {"ORVE-Access listed", {}, 0, nullptr, {}, {gelistet}},
        {"only German drivers", {}, 12, nullptr, {{access, {}}, {paradox, {}}}, deutsch},
        {"SQLite driver value", zuerst + "SQLite-ODBC.*'sqliteodbc.exe'", 0, nullptr, {{sqlite, driver}}},
        {"SQLite3 driver", zuerst + "SQLite3-ODBC.*'sqlite3odbc.exe'", 0, nullptr, {{sqlite3, {}}}},
        {"SQLite DSN", kein + "SQLite DNS.*'sqliteodbc.exe'", 0, nullptr, {{liste, kSQLiteDatenquelle}}},
        {"SQLite3 DSN", kein + "SQLite3 DNS.*'sqlite3odbc.exe'", 0, nullptr, {{liste, kSQLite3Datenquelle}}},
        {"Access driver", zuerst + "MS-Access-ODBC", 0, nullptr, {{access, {}}}},
        {"Paradox driver", zuerst + "Paradox-ODBC", 12, nullptr, {{paradox, {}}}},
        {"empty Access driver value", kein + "Access ODBC Treiber gefunden", 0, nullptr, {}, {leer}},
        {"empty Access driver value, listed", {}, 0, nullptr, {}, {leer, gelistet}},
        {"ORVE-Access key not creatable", "Der ODBC-Eintrag 'Access' konnte nicht erzeugt werden!", 6,
         "software\\odbc\\odbc.ini\\orve-access\\engines\\jet"},
        {"ORVE-Access driver not writable", "Der ODBC-Eintrag 'Access'", 2, "driver"},
        {"ORVE-Access not listable", "Der ODBC-Eintrag 'Access'", 11, "orve-access"},
        {"SQLite3 first", zuerst + "SQLite3-ODBC", 0, nullptr, {{paradox, {}}, {liste, {}}, {sqlite3, driver}}},
        {"DSN before Access", kein + "SQLite3 DNS", 0, nullptr, {{access, {}}, {liste, kSQLite3Datenquelle}}},
    };
    for (size_t i = 0; i < std::size(faelle); ++i) {
        const Fall& f = faelle[i];
        SCOPED_TRACE(f.name);
        auto eintraege = standardInstallation("/usr/lib/libsqlite3.so.0");
        for (const auto& [key, value] : f.weg)
            eintraege = ohne(eintraege, key, value);
        eintraege.insert(eintraege.end(), f.dazu.begin(), f.dazu.end());
        reg = TestRegistry(eintraege);
        if (f.gesperrt)
            (QString(f.gesperrt).contains('\\') ? reg.gesperrteSchluessel : reg.gesperrteWerte).insert(f.gesperrt);
        folder.state().Anwender.clear();
        ScriptedDialogs d;
        const bool box = !f.meldung.isEmpty();
        if (box)
            d.answer(i % 2 ? Answer::Ok : Answer::Cancel);
        EXPECT_EQ(laden(d), !box);
        const QString text = d.protokoll().join(""),
                      muster = "^M ORVE-Tarifo \\| " + f.meldung + ".* \\| OkCancel Critical$";
        EXPECT_TRUE(QRegularExpression(box ? muster : "^$").match(text).hasMatch()) << text.toStdString();
        EXPECT_EQ(QFileInfo(QDir::currentPath()) == QFileInfo(folder.path()), !box)
            << "the program folder became current";
        QDir::setCurrent(m_vorher);
        EXPECT_EQ(folder.state().Anwender.isEmpty(), box) << "the user step runs last";
        EXPECT_EQ(DatenquelleVorhanden(reg, kAccessDatenquelle), f.geschrieben == 12 || !box);
        EXPECT_EQ(reg.protokoll().size(), f.geschrieben) << "what was written stays";
        EXPECT_EQ(reg.offeneSchluessel(), 0);
        if (f.geschrieben == 12)
            EXPECT_EQ(reg.wert(hklm, kDatenquellenSchluessel + kAccessDatenquelle, driver),
                      RegWert::alsText(f.dazu.empty() ? "/usr/lib/libsqlite3.so.0" : "/de/odbcjt32.so"));
    }
}

// The name the system gives is cut at its first NUL and stored; the
// registry's names (below System\CurrentControlSet\Control) are only shown;
// without a name the program ends. A data-access version below 2.8 or none only warns.
TEST_F(Start, ShowsTheUserAndTheDataAccessVersion)
{
    const QString alt =
        "M ORVE-Tarifo | Die MDAC Version ist < 2.80!\\rBitte installieren Sie eine neuere Version! | Ok Critical";
    const QString keine = "M ORVE-Tarifo | Es konnte keine MDAC Installation gefunden werden!\\rDas Programm wird "
                          "vermutlich nicht laufen! | Ok Critical";
    const QString ende =
        "M ORVE-Tarifo | Aktueller User konnte nicht ermittelt werden, Programm wird beendet! | Ok Critical";
    const struct {
        const char* name;
        std::optional<QByteArray> system;
        std::vector<std::pair<const char*, QString>> werte;
        bool schliessenScheitert;
        QString gezeigt, gespeichert, box;
        std::optional<QString> version = "3.40.1";
        QString label2 = "MDAC-Version: 3.40.1";
    } faelle[] = {
        {"system", QByteArray("maria\0geheim", 12), {{"Current User", "peter"}}, false, "maria", "maria", ""},
        {"CurrentUser", {}, {{"CurrentUser", "peter"}}, false, "peter", "vorher", ""},
        {"both", {}, {{"CurrentUser", "peter"}, {"Current User", "maria"}}, false, "maria", "vorher", ""},
        {"NUL inside", {}, {{"Current User", QString("anna") + QChar(0) + "x"}}, false, "anna", "vorher", ""},
        {"nowhere", {}, {}, false, "Text2", "vorher", ende},
        {"key does not close", {}, {{"Current User", "maria"}}, true, "Text2", "vorher", ende},
        {"version 2.7", "anwender", {}, false, "anwender", "anwender", alt, "2.7", "MDAC-Version: 2.7"},
        {"version 2.8", "anwender", {}, false, "anwender", "anwender", "", "2.8", "MDAC-Version: 2.8"},
        {"no version", "anwender", {}, false, "anwender", "anwender", keine, std::nullopt, "MDAC-Treiber fehlen!"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        system.benutzer = f.system;
        system.version = f.version;
        auto eintraege = standardInstallation();
        for (const auto& [wert, text] : f.werte)
            eintraege.push_back(textEintrag(kControl, wert, text));
        reg = TestRegistry(eintraege);
        reg.schliessenScheitert = f.schliessenScheitert;
        folder.state().Anwender = "vorher";
        ScriptedDialogs d;
        if (!f.box.isEmpty())
            d.answer(Answer::Ok);
        EXPECT_EQ(laden(d), f.box != ende);
        EXPECT_EQ(d.protokoll().join(""), f.box);
        EXPECT_EQ(anzeige.Username, f.gezeigt);
        EXPECT_EQ(folder.state().Anwender, f.gespeichert);
        EXPECT_EQ(anzeige.Label2, f.label2);
    }
}

TEST_F(Start, UnreadableRegistryFileEndsTheProgramWithItsReason)
{
    EXPECT_FALSE(registryLaden(folder.state(), dialogs)->oeffnen(Hive::LocalMachine, "SOFTWARE"))
        << "no file: an empty registry";
    folder.writeFile("Registry/HKEY_LOCAL_MACHINE.reg", "Unsinn\n");
    dialogs.answer(Answer::Ok);
    EXPECT_THROW(registryLaden(folder.state(), dialogs), ProgramEnd);
    EXPECT_TRUE(dialogs.protokoll().value(0).startsWith("M ORVE-Tarifo | Die Registry-Datei konnte nicht gelesen"));
}

TEST_F(Start, SplashShowsWhatTheLoadStepFoundAndClosesOnceByItsButtonAnyKeyButAModifierOrAClickOnTheFrame)
{
    {
        frmSplash w(folder.state(), reg, system, dialogs);
        w.laden();
        for (const auto& [name, text] : {std::pair {"Username", "anwender"},
                                         {"Label2", "MDAC-Version: 3.40.1"},
                                         {"lblVersion", "Version: 2.0.1"}})
            EXPECT_EQ(beschriftung(kind(&w, name)), text) << name;
        EXPECT_FALSE(kind<QLabel>(&w, "ORVE_Logo")->pixmap().isNull());
    }
    using W = frmSplash&;
    const struct {
        const char* name;
        bool schliesst;
        void (*tun)(frmSplash&);
    } wege[] = {
        {"button Weiter", true, [](W w) { QTest::mouseClick(kind<QPushButton>(&w, "Command1"), Qt::LeftButton); }},
        {"letter key on the button", true,
         [](W w) { QTest::keyClick(kind<QPushButton>(&w, "Command1"), Qt::Key_X); }},
        {"click on a label", true, [](W w) { QTest::mouseClick(kind(&w, "lblPlatform"), Qt::LeftButton); }},
        {"modifier keys", false,
         [](W w) {
             for (auto t : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt})
                 QTest::keyClick(&w, t);
         }},
    };
    for (const auto& weg : wege) {
        SCOPED_TRACE(weg.name);
        frmSplash w(folder.state(), reg, system, dialogs);
        w.laden();
        QSignalSpy geschlossen(&w, &frmSplash::geschlossen);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        weg.tun(w);
        EXPECT_EQ(w.isVisible(), !weg.schliesst);
        EXPECT_EQ(geschlossen.count(), weg.schliesst ? 1 : 0);
        QCloseEvent nochmal;
        QCoreApplication::sendEvent(&w, &nochmal);
        EXPECT_EQ(geschlossen.count(), 1) << "reported once";
    }
}
