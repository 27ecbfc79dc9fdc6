#pragma once

#include <QString>

namespace orve {

// Opens the tariff editor modally with the hint "zu pflegende Vorwahl:" showing
// the number that found no tariff, and returns when the user has closed it.
// The costing calls this; the window implementation lives with the editor
// window (QtTarifeditorOeffner in tariffs/frmEingabe.h), tests count calls.
class TarifeditorOeffner {
public:
    virtual ~TarifeditorOeffner() = default;
    virtual void oeffnen(const QString& fehlendeNummer) = 0;
};

} // namespace orve
