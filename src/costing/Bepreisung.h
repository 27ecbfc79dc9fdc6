#pragma once

#include "common/BusyCursor.h"
#include "costing/Tarifsuche.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace SQLite {
class Database;
}

namespace orve {

struct AppState;
class Dialogs;
class TarifeditorOeffner;

struct Bepreisungsergebnis {
    enum class Status {
        Fertig,      // every call priced, marked internal or "????"
        Abgebrochen, // the user chose Cancel at the question
        Angehalten,  // the progress callback asked to stop
        Fehler,      // a tariff row, a call or a setting could not be priced; the message was shown
    };
    Status status = Status::Fertig;
    std::int64_t bearbeitet = 0; // calls finished (priced, internal or "????")
    std::int64_t gesamt = 0;     // calls in bill
    QStringList ohneTarif;       // numbers (as stored, "unbekannt" for Null) answered No, each once, in order
    QStringList unlesbar;        // calls whose start or duration cannot be read, marked "????": call and reason
    QString fehler;              // the message shown, for Status::Fehler
};

// Prices every call of the local call table `bill` in the order the import
// wrote them (rowid), writing costs, ucosts, ucostsBrutto, rufziel,
// vergleichsnummer and tarifsatz. The caller keeps the local database open
// for the whole run; no statement and no transaction is open while the
// progress callback, a question or the tariff editor runs.
//
// The results are written in one transaction at the end of the run, and
// also when the run stops early (Cancel, a stop asked by the callback, a
// pricing error, the tariff-table error): the calls priced before keep
// their values. Before a result is written the row is checked to hold the
// same call still; a call table read in anew meanwhile stops the run with
// a message and nothing of it is written.
//
// Messages and the question go through Dialogs, with the main window's
// caption as title:
// - no tariff for a call: Yes/No/Cancel (stop icon, No the default). Yes
//   opens the tariff editor through `editor` with the number, then looks the
//   same call up again with the tables as the editor left them; No marks the
//   call "????"; Cancel ends the run (status Abgebrochen).
// - a call whose start or duration cannot be read: marked "????" without
//   a question and listed in `unlesbar`; the run goes on.
// - Kostenfehler (also a tariff row without prefix, found when the tables
//   are loaded): the message (OK, stop icon), then status Fehler.
// - Tariftabellenfehler (an increment and a flat price without minute
//   price): the calls before are written, then the message (OK, stop icon;
//   followed by the reason when those calls could not be written), then the
//   exception is thrown on: the program ends (exit code 3). Catch it to
//   close windows first, then throw it on.
// Database errors are thrown as SQLite::Exception; the results not yet
// written are dropped (those written before the editor opened stay).
class Bepreisung {
public:
    // Called after every call with the calls finished so far and the total;
    // false stops the run (status Angehalten). The window advances its
    // progress bar and processes pending events here.
    using Fortschritt = std::function<bool(std::int64_t erledigt, std::int64_t gesamt)>;

    // The settings Steuersatz, Kostenaufschlag and (own-price mode)
    // Minutenpreis are taken from `state` when the run starts.
    Bepreisung(SQLite::Database& lokal, const AppState& state, bool eigenpreisModus, Dialogs& dialogs,
               TarifeditorOeffner& editor);
    ~Bepreisung();

    Bepreisungsergebnis ausfuehren(const Fortschritt& fortschritt = {});

    // The lookup of one call with the question: what is to be stored for it.
    struct Anrufausgang {
        enum class Art { Intern, Bepreist, OhneTarif, Unlesbar, Abgebrochen };
        Art art = Art::Abgebrochen;
        Suchergebnis ergebnis;
    };
    // Loads the tariff tables on first use. Throws as tarifberechnung does.
    Anrufausgang anrufBepreisen(const Preisanruf& anruf, const Kostensaetze& saetze);

private:
    struct Offen;
    void schreiben(); // the pending results, in one transaction
    void tarifeLaden();

    SQLite::Database& m_db;
    const AppState& m_state;
    bool m_eigenpreisModus;
    Dialogs& m_dialogs;
    TarifeditorOeffner& m_editor;
    std::optional<Tarifsuche> m_suche;
    std::optional<BusyCursor> m_sanduhr; // while the run works; not over a box or the editor
    std::unique_ptr<std::vector<Offen>> m_offen;
};

// The one message that names the calls which could not be priced or were
// left out because their start or duration cannot be read (at most 20 of
// them, then how many more).
QString unlesbareAnrufeMeldung(const QStringList& anrufe);

// The calls of `bill` in the order of the run (rowid).
std::vector<Preisanruf> anrufeLesen(SQLite::Database& lokal);

} // namespace orve
