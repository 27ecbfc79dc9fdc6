// orve-tarifo-bericht: the cost report without a window, for scheduled
// monthly runs. Same program folder, settings and database as the program.
#include "batch/StapelOptionen.h"
#include "batch/Stapellauf.h"

#include "common/Version.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace {
// Qt's own notes (missing runtime folder, fonts) are no business of a
// scheduled run; its messages and errors are.
void nurFehler(QtMsgType typ, const QMessageLogContext&, const QString& text)
{
    if (typ == QtCriticalMsg || typ == QtFatalMsg)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}
} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(nurFehler);
    // Painting the report needs a GUI application, but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(orve::kProduktName);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // Qt's own texts (a wrong option) in German where the translation is installed.
    QTranslator qtDeutsch;
    if (qtDeutsch.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtDeutsch);

    const orve::StapelArgumente a =
        orve::stapelArgumenteLesen(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
    if (!a.optionen) {
        std::fprintf(stderr, "%s\n", a.fehler.toLocal8Bit().constData());
        return orve::kStapelFehler;
    }
    if (a.optionen->hilfe) {
        std::fputs(orve::stapelHilfe().toLocal8Bit().constData(), stdout);
        return orve::kStapelOk;
    }
    return orve::stapellauf(*a.optionen, stdout, stderr);
}
