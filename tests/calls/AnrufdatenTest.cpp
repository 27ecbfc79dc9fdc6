#include "calls/Auswahl.h"
#include "calls/ParadoxKopie.h"
#include "calls/ParadoxTabelle.h"
#include "calls/QuellFehler.h"
#include "calls/Settings.h"
#include "calls/StartZeit.h"
#include "calls/TkBillFilter.h"
#include "calls/TkBillImport.h"
#include "common/ProgramEnd.h"

#include "DateiGroessenGrenze.h"
#include "ScriptedDialogs.h"
#include "SourceBuilders.h"

#include <QFileInfo>
#include <QTimeZone>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <functional>

using namespace orve;
using namespace orve::paradox;
using namespace orve::test;

namespace {

QVariant i64(qint64 v)
{
    return QVariant::fromValue<qint64>(v);
}

// Value and type; an invalid QVariant is Null.
void expectGleich(const QVariant& ist, const QVariant& soll, const std::string& wo)
{
    EXPECT_TRUE(ist.isValid() == soll.isValid() && ist.typeId() == soll.typeId() && ist == soll)
        << wo << ": " << ist.typeName() << " " << ist.toString().toStdString() << " instead of "
        << soll.toString().toStdString();
}

std::vector<Satz> saetze(const QByteArray& bytes)
{
    const auto r = paradoxLesen(bytes);
    EXPECT_FALSE(r.fehler) << r.fehler->toStdString();
    return r.saetze;
}

// Built from the published descriptions of the format, not by the test writer: they cannot share a mistake.
TEST(ParadoxHandgebaut, ReadsATinyTableAssembledByteByByte)
{
    QByteArray b(0x800 + 2 * 0x400, '\0'); // header of 0x800 bytes, two blocks of 1 KB
    auto put = [&b](int offset, std::initializer_list<int> bytes) {
        for (int v : bytes)
            b[offset++] = static_cast<char>(v);
    };
    put(0x00, {0x0E, 0x00, 0x00, 0x08});             // record size 14 = 2 + 8 + 4, header size 0x0800
    put(0x04, {0x02, 0x01});                         // file type 2 (table without key), blocks of 1 KB
    put(0x06, {0x03, 0, 0, 0});                      // 3 records
    put(0x0A, {0x02, 0, 0x02, 0});                   // 2 blocks in use, 2 in the file
    put(0x0E, {0x02, 0, 0x01, 0});                   // the chain starts with file block 2 and ends with 1
    put(0x21, {0x03, 0x00});                         // 3 fields
    put(0x39, {0x0A});                               // version byte: Paradox 5.0
    put(0x6A, {0xB5, 0x01});                         // code page 437
    put(0x78, {0x03, 0x02, 0x01, 0x08, 0x02, 0x04}); // Short 2 bytes, Alpha 8, Date 4
    // 0x7E: table-name pointer, 0x82: three field-name pointers (zero on disk)
    put(0x8E, {'t', 'i', 'n', 'y'}); // table name, area of 79 bytes
    put(0x8E + 79, {'N', 'r', 0, 'N', 'a', 'm', 'e', 0, 'T', 'a', 'g', 0});
    // File block 2 (first in the chain): next 1, previous 0, last record at offset 14.
    put(0xC00, {0x01, 0, 0, 0, 0x0E, 0});
    put(0xC06,
        {0x80, 0x01, 'M', 0x81, 'l', 'l', 'e', 'r', 0, 0, 0x80, 0x0B, 0x26, 0x21}); // 1, "Müller", 2001-06-21
    put(0xC14, {0x7F, 0xFF});                                                       // -1, Null, Null
    // File block 1 (second in the chain): next 0, previous 2, one record.
    put(0x800, {0, 0, 0x02, 0, 0, 0});
    put(0x806, {0x81, 0x2C, 'a', 'b', 'c', 0, 0, 0, 0, 0, 0x80, 0x0A, 0xDE, 0x18}); // 300, "abc", 1950-12-25

    const auto t = ParadoxTabelle::ausBytes(b);
    ASSERT_TRUE(t.felder().size() == 3u && t.anzahl() == 3);
    EXPECT_TRUE(t.felder()[1].name == QStringLiteral("Name") && t.felder()[1].typ == FeldTyp::Alpha
                && t.felder()[1].groesse == 8);
    const auto s = saetze(b);
    const std::vector<std::vector<QVariant>> soll = {{i64(1), QStringLiteral("Müller"), QDate(2001, 6, 21)},
                                                     {i64(-1), QVariant(), QVariant()},
                                                     {i64(300), QStringLiteral("abc"), QDate(1950, 12, 25)}};
    ASSERT_EQ(s.size(), soll.size());
    for (size_t z = 0; z < soll.size(); ++z)
        for (size_t f = 0; f < 3; ++f)
            expectGleich(s[z][f], soll[z][f], "row " + std::to_string(z + 1) + " field " + std::to_string(f + 1));
}

// The bytes as stored in the record (hex) and the value they stand for; invalid: Null.
struct WertFall {
    const char* name;
    FeldTyp typ;
    const char* bytes;
    QVariant erwartet;
    int codepage = 1252;
    int version = 0x0B;
};

class ParadoxFeldwert : public ::testing::TestWithParam<WertFall> {};

// A one-field table written as raw Bytes, then given the field's type.
TEST_P(ParadoxFeldwert, DecodesTheStoredBytes)
{
    const QByteArray roh = QByteArray::fromHex(GetParam().bytes);
    const ParadoxOptionen o {.version = GetParam().version, .codepage = GetParam().codepage};
    ParadoxLayout layout;
    QByteArray b = paradoxTabelle({{QStringLiteral("f"), FeldTyp::Bytes, int(roh.size())}}, {{roh}}, o, &layout);
    b[layout.feldInfoOffset] = static_cast<char>(GetParam().typ);
    const auto s = saetze(b);
    ASSERT_EQ(s.size(), 1u);
    expectGleich(s[0][0], GetParam().erwartet, GetParam().name);
}

QVariant text(const char16_t* t)
{
    return QString::fromUtf16(t);
}

INSTANTIATE_TEST_SUITE_P(
    Typen, ParadoxFeldwert,
    ::testing::Values(
        WertFall {"short_smallest", FeldTyp::Short, "0001", i64(-32767)},
        WertFall {"long_largest", FeldTyp::Long, "FFFFFFFF", i64(2147483647)},
        WertFall {"number_positive", FeldTyp::Number, "C05EDD2F1A9FBE77", QVariant(123.456)},
        WertFall {"number_negative", FeldTyp::Number, "403FFFFFFFFFFFFF", QVariant(-0.125)},
        WertFall {"time_midnight", FeldTyp::Time, "80000000", QVariant(QTime(0, 0))},
        WertFall {"time_last_ms", FeldTyp::Time, "85265BFF", QVariant(QTime(23, 59, 59, 999))},
        WertFall {"time_beyond_the_day", FeldTyp::Time, "85265C00", QVariant()},
        WertFall {"time_negative", FeldTyp::Time, "7FFFFFFF", QVariant()},
        WertFall {"timestamp", FeldTyp::Timestamp, "C2CCB5291687EE00",
                  QDateTime(QDate(2001, 6, 21), QTime(12, 0, 1, 500), QTimeZone::utc())},
        WertFall {"timestamp_not_a_number", FeldTyp::Timestamp, "FFF8000000000000", QVariant()},
        WertFall {"logical_true", FeldTyp::Logical, "81", QVariant(true)},
        WertFall {"alpha_full", FeldTyp::Alpha, "3031323334", QVariant(QStringLiteral("01234"))},
        WertFall {"alpha_ends_at_first_zero", FeldTyp::Alpha, "4100424300", QVariant(QStringLiteral("A"))},
        WertFall {"alpha_empty_with_leftovers", FeldTyp::Alpha, "0041424300", QVariant()},
        WertFall {"bcd_raw", FeldTyp::Bcd, "C1000000000000000000000000000000FF",
                  QVariant(QByteArray::fromHex("C1000000000000000000000000000000FF"))},
        // Alpha in the table's code page: DOS, Windows, unknown ones as Latin-1, and always Latin-1 in 3.x tables.
        WertFall {"cp437", FeldTyp::Alpha, "8494818E999AE1C4B3", text(u"äöüÄÖÜß─│"), 437},
        WertFall {"cp850_own_letters", FeldTyp::Alpha, "D5B7E99B", text(u"ıÀÚø"), 850},
        WertFall {"cp852", FeldTyp::Alpha, "A5E7", text(u"ąš"), 852},
        WertFall {"cp858_euro", FeldTyp::Alpha, "D5", text(u"€"), 858},
        WertFall {"cp1252_and_its_unused_byte", FeldTyp::Alpha, "E4DF8084819F", text(u"äß€„\u0081Ÿ"), 1252},
        WertFall {"unknown_code_page_as_latin1", FeldTyp::Alpha, "E480", text(u"ä\u0080"), 1250},
        WertFall {"paradox_3_as_latin1", FeldTyp::Alpha, "E4FC", text(u"äü"), 437, 0x03},
        WertFall {"paradox_7", FeldTyp::Alpha, "8E", text(u"Ä"), 850, 0x0C}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParadoxKette, SkipsEmptyBlocksAndUnusedFileBlocks)
{
    // File blocks 2, 4, 5 (1-based) belong to no chain.
    const ParadoxOptionen o {.blockKB = 1, .saetzeProBlock = 2, .blockPositionen = {0, 5, 2}};
    ParadoxLayout layout;
    QByteArray b = paradoxTabelle({{QStringLiteral("nr"), FeldTyp::Long, 4}},
                                  {{i64(1)}, {i64(2)}, {i64(3)}, {i64(4)}, {i64(5)}}, o, &layout);
    // Empty the middle block: offset of the last record -4 (less than zero), count 3.
    setzeLE16(b, layout.blockOffsets[1] + 4, static_cast<std::uint16_t>(-4));
    setzeLE32(b, 0x06, 3);
    EXPECT_TRUE(saetze(b) == std::vector<Satz>({{i64(1)}, {i64(2)}, {i64(5)}}));
    const QByteArray leer = paradoxTabelle(paradoxBillFelder(), {}); // no records: no chain at all
    EXPECT_EQ(ParadoxTabelle::ausBytes(leer).anzahl(), 0);
    EXPECT_TRUE(saetze(leer).empty());
}

// The TK-Suite kind of table: 11 calls in 4 chain blocks, out of file order; keyed (type 0) and
// unkeyed (type 2) alternate over the versions. Fields: 0 datum, 1 Zeit, 2 Tln#, 3 flags, 4 Rufnummer, 5 Dauer, ...
struct Probe {
    QByteArray bytes;
    ParadoxLayout l;
    explicit Probe(int version = 0x0B)
    {
        const ParadoxOptionen o {.version = version,
                                 .blockKB = version >= 0x0C ? 4 : 1,
                                 .saetzeProBlock = 3,
                                 .dateiTyp = version % 2 ? 2 : 0,
                                 .blockPositionen = {1, 3, 0, 2}};
        bytes = paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(11, 5)), o, &l);
    }
    int groesseByte(int feld) const { return l.feldInfoOffset + 2 * feld + 1; }
    int letzterInDatei() const { return *std::max_element(l.blockOffsets.begin(), l.blockOffsets.end()); }
};

// The damage done to a table of that version and part of the German message; nullptr: the table reads.
struct KopfFall {
    std::string name;
    int version;
    std::function<void(QByteArray&, const Probe&)> aendern;
    const char* meldung;
};

class ParadoxKopf : public ::testing::TestWithParam<KopfFall> {};

TEST_P(ParadoxKopf, ReadsTheTableOrRefusesItWithAGermanMessage)
{
    Probe p(GetParam().version);
    GetParam().aendern(p.bytes, p);
    const auto r = paradoxLesen(p.bytes);
    const bool richtig = GetParam().meldung
                             ? r.fehler && r.fehler->contains(QString::fromUtf8(GetParam().meldung))
                             : !r.fehler && r.saetze == saetze(Probe().bytes); // as read from a 5.x table
    EXPECT_TRUE(richtig) << r.fehler.value_or(QStringLiteral("no error")).toStdString() << ", " << r.saetze.size()
                         << " records";
}

using B = QByteArray;
const char kKennwort[] = "mit einem Kennwort verschlüsselt";

// Every version from 3.0 (0x03) to 7.x (0x0C) as it is, then the damages. 4.x and later tables carry the
// marker 0xFF00FF00 at 0x25 (some writers leave 0) and the encryption value at 0x5C; 3.x tables the value at 0x25.
std::vector<KopfFall> mitVersionen(std::vector<KopfFall> faelle)
{
    for (int v = 0x03; v <= 0x0C; ++v)
        faelle.push_back({"Version" + std::to_string(v), v, [](B&, const Probe&) {}, nullptr});
    return faelle;
}

INSTANTIATE_TEST_SUITE_P(Arten, ParadoxKopf,
                         ::testing::
                             ValuesIn(mitVersionen({KopfFall {"Zero_at_0x25", 0x0B,
                                                              [](B& b, const Probe&) { setzeLE32(b, 0x25, 0); },
                                                              nullptr},
                                                    KopfFall {
                                                        "Encrypted_at_0x5C", 0x0B,
                                                        [](B& b, const Probe&) { setzeLE32(b, 0x5C, 0x5A3C1E0F); },
                                                        kKennwort},
                                                    KopfFall {
                                                        "Encrypted_at_0x25", 0x0B,
                                                        [](B& b, const Probe&) { setzeLE32(b, 0x25, 0x12345678); },
                                                        kKennwort},
                                                    KopfFall {
                                                        "Encrypted_Paradox4", 0x04,
                                                        [](B& b, const Probe&) { setzeLE32(b, 0x25, 0x12345678); },
                                                        kKennwort},
                                                    KopfFall {"Version2", 0x0B,
                                                              [](B& b, const Probe&) { b[0x39] = 0x02; },
                                                              "keine Paradox-Tabelle der Versionen 3 bis 7"},
                                                    KopfFall {"Version13", 0x0B,
                                                              [](B& b, const Probe&) { b[0x39] = 0x0D; },
                                                              "keine Paradox-Tabelle der Versionen 3 bis 7"},
                                                    KopfFall {"PrimaryIndex", 0x0B,
                                                              [](B& b, const Probe&) { b[0x04] = 0x01; },
                                                              "keine Paradox-Datentabelle"},
                                                    KopfFall {"HeaderLargerThanFile", 0x0B,
                                                              [](B& b, const Probe&) {
                                                                  setzeLE16(b, 0x02, std::uint16_t(b.size() + 1));
                                                              },
                                                              "ist größer als die Datei"},
                                                    KopfFall {"FileShorterThanAnyHeader", 0x0B,
                                                              [](B& b, const Probe&) { b.truncate(0x40); },
                                                              "kürzer als der Kopf"},
                                                    KopfFall {"FieldSizesDoNotAddUp", 0x0B,
                                                              [](B& b, const Probe& p) {
                                                                  setzeLE16(b, 0x00,
                                                                            std::uint16_t(p.l.satzGroesse + 1));
                                                              },
                                                              "passen nicht zur Satzgröße"},
                                                    KopfFall {"ShortOfThreeBytes", 0x0B,
                                                              [](B& b, const Probe& p) { b[p.groesseByte(2)] = 3; },
                                                              "unpassende Größe 3"},
                                                    KopfFall {"AlphaOfNoBytes", 0x0B,
                                                              [](B& b, const Probe& p) { b[p.groesseByte(5)] = 0; },
                                                              "unpassende Größe 0"},
                                                    KopfFall {"UnknownFieldType", 0x0B,
                                                              [](B& b, const Probe&
                                                                           p) { b[p.groesseByte(3) - 1] = 0x07; },
                                                              "unbekannten Typ 7"},
                                                    KopfFall {"NoFields", 0x0B,
                                                              [](B& b, const Probe&) { setzeLE16(b, 0x21, 0); },
                                                              "Zahl der Felder"},
                                                    KopfFall {"FieldListBeyondHeader", 0x0B,
                                                              [](B& b, const Probe&) {
                                                                  setzeLE16(b, 0x21, 255);
                                                                  setzeLE16(b, 0x02, 0x100);
                                                              },
                                                              "Feldliste passt nicht"},
                                                    KopfFall {"FieldNamesCutOff", 0x0B,
                                                              [](B& b, const Probe&) { setzeLE16(b, 0x02, 0x110); },
                                                              "Feldnamen"},
                                                    KopfFall {"BlockSizeZero", 0x0B,
                                                              [](B& b, const Probe&) { b[0x05] = 0; },
                                                              "Blockgröße 0 KB"},
                                                    KopfFall {"BlockSizeTooLarge", 0x0B,
                                                              [](B& b, const Probe&) { b[0x05] = 33; },
                                                              "Blockgröße 33 KB"},
                                                    KopfFall {"ChainLoopsBack", 0x0B,
                                                              [](B& b,
                                                                 const Probe&
                                                                     p) { setzeLE16(b, p.l.blockOffsets[2], 2); },
                                                              "kehrt zu Block"},
                                                    KopfFall {"NextBlockOutsideTheFile", 0x0B,
                                                              [](B& b, const Probe& p) {
                                                                  setzeLE16(b, p.l.blockOffsets[1], 500);
                                                              },
                                                              "Datenblock 500 liegt außerhalb der Datei"},
                                                    KopfFall {"FirstBlockOutsideTheFile", 0x0B,
                                                              [](B& b, const Probe&) { setzeLE16(b, 0x0E, 9); },
                                                              "Datenblock 9 liegt außerhalb der Datei"},
                                                    KopfFall {"BlockCountJustTooLarge", 0x0B,
                                                              [](B& b, const Probe& p) {
                                                                  setzeLE16(b, p.l.blockOffsets[3] + 4,
                                                                            std::uint16_t((p.l.blockGroesse - 6)
                                                                                          / p.l.satzGroesse
                                                                                          * p.l.satzGroesse));
                                                              },
                                                              "es passen höchstens"},
                                                    KopfFall {
                                                        "HeaderCountsMore", 0x0B,
                                                        [](B& b, const Probe&) { setzeLE32(b, 0x06, 12); },
                                                        "gefunden wurden 11 Datensätze, der Dateikopf nennt 12"},
                                                    KopfFall {"HeaderCountsFewer", 0x0B,
                                                              [](B& b, const Probe&) { setzeLE32(b, 0x06, 10); },
                                                              "mehr Datensätze, als der Dateikopf nennt (10)"},
                                                    KopfFall {
                                                        "LastBlockCutShort", 0x0B,
                                                        [](B& b,
                                                           const Probe& p) { b.truncate(p.letzterInDatei() + 10); },
                                                        "reicht über das Ende der Datei hinaus"},
                                                    KopfFall {"BlockHeaderCutShort", 0x0B,
                                                              [](B& b, const Probe& p) {
                                                                  b.truncate(p.letzterInDatei() + 3);
                                                              },
                                                              "liegt außerhalb der Datei"}})),
                         [](const auto& info) { return info.param.name; });

// Records handed over before the damage was found stay handed over; the error still comes. Every cut
// either reads completely or fails with a ParadoxFehler: never a crash, a hang or part of the table as if whole.
TEST(ParadoxSchadenVerlauf, RecordsBeforeTheDamageStayDeliveredAndEveryCutFailsCleanlyOrReadsAll)
{
    Probe p;
    B kaputt = p.bytes;
    setzeLE16(kaputt, p.l.blockOffsets[2], 700);
    const auto r = paradoxLesen(kaputt);
    EXPECT_TRUE(r.fehler && r.saetze.size() == 9u) << r.saetze.size();
    int benoetigt = 0; // up to the last record of every block
    for (size_t i = 0; i < p.l.blockOffsets.size(); ++i)
        benoetigt = std::max(benoetigt,
                             p.l.blockOffsets[i] + 6 + (i + 1 < p.l.blockOffsets.size() ? 3 : 2) * p.l.satzGroesse);
    for (int laenge = 0; laenge <= p.bytes.size(); ++laenge) {
        const auto g = paradoxLesen(p.bytes.left(laenge));
        EXPECT_EQ(g.fehler.has_value(), laenge < benoetigt) << laenge;
        EXPECT_TRUE(g.fehler || g.saetze.size() == 11u) << laenge;
    }
}

// Files above 64 KB are read in two steps: header first, then the rest.
TEST(ParadoxDatei, ALargeFileIsReadWholeWhenItIsATableAndRefusedEarlyWhenNot)
{
    TempProgramFolder dir;
    const auto anrufe = beispielAnrufe(3000, 11); // about 190 KB
    schreibeParadoxBill(dir.file(QStringLiteral("bill.db")), anrufe);
    std::vector<Satz> s;
    ParadoxTabelle::oeffnen(dir.file(QStringLiteral("bill.db"))).lesen([&](const Satz& x) { s.push_back(x); });
    ASSERT_EQ(s.size(), anrufe.size());
    EXPECT_TRUE(s.back()[0].toDate() == anrufe.back().datum && s.back()[2].toLongLong() == anrufe.back().tln);
    dir.writeFile(QStringLiteral("gross.db"), B(300000, 'x'));
    EXPECT_THROW(ParadoxTabelle::oeffnen(dir.file(QStringLiteral("gross.db"))), ParadoxFehler);
}

// A folder or a FIFO named like the table is refused at once; the FIFO's writer is open, so nothing could wait.
TEST(ParadoxDatei, AFolderOrAFifoIsRefusedAtOnce)
{
    TempProgramFolder dir;
    QDir().mkpath(dir.file(QStringLiteral("ordner.db")));
    const QByteArray fifo = QFile::encodeName(dir.file(QStringLiteral("fifo.db")));
    ASSERT_EQ(mkfifo(fifo.constData(), 0644), 0);
    const int schreiber = ::open(fifo.constData(), O_RDWR | O_NONBLOCK);
    for (const char* name : {"ordner.db", "fifo.db"})
        EXPECT_FEHLER(ParadoxTabelle::oeffnen(dir.file(QString::fromLatin1(name))), "keine Datei, sondern");
    ::close(schreiber);
}

// The staging table `paradox` in the local database that a Paradox start copies the table into.
class Staging : public ::testing::Test {
protected:
    TempProgramFolder dir;
    std::unique_ptr<SQLite::Database> db =
        lokaleDatenbankOeffnen(dir.file(QStringLiteral("Datenbank/Bill.sqlite")));

    ParadoxKopieErgebnis kopieren(const std::vector<ParadoxFeldDef>& felder,
                                  const std::vector<ParadoxZeile>& zeilen)
    {
        return paradoxKopieren(ParadoxTabelle::ausBytes(paradoxTabelle(felder, zeilen)), *db);
    }

    // The columns as "name type", then each row with each value as "type:text".
    std::vector<QStringList> inhalt()
    {
        std::vector<QStringList> z {{}};
        SQLite::Statement s(*db, "SELECT name || ' ' || type FROM pragma_table_info('paradox')");
        while (s.executeStep())
            z[0] << QString::fromUtf8(s.getColumn(0).getText());
        SQLite::Statement q(*db, "SELECT * FROM paradox ORDER BY rowid");
        static const char* const typ[] = {"", "int:", "real:", "text:", "blob:", "null:"}; // by SQLITE_INTEGER ...
        for (QStringList r; q.executeStep(); z.push_back(r), r.clear())
            for (int i = 0; i < q.getColumnCount(); ++i)
                r << QString::fromLatin1(typ[q.getColumn(i).getType()])
                         + QString::fromUtf8(q.getColumn(i).getText());
        return z;
    }
};

TEST_F(Staging, ColumnsFollowTheFieldsAndValuesTheirTypes)
{
    const std::vector<ParadoxFeldDef> felder = {{"datum", FeldTyp::Date, 4},  {"Zeit", FeldTyp::Time, 4},
                                                {"Tln#", FeldTyp::Short, 2},  {"Nummer", FeldTyp::Alpha, 20},
                                                {"Lang", FeldTyp::Long, 4},   {"Betrag", FeldTyp::Number, 8},
                                                {"Ja", FeldTyp::Logical, 1},  {"Stempel", FeldTyp::Timestamp, 8},
                                                {"Lfd", FeldTyp::AutoInc, 4}, {"Geld", FeldTyp::Currency, 8}};
    const QDateTime stempel(QDate(2009, 3, 21), QTime(14, 30, 5), QTimeZone::utc());
    const QVariant n;
    const auto e = kopieren(
        felder, {{QDate(2009, 3, 21), QTime(14, 30, 0), 21, "Ölmühle 030", -70000, 1.25, true, stempel, 1, 0.5},
                 {n, n, n, n, n, n, n, n, 2, n}});
    EXPECT_TRUE(e.uebernommen == 2 && !e.lesefehler);
    EXPECT_ZEILEN(inhalt(), std::vector<QStringList>(
                                {{"datum TEXT", "Zeit TEXT", "Tln# INTEGER", "Nummer TEXT", "Lang INTEGER",
                                  "Betrag REAL", "Ja INTEGER", "Stempel TEXT", "Lfd INTEGER", "Geld REAL"},
                                 {"text:2009-03-21", "text:14:30:00", "int:21", "text:Ölmühle 030", "int:-70000",
                                  "real:1.25", "int:1", "text:2009-03-21 14:30:05", "int:1", "real:0.5"},
                                 {"null:", "null:", "null:", "null:", "null:", "null:", "null:", "null:", "int:2",
                                  "null:"}}));
}

TEST_F(Staging, EmptiedFirstAndRecreatedOnlyWhenColumnsDiffer)
{
    const std::vector<ParadoxFeldDef> felder = {{"datum", FeldTyp::Date, 4}, {"Zeit", FeldTyp::Time, 4}};
    kopieren(felder, {{QDate(2009, 3, 21), QTime(10, 0)}, {QDate(2009, 3, 22), QTime(11, 0)}});
    db->exec("CREATE TRIGGER merker AFTER INSERT ON paradox BEGIN SELECT 1; END");
    kopieren(felder, {{QDate(2009, 3, 21), QTime(10, 0)}});
    EXPECT_EQ(inhalt().size(), 2u);
    EXPECT_EQ(db->execAndGet("SELECT count(*) FROM sqlite_master WHERE name = 'merker'").getInt(), 1)
        << "table with the same columns was recreated";
    kopieren({{"datum", FeldTyp::Date, 4}, {"zeit", FeldTyp::Time, 4}, {"flags", FeldTyp::Short, 2}},
             {{QDate(2009, 3, 21), QTime(10, 0), 0}});
    EXPECT_ZEILEN(inhalt(), std::vector<QStringList>({{"datum TEXT", "zeit TEXT", "flags INTEGER"},
                                                      {"text:2009-03-21", "text:10:00:00", "int:0"}}));
    EXPECT_THROW(kopieren({{"datum", FeldTyp::Date, 4}, {"Datum", FeldTyp::Date, 4}}, {}),
                 QuellFehler); // one name twice
    EXPECT_EQ(inhalt().size(), 2u);
}

// All or nothing: a refused record, a full disk or a file that cannot grow (SQLite then rolls back on its own)
// ends the copy with the cause, and the previous start's rows do not stay behind as if they were this start's.
TEST_F(Staging, AFailedWriteEndsTheCopyWithItsCauseAndLeavesNoOldRows)
{
    struct Fall {
        std::string sql;
        std::int64_t grenze;
        const char* ursache;
    }; // grenze: bytes a file may grow; 0: no limit
    const int seiten = db->execAndGet("PRAGMA page_count").getInt();
    for (const Fall& f : {Fall {"CREATE TRIGGER nein BEFORE INSERT ON paradox WHEN NEW.\"Tln#\" = 23 BEGIN "
                                "SELECT RAISE(ABORT, 'nein'); END",
                                0, "Meldung von SQLite: nein"},
                          Fall {"PRAGMA max_page_count = " + std::to_string(seiten + 3), 0, "ist voll"},
                          Fall {"PRAGMA max_page_count = 1000000; PRAGMA cache_size = 4", 20001,
                                "hat der Datenträger einen Fehler gemeldet"}}) {
        db->exec("DROP TRIGGER IF EXISTS nein");
        kopieren(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(5)));
        db->exec(f.sql);
        std::optional<DateiGroessenGrenze> grenze;
        if (f.grenze)
            grenze.emplace(QFileInfo(QString::fromStdString(db->getFilename())).size() + f.grenze);
        EXPECT_FEHLER(kopieren(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(3000, 4))), f.ursache);
        grenze.reset();
        EXPECT_EQ(inhalt().size(), 1u) << f.ursache;
    }
}

} // namespace

namespace {

// Seconds -1: Null (Paradox) or 0. Flags other than 0 (Paradox only): no call.
struct Testanruf {
    const char* start;
    int nebenstelle;
    const char* nummer;
    int sekunden, leitung, flags = 0;
};

// Stored in this (scrambled) order. The year change catches text order of the German form.
// Paradox pads a number to 18 characters and keeps a longer one.
const std::vector<Testanruf> kAnrufe = {
    {"2009-03-21 14:30:01", 21, "0301234567", 65, 1}, {"2009-01-05 10:00:00", 22, "08912345", 3600, 2},
    {"2008-12-31 23:59:59", 21, "01711234567", 5, 1}, {"2009-03-22 08:00:00", 21, "012345678901234567", 45296, 2},
    {"2009-03-21 14:29:59", 21, "0401111", 59, 1},    {"2009-03-21 14:30:00", 22, "", 20, 0},
    {"2009-03-21 14:30:00", 21, "02212222", 61, 1},   {"2010-01-02 07:00:00", 35, "01234567890123456789", 300, 2},
    {"2009-02-28 16:45:00", 35, "069777", -1, 1},     {"2009-03-21 12:00:00", 40, "0309", 10, 1, 1},
};

// istSQLite3: the data source that answered at start.
struct Art {
    const char* name;
    bool paradox;
    StdbillOptionen optionen;
    int istSQLite3 = 1;
};

// The list entry of an extension (eintrag) or a typed text, a start, and the calls that must come out,
// by their place in kAnrufe; or the part of the message that refuses the selection. The end as the window
// reads it: a date alone takes in that day, a moment the calls that started at it.
struct Auswahl {
    int eintrag;
    const char* text;
    const char* ab;
    std::vector<size_t> soll;
    const char* fehler = nullptr;
    const char* bis = "alle";
};

const Auswahl kAuswahlen[] = {
    {0, "alle", "alle", {2, 4, 6, 0, 3, 1, 5, 8, 7}},
    {0, "abc  |  21", "alle", {}, "Nebenstelle"},
    {0, "", "", {2, 4, 6, 0, 3, 1, 5, 8, 7}},
    {0, "21) OR (1=1", "alle", {}, "Nebenstelle"},
    {21, nullptr, "alle", {2, 4, 6, 0, 3}},
    {0, "21.5", "alle", {}, "Nebenstelle"},
    {35, nullptr, "alle", {8, 7}},
    {0, "Alle", "alle", {}, "Nebenstelle"},
    {0, " 22 ", "", {1, 5}},
    {0, "alle", "gestern", {}, "Datum"},
    {0, "alle", "21.03.2009 14:30:00", {6, 0, 3, 5, 7}},
    {0, "alle", "32.01.2009 10:00:00", {}, "Datum"},
    {0, "alle", "2009-03-21 14:30:00", {6, 0, 3, 5, 7}},
    {21, nullptr, "21.03.2009 14:30:00", {6, 0, 3}},
    {0, "alle", "01.01.2010", {7}},
    /* midnight */ {0, "99", "alle", {}},
    {0, "alle", "01.01.2011 00:00:00", {}},
    {0, "alle", "alle", {2, 4, 6, 0, 1, 5, 8}, nullptr, "21.03.2009"},
    {0, "alle", "21.03.2009 14:30:00", {6, 5}, nullptr, "2009-03-21 14:30:00"},
    {0, "alle", "21.03.09 14:30", {6, 0, 3, 5, 7}},
    {0, "alle", "alle", {2, 4, 1, 8}, nullptr, " 21.3.09 14:29:59"},
    {0, "alle", "22.03.2009", {}, "liegt vor seinem Anfang", "21.03.2009"},
    {0, "alle", "21.03.2009 14:30:00", {}, "(bis 21.03.2009 14:29:59) liegt vor", "21.03.09 14:29:59"},
};

class Einlesen : public ::testing::TestWithParam<Art> {
protected:
    void SetUp() override
    {
        std::vector<BillAnruf> paradox;
        std::vector<StdbillAnruf> sqlite;
        for (const auto& t : kAnrufe) {
            const auto dauer =
                t.sekunden < 0
                    ? std::nullopt
                    : std::optional(QTime(0, 0).addSecs(t.sekunden).toString(QStringLiteral("hh:mm:ss")));
            paradox.push_back({utcZeit(t.start).date(), utcZeit(t.start).time(), t.nebenstelle, t.flags,
                               QString::fromLatin1(t.nummer), dauer, t.leitung});
            if (!t.flags)
                sqlite.push_back({utcZeit(t.start), t.nebenstelle, name(t.nebenstelle), t.nummer,
                                  std::max(t.sekunden, 0), t.leitung});
        }
        GetParam().paradox ? u.paradox(paradox) : u.sqlite(sqlite, GetParam().optionen);
        u.state().IstSQLite3 = GetParam().paradox ? 0 : GetParam().istSQLite3;
    }

    // The name of an extension as the source gives it; Paradox has none.
    QString name(int n) const
    {
        return GetParam().paradox ? QStringLiteral("(Internnummer) ") : QStringLiteral("Name %1").arg(n);
    }

    // What the import writes for the calls at these places of kAnrufe.
    std::vector<QStringList> erwartet(const std::vector<size_t>& stellen) const
    {
        std::vector<QStringList> z;
        for (size_t i : stellen) {
            const Testanruf& t = kAnrufe[i];
            const QString nummer = QString::fromLatin1(t.nummer); // Paradox keeps an empty text as Null
            z.push_back({QString::number(t.nebenstelle), name(t.nebenstelle),
                         !GetParam().paradox ? nummer
                         : nummer.isEmpty()  ? QStringLiteral("unbekannt")
                                             : nummer.leftJustified(18, QLatin1Char(' ')),
                         stdbillZeit(utcZeit(t.start), GetParam().optionen.zeit),
                         QString::number(std::max(t.sekunden, 0)), QString::number(t.leitung)});
        }
        return z;
    }

    QString eintrag(int nebenstelle) const
    {
        return QStringLiteral("%1  |  ").arg(nebenstelle) + name(nebenstelle);
    }
    EinleseErgebnis einlesen(const QString& nebenstelle, const QString& datum, const QString& bis = kAlle)
    {
        return tkBillEinlesen(u.state(), quellen, nebenstelle, datum, liste, bis);
    }

    // The list's lines in the column order of `bill`; each displayed line is its six values joined by tabs.
    std::vector<QStringList> listenZeilen() const
    {
        std::vector<QStringList> z;
        for (int i = 0; i < liste.rowCount(); ++i) {
            const QStringList s = liste.data(liste.index(i), AnrufListe::SpaltenRolle).toStringList();
            EXPECT_EQ(liste.data(liste.index(i)).toString(), s.join(QLatin1Char('\t')));
            z.push_back({s.value(0), s.value(5), s.value(3), s.value(2), s.value(4), s.value(1)});
        }
        return z;
    }

    QuellUmgebung u;
    // Only the data source that answered at start opens the source.
    AuswahlQuellen quellen {
        {GetParam().istSQLite3 ? QStringLiteral("SQLite Datasource") : QStringLiteral("SQLite3 Datasource")}};
    AnrufListe liste;
};

// One import after the other: each replaces the table, the list and the count of the one before and
// leaves the cost columns empty; a refused selection keeps them all.
TEST_P(Einlesen, SelectionGivesItsCallsByExtensionThenStartOrIsRefused)
{
    for (const Auswahl& a : kAuswahlen) {
        const QString nebenstelle = a.eintrag ? eintrag(a.eintrag) : QString::fromUtf8(a.text);
        SCOPED_TRACE(nebenstelle.toStdString() + " / " + a.ab + " / " + a.bis);
        u.lokal()->exec(
            "UPDATE bill SET costs = 1, ucosts = 1, ucostsBrutto = 1, rufziel = 'Ort', vergleichsnummer = '0'");
        const auto soll = a.fehler ? u.billZeilen() : erwartet(a.soll); // refused: the old table and list stay
        const auto listeSoll = a.fehler ? listenZeilen() : soll;
        EinleseErgebnis e;
        const QString text =
            fehlerText([&] { e = einlesen(nebenstelle, QString::fromUtf8(a.ab), QString::fromUtf8(a.bis)); });
        EXPECT_TRUE(a.fehler ? text.contains(QString::fromUtf8(a.fehler))
                             : !e.fehler && e.anzahl == std::int64_t(soll.size()))
            << text.toStdString() << " " << e.anzahl;
        EXPECT_ZEILEN(u.billZeilen(), soll);
        EXPECT_ZEILEN(listenZeilen(), listeSoll);
        EXPECT_EQ(u.lokal()
                      ->execAndGet("SELECT count(costs) + count(ucosts) + count(ucostsBrutto) + count(rufziel) + "
                                   "count(vergleichsnummer) FROM bill")
                      .getInt(),
                  a.fehler ? 5 * int(soll.size()) : 0);
    }
}

// The fifth call cannot be stored. ABORT undoes that one insert: the calls before it stay. ROLLBACK undoes
// the whole import, as SQLite does after a full disk or an I/O error: the table before the import is back.
TEST_P(Einlesen, AFailedWriteKeepsWhatTheDatabaseKeptAndNamesTheCause)
{
    einlesen(QStringLiteral("35"), QStringLiteral("alle"));
    struct Fall {
        const char* aktion;
        std::int64_t anzahl;
        const char* text;
    };
    for (const Fall& f : {Fall {"ROLLBACK", 0, "konnten nicht in die lokale Datenbank geschrieben werden"},
                          Fall {"ABORT", 4, "nach 4 Datensätzen abgebrochen"}}) {
        u.lokal()->exec(std::string("DROP TRIGGER IF EXISTS voll; CREATE TRIGGER voll BEFORE INSERT ON bill WHEN "
                                    "(SELECT count(*) FROM bill) >= 4 BEGIN SELECT RAISE(")
                        + f.aktion + ", 'Datenträger voll'); END");
        const auto vorher = u.billZeilen();
        const auto e = einlesen(QStringLiteral("alle"), QStringLiteral("alle"));
        const QString text = e.fehler.value_or(QString());
        EXPECT_TRUE(e.anzahl == f.anzahl && text.contains(u"Datenträger voll")
                    && text.contains(QString::fromUtf8(f.text)))
            << text.toStdString();
        EXPECT_ZEILEN(u.billZeilen(), f.anzahl ? erwartet({2, 4, 6, 0}) : vorher);
        EXPECT_ZEILEN(listenZeilen(), f.anzahl ? erwartet({2, 4, 6, 0}) : std::vector<QStringList> {});
    }
}

// The lists of the two selections: "alle", then each extension; "alle", then the starts in time order,
// as the source writes them (Paradox: each moment once per extension).
TEST_P(Einlesen, ListsHoldTheExtensionsAndTheStartsOfTheCalls)
{
    EXPECT_ZEILEN(nebenstellenEintraege(u.state(), quellen),
                  QStringList({"alle", eintrag(21), eintrag(22), eintrag(35)}));
    const auto starts = [&](const std::vector<size_t>& stellen) {
        QStringList z {QStringLiteral("alle")};
        for (size_t i : stellen)
            z << stdbillZeit(utcZeit(kAnrufe[i].start), GetParam().optionen.zeit);
        return z;
    };
    EXPECT_ZEILEN(datumEintraege(u.state(), quellen, QStringLiteral("alle")),
                  starts(GetParam().paradox ? std::vector<size_t> {2, 1, 8, 4, 5, 6, 0, 3, 7}
                                            : std::vector<size_t> {2, 1, 8, 4, 6, 0, 3, 7}));
    EXPECT_ZEILEN(datumEintraege(u.state(), quellen, eintrag(21)), starts({2, 4, 6, 0, 3}));
}

INSTANTIATE_TEST_SUITE_P(
    Quellen, Einlesen,
    ::testing::Values(
        Art {"SqliteIsoInteger", false, {StdbillOptionen::User::Integer, StdbillOptionen::Zeit::Iso}},
        Art {"SqliteIsoTextFromSQLite2", false, {StdbillOptionen::User::Text, StdbillOptionen::Zeit::Iso}, 0},
        Art {"SqliteGermanInteger", false, {StdbillOptionen::User::Integer, StdbillOptionen::Zeit::Deutsch}},
        Art {"SqliteGermanText", false, {StdbillOptionen::User::Text, StdbillOptionen::Zeit::Deutsch}},
        Art {"Paradox", true, {}}),
    [](const ::testing::TestParamInfo<Art>& i) { return std::string(i.param.name); });

EinleseErgebnis alleEinlesen(QuellUmgebung& u, const QString& ab = QStringLiteral("alle"))
{
    AnrufListe liste;
    return tkBillEinlesen(u.state(), u.quellen, QStringLiteral("alle"), ab, liste);
}

// Calls of one extension that started in the same second keep the order of
// the source table: more of them than a sort handles by insertion.
TEST(EinlesenSqlite, CallsOfOneExtensionAndStartKeepTheTableOrder)
{
    QuellUmgebung u;
    std::vector<StdbillAnruf> anrufe;
    for (int i = 0; i < 60; ++i)
        anrufe.push_back(
            {utcZeit("2009-03-21 14:30:00"), i % 3 ? 21 : 20, QStringLiteral("A"), QString::number(i)});
    u.sqlite(anrufe);
    alleEinlesen(u);
    QStringList ist;
    for (const auto& z : u.billZeilen())
        ist << z[2];
    EXPECT_EQ(ist.join(u' '),
              QStringLiteral(
                  "0 3 6 9 12 15 18 21 24 27 30 33 36 39 42 45 48 51 54 57 1 2 4 5 7 8 10 11 13 14 16 17 19 20 "
                  "22 23 25 26 28 29 31 32 34 35 37 38 40 41 43 44 46 47 49 50 52 53 55 56 58 59"));
}

// Rows as TK-Suite may write them: values are copied unchanged, a Null number is "unbekannt" (no internal
// call, which would be free), a Null duration "0"; a start that is no date sorts first and passes only
// without limit; an extension kept as text with blanks around it (" 21 ") is 21.
TEST(EinlesenSqlite, RowsAreTakenAsTheSourceHoldsThem)
{
    QuellUmgebung u;
    u.sqlite("CREATE TABLE stdbill (id INTEGER PRIMARY KEY, time TEXT, user TEXT, username TEXT, number TEXT, "
             "duration TEXT, lineno TEXT);"
             "INSERT INTO stdbill (time, user, username, number, duration, lineno) VALUES "
             "('2009-03-21 14:29:00', '22', 'B', '031', '1', '1'), ('2009-03-21 14:30:00', ' 21 ', 'Müller ', '', "
             "'0125', ' 2'), "
             "('2009-03-21 14:31:00', ' 21 ', NULL, '+49 30 123', '7', NULL), "
             "('2009-03-21 14:32:00', ' 21 ', 'Müller ', NULL, NULL, '1'), ('kaputt', ' 21 ', 'x', '', '1', '1')");
    alleEinlesen(u);
    EXPECT_ZEILEN(u.billZeilen(),
                  std::vector<QStringList>({{" 21 ", "x", "", "kaputt", "1", "1"},
                                            {" 21 ", "Müller ", "", "2009-03-21 14:30:00", "0125", " 2"},
                                            {" 21 ", "", "+49 30 123", "2009-03-21 14:31:00", "7", ""},
                                            {" 21 ", "Müller ", "unbekannt", "2009-03-21 14:32:00", "0", "1"},
                                            {"22", "B", "031", "2009-03-21 14:29:00", "1", "1"}}));
    AnrufListe liste;
    EXPECT_EQ(tkBillEinlesen(u.state(), u.quellen, QStringLiteral("21  |  x"), QStringLiteral("01.01.2009"), liste)
                  .anzahl,
              3);
    for (const auto& [art, anzahl] : {std::pair {BisGrenze::Ausschliesslich, 2}, {BisGrenze::Einschliesslich, 3}})
        EXPECT_EQ(tkBillEinlesen(u.state(), u.quellen, kAlle, kAlle, liste, QStringLiteral("21.03.2009 14:31"), art)
                      .anzahl,
                  anzahl); // before that, or through it
    EXPECT_ZEILEN(
        datumEintraege(u.state(), u.quellen, QStringLiteral("21")),
        QStringList({"alle", "kaputt", "2009-03-21 14:30:00", "2009-03-21 14:31:00", "2009-03-21 14:32:00"}));
}

const BillAnruf kParadoxAnruf {QDate(2009, 3, 21),        QTime(10, 0), 21, 0, QStringLiteral("030123"),
                               QStringLiteral("00:01:00")};

// With a limit a call without a moment is left out, and named so that it is not lost without a word.
TEST(EinlesenParadox, StartWithoutDateSortsFirstAndPassesOnlyWithoutLimit)
{
    QuellUmgebung u;
    u.paradox({kParadoxAnruf, {QDate(), QTime(10, 9)}});
    const EinleseErgebnis mitGrenze = alleEinlesen(u, QStringLiteral("01.01.2000"));
    EXPECT_EQ(mitGrenze.anzahl, 1);
    EXPECT_EQ(mitGrenze.ohneZeitpunkt.join(u"|").toStdString(),
              QStringList {QStringLiteral("Rufnummer unbekannt, Nebenstelle 21, Beginn 10:09:00: Der "
                                          "Beginn „10:09:00“ des Gesprächs ist kein Datum mit Uhrzeit.")}
                  .join(u"|")
                  .toStdString());
    EXPECT_EQ(alleEinlesen(u).ohneZeitpunkt, QStringList());
    EXPECT_EQ(alleEinlesen(u).anzahl, 2);
    EXPECT_EQ(u.billZeilen().at(0).at(3), QStringLiteral(" 10:09:00"));
}

TEST(EinlesenParadox, StagingTableWithoutAColumnGivesAMessageNamingIt)
{
    for (const char* fehlt : {"flags", "Tln#", "Rufnummer", "Dauer", "line"}) {
        QuellUmgebung u;
        u.paradox({kParadoxAnruf});
        const QString name = QStringLiteral("\"%1\"").arg(QString::fromUtf8(fehlt));
        u.lokal()->exec("ALTER TABLE paradox DROP COLUMN " + name.toStdString());
        EXPECT_FEHLER(alleEinlesen(u), name);
        EXPECT_FEHLER(nebenstellenEintraege(u.state(), u.quellen), name);
        EXPECT_FEHLER(datumEintraege(u.state(), u.quellen, QStringLiteral("alle")), name);
    }
}

// A source that is no database, lacks `stdbill` or a column, or is missing
// gives a message and leaves the old table; a missing file is not created.
TEST(EinlesenSqlite, DamagedUnexpectedOrMissingSourceGivesAMessageAndKeepsTheOldTable)
{
    QuellUmgebung u;
    u.sqlite({{utcZeit("2009-03-21 14:30:00"), 21}});
    alleEinlesen(u);
    const auto vorher = u.billZeilen();
    struct Fall {
        const char* aufbau;
        const char* imText;
    }; // aufbau nullptr: the file holds no database
    for (const Fall& f :
         {Fall {nullptr, "keine SQLite-Datenbank"}, Fall {"CREATE TABLE andere (x)", "keine Tabelle \"stdbill\""},
          Fall {"CREATE TABLE stdbill (id, time, user, username, number, lineno)", "\"duration\""},
          Fall {"", "fehlt.db"}}) {
        if (!f.aufbau)
            u.ordner.writeFile(QStringLiteral("dbf/bill.db"), QByteArray(4096, 'x'));
        else if (*f.aufbau)
            u.sqlite(f.aufbau);
        else
            u.state().Billpfad = u.ordner.file(QStringLiteral("dbf/fehlt.db"));
        EXPECT_FEHLER(alleEinlesen(u), f.imText);
        EXPECT_ZEILEN(u.billZeilen(), vorher);
        if (!QByteArray(f.aufbau).contains("lineno")) // the lists need no duration
            EXPECT_FEHLER(nebenstellenEintraege(u.state(), u.quellen), f.imText);
    }
    EXPECT_FALSE(u.ordner.exists(QStringLiteral("dbf/fehlt.db")));
}

TEST(AnrufListe, ShowsTheNamedLinesOfABufferInTheirOrder)
{
    AnrufPuffer p;
    const std::string lang(1000, '7');
    for (int i = 0; i < 3000; ++i) // more than one block of memory
        p.zeile(std::to_string(i), "Name mit Ümlaut", lang, "t", "1", "2");
    AnrufListe liste;
    liste.setzen(std::move(p), std::vector<int> {2999, 0, 17});
    ASSERT_EQ(liste.rowCount(), 3);
    EXPECT_EQ(liste.spalten(0),
              QStringList({"2999", "2", "t", QString::fromStdString(lang), "1", "Name mit Ümlaut"}));
    EXPECT_EQ(liste.spalten(1).value(0) + liste.spalten(2).value(0), QStringLiteral("017"));
}

// The forms of the call tables and nothing else, read alike from UTF-16 and
// UTF-8, as seconds since the beginning of the Julian day count.
TEST(StartZeit, ReadsTheFormsOfTheCallTablesAndNothingElse)
{
    const std::pair<const char*, const char*> faelle[] = {
        // text, "yyyy-MM-dd hh:mm:ss" or nullptr: no start
        {"2009-03-21 14:30:00", "2009-03-21 14:30:00"},
        {"  21.03.2009 14:30:00 ", "2009-03-21 14:30:00"},
        {"2009-03-21T14:30:05", "2009-03-21 14:30:05"},
        {"1.3.2009 9:05:07", "2009-03-01 09:05:07"},
        {"21.03.2009", "2009-03-21 00:00:00"},
        {"29.02.2024 23:59:59", "2024-02-29 23:59:59"},
        {"", nullptr},
        {"alle", nullptr},
        {"29.02.2023 10:00:00", nullptr},
        {"21.03.2009 24:00:00", nullptr},
        {"21.03.2009 14:30:00 x", nullptr},
        {"21.03.20091 14:30:00", nullptr},
        {"２１.03.2009 14:30:00", nullptr},
        {"21.003.2009", nullptr},
        {"21.03.09 14:30:00", nullptr}, // a two-digit year only where people type
    };
    for (const auto& [text, soll] : faelle) {
        const auto schluessel = startZeitSchluessel(QStringView(QString::fromUtf8(text)));
        EXPECT_EQ(startZeitSchluessel(std::string_view(text)), schluessel) << text;
        const QDateTime d = QDateTime::fromString(QString::fromLatin1(soll), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        EXPECT_EQ(schluessel,
                  soll ? std::optional(d.date().toJulianDay() * 86400 + d.time().msecsSinceStartOfDay() / 1000)
                       : std::nullopt)
            << text;
    }
}

// The chosen period for people and for file names: what was chosen, in one form. The folder of a whole calendar
// month is named after the month, read with the window's inclusive or the batch command's exclusive end.
TEST(Zeitraum, IsWrittenAsChosenForPeopleAndFileNames)
{
    const struct {
        const char *ab, *bis, *text, *datei, *fensterOrdner = nullptr, *stapelOrdner = nullptr; // nullptr: datei
    } faelle[] = {
        {"03.11.2026", "2026-11-07", "Zeitraum: 03.11.2026 bis 07.11.2026", "2026-11-03 bis 2026-11-07"},
        {"2026-11-03 14:00:00", "alle", "ab 03.11.2026 14:00", "ab 2026-11-03 14.00"},
        {"", "7.11.26 09:05:30", "bis 07.11.2026 09:05:30", "bis 2026-11-07 09.05.30"},
        {"alle", "", "", "alle"},
        {"gestern", "7/11", "Zeitraum: gestern bis 7/11", "gestern bis 7-11"},
        {"1.11.2026", "30.11.2026", "Zeitraum: 01.11.2026 bis 30.11.2026", "2026-11-01 bis 2026-11-30", "2026-11",
         "2026-11"},
        {"2026-12-01 00:00:00", "2027-01-01 00:00:00", "Zeitraum: 01.12.2026 00:00 bis 01.01.2027 00:00",
         "2026-12-01 00.00 bis 2027-01-01 00.00", nullptr, "2026-12"},
        {"01.02.2028", "29.02.2028 23:59:59", "Zeitraum: 01.02.2028 bis 29.02.2028 23:59:59",
         "2028-02-01 bis 2028-02-29 23.59.59", "2028-02"},
        {"01.11.2026 00:00:01", "30.11.2026", "Zeitraum: 01.11.2026 00:00:01 bis 30.11.2026",
         "2026-11-01 00.00.01 bis 2026-11-30"},
        {"02.11.2026", "01.12.2026", "Zeitraum: 02.11.2026 bis 01.12.2026", "2026-11-02 bis 2026-12-01"},
        {"01.11.2026", "31.12.2026", "Zeitraum: 01.11.2026 bis 31.12.2026", "2026-11-01 bis 2026-12-31"},
    };
    for (const auto& f : faelle) {
        const QString ab = QString::fromUtf8(f.ab), bis = QString::fromUtf8(f.bis);
        EXPECT_EQ(zeitraumText(ab, bis), QString::fromUtf8(f.text));
        EXPECT_EQ(zeitraumDateiname(ab, bis), QString::fromUtf8(f.datei));
        EXPECT_EQ(zeitraumOrdnername(ab, bis, BisGrenze::Einschliesslich),
                  QString::fromUtf8(f.fensterOrdner ? f.fensterOrdner : f.datei));
        EXPECT_EQ(zeitraumOrdnername(ab, bis, BisGrenze::Ausschliesslich),
                  QString::fromUtf8(f.stapelOrdner ? f.stapelOrdner : f.datei));
    }
}

// A settings command or its step at start, the value it sets and its file.
struct Befehl {
    void (*run)(AppState&, Dialogs&);
    Einstellungswert AppState::*wert;
    const char* datei;
    QString AppState::*text = nullptr; // a setting that is no number
};
const Befehl kSteuer {mnuMehrwertsteuerEinstellen, &AppState::Steuersatz, "Steuersatz.txt"};
const Befehl kMinute {mnuMinutenpreisEinstellen, &AppState::Minutenpreis, "Minutenpreis.txt"};
const Befehl kAufschlag {mnuKostenaufschlag, &AppState::Kostenaufschlag, "Kostenaufschlag.txt"};
const Befehl kSteuerStart {steuersatzBeimStart, &AppState::Steuersatz, "Steuersatz.txt"};
const Befehl kAufschlagStart {kostenaufschlagBeimStart, &AppState::Kostenaufschlag, "Kostenaufschlag.txt"};
const Befehl kAdresse {mnuInternetadresse, nullptr, "Internetadresse.txt", &AppState::Internetadresse};
const Befehl kAdresseStart {[](AppState& s, Dialogs&) { internetadresseBeimStart(s); }, nullptr,
                            "Internetadresse.txt", &AppState::Internetadresse};

// A valid entry is stored in memory and file; a refused one asks "try again?" and, given up, puts the offered
// value back. VAT and minute price offer what their file holds, the surcharge the value in memory. At start a
// first line of the file is taken as it is; without one the surcharge is asked for with "1,20" offered and the
// VAT command runs; giving up ends the program. A surcharge of 5 or more, typed or stored, is questioned as a likely
// percentage (Yes: the factor meant, No: as it is, Abbrechen: type again). Dialogs are logged as "I<offered text>" or
// "M<buttons> <icon>".
TEST(Settings, StoresAValidEntryAndAsksAgainOrGivesUpOnAnInvalidOne)
{
    // skript: "=text" typed, Cancel, or the answer Yes, No or Ok; soll: the value afterwards, nullptr: the
    // program ends.
    struct Fall {
        Befehl befehl;
        const char* inhalt;
        QStringList skript;
        const char* soll;
        QString verlauf;
    };
    const char* const kDatei = "aus Datei\r\n";
    const QString kFrage = QStringLiteral("MYesNoCancel Information");
    const char* const kNochmals = "Iaus Datei, MYesNo Stop, Iaus Datei, MYesNo Stop";
    const Fall faelle[] = {
        {kSteuer, kDatei, {"=19"}, "19", "Iaus Datei"},
        {kSteuer, kDatei, {"=7,5"}, "7,5", "Iaus Datei"},
        {kSteuer, kDatei, {"=-5"}, "-5", "Iaus Datei"},
        {kMinute, kDatei, {"=0.20"}, "0.20", "Iaus Datei"},
        {kSteuer, kDatei, {"=0", "Yes", "Cancel", "No"}, "aus Datei", kNochmals},
        {kSteuer, kDatei, {"=abc", "Yes", "Cancel", "No"}, "aus Datei", kNochmals},
        {kMinute, kDatei, {"=x", "Yes", "Cancel", "No"}, "aus Datei", kNochmals},
        {kAufschlag, kDatei, {"=1,20"}, "1,20", "I"},
        {kAufschlag, kDatei, {"=abc", "Yes", "Cancel", "No"}, "", "I, MYesNo Stop, I, MYesNo Stop"},
        {kAufschlag, kDatei, {"=4,99"}, "4,99", "I"},
        {kAufschlag, kDatei, {"=20", "Yes"}, "1,20", "I, " + kFrage},
        {kAufschlag, kDatei, {"=20", "No"}, "20", "I, " + kFrage},
        {kAufschlag, kDatei, {"=20", "Abbrechen", "=1,3"}, "1,3", "I, " + kFrage + ", I20"},
        {kAufschlag, kDatei, {"=7,5", "Yes"}, "1,075", "I, " + kFrage},
        {kAufschlag, kDatei, {"=120", "Yes"}, "1,20", "I, " + kFrage},
        {kAufschlag, kDatei, {"=120", "No", "Yes"}, "2,20", "I, " + kFrage + ", " + kFrage},
        {kAufschlag, kDatei, {"=120", "No", "No"}, "120", "I, " + kFrage + ", " + kFrage},
        {kAufschlagStart, "20\r\n", {"Yes"}, "1,20", kFrage},
        {kAufschlagStart, "20\r\n", {"No"}, "20", kFrage},
        {kAufschlagStart, "20\r\n", {"Abbrechen", "=1,25"}, "1,25", kFrage + ", I20"},
        {kAufschlagStart, nullptr, {"=20", "Abbrechen", "=2"}, "2", "I1,20, " + kFrage + ", I20"},
        {kAufschlagStart, "1,35\r\n", {}, "1,35", ""},
        {kAufschlagStart, nullptr, {"=x", "Yes", "=1,25"}, "1,25", "I1,20, MYesNo Critical, I1,20"},
        {kAufschlagStart, "\r\n1,20\r\n", {"=x", "No"}, nullptr, "I1,20, MYesNo Critical"},
        {kSteuerStart, "0\r\n", {}, "0", ""},
        {kSteuerStart, "abc\r\n", {"Ok", "=19"}, "19", "MOk Critical, Iabc"},
        {kSteuerStart, nullptr, {"Ok", "=19"}, "19", "MOk Critical, I"},
        {kSteuerStart, nullptr, {"Ok", "=0", "No", "Ok"}, nullptr, "MOk Critical, I, MYesNo Stop, MOk Critical"},
        {kAdresse, kDatei, {"=www.hotel-am-see.de"}, "www.hotel-am-see.de", "Iaus Datei"},
        {kAdresse, kDatei, {"="}, "", "Iaus Datei"},
        {kAdresseStart, "www.hotel-am-see.de\r\n", {}, "www.hotel-am-see.de", ""},
        {kAdresseStart, nullptr, {}, "", ""},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.skript.join(u' ').toStdString());
        TempProgramFolder dir;
        const QString datei = QString::fromUtf8(f.befehl.datei);
        if (f.inhalt)
            dir.writeFile(datei, f.inhalt);
        ScriptedDialogs dialogs;
        for (const QString& s : f.skript)
            s.startsWith(u'=') ? (void)dialogs.type(s.mid(1))
            : s == u"Cancel"   ? (void)dialogs.cancelInput()
                               : (void)dialogs.answer(s == u"Yes"         ? Answer::Yes
                                                      : s == u"No"        ? Answer::No
                                                      : s == u"Abbrechen" ? Answer::Cancel
                                                                          : Answer::Ok);
        if (!f.soll) {
            EXPECT_THROW(f.befehl.run(dir.state(), dialogs), ProgramEnd);
        } else {
            f.befehl.run(dir.state(), dialogs);
            EXPECT_EQ(f.befehl.text ? dir.state().*(f.befehl.text) : (dir.state().*(f.befehl.wert)).text(),
                      QString::fromUtf8(f.soll));
        }
        const bool neu = f.soll
                         && (f.skript.contains(u'=' + QString::fromUtf8(f.soll))
                             || (*f.soll && !QByteArray(f.inhalt).startsWith(QByteArray(f.soll) + "\r\n")));
        EXPECT_EQ(dir.readFile(datei), neu ? QByteArray(f.soll) + "\r\n" : QByteArray(f.inhalt));
        QStringList verlauf;
        for (const QString& z : dialogs.protokoll())
            verlauf << z.left(1) + z.section(QStringLiteral(" | "), -1);
        EXPECT_EQ(verlauf.join(QStringLiteral(", ")), f.verlauf);
    }
}

// The question names the surcharge the number typed would give and the factors meant, German numbers grouped.
TEST(Settings, AFactorTypedAsAPercentageIsQuestionedWithTheRightNumbers)
{
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    dialogs.type(QStringLiteral("20")).answer(Answer::No).type(QStringLiteral(" 120")).answer(Answer::No);
    dialogs.answer(Answer::No);
    mnuKostenaufschlag(dir.state(), dialogs);
    mnuKostenaufschlag(dir.state(), dialogs);
    QStringList texte;
    for (const Message& m : dialogs.messages())
        texte << m.text.section(CR, 0, 0);
    EXPECT_EQ(texte, QStringList({"Sie haben 20 eingegeben: Das ist ein Aufschlag von 1.900 %. Meinten Sie 20 % "
                                  "(Faktor 1,20)?",
                                  "Sie haben 120 eingegeben: Das ist ein Aufschlag von 11.900 %. Meinten Sie 120 % "
                                  "des Preises, also 20 % Aufschlag (Faktor 1,20)?",
                                  "Sie haben 120 eingegeben: Das ist ein Aufschlag von 11.900 %. Meinten Sie 120 % "
                                  "Aufschlag (Faktor 2,20)?"}));
    EXPECT_EQ(dir.state().Kostenaufschlag, QStringLiteral(" 120"));
}

TEST(Settings, UnwritableFileIsReportedAndValueKeptForTheRun)
{
    TempProgramFolder dir;
    dir.state().programmOrdner = dir.file(QStringLiteral("gibt/es/nicht"));
    ScriptedDialogs dialogs;
    dialogs.type(QStringLiteral("1,30")).answer(Answer::Ok);
    mnuKostenaufschlag(dir.state(), dialogs);
    EXPECT_EQ(dir.state().Kostenaufschlag, QStringLiteral("1,30"));
    EXPECT_TRUE(dialogs.messages().at(0).text.contains(QStringLiteral("konnte nicht geschrieben werden")));
}

} // namespace
