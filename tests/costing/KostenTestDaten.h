#pragma once

// Tariff rows and calls for the costing tests, written into a local database.

#include "common/LocalDatabase.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <optional>
#include <string>
#include <vector>

namespace orve::test {

// A row of faktor (F), Ortstarif (O) or CallByCall (C), prices stored as numbers the way the editor writes them.
// nullptr and nullopt are Null. The n-th row of a table gets satz n and Bezeichnung "<letter><n>" ("O1", "F2").
struct TZ {
    char tabelle;
    const char* vorwahl;
    const char* von = "00:00:00";
    const char* bis = "24:00:00";
    std::optional<double> M = 0.06, P = 0, S = 0;
};

inline void tarifeSchreiben(SQLite::Database& db, const std::vector<TZ>& zeilen)
{
    for (const auto& z : zeilen) {
        if (z.tabelle == 'C') {
            SQLite::Statement q(db, "INSERT INTO CallByCall (vorwahl, Bezeichnung) VALUES (?, 'Anbieter')");
            q.bind(1, z.vorwahl);
            q.exec();
            continue;
        }
        const std::string t = z.tabelle == 'O' ? "Ortstarif" : "faktor";
        SQLite::Statement q(db, "INSERT INTO " + t + R"( (vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis,)"
                                    " Pauschale, Sekundentakt, typ) SELECT ?, ? || (count(*) + 1), ?, ?, ?, ?, ?, 'D' "
                                    "FROM " + t);
        q.bind(1, z.vorwahl);
        q.bind(2, std::string(1, z.tabelle));
        z.von ? q.bind(3, z.von) : q.bind(3);
        z.bis ? q.bind(4, z.bis) : q.bind(4);
        int i = 5;
        for (const auto& v : {z.M, z.P, z.S})
            v ? q.bind(i++, *v) : q.bind(i++);
        q.exec();
    }
}

// Calls of extension 21 in `bill` as the import writes them: number (nullptr: Null), time, duration.
struct BZ {
    const char* number;
    const char* time = "2026-03-02 12:00:00";
    const char* duration = "60";
};

inline void anrufeSchreiben(SQLite::Database& db, const std::vector<BZ>& anrufe)
{
    for (const auto& a : anrufe) {
        SQLite::Statement q(db, "INSERT INTO bill (user, username, number, time, duration, lineno) "
                                "VALUES ('21', 'Zentrale', ?, ?, ?, '1')");
        a.number ? q.bind(1, a.number) : q.bind(1);
        q.bind(2, a.time);
        q.bind(3, a.duration);
        q.exec();
    }
}

} // namespace orve::test
