#include "report/BerichtDaten.h"

#include "common/LocalDatabase.h"
#include "report/BerichtLayout.h"

#include "BerichtBeispiel.h"
#include "TempProgramFolder.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

BillZeile anruf(const char* user, const char* name, const char* time, std::optional<double> ucosts,
                const char* rufziel = "Ortstarif Berlin")
{
    return BillZeile{time, user, name, QStringLiteral("0301234567"), QStringLiteral("90"), ucosts, rufziel, "1",
                     std::nullopt, QString(), ucosts ? std::optional(*ucosts * 1.19) : std::nullopt};
}

std::string gruppenText(const BerichtDaten& d)
{
    QString s;
    for (const auto& g : d.gruppen) {
        s += g.user + u'/' + g.username + u':' + u' ' + zweiStellen(g.Kostensumme) + u'/' + zweiStellen(g.Bruttokosten);
        for (const auto& a : g.bill)
            s += QStringLiteral(" [%1 %2]").arg(a.time, a.number);
        s += u'\n';
    }
    return s.toStdString();
}

} // namespace

// The import writes extension 21 before 100 and each extension's calls
// chronologically; as text, "100" < "21", "05.01.2009" < "28.12.2008" and
// the German form sorts before the ISO form. The report keeps the import's
// order, groups by user and username, and sums the stored costs (also one
// another writer stored as a German text) to halves away from zero.
TEST(BerichtDaten, GroupsInImportOrderWithTheSumsOfTheStoredCosts)
{
    TempProgramFolder ordner;
    auto db = lokaleDatenbankOeffnen(ordner.file(QStringLiteral("Datenbank/Bill.sqlite")));
    billSchreiben(*db, {anruf("21", "Empfang", "28.12.2008 17:00:00", 0.108),
                        anruf("21", "Empfang", "05.01.2009 09:30:00", 0.090),
                        anruf("21", "Empfang", "2009-01-05 10:00:00", std::nullopt, "????"),
                        anruf("21", "Einkauf", "2009-01-06 10:00:00", 0.5), // the extension renamed
                        anruf("100", "Zimmer 100", "2009-01-02 08:00:00", 1.005),
                        anruf("100", "Zimmer 100", "2009-01-10 08:00:00", 0.0, "Internes S0 Gespräch")});
    db->exec("INSERT INTO bill (time, user, username, ucosts) VALUES ('2009-01-11 08:00:00', '22', 'Lager', '-0,005')");
    const std::string erwartet = "21/Empfang: 0,20/0,24 [28.12.2008 17:00:00 0301234567] [05.01.2009 09:30:00 0301234567] "
                                 "[2009-01-05 10:00:00 0301234567]\n"
                                 "21/Einkauf: 0,50/0,60 [2009-01-06 10:00:00 0301234567]\n"
                                 "100/Zimmer 100: 1,01/1,20 [2009-01-02 08:00:00 0301234567] "
                                 "[2009-01-10 08:00:00 0301234567]\n"
                                 "22/Lager: -0,01/ [2009-01-11 08:00:00 ]\n";
    const BerichtDaten d = bill_Grouping(*db);
    EXPECT_EQ(gruppenText(d), erwartet);
    EXPECT_FALSE(d.gruppen[0].bill[2].ucosts) << "a ???? row keeps empty costs";
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
