#pragma once

#include <QString>

#include <optional>

namespace orve {

// Leading-number rule (the VAT rate): blanks, tabs and line feeds are ignored
// anywhere, a point is the decimal separator, reading stops at the first
// character that cannot continue the number, no leading number reads as 0.
// "19" -> 19, "7,5" -> 7, " 1 9" -> 19, "abc" -> 0, "-5" -> -5.
double fuehrendeZahl(const QString& text);

// A decimal number typed in the German form: "1,20" -> 1.2, "1.234,5" -> 1234.5.
// A text without a comma reads a point as the decimal point ("1.20" -> 1.2,
// never 120: that would bill a hundred times too much). Leading and trailing
// blanks are allowed. Anything else, the empty text included, is no number.
std::optional<double> deutscheZahl(const QString& text);

// Shows a number the way the user types it: decimal comma, no grouping,
// as many decimals as needed ("0,06", "1,2", "0").
QString deutscheZahlText(double value);

// Rounds to 15 significant decimal digits, the precision of a double's
// standard text form.
double auf15Stellen(double value);

// Money pattern "####0.000": at least one digit before and exactly three after
// the decimal comma; the value is first rounded to 15 significant digits, then
// halves go away from zero (0.0285 -> "0,029", 0.1085 -> "0,109").
QString geldText(double value);

// Rounding up to a whole number: k = floor(q); when q rounded to 15
// significant digits exceeds k the result is k + 1, else k.
// 0.07/0.01 -> 7, 0.3/0.1 -> 3, 0.15/0.10 -> 2.
double aufrunden(double q);

// Time of day "hh:mm:ss" on a 24-hour clock, "24:00:00" for the end of the
// day. Returns the seconds since midnight (0 .. 86400) or nothing.
std::optional<int> tageszeitSekunden(const QString& text);

// The text form "hh:mm:ss" of 0 .. 86400 seconds; 86400 gives "24:00:00".
QString tageszeitText(int sekunden);

} // namespace orve
