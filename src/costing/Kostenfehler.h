#pragma once

#include "common/Fehler.h"
#include "common/ProgramEnd.h"

namespace orve {

// A tariff row, a call or a setting that cannot be priced (a price that is
// no number, a time window that is no time of day, a combination of prices
// that gives no cost, an own price of 0). text() names the call and the row
// or setting. The pricing pass shows it and stops; nothing stored is lost.
class Kostenfehler : public Fehler {
public:
    using Fehler::Fehler;
};

// A call whose own data cannot be priced (a start that is no date and time,
// a negative duration). The pricing marks such a call "????" and names it;
// the run goes on.
class Anruffehler : public Fehler {
public:
    using Fehler::Fehler;
};

// A tariff row with a billing increment and a flat price but no minute
// price. The program ends after the message (exit code 3); a caller that
// must close things first catches it and throws it on.
class Tariftabellenfehler : public ProgramEnd {
public:
    static constexpr int kExitCode = 3;
    explicit Tariftabellenfehler(const QString& text) : ProgramEnd(text, kExitCode) {}
    const QString& text() const { return reason(); }
};

} // namespace orve
