#pragma once

#include <QString>

#include <optional>

namespace orve {

struct AppState;
class Datenquellen;
class Dialogs;
class QuellAnzeige;
class Registry;
class Systemumgebung;

// Where TK-Suite keeps bill.db: the two places searched when no path is
// known, and the answer the path input box offers.
struct StartPfade {
    QString standard1;
    QString vorgabe;
    QString standard2;

    // The Windows places as TK-Suite installs them; on other systems the same
    // folders below the root ("C:" dropped, native separators).
    static StartPfade system();
};

// The start on the source, the main window's load step and the batch
// command's first step alike: finds bill.db (Billpfad.txt, the
// standard places, the input box), recognises it as SQLite (through
// "SQLite3 Datasource", then "SQLite Datasource") or as a Paradox table,
// copies a Paradox table into the local staging table `paradox`, shows kind
// and place (Text2, Text3), then makes sure a surcharge factor and a VAT
// rate exist and reads the report's web address. Every refusal ends the
// program: throws ProgramEnd.
class QuellenStart {
public:
    QuellenStart(AppState& state, Registry& reg, Systemumgebung& system, Datenquellen& quellen, Dialogs& dialogs,
                 QuellAnzeige& anzeige, StartPfade pfade = StartPfade::system());

    void laden();

    // The batch command's --billdb: this path instead of the one stored in
    // Billpfad.txt, which stays as it is.
    void billpfadVorgeben(const QString& pfad) { m_vorgabe = pfad; }

private:
    // Searching: standard places, else the message and the input box; the
    // path found is stored in Billpfad.txt. False when none was given.
    bool suchen();
    // The input box alone (after the wrong-path question).
    bool eingeben();
    // Trying Billpfad: SQLite3, SQLite, Paradox. False after the wrong-path
    // question was answered Yes; No ends the program. An SQLite source that
    // another program holds is no wrong path: the user is told and may try
    // again; No ends the program.
    bool versuchen();
    bool pfadUebernehmen(const QString& pfad);
    enum class Antwort { Ja, Nein, Gesperrt };
    Antwort sqliteVersuchen(int istSQLite3, QString& grund);
    void paradoxDatenquelleSicherstellen();
    bool paradoxVersuchen(QString& grund);

    AppState& m_state;
    Registry& m_reg;
    Systemumgebung& m_system;
    Datenquellen& m_quellen;
    Dialogs& m_dialogs;
    QuellAnzeige& m_anzeige;
    StartPfade m_pfade;
    std::optional<QString> m_vorgabe;
};

} // namespace orve
