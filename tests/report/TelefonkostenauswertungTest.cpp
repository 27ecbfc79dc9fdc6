#include "report/RufnummerKuerzen.h"
#include "report/Telefonkostenauswertung.h"

#include "common/AppState.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orve;

namespace {

BerichtAnruf anruf(const char* rufziel, std::optional<double> ucosts, const char* number = "0301234567")
{
    return BerichtAnruf{"05.01.2009 09:30:00", "21", "Empfang", number, "125", ucosts, rufziel, "2"};
}

int a4Hoehe()
{
    return static_cast<int>(std::floor(Telefonkostenauswertung::seitenformat().paintRect(QPageLayout::Point).height() * 20));
}

// "name=text" of the controls on a page whose names are listed, in order.
QString texte(const std::vector<Zeichnung>& seite, const QStringList& namen)
{
    QStringList z;
    for (const auto& d : seite)
        if (namen.contains(d.name))
            z << d.name + QLatin1Char('=') + d.text;
    return z.join(QLatin1Char(' '));
}

} // namespace

TEST(Telefonkostenauswertung, ShowsFieldsInTheirFormatsAndTheVatCaptionBuiltAtStart)
{
    const BerichtDaten d{{BerichtGruppe{QStringLiteral("21"), QStringLiteral("Empfang"), 0.198, 0.23562, {
        anruf("Ortstarif Berlin", 0.108), anruf("Internes S0 Gespräch", 0.0, ""), anruf("????", std::nullopt)}}}};
    const QStringList namen = {"Bezeichnung3", "Text9", "Text10", "Text6", "Text4", "Text7", "Text8", "Text11",
                               "Bezeichnung12", "Text12"};
    const struct { const char* steuersatz; int ohneMwst, kuerzen; const char *nummer, *fuss; } faelle[] = {
        {"19", 0, 0, "0301234567", " Bezeichnung12=Summe Kosten incl. 19 MwSt: Text12=0,24"},
        {"7.5", 0, 1, "0301234xxx", " Bezeichnung12=Summe Kosten incl. 7,5 MwSt: Text12=0,24"},
        {"7,5", 0, 0, "0301234567", " Bezeichnung12=Summe Kosten incl. 7 MwSt: Text12=0,24"},
        {"19", 1, 0, "0301234567", ""},
    };
    for (const auto& f : faelle) {
        AppState state;
        state.Steuersatz = QString::fromUtf8(f.steuersatz);
        state.OhneMwst = f.ohneMwst;
        state.RufnummernKuerzen = f.kuerzen;
        BerichtOptionen o = BerichtOptionen::aus(state);
        o.datum = QDate(2009, 2, 1);
        const Telefonkostenauswertung b(d, o);
        const auto e = b.seitenEinteilen(a4Hoehe());
        ASSERT_EQ(e.seiten(), 1u);
        EXPECT_EQ(texte(b.seite(e, 0), namen).toStdString(),
                  QStringLiteral("Bezeichnung3=01.02.2009 Text9=21 Text10=Empfang Text6=Ortstarif Berlin Text4=%1 "
                                 "Text7=125 Text8=0,108 Text6=Internes S0 Gespräch Text4= Text7=125 Text8=0,000 "
                                 "Text6=???? Text4=%1 Text7=125 Text8= Text11=0,20%2")
                      .arg(f.nummer, f.fuss).toStdString());
    }
}

TEST(Rufnummer, ShortenedByItsLastThreeDigits)
{
    const std::pair<const char*, const char*> nummern[] = {
        {"0301234567        ", "0301234xxx        "}, {"08912345", "08912xxx"}, {"110", "xxx"}, {"12 ", "xxx "},
        {"unbekannt", "unbekannt"}, {"", ""}};
    for (const auto& [nummer, gekuerzt] : nummern)
        EXPECT_EQ(rufnummerKuerzen(QString::fromUtf8(nummer)).toStdString(), gekuerzt) << nummer;
}

// Extensions of many sizes over 23 pages: every call once, a group header never without the group's first call
// nor a footer without its last, every section above the page footer, the pages numbered "Seite n von 23".
TEST(Telefonkostenauswertung, SplitsIntoNumberedPagesKeepingGroupHeadersAndFootersWithTheirCalls)
{
    BerichtDaten d;
    for (std::size_t n : {1, 1, 1, 2, 3, 40, 2, 7, 45, 46, 44, 1, 1, 2, 100, 500})
        d.gruppen.push_back({QString::number(21 + d.gruppen.size()), "Empfang", 0.1, 0.1, {n, anruf("Berlin", 0.1)}});
    while (Telefonkostenauswertung(d, {}).seitenEinteilen(a4Hoehe()).seiten() < 23)
        d.gruppen.back().bill.push_back(anruf("Berlin", 0.1));
    const Telefonkostenauswertung b(d, {});
    const auto e = b.seitenEinteilen(a4Hoehe());
    ASSERT_EQ(e.seiten(), 23u);
    QString abschnitte; // K group header, D call, F group footer
    for (std::size_t s = 0; s < e.seiten(); ++s) {
        const auto seite = b.seite(e, s);
        EXPECT_EQ(texte(seite, {"Bezeichnung6", "Bezeichnung5", "Bezeichnung7", "Bezeichnung4"}),
                  QStringLiteral("Bezeichnung4=23 Bezeichnung5=%1 Bezeichnung6=Seite Bezeichnung7=von").arg(s + 1));
        QString hier;
        for (const Zeichnung& z : seite) {
            if (const auto art = QStringList{"Text9", "Text8", "Text11"}.indexOf(z.name); art >= 0)
                hier += QLatin1Char("KDF"[art]);
            if (z.name != QLatin1String("Linie1") && !z.name.startsWith(QLatin1String("Bezeichnung"))) {
                EXPECT_LE(z.rechteck.bottom(), e.fussY()) << "page " << s + 1 << " " << z.name.toStdString();
            }
        }
        EXPECT_FALSE(hier.startsWith(QLatin1Char('F')) || hier.endsWith(QLatin1Char('K')))
            << "page " << s + 1 << ": " << hier.toStdString();
        abschnitte += hier;
    }
    QString soll;
    for (const BerichtGruppe& g : d.gruppen)
        soll += QLatin1Char('K') + QString(g.bill.size(), QLatin1Char('D')) + QLatin1Char('F');
    EXPECT_EQ(abschnitte, soll);
    EXPECT_EQ(Telefonkostenauswertung({}, {}).seitenEinteilen(a4Hoehe()).seiten(), 1u) << "an empty report has its page";
}
