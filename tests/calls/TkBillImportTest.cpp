#include "calls/Auswahl.h"
#include "calls/TkBillFilter.h"
#include "calls/TkBillImport.h"

#include "SourceBuilders.h"

#include <QFile>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

struct Testanruf {
    const char* start;
    int nebenstelle;
    const char* nummer;
    int sekunden, leitung; // sekunden -1: Null (Paradox) or 0
    int flags = 0; // Paradox only: a row with flags other than 0 is no call
};

// Stored in this (scrambled) order. The year change catches text order of
// the German form. Paradox pads a number to 18 characters and keeps a longer one.
const std::vector<Testanruf> kAnrufe = {
    {"2009-03-21 14:30:01", 21, "0301234567", 65, 1},  {"2009-01-05 10:00:00", 22, "08912345", 3600, 2},
    {"2008-12-31 23:59:59", 21, "01711234567", 5, 1},  {"2009-03-22 08:00:00", 21, "012345678901234567", 45296, 2},
    {"2009-03-21 14:29:59", 21, "0401111", 59, 1},     {"2009-03-21 14:30:00", 22, "", 20, 0},
    {"2009-03-21 14:30:00", 21, "02212222", 61, 1},    {"2010-01-02 07:00:00", 35, "01234567890123456789", 300, 2},
    {"2009-02-28 16:45:00", 35, "069777", -1, 1},      {"2009-03-21 12:00:00", 40, "0309", 10, 1, 1},
};

struct Art {
    const char* name;
    bool paradox;
    StdbillOptionen optionen;
    int istSQLite3 = 1; // the data source that answered at start
};
void PrintTo(const Art& a, std::ostream* os) { *os << a.name; }

// The list entry of an extension (eintrag) or a typed text, a start, and
// the calls that must come out, by their place in kAnrufe; or the part of
// the message that refuses the selection (the old table stays).
struct Auswahl {
    int eintrag;
    const char* text;
    const char* ab;
    std::vector<size_t> soll;
    const char* fehler = nullptr;
};

const Auswahl kAuswahlen[] = {
    {0, "alle", "alle", {2, 4, 6, 0, 3, 1, 5, 8, 7}},     {0, "abc  |  21", "alle", {}, "Nebenstelle"},
    {0, "", "", {2, 4, 6, 0, 3, 1, 5, 8, 7}},             {0, "21) OR (1=1", "alle", {}, "Nebenstelle"},
    {21, nullptr, "alle", {2, 4, 6, 0, 3}},               {0, "21.5", "alle", {}, "Nebenstelle"},
    {35, nullptr, "alle", {8, 7}},                        {0, "Alle", "alle", {}, "Nebenstelle"},
    {0, " 22 ", "", {1, 5}},                              {0, "alle", "gestern", {}, "Datum"},
    {0, "alle", "21.03.2009 14:30:00", {6, 0, 3, 5, 7}},  {0, "alle", "32.01.2009 10:00:00", {}, "Datum"},
    {0, "alle", "2009-03-21 14:30:00", {6, 0, 3, 5, 7}},  {21, nullptr, "21.03.2009 14:30:00", {6, 0, 3}},
    {0, "alle", "01.01.2010", {7}}, /* midnight */        {0, "99", "alle", {}},
    {0, "alle", "01.01.2011 00:00:00", {}},
};

class Einlesen : public ::testing::TestWithParam<Art> {
protected:
    void SetUp() override
    {
        std::vector<BillAnruf> paradox;
        std::vector<StdbillAnruf> sqlite;
        for (const auto& t : kAnrufe) {
            const auto dauer = t.sekunden < 0 ? std::nullopt : std::optional(QTime(0, 0).addSecs(t.sekunden).toString(QStringLiteral("hh:mm:ss")));
            paradox.push_back(paradoxAnruf(t.start, t.nebenstelle, t.flags, QString::fromLatin1(t.nummer), dauer, t.leitung));
            if (!t.flags)
                sqlite.push_back({utcZeit(t.start), t.nebenstelle, QStringLiteral("Name %1").arg(t.nebenstelle),
                                  QString::fromLatin1(t.nummer), std::max(t.sekunden, 0), t.leitung});
        }
        GetParam().paradox ? u.paradox(paradox) : u.sqlite(sqlite, GetParam().optionen);
        u.state().IstSQLite3 = GetParam().paradox ? 0 : GetParam().istSQLite3;
    }

    // What the import writes for the calls at these places of kAnrufe.
    std::vector<QStringList> erwartet(const std::vector<size_t>& stellen) const
    {
        std::vector<QStringList> z;
        for (size_t i : stellen) {
            const Testanruf& t = kAnrufe[i];
            const QString nummer = QString::fromLatin1(t.nummer); // Paradox keeps an empty text as Null
            const bool p = GetParam().paradox;
            z.push_back({QString::number(t.nebenstelle), p ? QStringLiteral("(Internnummer) ") : QStringLiteral("Name %1").arg(t.nebenstelle),
                         !p ? nummer : nummer.isEmpty() ? QStringLiteral("unbekannt") : nummer.leftJustified(18, QLatin1Char(' ')),
                         stdbillZeit(utcZeit(t.start), GetParam().optionen.zeit), QString::number(std::max(t.sekunden, 0)), QString::number(t.leitung)});
        }
        return z;
    }

    QString eintrag(int nebenstelle) const
    {
        return (GetParam().paradox ? QStringLiteral("%1  |  (Internnummer) ") : QStringLiteral("%1  |  Name %1")).arg(nebenstelle);
    }

    EinleseErgebnis einlesen(const QString& nebenstelle, const QString& datum)
    {
        return tkBillEinlesen(u.state(), quellen, nebenstelle, datum, liste);
    }

    // The list's lines in the column order of `bill`; each displayed line is
    // its six values joined by tabs.
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
    AuswahlQuellen quellen{{GetParam().istSQLite3 ? QStringLiteral("SQLite Datasource") : QStringLiteral("SQLite3 Datasource")}};
    AnrufListe liste;
};

// One import after the other: each replaces the table, the list and the
// count of the one before and leaves the cost columns empty.
TEST_P(Einlesen, SelectionGivesItsCallsByExtensionThenStartOrIsRefused)
{
    for (const Auswahl& a : kAuswahlen) {
        const QString nebenstelle = a.eintrag ? eintrag(a.eintrag) : QString::fromUtf8(a.text);
        SCOPED_TRACE(nebenstelle.toStdString() + " / " + a.ab);
        u.lokal()->exec("UPDATE bill SET costs = 1, ucosts = 1, ucostsBrutto = 1, rufziel = 'Ort', vergleichsnummer = '0'");
        const auto vorher = u.billZeilen();
        const int listeVorher = liste.rowCount();
        if (a.fehler) {
            EXPECT_FEHLER(einlesen(nebenstelle, QString::fromUtf8(a.ab)), a.fehler);
            EXPECT_ZEILEN(u.billZeilen(), vorher);
            EXPECT_EQ(liste.rowCount(), listeVorher);
            continue;
        }
        const auto e = einlesen(nebenstelle, QString::fromUtf8(a.ab));
        const auto soll = erwartet(a.soll);
        EXPECT_FALSE(e.fehler.has_value());
        EXPECT_EQ(e.anzahl, static_cast<std::int64_t>(soll.size()));
        EXPECT_ZEILEN(u.billZeilen(), soll);
        EXPECT_ZEILEN(listenZeilen(), soll);
        EXPECT_EQ(u.lokal()->execAndGet("SELECT count(costs) + count(ucosts) + count(ucostsBrutto) + count(rufziel) + "
                                        "count(vergleichsnummer) FROM bill").getInt(), 0);
    }
}

// The fifth call cannot be stored. ABORT undoes that one insert: the calls
// before it stay. ROLLBACK undoes the whole import, as SQLite does after a
// full disk or an I/O error: the table before the import is back.
TEST_P(Einlesen, AFailedWriteKeepsWhatTheDatabaseKeptAndNamesTheCause)
{
    einlesen(QStringLiteral("35"), QStringLiteral("alle"));
    struct Fall {
        const char* aktion;
        std::int64_t anzahl;
        const char* text;
    };
    for (const Fall& f : {Fall{"ROLLBACK", 0, "konnten nicht in die lokale Datenbank geschrieben werden"},
                          Fall{"ABORT", 4, "nach 4 Datensätzen abgebrochen"}}) {
        u.lokal()->exec(std::string("DROP TRIGGER IF EXISTS voll; CREATE TRIGGER voll BEFORE INSERT ON bill WHEN "
                                    "(SELECT count(*) FROM bill) >= 4 BEGIN SELECT RAISE(")
                        + f.aktion + ", 'Datenträger voll'); END");
        const auto vorher = u.billZeilen();
        const auto e = einlesen(QStringLiteral("alle"), QStringLiteral("alle"));
        const QString text = e.fehler.value_or(QString());
        EXPECT_TRUE(text.contains(QStringLiteral("Datenträger voll")) && text.contains(QString::fromUtf8(f.text)))
            << text.toStdString();
        EXPECT_EQ(e.anzahl, f.anzahl);
        EXPECT_ZEILEN(u.billZeilen(), f.anzahl ? erwartet({2, 4, 6, 0}) : vorher);
        EXPECT_ZEILEN(listenZeilen(), f.anzahl ? erwartet({2, 4, 6, 0}) : std::vector<QStringList>{});
    }
}

// The lists of the two selections: "alle", then each extension; "alle",
// then the starts in time order, as the source writes them (Paradox: each
// moment once per extension).
TEST_P(Einlesen, ListsHoldTheExtensionsAndTheStartsOfTheCalls)
{
    EXPECT_ZEILEN(nebenstellenEintraege(u.state(), quellen), QStringList({"alle", eintrag(21), eintrag(22), eintrag(35)}));
    const auto starts = [&](const std::vector<size_t>& stellen) {
        QStringList z{QStringLiteral("alle")};
        for (size_t i : stellen)
            z << stdbillZeit(utcZeit(kAnrufe[i].start), GetParam().optionen.zeit);
        return z;
    };
    EXPECT_ZEILEN(datumEintraege(u.state(), quellen, QStringLiteral("alle")),
                  starts(GetParam().paradox ? std::vector<size_t>{2, 1, 8, 4, 5, 6, 0, 3, 7} : std::vector<size_t>{2, 1, 8, 4, 6, 0, 3, 7}));
    EXPECT_ZEILEN(datumEintraege(u.state(), quellen, eintrag(21)), starts({2, 4, 6, 0, 3}));
}

INSTANTIATE_TEST_SUITE_P(
    Quellen, Einlesen,
    ::testing::Values(Art{"SqliteIsoInteger", false, {StdbillOptionen::User::Integer, StdbillOptionen::Zeit::Iso}},
                      Art{"SqliteIsoTextFromSQLite2", false, {StdbillOptionen::User::Text, StdbillOptionen::Zeit::Iso}, 0},
                      Art{"SqliteGermanInteger", false, {StdbillOptionen::User::Integer, StdbillOptionen::Zeit::Deutsch}},
                      Art{"SqliteGermanText", false, {StdbillOptionen::User::Text, StdbillOptionen::Zeit::Deutsch}},
                      Art{"Paradox", true, {}}),
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
    std::vector<QString> soll, ist;
    for (int i = 0; i < 60; ++i) {
        anrufe.push_back({utcZeit("2009-03-21 14:30:00"), i % 3 ? 21 : 20, QStringLiteral("A"), QStringLiteral("030%1").arg(i)});
        if (i % 3)
            soll.push_back(anrufe.back().number);
    }
    u.sqlite(anrufe);
    alleEinlesen(u);
    for (const auto& z : u.billZeilen())
        if (z[0] == QStringLiteral("21"))
            ist.push_back(z[2]);
    EXPECT_EQ(ist, soll);
}

// Rows as TK-Suite may write them: values are copied unchanged, a Null
// number is "unbekannt" (no internal call, which would be free), a Null
// duration "0"; a start that is no date sorts first and passes only without
// limit; an extension kept as text with blanks around it (" 21 ") is 21.
TEST(EinlesenSqlite, RowsAreTakenAsTheSourceHoldsThem)
{
    QuellUmgebung u;
    u.sqlite("CREATE TABLE stdbill (id INTEGER PRIMARY KEY, time TEXT, user TEXT, username TEXT, number TEXT, "
             "duration TEXT, lineno TEXT);"
             "INSERT INTO stdbill (time, user, username, number, duration, lineno) VALUES "
             "('2009-03-21 14:29:00', '22', 'B', '031', '1', '1'), ('2009-03-21 14:30:00', ' 21 ', 'Müller ', '', '0125', ' 2'), "
             "('2009-03-21 14:31:00', ' 21 ', NULL, '+49 30 123', '7', NULL), "
             "('2009-03-21 14:32:00', ' 21 ', 'Müller ', NULL, NULL, '1'), ('kaputt', ' 21 ', 'x', '', '1', '1')");
    alleEinlesen(u);
    EXPECT_ZEILEN(u.billZeilen(), std::vector<QStringList>({{" 21 ", "x", "", "kaputt", "1", "1"},
                                                            {" 21 ", "Müller ", "", "2009-03-21 14:30:00", "0125", " 2"},
                                                            {" 21 ", "", "+49 30 123", "2009-03-21 14:31:00", "7", ""},
                                                            {" 21 ", "Müller ", "unbekannt", "2009-03-21 14:32:00", "0", "1"},
                                                            {"22", "B", "031", "2009-03-21 14:29:00", "1", "1"}}));
    AnrufListe liste;
    EXPECT_EQ(tkBillEinlesen(u.state(), u.quellen, QStringLiteral("21  |  x"), QStringLiteral("01.01.2009"), liste).anzahl, 3);
    EXPECT_EQ(tkBillEinlesen(u.state(), u.quellen, kAlle, kAlle, liste, QStringLiteral("21.03.2009 14:31")).anzahl, 2); // before that
    EXPECT_ZEILEN(datumEintraege(u.state(), u.quellen, QStringLiteral("21")),
                  QStringList({"alle", "kaputt", "2009-03-21 14:30:00", "2009-03-21 14:31:00", "2009-03-21 14:32:00"}));
}

TEST(EinlesenParadox, StartWithoutDateSortsFirstAndPassesOnlyWithoutLimit)
{
    QuellUmgebung u;
    BillAnruf ohneDatum = paradoxAnruf("2009-03-21 10:09:00", 21);
    ohneDatum.datum = QDate();
    u.paradox({paradoxAnruf("2009-03-21 10:00:00", 21), ohneDatum});
    EXPECT_EQ(alleEinlesen(u, QStringLiteral("01.01.2000")).anzahl, 1);
    EXPECT_EQ(alleEinlesen(u).anzahl, 2);
    EXPECT_EQ(u.billZeilen().at(0).at(3), QStringLiteral(" 10:09:00"));
}

TEST(EinlesenParadox, StagingTableWithoutAColumnGivesAMessageNamingIt)
{
    for (const char* fehlt : {"flags", "Tln#", "Rufnummer", "Dauer", "line"}) {
        QuellUmgebung u;
        u.paradox({paradoxAnruf("2009-03-21 10:00:00", 21)});
        u.lokal()->exec(std::string("ALTER TABLE paradox DROP COLUMN \"") + fehlt + "\"");
        const QString name = QStringLiteral("\"%1\"").arg(QString::fromUtf8(fehlt));
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
        const char* aufbau; // nullptr: the file holds no database
        const char* imText;
    };
    for (const Fall& f : {Fall{nullptr, "keine SQLite-Datenbank"}, Fall{"CREATE TABLE andere (x)", "keine Tabelle \"stdbill\""},
                          Fall{"CREATE TABLE stdbill (id, time, user, username, number, lineno)", "\"duration\""},
                          Fall{"", "fehlt.db"}}) {
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
    const QByteArray lang(1000, '7');
    for (int i = 0; i < 3000; ++i) // more than one block of memory
        p.zeile(std::to_string(i), "Name mit Ümlaut", lang.toStdString(), "t", "1", "2");
    AnrufListe liste;
    liste.setzen(std::move(p), std::vector<int>{2999, 0, 17});
    ASSERT_EQ(liste.rowCount(), 3);
    EXPECT_EQ(liste.spalten(0), QStringList({"2999", "2", "t", QString::fromLatin1(lang), "1", "Name mit Ümlaut"}));
    EXPECT_EQ(liste.spalten(1).value(0), QStringLiteral("0"));
    EXPECT_EQ(liste.spalten(2).value(0), QStringLiteral("17"));
    liste.setzen(AnrufPuffer(), std::vector<int>{});
    EXPECT_EQ(liste.rowCount(), 0);
}

} // namespace
