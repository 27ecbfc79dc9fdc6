#pragma once

// Test-only writer of Paradox 3 to 7 tables (.db) as their writers lay them
// out, blocks in any order, header values to damage, and TK-Suite's `bill`.

#include "calls/ParadoxTabelle.h"

#include <QDate>
#include <QTime>

#include <optional>

namespace orve::test {

struct ParadoxFeldDef {
    QString name;
    paradox::FeldTyp typ;
    int groesse;
}; // groesse: bytes in the record

// One value per field, typed as the reader hands it over (Alpha may be raw bytes); an invalid QVariant
// is Null. An empty alpha reads back as Null.
using ParadoxZeile = std::vector<QVariant>;

struct ParadoxOptionen {
    int version = 0x0B;                       // version byte at 0x39: 0x03 (3.0) .. 0x0C (7.x)
    int blockKB = 2;                          // data block size in KB
    int codepage = 1252;                      // 4.x and later only
    int saetzeProBlock = 0;                   // 0: as many as fit
    int dateiTyp = 2;                         // 0 keyed table, 2 table without key
    std::vector<int> blockPositionen;         // file block (0-based) of chain block i; empty: file order
    std::optional<std::int64_t> anzahlImKopf; // record count written instead of the true one
};

// Where the parts of a written table lie, for tests that damage bytes.
struct ParadoxLayout {
    int blockGroesse = 0, satzGroesse = 0;
    int feldInfoOffset = 0;        // first (type, size) pair of the field list
    std::vector<int> blockOffsets; // of each chain block, in chain order
};

QByteArray paradoxTabelle(const std::vector<ParadoxFeldDef>& felder, const std::vector<ParadoxZeile>& zeilen,
                          const ParadoxOptionen& optionen = {}, ParadoxLayout* layout = nullptr);

// The records the reader hands over and, when it refused the table, its message.
struct ParadoxGelesen {
    std::vector<paradox::Satz> saetze;
    std::optional<QString> fehler;
};
ParadoxGelesen paradoxLesen(const QByteArray& bytes);

// Writes the lowest `bytes` bytes of wert at offset, little-endian as the header keeps its numbers.
void setzeLE(QByteArray& b, int offset, std::uint32_t wert, int bytes = 2);

// One row of the TK-Suite Paradox table `bill`.
struct BillAnruf {
    QDate datum;
    QTime zeit;
    int tln = 21;                     // extension
    int flags = 0;                    // 0: a call; the program ignores other rows
    std::optional<QString> rufnummer; // nullopt and "" are stored as Null
    std::optional<QString> dauer;     // "hh:mm:ss"; nullopt: Null
    int line = 1, einheiten = 0;
    double betrag = 0.0;
};

// datum, Zeit, Tln#, flags, Rufnummer (Alpha 30), Dauer (Alpha 8), line, Einheiten, Betrag.
std::vector<ParadoxFeldDef> paradoxBillFelder();
std::vector<ParadoxZeile> paradoxBillZeilen(const std::vector<BillAnruf>& anrufe);

// Writes `bill.db` (5.x, code page 1252, 2 KB blocks) at pfad; throws std::runtime_error.
void schreibeParadoxBill(const QString& pfad, const std::vector<BillAnruf>& anrufe);

// `anzahl` calls of extensions 20..25 in time order from 2023-01-02 on: external and internal numbers,
// some Null numbers and durations, now and then a row with flags != 0. The same seed gives the same rows.
std::vector<BillAnruf> beispielAnrufe(int anzahl, std::uint32_t seed = 1);

} // namespace orve::test
