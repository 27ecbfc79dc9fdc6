#include "common/SqliteMeldung.h"

#include "common/Dialogs.h"

#include <QDir>

#include <SQLiteCpp/Exception.h>
#include <sqlite3.h>

namespace orve {

namespace {

// The name after "no such table: " / "no such column: " in SQLite's text.
QString nameNach(const QString& text, const QString& vorn)
{
    const qsizetype i = text.indexOf(vorn);
    if (i < 0)
        return QString();
    QString name = text.mid(i + vorn.size()).trimmed();
    const qsizetype punkt = name.lastIndexOf(QLatin1Char('.')); // "main.stdbill" -> "stdbill"
    if (punkt >= 0 && vorn.contains(QStringLiteral("table")))
        name = name.mid(punkt + 1);
    return name;
}

const QString kKeineTabelle = QStringLiteral("no such table: ");
const QString kKeineSpalte = QStringLiteral("no such column: ");

} // namespace

SqliteUrsache sqliteUrsache(int ergebnisCode, const QString& sqliteText)
{
    switch (ergebnisCode & 0xFF) {
    case SQLITE_FULL:
        return SqliteUrsache::Voll;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return SqliteUrsache::Schreibschutz;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return SqliteUrsache::Gesperrt;
    case SQLITE_IOERR:
        return SqliteUrsache::Datentraeger;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return SqliteUrsache::KeineDatenbank;
    case SQLITE_CANTOPEN:
        return SqliteUrsache::NichtZuOeffnen;
    case SQLITE_NOMEM:
        return SqliteUrsache::Speicher;
    default:
        break;
    }
    if (sqliteText.contains(kKeineTabelle))
        return SqliteUrsache::TabelleFehlt;
    if (sqliteText.contains(kKeineSpalte))
        return SqliteUrsache::SpalteFehlt;
    return SqliteUrsache::Sonstige;
}

SqliteUrsache sqliteUrsache(const SQLite::Exception& e)
{
    return sqliteUrsache(e.getExtendedErrorCode(), QString::fromUtf8(e.what()));
}

QString sqliteMeldung(int ergebnisCode, const QString& sqliteText, const QString& datenbank, const QString& danach)
{
    const QString db = QDir::toNativeSeparators(datenbank);
    const SqliteUrsache ursache = sqliteUrsache(ergebnisCode, sqliteText);
    QString satz;
    switch (ursache) {
    case SqliteUrsache::Voll:
        satz = QStringLiteral("Der Datenträger mit der Datenbank %1 ist voll. Bitte schaffen Sie Platz und %2.");
        break;
    case SqliteUrsache::Schreibschutz:
        satz =
            QStringLiteral("Die Datenbank %1 kann nicht beschrieben werden: die Datei oder ihr Ordner ist "
                           "schreibgeschützt. Bitte geben Sie Ihrem Benutzerkonto Schreibrechte auf beide und %2.");
        break;
    case SqliteUrsache::Gesperrt:
        satz = QStringLiteral("Die Datenbank %1 wird gerade von einem anderen Programm benutzt. Bitte warten Sie, "
                              "bis es fertig ist, und %2.");
        break;
    case SqliteUrsache::Datentraeger:
        satz =
            QStringLiteral("Beim Lesen oder Schreiben der Datenbank %1 hat der Datenträger einen Fehler gemeldet. "
                           "Bitte prüfen Sie den Datenträger oder die Netzwerkverbindung und %2.");
        break;
    case SqliteUrsache::KeineDatenbank:
        satz = QStringLiteral("Die Datei %1 ist keine SQLite-Datenbank oder sie ist beschädigt. Bitte prüfen Sie "
                              "die Datei oder stellen Sie eine Sicherung wieder her und %2.");
        break;
    case SqliteUrsache::NichtZuOeffnen:
        satz = QStringLiteral("Die Datenbank %1 kann nicht geöffnet werden. Bitte prüfen Sie, ob die Datei und ihr "
                              "Ordner vorhanden sind und Sie darauf zugreifen dürfen, und %2.");
        break;
    case SqliteUrsache::Speicher:
        satz = QStringLiteral("Für die Arbeit mit der Datenbank %1 reicht der Arbeitsspeicher nicht. Bitte "
                              "schließen Sie andere Programme und %2.");
        break;
    case SqliteUrsache::TabelleFehlt:
        satz = QStringLiteral("In der Datenbank %1 fehlt die Tabelle \"%3\". Bitte prüfen Sie, ob es die richtige "
                              "Datenbank ist, und %2.");
        break;
    case SqliteUrsache::SpalteFehlt:
        satz = QStringLiteral("In der Datenbank %1 fehlt das Feld \"%3\". Bitte prüfen Sie, ob es die richtige "
                              "Datenbank ist, und %2.");
        break;
    case SqliteUrsache::Sonstige:
        satz = QStringLiteral("Bei der Arbeit mit der Datenbank %1 ist ein Fehler aufgetreten. Bitte %2.");
        break;
    }
    if (ursache == SqliteUrsache::TabelleFehlt || ursache == SqliteUrsache::SpalteFehlt)
        satz.replace(QStringLiteral("%3"),
                     nameNach(sqliteText, ursache == SqliteUrsache::TabelleFehlt ? kKeineTabelle : kKeineSpalte));
    // Without a path (a failure caught far from its database) the sentence names none.
    const QString text =
        db.isEmpty() ? satz.replace(QStringLiteral(" %1"), QString()).arg(danach) : satz.arg(db, danach);
    return zeilen({text, QStringLiteral("Meldung von SQLite: %1").arg(sqliteText)});
}

QString sqliteMeldung(const SQLite::Exception& e, const QString& datenbank, const QString& danach)
{
    return sqliteMeldung(e.getExtendedErrorCode(), QString::fromUtf8(e.what()), datenbank, danach);
}

} // namespace orve
