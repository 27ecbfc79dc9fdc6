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

const auto i64 = [](qint64 v) { return QVariant::fromValue<qint64>(v); };

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
TEST(ParadoxHandgebaut, ReadsATinyTableAssembledByteByByteAndSkipsEmptyAndUnusedBlocks)
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
    // A chain skips empty blocks and file blocks that are in no chain (here 2, 4, 5, 1-based).
    const ParadoxOptionen o {.blockKB = 1, .saetzeProBlock = 2, .blockPositionen = {0, 5, 2}};
    ParadoxLayout layout;
    QByteArray k = paradoxTabelle({{QStringLiteral("nr"), FeldTyp::Long, 4}},
                                  {{i64(1)}, {i64(2)}, {i64(3)}, {i64(4)}, {i64(5)}}, o, &layout);
    // Empty the middle block: offset of the last record -4 (less than zero), count 3.
    setzeLE(k, layout.blockOffsets[1] + 4, static_cast<std::uint16_t>(-4));
    setzeLE(k, 0x06, 3, 4);
    EXPECT_TRUE(saetze(k) == std::vector<Satz>({{i64(1)}, {i64(2)}, {i64(5)}}));
    const QByteArray leer = paradoxTabelle(paradoxBillFelder(), {}); // no records: no chain at all
    EXPECT_EQ(ParadoxTabelle::ausBytes(leer).anzahl(), 0);
    EXPECT_TRUE(saetze(leer).empty());
}

// The bytes as stored in the record (hex) and the value they stand for; invalid: Null.
struct WertFall {
    const char* name;
    FeldTyp typ;
    const char* bytes;
    QVariant erwartet;
    int codepage = 1252, version = 0x0B;
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

const auto text = [](const char16_t* t) { return QVariant(QString::fromUtf16(t)); };

const WertFall kWerte[] = {
    {"short_smallest", FeldTyp::Short, "0001", i64(-32767)},
    {"long_largest", FeldTyp::Long, "FFFFFFFF", i64(2147483647)},
    {"number_positive", FeldTyp::Number, "C05EDD2F1A9FBE77", QVariant(123.456)},
    {"number_negative", FeldTyp::Number, "403FFFFFFFFFFFFF", QVariant(-0.125)},
    {"time_midnight", FeldTyp::Time, "80000000", QVariant(QTime(0, 0))},
    {"time_last_ms", FeldTyp::Time, "85265BFF", QVariant(QTime(23, 59, 59, 999))},
    {"time_beyond_the_day", FeldTyp::Time, "85265C00", QVariant()},
    {"time_negative", FeldTyp::Time, "7FFFFFFF", QVariant()},
    {"timestamp", FeldTyp::Timestamp, "C2CCB5291687EE00",
     QDateTime(QDate(2001, 6, 21), QTime(12, 0, 1, 500), QTimeZone::utc())},
    {"timestamp_not_a_number", FeldTyp::Timestamp, "FFF8000000000000", QVariant()},
    {"logical_true", FeldTyp::Logical, "81", QVariant(true)},
    {"alpha_full", FeldTyp::Alpha, "3031323334", QVariant(QStringLiteral("01234"))},
    {"alpha_ends_at_first_zero", FeldTyp::Alpha, "4100424300", QVariant(QStringLiteral("A"))},
    {"alpha_empty_with_leftovers", FeldTyp::Alpha, "0041424300", QVariant()},
    {"bcd_raw", FeldTyp::Bcd, "C1000000000000000000000000000000FF",
     QVariant(QByteArray::fromHex("C1000000000000000000000000000000FF"))},
    // Alpha in the table's code page: DOS, Windows, unknown ones as Latin-1, and always Latin-1 in 3.x tables.
    {"cp437", FeldTyp::Alpha, "8494818E999AE1C4B3", text(u"äöüÄÖÜß─│"), 437},
    {"cp850_own_letters", FeldTyp::Alpha, "D5B7E99B", text(u"ıÀÚø"), 850},
    {"cp852", FeldTyp::Alpha, "A5E7", text(u"ąš"), 852},
    {"cp858_euro", FeldTyp::Alpha, "D5", text(u"€"), 858},
    {"cp1252_and_its_unused_byte", FeldTyp::Alpha, "E4DF8084819F", text(u"äß€„\u0081Ÿ"), 1252},
    {"unknown_code_page_as_latin1", FeldTyp::Alpha, "E480", text(u"ä\u0080"), 1250},
    {"paradox_3_as_latin1", FeldTyp::Alpha, "E4FC", text(u"äü"), 437, 0x03},
    {"paradox_7", FeldTyp::Alpha, "8E", text(u"Ä"), 850, 0x0C},
};
INSTANTIATE_TEST_SUITE_P(Typen, ParadoxFeldwert, ::testing::ValuesIn(kWerte),
                         [](auto& i) { return std::string(i.param.name); });

// The TK-Suite kind of table: 11 calls in 4 chain blocks, out of file order; keyed (type 0) and
// unkeyed (type 2) alternate over the versions. Fields: 0 datum, 1 Zeit, 2 Tln#, 3 flags, 4 Rufnummer, 5 Dauer, ...
struct Probe {
    QByteArray bytes;
    ParadoxLayout l;
    explicit Probe(int version = 0x0B)
    {
        ParadoxOptionen o {.version = version, .blockKB = version >= 0x0C ? 4 : 1, .saetzeProBlock = 3};
        o.dateiTyp = version % 2 ? 2 : 0;
        o.blockPositionen = {1, 3, 0, 2};
        bytes = paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(11, 5)), o, &l);
    }
    int groesseByte(int feld) const { return l.feldInfoOffset + 2 * feld + 1; }
    int block(size_t i) const { return l.blockOffsets[i]; }
    int letzter() const { return *std::max_element(l.blockOffsets.begin(), l.blockOffsets.end()); } // in the file
    int voll() const { return (l.blockGroesse - 6) / l.satzGroesse * l.satzGroesse; } // a full block's last offset
};

// The damage done to a table of that version and part of the German message; nullptr: the table reads.
using B = QByteArray;
using P = const Probe&;
struct KopfFall {
    std::string name;
    const char* meldung;
    std::function<void(B&, P)> aendern;
    int version = 0x0B;
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

const char kKennwort[] = "mit einem Kennwort verschlüsselt", kVersion[] = "keine Paradox-Tabelle der Versionen 3";

// Every version from 3.0 (0x03) to 7.x (0x0C) as it is, then the damages. 4.x and later tables carry the
// marker 0xFF00FF00 at 0x25 (some writers leave 0) and the encryption value at 0x5C; 3.x tables the value at 0x25.
std::vector<KopfFall> kopfFaelle()
{
    std::vector<KopfFall> f = {
        {"Zero_at_0x25", nullptr, [](B& b, P) { setzeLE(b, 0x25, 0, 4); }},
        {"Encrypted_at_0x5C", kKennwort, [](B& b, P) { setzeLE(b, 0x5C, 0x5A3C1E0F, 4); }},
        {"Encrypted_at_0x25", kKennwort, [](B& b, P) { setzeLE(b, 0x25, 0x12345678, 4); }},
        {"Encrypted_Paradox4", kKennwort, [](B& b, P) { setzeLE(b, 0x25, 0x12345678, 4); }, 0x04},
        {"Version2", kVersion, [](B& b, P) { b[0x39] = 0x02; }},
        {"Version13", kVersion, [](B& b, P) { b[0x39] = 0x0D; }},
        {"PrimaryIndex", "keine Paradox-Datentabelle", [](B& b, P) { b[0x04] = 0x01; }},
        {"HeaderLargerThanFile", "ist größer als die Datei", [](B& b, P) { setzeLE(b, 2, b.size() + 1); }},
        {"FileShorterThanAnyHeader", "kürzer als der Kopf", [](B& b, P) { b.truncate(0x40); }},
        {"FieldSizesDoNotAddUp", "passen nicht zur Satzgröße", [](B& b, P p) { b[0] = p.l.satzGroesse + 1; }},
        {"ShortOfThreeBytes", "unpassende Größe 3", [](B& b, P p) { b[p.groesseByte(2)] = 3; }},
        {"AlphaOfNoBytes", "unpassende Größe 0", [](B& b, P p) { b[p.groesseByte(5)] = 0; }},
        {"UnknownFieldType", "unbekannten Typ 7", [](B& b, P p) { b[p.groesseByte(3) - 1] = 0x07; }},
        {"NoFields", "Zahl der Felder", [](B& b, P) { setzeLE(b, 0x21, 0); }},
        {"FieldListBeyondHeader", "Feldliste passt", [](B& b, P) { setzeLE(b, 0x21, 255), setzeLE(b, 2, 0x100); }},
        {"FieldNamesCutOff", "Feldnamen", [](B& b, P) { setzeLE(b, 0x02, 0x110); }},
        {"BlockSizeZero", "Blockgröße 0 KB", [](B& b, P) { b[0x05] = 0; }},
        {"BlockSizeTooLarge", "Blockgröße 33 KB", [](B& b, P) { b[0x05] = 33; }},
        {"ChainLoopsBack", "kehrt zu Block", [](B& b, P p) { setzeLE(b, p.l.blockOffsets[2], 2); }},
        {"NextBlockOutsideTheFile", "Datenblock 500 liegt außerhalb",
         [](B& b, P p) { setzeLE(b, p.block(1), 500); }},
        {"FirstBlockOutsideTheFile", "Datenblock 9 liegt außerhalb", [](B& b, P) { setzeLE(b, 0x0E, 9); }},
        {"BlockCountJustTooLarge", "es passen höchstens", [](B& b, P p) { setzeLE(b, p.block(3) + 4, p.voll()); }},
        {"HeaderCountsMore", "11 Datensätze, der Dateikopf nennt 12", [](B& b, P) { setzeLE(b, 0x06, 12, 4); }},
        {"HeaderCountsFewer", "als der Dateikopf nennt (10)", [](B& b, P) { setzeLE(b, 0x06, 10, 4); }},
        {"LastBlockCutShort", "über das Ende der Datei hinaus", [](B& b, P p) { b.truncate(p.letzter() + 10); }},
        {"BlockHeaderCutShort", "liegt außerhalb der Datei", [](B& b, P p) { b.truncate(p.letzter() + 3); }},
    };
    for (int v = 0x03; v <= 0x0C; ++v)
        f.push_back({"Version" + std::to_string(v), nullptr, [](B&, P) {}, v});
    return f;
}
INSTANTIATE_TEST_SUITE_P(Arten, ParadoxKopf, ::testing::ValuesIn(kopfFaelle()),
                         [](auto& i) { return i.param.name; });

// Records handed over before the damage was found stay handed over; the error still comes. Every cut
// either reads completely or fails with a ParadoxFehler: never a crash, a hang or part of the table as if whole.
TEST(ParadoxSchadenVerlauf, RecordsBeforeTheDamageStayDeliveredAndEveryCutFailsCleanlyOrReadsAll)
{
    Probe p;
    B kaputt = p.bytes;
    setzeLE(kaputt, p.l.blockOffsets[2], 700);
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

// Files above 64 KB are read in two steps: header first, then the rest. A folder or a FIFO named like the
// table is refused at once; the FIFO's writer is open, so nothing could wait.
TEST(ParadoxDatei, ALargeFileIsReadWholeWhenItIsATableAndAnythingElseRefusedEarly)
{
    TempProgramFolder dir;
    const auto anrufe = beispielAnrufe(3000, 11); // about 190 KB
    schreibeParadoxBill(dir.file("bill.db"), anrufe);
    std::vector<Satz> s;
    ParadoxTabelle::oeffnen(dir.file("bill.db")).lesen([&](const Satz& x) { s.push_back(x); });
    ASSERT_EQ(s.size(), anrufe.size());
    EXPECT_TRUE(s.back()[0].toDate() == anrufe.back().datum && s.back()[2].toLongLong() == anrufe.back().tln);
    dir.writeFile("gross.db", B(300000, 'x'));
    EXPECT_THROW(ParadoxTabelle::oeffnen(dir.file("gross.db")), ParadoxFehler);
    ORVE_NUR_POSIX("FIFO");
    QDir().mkpath(dir.file("ordner.db"));
    const QByteArray fifo = QFile::encodeName(dir.file("fifo.db"));
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
    std::unique_ptr<SQLite::Database> db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));

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
                r << typ[q.getColumn(i).getType()] + QString::fromUtf8(q.getColumn(i).getText());
        return z;
    }
};

// The table is emptied first and made anew only when the columns differ.
TEST_F(Staging, ColumnsFollowTheFieldsAndValuesTheirTypesAndTheTableIsMadeAnewOnlyForOtherColumns)
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
    const std::vector<ParadoxFeldDef> zwei = {{"datum", FeldTyp::Date, 4}, {"Zeit", FeldTyp::Time, 4}};
    kopieren(zwei, {{QDate(2009, 3, 21), QTime(10, 0)}, {QDate(2009, 3, 22), QTime(11, 0)}});
    db->exec("CREATE TRIGGER merker AFTER INSERT ON paradox BEGIN SELECT 1; END");
    kopieren(zwei, {{QDate(2009, 3, 21), QTime(10, 0)}});
    EXPECT_EQ(inhalt().size(), 2u);
    EXPECT_EQ(db->execAndGet("SELECT count(*) FROM sqlite_master WHERE name = 'merker'").getInt(), 1)
        << "table with the same columns was recreated";
    kopieren({{"datum", FeldTyp::Date, 4}, {"zeit", FeldTyp::Time, 4}, {"flags", FeldTyp::Short, 2}},
             {{QDate(2009, 3, 21), QTime(10, 0), 0}});
    EXPECT_ZEILEN(inhalt(), std::vector<QStringList>({{"datum TEXT", "zeit TEXT", "flags INTEGER"},
                                                      {"text:2009-03-21", "text:10:00:00", "int:0"}}));
    // One name twice:
    EXPECT_THROW(kopieren({{"datum", FeldTyp::Date, 4}, {"Datum", FeldTyp::Date, 4}}, {}), QuellFehler);
    EXPECT_EQ(inhalt().size(), 2u);
}

// All or nothing: a refused record, a full disk or a file that cannot grow (SQLite then rolls back on its own)
// ends the copy with the cause, and the previous start's rows do not stay behind as if they were this start's.
TEST_F(Staging, AFailedWriteEndsTheCopyWithItsCauseAndLeavesNoOldRows)
{
    const int seiten = db->execAndGet("PRAGMA page_count").getInt();
    // grenze: bytes a file may grow; 0: no limit
    for (const auto& [sql, grenze, ursache] :
         {std::tuple {std::string("CREATE TRIGGER nein BEFORE INSERT ON paradox WHEN NEW.\"Tln#\" = 23 BEGIN "
                                  "SELECT RAISE(ABORT, 'nein'); END"),
                      0, "Meldung von SQLite: nein"},
          {"PRAGMA max_page_count = " + std::to_string(seiten + 3), 0, "ist voll"},
          {"PRAGMA max_page_count = 1000000; PRAGMA cache_size = 4", 20001, "hat der Datenträger einen Fehler"}}) {
        db->exec("DROP TRIGGER IF EXISTS nein");
        kopieren(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(5)));
        db->exec(sql);
        std::optional<DateiGroessenGrenze> g;
        if (grenze) {
            ORVE_NUR_POSIX("Dateigrößengrenze");
            g.emplace(QFileInfo(QString::fromStdString(db->getFilename())).size() + grenze);
        }
        EXPECT_FEHLER(kopieren(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(3000, 4))), ursache);
        g.reset();
        EXPECT_EQ(inhalt().size(), 1u) << ursache;
    }
}

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
    const char *text, *ab;
    const char* soll; // places in kAnrufe as digits
    const char* fehler = nullptr;
    const char* bis = "alle";
};

const Auswahl kAuswahlen[] = {
    {0, "alle", "alle", "246031587"},
    {0, "abc  |  21", "alle", "", "Nebenstelle"},
    {0, "", "", "246031587"},
    {0, "21) OR (1=1", "alle", "", "Nebenstelle"},
    {21, nullptr, "alle", "24603"},
    {0, "21.5", "alle", "", "Nebenstelle"},
    {35, nullptr, "alle", "87"},
    {0, "Alle", "alle", "", "Nebenstelle"},
    {0, " 22 ", "", "15"},
    {0, "alle", "gestern", "", "Datum"},
    {0, "alle", "21.03.2009 14:30:00", "60357"},
    {0, "alle", "32.01.2009 10:00:00", "", "Datum"},
    {0, "alle", "2009-03-21 14:30:00", "60357"},
    {21, nullptr, "21.03.2009 14:30:00", "603"},
    {0, "alle", "01.01.2010", "7"},
    {0, "99", "alle", ""},
    {0, "alle", "01.01.2011 00:00:00", ""},
    {0, "alle", "alle", "2460158", nullptr, "21.03.2009"},
    {0, "alle", "21.03.2009 14:30:00", "65", nullptr, "2009-03-21 14:30:00"},
    {0, "alle", "21.03.09 14:30", "60357"},
    {0, "alle", "alle", "2418", nullptr, " 21.3.09 14:29:59"},
    {0, "alle", "22.03.2009", "", "liegt vor seinem Anfang", "21.03.2009"},
    {0, "alle", "21.03.2009 14:30:00", "", "(bis 21.03.2009 14:29:59) liegt vor", "21.03.09 14:29:59"},
};

class Einlesen : public ::testing::TestWithParam<Art> {
protected:
    void SetUp() override
    {
        std::vector<BillAnruf> paradox;
        std::vector<StdbillAnruf> sqlite;
        for (const auto& t : kAnrufe) {
            std::optional<QString> dauer;
            if (t.sekunden >= 0)
                dauer = QTime(0, 0).addSecs(t.sekunden).toString(QStringLiteral("hh:mm:ss"));
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
    QString name(int n) const { return GetParam().paradox ? "(Internnummer) " : QString("Name %1").arg(n); }

    // What the import writes for the calls at these places of kAnrufe (digits).
    std::vector<QStringList> erwartet(std::string_view stellen) const
    {
        std::vector<QStringList> z;
        for (char i : stellen) {
            const Testanruf& t = kAnrufe[size_t(i - '0')];
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

    QString eintrag(int n) const { return QStringLiteral("%1  |  ").arg(n) + name(n); }
    EinleseErgebnis einlesen(const QString& n, const QString& ab, const QString& bis = kAlle)
    {
        return tkBillEinlesen(u.state(), quellen, n, ab, liste, bis);
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
    AuswahlQuellen quellen {{GetParam().istSQLite3 ? "SQLite Datasource" : "SQLite3 Datasource"}};
    AnrufListe liste;
};

// The lists of the two selections: "alle", then each extension; "alle", then the starts in time order, as the source
// writes them (Paradox: each moment once per extension). One import after the other: each replaces the table, the list
// and the count of the one before and leaves the cost columns empty; a refused selection keeps them all.
TEST_P(Einlesen, SelectionGivesItsCallsByExtensionThenStartOrIsRefused)
{
    EXPECT_ZEILEN(nebenstellenEintraege(u.state(), quellen),
                  QStringList({"alle", eintrag(21), eintrag(22), eintrag(35)}));
    const auto starts = [&](std::string_view stellen) {
        QStringList z {QStringLiteral("alle")};
        for (char i : stellen)
            z << stdbillZeit(utcZeit(kAnrufe[size_t(i - '0')].start), GetParam().optionen.zeit);
        return z;
    };
    EXPECT_ZEILEN(datumEintraege(u.state(), quellen, kAlle), starts(GetParam().paradox ? "218456037" : "21846037"));
    EXPECT_ZEILEN(datumEintraege(u.state(), quellen, eintrag(21)), starts("24603"));
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
        EXPECT_EQ(u.wert("SELECT count(costs) + count(ucosts) + count(ucostsBrutto) + count(rufziel) + "
                         "count(vergleichsnummer) FROM bill"),
                  a.fehler ? 5 * int(soll.size()) : 0);
    }
}

// The fifth call cannot be stored. ABORT undoes that one insert: the calls before it stay. ROLLBACK undoes
// the whole import, as SQLite does after a full disk or an I/O error: the table before the import is back.
TEST_P(Einlesen, AFailedWriteKeepsWhatTheDatabaseKeptAndNamesTheCause)
{
    einlesen(QStringLiteral("35"), QStringLiteral("alle"));
    for (const auto& [aktion, anzahl, teil] :
         {std::tuple {"ROLLBACK", 0, "konnten nicht in die lokale Datenbank geschrieben werden"},
          {"ABORT", 4, "nach 4 Datensätzen abgebrochen"}}) {
        u.lokal()->exec(std::string("DROP TRIGGER IF EXISTS voll; CREATE TRIGGER voll BEFORE INSERT ON bill WHEN "
                                    "(SELECT count(*) FROM bill) >= 4 BEGIN SELECT RAISE(")
                        + aktion + ", 'Datenträger voll'); END");
        const auto vorher = u.billZeilen();
        const auto e = einlesen(QStringLiteral("alle"), QStringLiteral("alle"));
        const QString text = e.fehler.value_or(QString());
        EXPECT_TRUE(e.anzahl == anzahl && text.contains(u"Datenträger voll")
                    && text.contains(QString::fromUtf8(teil)))
            << text.toStdString();
        EXPECT_ZEILEN(u.billZeilen(), anzahl ? erwartet("2460") : vorher);
        EXPECT_ZEILEN(listenZeilen(), anzahl ? erwartet("2460") : std::vector<QStringList> {});
    }
}

using U = StdbillOptionen::User;
using Z = StdbillOptionen::Zeit;
const Art kArten[] = {{"SqliteIsoInteger", false, {U::Integer, Z::Iso}},
                      {"SqliteIsoTextFromSQLite2", false, {U::Text, Z::Iso}, 0},
                      {"SqliteGermanInteger", false, {U::Integer, Z::Deutsch}},
                      {"SqliteGermanText", false, {U::Text, Z::Deutsch}},
                      {"Paradox", true, {}}};
INSTANTIATE_TEST_SUITE_P(Quellen, Einlesen, ::testing::ValuesIn(kArten),
                         [](auto& i) { return std::string(i.param.name); });

EinleseErgebnis alleEinlesen(QuellUmgebung& u, const QString& ab = kAlle, const QString& wer = kAlle,
                             const QString& bis = {}, BisGrenze art = BisGrenze::Einschliesslich)
{
    AnrufListe liste;
    return tkBillEinlesen(u.state(), u.quellen, wer, ab, liste, bis, art);
}

// Calls of one extension that started in the same second keep the order of the source table: more of them than a sort
// handles by insertion. Rows as TK-Suite may write them: values are copied unchanged, a Null number is "unbekannt" (no
// internal call, which would be free), a Null duration "0"; a start that is no date sorts first and passes only without
// limit; an extension kept as text with blanks around it (" 21 ") is 21.
TEST(EinlesenSqlite, RowsAreTakenAsTheSourceHoldsThem)
{
    QuellUmgebung u;
    std::vector<StdbillAnruf> anrufe;
    for (int i = 0; i < 60; ++i)
        anrufe.push_back({utcZeit("2009-03-21 14:30:00"), i % 3 ? 21 : 20, "A", QString::number(i)});
    u.sqlite(anrufe);
    alleEinlesen(u);
    QStringList ist;
    for (const auto& z : u.billZeilen())
        ist << z[2];
    EXPECT_EQ(
        ist.join(u' ').toStdString(),
        "0 3 6 9 12 15 18 21 24 27 30 33 36 39 42 45 48 51 54 57 1 2 4 5 7 8 10 11 13 14 16 17 19 20 22 23 25 26 "
        "28 29 31 32 34 35 37 38 40 41 43 44 46 47 49 50 52 53 55 56 58 59");
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
    EXPECT_EQ(alleEinlesen(u, "01.01.2009", "21  |  x").anzahl, 3);
    for (const auto& [art, anzahl] : {std::pair {BisGrenze::Ausschliesslich, 2}, {BisGrenze::Einschliesslich, 3}})
        EXPECT_EQ(alleEinlesen(u, kAlle, kAlle, "21.03.2009 14:31", art).anzahl,
                  anzahl); // before that, or through it
    EXPECT_ZEILEN(
        datumEintraege(u.state(), u.quellen, QStringLiteral("21")),
        QStringList({"alle", "kaputt", "2009-03-21 14:30:00", "2009-03-21 14:31:00", "2009-03-21 14:32:00"}));
}

const BillAnruf kParadoxAnruf {QDate(2009, 3, 21),        QTime(10, 0), 21, 0, QStringLiteral("030123"),
                               QStringLiteral("00:01:00")};

// With a limit a call without a moment is left out, and named so that it is not lost without a word.
TEST(EinlesenParadox, StartWithoutDateSortsFirstAndPassesOnlyWithoutLimitAndAMissingColumnIsNamed)
{
    QuellUmgebung u;
    u.paradox({kParadoxAnruf, {QDate(), QTime(10, 9)}});
    const EinleseErgebnis mitGrenze = alleEinlesen(u, QStringLiteral("01.01.2000"));
    EXPECT_EQ(mitGrenze.anzahl, 1);
    EXPECT_ZEILEN(mitGrenze.ohneZeitpunkt,
                  QStringList {"Rufnummer unbekannt, Nebenstelle 21, Beginn 10:09:00: Der "
                               "Beginn „10:09:00“ des Gesprächs ist kein Datum mit Uhrzeit."});
    EXPECT_EQ(alleEinlesen(u).ohneZeitpunkt, QStringList());
    EXPECT_EQ(alleEinlesen(u).anzahl, 2);
    EXPECT_EQ(u.billZeilen().at(0).at(3), " 10:09:00");
    // A staging table without a column gives a message naming it.
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
    // aufbau nullptr: the file holds no database; "": the file is missing
    for (const auto& [aufbau, imText] :
         {std::pair {(const char*)nullptr, "keine SQLite-Datenbank"},
          {"CREATE TABLE andere (x)", "keine Tabelle \"stdbill\""},
          {"CREATE TABLE stdbill (id, time, user, username, number, lineno)", "\"duration\""},
          {"", "fehlt.db"}}) {
        if (!aufbau)
            u.ordner.writeFile("dbf/bill.db", QByteArray(4096, 'x'));
        else if (*aufbau)
            u.sqlite(aufbau);
        else
            u.state().Billpfad = u.ordner.file("dbf/fehlt.db");
        EXPECT_FEHLER(alleEinlesen(u), imText);
        EXPECT_ZEILEN(u.billZeilen(), vorher);
        if (!QByteArray(aufbau).contains("lineno")) // the lists need no duration
            EXPECT_FEHLER(nebenstellenEintraege(u.state(), u.quellen), imText);
    }
    EXPECT_FALSE(u.ordner.exists("dbf/fehlt.db"));
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
    EXPECT_EQ(liste.spalten(1).value(0) + liste.spalten(2).value(0), "017");
}

// The forms of the call tables and nothing else, read alike from UTF-16 and
// UTF-8, as seconds since the beginning of the Julian day count.
TEST(StartZeit, ReadsTheFormsOfTheCallTablesAndNothingElse)
{
    // text, "yyyy-MM-dd hh:mm:ss" or nullptr: no start
    std::vector<std::pair<const char*, const char*>> faelle = {
        {"2009-03-21 14:30:00", "2009-03-21 14:30:00"}, {"  21.03.2009 14:30:00 ", "2009-03-21 14:30:00"},
        {"2009-03-21T14:30:05", "2009-03-21 14:30:05"}, {"1.3.2009 9:05:07", "2009-03-01 09:05:07"},
        {"21.03.2009", "2009-03-21 00:00:00"},          {"29.02.2024 23:59:59", "2024-02-29 23:59:59"}};
    for (const char* kein : {"", "alle", "29.02.2023 10:00:00", "21.03.2009 24:00:00", "21.03.2009 14:30:00 x",
                             "21.03.20091 14:30:00", "２１.03.2009 14:30:00", "21.003.2009",
                             "21.03.09 14:30:00" /* a two-digit year only where people type */})
        faelle.push_back({kein, nullptr});
    for (const auto& [text, soll] : faelle) {
        const auto schluessel = startZeitSchluessel(QStringView(QString::fromUtf8(text)));
        EXPECT_EQ(startZeitSchluessel(std::string_view(text)), schluessel) << text;
        const QDateTime d = QDateTime::fromString(QString::fromLatin1(soll), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        const auto sekunden = d.date().toJulianDay() * 86400 + d.time().msecsSinceStartOfDay() / 1000;
        EXPECT_EQ(schluessel, soll ? std::optional(sekunden) : std::nullopt) << text;
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
    // skript as ScriptedDialogs::skript takes it; soll: the value afterwards, nullptr: the program ends.
    struct Fall {
        Befehl befehl;
        const char* inhalt;
        QStringList skript;
        const char* soll;
        QString verlauf;
    };
    const char *const kDatei = "aus Datei\r\n", *const kNochmals =
                                                    "Iaus Datei, MYesNo Stop, Iaus Datei, MYesNo Stop";
    const QString kFrage = QStringLiteral("MYesNoCancel Information");
    const Fall faelle[] = {
        {kSteuer, kDatei, {"=19"}, "19", "Iaus Datei"},
        {kSteuer, kDatei, {"=7,5"}, "7,5", "Iaus Datei"},
        {kSteuer, kDatei, {"=-5"}, "-5", "Iaus Datei"},
        {kMinute, kDatei, {"=0.20"}, "0.20", "Iaus Datei"},
        {kSteuer, kDatei, {"=0", "Yes", "=", "No"}, "aus Datei", kNochmals},
        {kSteuer, kDatei, {"=abc", "Yes", "=", "No"}, "aus Datei", kNochmals},
        {kMinute, kDatei, {"=x", "Yes", "=", "No"}, "aus Datei", kNochmals},
        {kAufschlag, kDatei, {"=1,20"}, "1,20", "I"},
        {kAufschlag, kDatei, {"=abc", "Yes", "=", "No"}, "", "I, MYesNo Stop, I, MYesNo Stop"},
        {kAufschlag, kDatei, {"=4,99"}, "4,99", "I"},
        {kAufschlag, kDatei, {"=20", "Yes"}, "1,20", "I, " + kFrage},
        {kAufschlag, kDatei, {"=20", "No"}, "20", "I, " + kFrage},
        {kAufschlag, kDatei, {"=20", "Cancel", "=1,3"}, "1,3", "I, " + kFrage + ", I20"},
        {kAufschlag, kDatei, {"=7,5", "Yes"}, "1,075", "I, " + kFrage},
        {kAufschlag, kDatei, {"=120", "Yes"}, "1,20", "I, " + kFrage},
        {kAufschlag, kDatei, {"=120", "No", "Yes"}, "2,20", "I, " + kFrage + ", " + kFrage},
        {kAufschlag, kDatei, {"=120", "No", "No"}, "120", "I, " + kFrage + ", " + kFrage},
        {kAufschlagStart, "20\r\n", {"Yes"}, "1,20", kFrage},
        {kAufschlagStart, "20\r\n", {"No"}, "20", kFrage},
        {kAufschlagStart, "20\r\n", {"Cancel", "=1,25"}, "1,25", kFrage + ", I20"},
        {kAufschlagStart, nullptr, {"=20", "Cancel", "=2"}, "2", "I1,20, " + kFrage + ", I20"},
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
        dialogs.skript(f.skript);
        if (!f.soll) {
            EXPECT_THROW(f.befehl.run(dir.state(), dialogs), ProgramEnd);
        } else {
            f.befehl.run(dir.state(), dialogs);
            EXPECT_EQ(f.befehl.text ? dir.state().*(f.befehl.text) : (dir.state().*(f.befehl.wert)).text(),
                      QString::fromUtf8(f.soll));
        }
        // Written: what was typed (an empty text only clears the web address) or a stored factor corrected.
        const bool neu = f.soll
                         && ((f.skript.contains(u'=' + QString::fromUtf8(f.soll)) && (*f.soll || f.befehl.text))
                             || (*f.soll && !QByteArray(f.inhalt).startsWith(QByteArray(f.soll) + "\r\n")));
        EXPECT_EQ(dir.readFile(datei), neu ? QByteArray(f.soll) + "\r\n" : QByteArray(f.inhalt));
        QStringList verlauf;
        for (const QString& z : dialogs.protokoll())
            verlauf << z.left(1) + z.section(QStringLiteral(" | "), -1);
        EXPECT_EQ(verlauf.join(QStringLiteral(", ")), f.verlauf);
    }
    // The percentage question names the surcharge the number typed would give and the factors meant, German
    // numbers grouped.
    {
        TempProgramFolder dir;
        ScriptedDialogs dialogs;
        dialogs.skript({"=20", "No", "= 120", "No", "No"});
        mnuKostenaufschlag(dir.state(), dialogs);
        mnuKostenaufschlag(dir.state(), dialogs);
        QStringList texte;
        for (const Message& m : dialogs.messages())
            texte << m.text.section(CR, 0, 0);
        EXPECT_EQ(texte,
                  QStringList({"Sie haben 20 eingegeben: Das ist ein Aufschlag von 1.900 %. Meinten Sie 20 % "
                               "(Faktor 1,20)?",
                               "Sie haben 120 eingegeben: Das ist ein Aufschlag von 11.900 %. Meinten Sie 120 "
                               "% des Preises, also 20 % Aufschlag (Faktor 1,20)?",
                               "Sie haben 120 eingegeben: Das ist ein Aufschlag von 11.900 %. Meinten Sie 120 "
                               "% Aufschlag (Faktor 2,20)?"}));
        EXPECT_EQ(dir.state().Kostenaufschlag, QStringLiteral(" 120"));
    }
    // A file that cannot be written is reported; the value is kept for the run.
    TempProgramFolder dir;
    dir.state().programmOrdner = dir.file("gibt/es/nicht");
    ScriptedDialogs dialogs;
    dialogs.type(QStringLiteral("1,30")).answer(Answer::Ok);
    mnuKostenaufschlag(dir.state(), dialogs);
    EXPECT_EQ(dir.state().Kostenaufschlag, "1,30");
    EXPECT_TRUE(dialogs.messages().at(0).text.contains("konnte nicht geschrieben werden"));
}

} // namespace
