#pragma once

#include <QString>

#include <cstdio>

namespace orve {

// Writes `text` to stdout or stderr at once and says whether it arrived
// completely (otherwise the cause is in errno). Linux gets the locale's
// encoding; on Windows a console gets the text through WriteConsoleW, so
// umlauts show whatever its code page, and a file or pipe gets UTF-8.
bool konsoleSchreiben(std::FILE* f, const QString& text);

} // namespace orve
