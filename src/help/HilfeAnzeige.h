#pragma once

#include <QString>

namespace orve {

// Shows a help file at its contents page. The windows pass the help window
// of the program, tests a recording stand-in. May throw; the commands below
// pass every error over.
class HilfeAnzeige {
public:
    virtual ~HilfeAnzeige() = default;
    virtual void zeigen(const QString& inhaltsSeite) = 0;
};

} // namespace orve
