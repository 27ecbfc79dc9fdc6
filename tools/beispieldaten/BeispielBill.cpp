#include "BeispielBill.h"

#include <QDateTime>

#include <cmath>
#include <iterator>
#include <random>

namespace orve::test {

std::vector<BillZeile> beispielBill(int anzahl, int nebenstellen, std::uint32_t seed)
{
    // Area codes with their destination and price per minute; Berlin twice as often.
    const struct {
        const char *vorwahl, *rufziel;
        double preis;
    } ziele[] = {{"030", "Ortstarif Berlin", 0.039},      {"030", "Ortstarif Berlin", 0.039},
                 {"089", "Deutschland Festnetz*", 0.049}, {"0221", "Deutschland Festnetz*", 0.049},
                 {"0171", "Mobilfunk D1*", 0.149},        {"0160", "Mobilfunk D1*", 0.149},
                 {"0043", "Österreich Festnetz*", 0.099}};
    const char* const namen[] = {"Empfang", "Buchhaltung", "Büro Weber", "Lager", "Praxis Dr. Kühn", "Werkstatt"};
    std::mt19937 zufall(seed);
    std::vector<BillZeile> zeilen;
    for (int n = 0; n < nebenstellen; ++n) {
        const QString name = n < 6 ? QString::fromUtf8(namen[n]) : QStringLiteral("Zimmer %1").arg(95 + n);
        QDateTime start(QDate(2009, 3, 2), QTime(8, 0), Qt::UTC);
        for (int i = anzahl * n / nebenstellen; i < anzahl * (n + 1) / nebenstellen; ++i) {
            start = start.addSecs(600 + static_cast<int>(zufall() % 7200));
            BillZeile z;
            z.time = start.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
            z.user = QString::number(n < 10 ? 21 + n : 90 + n);
            z.username = name;
            z.lineno = QString::number(1 + zufall() % 2);
            const int dauer = 5 + static_cast<int>(zufall() % 900);
            z.duration = QString::number(dauer);
            const unsigned art = zufall() % 20;
            const auto& ziel = ziele[zufall() % std::size(ziele)];
            const QString nummer =
                QString::fromLatin1(ziel.vorwahl) + QString::number(1000000 + zufall() % 8999999);
            if (art == 0) { // internal call
                z.rufziel = QStringLiteral("Internes S0 Gespräch");
                z.costs = z.ucosts = z.ucostsBrutto = 0.0;
            } else { // priced, or left without tariff ("????") when the user declined to add one
                z.number = z.vergleichsnummer = nummer;
                z.rufziel = art == 1 ? QStringLiteral("????") : QString::fromUtf8(ziel.rufziel);
                if (art != 1) {
                    z.costs = std::round(dauer / 60.0 * ziel.preis * 1000.0) / 1000.0;
                    z.ucosts = std::round(*z.costs * 1.2 * 1000.0) / 1000.0;
                    z.ucostsBrutto = *z.ucosts * 1.19;
                }
            }
            zeilen.push_back(z);
        }
    }
    return zeilen;
}

} // namespace orve::test
