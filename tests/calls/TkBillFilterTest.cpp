#include "calls/TkBillFilter.h"
#include "calls/TkBillQuelle.h"

#include "SourceBuilders.h"

#include <QTimeZone>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

QDateTime zeit(const char* iso) { return utcZeit(iso); }

class ParadoxListen : public ::testing::Test {
protected:
    void SetUp() override
    {
        u.paradox({paradoxAnruf("2009-03-21 14:30:00", 22), paradoxAnruf("2009-03-21 14:30:00", 21),
                   paradoxAnruf("2009-01-05 09:00:00", 21), paradoxAnruf("2009-03-22 08:00:00", 21, 1),
                   paradoxAnruf("2008-12-31 23:00:00", 30, 4), paradoxAnruf("2009-03-21 14:30:00", 21)});
    }
    QuellUmgebung u;
};

TEST_F(ParadoxListen, ExtensionsOnlyFromCallsWithFlagsZero)
{
    EXPECT_ZEILEN(nebenstellenEintraege(u.state(), u.quellen),
                  QStringList({"alle", "21  |  (Internnummer) ", "22  |  (Internnummer) "}));
    EXPECT_THROW(datumEintraege(u.state(), u.quellen, QStringLiteral("Zentrale")), QuellFehler);
}

TEST_F(ParadoxListen, DatesPerMomentAndExtensionInOrder)
{
    // 14:30:00 is listed for 21 and for 22; the rows with flags 1 and 4 give nothing.
    EXPECT_ZEILEN(datumEintraege(u.state(), u.quellen, QStringLiteral("alle")),
              QStringList({"alle", "2009-01-05 09:00:00", "2009-03-21 14:30:00", "2009-03-21 14:30:00"}));
    EXPECT_ZEILEN(datumEintraege(u.state(), u.quellen, QString()), datumEintraege(u.state(), u.quellen, QStringLiteral("alle")));
    EXPECT_ZEILEN(datumEintraege(u.state(), u.quellen, QStringLiteral("21  |  (Internnummer) ")),
              QStringList({"alle", "2009-01-05 09:00:00", "2009-03-21 14:30:00"}));
    EXPECT_ZEILEN(datumEintraege(u.state(), u.quellen, QStringLiteral("30  |  (Internnummer) ")), QStringList({"alle"}));
}

TEST_F(ParadoxListen, StagingTableWithoutFlagsGivesAMessage)
{
    u.lokal()->exec("ALTER TABLE paradox DROP COLUMN flags");
    EXPECT_FEHLER(nebenstellenEintraege(u.state(), u.quellen), "\"flags\"");
    EXPECT_FEHLER(datumEintraege(u.state(), u.quellen, QStringLiteral("alle")), "\"flags\"");
}

struct SqliteArt {
    const char* name;
    StdbillOptionen optionen;
};

class SqliteListen : public ::testing::TestWithParam<SqliteArt> {
protected:
    void SetUp() override
    {
        u.sqlite({{zeit("2009-03-21 14:30:00"), 22, QStringLiteral("Lager")},
                  {zeit("2009-03-21 14:30:00"), 21, QStringLiteral("Zentrale")},
                  {zeit("2008-12-31 23:00:00"), 21, QStringLiteral("Zentrale")},
                  {zeit("2009-01-05 09:00:00"), 21, QStringLiteral("Empfang")},
                  {zeit("2009-02-01 10:00:00"), 22, QStringLiteral("Lager")}},
                 GetParam().optionen);
    }
    QString t(const char* iso) const { return stdbillZeit(zeit(iso), GetParam().optionen.zeit); }
    QuellUmgebung u;
};

TEST_P(SqliteListen, ExtensionOncePerNumberAndName)
{
    EXPECT_ZEILEN(nebenstellenEintraege(u.state(), u.quellen).mid(0, 1), QStringList({"alle"}));
    QStringList rest = nebenstellenEintraege(u.state(), u.quellen).mid(1);
    rest.sort(); // the two names of extension 21 in either order
    EXPECT_ZEILEN(rest, QStringList({"21  |  Empfang", "21  |  Zentrale", "22  |  Lager"}));
}

TEST_P(SqliteListen, EachDistinctStartOnceInChronologicalOrder)
{
    EXPECT_ZEILEN(datumEintraege(u.state(), u.quellen, QStringLiteral("alle")),
              QStringList({"alle", t("2008-12-31 23:00:00"), t("2009-01-05 09:00:00"), t("2009-02-01 10:00:00"),
                           t("2009-03-21 14:30:00")}));
    EXPECT_ZEILEN(datumEintraege(u.state(), u.quellen, QStringLiteral("21  |  Zentrale")),
              QStringList({"alle", t("2008-12-31 23:00:00"), t("2009-01-05 09:00:00"), t("2009-03-21 14:30:00")}));
    EXPECT_ZEILEN(datumEintraege(u.state(), u.quellen, QStringLiteral("22")),
              QStringList({"alle", t("2009-02-01 10:00:00"), t("2009-03-21 14:30:00")}));
}

INSTANTIATE_TEST_SUITE_P(
    Formen, SqliteListen,
    ::testing::Values(SqliteArt{"IsoInteger", {StdbillOptionen::User::Integer, StdbillOptionen::Zeit::Iso}},
                      SqliteArt{"GermanText", {StdbillOptionen::User::Text, StdbillOptionen::Zeit::Deutsch}}),
    [](const ::testing::TestParamInfo<SqliteArt>& i) { return std::string(i.param.name); });

TEST(SqliteListenQuelle, SourceWithoutStdbillGivesAMessage)
{
    QuellUmgebung u;
    u.sqlite("CREATE TABLE andere (x)");
    EXPECT_THROW(nebenstellenEintraege(u.state(), u.quellen), QuellFehler);
    EXPECT_THROW(datumEintraege(u.state(), u.quellen, QStringLiteral("alle")), QuellFehler);
}

} // namespace
