#include "calls/StartZeit.h"

#include <QDate>

#include <SQLiteCpp/Database.h>
#include <sqlite3.h>

namespace orve {

namespace {

struct Teile {
    int jahr = 0, monat = 0, tag = 0;
    int stunde = 0, minute = 0, sekunde = 0;
};

// Reads the fixed forms over any character type (UTF-16 of a QString or the
// UTF-8 bytes SQLite hands to a function). Only ASCII is ever accepted.
template<typename Ch> class Leser {
public:
    Leser(const Ch* p, std::size_t n) : m_p(p), m_n(n) {}

    std::optional<Teile> lesen()
    {
        while (m_n > 0 && istLeer(m_p[m_n - 1]))
            --m_n;
        while (m_i < m_n && istLeer(m_p[m_i]))
            ++m_i;
        Teile t;
        const std::size_t start = m_i;
        int erste = 0, stellen = 0;
        if (!zahl(1, 4, erste, stellen))
            return std::nullopt;
        if (stellen == 4 && zeichen('-')) {
            t.jahr = erste;
            int s = 0;
            if (!zahl(2, 2, t.monat, s) || !zeichen('-') || !zahl(2, 2, t.tag, s))
                return std::nullopt;
            if (m_i < m_n && (m_p[m_i] == Ch('T') || m_p[m_i] == Ch(' '))) {
                ++m_i;
                while (m_i < m_n && m_p[m_i] == Ch(' '))
                    ++m_i;
                if (!uhrzeit(t))
                    return std::nullopt;
            }
        } else if (stellen <= 2 && m_i - start == static_cast<std::size_t>(stellen) && zeichen('.')) {
            t.tag = erste;
            int s = 0;
            if (!zahl(1, 2, t.monat, s) || !zeichen('.') || !zahl(4, 4, t.jahr, s))
                return std::nullopt;
            if (m_i < m_n && m_p[m_i] == Ch(' ')) {
                while (m_i < m_n && m_p[m_i] == Ch(' '))
                    ++m_i;
                if (!uhrzeit(t))
                    return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
        if (m_i != m_n)
            return std::nullopt;
        if (!QDate::isValid(t.jahr, t.monat, t.tag) || t.jahr < 1)
            return std::nullopt;
        return t;
    }

private:
    static bool istLeer(Ch c) { return c == Ch(' ') || c == Ch('\t'); }

    bool zeichen(char c)
    {
        if (m_i < m_n && m_p[m_i] == Ch(c)) {
            ++m_i;
            return true;
        }
        return false;
    }

    bool zahl(int min, int max, int& wert, int& stellen)
    {
        wert = 0;
        stellen = 0;
        while (m_i < m_n && stellen < max && m_p[m_i] >= Ch('0') && m_p[m_i] <= Ch('9')) {
            wert = wert * 10 + static_cast<int>(m_p[m_i] - Ch('0'));
            ++m_i;
            ++stellen;
        }
        // A run of digits longer than allowed is no number of this form.
        if (m_i < m_n && m_p[m_i] >= Ch('0') && m_p[m_i] <= Ch('9'))
            return false;
        return stellen >= min;
    }

    bool uhrzeit(Teile& t)
    {
        int s = 0;
        if (!zahl(1, 2, t.stunde, s) || !zeichen(':') || !zahl(2, 2, t.minute, s))
            return false;
        if (zeichen(':')) {
            if (!zahl(2, 2, t.sekunde, s))
                return false;
            if (zeichen('.') || zeichen(',')) {
                int bruch = 0;
                if (!zahl(1, 9, bruch, s))
                    return false;
            }
        }
        return t.stunde <= 23 && t.minute <= 59 && t.sekunde <= 59;
    }

    const Ch* m_p;
    std::size_t m_n;
    std::size_t m_i = 0;
};

std::int64_t schluessel(const Teile& t)
{
    const std::int64_t tag = QDate(t.jahr, t.monat, t.tag).toJulianDay();
    return tag * 86400 + t.stunde * 3600 + t.minute * 60 + t.sekunde;
}

void sqlStartZeit(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (argc != 1 || sqlite3_value_type(argv[0]) != SQLITE_TEXT) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int laenge = sqlite3_value_bytes(argv[0]);
    const auto k = startZeitSchluessel(std::string_view(text, static_cast<std::size_t>(laenge)));
    if (k)
        sqlite3_result_int64(ctx, *k);
    else
        sqlite3_result_null(ctx);
}

} // namespace

std::optional<std::int64_t> startZeitSchluessel(QStringView text)
{
    const auto t =
        Leser<char16_t>(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()))
            .lesen();
    if (!t)
        return std::nullopt;
    return schluessel(*t);
}

std::optional<std::int64_t> startZeitSchluessel(std::string_view utf8)
{
    const auto t = Leser<char>(utf8.data(), utf8.size()).lesen();
    if (!t)
        return std::nullopt;
    return schluessel(*t);
}

void startZeitFunktionAnmelden(SQLite::Database& db)
{
    db.createFunction(kStartZeitFunktion, 1, true, nullptr, &sqlStartZeit);
}

} // namespace orve
