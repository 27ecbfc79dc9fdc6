#pragma once

#include "costing/Tarifberechnung.h"

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace SQLite {
class Column;
class Database;
} // namespace SQLite

namespace orve {

// The rows the lookup reads, in the order it reads them. Loaded once per
// pricing run and again after the tariff editor has been open.
struct Tarifdaten {
    std::vector<QString> callByCall;          // vorwahl by vorwahl (Null prefixes left out)
    std::vector<std::int64_t> callByCallLeer; // satz of the call-by-call rows with a Null or empty prefix
    std::vector<Tarifzeile> ortstarif;        // by vorwahl, "von Zeit", satz
    std::vector<Tarifzeile> faktor;           // by vorwahl, "von Zeit", satz
    std::vector<Tarifzeile> ortstarifAlle;    // every Ortstarif row by satz, for local numbers

    // Prefixes written in international form ("+4930") are read in their
    // national form, as the dialled numbers are (nationaleNummer).
    static Tarifdaten laden(SQLite::Database& lokal);
};

// Throws Kostenfehler naming the first row without prefix (Null, empty or
// blanks): in faktor or Ortstarif such a row would price every call, in
// CallByCall it would switch the removal of every call-by-call prefix off.
void vorwahlenPruefen(const Tarifdaten& daten);

// The national form of a number or prefix written in international form:
// blanks, "-", "/" and a "(0)" are dropped, "+49" becomes "0", any other
// "+" becomes "00" ("+49 (0)30 1234-5" -> "03012345", "+43155512" ->
// "0043155512"). A text that does not begin with "+" is returned as it is.
QString nationaleNummer(const QString& nummer);

// A text column of the local database as stored: Null stays Null.
std::optional<QString> spaltenText(const SQLite::Column& c);

inline const QString kInternesGespraech = QStringLiteral("Internes S0 Gespräch");
inline const QString kOhneTarif = QStringLiteral("????");
inline const QString kTarifsatzIntern = QStringLiteral("intern");

// The outcome of the lookup of one call.
struct Suchergebnis {
    enum class Art { Intern, Bepreist, KeinTarif, Unlesbar };
    Art art = Art::KeinTarif;
    std::optional<QString> vergleichsnummer; // written for every call that is not internal
    Kosten kosten;                           // Intern and Bepreist
    QString grund;                           // Unlesbar: why the call cannot be priced
};

// Decides how one call is priced:
// 1. an empty number is an internal call (cost 0); a call whose start or
//    duration cannot be read is not priced at all (Unlesbar);
// 2. a number in international form is looked up in its national form
//    (nationaleNummer), else the first call-by-call prefix (in table order) that the number begins
//    with is removed from it wherever it occurs: the comparison number;
// 3. the rows of Ortstarif, then (only when none priced the call) of faktor,
//    whose prefix the comparison number begins with, in table order;
// 4. for a comparison number that does not begin with "0" (also an empty one
//    and "unbekannt"), every row of Ortstarif by satz.
// A candidate row prices the call when the call's time lies in its window.
// A candidate without complete window or without any of the three prices
// ends the search: no tariff. The first fitting row wins; there is no
// longest-prefix rule. A Null number is looked up as "unbekannt", the text
// the import stores for a call without number.
class Tarifsuche {
public:
    explicit Tarifsuche(Tarifdaten daten);

    // Throws what tarifberechnung and ZeitGradberechnen throw.
    Suchergebnis suchen(const Preisanruf& anruf, const Kostensaetze& saetze) const;

private:
    struct Index {
        QHash<QString, std::vector<int>> nachVorwahl; // positions in table order
        std::vector<int> laengen;                     // the prefix lengths there are, ascending
    };
    static Index indexieren(const std::vector<Tarifzeile>& zeilen);
    // The positions of the rows whose prefix `nummer` begins with, in table order.
    void kandidaten(const Index& index, const QString& nummer, std::vector<int>& aus) const;

    Tarifdaten m_daten;
    Index m_ortstarif;
    Index m_faktor;
};

} // namespace orve
