#include "calls/TabellenSpalten.h"

#include "calls/QuellFehler.h"
#include "common/Dialogs.h"
#include "common/SqliteMeldung.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

namespace orve {

QStringList stdbillSpalten()
{
    return {QStringLiteral("time"),   QStringLiteral("user"),     QStringLiteral("username"),
            QStringLiteral("number"), QStringLiteral("duration"), QStringLiteral("lineno")};
}

QStringList paradoxSpalten()
{
    return {QStringLiteral("Tln#"), QStringLiteral("flags"), QStringLiteral("Rufnummer"), QStringLiteral("Dauer"),
            QStringLiteral("line")};
}

QStringList tabellenSpalten(SQLite::Database& db, const QString& tabelle)
{
    QStringList namen;
    SQLite::Statement q(db, "SELECT name FROM pragma_table_info(?)");
    q.bind(1, tabelle.toStdString());
    while (q.executeStep())
        namen << QString::fromUtf8(q.getColumn(0).getText());
    return namen;
}

std::optional<QString> spalteFinden(const QStringList& spalten, const QString& name)
{
    for (const auto& s : spalten)
        if (s.compare(name, Qt::CaseInsensitive) == 0)
            return s;
    return std::nullopt;
}

QStringList spaltenVerlangen(SQLite::Database& db, const QString& tabelle, const QStringList& namen)
{
    // The staging table holds the calls of TK-Suite's Paradox table "bill":
    // the user knows that one.
    const bool paradox = tabelle == QStringLiteral("paradox");
    const QString welche = paradox ? QStringLiteral("der Paradox-Tabelle \"bill\"")
                                   : QStringLiteral("der Tabelle \"%1\"").arg(tabelle);
    QStringList spalten;
    try {
        spalten = tabellenSpalten(db, tabelle);
    } catch (const SQLite::Exception& e) {
        throw QuellFehler(zeilen({QStringLiteral("Die Anrufdaten %1 können nicht gelesen werden.").arg(welche),
                                  sqliteMeldung(e, QString::fromStdString(db.getFilename()),
                                                QStringLiteral("versuchen Sie es erneut"))}));
    }
    if (spalten.isEmpty())
        throw QuellFehler(paradox ? QStringLiteral("Die Anrufdaten der Paradox-Tabelle \"bill\" fehlen. Bitte "
                                                   "starten Sie das Programm neu.")
                                  : QStringLiteral("Die Datenbank enthält keine Tabelle \"%1\"!").arg(tabelle));
    QStringList gefunden;
    for (const auto& n : namen) {
        const auto s = spalteFinden(spalten, n);
        if (!s)
            throw QuellFehler(QStringLiteral("In %1 fehlt das Feld \"%2\"!").arg(welche, n));
        gefunden << *s;
    }
    return gefunden;
}

QString feldText(const SQLite::Column& spalte)
{
    switch (spalte.getType()) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER:
        return QString::number(spalte.getInt64());
    case SQLITE_FLOAT:
        return QString::number(spalte.getDouble(), 'g', 15);
    default:
        return QString::fromUtf8(static_cast<const char*>(spalte.getText()), spalte.getBytes());
    }
}

} // namespace orve
