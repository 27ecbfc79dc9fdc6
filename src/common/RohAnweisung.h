#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace SQLite {
class Database;
}

namespace orve {

// A statement prepared on SQLite directly, for the loops that read or write
// 100,000 rows: values are bound where they lie (UTF-16 texts of QString,
// UTF-8 views), without the copies of SQLiteCpp's statement. Every failure is
// thrown as SQLite::Exception, so the German SQLite messages apply as usual.
class RohAnweisung {
public:
    RohAnweisung(SQLite::Database& db, const char* sql);
    ~RohAnweisung();

    sqlite3_stmt* get() const { return m_s.get(); }

    // The bound values must live until the statement is stepped.
    void binde(int i, const QString& text);
    void binde(int i, const std::optional<QString>& text); // Null when absent
    void binde(int i, std::string_view utf8);
    void binde(int i, double wert);
    void binde(int i, std::int64_t wert);

    // One step: true while there is a row. On an error the statement is
    // reset and the error thrown.
    bool schritt();
    // Runs a change to its end and resets the statement for the next values;
    // the number of rows changed.
    int ausfuehren();

private:
    void pruefen(int rc) const;
    struct Abschluss {
        void operator()(sqlite3_stmt* s) const;
    };
    sqlite3* m_db;
    std::unique_ptr<sqlite3_stmt, Abschluss> m_s;
};

} // namespace orve
