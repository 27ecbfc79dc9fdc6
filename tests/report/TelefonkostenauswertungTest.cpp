#include "common/AppState.h"
#include "report/RufnummerKuerzen.h"
#include "report/Telefonkostenauswertung.h"

#include "TempProgramFolder.h"

#include <QFile>
#include <QPageLayout>

#include <gtest/gtest.h>

#include <cmath>

using namespace orve;
using namespace orve::test;

namespace {

BerichtAnruf anruf(const char* user, const char* rufziel, std::optional<double> ucosts, const char* number = "0301234567")
{
    BerichtAnruf a;
    a.user = QString::fromUtf8(user);
    a.username = QStringLiteral("Empfang");
    a.time = QStringLiteral("05.01.2009 09:30:00");
    a.number = QString::fromUtf8(number);
    a.duration = QStringLiteral("125");
    a.lineno = QStringLiteral("2");
    a.rufziel = QString::fromUtf8(rufziel);
    a.ucosts = ucosts;
    return a;
}

// Groups of the given sizes; every call costs 0,100.
BerichtDaten gruppen(std::initializer_list<int> groessen)
{
    BerichtDaten d;
    int user = 21;
    for (int n : groessen) {
        BerichtGruppe g{QString::number(user++), QStringLiteral("Empfang"), 0.1 * n, 0.119 * n, {}};
        for (int i = 0; i < n; ++i)
            g.bill.push_back(anruf("21", "Ortstarif Berlin", 0.1));
        d.gruppen.push_back(g);
    }
    return d;
}

BerichtOptionen optionen(const char* steuersatz = "19", int ohneMwst = 0)
{
    AppState s;
    s.Steuersatz = QString::fromUtf8(steuersatz);
    s.OhneMwst = ohneMwst;
    BerichtOptionen o = BerichtOptionen::aus(s);
    o.datum = QDate(2009, 2, 1);
    return o;
}

int a4Hoehe()
{
    return static_cast<int>(std::floor(Telefonkostenauswertung::seitenformat().paintRect(QPageLayout::Point).height() * 20));
}

// "name=text" of the controls on a page whose names are listed, in order.
QStringList texte(const std::vector<Zeichnung>& seite, const QStringList& namen)
{
    QStringList z;
    for (const auto& d : seite)
        if (namen.contains(d.name))
            z << d.name + QLatin1Char('=') + d.text;
    return z;
}

} // namespace

TEST(Telefonkostenauswertung, ShowsFieldsInTheirFormatsAndTheVatCaptionBuiltAtStart)
{
    BerichtDaten d;
    d.gruppen.push_back(BerichtGruppe{QStringLiteral("21"), QStringLiteral("Empfang"), 0.198, 0.23562, {
        anruf("21", "Ortstarif Berlin", 0.108), anruf("21", "Internes S0 Gespräch", 0.0, ""),
        anruf("21", "????", std::nullopt)}});
    const QStringList namen = {"Bezeichnung3", "Text9", "Text10", "Text6", "Text4", "Text7", "Text8", "Text11",
                               "Bezeichnung12", "Text12", "Bezeichnung14"};
    struct Fall { const char* steuersatz; int ohneMwst; QStringList fuss; };
    const QString hinweis = QStringLiteral("Bezeichnung14=Einträge mit * im Rufziel sind ca. Kosten, da die realen "
                                           "Kosten je nach Anbieter abweichen können!");
    const Fall faelle[] = {
        {"19", 0, {"Text11=0,20", "Bezeichnung12=Summe Kosten incl. 19 MwSt:", "Text12=0,24", hinweis}},
        {"7.5", 0, {"Text11=0,20", "Bezeichnung12=Summe Kosten incl. 7,5 MwSt:", "Text12=0,24", hinweis}},
        {"7,5", 0, {"Text11=0,20", "Bezeichnung12=Summe Kosten incl. 7 MwSt:", "Text12=0,24", hinweis}},
        {"19", 1, {"Text11=0,20", hinweis}},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.steuersatz + std::to_string(f.ohneMwst));
        const Telefonkostenauswertung bericht(d, optionen(f.steuersatz, f.ohneMwst));
        const auto e = bericht.seitenEinteilen(a4Hoehe());
        ASSERT_EQ(e.seiten(), 1u);
        const QStringList erwartet = QStringList{
            "Bezeichnung3=01.02.2009", "Text9=21", "Text10=Empfang",
            "Text6=Ortstarif Berlin", "Text4=0301234567", "Text7=125", "Text8=0,108",
            "Text6=Internes S0 Gespräch", "Text4=", "Text7=125", "Text8=0,000",
            "Text6=????", "Text4=0301234567", "Text7=125", "Text8="} + f.fuss;
        EXPECT_EQ(texte(bericht.seite(e, 0), namen).join(QLatin1Char('\n')).toStdString(),
                  erwartet.join(QLatin1Char('\n')).toStdString());
    }
}

TEST(Telefonkostenauswertung, TwoDecimalSums)
{
    const std::pair<std::optional<double>, const char*> summen[] = {
        {0.198, "0,20"}, {1.005, "1,01"}, {-0.005, "-0,01"}, {std::nullopt, ""}};
    for (const auto& [wert, text] : summen)
        EXPECT_EQ(zweiStellen(wert).toStdString(), text);
}

TEST(Rufnummer, ShortenedByItsLastThreeDigits)
{
    const std::pair<const char*, const char*> faelle[] = {
        {"0301234567        ", "0301234xxx        "}, {"08912345", "08912xxx"}, {"110", "xxx"}, {"12 ", "xxx "},
        {"unbekannt", "unbekannt"}, {"", ""}};
    for (const auto& [nummer, gekuerzt] : faelle)
        EXPECT_EQ(rufnummerKuerzen(QString::fromUtf8(nummer)).toStdString(), gekuerzt) << nummer;
}

// Group headers go with their first call, group footers with their last
// call, and every section fits above the page footer.
TEST(Seitenumbruch, NeverLeavesAGroupHeaderOrFooterAlone)
{
    const std::vector<std::vector<std::size_t>> faelle = {
        {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {2, 3, 1, 40, 2, 2, 7}, {100, 1, 45, 46, 44, 2}, {0, 3}};
    for (const auto& anrufe : faelle) {
        for (int hoehe = 4000; hoehe <= 16000; hoehe += 97) {
            const Seitenmasse m{hoehe, 645, 750, 300, 1380, 630};
            const Seiteneinteilung e = seitenEinteilen(anrufe, m);
            std::size_t gesehen = 0;
            for (std::size_t s = 0; s < e.seiten(); ++s) {
                const auto seite = e.seite(s);
                ASSERT_FALSE(seite.empty());
                EXPECT_NE(seite.front().art, Platzierung::Art::Gruppenfuss) << "page " << s << " height " << hoehe;
                EXPECT_NE(seite.back().art, Platzierung::Art::Gruppenkopf) << "page " << s << " height " << hoehe;
                EXPECT_EQ(seite.front().y, m.kopf);
                for (const auto& p : seite) {
                    const int h = p.art == Platzierung::Art::Detail ? m.detail
                                  : p.art == Platzierung::Art::Gruppenkopf ? m.gruppenkopf : m.gruppenfuss;
                    EXPECT_LE(p.y + h, e.fussY());
                }
                gesehen += seite.size();
            }
            std::size_t soll = 0;
            for (auto n : anrufe)
                soll += n + 2;
            EXPECT_EQ(gesehen, soll);
        }
    }
}

TEST(Seitenumbruch, TwentyThreePagesAreNumberedOneToTwentyThree)
{
    // One extension with as many calls as fill 23 pages.
    std::optional<Telefonkostenauswertung> bericht;
    std::optional<Seiteneinteilung> e;
    for (int n = 800; n < 1200; ++n) {
        bericht.emplace(gruppen({n}), optionen());
        e = bericht->seitenEinteilen(a4Hoehe());
        if (e->seiten() == 23)
            break;
    }
    ASSERT_EQ(e->seiten(), 23u);
    for (std::size_t s = 0; s < 23; ++s) {
        const QStringList fuss = texte(bericht->seite(*e, s), {"Bezeichnung6", "Bezeichnung5", "Bezeichnung7", "Bezeichnung4"});
        EXPECT_EQ(fuss.join(QLatin1Char(' ')),
                  QStringLiteral("Bezeichnung4=23 Bezeichnung5=%1 Bezeichnung6=Seite Bezeichnung7=von").arg(s + 1));
    }
    EXPECT_EQ(Telefonkostenauswertung(BerichtDaten{}, optionen()).seitenEinteilen(a4Hoehe()).seiten(), 1u)
        << "an empty report still has its page";
}

TEST(BerichtAlsPdf, WritesEveryPageOrNothing)
{
    TempProgramFolder ordner;
    const Telefonkostenauswertung bericht(gruppen({30, 2, 60, 5}), optionen());
    const QString datei = ordner.file(QStringLiteral("Bericht.pdf"));
    berichtAlsPdfSchreiben(bericht, datei);
    QFile f(datei);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(pdf.count("/Type /Page\n"), static_cast<qsizetype>(bericht.seitenEinteilen(a4Hoehe()).seiten()));
    EXPECT_GE(bericht.seitenEinteilen(a4Hoehe()).seiten(), 3u);

    const QString ohneOrdner = ordner.file(QStringLiteral("fehlt/Bericht.pdf"));
    EXPECT_THROW(berichtAlsPdfSchreiben(bericht, ohneOrdner), BerichtFehler);
    EXPECT_FALSE(QFile::exists(ohneOrdner));
}
