#include "common/AppState.h"
#include "common/CommandGuard.h"
#include "common/ProgramEnd.h"
#include "common/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTranslator qtDeutsch;
    if (qtDeutsch.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtDeutsch);

    orve::AppState state;
    state.programmOrdner = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    orve::QtDialogs dialogs;
    try {
        return app.exec();
    } catch (const orve::ProgramEnd& e) {
        return e.exitCode();
    }
}
