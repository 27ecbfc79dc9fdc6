#pragma once

#include "common/Fehler.h"

namespace orve {

// A source or selection the import and the filter lists cannot work with.
// text() is the German message for the user.
class QuellFehler : public Fehler {
public:
    using Fehler::Fehler;
};

} // namespace orve
