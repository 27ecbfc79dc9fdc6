#include "calls/AnrufListe.h"
#include "calls/TkBillImport.h"
#include "calls/TkBillQuelle.h"

#include "DateiGroessenGrenze.h"
#include "OhneRootRechte.h"
#include "SourceBuilders.h"

#include <QFile>
#include <QFileInfo>
#include <QTimeZone>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

QDateTime zeit(const char* iso) { return utcZeit(iso); }

// A call of the test set, written into either kind of source.
struct Testanruf {
    const char* start;
    int nebenstelle;
    const char* nummer;
    int sekunden;
    int leitung;
};

// Stored in this (scrambled) order: the import must sort by extension and
// start. The year change catches text order of the German form.
const std::vector<Testanruf> kAnrufe = {
    {"2009-03-21 14:30:01", 21, "0301234567", 65, 1},  {"2009-01-05 10:00:00", 22, "08912345", 3600, 2},
    {"2008-12-31 23:59:59", 21, "01711234567", 5, 1},  {"2009-03-22 08:00:00", 21, "004312345678", 125, 2},
    {"2009-03-21 14:29:59", 21, "0401111", 59, 1},     {"2009-03-21 14:30:00", 22, "", 20, 0},
    {"2009-03-21 14:30:00", 21, "02212222", 61, 1},    {"2010-01-02 07:00:00", 35, "0800123123", 300, 2},
    {"2009-02-28 16:45:00", 35, "069777", 1, 1},
};

struct Art {
    const char* name;
    bool paradox;
    StdbillOptionen optionen;
};

// A selection as the user makes it: the list entry of an extension
// (eintrag) or a typed text, a start, and the calls that must come out, by
// their place in kAnrufe, in the order of the import.
struct Auswahl {
    int eintrag;
    const char* text;
    const char* ab;
    std::vector<size_t> soll;
};

const Auswahl kAuswahlen[] = {
    {0, "alle", "alle", {2, 4, 6, 0, 3, 1, 5, 8, 7}},
    {0, "", "", {2, 4, 6, 0, 3, 1, 5, 8, 7}},
    {21, nullptr, "alle", {2, 4, 6, 0, 3}},
    {35, nullptr, "alle", {8, 7}},
    {0, " 22 ", "", {1, 5}},                          // the bare number means the same extension
    {0, "alle", "21.03.2009 14:30:00", {6, 0, 3, 5, 7}}, // from that second on
    {0, "alle", "2009-03-21 14:30:00", {6, 0, 3, 5, 7}},
    {21, nullptr, "21.03.2009 14:30:00", {6, 0, 3}},
    {0, "alle", "01.01.2010", {7}},                   // a date alone starts at midnight
    {0, "99", "alle", {}},
    {0, "alle", "01.01.2011 00:00:00", {}},
};

class Einlesen : public ::testing::TestWithParam<Art> {
protected:
    void SetUp() override
    {
        const Art& a = GetParam();
        std::vector<BillAnruf> paradox;
        std::vector<StdbillAnruf> sqlite;
        for (const auto& t : kAnrufe) {
            const QString dauer = QTime(0, 0).addSecs(t.sekunden).toString(QStringLiteral("hh:mm:ss"));
            paradox.push_back(paradoxAnruf(t.start, t.nebenstelle, 0, QString::fromLatin1(t.nummer), dauer, t.leitung));
            sqlite.push_back({zeit(t.start), t.nebenstelle, QStringLiteral("Name %1").arg(t.nebenstelle),
                              QString::fromLatin1(t.nummer), t.sekunden, t.leitung});
        }
        if (a.paradox)
            u.paradox(paradox);
        else
            u.sqlite(sqlite, a.optionen);
    }

    // What the import writes for the calls of the test set at these places.
    std::vector<QStringList> erwartet(const std::vector<size_t>& stellen) const
    {
        const Art& a = GetParam();
        std::vector<QStringList> z;
        for (size_t i : stellen) {
            const Testanruf& t = kAnrufe[i];
            const QString nummer = QString::fromLatin1(t.nummer);
            QStringList zeile{QString::number(t.nebenstelle), QStringLiteral("Name %1").arg(t.nebenstelle), nummer,
                              stdbillZeit(zeit(t.start), a.optionen.zeit), QString::number(t.sekunden),
                              QString::number(t.leitung)};
            if (a.paradox) {
                // Paradox keeps an empty text as Null: the internal call's number is "unbekannt".
                zeile[1] = QStringLiteral("(Internnummer) ");
                zeile[2] = nummer.isEmpty() ? QStringLiteral("unbekannt") : nummer.leftJustified(18, QLatin1Char(' '));
            }
            z.push_back(zeile);
        }
        return z;
    }

    QString eintrag(int nebenstelle) const
    {
        return GetParam().paradox ? QStringLiteral("%1  |  (Internnummer) ").arg(nebenstelle)
                                  : QStringLiteral("%1  |  Name %1").arg(nebenstelle);
    }

    EinleseErgebnis einlesen(const QString& nebenstelle, const QString& datum)
    {
        return tkBillEinlesen(u.state(), u.quellen, nebenstelle, datum, liste);
    }

    std::vector<QStringList> listenZeilen() const
    {
        std::vector<QStringList> z;
        for (const auto& a : liste.anrufe())
            z.push_back({a.user, a.username, a.number, a.time, a.duration, a.lineno});
        return z;
    }

    QuellUmgebung u;
    AnrufListe liste;
};

// One import after the other: each replaces the table, the list and the
// count of the one before and leaves the cost columns empty.
TEST_P(Einlesen, SelectionGivesItsCallsOrderedByExtensionThenStart)
{
    for (const Auswahl& a : kAuswahlen) {
        const QString nebenstelle = a.eintrag ? eintrag(a.eintrag) : QString::fromUtf8(a.text);
        SCOPED_TRACE(nebenstelle.toStdString() + " / " + a.ab);
        u.lokal()->exec("UPDATE bill SET costs = 1.5, ucosts = 1.8, ucostsBrutto = 2.1, rufziel = 'Ort', "
                        "vergleichsnummer = '030'");
        const auto e = einlesen(nebenstelle, QString::fromUtf8(a.ab));
        const auto soll = erwartet(a.soll);
        EXPECT_FALSE(e.fehler.has_value());
        EXPECT_EQ(e.anzahl, static_cast<std::int64_t>(soll.size()));
        EXPECT_ZEILEN(u.billZeilen(), soll);
        EXPECT_ZEILEN(listenZeilen(), soll);
        EXPECT_EQ(u.lokal()->execAndGet("SELECT count(*) FROM bill WHERE costs IS NOT NULL OR ucosts IS NOT NULL OR "
                                        "ucostsBrutto IS NOT NULL OR rufziel IS NOT NULL OR vergleichsnummer IS NOT NULL")
                      .getInt(),
                  0);
    }
}

struct Falsch {
    const char* nebenstelle;
    const char* datum;
    const char* imText;
};

TEST_P(Einlesen, SelectionThatIsNoExtensionOrNoDateKeepsTheOldTable)
{
    einlesen(QStringLiteral("alle"), QStringLiteral("alle"));
    const auto vorher = u.billZeilen();
    const int zeilenVorher = liste.rowCount();
    for (const Falsch& f : {Falsch{"abc  |  21", "alle", "Nebenstelle"}, Falsch{"21) OR (1=1", "alle", "Nebenstelle"},
                            Falsch{"21.5", "alle", "Nebenstelle"}, Falsch{"Alle", "alle", "Nebenstelle"},
                            Falsch{"alle", "gestern", "Datum"}, Falsch{"alle", "32.01.2009 10:00:00", "Datum"}}) {
        EXPECT_FEHLER(einlesen(QString::fromUtf8(f.nebenstelle), QString::fromUtf8(f.datum)), f.imText);
        EXPECT_ZEILEN(u.billZeilen(), vorher);
        EXPECT_EQ(liste.rowCount(), zeilenVorher);
    }
}

TEST_P(Einlesen, DatabaseErrorKeepsTheCallsWrittenSoFarAndNamesTheProblem)
{
    // The fifth call cannot be stored.
    u.lokal()->exec("CREATE TRIGGER voll BEFORE INSERT ON bill WHEN (SELECT count(*) FROM bill) >= 4 "
                    "BEGIN SELECT RAISE(ABORT, 'Datenträger voll'); END");
    const auto e = einlesen(QStringLiteral("alle"), QStringLiteral("alle"));
    ASSERT_TRUE(e.fehler.has_value());
    EXPECT_TRUE(e.fehler->contains(QStringLiteral("Datenträger voll"))) << e.fehler->toStdString();
    EXPECT_EQ(e.anzahl, 4);
    const auto soll = erwartet({2, 4, 6, 0});
    EXPECT_ZEILEN(u.billZeilen(), soll);
    EXPECT_ZEILEN(listenZeilen(), soll);
}

TEST_P(Einlesen, ListLineIsTheSixValuesJoinedByTabs)
{
    einlesen(QStringLiteral("alle"), QStringLiteral("alle"));
    ASSERT_GT(liste.rowCount(), 0);
    const Anruf a = liste.anruf(0);
    const QString zeile = liste.data(liste.index(0)).toString();
    EXPECT_EQ(zeile, QStringList({a.user, a.lineno, a.time, a.number, a.duration, a.username}).join(QLatin1Char('\t')));
    EXPECT_EQ(liste.data(liste.index(0), AnrufListe::SpaltenRolle).toStringList(), zeile.split(QLatin1Char('\t')));
}

INSTANTIATE_TEST_SUITE_P(
    Quellen, Einlesen,
    ::testing::Values(Art{"SqliteIsoInteger", false, {StdbillOptionen::User::Integer, StdbillOptionen::Zeit::Iso}},
                      Art{"SqliteIsoText", false, {StdbillOptionen::User::Text, StdbillOptionen::Zeit::Iso}},
                      Art{"SqliteGermanInteger", false, {StdbillOptionen::User::Integer, StdbillOptionen::Zeit::Deutsch}},
                      Art{"SqliteGermanText", false, {StdbillOptionen::User::Text, StdbillOptionen::Zeit::Deutsch}},
                      Art{"Paradox", true, {}}),
    [](const ::testing::TestParamInfo<Art>& i) { return std::string(i.param.name); });

// ---- Paradox rules ------------------------------------------------------

// Imports everything the source holds.
EinleseErgebnis alleEinlesen(QuellUmgebung& u, Datenquellen& quellen, const QString& ab = QStringLiteral("alle"))
{
    AnrufListe liste;
    return tkBillEinlesen(u.state(), quellen, QStringLiteral("alle"), ab, liste);
}
EinleseErgebnis alleEinlesen(QuellUmgebung& u, const QString& ab = QStringLiteral("alle"))
{
    return alleEinlesen(u, u.quellen, ab);
}

TEST(EinlesenParadox, NumberIsPaddedTo18OrUnbekanntAndDurationInSecondsWithNullAsZero)
{
    struct Fall {
        std::optional<QString> rufnummer, dauer;
        const char* nummer;
        const char* sekunden;
    };
    const std::vector<Fall> faelle = {
        {QStringLiteral("0301234"), QStringLiteral("00:02:05"), "0301234           ", "125"},
        {QStringLiteral("012345678901234567"), QStringLiteral("12:34:56"), "012345678901234567", "45296"},
        {QStringLiteral("01234567890123456789"), QStringLiteral("00:00:00"), "01234567890123456789", "0"},
        {std::nullopt, std::nullopt, "unbekannt", "0"},
    };
    QuellUmgebung u;
    std::vector<BillAnruf> zeilen;
    for (size_t i = 0; i < faelle.size(); ++i)
        zeilen.push_back(paradoxAnruf("2009-03-21 10:00:00", 21 + int(i), 0, faelle[i].rufnummer, faelle[i].dauer));
    u.paradox(zeilen);
    alleEinlesen(u);
    const auto bill = u.billZeilen();
    ASSERT_EQ(bill.size(), faelle.size());
    for (size_t i = 0; i < faelle.size(); ++i) {
        EXPECT_EQ(bill[i][2].toStdString(), faelle[i].nummer);
        EXPECT_EQ(bill[i][4].toStdString(), faelle[i].sekunden);
        EXPECT_EQ(bill[i][1], QStringLiteral("(Internnummer) "));
    }
}

TEST(EinlesenParadox, RowsWithFlagsOtherThanZeroAreNeverImported)
{
    QuellUmgebung u;
    u.paradox({paradoxAnruf("2009-03-21 10:00:00", 21, 0, QStringLiteral("030")),
               paradoxAnruf("2009-03-21 11:00:00", 21, 1, QStringLiteral("031")),
               paradoxAnruf("2009-03-21 12:00:00", 23, 4, QStringLiteral("032"))});
    EXPECT_EQ(alleEinlesen(u).anzahl, 1);
    EXPECT_EQ(u.billZeilen().at(0)[2].trimmed(), QStringLiteral("030"));
    AnrufListe liste;
    EXPECT_EQ(tkBillEinlesen(u.state(), u.quellen, QStringLiteral("23"), QStringLiteral("alle"), liste).anzahl, 0);
}

TEST(EinlesenParadox, StartWithoutDatePassesOnlyWithoutLimit)
{
    QuellUmgebung u;
    BillAnruf ohneDatum = paradoxAnruf("2009-03-21 10:00:00", 21);
    ohneDatum.datum = QDate();
    u.paradox({ohneDatum, paradoxAnruf("2009-03-21 10:00:00", 21)});
    EXPECT_EQ(alleEinlesen(u).anzahl, 2);
    EXPECT_EQ(alleEinlesen(u, QStringLiteral("01.01.2000")).anzahl, 1);
}

TEST(EinlesenParadox, StagingTableWithoutAColumnGivesAMessageNamingIt)
{
    for (const char* fehlt : {"flags", "Tln#", "Rufnummer", "Dauer", "line"}) {
        QuellUmgebung u;
        u.paradox({paradoxAnruf("2009-03-21 10:00:00", 21)});
        u.lokal()->exec(QStringLiteral("ALTER TABLE paradox DROP COLUMN %1").arg(sqlName(QString::fromUtf8(fehlt))).toStdString());
        EXPECT_FEHLER(alleEinlesen(u), QStringLiteral("\"%1\"").arg(QString::fromUtf8(fehlt)));
    }
}

// ---- SQLite rules -------------------------------------------------------

TEST(EinlesenSqlite, ValuesAreCopiedUnchanged)
{
    QuellUmgebung u;
    u.sqlite("CREATE TABLE stdbill (id INTEGER PRIMARY KEY, time TEXT, user INTEGER, username TEXT, number TEXT, "
             "duration TEXT, lineno TEXT);"
             "INSERT INTO stdbill (time, user, username, number, duration, lineno) VALUES "
             "('2009-03-21 14:30:00', 21, 'Müller ', '', '0125', ' 2'), "
             "('2009-03-21 14:31:00', 21, NULL, '+49 30 123', '7', NULL), "
             "('2009-03-21 14:32:00', 21, 'Müller ', NULL, NULL, '1')");
    alleEinlesen(u);
    const std::vector<QStringList> soll = {
        {"21", "Müller ", "", "2009-03-21 14:30:00", "0125", " 2"},
        {"21", "", "+49 30 123", "2009-03-21 14:31:00", "7", ""},
        // Without number it is no internal call, and it must not be priced as one.
        {"21", "Müller ", "unbekannt", "2009-03-21 14:32:00", "0", "1"},
    };
    EXPECT_ZEILEN(u.billZeilen(), soll);
}

TEST(EinlesenSqlite, StartThatIsNoDateSortsFirstAndPassesOnlyWithoutLimit)
{
    QuellUmgebung u;
    u.sqlite({{zeit("2009-03-21 14:30:00"), 21}, {zeit("2009-03-21 14:31:00"), 21}});
    SQLite::Database(QFile::encodeName(u.billDatei()).toStdString(), SQLite::OPEN_READWRITE)
        .exec("INSERT INTO stdbill (time, user, username, number, duration, lineno) VALUES ('kaputt', 21, 'x', '', 1, 1)");
    EXPECT_EQ(alleEinlesen(u).anzahl, 3);
    EXPECT_EQ(u.billZeilen().front()[3], QStringLiteral("kaputt"));
    EXPECT_EQ(alleEinlesen(u, QStringLiteral("01.01.2009")).anzahl, 2);
}

// A source that is no database, lacks `stdbill` or one of its columns, or is
// missing gives a message and leaves the old table; a missing file is not created.
TEST(EinlesenSqlite, DamagedUnexpectedOrMissingSourceGivesAMessageAndKeepsTheOldTable)
{
    QuellUmgebung u;
    u.sqlite({{zeit("2009-03-21 14:30:00"), 21, QStringLiteral("A"), QStringLiteral("030"), 10, 1}});
    alleEinlesen(u);
    const auto vorher = u.billZeilen();
    ASSERT_EQ(vorher.size(), 1u);
    const std::pair<const char*, const char*> faelle[] = {
        {nullptr, "keine SQLite-Datenbank"}, // the file holds no database
        {"CREATE TABLE andere (x)", "keine Tabelle \"stdbill\""},
        {"CREATE TABLE stdbill (id, time, user, username, number, lineno)", "\"duration\""},
    };
    for (const auto& [aufbau, imText] : faelle) {
        if (aufbau)
            u.sqlite(aufbau);
        else
            u.ordner.writeFile(QStringLiteral("dbf/bill.db"), QByteArray(4096, 'x'));
        EXPECT_FEHLER(alleEinlesen(u), imText);
        EXPECT_ZEILEN(u.billZeilen(), vorher);
    }
    u.state().Billpfad = u.ordner.file(QStringLiteral("dbf/fehlt.db"));
    EXPECT_FEHLER(alleEinlesen(u), "fehlt.db");
    EXPECT_ZEILEN(u.billZeilen(), vorher);
    EXPECT_FALSE(u.ordner.exists(QStringLiteral("dbf/fehlt.db")));
}

// A write the local database refuses as a whole (the file cannot grow, the
// folder is read-only) keeps the old table and names the real cause.
TEST(EinlesenSqlite, AFailedWriteKeepsTheOldTableAndNamesItsCause)
{
    QuellUmgebung u;
    u.sqlite({{zeit("2009-03-21 14:30:00"), 21, QStringLiteral("A"), QStringLiteral("030"), 10, 1}});
    alleEinlesen(u);
    const auto vorher = u.billZeilen();
    u.sqlite(beispielStdbill(40000, 2)); // more than SQLite's cache: it writes while the import runs
    const QString lokal = u.ordner.file(QStringLiteral("Datenbank/Bill.sqlite"));
    {
        DateiGroessenGrenze grenze(QFileInfo(lokal).size() + 20001);
        const auto e = alleEinlesen(u);
        EXPECT_EQ(e.anzahl, 0);
        EXPECT_TRUE(e.fehler.value_or(QString()).contains(QStringLiteral("hat der Datenträger einen Fehler gemeldet")))
            << e.fehler.value_or(QString()).toStdString();
    }
    EXPECT_ZEILEN(u.billZeilen(), vorher);

    const auto rx = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(u.ordner.path(), rx | QFileDevice::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(u.ordner.file(QStringLiteral("Datenbank")), rx));
    const bool gemeldet = ohneRootRechte([&] {
        const auto e = alleEinlesen(u);
        return e.fehler && e.fehler->contains(QStringLiteral("schreibgeschützt")) && e.anzahl == 0;
    });
    QFile::setPermissions(u.ordner.file(QStringLiteral("Datenbank")), rx | QFileDevice::WriteOwner);
    EXPECT_TRUE(gemeldet);
    EXPECT_ZEILEN(u.billZeilen(), vorher);
}

TEST(EinlesenSqlite, OpensTheDataSourceThatAnsweredAtStart)
{
    for (int istSQLite3 : {0, 1}) {
        QuellUmgebung u;
        u.sqlite({{zeit("2009-03-21 14:30:00"), 21}});
        u.state().IstSQLite3 = istSQLite3;
        AuswahlQuellen quellen;
        alleEinlesen(u, quellen);
        const QString dsn = istSQLite3 ? QStringLiteral("DSN=SQLite3 Datasource;") : QStringLiteral("DSN=SQLite Datasource;");
        EXPECT_TRUE(quellen.verlangt().filter(dsn).size() == 1) << quellen.verlangt().join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(quellen.verlangt().filter(QStringLiteral("Database=") + u.billDatei() + QLatin1Char(';')).size(), 1);
    }
}

TEST(AnrufListe, ShowsTheNamedLinesOfABufferInTheirOrder)
{
    AnrufPuffer p;
    for (int i = 0; i < 3000; ++i) // more than one block of memory
        p.zeile(Anruf{QString::number(i), QStringLiteral("Name mit Ümlaut"), QString(1000, QLatin1Char('7')),
                      QStringLiteral("t"), QStringLiteral("1"), QStringLiteral("2")});
    AnrufListe liste;
    liste.setzen(std::move(p), std::vector<int>{2999, 0, 17});
    ASSERT_EQ(liste.rowCount(), 3);
    EXPECT_EQ(liste.anruf(0).user, QStringLiteral("2999"));
    EXPECT_EQ(liste.anruf(1).username, QStringLiteral("Name mit Ümlaut"));
    EXPECT_EQ(liste.anruf(2).number.size(), 1000);
    liste.setzen(AnrufPuffer(), std::vector<int>{});
    EXPECT_EQ(liste.rowCount(), 0);
}

} // namespace
