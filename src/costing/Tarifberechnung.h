#pragma once

#include "tariffs/Tarifzeile.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace orve {

struct AppState;

// One call of the local call table `bill`, as the costing reads it.
struct Preisanruf {
    std::int64_t zeile = 0;          // rowid in bill
    std::optional<QString> user;     // for messages only
    std::optional<QString> number;   // as stored, Paradox numbers with their trailing blanks
    std::optional<QString> time;     // start, "2009-03-21 14:30:00" or "21.03.2009 14:30:00"
    std::optional<QString> duration; // seconds as text
};

// The three settings of one pricing run, read once: the VAT rate by the
// leading-number rule, the surcharge factor and the own price as German
// decimals. A setting that does not read is reported when a call needs it.
struct Kostensaetze {
    QString Steuersatz, Kostenaufschlag, Minutenpreis; // as typed, for the messages
    std::optional<double> V;
    std::optional<double> F;
    std::optional<double> O;
    bool EigenpreisModus = false;

    static Kostensaetze aus(const QString& steuersatz, const QString& kostenaufschlag, const QString& minutenpreis,
                            bool eigenpreisModus);
    static Kostensaetze aus(const AppState& state, bool eigenpreisModus);
};

// What tarifberechnung writes to the call's row. costs and ucosts are the
// values of their "####0.000" texts, ucostsBrutto is not rounded.
struct Kosten {
    double kosten = 0; // the cost before formatting
    double costs = 0;
    double ucosts = 0;
    double ucostsBrutto = 0;
    QString rufziel;   // Bezeichnung of the row
    QString tarifsatz; // "faktor:12", "Ortstarif:3"
};

// "faktor:12", "Ortstarif:3": the row that priced a call.
QString tarifsatzText(const Tarifzeile& t);

// The time-window test: true when the call's time of day lies in the row's
// window, both ends included. A window whose start is later than its end
// runs across midnight. A day is one turn: 06:00:00 is 90 degrees,
// 24:00:00 is 360. Throws Kostenfehler when a time of the row is no time of
// day, Anruffehler when the call's start is none. The caller has made sure both times are there.
bool ZeitGradberechnen(const Preisanruf& anruf, const Tarifzeile& tarif);

// The cost of the call by the row's minute price M, flat price P and
// increment S (Null reads as 0), with surcharge, VAT and, in own-price mode,
// the own price per minute. Throws Tariftabellenfehler for an increment and
// a flat price without minute price, Kostenfehler for prices that are no
// numbers or negative, settings that are no numbers and an own price that
// is not above 0, and Anruffehler for a call whose duration is unreadable.
Kosten tarifberechnung(const Preisanruf& anruf, const Tarifzeile& tarif, const Kostensaetze& saetze);

// Why the call itself cannot be priced, whatever the tariff: a start that
// is no date and time, a duration that is no number or is negative. Such a
// call comes from the telephone system's database and cannot be mended
// here; the pricing marks it "????" and names it.
std::optional<QString> anrufUnlesbar(const Preisanruf& anruf);

// The call named in messages: "Rufnummer 0891234, Nebenstelle 21, Beginn 2009-03-21 14:30:00".
QString anrufText(const Preisanruf& anruf);
// The row named in messages: "Tariftabelle „Standardtarife“, Satz 12, Vorwahl 089".
QString tarifText(const Tarifzeile& tarif);

} // namespace orve
