#include "calls/TkBillQuelle.h"

#include "calls/StartZeit.h"
#include "common/AppState.h"
#include "common/Dialogs.h"
#include "common/LocalDatabase.h"
#include "common/SqliteMeldung.h"

#include <QDir>

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

namespace orve {

QString quellVerbindung(int istSQLite3, const QString& billpfad)
{
    return QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;Mode=ReadWrite;Extended Properties=DSN=")
        + (istSQLite3 == 1 ? QStringLiteral("SQLite3 Datasource") : QStringLiteral("SQLite Datasource")) + QStringLiteral(";Database=") + billpfad
        + QStringLiteral(";Threaded=0;Timeout=;NoWCHAR=0");
}

namespace {

std::unique_ptr<SQLite::Database> oeffnenMitFunktion(Datenquellen& quellen, const QString& verbindung,
                                                     const QString& wasText, const QString& datei)
{
    try {
        auto db = quellen.oeffnen(verbindung);
        startZeitFunktionAnmelden(*db);
        return db;
    } catch (const VerbindungsFehler& e) {
        throw QuellFehler(zeilen({wasText, e.text()}));
    } catch (const SQLite::Exception& e) {
        throw QuellFehler(zeilen({wasText, sqliteMeldung(e, datei, QStringLiteral("versuchen Sie es erneut"))}));
    }
}

} // namespace

std::unique_ptr<SQLite::Database> quelleOeffnen(Datenquellen& quellen, const AppState& state)
{
    return oeffnenMitFunktion(quellen, quellVerbindung(state.IstSQLite3, state.Billpfad),
                              QStringLiteral("Die TK-Bill Datenbank %1 kann nicht geöffnet werden:")
                                  .arg(QDir::toNativeSeparators(state.Billpfad)),
                              state.Billpfad);
}

std::unique_ptr<SQLite::Database> lokalOeffnen(Datenquellen& quellen, const AppState& state)
{
    return oeffnenMitFunktion(quellen, lokaleVerbindung(state.programmOrdner, state.IstSQLite3),
                              QStringLiteral("Die lokale Datenbank kann nicht geöffnet werden:"),
                              state.pfadImProgrammordner(kLokaleDatenbankRelativ));
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

bool keineGrenze(const QString& auswahl)
{
    return auswahl.isEmpty() || auswahl == QStringLiteral("alle");
}

std::optional<std::int64_t> nebenstellenGrenze(const QString& auswahl)
{
    if (keineGrenze(auswahl))
        return std::nullopt;
    const qsizetype bar = auswahl.indexOf(QLatin1Char('|'));
    const QString schluessel = (bar >= 0 ? auswahl.left(bar) : auswahl).trimmed();
    bool ok = false;
    const qlonglong nummer = schluessel.toLongLong(&ok, 10);
    if (!ok)
        throw QuellFehler(zeilen({QStringLiteral("Die Auswahl der Nebenstelle \"%1\" enthält keine gültige "
                                                 "Nebenstellennummer!")
                                      .arg(auswahl),
                                  QStringLiteral("Bitte wählen Sie eine Nebenstelle aus der Liste oder \"alle\".")}));
    return nummer;
}

std::optional<std::int64_t> datumGrenze(const QString& auswahl)
{
    if (keineGrenze(auswahl))
        return std::nullopt;
    const auto k = startZeitSchluessel(QStringView(auswahl));
    if (!k)
        throw QuellFehler(zeilen({QStringLiteral("\"%1\" ist kein gültiges Datum mit Uhrzeit!").arg(auswahl),
                                  QStringLiteral("Bitte wählen Sie einen Eintrag aus der Liste oder geben Sie "
                                                 "Datum und Uhrzeit in der Form 21.03.2009 14:30:00 ein.")}));
    return k;
}

QString sqlName(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
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
        const int code = e.getErrorCode() & 0xFF;
        const QString grund = code == SQLITE_NOTADB || code == SQLITE_CORRUPT
            ? QStringLiteral("Die Datei ist keine SQLite-Datenbank oder sie ist beschädigt.")
            : QString::fromUtf8(e.what());
        throw QuellFehler(zeilen({QStringLiteral("Die Anrufdaten %1 können nicht gelesen werden:").arg(welche), grund}));
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

QString anrufDatenbank(const AppState& state)
{
    return state.IstParadox == 1 ? state.pfadImProgrammordner(kLokaleDatenbankRelativ) : state.Billpfad;
}

QuellFehler anrufdatenLesefehler(const AppState& state, const SQLite::Exception& e)
{
    return QuellFehler(zeilen({QStringLiteral("Die Anrufdaten können nicht gelesen werden."),
                               sqliteMeldung(e, anrufDatenbank(state), QStringLiteral("versuchen Sie es erneut"))}));
}

void paradoxKopieVerlangen(const AppState& state)
{
    if (state.paradoxKopieFehlt.isEmpty())
        return;
    throw QuellFehler(zeilen({QStringLiteral("Von der Paradox-Tabelle \"bill\" sind bei diesem Programmstart keine "
                                             "Anrufdaten verfügbar, weil sie nicht in die lokale Datenbank übernommen "
                                             "werden konnten:"),
                              state.paradoxKopieFehlt}));
}

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

QString nebenstellenBedingung(const QString& spalte)
{
    const QString s = sqlName(spalte);
    return QStringLiteral("(%1 = ? OR trim(CAST(%1 AS TEXT)) = ?)").arg(s);
}

} // namespace orve
