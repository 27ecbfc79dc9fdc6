#include "report/RufnummerKuerzen.h"

namespace orve {

QString rufnummerKuerzen(const QString& nummer)
{
    qsizetype ende = nummer.size();
    while (ende > 0 && nummer.at(ende - 1) == QLatin1Char(' '))
        --ende;
    const QString kern = nummer.left(ende);
    if (kern.isEmpty() || kern == QLatin1String("unbekannt"))
        return nummer;
    const QString gekuerzt =
        kern.size() <= 3 ? QStringLiteral("xxx") : kern.left(kern.size() - 3) + QStringLiteral("xxx");
    return gekuerzt + nummer.mid(ende);
}

} // namespace orve
