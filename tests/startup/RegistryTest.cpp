#include "startup/Registry.h"

#include "OhneRootRechte.h"
#include "RegistryFixtures.h"
#include "TempProgramFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace orve;
using namespace orve::test;

namespace {

const QString kOdbc = QStringLiteral("SOFTWARE\\ODBC\\ODBC.INI\\ORVE-Access");

} // namespace

TEST(SpeicherRegistry, NamesIgnoreCaseKeysCloseOnceAndOnlyWriteHandlesWrite)
{
    SpeicherRegistry reg({textEintrag(kOdbc, QStringLiteral("Driver"), QStringLiteral("/lib/a.so"))});
    const auto s = reg.oeffnen(Hive::LocalMachine, QStringLiteral("software\\odbc\\odbc.ini\\orve-access\\"));
    ASSERT_TRUE(s);
    EXPECT_EQ(reg.wertLesen(*s, QStringLiteral("DRIVER")), RegWert::alsText(QStringLiteral("/lib/a.so")));
    EXPECT_FALSE(reg.wertLesen(*s, QStringLiteral("UID")));
    EXPECT_FALSE(reg.textSetzen(*s, QStringLiteral("y"), QStringLiteral("2"))) << "opened for reading only";
    EXPECT_TRUE(reg.schliessen(*s));
    EXPECT_FALSE(reg.schliessen(*s)) << "a key closes once";
    EXPECT_FALSE(reg.oeffnen(Hive::LocalMachine, QStringLiteral("SOFTWARE\\Fehlt")));
    EXPECT_FALSE(reg.oeffnen(Hive::CurrentUser, kOdbc)) << "hives are separate";

    const auto w = reg.anlegen(Hive::LocalMachine, QStringLiteral("A\\B\\C"));
    ASSERT_TRUE(w);
    EXPECT_TRUE(reg.schluesselVorhanden(Hive::LocalMachine, QStringLiteral("a\\b"))) << "parents are created";
    EXPECT_TRUE(reg.textSetzen(*w, QStringLiteral("x"), QStringLiteral("1")));
    EXPECT_TRUE(reg.zahlSetzen(*w, QStringLiteral("X"), 7)) << "same value, other spelling: replaced";
    EXPECT_EQ(reg.wert(Hive::LocalMachine, QStringLiteral("A\\B\\C"), QStringLiteral("x")), RegWert::alsZahl(7));
    EXPECT_EQ(reg.eintraege().size(), 2u);
    reg.schliessen(*w);
    EXPECT_EQ(reg.offeneSchluessel(), 0);
}

TEST(RegDatei, RoundTripKeepsEscapesNumbersAndLineBreaks)
{
    const std::vector<RegEintrag> eintraege = {
        textEintrag(QStringLiteral("SOFTWARE\\Weg \"mit\" Zeichen"), QStringLiteral("Na\\me \"zitiert\""),
                    QStringLiteral("C:\\Pfad\\\"x\"\\")),
        textEintrag(QStringLiteral("SOFTWARE\\Weg \"mit\" Zeichen"), QString(), QStringLiteral("Standardwert")),
        zahlEintrag(kOdbc, QStringLiteral("DriverId"), 25),
        zahlEintrag(kOdbc, QStringLiteral("Groß"), 0xFFFFFFFFu),
        textEintrag(kOdbc, QStringLiteral("UID"), QString()),
        textEintrag(kOdbc, QStringLiteral("Mehrzeilig"), QStringLiteral("a\r\nb\nc")),
        textEintrag(kOdbc, QStringLiteral("Umlaute"), QStringLiteral("ODBC Eintrag für ORVE Programme")),
    };
    const QByteArray datei = SpeicherRegistry(eintraege).alsRegDatei();
    const auto gelesen = SpeicherRegistry::ausRegDatei(datei).eintraege();
    for (const auto& e : eintraege)
        EXPECT_NE(std::find(gelesen.begin(), gelesen.end(), e), gelesen.end()) << e.name.toStdString();
    EXPECT_EQ(gelesen.size(), eintraege.size());

    EXPECT_TRUE(datei.startsWith("Windows Registry Editor Version 5.00\r\n"));
    EXPECT_TRUE(datei.contains("[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\ORVE-Access]\r\n"));
    EXPECT_TRUE(datei.contains("\"UID\"=\"\"\r\n"));
    EXPECT_TRUE(datei.contains("\"DriverId\"=dword:00000019\r\n"));
    EXPECT_TRUE(datei.contains("\"Na\\\\me \\\"zitiert\\\"\"=\"C:\\\\Pfad\\\\\\\"x\\\"\\\\\"\r\n"));
    EXPECT_TRUE(datei.contains("@=\"Standardwert\""));
    EXPECT_TRUE(datei.indexOf("[HKEY_LOCAL_MACHINE\\SOFTWARE]") < datei.indexOf("[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC]"))
        << "parents before children";
}

TEST(RegDatei, ReadsHandWrittenAndForeignExports)
{
    struct Fall {
        const char* name;
        QByteArray inhalt;
        QString schluessel;
        QString wertName;
        std::optional<RegWert> erwartet;
    };
    const QString k = QStringLiteral("SOFTWARE\\ODBC\\ODBCINST.INI\\SQLite ODBC Driver");
    QByteArray utf16("\xFF\xFE", 2);
    const QString utf16Text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\%1]\r\n"
                                             "\"Driver\"=\"/usr/lib/libsqlite3.so.0\"\r\n").arg(k);
    utf16.append(reinterpret_cast<const char*>(utf16Text.utf16()), utf16Text.size() * 2);
    const std::vector<Fall> faelle = {
        {"LF line ends, blanks and comments",
         "\n\nWindows Registry Editor Version 5.00\n; Kommentar\n[HKEY_LOCAL_MACHINE\\" + k.toUtf8()
             + "]\n  \"Driver\" = \"/x.so\"  \n",
         k, QStringLiteral("Driver"), RegWert::alsText(QStringLiteral("/x.so"))},
        {"UTF-16 export as regedit writes it", utf16, k, QStringLiteral("Driver"),
         RegWert::alsText(QStringLiteral("/usr/lib/libsqlite3.so.0"))},
        {"Windows-1252 text", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"D\"=\"f\xFCr\"\r\n", QStringLiteral("A"),
         QStringLiteral("D"), RegWert::alsText(QStringLiteral("für"))},
        {"hex(4) number over two lines", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"N\"=hex(4):19,00,\\\r\n  00,00\r\n",
         QStringLiteral("A"), QStringLiteral("N"), RegWert::alsZahl(25)},
        {"deleted value", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"N\"=\"1\"\r\n\"N\"=-\r\n", QStringLiteral("A"),
         QStringLiteral("N"), std::nullopt},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        const auto reg = SpeicherRegistry::ausRegDatei(f.inhalt);
        EXPECT_EQ(reg.wert(Hive::LocalMachine, f.schluessel, f.wertName), f.erwartet);
    }
}

TEST(RegDatei, KeepsValuesOfOtherTypesAndOtherHivesWhenRewritten)
{
    const QByteArray inhalt =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\A]\r\n"
        "\"Bin\"=hex:01,02,\\\r\n  03\r\n"
        "\"Text\"=\"t\"\r\n"
        "kaputte Zeile\r\n\r\n"
        "[HKEY_CURRENT_USER\\B]\r\n\"U\"=\"u\"\r\n";
    auto reg = SpeicherRegistry::ausRegDatei(inhalt);
    const QByteArray neu = reg.alsRegDatei();
    EXPECT_TRUE(neu.contains("\"Bin\"=hex:01,02,\\\r\n  03\r\n"));
    EXPECT_TRUE(neu.contains("kaputte Zeile\r\n"));
    EXPECT_TRUE(neu.contains("[HKEY_CURRENT_USER\\B]\r\n\"U\"=\"u\"\r\n"));
    EXPECT_FALSE(reg.wert(Hive::LocalMachine, QStringLiteral("A"), QStringLiteral("Bin")))
        << "a binary value is not read as text or number";
}

TEST(DateiRegistry, EveryWriteIsInTheFileAndOtherHivesStayEmpty)
{
    TempProgramFolder p;
    const QString datei = DateiRegistry::standardDatei(p.path());
    EXPECT_EQ(datei, p.file(QStringLiteral("Registry/HKEY_LOCAL_MACHINE.reg")));
    {
        DateiRegistry reg(datei); // no file yet: empty
        EXPECT_TRUE(reg.eintraege().empty());
        const auto s = reg.anlegen(Hive::LocalMachine, kOdbc);
        ASSERT_TRUE(s);
        ASSERT_TRUE(reg.zahlSetzen(*s, QStringLiteral("DriverId"), 25));
        reg.schliessen(*s);
        EXPECT_FALSE(reg.anlegen(Hive::CurrentUser, QStringLiteral("X")));
        EXPECT_FALSE(reg.oeffnen(Hive::CurrentUser, QStringLiteral("")));
    }
    EXPECT_TRUE(p.readFile(QStringLiteral("Registry/HKEY_LOCAL_MACHINE.reg")).contains("\"DriverId\"=dword:00000019"));
    DateiRegistry wieder(datei);
    EXPECT_EQ(wieder.wert(Hive::LocalMachine, kOdbc, QStringLiteral("driverid")), RegWert::alsZahl(25));
}

// A program folder an administrator installed: the registry file is
// writable, its folder takes no new (temporary) file.
TEST(DateiRegistry, AWritableFileInAFolderWithoutWritePermissionIsWrittenInPlace)
{
    TempProgramFolder p;
    const QString datei = DateiRegistry::standardDatei(p.path());
    p.writeFile(QStringLiteral("Registry/HKEY_LOCAL_MACHINE.reg"), SpeicherRegistry(standardInstallation()).alsRegDatei());
    const auto rx = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(p.path(), rx | QFileDevice::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(p.file(QStringLiteral("Registry")), rx));
    ASSERT_TRUE(QFile::setPermissions(datei, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther
                                                 | QFileDevice::WriteOther));
    const bool geschrieben = ohneRootRechte([&] {
        DateiRegistry reg(datei);
        const auto s = reg.anlegen(Hive::LocalMachine, kOdbc);
        return s && reg.zahlSetzen(*s, QStringLiteral("DriverId"), 25);
    });
    QFile::setPermissions(p.file(QStringLiteral("Registry")), rx | QFileDevice::WriteOwner);
    EXPECT_TRUE(geschrieben);
    EXPECT_EQ(DateiRegistry(datei).wert(Hive::LocalMachine, kOdbc, QStringLiteral("DriverId")), RegWert::alsZahl(25));
}

TEST(DateiRegistry, FileWithoutTheHeaderIsAnErrorAndAnEmptyFileAnEmptyHive)
{
    TempProgramFolder p;
    p.writeFile(QStringLiteral("Registry/HKEY_LOCAL_MACHINE.reg"), "[HKEY_LOCAL_MACHINE\\A]\r\n\"x\"=\"1\"\r\n");
    EXPECT_THROW(DateiRegistry(DateiRegistry::standardDatei(p.path())), RegistryFehler);
    p.writeFile(QStringLiteral("Registry/HKEY_LOCAL_MACHINE.reg"), "  \r\n");
    EXPECT_TRUE(DateiRegistry(DateiRegistry::standardDatei(p.path())).eintraege().empty());
}

TEST(DateiRegistry, FailedWriteLeavesTheOldFileAndUndoesTheChange)
{
    TempProgramFolder p;
    const QString datei = DateiRegistry::standardDatei(p.path());
    p.writeFile(QStringLiteral("Registry/HKEY_LOCAL_MACHINE.reg"), SpeicherRegistry(standardInstallation()).alsRegDatei());
    const QByteArray vorher = p.readFile(QStringLiteral("Registry/HKEY_LOCAL_MACHINE.reg"));
    DateiRegistry reg(datei);
    const auto s = reg.anlegen(Hive::LocalMachine, kOdbc.left(kOdbc.lastIndexOf(QLatin1Char('\\'))));
    ASSERT_TRUE(s);

    // Let no file grow beyond the old size: writing the larger file fails
    // half-way, even for root.
    rlimit alt{};
    getrlimit(RLIMIT_FSIZE, &alt);
    auto altesSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit eng = alt;
    eng.rlim_cur = static_cast<rlim_t>(vorher.size());
    setrlimit(RLIMIT_FSIZE, &eng);
    const bool geschrieben = reg.textSetzen(*s, QStringLiteral("Neu"), QString(500, QLatin1Char('x')));
    const auto neuerSchluessel = reg.anlegen(Hive::LocalMachine, QStringLiteral("SOFTWARE\\Ganz\\Neu\\") + QString(500, QLatin1Char('k')));
    setrlimit(RLIMIT_FSIZE, &alt);
    std::signal(SIGXFSZ, altesSignal);

    EXPECT_FALSE(geschrieben);
    EXPECT_FALSE(neuerSchluessel);
    EXPECT_EQ(p.readFile(QStringLiteral("Registry/HKEY_LOCAL_MACHINE.reg")), vorher);
    EXPECT_FALSE(reg.wert(Hive::LocalMachine, QStringLiteral("SOFTWARE\\ODBC\\ODBC.INI"), QStringLiteral("Neu")));
    EXPECT_FALSE(reg.schluesselVorhanden(Hive::LocalMachine, QStringLiteral("SOFTWARE\\Ganz")));
    EXPECT_TRUE(reg.protokoll().empty());
    EXPECT_TRUE(reg.textSetzen(*s, QStringLiteral("Neu"), QStringLiteral("klein"))) << "writing works again";
}
