#include "tariffs/Tarifzeile.h"

#include "common/Numbers.h"

namespace orve {

Tarifwert Tarifwert::vonText(const QString& t)
{
    if (const auto z = deutscheZahl(t))
        return {Art::Zahl, *z, t};
    return {Art::Text, 0, t};
}

} // namespace orve
