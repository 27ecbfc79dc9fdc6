#include "report/BerichtAnzeige.h"
#include "report/BerichtFenster.h"

#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QPrintPreviewWidget>

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

Telefonkostenauswertung bericht(std::size_t anrufe, bool gekuerzt = false)
{
    const BerichtAnruf a{"2009-01-05 09:30:00", "21", "Empfang", "0301234567", "60", 0.1, "Ortstarif Berlin"};
    BerichtOptionen o;
    o.rufnummernGekuerzt = gekuerzt;
    return Telefonkostenauswertung(BerichtDaten{{{"21", "Empfang", 0.1 * anrufe, 0.119 * anrufe, {anrufe, a}}}}, o);
}

void ausloesen(QWidget& w, const char* aktion)
{
    auto* a = w.findChild<QAction*>(QString::fromLatin1(aktion));
    ASSERT_TRUE(a) << aktion;
    a->trigger();
}

} // namespace

TEST(BerichtFenster, ASecondReportReplacesTheWindowOfTheFirst)
{
    ScriptedDialogs dialoge;
    BerichtAnzeige anzeige(dialoge);
    QPointer<BerichtFenster> erstes = anzeige.zeigen(bericht(3));
    ASSERT_TRUE(erstes);

    QPointer<BerichtFenster> zweites = anzeige.zeigen(bericht(100));
    EXPECT_TRUE(erstes.isNull()) << "the first report window is gone";
    EXPECT_EQ(anzeige.fenster(), zweites);
    EXPECT_TRUE(zweites->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(zweites->vorschau()->pageCount(), 3);
    EXPECT_GT(zweites->vorschau()->height(), zweites->height() / 2) << "the pages fill the window";

    ausloesen(*zweites, "Schliessen");
    QApplication::processEvents();
    EXPECT_TRUE(zweites.isNull());
    EXPECT_EQ(anzeige.fenster(), nullptr);
}

// A cancelled file question writes nothing; a file that cannot be written gets its message.
TEST(BerichtFenster, SavesAsPdfOrCsvUnderTheChosenName)
{
    TempProgramFolder ordner;
    const QString pdf = ordner.file(QStringLiteral("Januar.pdf")), csv = ordner.file(QStringLiteral("Januar.csv"));
    const QString ohneOrdner = ordner.file(QStringLiteral("fehlt/Januar.pdf"));
    ScriptedDialogs dialoge;
    dialoge.chooseFile(QString()).chooseFile(pdf).chooseFile(ohneOrdner).answer(Answer::Ok).chooseFile(csv);
    BerichtFenster fenster(bericht(2, true), dialoge);
    for (const char* aktion : {"AlsPdfSpeichern", "AlsPdfSpeichern", "AlsPdfSpeichern", "AlsCsvSpeichern"})
        ausloesen(fenster, aktion);

    EXPECT_TRUE(ordner.readFile(QStringLiteral("Januar.pdf")).startsWith("%PDF-"));
    EXPECT_FALSE(QFile::exists(ohneOrdner));
    const QList<QByteArray> zeilen = ordner.readFile(QStringLiteral("Januar.csv")).split('\n');
    ASSERT_EQ(zeilen.size(), 4); // header, two calls, nothing after the last line end
    EXPECT_TRUE(zeilen[1].contains(";0301234xxx;")) << "numbers as the report shows them: " << zeilen[1].toStdString();
    const QStringList boxen = dialoge.protokoll();
    ASSERT_EQ(boxen.size(), 5);
    EXPECT_TRUE(boxen[3].contains(QStringLiteral("kann nicht geschrieben werden"))) << boxen[3].toStdString();
}
