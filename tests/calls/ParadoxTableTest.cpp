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

QByteArray hex(const char* h) { return QByteArray::fromHex(h); }
QVariant i64(qint64 v) { return QVariant::fromValue<qint64>(v); }

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

// The records of a table the reader must accept.
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
    EXPECT_EQ(t.felder()[1].name, QStringLiteral("Name"));
    EXPECT_EQ(t.felder()[1].typ, FeldTyp::Alpha);
    EXPECT_EQ(t.felder()[1].groesse, 8);
    EXPECT_EQ(t.anzahl(), 3);

    const auto s = saetze(b);
    const std::vector<std::vector<QVariant>> soll = {
        {i64(1), QStringLiteral("Müller"), QDate(2001, 6, 21)},
        {i64(-1), QVariant(), QVariant()},
        {i64(300), QStringLiteral("abc"), QDate(1950, 12, 25)},
    };
    ASSERT_EQ(s.size(), soll.size());
    for (size_t z = 0; z < soll.size(); ++z)
        for (size_t f = 0; f < 3; ++f)
            expectGleich(s[z][f], soll[z][f], "row " + std::to_string(z + 1) + " field " + std::to_string(f + 1));
}

// ---- Field values from their stored bytes -------------------------------------

struct WertFall {
    const char* name;
    FeldTyp typ;
    const char* bytes; // hex, as stored in the record
    QVariant erwartet; // invalid = Null
};

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
    const auto s = saetze(b);
    ASSERT_EQ(s.size(), 1u);
    expectGleich(s[0][0], f.erwartet, f.name);
}

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
    WertFall{"time_last_ms", FeldTyp::Time, "85265BFF", QVariant(QTime(23, 59, 59, 999))},
    WertFall{"time_beyond_the_day", FeldTyp::Time, "85265C00", QVariant()},
    WertFall{"time_negative", FeldTyp::Time, "7FFFFFFF", QVariant()},
    WertFall{"timestamp", FeldTyp::Timestamp, "C2CCB5291687EE00",
             QDateTime(QDate(2001, 6, 21), QTime(12, 0, 1, 500), QTimeZone::utc())},
    WertFall{"timestamp_not_a_number", FeldTyp::Timestamp, "FFF8000000000000", QVariant()},
    WertFall{"logical_true", FeldTyp::Logical, "81", QVariant(true)},
    WertFall{"alpha_full", FeldTyp::Alpha, "3031323334", QVariant(QStringLiteral("01234"))},
    WertFall{"alpha_ends_at_first_zero", FeldTyp::Alpha, "4100424300", QVariant(QStringLiteral("A"))},
    WertFall{"alpha_empty_with_leftovers", FeldTyp::Alpha, "0041424300", QVariant()},
    WertFall{"bcd_raw", FeldTyp::Bcd, "C1000000000000000000000000000000FF", QVariant(hex("C1000000000000000000000000000000FF"))}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Code pages -----------------------------------------------------------------

struct CodepageFall {
    const char* name;
    int version;
    int codepage;
    const char* bytes;
    const char16_t* text;
};

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
    const QByteArray platzhalter(roh.size(), 'X');
    QByteArray b = paradoxTabelle({{QString::fromLatin1(platzhalter), FeldTyp::Alpha, 10}}, {{roh}}, o);
    const int name = static_cast<int>(b.indexOf(platzhalter + '\0'));
    ASSERT_GT(name, 0);
    b.replace(name, roh.size(), roh);

    const auto s = saetze(b);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0][0].toString(), soll) << f.name;
    EXPECT_EQ(ParadoxTabelle::ausBytes(b).felder()[0].name, soll) << f.name;
}

INSTANTIATE_TEST_SUITE_P(Texte, ParadoxCodepage, ::testing::Values(
    CodepageFall{"cp437", 0x0B, 437, "8494818E999AE1C4B3", u"äöüÄÖÜß─│"},
    CodepageFall{"cp850_own_letters", 0x0B, 850, "D5B7E99B", u"ıÀÚø"},
    CodepageFall{"cp852", 0x0B, 852, "A5E7", u"ąš"},
    CodepageFall{"cp858_euro", 0x0B, 858, "D5", u"€"},
    CodepageFall{"cp1252_and_its_unused_byte", 0x0B, 1252, "E4DF8084819F", u"äß€„\u0081Ÿ"},
    CodepageFall{"unknown_code_page_as_latin1", 0x0B, 1250, "E480", u"ä\u0080"},
    CodepageFall{"paradox_3_as_latin1", 0x03, 437, "E4FC", u"äü"},
    CodepageFall{"paradox_7", 0x0C, 850, "8E", u"Ä"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Versions and file kinds ------------------------------------------------------

class ParadoxVersion : public ::testing::TestWithParam<int> {};

// Keyed (type 0) and unkeyed (type 2) tables alternate over the versions.
TEST_P(ParadoxVersion, ReadsEveryVersionFromThreeToSeven)
{
    ParadoxOptionen o;
    o.version = GetParam();
    o.blockKB = GetParam() >= 0x0C ? 4 : 1;
    o.saetzeProBlock = 3;
    o.dateiTyp = GetParam() % 2 ? 2 : 0;
    const auto anrufe = beispielAnrufe(10, 7);
    const QByteArray b = paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(anrufe), o);

    const auto t = ParadoxTabelle::ausBytes(b);
    ASSERT_EQ(t.felder().size(), paradoxBillFelder().size());
    EXPECT_EQ(t.felder()[2].name, QStringLiteral("Tln#"));
    EXPECT_EQ(t.anzahl(), 10);
    const auto s = saetze(b);
    ASSERT_EQ(s.size(), 10u);
    EXPECT_EQ(s[9][0].toDate(), anrufe[9].datum);
    EXPECT_EQ(s[9][1].toTime(), anrufe[9].zeit);
    EXPECT_EQ(s[9][4].toString(), anrufe[9].rufnummer.value_or(QString()));
}

INSTANTIATE_TEST_SUITE_P(Paradox3bis7, ParadoxVersion, ::testing::Range(0x03, 0x0D));

struct AblehnungsFall {
    const char* name;
    int offset;
    int wert;
    const char* meldung;
};

class ParadoxAblehnung : public ::testing::TestWithParam<AblehnungsFall> {};

TEST_P(ParadoxAblehnung, RefusesWhatIsNoReadableTable)
{
    QByteArray b = paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(3)));
    b[GetParam().offset] = static_cast<char>(GetParam().wert);
    const auto r = paradoxLesen(b);
    EXPECT_TRUE(r.saetze.empty());
    ASSERT_TRUE(r.fehler);
    EXPECT_TRUE(r.fehler->contains(QString::fromUtf8(GetParam().meldung))) << r.fehler->toStdString();
}

const char kVerschluesselt[] =
    "Die Paradox-Tabelle ist mit einem Kennwort verschlüsselt und kann nicht gelesen werden.";

INSTANTIATE_TEST_SUITE_P(Kopf, ParadoxAblehnung, ::testing::Values(
    AblehnungsFall{"version_2", 0x39, 0x02, "keine Paradox-Tabelle der Versionen 3 bis 7"},
    AblehnungsFall{"version_13", 0x39, 0x0D, "keine Paradox-Tabelle der Versionen 3 bis 7"},
    AblehnungsFall{"primary_index", 0x04, 0x01, "keine Paradox-Datentabelle"}),
    [](const auto& info) { return std::string(info.param.name); });

// Tables of 4.x and later carry the marker 0xFF00FF00 at 0x25 and their
// encryption value at 0x5C; 3.x tables the value at 0x25.
TEST(ParadoxVerschluesselung, TheHeaderIsReadAsWritersFillIt)
{
    struct Fall {
        int version;
        std::optional<std::uint32_t> bei25; // nullopt: as the writer fills it
        std::uint32_t bei5C;
        bool verschluesselt;
    };
    const Fall faelle[] = {
        {0x0B, 0u, 0, false},          {0x0B, std::nullopt, 0, false}, {0x09, 0xFF00FF00u, 0, false},
        {0x0B, std::nullopt, 0x5A3C1E0Fu, true}, {0x0B, 0x12345678u, 0, true},
        {0x03, std::nullopt, 0, false}, {0x04, 0x12345678u, 0, true},
    };
    for (const auto& f : faelle) {
        ParadoxOptionen o;
        o.version = f.version;
        o.verschluesselung1 = f.bei25;
        o.verschluesselung2 = f.bei5C;
        const auto r = paradoxLesen(paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(3)), o));
        const auto was = testing::Message() << "version " << f.version << ", 0x25 " << f.bei25.value_or(1) << ", 0x5C " << f.bei5C;
        if (f.verschluesselt) {
            EXPECT_EQ(r.fehler.value_or(QString()), QString::fromUtf8(kVerschluesselt)) << was;
            EXPECT_TRUE(r.saetze.empty()) << was;
        } else {
            EXPECT_FALSE(r.fehler) << was << ": " << r.fehler.value_or(QString()).toStdString();
            EXPECT_EQ(r.saetze.size(), 3u) << was;
        }
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
    const auto s = saetze(paradoxTabelle({{QStringLiteral("nr"), FeldTyp::Long, 4}}, zeilen, o));
    ASSERT_EQ(s.size(), 18u);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(s[static_cast<size_t>(i)][0].toLongLong(), i);
}

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
    const auto s = saetze(b);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0][0].toLongLong(), 1);
    // A table without records has no chain at all.
    const QByteArray leer = paradoxTabelle(paradoxBillFelder(), {});
    EXPECT_EQ(ParadoxTabelle::ausBytes(leer).anzahl(), 0);
    EXPECT_TRUE(saetze(leer).empty());
    EXPECT_EQ(s[1][0].toLongLong(), 2);
    EXPECT_EQ(s[2][0].toLongLong(), 5);
}

// ---- Files --------------------------------------------------------------------------

// Files above 64 KB are read in two steps: header first, then the rest.
TEST(ParadoxDatei, ALargeFileIsReadWholeAndUntouchedWhenItIsATableAndRefusedEarlyWhenNot)
{
    QTemporaryDir dir;
    const QString tabelle = dir.filePath(QStringLiteral("bill.db"));
    const auto anrufe = beispielAnrufe(3000, 11); // about 190 KB
    schreibeParadoxBill(tabelle, anrufe);
    QFile f(tabelle);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(QByteArray(70000, '\x5A')); // free space after the last block
    f.close();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray vorher = f.readAll();
    f.close();

    std::vector<Satz> s;
    ParadoxTabelle::oeffnen(tabelle).lesen([&](const Satz& x) { s.push_back(x); });
    ASSERT_EQ(s.size(), anrufe.size());
    EXPECT_EQ(s.back()[0].toDate(), anrufe.back().datum);
    EXPECT_EQ(s.back()[2].toLongLong(), anrufe.back().tln);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), vorher) << "reading changed the file";

    QFile keine(dir.filePath(QStringLiteral("gross.db")));
    ASSERT_TRUE(keine.open(QIODevice::WriteOnly));
    keine.write(QByteArray(300000, 'x'));
    keine.close();
    EXPECT_THROW(ParadoxTabelle::oeffnen(keine.fileName()), ParadoxFehler);
}
