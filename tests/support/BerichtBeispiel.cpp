#include "BerichtBeispiel.h"

#include <QDateTime>

#include <SQLiteCpp/SQLiteCpp.h>

#include <cmath>
#include <random>

namespace orve::test {

namespace {

void binde(SQLite::Statement& q, int i, const std::optional<double>& v)
{
    if (v)
        q.bind(i, *v);
    else
        q.bind(i);
}

double dreiStellen(double v)
{
    return std::round(v * 1000.0) / 1000.0;
}

struct Ziel {
    const char* vorwahl;
    const char* rufziel;
    double minutenpreis;
};

const Ziel kZiele[] = {
    {"030", "Ortstarif Berlin", 0.039},
    {"030", "Ortstarif Berlin", 0.039},
    {"089", "Deutschland Festnetz*", 0.049},
    {"0221", "Deutschland Festnetz*", 0.049},
    {"0171", "Mobilfunk D1*", 0.149},
    {"0160", "Mobilfunk D1*", 0.149},
    {"0043", "Österreich Festnetz*", 0.099},
};

const char* const kNamen[] = {
    "Empfang", "Buchhaltung", "Zimmer 101", "Zimmer 102", "Zimmer 103", "Zimmer 104", "Büro Weber",
    "Büro Schulz", "Lager", "Konferenz", "Zimmer 201", "Zimmer 202", "Zimmer 203", "Praxis Dr. Kühn",
    "Werkstatt", "Fax", "Zimmer 301", "Zimmer 302", "Geschäftsführung", "Hausmeister",
};

} // namespace

void billSchreiben(SQLite::Database& lokal, const std::vector<BillZeile>& zeilen)
{
    SQLite::Transaction t(lokal);
    SQLite::Statement q(lokal, "INSERT INTO bill (time, user, username, number, duration, ucosts, rufziel, lineno, "
                               "costs, vergleichsnummer, ucostsBrutto) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const auto& z : zeilen) {
        q.bind(1, z.time.toStdString());
        q.bind(2, z.user.toStdString());
        q.bind(3, z.username.toStdString());
        q.bind(4, z.number.toStdString());
        q.bind(5, z.duration.toStdString());
        binde(q, 6, z.ucosts);
        if (z.rufziel.isNull()) q.bind(7); else q.bind(7, z.rufziel.toStdString());
        q.bind(8, z.lineno.toStdString());
        binde(q, 9, z.costs);
        if (z.vergleichsnummer.isNull()) q.bind(10); else q.bind(10, z.vergleichsnummer.toStdString());
        binde(q, 11, z.ucostsBrutto);
        q.exec();
        q.reset();
    }
    t.commit();
}

std::vector<BillZeile> beispielBill(int anzahl, int nebenstellen, std::uint32_t seed)
{
    std::mt19937 zufall(seed);
    std::vector<BillZeile> zeilen;
    zeilen.reserve(static_cast<std::size_t>(anzahl));
    for (int n = 0; n < nebenstellen; ++n) {
        const int user = n < 10 ? 21 + n : 100 + (n - 10);
        const QString name = QString::fromUtf8(kNamen[n % std::size(kNamen)]);
        const int bis = static_cast<int>((static_cast<long long>(anzahl) * (n + 1)) / nebenstellen);
        const int von = static_cast<int>((static_cast<long long>(anzahl) * n) / nebenstellen);
        QDateTime start(QDate(2009, 3, 2), QTime(8, 0), Qt::UTC);
        for (int i = von; i < bis; ++i) {
            start = start.addSecs(600 + static_cast<int>(zufall() % 7200));
            BillZeile z;
            z.time = start.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
            z.user = QString::number(user);
            z.username = name;
            z.lineno = QString::number(1 + zufall() % 2);
            const int dauer = 5 + static_cast<int>(zufall() % 900);
            z.duration = QString::number(dauer);
            const unsigned art = zufall() % 20;
            const Ziel& ziel = kZiele[zufall() % std::size(kZiele)];
            const QString nummer = QString::fromLatin1(ziel.vorwahl) + QString::number(1000000 + zufall() % 8999999);
            if (art == 0) {  // internal call
                z.rufziel = QStringLiteral("Internes S0 Gespräch");
                z.costs = z.ucosts = z.ucostsBrutto = 0.0;
            } else if (art == 1) {  // no tariff: the user declined to add one
                z.number = z.vergleichsnummer = nummer;
                z.rufziel = QStringLiteral("????");
            } else {
                z.number = z.vergleichsnummer = nummer;
                z.rufziel = QString::fromUtf8(ziel.rufziel);
                z.costs = dreiStellen(dauer / 60.0 * ziel.minutenpreis);
                z.ucosts = dreiStellen(*z.costs * 1.2);
                z.ucostsBrutto = *z.ucosts * 1.19;
            }
            zeilen.push_back(z);
        }
    }
    return zeilen;
}

} // namespace orve::test
