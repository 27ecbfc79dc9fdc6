#include "common/Numbers.h"
#include "common/TextFile.h"

#include "OhneRootRechte.h"
#include "TempProgramFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

TEST(Numbers, ReadGermanAndLeadingNumbersAndTimesOfDayWriteMoneyHalfAwayFromZeroAndRoundUp)
{
    const std::pair<const char*, std::optional<double>> fuehrend[] = {
        {"19", 19},         {"7,7", 7.7}, {" 1 9", 19}, {"abc", {}},   {"-5", -5},  {"", {}},        {"7.7", 7.7},
        {"19 Prozent", 19}, {"16%", 16},  {"1e2", 100}, {"1e400", {}}, {",5", 0.5}, {"19,5,1", 19.5}};
    for (const auto& [text, zahl] : fuehrend)
        EXPECT_EQ(fuehrendeZahlLesen(QString::fromUtf8(text)), zahl) << text;

    const std::pair<const char*, std::optional<double>> deutsch[] = {
        {"1,20", 1.2}, {"0,06", 0.06}, {"1.20", 1.2}, {"1.234,5", 1234.5}, {"-0,5", -0.5}, {" 0,20 ", 0.2},
        {",5", 0.5},   {"abc", {}},    {"", {}},      {"1,2,3", {}},       {"1,2a", {}},   {"12.34,5", {}},
        {"inf", {}},   {"1e5", {}}};
    for (const auto& [text, zahl] : deutsch)
        EXPECT_EQ(deutscheZahl(QString::fromUtf8(text)), zahl) << text;

    const std::pair<const char*, std::optional<int>> zeiten[] = {{"00:00:00", 0},     {"23:59:59", 86399},
                                                                 {"24:00:00", 86400}, {"24:00:01", {}},
                                                                 {"7:00:00", {}},     {"12:60:00", {}}};
    for (const auto& [text, sekunden] : zeiten) {
        EXPECT_EQ(tageszeitSekunden(QString::fromUtf8(text)), sekunden) << text;
        EXPECT_TRUE(!sekunden || tageszeitText(*sekunden) == QLatin1String(text)) << text;
    }
    EXPECT_EQ(tageszeitText(-5), "00:00:00");
    const std::pair<double, const char*> geld[] = {
        {0.0285, "0,029"},          {0.1085, "0,109"},   {0.09, "0,090"},   {0.0, "0,000"},
        {12345.6789, "12345,679"},  {-0.0285, "-0,029"}, {0.0004, "0,000"}, {0.06 * 90 / 60, "0,090"},
        {99999.9999, "100000,000"}, {-0.0001, "0,000"}};
    for (const auto& [wert, text] : geld) {
        EXPECT_EQ(geldText(wert).toStdString(), text);
        EXPECT_EQ(geldWert(wert), QString::fromUtf8(text).replace(u',', u'.').toDouble()) << text;
    }
    // Sums of any size: never an integer overflow.
    for (const auto& [wert, text] :
         {std::pair {9.2e16, "92000000000000000,00"}, {-0.005, "-0,01"}, {0.125, "0,13"}})
        EXPECT_EQ(festText(wert, 2).toStdString(), text);

    const std::pair<double, double> auf[] = {{0.07 / 0.01, 7}, {0.3 / 0.1, 3}, {0.15 / 0.10, 2},
                                             {0.0, 0},         {1.0000001, 2}, {-0.5, 0}};
    for (const auto& [q, erwartet] : auf)
        EXPECT_EQ(aufrunden(q), erwartet) << q;

    for (const auto& [wert, text] : {std::pair {0.06, "0,06"}, {60.0, "60"}, {0.1 + 0.2, "0,3"}})
        EXPECT_EQ(deutscheZahlText(wert).toStdString(), text);
}

TEST(TextFile, FirstLineEndsAtCrOrLfIsUtf8ElseWindows1252AndAWriteReplacesTheFileInPlace)
{
    const std::pair<QByteArray, const char*> faelle[] = {{"1,20\r\n2,50\r\n", "1,20"},
                                                         {"0,20\nrest", "0,20"},
                                                         {"a\nb\rc", "a"},
                                                         {"19", "19"},
                                                         {"\r\n19\r\n", ""},
                                                         {"\xEF\xBB\xBF"
                                                          "C:\\Büro\\bill.db\r\n",
                                                          "C:\\Büro\\bill.db"},
                                                         {"C:\\B\xFCro\\\x80\r\n", "C:\\Büro\\€"},
                                                         {"  7,5 \r\n", "  7,5 "}};
    TempProgramFolder dir;
    for (const auto& [bytes, zeile] : faelle) {
        dir.writeFile("x.txt", bytes);
        EXPECT_EQ(ersteZeileLesen(dir.file("x.txt")), QString::fromUtf8(zeile)) << zeile;
    }
    EXPECT_EQ(ersteZeileLesen(dir.file("fehlt.txt")), std::nullopt);
    // An administrator's program folder takes no new (temporary) file, but its
    // writable settings file is written in place.
    const QString datei = dir.file("Steuersatz.txt");
    dir.writeFile("Steuersatz.txt", "16\r\nalt\r\n");
    ASSERT_TRUE(zeileSchreiben(datei, QStringLiteral("19")));
    EXPECT_EQ(dir.readFile("Steuersatz.txt"), QByteArray("19\r\n"));
    EXPECT_FALSE(zeileSchreiben(dir.file("gibtsnicht/x.txt"), QStringLiteral("1")));
    ORVE_NUR_POSIX("Ordnerrechte für einen anderen Benutzer");
    const auto rx = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(datei, QFile::permissions(datei) | QFileDevice::WriteOther)
                && QFile::setPermissions(dir.path(), rx));
    const bool geschrieben = ohneRootRechte([&] {
        return !zeileSchreiben(dir.file("Neu.txt"), QStringLiteral("1"))
               && zeileSchreiben(datei, QStringLiteral("20"));
    });
    QFile::setPermissions(dir.path(), rx | QFileDevice::WriteOwner);
    EXPECT_TRUE(geschrieben);
    EXPECT_EQ(dir.readFile("Steuersatz.txt"), QByteArray("20\r\n"));
}
