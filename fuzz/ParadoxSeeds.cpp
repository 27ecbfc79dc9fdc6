// Writes the seed corpus of the Paradox fuzz target: small valid tables of
// every version, both file types, every field type, several code pages,
// multi-block chains out of file order and an empty table.
// Usage: paradox_seeds <folder>

#include "ParadoxWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <cstdio>

using namespace orve::test;
using orve::paradox::FeldTyp;

namespace {

// Writes one seed after reading it back: a seed the reader refuses would
// only teach the fuzzer the error paths.
bool schreiben(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    try {
        const auto t = orve::paradox::ParadoxTabelle::ausBytes(bytes);
        std::int64_t n = 0;
        t.lesen([&](const orve::paradox::Satz&) { ++n; });
        if (n != t.anzahl())
            throw orve::paradox::ParadoxFehler(QStringLiteral("record count"));
    } catch (const orve::paradox::ParadoxFehler& e) {
        std::fprintf(stderr, "seed %s is not readable: %s\n", qPrintable(name), qPrintable(e.text()));
        return false;
    }
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        return false;
    }
    return true;
}

std::vector<ParadoxFeldDef> alleTypen()
{
    return {
        {"a", FeldTyp::Alpha, 12},     {"d", FeldTyp::Date, 4},     {"t", FeldTyp::Time, 4},
        {"ts", FeldTyp::Timestamp, 8}, {"s", FeldTyp::Short, 2},    {"l", FeldTyp::Long, 4},
        {"n", FeldTyp::Number, 8},     {"c", FeldTyp::Currency, 8}, {"b", FeldTyp::Logical, 1},
        {"z", FeldTyp::AutoInc, 4},    {"m", FeldTyp::Memo, 11},    {"y", FeldTyp::Bytes, 3},
        {"bcd", FeldTyp::Bcd, 17},     {"g", FeldTyp::Graphic, 10},
    };
}

std::vector<ParadoxZeile> alleTypenZeilen()
{
    const QVariant leer;
    return {
        {QStringLiteral("Grüße"), QDate(2024, 2, 29), QTime(13, 5, 7),
         QDateTime(QDate(2024, 2, 29), QTime(8, 0), QTimeZone::utc()), -12, 123456, -1.25, 19.99, true, 1,
         QByteArray("\x01\x02", 2), QByteArray("xyz"), QByteArray(17, '\x11'), leer},
        {leer, leer, leer, leer, leer, leer, leer, leer, leer, leer, leer, leer, leer, leer},
        {QStringLiteral("abc"), QDate(1, 1, 1), QTime(0, 0),
         QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59, 999), QTimeZone::utc()), 32767, -2147483647, 0.0, -0.0,
         false, 2147483647, leer, QByteArray("\0\0\1", 3), leer, QByteArray(10, '\x7f')},
    };
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: paradox_seeds <folder>\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral(".")))
        return 1;
    bool ok = true;

    // The TK-Suite call table as the program meets it, in small blocks.
    ParadoxOptionen bill;
    bill.blockKB = 1;
    bill.saetzeProBlock = 4;
    bill.blockPositionen = {2, 0, 3, 1};
    ok &= schreiben(dir, "bill-5x.db",
                    paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(14, 9)), bill));

    // Every version byte from Paradox 3.0 to 7.x.
    for (int version : {0x03, 0x04, 0x09, 0x0A, 0x0C}) {
        ParadoxOptionen o;
        o.version = version;
        o.blockKB = 1;
        o.saetzeProBlock = 2;
        o.codepage = version == 0x09 ? 437 : 850;
        ok &= schreiben(dir, QStringLiteral("typen-v%1.db").arg(version),
                        paradoxTabelle(alleTypen(), alleTypenZeilen(), o));
    }

    // A keyed table in code page 1252, one record per block.
    ParadoxOptionen keyed;
    keyed.dateiTyp = 0;
    keyed.blockKB = 1;
    keyed.saetzeProBlock = 1;
    keyed.blockPositionen = {1, 0, 2};
    ok &= schreiben(dir, "keyed-1252.db",
                    paradoxTabelle({{"Nr", FeldTyp::AutoInc, 4}, {"Name", FeldTyp::Alpha, 20}},
                                   {{1, QStringLiteral("Müller")}, {2, QStringLiteral("€ 5")}, {3, QVariant()}},
                                   keyed));

    // No records at all.
    ParadoxOptionen leer;
    leer.blockKB = 1;
    ok &= schreiben(dir, "leer.db", paradoxTabelle(paradoxBillFelder(), {}, leer));
    return ok ? 0 : 1;
}
