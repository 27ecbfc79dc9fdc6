#include "tariffs/frmEingabe.h"

#include "common/LocalDatabase.h"
#include "common/Version.h"

#include "DirectSources.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"
#include "WidgetTexte.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

class Fenster : public ::testing::Test {
protected:
    TempProgramFolder dir;
    std::unique_ptr<SQLite::Database> db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
    DirectSources quellen;
    ScriptedDialogs dlg;
    std::unique_ptr<frmEingabe> fenster;

    void SetUp() override
    {
        dir.state().Anwender = QStringLiteral("Meier");
        db->exec(R"(INSERT INTO faktor (satz, vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis, Pauschale,
                    Sekundentakt, typ) VALUES (3, '030', 'Berlin', '00:00:00', '24:00:00', 0.06, 0, 60, 'D'))");
        db->exec(R"(INSERT INTO Ortstarif (satz, vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis,
                    Pauschale, Sekundentakt, typ) VALUES (4, '0621', 'Mannheim', '08:00:00', '18:00:00', 0.02, 0.1,
                    60, 'O'))");
        db->exec("INSERT INTO CallByCall (satz, vorwahl, Bezeichnung) VALUES (7, '01013', 'Anbieter')");
        fenster = std::make_unique<frmEingabe>(dir.state(), quellen, dlg);
    }

    template <class W = QWidget>
    W* w(const char* name) { return kind<W>(fenster.get(), name); }
    QString text(const char* feld) { return w<QLineEdit>(feld)->text(); }
    void klick(const char* knopf) { w<QPushButton>(knopf)->click(); }
    // Opens the entry list (which refills it) and chooses an entry.
    void waehle(int index = -1)
    {
        auto* c = w<QComboBox>("Combo1");
        c->showPopup();
        if (index >= 0)
            c->setCurrentIndex(index);
        c->hidePopup();
    }
};

TEST_F(Fenster, ControlsCarryTheirCaptionsAndToolTips)
{
    pruefeSteuerelemente(fenster.get(), {
        {"Label1", "Bitte wählen Sie die zu pflegende Tariftabelle:"},
        {"Frame1", "Tarifauswahl"},
        {"Label2", "Standardtarife"},
        {"Label3", "Ortstarife und Citybereich"},
        {"Label4", "Call by Call Anbieter"},
        {"Label15", "zu pflegende Vorwahl:"},
        {"Label14", "Auswahl bereits angelegter Tarifeinträge zur Weiterbearbeitung"},
        {"Combo1", "", "Dient der Auswahl bereits angelegter Datensätze, um diese zu ändern oder zu löschen"},
        {"Command2", "In &Bearbeitungsmaske übernehmen"},
        {"Frame2", "Dateneingabe"},
        {"Label5", "Vorwahl bzw. Sondernummer:", nullptr},
        {"fldVorwahl", "",
         "Die Eingabe in dieses Feld ist normal gesperrt! Wenn Sie hier Eingaben machen wollen, wählen Sie bitte "
         "den Funktionsschalter \"Neuen Satz anlegen!\""},
        {"Label6", "Bezeichnung (z.B. Notruf)"},
        {"Label7", "gilt ab (Zeiteingabe erforderlich):"},
        {"Label8", "gilt bis (Zeiteingabe erforderlich):"},
        {"Label9", "Minutenpreis in Euro (z.B. 0,06)"},
        {"Label16", "ohne MwSt"},
        {"Label10", "Pauschalpreis in Euro "},
        {"Label17", "ohne MwSt"},
        {"Label11", "Sekundentakt"},
        {"Label12", "Typ:", nullptr},
        {"fldTyp", "D",
         "Bitte geben Sie ein: D für Standardtarif Deutschland, A für Ausland, O für Ortsgespräch, M für Mobilfunk, "
         "S für Sondernummer"},
        {"Command3", "&löschen Datensatz"},
        {"Command1", "&Speichern Datensatz"},
        {"Command4", "&Neuen Satz anlegen",
         "Wenn Sie einen Satz anlegen wollen, dessen Vorwahl noch nicht in den Tariftabellen enthalten ist"},
        {"Label13", "Alle Angaben entnehmen Sie bitte den aktuellen Tariftabellen der Deutschen Telekom!"},
    });
    EXPECT_EQ(fenster->windowTitle(), programmCaption());
    EXPECT_TRUE(w<QLabel>("Label1")->font().bold());
    EXPECT_TRUE(w<QComboBox>("Combo1")->isEditable());
}

TEST_F(Fenster, MenusHaveTheirShortcuts)
{
    auto* schliessen = w<QAction>("mnuSchliessen");
    auto* aufrufen = w<QAction>("mnuTarifAufruf");
    EXPECT_EQ(schliessen->text(), "&schließen");
    EXPECT_EQ(schliessen->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(aufrufen->text(), "&aufrufen");
    EXPECT_EQ(aufrufen->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    QStringList menues;
    for (QAction* a : w<QMenuBar>("Menue")->actions())
        menues << a->text();
    EXPECT_EQ(menues, (QStringList{"&Datei", "Tarifrechner Telekom"}));

    dlg.type(QString());
    aufrufen->trigger();
    ASSERT_EQ(dlg.boxes().size(), 1u);
    EXPECT_EQ(dlg.boxes()[0].input.preset, kTarifrechnerStandard);
}

TEST_F(Fenster, OpensOnStandardTariffsWithHiddenFieldsAndReadOnlyPrefix)
{
    fenster->show();
    EXPECT_TRUE(w<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(w<QRadioButton>("Option2")->isChecked());
    EXPECT_FALSE(w<QRadioButton>("Option3")->isChecked());
    EXPECT_EQ(text("fldPauschalpreis"), "0");
    EXPECT_EQ(text("fldSekundentakt"), "0");
    EXPECT_EQ(text("fldSatz"), "0");
    EXPECT_FALSE(w("fldSatz")->isVisible());
    EXPECT_FALSE(w("Label15")->isVisible());
    EXPECT_FALSE(w("fldSuchvorwahl")->isVisible());
    EXPECT_TRUE(w<QLineEdit>("fldVorwahl")->isReadOnly());

    fenster->zeigeFehlendeVorwahl(QStringLiteral("0301234567"));
    EXPECT_TRUE(w("Label15")->isVisible());
    EXPECT_TRUE(w("fldSuchvorwahl")->isVisible());
    EXPECT_EQ(text("fldSuchvorwahl"), "0301234567");
    EXPECT_TRUE(w<QLineEdit>("fldSuchvorwahl")->isReadOnly());
    EXPECT_FALSE(w("fldSatz")->isVisible());
}

TEST_F(Fenster, OptionButtonsChooseTheTable)
{
    const std::pair<const char*, QString> faelle[] = {{"Option3", ""}, {"Option2", "O"}, {"Option1", "D"}};
    for (const auto& [option, typ] : faelle) {
        w<QLineEdit>("fldBezeichnung")->setText(QStringLiteral("getippt"));
        w<QRadioButton>(option)->click();
        EXPECT_TRUE(w<QRadioButton>(option)->isChecked()) << option;
        EXPECT_EQ(text("fldTyp"), typ) << option;
        EXPECT_EQ(text("fldBezeichnung"), "") << option;
    }
    // The caption beside an option button chooses its table as well.
    QMouseEvent druck(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w("Label3"), &druck);
    EXPECT_TRUE(w<QRadioButton>("Option2")->isChecked());
    EXPECT_EQ(text("fldTyp"), "O");
}

TEST_F(Fenster, OpeningTheDropDownRefillsTheList)
{
    auto* combo = w<QComboBox>("Combo1");
    EXPECT_EQ(combo->count(), 0);
    w<QLineEdit>("fldBezeichnung")->setText(QStringLiteral("getippt"));
    waehle();
    EXPECT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->itemText(0), "030 Berlin 00:00:00 24:00:00 *(3)*");
    EXPECT_EQ(combo->currentText(), "");
    EXPECT_EQ(text("fldBezeichnung"), "");

    db->exec("INSERT INTO faktor (satz, vorwahl, Bezeichnung) VALUES (9, '0171', 'Mobil')");
    waehle();
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), "0171 Mobil   *(9)*");

    w<QRadioButton>("Option3")->click();
    EXPECT_EQ(combo->count(), 0);
    waehle();
    ASSERT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->itemText(0), "01013 Anbieter *(7)*");
}

TEST_F(Fenster, TakeOverChangeAndSaveThroughTheControls)
{
    w<QRadioButton>("Option2")->click();
    waehle(0);
    klick("Command2");
    EXPECT_EQ(text("fldSatz"), "4");
    EXPECT_EQ(text("fldVorwahl"), "0621");
    EXPECT_EQ(text("fldMinutenpreis"), "0,02");
    EXPECT_EQ(text("fldPauschalpreis"), "0,1");
    EXPECT_EQ(text("fldTyp"), "O");
    EXPECT_TRUE(w<QLineEdit>("fldVorwahl")->isReadOnly());

    w<QLineEdit>("fldMinutenpreis")->setText(QStringLiteral("0,025"));
    dlg.answer(Answer::Ok);
    klick("Command1");
    ASSERT_EQ(dlg.protokoll(), QStringList{"M ORVE-Tarifo V2.01 | Datensatz wurde gespeichert! | Ok Information"});
    EXPECT_EQ(text("fldSatz"), "0");
    EXPECT_EQ(text("fldMinutenpreis"), "");
    EXPECT_EQ(db->execAndGet("SELECT Minutenpreis FROM Ortstarif WHERE satz = 4").getDouble(), 0.025);
    EXPECT_EQ(db->execAndGet("SELECT count(*) FROM Ortstarif").getInt(), 1);
}

TEST_F(Fenster, NewEntryThroughTheControls)
{
    fenster->zeigeFehlendeVorwahl(QStringLiteral("01013"));
    fenster->show();
    w<QRadioButton>("Option3")->click();
    klick("Command4");
    EXPECT_FALSE(w<QLineEdit>("fldVorwahl")->isReadOnly());
    w<QLineEdit>("fldVorwahl")->setText(QStringLiteral("01088"));
    w<QLineEdit>("fldBezeichnung")->setText(QStringLiteral("Anbieter 2"));
    dlg.answer(Answer::Ok);
    klick("Command1");
    EXPECT_EQ(dlg.protokoll(), QStringList{"M ORVE-Tarifo V2.01 | Datensatz wurde gespeichert! | Ok Information"});
    EXPECT_TRUE(w<QLineEdit>("fldVorwahl")->isReadOnly());
    EXPECT_FALSE(w("Label15")->isVisible());
    EXPECT_FALSE(w("fldSuchvorwahl")->isVisible());
    EXPECT_EQ(db->execAndGet("SELECT count(*) FROM CallByCall WHERE vorwahl = '01088'").getInt(), 1);
}

TEST_F(Fenster, MenuCloseEndsTheModalWindow)
{
    QTimer::singleShot(0, fenster.get(), [this] { w<QAction>("mnuSchliessen")->trigger(); });
    fenster->exec();
    EXPECT_FALSE(fenster->isVisible());
}

TEST_F(Fenster, OpenerShowsTheNumberWithoutTariff)
{
    fenster.reset();
    QtTarifeditorOeffner oeffner(dir.state(), quellen, dlg);
    QString gezeigt;
    bool hinweis = false;
    QTimer::singleShot(0, [&] {
        auto* f = qobject_cast<frmEingabe*>(QApplication::activeModalWidget());
        ASSERT_TRUE(f);
        hinweis = f->findChild<QLabel*>(QStringLiteral("Label15"))->isVisible();
        gezeigt = f->findChild<QLineEdit*>(QStringLiteral("fldSuchvorwahl"))->text();
        f->close();
    });
    oeffner.oeffnen(QStringLiteral("08912345"));
    EXPECT_TRUE(hinweis);
    EXPECT_EQ(gezeigt, "08912345");
}

class KeineQuelle : public Datenquellen {
public:
    std::unique_ptr<SQLite::Database> oeffnen(const QString&) override
    {
        throw VerbindungsFehler(QStringLiteral("Die Datenquelle ORVE-Access ist nicht eingerichtet."));
    }
};

TEST(FensterOhneDatenbank, ReportsTheFailureAndDoesNotOpen)
{
    TempProgramFolder dir;
    KeineQuelle quellen;
    ScriptedDialogs dlg;
    dlg.answer(Answer::Ok);
    frmEingabe fenster(dir.state(), quellen, dlg);
    EXPECT_EQ(fenster.exec(), QDialog::Rejected);
    ASSERT_EQ(dlg.messages().size(), 1u);
    EXPECT_EQ(dlg.messages()[0].text, "Die lokale Datenbank kann nicht geöffnet werden:\rDie Datenquelle ORVE-Access ist nicht eingerichtet.");
    EXPECT_EQ(dlg.messages()[0].icon, Icon::Critical);
}

// Pictures of the window for looking at: ORVE_BILDER=<folder>, under a real
// X server (xvfb-run) or offscreen.
TEST_F(Fenster, Bildschirmfotos)
{
    const QString ordner = qEnvironmentVariable("ORVE_BILDER");
    if (ordner.isEmpty())
        GTEST_SKIP() << "ORVE_BILDER not set";
    QDir().mkpath(ordner);
    db->exec(R"(INSERT INTO faktor (satz, vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis, Pauschale,
                Sekundentakt, typ) VALUES (5, '030', 'Berlin Nacht', '18:00:00', '24:00:00', 0.0285, 0, 60, 'D'))");
    fenster->zeigeFehlendeVorwahl(QStringLiteral("0301234567"));
    fenster->show();
    QApplication::processEvents();
    auto foto = [&](const QString& name) {
        QApplication::processEvents();
        fenster->grab().save(QDir(ordner).filePath(name));
    };
    foto(QStringLiteral("eingabe-geoeffnet.png"));
    const char* optionen[] = {"Option1", "Option2", "Option3"};
    for (int i = 0; i < 3; ++i) {
        w<QRadioButton>(optionen[i])->click();
        waehle(0);
        klick("Command2");
        foto(QStringLiteral("eingabe-%1-uebernommen.png").arg(i + 1));
    }
    w<QComboBox>("Combo1")->showPopup();
    QApplication::processEvents();
    foto(QStringLiteral("eingabe-liste.png"));
    QWidget* popup = w<QComboBox>("Combo1")->view()->window();
    popup->grab().save(QDir(ordner).filePath(QStringLiteral("eingabe-liste-popup.png")));
    w<QComboBox>("Combo1")->hidePopup();
}

} // namespace
