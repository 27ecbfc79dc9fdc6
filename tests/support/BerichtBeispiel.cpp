#include "BerichtBeispiel.h"

#include <SQLiteCpp/SQLiteCpp.h>

namespace orve::test {

void billSchreiben(SQLite::Database& lokal, const std::vector<BillZeile>& zeilen)
{
    SQLite::Transaction t(lokal);
    SQLite::Statement q(lokal, "INSERT INTO bill (time, user, username, number, duration, lineno, ucosts, costs, "
                               "ucostsBrutto, rufziel, vergleichsnummer) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const auto& z : zeilen) {
        int i = 1;
        for (const QString* s : {&z.time, &z.user, &z.username, &z.number, &z.duration, &z.lineno})
            q.bind(i++, s->toStdString()); // always a text, also when empty
        for (const auto& d : {z.ucosts, z.costs, z.ucostsBrutto})
            d ? q.bind(i++, *d) : q.bind(i++);
        for (const QString* s : {&z.rufziel, &z.vergleichsnummer})
            s->isNull() ? q.bind(i++) : q.bind(i++, s->toStdString());
        q.exec();
        q.reset();
    }
    t.commit();
}

} // namespace orve::test
