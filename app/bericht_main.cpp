// orve-tarifo-bericht: the cost report without a window, for scheduled
// monthly runs. Same program folder, settings and database as the program.
#include "batch/StapelOptionen.h"
#include "batch/Stapellauf.h"

#include "common/Konsolenausgabe.h"
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
        orve::konsoleSchreiben(stderr, text + QLatin1Char('\n'));
}
} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(nurFehler);
    // Painting the report needs a GUI application, but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef _WIN32
    // Offscreen, Qt reads its fonts from a folder instead of asking Windows:
    // the system's font folder, so that the PDF has its text.
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
        qputenv("QT_QPA_FONTDIR",
                (qEnvironmentVariable("WINDIR", QStringLiteral("C:\\Windows")) + QStringLiteral("\\Fonts"))
                    .toLocal8Bit());
#endif
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
        orve::konsoleSchreiben(stderr, a.fehler + QLatin1Char('\n'));
        return orve::kStapelFehler;
    }
    if (a.optionen->hilfe) {
        orve::konsoleSchreiben(stdout, orve::stapelHilfe());
        return orve::kStapelOk;
    }
    return orve::stapellauf(*a.optionen, stdout, stderr);
}
