// The batch command orve-tarifo-bericht run the way a scheduled job runs it
// (the real executable, on a complete demonstration program folder), and the
// main window's report run over the same data.
#include "help/Demonstration.h"
#include "mainwindow/Hauptfenster.h"
#include "report/BerichtLayout.h"
#include "report/RufnummerKuerzen.h"
#include "startup/DateiRegistry.h"
#include "startup/OdbcDatenquellen.h"
#include "startup/SplashLaden.h"
#include "startup/Systemumgebung.h"

#include "../mainwindow/AnsichtProtokoll.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

using namespace orve;
using namespace orve::test;

namespace {

struct Lauf {
    int code = -1;
    QString aus, fehler;
};

// A demonstration program folder (two months of calls of eight extensions,
// settings, example tariffs that price every call, registry file).
struct Ordner {
    TempProgramFolder tmp;
    QString pfad = tmp.file(QStringLiteral("P"));

    Ordner()
    {
        const QString treiber = QCoreApplication::applicationFilePath(); // a file that exists
        demoOrdnerAnlegen(pfad, treiber, treiber);
    }
    QString datei(const QString& name) const { return pfad + QLatin1Char('/') + name; }
    QByteArray lesen(const QString& name) const
    {
        QFile f(datei(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void sql(const char* s) const
    {
        SQLite::Database db(QFile::encodeName(datei(QStringLiteral("Datenbank/Bill.sqlite"))).toStdString(),
                            SQLite::OPEN_READWRITE);
        db.exec(s);
    }
    Lauf starten(const QStringList& argumente) const
    {
        QProcess p;
        p.start(QStringLiteral(ORVE_BERICHT_PROGRAMM), QStringList{QStringLiteral("--programmordner"), pfad} + argumente);
        p.waitForFinished(180000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    // Every column of `bill` in table order; REAL with all its digits.
    std::vector<QStringList> bill() const
    {
        SQLite::Database db(QFile::encodeName(datei(QStringLiteral("Datenbank/Bill.sqlite"))).toStdString());
        SQLite::Statement q(db, "SELECT * FROM bill ORDER BY rowid");
        std::vector<QStringList> zeilen;
        while (q.executeStep()) {
            QStringList z;
            for (int i = 0; i < q.getColumnCount(); ++i) {
                const SQLite::Column c = q.getColumn(i);
                z << (c.isNull()    ? QStringLiteral("NULL")
                      : c.isFloat() ? QString::number(c.getDouble(), 'g', 17)
                                    : QString::fromUtf8(c.getString()));
            }
            zeilen.push_back(z);
        }
        return zeilen;
    }
};

// The fields of a CSV line (";" between fields, "" inside quotes).
QStringList csvFelder(const QString& zeile)
{
    QStringList felder{QString()};
    bool zitat = false;
    for (qsizetype i = 0; i < zeile.size(); ++i) {
        const QChar c = zeile[i];
        if (zitat && c == u'"' && i + 1 < zeile.size() && zeile[i + 1] == u'"') {
            felder.last() += c;
            ++i;
        } else if (c == u'"')
            zitat = !zitat;
        else if (c == u';' && !zitat)
            felder << QString();
        else
            felder.last() += c;
    }
    return felder;
}

// The lines of the CSV without the byte-order mark and the header.
std::vector<QStringList> csvZeilen(const QByteArray& csv)
{
    std::vector<QStringList> z;
    const QStringList zeilen = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"));
    for (qsizetype i = 1; i + 1 < zeilen.size(); ++i)
        z.push_back(csvFelder(zeilen[i]));
    return z;
}

// Extension 24 is renamed in TK-Suite in the middle of the period, to a name
// holding ";" and quotes: its calls form two groups of the report.
void umbenennen(const Ordner& o)
{
    auto anrufe = demoAnrufe();
    for (DemoAnruf& a : anrufe)
        if (a.user == 24 && a.start.date() >= QDate(2026, 11, 1))
            a.username = QStringLiteral("Einkauf; \"Nord\"");
    demoBillSchreiben(o.datei(QStringLiteral("bill.db")), anrufe);
}

const char* const kOhneAusland = "DELETE FROM faktor WHERE vorwahl LIKE '00%'";

} // namespace

TEST(Stapellauf, ExitCodesMessagesAndWhatIsWritten)
{
    struct Fall {
        const char* name;
        std::function<void(const Ordner&)> vorher;
        QStringList argumente;
        int code;
        const char* fehler; // part of the error output
        bool dateien;       // PDF and CSV written
    };
    const QString fehltOrdner = QStringLiteral("/tmp/orve-gibt-es-nicht/");
    const Fall faelle[] = {
        {"every call priced", {}, {}, 0, "", true},
        {"no VAT rate", [](const Ordner& o) { QFile::remove(o.datei(QStringLiteral("Steuersatz.txt"))); }, {}, 1,
         "kein gültiger Steuersatz", false},
        {"bill.db not there", {}, {QStringLiteral("--billdb"), fehltOrdner + QStringLiteral("bill.db")}, 1,
         "Pfad der Datei Bill.db ist falsch", false},
        {"unknown option", {}, {QStringLiteral("--monat")}, 1, "--help", false},
        {"no program folder", {}, {QStringLiteral("--programmordner"), fehltOrdner}, 1,
         "Den Programmordner /tmp/orve-gibt-es-nicht", false},
        {"no call of the extension", {}, {QStringLiteral("--nebenstelle"), QStringLiteral("99")}, 2,
         "Datentabelle enthält keine Daten!", false},
        {"flat price and increment without minute price",
         [](const Ordner& o) { o.sql("UPDATE faktor SET Minutenpreis = 0, Pauschale = 0.1, Sekundentakt = 60"); }, {},
         3, "Sekundentakt angegeben, aber kein Minutenpreis", false},
        {"minute price that is no number",
         [](const Ordner& o) { o.sql("UPDATE Ortstarif SET Minutenpreis = 'zwei Cent'"); }, {}, 3, "keine Zahl", false},
        {"own price without Minutenpreis.txt",
         [](const Ordner& o) { QFile::remove(o.datei(QStringLiteral("Minutenpreis.txt"))); },
         {QStringLiteral("--eigenpreis")}, 1, "eigenen Minutenpreis festlegen", false},
        {"foreign numbers without tariff", [](const Ordner& o) { o.sql(kOhneAusland); }, {}, 4,
         "Kein Tarif für die Rufnummer 0043", true},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        Ordner o;
        if (f.vorher)
            f.vorher(o);
        const QStringList alt = QDir(o.pfad).entryList(QDir::Files);
        const Lauf l = o.starten(f.argumente + QStringList{QStringLiteral("--pdf"), o.datei(QStringLiteral("b.pdf")),
                                                           QStringLiteral("--csv"), o.datei(QStringLiteral("b.csv"))});
        EXPECT_EQ(l.code, f.code) << l.fehler.toStdString();
        EXPECT_TRUE(l.fehler.contains(QString::fromUtf8(f.fehler))) << l.fehler.toStdString();
        EXPECT_EQ(QFile::exists(o.datei(QStringLiteral("b.pdf"))), f.dateien);
        EXPECT_EQ(QFile::exists(o.datei(QStringLiteral("b.csv"))), f.dateien);
        if (!f.dateien) {
            EXPECT_EQ(QDir(o.pfad).entryList(QDir::Files), alt) << "no file left behind";
        }
        if (f.code == 1) {
            EXPECT_TRUE(o.bill().empty()) << "nothing imported";
        }
        EXPECT_EQ(l.aus.isEmpty(), !f.dateien) << "the summary only after a report";
    }
    EXPECT_FALSE(QFileInfo::exists(fehltOrdner));
}

TEST(Stapellauf, OtherBillDbAndPeriodForOneRunLeaveBillpfadAsItIs)
{
    Ordner o;
    const QString kopie = o.tmp.file(QStringLiteral("Kopie von bill.db"));
    ASSERT_TRUE(QFile::copy(o.datei(QStringLiteral("bill.db")), kopie));
    const QByteArray billpfad = o.lesen(QStringLiteral("Billpfad.txt"));
    const Lauf l = o.starten({QStringLiteral("--billdb"), kopie, QStringLiteral("--nebenstelle"), QStringLiteral("21"),
                              QStringLiteral("--ab"), QStringLiteral("16.11.2026 00:00:00"), QStringLiteral("--bis"),
                              QStringLiteral("2026-11-20 00:00:00")});
    EXPECT_EQ(l.code, 0) << l.fehler.toStdString();
    EXPECT_EQ(o.lesen(QStringLiteral("Billpfad.txt")), billpfad);
    const auto bill = o.bill();
    ASSERT_FALSE(bill.empty());
    for (const QStringList& z : bill)
        EXPECT_TRUE(z[1] == QLatin1String("21") && z[0] >= QLatin1String("2026-11-16") && z[0] < QLatin1String("2026-11-20"))
            << z.join(u'|').toStdString();
}

// The CSV lists every call of `bill` in report order (the calls of a group
// together, the groups in the order of their first call) with the stored
// values; stdout has one line per group with its count and two sums.
TEST(Stapellauf, CsvAndSummaryAgreeWithTheBillTable)
{
    Ordner o;
    umbenennen(o);
    o.sql(kOhneAusland);
    const QString csvDatei = o.datei(QStringLiteral("b.csv"));
    const Lauf l = o.starten({QStringLiteral("--csv"), csvDatei});
    ASSERT_EQ(l.code, 4) << l.fehler.toStdString();
    const QByteArray csv = o.lesen(QStringLiteral("b.csv"));
    ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBFtime;user;username;number;duration;ucosts;rufziel;lineno;costs;"
                               "vergleichsnummer;ucostsBrutto;tarifsatz\r\n"));

    // bill: time user username number duration costs ucosts ucostsBrutto rufziel vergleichsnummer lineno tarifsatz
    SQLite::Database db(QFile::encodeName(o.datei(QStringLiteral("Datenbank/Bill.sqlite"))).toStdString());
    SQLite::Statement q(db, "SELECT time, user, username, number, duration, ucosts, rufziel, lineno, costs, "
                            "vergleichsnummer, ucostsBrutto, tarifsatz FROM bill ORDER BY rowid");
    std::vector<QString> gruppen;                       // user|username in order of the first call
    std::map<QString, std::vector<std::vector<SQLite::Column>>> proGruppe;
    std::map<QString, std::vector<QStringList>> texte;
    while (q.executeStep()) {
        const QString g = QString::fromUtf8(q.getColumn(1).getString()) + u'|' + QString::fromUtf8(q.getColumn(2).getString());
        if (!texte.count(g))
            gruppen.push_back(g);
        QStringList z;
        for (int i = 0; i < 12; ++i)
            z << (q.getColumn(i).isNull() ? QString() : QString::fromUtf8(q.getColumn(i).getString()));
        texte[g].push_back(z);
    }
    ASSERT_EQ(gruppen.size(), 9u) << "eight extensions, one of them renamed";

    const auto zeilen = csvZeilen(csv);
    std::size_t i = 0;
    QStringList summen;
    bool gesehen[3] = {}; // a "????" row, an internal call, a name with ";" and quotes
    for (const QString& g : gruppen) {
        double kosten = 0, brutto = 0;
        for (const QStringList& soll : texte[g]) {
            ASSERT_LT(i, zeilen.size());
            const QStringList& ist = zeilen[i++];
            ASSERT_EQ(ist.size(), 12) << ist.join(u';').toStdString();
            for (int k : {0, 1, 2, 3, 4, 6, 7, 9, 11})
                EXPECT_EQ(ist[k], soll[k]) << "column " << k << " of CSV line " << i;
            for (int k : {5, 8, 10}) {
                EXPECT_FALSE(ist[k].contains(u'.')) << ist[k].toStdString();
                EXPECT_EQ(ist[k].isEmpty(), soll[k].isEmpty());
                EXPECT_NEAR(QString(ist[k]).replace(u',', u'.').toDouble(), soll[k].toDouble(), 1e-12)
                    << "column " << k << " of CSV line " << i;
            }
            kosten += soll[5].toDouble();
            brutto += soll[10].toDouble();
            gesehen[0] |= soll[6] == QLatin1String("????");
            gesehen[1] |= soll[3].isEmpty() && soll[5] == QLatin1String("0.0");
            gesehen[2] |= soll[2].contains(u'"');
        }
        const QStringList teile = g.split(u'|');
        summen << QStringLiteral("%1\t%2\t%3\t%4\t%5").arg(teile[0], teile[1]).arg(texte[g].size())
                      .arg(zweiStellen(kosten), zweiStellen(brutto));
    }
    EXPECT_EQ(i, zeilen.size());
    EXPECT_TRUE(gesehen[0] && gesehen[1] && gesehen[2]);
    EXPECT_EQ(l.aus.toStdString(), (summen.join(u'\n') + u'\n').toStdString());
}

// Shortened numbers in the PDF, the CSV and the window's report; the table
// keeps the full numbers.
TEST(Stapellauf, ShortenedNumbersOnlyInWhatPeopleRead)
{
    Ordner o;
    ASSERT_EQ(o.starten({}).code, 0);
    const auto voll = o.bill();
    const Lauf l = o.starten({QStringLiteral("--kuerzen"), QStringLiteral("--pdf"), o.datei(QStringLiteral("b.pdf")),
                              QStringLiteral("--csv"), o.datei(QStringLiteral("b.csv"))});
    ASSERT_EQ(l.code, 0) << l.fehler.toStdString();
    EXPECT_EQ(o.bill(), voll);

    const auto csv = csvZeilen(o.lesen(QStringLiteral("b.csv")));
    ASSERT_EQ(csv.size(), voll.size());
    int gekuerzt = 0;
    for (std::size_t i = 0; i < csv.size(); ++i) {
        for (int k : {3, 9}) {
            const QString nummer = voll[i][k] == QLatin1String("NULL") ? QString() : voll[i][k];
            EXPECT_EQ(csv[i][k].toStdString(), rufnummerKuerzen(nummer).toStdString());
        }
        gekuerzt += csv[i][3].endsWith(QLatin1String("xxx"));
    }
    EXPECT_GT(gekuerzt, 500);

    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QProcess p;
    p.start(pdftotext, {QStringLiteral("-layout"), o.datei(QStringLiteral("b.pdf")), QStringLiteral("-")});
    p.waitForFinished(60000);
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    ASSERT_TRUE(text.contains(QStringLiteral("Auswertung Telefonkosten")));
    EXPECT_EQ(text.count(QStringLiteral("xxx")), gekuerzt);
    for (const QStringList& z : voll)
        if (z[3].trimmed().size() >= 6) {
            EXPECT_FALSE(text.contains(z[3].trimmed())) << z[3].toStdString();
        }
}

// The batch command and the main window ("&Report erstellen", missing
// tariffs answered No) leave the same `bill`; the window's report with the
// check box ticked shows the shortened numbers.
TEST(Stapellauf, SameBillTableAsTheMainWindow)
{
    struct Fall {
        const char* nebenstelle;
        const char* ab;
    };
    for (const Fall& f : {Fall{"alle", "alle"}, Fall{"23", "2026-11-02 12:00:00"}}) {
        SCOPED_TRACE(f.nebenstelle);
        Ordner stapel, fenster;
        stapel.sql(kOhneAusland);
        fenster.sql(kOhneAusland);
        const Lauf l = stapel.starten({QStringLiteral("--nebenstelle"), QString::fromUtf8(f.nebenstelle),
                                       QStringLiteral("--ab"), QString::fromUtf8(f.ab)});
        ASSERT_EQ(l.code, 4) << l.fehler.toStdString();
        const auto soll = stapel.bill();
        const auto ohneTarif = std::count_if(soll.begin(), soll.end(), [](const QStringList& z) {
            return z.contains(QStringLiteral("????"));
        });

        const QString vorher = QDir::currentPath();
        AppState state;
        state.programmOrdner = fenster.pfad;
        ScriptedDialogs dialoge;
        for (auto n = ohneTarif; n > 0; --n)
            dialoge.answer(Answer::No);
        const auto registry = registryLaden(state, dialoge);
        EchteSystemumgebung system;
        OdbcDatenquellen quellen(*registry);
        SplashAnzeige splash;
        splashLaden(state, *registry, system, dialoge, splash);
        AnsichtProtokoll ansicht;
        ansicht.combo1 = QString::fromUtf8(f.nebenstelle);
        ansicht.combo2 = QString::fromUtf8(f.ab);
        Hauptfenster h(state, *registry, system, quellen, dialoge, ansicht);
        h.laden();
        h.Check2_Click(true);
        h.mnuReport();
        QDir::setCurrent(vorher);
        EXPECT_TRUE(dialoge.scriptDone());
        EXPECT_EQ(fenster.bill(), soll);

        ASSERT_TRUE(ansicht.bericht);
        const auto& b = *ansicht.bericht;
        const auto e = b.seitenEinteilen(20000);
        int zeilen = 0;
        for (std::size_t s = 0; s < e.seiten(); ++s)
            for (const Zeichnung& z : b.seite(e, s))
                if (z.name == QLatin1String("Text4")) {
                    // A number wider than its column keeps its start and end around "…".
                    const QString nummer = soll[static_cast<std::size_t>(zeilen++)][3].trimmed();
                    const QString gekuerzt = nummer.isEmpty() ? QString() : nummer.chopped(3) + QStringLiteral("xxx");
                    const QStringList teile = z.text.trimmed().split(QChar(0x2026));
                    EXPECT_TRUE(teile.size() == 1 ? teile[0] == gekuerzt
                                                  : gekuerzt.startsWith(teile[0]) && gekuerzt.endsWith(teile[1]))
                        << z.text.toStdString() << " for " << nummer.toStdString();
                }
        EXPECT_EQ(zeilen, static_cast<int>(soll.size()));
    }
}
