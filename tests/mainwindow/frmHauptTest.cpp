#include "mainwindow/frmHaupt.h"

#include "common/AppState.h"
#include "report/BerichtAnzeige.h"
#include "report/BerichtFenster.h"
#include "tariffs/TarifpruefungFenster.h"

#include "AnsichtProtokoll.h"
#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"
#include "SourceBuilders.h"
#include "WidgetTexte.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTextBrowser>
#include <QTimer>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

class Fenster : public ::testing::Test {
protected:
    void SetUp() override
    {
        u.ordner.writeFile(QStringLiteral("Kostenaufschlag.txt"), "1,20\r\n");
        u.ordner.writeFile(QStringLiteral("Steuersatz.txt"), "19\r\n");
        u.sqlite(beispielStdbill(120));
        u.ordner.writeFile(QStringLiteral("Billpfad.txt"), u.billDatei().toUtf8() + "\r\n");
        fenster = std::make_unique<frmHaupt>(u.state(), reg, system, u.quellen, dialogs);
        fenster->laden();
        fenster->show();
        QApplication::processEvents();
    }

    template <typename T = QWidget>
    T* kind(const char* name) { return test::kind<T>(fenster.get(), name); }
    QAction* eintrag(const char* name) { return kind<QAction>(name); }
    QRect lage(const char* name)
    {
        QWidget* w = kind(name);
        return w ? QRect(w->mapTo(fenster.get(), QPoint(0, 0)), w->size()) : QRect();
    }

    QuellUmgebung u;
    SpeicherRegistry reg = standardRegistry();
    FesteSystemumgebung system;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmHaupt> fenster;
};

TEST_F(Fenster, ControlsCarryTheirTextsAndTips)
{
    pruefeSteuerelemente(fenster.get(), {
        {"Label4", "Auswertung für Nebenstelle:"},
        {"Combo1", "alle", "Auswahl der auszuwertenden Nebenstelle; \"alle\" steht für keine Einschränkung"},
        {"Label6", "Datenbanktyp:"},
        {"Text2", "SQLite3"},
        {"Label5", "Auswertung ab Datum/Zeit:"},
        {"Combo2", "alle", "Auswahl der auszuwertenden Datums- und Zeitbereiche; \"alle\" steht für keine Einschränkung"},
        {"Label8", "Datenbankdatei:"},
        {"Label1", "Datensätze laut Agfeo TK-Bill Datenbank:"},
        {"Label3", "Anzahl Sätze:"},
        {"Text1", "0", "Anzahl gefundener Sätze laut Auswertungsvorgabe"},
        {"Label7", "Auswertung soll ohne Druck der MwST erzeugt werden ja/nein:"},
        {"Check1", ""},
        {"Label2", "Intern  Leitungsnr.  Datum/Zeit                                 Rufnummer      Dauer in Sek.  "
                   "Bezeichnung der InternNr."},
        {"List1", nullptr},
        {"ProgressBar1", nullptr},
    });
    const std::initializer_list<std::pair<const char*, const char*>> klassen = {
        {"Combo1", "orve::AufklappListe"}, {"Combo2", "orve::AufklappListe"}, {"Check1", "QCheckBox"},
        {"List1", "QListView"}, {"ProgressBar1", "QProgressBar"}};
    for (const auto& [name, klasse] : klassen)
        EXPECT_STREQ(kind(name)->metaObject()->className(), klasse);
    EXPECT_EQ(kind<QLineEdit>("Text3")->text(), u.billDatei());
    EXPECT_EQ(kind<QProgressBar>("ProgressBar1")->value(), 0);
    EXPECT_FALSE(kind<QCheckBox>("Check1")->isChecked());
    EXPECT_EQ(fenster->windowTitle(), QStringLiteral("ORVE-Tarifo V2.01"));
    EXPECT_EQ(fenster->palette().color(QPalette::Window), QColor(28, 145, 183));
}

TEST_F(Fenster, ControlsStandInTheirRowsAndColumns)
{
    // Top to bottom.
    const char* zeilen[] = {"Label4", "Label5", "Label8", "Label1", "Label7", "Label2", "List1", "ProgressBar1"};
    for (size_t i = 1; i < std::size(zeilen); ++i)
        EXPECT_LT(lage(zeilen[i - 1]).top(), lage(zeilen[i]).top()) << zeilen[i];
    // Side by side in one row, left to right.
    const std::initializer_list<std::pair<const char*, const char*>> nebeneinander = {
        {"Label4", "Combo1"}, {"Combo1", "Label6"}, {"Label5", "Combo2"}, {"Label8", "Text3"},
        {"Label1", "Label3"}, {"Label3", "Text1"},  {"Label7", "Check1"}};
    for (const auto& [a, b] : nebeneinander) {
        const QRect x = lage(a), y = lage(b);
        EXPECT_TRUE(x.top() < y.bottom() && y.top() < x.bottom() && x.left() < y.left()) << a << " / " << b;
    }
    // Text2 under its label at the right.
    EXPECT_LT(lage("Label6").top(), lage("Text2").top());
    EXPECT_LE(std::abs(lage("Label6").left() - lage("Text2").left()), 4);
    // Heading, list and progress bar share the width.
    EXPECT_EQ(lage("Label2").left(), lage("List1").left());
    EXPECT_EQ(lage("List1").width(), lage("ProgressBar1").width());
}

struct Menueintrag {
    const char* menue;
    const char* name;
    const char* text;
    const char* kurz;
};

TEST_F(Fenster, MenuTreeWithCaptionsAndShortcuts)
{
    const Menueintrag tabelle[] = {
        {"mnuFile", "mnuFileClose", "&Schließen", "Ctrl+S"},
        {"mnuAuswertung", "mnuReport", "&Report erstellen", "Ctrl+R"},
        {"mnuAuswertung", "mnuReportEigen", "Report mit eigenem Minutenpreis erstellen", "Ctrl+E"},
        {"mnuAuswertung", "mnuLesenBill", "&TK-Bill Daten einlesen (ohne Report)", "Ctrl+T"},
        {"mnuEinstellungen", "mnuMehrwertsteuerEinstellen", "&Mehrwertsteuer einstellen", "Ctrl+L"},
        {"mnuEinstellungen", "mnuMinutenpreisEinstellen", "&eigenen Minutenpreis einstellen", "Ctrl+M"},
        {"mnuEinstellungen", "mnuKostenaufschlag", "&Kostenaufschlag für Rechnungserstellung", "Ctrl+K"},
        {"mnuEinstellungen", "mnuDatenbankpfadneu", "&Datenbankpfad neu eingeben", "Ctrl+D"},
        {"mnuTariftabellen", "mnuPflege", "&pflegen", "Ctrl+P"},
        {"mnuTariftabellen", "mnuPruefen", "&prüfen", ""},
        {"mnuHilfe", "mnuWin7", "Hinweis für Windows 7 und Vista", "F1"},
        {"mnuHilfe", "mnuHilfeklick", "&Hilfe aufrufen", ""},
    };
    const QStringList menues{"mnuFile", "mnuAuswertung", "mnuEinstellungen", "mnuTariftabellen", "mnuHilfe"};
    const QStringList titel{"&Datei", "&Auswertung", "&Einstellungen", "&Tariftabellen", "&Hilfe"};
    QStringList gefunden, gefundeneTitel;
    for (QAction* a : fenster->menuBar()->actions()) {
        gefunden << a->menu()->objectName();
        gefundeneTitel << a->text();
    }
    EXPECT_EQ(gefunden, menues);
    EXPECT_EQ(gefundeneTitel, titel);
    QStringList reihenfolge, soll;
    for (const auto& m : menues)
        for (QAction* a : fenster->findChild<QMenu*>(m)->actions())
            reihenfolge << m + QLatin1Char('/') + a->objectName();
    for (const auto& e : tabelle) {
        soll << QString::fromLatin1(e.menue) + QLatin1Char('/') + QString::fromLatin1(e.name);
        QAction* a = eintrag(e.name);
        if (!a)
            continue;
        EXPECT_EQ(a->text(), QString::fromUtf8(e.text)) << e.name;
        EXPECT_EQ(a->shortcut().toString(QKeySequence::PortableText), QString::fromLatin1(e.kurz)) << e.name;
    }
    EXPECT_EQ(reihenfolge, soll);
}

// "Tariftabellen" -> "prüfen": the findings in a window of their own, saved
// as PDF from there; a second check refills the open window.
TEST_F(Fenster, TarifpruefungImEigenenFensterUndAlsPdf)
{
    eintrag("mnuPruefen")->trigger();
    auto* pruefung = fenster->findChild<TarifpruefungFenster*>();
    ASSERT_TRUE(pruefung && pruefung->isVisible());
    EXPECT_TRUE(pruefung->seite()->toPlainText().contains(QStringLiteral("sind leer"))); // no tariffs yet
    const QString datei = u.ordner.file(QStringLiteral("Pruefung.pdf"));
    dialogs.chooseFile(datei);
    pruefung->findChild<QAction*>(QStringLiteral("AlsPdfSpeichern"))->trigger();
    QFile f(datei);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("%PDF-"));
    eintrag("mnuPruefen")->trigger();
    EXPECT_EQ(fenster->findChildren<TarifpruefungFenster*>().size(), 1);
    EXPECT_TRUE(dialogs.scriptDone());
}

TEST_F(Fenster, OpeningTheListsFillsThemEveryTime)
{
    auto* combo1 = kind<QComboBox>("Combo1");
    auto* combo2 = kind<QComboBox>("Combo2");
    combo1->showPopup();
    combo1->hidePopup();
    ASSERT_EQ(combo1->count(), 7); // "alle" and the six extensions
    EXPECT_EQ(combo1->itemText(0), QStringLiteral("alle"));
    EXPECT_EQ(combo1->itemText(1), QStringLiteral("20  |  Zentrale"));
    EXPECT_EQ(combo1->currentText(), QString());
    EXPECT_EQ(combo2->currentText(), QStringLiteral("alle"));
    combo1->setCurrentIndex(1);
    combo2->showPopup();
    combo2->hidePopup();
    EXPECT_GT(combo2->count(), 1);
    EXPECT_EQ(combo2->currentText(), QString());
    combo2->setCurrentIndex(combo2->count() - 1);
    eintrag("mnuLesenBill")->trigger();
    EXPECT_EQ(kind<QLineEdit>("Text1")->text(), QStringLiteral("1"));
    // Opening a list again clears the shown import.
    combo1->showPopup();
    combo1->hidePopup();
    EXPECT_EQ(kind<QLineEdit>("Text1")->text(), QStringLiteral("0"));
    EXPECT_EQ(kind<QListView>("List1")->model()->rowCount(), 0);
}

TEST_F(Fenster, ImportFillsTheListAndCopyGivesTabbedLines)
{
    eintrag("mnuLesenBill")->trigger();
    auto* liste = kind<QListView>("List1");
    EXPECT_EQ(kind<QLineEdit>("Text1")->text(), QStringLiteral("120"));
    ASSERT_EQ(liste->model()->rowCount(), 120);
    liste->selectionModel()->select(liste->model()->index(0, 0), QItemSelectionModel::Select);
    liste->selectionModel()->select(liste->model()->index(1, 0), QItemSelectionModel::Select);
    kind<QAction>("List1Kopieren")->trigger();
    const QStringList kopie = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_EQ(kopie.size(), 2);
    EXPECT_EQ(kopie[0].count(QLatin1Char('\t')), 5);
    EXPECT_EQ(kopie[0], liste->model()->index(0, 0).data().toString());
    EXPECT_TRUE(dialogs.boxes().empty());
}

TEST_F(Fenster, CheckBoxesSetTheReportFlags)
{
    const std::pair<const char*, int AppState::*> boxen[] = {{"Check1", &AppState::OhneMwst},
                                                              {"Check2", &AppState::RufnummernKuerzen}};
    for (const auto& [name, flag] : boxen) {
        auto* check = kind<QCheckBox>(name);
        check->click();
        EXPECT_EQ(u.state().*flag, 1) << name;
        check->click();
        EXPECT_EQ(u.state().*flag, 0) << name;
    }
}

// Every call finds the catch-all tariffs: the run asks nothing.
class FensterMitTarifen : public Fenster {
protected:
    void SetUp() override
    {
        Fenster::SetUp();
        for (const char* tabelle : {"faktor", "Ortstarif"})
            u.lokal()->exec(std::string("INSERT INTO ") + tabelle
                            + " (vorwahl, Bezeichnung, \"von Zeit\", \"bis Zeit\", Minutenpreis, Pauschale, "
                              "Sekundentakt) VALUES ('0', 'Tarif', '00:00:00', '24:00:00', 0.06, 0, 0)");
    }
};

TEST_F(FensterMitTarifen, ReportRunShowsTheReportWindow)
{
    eintrag("mnuReport")->trigger();
    ASSERT_NE(fenster->berichte().fenster(), nullptr);
    EXPECT_EQ(fenster->berichte().fenster()->windowTitle(), QStringLiteral("Datenbericht1"));
    EXPECT_EQ(fenster->fortschritt()->value(), 0);
    EXPECT_TRUE(dialogs.boxes().empty());
}

TEST_F(FensterMitTarifen, ClosingTheWindowDuringARunStopsItThenCloses)
{
    bool gesperrt = false;
    int geschlossen = 0;
    QObject::connect(fenster.get(), &frmHaupt::geschlossen, [&] { ++geschlossen; });
    QTimer::singleShot(0, fenster.get(), [&] {
        gesperrt = !eintrag("mnuReport")->isEnabled() && !eintrag("mnuPflege")->isEnabled()
            && !eintrag("mnuKostenaufschlag")->isEnabled() && !kind("Combo1")->isEnabled();
        fenster->close();
        EXPECT_EQ(geschlossen, 0) << "the window waits for the run";
    });
    eintrag("mnuReport")->trigger();
    EXPECT_TRUE(gesperrt);
    EXPECT_EQ(geschlossen, 1);
    EXPECT_FALSE(fenster->isVisible());
    EXPECT_EQ(fenster->berichte().fenster(), nullptr);
    EXPECT_GT(fenster->fortschritt()->value(), 0) << "stopped after the first call";
}

TEST_F(Fenster, ClosingClosesTheOtherWindowsAndSaysSo)
{
    QDialog anderes;
    anderes.show();
    int geschlossen = 0;
    QObject::connect(fenster.get(), &frmHaupt::geschlossen, [&] { ++geschlossen; });
    eintrag("mnuFileClose")->trigger();
    EXPECT_FALSE(fenster->isVisible());
    EXPECT_FALSE(anderes.isVisible());
    EXPECT_EQ(geschlossen, 1);
}

TEST_F(Fenster, NewDatabasePathEndsWithoutTheClosingSteps)
{
    int geschlossen = 0;
    QObject::connect(fenster.get(), &frmHaupt::geschlossen, [&] { ++geschlossen; });
    dialogs.answer(Answer::Ok);
    eintrag("mnuDatenbankpfadneu")->trigger();
    EXPECT_EQ(u.ordner.readFile(QStringLiteral("Billpfad.txt")), QByteArray("\r\n"));
    EXPECT_FALSE(fenster->isVisible());
    EXPECT_EQ(geschlossen, 0);
}

} // namespace
