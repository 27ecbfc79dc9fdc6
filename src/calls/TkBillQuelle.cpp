#include "calls/TkBillQuelle.h"

#include "calls/StartZeit.h"
#include "common/AppState.h"
#include "common/Dialogs.h"
#include "common/LokaleDatenbank.h"
#include "common/SqliteMeldung.h"

#include <QDir>

#include <SQLiteCpp/SQLiteCpp.h>

namespace orve {

QString quellVerbindung(int istSQLite3, const QString& billpfad)
{
    return QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;Mode=ReadWrite;Extended Properties=DSN=")
           + (istSQLite3 == 1 ? QStringLiteral("SQLite3 Datasource") : QStringLiteral("SQLite Datasource"))
           + QStringLiteral(";Database=") + billpfad + QStringLiteral(";Threaded=0;Timeout=;NoWCHAR=0");
}

std::unique_ptr<SQLite::Database> quelleOeffnen(Datenquellen& quellen, const AppState& state)
{
    const QString wasText = QStringLiteral("Die TK-Bill Datenbank %1 kann nicht geöffnet werden:")
                                .arg(QDir::toNativeSeparators(state.Billpfad));
    try {
        auto db = quellen.oeffnen(quellVerbindung(state.IstSQLite3, state.Billpfad));
        startZeitFunktionAnmelden(*db);
        return db;
    } catch (const VerbindungsFehler& e) {
        throw QuellFehler(zeilen({wasText, e.text()}));
    } catch (const SQLite::Exception& e) {
        throw QuellFehler(
            zeilen({wasText, sqliteMeldung(e, state.Billpfad, QStringLiteral("versuchen Sie es erneut"))}));
    }
}

std::unique_ptr<SQLite::Database> lokaleAnrufdatenOeffnen(Datenquellen& quellen, const AppState& state)
{
    try {
        auto db = lokalOeffnen(quellen, state);
        startZeitFunktionAnmelden(*db);
        return db;
    } catch (const VerbindungsFehler& e) {
        throw QuellFehler(e.text());
    }
}

QString anrufDatenbank(const AppState& state)
{
    return state.IstParadox == 1 ? state.pfadImProgrammordner(kLokaleDatenbankRelativ) : state.Billpfad;
}

QuellFehler anrufdatenLesefehler(const AppState& state, const SQLite::Exception& e)
{
    return QuellFehler(
        zeilen({QStringLiteral("Die Anrufdaten können nicht gelesen werden."),
                sqliteMeldung(e, anrufDatenbank(state), QStringLiteral("versuchen Sie es erneut"))}));
}

void paradoxKopieVerlangen(const AppState& state)
{
    if (state.paradoxKopieFehlt.isEmpty())
        return;
    throw QuellFehler(
        zeilen({QStringLiteral("Von der Paradox-Tabelle \"bill\" sind bei diesem Programmstart keine "
                               "Anrufdaten verfügbar, weil sie nicht in die lokale Datenbank übernommen "
                               "werden konnten:"),
                state.paradoxKopieFehlt}));
}

} // namespace orve
