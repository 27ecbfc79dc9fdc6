#include "startup/frmSplash.h"

#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"
#include "WidgetTexte.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
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
    TestRegistry reg = standardRegistry();
    FesteSystemumgebung system;
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(Splash, ShowsWhatTheLoadStepFound)
{
    system.benutzer = QByteArray("maria\0", 6);
    frmSplash w(folder.state(), reg, system, dialogs);
    w.laden();
    pruefeSteuerelemente(&w, {{"Username", "maria"}, {"Label2", "MDAC-Version: 3.40.1"},
                              {"lblProductName", "ORVE-Tarifo"}, {"lblVersion", "Version: 2.0.1"}});
    EXPECT_TRUE(kind<QPlainTextEdit>(&w, "Text1")->toPlainText().startsWith(QStringLiteral("Auswertung der Telefonkosten")));
    EXPECT_TRUE(kind<QLabel>(&w, "lblCopyright")->text().startsWith(QStringLiteral("Copyright")));
    EXPECT_FALSE(kind<QLabel>(&w, "ORVE_Logo")->pixmap().isNull());
}

TEST_F(Splash, ButtonAnyKeyButAModifierOrAClickOnTheFrameClosesItOnce)
{
    struct Weg {
        const char* name;
        std::function<void(frmSplash&)> tun;
        bool schliesst = true;
    };
    const std::vector<Weg> wege = {
        {"button Weiter", [](frmSplash& w) { QTest::mouseClick(kind<QPushButton>(&w, "Command1"), Qt::LeftButton); }},
        {"letter key on the focused button", [](frmSplash& w) { QTest::keyClick(kind<QPushButton>(&w, "Command1"), Qt::Key_X); }},
        {"escape", [](frmSplash& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"click on a label in the frame", [](frmSplash& w) { QTest::mouseClick(kind(&w, "lblPlatform"), Qt::LeftButton); }},
        {"modifier keys", [](frmSplash& w) { for (auto t : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt}) QTest::keyClick(&w, t); }, false},
    };
    for (const auto& weg : wege) {
        SCOPED_TRACE(weg.name);
        frmSplash w(folder.state(), reg, system, dialogs);
        w.laden();
        QSignalSpy geschlossen(&w, &frmSplash::geschlossen);
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        weg.tun(w);
        EXPECT_EQ(w.isVisible(), !weg.schliesst);
        EXPECT_EQ(geschlossen.count(), weg.schliesst ? 1 : 0);
        QCloseEvent nochmal;
        QCoreApplication::sendEvent(&w, &nochmal);
        EXPECT_EQ(geschlossen.count(), 1) << "reported once";
    }
}
