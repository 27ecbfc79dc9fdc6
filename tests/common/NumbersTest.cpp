#include "common/Numbers.h"

#include <gtest/gtest.h>

#include <optional>

using namespace orve;

TEST(Numbers, ReadGermanAndLeadingNumbersAndTimesOfDay)
{
    const std::pair<const char*, double> fuehrend[] = {
        {"19", 19}, {"7,5", 7}, {"19,5", 19}, {" 1 9", 19}, {"abc", 0}, {"-5", -5}, {"", 0}, {"7.5", 7.5},
        {"16%", 16}, {"1e2", 100}};
    for (const auto& [text, zahl] : fuehrend)
        EXPECT_DOUBLE_EQ(fuehrendeZahl(QString::fromUtf8(text)), zahl) << text;

    const std::pair<const char*, std::optional<double>> deutsch[] = {
        {"1,20", 1.2}, {"0,06", 0.06}, {"1.20", 1.2}, {"1.234,5", 1234.5}, {"-0,5", -0.5}, {" 0,20 ", 0.2},
        {",5", 0.5}, {"abc", {}}, {"", {}}, {"1,2,3", {}}, {"1,2a", {}}, {"12.34,5", {}}, {"inf", {}}, {"1e5", {}}};
    for (const auto& [text, zahl] : deutsch)
        EXPECT_EQ(deutscheZahl(QString::fromUtf8(text)), zahl) << text;

    const std::pair<const char*, std::optional<int>> zeiten[] = {
        {"00:00:00", 0}, {"23:59:59", 86399}, {"24:00:00", 86400}, {"24:00:01", {}}, {"7:00:00", {}},
        {"12:60:00", {}}};
    for (const auto& [text, sekunden] : zeiten) {
        EXPECT_EQ(tageszeitSekunden(QString::fromUtf8(text)), sekunden) << text;
        if (sekunden)
            EXPECT_EQ(tageszeitText(*sekunden).toStdString(), text);
    }
    EXPECT_EQ(tageszeitText(-5), QStringLiteral("00:00:00"));
}

TEST(Numbers, WriteMoneyWithThreeDecimalsHalfAwayFromZeroAndRoundUpOnFifteenDigits)
{
    const std::pair<double, const char*> geld[] = {
        {0.0285, "0,029"}, {0.1085, "0,109"}, {0.09, "0,090"}, {0.0, "0,000"}, {12345.6789, "12345,679"},
        {-0.0285, "-0,029"}, {0.0004, "0,000"}, {0.06 * 90 / 60, "0,090"}, {99999.9999, "100000,000"},
        {-0.0001, "0,000"}};
    for (const auto& [wert, text] : geld)
        EXPECT_EQ(geldText(wert).toStdString(), text);

    const std::pair<double, double> auf[] = {
        {0.07 / 0.01, 7}, {0.3 / 0.1, 3}, {0.15 / 0.10, 2}, {0.0, 0}, {1.0000001, 2}, {-0.5, 0}};
    for (const auto& [q, erwartet] : auf)
        EXPECT_EQ(aufrunden(q), erwartet) << q;

    EXPECT_EQ(deutscheZahlText(0.06), QStringLiteral("0,06"));
    EXPECT_EQ(deutscheZahlText(60), QStringLiteral("60"));
    EXPECT_EQ(deutscheZahlText(0.1 + 0.2), QStringLiteral("0,3"));
}
