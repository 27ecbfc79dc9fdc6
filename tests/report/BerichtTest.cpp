#include "report/BerichtAnzeige.h"
#include "report/BerichtFenster.h"
#include "report/JeNebenstelle.h"
#include "report/RufnummerKuerzen.h"
#include "report/Telefonkostenauswertung.h"

#include "common/Dokumentfenster.h"
#include "common/LokaleDatenbank.h"

#include "BerichtBeispiel.h"
#include "DateiGroessenGrenze.h"
#include "PdfDruckausgabe.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"
#include "WidgetTexte.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QToolBar>

#include <SQLiteCpp/SQLiteCpp.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <map>

using namespace orve;
using namespace orve::test;

namespace {

BillZeile billZeile(const char* user, const char* name, const char* time, std::optional<double> ucosts,
                    const char* rufziel = "Ortstarif Berlin")
{
    const auto brutto = ucosts ? std::optional(*ucosts * 1.19) : std::nullopt;
    return BillZeile {time, user, name, "0301234567", "90", "1", ucosts, std::nullopt, brutto, rufziel};
}

std::string gruppenText(const BerichtDaten& d)
{
    QString s;
    for (const auto& g : d.gruppen) {
        s += g.user + u'/' + g.username + u':' + u' ' + zweiStellen(g.Kostensumme) + u'/'
             + zweiStellen(g.Bruttokosten);
        for (const auto& a : g.bill)
            s += QStringLiteral(" [%1 %2]").arg(a.time, a.number);
        s += u'\n';
    }
    return s.toStdString();
}

BerichtAnruf anruf(const char* rufziel, std::optional<double> ucosts, const char* number = "0301234567")
{
    return BerichtAnruf {"05.01.2009 09:30:00", "21", "Empfang", number, "125", ucosts, rufziel, "2"};
}

const int kA4 =
    int(std::floor(Telefonkostenauswertung::seitenformat().paintRect(QPageLayout::Point).height() * 20));

// "name=text" of the controls on a page whose names are listed, in order.
QString texte(const std::vector<Zeichnung>& seite, const QStringList& namen)
{
    QStringList z;
    for (const auto& d : seite)
        if (namen.contains(d.name))
            z << d.name + QLatin1Char('=') + d.text;
    return z.join(QLatin1Char(' '));
}

const auto ausloesen = [](QWidget& w, const char* aktion) {
    if (auto* a = kind<QAction>(&w, aktion))
        a->trigger();
};

} // namespace

// The import writes extension 21 before 100 and each extension's calls chronologically, though as text "100" < "21"
// and "05.01.2009" < "28.12.2008". The report keeps that order, groups by user and username, and sums the stored
// costs (also a German text of another writer) to halves away from zero, to the exact cent however many.
TEST(BerichtDaten, GroupsInImportOrderWithTheSumsOfTheStoredCosts)
{
    TempProgramFolder ordner;
    auto db = lokaleDatenbankOeffnen(ordner.file(kLokaleDatenbankRelativ));
    billSchreiben(*db, {billZeile("21", "Empfang", "28.12.2008 17:00:00", 0.108),
                        billZeile("21", "Empfang", "05.01.2009 09:30:00", 0.090),
                        billZeile("21", "Empfang", "2009-01-05 10:00:00", std::nullopt, "????"),
                        billZeile("21", "Einkauf", "2009-01-06 10:00:00", 0.5), // the extension renamed
                        billZeile("100", "Zimmer 100", "2009-01-02 08:00:00", 1.005),
                        billZeile("100", "Zimmer 100", "2009-01-10 08:00:00", 0.0, "Internes S0 Gespräch")});
    db->exec("INSERT INTO bill (time, user, username, ucosts) VALUES ('2009-01-11 08:00:00', '22', 'Lager', "
             "'-0,005')");
    const BerichtDaten d = bill_Grouping(*db);
    EXPECT_EQ(gruppenText(d),
              "21/Empfang: 0,20/0,24 [28.12.2008 17:00:00 0301234567] [05.01.2009 09:30:00 0301234567] "
              "[2009-01-05 10:00:00 0301234567]\n21/Einkauf: 0,50/0,60 [2009-01-06 10:00:00 0301234567]\n"
              "100/Zimmer 100: 1,01/1,20 [2009-01-02 08:00:00 0301234567] [2009-01-10 08:00:00 0301234567]\n"
              "22/Lager: -0,01/ [2009-01-11 08:00:00 ]\n");
    EXPECT_FALSE(d.gruppen[0].bill[2].ucosts) << "a ???? row keeps empty costs";

    // 12345 calls of 0,001 cost 12,345, shown as 12,35; added up plainly the doubles give 12,34499999999860.
    db->exec("DELETE FROM bill");
    billSchreiben(*db, std::vector<BillZeile>(12345, billZeile("21", "Empfang", "2009-01-02 08:00:00", 0.001)));
    EXPECT_EQ(zweiStellen(bill_Grouping(*db).gruppen.at(0).Kostensumme), "12,35");
}

TEST(Telefonkostenauswertung, ShowsFieldsInTheirFormatsAndTheVatCaptionBuiltAtStart)
{
    const std::vector<BerichtAnruf> anrufe {anruf("Ortstarif Berlin", 0.108),
                                            anruf("Internes S0 Gespräch", 0.0, ""), anruf("????", std::nullopt)};
    const BerichtDaten d {{BerichtGruppe {"21", "Empfang", 0.198, 0.23562, anrufe}}};
    const QStringList namen = {"Bezeichnung3", "Bezeichnung15", "Text9",  "Text10",
                               "Text6",        "Text4",         "Text7",  "Text8",
                               "Text11",       "Bezeichnung12", "Text12", "Bezeichnung13"};
    const QString hinweis = "Bezeichnung13=(Angabe Telefoniedauer in Sekunden, Auswertung erstellt mit ORVE-Tarifo";
    const struct {
        const char* steuersatz;
        int ohneMwst, kuerzen;
        const char *nummer, *fuss, *zeitraum = "", *adresse = "";
    } faelle[] = {
        {"19", 0, 0, "0301234567", " Bezeichnung12=Summe Kosten incl. 19 MwSt: Text12=0,24"},
        {"7.5", 0, 1, "0301234xxx", " Bezeichnung12=Summe Kosten incl. 7,5 MwSt: Text12=0,24",
         "Zeitraum: 03.11.2026 bis 07.11.2026", "www.hotel-am-see.de"},
        {"7,7", 0, 0, "0301234567", " Bezeichnung12=Summe Kosten incl. 7,7 MwSt: Text12=0,24",
         "ab 03.11.2026 14:30", "https://www.hotel-am-see.de"},
        {"19", 1, 0, "0301234567", ""},
    };
    for (const auto& f : faelle) {
        AppState state {.OhneMwst = f.ohneMwst, .RufnummernKuerzen = f.kuerzen};
        state.Steuersatz = QString::fromUtf8(f.steuersatz);
        state.Internetadresse = QString::fromUtf8(f.adresse);
        BerichtOptionen o = BerichtOptionen::aus(state);
        o.datum = QDate(2009, 2, 1);
        o.zeitraum = QString::fromUtf8(f.zeitraum);
        const Telefonkostenauswertung b(d, o);
        const auto e = b.seitenEinteilen(kA4);
        ASSERT_EQ(e.seiten(), 1u);
        EXPECT_EQ(
            texte(b.seite(e, 0), namen).toStdString(),
            QStringLiteral("Bezeichnung3=01.02.2009 %3Text9=21 Text10=Empfang Text6=Ortstarif Berlin Text4=%1 "
                           "Text7=125 Text8=0,108 Text6=Internes S0 Gespräch Text4= Text7=125 Text8=0,000 "
                           "Text6=???? Text4=%1 Text7=125 Text8= Text11=0,20%2 %4%5)")
                .arg(f.nummer, f.fuss, *f.zeitraum ? "Bezeichnung15=" + o.zeitraum + ' ' : QString(), hinweis,
                     *f.adresse ? " - siehe Internet unter " + state.Internetadresse : QString())
                .toStdString());
    }
}

// On a document that is proof for an invoice a text wider than its field is set smaller, down to 6 points, before
// its middle gives way; trailing blanks take no room; a dialled number is never shortened.
TEST(Telefonkostenauswertung, WideTextsAreSetSmallerBeforeTheyAreShortenedAndNumbersOnlyByTheirLastDigits)
{
    BerichtAnruf a =
        anruf("Mobilfunk Telekom, Vodafone und Telefónica zum Sondertarif*", 0.1, "01013004312383812345699");
    a.username = QStringLiteral("(Internnummer) ");
    const Telefonkostenauswertung b({{{"21", a.username, 0.1, 0.1, {a}}}}, {});
    std::map<QString, std::pair<QString, bool>> gesehen; // text, set smaller
    for (const Zeichnung& z : b.seite(b.seitenEinteilen(kA4), 0))
        gesehen[z.name] = {z.text, z.schrift > 0 && z.schrift < 165};
    EXPECT_EQ(gesehen["Text3"].first, a.username);
    EXPECT_EQ(gesehen["Text4"], std::pair(a.number, true));
    EXPECT_TRUE(gesehen["Text6"].second && gesehen["Text6"].first.contains(u'…')
                && gesehen["Text6"].first.endsWith(u'*'))
        << gesehen["Text6"].first.toStdString();
    // A number is shortened by its last three digits.
    for (const auto& [nummer, gekuerzt] : {std::pair {"0301234567        ", "0301234xxx        "},
                                           {"08912345", "08912xxx"},
                                           {"110", "xxx"},
                                           {"12 ", "xxx "},
                                           {"unbekannt", "unbekannt"},
                                           {"", ""}})
        EXPECT_EQ(rufnummerKuerzen(QString::fromUtf8(nummer)).toStdString(), gekuerzt) << nummer;
}

// Extensions of many sizes over 23 pages: every call once, below its group's header on every page (a page that
// continues a group repeats it), a group header never without the group's first call nor a footer without its last,
// every section above the page footer, the pages numbered "Seite n von 23". Asked for, each group starts on a new page.
TEST(Telefonkostenauswertung, SplitsIntoNumberedPagesKeepingGroupHeadersAndFootersWithTheirCalls)
{
    BerichtDaten d;
    for (std::size_t n : {1, 1, 1, 2, 3, 40, 2, 7, 45, 46, 44, 1, 1, 2, 100, 500})
        d.gruppen.push_back(
            {QString::number(21 + d.gruppen.size()), "Empfang", 0.1, 0.1, {n, anruf("Berlin", 0.1)}});
    for (auto& g : d.gruppen)
        for (auto& a : g.bill)
            a.user = g.user;
    while (Telefonkostenauswertung(d, {}).seitenEinteilen(kA4).seiten() < 23)
        d.gruppen.back().bill.push_back(d.gruppen.back().bill.back());
    for (const bool neueSeite : {false, true}) {
        SCOPED_TRACE(neueSeite ? "each group on a new page" : "groups one after the other");
        const Telefonkostenauswertung b(d, {.neueSeiteJeNebenstelle = neueSeite});
        const auto e = b.seitenEinteilen(kA4);
        ASSERT_TRUE(neueSeite || e.seiten() == 23u) << e.seiten();
        QString abschnitte, letzte; // K group header, D call, F group footer; the extension of the last call
        for (std::size_t s = 0; s < e.seiten(); ++s) {
            const auto seite = b.seite(e, s);
            EXPECT_EQ(texte(seite, {"Bezeichnung6", "Bezeichnung5", "Bezeichnung7", "Bezeichnung4"}),
                      QStringLiteral("Bezeichnung4=%2 Bezeichnung5=%1 Bezeichnung6=Seite Bezeichnung7=von")
                          .arg(s + 1)
                          .arg(e.seiten()));
            QString hier, kopf;
            QSet<QString> nebenstellen;
            for (const Zeichnung& z : seite) {
                const auto art = QStringList {"Text9", "Text8", "Text11"}.indexOf(z.name);
                if (art >= 0 && !(art == 0 && hier.isEmpty() && z.text == letzte)) // not a header repeated
                    hier += QLatin1Char("KDF"[art]);
                if (art == 0)
                    kopf = z.text;
                if (z.name == QLatin1String("Text2")) {
                    EXPECT_EQ(z.text, kopf) << "page " << s + 1 << ": a call below the header of its group";
                    nebenstellen.insert(letzte = z.text);
                }
                EXPECT_TRUE(z.name == QLatin1String("Linie1") || z.name.startsWith(QLatin1String("Bezeichnung"))
                            || z.rechteck.bottom() <= e.fussY())
                    << "page " << s + 1 << " " << z.name.toStdString();
            }
            EXPECT_FALSE(hier.startsWith(QLatin1Char('F')) || hier.endsWith(QLatin1Char('K')))
                << "page " << s + 1 << ": " << hier.toStdString();
            EXPECT_TRUE(!neueSeite || nebenstellen.size() == 1) << "page " << s + 1;
            abschnitte += hier;
        }
        QString soll;
        for (const BerichtGruppe& g : d.gruppen)
            soll += QLatin1Char('K') + QString(g.bill.size(), QLatin1Char('D')) + QLatin1Char('F');
        EXPECT_EQ(abschnitte, soll);
    }
    EXPECT_EQ(Telefonkostenauswertung({}, {}).seitenEinteilen(kA4).seiten(), 1u) << "an empty report has its page";
}

// "Drucken…" prints every page of the report shown, with its title and sums.
TEST(BerichtFenster, ASecondReportReplacesTheFirstPrintsItsPagesAndSavesAsPdfOrCsvUnderTheChosenName)
{
    // The file question starts in the folder of the last file written completely, proposing the report's name. A
    // cancelled file question writes nothing; a file that cannot be written gets its message naming the cause: a FIFO
    // stays a FIFO, a CSV cut short by a full disk leaves the earlier file as it was. The CSV is for a German
    // spreadsheet: money with a decimal comma, texts holding ";" or quotes quoted, numbers as the report shows them.
    ORVE_NUR_POSIX("FIFO, Dateigrößengrenze");
    TempProgramFolder ordner;
    const QString ohneOrdner = ordner.file("fehlt/Januar.pdf"), fifo = ordner.file("Drucker.pdf");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString csv = ordner.file("Januar.csv");
    ScriptedDialogs dialoge;
    dialoge.chooseFile(QString()).chooseFile(ordner.file("Januar.pdf")).chooseFile(ohneOrdner).answer(Answer::Ok);
    dialoge.chooseFile(fifo).answer(Answer::Ok).chooseFile(csv).chooseFile(csv).answer(Answer::Ok);
    const BerichtAnruf a {"2009-01-05 09:30:00", "21",    "Einkauf; \"Nord\"",
                          "0301234567        ",  "90",    0.108,
                          "Ortstarif Berlin",    "1",     0.09,
                          "0301234567        ",  0.12852, "Ortstarif:1"};
    const BerichtAnruf ohne {"05.01.2009 10:00:00", "22", "Lager", "110", "5", {}, "????", "2", {}, "110"};
    const BerichtDaten daten {{{"21", a.username, 0.108, 0.12852, {a}}, {"22", "Lager", {}, {}, {ohne}}}};
    PdfDruckausgabe druck;
    BerichtFenster fenster(Telefonkostenauswertung(daten, {.rufnummernGekuerzt = true}), dialoge, druck, nullptr,
                           QStringLiteral("Telefonkosten 21 alle"), ordner.file(kSpeicherordnerDatei));
    for (const char* aktion :
         {"AlsPdfSpeichern", "AlsPdfSpeichern", "AlsPdfSpeichern", "AlsPdfSpeichern", "AlsCsvSpeichern"})
        ausloesen(fenster, aktion);
    {
        DateiGroessenGrenze grenze(200); // the header and part of the first call
        ausloesen(fenster, "AlsCsvSpeichern");
    }

    EXPECT_TRUE(ordner.readFile("Januar.pdf").startsWith("%PDF-"));
    EXPECT_FALSE(QFile::exists(ohneOrdner));
    EXPECT_EQ(
        ordner.readFile("Januar.csv").toStdString(),
        "\xEF\xBB\xBFtime;user;username;number;duration;ucosts;rufziel;lineno;costs;vergleichsnummer;"
        "ucostsBrutto;tarifsatz\r\n2009-01-05 09:30:00;21;\"Einkauf; \"\"Nord\"\"\";0301234xxx        ;90;0,108;"
        "Ortstarif Berlin;1;0,090;0301234xxx        ;0,12852;Ortstarif:1\r\n"
        "05.01.2009 10:00:00;22;Lager;xxx;5;;????;2;;xxx;;\r\n");
    const QStringList boxen = dialoge.protokoll();
    EXPECT_TRUE(boxen.value(3).contains(QString("Den Ordner %1 gibt es nicht").arg(ordner.file("fehlt"))));
    EXPECT_TRUE(boxen.value(5).contains(fifo + " ist keine gewöhnliche Datei, sondern eine benannte Pipe (FIFO)"));
    EXPECT_EQ(QFileInfo(fifo).isFile(), false);
    EXPECT_TRUE(boxen.value(8).contains(QString("Der Datenträger mit dem Ordner %1 ist voll").arg(ordner.path())))
        << boxen.value(8).toStdString();
    EXPECT_EQ(QDir(ordner.path()).entryList(QDir::Files | QDir::System).size(), 4) << "no temporary file left";
    const auto frage = [](const char* format, const QString& datei) {
        return QStringLiteral("F Als %1 speichern | %2").arg(QLatin1String(format), datei);
    };
    const QString imOrdner = ordner.file("Telefonkosten 21 alle");
    EXPECT_EQ(boxen.value(0),
              frage("PDF", QDir::toNativeSeparators(QDir::home().filePath("Telefonkosten 21 alle.pdf"))));
    EXPECT_EQ(boxen.value(2), frage("PDF", imOrdner + ".pdf"));
    EXPECT_EQ(boxen.value(4), frage("PDF", imOrdner + ".pdf")) << "a failed write keeps the folder";
    EXPECT_EQ(boxen.value(6), frage("CSV", imOrdner + ".csv"));
    const auto bericht = [](std::size_t n) {
        std::vector<BerichtAnruf> anrufe(n, anruf("Ortstarif Berlin", 0.1));
        anrufe.back().ucosts = 12.345;
        return Telefonkostenauswertung({{{"21", "Empfang", 0.1 * n, 0.119 * n, anrufe}}}, {});
    };
    ScriptedDialogs fragen;
    PdfDruckausgabe drucker;
    BerichtAnzeige anzeige(fragen, nullptr, &drucker);
    QPointer<BerichtFenster> erstes = anzeige.zeigen(bericht(3), "a");
    ASSERT_TRUE(erstes);

    QPointer<BerichtFenster> zweites = anzeige.zeigen(bericht(100), "a");
    EXPECT_TRUE(erstes.isNull()) << "the first report window is gone";
    EXPECT_EQ(anzeige.fenster(), zweites);
    EXPECT_TRUE(zweites->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(zweites->vorschau()->pageCount(), 3);
    EXPECT_GT(zweites->vorschau()->height(), zweites->height() / 2) << "the pages fill the window";
    for (const auto* leiste : zweites->findChildren<QToolBar*>())
        for (QAction* a : leiste->actions())
            EXPECT_TRUE(a->isSeparator() || leiste->widgetForAction(a)->isVisible()) << a->text().toStdString();
    ausloesen(*zweites, "Drucken");
    EXPECT_EQ(drucker.seiten(), 3);

    ausloesen(*zweites, "Schliessen");
    QApplication::processEvents();
    EXPECT_TRUE(zweites.isNull());
    EXPECT_EQ(anzeige.fenster(), nullptr);

    const auto text = pdfText(drucker.pdf);
    if (!text)
        GTEST_SKIP() << "pdftotext is not installed: the printed text is not checked";
    EXPECT_TRUE(text->contains("Auswertung Telefonkosten für angefallene Gespräche") && text->contains("10,00")
                && text->contains("11,90"))
        << text->toStdString();
    EXPECT_EQ(text->count("ausgewerteter Teilnehmer:"), 3) << "the group's header on every page";
    // Money ends at the right of its field: the decimal commas of the calls and of the sums stand one under the other.
    QProcess p;
    p.start("pdftotext", {"-bbox", "-", "-"});
    ASSERT_TRUE(p.waitForStarted());
    p.write(drucker.pdf);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    std::map<QString, std::pair<double, double>> wort; // left and right edge in points
    static const QRegularExpression kWort("xMin=\"([0-9.]+)\"[^>]*xMax=\"([0-9.]+)\"[^>]*>([^<]+)<");
    for (auto i = kWort.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); i.hasNext();) {
        const auto w = i.next();
        wort[w.captured(3)] = {w.captured(1).toDouble(), w.captured(2).toDouble()};
    }
    const auto breite = [&](const char* t) { return wort.at(t).second - wort.at(t).first; };
    EXPECT_NEAR(wort.at("12,345").second, wort.at("0,100").second, 0.05);
    EXPECT_NEAR(wort.at("10,00").second + breite("12,345") - breite("0,100"), wort.at("0,100").second, 0.05);
    EXPECT_NEAR(wort.at("11,90").second, wort.at("10,00").second, 0.05);
}

// The files of each extension: what a file name cannot hold on Linux or Windows becomes "_", no name is hidden or a
// device, and each is distinct, also where only the letter case differs.
TEST(JeNebenstelle, FileNamesHoldNothingAFileSystemRefusesAndStayDistinct)
{
    const std::array<const char*, 3> faelle[] = {
        // extension, name, file name
        {"21", "Empfang", "21 Empfang"},
        {"101", "Zi. 1/2: \"Suite\" <Nord>|*?\\", "101 Zi. 1_2_ _Suite_ _Nord_____"},
        {" 22 ", "Lager\tHof\r\n", "22 Lager_Hof"},
        {"", "", "_"},
        {"", "..", "_.."},
        {"CON", "", "_CON"},
        {"", "com1.Zimmer", "_com1.Zimmer"},
        {"", "Console", "Console"},
        {"21", "Empfang", "21 Empfang (2)"},
        {"21", "EMPFANG", "21 EMPFANG (3)"},
        {"21", "Empfang (2)", "21 Empfang (2) (2)"},
    };
    BerichtDaten d;
    QStringList soll;
    for (const auto& [nebenstelle, name, datei] : faelle) {
        d.gruppen.push_back({QString::fromUtf8(nebenstelle), QString::fromUtf8(name), {}, {}, {}});
        soll << QString::fromUtf8(datei);
    }
    EXPECT_EQ(nebenstellenDateinamen(d).join(u'|').toStdString(), soll.join(u'|').toStdString());
    const QString lachen = QStringLiteral("😀");
    EXPECT_EQ(nebenstellenDateiname("21", lachen.repeated(60)), "21 " + lachen.repeated(49)) << "200 bytes at most";
}

// "Je Nebenstelle speichern…" asks for a folder, first the home folder, then the one written to last, and writes the
// files of each extension into its subfolder of the period; it replaces an existing one whole only after a Yes.
TEST(BerichtFenster, SavesTheFilesOfEachExtensionIntoTheSubfolderOfThePeriod)
{
    TempProgramFolder ordner;
    const QString monat = ordner.file(QStringLiteral("2026-11"));
    ASSERT_TRUE(QDir().mkdir(monat));
    ordner.writeFile(QStringLiteral("2026-11/Oktober.pdf"), "%PDF-");
    ScriptedDialogs dialoge;
    dialoge.pickFolder({}).pickFolder(ordner.path()).answer(Answer::No).pickFolder(ordner.path());
    dialoge.answer(Answer::Yes).answer(Answer::Ok).pickFolder({});
    const BerichtDaten daten {{{"21", "Empfang", 0.1, 0.119, {anruf("Ortstarif Berlin", 0.1)}},
                               {"22", "Lager: Hof", 0.2, 0.238, {anruf("Ortstarif Berlin", 0.2)}}}};
    PdfDruckausgabe druck;
    BerichtFenster fenster(Telefonkostenauswertung(daten, {.zeitraumOrdner = QStringLiteral("2026-11")}), dialoge,
                           druck, nullptr, QStringLiteral("x"), ordner.file(kSpeicherordnerDatei));
    for (int i = 0; i < 4; ++i)
        ausloesen(fenster, "JeNebenstelleSpeichern");
    EXPECT_EQ(QDir(monat).entryList(QDir::Files),
              QStringList({"21 Empfang.csv", "21 Empfang.pdf", "22 Lager_ Hof.csv", "22 Lager_ Hof.pdf"}));
    const QString frage = "O Je Nebenstelle speichern | ",
                  zuhause = frage + QDir::toNativeSeparators(QDir::homePath());
    const QString ersetzen = "M ORVE-Tarifo | Den Ordner " + monat
                             + " gibt es schon.\\rEr wird mit allem, was darin "
                               "liegt, durch die Dateien dieses Reports ersetzt. Ersetzen? | YesNo None default No";
    EXPECT_EQ(dialoge.protokoll(),
              QStringList({zuhause, zuhause, ersetzen, zuhause, ersetzen,
                           "M ORVE-Tarifo | 4 Dateien, ein PDF und eine CSV-Datei je Nebenstelle, stehen jetzt im "
                           "Ordner "
                               + monat + ". | Ok Information",
                           frage + QDir::toNativeSeparators(ordner.path())}));
}
