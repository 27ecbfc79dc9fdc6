#pragma once

#include <QString>

#include <optional>

namespace orve {

// The one-line settings files (Billpfad.txt, Steuersatz.txt, ...).

// The one-line file of the program folder that keeps the folder a document
// was last saved to.
inline const QString kSpeicherordnerDatei = QStringLiteral("Speicherordner.txt");

// The folder kept in `ordnerDatei`, or the empty text when none is kept (or
// the path is empty) or it is no folder any more.
QString gemerkterOrdner(const QString& ordnerDatei);
// Keeps `ordner` in `ordnerDatei` (nothing when that path is empty). A
// folder that cannot be kept costs the user one click next time, nothing
// more, so a failure is not reported.
void ordnerMerken(const QString& ordnerDatei, const QString& ordner);

// The first line without its line end, or nothing when the file is missing
// or cannot be read. Text is UTF-8; a file that is not valid UTF-8 is read
// as Windows-1252 (files written by older installations).
std::optional<QString> ersteZeileLesen(const QString& pfad);

// Replaces the file with the one line followed by CR LF, in UTF-8. Written
// to a temporary file first and renamed, so a failure leaves the old file;
// in a folder that allows no new file, a writable file is written in place.
bool zeileSchreiben(const QString& pfad, const QString& zeile);

// Windows-1252 to Unicode (the bytes 0x80..0x9F carry the typographic
// characters; the rest is Latin-1).
QString ausWindows1252(const QByteArray& bytes);

} // namespace orve
