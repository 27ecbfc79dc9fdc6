#pragma once

// Test-only writer of Paradox table files (.db): builds a valid table from a
// field list and rows, with knobs to make it damaged, plus a ready-made
// TK-Suite-like call table `bill`. Never used by the program itself.

#include "calls/ParadoxTabelle.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>
#include <QVariant>

#include <cstdint>
#include <optional>
#include <vector>

namespace orve::test {

struct ParadoxFeldDef {
    QString name;
    paradox::FeldTyp typ;
    int groesse; // bytes in the record (Alpha: 1..255; the fixed types their own size)
};

// One value per field, by position; an invalid QVariant is Null (all bytes
// zero). Alpha: QString; Date: QDate; Time: QTime; Timestamp: QDateTime
// (wall clock as given); Short/Long/AutoInc: integer; Number/Currency:
// double; Logical: bool; every other type: QByteArray (raw, zero-padded).
// Paradox has no empty text apart from Null: an empty alpha value is stored
// as all zeros and reads back as Null.
using ParadoxZeile = std::vector<QVariant>;

struct ParadoxOptionen {
    int version = 0x0B;     // version byte at 0x39: 0x03 (3.0) .. 0x0C (7.x)
    int blockKB = 2;        // data block size in KB (byte at 0x05)
    int codepage = 1252;    // DOS/Windows code page (4.x and later only)
    int saetzeProBlock = 0; // records per block; 0 = as many as fit
    int dateiTyp = 2;       // 0 = keyed table, 2 = table without key
    // Physical position of each block of the chain: chain block i lies at
    // file block blockPositionen[i] (0-based). Empty = file order.
    std::vector<int> blockPositionen;
    // Header fields written as given instead of the true values (damage).
    std::optional<std::int64_t> anzahlImKopf;
    std::optional<int> satzGroesseImKopf;
    // Encryption fields: 0x25 defaults to what writers put there (0 in 3.x
    // tables, the marker 0xFF00FF00 in later ones); 0x5C (4.x and later).
    // The records are never encrypted: these only make a header claim it.
    std::optional<std::uint32_t> verschluesselung1;
    std::uint32_t verschluesselung2 = 0;
};

// Where the parts of a written table lie, for tests that damage bytes.
struct ParadoxLayout {
    int kopfGroesse = 0;  // header size = offset of file block 1
    int blockGroesse = 0;
    int satzGroesse = 0;
    int feldInfoOffset = 0; // first (type, size) pair of the field list
    std::vector<int> blockOffsets; // file offset of each chain block, in chain order
};

// Builds the bytes of a table file. Throws std::invalid_argument on a field
// list or row the writer cannot encode (it is a test tool, not a validator).
QByteArray paradoxTabelle(const std::vector<ParadoxFeldDef>& felder,
                          const std::vector<ParadoxZeile>& zeilen,
                          const ParadoxOptionen& optionen = {},
                          ParadoxLayout* layout = nullptr);

// What the reader makes of a table's bytes: the records handed over and,
// when it refused the table, its message. Any other exception escapes.
struct ParadoxGelesen {
    std::vector<paradox::Satz> saetze;
    std::optional<QString> fehler;
};
ParadoxGelesen paradoxLesen(const QByteArray& bytes);

// Little-endian patch helpers for damaging a header.
void setzeLE16(QByteArray& bytes, int offset, std::uint16_t wert);
void setzeLE32(QByteArray& bytes, int offset, std::uint32_t wert);

// ---- TK-Suite-like call table ------------------------------------------

// One row of the TK-Suite Paradox table `bill`.
struct BillAnruf {
    QDate datum;
    QTime zeit;
    int tln = 21;                     // extension
    int flags = 0;                    // 0 = a call; anything else is ignored by the program
    std::optional<QString> rufnummer; // nullopt = Null; "" is stored as Null too
    std::optional<QString> dauer;     // "hh:mm:ss"; nullopt = Null
    int line = 1;
    int einheiten = 0;
    double betrag = 0.0;
};

// The fields of the TK-Suite table, in its order: datum (Date), Zeit (Time),
// Tln# (Short), flags (Short), Rufnummer (Alpha 30), Dauer (Alpha 8),
// line (Short), Einheiten (Short), Betrag (Number).
std::vector<ParadoxFeldDef> paradoxBillFelder();
std::vector<ParadoxZeile> paradoxBillZeilen(const std::vector<BillAnruf>& anrufe);

// Writes a realistic TK-Suite `bill.db` (Paradox 5.x, code page 1252, 2 KB
// blocks) at pfad (the full file path, e.g. ".../dbf/bill.db"), replacing
// it. Throws std::runtime_error when the file cannot be written.
void schreibeParadoxBill(const QString& pfad, const std::vector<BillAnruf>& anrufe);

// `anzahl` realistic calls: a few extensions (20..25), dates from 2023-01-02
// on in chronological order, external and internal numbers, some Null
// numbers and durations, now and then a row with flags != 0. The same seed
// gives the same rows.
std::vector<BillAnruf> beispielAnrufe(int anzahl, std::uint32_t seed = 1);

} // namespace orve::test
