#pragma once

#include <QString>

#include <optional>

namespace orve {

// Leading-number rule (the VAT rate): blanks, tabs and line feeds are ignored
// anywhere, a point or a comma is the decimal separator, reading stops at the
// first character that cannot continue the number. Nothing when the text has
// no leading number (or one too large for a double).
// "19" -> 19, "7,7" -> 7.7, "7.7" -> 7.7, "19%" -> 19, " 1 9" -> 19,
// "abc" -> nothing, "-5" -> -5.
std::optional<double> fuehrendeZahlLesen(const QString& text);
// The same, with 0 where there is no leading number.
double fuehrendeZahl(const QString& text);

// A decimal number typed in the German form: "1,20" -> 1.2, "1.234,5" -> 1234.5.
// A text without a comma reads a point as the decimal point ("1.20" -> 1.2,
// never 120: that would bill a hundred times too much). Leading and trailing
// blanks are allowed. Anything else, the empty text included, is no number.
std::optional<double> deutscheZahl(const QString& text);

// Shows a number the way the user types it: decimal comma, no grouping,
// as many decimals as needed ("0,06", "1,2", "0").
QString deutscheZahlText(double value);

// A number with the fewest digits that read back to the same double, with a
// decimal comma and never in exponent form: 0.1 -> "0,1", 0.1 + 0.2 ->
// "0,30000000000000004", 60 -> "60". Empty for infinity and NaN.
QString genauerZahlText(double value);

// Rounds to 15 significant decimal digits, the precision of a double's
// standard text form.
double auf15Stellen(double value);

// A number with `stellen` decimals after a decimal comma, at least one digit
// before it; the value is first rounded to 15 significant digits, then
// halves go away from zero. Any finite value, however large; empty for
// infinity and NaN. Independent of the C library's locale.
QString festText(double value, int stellen);

// Money pattern "####0.000": festText with three decimals (0.0285 -> "0,029",
// 0.1085 -> "0,109").
QString geldText(double value);

// The value of the money text of v: what is stored in costs and ucosts.
double geldWert(double value);

// Rounding up to a whole number: k = floor(q); when q rounded to 15
// significant digits exceeds k the result is k + 1, else k.
// 0.07/0.01 -> 7, 0.3/0.1 -> 3, 0.15/0.10 -> 2.
double aufrunden(double q);

// Time of day "hh:mm:ss" on a 24-hour clock, "24:00:00" for the end of the
// day. Returns the seconds since midnight (0 .. 86400) or nothing.
std::optional<int> tageszeitSekunden(QStringView text);

// The text form "hh:mm:ss" of 0 .. 86400 seconds; 86400 gives "24:00:00".
QString tageszeitText(int sekunden);

} // namespace orve
