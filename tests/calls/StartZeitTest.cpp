#include "calls/StartZeit.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace orve;

namespace {

// The forms of the call tables and nothing else, read alike from UTF-16 and
// UTF-8, as seconds since the beginning of the Julian day count.
TEST(StartZeit, ReadsTheFormsOfTheCallTablesAndNothingElse)
{
    const std::pair<const char*, const char*> faelle[] = { // text, "yyyy-MM-dd hh:mm:ss" or nullptr: no start
        {"2009-03-21 14:30:00", "2009-03-21 14:30:00"}, {"  21.03.2009 14:30:00 ", "2009-03-21 14:30:00"},
        {"2009-03-21T14:30:05", "2009-03-21 14:30:05"}, {"1.3.2009 9:05:07", "2009-03-01 09:05:07"},
        {"21.03.2009", "2009-03-21 00:00:00"},          {"29.02.2024 23:59:59", "2024-02-29 23:59:59"},
        {"", nullptr}, {"alle", nullptr}, {"29.02.2023 10:00:00", nullptr}, {"21.03.2009 24:00:00", nullptr},
        {"21.03.2009 14:30:00 x", nullptr}, {"21.03.20091 14:30:00", nullptr}, {"２１.03.2009 14:30:00", nullptr},
        {"21.003.2009", nullptr},
    };
    for (const auto& [text, soll] : faelle) {
        const auto schluessel = startZeitSchluessel(QStringView(QString::fromUtf8(text)));
        EXPECT_EQ(startZeitSchluessel(std::string_view(text)), schluessel) << text;
        std::optional<std::int64_t> erwartet;
        if (soll) {
            const QDateTime d = QDateTime::fromString(QString::fromLatin1(soll), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
            erwartet = d.date().toJulianDay() * 86400 + d.time().msecsSinceStartOfDay() / 1000;
        }
        EXPECT_EQ(schluessel, erwartet) << text;
    }
}

} // namespace
