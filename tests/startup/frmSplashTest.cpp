#include "startup/frmSplash.h"

#include "common/ProgramEnd.h"

#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"
#include "WidgetTexte.h"

#include <QDir>
#include <QFrame>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

class Splash : public ::testing::Test {
protected:
    void TearDown() override { QDir::setCurrent(m_vorher); }

    QString m_vorher = QDir::currentPath();
    TempProgramFolder folder;
    SpeicherRegistry reg = standardRegistry();
    FesteSystemumgebung system;
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(Splash, ShowsWhatTheLoadStepFound)
{
    system.benutzer = QByteArray("maria\0", 6);
    frmSplash w(folder.state(), reg, system, dialogs);
    pruefeSteuerelemente(&w, {{"Username", "Text2"}, {"Label2", "Mdac Version"}});
    w.laden();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("ORVE-Tarifo"));
    pruefeSteuerelemente(&w, {
        {"Username", "maria"},
        {"Label2", "MDAC-Version: 3.40.1"},
        {"lblProductName", "ORVE-Tarifo"},
        {"lblVersion", "Version: 2.0.1"},
        {"lblPlatform", "Plattform: Windows 95/98/Me/XP/2000"},
        {"Label1", "Programmname:"},
        {"Label3", "Anwendername:"},
        {"Rechtslage", ""},
        {"Command1", "Weiter"},
    });
    EXPECT_EQ(kind<QPlainTextEdit>(&w, "Text1")->toPlainText(), versionsKommentar());
    EXPECT_EQ(kind<QLabel>(&w, "lblCopyright")->text(), versionsCopyright());
    EXPECT_FALSE(kind<QLabel>(&w, "ORVE_Logo")->pixmap().isNull());
    EXPECT_EQ(w.anzeige().hilfeDatei, folder.file(QStringLiteral("Hilfe/ORVE-Tarifo.hlp")));
}

TEST_F(Splash, MissingPrerequisiteEndsBeforeTheWindowIsShown)
{
    SpeicherRegistry leer;
    frmSplash w(folder.state(), leer, system, dialogs);
    dialogs.answer(Answer::Ok);
    EXPECT_THROW(w.laden(), ProgramEnd);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(Splash, ButtonKeyOrClickOnTheFrameClosesItOnce)
{
    struct Weg {
        const char* name;
        std::function<void(frmSplash&)> schliessen;
    };
    const std::vector<Weg> wege = {
        {"button Weiter", [](frmSplash& w) { QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton); }},
        {"letter key on the focused button", [](frmSplash& w) { QTest::keyClick(w.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::Key_X); }},
        {"escape", [](frmSplash& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"click on the frame", [](frmSplash& w) { QTest::mouseClick(w.findChild<QFrame*>(QStringLiteral("fraMainFrame")), Qt::LeftButton, {}, QPoint(4, 4)); }},
        {"click on a label in the frame", [](frmSplash& w) { QTest::mouseClick(w.findChild<QLabel*>(QStringLiteral("lblPlatform")), Qt::LeftButton); }},
    };
    for (const auto& weg : wege) {
        SCOPED_TRACE(weg.name);
        frmSplash w(folder.state(), reg, system, dialogs);
        w.laden();
        QSignalSpy geschlossen(&w, &frmSplash::geschlossen);
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        weg.schliessen(w);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(geschlossen.count(), 1);
        w.close();
        EXPECT_EQ(geschlossen.count(), 1) << "reported once";
    }
}

TEST_F(Splash, ModifierKeysAloneDoNotCloseIt)
{
    frmSplash w(folder.state(), reg, system, dialogs);
    w.laden();
    QSignalSpy geschlossen(&w, &frmSplash::geschlossen);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    for (auto taste : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt})
        QTest::keyClick(&w, taste);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(geschlossen.count(), 0);
}
