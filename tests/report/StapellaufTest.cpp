// The batch command orve-tarifo-bericht as a scheduled job runs it, on a demonstration program folder (two months of
// calls of eight extensions, settings, example tariffs that price every call, registry file).
#include "help/Demonstration.h"
#include "report/BerichtLayout.h"

#include "common/LocalDatabase.h"

#include "TempProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

using namespace orve;
using namespace orve::test;

namespace {

struct Lauf { int code = -1; QString aus, fehler; };

struct Ordner : TempProgramFolder {
    Ordner() { demoOrdnerAnlegen(path(), QCoreApplication::applicationFilePath(), QCoreApplication::applicationFilePath()); }
    SQLite::Database db() const { return {file(kLokaleDatenbankRelativ).toStdString(), SQLite::OPEN_READWRITE}; }
    void sql(const char* s) const { db().exec(s); }
    // "%P" in an argument stands for the program folder. `ausgabe` takes stdout instead of the pipe. With `voll`
    // the run sees %P/voll as a disk of 120 kB (a tmpfs in a mount namespace of its own) holding an earlier b.csv; it
    // prints "b.csv ersetzt" when that changed and "Inhalt:" with the files left there.
    Lauf starten(QStringList argumente, const QString& ausgabe = QString(), bool voll = false) const
    {
        argumente.replaceInStrings(QStringLiteral("%P"), path());
        argumente = QStringList{QStringLiteral(ORVE_BERICHT_PROGRAMM), QStringLiteral("--programmordner"), path()} + argumente;
        if (voll) {
            QDir(path()).mkdir(QStringLiteral("voll"));
            argumente = QStringList{"-rm", "sh", "-c",
                                    "mount -t tmpfs -o size=120k tmpfs \"$0\" && printf alt > \"$0/b.csv\" || exit 9; "
                                    "\"$@\"; r=$?; [ \"$(cat \"$0/b.csv\")\" = alt ] || echo b.csv ersetzt >&2; "
                                    "echo Inhalt: $(ls -A \"$0\") >&2; exit $r",
                                    path() + QStringLiteral("/voll")} + argumente;
        }
        QProcess p;
        if (!ausgabe.isEmpty())
            p.setStandardOutputFile(ausgabe);
        p.start(voll ? QStringLiteral("unshare") : argumente.takeFirst(), argumente);
        p.waitForFinished(180000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    int anrufe(const char* wo = "1") const { return db().execAndGet(std::string("SELECT count(*) FROM bill WHERE ") + wo); }
};

// stdout: one line per extension with its calls and their two sums, in the order of the report. The CSV and the
// PDF show the numbers shortened, the table keeps them.
void summeUndKuerzung(const Ordner& o, const Lauf& l)
{
    SQLite::Database db = o.db();
    SQLite::Statement g(db, "SELECT user, username, count(*), total(ucosts), total(ucostsBrutto) FROM bill "
                            "GROUP BY user, username ORDER BY min(rowid)");
    QString summen;
    while (g.executeStep()) {
        const auto t = [&](int k) { return QString::fromUtf8(g.getColumn(k).getString()); };
        summen += QStringLiteral("%1\t%2\t%3\t%4\t%5\n").arg(t(0), t(1), t(2), zweiStellen(g.getColumn(3).getDouble()),
                                                         zweiStellen(g.getColumn(4).getDouble()));
    }
    EXPECT_EQ(l.aus.toStdString(), summen.toStdString());
    EXPECT_EQ(o.anrufe("number LIKE '%xxx'"), 0);
    int gekuerzt = 0;
    for (const QString& z : QString::fromUtf8(o.readFile(QStringLiteral("b.csv"))).split(QStringLiteral("\r\n")))
        gekuerzt += z.section(u';', 3, 3).endsWith(QStringLiteral("xxx"));
    EXPECT_GT(gekuerzt, 500);
    QProcess p; // the PDF as text, where pdftotext is installed
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), o.file(QStringLiteral("b.pdf")), QStringLiteral("-")});
    if (p.waitForFinished(60000)) {
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()).count(QStringLiteral("xxx")), gekuerzt);
    }
}

} // namespace

TEST(Stapellauf, ExitCodesMessagesAndWhatIsWritten)
{
    const QStringList beide{"--pdf", "%P/b.pdf", "--csv", "%P/b.csv"};
    const QString fehlt = QStringLiteral("/tmp/orve-gibt-es-nicht/");
    const auto entfernen = [](const char* datei) { return [datei](const Ordner& o) { QFile::remove(o.file(datei)); }; };
    const auto sql = [](const char* befehl) { return [befehl](const Ordner& o) { o.sql(befehl); }; };
    const struct {
        const char* name;
        std::function<void(const Ordner&)> vorher;
        QStringList argumente;
        int code;
        const char* fehler = ""; // part of the error output
        bool eingelesen = false, pdf = false, csv = false;
        std::function<void(const Ordner&, const Lauf&)> danach;
    } faelle[] = {
        {"every call priced", {}, beide, 0, "", true, true, true},
        {"own minute price, CSV only", {}, {"--eigenpreis", "--csv", "%P/b.csv"}, 0, "", true, false, true},
        {"no VAT rate", entfernen("Steuersatz.txt"), beide, 1, "kein gültiger Steuersatz"},
        {"no bill.db", {}, beide + QStringList{"--billdb", fehlt + "bill.db"}, 1, "Pfad der Datei Bill.db ist falsch"},
        {"unknown option", {}, beide + QStringList{"--monat"}, 1, "--help"},
        {"no program folder", {}, beide + QStringList{"--programmordner", fehlt}, 1, "Den Programmordner /tmp/orve-gibt-es"},
        {"CSV into a missing folder", {}, {"--csv", "%P/fehlt/b.csv"}, 1, "/fehlt gibt es nicht"},
        {"full disk", sql("CREATE TRIGGER voll BEFORE INSERT ON bill BEGIN SELECT RAISE(FAIL, 'voll'); END"), beide, 1,
         "Das Einlesen der TK-Bill Daten wurde nach 0 Datensätzen abgebrochen"},
        {"no call of the extension", {}, beide + QStringList{"--nebenstelle", "99"}, 2, "Datentabelle enthält keine Daten!"},
        {"no minute price", sql("UPDATE faktor SET Minutenpreis = 0, Pauschale = 0.1, Sekundentakt = 60"), beide, 3,
         "Sekundentakt angegeben, aber kein Minutenpreis", true},
        {"minute price no number", sql("UPDATE Ortstarif SET Minutenpreis = 'zwei'"), beide, 3, "keine Zahl", true},
        {"no Minutenpreis.txt", entfernen("Minutenpreis.txt"), beide + QStringList{"--eigenpreis"}, 1, "eigenen Minutenpreis"},
        {"foreign numbers without tariff, shortened numbers", sql("DELETE FROM faktor WHERE vorwahl LIKE '00%'"),
         beide + QStringList{"--kuerzen"}, 4, "Kein Tarif für die Rufnummer 0043", true, true, true, summeUndKuerzung},
        {"other bill.db and period for one run", [](const Ordner& o) { QFile::copy(o.file("bill.db"), o.file("k.db")); },
         {"--billdb", "%P/k.db", "--nebenstelle", "21", "--ab", "16.11.2026 00:00:00", "--bis", "2026-11-20 00:00:00"},
         0, "", true, false, false, [](const Ordner& o, const Lauf&) {
             EXPECT_FALSE(o.readFile(QStringLiteral("Billpfad.txt")).contains("k.db"));
             EXPECT_EQ(o.anrufe("user <> '21' OR time < '2026-11-16' OR time >= '2026-11-20'"), 0);
         }},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        Ordner o;
        if (f.vorher)
            f.vorher(o);
        const QStringList alt = QDir(o.path()).entryList(QDir::Files);
        const Lauf l = o.starten(f.argumente);
        EXPECT_EQ(l.code, f.code) << l.fehler.toStdString();
        EXPECT_TRUE(l.fehler.contains(QString::fromUtf8(f.fehler))) << l.fehler.toStdString();
        EXPECT_EQ(o.exists(QStringLiteral("b.pdf")), f.pdf);
        EXPECT_EQ(o.exists(QStringLiteral("b.csv")), f.csv);
        EXPECT_TRUE(f.pdf || f.csv || QDir(o.path()).entryList(QDir::Files) == alt) << "no file left behind";
        EXPECT_EQ(o.anrufe() == 0, !f.eingelesen);
        EXPECT_EQ(l.aus.isEmpty(), f.code != 0 && f.code != 4) << "the summary only after a report";
        if (f.danach)
            f.danach(o, l);
    }
    EXPECT_FALSE(QFileInfo::exists(fehlt));
}

// Each output is complete or absent, and the exit code says so, 1 before 4. A FIFO named as output stops the run before
// the import and stays a FIFO. A file size limit (a full disk) cuts the PDF: the earlier PDF stays, the CSV and the
// summary are still written. A summary that cannot be written (stdout on /dev/full) fails the run. A tab or line break
// in a name becomes a blank in the summary, the CSV keeps it.
TEST(Stapellauf, OutputsAreCompleteOrReportedAndNeverReplaceAFifo)
{
    const QStringList beide{"--pdf", "%P/b.pdf", "--csv", "%P/b.csv"};
    const struct {
        const char* name;
        std::function<void(const Ordner&)> vorher;
        QStringList argumente;
        bool voll;
        const char* ausgabe;
        int code;
        QStringList fehler; // parts of the error output
        std::function<void(const Ordner&, const Lauf&)> danach;
    } faelle[] = {
        {"FIFO as PDF", [](const Ordner& o) { mkfifo(QFile::encodeName(o.file("b.pdf")).constData(), 0600); }, beide, false,
         nullptr, 1, {"b.pdf ist keine gewöhnliche Datei, sondern eine benannte Pipe (FIFO)"},
         [](const Ordner& o, const Lauf&) {
             EXPECT_EQ(o.anrufe(), 0);
             EXPECT_TRUE(QFileInfo(o.file("b.pdf")).exists() && !QFileInfo(o.file("b.pdf")).isFile());
             EXPECT_FALSE(o.exists("b.csv"));
         }},
        {"full disk after the PDF", {}, {"--pdf", "%P/voll/b.pdf", "--csv", "%P/voll/b.csv"}, true, nullptr, 1,
         {"Der Datenträger mit dem Ordner %P/voll ist voll", "Die vorhandene Datei ist unverändert.",
          "Geschrieben: die PDF-Datei %P/voll/b.pdf, die Übersicht auf der Standardausgabe.\n"
          "Nicht vollständig geschrieben: die CSV-Datei %P/voll/b.csv.\nInhalt: b.csv b.pdf\n"},
         [](const Ordner&, const Lauf& l) {
             EXPECT_FALSE(l.fehler.contains("ersetzt"));
             EXPECT_EQ(l.aus.count(u'\n'), 8);
         }},
        {"summary on a full disk, numbers without tariff", [](const Ordner& o) { o.sql("DELETE FROM faktor WHERE vorwahl LIKE '00%'"); },
         beide, false, "/dev/full", 1,
         {"Kein Tarif für die Rufnummer 0043", "Die Übersicht konnte nicht auf die Standardausgabe geschrieben werden.\n"
          "Der Datenträger ist voll", "Geschrieben: die PDF-Datei %P/b.pdf, die CSV-Datei %P/b.csv.\n"
          "Nicht vollständig geschrieben: die Übersicht auf der Standardausgabe."},
         [](const Ordner& o, const Lauf&) { EXPECT_TRUE(o.readFile("b.pdf").startsWith("%PDF-")); }},
        {"tab and line break in a name",
         [](const Ordner& o) {
             SQLite::Database(o.file("bill.db").toStdString(), SQLite::OPEN_READWRITE)
                 .exec("UPDATE stdbill SET username = 'Zimmer' || char(9) || '21' || char(10) || 'Nord' WHERE user = 21");
         },
         {"--nebenstelle", "21", "--csv", "%P/b.csv"}, false, nullptr, 0, {},
         [](const Ordner& o, const Lauf& l) {
             EXPECT_TRUE(l.aus.startsWith(QStringLiteral("21\tZimmer 21 Nord\t"))) << l.aus.toStdString();
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
        const Lauf l = o.starten(f.argumente, QString::fromUtf8(f.ausgabe), f.voll);
        EXPECT_EQ(l.code, f.code) << l.fehler.toStdString();
        for (QString teil : f.fehler)
            EXPECT_TRUE(l.fehler.contains(teil.replace(QStringLiteral("%P"), o.path()))) << l.fehler.toStdString();
        EXPECT_EQ(QDir(o.path()).entryList({"*.pdf.*", "*.csv.*"}, QDir::Files), QStringList()) << "no temporary file";
        f.danach(o, l);
    }
}
