// The batch command orve-tarifo-bericht as a scheduled job runs it, on a demonstration program folder (two months of
// calls of eight extensions, settings, example tariffs that price every call, registry file).
#include "batch/Stapellauf.h"
#include "batch/StapelOptionen.h"
#include "help/Demonstration.h"
#include "report/BerichtLayout.h"
#include "report/BerichtslaufHaken.h"
#include "tariffcheck/TarifimportHaken.h"

#include "common/Laufsperre.h"
#include "common/LokaleDatenbank.h"

#include "PdfDruckausgabe.h"
#include "Plattform.h"
#include "TempProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QThread>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <functional>

using namespace orve;
using namespace orve::test;

namespace {

struct Lauf {
    int code = -1;
    QString aus, fehler;
};

// Made absolute at the start: under Wine a path without drive names the current folder's drive.
const QString kBerichtProgramm = QFileInfo(QStringLiteral(ORVE_BERICHT_PROGRAMM)).absoluteFilePath();

struct Ordner : TempProgramFolder {
    Ordner()
    {
        demoOrdnerAnlegen(path(), QCoreApplication::applicationFilePath(), QCoreApplication::applicationFilePath());
    }
    SQLite::Database db() const { return {file(kLokaleDatenbankRelativ).toStdString(), SQLite::OPEN_READWRITE}; }
    void sql(const char* s) const { db().exec(s); }
    // "%P" in an argument stands for the program folder. With `voll` the run sees %P/voll as a disk of 120 kB (a tmpfs
    // in a mount namespace of its own) holding an earlier b.csv and alle/alt.pdf; it prints "b.csv ersetzt" when that
    // changed and "Inhalt:" with what is left there.
    void beginnen(QProcess& p, QStringList argumente, bool voll = false) const
    {
        argumente.replaceInStrings(QStringLiteral("%P"), path());
        argumente = QStringList {kBerichtProgramm, "--programmordner", path()} + argumente;
        if (voll) {
            QDir(path()).mkdir(QStringLiteral("voll"));
            argumente =
                QStringList {"-rm", "sh", "-c",
                             "mount -t tmpfs -o size=120k tmpfs \"$0\" && printf alt > \"$0/b.csv\" && mkdir "
                             "\"$0/alle\" && printf alt > \"$0/alle/alt.pdf\" || exit 9; \"$@\"; r=$?; "
                             "[ \"$(cat \"$0/b.csv\")\" = alt ] || echo b.csv ersetzt >&2; "
                             "echo Inhalt: $(cd \"$0\" && find . -mindepth 1 | sort) >&2; exit $r",
                             path() + QStringLiteral("/voll")}
                + argumente;
        }
        p.start(voll ? QStringLiteral("unshare") : argumente.takeFirst(), argumente);
    }
    // `ausgabe` takes stdout instead of the pipe.
    Lauf starten(const QStringList& argumente, const QString& ausgabe = QString(), bool voll = false) const
    {
        QProcess p;
        if (!ausgabe.isEmpty())
            p.setStandardOutputFile(ausgabe);
        beginnen(p, argumente, voll);
        p.waitForFinished(180000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    int anrufe(const char* wo = "1") const
    {
        return db().execAndGet(std::string("SELECT count(*) FROM bill WHERE ") + wo);
    }
};

// Every row of the three tariff tables by satz, every value with its type as SQLite quotes it (a real with all digits).
std::string tarifstand(SQLite::Database& db)
{
    std::string s;
    for (const std::string t : {"faktor", "Ortstarif", "CallByCall"}) {
        SQLite::Statement spalten(db,
                                  "SELECT group_concat('typeof(\"' || name || '\") || quote(\"' || name || '\")', "
                                  "' || '' '' || ') FROM pragma_table_info('"
                                      + t + "')");
        spalten.executeStep();
        SQLite::Statement q(db, "SELECT " + spalten.getColumn(0).getString() + " FROM " + t + " ORDER BY rowid");
        while (q.executeStep())
            s += t + ": " + q.getColumn(0).getString() + "\n";
    }
    return s;
}

QString dateiLesen(std::FILE* f)
{
    std::rewind(f);
    QByteArray b;
    char puffer[4096];
    for (std::size_t n; (n = std::fread(puffer, 1, sizeof puffer, f)) > 0;)
        b.append(puffer, static_cast<qsizetype>(n));
    std::fclose(f);
    return QString::fromUtf8(b);
}

// The batch command's run in this process, so that a hook can stop inside it.
Lauf imProzess(const QString& ordner, QStringList argumente)
{
    argumente.replaceInStrings(QStringLiteral("%P"), ordner);
    const StapelArgumente a =
        stapelArgumenteLesen(QStringList {"orve-tarifo-bericht", "--programmordner", ordner} + argumente, {});
    std::FILE *aus = std::tmpfile(), *fehler = std::tmpfile();
    const QString arbeitsordner = QDir::currentPath();
    const int code = stapellauf(*a.optionen, aus, fehler);
    QDir::setCurrent(arbeitsordner);
    return {code, dateiLesen(aus), dateiLesen(fehler)};
}

// stdout: one line per extension with its calls and their two sums, in the order of the report. The CSV and the
// PDF show the numbers shortened, the table keeps them.
bool pdfGeprueft = false;

void summeUndKuerzung(const Ordner& o, const Lauf& l)
{
    SQLite::Database db = o.db();
    SQLite::Statement g(db, "SELECT user, username, count(*), total(ucosts), total(ucostsBrutto) FROM bill "
                            "GROUP BY user, username ORDER BY min(rowid)");
    QString summen;
    while (g.executeStep()) {
        const auto t = [&](int k) { return QString::fromUtf8(g.getColumn(k).getString()); };
        const auto z = [&](int k) { return zweiStellen(g.getColumn(k).getDouble()); };
        summen += QStringLiteral("%1\t%2\t%3\t%4\t%5\n").arg(t(0), t(1), t(2), z(3), z(4));
    }
    EXPECT_EQ(l.aus.toStdString(), summen.toStdString());
    EXPECT_EQ(o.anrufe("number LIKE '%xxx'"), 0);
    int gekuerzt = 0;
    for (const QString& z : QString::fromUtf8(o.readFile("b.csv")).split(QStringLiteral("\r\n")))
        gekuerzt += z.section(u';', 3, 3).endsWith("xxx");
    EXPECT_GT(gekuerzt, 500);
    pdfGeprueft = pdfText(o.readFile("b.pdf")).has_value(); // where pdftotext is installed
    if (pdfGeprueft) {
        EXPECT_EQ(pdfText(o.readFile("b.pdf"))->count(QStringLiteral("xxx")), gekuerzt);
    }
}

} // namespace

TEST(Stapellauf, ExitCodesMessagesAndWhatIsWritten)
{
    const QString beide = "--pdf %P/b.pdf --csv %P/b.csv ", fehlt = "/tmp/orve-gibt-es-nicht/";
    using O = const Ordner&;
    using L = const Lauf&;
    const auto entfernen = [](const char* datei) { return [datei](O o) { QFile::remove(o.file(datei)); }; };
    const auto sql = [](const char* befehl) { return [befehl](O o) { o.sql(befehl); }; };
    const auto datei = [](const char* name, const char* inhalt) { return [=](O o) { o.writeFile(name, inhalt); }; };
    // Two calls in the telephone system's table whose start and duration cannot be read.
    const auto kaputt = [](O o) {
        SQLite::Database(o.file("bill.db").toStdString(), SQLite::OPEN_READWRITE)
            .exec("UPDATE stdbill SET time = '31.02.2026 25:00:00' WHERE id = 1; UPDATE stdbill SET duration = -30 "
                  "WHERE id = 2");
    };
    // Both are named; `wo` holds that many calls.
    const auto unlesbar = [](O o, L l, const char* wo, int anzahl) {
        EXPECT_EQ(l.fehler.count(QStringLiteral("Nicht berechnet")), 2) << l.fehler.toStdString();
        EXPECT_EQ(o.anrufe(wo), anzahl);
    };
    const auto anrufe = [](int n) { return [n](O o, L) { EXPECT_EQ(o.anrufe(), n); }; };
    // argumente: separated by blanks, "~" stands for a blank inside one; fehler: part of the error output;
    // ergebnis: what is there after the run, "B" the calls in the local table, "P" the PDF, "C" the CSV.
    const struct {
        const char* name;
        QString argumente;
        int code;
        const char *fehler, *ergebnis;
        std::function<void(O)> vorher = {};
        std::function<void(O, L)> danach = {};
    } faelle[] = {
        {"every call priced", beide, 0, "", "BPC", nullptr,
         [](O, L l) {
             EXPECT_TRUE(l.aus.startsWith("21\tEmpfang\t113\t122,17\t145,38\n")) << l.aus.toStdString();
         }},
        {"own minute price, CSV only", "--eigenpreis --csv %P/b.csv", 0, "", "BC"},
        {"a surcharge factor of 20, perhaps meant as 20 %: named, and the run goes on", "--csv %P/b.csv", 0,
         "Warnung: Kostenaufschlag.txt enthält 20, das ist ein Aufschlag von 1.900 %. Gemeint ist vielleicht 20 % "
         "(Faktor 1,20)",
         "BC", datei("Kostenaufschlag.txt", "20\r\n")},
        {"no VAT rate", beide, 1, "kein gültiger Steuersatz", "", entfernen("Steuersatz.txt")},
        {"VAT rate no number", beide, 1, "Steuersatz.txt enthält „abc“", "", datei("Steuersatz.txt", "abc\r\n")},
        {"no bill.db", beide + "--billdb " + fehlt + "bill.db", 1, "Pfad der Datei Bill.db ist falsch", ""},
        {"unknown option", beide + "--monat", 1, "--help", ""},
        {"no number of seconds to wait", beide + "--warten bald", 1, "Bei --warten ist „bald“ keine", ""},
        {"no program folder", beide + "--programmordner " + fehlt, 1, "orve-gibt-es-nicht/ gibt es nicht", ""},
        {"CSV into a missing folder", "--csv %P/fehlt/b.csv", 1, "/fehlt gibt es nicht", ""},
        {"a file where the files per extension belong", "--je-nebenstelle %P", 1,
         "/alle geschrieben:\nAn seiner Stelle steht eine Datei. Es wurde nichts ersetzt.", "",
         datei("alle", "Rechnungen")},
        {"full disk", beide, 1, "Das Einlesen der TK-Bill Daten wurde nach 0 Datensätzen abgebrochen", "",
         sql("CREATE TRIGGER voll BEFORE INSERT ON bill BEGIN SELECT RAISE(FAIL, 'voll'); END")},
        {"no call of the extension", beide + "--nebenstelle 99", 2, "Datentabelle enthält keine Daten!", ""},
        {"no minute price", beide, 3, "Sekundentakt angegeben, aber kein Minutenpreis", "B",
         sql("UPDATE faktor SET Minutenpreis = 0, Pauschale = 0.1, Sekundentakt = 60")},
        {"minute price no number", beide, 3, "keine Zahl", "B", sql("UPDATE Ortstarif SET Minutenpreis = 'zwei'")},
        {"infinite minute price", beide, 3, "„Inf“ ist keine Zahl", "B",
         sql("UPDATE Ortstarif SET Minutenpreis = 1e400")},
        {"row without prefix", beide, 3, "Satz 3, Vorwahl \n", "B",
         sql("UPDATE faktor SET vorwahl = '' WHERE satz = 3")},
        {"no Minutenpreis.txt", beide + "--eigenpreis", 1, "eigenen Minutenpreis", "",
         entfernen("Minutenpreis.txt")},
        {"empty Minutenpreis.txt", "--eigenpreis", 1, "eigenen Minutenpreis", "", datei("Minutenpreis.txt", "")},
        {"calls that cannot be read are named, not priced", beide, 4, "Nicht berechnet: Rufnummer ", "BPC", kaputt,
         [&](O o, L l) { unlesbar(o, l, "rufziel = '\?\?\?\?' AND costs IS NULL", 2); }},
        {"and left out of a period", "--ab 01.01.2000", 4, "Beginn „31.02.2026 25:00:00“", "B", kaputt,
         [&](O o, L l) { unlesbar(o, l, "time = '31.02.2026 25:00:00'", 0); }},
        {"foreign numbers without tariff, shortened numbers", beide + "--kuerzen", 4,
         "Kein Tarif für die Rufnummer 0043", "BPC", sql("DELETE FROM faktor WHERE vorwahl LIKE '00%'"),
         summeUndKuerzung},
        {"a page for each extension, the period and the web address in the PDF",
         "--pdf %P/b.pdf --ab 16.11.2026 --bis 2026-11-20~12:00:00 --neue-seite", 0, "", "BP",
         datei("Internetadresse.txt", "www.hotel-am-see.de\r\n"),
         [](O o, L l) {
             const auto text = pdfText(o.readFile(QStringLiteral("b.pdf")));
             const qsizetype nebenstellen = l.aus.count(u'\n');
             EXPECT_TRUE(
                 !text
                 || (text->count(u'\f') == nebenstellen
                     && text->count(QStringLiteral("Zeitraum: 16.11.2026 bis 20.11.2026 12:00")) == nebenstellen
                     && text->count(QStringLiteral("ORVE-Tarifo - siehe Internet unter www.hotel-am-see.de)"))
                            == nebenstellen))
                 << nebenstellen << text.value_or(QString()).toStdString();
         }},
        {"other bill.db and period for one run",
         "--billdb %P/k.db --nebenstelle 21 --ab 16.11.2026~00:00:00 --bis 2026-11-20~00:00:00", 0, "", "B",
         [](O o) { QFile::copy(o.file("bill.db"), o.file("k.db")); },
         [](O o, L) {
             EXPECT_FALSE(o.readFile("Billpfad.txt").contains("k.db"));
             EXPECT_EQ(o.anrufe("user <> '21' OR time < '2026-11-16' OR time >= '2026-11-20'"), 0);
         }},
        // Extension 21 called on the 3rd four times, on the 5th at 09:06:04, 12:05:24 and 16:54:36.
        {"date as end: its day", "--nebenstelle 21 --ab 03.11.26 --bis 05.11.2026", 0, "", "B", {}, anrufe(7)},
        {"moment as end: before it",
         "--nebenstelle 21 --ab 3.11.2026 --bis 2026-11-05~16:54:36",
         0,
         "",
         "B",
         {},
         anrufe(6)},
        {"an end before the beginning", "--nebenstelle 21 --ab 05.11.2026 --bis 2026-11-03~23:59", 1,
         "Das Ende des Zeitraums (bis 03.11.2026 23:59) liegt vor seinem Anfang (ab 05.11.2026).\nBitte wählen",
         ""},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        Ordner o;
        if (f.vorher)
            f.vorher(o);
        const QStringList alt = QDir(o.path()).entryList(QDir::Files);
        const Lauf l = o.starten(
            f.argumente.split(u' ', Qt::SkipEmptyParts).replaceInStrings(QStringLiteral("~"), QStringLiteral(" ")));
        EXPECT_EQ(l.code, f.code) << l.fehler.toStdString();
        EXPECT_TRUE(QDir::fromNativeSeparators(l.fehler).contains(QString::fromUtf8(f.fehler)))
            << l.fehler.toStdString();
        const QString ergebnis = QString::fromLatin1(f.ergebnis);
        EXPECT_EQ(o.exists("b.pdf"), ergebnis.contains(u'P'));
        EXPECT_EQ(o.exists("b.csv"), ergebnis.contains(u'C'));
        EXPECT_TRUE(ergebnis.contains(u'P') || ergebnis.contains(u'C')
                    || QDir(o.path()).entryList(QDir::Files) == alt)
            << "no file left behind";
        EXPECT_EQ(o.anrufe() == 0, !ergebnis.contains(u'B'));
        EXPECT_EQ(l.aus.isEmpty(), f.code != 0 && f.code != 4) << "the summary only after a report";
        if (f.danach)
            f.danach(o, l);
    }
    EXPECT_FALSE(QFileInfo::exists(fehlt));
    if (!pdfGeprueft)
        GTEST_SKIP() << "pdftotext (poppler-utils) is missing: the shortened numbers in the PDF were not checked";
}

// --je-nebenstelle on the demonstration folder: in the subfolder of the month one PDF and one CSV per extension, each
// with only that extension's calls, the sums of the full report and pages numbered within the file; stdout names the
// files after the summary. A second run replaces the subfolder whole.
TEST(Stapellauf, WritesTheFilesOfEachExtensionIntoTheSubfolderOfThePeriod)
{
    Ordner o;
    const QString monat = o.file("ab/2026-11");
    ASSERT_TRUE(QDir().mkpath(monat));
    o.writeFile("ab/2026-11/Oktober.pdf", "%PDF-");
    const QStringList november {"--ab", "01.11.2026", "--bis", "30.11.2026", "--je-nebenstelle", "%P/ab"};
    const Lauf l = o.starten(november);
    ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
    QStringList summen = l.aus.split(u'\n', Qt::SkipEmptyParts), dateien;
    while (!summen.isEmpty() && !summen.back().contains(u'\t'))
        dateien.prepend(summen.takeLast());
    ASSERT_EQ(dateien.size(), 16);
    EXPECT_EQ(QDir(monat).entryList(QDir::Files).size(), 16) << "October's file is gone";
    bool pdfGelesen = false;
    for (qsizetype i = 0; i < summen.size(); ++i) {
        const QStringList s = summen[i].split(u'\t'); // extension, name, calls, sum, sum with VAT
        const QString basis = "ab/2026-11/" + s[0] + u' ' + s[1];
        EXPECT_EQ(dateien.mid(2 * i, 2), QStringList({o.file(basis + ".pdf"), o.file(basis + ".csv")}));
        const QStringList csv = QString::fromUtf8(o.readFile(basis + ".csv")).split("\r\n", Qt::SkipEmptyParts);
        EXPECT_EQ(csv.size(), s[2].toInt() + 1) << basis.toStdString();
        for (const QString& z : csv.mid(1))
            EXPECT_EQ(z.section(u';', 1, 1), s[0]);
        const auto text = pdfText(o.readFile(basis + ".pdf"), true);
        if (!text)
            continue;
        pdfGelesen = true;
        const qsizetype seiten = text->count(u'\f');
        const QString t = text->simplified();
        EXPECT_EQ(t.count("ausgewerteter Teilnehmer: " + s[0] + u' ' + s[1]), seiten);
        EXPECT_TRUE(t.contains("Zeitraum: 01.11.2026 bis 30.11.2026")
                    && t.contains(QStringLiteral("Seite 1 von %1").arg(seiten))
                    && t.contains(QStringLiteral("Seite %1 von %1").arg(seiten))
                    && t.contains("(gerundet): " + s[3] + " Summe Kosten incl. 19 MwSt: " + s[4]))
            << t.toStdString();
        for (const QString& andere : summen)
            EXPECT_TRUE(andere == summen[i] || !t.contains(andere.section(u'\t', 1, 1))) << basis.toStdString();
    }

    const Lauf zweiter = o.starten(november + QStringList {"--nebenstelle", "22", "--kuerzen"});
    EXPECT_EQ(zweiter.code, 0) << zweiter.fehler.toStdString();
    EXPECT_EQ(QDir(monat).entryList(QDir::Files), QStringList({"22 Buchhaltung.csv", "22 Buchhaltung.pdf"}));
    EXPECT_TRUE(o.readFile("ab/2026-11/22 Buchhaltung.csv").contains("xxx;"));
    EXPECT_EQ(QDir(o.file("ab")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList {"2026-11"});
    if (!pdfGelesen)
        GTEST_SKIP() << "pdftotext (poppler-utils) is missing: the PDFs per extension were not read";
}

// Two runs on one program folder, the second started while the first holds the lock between its pricing and its report
// read, the moment a second import used to replace the first run's calls (one forced interleaving stands for all).
// Without --warten the second is refused and names the first; with --warten it waits for its turn. The first run's lock
// is an hour old by then: a living run's lock is never taken. Every result equals that of a run alone.
TEST(Stapellauf, ASecondRunIsRefusedOrWaitsAndEveryResultIsThatOfARunAlone)
{
    const QStringList a {"--nebenstelle", "21", "--csv", "%P/a.csv"},
        b {"--nebenstelle", "22", "--csv", "%P/b.csv"};
    Ordner allein;
    const Lauf alleinA = allein.starten(a), alleinB = allein.starten(b);
    ASSERT_EQ(alleinA.code + alleinB.code, 0) << alleinA.fehler.toStdString() << alleinB.fehler.toStdString();

    Ordner o;
    Lauf abgelehnt;
    QProcess wartend;
    QString warteMeldung;
    berichtslaufHakenSetzen([&] {
        QFile sperre(o.file(kLaufsperreRelativ));
        ASSERT_TRUE(
            sperre.open(QIODevice::ReadWrite)
            && sperre.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        abgelehnt = o.starten(b);
        o.beginnen(wartend, b + QStringList {"--warten", "600"});
        wartend.setReadChannel(QProcess::StandardError);
        while (!warteMeldung.contains(u'\n') && wartend.waitForReadyRead(60000))
            warteMeldung += QString::fromUtf8(wartend.readAllStandardError());
    });
    const Lauf erster = imProzess(o.path(), a);
    berichtslaufHakenSetzen({});
    wartend.waitForFinished(180000);

    EXPECT_EQ(abgelehnt.code, 1);
    const QString wer = "Stapelbefehl orve-tarifo-bericht, Benutzer ";
    const QString wo = QStringLiteral(", Rechner %1, Prozess %2, seit ")
                           .arg(QSysInfo::machineHostName(), QString::number(QCoreApplication::applicationPid()));
    for (const QString& text : {abgelehnt.fehler, warteMeldung})
        EXPECT_TRUE(text.contains(wer) && text.contains(wo)) << text.toStdString();
    EXPECT_TRUE(abgelehnt.fehler.contains(u"--warten SEKUNDEN")) << abgelehnt.fehler.toStdString();
    EXPECT_TRUE(warteMeldung.startsWith(u"Warte auf das Ende eines anderen Laufs")) << warteMeldung.toStdString();
    EXPECT_EQ(erster.code, 0) << erster.fehler.toStdString();
    EXPECT_EQ(wartend.exitCode(), 0) << wartend.readAllStandardError().toStdString();
    EXPECT_EQ(erster.aus.toStdString(), alleinA.aus.toStdString());
    EXPECT_EQ(QString::fromUtf8(wartend.readAllStandardOutput()).toStdString(), alleinB.aus.toStdString());
    for (const char* csv : {"a.csv", "b.csv"})
        EXPECT_EQ(o.readFile(csv), allein.readFile(csv)) << csv;
}

// Runs the batch command with `argumente` on the folder in a child process (the test below) and kills it where it
// holds the lock: between pricing and report, or between replacing the tariff tables and committing that.
void mittendrinBeenden(const Ordner& o, const QStringList& argumente)
{
    QProcess kind;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("ORVE_TEST_LAUFORDNER"), o.path());
    umgebung.insert(QStringLiteral("ORVE_TEST_LAUFARGUMENTE"), argumente.join(u'\n'));
    kind.setProcessEnvironment(umgebung);
    kind.start(
        QCoreApplication::applicationFilePath(),
        {"--gtest_filter=Stapellauf.DISABLED_HaeltDieSperreBisErBeendetWird", "--gtest_also_run_disabled_tests"});
    QByteArray aus;
    while (!aus.contains("gesperrt") && kind.waitForReadyRead(120000))
        aus += kind.readAllStandardOutput();
    ASSERT_TRUE(aus.contains("gesperrt")) << aus.toStdString() << kind.readAllStandardError().toStdString();
    kind.kill();
    kind.waitForFinished();
}

// A run killed while it holds the lock (here in the same place) leaves the program folder free for the next at once.
TEST(Stapellauf, ARunKilledWhileHoldingTheLockLeavesItFree)
{
    Ordner o;
    mittendrinBeenden(o, {"--nebenstelle", "22"});
    const Lauf l = o.starten({"--nebenstelle", "21"});
    EXPECT_EQ(l.code, 0) << l.fehler.toStdString();
    EXPECT_TRUE(l.aus.startsWith(u"21\t")) << l.aus.toStdString();
}

// The run of the test above, started as a child of it: it holds the lock until it is killed.
TEST(Stapellauf, DISABLED_HaeltDieSperreBisErBeendetWird)
{
    const QString ordner = qEnvironmentVariable("ORVE_TEST_LAUFORDNER");
    if (ordner.isEmpty())
        GTEST_SKIP() << "only as the child of ARunKilledWhileHoldingTheLockLeavesItFree";
    const auto halt = [] {
        std::fputs("gesperrt\n", stdout);
        std::fflush(stdout);
        for (;;)
            QThread::sleep(60);
    };
    berichtslaufHakenSetzen(halt);
    tarifimportHakenSetzen(halt);
    imProzess(ordner, qEnvironmentVariable("ORVE_TEST_LAUFARGUMENTE").split(u'\n'));
}

// A bad line, findings without --trotzdem and a kill before the end change nothing; an import written leaves a
// backup that gives the tables back exactly, also rows a CSV could not hold. Export then import round trips.
TEST(Stapellauf, TariffImportsChangeAllOrNothingAndTheirBackupUndoesThem)
{
    const QStringList import {"--tarife-importieren", "%P/t.csv"};
    const QByteArray kopf = "tabelle;vorwahl;Bezeichnung;von Zeit;bis Zeit;Minutenpreis;Pauschale;Sekundentakt\r\n"
                            "faktor;030;Berlin;0:00;24:00;0,05;0;0\r\n";
    const struct {
        const char* name;
        QByteArray csv; // t.csv; empty: the export's
        QStringList argumente;
        int code;
        const char* ausgabe; // part of stdout and stderr
    } faelle[] = {
        {"a bad line", kopf + "faktor;089;München;0:00;24:00;0,05 €;0;0\r\n", import, 1,
         "Zeile 3: Minutenpreis „0,05 €“ ist keine Zahl."},
        {"a leading zero lost", kopf + "faktor;89;München;0:00;24:00;0,05;0;0\r\n", import, 5,
         "War „089“ gemeint?"},
        {"written despite it", kopf + "faktor;89;München;0:00;24:00;0,05;0;0\r\n",
         import + QStringList {"--trotzdem"}, 0,
         "Die bisherigen Tariftabellen sind gesichert in %P/Datenbank/Tarife-"},
        {"killed before its end", kopf, import + QStringList {"--trotzdem"}, -1, ""},
        {"the export (110 and 112 are no prefixes that lost their zero)", "", import, 0,
         "„Standardtarife“ (22 Zeilen)"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        Ordner o;
        o.sql("UPDATE Ortstarif SET Pauschale = 0.1 + 0.2");
        if (!f.csv.isEmpty()) // rows a CSV could not bring back
            o.sql("UPDATE faktor SET Minutenpreis = 'zwei' WHERE satz = 2; INSERT INTO faktor (satz) VALUES (40)");
        SQLite::Database db = o.db();
        const std::string vorher = tarifstand(db);
        if (f.csv.isEmpty())
            ASSERT_TRUE(
                o.starten({"--tarife-exportieren", "%P/t.csv"}).aus.startsWith("27 Tarifzeilen geschrieben in"));
        else
            o.writeFile("t.csv", f.csv);
        Lauf l; // killed: code -1
        if (f.code < 0)
            mittendrinBeenden(o, f.argumente);
        else
            l = o.starten(f.argumente);
        EXPECT_EQ(l.code, f.code) << l.fehler.toStdString();
        EXPECT_TRUE(QDir::fromNativeSeparators(l.aus + l.fehler)
                        .contains(QString::fromUtf8(f.ausgabe).replace("%P", o.path())))
            << (l.aus + l.fehler).toStdString();
        EXPECT_EQ(tarifstand(db) == vorher, f.code != 0 || f.csv.isEmpty());
        if (f.code == 0) {
            const QStringList sicherungen = QDir(o.file("Datenbank")).entryList({"Tarife-*.sqlite"});
            ASSERT_EQ(sicherungen.size(), 1);
            EXPECT_EQ(o.starten({"--tarife-importieren", "%P/Datenbank/" + sicherungen[0], "--trotzdem"}).code, 0);
            EXPECT_EQ(tarifstand(db), vorher);
        }
    }
}

// Each output is complete or absent, and the exit code says so, 1 before 4. A FIFO named as output stops the run before
// the import and stays a FIFO. A file size limit (a full disk) cuts the PDF: the earlier PDF stays, the CSV and the
// summary are still written. A summary that cannot be written (stdout on /dev/full) fails the run. A tab or line break
// in a name becomes a blank in the summary, the CSV keeps it.
TEST(Stapellauf, OutputsAreCompleteOrReportedAndNeverReplaceAFifo)
{
    ORVE_NUR_POSIX("FIFO, /dev/full, eigener Datenträger");
    using O = const Ordner&;
    using L = const Lauf&;
    const struct {
        const char* name;
        const char* argumente; // separated by blanks
        bool voll;
        const char* ausgabe;
        int code;
        QString fehler; // parts of the error output, separated by "|"
        std::function<void(O)> vorher;
        std::function<void(O, L)> danach;
    } faelle[] = {
        {"FIFO as PDF", "--pdf %P/b.pdf --csv %P/b.csv", false, nullptr, 1,
         "b.pdf ist keine gewöhnliche Datei, sondern eine benannte Pipe (FIFO)",
         [](O o) { mkfifo(QFile::encodeName(o.file("b.pdf")).constData(), 0600); },
         [](O o, L) {
             EXPECT_EQ(o.anrufe(), 0);
             EXPECT_TRUE(QFileInfo(o.file("b.pdf")).exists() && !QFileInfo(o.file("b.pdf")).isFile());
             EXPECT_FALSE(o.exists("b.csv"));
         }},
        {"full disk after the PDF", "--pdf %P/voll/b.pdf --csv %P/voll/b.csv", true, nullptr, 1,
         "Der Datenträger mit dem Ordner %P/voll ist voll|Die vorhandene Datei ist unverändert.|"
         "Geschrieben: die PDF-Datei %P/voll/b.pdf, die Übersicht auf der Standardausgabe.\n"
         "Nicht vollständig geschrieben: die CSV-Datei %P/voll/b.csv.\nInhalt: ./alle ./alle/alt.pdf ./b.csv "
         "./b.pdf\n",
         nullptr,
         [](O, L l) {
             EXPECT_FALSE(l.fehler.contains("ersetzt"));
             EXPECT_EQ(l.aus.count(u'\n'), 8);
         }},
        {"files per extension on a full disk", "--je-nebenstelle %P/voll", true, nullptr, 1,
         "Die Dateien je Nebenstelle konnten nicht in den Ordner %P/voll/alle geschrieben werden.\nDie PDF-Datei|"
         "Der vorhandene Ordner ist unverändert.\n|Inhalt: ./alle ./alle/alt.pdf ./b.csv\n",
         nullptr, [](O, L l) { EXPECT_EQ(l.aus.count(u'\n'), 8) << "the summary, no file"; }},
        {"summary on a full disk, numbers without tariff", "--pdf %P/b.pdf --csv %P/b.csv", false, "/dev/full", 1,
         "Kein Tarif für die Rufnummer 0043|Die Übersicht konnte nicht auf die Standardausgabe geschrieben "
         "werden.\n"
         "Der Datenträger ist voll|Geschrieben: die PDF-Datei %P/b.pdf, die CSV-Datei %P/b.csv.\n"
         "Nicht vollständig geschrieben: die Übersicht auf der Standardausgabe.",
         [](O o) { o.sql("DELETE FROM faktor WHERE vorwahl LIKE '00%'"); },
         [](O o, L) { EXPECT_TRUE(o.readFile("b.pdf").startsWith("%PDF-")); }},
        {"tab and line break in a name", "--nebenstelle 21 --csv %P/b.csv", false, nullptr, 0, "",
         [](O o) {
             SQLite::Database(o.file("bill.db").toStdString(), SQLite::OPEN_READWRITE)
                 .exec("UPDATE stdbill SET username = 'Zimmer' || char(9) || '21' || char(10) || 'Nord' WHERE user "
                       "= 21");
         },
         [](O o, L l) {
             EXPECT_TRUE(l.aus.startsWith("21\tZimmer 21 Nord\t")) << l.aus.toStdString();
             EXPECT_EQ(l.aus.count(u'\n'), 1);
             EXPECT_TRUE(o.readFile("b.csv").contains(";21;\"Zimmer\t21\nNord\";"));
         }},
    };
    QProcess namensraum; // a disk of our own needs a user and mount namespace, not root
    namensraum.start(QStringLiteral("unshare"), {"-rm", "true"});
    const bool eigeneDisk = namensraum.waitForFinished() && namensraum.exitCode() == 0;
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        if (f.voll && !eigeneDisk) {
            std::printf("'%s' skipped: no user namespaces here\n", f.name);
            continue;
        }
        Ordner o;
        if (f.vorher)
            f.vorher(o);
        const Lauf l = o.starten(QString::fromUtf8(f.argumente).split(u' '), QString::fromUtf8(f.ausgabe), f.voll);
        EXPECT_EQ(l.code, f.code) << l.fehler.toStdString();
        for (QString teil : f.fehler.split(u'|', Qt::SkipEmptyParts))
            EXPECT_TRUE(l.fehler.contains(teil.replace(QStringLiteral("%P"), o.path()))) << l.fehler.toStdString();
        EXPECT_EQ(QDir(o.path()).entryList({"*.pdf.*", "*.csv.*"}, QDir::Files), QStringList())
            << "no temporary file";
        f.danach(o, l);
    }
}
