#include "calls/StartZeit.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using namespace orve;

namespace {

struct Form {
    const char* text;
    const char* erwartet; // "yyyy-MM-dd hh:mm:ss", nullptr: no start
};

class StartZeitForm : public ::testing::TestWithParam<Form> {};

TEST_P(StartZeitForm, ReadsTheFormsOfTheCallTablesAndNothingElse)
{
    const auto& f = GetParam();
    const QString text = QString::fromUtf8(f.text);
    const auto gelesen = startZeitLesen(text);
    const auto schluessel = startZeitSchluessel(QStringView(text));
    const QByteArray utf8 = text.toUtf8();
    const auto schluesselUtf8 = startZeitSchluessel(std::string_view(utf8.constData(), size_t(utf8.size())));
    if (!f.erwartet) {
        EXPECT_FALSE(gelesen.has_value());
        EXPECT_FALSE(schluessel.has_value());
        EXPECT_FALSE(schluesselUtf8.has_value());
        return;
    }
    ASSERT_TRUE(gelesen.has_value());
    EXPECT_EQ(gelesen->toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toStdString(), f.erwartet);
    ASSERT_TRUE(schluessel.has_value());
    EXPECT_EQ(*schluessel, startZeitSchluessel(*gelesen));
    EXPECT_EQ(schluesselUtf8, schluessel);
}

INSTANTIATE_TEST_SUITE_P(
    Formen, StartZeitForm,
    ::testing::Values(Form{"2009-03-21 14:30:00", "2009-03-21 14:30:00"},
                      Form{"  21.03.2009 14:30:00 ", "2009-03-21 14:30:00"},
                      Form{"2009-03-21T14:30:05", "2009-03-21 14:30:05"},
                      Form{"1.3.2009 9:05:07", "2009-03-01 09:05:07"},
                      Form{"21.03.2009", "2009-03-21 00:00:00"},
                      Form{"29.02.2024 23:59:59", "2024-02-29 23:59:59"},
                      Form{"", nullptr}, Form{"alle", nullptr},
                      Form{"29.02.2023 10:00:00", nullptr}, Form{"21.03.2009 24:00:00", nullptr},
                      Form{"21.03.2009 14:30:00 x", nullptr}, Form{"21.03.20091 14:30:00", nullptr},
                      Form{"２１.03.2009 14:30:00", nullptr}));

} // namespace
