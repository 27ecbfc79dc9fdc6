// orve-setup: writes what an installer writes on Windows before the first
// start (the ODBC drivers and the SQLite data sources) into the registry file
// of the program folder. An existing file is left as it is, so running the
// build again never undoes the user's or the program's own entries.
//
//   orve-setup <registry file> <SQLite library> <program file>

#include "startup/Installation.h"

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
        std::printf("orve-setup: %s ist vorhanden und bleibt unverändert.\n",
                    QDir::toNativeSeparators(datei).toLocal8Bit().constData());
        return 0;
    }
    QString fehler;
    if (!orve::installationSchreiben(datei, sqlite, programm, &fehler)) {
        std::fprintf(stderr, "orve-setup: %s\n", fehler.toLocal8Bit().constData());
        return 1;
    }
    std::printf("orve-setup: %s angelegt.\n", QDir::toNativeSeparators(datei).toLocal8Bit().constData());
    return 0;
}
