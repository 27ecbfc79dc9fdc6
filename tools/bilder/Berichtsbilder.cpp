// Writes a sample cost report as PDF and screenshots of the report window:
// report_bilder <output folder>. Run under Xvfb (QT_QPA_PLATFORM=xcb) or
// offscreen; render the PDF with `pdftoppm -png`.
#include "common/LokaleDatenbank.h"
#include "report/BerichtAnzeige.h"
#include "report/BerichtDaten.h"
#include "report/BerichtFenster.h"
#include "report/Telefonkostenauswertung.h"

#include "BeispielBill.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPrintPreviewWidget>
#include <QThread>
#include <QTimer>

#include <SQLiteCpp/SQLiteCpp.h>

#include <cstdio>

using namespace orve;

namespace {

void warten(int ms)
{
    for (int i = 0; i < ms / 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

void foto(QWidget* w, const QString& datei)
{
    warten(400);
    if (!w->grab().save(datei))
        std::fprintf(stderr, "could not save %s\n", qPrintable(datei));
    else
        std::printf("%s\n", qPrintable(datei));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString ziel = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/bericht");
    QDir().mkpath(ziel);

    test::TempProgramFolder ordner;
    auto db = lokaleDatenbankOeffnen(ordner.file(QStringLiteral("Datenbank/Bill.sqlite")));
    test::billSchreiben(*db, test::beispielBill(260, 5));
    BerichtDaten daten = bill_Grouping(*db);

    BerichtOptionen optionen {19, 0, QDate::currentDate()};
    const Telefonkostenauswertung bericht(daten, optionen);
    berichtAlsPdfSchreiben(bericht, ziel + QStringLiteral("/Telefonkostenauswertung.pdf"));
    optionen.OhneMwst = 1;
    berichtAlsPdfSchreiben(Telefonkostenauswertung(daten, optionen), ziel + QStringLiteral("/OhneMwst.pdf"));

    ordner.state().Steuersatz = QStringLiteral("19");
    test::ScriptedDialogs dialoge;
    BerichtAnzeige anzeige(dialoge);
    BerichtFenster* f = anzeige.zeigen(Telefonkostenauswertung(daten, BerichtOptionen::aus(ordner.state())),
                                       QStringLiteral("Telefonkosten alle alle"));
    foto(f, ziel + QStringLiteral("/fenster.png"));
    f->findChild<QAction*>(QStringLiteral("NaechsteSeite"))->trigger();
    f->findChild<QAction*>(QStringLiteral("Vergroessern"))->trigger();
    foto(f, ziel + QStringLiteral("/fenster-seite2.png"));
    f->findChild<QAction*>(QStringLiteral("GanzeSeite"))->trigger();
    f->findChild<QAction*>(QStringLiteral("LetzteSeite"))->trigger();
    foto(f, ziel + QStringLiteral("/fenster-letzte.png"));

    // The print dialog, photographed and cancelled.
    QTimer::singleShot(1500, [&] {
        if (QWidget* d = QApplication::activeModalWidget()) {
            foto(d, ziel + QStringLiteral("/drucken.png"));
            d->close();
        }
    });
    f->findChild<QAction*>(QStringLiteral("Drucken"))->trigger();
    return 0;
}
