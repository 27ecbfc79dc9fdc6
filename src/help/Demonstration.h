#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <vector>

namespace orve {

// The demonstration program folder: a TK-Suite call database with two months
// of calls of eight named extensions, the settings files and a local
// database whose tariff tables hold the example tariffs, which price every
// demonstration call. The same seed always gives the same calls.

inline constexpr std::uint32_t kDemoSeed = 20261001;

// One row of the demonstration `stdbill`.
struct DemoAnruf {
    QDateTime start;  // wall-clock time as TK-Suite writes it (kept in UTC: no shifts)
    int user = 0;     // extension
    QString username; // its name in TK-Suite
    QString number;   // dialled number; empty for an internal call
    int duration = 0; // seconds
    int lineno = 0;   // exchange line; 0 for an internal call
};

// October and November 2026, in the order of their start (the order in
// which TK-Suite appends them): internal calls, local numbers with and
// without area code, the city zone, national, mobile, free, service and
// foreign numbers and emergency calls, some national and foreign numbers
// dialled with a call-by-call prefix, by day, in the evening, at night and
// at weekends.
std::vector<DemoAnruf> demoAnrufe(std::uint32_t seed = kDemoSeed);

// Writes an SQLite call database with the table `stdbill` (id, time, user,
// username, number, duration, lineno) holding the calls; replaces the file.
// Throws std::runtime_error on failure.
void demoBillSchreiben(const QString& datei, const std::vector<DemoAnruf>& anrufe);

// Lays out the demonstration folder `ordner` (the executables are copied in
// by the build): bill.db, Billpfad.txt pointing to it, Steuersatz.txt 19,
// Kostenaufschlag.txt 1,20, Minutenpreis.txt 0,20, no Internetadresse.txt, Datenbank/Bill.sqlite
// (made anew) with the example tariffs in all three tables, and the registry
// file of a standard installation (made anew) naming sqliteBibliothek and
// programmDatei. Throws std::runtime_error with a German text on failure.
void demoOrdnerAnlegen(const QString& ordner, const QString& sqliteBibliothek, const QString& programmDatei);

} // namespace orve
