#pragma once

// Tariff rows and calls for the costing tests, written into a local database.

#include "common/LocalDatabase.h"
#include "tariffs/TarifTabellen.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <QString>

#include <optional>
#include <vector>

namespace orve::test {

// A row of faktor (F), Ortstarif (O) or CallByCall (C). Prices are stored as
// numbers the way the editor writes them; nullptr is Null.
struct TZ {
    char tabelle;
    const char* vorwahl;
    const char* von = "00:00:00";
    const char* bis = "24:00:00";
    std::optional<double> M = 0.06;
    std::optional<double> P = 0;
    std::optional<double> S = 0;
};

inline void textOderNull(SQLite::Statement& q, int i, const char* t) { t ? q.bind(i, t) : q.bind(i); }

// Inserts the rows in order: the n-th row of a table gets satz n, and
// Bezeichnung "<table letter><satz>" ("O1", "F2").
inline void tarifeSchreiben(SQLite::Database& db, const std::vector<TZ>& zeilen)
{
    int n[3] = {0, 0, 0};
    for (const auto& z : zeilen) {
        if (z.tabelle == 'C') {
            SQLite::Statement q(db, "INSERT INTO CallByCall (vorwahl, Bezeichnung) VALUES (?, 'Anbieter')");
            q.bind(1, z.vorwahl);
            q.exec();
            continue;
        }
        const int k = z.tabelle == 'O' ? 0 : 1;
        SQLite::Statement q(db, std::string("INSERT INTO ") + (k == 0 ? "Ortstarif" : "faktor")
                                    + R"( (vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis, Pauschale,)"
                                      " Sekundentakt, typ) VALUES (?, ?, ?, ?, ?, ?, ?, 'D')");
        q.bind(1, z.vorwahl);
        q.bind(2, std::string(1, z.tabelle) + std::to_string(++n[k]));
        textOderNull(q, 3, z.von);
        textOderNull(q, 4, z.bis);
        int i = 5;
        for (const auto& v : {z.M, z.P, z.S})
            v ? q.bind(i++, *v) : q.bind(i++);
        q.exec();
    }
}

// A call of extension 21 in `bill`, as the import writes it.
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
        textOderNull(q, 1, a.number);
        q.bind(2, a.time);
        q.bind(3, a.duration);
        q.exec();
    }
}

} // namespace orve::test
