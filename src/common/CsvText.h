#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace orve {

// The CSV form of the program's files for a German spreadsheet: ";" between
// fields, CR LF at line ends, a field between quotes where it needs them.

// One field as it stood in the file: its text (without the quotes around
// it, a doubled quote read as one) and whether it stood between quotes.
struct CsvFeld {
    QString text;
    bool zitiert = false;
};

// One line of a CSV file (a quoted line break continues it): the number of
// the file's line it begins on, the first being 1, and its fields.
struct CsvZeile {
    int zeile = 0;
    std::vector<CsvFeld> felder;
};

// A field as it is written: the text itself, or between quotes (a quote
// inside doubled) when it holds ";", a quote or a line break.
QString csvFeld(const QString& text);
// Between quotes whatever it holds.
QString csvFeldZitiert(const QString& text);

// The separator of a file, from its first line: ";", "," or a tab,
// whichever stands there most often outside quotes; nothing when none does.
std::optional<QChar> csvTrenner(QStringView text);

// The lines and fields of a CSV text. Lines end with CR LF, LF or CR; a
// field between quotes may hold separators and line breaks. A line that
// holds nothing at all is left out. Nothing when a quote is not closed
// before the end: `offen` gets the line it was opened on.
std::optional<std::vector<CsvZeile>> csvLesen(QStringView text, QChar trenner, int& offen);

} // namespace orve
