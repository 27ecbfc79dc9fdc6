#pragma once

#include "common/Fehler.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace orve::paradox {

// Field types of a Paradox table (the type byte of the field list).
enum class FeldTyp : std::uint8_t {
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Number = 0x06,
    Logical = 0x09,
    Memo = 0x0C,
    Blob = 0x0D,
    FmtMemo = 0x0E,
    Ole = 0x0F,
    Graphic = 0x10,
    Time = 0x14,
    Timestamp = 0x15,
    AutoInc = 0x16,
    Bcd = 0x17,
    Bytes = 0x18,
};

struct Feld {
    QString name;
    FeldTyp typ;
    int groesse; // bytes in the record
};

// A damaged or unsupported table; text() is a German message for the user.
class ParadoxFehler : public Fehler {
public:
    using Fehler::Fehler;
};

// One record: the values by field position. A Null field (all bytes zero) is
// an invalid QVariant. Alpha -> QString, Date -> QDate, Time -> QTime,
// Timestamp -> QDateTime, Short/Long/AutoInc -> qint64 (int), Number and
// Currency -> double, Logical -> bool; other types -> QByteArray (raw bytes).
using Satz = std::vector<QVariant>;

// Read-only reader of a Paradox 3 to 7 table file (.db). Never writes the
// file. Checks everything it reads against the file's size and the header,
// so that a damaged or hostile file gives a ParadoxFehler, never a crash or
// a hang.
class ParadoxTabelle {
public:
    // Opens a regular file (a folder, FIFO or device is refused without
    // blocking) and checks the header and field list. Only the header stays
    // in memory; lesen() reads the data blocks one at a time, so a table of
    // any size needs about one block of memory. Throws ParadoxFehler.
    static ParadoxTabelle oeffnen(const QString& datei);
    // The same from bytes in memory (used by the fuzz target and tests).
    static ParadoxTabelle ausBytes(QByteArray bytes);

    const std::vector<Feld>& felder() const;
    // The record count as the header gives it.
    std::int64_t anzahl() const;
    // Walks the data-block chain and hands every record, in table order, to
    // proSatz. Throws ParadoxFehler on a damaged chain or when the records
    // found differ from the header's count (records handed over before stay
    // handed over).
    void lesen(const std::function<void(const Satz&)>& proSatz) const;

    ParadoxTabelle(ParadoxTabelle&&) noexcept;
    ParadoxTabelle& operator=(ParadoxTabelle&&) noexcept;
    ~ParadoxTabelle();

private:
    struct Daten;
    explicit ParadoxTabelle(std::unique_ptr<Daten> d);
    std::unique_ptr<Daten> m_d;
};

} // namespace orve::paradox
