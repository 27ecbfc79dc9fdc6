#include "report/BerichtDaten.h"

#include "common/LocalDatabase.h"
#include "report/BerichtLayout.h"
#include "startup/OdbcDatenquellen.h"
#include "startup/OdbcSchluessel.h"

#include "BerichtBeispiel.h"
#include "RegistryFixtures.h"
#include "TempProgramFolder.h"

#include <QCoreApplication>

#include <SQLiteCpp/SQLiteCpp.h>

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

BillZeile anruf(const char* user, const char* name, const char* time, std::optional<double> ucosts,
                const char* rufziel = "Ortstarif Berlin")
{
    BillZeile z;
    z.user = QString::fromUtf8(user);
    z.username = QString::fromUtf8(name);
    z.time = QString::fromUtf8(time);
    z.number = QStringLiteral("0301234567");
    z.duration = QStringLiteral("90");
    z.rufziel = QString::fromUtf8(rufziel);
    z.ucosts = ucosts;
    if (ucosts)
        z.ucostsBrutto = *ucosts * 1.19;
    return z;
}

std::string gruppenText(const BerichtDaten& d)
{
    std::string s;
    for (const auto& g : d.gruppen) {
        s += (g.user + QLatin1Char('/') + g.username + QStringLiteral(": ") + zweiStellen(g.Kostensumme)
              + QLatin1Char('/') + zweiStellen(g.Bruttokosten))
                 .toStdString();
        for (const auto& a : g.bill)
            s += " [" + a.time.toStdString() + "]";
        s += "\n";
    }
    return s;
}

} // namespace

// The import writes extension 21 before 100 and each extension's calls
// chronologically; as text, "100" < "21", "05.01.2009" < "28.12.2008" and
// the German form sorts before the ISO form. The report keeps the import's
// order, groups by user and username, and sums the stored costs.
TEST(BerichtDaten, GroupsInImportOrderWithTheSumsOfTheStoredCosts)
{
    TempProgramFolder ordner;
    const QString datei = ordner.file(QStringLiteral("Datenbank/Bill.sqlite"));
    {
        auto db = lokaleDatenbankOeffnen(datei);
        billSchreiben(*db, {
            anruf("21", "Empfang", "28.12.2008 17:00:00", 0.108),
            anruf("21", "Empfang", "05.01.2009 09:30:00", 0.090),
            anruf("21", "Empfang", "2009-01-05 10:00:00", std::nullopt, "????"),
            anruf("100", "Zimmer 100", "2009-01-02 08:00:00", 1.005),
            anruf("100", "Zimmer 100", "2009-01-10 08:00:00", 0.0, "Internes S0 Gespräch"),
        });
        db->exec("INSERT INTO bill (time, user, username, rufziel) VALUES ('2009-01-11 08:00:00', '22', 'Lager', '\?\?\?\?')");
    }
    const std::string erwartet =
        "21/Empfang: 0,20/0,24 [28.12.2008 17:00:00] [05.01.2009 09:30:00] [2009-01-05 10:00:00]\n"
        "100/Zimmer 100: 1,01/1,20 [2009-01-02 08:00:00] [2009-01-10 08:00:00]\n"
        "22/Lager: / [2009-01-11 08:00:00]\n";

    auto db = lokaleDatenbankOeffnen(datei);
    const BerichtDaten direkt = bill_Grouping(*db);
    EXPECT_EQ(gruppenText(direkt), erwartet);
    EXPECT_FALSE(direkt.gruppen[0].bill[2].ucosts) << "a ???? row keeps empty costs";

    // The same through the report's shaped connection string.
    SpeicherRegistry reg = standardRegistry();
    ASSERT_TRUE(AccessDatenquelleAnlegen(reg, QCoreApplication::applicationFilePath(), kAccessDatenquelle, 1));
    OdbcDatenquellen quellen(reg);
    EXPECT_EQ(gruppenText(bill_Grouping(quellen, lokaleShapeVerbindung(ordner.path(), 1))), erwartet);
}

// 12345 calls of 0,001 cost 12,345, shown as 12,35; added up plainly the
// doubles give 12,34499999999860 and the total one cent short.
TEST(BerichtDaten, ManyCallsAddUpToTheExactCent)
{
    TempProgramFolder ordner;
    auto db = lokaleDatenbankOeffnen(ordner.file(QStringLiteral("Datenbank/Bill.sqlite")));
    billSchreiben(*db, std::vector<BillZeile>(12345, anruf("21", "Empfang", "2009-01-02 08:00:00", 0.001)));
    const BerichtDaten d = bill_Grouping(*db);
    ASSERT_EQ(d.gruppen.size(), 1u);
    EXPECT_EQ(zweiStellen(d.gruppen[0].Kostensumme), QStringLiteral("12,35"));
}
