#include "calls/ParadoxTabelle.h"

#include "ParadoxWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace orve::paradox;
using namespace orve::test;

namespace {

QVariant i64(qint64 v) { return QVariant::fromValue<qint64>(v); }

// Value and type; an invalid QVariant is Null.
void expectGleich(const QVariant& ist, const QVariant& soll, const std::string& wo)
{
    EXPECT_EQ(ist.isValid(), soll.isValid()) << wo;
    EXPECT_EQ(ist.typeId(), soll.typeId()) << wo << ": " << ist.typeName() << " instead of " << soll.typeName();
    EXPECT_EQ(ist, soll) << wo << ": " << ist.toString().toStdString() << " instead of " << soll.toString().toStdString();
}

std::vector<Satz> saetze(const QByteArray& bytes)
{
    const auto r = paradoxLesen(bytes);
    EXPECT_FALSE(r.fehler) << r.fehler->toStdString();
    return r.saetze;
}

} // namespace

// Built from the published descriptions of the format, not by the test
// writer, so that writer and reader cannot share a mistake.
TEST(ParadoxHandgebaut, ReadsATinyTableAssembledByteByByte)
{
    QByteArray b(0x800 + 2 * 0x400, '\0'); // header of 0x800 bytes, two blocks of 1 KB
    auto put = [&b](int offset, std::initializer_list<int> bytes) {
        for (int v : bytes)
            b[offset++] = static_cast<char>(v);
    };
    put(0x00, {0x0E, 0x00, 0x00, 0x08}); // record size 14 = 2 + 8 + 4, header size 0x0800
    put(0x04, {0x02, 0x01});             // file type 2 (table without key), blocks of 1 KB
    put(0x06, {0x03, 0, 0, 0});          // 3 records
    put(0x0A, {0x02, 0, 0x02, 0});       // 2 blocks in use, 2 in the file
    put(0x0E, {0x02, 0, 0x01, 0});       // the chain starts with file block 2 and ends with 1
    put(0x21, {0x03, 0x00});             // 3 fields
    put(0x39, {0x0A});                   // version byte: Paradox 5.0
    put(0x6A, {0xB5, 0x01});             // code page 437
    put(0x78, {0x03, 0x02, 0x01, 0x08, 0x02, 0x04}); // Short 2 bytes, Alpha 8, Date 4
    // 0x7E: table-name pointer, 0x82: three field-name pointers (zero on disk)
    put(0x8E, {'t', 'i', 'n', 'y'});     // table name, area of 79 bytes
    put(0x8E + 79, {'N', 'r', 0, 'N', 'a', 'm', 'e', 0, 'T', 'a', 'g', 0});
    // File block 2 (first in the chain): next 1, previous 0, last record at offset 14.
    put(0xC00, {0x01, 0, 0, 0, 0x0E, 0});
    put(0xC06, {0x80, 0x01, 'M', 0x81, 'l', 'l', 'e', 'r', 0, 0, 0x80, 0x0B, 0x26, 0x21}); // 1, "Müller", 2001-06-21
    put(0xC14, {0x7F, 0xFF});                                                            // -1, Null, Null
    // File block 1 (second in the chain): next 0, previous 2, one record.
    put(0x800, {0, 0, 0x02, 0, 0, 0});
    put(0x806, {0x81, 0x2C, 'a', 'b', 'c', 0, 0, 0, 0, 0, 0x80, 0x0A, 0xDE, 0x18}); // 300, "abc", 1950-12-25

    const auto t = ParadoxTabelle::ausBytes(b);
    ASSERT_EQ(t.felder().size(), 3u);
    EXPECT_EQ(t.felder()[1].name, QStringLiteral("Name"));
    EXPECT_EQ(t.felder()[1].typ, FeldTyp::Alpha);
    EXPECT_EQ(t.felder()[1].groesse, 8);
    EXPECT_EQ(t.anzahl(), 3);
    const auto s = saetze(b);
    const std::vector<std::vector<QVariant>> soll = {{i64(1), QStringLiteral("Müller"), QDate(2001, 6, 21)},
                                                     {i64(-1), QVariant(), QVariant()},
                                                     {i64(300), QStringLiteral("abc"), QDate(1950, 12, 25)}};
    ASSERT_EQ(s.size(), soll.size());
    for (size_t z = 0; z < soll.size(); ++z)
        for (size_t f = 0; f < 3; ++f)
            expectGleich(s[z][f], soll[z][f], "row " + std::to_string(z + 1) + " field " + std::to_string(f + 1));
}

struct WertFall {
    const char* name;
    FeldTyp typ;
    const char* bytes; // hex, as stored in the record
    QVariant erwartet; // invalid = Null
    int codepage = 1252;
    int version = 0x0B;
};

class ParadoxFeldwert : public ::testing::TestWithParam<WertFall> {};

// A one-field table written as raw Bytes, then given the field's type.
TEST_P(ParadoxFeldwert, DecodesTheStoredBytes)
{
    const QByteArray roh = QByteArray::fromHex(GetParam().bytes);
    ParadoxOptionen o;
    o.version = GetParam().version;
    o.codepage = GetParam().codepage;
    ParadoxLayout layout;
    QByteArray b = paradoxTabelle({{QStringLiteral("f"), FeldTyp::Bytes, int(roh.size())}}, {{roh}}, o, &layout);
    b[layout.feldInfoOffset] = static_cast<char>(GetParam().typ);
    const auto s = saetze(b);
    ASSERT_EQ(s.size(), 1u);
    expectGleich(s[0][0], GetParam().erwartet, GetParam().name);
}

QVariant text(const char16_t* t) { return QString::fromUtf16(t); }

INSTANTIATE_TEST_SUITE_P(Typen, ParadoxFeldwert, ::testing::Values(
    WertFall{"short_negative", FeldTyp::Short, "7FFF", i64(-1)},
    WertFall{"short_smallest", FeldTyp::Short, "0001", i64(-32767)},
    WertFall{"null_all_bytes_zero", FeldTyp::Short, "0000", QVariant()},
    WertFall{"long_largest", FeldTyp::Long, "FFFFFFFF", i64(2147483647)},
    WertFall{"autoinc", FeldTyp::AutoInc, "80000001", i64(1)},
    WertFall{"number_positive", FeldTyp::Number, "C05EDD2F1A9FBE77", QVariant(123.456)},
    WertFall{"number_negative", FeldTyp::Number, "403FFFFFFFFFFFFF", QVariant(-0.125)},
    WertFall{"currency_negative", FeldTyp::Currency, "3FFFFFFFFFFFFFFF", QVariant(-2.0)},
    WertFall{"date", FeldTyp::Date, "800B2621", QVariant(QDate(2001, 6, 21))},
    WertFall{"time_midnight", FeldTyp::Time, "80000000", QVariant(QTime(0, 0))},
    WertFall{"time_last_ms", FeldTyp::Time, "85265BFF", QVariant(QTime(23, 59, 59, 999))},
    WertFall{"time_beyond_the_day", FeldTyp::Time, "85265C00", QVariant()},
    WertFall{"time_negative", FeldTyp::Time, "7FFFFFFF", QVariant()},
    WertFall{"timestamp", FeldTyp::Timestamp, "C2CCB5291687EE00", QDateTime(QDate(2001, 6, 21), QTime(12, 0, 1, 500), QTimeZone::utc())},
    WertFall{"timestamp_not_a_number", FeldTyp::Timestamp, "FFF8000000000000", QVariant()},
    WertFall{"logical_true", FeldTyp::Logical, "81", QVariant(true)},
    WertFall{"alpha_full", FeldTyp::Alpha, "3031323334", QVariant(QStringLiteral("01234"))},
    WertFall{"alpha_ends_at_first_zero", FeldTyp::Alpha, "4100424300", QVariant(QStringLiteral("A"))},
    WertFall{"alpha_empty_with_leftovers", FeldTyp::Alpha, "0041424300", QVariant()},
    WertFall{"bcd_raw", FeldTyp::Bcd, "C1000000000000000000000000000000FF", QVariant(QByteArray::fromHex("C1000000000000000000000000000000FF"))},
    // Alpha in the table's code page: DOS, Windows, unknown ones as Latin-1, and always Latin-1 in 3.x tables.
    WertFall{"cp437", FeldTyp::Alpha, "8494818E999AE1C4B3", text(u"äöüÄÖÜß─│"), 437},
    WertFall{"cp850_own_letters", FeldTyp::Alpha, "D5B7E99B", text(u"ıÀÚø"), 850},
    WertFall{"cp852", FeldTyp::Alpha, "A5E7", text(u"ąš"), 852},
    WertFall{"cp858_euro", FeldTyp::Alpha, "D5", text(u"€"), 858},
    WertFall{"cp1252_and_its_unused_byte", FeldTyp::Alpha, "E4DF8084819F", text(u"äß€„\u0081Ÿ"), 1252},
    WertFall{"unknown_code_page_as_latin1", FeldTyp::Alpha, "E480", text(u"ä\u0080"), 1250},
    WertFall{"paradox_3_as_latin1", FeldTyp::Alpha, "E4FC", text(u"äü"), 437, 0x03},
    WertFall{"paradox_7", FeldTyp::Alpha, "8E", text(u"Ä"), 850, 0x0C}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParadoxKette, SkipsEmptyBlocksAndUnusedFileBlocks)
{
    ParadoxOptionen o;
    o.blockKB = 1;
    o.saetzeProBlock = 2;
    o.blockPositionen = {0, 5, 2}; // file blocks 2, 4, 5 (1-based) belong to no chain
    ParadoxLayout layout;
    QByteArray b = paradoxTabelle({{QStringLiteral("nr"), FeldTyp::Long, 4}},
                                  {{i64(1)}, {i64(2)}, {i64(3)}, {i64(4)}, {i64(5)}}, o, &layout);
    // Empty the middle block: offset of the last record -4 (less than zero), count 3.
    setzeLE16(b, layout.blockOffsets[1] + 4, static_cast<std::uint16_t>(-4));
    setzeLE32(b, 0x06, 3);
    std::vector<qint64> nr;
    for (const auto& s : saetze(b))
        nr.push_back(s[0].toLongLong());
    EXPECT_EQ(nr, std::vector<qint64>({1, 2, 5}));
    const QByteArray leer = paradoxTabelle(paradoxBillFelder(), {}); // no records: no chain at all
    EXPECT_EQ(ParadoxTabelle::ausBytes(leer).anzahl(), 0);
    EXPECT_TRUE(saetze(leer).empty());
}

// The TK-Suite kind of table: 11 calls in 4 chain blocks, out of file
// order; keyed (type 0) and unkeyed (type 2) alternate over the versions.
// Field list entries: 0 datum, 1 Zeit, 2 Tln#, 3 flags, 4 Rufnummer,
// 5 Dauer, 6 line, 7 Einheiten, 8 Betrag.
struct Probe {
    QByteArray bytes;
    ParadoxLayout l;
    explicit Probe(int version = 0x0B)
    {
        ParadoxOptionen o;
        o.version = version;
        o.dateiTyp = version % 2 ? 2 : 0;
        o.blockKB = version >= 0x0C ? 4 : 1;
        o.saetzeProBlock = 3;
        o.blockPositionen = {1, 3, 0, 2};
        bytes = paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(11, 5)), o, &l);
    }
    int groesseByte(int feld) const { return l.feldInfoOffset + 2 * feld + 1; }
    int letzterInDatei() const { return *std::max_element(l.blockOffsets.begin(), l.blockOffsets.end()); }
};

struct KopfFall {
    const char* name;
    int version;
    std::function<void(QByteArray&, const Probe&)> aendern;
    const char* meldung; // part of the German message; nullptr: the table reads
};

void PrintTo(const KopfFall& f, std::ostream* os) { *os << f.name; }

class ParadoxKopf : public ::testing::TestWithParam<KopfFall> {};

TEST_P(ParadoxKopf, ReadsTheTableOrRefusesItWithAGermanMessage)
{
    Probe p(GetParam().version);
    GetParam().aendern(p.bytes, p);
    const auto r = paradoxLesen(p.bytes);
    if (!GetParam().meldung) {
        EXPECT_FALSE(r.fehler) << r.fehler->toStdString();
        const auto anrufe = beispielAnrufe(11, 5);
        ASSERT_EQ(r.saetze.size(), anrufe.size());
        for (size_t i = 0; i < anrufe.size(); ++i)
            EXPECT_TRUE(r.saetze[i][0].toDate() == anrufe[i].datum && r.saetze[i][1].toTime() == anrufe[i].zeit
                        && r.saetze[i][2].toInt() == anrufe[i].tln && r.saetze[i][4].toString() == anrufe[i].rufnummer.value_or(QString()))
                << i;
        return;
    }
    ASSERT_TRUE(r.fehler) << "no error, " << r.saetze.size() << " records";
    EXPECT_TRUE(r.fehler->contains(QString::fromUtf8(GetParam().meldung))) << r.fehler->toStdString();
}

using B = QByteArray;
const char kKennwort[] = "mit einem Kennwort verschlüsselt";
const auto kUnveraendert = [](B&, const Probe&) {};

// 4.x and later tables carry the marker 0xFF00FF00 at 0x25 (some writers
// leave 0) and the encryption value at 0x5C; 3.x tables the value at 0x25.
INSTANTIATE_TEST_SUITE_P(Arten, ParadoxKopf, ::testing::Values(
    KopfFall{"Version03", 0x03, kUnveraendert, nullptr}, KopfFall{"Version04", 0x04, kUnveraendert, nullptr},
    KopfFall{"Version05", 0x05, kUnveraendert, nullptr}, KopfFall{"Version06", 0x06, kUnveraendert, nullptr},
    KopfFall{"Version07", 0x07, kUnveraendert, nullptr}, KopfFall{"Version08", 0x08, kUnveraendert, nullptr},
    KopfFall{"Version09", 0x09, kUnveraendert, nullptr}, KopfFall{"Version0A", 0x0A, kUnveraendert, nullptr},
    KopfFall{"Version0B", 0x0B, kUnveraendert, nullptr}, KopfFall{"Version0C", 0x0C, kUnveraendert, nullptr},
    KopfFall{"Zero_at_0x25", 0x0B, [](B& b, const Probe&) { setzeLE32(b, 0x25, 0); }, nullptr},
    KopfFall{"Encrypted_at_0x5C", 0x0B, [](B& b, const Probe&) { setzeLE32(b, 0x5C, 0x5A3C1E0F); }, kKennwort},
    KopfFall{"Encrypted_at_0x25", 0x0B, [](B& b, const Probe&) { setzeLE32(b, 0x25, 0x12345678); }, kKennwort},
    KopfFall{"Encrypted_Paradox4", 0x04, [](B& b, const Probe&) { setzeLE32(b, 0x25, 0x12345678); }, kKennwort},
    KopfFall{"Version2", 0x0B, [](B& b, const Probe&) { b[0x39] = 0x02; }, "keine Paradox-Tabelle der Versionen 3 bis 7"},
    KopfFall{"Version13", 0x0B, [](B& b, const Probe&) { b[0x39] = 0x0D; }, "keine Paradox-Tabelle der Versionen 3 bis 7"},
    KopfFall{"PrimaryIndex", 0x0B, [](B& b, const Probe&) { b[0x04] = 0x01; }, "keine Paradox-Datentabelle"},
    KopfFall{"HeaderLargerThanFile", 0x0B, [](B& b, const Probe&) { setzeLE16(b, 0x02, std::uint16_t(b.size() + 1)); }, "ist größer als die Datei"},
    KopfFall{"FileShorterThanAnyHeader", 0x0B, [](B& b, const Probe&) { b.truncate(0x40); }, "kürzer als der Kopf"},
    KopfFall{"FieldSizesDoNotAddUp", 0x0B, [](B& b, const Probe& p) { setzeLE16(b, 0x00, std::uint16_t(p.l.satzGroesse + 1)); }, "passen nicht zur Satzgröße"},
    KopfFall{"ShortOfThreeBytes", 0x0B, [](B& b, const Probe& p) { b[p.groesseByte(2)] = 3; }, "unpassende Größe 3"},
    KopfFall{"AlphaOfNoBytes", 0x0B, [](B& b, const Probe& p) { b[p.groesseByte(5)] = 0; }, "unpassende Größe 0"},
    KopfFall{"UnknownFieldType", 0x0B, [](B& b, const Probe& p) { b[p.groesseByte(3) - 1] = 0x07; }, "unbekannten Typ 7"},
    KopfFall{"NoFields", 0x0B, [](B& b, const Probe&) { setzeLE16(b, 0x21, 0); }, "Zahl der Felder"},
    KopfFall{"FieldListBeyondHeader", 0x0B, [](B& b, const Probe&) { setzeLE16(b, 0x21, 255); setzeLE16(b, 0x02, 0x100); }, "Feldliste passt nicht"},
    KopfFall{"FieldNamesCutOff", 0x0B, [](B& b, const Probe&) { setzeLE16(b, 0x02, 0x110); }, "Feldnamen"},
    KopfFall{"BlockSizeZero", 0x0B, [](B& b, const Probe&) { b[0x05] = 0; }, "Blockgröße 0 KB"},
    KopfFall{"BlockSizeTooLarge", 0x0B, [](B& b, const Probe&) { b[0x05] = 33; }, "Blockgröße 33 KB"},
    KopfFall{"ChainLoopsBack", 0x0B, [](B& b, const Probe& p) { setzeLE16(b, p.l.blockOffsets[2], 2); }, "kehrt zu Block"},
    KopfFall{"NextBlockOutsideTheFile", 0x0B, [](B& b, const Probe& p) { setzeLE16(b, p.l.blockOffsets[1], 500); }, "Datenblock 500 liegt außerhalb der Datei"},
    KopfFall{"FirstBlockOutsideTheFile", 0x0B, [](B& b, const Probe&) { setzeLE16(b, 0x0E, 9); }, "Datenblock 9 liegt außerhalb der Datei"},
    KopfFall{"BlockCountJustTooLarge", 0x0B, [](B& b, const Probe& p) {
         setzeLE16(b, p.l.blockOffsets[3] + 4, std::uint16_t((p.l.blockGroesse - 6) / p.l.satzGroesse * p.l.satzGroesse)); }, "es passen höchstens"},
    KopfFall{"HeaderCountsMore", 0x0B, [](B& b, const Probe&) { setzeLE32(b, 0x06, 12); }, "gefunden wurden 11 Datensätze, der Dateikopf nennt 12"},
    KopfFall{"HeaderCountsFewer", 0x0B, [](B& b, const Probe&) { setzeLE32(b, 0x06, 10); }, "mehr Datensätze, als der Dateikopf nennt (10)"},
    KopfFall{"LastBlockCutShort", 0x0B, [](B& b, const Probe& p) { b.truncate(p.letzterInDatei() + 10); }, "reicht über das Ende der Datei hinaus"},
    KopfFall{"BlockHeaderCutShort", 0x0B, [](B& b, const Probe& p) { b.truncate(p.letzterInDatei() + 3); }, "liegt außerhalb der Datei"}),
    [](const auto& info) { return std::string(info.param.name); });

// Records handed over before the damage was found stay handed over; the
// error still comes.
TEST(ParadoxSchadenVerlauf, RecordsBeforeTheDamageAreDeliveredThenTheErrorComes)
{
    Probe p;
    setzeLE16(p.bytes, p.l.blockOffsets[2], 700);
    const auto r = paradoxLesen(p.bytes);
    EXPECT_TRUE(r.fehler);
    EXPECT_EQ(r.saetze.size(), 9u);
}

// Every cut either reads completely or fails with a ParadoxFehler: never a
// crash, a hang or part of the table as if it were whole.
TEST(ParadoxSchadenVerlauf, EveryTruncationLengthFailsCleanlyOrReadsEverything)
{
    Probe p;
    int benoetigt = 0; // up to the last record of every block
    for (size_t i = 0; i < p.l.blockOffsets.size(); ++i)
        benoetigt = std::max(benoetigt, p.l.blockOffsets[i] + 6 + (i + 1 < p.l.blockOffsets.size() ? 3 : 2) * p.l.satzGroesse);
    for (int laenge = 0; laenge <= p.bytes.size(); ++laenge) {
        const auto r = paradoxLesen(p.bytes.left(laenge));
        EXPECT_EQ(r.fehler.has_value(), laenge < benoetigt) << laenge;
        if (!r.fehler)
            EXPECT_EQ(r.saetze.size(), 11u) << laenge;
    }
}

// Files above 64 KB are read in two steps: header first, then the rest.
TEST(ParadoxDatei, ALargeFileIsReadWholeWhenItIsATableAndRefusedEarlyWhenNot)
{
    QTemporaryDir dir;
    const auto anrufe = beispielAnrufe(3000, 11); // about 190 KB
    schreibeParadoxBill(dir.filePath(QStringLiteral("bill.db")), anrufe);
    std::vector<Satz> s;
    ParadoxTabelle::oeffnen(dir.filePath(QStringLiteral("bill.db"))).lesen([&](const Satz& x) { s.push_back(x); });
    ASSERT_EQ(s.size(), anrufe.size());
    EXPECT_EQ(s.back()[0].toDate(), anrufe.back().datum);
    EXPECT_EQ(s.back()[2].toLongLong(), anrufe.back().tln);
    QFile keine(dir.filePath(QStringLiteral("gross.db")));
    ASSERT_TRUE(keine.open(QIODevice::WriteOnly) && keine.write(B(300000, 'x')) == 300000);
    keine.close();
    EXPECT_THROW(ParadoxTabelle::oeffnen(keine.fileName()), ParadoxFehler);
}
