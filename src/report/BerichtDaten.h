#pragma once

#include "common/Fehler.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

namespace SQLite {
class Database;
}

namespace orve {

class Datenquellen;

// One call of the local call table `bill`, with the eleven columns the
// report reads and the tariff row that priced it. Texts as stored (NULL reads as the empty text); the money
// columns as numbers, empty where nothing was stored (a "????" row, or a row
// a cancelled run did not reach).
struct BerichtAnruf {
    QString time;
    QString user;
    QString username;
    QString number;
    QString duration;
    std::optional<double> ucosts;
    QString rufziel;
    QString lineno;
    std::optional<double> costs;
    QString vergleichsnummer;
    std::optional<double> ucostsBrutto;
    QString tarifsatz; // the tariff row that priced the call (not shown, listed in the CSV)
};

// One extension: the pair of `user` and `username`, its calls and their two
// sums. A sum over calls that all have empty costs stays empty.
struct BerichtGruppe {
    QString user;
    QString username;
    std::optional<double> Kostensumme;  // sum of the stored ucosts
    std::optional<double> Bruttokosten; // sum of the stored ucostsBrutto
    std::vector<BerichtAnruf> bill;
};

// The grouped data of the cost report.
struct BerichtDaten {
    std::vector<BerichtGruppe> gruppen;

    std::size_t anrufe() const;
};

// A local database that could not be read for the report.
class BerichtFehler : public Fehler {
public:
    using Fehler::Fehler;
};

// The grouped command `bill_Grouping`: one group per pair of `user` and
// `username`. The calls come in the order the import wrote them (by
// extension as a number, then chronologically, whatever the form of the
// start text), the groups in the order of their first call; the report run
// prices the calls in that same order (kBerichtReihenfolge).
// Throws BerichtFehler with a German text when `bill` cannot be read.
BerichtDaten bill_Grouping(SQLite::Database& lokal);

// The same, on the local database opened from the report's shaped
// connection string (lokaleShapeVerbindung). Throws VerbindungsFehler when
// the database cannot be opened, BerichtFehler when `bill` cannot be read.
BerichtDaten bill_Grouping(Datenquellen& quellen, const QString& shapeVerbindung);

// The order in which the report lists and the run prices the calls of
// `bill`: the order the import wrote them.
inline constexpr const char* kBerichtReihenfolge = "ORDER BY rowid";

} // namespace orve
