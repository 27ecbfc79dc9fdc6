// Builds a realistic SQLite and a Paradox bill.db, runs the main window on
// each, picks an extension and a starting moment, imports and saves
// screenshots as PNG files into the folder given as the first argument.
// Run under Xvfb (xvfb-run -a ./mainwindow_bilder out) to see the real
// window style, or with QT_QPA_PLATFORM=offscreen.
#include "mainwindow/frmHaupt.h"

#include "common/QtDialogs.h"

#include "RegistryFixtures.h"
#include "SourceBuilders.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QScreen>
#include <QTimer>

#include <cstdio>

using namespace orve;
using namespace orve::test;

namespace {

void warten(int ms)
{
    QEventLoop schleife;
    QTimer::singleShot(ms, &schleife, &QEventLoop::quit);
    schleife.exec();
}

void speichern(const QPixmap& bild, const QString& datei)
{
    std::printf("%s %s\n", bild.save(datei) ? "saved" : "cannot save", qPrintable(datei));
}

void aufnehmen(bool paradox, const QString& ziel)
{
    QuellUmgebung u;
    u.ordner.writeFile(QStringLiteral("Kostenaufschlag.txt"), "1,20\r\n");
    u.ordner.writeFile(QStringLiteral("Steuersatz.txt"), "19\r\n");
    if (paradox)
        schreibeParadoxBill(u.billDatei(), beispielAnrufe(300));
    else
        schreibeSqliteBill(u.billDatei(), beispielStdbill(300),
                           {StdbillOptionen::User::Integer, StdbillOptionen::Zeit::Deutsch});
    u.ordner.writeFile(QStringLiteral("Billpfad.txt"), u.billDatei().toUtf8() + "\r\n");

    SpeicherRegistry reg = standardRegistry();
    FesteSystemumgebung system;
    QtDialogs dialogs;
    frmHaupt fenster(u.state(), reg, system, u.quellen, dialogs);
    dialogs.setParent(&fenster);
    fenster.laden();
    fenster.move(20, 20);
    fenster.show();
    warten(300);

    const QString art = paradox ? QStringLiteral("paradox") : QStringLiteral("sqlite");
    auto* combo1 = fenster.findChild<QComboBox*>(QStringLiteral("Combo1"));
    auto* combo2 = fenster.findChild<QComboBox*>(QStringLiteral("Combo2"));

    // The extension list open.
    combo1->showPopup();
    warten(300);
    speichern(QGuiApplication::primaryScreen()->grabWindow(0),
              QDir(ziel).filePath(art + QStringLiteral("-nebenstellen.png")));
    combo1->hidePopup();
    combo1->setCurrentIndex(2);

    // The date list of that extension open.
    combo2->showPopup();
    warten(300);
    speichern(QGuiApplication::primaryScreen()->grabWindow(0),
              QDir(ziel).filePath(art + QStringLiteral("-datum.png")));
    combo2->hidePopup();
    combo2->setCurrentIndex(combo2->count() / 3);

    fenster.findChild<QAction*>(QStringLiteral("mnuLesenBill"))->trigger();
    warten(300);
    speichern(fenster.grab(), QDir(ziel).filePath(art + QStringLiteral("-eingelesen.png")));

    // Every call.
    combo1->setEditText(QStringLiteral("alle"));
    combo2->setEditText(QStringLiteral("alle"));
    fenster.findChild<QAction*>(QStringLiteral("mnuLesenBill"))->trigger();
    warten(300);
    speichern(fenster.grab(), QDir(ziel).filePath(art + QStringLiteral("-alle.png")));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString ziel = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(ziel);
    aufnehmen(false, ziel);
    aufnehmen(true, ziel);
    return 0;
}
