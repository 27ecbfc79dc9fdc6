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

Tarifeintrag tarif(const QString& vorwahl, const QString& von, const QString& bis, double preis = 0.06)
{
    Tarifeintrag e;
    e.vorwahl = vorwahl;
    e.Bezeichnung = QStringLiteral("Bezeichnung ") + vorwahl;
    e.vonZeit = von;
    e.bisZeit = bis;
    e.Minutenpreis = preis;
    e.Pauschale = 0.0;
    e.Sekundentakt = 60.0;
    e.typ = QStringLiteral("D");
    e.username = QStringLiteral("meier");
    return e;
}

class TarifTabellen : public ::testing::TestWithParam<Tariftabelle> {
protected:
    TempProgramFolder dir;
    std::unique_ptr<SQLite::Database> db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
    Tariftabelle t() const { return GetParam(); }

    // What the table keeps of a row written through the layer.
    Tarifeintrag gespeichert(Tarifeintrag e, std::int64_t satz) const
    {
        e.satz = satz;
        if (!hatTarifspalten(t())) {
            Tarifeintrag k;
            k.satz = satz;
            k.vorwahl = e.vorwahl;
            k.Bezeichnung = e.Bezeichnung;
            return k;
        }
        return e;
    }

    std::vector<QString> vorwahlen()
    {
        std::vector<QString> out;
        for (const auto& e : tarifeLesen(*db, t()))
            out.push_back(e.vorwahl.value_or(QStringLiteral("<null>")) + QLatin1Char('/')
                          + e.vonZeit.value_or(QString()));
        return out;
    }
};

INSTANTIATE_TEST_SUITE_P(AlleTabellen, TarifTabellen,
                         ::testing::Values(Tariftabelle::faktor, Tariftabelle::Ortstarif, Tariftabelle::CallByCall),
                         [](const auto& info) { return tabellenName(info.param).toStdString(); });

TEST_P(TarifTabellen, PrefixesAreOrderedAsTextThenByStartTime)
{
    tarifEinfuegen(*db, t(), tarif("0800", "00:00:00", "24:00:00"));
    tarifEinfuegen(*db, t(), tarif("030", "08:00:00", "24:00:00"));
    tarifEinfuegen(*db, t(), tarif("0171", "00:00:00", "24:00:00"));
    tarifEinfuegen(*db, t(), tarif("030", "00:00:00", "08:00:00"));
    if (hatTarifspalten(t()))
        EXPECT_EQ(vorwahlen(), (std::vector<QString>{"0171/00:00:00", "030/00:00:00", "030/08:00:00",
                                                     "0800/00:00:00"}));
    else
        EXPECT_EQ(vorwahlen(), (std::vector<QString>{"0171/", "030/", "030/", "0800/"}));
}

TEST_P(TarifTabellen, InsertedRowsGetTheirOwnNumberAndReadBackUnchanged)
{
    // An apostrophe is data like any other character.
    const Tarifeintrag a = tarif("0'30", "00:00:00", "24:00:00", 0.0285);
    const Tarifeintrag b = tarif("0'30", "18:00:00", "24:00:00", 1234.5);
    const auto satzA = tarifEinfuegen(*db, t(), a);
    const auto satzB = tarifEinfuegen(*db, t(), b);
    EXPECT_GT(satzA, 0);
    EXPECT_GT(satzB, satzA);
    EXPECT_EQ(tarifFinden(*db, t(), satzA), gespeichert(a, satzA));
    EXPECT_EQ(tarifFinden(*db, t(), satzB), gespeichert(b, satzB));
    EXPECT_EQ(vorwahlZaehlen(*db, t(), QStringLiteral("0'30")), 2);
    EXPECT_EQ(vorwahlZaehlen(*db, t(), QStringLiteral("0'30 ")), 0);
    EXPECT_EQ(vorwahlZaehlen(*db, t(), QStringLiteral("0'3")), 0);
}

TEST_P(TarifTabellen, RewriteKeepsTheNumberAndRefusesAMissingRow)
{
    const auto satz = tarifEinfuegen(*db, t(), tarif("089", "00:00:00", "24:00:00"));
    Tarifeintrag neu = tarif("089", "08:00:00", "18:00:00", 0.1);
    neu.Bezeichnung = QStringLiteral("München");
    neu.satz = satz;
    EXPECT_TRUE(tarifAendern(*db, t(), neu));
    EXPECT_EQ(tarifFinden(*db, t(), satz), gespeichert(neu, satz));

    Tarifeintrag weg = neu;
    weg.satz = satz + 1;
    weg.Bezeichnung = QStringLiteral("anders");
    EXPECT_FALSE(tarifAendern(*db, t(), weg));
    EXPECT_EQ(tarifeLesen(*db, t()).size(), 1u);
    EXPECT_EQ(tarifFinden(*db, t(), satz), gespeichert(neu, satz));
}

TEST_P(TarifTabellen, DeletedRowIsNotFoundAgain)
{
    const auto a = tarifEinfuegen(*db, t(), tarif("040", "00:00:00", "24:00:00"));
    const auto b = tarifEinfuegen(*db, t(), tarif("040", "00:00:00", "24:00:00"));
    EXPECT_EQ(tarifLoeschen(*db, t(), a), 1);
    EXPECT_EQ(tarifLoeschen(*db, t(), a), 0);
    EXPECT_FALSE(tarifFinden(*db, t(), a));
    EXPECT_TRUE(tarifFinden(*db, t(), b));
    // A later row never takes the number of a deleted one.
    EXPECT_GT(tarifEinfuegen(*db, t(), tarif("040", "00:00:00", "24:00:00")), b);
}

struct SatzFall {
    const char* text;
    std::optional<std::int64_t> nummer;
};

class SatzText : public ::testing::TestWithParam<SatzFall> {};

INSTANTIATE_TEST_SUITE_P(
    Faelle, SatzText,
    ::testing::Values(SatzFall{"7", 7}, SatzFall{" 007 ", 7}, SatzFall{"", std::nullopt}, SatzFall{"7abc", std::nullopt},
                      SatzFall{"7,0", std::nullopt}, SatzFall{"1 OR 1=1", std::nullopt},
                      SatzFall{"99999999999999999999", std::nullopt}));

TEST_P(SatzText, OnlyAWholeNumberIsARecordNumber)
{
    EXPECT_EQ(satzNummer(QString::fromUtf8(GetParam().text)), GetParam().nummer);

    TempProgramFolder dir;
    auto db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
    db->exec("INSERT INTO faktor (satz, vorwahl) VALUES (7, '030')");
    const auto gefunden = tarifFinden(*db, Tariftabelle::faktor, QString::fromUtf8(GetParam().text));
    EXPECT_EQ(gefunden.has_value(), GetParam().nummer == 7);
    EXPECT_EQ(tarifeLesen(*db, Tariftabelle::faktor).size(), 1u);
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
    const auto e = tarifFinden(*db, Tariftabelle::faktor, 50);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Minutenpreis, 0.14);
    EXPECT_FALSE(e->Bezeichnung);
    EXPECT_FALSE(e->bisZeit);
    EXPECT_FALSE(e->Pauschale);
    EXPECT_FALSE(e->Sekundentakt);
    EXPECT_FALSE(e->typ);
}

} // namespace
