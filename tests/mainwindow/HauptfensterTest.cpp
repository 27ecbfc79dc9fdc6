#include "mainwindow/Hauptfenster.h"
#include "mainwindow/frmHaupt.h"

#include "calls/Auswahl.h"
#include "calls/TkBillFilter.h"
#include "common/BefehlAusfuehren.h"
#include "common/Laufsperre.h"
#include "common/ProgramEnd.h"
#include "common/TarifeditorOeffner.h"
#include "common/TextFile.h"
#include "report/BerichtAnzeige.h"
#include "report/BerichtFenster.h"
#include "report/Telefonkostenauswertung.h"
#include "startup/OdbcSchluessel.h"
#include "tariffcheck/TarifpruefungFenster.h"

#include "PdfDruckausgabe.h"
#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"
#include "SourceBuilders.h"
#include "WidgetTexte.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QListView>
#include <QPointer>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace orve;
using namespace orve::test;

namespace {

struct KeinEditor : TarifeditorOeffner {
    void oeffnen(const QString&) override {}
};

// The main window's controls as plain values.
struct AnsichtProtokoll : HauptAnsicht {
    QString text1 = "0", text2, text3, combo1 = "alle", combo2 = "alle", combo3 = "alle";
    QStringList combo1Liste, combo2Liste, combo3Liste;
    int fortschrittMax = 100;
    std::vector<int> fortschritte {0};              // every position of the progress bar
    std::vector<bool> gesperrt;                     // every change of the run's lock
    std::optional<Telefonkostenauswertung> bericht; // the report shown last
    QString dateiname;                              // what its save commands propose

    void captionSetzen(const QString&) override {}
    void text1Setzen(const QString& t) override { text1 = t; }
    void text2Setzen(const QString& t) override { text2 = t; }
    void text3Setzen(const QString& t) override { text3 = t; }
    void fortschrittSetzen(int w) override { fortschritte.push_back(w); }
    void fortschrittMaximum(int m) override { fortschrittMax = m; }
    void ereignisseVerarbeiten() override {}
    void laufAnzeigen(bool l) override { gesperrt.push_back(l); }
    std::unique_ptr<TarifeditorOeffner> tarifeditor(SQLite::Database&) override
    {
        return std::make_unique<KeinEditor>();
    }
    void berichtZeigen(Telefonkostenauswertung b, const QString& name) override
    {
        bericht.emplace(std::move(b));
        dateiname = name;
    }
    bool tarifimportBestaetigen(Tarifpruefung, const QString&) override { return true; }
    QString combo1Text() const override { return combo1; }
    QString combo2Text() const override { return combo2; }
    QString combo3Text() const override { return combo3; }
    void combo1Setzen(const QStringList& e, const QString& t) override { combo1Liste = e, combo1 = t; }
    void combo2Setzen(const QStringList& e, const QString& t) override { combo2Liste = e, combo2 = t; }
    void combo3Setzen(const QStringList& e, const QString& t) override { combo3Liste = e, combo3 = t; }
};

// A program folder with a source of calls; every call finds the tariff 0,06 a minute.
struct Umgebung {
    Umgebung()
    {
        u.state().Steuersatz = QStringLiteral("19");
        u.state().Kostenaufschlag = QStringLiteral("1,20");
        u.lokal()->exec(
            "INSERT INTO faktor (vorwahl, Bezeichnung, \"von Zeit\", \"bis Zeit\", Minutenpreis, Pauschale, "
            "Sekundentakt) VALUES ('0', 'Tarif', '00:00:00', '24:00:00', 0.06, 0, 0)");
    }
    QuellUmgebung u;
    SpeicherRegistry reg = standardRegistry();
    FesteSystemumgebung system;
    ScriptedDialogs dialogs;
};

class Haupt : public ::testing::Test, protected Umgebung {
protected:
    void anrufe(std::size_t n)
    {
        u.sqlite(std::vector<StdbillAnruf>(n, {utcZeit("2009-03-21 14:30:00"), 21, "Zentrale", "0301234", 90}));
    }
    std::string ucosts()
    {
        return u.lokal()
            ->execAndGet("SELECT ifnull(group_concat(ifnull(ucosts, '-'), ' '), '') FROM bill")
            .getString();
    }

    AnsichtProtokoll ansicht;
    Hauptfenster fenster {u.state(), reg, system, u.quellen, dialogs, ansicht};
};

TEST_F(Haupt, SourceErrorsAreShownAndLeaveTheShownImportAsItWas)
{
    anrufe(3);
    fenster.mnuLesenBill();
    ansicht.combo1 = QStringLiteral("Zentrale"); // no extension
    dialogs.answer(Answer::Ok).answer(Answer::Ok).answer(Answer::Ok);
    fenster.mnuLesenBill();
    EXPECT_EQ(ansicht.text1, "3");
    EXPECT_EQ(fenster.liste().rowCount(), 3);
    fenster.Combo2_DropDown();
    EXPECT_EQ(ansicht.combo2Liste, QStringList({"alle"}));
    QFile::remove(u.billDatei());
    fenster.Combo1_DropDown();
    EXPECT_EQ(ansicht.combo1Liste, QStringList({"alle"}));
    for (const QString& b : dialogs.protokoll())
        EXPECT_TRUE(b.startsWith("M ORVE-Tarifo V2.01 | ") && b.endsWith(" | Ok Critical")) << b.toStdString();
}

// A call whose duration cannot be priced does not stop the report: one message names it.
TEST_F(Haupt, ReportRunSetsTheProgressForEveryCallAndShowsTheReportButNotAfterAFailedImport)
{
    u.sqlite({{utcZeit("2009-03-21 14:30:00"), 21, "Zentrale", "0301234", 90},
              {utcZeit("2009-03-21 14:31:00"), 21, "Zentrale", "0301234", -30}});
    dialogs.answer(Answer::Ok);
    ansicht.combo1 = QStringLiteral("21  |  Zentrale");
    ansicht.combo2 = QStringLiteral("21.03.2009");
    ansicht.combo3 = QStringLiteral("21.03.09");
    fenster.mnuReport();
    EXPECT_EQ(ansicht.bericht->optionen().zeitraum, QStringLiteral("Zeitraum: 21.03.2009 bis 21.03.2009"));
    EXPECT_EQ(ansicht.fortschrittMax, 2);
    EXPECT_EQ(ansicht.fortschritte, std::vector<int>({0, 0, 1, 2, 0})); // as it was, 0, each call, 0 again
    EXPECT_EQ(ansicht.gesperrt, std::vector<bool>({true, false}));
    EXPECT_TRUE(ansicht.bericht);
    EXPECT_EQ(ansicht.dateiname, QStringLiteral("Telefonkosten 21 2009-03-21 bis 2009-03-21"));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_TRUE(dialogs.messages().at(0).text.contains("Die Dauer „-30“ des Gesprächs ist negativ."));
    EXPECT_EQ(ucosts(), "0.108 -");
    // A report on part of the calls would be a wrong bill.
    ansicht.bericht.reset();
    anrufe(3);
    u.lokal()->exec("CREATE TRIGGER voll BEFORE INSERT ON bill WHEN (SELECT count(*) FROM bill) >= 2 "
                    "BEGIN SELECT RAISE(ABORT, 'Platte voll'); END");
    dialogs.answer(Answer::Ok);
    fenster.mnuReport();
    EXPECT_TRUE(dialogs.messages().back().text.contains("Platte voll"));
    EXPECT_EQ(ansicht.text1, "2");
    EXPECT_FALSE(ansicht.bericht);
}

// A batch run in the same program folder holds its lock: the import and the report name it and read nothing; once it
// has ended the report runs.
TEST_F(Haupt, ImportAndReportWhileAnotherRunHoldsTheFolderNameItAndStartNothing)
{
    anrufe(2);
    Laufsperre stapel(u.state().programmOrdner, Laufsperre::Programm::Stapelbefehl);
    ASSERT_TRUE(stapel.nehmen());
    dialogs.answer(Answer::Ok).answer(Answer::Ok);
    fenster.mnuLesenBill();
    fenster.mnuReport();
    const QString wer = "Belegt von: Stapelbefehl orve-tarifo-bericht, Benutzer ";
    int i = 0;
    for (const char* kopf : {"Die TK-Bill Daten können jetzt nicht eingelesen werden.",
                             "Der Report kann jetzt nicht erstellt werden."}) {
        const QString text = dialogs.messages().at(i++).text;
        EXPECT_TRUE(text.startsWith(kopf) && text.contains(wer)
                    && text.contains(QString(", Prozess %1, seit ").arg(getpid())))
            << text.toStdString();
    }
    EXPECT_EQ(ansicht.text1, "0");
    EXPECT_EQ(ucosts(), "");
    stapel.freigeben();
    fenster.mnuReport();
    EXPECT_TRUE(ansicht.bericht);
}

TEST_F(Haupt, OwnPriceRunNeedsAnOwnPriceAndAPlainRunAfterItDoesNotUseIt)
{
    anrufe(1);
    dialogs.answer(Answer::Ok);
    fenster.mnuReportEigen();
    EXPECT_TRUE(dialogs.messages().at(0).text.contains("eigenen Minutenpreis festlegen"));
    EXPECT_EQ(ansicht.text1, "0") << "nothing imported";
    u.ordner.writeFile("Minutenpreis.txt", "0,10\r\n");
    fenster.mnuReportEigen();
    EXPECT_EQ(ucosts(), "0.24");                    // 0,06 -> 0,10 a minute, 0,15 -> 0,20, x 1,20
    u.ordner.writeFile("Minutenpreis.txt", "\r\n"); // no price in the file: the one in memory stays
    fenster.mnuReportEigen();
    EXPECT_EQ(ucosts(), "0.24");
    fenster.mnuReport();
    EXPECT_EQ(ucosts(), "0.108");
}

// The window on two calls.
class Fenster : public ::testing::Test, protected Umgebung {
protected:
    void SetUp() override
    {
        u.ordner.writeFile("Kostenaufschlag.txt", "1,20\r\n");
        u.ordner.writeFile("Steuersatz.txt", "19\r\n");
        u.sqlite({{utcZeit("2009-03-21 14:30:00"), 21, QStringLiteral("Zentrale"), QStringLiteral("0301234")},
                  {utcZeit("2009-03-22 09:00:00"), 22, QStringLiteral("Lager"), QStringLiteral("0301234")}});
        u.ordner.writeFile("Billpfad.txt", u.billDatei().toUtf8() + "\r\n");
        fenster.laden();
        fenster.show();
        QObject::connect(&fenster, &frmHaupt::geschlossen, [this] { ++geschlossen; });
    }
    template<class T = QWidget> T* kind(const char* name) { return orve::test::kind<T>(&fenster, name); }

    PdfDruckausgabe druck;
    frmHaupt fenster {u.state(), reg, system, u.quellen, dialogs, nullptr, &druck};
    int geschlossen = 0;
};

// "bis" takes in the call picked (also when it is the one picked for "ab"); an end before the beginning is named.
TEST_F(Fenster, OpeningAListClearsTheImportAndRefillsTheList)
{
    auto *combo1 = kind<QComboBox>("Combo1"), *combo2 = kind<QComboBox>("Combo2"),
         *combo3 = kind<QComboBox>("Combo3");
    auto oeffnen = [&](QComboBox* c) {
        kind<QAction>("mnuLesenBill")->trigger();
        EXPECT_NE(kind<QLineEdit>("Text1")->text(), "0");
        c->showPopup();
        c->hidePopup();
        EXPECT_EQ(kind<QLineEdit>("Text1")->text(), "0");
        EXPECT_EQ(kind<QListView>("List1")->model()->rowCount(), 0);
        EXPECT_EQ(c->currentText(), QString());
        QStringList l;
        for (int i = 0; i < c->count(); ++i)
            l << c->itemText(i);
        return l;
    };
    EXPECT_EQ(oeffnen(combo2), QStringList({"alle", "2009-03-21 14:30:00", "2009-03-22 09:00:00"}));
    combo2->setCurrentIndex(2);
    kind<QAction>("mnuLesenBill")->trigger();
    EXPECT_EQ(kind<QLineEdit>("Text1")->text(), "1") << "the calls from the date chosen on";
    EXPECT_EQ(oeffnen(combo3), QStringList({"alle", "2009-03-21 14:30:00", "2009-03-22 09:00:00"}));
    combo3->setCurrentIndex(1);
    dialogs.answer(Answer::Ok);
    kind<QAction>("mnuLesenBill")->trigger();
    EXPECT_TRUE(dialogs.messages().at(0).text.startsWith(
        "Das Ende des Zeitraums (bis 21.03.2009 14:30) liegt vor seinem Anfang (ab 22.03.2009 09:00)."));
    combo3->setCurrentIndex(2);
    kind<QAction>("mnuLesenBill")->trigger();
    EXPECT_EQ(kind<QLineEdit>("Text1")->text(), "1");
    EXPECT_EQ(oeffnen(combo1), QStringList({"alle", "21  |  Zentrale", "22  |  Lager"}));
    for (QComboBox* c : {combo2, combo3})
        EXPECT_TRUE(c->currentText() == QStringLiteral("alle") && c->count() == 0)
            << "Combo2 and Combo3 are cleared";
    combo1->setCurrentIndex(2);
    EXPECT_EQ(oeffnen(combo2), QStringList({"alle", "2009-03-22 09:00:00"}));
}

// A typed "2" is extension 2, never the first entry starting with it; a date typed for "bis" takes in that day.
TEST_F(Fenster, TypedTextsAreNeverCompletedAndADateAloneEndsWithItsDay)
{
    EXPECT_EQ(
        kind<QLabel>("Label11")->text() + kind<QLabel>("lblDatumHinweis")->text(),
        QStringLiteral("Auswertung bis Datum/Zeit:Datum eintippen (TT.MM.JJJJ, auch mit Uhrzeit) oder aus der "
                       "Liste wählen"));
    for (const char* name : {"Combo2", "Combo3", "Combo1"}) { // opening Combo1 puts "alle" back into the others
        auto* c = kind<QComboBox>(name);
        c->showPopup();
        c->hidePopup();
        fenster.activateWindow();
        c->setFocus(); // a list completes only while it has the focus
        QCoreApplication::processEvents();
        QTest::keyClicks(c, "2");
        EXPECT_EQ(c->currentText(), "2") << name;
    }
    kind<QAction>("mnuLesenBill")->trigger();
    EXPECT_EQ(kind<QLineEdit>("Text1")->text(), "0");
    kind<QComboBox>("Combo1")->setEditText(kAlle);
    kind<QComboBox>("Combo3")->setEditText(QStringLiteral("21.03.09"));
    kind<QAction>("mnuLesenBill")->trigger();
    EXPECT_EQ(kind<QLineEdit>("Text1")->text(), "1");
    EXPECT_EQ(kind<QComboBox>("Combo3")->currentText(), "21.03.09") << "as typed";
}

TEST_F(Fenster, ImportFillsTheListCopyGivesTheSelectedLinesCheckBoxesAndTheWebAddressSetTheReportOptions)
{
    kind<QAction>("mnuLesenBill")->trigger();
    auto* liste = kind<QListView>("List1");
    ASSERT_EQ(liste->model()->rowCount(), 2);
    liste->selectionModel()->select(liste->model()->index(1, 0), QItemSelectionModel::Select);
    liste->selectionModel()->select(liste->model()->index(0, 0), QItemSelectionModel::Select);
    kind<QAction>("List1Kopieren")->trigger();
    // Both calls, in the order of the list whatever the order they were selected in.
    const QStringList kopiert = QGuiApplication::clipboard()->text().split(u'\n');
    ASSERT_EQ(kopiert.size(), 2) << kopiert.join(u'|').toStdString();
    EXPECT_TRUE(kopiert[0].contains("2009-03-21 14:30:00") && kopiert[0].contains("Zentrale"));
    EXPECT_TRUE(kopiert[1].contains("2009-03-22 09:00:00") && kopiert[1].contains("Lager"));
    for (const auto& [name, flag] : {std::pair {"Check1", &AppState::OhneMwst},
                                     {"Check2", &AppState::RufnummernKuerzen},
                                     {"Check3", &AppState::NeueSeiteJeNebenstelle}}) {
        kind<QAbstractButton>(name)->click();
        EXPECT_EQ(u.state().*flag, 1) << name;
        kind<QAbstractButton>(name)->click();
        EXPECT_EQ(u.state().*flag, 0) << name;
    }
    dialogs.type(QStringLiteral("www.hotel-am-see.de"));
    kind<QAction>("mnuInternetadresse")->trigger();
    EXPECT_EQ(u.ordner.readFile(QStringLiteral("Internetadresse.txt")), QByteArray("www.hotel-am-see.de\r\n"));
}

TEST_F(Fenster, ClosingTheWindowDuringARunStopsItThenCloses)
{
    bool gesperrt = false;
    QTimer::singleShot(0, &fenster, [&] {
        gesperrt = !kind<QAction>("mnuReport")->isEnabled() && !kind<QAction>("mnuPflege")->isEnabled()
                   && !kind<QAction>("mnuTarifeImportieren")->isEnabled()
                   && !kind<QAction>("mnuKostenaufschlag")->isEnabled() && !kind("Combo1")->isEnabled()
                   && !kind("Check1")->isEnabled();
        fenster.close();
        EXPECT_EQ(geschlossen, 0) << "the window waits for the run";
    });
    kind<QAction>("mnuReport")->trigger();
    EXPECT_TRUE(gesperrt);
    EXPECT_EQ(geschlossen, 1);
    EXPECT_EQ(fenster.findChild<BerichtFenster*>(), nullptr);
    EXPECT_EQ(kind<QProgressBar>("ProgressBar1")->value(), 1) << "stopped after the first call";
}

// Tariffs go out as CSV and come back through the check: Abbrechen changes nothing, Übernehmen names the backup.
TEST_F(Fenster, TariffsGoOutAndComeBackThroughTheCheckWindow)
{
    const QString datei = u.ordner.file(QStringLiteral("t.csv"));
    dialogs.chooseFile(datei).answer(Answer::Ok);
    kind<QAction>("mnuTarifeExportieren")->trigger();
    u.ordner.writeFile(QStringLiteral("t.csv"),
                       u.ordner.readFile(QStringLiteral("t.csv")).replace(";0,06;", ";0,07;"));
    for (const char* knopf : {"Abbrechen", "Uebernehmen"}) {
        QTimer::singleShot(0, &fenster, [&] {
            auto* pruefung = fenster.findChild<TarifpruefungFenster*>();
            ASSERT_TRUE(pruefung);
            EXPECT_TRUE(pruefung->isModal());
            pruefung->findChild<QAction*>(QString::fromUtf8(knopf))->trigger();
        });
        dialogs.chooseFile(datei);
        if (knopf == std::string("Uebernehmen"))
            dialogs.answer(Answer::Ok);
        kind<QAction>("mnuTarifeImportieren")->trigger();
        EXPECT_EQ(u.lokal()->execAndGet("SELECT Minutenpreis FROM faktor").getDouble(),
                  knopf == std::string("Abbrechen") ? 0.06 : 0.07);
    }
    EXPECT_TRUE(dialogs.messages().back().text.contains(QDir::toNativeSeparators(u.ordner.file("Datenbank/Tarife-"))))
        << dialogs.messages().back().text.toStdString();
}

TEST_F(Fenster, ClosingClosesTheOtherWindowsAndSaysSo)
{
    kind<QAction>("mnuReport")->trigger();
    QPointer<BerichtFenster> bericht = fenster.findChild<BerichtFenster*>();
    kind<QComboBox>("Combo3")->setEditText(QStringLiteral("21.03.2009")); // the check reads in the period's calls
    kind<QAction>("mnuPruefen")->trigger();
    auto* pruefung = fenster.findChild<TarifpruefungFenster*>();
    ASSERT_TRUE(bericht && bericht->isVisible() && pruefung && pruefung->isVisible());
    EXPECT_EQ(pruefung->pruefung().gespraeche, 1);
    pruefung->findChild<QAction*>(QStringLiteral("Drucken"))->trigger();
    const QString titel = "Prüfung der Tariftabellen"; // where pdftotext reads the PDF
    EXPECT_TRUE(druck.seiten() == 1 && pdfText(druck.pdf).value_or(titel).startsWith(titel))
        << "the findings printed";
    kind<QAction>("mnuPruefen")->trigger();
    EXPECT_EQ(fenster.findChildren<TarifpruefungFenster*>().size(), 1);
    QDialog anderes;
    anderes.show();
    kind<QAction>("mnuFileClose")->trigger();
    EXPECT_FALSE(fenster.isVisible() || anderes.isVisible() || pruefung->isVisible()
                 || (bericht && bericht->isVisible()));
    EXPECT_EQ(geschlossen, 1);
}

TEST_F(Fenster, NewDatabasePathEndsTheProgramWithoutTheClosingSteps)
{
    dialogs.answer(Answer::Ok);
    kind<QAction>("mnuDatenbankpfadneu")->trigger();
    EXPECT_EQ(dialogs.protokoll(), QStringList {"M ORVE-Tarifo | Bitte starten Sie das Programm zur Ermittlung des "
                                                "neuen Datenbankpfades neu! | Ok Information"});
    EXPECT_EQ(u.ordner.readFile("Billpfad.txt"), QByteArray("\r\n"));
    EXPECT_TRUE(u.state().Billpfad.isEmpty());
    EXPECT_EQ(programmEndeCode(), 0);
    EXPECT_FALSE(fenster.isVisible());
    EXPECT_EQ(geschlossen, 0);
}

} // namespace
