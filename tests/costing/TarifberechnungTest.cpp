#include "costing/Kostenfehler.h"
#include "costing/Tarifberechnung.h"

#include <gtest/gtest.h>

using namespace orve;

namespace {

Preisanruf anruf(const char* beginn, const char* dauer = "90")
{
    return Preisanruf{1, QStringLiteral("21"), QStringLiteral("0891234"), QString::fromUtf8(beginn),
                      dauer ? std::optional(QString::fromUtf8(dauer)) : std::nullopt};
}

// Prices as texts, the way another tool may have stored them; nullptr is Null.
Tarifzeile tarif(const char* M, const char* P, const char* S, const char* von = "00:00:00", const char* bis = "24:00:00")
{
    const auto wert = [](const char* t) { return t ? Tarifwert::vonText(QString::fromUtf8(t)) : Tarifwert::null(); };
    return Tarifzeile{Tariftabelle::faktor, 7, QStringLiteral("089"), QStringLiteral("München"), QString::fromUtf8(von),
                      QString::fromUtf8(bis), wert(M), wert(P), wert(S)};
}

} // namespace

TEST(ZeitGradberechnen, WindowsIncludeBothEndsAndRunAcrossMidnight)
{
    const struct { const char *von, *bis, *beginn; bool passt; } faelle[] = {
        {"08:00:00", "18:00:00", "2026-03-02 08:00:00", true}, {"08:00:00", "18:00:00", "2026-03-02 18:00:00", true},
        {"08:00:00", "18:00:00", "2026-03-02 18:00:01", false}, {"08:00:00", "18:00:00", "02.03.2026 07:59:59", false},
        {"19:00:00", "08:00:00", "2026-03-02 23:59:59", true}, {"19:00:00", "08:00:00", "2026-03-02 00:00:00", true},
        {"19:00:00", "08:00:00", "2026-03-02 08:00:00", true}, {"19:00:00", "08:00:00", "2026-03-02 18:59:59", false},
        {"00:00:00", "24:00:00", "2026-03-02 23:59:59", true}, {"10:00:00", "10:00:00", "2026-03-02 10:00:00", true},
        {"10:00:00", "10:00:00", "2026-03-02 10:00:01", false},
    };
    for (const auto& f : faelle)
        EXPECT_EQ(ZeitGradberechnen(anruf(f.beginn), tarif("0,06", "0", "0", f.von, f.bis)), f.passt)
            << f.von << "-" << f.bis << " " << f.beginn;
}

// M minute price, P flat price, S increment, d duration; O own price per minute, F surcharge, V VAT rate.
TEST(Tarifberechnung, CostTableSurchargeVatAndOwnPrice)
{
    const struct {
        const char *M, *P, *S, *d;
        double kosten, costs, ucosts, ucostsBrutto;
        const char *O = nullptr, *F = "1,20", *V = "19";
    } faelle[] = {
        // Minute price only, by the second; surcharge and VAT on the rounded ucosts. Without flat price the
        // increment is ignored; a call without duration lasted 0 seconds.
        {"0,06", "0", "0", "90", 0.09, 0.09, 0.108, 0.12852}, {"0,06", nullptr, "60", "90", 0.09, 0.09, 0.108, 0.12852},
        {"0,06", "0", "0", nullptr, 0, 0, 0, 0},
        // Minute price for the first S seconds, P for every further S, in proportion.
        {"0,10", "0,05", "60", "30", 0.10, 0.10, 0.12, 0.1428}, {"0,10", "0,05", "60", "60", 0.10, 0.10, 0.12, 0.1428},
        {"0,10", "0,05", "60", "90", 0.125, 0.125, 0.15, 0.1785}, {"0,10", "0,05", "60", "180", 0.20, 0.20, 0.24, 0.2856},
        // Flat price only, whatever the length; flat price plus minute price; an increment alone is free.
        {"0", "0,50", "0", "90", 0.5, 0.5, 0.6, 0.714}, {nullptr, "0,50", nullptr, "0", 0.5, 0.5, 0.6, 0.714},
        {"0,10", "0,05", "0", "90", 0.2, 0.2, 0.24, 0.2856}, {"0", "0", "60", "90", 0, 0, 0, 0},
        // costs and ucosts each from the unformatted cost, halves away from zero; ucostsBrutto from the
        // rounded ucosts. VAT "19,5" counts as 19.
        {"0,019", "0", "0", "90", 0.0285, 0.029, 0.057, 0.057 * 1.19, nullptr, "2"},
        {"0,06", "0", "0", "90", 0.09, 0.09, 0.108, 0.12852, nullptr, "1,20", "19,5"},
        // Own price: the minute price raised to the next multiple of O, never below O; the cost to a multiple of O.
        {"0,06", "0", "0", "60", 0.10, 0.10, 0.12, 0.1428, "0,10"}, {"0,25", "0", "0", "60", 0.3, 0.3, 0.36, 0.4284, "0,10"},
        {"0,30", "0", "0", "60", 0.3, 0.3, 0.36, 0.4284, "0,10"}, {"0,06", "0", "0", "90", 0.2, 0.2, 0.24, 0.2856, "0,10"},
        {"0", "0", "0", "90", 0, 0, 0, 0, "0,10"}, {"0", "0,50", "0", "90", 0.60, 0.60, 0.72, 0.8568, "0,20"},
        {"0,10", "0,08", "0", "90", 0.30, 0.30, 0.36, 0.4284, "0,10"},
    };
    for (const auto& p : faelle) {
        SCOPED_TRACE(testing::Message() << "row " << &p - faelle + 1);
        const auto saetze = Kostensaetze::aus(p.V, p.F, p.O, p.O != nullptr);
        const Kosten k = tarifberechnung(anruf("2026-03-02 12:00:00", p.d), tarif(p.M, p.P, p.S), saetze);
        EXPECT_DOUBLE_EQ(k.kosten, p.kosten);
        EXPECT_EQ(k.costs, p.costs); // exactly the value of the three-decimal text
        EXPECT_EQ(k.ucosts, p.ucosts);
        EXPECT_DOUBLE_EQ(k.ucostsBrutto, p.ucostsBrutto);
    }
}

// A message names the call, and the tariff row unless a setting or the call is at fault.
TEST(Tarifberechnung, ValuesThatGiveNoCostNameTheCallAndTheRowOrSetting)
{
    const struct {
        const char *teil, *M = "0,06", *P = "0", *S = "0", *d = "90", *von = "00:00:00", *beginn = "2026-03-02 12:00:00";
        const char *F = "1,20", *O = nullptr;
        bool zeile = true;
    } faelle[] = {
        {.teil = "Minutenpreis 0, Pauschale -0,5 und Sekundentakt 0 ergeben keinen Preis!", .M = "0", .P = "-0,50"},
        {.teil = "Sekundentakt -60 ergeben keinen Preis!", .M = "0", .S = "-60"},
        {.teil = "Minutenpreis -0,1, Pauschale 0,05", .M = "-0,10", .P = "0,05"},
        {.teil = "Die Angabe Minutenpreis „abc“ ist keine Zahl!", .M = "abc"},
        {.teil = "Die Angabe Sekundentakt „6x“ ist keine Zahl!", .S = "6x"},
        {.teil = "Die Zeit „8:00:00“ ist keine Uhrzeit (hh:mm:ss)!", .von = "8:00:00"},
        {.teil = "Die Dauer „1:30“ des Gesprächs ist keine Zahl!", .d = "1:30", .zeile = false},
        {.teil = "Der Beginn „gestern“ des Gesprächs", .beginn = "gestern", .zeile = false},
        {.teil = "Der Kostenaufschlag „abc“ ist keine Zahl!", .F = "abc", .zeile = false},
        {.teil = "Der eigene Minutenpreis „0,00“ muss größer als 0 sein!", .O = "0,00", .zeile = false},
        {.teil = "Der eigene Minutenpreis „zwanzig“ ist keine Zahl!", .O = "zwanzig", .zeile = false},
    };
    for (const auto& f : faelle) {
        const Preisanruf a = anruf(f.beginn, f.d);
        const Tarifzeile z = tarif(f.M, f.P, f.S, f.von);
        try { // as the lookup prices a call
            if (ZeitGradberechnen(a, z))
                tarifberechnung(a, z, Kostensaetze::aus("19", f.F, f.O, f.O != nullptr));
            ADD_FAILURE() << "no error: " << f.teil;
        } catch (const Kostenfehler& e) {
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(f.teil))) << e.what();
            EXPECT_TRUE(e.text().contains(QStringLiteral("Rufnummer 0891234, Nebenstelle 21"))) << e.what();
            EXPECT_EQ(e.text().contains(QStringLiteral("Tariftabelle „Standardtarife“, Satz 7, Vorwahl 089")), f.zeile)
                << e.what();
        }
    }
}
