#include "common/RohAnweisung.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

namespace orve {

void RohAnweisung::Abschluss::operator()(sqlite3_stmt* s) const
{
    sqlite3_finalize(s);
}

RohAnweisung::RohAnweisung(SQLite::Database& db, const char* sql) : m_db(db.getHandle())
{
    sqlite3_stmt* s = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, sql, -1, &s, nullptr);
    m_s.reset(s);
    if (rc != SQLITE_OK)
        throw SQLite::Exception(m_db, rc);
}

RohAnweisung::~RohAnweisung() = default;

void RohAnweisung::pruefen(int rc) const
{
    if (rc != SQLITE_OK)
        throw SQLite::Exception(m_db, rc);
}

void RohAnweisung::binde(int i, const QString& text)
{
    pruefen(sqlite3_bind_text16(m_s.get(), i, text.utf16(), static_cast<int>(text.size() * 2), SQLITE_STATIC));
}

void RohAnweisung::binde(int i, const std::optional<QString>& text)
{
    if (text)
        binde(i, *text);
    else
        pruefen(sqlite3_bind_null(m_s.get(), i));
}

void RohAnweisung::binde(int i, std::string_view utf8)
{
    pruefen(sqlite3_bind_text(m_s.get(), i, utf8.data() ? utf8.data() : "", static_cast<int>(utf8.size()),
                              SQLITE_STATIC));
}

void RohAnweisung::binde(int i, double wert)
{
    pruefen(sqlite3_bind_double(m_s.get(), i, wert));
}

void RohAnweisung::binde(int i, std::int64_t wert)
{
    pruefen(sqlite3_bind_int64(m_s.get(), i, wert));
}

bool RohAnweisung::schritt()
{
    const int rc = sqlite3_step(m_s.get());
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_s.get());
    throw SQLite::Exception(m_db, rc);
}

int RohAnweisung::ausfuehren()
{
    const int rc = sqlite3_step(m_s.get());
    sqlite3_reset(m_s.get());
    if (rc != SQLITE_DONE)
        throw SQLite::Exception(m_db, rc);
    return sqlite3_changes(m_db);
}

} // namespace orve
