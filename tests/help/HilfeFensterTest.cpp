#include "help/HilfeFenster.h"

#include "TempProgramFolder.h"

#include <QApplication>
#include <QLineEdit>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

using namespace orve;
using orve::test::TempProgramFolder;

namespace {

// The help window from the main window's side: opened at the contents page,
// links followed, back, search, and one window however often it is asked for.
TEST(HilfeFenster, InhaltLinksZurueckSucheUndNurEinFenster)
{
    TempProgramFolder dir;
    dir.writeFile(QStringLiteral("Hilfe/ORVE-Tarifo.html"),
                  "<html><body><h1>Inhalt</h1><a href=\"seite.html\">Seite</a></body></html>");
    dir.writeFile(QStringLiteral("Hilfe/seite.html"), "<html><body><p>Minutenpreis und Sekundentakt</p></body></html>");
    QWidget haupt;
    QtHilfeAnzeige anzeige(&haupt);
    const QString inhalt = dir.file(QStringLiteral("Hilfe/ORVE-Tarifo.html"));
    anzeige.zeigen(inhalt);

    auto* fenster = haupt.findChild<HilfeFenster*>();
    ASSERT_NE(fenster, nullptr);
    EXPECT_TRUE(fenster->isVisible());
    QTextBrowser* b = fenster->browser();
    EXPECT_TRUE(b->toPlainText().contains(QStringLiteral("Inhalt")));
    b->setSource(QUrl(QStringLiteral("seite.html")));
    EXPECT_TRUE(b->toPlainText().contains(QStringLiteral("Sekundentakt")));
    EXPECT_TRUE(fenster->findChild<QToolButton*>(QStringLiteral("cmdZurueck"))->isEnabled());

    auto* suche = fenster->findChild<QLineEdit*>(QStringLiteral("txtSuche"));
    suche->setText(QStringLiteral("sekundentakt"));
    EXPECT_TRUE(fenster->suchen());
    EXPECT_EQ(b->textCursor().selectedText(), QStringLiteral("Sekundentakt"));
    EXPECT_TRUE(fenster->suchen()); // starts over at the top
    suche->setText(QStringLiteral("Vorwahl"));
    EXPECT_FALSE(fenster->suchen());

    fenster->findChild<QToolButton*>(QStringLiteral("cmdZurueck"))->click();
    EXPECT_TRUE(b->toPlainText().contains(QStringLiteral("Inhalt")));

    b->setSource(QUrl(QStringLiteral("seite.html")));
    anzeige.zeigen(inhalt);
    EXPECT_EQ(haupt.findChildren<HilfeFenster*>().size(), 1);
    EXPECT_TRUE(b->toPlainText().contains(QStringLiteral("Inhalt")));
    EXPECT_FALSE(fenster->findChild<QToolButton*>(QStringLiteral("cmdZurueck"))->isEnabled());
}

} // namespace
