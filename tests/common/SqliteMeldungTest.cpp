#include "common/SqliteMeldung.h"

#include <QStringList>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace orve;

// Each kind of SQLite failure the user can act on gets its own sentence,
// ending with what to do next; SQLite's text stays as the last line.
TEST(SqliteMeldung, EachKindOfFailureSaysWhatHappenedAndWhatToDo)
{
    const struct {
        int code;
        const char* text;
        const char* satz;
    } faelle[] = {
        {SQLITE_FULL, "database or disk is full", "Der Datenträger mit der Datenbank /d/Bill.sqlite ist voll. Bitte schaffen Sie Platz und lesen Sie"},
        {SQLITE_READONLY_DIRECTORY, "attempt to write a readonly database", "ist schreibgeschützt. Bitte geben Sie Ihrem Benutzerkonto Schreibrechte"},
        {SQLITE_BUSY, "database is locked", "wird gerade von einem anderen Programm benutzt"},
        {SQLITE_LOCKED, "database table is locked", "wird gerade von einem anderen Programm benutzt"},
        {SQLITE_IOERR_WRITE, "disk I/O error", "hat der Datenträger einen Fehler gemeldet"},
        {SQLITE_NOTADB, "file is not a database", "ist keine SQLite-Datenbank oder sie ist beschädigt"},
        {SQLITE_ERROR, "no such table: main.stdbill", "In der Datenbank /d/Bill.sqlite fehlt die Tabelle \"stdbill\"."},
        {SQLITE_ERROR, "no such column: duration", "fehlt das Feld \"duration\""},
        {SQLITE_CONSTRAINT, "nein", "ist ein Fehler aufgetreten. Bitte lesen Sie"},
    };
    for (const auto& f : faelle) {
        const QString m = sqliteMeldung(f.code, QString::fromUtf8(f.text), QStringLiteral("/d/Bill.sqlite"),
                                        QStringLiteral("lesen Sie die Daten erneut ein"));
        const QStringList z = m.split(QLatin1Char('\r'));
        ASSERT_EQ(z.size(), 2) << m.toStdString();
        EXPECT_TRUE(z[0].contains(QString::fromUtf8(f.satz))) << z[0].toStdString();
        EXPECT_TRUE(z[0].endsWith(QStringLiteral("lesen Sie die Daten erneut ein."))) << z[0].toStdString();
        EXPECT_EQ(z[1], QStringLiteral("Meldung von SQLite: ") + QString::fromUtf8(f.text));
    }
}
