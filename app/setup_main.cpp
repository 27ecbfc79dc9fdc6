// orve-setup: writes what an installer writes on Windows before the first
// start (the ODBC drivers and the SQLite data sources) into the registry file
// of the program folder. An existing file is left as it is, so running the
// build again never undoes the user's or the program's own entries.
//
//   orve-setup <registry file> <SQLite library> <program file>

#include "startup/Installation.h"

#include "common/Konsolenausgabe.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "Aufruf: orve-setup <Registry-Datei> <SQLite-Bibliothek> <Programmdatei>\n");
        return 2;
    }
    const QString datei = QString::fromLocal8Bit(argv[1]);
    const QString sqlite = QString::fromLocal8Bit(argv[2]);
    const QString programm = QString::fromLocal8Bit(argv[3]);
    if (QFileInfo::exists(datei)) {
        orve::konsoleSchreiben(stdout, QStringLiteral("orve-setup: %1 ist vorhanden und bleibt unverändert.\n")
                                           .arg(QDir::toNativeSeparators(datei)));
        return 0;
    }
    QString fehler;
    if (!orve::installationSchreiben(datei, sqlite, programm, &fehler)) {
        orve::konsoleSchreiben(stderr, QStringLiteral("orve-setup: %1\n").arg(fehler));
        return 1;
    }
    orve::konsoleSchreiben(stdout,
                           QStringLiteral("orve-setup: %1 angelegt.\n").arg(QDir::toNativeSeparators(datei)));
    return 0;
}
