#include "tariffs/TarifTabellen.h"

#include "common/LocalDatabase.h"

#include "TempProgramFolder.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace orve;
using orve::test::TempProgramFolder;

namespace {

Tarifeintrag tarif(const QString& vorwahl, const QString& von, const QString& bis, double preis)
{
    return {0, vorwahl, "Bezeichnung " + vorwahl, von, bis, preis, 0.0, 60.0, QStringLiteral("D"), QStringLiteral("meier")};
}

class TarifTabellen : public ::testing::TestWithParam<Tariftabelle> {
protected:
    TempProgramFolder dir;
    std::unique_ptr<SQLite::Database> db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
    Tariftabelle t() const { return GetParam(); }

    // What the table keeps of a row written through the layer: the provider
    // table has prefix and description only.
    Tarifeintrag gespeichert(Tarifeintrag e, std::int64_t satz) const
    {
        e.satz = satz;
        return hatTarifspalten(t()) ? e : Tarifeintrag{satz, e.vorwahl, e.Bezeichnung};
    }
};

INSTANTIATE_TEST_SUITE_P(AlleTabellen, TarifTabellen,
                         ::testing::Values(Tariftabelle::faktor, Tariftabelle::Ortstarif, Tariftabelle::CallByCall),
                         [](const auto& info) { return tabellenName(info.param).toStdString(); });

// Every table: rows get their own number and read back unchanged (an
// apostrophe is data like any other character), a rewrite keeps the number
// and refuses a row that is gone, and a deleted number is never used again.
TEST_P(TarifTabellen, InsertFindRewriteAndDeleteByRecordNumber)
{
    const Tarifeintrag a = tarif("0'30", "00:00:00", "24:00:00", 0.0285);
    const auto satzA = tarifEinfuegen(*db, t(), a);
    const auto satzB = tarifEinfuegen(*db, t(), tarif("0'30", "18:00:00", "24:00:00", 1234.5));
    EXPECT_GT(satzA, 0);
    EXPECT_GT(satzB, satzA);
    EXPECT_EQ(tarifFinden(*db, t(), satzA), gespeichert(a, satzA));
    EXPECT_EQ(vorwahlZaehlen(*db, t(), QStringLiteral("0'30")), 2);
    EXPECT_EQ(vorwahlZaehlen(*db, t(), QStringLiteral("0'30 ")), 0);

    Tarifeintrag neu = tarif("089", "08:00:00", "18:00:00", 0.1);
    neu.satz = satzA;
    EXPECT_TRUE(tarifAendern(*db, t(), neu));
    EXPECT_EQ(tarifFinden(*db, t(), satzA), gespeichert(neu, satzA));
    neu.satz = satzB + 1;
    EXPECT_FALSE(tarifAendern(*db, t(), neu));
    EXPECT_EQ(tarifeLesen(*db, t()).size(), 2u);

    EXPECT_EQ(tarifLoeschen(*db, t(), satzB), 1);
    EXPECT_EQ(tarifLoeschen(*db, t(), satzB), 0);
    EXPECT_FALSE(tarifFinden(*db, t(), satzB));
    EXPECT_GT(tarifEinfuegen(*db, t(), a), satzB);
}

TEST(TarifSpeicherung, PricesAreNumbersAndNullsStayNull)
{
    TempProgramFolder dir;
    auto db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
    const auto satz = tarifEinfuegen(*db, Tariftabelle::faktor, tarif("030", "00:00:00", "24:00:00", 0.06));
    SQLite::Statement q(*db, R"(SELECT typeof(Minutenpreis), typeof(Pauschale), typeof(Sekundentakt),
                                       typeof("von Zeit") FROM faktor WHERE satz = ?)");
    q.bind(1, static_cast<std::int64_t>(satz));
    ASSERT_TRUE(q.executeStep());
    EXPECT_EQ(q.getColumn(0).getString(), "real");
    EXPECT_EQ(q.getColumn(1).getString(), "real");
    EXPECT_EQ(q.getColumn(2).getString(), "integer");
    EXPECT_EQ(q.getColumn(3).getString(), "text");

    // A row left by another tool: Nulls, and a price kept as German text.
    db->exec(R"(INSERT INTO faktor (satz, vorwahl, Minutenpreis, "bis Zeit") VALUES (50, '0180', '0,14', NULL))");
    EXPECT_EQ(tarifFinden(*db, Tariftabelle::faktor, 50), (Tarifeintrag{.satz = 50, .vorwahl = "0180", .Minutenpreis = 0.14}));
}

} // namespace
