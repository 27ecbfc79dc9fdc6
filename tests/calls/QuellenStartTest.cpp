// The start on the source: finding bill.db, recognising it as SQLite or Paradox, the Paradox copy, and the
// surcharge and VAT rate asked for at the end; every refusal ends the program.
#include "calls/QuellenStart.h"
#include "calls/QuellAnzeige.h"

#include "calls/TkBillFilter.h"
#include "common/LokaleDatenbank.h"
#include "common/ProgramEnd.h"
#include "common/TextFile.h"
#include "startup/OdbcSchluessel.h"

#include "ParadoxWriter.h"
#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"
#include "SourceBuilders.h"
#include "TempProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

// Kind and place of the source as shown.
struct Anzeige : QuellAnzeige {
    QString text2, text3;
    void text2Setzen(const QString& t) override { text2 = t; }
    void text3Setzen(const QString& t) override { text3 = t; }
};

struct Start;

// One start: what lies where, the answers given, a part of the text of each
// box shown, and the kind of source shown (nullptr: the program ends).
struct Startfall {
    const char* name;
    void (*anlegen)(Start&);
    void (*skript)(ScriptedDialogs&, const QString& gut); // `gut` is an SQLite bill.db
    QStringList boxen;
    const char* text2;
    const char* billpfad = nullptr; // Billpfad.txt, relative to the program folder (nullptr: none)
    int kopie = -1;                 // rows of the Paradox staging table (-1: none)
    bool datenquelle = false;       // "ORVE-Paradox" created with the driver and the system folder
};

struct Start : ::testing::TestWithParam<Startfall> {
    // Writes bill.db below the program folder: SQLite, or Paradox with `paradox` calls.
    QString bill(const QString& relativ, int paradox = 0)
    {
        QDir().mkpath(QFileInfo(dir.file(relativ)).absolutePath());
        paradox ? schreibeParadoxBill(dir.file(relativ), beispielAnrufe(paradox))
                : schreibeSqliteBill(dir.file(relativ), beispielStdbill(20));
        return dir.file(relativ);
    }
    void merken(const QString& pfad) { dir.writeFile(QStringLiteral("Billpfad.txt"), pfad.toUtf8() + "\r\n"); }

    TempProgramFolder dir;
    StartPfade pfade {dir.file(QStringLiteral("s1/bill.db")), QStringLiteral("C:\\tk\\bill.db"),
                      dir.file(QStringLiteral("s2/bill.db"))};
    TestRegistry reg = standardRegistry();
    FesteSystemumgebung system;
    QStringList abgelehnt; // data sources that are not set up
    std::unique_ptr<SQLite::Database> anderesProgramm;
    Anzeige ansicht;
};

TEST_P(Start, ShowsTheBoxesAndFindsTheSourceOrEnds)
{
    const Startfall& f = GetParam();
    dir.writeFile(QStringLiteral("Kostenaufschlag.txt"), "1,20\r\n");
    dir.writeFile(QStringLiteral("Steuersatz.txt"), "19\r\n");
    const QString gut = bill(QStringLiteral("gut/bill.db"));
    if (f.anlegen)
        f.anlegen(*this);
    ScriptedDialogs dialogs;
    if (f.skript)
        f.skript(dialogs, gut);
    AuswahlQuellen quellen(abgelehnt);
    AppState& s = dir.state();
    try {
        QuellenStart(s, reg, system, quellen, dialogs, ansicht, pfade).laden();
        EXPECT_NE(f.text2, nullptr) << "the program did not end";
    } catch (const ProgramEnd&) {
        EXPECT_EQ(f.text2, nullptr) << "the program ended";
    }
    const QStringList gezeigt = dialogs.protokoll();
    ASSERT_EQ(gezeigt.size(), f.boxen.size()) << lesbar(gezeigt);
    for (int i = 0; i < gezeigt.size(); ++i)
        EXPECT_TRUE(gezeigt[i].contains(f.boxen[i])) << gezeigt[i].toStdString();
    EXPECT_EQ(ersteZeileLesen(dir.file(QStringLiteral("Billpfad.txt"))),
              f.billpfad ? std::optional(dir.file(f.billpfad)) : std::nullopt);
    auto lokal = lokaleDatenbankOeffnen(dir.file(QStringLiteral("Datenbank/Bill.sqlite")));
    EXPECT_EQ(lokal->tableExists("paradox") ? lokal->execAndGet("SELECT count(*) FROM paradox").getInt() : -1,
              f.kopie);
    const QString k = kDatenquellenSchluessel + kParadoxDatenquelle;
    EXPECT_EQ(reg.wert(Hive::LocalMachine, k, QStringLiteral("Driver")),
              f.datenquelle ? std::optional(RegWert::alsText(QCoreApplication::applicationFilePath()))
                            : std::nullopt);
    EXPECT_EQ(
        reg.wert(Hive::LocalMachine, k + QStringLiteral("\\Engines\\Paradox"), QStringLiteral("ParadoxNetPath")),
        f.datenquelle ? std::optional(RegWert::alsText(system.systemOrdner)) : std::nullopt);
    if (!f.text2)
        return;
    const bool paradox = ansicht.text2 == QStringLiteral("Paradox");
    EXPECT_EQ(ansicht.text2, QString::fromLatin1(f.text2));
    EXPECT_EQ(ansicht.text3, paradox ? QFileInfo(dir.file(f.billpfad)).absolutePath() : dir.file(f.billpfad));
    EXPECT_EQ(s.Billpfad, ansicht.text3);
    EXPECT_EQ(s.IstSQLite3, ansicht.text2 == QStringLiteral("SQLite3") ? 1 : 0);
    EXPECT_EQ(s.IstParadox, paradox ? 1 : 0);
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(dir.path()).canonicalPath());
    // A copy that failed must not let the lists use rows of an earlier start.
    EXPECT_EQ(fehlerText([&] {
                  nebenstellenEintraege(s, quellen);
              }).contains("bei diesem Programmstart keine Anrufdaten"),
              paradox && f.kopie < 0);
}

const QString kNicht =
    QStringLiteral("M ORVE-Tarifo | Die Datei bill.db kann in den Standardpfaden nicht gefunden werden!");
const QString kEingabe = QStringLiteral(
    "I ORVE-Tarifo V2.01 | Bitte geben Sie den vollständigen Pfad der Datei\\r'Bill.db' an: | C:\\tk\\bill.db");
const QString kUngueltig =
    QStringLiteral("Sie müssen einen gültigen Pfad angeben!\\rWollen Sie es nochmals versuchen | YesNo");
const QString kFalsch = QStringLiteral(
    "Der angegebene Pfad der Datei Bill.db ist falsch!\\rWollen Sie diesen Pfad jetzt neu eingeben | YesNo");
const QString kBenutzt = QStringLiteral("von einem anderen Programm benutzt und kann im Moment nicht gelesen "
                                        "werden.\\rWollen Sie es nochmals versuchen | YesNo");

void ok(ScriptedDialogs& d, const QString&)
{
    d.answer(Answer::Ok);
}
void nein(ScriptedDialogs& d, const QString&)
{
    d.answer(Answer::No);
}
void okNein(ScriptedDialogs& d, const QString&)
{
    d.answer(Answer::Ok).answer(Answer::No);
}
void okGut(ScriptedDialogs& d, const QString& gut)
{
    d.answer(Answer::Ok).type(gut);
}
// Billpfad.txt names dbf/bill.db; the folder exists.
void falsch(Start& s)
{
    QDir().mkpath(s.dir.file("dbf"));
    s.merken(s.dir.file("dbf/bill.db"));
}
void paradox(Start& s)
{
    s.merken(s.bill(QStringLiteral("dbf/bill.db"), 30));
}
void sqlite(Start& s)
{
    s.merken(s.bill(QStringLiteral("dbf/bill.db")));
}
void ohneParadoxTreiber(Start& s, std::vector<RegEintrag> dazu = {})
{
    paradox(s);
    auto eintraege = ohne(standardInstallation(), kTreiberSchluessel + kParadoxTreiber);
    eintraege.insert(eintraege.end(), dazu.begin(), dazu.end());
    s.reg = TestRegistry(eintraege);
}
// Billpfad.txt names dbf/bill.db, a Paradox table of 30 calls with these fields and header.
void paradoxDatei(Start& s, const std::vector<ParadoxFeldDef>& felder, ParadoxOptionen o = {})
{
    falsch(s);
    s.dir.writeFile("dbf/bill.db", paradoxTabelle(felder, paradoxBillZeilen(beispielAnrufe(30)), o));
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, Start,
    ::testing::Values(
        Startfall {"FirstStandardPlace",
                   [](Start& s) {
                       s.bill("s2/bill.db");
                       s.bill("s1/bill.db");
                   },
                   nullptr,
                   {},
                   "SQLite3",
                   "s1/bill.db"},
        Startfall {
            "SecondStandardPlace", [](Start& s) { s.bill("s2/bill.db"); }, nullptr, {}, "SQLite3", "s2/bill.db"},
        Startfall {"OlderSqliteDriver",
                   [](Start& s) {
                       sqlite(s);
                       s.abgelehnt << "SQLite3 Datasource";
                   },
                   nullptr,
                   {},
                   "SQLite",
                   "dbf/bill.db"},
        Startfall {"Paradox", paradox, nullptr, {}, "Paradox", "dbf/bill.db", 30, true},
        Startfall {"NoPathKnown", nullptr, okGut, {kNicht, kEingabe}, "SQLite3", "gut/bill.db"},
        Startfall {"InputCancelledThenYes",
                   nullptr,
                   [](ScriptedDialogs& d, const QString& gut) {
                       d.answer(Answer::Ok).cancelInput().answer(Answer::Yes).answer(Answer::Ok).type(gut);
                   },
                   {kNicht, kEingabe, kUngueltig, kNicht, kEingabe},
                   "SQLite3",
                   "gut/bill.db"},
        Startfall {
            "InputCancelledThenNo",
            nullptr,
            [](ScriptedDialogs& d, const QString&) { d.answer(Answer::Ok).cancelInput().answer(Answer::No); },
            {kNicht, kEingabe, kUngueltig},
            nullptr},
        Startfall {"WrongPathNo", falsch, nein, {kFalsch}, nullptr, "dbf/bill.db", -1, true},
        Startfall {"WrongPathYesAsksAtOnce",
                   falsch,
                   [](ScriptedDialogs& d, const QString& gut) { d.answer(Answer::Yes).type(gut); },
                   {kFalsch, kEingabe},
                   "SQLite3",
                   "gut/bill.db",
                   -1,
                   true},
        Startfall {"CapitalB",
                   [](Start& s) { s.merken(s.bill("dbf/Bill.db", 30)); },
                   nein,
                   {kFalsch},
                   nullptr,
                   "dbf/Bill.db",
                   -1,
                   true},
        Startfall {"EmptyParadoxTable",
                   [](Start& s) {
                       falsch(s);
                       schreibeParadoxBill(s.dir.file("dbf/bill.db"), {});
                   },
                   nein,
                   {kFalsch},
                   nullptr,
                   "dbf/bill.db",
                   -1,
                   true},
        Startfall {"TextFile",
                   [](Start& s) {
                       falsch(s);
                       s.dir.writeFile("dbf/bill.db", QByteArray("kein Paradox\r\n").repeated(200));
                   },
                   okNein,
                   {"Paradox", kFalsch},
                   nullptr,
                   "dbf/bill.db",
                   -1,
                   true},
        Startfall {"SqliteWithoutStdbill",
                   [](Start& s) {
                       falsch(s);
                       SQLite::Database(s.dir.file("dbf/bill.db").toStdString(),
                                        SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE)
                           .exec("CREATE TABLE t (x)");
                   },
                   okNein,
                   {"stdbill", kFalsch},
                   nullptr,
                   "dbf/bill.db",
                   -1,
                   true},
        Startfall {"LockedByAnotherProgram",
                   [](Start& s) {
                       sqlite(s);
                       s.anderesProgramm = std::make_unique<SQLite::Database>(
                           s.dir.file("dbf/bill.db").toStdString(), SQLite::OPEN_READWRITE);
                       s.anderesProgramm->exec("BEGIN EXCLUSIVE");
                   },
                   [](ScriptedDialogs& d, const QString&) { d.answer(Answer::Yes).answer(Answer::No); },
                   {kBenutzt, kBenutzt},
                   nullptr,
                   "dbf/bill.db"},
        Startfall {"NoParadoxDriver",
                   [](Start& s) { ohneParadoxTreiber(s); },
                   ok,
                   {"| Es wurde kein Paradox ODBC Treiber gefunden. | OkCancel"},
                   nullptr,
                   "dbf/bill.db"},
        Startfall {"GermanParadoxDriver",
                   [](Start& s) {
                       ohneParadoxTreiber(s, {textEintrag(kTreiberSchluessel + kParadoxTreiberDeutsch, "Driver",
                                                          QCoreApplication::applicationFilePath())});
                   },
                   nullptr,
                   {},
                   "Paradox",
                   "dbf/bill.db",
                   30,
                   true},
        Startfall {"ParadoxDataSourceListed",
                   [](Start& s) {
                       ohneParadoxTreiber(s, {textEintrag(kDatenquellenListe, kParadoxDatenquelle, "Paradox")});
                   },
                   nullptr,
                   {},
                   "Paradox",
                   "dbf/bill.db",
                   30},
        Startfall {"ParadoxDataSourceNotCreated",
                   [](Start& s) {
                       paradox(s);
                       s.reg.gesperrteSchluessel.insert("software\\odbc\\odbc.ini\\orve-paradox");
                   },
                   ok,
                   {"Der ODBC-Eintrag 'ORVE-Paradox' konnte nicht erzeugt werden!"},
                   nullptr,
                   "dbf/bill.db"},
        Startfall {"LocalDatabaseRefused",
                   [](Start& s) {
                       paradox(s);
                       s.abgelehnt << "ORVE-Access";
                   },
                   ok,
                   {"nicht übernommen"},
                   "Paradox",
                   "dbf/bill.db",
                   -1,
                   true},
        Startfall {"ParadoxFieldsTwice",
                   [](Start& s) {
                       auto f = paradoxBillFelder();
                       f[7].name = QStringLiteral("DAUER");
                       paradoxDatei(s, f);
                   },
                   ok,
                   {"mehrere Felder mit dem Namen"},
                   "Paradox",
                   "dbf/bill.db",
                   -1,
                   true},
        Startfall {"ParadoxDamagedWhileCopying",
                   [](Start& s) {
                       ParadoxOptionen o;
                       o.anzahlImKopf = 31;
                       paradoxDatei(s, paradoxBillFelder(), o);
                   },
                   ok,
                   {"Es wurden nur 30 von 31 Datensätzen übernommen."},
                   "Paradox",
                   "dbf/bill.db",
                   30,
                   true},
        Startfall {"SurchargeAndVatAskedAfterTheSource",
                   [](Start& s) {
                       sqlite(s);
                       s.dir.writeFile("Kostenaufschlag.txt", "\r\n");
                       QFile::remove(s.dir.file("Steuersatz.txt"));
                   },
                   [](ScriptedDialogs& d, const QString&) { d.type("1,30").answer(Answer::Ok).type("19"); },
                   {"Kostenaufschlag", "Bisher ist kein gültiger Steuersatz angelegt!", "Mehrwertsteuersatz"},
                   "SQLite3",
                   "dbf/bill.db"}),
    [](const auto& i) { return std::string(i.param.name); });

} // namespace
