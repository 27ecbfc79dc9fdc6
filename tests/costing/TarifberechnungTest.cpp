#include "costing/Kostenfehler.h"
#include "costing/Tarifberechnung.h"

#include <gtest/gtest.h>

#include <optional>

using namespace orve;

namespace {

Preisanruf anruf(const char* beginn, const char* dauer = "90", const char* nummer = "0891234")
{
    return Preisanruf{1, QStringLiteral("21"), QString::fromUtf8(nummer), QString::fromUtf8(beginn),
                      dauer ? std::optional(QString::fromUtf8(dauer)) : std::nullopt};
}

// A price column as the editor stores it (a number), Null for nullptr, or
// a text another tool left there.
Tarifwert wert(const char* t)
{
    return t ? Tarifwert::vonText(QString::fromUtf8(t)) : Tarifwert::null();
}

Tarifzeile tarif(const char* M, const char* P, const char* S, const char* von = "00:00:00", const char* bis = "24:00:00")
{
    Tarifzeile z;
    z.tabelle = Tariftabelle::faktor;
    z.satz = 7;
    z.vorwahl = QStringLiteral("089");
    z.Bezeichnung = QStringLiteral("München");
    z.vonZeit = QString::fromUtf8(von);
    z.bisZeit = QString::fromUtf8(bis);
    z.Minutenpreis = wert(M);
    z.Pauschale = wert(P);
    z.Sekundentakt = wert(S);
    return z;
}

struct Fenster {
    const char* von;
    const char* bis;
    const char* beginn;
    bool passt;
};

const Fenster kFenster[] = {
    {"08:00:00", "18:00:00", "2026-03-02 08:00:00", true},
    {"08:00:00", "18:00:00", "2026-03-02 18:00:00", true},
    {"08:00:00", "18:00:00", "2026-03-02 18:00:01", false},
    {"08:00:00", "18:00:00", "02.03.2026 07:59:59", false},
    {"18:00:00", "08:00:00", "2026-03-02 23:59:59", true},
    {"18:00:00", "08:00:00", "2026-03-02 00:00:00", true},
    {"18:00:00", "08:00:00", "2026-03-02 08:00:00", true},
    {"18:00:00", "08:00:00", "2026-03-02 12:00:00", false},
    {"00:00:00", "24:00:00", "2026-03-02 00:00:00", true},
    {"00:00:00", "24:00:00", "2026-03-02 23:59:59", true},
    {"10:00:00", "10:00:00", "2026-03-02 10:00:00", true},
    {"10:00:00", "10:00:00", "2026-03-02 10:00:01", false},
};

struct Preis {
    const char* M;
    const char* P;
    const char* S;
    const char* d;
    double kosten, costs, ucosts, ucostsBrutto;
    const char* O = nullptr; // own price per minute: own-price mode
    const char* F = "1,20";
    const char* V = "19";
};

const Preis kPreise[] = {
    // Minute price only, by the second; surcharge and VAT on the rounded ucosts.
    {"0,06", "0", "0", "90", 0.09, 0.09, 0.108, 0.12852},
    {"0,06", nullptr, "60", "90", 0.09, 0.09, 0.108, 0.12852}, // increment ignored without flat price
    {"0,06", "0", "0", nullptr, 0, 0, 0, 0},                   // a call without duration lasted 0 seconds
    // Minute price for the first S seconds, P for every further S, in proportion.
    {"0,10", "0,05", "60", "30", 0.10, 0.10, 0.12, 0.1428},
    {"0,10", "0,05", "60", "60", 0.10, 0.10, 0.12, 0.1428},
    {"0,10", "0,05", "60", "90", 0.125, 0.125, 0.15, 0.1785},
    {"0,10", "0,05", "60", "180", 0.20, 0.20, 0.24, 0.2856},
    // Flat price only, whatever the length.
    {"0", "0,50", "0", "90", 0.5, 0.5, 0.6, 0.714},
    {nullptr, "0,50", nullptr, "0", 0.5, 0.5, 0.6, 0.714},
    // Flat price plus minute price by the second; an increment alone is free.
    {"0,10", "0,05", "0", "90", 0.2, 0.2, 0.24, 0.2856},
    {"0", "0", "60", "90", 0, 0, 0, 0},
    // costs and ucosts each from the unformatted cost, halves away from zero;
    // ucostsBrutto from the rounded ucosts. VAT "19,5" counts as 19.
    {"0,019", "0", "0", "90", 0.0285, 0.029, 0.057, 0.057 * 1.19, nullptr, "2"},
    {"0,06", "0", "0", "90", 0.09, 0.09, 0.108, 0.12852, nullptr, "1,20", "19,5"},
    // Own price 0,10: E is the next multiple of O not below M, never below O,
    // and the cost is raised to a multiple of O.
    {"0,06", "0", "0", "60", 0.10, 0.10, 0.12, 0.1428, "0,10"},
    {"0,25", "0", "0", "60", 0.30, 0.30, 0.36, 0.4284, "0,10"},
    {"0,30", "0", "0", "60", 0.30, 0.30, 0.36, 0.4284, "0,10"},
    {"0,06", "0", "0", "90", 0.20, 0.20, 0.24, 0.2856, "0,10"}, // 0.15 raised to 0.20
    {"0", "0", "0", "90", 0, 0, 0, 0, "0,10"},
    {"0", "0,50", "0", "90", 0.60, 0.60, 0.72, 0.8568, "0,20"},
    {"0,10", "0,08", "0", "90", 0.30, 0.30, 0.36, 0.4284, "0,10"}, // 0.08 + 0.15 raised
};

struct Fehlerfall {
    const char* M;
    const char* P;
    const char* S;
    const char* d;
    const char* teil; // part of the message
    const char* O = nullptr;
    const char* F = "1,20";
    const char* von = "00:00:00";
    const char* beginn = "2026-03-02 12:00:00";
};

const Fehlerfall kFehler[] = {
    {"0", "-0,50", "0", "90", "Minutenpreis 0, Pauschale -0,5 und Sekundentakt 0 ergeben keinen Preis!"},
    {"0", "0", "-60", "90", "Sekundentakt -60 ergeben keinen Preis!"},
    {"-0,10", "0,05", "0", "90", "Minutenpreis -0,1, Pauschale 0,05"},
    {"abc", "0", "0", "90", "Die Angabe Minutenpreis „abc“ ist keine Zahl!"},
    {"", "0", "0", "90", "Die Angabe Minutenpreis „“ ist keine Zahl!"},
    {"0,06", "0", "6x", "90", "Die Angabe Sekundentakt „6x“ ist keine Zahl!"},
    {"0,06", "0", "0", "90", "Die Zeit „8:00:00“ ist keine Uhrzeit (hh:mm:ss)!", nullptr, "1,20", "8:00:00"},
    {"0,06", "0", "0", "1:30", "Die Dauer „1:30“ des Gesprächs ist keine Zahl!"},
    {"0,06", "0", "0", "90", "Der Beginn „gestern“ des Gesprächs", nullptr, "1,20", "00:00:00", "gestern"},
    {"0,06", "0", "0", "90", "Der Kostenaufschlag „abc“ ist keine Zahl!", nullptr, "abc"},
    {"0,06", "0", "0", "90", "Der eigene Minutenpreis „0,00“ muss größer als 0 sein!", "0,00"},
    {"0,06", "0", "0", "90", "Der eigene Minutenpreis „zwanzig“ ist keine Zahl!", "zwanzig"},
};

} // namespace

TEST(ZeitGradberechnen, WindowsIncludeBothEndsAndRunAcrossMidnight)
{
    for (const auto& f : kFenster) {
        SCOPED_TRACE(std::string(f.von) + "-" + f.bis + " " + f.beginn);
        EXPECT_EQ(ZeitGradberechnen(anruf(f.beginn), tarif("0,06", "0", "0", f.von, f.bis)), f.passt);
    }
}

TEST(Tarifberechnung, CostTableSurchargeVatAndOwnPrice)
{
    for (const auto& p : kPreise) {
        SCOPED_TRACE(testing::Message() << "M " << (p.M ? p.M : "Null") << " P " << (p.P ? p.P : "Null") << " S "
                                        << (p.S ? p.S : "Null") << " d " << (p.d ? p.d : "Null") << " O " << (p.O ? p.O : "-"));
        const auto saetze = Kostensaetze::aus(QString::fromUtf8(p.V), QString::fromUtf8(p.F),
                                               QString::fromUtf8(p.O ? p.O : ""), p.O != nullptr);
        const Kosten k = tarifberechnung(anruf("2026-03-02 12:00:00", p.d), tarif(p.M, p.P, p.S), saetze);
        EXPECT_DOUBLE_EQ(k.kosten, p.kosten);
        EXPECT_EQ(k.costs, p.costs); // exactly the value of the three-decimal text
        EXPECT_EQ(k.ucosts, p.ucosts);
        EXPECT_DOUBLE_EQ(k.ucostsBrutto, p.ucostsBrutto);
    }
}

TEST(Tarifberechnung, IncrementAndFlatPriceWithoutMinutePriceEndsTheProgram)
{
    const auto saetze = Kostensaetze::aus("19", "1,20", "", false);
    Preisanruf a = anruf("2026-03-02 12:00:00", "90", "0891234           ");
    try {
        tarifberechnung(a, tarif("0", "0,50", "60"), saetze);
        FAIL();
    } catch (const Tariftabellenfehler& e) {
        EXPECT_EQ(e.text(), QStringLiteral("Fehler in der Tariftabelle! Es wurde für eine Vorwahl ein Sekundentakt "
                                           "angegeben, aber kein Minutenpreis!\rBitte prüfen Sie Ihre Tariftabelle!\r"
                                           "Rufnummer 0891234           "));
        EXPECT_EQ(e.exitCode(), 3);
    }
}

TEST(Tarifberechnung, ValuesThatGiveNoCostNameTheCallAndTheRowOrSetting)
{
    for (const auto& f : kFehler) {
        SCOPED_TRACE(f.teil);
        const auto saetze = Kostensaetze::aus("19", QString::fromUtf8(f.F), QString::fromUtf8(f.O ? f.O : ""),
                                              f.O != nullptr);
        const Preisanruf a = anruf(f.beginn, f.d);
        const Tarifzeile z = tarif(f.M, f.P, f.S, f.von);
        try { // as the lookup prices a call
            if (ZeitGradberechnen(a, z))
                tarifberechnung(a, z, saetze);
            ADD_FAILURE() << "no error";
        } catch (const Kostenfehler& e) {
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(f.teil))) << e.what();
            EXPECT_TRUE(e.text().contains(QStringLiteral("Rufnummer 0891234, Nebenstelle 21"))) << e.what();
            const QString teil = QString::fromUtf8(f.teil);
            const bool zeile = !teil.startsWith(QStringLiteral("Der ")) && !teil.startsWith(QStringLiteral("Die Dauer"));
            EXPECT_EQ(e.text().contains(QStringLiteral("Tariftabelle „Standardtarife“, Satz 7, Vorwahl 089")), zeile)
                << e.what();
        }
    }
}
