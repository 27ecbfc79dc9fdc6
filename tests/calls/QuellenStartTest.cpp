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

// One start: a part of the text of each box shown (one a line), the answers given as ScriptedDialogs::skript
// takes them ("=%G" types the path of an SQLite bill.db), the kind of source shown (nullptr: the program ends),
// and what lies where.
struct Start;
struct Startfall {
    const char* name;
    QString boxen;
    const char *skript, *text2;
    const char* billpfad = nullptr; // Billpfad.txt, relative to the program folder (nullptr: none)
    int kopie = -1;                 // rows of the Paradox staging table (-1: none)
    bool datenquelle = false;       // "ORVE-Paradox" created with the driver and the system folder
    void (*anlegen)(Start&) = nullptr;
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
    void merken(const QString& pfad) { dir.writeFile("Billpfad.txt", pfad.toUtf8() + "\r\n"); }
    // Billpfad.txt names dbf/bill.db; the folder exists and holds what is given.
    void falsch(const QByteArray& inhalt = {})
    {
        merken(dir.file("dbf/bill.db"));
        QDir().mkpath(dir.file("dbf"));
        if (!inhalt.isEmpty())
            dir.writeFile("dbf/bill.db", inhalt);
    }
    void paradox() { merken(bill(QStringLiteral("dbf/bill.db"), 30)); }
    void sqlite() { merken(bill(QStringLiteral("dbf/bill.db"))); }
    void ohneParadoxTreiber(const std::vector<RegEintrag>& dazu = {})
    {
        paradox();
        auto e = ohne(standardInstallation(), kTreiberSchluessel + kParadoxTreiber);
        e.insert(e.end(), dazu.begin(), dazu.end());
        reg = TestRegistry(e);
    }
    // A Paradox table of 30 calls with these fields and header.
    void paradoxDatei(const std::vector<ParadoxFeldDef>& felder, ParadoxOptionen o = {})
    {
        falsch(paradoxTabelle(felder, paradoxBillZeilen(beispielAnrufe(30)), o));
    }

    TempProgramFolder dir;
    StartPfade pfade {dir.file("s1/bill.db"), QStringLiteral("C:\\tk\\bill.db"), dir.file("s2/bill.db")};
    TestRegistry reg = standardRegistry();
    FesteSystemumgebung system;
    QStringList abgelehnt; // data sources that are not set up
    std::unique_ptr<SQLite::Database> anderesProgramm;
    Anzeige ansicht;
};

TEST_P(Start, ShowsTheBoxesAndFindsTheSourceOrEnds)
{
    const Startfall& f = GetParam();
    dir.writeFile("Kostenaufschlag.txt", "1,20\r\n");
    dir.writeFile("Steuersatz.txt", "19\r\n");
    const QString gut = bill(QStringLiteral("gut/bill.db"));
    if (f.anlegen)
        f.anlegen(*this);
    ScriptedDialogs dialogs;
    dialogs.skript(
        QString::fromUtf8(f.skript).split(u' ', Qt::SkipEmptyParts).replaceInStrings(QStringLiteral("%G"), gut));
    AuswahlQuellen quellen(abgelehnt);
    AppState& s = dir.state();
    try {
        QuellenStart(s, reg, system, quellen, dialogs, ansicht, pfade).laden();
        EXPECT_NE(f.text2, nullptr) << "the program did not end";
    } catch (const ProgramEnd&) {
        EXPECT_EQ(f.text2, nullptr) << "the program ended";
    }
    const QStringList gezeigt = dialogs.protokoll();
    const QStringList boxen = f.boxen.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(gezeigt.size(), boxen.size()) << lesbar(gezeigt);
    for (int i = 0; i < gezeigt.size(); ++i)
        EXPECT_TRUE(gezeigt[i].contains(boxen[i])) << gezeigt[i].toStdString();
    EXPECT_EQ(ersteZeileLesen(dir.file("Billpfad.txt")),
              f.billpfad ? std::optional(dir.file(f.billpfad)) : std::nullopt);
    auto lokal = lokaleDatenbankOeffnen(dir.file("Datenbank/Bill.sqlite"));
    EXPECT_EQ(lokal->tableExists("paradox") ? lokal->execAndGet("SELECT count(*) FROM paradox").getInt() : -1,
              f.kopie);
    const QString k = kDatenquellenSchluessel + kParadoxDatenquelle;
    EXPECT_EQ(reg.wert(Hive::LocalMachine, k, "Driver"),
              f.datenquelle ? std::optional(RegWert::alsText(QCoreApplication::applicationFilePath()))
                            : std::nullopt);
    EXPECT_EQ(reg.wert(Hive::LocalMachine, k + QStringLiteral("\\Engines\\Paradox"), "ParadoxNetPath"),
              f.datenquelle ? std::optional(RegWert::alsText(system.systemOrdner)) : std::nullopt);
    if (!f.text2)
        return;
    const bool paradox = ansicht.text2 == QStringLiteral("Paradox");
    EXPECT_EQ(ansicht.text2, QString::fromLatin1(f.text2));
    EXPECT_EQ(ansicht.text3, paradox ? QDir::toNativeSeparators(QFileInfo(dir.file(f.billpfad)).absolutePath())
                                     : dir.file(f.billpfad));
    EXPECT_EQ(s.Billpfad, ansicht.text3);
    EXPECT_EQ(s.IstSQLite3, ansicht.text2 == QStringLiteral("SQLite3") ? 1 : 0);
    EXPECT_EQ(s.IstParadox, paradox ? 1 : 0);
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(dir.path()).canonicalPath());
    // A copy that failed must not let the lists use rows of an earlier start.
    const QString liste = fehlerText([&] { nebenstellenEintraege(s, quellen); });
    EXPECT_EQ(liste.contains("bei diesem Programmstart keine Anrufdaten"), paradox && f.kopie < 0);
}

const QString kNicht = "M ORVE-Tarifo | Die Datei bill.db kann in den Standardpfaden nicht gefunden werden!";
const QString kEingabe =
    "I ORVE-Tarifo V2.01 | Bitte geben Sie den vollständigen Pfad der Datei\\r'Bill.db' an: | C:\\tk\\bill.db";
const QString kUngueltig = "Sie müssen einen gültigen Pfad angeben!\\rWollen Sie es nochmals versuchen | YesNo";
const QString kFalsch =
    "Der angegebene Pfad der Datei Bill.db ist falsch!\\rWollen Sie diesen Pfad jetzt neu eingeben | YesNo";
const QString kBenutzt = "von einem anderen Programm benutzt und kann im Moment nicht gelesen "
                         "werden.\\rWollen Sie es nochmals versuchen | YesNo";

const QString kNichtEingabe = kNicht + "\n" + kEingabe;
using S = Start&;
const Startfall kStarts[] = {
    {"FirstStandardPlace", "", "", "SQLite3", "s1/bill.db", -1, false,
     [](S s) { s.bill("s2/bill.db"), s.bill("s1/bill.db"); }},
    {"SecondStandardPlace", "", "", "SQLite3", "s2/bill.db", -1, false, [](S s) { s.bill("s2/bill.db"); }},
    {"OlderSqliteDriver", "", "", "SQLite", "dbf/bill.db", -1, false,
     [](S s) { s.sqlite(), s.abgelehnt << "SQLite3 Datasource"; }},
    {"Paradox", "", "", "Paradox", "dbf/bill.db", 30, true, [](S s) { s.paradox(); }},
    {"NoPathKnown", kNichtEingabe, "Ok =%G", "SQLite3", "gut/bill.db"},
    {"InputCancelledThenYes", kNichtEingabe + "\n" + kUngueltig + "\n" + kNichtEingabe, "Ok = Yes Ok =%G",
     "SQLite3", "gut/bill.db"},
    {"InputCancelledThenNo", kNichtEingabe + "\n" + kUngueltig, "Ok = No", nullptr},
    {"WrongPathNo", kFalsch, "No", nullptr, "dbf/bill.db", -1, true, [](S s) { s.falsch(); }},
    {"WrongPathYesAsksAtOnce", kFalsch + "\n" + kEingabe, "Yes =%G", "SQLite3", "gut/bill.db", -1, true,
     [](S s) { s.falsch(); }},
    {"CapitalB", kFalsch, "No", nullptr, "dbf/Bill.db", -1, true, [](S s) { s.merken(s.bill("dbf/Bill.db", 30)); }},
    {"EmptyParadoxTable", kFalsch, "No", nullptr, "dbf/bill.db", -1, true,
     [](S s) { s.falsch(paradoxTabelle(paradoxBillFelder(), {})); }},
    {"TextFile", "Paradox\n" + kFalsch, "Ok No", nullptr, "dbf/bill.db", -1, true,
     [](S s) { s.falsch(QByteArray("kein Paradox\r\n").repeated(200)); }},
    {"SqliteWithoutStdbill", "stdbill\n" + kFalsch, "Ok No", nullptr, "dbf/bill.db", -1, true,
     [](S s) {
         s.falsch();
         SQLite::Database(s.dir.file("dbf/bill.db").toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE)
             .exec("CREATE TABLE t (x)");
     }},
    {"LockedByAnotherProgram", kBenutzt + "\n" + kBenutzt, "Yes No", nullptr, "dbf/bill.db", -1, false,
     [](S s) {
         s.sqlite();
         s.anderesProgramm =
             std::make_unique<SQLite::Database>(s.dir.file("dbf/bill.db").toStdString(), SQLite::OPEN_READWRITE);
         s.anderesProgramm->exec("BEGIN EXCLUSIVE");
     }},
    {"NoParadoxDriver", "| Es wurde kein Paradox ODBC Treiber gefunden. | OkCancel", "Ok", nullptr, "dbf/bill.db",
     -1, false, [](S s) { s.ohneParadoxTreiber(); }},
    {"GermanParadoxDriver", "", "", "Paradox", "dbf/bill.db", 30, true,
     [](S s) {
         const QString t = kTreiberSchluessel + kParadoxTreiberDeutsch;
         s.ohneParadoxTreiber({textEintrag(t, "Driver", QCoreApplication::applicationFilePath())});
     }},
    {"ParadoxDataSourceListed", "", "", "Paradox", "dbf/bill.db", 30, false,
     [](S s) { s.ohneParadoxTreiber({textEintrag(kDatenquellenListe, kParadoxDatenquelle, "Paradox")}); }},
    {"ParadoxDataSourceNotCreated", "Der ODBC-Eintrag 'ORVE-Paradox' konnte nicht erzeugt werden!", "Ok", nullptr,
     "dbf/bill.db", -1, false,
     [](S s) { s.paradox(), s.reg.gesperrteSchluessel.insert("software\\odbc\\odbc.ini\\orve-paradox"); }},
    {"LocalDatabaseRefused", "nicht übernommen", "Ok", "Paradox", "dbf/bill.db", -1, true,
     [](S s) { s.paradox(), s.abgelehnt << "ORVE-Access"; }},
    {"ParadoxFieldsTwice", "mehrere Felder mit dem Namen", "Ok", "Paradox", "dbf/bill.db", -1, true,
     [](S s) {
         auto f = paradoxBillFelder();
         f[7].name = QStringLiteral("DAUER");
         s.paradoxDatei(f);
     }},
    {"ParadoxDamagedWhileCopying", "Es wurden nur 30 von 31 Datensätzen übernommen.", "Ok", "Paradox",
     "dbf/bill.db", 30, true, [](S s) { s.paradoxDatei(paradoxBillFelder(), {.anzahlImKopf = 31}); }},
    {"SurchargeAndVatAskedAfterTheSource",
     "Kostenaufschlag\nBisher ist kein gültiger Steuersatz angelegt!\nMehrwertsteuersatz", "=1,30 Ok =19",
     "SQLite3", "dbf/bill.db", -1, false,
     [](S s) {
         s.sqlite();
         s.dir.writeFile("Kostenaufschlag.txt", "\r\n");
         QFile::remove(s.dir.file("Steuersatz.txt"));
     }},
};
INSTANTIATE_TEST_SUITE_P(Faelle, Start, ::testing::ValuesIn(kStarts),
                         [](auto& i) { return std::string(i.param.name); });

} // namespace
