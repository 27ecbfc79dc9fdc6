#include "mainwindow/HauptfensterStart.h"

#include "calls/AnrufListe.h"
#include "calls/TkBillFilter.h"
#include "calls/TkBillImport.h"
#include "calls/QuellFehler.h"

#include "common/ProgramEnd.h"
#include "common/Version.h"
#include "startup/DataSourceResolver.h"
#include "startup/OdbcSchluessel.h"

#include "AnsichtProtokoll.h"
#include "DateiGroessenGrenze.h"
#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"
#include "SourceBuilders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <optional>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace orve;
using namespace orve::test;

namespace {

const QString kNichtGefunden =
    QStringLiteral("M ORVE-Tarifo | Die Datei bill.db kann in den Standardpfaden nicht gefunden werden! | Ok Critical");
const QString kFalsch = QStringLiteral("M ORVE-Tarifo V2.01 | Der angegebene Pfad der Datei Bill.db ist falsch!\\r"
                                       "Wollen Sie diesen Pfad jetzt neu eingeben | YesNo Critical");
const QString kUngueltig = QStringLiteral("M ORVE-Tarifo V2.01 | Sie müssen einen gültigen Pfad angeben!\\r"
                                          "Wollen Sie es nochmals versuchen | YesNo Critical");
const QString kKeinTreiber =
    QStringLiteral("M ORVE-Tarifo | Es wurde kein Paradox ODBC Treiber gefunden. | OkCancel Critical");
QString eingabe()
{
    return QStringLiteral("I ORVE-Tarifo V2.01 | Bitte geben Sie den vollständigen Pfad der Datei\\r'Bill.db' an: | ")
        + StartPfade::system().vorgabe;
}

class Start : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.writeFile(QStringLiteral("Kostenaufschlag.txt"), "1,20\r\n");
        dir.writeFile(QStringLiteral("Steuersatz.txt"), "19\r\n");
        pfade.standard1 = dir.file(QStringLiteral("agfeo/TK-Suite-Server/dbf/bill.db"));
        pfade.standard2 = dir.file(QStringLiteral("Programme/AGFEO/Tk-Suite-Basic/tkserver/var/dbf/bill.db"));
        pfade.vorgabe = StartPfade::system().vorgabe;
    }

    AppState& state() { return dir.state(); }

    void laden(Datenquellen& q) { HauptfensterStart(state(), reg, system, q, dialogs, ansicht, pfade).laden(); }
    void laden() { laden(quellen); }

    QString sqliteDatei(const QString& relativ, int anzahl = 20)
    {
        const QString p = dir.file(relativ);
        QDir().mkpath(QFileInfo(p).absolutePath());
        schreibeSqliteBill(p, beispielStdbill(anzahl));
        return p;
    }

    QString paradoxDatei(const QString& relativ, int anzahl = 30)
    {
        schreibeParadoxBill(dir.file(relativ), beispielAnrufe(anzahl));
        return dir.file(relativ);
    }

    void billpfadTxt(const QByteArray& inhalt) { dir.writeFile(QStringLiteral("Billpfad.txt"), inhalt); }
    void pfadMerken(const QString& pfad) { billpfadTxt(pfad.toUtf8() + "\r\n"); }
    QByteArray billpfadTxt() const { return dir.readFile(QStringLiteral("Billpfad.txt")); }

    // The rows of the Paradox staging table; -1 when there is none.
    int paradoxZeilen()
    {
        auto db = lokaleDatenbankOeffnen(dir.file(QStringLiteral("Datenbank/Bill.sqlite")));
        return db->tableExists("paradox") ? db->execAndGet("SELECT count(*) FROM paradox").getInt() : -1;
    }

    TempProgramFolder dir;
    SpeicherRegistry reg = standardRegistry();
    FesteSystemumgebung system;
    AuswahlQuellen quellen;
    ScriptedDialogs dialogs;
    AnsichtProtokoll ansicht;
    StartPfade pfade;
};

// ---- searching ------------------------------------------------------------

class OhneBekanntenPfad : public Start, public ::testing::WithParamInterface<const char*> {};

TEST_P(OhneBekanntenPfad, AsksWithTheDefaultAnswerAndStoresTheTypedPath)
{
    if (GetParam())
        billpfadTxt(GetParam());
    const QString quelle = sqliteDatei(QStringLiteral("tk/bill.db"));
    dialogs.answer(Answer::Ok).type(quelle);
    laden();
    EXPECT_ZEILEN(dialogs.protokoll(), QStringList({kNichtGefunden, eingabe()}));
    EXPECT_TRUE(dialogs.boxes()[1].input.offerFileChooser);
    EXPECT_EQ(billpfadTxt(), quelle.toUtf8() + "\r\n");
    EXPECT_EQ(ansicht.text2, QStringLiteral("SQLite3"));
    EXPECT_EQ(ansicht.text3, quelle);
    EXPECT_EQ(state().Billpfad, quelle);
}

INSTANTIATE_TEST_SUITE_P(Pfaddatei, OhneBekanntenPfad,
                         ::testing::Values(nullptr, "\r\nC:\\zweite Zeile\\bill.db\r\n"));

struct Standardort {
    const char* name;
    bool ort1, ort2;
    int genommen;
};

class StandardOrt : public Start, public ::testing::WithParamInterface<Standardort> {};

TEST_P(StandardOrt, FileThereIsStoredAndTriedWithoutQuestion)
{
    const auto& p = GetParam();
    auto relativ = [&](const QString& voll) { return QDir(dir.path()).relativeFilePath(QDir::fromNativeSeparators(voll)); };
    if (p.ort1)
        sqliteDatei(relativ(pfade.standard1));
    if (p.ort2)
        sqliteDatei(relativ(pfade.standard2));
    laden();
    EXPECT_TRUE(dialogs.boxes().empty());
    const QString erwartet = p.genommen == 1 ? pfade.standard1 : pfade.standard2;
    EXPECT_EQ(billpfadTxt(), erwartet.toUtf8() + "\r\n");
    EXPECT_EQ(ansicht.text3, erwartet);
}

INSTANTIATE_TEST_SUITE_P(Orte, StandardOrt,
                         ::testing::Values(Standardort{"First", true, false, 1}, Standardort{"Second", false, true, 2},
                                           Standardort{"Both", true, true, 1}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST_F(Start, CancelledInputAsksAgainAndSearchesTheStandardPlacesFirst)
{
    const QString quelle = sqliteDatei(QStringLiteral("tk/bill.db"));
    dialogs.answer(Answer::Ok).cancelInput().answer(Answer::Yes);
    dialogs.answer(Answer::Ok).cancelInput().answer(Answer::Yes);
    dialogs.answer(Answer::Ok).type(quelle);
    laden();
    EXPECT_ZEILEN(dialogs.protokoll(), QStringList({kNichtGefunden, eingabe(), kUngueltig, kNichtGefunden, eingabe(),
                                               kUngueltig, kNichtGefunden, eingabe()}));
    EXPECT_EQ(ansicht.text2, QStringLiteral("SQLite3"));
}

TEST_F(Start, NoToTheRetryQuestionEndsTheProgram)
{
    dialogs.answer(Answer::Ok).cancelInput().answer(Answer::No);
    EXPECT_THROW(laden(), ProgramEnd);
    EXPECT_ZEILEN(dialogs.protokoll(), QStringList({kNichtGefunden, eingabe(), kUngueltig}));
    EXPECT_FALSE(dir.exists(QStringLiteral("Billpfad.txt")));
}

// ---- trying the path -------------------------------------------------------

struct Sqliteart {
    const char* name;
    QStringList abgelehnt;
    const char* text2;
    int istSQLite3;
};

class SqliteErkennen : public Start, public ::testing::WithParamInterface<Sqliteart> {};

TEST_P(SqliteErkennen, KindAndFullPathShownNothingCopied)
{
    const auto& p = GetParam();
    AuswahlQuellen q(p.abgelehnt);
    const QString quelle = sqliteDatei(QStringLiteral("tk/bill.db"));
    pfadMerken(quelle);
    laden(q);
    EXPECT_TRUE(dialogs.boxes().empty());
    EXPECT_EQ(ansicht.caption, QStringLiteral("ORVE-Tarifo V2.01"));
    EXPECT_EQ(ansicht.text2, QString::fromUtf8(p.text2));
    EXPECT_EQ(ansicht.text3, quelle);
    EXPECT_EQ(state().IstSQLite3, p.istSQLite3);
    EXPECT_EQ(state().IstParadox, 0);
    EXPECT_EQ(state().Billpfad, quelle);
    EXPECT_EQ(paradoxZeilen(), -1);
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(dir.path()).canonicalPath());
    // The newer driver is always asked first.
    EXPECT_TRUE(q.verlangt().value(0).contains(QStringLiteral("DSN=SQLite3 Datasource;Database=") + quelle + QLatin1Char(';')));
}

INSTANTIATE_TEST_SUITE_P(
    Treiber, SqliteErkennen,
    ::testing::Values(Sqliteart{"Newer", {}, "SQLite3", 1},
                      Sqliteart{"Older", {QStringLiteral("SQLite3 Datasource")}, "SQLite", 0}),
    [](const auto& i) { return std::string(i.param.name); });

TEST_F(Start, ParadoxIsCopiedAndTheFolderShown)
{
    const QString quelle = paradoxDatei(QStringLiteral("agfeo/dbf/bill.db"), 250);
    pfadMerken(quelle);
    laden();
    EXPECT_TRUE(dialogs.boxes().empty());
    const QString ordner = QFileInfo(quelle).absolutePath();
    EXPECT_EQ(ansicht.text2, QStringLiteral("Paradox"));
    EXPECT_EQ(ansicht.text3, ordner);
    EXPECT_EQ(state().Billpfad, ordner);
    EXPECT_EQ(state().IstParadox, 1);
    EXPECT_EQ(state().IstSQLite3, 0);
    EXPECT_EQ(billpfadTxt(), quelle.toUtf8() + "\r\n");
    EXPECT_EQ(paradoxZeilen(), 250);
    // "ORVE-Paradox" was created with the driver found and the system folder.
    EXPECT_TRUE(DatenquelleVorhanden(reg, kParadoxDatenquelle));
    const QString k = kDatenquellenSchluessel + kParadoxDatenquelle;
    EXPECT_EQ(reg.wert(Hive::LocalMachine, k, QStringLiteral("Driver")),
              RegWert::alsText(QCoreApplication::applicationFilePath()));
    EXPECT_EQ(reg.wert(Hive::LocalMachine, k + QStringLiteral("\\Engines\\Paradox"), QStringLiteral("ParadoxNetPath")),
              RegWert::alsText(system.systemOrdner));
}

TEST_F(Start, ParadoxCopyIsRebuiltAtEveryStart)
{
    const QString quelle = paradoxDatei(QStringLiteral("dbf/bill.db"), 40);
    pfadMerken(quelle);
    laden();
    schreibeParadoxBill(quelle, beispielAnrufe(12, 7));
    AnsichtProtokoll zweite;
    HauptfensterStart(state(), reg, system, quellen, dialogs, zweite, pfade).laden();
    EXPECT_EQ(paradoxZeilen(), 12);
}

struct Paradoxtreiber {
    const char* name;
    bool englisch, deutsch, datenquelleDa;
    bool endet;
};

class ParadoxTreiber : public Start, public ::testing::WithParamInterface<Paradoxtreiber> {};

TEST_P(ParadoxTreiber, DataSourceNeedsADriverUnlessItIsListed)
{
    const auto& p = GetParam();
    const QString datei = QCoreApplication::applicationFilePath();
    auto eintraege = ohne(standardInstallation(), kTreiberSchluessel + kParadoxTreiber);
    if (p.englisch)
        eintraege = mit(eintraege, textEintrag(kTreiberSchluessel + kParadoxTreiber, QStringLiteral("Driver"), datei));
    if (p.deutsch)
        eintraege = mit(eintraege, textEintrag(kTreiberSchluessel + kParadoxTreiberDeutsch, QStringLiteral("Driver"), datei));
    if (p.datenquelleDa)
        eintraege = mit(eintraege, textEintrag(kDatenquellenListe, kParadoxDatenquelle,
                                               QStringLiteral("Microsoft Paradox-Treiber (*.db )")));
    reg = SpeicherRegistry(eintraege);
    const QString quelle = paradoxDatei(QStringLiteral("dbf/bill.db"));
    pfadMerken(quelle);
    if (p.endet) {
        for (Answer a : {Answer::Ok, Answer::Cancel}) {
            ScriptedDialogs d;
            d.answer(a);
            EXPECT_THROW(HauptfensterStart(state(), reg, system, quellen, d, ansicht, pfade).laden(), ProgramEnd);
            EXPECT_ZEILEN(d.protokoll(), QStringList({kKeinTreiber}));
        }
        EXPECT_EQ(paradoxZeilen(), -1);
        return;
    }
    laden();
    EXPECT_TRUE(dialogs.boxes().empty());
    EXPECT_EQ(ansicht.text2, QStringLiteral("Paradox"));
    EXPECT_TRUE(DatenquelleVorhanden(reg, kParadoxDatenquelle));
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, ParadoxTreiber,
    ::testing::Values(Paradoxtreiber{"English", true, false, false, false},
                      Paradoxtreiber{"GermanOnly", false, true, false, false},
                      Paradoxtreiber{"NoneButListed", false, false, true, false},
                      Paradoxtreiber{"None", false, false, false, true}),
    [](const auto& i) { return std::string(i.param.name); });

TEST_F(Start, DataSourceThatCannotBeCreatedEndsTheProgram)
{
    StoerRegistry nurLesbar(standardInstallation());
    nurLesbar.gesperrteSchluessel.insert(QStringLiteral("software\\odbc\\odbc.ini\\orve-paradox"));
    const QString quelle = paradoxDatei(QStringLiteral("dbf/bill.db"));
    pfadMerken(quelle);
    dialogs.answer(Answer::Ok);
    EXPECT_THROW(HauptfensterStart(state(), nurLesbar, system, quellen, dialogs, ansicht, pfade).laden(), ProgramEnd);
    EXPECT_ZEILEN(dialogs.protokoll(),
                  QStringList({QStringLiteral(
                      "M ORVE-Tarifo | Der ODBC-Eintrag 'ORVE-Paradox' konnte nicht erzeugt werden!\\r\\r"
                      "Tragen Sie diesen manuell über die Systemsteuerung im ODBC-Bereich ein "
                      "(Systemsteuerung/Datenquellen(ODBC))\\r\\rErzeugen Sie den Eintrag ORVE-Paradox, indem Sie den "
                      "Microsoft Paradox Treiber mit dem Namen ORVE-Paradox\\rin der ODBC-Steuerung unter System-DNS "
                      "einbinden!\\r\\rAchten Sie auf genaue Schreibweise: ORVE-Paradox | OkCancel Critical")}));
}

struct Falschfall {
    const char* name;
    const char* datei;                                   // below the program folder
    void (*anlegen)(TempProgramFolder&, const QString&); // nullptr: no file
    const char* grund;                                   // nullptr: only the question
};

class FalscherPfad : public Start, public ::testing::WithParamInterface<Falschfall> {};

TEST_P(FalscherPfad, QuestionNoEndsYesAsksForThePathAtOnce)
{
    const auto& p = GetParam();
    const QString pfad = dir.file(QString::fromLatin1(p.datei));
    if (p.anlegen)
        p.anlegen(dir, QString::fromLatin1(p.datei));
    const bool vorher = QFileInfo::exists(pfad);
    pfadMerken(pfad);
    if (p.grund)
        dialogs.answer(Answer::Ok);
    dialogs.answer(Answer::No);
    EXPECT_THROW(laden(), ProgramEnd);
    const QStringList gezeigt = dialogs.protokoll();
    ASSERT_EQ(gezeigt.size(), p.grund ? 2 : 1);
    EXPECT_EQ(gezeigt.back(), kFalsch);
    if (p.grund) {
        EXPECT_TRUE(gezeigt[0].startsWith(QStringLiteral("M ORVE-Tarifo | Die Datei ")) && gezeigt[0].contains(p.grund)
                    && gezeigt[0].endsWith(QStringLiteral(" | Ok Critical")))
            << gezeigt[0].toStdString();
    }
    EXPECT_TRUE(state().Billpfad.isEmpty());
    EXPECT_EQ(QFileInfo::exists(pfad), vorher) << "the path was created";
    EXPECT_EQ(billpfadTxt(), pfad.toUtf8() + "\r\n");

    // Yes: the input box at once, without the standard places.
    const QString gut = sqliteDatei(QStringLiteral("neu/bill.db"));
    ScriptedDialogs zwei;
    if (p.grund)
        zwei.answer(Answer::Ok);
    zwei.answer(Answer::Yes).type(gut);
    HauptfensterStart(state(), reg, system, quellen, zwei, ansicht, pfade).laden();
    const QStringList z = zwei.protokoll();
    EXPECT_EQ(z.mid(z.size() - 2), QStringList({kFalsch, eingabe()}));
    EXPECT_EQ(ansicht.text3, gut);
    EXPECT_EQ(billpfadTxt(), gut.toUtf8() + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, FalscherPfad,
    ::testing::Values(
        Falschfall{"Missing", "dbf/bill.db", nullptr, nullptr},
        Falschfall{"CapitalB", "dbf/Bill.db",
                   [](TempProgramFolder& d, const QString& f) { schreibeParadoxBill(d.file(f), beispielAnrufe(30)); }, nullptr},
        Falschfall{"EmptyParadoxTable", "dbf/bill.db",
                   [](TempProgramFolder& d, const QString& f) { schreibeParadoxBill(d.file(f), {}); }, nullptr},
        Falschfall{"TextFile", "dbf/bill.db",
                   [](TempProgramFolder& d, const QString& f) { d.writeFile(f, QByteArray("keine Datenbank\r\n").repeated(200)); },
                   "Paradox"},
        Falschfall{"SqliteWithoutStdbill", "dbf/bill.db",
                   [](TempProgramFolder& d, const QString& f) {
                       d.writeFile(f, {});
                       SQLite::Database(QFile::encodeName(d.file(f)).toStdString(), SQLite::OPEN_READWRITE).exec("CREATE TABLE calls (x)");
                   },
                   "stdbill"},
        Falschfall{"DamagedParadox", "dbf/bill.db", // the header's record size does not fit the field list
                   [](TempProgramFolder& d, const QString& f) {
                       ParadoxOptionen o;
                       o.satzGroesseImKopf = 7;
                       d.writeFile(f, paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(20)), o));
                   },
                   "Paradox"},
        // Opening a FIFO would wait for a writer: it is refused at once.
        Falschfall{"Fifo", "dbf/bill.db",
                   [](TempProgramFolder& d, const QString& f) {
                       QDir().mkpath(QFileInfo(d.file(f)).absolutePath());
                       ASSERT_EQ(mkfifo(QFile::encodeName(d.file(f)).constData(), 0644), 0);
                   },
                   "keine Datei, sondern ein Gerät, eine Pipe"},
        Falschfall{"FolderNamedBillDb", "dbf/bill.db",
                   [](TempProgramFolder& d, const QString& f) { QDir().mkpath(d.file(f)); }, "keine Datei, sondern ein Ordner"}),
    [](const auto& i) { return std::string(i.param.name); });

// The reader keeps one block in memory: a table file of 2 GB (sparse here)
// costs the start no more memory than a small one.
TEST_F(Start, AHugeParadoxFileIsReadWithinTheMemoryBound)
{
    ParadoxOptionen o;
    o.blockKB = 32; // block numbers reach 2 GB
    dir.writeFile(QStringLiteral("dbf/bill.db"), paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(100)), o));
    const QString quelle = dir.file(QStringLiteral("dbf/bill.db"));
    ASSERT_TRUE(QFile::resize(quelle, qint64{2} << 30));
    pfadMerken(quelle);
    rusage vorher{};
    getrusage(RUSAGE_SELF, &vorher);
    laden();
    rusage nachher{};
    getrusage(RUSAGE_SELF, &nachher);
    EXPECT_TRUE(dialogs.boxes().empty());
    EXPECT_EQ(paradoxZeilen(), 100);
    EXPECT_LT(nachher.ru_maxrss - vorher.ru_maxrss, 200 * 1024) << "KB more at the peak";
}

TEST_F(Start, ParadoxTableFoundDamagedWhileCopyingKeepsWhatWasReadAndSaysSo)
{
    ParadoxOptionen o;
    o.anzahlImKopf = 61; // one record more than the blocks hold
    dir.writeFile(QStringLiteral("dbf/bill.db"), paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(60)), o));
    pfadMerken(dir.file(QStringLiteral("dbf/bill.db")));
    dialogs.answer(Answer::Ok);
    laden();
    const QString box = dialogs.protokoll().join(QLatin1Char('\n'));
    EXPECT_TRUE(box.startsWith("M ORVE-Tarifo | ") && box.contains("Es wurden nur 60 von 61 Datensätzen übernommen."))
        << box.toStdString();
    EXPECT_EQ(ansicht.text2, QStringLiteral("Paradox"));
    EXPECT_EQ(paradoxZeilen(), 60);
}

// A copy that fails or is refused leaves the previous start's rows behind
// at worst: the import and the lists must say that this start's calls are
// missing instead of using them.
TEST_F(Start, AfterAFailedOrRefusedCopyTheImportSaysNoCallsOfThisStartAreThere)
{
    struct Fall {
        const char* name;
        std::vector<ParadoxFeldDef> felder;
        std::int64_t grenze; // bytes the local database may grow; 0: no limit
        const char* ursache;
    };
    auto doppelt = paradoxBillFelder();
    doppelt[7].name = QStringLiteral("DAUER");
    const Fall faelle[] = {
        {"duplicate field names", doppelt, 0, "mehrere Felder mit dem Namen"},
        {"write fails", paradoxBillFelder(), 20001, "Datenträger einen Fehler gemeldet"},
    };
    const QString quelle = dir.file(QStringLiteral("dbf/bill.db"));
    for (const auto& f : faelle) {
        paradoxDatei(QStringLiteral("dbf/bill.db"), 40);
        pfadMerken(quelle);
        ScriptedDialogs erste;
        HauptfensterStart(state(), reg, system, quellen, erste, ansicht, pfade).laden();
        ASSERT_EQ(paradoxZeilen(), 40);

        dir.writeFile(QStringLiteral("dbf/bill.db"), paradoxTabelle(f.felder, paradoxBillZeilen(beispielAnrufe(3000, 3))));
        ScriptedDialogs zweite;
        zweite.answer(Answer::Ok);
        {
            std::optional<DateiGroessenGrenze> grenze;
            if (f.grenze)
                grenze.emplace(QFileInfo(dir.file(QStringLiteral("Datenbank/Bill.sqlite"))).size() + f.grenze);
            HauptfensterStart(state(), reg, system, quellen, zweite, ansicht, pfade).laden();
        }
        ASSERT_EQ(zweite.boxes().size(), 1u) << f.name;
        EXPECT_TRUE(zweite.boxes()[0].message.text.contains(QString::fromUtf8(f.ursache)))
            << f.name << ": " << zweite.boxes()[0].message.text.toStdString();
        EXPECT_EQ(state().IstParadox, 1);

        AnrufListe liste;
        try {
            tkBillEinlesen(state(), quellen, QStringLiteral("alle"), QStringLiteral("alle"), liste);
            ADD_FAILURE() << f.name << ": the import used the staging table";
        } catch (const QuellFehler& e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("bei diesem Programmstart keine Anrufdaten verfügbar"))
                        && e.text().contains(QString::fromUtf8(f.ursache)))
                << f.name << ": " << e.text().toStdString();
        }
        EXPECT_THROW(nebenstellenEintraege(state(), quellen), QuellFehler) << f.name;
        EXPECT_EQ(liste.rowCount(), 0) << f.name;
    }
}

TEST_F(Start, LocalDatabaseThatCannotBeOpenedIsReportedAndTheStartGoesOn)
{
    AuswahlQuellen ohneLokal({QStringLiteral("ORVE-Access")});
    const QString quelle = paradoxDatei(QStringLiteral("dbf/bill.db"));
    pfadMerken(quelle);
    dialogs.answer(Answer::Ok);
    laden(ohneLokal);
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_TRUE(dialogs.boxes()[0].message.text.contains(QStringLiteral("nicht übernommen")));
    EXPECT_EQ(ansicht.text2, QStringLiteral("Paradox"));
}

// A source another program holds is no wrong path: the user may try again.
TEST_F(Start, ALockedSqliteSourceIsInUseNotAWrongPath)
{
    const QString quelle = sqliteDatei(QStringLiteral("tk/bill.db"));
    pfadMerken(quelle);
    SQLite::Database anderesProgramm(QFile::encodeName(quelle).toStdString(), SQLite::OPEN_READWRITE);
    anderesProgramm.exec("BEGIN EXCLUSIVE");
    dialogs.answer(Answer::Yes).answer(Answer::No);
    EXPECT_THROW(laden(), ProgramEnd);
    const QStringList z = dialogs.protokoll();
    ASSERT_EQ(z.size(), 2);
    EXPECT_EQ(z[0], z[1]);
    EXPECT_TRUE(z[0].contains(QStringLiteral("wird gerade von einem anderen Programm benutzt"))
                && z[0].endsWith(QStringLiteral("Wollen Sie es nochmals versuchen | YesNo Critical")))
        << z[0].toStdString();

    anderesProgramm.exec("ROLLBACK");
    ScriptedDialogs danach;
    HauptfensterStart(state(), reg, system, quellen, danach, ansicht, pfade).laden();
    EXPECT_EQ(ansicht.text2, QStringLiteral("SQLite3"));
}

TEST_F(Start, SurchargeAndVatAreAskedForAfterTheSource)
{
    dir.writeFile(QStringLiteral("Kostenaufschlag.txt"), "\r\n");
    QFile::remove(dir.file(QStringLiteral("Steuersatz.txt")));
    const QString quelle = sqliteDatei(QStringLiteral("tk/bill.db"));
    pfadMerken(quelle);
    dialogs.type(QStringLiteral("1,30")).answer(Answer::Ok).type(QStringLiteral("19"));
    laden();
    ASSERT_EQ(dialogs.boxes().size(), 3u);
    EXPECT_EQ(dialogs.boxes()[0].input.preset, QStringLiteral("1,20"));
    EXPECT_EQ(dialogs.boxes()[1].message.text, QStringLiteral("Bisher ist kein gültiger Steuersatz angelegt!"));
    EXPECT_EQ(state().Kostenaufschlag, QStringLiteral("1,30"));
    EXPECT_EQ(state().Steuersatz, QStringLiteral("19"));
}

// ---- through the registry's data sources ---------------------------------

class StartUeberOdbc : public Start {
protected:
    void SetUp() override
    {
        Start::SetUp();
        ASSERT_TRUE(AccessDatenquelleAnlegen(reg, QCoreApplication::applicationFilePath(), kAccessDatenquelle, 0));
    }
};

TEST_F(StartUeberOdbc, RecognisesBothKindsThroughTheRegisteredDataSources)
{
    OdbcDatenquellen odbc(reg);
    const QString sqlite = sqliteDatei(QStringLiteral("tk/bill.db"));
    pfadMerken(sqlite);
    laden(odbc);
    EXPECT_EQ(ansicht.text2, QStringLiteral("SQLite3"));

    reg.entfernen(Hive::LocalMachine, kDatenquellenListe, kSQLite3Datenquelle);
    laden(odbc);
    EXPECT_EQ(ansicht.text2, QStringLiteral("SQLite"));
    EXPECT_EQ(state().IstSQLite3, 0);

    const QString paradox = paradoxDatei(QStringLiteral("px/bill.db"), 25);
    pfadMerken(paradox);
    laden(odbc);
    EXPECT_EQ(ansicht.text2, QStringLiteral("Paradox"));
    EXPECT_EQ(paradoxZeilen(), 25);
}

} // namespace
