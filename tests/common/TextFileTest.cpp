#include "common/TextFile.h"

#include "OhneRootRechte.h"
#include "TempProgramFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace orve;
using orve::test::TempProgramFolder;
using orve::test::ohneRootRechte;

TEST(TextFile, FirstLineEndsAtCrOrLfAndIsUtf8ElseWindows1252)
{
    const std::pair<QByteArray, const char*> faelle[] = {
        {"1,20\r\n2,50\r\n", "1,20"}, {"0,20\nrest", "0,20"}, {"a\nb\rc", "a"}, {"19", "19"}, {"\r\n19\r\n", ""},
        {"\xEF\xBB\xBF" "C:\\Büro\\bill.db\r\n", "C:\\Büro\\bill.db"}, {"C:\\B\xFCro\\\x80\r\n", "C:\\Büro\\€"},
        {"  7,5 \r\n", "  7,5 "}};
    TempProgramFolder dir;
    for (const auto& [bytes, zeile] : faelle) {
        dir.writeFile(QStringLiteral("x.txt"), bytes);
        EXPECT_EQ(ersteZeileLesen(dir.file(QStringLiteral("x.txt"))), QString::fromUtf8(zeile)) << zeile;
    }
    EXPECT_EQ(ersteZeileLesen(dir.file(QStringLiteral("fehlt.txt"))), std::nullopt);
}

TEST(TextFile, WriteReplacesTheFileWithOneCrLfLine)
{
    TempProgramFolder dir;
    dir.writeFile(QStringLiteral("Steuersatz.txt"), "16\r\nalt\r\n");
    ASSERT_TRUE(zeileSchreiben(dir.file(QStringLiteral("Steuersatz.txt")), QStringLiteral("19")));
    EXPECT_EQ(dir.readFile(QStringLiteral("Steuersatz.txt")), QByteArray("19\r\n"));
    EXPECT_FALSE(zeileSchreiben(dir.file(QStringLiteral("gibtsnicht/x.txt")), QStringLiteral("1")));
    // An administrator's program folder takes no new (temporary) file, but
    // its writable settings file is written in place.
    const QString datei = dir.file(QStringLiteral("Steuersatz.txt"));
    const auto rx = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(datei, QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ReadOwner
                                                 | QFileDevice::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), rx));
    const bool geschrieben = ohneRootRechte([&] {
        return !zeileSchreiben(dir.file(QStringLiteral("Neu.txt")), QStringLiteral("1"))
            && zeileSchreiben(datei, QStringLiteral("20"));
    });
    QFile::setPermissions(dir.path(), rx | QFileDevice::WriteOwner);
    EXPECT_TRUE(geschrieben);
    EXPECT_EQ(dir.readFile(QStringLiteral("Steuersatz.txt")), QByteArray("20\r\n"));
}
