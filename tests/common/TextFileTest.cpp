#include "common/TextFile.h"

#include "OhneRootRechte.h"
#include "TempProgramFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace orve;
using orve::test::TempProgramFolder;
using orve::test::ohneRootRechte;

struct FirstLineCase { const char* name; QByteArray bytes; const char* expected; };

class FirstLine : public ::testing::TestWithParam<FirstLineCase> {};

TEST_P(FirstLine, TakesOnlyTheFirstLine)
{
    TempProgramFolder dir;
    dir.writeFile(QStringLiteral("x.txt"), GetParam().bytes);
    const auto line = ersteZeileLesen(dir.file(QStringLiteral("x.txt")));
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(*line, QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Files, FirstLine, ::testing::Values(
    FirstLineCase{"two_lines", "1,20\r\n2,50\r\n", "1,20"},
    FirstLineCase{"lf", "0,20\nrest", "0,20"},
    FirstLineCase{"no_end", "19", "19"},
    FirstLineCase{"empty_first", "\r\n19\r\n", ""},
    FirstLineCase{"utf8_with_bom", "\xEF\xBB\xBF" "C:\\Büro\\bill.db\r\n", "C:\\Büro\\bill.db"},
    FirstLineCase{"cp1252", "C:\\B\xFCro\\\x80\r\n", "C:\\Büro\\€"},
    FirstLineCase{"blanks_kept", "  7,5 \r\n", "  7,5 "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FirstLine, MissingFileIsNothing)
{
    TempProgramFolder dir;
    EXPECT_FALSE(ersteZeileLesen(dir.file(QStringLiteral("fehlt.txt"))).has_value());
}

TEST(WriteLine, ReplacesTheFileWithOneLineAndCrLfAndFailsInAMissingFolder)
{
    TempProgramFolder dir;
    dir.writeFile(QStringLiteral("Steuersatz.txt"), "16\r\nalt\r\n");
    ASSERT_TRUE(zeileSchreiben(dir.file(QStringLiteral("Steuersatz.txt")), QStringLiteral("19")));
    EXPECT_EQ(dir.readFile(QStringLiteral("Steuersatz.txt")), QByteArray("19\r\n"));
    ASSERT_TRUE(zeileSchreiben(dir.file(QStringLiteral("Billpfad.txt")), QString()));
    EXPECT_EQ(dir.readFile(QStringLiteral("Billpfad.txt")), QByteArray("\r\n"));
    EXPECT_FALSE(zeileSchreiben(dir.file(QStringLiteral("gibtsnicht/x.txt")), QStringLiteral("1")));
}

// A program folder an administrator installed: the settings file is
// writable, the folder takes no new (temporary) file.
TEST(WriteLine, AWritableFileInAFolderWithoutWritePermissionIsWrittenInPlace)
{
    TempProgramFolder dir;
    dir.writeFile(QStringLiteral("Programm/Steuersatz.txt"), "16\r\n");
    const QString datei = dir.file(QStringLiteral("Programm/Steuersatz.txt"));
    const auto rw = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther | QFileDevice::WriteOther;
    const auto rx = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), rx | QFileDevice::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(dir.file(QStringLiteral("Programm")), rx));
    ASSERT_TRUE(QFile::setPermissions(datei, rw));
    const bool geschrieben = ohneRootRechte([&] {
        return !zeileSchreiben(dir.file(QStringLiteral("Programm/Neu.txt")), QStringLiteral("1")) // no new file
            && zeileSchreiben(datei, QStringLiteral("19"));
    });
    QFile::setPermissions(dir.file(QStringLiteral("Programm")), rx | QFileDevice::WriteOwner);
    EXPECT_TRUE(geschrieben);
    EXPECT_EQ(dir.readFile(QStringLiteral("Programm/Steuersatz.txt")), QByteArray("19\r\n"));
}
