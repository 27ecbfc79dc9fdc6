#include "calls/Auswahl.h"
#include "calls/Settings.h"
#include "calls/StartZeit.h"
#include "calls/TkBillFilter.h"
#include "calls/TkBillImport.h"

#include "common/ProgramEnd.h"

#include "ScriptedDialogs.h"
#include "SourceBuilders.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

// Seconds -1: Null (Paradox) or 0. Flags other than 0 (Paradox only): no call.
struct Testanruf { const char* start; int nebenstelle; const char* nummer; int sekunden, leitung, flags = 0; };

// Stored in this (scrambled) order. The year change catches text order of the German form.
// Paradox pads a number to 18 characters and keeps a longer one.
const std::vector<Testanruf> kAnrufe = {
    {"2009-03-21 14:30:01", 21, "0301234567", 65, 1},  {"2009-01-05 10:00:00", 22, "08912345", 3600, 2},
    {"2008-12-31 23:59:59", 21, "01711234567", 5, 1},  {"2009-03-22 08:00:00", 21, "012345678901234567", 45296, 2},
    {"2009-03-21 14:29:59", 21, "0401111", 59, 1},     {"2009-03-21 14:30:00", 22, "", 20, 0},
    {"2009-03-21 14:30:00", 21, "02212222", 61, 1},    {"2010-01-02 07:00:00", 35, "01234567890123456789", 300, 2},
    {"2009-02-28 16:45:00", 35, "069777", -1, 1},      {"2009-03-21 12:00:00", 40, "0309", 10, 1, 1},
};

// istSQLite3: the data source that answered at start.
struct Art { const char* name; bool paradox; StdbillOptionen optionen; int istSQLite3 = 1; };

// The list entry of an extension (eintrag) or a typed text, a start, and the calls that must come out,
// by their place in kAnrufe; or the part of the message that refuses the selection.
struct Auswahl { int eintrag; const char* text; const char* ab; std::vector<size_t> soll; const char* fehler = nullptr; };

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
            paradox.push_back({utcZeit(t.start).date(), utcZeit(t.start).time(), t.nebenstelle, t.flags, QString::fromLatin1(t.nummer), dauer, t.leitung});
            if (!t.flags)
                sqlite.push_back({utcZeit(t.start), t.nebenstelle, name(t.nebenstelle), t.nummer, std::max(t.sekunden, 0), t.leitung});
        }
        GetParam().paradox ? u.paradox(paradox) : u.sqlite(sqlite, GetParam().optionen);
        u.state().IstSQLite3 = GetParam().paradox ? 0 : GetParam().istSQLite3;
    }

    // The name of an extension as the source gives it; Paradox has none.
    QString name(int n) const { return GetParam().paradox ? QStringLiteral("(Internnummer) ") : QStringLiteral("Name %1").arg(n); }

    // What the import writes for the calls at these places of kAnrufe.
    std::vector<QStringList> erwartet(const std::vector<size_t>& stellen) const
    {
        std::vector<QStringList> z;
        for (size_t i : stellen) {
            const Testanruf& t = kAnrufe[i];
            const QString nummer = QString::fromLatin1(t.nummer); // Paradox keeps an empty text as Null
            z.push_back({QString::number(t.nebenstelle), name(t.nebenstelle),
                         !GetParam().paradox ? nummer : nummer.isEmpty() ? QStringLiteral("unbekannt") : nummer.leftJustified(18, QLatin1Char(' ')),
                         stdbillZeit(utcZeit(t.start), GetParam().optionen.zeit), QString::number(std::max(t.sekunden, 0)), QString::number(t.leitung)});
        }
        return z;
    }

    QString eintrag(int nebenstelle) const { return QStringLiteral("%1  |  ").arg(nebenstelle) + name(nebenstelle); }
    EinleseErgebnis einlesen(const QString& nebenstelle, const QString& datum) { return tkBillEinlesen(u.state(), quellen, nebenstelle, datum, liste); }

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
    AuswahlQuellen quellen{{GetParam().istSQLite3 ? QStringLiteral("SQLite Datasource") : QStringLiteral("SQLite3 Datasource")}};
    AnrufListe liste;
};

// One import after the other: each replaces the table, the list and the count of the one before and
// leaves the cost columns empty; a refused selection keeps them all.
TEST_P(Einlesen, SelectionGivesItsCallsByExtensionThenStartOrIsRefused)
{
    for (const Auswahl& a : kAuswahlen) {
        const QString nebenstelle = a.eintrag ? eintrag(a.eintrag) : QString::fromUtf8(a.text);
        SCOPED_TRACE(nebenstelle.toStdString() + " / " + a.ab);
        u.lokal()->exec("UPDATE bill SET costs = 1, ucosts = 1, ucostsBrutto = 1, rufziel = 'Ort', vergleichsnummer = '0'");
        const auto soll = a.fehler ? u.billZeilen() : erwartet(a.soll); // refused: the old table and list stay
        const auto listeSoll = a.fehler ? listenZeilen() : soll;
        EinleseErgebnis e;
        const QString text = fehlerText([&] { e = einlesen(nebenstelle, QString::fromUtf8(a.ab)); });
        EXPECT_TRUE(a.fehler ? text.contains(QString::fromUtf8(a.fehler)) : !e.fehler && e.anzahl == std::int64_t(soll.size()))
            << text.toStdString() << " " << e.anzahl;
        EXPECT_ZEILEN(u.billZeilen(), soll);
        EXPECT_ZEILEN(listenZeilen(), listeSoll);
        EXPECT_EQ(u.lokal()->execAndGet("SELECT count(costs) + count(ucosts) + count(ucostsBrutto) + count(rufziel) + "
                                        "count(vergleichsnummer) FROM bill").getInt(), a.fehler ? 5 * int(soll.size()) : 0);
    }
}

// The fifth call cannot be stored. ABORT undoes that one insert: the calls before it stay. ROLLBACK undoes
// the whole import, as SQLite does after a full disk or an I/O error: the table before the import is back.
TEST_P(Einlesen, AFailedWriteKeepsWhatTheDatabaseKeptAndNamesTheCause)
{
    einlesen(QStringLiteral("35"), QStringLiteral("alle"));
    struct Fall { const char* aktion; std::int64_t anzahl; const char* text; };
    for (const Fall& f : {Fall{"ROLLBACK", 0, "konnten nicht in die lokale Datenbank geschrieben werden"},
                          Fall{"ABORT", 4, "nach 4 Datensätzen abgebrochen"}}) {
        u.lokal()->exec(std::string("DROP TRIGGER IF EXISTS voll; CREATE TRIGGER voll BEFORE INSERT ON bill WHEN "
                                    "(SELECT count(*) FROM bill) >= 4 BEGIN SELECT RAISE(")
                        + f.aktion + ", 'Datenträger voll'); END");
        const auto vorher = u.billZeilen();
        const auto e = einlesen(QStringLiteral("alle"), QStringLiteral("alle"));
        const QString text = e.fehler.value_or(QString());
        EXPECT_TRUE(e.anzahl == f.anzahl && text.contains(u"Datenträger voll") && text.contains(QString::fromUtf8(f.text))) << text.toStdString();
        EXPECT_ZEILEN(u.billZeilen(), f.anzahl ? erwartet({2, 4, 6, 0}) : vorher);
        EXPECT_ZEILEN(listenZeilen(), f.anzahl ? erwartet({2, 4, 6, 0}) : std::vector<QStringList>{});
    }
}

// The lists of the two selections: "alle", then each extension; "alle", then the starts in time order,
// as the source writes them (Paradox: each moment once per extension).
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

INSTANTIATE_TEST_SUITE_P(Quellen, Einlesen, ::testing::Values(Art{"SqliteIsoInteger", false, {StdbillOptionen::User::Integer, StdbillOptionen::Zeit::Iso}},
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
    for (int i = 0; i < 60; ++i)
        anrufe.push_back({utcZeit("2009-03-21 14:30:00"), i % 3 ? 21 : 20, QStringLiteral("A"), QString::number(i)});
    u.sqlite(anrufe);
    alleEinlesen(u);
    QStringList ist;
    for (const auto& z : u.billZeilen())
        ist << z[2];
    EXPECT_EQ(ist.join(u' '), QStringLiteral("0 3 6 9 12 15 18 21 24 27 30 33 36 39 42 45 48 51 54 57 1 2 4 5 7 8 10 11 13 14 16 17 19 20 "
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

const BillAnruf kParadoxAnruf{QDate(2009, 3, 21), QTime(10, 0), 21, 0, QStringLiteral("030123"), QStringLiteral("00:01:00")};

TEST(EinlesenParadox, StartWithoutDateSortsFirstAndPassesOnlyWithoutLimit)
{
    QuellUmgebung u;
    u.paradox({kParadoxAnruf, {QDate(), QTime(10, 9)}});
    EXPECT_EQ(alleEinlesen(u, QStringLiteral("01.01.2000")).anzahl, 1);
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
    struct Fall { const char* aufbau; const char* imText; }; // aufbau nullptr: the file holds no database
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
    const std::string lang(1000, '7');
    for (int i = 0; i < 3000; ++i) // more than one block of memory
        p.zeile(std::to_string(i), "Name mit Ümlaut", lang, "t", "1", "2");
    AnrufListe liste;
    liste.setzen(std::move(p), std::vector<int>{2999, 0, 17});
    ASSERT_EQ(liste.rowCount(), 3);
    EXPECT_EQ(liste.spalten(0), QStringList({"2999", "2", "t", QString::fromStdString(lang), "1", "Name mit Ümlaut"}));
    EXPECT_EQ(liste.spalten(1).value(0) + liste.spalten(2).value(0), QStringLiteral("017"));
}

// The forms of the call tables and nothing else, read alike from UTF-16 and
// UTF-8, as seconds since the beginning of the Julian day count.
TEST(StartZeit, ReadsTheFormsOfTheCallTablesAndNothingElse)
{
    const std::pair<const char*, const char*> faelle[] = { // text, "yyyy-MM-dd hh:mm:ss" or nullptr: no start
        {"2009-03-21 14:30:00", "2009-03-21 14:30:00"}, {"  21.03.2009 14:30:00 ", "2009-03-21 14:30:00"},
        {"2009-03-21T14:30:05", "2009-03-21 14:30:05"}, {"1.3.2009 9:05:07", "2009-03-01 09:05:07"},
        {"21.03.2009", "2009-03-21 00:00:00"},          {"29.02.2024 23:59:59", "2024-02-29 23:59:59"},
        {"", nullptr}, {"alle", nullptr}, {"29.02.2023 10:00:00", nullptr}, {"21.03.2009 24:00:00", nullptr},
        {"21.03.2009 14:30:00 x", nullptr}, {"21.03.20091 14:30:00", nullptr}, {"２１.03.2009 14:30:00", nullptr},
        {"21.003.2009", nullptr},
    };
    for (const auto& [text, soll] : faelle) {
        const auto schluessel = startZeitSchluessel(QStringView(QString::fromUtf8(text)));
        EXPECT_EQ(startZeitSchluessel(std::string_view(text)), schluessel) << text;
        const QDateTime d = QDateTime::fromString(QString::fromLatin1(soll), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        EXPECT_EQ(schluessel, soll ? std::optional(d.date().toJulianDay() * 86400 + d.time().msecsSinceStartOfDay() / 1000) : std::nullopt) << text;
    }
}

// A settings command or its step at start, the value it sets and its file.
struct Befehl { void (*run)(AppState&, Dialogs&); Einstellungswert AppState::*wert; const char* datei; };
const Befehl kSteuer{mnuMehrwertsteuerEinstellen, &AppState::Steuersatz, "Steuersatz.txt"};
const Befehl kMinute{mnuMinutenpreisEinstellen, &AppState::Minutenpreis, "Minutenpreis.txt"};
const Befehl kAufschlag{mnuKostenaufschlag, &AppState::Kostenaufschlag, "Kostenaufschlag.txt"};
const Befehl kSteuerStart{steuersatzBeimStart, &AppState::Steuersatz, "Steuersatz.txt"};
const Befehl kAufschlagStart{kostenaufschlagBeimStart, &AppState::Kostenaufschlag, "Kostenaufschlag.txt"};

// A valid entry is stored in memory and file; a refused one asks "try again?" and, given up, puts the offered
// value back. VAT and minute price offer what their file holds, the surcharge the value in memory. At start a
// first line of the file is taken as it is; without one the surcharge is asked for with "1,20" offered and the
// VAT command runs; giving up ends the program. Dialogs are logged as "I<offered text>" or "M<buttons> <icon>".
TEST(Settings, StoresAValidEntryAndAsksAgainOrGivesUpOnAnInvalidOne)
{
    // skript: "=text" typed, Cancel, or the answer Yes, No or Ok; soll: the value afterwards, nullptr: the program ends.
    struct Fall { Befehl befehl; const char* inhalt; QStringList skript; const char* soll; const char* verlauf; };
    const char* const kDatei = "aus Datei\r\n";
    const char* const kNochmals = "Iaus Datei, MYesNo Stop, Iaus Datei, MYesNo Stop";
    const Fall faelle[] = {
        {kSteuer, kDatei, {"=19"}, "19", "Iaus Datei"},       {kSteuer, kDatei, {"=7,5"}, "7,5", "Iaus Datei"},
        {kSteuer, kDatei, {"=-5"}, "-5", "Iaus Datei"},       {kMinute, kDatei, {"=0.20"}, "0.20", "Iaus Datei"},
        {kSteuer, kDatei, {"=0", "Yes", "Cancel", "No"}, "aus Datei", kNochmals},
        {kSteuer, kDatei, {"=abc", "Yes", "Cancel", "No"}, "aus Datei", kNochmals},
        {kMinute, kDatei, {"=x", "Yes", "Cancel", "No"}, "aus Datei", kNochmals},
        {kAufschlag, kDatei, {"=1,20"}, "1,20", "I"},
        {kAufschlag, kDatei, {"=abc", "Yes", "Cancel", "No"}, "", "I, MYesNo Stop, I, MYesNo Stop"},
        {kAufschlagStart, "1,35\r\n", {}, "1,35", ""},
        {kAufschlagStart, nullptr, {"=x", "Yes", "=1,25"}, "1,25", "I1,20, MYesNo Critical, I1,20"},
        {kAufschlagStart, "\r\n1,20\r\n", {"=x", "No"}, nullptr, "I1,20, MYesNo Critical"},
        {kSteuerStart, "abc\r\n", {}, "abc", ""},
        {kSteuerStart, nullptr, {"Ok", "=19"}, "19", "MOk Critical, I"},
        {kSteuerStart, nullptr, {"Ok", "=0", "No", "Ok"}, nullptr, "MOk Critical, I, MYesNo Stop, MOk Critical"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.skript.join(u' ').toStdString());
        TempProgramFolder dir;
        const QString datei = QString::fromUtf8(f.befehl.datei);
        if (f.inhalt)
            dir.writeFile(datei, f.inhalt);
        ScriptedDialogs dialogs;
        for (const QString& s : f.skript)
            s.startsWith(u'=') ? (void)dialogs.type(s.mid(1)) : s == u"Cancel" ? (void)dialogs.cancelInput()
                : (void)dialogs.answer(s == u"Yes" ? Answer::Yes : s == u"No" ? Answer::No : Answer::Ok);
        if (!f.soll) {
            EXPECT_THROW(f.befehl.run(dir.state(), dialogs), ProgramEnd);
        } else {
            f.befehl.run(dir.state(), dialogs);
            EXPECT_EQ(dir.state().*(f.befehl.wert), QString::fromUtf8(f.soll));
        }
        const bool getippt = f.soll && f.skript.contains(u'=' + QString::fromUtf8(f.soll));
        EXPECT_EQ(dir.readFile(datei), getippt ? QByteArray(f.soll) + "\r\n" : QByteArray(f.inhalt));
        QStringList verlauf;
        for (const QString& z : dialogs.protokoll())
            verlauf << z.left(1) + z.section(QStringLiteral(" | "), -1);
        EXPECT_EQ(verlauf.join(QStringLiteral(", ")), QString::fromUtf8(f.verlauf));
    }
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
