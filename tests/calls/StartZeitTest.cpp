#include "calls/StartZeit.h"

#include <QTimeZone>

#include <SQLiteCpp/SQLiteCpp.h>
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
                      Form{"21.03.2009 14:30", "2009-03-21 14:30:00"},
                      Form{"2009-03-21 14:30:00.250", "2009-03-21 14:30:00"},
                      Form{"21.03.2009", "2009-03-21 00:00:00"},
                      Form{"29.02.2024 23:59:59", "2024-02-29 23:59:59"},
                      Form{"", nullptr}, Form{"alle", nullptr},
                      Form{"29.02.2023 10:00:00", nullptr}, Form{"21.03.2009 24:00:00", nullptr},
                      Form{"21.03.09 14:30:00", nullptr}, Form{"2009-3-21 14:30:00", nullptr},
                      Form{"21.03.2009 14:30:00 x", nullptr}, Form{"21.03.20091 14:30:00", nullptr},
                      Form{"２１.03.2009 14:30:00", nullptr}));

TEST(StartZeitSchluessel, OrdersChronologicallyWhateverTheForm)
{
    // In the German form text order is not time order; the key is.
    const QStringList chronologisch{QStringLiteral("31.12.2008 23:59:59"), QStringLiteral("2009-01-01 00:00:00"),
                                    QStringLiteral("01.01.2009 00:00:01"), QStringLiteral("2009-02-01 08:00:00"),
                                    QStringLiteral("15.02.2009 08:00:00")};
    for (int i = 1; i < chronologisch.size(); ++i)
        EXPECT_LT(*startZeitSchluessel(QStringView(chronologisch[i - 1])),
                  *startZeitSchluessel(QStringView(chronologisch[i])))
            << chronologisch[i - 1].toStdString() << " / " << chronologisch[i].toStdString();
    EXPECT_EQ(*startZeitSchluessel(QStringView(u"2009-03-21 14:30:01"))
                  - *startZeitSchluessel(QStringView(u"21.03.2009 14:29:59")),
              2);
}

TEST(StartZeitSchluessel, SqlFunctionGivesTheKeyOrNull)
{
    SQLite::Database db(":memory:", SQLite::OPEN_READWRITE);
    startZeitFunktionAnmelden(db);
    db.exec("CREATE TABLE t (x)");
    db.exec("INSERT INTO t VALUES ('21.03.2009 14:30:00'), ('2009-03-21 14:30:00'), ('kaputt'), (NULL), (42)");
    SQLite::Statement q(db, "SELECT orve_startzeit(x) FROM t ORDER BY rowid");
    std::vector<std::optional<std::int64_t>> werte;
    while (q.executeStep())
        werte.push_back(q.getColumn(0).isNull() ? std::nullopt : std::optional<std::int64_t>(q.getColumn(0).getInt64()));
    ASSERT_EQ(werte.size(), 5u);
    EXPECT_EQ(werte[0], startZeitSchluessel(QStringView(u"2009-03-21 14:30:00")));
    EXPECT_EQ(werte[1], werte[0]);
    EXPECT_FALSE(werte[2].has_value());
    EXPECT_FALSE(werte[3].has_value());
    EXPECT_FALSE(werte[4].has_value());
}

} // namespace
