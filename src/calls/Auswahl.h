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

// What may stand in a date/time selection, picked from its list or typed:
// the forms of the call tables' starts (calls/StartZeit.h: "03.11.2026",
// "03.11.2026 14:00", "2026-11-03 14:00:00", ...) and the German date with
// a two-digit year, alone or with a time ("03.11.26", "03.11.26 14:00"),
// the year being 2000 + the two digits. A call table's start with a
// two-digit year stays unreadable: only what people type is read so.

// The beginning of a period ("ab") as a start key (calls/StartZeit.h): the
// first moment that is included; a date alone is its midnight. Nothing for
// "alle" or the empty text. Throws QuellFehler when the text is no date.
std::optional<std::int64_t> datumGrenze(const QString& auswahl);

// How the end of a period ("bis") is read when it names a moment with a
// time of day. A date alone always includes that whole day.
enum class BisGrenze {
    // The window's "Auswertung bis Datum/Zeit": the calls that started at
    // that moment are included (an entry of the list is a call's start).
    Einschliesslich,
    // The batch command's --bis: only calls that started before it, so that
    // "--bis 2026-12-01 00:00:00" ends November.
    Ausschliesslich,
};

// The end of a period as a start key: the first moment no longer included
// ("07.11.2026" -> 08.11.2026 00:00:00; "07.11.2026 18:00" -> 18:00:01 when
// included, 18:00:00 when not). Nothing for "alle" or the empty text.
// Throws QuellFehler when the text is no date.
std::optional<std::int64_t> bisGrenze(const QString& auswahl, BisGrenze art);

// The calls of a period: those with ab <= start < vor (start keys); a
// missing limit does not limit.
struct Zeitgrenzen {
    std::optional<std::int64_t> ab;
    std::optional<std::int64_t> vor;
};

// datumGrenze(ab) and bisGrenze(bis, art) together. Throws QuellFehler for a
// text that is no date, and when the end lies before the beginning, so
// that no call could pass ("Das Ende des Zeitraums (bis …) liegt vor seinem
// Anfang (ab …). …").
Zeitgrenzen zeitgrenzen(const QString& ab, const QString& bis, BisGrenze art);

// The period of the two selections for people, dates as dd.MM.yyyy and a
// time as hh:mm (hh:mm:ss when its seconds are not 0) where one was typed
// or picked: "Zeitraum: 03.11.2026 bis 07.11.2026", "ab 03.11.2026 14:00",
// "bis 07.11.2026"; empty when neither limits. It shows what was chosen, so
// the batch command's exclusive end reads "bis 01.12.2026 00:00" as given.
// A text that is no date is shown as it is (trimmed).
QString zeitraumText(const QString& ab, const QString& bis);

// The same as part of a file name, without characters a file name cannot
// hold: "2026-11-03 bis 2026-11-07", "ab 2026-11-03 14.00", "bis
// 2026-11-07", and "alle" when neither limits. A text that is no date is
// taken as it is, with "/ \ : * ? \" < > |" replaced by "-".
QString zeitraumDateiname(const QString& ab, const QString& bis);

// The name of the folder that keeps the bills of one period, one file per
// extension: "2026-11" when the period is one whole calendar month, from the
// 1st at 00:00 through the end of the month's last day (bis "30.11.2026";
// with `art` Ausschliesslich also bis "2026-12-01 00:00:00", the end the
// batch command takes for a month); otherwise zeitraumDateiname ("2026-11-03
// bis 2026-11-07", "alle").
QString zeitraumOrdnername(const QString& ab, const QString& bis, BisGrenze art);

// The name the save commands propose for a report of these selections:
// "Telefonkosten", the extension and zeitraumDateiname, e.g.
// "Telefonkosten 21 2026-11-03 bis 2026-11-07"; "alle" stands for no
// extension chosen and for no period chosen ("Telefonkosten alle alle").
// Throws QuellFehler where nebenstellenGrenze does.
QString berichtDateiname(const QString& nebenstelle, const QString& ab, const QString& bis);

// The condition "column = extension" that holds for an INTEGER column and
// for one that keeps the number as text (blanks around it allowed). Binds
// two values: the number and its digits.
QString nebenstellenBedingung(const QString& spalte);

} // namespace orve
