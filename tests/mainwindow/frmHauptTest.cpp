#include "mainwindow/frmHaupt.h"

#include "common/AppState.h"
#include "common/BefehlAusfuehren.h"
#include "report/BerichtAnzeige.h"
#include "report/BerichtFenster.h"
#include "tariffs/TarifpruefungFenster.h"

#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"
#include "SourceBuilders.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QTimer>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

// The window on two calls; both find the catch-all tariff.
class Fenster : public ::testing::Test {
protected:
    void SetUp() override
    {
        u.ordner.writeFile(QStringLiteral("Kostenaufschlag.txt"), "1,20\r\n");
        u.ordner.writeFile(QStringLiteral("Steuersatz.txt"), "19\r\n");
        u.sqlite({{utcZeit("2009-03-21 14:30:00"), 21, QStringLiteral("Zentrale"), QStringLiteral("0301234")},
                  {utcZeit("2009-03-22 09:00:00"), 22, QStringLiteral("Lager"), QStringLiteral("0301234")}});
        u.ordner.writeFile(QStringLiteral("Billpfad.txt"), u.billDatei().toUtf8() + "\r\n");
        u.lokal()->exec("INSERT INTO faktor (vorwahl, Bezeichnung, \"von Zeit\", \"bis Zeit\", Minutenpreis, Pauschale, "
                        "Sekundentakt) VALUES ('0', 'Tarif', '00:00:00', '24:00:00', 0.06, 0, 0)");
        fenster.laden();
        fenster.show();
        QObject::connect(&fenster, &frmHaupt::geschlossen, [this] { ++geschlossen; });
    }
    template <class T = QWidget>
    T* kind(const char* name) { return fenster.findChild<T*>(QLatin1String(name)); }
    QString text1() { return kind<QLineEdit>("Text1")->text(); }
    int zeilen() { return kind<QListView>("List1")->model()->rowCount(); }

    QuellUmgebung u;
    SpeicherRegistry reg = standardRegistry();
    FesteSystemumgebung system;
    ScriptedDialogs dialogs;
    frmHaupt fenster{u.state(), reg, system, u.quellen, dialogs};
    int geschlossen = 0;
};

// Opening a list clears the shown import and fills the list anew: the
// dates with those of the extension chosen.
TEST_F(Fenster, OpeningAListClearsTheImportAndRefillsTheList)
{
    auto* combo1 = kind<QComboBox>("Combo1");
    auto* combo2 = kind<QComboBox>("Combo2");
    auto oeffnen = [&](QComboBox* c) {
        kind<QAction>("mnuLesenBill")->trigger();
        EXPECT_NE(text1(), QStringLiteral("0"));
        c->showPopup();
        c->hidePopup();
        EXPECT_EQ(text1(), QStringLiteral("0"));
        EXPECT_EQ(zeilen(), 0);
        EXPECT_EQ(c->currentText(), QString());
        QStringList l;
        for (int i = 0; i < c->count(); ++i)
            l << c->itemText(i);
        return l;
    };
    EXPECT_EQ(oeffnen(combo2), QStringList({"alle", "2009-03-21 14:30:00", "2009-03-22 09:00:00"}));
    EXPECT_EQ(oeffnen(combo1), QStringList({"alle", "21  |  Zentrale", "22  |  Lager"}));
    EXPECT_EQ(combo2->currentText(), QStringLiteral("alle"));
    EXPECT_EQ(combo2->count(), 0);
    combo1->setCurrentIndex(2);
    EXPECT_EQ(oeffnen(combo2), QStringList({"alle", "2009-03-22 09:00:00"}));
    combo2->setCurrentIndex(1);
    kind<QAction>("mnuLesenBill")->trigger();
    EXPECT_EQ(text1(), QStringLiteral("1"));
}

TEST_F(Fenster, ImportFillsTheListAndCopyGivesTheSelectedLines)
{
    kind<QAction>("mnuLesenBill")->trigger();
    auto* liste = kind<QListView>("List1");
    ASSERT_EQ(zeilen(), 2);
    liste->selectionModel()->select(liste->model()->index(1, 0), QItemSelectionModel::Select);
    liste->selectionModel()->select(liste->model()->index(0, 0), QItemSelectionModel::Select);
    kind<QAction>("List1Kopieren")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              liste->model()->index(0, 0).data().toString() + '\n' + liste->model()->index(1, 0).data().toString());
}

TEST_F(Fenster, CheckBoxesSetTheReportFlags)
{
    for (const auto& [name, flag] : {std::pair{"Check1", &AppState::OhneMwst}, std::pair{"Check2", &AppState::RufnummernKuerzen}}) {
        kind<QCheckBox>(name)->click();
        EXPECT_EQ(u.state().*flag, 1) << name;
        kind<QCheckBox>(name)->click();
        EXPECT_EQ(u.state().*flag, 0) << name;
    }
}

TEST_F(Fenster, ReportRunShowsTheReportWindow)
{
    kind<QAction>("mnuReport")->trigger();
    ASSERT_NE(fenster.berichte().fenster(), nullptr);
    EXPECT_TRUE(fenster.berichte().fenster()->isVisible());
    EXPECT_EQ(fenster.fortschritt()->value(), 0);
}

TEST_F(Fenster, ClosingTheWindowDuringARunStopsItThenCloses)
{
    bool gesperrt = false;
    QTimer::singleShot(0, &fenster, [&] {
        gesperrt = !kind<QAction>("mnuReport")->isEnabled() && !kind<QAction>("mnuPflege")->isEnabled()
            && !kind<QAction>("mnuKostenaufschlag")->isEnabled() && !kind("Combo1")->isEnabled() && !kind("Check1")->isEnabled();
        fenster.close();
        EXPECT_EQ(geschlossen, 0) << "the window waits for the run";
    });
    kind<QAction>("mnuReport")->trigger();
    EXPECT_TRUE(gesperrt);
    EXPECT_EQ(geschlossen, 1);
    EXPECT_FALSE(fenster.isVisible());
    EXPECT_EQ(fenster.berichte().fenster(), nullptr);
    EXPECT_EQ(fenster.fortschritt()->value(), 1) << "stopped after the first call";
}

TEST_F(Fenster, ClosingClosesTheOtherWindowsAndSaysSo)
{
    kind<QAction>("mnuPruefen")->trigger();
    auto* pruefung = fenster.findChild<TarifpruefungFenster*>();
    ASSERT_TRUE(pruefung && pruefung->isVisible());
    kind<QAction>("mnuPruefen")->trigger();
    EXPECT_EQ(fenster.findChildren<TarifpruefungFenster*>().size(), 1);
    QDialog anderes;
    anderes.show();
    kind<QAction>("mnuFileClose")->trigger();
    EXPECT_FALSE(fenster.isVisible() || anderes.isVisible() || pruefung->isVisible());
    EXPECT_EQ(geschlossen, 1);
}

TEST_F(Fenster, NewDatabasePathEndsTheProgramWithoutTheClosingSteps)
{
    dialogs.answer(Answer::Ok);
    kind<QAction>("mnuDatenbankpfadneu")->trigger();
    EXPECT_EQ(dialogs.protokoll(), QStringList{"M ORVE-Tarifo | Bitte starten Sie das Programm zur Ermittlung des neuen "
                                               "Datenbankpfades neu! | Ok Information"});
    EXPECT_EQ(u.ordner.readFile(QStringLiteral("Billpfad.txt")), QByteArray("\r\n"));
    EXPECT_TRUE(u.state().Billpfad.isEmpty());
    EXPECT_EQ(programmEndeCode(), 0);
    EXPECT_FALSE(fenster.isVisible());
    EXPECT_EQ(geschlossen, 0);
}

} // namespace
