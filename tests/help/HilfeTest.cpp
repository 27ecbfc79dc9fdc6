#include "help/Hilfe.h"
#include "help/Demonstration.h"
#include "help/HilfeAnzeige.h"
#include "help/HilfeFenster.h"

#include "batch/StapelOptionen.h"
#include "batch/Stapellauf.h"
#include "common/LokaleDatenbank.h"

#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <QLineEdit>
#include <QTextBrowser>
#include <QToolButton>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace orve;
using namespace orve::test;

namespace {

// No help without its contents page; with it the hint, then the help window at the contents page: links, search,
// back, and one window however often it is asked for.
TEST(Hilfe, HintThenOneHelpWindowAtTheContentsPage)
{
    TempProgramFolder dir;
    QWidget haupt;
    QtHilfeAnzeige anzeige(&haupt);
    mnuHilfeklick(dir.state(), anzeige);
    EXPECT_EQ(haupt.findChild<HilfeFenster*>(), nullptr);
    dir.writeFile("Hilfe/ORVE-Tarifo.html",
                  "<html><body><h1>Inhalt</h1><a href=\"seite.html\">Seite</a></body></html>");
    dir.writeFile("Hilfe/seite.html", "<html><body><p>Minutenpreis und Sekundentakt</p></body></html>");
    ScriptedDialogs dlg;
    mnuWin7(dir.state(), dlg.answer(Answer::Ok), anzeige);
    EXPECT_TRUE(dlg.messages().at(0).text.startsWith("Windows 7 bzw. Vista Nutzer"));
    auto* fenster = haupt.findChild<HilfeFenster*>();
    ASSERT_TRUE(fenster && fenster->isVisible());
    auto* b = fenster->findChild<QTextBrowser*>(QStringLiteral("txtHilfe"));
    b->setSource(QUrl(QStringLiteral("seite.html")));
    auto* suche = fenster->findChild<QLineEdit*>(QStringLiteral("txtSuche"));
    suche->setText("sekundentakt");
    EXPECT_TRUE(fenster->suchen());
    EXPECT_EQ(b->textCursor().selectedText(), "Sekundentakt");
    EXPECT_TRUE(fenster->suchen()) << "starts over at the top";
    suche->setText("Vorwahl");
    EXPECT_FALSE(fenster->suchen());
    auto* zurueck = fenster->findChild<QToolButton*>(QStringLiteral("cmdZurueck"));
    zurueck->click();
    EXPECT_TRUE(b->toPlainText().contains("Inhalt"));
    b->setSource(QUrl(QStringLiteral("seite.html")));
    mnuHilfeklick(dir.state(), anzeige);
    EXPECT_EQ(haupt.findChildren<HilfeFenster*>().size(), 1);
    EXPECT_TRUE(b->toPlainText().contains("Inhalt"));
    EXPECT_FALSE(zurueck->isEnabled()) << "the contents page starts the history anew";
}

// The folder is ready for the batch command, and its tariffs leave no gap for
// its calls until the night rows of the area codes 02 to 07 are gone.
TEST(Demonstration, FolderWorksAndTheTariffCheckFindsAGapOnlyWithoutTheNightRows)
{
    TempProgramFolder dir;
    const QString ordner = dir.file("Demo");
    // Made absolute: under Wine a path without drive names the current folder's drive.
    demoOrdnerAnlegen(ordner, QFileInfo(QStringLiteral(ORVE_SQLITE_BIBLIOTHEK)).absoluteFilePath(),
                      ordner + QStringLiteral("/orve-tarifo"));
    StapelOptionen o;
    o.programmOrdner = ordner;
    o.tarifePruefen = true;
    for (const bool nacht : {true, false}) {
        const std::string datei = (ordner + QLatin1Char('/') + kLokaleDatenbankRelativ).toStdString();
        if (!nacht)
            SQLite::Database(datei, SQLite::OPEN_READWRITE)
                .exec(R"(DELETE FROM faktor WHERE "von Zeit" = '18:00:00')");
        std::FILE* aus = std::tmpfile();
        EXPECT_EQ(stapellauf(o, aus, stderr), nacht ? kStapelOk : kStapelTarifluecken);
        std::string text(static_cast<std::size_t>(std::ftell(aus)), '\0');
        std::rewind(aus);
        text.resize(std::fread(text.data(), 1, text.size(), aus));
        std::fclose(aus);
        EXPECT_EQ(text.find("Keine Zeile gilt von 18:00:01 bis 07:59:59") == std::string::npos, nacht);
        // The example tariffs left are a notice, which keeps the exit code.
        EXPECT_NE(text.find("Tarifzeilen sind noch Beispieltarife (Bezeichnung beginnt mit "
                            "„Beispiel“): bitte durch Ihre echten Preise ersetzen."),
                  std::string::npos);
    }
}

} // namespace
