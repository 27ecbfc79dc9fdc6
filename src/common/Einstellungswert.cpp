#include "common/Einstellungswert.h"

#include "common/Numbers.h"

namespace orve {

Einstellungswert& Einstellungswert::operator=(const QString& text)
{
    m_text = text;
    m_zahl = m_regel == Regel::FuehrendeZahl ? fuehrendeZahlLesen(text) : deutscheZahl(text);
    return *this;
}

} // namespace orve
