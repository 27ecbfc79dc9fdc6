#include "tariffs/frmEingabe.h"

#include "common/LocalDatabase.h"

#include "DirectSources.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"
#include "WidgetTexte.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTimer>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

const char* const kFelder[] = {"fldSatz", "fldVorwahl", "fldBezeichnung", "fldAbZeit", "fldBisZeit",
                               "fldMinutenpreis", "fldPauschalpreis", "fldSekundentakt", "fldTyp"};

class Fenster : public ::testing::Test {
protected:
    TempProgramFolder dir;
    std::unique_ptr<SQLite::Database> db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
    ScriptedDialogs dlg;
    std::unique_ptr<frmEingabe> fenster;

    void SetUp() override
    {
        dir.state().Anwender = QStringLiteral("Meier  ");
        db->exec(R"(INSERT INTO Ortstarif (satz, vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis,
                    Pauschale, Sekundentakt, typ) VALUES (4, '0621', 'Mannheim', '08:00:00', '18:00:00', 0.02, 0.1,
                    60, 'O'), (5, '0621', 'Mannheim', '18:00:00', NULL, 0.01, 0, 60, 'O'))");
        db->exec("INSERT INTO CallByCall (satz, vorwahl, Bezeichnung) VALUES (7, '01013', 'Anbieter')");
        fenster = std::make_unique<frmEingabe>(dir.state(), *db, dlg);
    }

    template <class W = QWidget>
    W* w(const char* name) { return kind<W>(fenster.get(), name); }
    QString text(const char* feld) { return w<QLineEdit>(feld)->text(); }
    bool gesperrt() { return w<QLineEdit>("fldVorwahl")->isReadOnly(); }
    void klick(const char* knopf) { w<QAbstractButton>(knopf)->click(); }
    QStringList maske()
    {
        QStringList texte;
        for (const char* f : kFelder)
            texte << text(f);
        return texte;
    }
};

TEST_F(Fenster, OpensOnStandardTariffsAndShowsTheNumberWithoutTariff)
{
    fenster->show();
    EXPECT_TRUE(w<QRadioButton>("Option1")->isChecked());
    EXPECT_EQ(maske(), QStringList({"0", "", "", "", "", "", "0", "0", "D"}));
    EXPECT_TRUE(gesperrt());
    EXPECT_TRUE(w<QLabel>("Label1")->font().bold());
    for (const char* name : {"fldSatz", "Label15", "fldSuchvorwahl"})
        EXPECT_FALSE(w(name)->isVisible()) << name;
    fenster->zeigeFehlendeVorwahl(QStringLiteral("0301234567"));
    EXPECT_TRUE(w("Label15")->isVisible() && w("fldSuchvorwahl")->isVisible());
    EXPECT_EQ(text("fldSuchvorwahl"), "0301234567");
}

TEST_F(Fenster, OptionButtonsAndTheirCaptionsChooseTheTable)
{
    klick("Command4");
    w<QLineEdit>("fldBezeichnung")->setText(QStringLiteral("getippt"));
    // The option already chosen changes nothing.
    klick("Option1");
    EXPECT_EQ(text("fldBezeichnung"), "getippt");
    EXPECT_FALSE(gesperrt());
    for (const auto& [option, typ] : {std::pair{"Option3", ""}, {"Option2", "O"}, {"Option1", "D"}}) {
        klick(option);
        EXPECT_TRUE(w<QRadioButton>(option)->isChecked()) << option;
        EXPECT_EQ(text("fldTyp"), typ) << option;
        EXPECT_EQ(text("fldBezeichnung"), "") << option;
        EXPECT_TRUE(gesperrt());
        w<QLineEdit>("fldBezeichnung")->setText(QStringLiteral("getippt"));
    }
    QMouseEvent druck(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w("Label3"), &druck);
    EXPECT_TRUE(w<QRadioButton>("Option2")->isChecked());
    EXPECT_EQ(text("fldTyp"), "O");
}

TEST_F(Fenster, ListTakeOverAndSaveThroughTheControls)
{
    klick("Option2");
    auto* combo = w<QComboBox>("Combo1");
    EXPECT_EQ(combo->count(), 0);
    combo->showPopup();
    combo->hidePopup();
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), "0621 Mannheim 18:00:00  *(5)*");
    EXPECT_EQ(combo->currentText(), "");
    combo->setCurrentIndex(0);
    klick("Command2");
    EXPECT_EQ(maske(), QStringList({"4", "0621", "Mannheim", "08:00:00", "18:00:00", "0,02", "0,1", "60", "O"}));
    EXPECT_TRUE(gesperrt());

    w<QLineEdit>("fldMinutenpreis")->setText(QStringLiteral("0,025"));
    dlg.answer(Answer::Ok);
    klick("Command1");
    EXPECT_EQ(dlg.protokoll(), QStringList{"M ORVE-Tarifo V2.01 | Datensatz wurde gespeichert! | Ok Information"});
    EXPECT_EQ(maske(), QStringList({"0", "", "", "", "", "", "0", "0", ""}));
    EXPECT_EQ(tarifFinden(*db, Tariftabelle::Ortstarif, 4),
              (Tarifeintrag{4, "0621", "Mannheim", "08:00:00", "18:00:00", 0.025, 0.1, 60.0, "O", "Meier"}));
    klick("Option3");
    combo->showPopup();
    combo->hidePopup();
    EXPECT_EQ(combo->itemText(0), "01013 Anbieter *(7)*");
}

TEST_F(Fenster, NewEntryThroughTheControls)
{
    fenster->zeigeFehlendeVorwahl(QStringLiteral("0891234"));
    fenster->show();
    klick("Command4");
    EXPECT_FALSE(gesperrt());
    const char* const getippt[] = {"0", "0'89", "München", "08:00:00", "18:00:00", "0,06", "0", "60", "D"};
    for (int i = 1; i < 9; ++i)
        w<QLineEdit>(kFelder[i])->setText(QString::fromUtf8(getippt[i]));
    dlg.answer(Answer::Ok);
    klick("Command1");
    EXPECT_TRUE(gesperrt());
    EXPECT_FALSE(w("Label15")->isVisible() || w("fldSuchvorwahl")->isVisible());
    const auto zeilen = tarifeLesen(*db, Tariftabelle::faktor);
    ASSERT_EQ(zeilen.size(), 1u);
    EXPECT_EQ(zeilen[0], (Tarifeintrag{zeilen[0].satz, "0'89", "München", "08:00:00", "18:00:00", 0.06, 0.0, 60.0,
                                       "D", "Meier"}));
}

TEST_F(Fenster, TabKeyFollowsTheControlsFromTopToBottom)
{
    fenster->zeigeFehlendeVorwahl(QStringLiteral("0891234"));
    QStringList reihe;
    QWidget* x = w("Option1");
    do {
        if (!x->objectName().isEmpty() && (x->focusPolicy() & Qt::TabFocus) && !x->isHidden())
            reihe << x->objectName();
    } while ((x = x->nextInFocusChain()) != w("Option1"));
    EXPECT_EQ(reihe.join(' ').toStdString(),
              "Option1 Option2 Option3 fldSuchvorwahl Combo1 Command2 fldVorwahl fldBezeichnung fldAbZeit fldBisZeit "
              "fldMinutenpreis fldPauschalpreis fldSekundentakt fldTyp Command3 Command1 Command4 cmdBeispieltarife");
}

TEST_F(Fenster, MenuShowsTheTariffCalculator)
{
    dir.writeFile(QStringLiteral("Tarifrechner.txt"), "https://tarife.example/rechner\r\n");
    dlg.cancelInput();
    w<QAction>("mnuTarifAufruf")->trigger();
    EXPECT_EQ(dlg.boxes().at(0).input.preset, "https://tarife.example/rechner");
    EXPECT_EQ(w<QAction>("mnuTarifAufruf")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    EXPECT_EQ(w<QAction>("mnuSchliessen")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
}

// The opener shows the number without tariff; the menu closes the window.
TEST_F(Fenster, OpenerShowsTheNumberAndTheMenuClosesTheWindow)
{
    fenster.reset();
    QString gezeigt;
    bool offen = true;
    QObject wache;
    QTimer::singleShot(0, &wache, [&] {
        auto* f = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (kind(f, "Label15")->isVisible())
            gezeigt = kind<QLineEdit>(f, "fldSuchvorwahl")->text();
        kind<QAction>(f, "mnuSchliessen")->trigger();
        if ((offen = f->isVisible()))
            f->done(-1);
    });
    QtTarifeditorOeffner(dir.state(), *db, dlg).oeffnen(QStringLiteral("08912345"));
    EXPECT_EQ(gezeigt, "08912345");
    EXPECT_FALSE(offen);
}

TEST(FensterOhneDatenbank, ReportsTheFailureAndDoesNotOpen)
{
    TempProgramFolder dir;
    dir.writeFile(kLokaleDatenbankRelativ, QByteArray(4096, 'x'));
    DirectSources quellen;
    ScriptedDialogs dlg;
    dlg.answer(Answer::Ok);
    frmEingabe fenster(dir.state(), quellen, dlg);
    EXPECT_FALSE(fenster.isEnabled());
    EXPECT_EQ(fenster.exec(), QDialog::Rejected);
    EXPECT_EQ(dlg.messages().at(0).icon, Icon::Critical);
}

} // namespace
