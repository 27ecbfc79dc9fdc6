#include "common/Numbers.h"

#include <gtest/gtest.h>

#include <optional>

using namespace orve;

struct LeadingCase { const char* text; double expected; };

class LeadingNumber : public ::testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumber, ReadsTheLeadingNumber)
{
    EXPECT_DOUBLE_EQ(fuehrendeZahl(QString::fromUtf8(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Vat, LeadingNumber, ::testing::Values(
    LeadingCase{"19", 19}, LeadingCase{"7,5", 7}, LeadingCase{"19,5", 19}, LeadingCase{" 1 9", 19},
    LeadingCase{"abc", 0}, LeadingCase{"-5", -5}, LeadingCase{"", 0}, LeadingCase{"7.5", 7.5},
    LeadingCase{"16%", 16}, LeadingCase{"1e2", 100}));

struct GermanCase { const char* text; std::optional<double> expected; };

class GermanDecimal : public ::testing::TestWithParam<GermanCase> {};

TEST_P(GermanDecimal, ReadsTheGermanForm)
{
    const auto got = deutscheZahl(QString::fromUtf8(GetParam().text));
    ASSERT_EQ(got.has_value(), GetParam().expected.has_value()) << GetParam().text;
    if (got) {
        EXPECT_DOUBLE_EQ(*got, *GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Prices, GermanDecimal, ::testing::Values(
    GermanCase{"1,20", 1.2}, GermanCase{"0,06", 0.06}, GermanCase{"1.20", 1.2}, GermanCase{"1.234,5", 1234.5},
    GermanCase{"-0,5", -0.5}, GermanCase{" 0,20 ", 0.2}, GermanCase{",5", 0.5}, GermanCase{"abc", std::nullopt},
    GermanCase{"", std::nullopt}, GermanCase{"1,2,3", std::nullopt}, GermanCase{"1,2a", std::nullopt},
    GermanCase{"12.34,5", std::nullopt}, GermanCase{"inf", std::nullopt}, GermanCase{"1e5", std::nullopt}));

struct MoneyCase { double value; const char* text; };

class MoneyPattern : public ::testing::TestWithParam<MoneyCase> {};

TEST_P(MoneyPattern, FormatsThreeDecimalsHalfAwayFromZero)
{
    EXPECT_EQ(geldText(GetParam().value).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Costs, MoneyPattern, ::testing::Values(
    MoneyCase{0.0285, "0,029"}, MoneyCase{0.1085, "0,109"}, MoneyCase{0.09, "0,090"}, MoneyCase{0.0, "0,000"},
    MoneyCase{12345.6789, "12345,679"}, MoneyCase{-0.0285, "-0,029"}, MoneyCase{0.0004, "0,000"},
    MoneyCase{0.06 * 90 / 60, "0,090"}, MoneyCase{99999.9999, "100000,000"}, MoneyCase{-0.0001, "0,000"}));

struct UpCase { double q; double expected; };

class RoundUp : public ::testing::TestWithParam<UpCase> {};

TEST_P(RoundUp, UsesFifteenDigits)
{
    EXPECT_EQ(aufrunden(GetParam().q), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Quotients, RoundUp, ::testing::Values(
    UpCase{0.07 / 0.01, 7}, UpCase{0.3 / 0.1, 3}, UpCase{0.15 / 0.10, 2}, UpCase{0.0, 0}, UpCase{1.0000001, 2},
    UpCase{-0.5, 0}));

struct TimeCase { const char* text; std::optional<int> seconds; };

class TimeOfDay : public ::testing::TestWithParam<TimeCase> {};

TEST_P(TimeOfDay, ReadsHhMmSs)
{
    EXPECT_EQ(tageszeitSekunden(QString::fromUtf8(GetParam().text)), GetParam().seconds);
    if (GetParam().seconds) {
        EXPECT_EQ(tageszeitText(*GetParam().seconds).toStdString(), GetParam().text);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, TimeOfDay, ::testing::Values(
    TimeCase{"00:00:00", 0}, TimeCase{"23:59:59", 86399}, TimeCase{"24:00:00", 86400},
    TimeCase{"24:00:01", std::nullopt}, TimeCase{"7:00:00", std::nullopt}, TimeCase{"12:60:00", std::nullopt}));

TEST(GermanNumberText, ShowsDecimalComma)
{
    EXPECT_EQ(deutscheZahlText(0.06), QStringLiteral("0,06"));
    EXPECT_EQ(deutscheZahlText(60), QStringLiteral("60"));
    EXPECT_EQ(deutscheZahlText(0.1 + 0.2), QStringLiteral("0,3"));
}
