#include "startup/DateiRegistry.h"

#include "DateiGroessenGrenze.h"
#include "OhneRootRechte.h"
#include "RegistryFixtures.h"
#include "TempProgramFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

const QString kOdbc = QStringLiteral("SOFTWARE\\ODBC\\ODBC.INI\\ORVE-Access");
const QString kRegDatei = QStringLiteral("Registry/HKEY_LOCAL_MACHINE.reg");

std::optional<RegWert> lesen(Registry& reg, const QString& pfad, const QString& name)
{
    const auto s = reg.oeffnen(Hive::LocalMachine, pfad);
    const auto w = s ? reg.wertLesen(*s, name) : std::nullopt;
    if (s)
        reg.schliessen(*s);
    return w;
}

} // namespace

TEST(SpeicherRegistry, NamesIgnoreCaseKeysCloseOnceAndOnlyWriteHandlesWrite)
{
    TestRegistry reg({textEintrag(kOdbc, QStringLiteral("Driver"), QStringLiteral("/lib/a.so"))});
    const auto s = reg.oeffnen(Hive::LocalMachine, QStringLiteral("software\\odbc\\odbc.ini\\orve-access\\"));
    ASSERT_TRUE(s);
    EXPECT_EQ(reg.wertLesen(*s, QStringLiteral("DRIVER")), RegWert::alsText(QStringLiteral("/lib/a.so")));
    EXPECT_FALSE(reg.wertSetzen(*s, QStringLiteral("y"), RegWert::alsZahl(2))) << "opened for reading only";
    EXPECT_TRUE(reg.schliessen(*s));
    EXPECT_FALSE(reg.schliessen(*s)) << "a key closes once";
    const auto w = reg.anlegen(Hive::LocalMachine, kOdbc);
    ASSERT_TRUE(w && reg.wertSetzen(*w, QStringLiteral("x"), RegWert::alsText(QStringLiteral("1"))));
    EXPECT_TRUE(reg.wertSetzen(*w, QStringLiteral("X"), RegWert::alsZahl(7))) << "same value, other spelling";
    EXPECT_EQ(reg.wert(Hive::LocalMachine, kOdbc, QStringLiteral("x")), RegWert::alsZahl(7));
}

// What the program writes comes back from its file unchanged, in the form
// regedit reads: escapes, numbers, line breaks, parents before children.
// What the program cannot read of the file stays as it was.
TEST(DateiRegistry, EveryWriteIsInTheFileAsRegeditWritesIt)
{
    TempProgramFolder p;
    const QString datei = DateiRegistry::standardDatei(p.path());
    EXPECT_EQ(datei, p.file(kRegDatei));
    const QByteArray fremd = "[HKEY_LOCAL_MACHINE\\A]\r\n\"Bin\"=hex:01,02,\\\r\n  03\r\nkaputte Zeile\r\n\r\n"
                             "[HKEY_CURRENT_USER\\B]\r\n\"U\"=\"u\"\r\n";
    p.writeFile(kRegDatei, "Windows Registry Editor Version 5.00\r\n\r\n" + fremd);
    const QString weg = QStringLiteral("SOFTWARE\\Weg \"mit\" Zeichen");
    const std::vector<RegEintrag> eintraege = {
        textEintrag(weg, QStringLiteral("Na\\me \"zitiert\""), QStringLiteral("C:\\Pfad\\\"x\"\\")),
        textEintrag(weg, QString(), QStringLiteral("Standardwert")),
        RegEintrag{Hive::LocalMachine, kOdbc, QStringLiteral("DriverId"), RegWert::alsZahl(25)},
        RegEintrag{Hive::LocalMachine, kOdbc, QStringLiteral("Groß"), RegWert::alsZahl(0xFFFFFFFFu)},
        textEintrag(kOdbc, QStringLiteral("UID"), QString()),
        textEintrag(kOdbc, QStringLiteral("Mehrzeilig"), QStringLiteral("a\r\nb\nc")),
        textEintrag(kOdbc, QStringLiteral("Umlaute"), QStringLiteral("ODBC Eintrag für ORVE Programme")),
    };
    {
        DateiRegistry reg(datei);
        for (const auto& e : eintraege) {
            const auto s = reg.anlegen(Hive::LocalMachine, e.schluessel);
            ASSERT_TRUE(s && reg.wertSetzen(*s, e.name, e.wert));
            reg.schliessen(*s);
        }
        EXPECT_FALSE(reg.anlegen(Hive::CurrentUser, QStringLiteral("X")));
        EXPECT_FALSE(reg.oeffnen(Hive::CurrentUser, QString()));
    }
    DateiRegistry wieder(datei);
    for (const auto& e : eintraege)
        EXPECT_EQ(lesen(wieder, e.schluessel, e.name), e.wert) << e.name.toStdString();

    const QByteArray text = p.readFile(kRegDatei);
    EXPECT_TRUE(text.startsWith("Windows Registry Editor Version 5.00\r\n"));
    EXPECT_TRUE(text.contains("[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\ORVE-Access]\r\n"));
    EXPECT_TRUE(text.contains("\"DriverId\"=dword:00000019\r\n"));
    EXPECT_TRUE(text.contains("\"Na\\\\me \\\"zitiert\\\"\"=\"C:\\\\Pfad\\\\\\\"x\\\"\\\\\"\r\n"));
    EXPECT_TRUE(text.contains("@=\"Standardwert\""));
    EXPECT_LT(text.indexOf("[HKEY_LOCAL_MACHINE\\SOFTWARE]"), text.indexOf("[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC]"));
    EXPECT_TRUE(text.contains(fremd.left(fremd.indexOf("[HKEY_CURRENT")))) << "binary value and unreadable line kept";
    EXPECT_TRUE(text.contains("[HKEY_CURRENT_USER\\B]\r\n\"U\"=\"u\"\r\n"));
}

TEST(DateiRegistry, ReadsHandWrittenAndForeignExports)
{
    struct Fall { const char* name; QByteArray inhalt; std::optional<RegWert> erwartet; bool wirft = false; }; // "D" of key "A"
    const QString utf16Text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n"
                                             "\"D\"=\"/usr/lib/libsqlite3.so.0\"\r\n");
    const QByteArray utf16 = QByteArray("\xFF\xFE", 2)
        + QByteArray(reinterpret_cast<const char*>(utf16Text.utf16()), utf16Text.size() * 2);
    const std::vector<Fall> faelle = {
        {"LF line ends, blanks and comments",
         "\n\nWindows Registry Editor Version 5.00\n; Kommentar\n[HKEY_LOCAL_MACHINE\\A]\n  \"D\" = \"/x.so\"  \n",
         RegWert::alsText(QStringLiteral("/x.so"))},
        {"UTF-16 as regedit exports", utf16, RegWert::alsText(QStringLiteral("/usr/lib/libsqlite3.so.0"))},
        {"Windows-1252", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"D\"=\"f\xFCr\"\r\n", RegWert::alsText(QStringLiteral("für"))},
        {"hex(4) over two lines", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"D\"=hex(4):19,00,\\\r\n  00,00\r\n",
         RegWert::alsZahl(25)},
        {"deleted value", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"D\"=\"1\"\r\n\"D\"=-\r\n", std::nullopt},
        {"binary value", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"D\"=hex:01,02\r\n", std::nullopt},
        {"blank file", "  \r\n", std::nullopt},
        {"no header", "[HKEY_LOCAL_MACHINE\\A]\r\n\"D\"=\"1\"\r\n", std::nullopt, true},
    };
    TempProgramFolder p;
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        p.writeFile(kRegDatei, f.inhalt);
        if (f.wirft) {
            EXPECT_THROW(DateiRegistry(p.file(kRegDatei)), RegistryFehler);
            continue;
        }
        DateiRegistry reg(p.file(kRegDatei));
        EXPECT_EQ(lesen(reg, QStringLiteral("A"), QStringLiteral("D")), f.erwartet);
    }
}

// A program folder an administrator installed: the registry file is
// writable, its folder takes no new (temporary) file.
TEST(DateiRegistry, AWritableFileInAFolderWithoutWritePermissionIsWrittenInPlace)
{
    TempProgramFolder p;
    const QString datei = p.file(kRegDatei);
    p.writeFile(kRegDatei, SpeicherRegistry(standardInstallation()).alsRegDatei());
    const auto rx = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(p.path(), rx | QFileDevice::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(p.file(QStringLiteral("Registry")), rx));
    ASSERT_TRUE(QFile::setPermissions(datei, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther
                                                 | QFileDevice::WriteOther));
    const bool geschrieben = ohneRootRechte([&] {
        DateiRegistry reg(datei);
        const auto s = reg.anlegen(Hive::LocalMachine, kOdbc);
        return s && reg.wertSetzen(*s, QStringLiteral("DriverId"), RegWert::alsZahl(25));
    });
    QFile::setPermissions(p.file(QStringLiteral("Registry")), rx | QFileDevice::WriteOwner);
    EXPECT_TRUE(geschrieben);
    DateiRegistry wieder(datei);
    EXPECT_EQ(lesen(wieder, kOdbc, QStringLiteral("DriverId")), RegWert::alsZahl(25));
}

TEST(DateiRegistry, FailedWriteLeavesTheOldFileAndUndoesTheChange)
{
    TempProgramFolder p;
    p.writeFile(kRegDatei, SpeicherRegistry(standardInstallation()).alsRegDatei());
    const QByteArray vorher = p.readFile(kRegDatei);
    DateiRegistry reg(p.file(kRegDatei));
    const auto s = reg.anlegen(Hive::LocalMachine, QStringLiteral("SOFTWARE\\ODBC\\ODBC.INI"));
    ASSERT_TRUE(s);
    std::optional<RegSchluessel> neuerSchluessel;
    bool geschrieben = false;
    {
        DateiGroessenGrenze grenze(vorher.size()); // the larger file stops half-way
        geschrieben = reg.wertSetzen(*s, QStringLiteral("Neu"), RegWert::alsText(QString(500, QLatin1Char('x'))));
        neuerSchluessel = reg.anlegen(Hive::LocalMachine, QStringLiteral("SOFTWARE\\Ganz\\") + QString(500, QLatin1Char('k')));
    }
    EXPECT_FALSE(geschrieben);
    EXPECT_FALSE(neuerSchluessel);
    EXPECT_EQ(p.readFile(kRegDatei), vorher);
    EXPECT_FALSE(lesen(reg, QStringLiteral("SOFTWARE\\ODBC\\ODBC.INI"), QStringLiteral("Neu")));
    EXPECT_FALSE(reg.oeffnen(Hive::LocalMachine, QStringLiteral("SOFTWARE\\Ganz")));
    EXPECT_TRUE(reg.wertSetzen(*s, QStringLiteral("Neu"), RegWert::alsText(QStringLiteral("klein")))) << "works again";
}
