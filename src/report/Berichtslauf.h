#pragma once

#include "report/BerichtDaten.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace SQLite {
class Database;
}

namespace orve {

struct AppState;
class Datenquellen;
class Dialogs;
class TarifeditorOeffner;

// What a report run needs from its surroundings (the main window or the
// batch command).
struct LaufUmgebung {
    // The tariff editor for a number without tariff, working on the run's
    // open connection so that no statement of the run locks the database.
    std::function<std::unique_ptr<TarifeditorOeffner>(SQLite::Database& lokal)> editor;
    // Called after every call with the calls done and the total; false stops
    // the run (the main window closes). The window advances its progress
    // bar and processes pending events here.
    std::function<bool(std::int64_t erledigt, std::int64_t gesamt)> fortschritt;
};

struct LaufErgebnis {
    enum class Ende {
        Bericht,      // every call finished: `daten` holds the report's data
        KeineDaten,   // the import wrote no call; the message was shown
        Abgebrochen,  // Cancel at the question, or the window closed
        Kostenfehler, // a tariff row, a call or a setting gave no cost; the message was shown
        Fehler,       // a message said why; no report
    };
    Ende ende = Ende::Fehler;
    std::optional<BerichtDaten> daten;
    QStringList ohneTarif; // numbers answered No ("????"), each once
    QStringList unlesbar;  // calls not priced ("????"): start or duration unreadable, with the reason
};

// The part of a report run after the import: the message when no call was
// imported, pricing every call of `bill` in report order (own minute price
// when eigenpreis), then the grouped data of the report, read over the
// report's shaped connection string. Every failure is shown through
// `dialogs` with the main window's caption. A broken tariff table ends the
// program: Tariftabellenfehler is thrown on after its message.
LaufErgebnis berichtslauf(AppState& state, Datenquellen& quellen, Dialogs& dialogs, std::int64_t eingelesen,
                          bool eigenpreis, const LaufUmgebung& umgebung);

// The first step of the report with own minute price: Minutenpreis.txt of
// the program folder replaces the own price in memory. A missing file gets
// its message and false; a file that cannot be read leaves the price as it
// was.
bool eigenenMinutenpreisLesen(AppState& state, Dialogs& dialogs);

} // namespace orve
