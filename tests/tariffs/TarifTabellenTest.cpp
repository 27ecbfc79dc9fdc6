#include "tariffs/TarifTabellen.h"

#include "common/LocalDatabase.h"

#include "TempProgramFolder.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

using namespace orve;
using orve::test::TempProgramFolder;

namespace {

// Every table: rows get their own number and read back unchanged (an
// apostrophe is data like any other character) in the order of prefix and
// start, a rewrite keeps the number and refuses a row that is gone, and a
// deleted number is never used again.
TEST(TarifTabellen, InsertReadRewriteAndDeleteByRecordNumber)
{
    TempProgramFolder dir;
    auto db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
    for (const Tariftabelle t : {Tariftabelle::faktor, Tariftabelle::Ortstarif, Tariftabelle::CallByCall}) {
        SCOPED_TRACE(tabellenName(t).toStdString());
        auto tarif = [t](const char* vorwahl, const char* von, double preis) {
            return hatTarifspalten(t) ? Tarifeintrag{0, vorwahl, "Tarif", von, "24:00:00", preis, 0.0, 60.0, "D", "meier"}
                                      : Tarifeintrag{0, vorwahl, "Tarif"};
        };
        const auto satzA = tarifEinfuegen(*db, t, tarif("0'30", "18:00:00", 0.0285));
        const auto satzB = tarifEinfuegen(*db, t, tarif("0'30", "00:00:00", 1234.5));
        const auto satzC = tarifEinfuegen(*db, t, tarif("0'1", "18:00:00", 0.1));
        EXPECT_GT(satzB, satzA);
        Tarifeintrag a = tarif("0'30", "18:00:00", 0.0285);
        a.satz = satzA;
        EXPECT_EQ(tarifFinden(*db, t, satzA), a);
        std::vector<std::int64_t> reihe;
        for (const auto& e : tarifeLesen(*db, t))
            reihe.push_back(e.satz);
        EXPECT_EQ(reihe, (hatTarifspalten(t) ? std::vector{satzC, satzB, satzA} : std::vector{satzC, satzA, satzB}));
        EXPECT_EQ(vorwahlZaehlen(*db, t, QStringLiteral("0'30")), 2);
        EXPECT_EQ(vorwahlZaehlen(*db, t, QStringLiteral("0'30 ")), 0);

        Tarifeintrag neu = tarif("089", "08:00:00", 0.1);
        neu.satz = satzA;
        EXPECT_TRUE(tarifAendern(*db, t, neu));
        EXPECT_EQ(tarifFinden(*db, t, satzA), neu);
        neu.satz = satzC + 1;
        EXPECT_FALSE(tarifAendern(*db, t, neu));
        EXPECT_EQ(tarifLoeschen(*db, t, satzC), 1);
        EXPECT_EQ(tarifLoeschen(*db, t, satzC), 0);
        EXPECT_EQ(tarifFinden(*db, t, satzC), std::nullopt);
        EXPECT_GT(tarifEinfuegen(*db, t, a), satzC);
    }
}

TEST(TarifTabellen, PricesAreStoredAsNumbersAndReadBackFromTextOrNull)
{
    TempProgramFolder dir;
    auto db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
    tarifEinfuegen(*db, Tariftabelle::faktor, {0, "030", "Berlin", "00:00:00", "24:00:00", 0.06, 0.0, 60.0, "D"});
    EXPECT_EQ(db->execAndGet(R"(SELECT typeof(Minutenpreis) || typeof(Pauschale) || typeof(Sekundentakt)
                                || typeof("von Zeit") FROM faktor)").getString(), "realrealintegertext");
    // A row left by another tool: Nulls, and a price kept as German text.
    db->exec(R"(INSERT INTO faktor (satz, vorwahl, Minutenpreis, "bis Zeit") VALUES (50, '0180', '0,14', NULL))");
    EXPECT_EQ(tarifFinden(*db, Tariftabelle::faktor, 50), (Tarifeintrag{.satz = 50, .vorwahl = "0180", .Minutenpreis = 0.14}));
}

} // namespace
