// orve-demo: lays out the demonstration program folder (call database,
// settings files, local database with the example tariffs, registry file).
// The build copies the executables and the help pages beside them.
//
//   orve-demo <demonstration folder> <SQLite library> <program file>

#include "help/Demonstration.h"

#include "common/Konsolenausgabe.h"

#include <QDir>
#include <QString>

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "Aufruf: orve-demo <Demo-Ordner> <SQLite-Bibliothek> <Programmdatei>\n");
        return 2;
    }
    const QString ordner = QString::fromLocal8Bit(argv[1]);
    try {
        orve::demoOrdnerAnlegen(ordner, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    } catch (const std::exception& e) {
        orve::konsoleSchreiben(stderr, QStringLiteral("orve-demo: %1\n").arg(QString::fromUtf8(e.what())));
        return 1;
    }
    orve::konsoleSchreiben(stdout,
                           QStringLiteral("orve-demo: %1 angelegt.\n").arg(QDir::toNativeSeparators(ordner)));
    return 0;
}
