#include "help/Hilfe.h"
#include "help/HilfeFenster.h"

#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <QLineEdit>
#include <QTextBrowser>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

// No help without its contents page; with it the hint, then the help window
// at the contents page: links, search, back, and one window however often it
// is asked for.
TEST(Hilfe, HintThenOneHelpWindowAtTheContentsPage)
{
    TempProgramFolder dir;
    QWidget haupt;
    QtHilfeAnzeige anzeige(&haupt);
    mnuHilfeklick(dir.state(), anzeige);
    EXPECT_EQ(haupt.findChild<HilfeFenster*>(), nullptr);
    dir.writeFile(QStringLiteral("Hilfe/ORVE-Tarifo.html"), "<html><body><h1>Inhalt</h1><a href=\"seite.html\">Seite</a></body></html>");
    dir.writeFile(QStringLiteral("Hilfe/seite.html"), "<html><body><p>Minutenpreis und Sekundentakt</p></body></html>");
    ScriptedDialogs dlg;
    mnuWin7(dir.state(), dlg.answer(Answer::Ok), anzeige);
    EXPECT_TRUE(dlg.messages().at(0).text.startsWith(QStringLiteral("Windows 7 bzw. Vista Nutzer")));
    auto* fenster = haupt.findChild<HilfeFenster*>();
    ASSERT_TRUE(fenster && fenster->isVisible());
    QTextBrowser* b = fenster->browser();
    b->setSource(QUrl(QStringLiteral("seite.html")));
    auto* suche = fenster->findChild<QLineEdit*>(QStringLiteral("txtSuche"));
    suche->setText(QStringLiteral("sekundentakt"));
    EXPECT_TRUE(fenster->suchen());
    EXPECT_EQ(b->textCursor().selectedText(), QStringLiteral("Sekundentakt"));
    EXPECT_TRUE(fenster->suchen()) << "starts over at the top";
    suche->setText(QStringLiteral("Vorwahl"));
    EXPECT_FALSE(fenster->suchen());
    auto* zurueck = fenster->findChild<QToolButton*>(QStringLiteral("cmdZurueck"));
    zurueck->click();
    EXPECT_TRUE(b->toPlainText().contains(QStringLiteral("Inhalt")));
    b->setSource(QUrl(QStringLiteral("seite.html")));
    mnuHilfeklick(dir.state(), anzeige);
    EXPECT_EQ(haupt.findChildren<HilfeFenster*>().size(), 1);
    EXPECT_TRUE(b->toPlainText().contains(QStringLiteral("Inhalt")));
    EXPECT_FALSE(zurueck->isEnabled()) << "the contents page starts the history anew";
}

} // namespace
