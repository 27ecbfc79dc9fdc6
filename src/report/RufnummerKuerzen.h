#pragma once

#include <QString>

namespace orve {

// A dialled number as shown in an itemised bill whose numbers are shortened
// for privacy: the last three digits become "xxx". Trailing blanks (Paradox
// numbers are padded to 18 characters) are kept but never counted; a number
// of three characters or fewer becomes "xxx". Internal calls (empty number)
// and "unbekannt" stay as they are.
QString rufnummerKuerzen(const QString& nummer);

} // namespace orve
