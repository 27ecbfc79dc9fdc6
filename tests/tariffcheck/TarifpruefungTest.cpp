#include "tariffcheck/Tarifpruefung.h"
#include "tariffcheck/TarifPruefer.h"

#include "common/Fehler.h"

#include "Plattform.h"
#include "TempProgramFolder.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <utility>

using namespace orve;
using namespace orve::test;

namespace {

using B = Pruefbefund::Bereich;

const Tarifwert N = Tarifwert::null();
const auto w = [](double z) { return Tarifwert::von(z); };

// A row of Ortstarif ('O') or faktor ('F'); nullptr is Null.
struct Z {
    char tabelle;
    const char *vorwahl, *von = "00:00:00", *bis = "24:00:00";
    Tarifwert M = w(0.06), P = w(0), S = w(0);
};

// The findings exactly these, one a line: section (its letter in "OFNCG": Ortstarif, faktor, Ortsnummern,
// CallByCall, Gespraeche), group and part of the text, separated by "|". The calls are number and time of day.
struct Fall {
    const char* name;
    std::vector<Z> zeilen;
    const char* befunde = "";
    std::vector<QString> cbc = {};
    std::vector<std::pair<const char*, const char*>> anrufe = {};
};

const auto t = [](const char* s) { return s ? std::optional(QString::fromUtf8(s)) : std::nullopt; };

const Z kOrt {'O', "0241"}; // keeps numbers without area code covered
const Z kTag {'F', "089", "08:00:00", "18:00:00"}, kNacht {'F', "089", "18:00:00", "08:00:00"};

const Fall kFaelle[] = {
    {"Tag und Nacht treffen sich in einer Sekunde: kein Befund", {kOrt, kTag, kNacht}},
    {"Lücke", {kOrt, kTag}, "F|Vorwahl 089|Keine Zeile gilt von 18:00:01 bis 07:59:59"},
    {"Standardtarif füllt die Nacht einer Ortsvorwahl; Ortsnummern nur mit Ortstarifen",
     {{'O', "0241", "08:00:00", "18:00:00"}, {'F', "02"}},
     "N|Rufnummern ohne Vorwahl|gilt von 18:00:01 bis 07:59:59"},
    {"Überschneidung: die erste Zeile gilt",
     {kOrt, kTag, {'F', "089", "12:00:00", "20:00:00"}, kNacht},
     "F|Vorwahl 089|Satz 2 „Zeile“ (12:00:00–20:00:00) überschneidet sich von 12:00:00 bis 18:00:00 mit Satz 1 "
     "„Zeile“ (08:00:00–18:00:00): dort gilt Satz 1\n"
     "F|Vorwahl 089|Satz 3 „Zeile“ (18:00:00–08:00:00) überschneidet sich von 18:00:01 bis 20:00:00 mit Satz 2"},
    {"kürzere Vorwahl davor",
     {kOrt, {'F', "089"}, {'F', "0891"}},
     "F|Vorwahl 0891|Satz 2 „Zeile“ (00:00:00–24:00:00) wird nie verwendet: in seinem ganzen Zeitfenster gilt "
     "zuvor Satz 1 „Zeile“ (00:00:00–24:00:00) der kürzeren Vorwahl 089"},
    {"Ortstarif vor Standardtarif ist die Regel", {{'O', "089"}, {'F', "08"}, {'F', "089"}}},
    {"Zeilen, die einen Lauf anhalten",
     {kOrt,
      {'F', "01", nullptr},
      {'F', "02", "00:00:00", ""},
      {'F', "03", "8:00"},
      {'F', "04", "00:00:00", "24:00:00", N, N, N},
      {'F', "05", "00:00:00", "24:00:00", w(0), w(0.5), w(60)},
      {'F', "06", "00:00:00", "24:00:00", Tarifwert::vonText("abc")},
      {'F', "07", "00:00:00", "24:00:00", w(-0.06)},
      {'F', "08", "00:00:00", "24:00:00", w(-0.1), w(0.05)}},
     "F|Vorwahl 01|unvollständig („gilt ab“ fehlt\n"
     "F|Vorwahl 02|„gilt bis“ fehlt). Die Tarifsuche endet an dieser Zeile ohne Tarif\n"
     "F|Vorwahl 03|„8:00“ ist keine Uhrzeit\n"
     "F|Vorwahl 04|fehlen alle drei. Die Tarifsuche endet\n"
     "F|Vorwahl 05|aber kein Minutenpreis\n"
     "F|Vorwahl 06|Minutenpreis „abc“ ist keine Zahl\n"
     "F|Vorwahl 07|negativer Wert (Minutenpreis -0,06). Die Berechnung bricht\n"
     "F|Vorwahl 08|negativer Wert (Minutenpreis -0,1). Die Berechnung bricht"},
    {"Vorwahl fehlt oder ist international geschrieben",
     {{'F', ""}, {'O', nullptr}, {'F', "+49 30"}},
     "F|Vorwahl (leer)|die Vorwahl fehlt\nO|ohne Vorwahl|die Vorwahl fehlt\n"
     "F|Vorwahl 030|„+49 30“ ist international geschrieben und wird als „030“ gelesen\n"
     "F|Vorwahl 030|wird nie verwendet"},
    {"Call by Call",
     {kOrt},
     "C|Vorwahl (leer)|passt zu jeder Rufnummer\nC|Vorwahl 01013|zuvor passt die kürzere Vorwahl 010",
     {"", "010", "01013", "010"}},
    {"Gespräche ohne Tarif, nach Nummer zusammengefasst",
     {kOrt, kTag, {'F', "0190", "00:00:00", "24:00:00", w(0), w(0.5), w(60)}},
     "F|Vorwahl 089|Keine Zeile gilt von 18:00:01 bis 07:59:59\n"
     "F|Vorwahl 0190|aber kein Minutenpreis\n"
     "G|Rufnummer 0891234|2 Gespräche (Nebenstelle 21; das erste 2026-11-02 20:00:00) finden keinen Tarif.\n"
     "G|Rufnummer 0101308912345|nach dem Entfernen der Call-by-Call-Vorwahl mit 08912345.\n"
     "G|Rufnummer 0190123|die Berechnung bricht ab – Fehler in der Tariftabelle!",
     {"01013"},
     {{"0891234", "12:00:00"},
      {"0891234", "20:00:00"},
      {"0891234", "21:00:00"},
      {"0101308912345", "20:00:00"},
      {"", "20:00:00"},
      {"1234", "20:00:00"},
      {"0190123", "12:00:00"}}},
    {"leere Tabellen", {}, "F|Keine Tarife|sind leer"},
};

TEST(TarifPruefung, BefundeJeTabelleUndVorwahlUndAlsPdfNieStattEinerFifo)
{
    for (const Fall& f : kFaelle) {
        SCOPED_TRACE(f.name);
        // As Tarifdaten::laden gives it: satz counted per table in the order given (by prefix and start).
        Tarifdaten d;
        for (const Z& z : f.zeilen) {
            auto& tabelle = z.tabelle == 'O' ? d.ortstarif : d.faktor;
            tabelle.push_back({z.tabelle == 'O' ? Tariftabelle::Ortstarif : Tariftabelle::faktor,
                               static_cast<std::int64_t>(tabelle.size()) + 1, t(z.vorwahl), QStringLiteral("Zeile"),
                               t(z.von), t(z.bis), z.M, z.P, z.S});
            if (z.vorwahl && *z.vorwahl == '+')
                tabelle.back().vorwahlGespeichert =
                    std::exchange(tabelle.back().vorwahl, nationaleNummer(t(z.vorwahl)->trimmed()));
        }
        d.ortstarifAlle = d.ortstarif;
        d.callByCall = f.cbc;
        std::vector<Preisanruf> anrufe;
        for (const auto& [nummer, uhrzeit] : f.anrufe)
            anrufe.push_back({static_cast<std::int64_t>(anrufe.size()) + 1, QStringLiteral("21"),
                              QString::fromUtf8(nummer), QStringLiteral("2026-11-02 ") + QLatin1String(uhrzeit),
                              QStringLiteral("60")});
        const Tarifpruefung p = TarifPruefer(d).pruefen(anrufe);
        const QStringList befunde = QString::fromUtf8(f.befunde).split(u'\n', Qt::SkipEmptyParts);
        EXPECT_EQ(p.befunde.size(), size_t(befunde.size())) << p.alsText().toStdString();
        for (const QString& soll : befunde) {
            const QStringList teil = soll.split(u'|');
            const auto bereich = B(QStringLiteral("OFNCG").indexOf(teil[0]));
            const auto passt = [&](const Pruefbefund& b) {
                return b.bereich == bereich && b.gruppe == teil[1] && b.text.contains(teil[2]);
            };
            EXPECT_TRUE(std::ranges::any_of(p.befunde, passt)) << soll.toStdString() << "\n"
                                                               << p.alsText().toStdString();
        }
        EXPECT_EQ(p.inOrdnung(), befunde.empty());
    }
    // The findings as PDF: a FIFO of that name is refused and stays a FIFO.
    ORVE_NUR_POSIX("FIFO");
    TempProgramFolder ordner;
    const QString fifo = ordner.file("Tarifpruefung.pdf");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_THROW(pruefungAlsPdfSchreiben(Tarifpruefung {}, fifo), Fehler);
    EXPECT_FALSE(QFileInfo(fifo).isFile());
}

} // namespace
