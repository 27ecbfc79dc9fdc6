#include "calls/ParadoxTable.h"

#include "ParadoxWriter.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTime>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <initializer_list>

using namespace orve::paradox;
using namespace orve::test;

namespace {

struct Ergebnis {
    std::vector<Satz> saetze;
    QString fehler; // empty when the table was read without complaint
};

// Opens and reads a whole table; only ParadoxFehler is an expected failure,
// every other exception fails the test.
Ergebnis lies(const QByteArray& bytes)
{
    Ergebnis r;
    try {
        const auto t = ParadoxTabelle::ausBytes(bytes);
        t.lesen([&](const Satz& s) { r.saetze.push_back(s); });
    } catch (const ParadoxFehler& e) {
        r.fehler = e.text();
        if (r.fehler.isEmpty())
            r.fehler = QStringLiteral("(leere Meldung)");
    }
    return r;
}

QByteArray hex(const char* h) { return QByteArray::fromHex(h); }

void expectGleich(const QVariant& ist, const QVariant& soll, const std::string& wo)
{
    if (!soll.isValid()) {
        EXPECT_FALSE(ist.isValid()) << wo << ": expected Null, got " << ist.toString().toStdString();
        return;
    }
    ASSERT_TRUE(ist.isValid()) << wo << ": got Null";
    EXPECT_EQ(ist.typeId(), soll.typeId()) << wo << ": " << ist.typeName() << " instead of " << soll.typeName();
    EXPECT_EQ(ist, soll) << wo << ": " << ist.toString().toStdString() << " instead of "
                         << soll.toString().toStdString();
}

} // namespace

// ---- A table assembled byte by byte ------------------------------------------
//
// Built from the published descriptions of the format, not by the test
// writer, so that writer and reader cannot share a mistake.

TEST(ParadoxHandgebaut, ReadsATinyTableAssembledByteByByte)
{
    QByteArray b(0x800 + 2 * 0x400, '\0'); // header of 0x800 bytes, two blocks of 1 KB
    auto put = [&b](int offset, std::initializer_list<int> bytes) {
        for (int v : bytes)
            b[offset++] = static_cast<char>(v);
    };
    put(0x00, {0x0E, 0x00});             // record size 14 = 2 + 8 + 4
    put(0x02, {0x00, 0x08});             // header size 0x0800
    put(0x04, {0x02});                   // file type 2: table without key
    put(0x05, {0x01});                   // blocks of 1 KB
    put(0x06, {0x03, 0x00, 0x00, 0x00}); // 3 records
    put(0x0A, {0x02, 0x00});             // 2 blocks in use
    put(0x0C, {0x02, 0x00});             // 2 blocks in the file
    put(0x0E, {0x02, 0x00});             // the chain starts with file block 2 ...
    put(0x10, {0x01, 0x00});             // ... and ends with file block 1
    put(0x21, {0x03, 0x00});             // 3 fields
    put(0x39, {0x0A});                   // version byte: Paradox 5.0
    put(0x6A, {0xB5, 0x01});             // code page 437
    put(0x78, {0x03, 0x02,               // field list: Short, 2 bytes
               0x01, 0x08,               //             Alpha, 8 bytes
               0x02, 0x04});             //             Date, 4 bytes
    // 0x7E: table-name pointer, 0x82: three field-name pointers (zero on disk)
    put(0x8E, {'t', 'i', 'n', 'y'});     // table name, area of 79 bytes
    put(0x8E + 79, {'N', 'r', 0, 'N', 'a', 'm', 'e', 0, 'T', 'a', 'g', 0});

    // File block 2 (first in the chain): next 1, previous 0, two records.
    put(0xC00, {0x01, 0x00, 0x00, 0x00, 0x0E, 0x00}); // last record at offset 14
    put(0xC06, {0x80, 0x01,                                      // Nr 1
                'M', 0x81, 'l', 'l', 'e', 'r', 0x00, 0x00,       // "Müller" in code page 437
                0x80, 0x0B, 0x26, 0x21});                        // day 730657 = 2001-06-21
    put(0xC14, {0x7F, 0xFF});                                    // Nr -1; name and date Null
    // File block 1 (second in the chain): next 0, previous 2, one record.
    put(0x800, {0x00, 0x00, 0x02, 0x00, 0x00, 0x00});
    put(0x806, {0x81, 0x2C,                                      // Nr 300
                'a', 'b', 'c', 0, 0, 0, 0, 0,                    // "abc"
                0x80, 0x0A, 0xDE, 0x18});                        // day 712216 = 1950-12-25

    const auto t = ParadoxTabelle::ausBytes(b);
    ASSERT_EQ(t.felder().size(), 3u);
    EXPECT_EQ(t.felder()[0].name, QStringLiteral("Nr"));
    EXPECT_EQ(t.felder()[0].typ, FeldTyp::Short);
    EXPECT_EQ(t.felder()[1].name, QStringLiteral("Name"));
    EXPECT_EQ(t.felder()[1].groesse, 8);
    EXPECT_EQ(t.felder()[2].name, QStringLiteral("Tag"));
    EXPECT_EQ(t.felder()[2].typ, FeldTyp::Date);
    EXPECT_EQ(t.anzahl(), 3);

    const auto r = lies(b);
    ASSERT_TRUE(r.fehler.isEmpty()) << r.fehler.toStdString();
    ASSERT_EQ(r.saetze.size(), 3u);
    expectGleich(r.saetze[0][0], QVariant::fromValue<qint64>(1), "row 1 Nr");
    expectGleich(r.saetze[0][1], QStringLiteral("Müller"), "row 1 Name");
    expectGleich(r.saetze[0][2], QDate(2001, 6, 21), "row 1 Tag");
    expectGleich(r.saetze[1][0], QVariant::fromValue<qint64>(-1), "row 2 Nr");
    expectGleich(r.saetze[1][1], QVariant(), "row 2 Name");
    expectGleich(r.saetze[1][2], QVariant(), "row 2 Tag");
    expectGleich(r.saetze[2][0], QVariant::fromValue<qint64>(300), "row 3 Nr");
    expectGleich(r.saetze[2][1], QStringLiteral("abc"), "row 3 Name");
    expectGleich(r.saetze[2][2], QDate(1950, 12, 25), "row 3 Tag");
}

// ---- Field values from their stored bytes -------------------------------------

struct WertFall {
    const char* name;
    FeldTyp typ;
    const char* bytes; // hex, as stored in the record
    QVariant erwartet; // invalid = Null
};

void PrintTo(const WertFall& f, std::ostream* os) { *os << f.name; }

class ParadoxFeldwert : public ::testing::TestWithParam<WertFall> {};

// One-field table whose record holds exactly the given bytes: written as a
// raw Bytes field, then the field's type byte is changed.
TEST_P(ParadoxFeldwert, DecodesTheStoredBytes)
{
    const auto& f = GetParam();
    const QByteArray roh = hex(f.bytes);
    ParadoxLayout layout;
    QByteArray b = paradoxTabelle({{QStringLiteral("f"), FeldTyp::Bytes, static_cast<int>(roh.size())}}, {{roh}}, {}, &layout);
    b[layout.feldInfoOffset] = static_cast<char>(f.typ);
    const auto r = lies(b);
    ASSERT_TRUE(r.fehler.isEmpty()) << r.fehler.toStdString();
    ASSERT_EQ(r.saetze.size(), 1u);
    expectGleich(r.saetze[0][0], f.erwartet, f.name);
}

namespace {
QVariant i64(qint64 v) { return QVariant::fromValue<qint64>(v); }
QVariant utc(int y, int mo, int d, int h, int mi, int s, int ms)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), QTimeZone::utc());
}
} // namespace

INSTANTIATE_TEST_SUITE_P(Typen, ParadoxFeldwert, ::testing::Values(
    WertFall{"short positive", FeldTyp::Short, "8005", i64(5)},
    WertFall{"short negative", FeldTyp::Short, "7FFF", i64(-1)},
    WertFall{"short zero", FeldTyp::Short, "8000", i64(0)},
    WertFall{"short largest", FeldTyp::Short, "FFFF", i64(32767)},
    WertFall{"short smallest", FeldTyp::Short, "0001", i64(-32767)},
    WertFall{"short null", FeldTyp::Short, "0000", QVariant()},
    WertFall{"long positive", FeldTyp::Long, "8000002A", i64(42)},
    WertFall{"long negative", FeldTyp::Long, "7FFFFFD6", i64(-42)},
    WertFall{"long zero", FeldTyp::Long, "80000000", i64(0)},
    WertFall{"long largest", FeldTyp::Long, "FFFFFFFF", i64(2147483647)},
    WertFall{"long null", FeldTyp::Long, "00000000", QVariant()},
    WertFall{"autoinc", FeldTyp::AutoInc, "80000001", i64(1)},
    WertFall{"autoinc null", FeldTyp::AutoInc, "00000000", QVariant()},
    WertFall{"number positive", FeldTyp::Number, "BFF8000000000000", QVariant(1.5)},
    WertFall{"number negative", FeldTyp::Number, "3FFFFFFFFFFFFFFF", QVariant(-2.0)},
    WertFall{"number fraction", FeldTyp::Number, "C05EDD2F1A9FBE77", QVariant(123.456)},
    WertFall{"number small negative", FeldTyp::Number, "403FFFFFFFFFFFFF", QVariant(-0.125)},
    WertFall{"number zero", FeldTyp::Number, "8000000000000000", QVariant(0.0)},
    WertFall{"number null", FeldTyp::Number, "0000000000000000", QVariant()},
    WertFall{"currency", FeldTyp::Currency, "BFF8000000000000", QVariant(1.5)},
    WertFall{"currency negative", FeldTyp::Currency, "3FFFFFFFFFFFFFFF", QVariant(-2.0)},
    WertFall{"date", FeldTyp::Date, "800B2621", QVariant(QDate(2001, 6, 21))},
    WertFall{"date day one", FeldTyp::Date, "80000001", QVariant(QDate(1, 1, 1))},
    WertFall{"date last day", FeldTyp::Date, "8037B9DB", QVariant(QDate(9999, 12, 31))},
    WertFall{"date null", FeldTyp::Date, "00000000", QVariant()},
    WertFall{"time noon", FeldTyp::Time, "82932E00", QVariant(QTime(12, 0))},
    WertFall{"time morning", FeldTyp::Time, "81499700", QVariant(QTime(6, 0))},
    WertFall{"time midnight", FeldTyp::Time, "80000000", QVariant(QTime(0, 0))},
    WertFall{"time last ms", FeldTyp::Time, "85265BFF", QVariant(QTime(23, 59, 59, 999))},
    WertFall{"time beyond the day", FeldTyp::Time, "85265C00", QVariant()},
    WertFall{"time negative", FeldTyp::Time, "7FFFFFFF", QVariant()},
    WertFall{"time null", FeldTyp::Time, "00000000", QVariant()},
    WertFall{"timestamp", FeldTyp::Timestamp, "C2CCB5291687EE00", utc(2001, 6, 21, 12, 0, 1, 500)},
    WertFall{"timestamp null", FeldTyp::Timestamp, "0000000000000000", QVariant()},
    WertFall{"timestamp not a number", FeldTyp::Timestamp, "FFF8000000000000", QVariant()},
    WertFall{"logical true", FeldTyp::Logical, "81", QVariant(true)},
    WertFall{"logical false", FeldTyp::Logical, "80", QVariant(false)},
    WertFall{"logical null", FeldTyp::Logical, "00", QVariant()},
    WertFall{"alpha", FeldTyp::Alpha, "4142430000", QVariant(QStringLiteral("ABC"))},
    WertFall{"alpha full", FeldTyp::Alpha, "3031323334", QVariant(QStringLiteral("01234"))},
    WertFall{"alpha null", FeldTyp::Alpha, "0000000000", QVariant()},
    WertFall{"alpha empty with leftovers", FeldTyp::Alpha, "0041424300", QVariant()},
    WertFall{"alpha ends at first zero", FeldTyp::Alpha, "4100424300", QVariant(QStringLiteral("A"))},
    WertFall{"bytes", FeldTyp::Bytes, "00FF10", QVariant(hex("00FF10"))},
    WertFall{"bcd raw", FeldTyp::Bcd, "C1000000000000000000000000000000FF", QVariant(hex("C1000000000000000000000000000000FF"))}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (auto& c : n)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return n;
    });

// Values written by the test writer come back unchanged, Null included.
TEST(ParadoxFeldwert, EveryTypeRoundTripsThroughTheWriter)
{
    const std::vector<ParadoxFeldDef> felder = {
        {QStringLiteral("a"), FeldTyp::Alpha, 20},   {QStringLiteral("d"), FeldTyp::Date, 4},
        {QStringLiteral("t"), FeldTyp::Time, 4},     {QStringLiteral("ts"), FeldTyp::Timestamp, 8},
        {QStringLiteral("s"), FeldTyp::Short, 2},    {QStringLiteral("l"), FeldTyp::Long, 4},
        {QStringLiteral("n"), FeldTyp::Number, 8},   {QStringLiteral("c"), FeldTyp::Currency, 8},
        {QStringLiteral("b"), FeldTyp::Logical, 1},  {QStringLiteral("z"), FeldTyp::AutoInc, 4},
    };
    const std::vector<ParadoxZeile> zeilen = {
        {QStringLiteral("Grüße"), QDate(2024, 2, 29), QTime(23, 59, 58), utc(2024, 2, 29, 8, 15, 0, 250),
         i64(-32767), i64(-2147483647), -1234.5678, 0.01, true, i64(1)},
        {QStringLiteral(""), QDate(1899, 12, 30), QTime(0, 0, 0, 1), utc(1, 1, 1, 0, 0, 0, 0),
         i64(0), i64(0), 0.0, -0.0, false, i64(2147483647)},
        {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
         QVariant(), QVariant()},
    };
    const auto r = lies(paradoxTabelle(felder, zeilen));
    ASSERT_TRUE(r.fehler.isEmpty()) << r.fehler.toStdString();
    ASSERT_EQ(r.saetze.size(), zeilen.size());
    // An empty alpha text is stored as all zeros: it reads back as Null.
    auto erwartet = zeilen;
    erwartet[1][0] = QVariant();
    for (size_t z = 0; z < zeilen.size(); ++z)
        for (size_t f = 0; f < felder.size(); ++f)
            expectGleich(r.saetze[z][f], erwartet[z][f],
                         "row " + std::to_string(z + 1) + " field " + felder[f].name.toStdString());
}

// ---- Code pages -----------------------------------------------------------------

struct CodepageFall {
    const char* name;
    int version;
    int codepage;
    const char* bytes;
    const char16_t* text;
};

void PrintTo(const CodepageFall& f, std::ostream* os) { *os << f.name; }

class ParadoxCodepage : public ::testing::TestWithParam<CodepageFall> {};

TEST_P(ParadoxCodepage, ConvertsAlphaTextAndFieldNames)
{
    const auto& f = GetParam();
    ParadoxOptionen o;
    o.version = f.version;
    o.codepage = f.codepage;
    const QByteArray roh = hex(f.bytes);
    const QString soll = QString::fromUtf16(f.text);
    // The field name is written as raw bytes too: patch it after the fact.
    ParadoxLayout layout;
    QByteArray b = paradoxTabelle({{QStringLiteral("XXXXXXXX").left(static_cast<int>(roh.size())), FeldTyp::Alpha, 10}},
                                  {{roh}}, o, &layout);
    const int name = static_cast<int>(b.indexOf(QByteArray("XXXXXXXX").left(roh.size()) + '\0'));
    ASSERT_GT(name, 0);
    b.replace(name, roh.size(), roh);

    const auto r = lies(b);
    ASSERT_TRUE(r.fehler.isEmpty()) << r.fehler.toStdString();
    ASSERT_EQ(r.saetze.size(), 1u);
    EXPECT_EQ(r.saetze[0][0].toString(), soll) << f.name;
    EXPECT_EQ(ParadoxTabelle::ausBytes(b).felder()[0].name, soll) << f.name;
}

INSTANTIATE_TEST_SUITE_P(Texte, ParadoxCodepage, ::testing::Values(
    CodepageFall{"cp437 umlauts", 0x0B, 437, "8494818E999AE1", u"äöüÄÖÜß"},
    CodepageFall{"cp437 graphics", 0x0B, 437, "C4B3DAE6", u"─│┌µ"},
    CodepageFall{"cp850 umlauts", 0x0B, 850, "8494818E999AE1", u"äöüÄÖÜß"},
    CodepageFall{"cp850 own letters", 0x0B, 850, "D5B7E99B", u"ıÀÚø"},
    CodepageFall{"cp858 euro", 0x0B, 858, "D5", u"€"},
    CodepageFall{"cp852", 0x0B, 852, "A5E7", u"ąš"},
    CodepageFall{"cp1252 umlauts", 0x0B, 1252, "E4F6FCC4D6DCDF", u"äöüÄÖÜß"},
    CodepageFall{"cp1252 specials", 0x0B, 1252, "80849F", u"€„Ÿ"},
    CodepageFall{"cp1252 unused byte", 0x0B, 1252, "81", u"\u0081"},
    CodepageFall{"unknown code page as latin1", 0x0B, 1250, "E480", u"ä\u0080"},
    CodepageFall{"no code page as latin1", 0x0B, 0, "E4", u"ä"},
    CodepageFall{"paradox 3 as latin1", 0x03, 437, "E4FC", u"äü"},
    CodepageFall{"paradox 7", 0x0C, 850, "8E", u"Ä"}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (auto& c : n)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return n;
    });

// ---- Versions and file kinds ------------------------------------------------------

class ParadoxVersion : public ::testing::TestWithParam<int> {};

TEST_P(ParadoxVersion, ReadsEveryVersionFromThreeToSeven)
{
    ParadoxOptionen o;
    o.version = GetParam();
    o.blockKB = GetParam() >= 0x0C ? 4 : 1;
    o.saetzeProBlock = 3;
    const auto anrufe = beispielAnrufe(10, 7);
    const QByteArray b = paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(anrufe), o);

    const auto t = ParadoxTabelle::ausBytes(b);
    ASSERT_EQ(t.felder().size(), paradoxBillFelder().size());
    EXPECT_EQ(t.felder()[2].name, QStringLiteral("Tln#"));
    EXPECT_EQ(t.anzahl(), 10);
    const auto r = lies(b);
    ASSERT_TRUE(r.fehler.isEmpty()) << r.fehler.toStdString();
    ASSERT_EQ(r.saetze.size(), 10u);
    EXPECT_EQ(r.saetze[9][0].toDate(), anrufe[9].datum);
    EXPECT_EQ(r.saetze[9][1].toTime(), anrufe[9].zeit);
}

INSTANTIATE_TEST_SUITE_P(Paradox3bis7, ParadoxVersion, ::testing::Range(0x03, 0x0D));

TEST(ParadoxVersion, KeyedAndUnkeyedTablesAreRead)
{
    for (int typ : {0, 2}) {
        ParadoxOptionen o;
        o.dateiTyp = typ;
        const auto r = lies(paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(3)), o));
        EXPECT_TRUE(r.fehler.isEmpty()) << typ << ": " << r.fehler.toStdString();
        EXPECT_EQ(r.saetze.size(), 3u);
    }
}

struct AblehnungsFall {
    const char* name;
    int offset;
    int wert;
    const char* meldung;
};

void PrintTo(const AblehnungsFall& f, std::ostream* os) { *os << f.name; }

class ParadoxAblehnung : public ::testing::TestWithParam<AblehnungsFall> {};

TEST_P(ParadoxAblehnung, RefusesWhatIsNoReadableTable)
{
    QByteArray b = paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(3)));
    b[GetParam().offset] = static_cast<char>(GetParam().wert);
    const auto r = lies(b);
    EXPECT_TRUE(r.saetze.empty());
    EXPECT_TRUE(r.fehler.contains(QString::fromUtf8(GetParam().meldung))) << r.fehler.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Kopf, ParadoxAblehnung, ::testing::Values(
    AblehnungsFall{"version 2", 0x39, 0x02, "keine Paradox-Tabelle der Versionen 3 bis 7"},
    AblehnungsFall{"version 13", 0x39, 0x0D, "keine Paradox-Tabelle der Versionen 3 bis 7"},
    AblehnungsFall{"version 255", 0x39, 0xFF, "keine Paradox-Tabelle der Versionen 3 bis 7"},
    AblehnungsFall{"primary index", 0x04, 0x01, "keine Paradox-Datentabelle"},
    AblehnungsFall{"secondary index", 0x04, 0x03, "keine Paradox-Datentabelle"},
    AblehnungsFall{"encrypted 4.x", 0x5C, 0x01, "verschlüsselt"},
    AblehnungsFall{"encrypted old word", 0x25, 0x01, "verschlüsselt"}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (auto& c : n)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return n;
    });

TEST(ParadoxAblehnung, RefusesEncryptedTablesOfEveryVersion)
{
    for (int version : {0x03, 0x04, 0x09, 0x0B, 0x0C}) {
        ParadoxOptionen o;
        o.version = version;
        o.verschluesselt = true;
        const auto r = lies(paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(2)), o));
        EXPECT_EQ(r.fehler, QStringLiteral("Die Paradox-Tabelle ist mit einem Kennwort verschlüsselt und kann nicht gelesen werden."))
            << version;
    }
}

// ---- Block chain ---------------------------------------------------------------------

TEST(ParadoxKette, ReadsBlocksInChainOrderNotFileOrder)
{
    ParadoxOptionen o;
    o.blockKB = 1;
    o.saetzeProBlock = 4;
    o.blockPositionen = {3, 0, 4, 1, 2}; // chain block i lies at file block blockPositionen[i]
    std::vector<ParadoxZeile> zeilen;
    for (int i = 0; i < 18; ++i)
        zeilen.push_back({i64(i)});
    const auto r = lies(paradoxTabelle({{QStringLiteral("nr"), FeldTyp::Long, 4}}, zeilen, o));
    ASSERT_TRUE(r.fehler.isEmpty()) << r.fehler.toStdString();
    ASSERT_EQ(r.saetze.size(), 18u);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(r.saetze[static_cast<size_t>(i)][0].toLongLong(), i);
}

TEST(ParadoxKette, SkipsAnEmptyBlockAndUnusedFileBlocks)
{
    ParadoxOptionen o;
    o.blockKB = 1;
    o.saetzeProBlock = 2;
    o.blockPositionen = {0, 5, 2}; // file blocks 2, 4, 5 (1-based) belong to no chain
    std::vector<ParadoxZeile> zeilen = {{i64(1)}, {i64(2)}, {i64(3)}, {i64(4)}, {i64(5)}};
    ParadoxLayout layout;
    QByteArray b = paradoxTabelle({{QStringLiteral("nr"), FeldTyp::Long, 4}}, zeilen, o, &layout);
    // Empty the middle block: offset of the last record -4 (less than zero), count 3.
    setzeLE16(b, layout.blockOffsets[1] + 4, static_cast<std::uint16_t>(-4));
    setzeLE32(b, 0x06, 3);
    const auto r = lies(b);
    ASSERT_TRUE(r.fehler.isEmpty()) << r.fehler.toStdString();
    ASSERT_EQ(r.saetze.size(), 3u);
    EXPECT_EQ(r.saetze[0][0].toLongLong(), 1);
    EXPECT_EQ(r.saetze[1][0].toLongLong(), 2);
    EXPECT_EQ(r.saetze[2][0].toLongLong(), 5);
}

TEST(ParadoxKette, AnEmptyTableHasNoRecordsAndNoError)
{
    const QByteArray b = paradoxTabelle(paradoxBillFelder(), {});
    EXPECT_EQ(ParadoxTabelle::ausBytes(b).anzahl(), 0);
    const auto r = lies(b);
    EXPECT_TRUE(r.fehler.isEmpty()) << r.fehler.toStdString();
    EXPECT_TRUE(r.saetze.empty());
}

// ---- The TK-Suite table and files -----------------------------------------------------

TEST(ParadoxBill, TheBuilderWritesTheTkSuiteFieldsAndCalls)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath(QStringLiteral("dbf/bill.db"));
    const auto anrufe = beispielAnrufe(500, 3);
    schreibeParadoxBill(pfad, anrufe);

    const auto t = ParadoxTabelle::oeffnen(pfad);
    const std::vector<std::pair<QString, FeldTyp>> soll = {
        {"datum", FeldTyp::Date}, {"Zeit", FeldTyp::Time}, {"Tln#", FeldTyp::Short}, {"flags", FeldTyp::Short},
        {"Rufnummer", FeldTyp::Alpha}, {"Dauer", FeldTyp::Alpha}, {"line", FeldTyp::Short},
    };
    ASSERT_GE(t.felder().size(), soll.size());
    for (size_t i = 0; i < soll.size(); ++i) {
        EXPECT_EQ(t.felder()[i].name, soll[i].first);
        EXPECT_EQ(t.felder()[i].typ, soll[i].second) << soll[i].first.toStdString();
    }
    EXPECT_EQ(t.anzahl(), 500);

    std::vector<Satz> saetze;
    t.lesen([&](const Satz& s) { saetze.push_back(s); });
    ASSERT_EQ(saetze.size(), anrufe.size());
    int nullNummern = 0, nullDauer = 0, andereFlags = 0;
    for (size_t i = 0; i < anrufe.size(); ++i) {
        const auto& a = anrufe[i];
        const auto& s = saetze[i];
        EXPECT_EQ(s[0].toDate(), a.datum);
        EXPECT_EQ(s[1].toTime(), a.zeit);
        EXPECT_EQ(s[2].toLongLong(), a.tln);
        EXPECT_EQ(s[3].toLongLong(), a.flags);
        EXPECT_EQ(s[4].isValid(), a.rufnummer.has_value());
        if (a.rufnummer) {
            EXPECT_EQ(s[4].toString(), *a.rufnummer);
        }
        EXPECT_EQ(s[5].isValid(), a.dauer.has_value());
        if (a.dauer) {
            EXPECT_EQ(s[5].toString(), *a.dauer);
        }
        EXPECT_EQ(s[6].toLongLong(), a.line);
        nullNummern += !a.rufnummer;
        nullDauer += !a.dauer;
        andereFlags += a.flags != 0;
        if (i > 0) {
            EXPECT_LE(QDateTime(anrufe[i - 1].datum, anrufe[i - 1].zeit), QDateTime(a.datum, a.zeit));
        }
    }
    // The sample has the awkward rows the program must cope with.
    EXPECT_GT(nullNummern, 0);
    EXPECT_GT(nullDauer, 0);
    EXPECT_GT(andereFlags, 0);
}

TEST(ParadoxBill, AMissingFileIsAClearError)
{
    QTemporaryDir dir;
    try {
        ParadoxTabelle::oeffnen(dir.filePath(QStringLiteral("bill.db")));
        FAIL() << "no error";
    } catch (const ParadoxFehler& e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("Die Paradox-Tabelle "))) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QStringLiteral("kann nicht geöffnet werden"))) << e.text().toStdString();
    }
}

// Files above 64 KB are read in two steps: header first, then the rest.
TEST(ParadoxBill, ALargeFileIsReadWholeWhenItIsATableAndRefusedEarlyWhenNot)
{
    QTemporaryDir dir;
    const QString tabelle = dir.filePath(QStringLiteral("bill.db"));
    const auto anrufe = beispielAnrufe(3000, 11); // about 190 KB
    schreibeParadoxBill(tabelle, anrufe);
    {
        QFile f(tabelle);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(QByteArray(70000, '\x5A')); // free space after the last block
    }
    const auto t = ParadoxTabelle::oeffnen(tabelle);
    std::vector<Satz> saetze;
    t.lesen([&](const Satz& s) { saetze.push_back(s); });
    ASSERT_EQ(saetze.size(), anrufe.size());
    EXPECT_EQ(saetze.back()[0].toDate(), anrufe.back().datum);
    EXPECT_EQ(saetze.back()[2].toLongLong(), anrufe.back().tln);

    const QString keine = dir.filePath(QStringLiteral("gross.db"));
    {
        QFile f(keine);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(300000, 'x'));
    }
    EXPECT_THROW(ParadoxTabelle::oeffnen(keine), ParadoxFehler);
}

TEST(ParadoxBill, ReadingLeavesTheFileUntouched)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath(QStringLiteral("bill.db"));
    schreibeParadoxBill(pfad, beispielAnrufe(50));
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray vorher = f.readAll();
    f.close();
    const auto t = ParadoxTabelle::oeffnen(pfad);
    int n = 0;
    t.lesen([&](const Satz&) { ++n; });
    EXPECT_EQ(n, 50);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), vorher);
}
