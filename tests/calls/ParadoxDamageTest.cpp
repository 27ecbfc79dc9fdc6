#include "calls/ParadoxTable.h"

#include "ParadoxWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace orve::paradox;
using namespace orve::test;

namespace {

// A small table of the TK-Suite kind: 11 calls in 4 chain blocks of 1 KB,
// laid out out of file order.
struct Probe {
    QByteArray bytes;
    ParadoxLayout layout;
    Probe()
    {
        ParadoxOptionen o;
        o.blockKB = 1;
        o.saetzeProBlock = 3;
        o.blockPositionen = {1, 3, 0, 2};
        bytes = paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(11, 5)), o, &layout);
    }
};

struct SchadenFall {
    const char* name;
    std::function<void(QByteArray&, const ParadoxLayout&)> schaden;
    const char* meldung; // part of the German message
};

void PrintTo(const SchadenFall& f, std::ostream* os) { *os << f.name; }

class ParadoxSchaden : public ::testing::TestWithParam<SchadenFall> {};

} // namespace

TEST_P(ParadoxSchaden, GivesAClearGermanError)
{
    Probe p;
    ASSERT_FALSE(paradoxLesen(p.bytes).fehler); // the undamaged table is fine
    GetParam().schaden(p.bytes, p.layout);
    const auto r = paradoxLesen(p.bytes);
    ASSERT_TRUE(r.fehler) << "no error, " << r.saetze.size() << " records";
    EXPECT_TRUE(r.fehler->startsWith(QStringLiteral("Die Paradox-Tabelle ist beschädigt: "))) << r.fehler->toStdString();
    EXPECT_TRUE(r.fehler->contains(QString::fromUtf8(GetParam().meldung))) << r.fehler->toStdString();
}

namespace {

// Field list entries of the probe: 0 datum, 1 Zeit, 2 Tln#, 3 flags,
// 4 Rufnummer, 5 Dauer, 6 line, 7 Einheiten, 8 Betrag.
int typByte(const ParadoxLayout& l, int feld) { return l.feldInfoOffset + 2 * feld; }
int groesseByte(const ParadoxLayout& l, int feld) { return l.feldInfoOffset + 2 * feld + 1; }
// The chain block that lies last in the file.
int letzterInDatei(const ParadoxLayout& l)
{
    return static_cast<int>(std::max_element(l.blockOffsets.begin(), l.blockOffsets.end()) - l.blockOffsets.begin());
}
int blockNr(const ParadoxLayout& l, int kettenIndex)
{
    return (l.blockOffsets[static_cast<size_t>(kettenIndex)] - l.kopfGroesse) / l.blockGroesse + 1;
}

const SchadenFall kSchaeden[] = {
    {"HeaderLargerThanFile",
     [](QByteArray& b, const ParadoxLayout&) { setzeLE16(b, 0x02, static_cast<std::uint16_t>(b.size() + 1)); },
     "ist größer als die Datei"},
    {"FileShorterThanAnyHeader", [](QByteArray& b, const ParadoxLayout&) { b.truncate(0x40); },
     "kürzer als der Kopf"},
    {"FieldSizesDoNotAddUp", [](QByteArray& b, const ParadoxLayout& l) { setzeLE16(b, 0x00, static_cast<std::uint16_t>(l.satzGroesse + 1)); },
     "passen nicht zur Satzgröße"},
    {"ShortOfThreeBytes", [](QByteArray& b, const ParadoxLayout& l) { b[groesseByte(l, 2)] = 3; },
     "unpassende Größe 3"},
    {"AlphaOfNoBytes", [](QByteArray& b, const ParadoxLayout& l) { b[groesseByte(l, 5)] = 0; },
     "unpassende Größe 0"},
    {"UnknownFieldType", [](QByteArray& b, const ParadoxLayout& l) { b[typByte(l, 3)] = 0x07; },
     "unbekannten Typ 7"},
    {"NoFields", [](QByteArray& b, const ParadoxLayout&) { setzeLE16(b, 0x21, 0); }, "Zahl der Felder"},
    {"FieldListBeyondHeader",
     [](QByteArray& b, const ParadoxLayout&) {
         setzeLE16(b, 0x21, 255);
         setzeLE16(b, 0x02, 0x100);
     },
     "Feldliste passt nicht"},
    {"FieldNamesCutOff", [](QByteArray& b, const ParadoxLayout&) { setzeLE16(b, 0x02, 0x110); }, "Feldnamen"},
    {"BlockSizeZero", [](QByteArray& b, const ParadoxLayout&) { b[0x05] = 0; }, "Blockgröße 0 KB"},
    {"BlockSizeTooLarge", [](QByteArray& b, const ParadoxLayout&) { b[0x05] = 33; }, "Blockgröße 33 KB"},
    {"ChainLoopsBack",
     [](QByteArray& b, const ParadoxLayout& l) { setzeLE16(b, l.blockOffsets[2], static_cast<std::uint16_t>(blockNr(l, 0))); },
     "kehrt zu Block"},
    {"NextBlockOutsideTheFile",
     [](QByteArray& b, const ParadoxLayout& l) { setzeLE16(b, l.blockOffsets[1], 500); },
     "Datenblock 500 liegt außerhalb der Datei"},
    {"FirstBlockOutsideTheFile", [](QByteArray& b, const ParadoxLayout&) { setzeLE16(b, 0x0E, 9); },
     "Datenblock 9 liegt außerhalb der Datei"},
    {"BlockCountJustTooLarge",
     [](QByteArray& b, const ParadoxLayout& l) {
         const int passen = (l.blockGroesse - 6) / l.satzGroesse;
         setzeLE16(b, l.blockOffsets[3] + 4, static_cast<std::uint16_t>(passen * l.satzGroesse));
     },
     "es passen höchstens"},
    {"HeaderCountsMore", [](QByteArray& b, const ParadoxLayout&) { setzeLE32(b, 0x06, 12); },
     "gefunden wurden 11 Datensätze, der Dateikopf nennt 12"},
    {"HeaderCountsFewer", [](QByteArray& b, const ParadoxLayout&) { setzeLE32(b, 0x06, 10); },
     "mehr Datensätze, als der Dateikopf nennt (10)"},
    {"LastBlockCutShort", [](QByteArray& b, const ParadoxLayout& l) { b.truncate(l.blockOffsets[letzterInDatei(l)] + 10); },
     "reicht über das Ende der Datei hinaus"},
    {"BlockHeaderCutShort", [](QByteArray& b, const ParadoxLayout& l) { b.truncate(l.blockOffsets[letzterInDatei(l)] + 3); },
     "liegt außerhalb der Datei"},
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Arten, ParadoxSchaden, ::testing::ValuesIn(kSchaeden),
                         [](const auto& info) { return std::string(info.param.name); });

// Records handed over before the damage was found stay handed over; the
// error still comes.
TEST(ParadoxSchadenVerlauf, RecordsBeforeTheDamageAreDeliveredThenTheErrorComes)
{
    Probe p;
    setzeLE16(p.bytes, p.layout.blockOffsets[2], 700);
    const auto r = paradoxLesen(p.bytes);
    EXPECT_TRUE(r.fehler);
    EXPECT_EQ(r.saetze.size(), 9u);
}

// Every cut of a small table either reads completely or fails with a
// ParadoxFehler; it may never crash, hang or return part of the table as
// if it were whole.
TEST(ParadoxSchadenVerlauf, EveryTruncationLengthFailsCleanlyOrReadsEverything)
{
    Probe p;
    // The table is whole as long as the last record of every block is there.
    int benoetigt = 0;
    for (size_t i = 0; i < p.layout.blockOffsets.size(); ++i) {
        const int imBlock = i + 1 < p.layout.blockOffsets.size() ? 3 : 2;
        benoetigt = std::max(benoetigt, p.layout.blockOffsets[i] + 6 + imBlock * p.layout.satzGroesse);
    }
    for (int laenge = 0; laenge <= p.bytes.size(); ++laenge) {
        const auto r = paradoxLesen(p.bytes.left(laenge));
        if (laenge >= benoetigt) {
            EXPECT_FALSE(r.fehler) << laenge << ": " << r.fehler->toStdString();
            EXPECT_EQ(r.saetze.size(), 11u) << laenge;
        } else {
            ASSERT_TRUE(r.fehler) << laenge;
            EXPECT_FALSE(r.fehler->isEmpty()) << laenge;
        }
    }
}
