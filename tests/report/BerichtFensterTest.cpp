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

Telefonkostenauswertung bericht(int anrufe)
{
    BerichtDaten d;
    BerichtGruppe g{QStringLiteral("21"), QStringLiteral("Empfang"), 0.1 * anrufe, 0.119 * anrufe, {}};
    for (int i = 0; i < anrufe; ++i)
        g.bill.push_back(BerichtAnruf{QStringLiteral("2009-01-05 09:30:00"), g.user, g.username,
                                      QStringLiteral("0301234567"), QStringLiteral("60"), 0.1,
                                      QStringLiteral("Ortstarif Berlin")});
    d.gruppen.push_back(g);
    return Telefonkostenauswertung(d, BerichtOptionen{19, 0, QDate(2009, 2, 1)});
}

void ausloesen(QWidget* w, const char* aktion)
{
    auto* a = w->findChild<QAction*>(QString::fromLatin1(aktion));
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
    EXPECT_EQ(erstes->windowTitle(), QStringLiteral("Datenbericht1"));
    EXPECT_FALSE(erstes->isModal());

    BerichtFenster* zweites = anzeige.zeigen(bericht(100));
    EXPECT_TRUE(erstes.isNull()) << "the first report window is gone";
    EXPECT_EQ(anzeige.fenster(), zweites);
    EXPECT_TRUE(zweites->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(zweites->vorschau()->pageCount(), 3);

    QPointer<BerichtFenster> zu = zweites;
    ausloesen(zweites, "Schliessen");
    QApplication::processEvents();
    EXPECT_TRUE(zu.isNull());
    EXPECT_EQ(anzeige.fenster(), nullptr);
}

TEST(BerichtFenster, SavesAsPdfUnderTheChosenName)
{
    TempProgramFolder ordner;
    const QString datei = ordner.file(QStringLiteral("Januar.pdf"));
    const QString ohneOrdner = ordner.file(QStringLiteral("fehlt/Januar.pdf"));
    ScriptedDialogs dialoge;
    dialoge.chooseFile(QString()).chooseFile(datei).chooseFile(ohneOrdner).answer(Answer::Ok);
    BerichtFenster fenster(bericht(3), dialoge);

    ausloesen(&fenster, "AlsPdfSpeichern");  // cancelled: nothing written
    ausloesen(&fenster, "AlsPdfSpeichern");
    ausloesen(&fenster, "AlsPdfSpeichern");
    EXPECT_TRUE(dialoge.scriptDone());
    QFile f(datei);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("%PDF-"));
    EXPECT_FALSE(QFile::exists(ohneOrdner));
    const QStringList boxen = dialoge.protokoll();
    ASSERT_EQ(boxen.size(), 4);
    EXPECT_TRUE(boxen[0].startsWith(QStringLiteral("F Als PDF speichern | "))) << boxen[0].toStdString();
    EXPECT_TRUE(boxen[3].contains(QStringLiteral("kann nicht geschrieben werden"))) << boxen[3].toStdString();
}

TEST(BerichtFenster, SavesTheCallsAsCsvWithTheNumbersAsTheReportShowsThem)
{
    TempProgramFolder ordner;
    for (const bool gekuerzt : {false, true}) {
        const QString datei = ordner.file(gekuerzt ? QStringLiteral("kurz.csv") : QStringLiteral("lang.csv"));
        ScriptedDialogs dialoge;
        dialoge.chooseFile(datei);
        const Telefonkostenauswertung b = bericht(2);
        BerichtOptionen o = b.optionen();
        o.rufnummernGekuerzt = gekuerzt;
        BerichtFenster fenster(Telefonkostenauswertung(b.daten(), o), dialoge);
        ausloesen(&fenster, "AlsCsvSpeichern");
        QFile f(datei);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> zeilen = f.readAll().split('\n');
        ASSERT_EQ(zeilen.size(), 4); // header, two calls, nothing after the last line end
        EXPECT_TRUE(zeilen[1].contains(gekuerzt ? ";0301234xxx;" : ";0301234567;")) << zeilen[1].toStdString();
        EXPECT_TRUE(dialoge.scriptDone());
    }
}
