// ORVE-Tarifo: the start-up window checks the machine, closing it opens the
// main window. The program folder is always the folder of the executable.
#include "common/AppState.h"
#include "common/BefehlAusfuehren.h"
#include "common/Dialogs.h"
#include "common/ProgramEnd.h"
#include "common/QtDialogs.h"
#include "common/Version.h"
#include "mainwindow/frmHaupt.h"
#include "startup/DateiRegistry.h"
#include "startup/OdbcDatenquellen.h"
#include "startup/SplashLaden.h"
#include "startup/Systemumgebung.h"
#include "startup/frmSplash.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(orve::kProduktName);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator qtDeutsch;
    if (qtDeutsch.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtDeutsch);
    // The program ends with the main window, not with the start-up window
    // or a message box shown between the two.
    QApplication::setQuitOnLastWindowClosed(false);

    orve::AppState state;
    state.programmOrdner = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    orve::QtDialogs dialogs;

    try {
        const auto registry = orve::registryLaden(state, dialogs);
        orve::EchteSystemumgebung system;
        orve::OdbcDatenquellen quellen(*registry);
        std::unique_ptr<orve::frmHaupt> haupt;

        orve::frmSplash splash(state, *registry, system, dialogs);
        splash.laden();
        QObject::connect(
            &splash, &orve::frmSplash::geschlossen, &app,
            [&] {
                const bool ok = orve::befehlAusfuehren(dialogs, [&] {
                    haupt = std::make_unique<orve::frmHaupt>(state, *registry, system, quellen, dialogs);
                    dialogs.setParent(haupt.get());
                    QObject::connect(haupt.get(), &orve::frmHaupt::geschlossen, &app, &QCoreApplication::quit,
                                     Qt::QueuedConnection);
                    haupt->laden();
                    haupt->show();
                });
                if (!ok && orve::programmEndeCode() == 0)
                    QCoreApplication::exit(1);
            },
            Qt::QueuedConnection); // the start-up window is gone before the main window loads
        splash.show();
        const int rc = QApplication::exec();
        return orve::programmEndeCode() != 0 ? orve::programmEndeCode() : rc;
    } catch (const orve::ProgramEnd& e) {
        return e.exitCode();
    }
}
