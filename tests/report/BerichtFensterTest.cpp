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

Telefonkostenauswertung bericht(std::size_t anrufe)
{
    const BerichtAnruf a{"2009-01-05 09:30:00", "21", "Empfang", "0301234567", "60", 0.1, "Ortstarif Berlin"};
    return Telefonkostenauswertung(BerichtDaten{{{"21", "Empfang", 0.1 * anrufe, 0.119 * anrufe, {anrufe, a}}}}, {});
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

// A cancelled file question writes nothing; a file that cannot be written gets its message. The CSV is for a
// German spreadsheet: money with a decimal comma, texts holding ";" or quotes quoted, numbers as the report shows them.
TEST(BerichtFenster, SavesAsPdfOrCsvUnderTheChosenName)
{
    TempProgramFolder ordner;
    const QString ohneOrdner = ordner.file(QStringLiteral("fehlt/Januar.pdf"));
    ScriptedDialogs dialoge;
    dialoge.chooseFile(QString()).chooseFile(ordner.file(QStringLiteral("Januar.pdf"))).chooseFile(ohneOrdner);
    dialoge.answer(Answer::Ok).chooseFile(ordner.file(QStringLiteral("Januar.csv")));
    const BerichtAnruf a{"2009-01-05 09:30:00", "21", "Einkauf; \"Nord\"", "0301234567        ", "90", 0.108,
                         "Ortstarif Berlin", "1", 0.09, "0301234567        ", 0.12852, "Ortstarif:1"};
    const BerichtAnruf ohne{"05.01.2009 10:00:00", "22", "Lager", "110", "5", {}, "????", "2", {}, "110"};
    BerichtOptionen o;
    o.rufnummernGekuerzt = true;
    const BerichtDaten daten{{{"21", a.username, 0.108, 0.12852, {a}}, {"22", "Lager", {}, {}, {ohne}}}};
    BerichtFenster fenster(Telefonkostenauswertung(daten, o), dialoge);
    for (const char* aktion : {"AlsPdfSpeichern", "AlsPdfSpeichern", "AlsPdfSpeichern", "AlsCsvSpeichern"})
        ausloesen(fenster, aktion);

    EXPECT_TRUE(ordner.readFile(QStringLiteral("Januar.pdf")).startsWith("%PDF-"));
    EXPECT_FALSE(QFile::exists(ohneOrdner));
    EXPECT_EQ(ordner.readFile(QStringLiteral("Januar.csv")).toStdString(),
              "\xEF\xBB\xBFtime;user;username;number;duration;ucosts;rufziel;lineno;costs;vergleichsnummer;ucostsBrutto;"
              "tarifsatz\r\n2009-01-05 09:30:00;21;\"Einkauf; \"\"Nord\"\"\";0301234xxx        ;90;0,108;Ortstarif Berlin;1;"
              "0,090;0301234xxx        ;0,12852;Ortstarif:1\r\n05.01.2009 10:00:00;22;Lager;xxx;5;;????;2;;xxx;;\r\n");
    const QStringList boxen = dialoge.protokoll();
    ASSERT_EQ(boxen.size(), 5);
    EXPECT_TRUE(boxen[3].contains(QStringLiteral("kann nicht geschrieben werden"))) << boxen[3].toStdString();
}
