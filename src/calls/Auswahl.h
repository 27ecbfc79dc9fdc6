#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace orve {

// The entry of both selections of the main window (and of the batch
// command's options) that sets no limit.
inline const QString kAlle = QStringLiteral("alle");

// kAlle and the empty text: no limit.
bool keineGrenze(const QString& auswahl);

// The extension of a selection text: nothing for "alle" or the empty text;
// otherwise the part in front of the first "|" (the whole text when there is
// none) read as a whole number, blanks around it allowed ("21  " -> 21).
// Throws QuellFehler when that part is no whole number.
std::optional<std::int64_t> nebenstellenGrenze(const QString& auswahl);

// The moment of a date/time selection as a start key (calls/StartZeit.h):
// nothing for "alle" or the empty text. Throws QuellFehler when the text is
// no date and time.
std::optional<std::int64_t> datumGrenze(const QString& auswahl);

// The period of a report as its page header shows it, from the selection
// texts of its start and end ("alle" or empty: not set): "Zeitraum: 03.11.2026
// bis 07.11.2026", "ab 03.11.2026", "bis 07.11.2026", or empty when neither is
// set. A moment shows its time ("03.11.2026 14:30") when it is not midnight; a
// text that is no date and time is shown as it is.
QString zeitraumText(const QString& ab, const QString& bis);

// The condition "column = extension" that holds for an INTEGER column and
// for one that keeps the number as text (blanks around it allowed). Binds
// two values: the number and its digits.
QString nebenstellenBedingung(const QString& spalte);

} // namespace orve
