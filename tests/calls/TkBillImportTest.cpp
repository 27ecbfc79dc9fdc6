#include "calls/AnrufListe.h"
#include "calls/TkBillImport.h"
#include "calls/TkBillQuelle.h"

#include "SourceBuilders.h"

#include <QTimeZone>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <algorithm>

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

class Einlesen : public ::testing::TestWithParam<Art> {
protected:
    void SetUp() override
    {
        const Art& a = GetParam();
        if (a.paradox) {
            std::vector<BillAnruf> zeilen;
            for (const auto& t : kAnrufe) {
                BillAnruf b;
                b.datum = zeit(t.start).date();
                b.zeit = zeit(t.start).time();
                b.tln = t.nebenstelle;
                b.rufnummer = QString::fromLatin1(t.nummer);
                b.dauer = QTime(0, 0).addSecs(t.sekunden).toString(QStringLiteral("hh:mm:ss"));
                b.line = t.leitung;
                zeilen.push_back(b);
            }
            u.paradox(zeilen);
        } else {
            std::vector<StdbillAnruf> zeilen;
            for (const auto& t : kAnrufe)
                zeilen.push_back({zeit(t.start), t.nebenstelle, QStringLiteral("Name %1").arg(t.nebenstelle),
                                  QString::fromLatin1(t.nummer), t.sekunden, t.leitung});
            u.sqlite(zeilen, a.optionen);
        }
    }

    // What the import writes for a call of the test set.
    QStringList erwartet(const Testanruf& t) const
    {
        const Art& a = GetParam();
        const QString start = a.paradox ? zeit(t.start).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                                        : stdbillZeit(zeit(t.start), a.optionen.zeit);
        // Paradox keeps an empty text as Null: the internal call's number is "unbekannt".
        const QString nummer = QString::fromLatin1(t.nummer);
        if (a.paradox)
            return {QString::number(t.nebenstelle), QStringLiteral("(Internnummer) "),
                    nummer.isEmpty() ? QStringLiteral("unbekannt") : nummer.leftJustified(18, QLatin1Char(' ')), start,
                    QString::number(t.sekunden), QString::number(t.leitung)};
        return {QString::number(t.nebenstelle), QStringLiteral("Name %1").arg(t.nebenstelle),
                QString::fromLatin1(t.nummer), start, QString::number(t.sekunden), QString::number(t.leitung)};
    }

    // The calls of the set that pass, in the order the import must give.
    std::vector<QStringList> erwartet(int nebenstelle, const char* ab) const
    {
        std::vector<Testanruf> passend;
        for (const auto& t : kAnrufe)
            if ((nebenstelle == 0 || t.nebenstelle == nebenstelle) && (!ab || zeit(t.start) >= zeit(ab)))
                passend.push_back(t);
        std::stable_sort(passend.begin(), passend.end(), [](const Testanruf& x, const Testanruf& y) {
            return std::pair(x.nebenstelle, zeit(x.start)) < std::pair(y.nebenstelle, zeit(y.start));
        });
        std::vector<QStringList> z;
        for (const auto& t : passend)
            z.push_back(erwartet(t));
        return z;
    }

    // The entry the extension list offers.
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

TEST_P(Einlesen, AllCallsOrderedByExtensionThenStart)
{
    for (const QString& keine : {QStringLiteral("alle"), QString()}) {
        const auto e = einlesen(keine, keine);
        EXPECT_FALSE(e.fehler.has_value());
        const auto soll = erwartet(0, nullptr);
        EXPECT_EQ(e.anzahl, static_cast<std::int64_t>(soll.size()));
        EXPECT_ZEILEN(u.billZeilen(), soll);
        EXPECT_ZEILEN(listenZeilen(), soll);
    }
}

TEST_P(Einlesen, ExtensionEntryOfTheListLimitsToThatExtension)
{
    for (int n : {21, 22, 35}) {
        const auto e = einlesen(eintrag(n), QStringLiteral("alle"));
        EXPECT_ZEILEN(u.billZeilen(), erwartet(n, nullptr)) << n;
        EXPECT_EQ(e.anzahl, static_cast<std::int64_t>(erwartet(n, nullptr).size()));
    }
    // The bare number and blanks around it mean the same extension.
    einlesen(QStringLiteral(" 22 "), QString());
    EXPECT_ZEILEN(u.billZeilen(), erwartet(22, nullptr));
}

TEST_P(Einlesen, DateLimitTakesCallsFromThatSecondOn)
{
    for (const QString& ab : {QStringLiteral("21.03.2009 14:30:00"), QStringLiteral("2009-03-21 14:30:00")}) {
        einlesen(QStringLiteral("alle"), ab);
        EXPECT_ZEILEN(u.billZeilen(), erwartet(0, "2009-03-21 14:30:00")) << ab.toStdString();
    }
    einlesen(eintrag(21), QStringLiteral("21.03.2009 14:30:00"));
    const auto soll = erwartet(21, "2009-03-21 14:30:00");
    ASSERT_EQ(soll.size(), 3u); // 14:30:00, 14:30:01 and the next day; not 14:29:59
    EXPECT_ZEILEN(u.billZeilen(), soll);
    // A date alone starts at midnight.
    einlesen(QStringLiteral("alle"), QStringLiteral("01.01.2010"));
    EXPECT_ZEILEN(u.billZeilen(), erwartet(0, "2010-01-01 00:00:00"));
}

TEST_P(Einlesen, NothingPassingLeavesTableListAndCountEmpty)
{
    einlesen(QStringLiteral("alle"), QStringLiteral("alle"));
    ASSERT_FALSE(u.billZeilen().empty());
    for (const auto& [nebenstelle, ab] : {std::pair(QStringLiteral("99"), QStringLiteral("alle")),
                                          std::pair(QStringLiteral("alle"), QStringLiteral("01.01.2011 00:00:00"))}) {
        const auto e = einlesen(nebenstelle, ab);
        EXPECT_EQ(e.anzahl, 0);
        EXPECT_FALSE(e.fehler.has_value());
        EXPECT_TRUE(u.billZeilen().empty());
        EXPECT_EQ(liste.rowCount(), 0);
    }
}

TEST_P(Einlesen, SecondImportReplacesTheFirstAndEmptiesTheCostColumns)
{
    einlesen(QStringLiteral("alle"), QStringLiteral("alle"));
    u.lokal()->exec("UPDATE bill SET costs = 1.5, ucosts = 1.8, ucostsBrutto = 2.1, rufziel = 'Ort', "
                    "vergleichsnummer = '030'");
    const auto e = einlesen(QStringLiteral("alle"), QStringLiteral("alle"));
    EXPECT_EQ(e.anzahl, static_cast<std::int64_t>(kAnrufe.size()));
    EXPECT_ZEILEN(u.billZeilen(), erwartet(0, nullptr));
    EXPECT_EQ(liste.rowCount(), static_cast<int>(kAnrufe.size()));
    EXPECT_EQ(u.lokal()->execAndGet("SELECT count(*) FROM bill WHERE costs IS NOT NULL OR ucosts IS NOT NULL OR "
                                    "ucostsBrutto IS NOT NULL OR rufziel IS NOT NULL OR vergleichsnummer IS NOT NULL")
                  .getInt(),
              0);
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
    for (const Falsch& f : {Falsch{"Zentrale", "alle", "Nebenstelle"}, Falsch{"abc  |  21", "alle", "Nebenstelle"},
                            Falsch{"21) OR (1=1", "alle", "Nebenstelle"}, Falsch{"|", "alle", "Nebenstelle"},
                            Falsch{"21.5", "alle", "Nebenstelle"}, Falsch{"alle", "gestern", "Datum"},
                            Falsch{"alle", "32.01.2009 10:00:00", "Datum"}, Falsch{"Alle", "alle", "Nebenstelle"},
                            Falsch{"alle", "ALLE", "Datum"}}) {
        try {
            einlesen(QString::fromUtf8(f.nebenstelle), QString::fromUtf8(f.datum));
            ADD_FAILURE() << "accepted " << f.nebenstelle << " / " << f.datum;
        } catch (const QuellFehler& e) {
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(f.imText))) << e.text().toStdString();
        }
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
    auto soll = erwartet(0, nullptr);
    soll.resize(4);
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

struct Nummernfall {
    std::optional<QString> rufnummer;
    QString gespeichert;
};

TEST(EinlesenParadox, NumberIsPaddedTo18OrUnbekannt)
{
    const std::vector<Nummernfall> faelle = {
        {QStringLiteral("0301234"), QStringLiteral("0301234           ")},
        {QStringLiteral("012345678901234567"), QStringLiteral("012345678901234567")},
        {QStringLiteral("01234567890123456789"), QStringLiteral("01234567890123456789")},
        {std::nullopt, QStringLiteral("unbekannt")},
    };
    QuellUmgebung u;
    std::vector<BillAnruf> zeilen;
    for (size_t i = 0; i < faelle.size(); ++i)
        zeilen.push_back(paradoxAnruf("2009-03-21 10:00:00", 21 + int(i), 0, faelle[i].rufnummer,
                                      QStringLiteral("00:00:10")));
    u.paradox(zeilen);
    AnrufListe liste;
    tkBillEinlesen(u.state(), u.quellen, QStringLiteral("alle"), QStringLiteral("alle"), liste);
    const auto bill = u.billZeilen();
    ASSERT_EQ(bill.size(), faelle.size());
    for (size_t i = 0; i < faelle.size(); ++i) {
        EXPECT_EQ(bill[i][2], faelle[i].gespeichert);
        EXPECT_EQ(bill[i][2].size(), faelle[i].gespeichert.size());
    }
}

TEST(EinlesenParadox, DurationInSecondsAndNullAsZero)
{
    struct Fall {
        std::optional<QString> dauer;
        const char* sekunden;
    };
    const std::vector<Fall> faelle = {{QStringLiteral("00:02:05"), "125"}, {QStringLiteral("01:00:00"), "3600"},
                                      {QStringLiteral("00:00:00"), "0"},   {std::nullopt, "0"},
                                      {QStringLiteral("12:34:56"), "45296"}};
    QuellUmgebung u;
    std::vector<BillAnruf> zeilen;
    for (size_t i = 0; i < faelle.size(); ++i)
        zeilen.push_back(paradoxAnruf("2009-03-21 10:00:00", 21 + int(i), 0, QStringLiteral("030"), faelle[i].dauer));
    u.paradox(zeilen);
    AnrufListe liste;
    tkBillEinlesen(u.state(), u.quellen, QStringLiteral("alle"), QStringLiteral("alle"), liste);
    const auto bill = u.billZeilen();
    ASSERT_EQ(bill.size(), faelle.size());
    for (size_t i = 0; i < faelle.size(); ++i) {
        EXPECT_EQ(bill[i][4].toStdString(), faelle[i].sekunden);
        EXPECT_EQ(bill[i][1], QStringLiteral("(Internnummer) "));
    }
}

TEST(EinlesenParadox, RowsWithFlagsOtherThanZeroAreNeverImported)
{
    QuellUmgebung u;
    u.paradox({paradoxAnruf("2009-03-21 10:00:00", 21, 0, QStringLiteral("030"), QStringLiteral("00:00:10")),
               paradoxAnruf("2009-03-21 11:00:00", 21, 1, QStringLiteral("031"), QStringLiteral("00:00:10")),
               paradoxAnruf("2009-03-21 12:00:00", 23, 4, QStringLiteral("032"), QStringLiteral("00:00:10"))});
    AnrufListe liste;
    for (const auto& [nebenstelle, ab] :
         {std::pair(QStringLiteral("alle"), QStringLiteral("alle")), std::pair(QStringLiteral("21  |  (Internnummer) "),
                                                                                QStringLiteral("2009-03-21 10:30:00")),
          std::pair(QStringLiteral("23"), QStringLiteral("alle"))}) {
        tkBillEinlesen(u.state(), u.quellen, nebenstelle, ab, liste);
        for (const auto& z : u.billZeilen())
            EXPECT_EQ(z[2].trimmed(), QStringLiteral("030"));
    }
}

TEST(EinlesenParadox, StartWithoutDatePassesOnlyWithoutLimit)
{
    QuellUmgebung u;
    BillAnruf ohneDatum = paradoxAnruf("2009-03-21 10:00:00", 21, 0, QStringLiteral("030"), QStringLiteral("00:00:10"));
    ohneDatum.datum = QDate();
    u.paradox({ohneDatum, paradoxAnruf("2009-03-21 10:00:00", 21, 0, QStringLiteral("040"), QStringLiteral("00:00:10"))});
    AnrufListe liste;
    EXPECT_EQ(tkBillEinlesen(u.state(), u.quellen, QStringLiteral("alle"), QStringLiteral("alle"), liste).anzahl, 2);
    EXPECT_EQ(tkBillEinlesen(u.state(), u.quellen, QStringLiteral("alle"), QStringLiteral("01.01.2000"), liste).anzahl,
              1);
}

TEST(EinlesenParadox, StagingTableWithoutAColumnGivesAMessageNamingIt)
{
    for (const char* fehlt : {"flags", "Tln#", "Rufnummer", "Dauer", "line"}) {
        QuellUmgebung u;
        u.paradox({paradoxAnruf("2009-03-21 10:00:00", 21, 0, QStringLiteral("030"), QStringLiteral("00:00:10"))});
        u.lokal()->exec(QStringLiteral("ALTER TABLE paradox DROP COLUMN %1").arg(sqlName(QString::fromUtf8(fehlt))).toStdString());
        AnrufListe liste;
        try {
            tkBillEinlesen(u.state(), u.quellen, QStringLiteral("alle"), QStringLiteral("alle"), liste);
            ADD_FAILURE() << "imported without " << fehlt;
        } catch (const QuellFehler& e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("\"%1\"").arg(QString::fromUtf8(fehlt)))) << e.text().toStdString();
        }
    }
}

// ---- SQLite rules -------------------------------------------------------

TEST(EinlesenSqlite, ValuesAreCopiedUnchanged)
{
    QuellUmgebung u;
    auto db = std::make_unique<SQLite::Database>(QFile::encodeName(u.billDatei()).toStdString(),
                                                 SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db->exec("CREATE TABLE stdbill (id INTEGER PRIMARY KEY, time TEXT, user INTEGER, username TEXT, number TEXT, "
             "duration TEXT, lineno TEXT)");
    db->exec("INSERT INTO stdbill (time, user, username, number, duration, lineno) VALUES "
             "('2009-03-21 14:30:00', 21, 'Müller ', '', '0125', ' 2'), "
             "('2009-03-21 14:31:00', 21, NULL, '+49 30 123', '7', NULL)");
    db.reset();
    u.state().Billpfad = u.billDatei();
    u.state().IstSQLite3 = 1;
    AnrufListe liste;
    tkBillEinlesen(u.state(), u.quellen, QStringLiteral("alle"), QStringLiteral("alle"), liste);
    const std::vector<QStringList> soll = {
        {"21", "Müller ", "", "2009-03-21 14:30:00", "0125", " 2"},
        {"21", "", "+49 30 123", "2009-03-21 14:31:00", "7", ""},
    };
    EXPECT_ZEILEN(u.billZeilen(), soll);
}

TEST(EinlesenSqlite, StartThatIsNoDateSortsFirstAndPassesOnlyWithoutLimit)
{
    QuellUmgebung u;
    u.sqlite({{zeit("2009-03-21 14:30:00"), 21}, {zeit("2009-03-21 14:31:00"), 21}});
    SQLite::Database(QFile::encodeName(u.billDatei()).toStdString(), SQLite::OPEN_READWRITE)
        .exec("INSERT INTO stdbill (time, user, username, number, duration, lineno) VALUES ('kaputt', 21, 'x', '', 1, 1)");
    AnrufListe liste;
    EXPECT_EQ(tkBillEinlesen(u.state(), u.quellen, QStringLiteral("alle"), QStringLiteral("alle"), liste).anzahl, 3);
    EXPECT_EQ(u.billZeilen().front()[3], QStringLiteral("kaputt"));
    EXPECT_EQ(tkBillEinlesen(u.state(), u.quellen, QStringLiteral("alle"), QStringLiteral("01.01.2009"), liste).anzahl, 2);
}

TEST(EinlesenSqlite, ExtensionsComeInTheOrderSqliteGivesThemThenByStart)
{
    // A column without type keeps every kind of value: Null, whole and
    // broken numbers, texts. Numbers come before texts, texts byte by byte.
    QuellUmgebung u;
    {
        SQLite::Database db(QFile::encodeName(u.billDatei()).toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        db.exec("CREATE TABLE stdbill (id INTEGER PRIMARY KEY, time TEXT, user, username TEXT, number TEXT, "
                "duration INTEGER, lineno INTEGER)");
        db.exec("INSERT INTO stdbill (time, user, username, number, duration, lineno) VALUES "
                "('02.01.2024 10:00:00', 'abc', 'a', '1', 1, 1), ('01.01.2024 10:00:00', 21, 'b', '2', 1, 1), "
                "('31.12.2023 10:00:00', 21, 'c', '3', 1, 1), ('01.01.2024 10:00:00', NULL, 'd', '4', 1, 1), "
                "('01.01.2024 10:00:00', 3.5, 'e', '5', 1, 1), ('01.01.2024 10:00:00', '100', 'f', '6', 1, 1), "
                "('01.01.2024 09:00:00', 5, 'g', '7', 1, 1), ('01.01.2024 10:00:00', 21, 'h', '8', 1, 1), "
                "('01.01.2024 10:00:00', 'Abc', 'i', '9', 1, 1)");
    }
    u.state().Billpfad = u.billDatei();
    u.state().IstSQLite3 = 1;
    AnrufListe liste;
    tkBillEinlesen(u.state(), u.quellen, QStringLiteral("alle"), QStringLiteral("alle"), liste);
    QStringList nummern;
    for (const auto& z : u.billZeilen())
        nummern << z[2];
    // Null, 3.5, 5, 21 (31.12. before the two calls of 01.01. in table order), "100", "Abc", "abc".
    EXPECT_ZEILEN(nummern, QStringList({"4", "5", "7", "3", "2", "8", "6", "9", "1"}));
}

struct Quellfehler {
    const char* name;
    const char* aufbau; // SQL run on a new file; nullptr: the file holds no database
    const char* imText;
};

class EinlesenSqliteQuelle : public ::testing::TestWithParam<Quellfehler> {};

TEST_P(EinlesenSqliteQuelle, DamagedOrUnexpectedSourceGivesAMessageAndKeepsTheOldTable)
{
    const auto& f = GetParam();
    QuellUmgebung u;
    u.sqlite({{zeit("2009-03-21 14:30:00"), 21, QStringLiteral("A"), QStringLiteral("030"), 10, 1}});
    AnrufListe liste;
    tkBillEinlesen(u.state(), u.quellen, QStringLiteral("alle"), QStringLiteral("alle"), liste);
    const auto vorher = u.billZeilen();
    ASSERT_EQ(vorher.size(), 1u);

    QFile::remove(u.billDatei());
    if (f.aufbau) {
        SQLite::Database(QFile::encodeName(u.billDatei()).toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE)
            .exec(f.aufbau);
    } else {
        u.ordner.writeFile(QStringLiteral("dbf/bill.db"), QByteArray(4096, 'x'));
    }
    try {
        tkBillEinlesen(u.state(), u.quellen, QStringLiteral("alle"), QStringLiteral("alle"), liste);
        ADD_FAILURE() << "no message";
    } catch (const QuellFehler& e) {
        EXPECT_TRUE(e.text().contains(QString::fromUtf8(f.imText))) << e.text().toStdString();
    }
    EXPECT_ZEILEN(u.billZeilen(), vorher);
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, EinlesenSqliteQuelle,
    ::testing::Values(
        Quellfehler{"NoDatabase", nullptr, "keine SQLite-Datenbank"},
        Quellfehler{"NoStdbill", "CREATE TABLE andere (x)", "keine Tabelle \"stdbill\""},
        Quellfehler{"NoDuration",
                    "CREATE TABLE stdbill (id, time, user, username, number, lineno)", "\"duration\""},
        Quellfehler{"NoTime", "CREATE TABLE stdbill (id, user, username, number, duration, lineno)", "\"time\""}),
    [](const ::testing::TestParamInfo<Quellfehler>& i) { return std::string(i.param.name); });

TEST(EinlesenSqlite, MissingFileIsReportedAndNotCreated)
{
    QuellUmgebung u;
    u.state().Billpfad = u.ordner.file(QStringLiteral("dbf/fehlt.db"));
    u.state().IstSQLite3 = 1;
    AnrufListe liste;
    EXPECT_THROW(tkBillEinlesen(u.state(), u.quellen, QStringLiteral("alle"), QStringLiteral("alle"), liste),
                 QuellFehler);
    EXPECT_FALSE(u.ordner.exists(QStringLiteral("dbf/fehlt.db")));
}

TEST(EinlesenSqlite, OpensTheDataSourceThatAnsweredAtStart)
{
    for (int istSQLite3 : {0, 1}) {
        QuellUmgebung u;
        u.sqlite({{zeit("2009-03-21 14:30:00"), 21}});
        u.state().IstSQLite3 = istSQLite3;
        AuswahlQuellen quellen;
        AnrufListe liste;
        tkBillEinlesen(u.state(), quellen, QStringLiteral("alle"), QStringLiteral("alle"), liste);
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
