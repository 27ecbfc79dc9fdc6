#pragma once

#include <QStringView>

#include <cstdint>
#include <optional>
#include <string_view>

namespace SQLite {
class Database;
}

namespace orve {

// The start of a call as the call tables write it. TK-Suite's SQLite table
// holds it in the ISO form "2009-03-21 14:30:00" or the German form
// "21.03.2009 14:30:00"; the Paradox calls are written "2009-03-21 14:30:00".
// Accepted, with blanks around the whole text allowed:
//   YYYY-MM-DD, optionally followed by a blank or "T" and hh:mm[:ss[.fff]]
//   D.M.YYYY (day and month with one or two digits), optionally followed by
//   a blank and hh:mm[:ss[.fff]]
// Hours may have one or two digits. A date alone is midnight. Fractions of
// a second are ignored. Anything else is no start.
//
// The moment as a number that orders chronologically: seconds since the
// beginning of the Julian day count. Used to sort and to compare calls.
std::optional<std::int64_t> startZeitSchluessel(QStringView text);
std::optional<std::int64_t> startZeitSchluessel(std::string_view utf8);

// Name of the SQL function orve_startzeit(text) -> the key above, or NULL
// for a text that is no start (and for NULL). Registered per connection.
inline constexpr const char* kStartZeitFunktion = "orve_startzeit";
void startZeitFunktionAnmelden(SQLite::Database& db);

} // namespace orve
