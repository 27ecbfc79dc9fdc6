#include "ParadoxWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numeric>
#include <random>
#include <stdexcept>

namespace orve::test {

using paradox::FeldTyp;

namespace {

// Record data is big-endian. Integers are stored as value + 2^(bits-1), so that 0 is 0x80..00 and all
// zeros stay Null; doubles with the sign bit set when positive, complemented when negative.
void schreibeBE(char* ziel, quint64 roh, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i, roh >>= 8)
        ziel[i] = static_cast<char>(roh & 0xFF);
}
void schreibeGanzzahl(char* ziel, qint64 wert, int bytes)
{
    schreibeBE(ziel, quint64(wert + (qint64 {1} << (bytes * 8 - 1))), bytes);
}
void schreibeDouble(char* ziel, double wert)
{
    const auto roh = std::bit_cast<quint64>(wert);
    schreibeBE(ziel, std::signbit(wert) ? ~roh : roh | quint64 {1} << 63, 8);
}
qint64 tageSeitJahrEins(const QDate& d)
{
    return QDate(1, 1, 1).daysTo(d) + 1;
} // 0001-01-01 is day 1

// ASCII, the German letters and (1252) the euro sign in the table's code page.
QByteArray kodieren(const QString& text, int codepage)
{
    static const QString deutsch = "äöüÄÖÜß€";
    const char* const bytes =
        codepage == 437 || codepage == 850 ? "\x84\x94\x81\x8E\x99\x9A\xE1" : "\xE4\xF6\xFC\xC4\xD6\xDC\xDF\x80";
    QByteArray out;
    for (QChar c : text) {
        const qsizetype k = c.unicode() < 0x80 ? -1 : deutsch.indexOf(c);
        if (c.unicode() == 0 || (c.unicode() >= 0x80 && (k < 0 || k >= (codepage == 1252 ? 8 : 7))))
            throw std::invalid_argument("character the Paradox writer cannot encode");
        out.append(k < 0 ? static_cast<char>(c.unicode()) : bytes[k]);
    }
    return out;
}

void feldSchreiben(char* ziel, const ParadoxFeldDef& f, const QVariant& v, int codepage)
{
    if (!v.isValid() || v.isNull())
        return; // Null: all bytes stay zero
    switch (f.typ) {
    case FeldTyp::Short:
        return schreibeGanzzahl(ziel, v.toLongLong(), 2);
    case FeldTyp::Long:
    case FeldTyp::AutoInc:
        return schreibeGanzzahl(ziel, v.toLongLong(), 4);
    case FeldTyp::Number:
    case FeldTyp::Currency:
        return schreibeDouble(ziel, v.toDouble());
    case FeldTyp::Logical:
        ziel[0] = static_cast<char>(v.toBool() ? 0x81 : 0x80);
        return;
    case FeldTyp::Date:
        return schreibeGanzzahl(ziel, tageSeitJahrEins(v.toDate()), 4);
    case FeldTyp::Time:
        return schreibeGanzzahl(ziel, v.toTime().msecsSinceStartOfDay(), 4);
    case FeldTyp::Timestamp:
        return schreibeDouble(ziel, double(tageSeitJahrEins(v.toDate())) * 86'400'000.0
                                        + v.toDateTime().time().msecsSinceStartOfDay());
    default:
        break;
    }
    const bool text = f.typ == FeldTyp::Alpha && v.typeId() != QMetaType::QByteArray;
    const QByteArray roh = text ? kodieren(v.toString(), codepage) : v.toByteArray(); // others (Bytes, Bcd): raw
    if (roh.size() > f.groesse)
        throw std::invalid_argument("value longer than its field");
    std::memcpy(ziel, roh.constData(), static_cast<size_t>(roh.size()));
}

} // namespace

void setzeLE(QByteArray& b, int offset, std::uint32_t wert, int bytes)
{
    for (int i = 0; i < bytes; ++i, wert >>= 8)
        b[offset + i] = static_cast<char>(wert & 0xFF);
}

QByteArray paradoxTabelle(const std::vector<ParadoxFeldDef>& felder, const std::vector<ParadoxZeile>& zeilen,
                          const ParadoxOptionen& o, ParadoxLayout* layout)
{
    const int satzGroesse = std::accumulate(felder.begin(), felder.end(), 0,
                                            [](int s, const ParadoxFeldDef& f) { return s + f.groesse; });
    const bool neu = o.version >= 5; // 4.x and later carry 0x58..0x77
    const int blockGroesse = o.blockKB * 1024;
    const int passen = (blockGroesse - 6) / satzGroesse;
    const int proBlock = o.saetzeProBlock > 0 ? std::min(o.saetzeProBlock, passen) : passen;

    // Header: fixed part, field list, pointers (0 on disk), table and field names, 4.x+: field numbers, sort order.
    QByteArray kopf(neu ? 0x78 : 0x58, '\0');
    const int feldInfo = kopf.size();
    for (const auto& f : felder)
        kopf.append(static_cast<char>(f.typ)).append(static_cast<char>(f.groesse));
    kopf.append(4 + 4 * int(felder.size()), '\0');
    kopf.append(QByteArray("bill").leftJustified(o.version >= 0x0C ? 261 : 79, '\0'));
    for (const auto& f : felder)
        kopf.append(kodieren(f.name, o.codepage)).append('\0');
    if (neu) {
        for (size_t i = 1; i <= felder.size(); ++i)
            kopf.append(static_cast<char>(i & 0xFF)).append(static_cast<char>(i >> 8));
        kopf.append("ascii", 6);
    }
    const int raster = o.version >= 0x0C ? 0x1000 : 0x800;
    const int kopfGroesse = (int(kopf.size()) + raster - 1) / raster * raster;
    kopf.append(kopfGroesse - kopf.size(), '\0');

    // Blocks: next and previous file block (1-based, 0: none), offset of the last record, the records.
    const int bloecke = int((zeilen.size() + proBlock - 1) / proBlock);
    std::vector<int> position = o.blockPositionen;
    for (int i = int(position.size()); i < bloecke; ++i)
        position.push_back(i);
    const int dateiBloecke = bloecke == 0 ? 0 : *std::max_element(position.begin(), position.end()) + 1;
    QByteArray daten(qsizetype(dateiBloecke) * blockGroesse, '\0');
    std::vector<int> offsets;
    for (int i = 0; i < bloecke; ++i) {
        const int off = position[i] * blockGroesse;
        offsets.push_back(kopfGroesse + off);
        const int erste = i * proBlock;
        const int anzahl = std::min<int>(proBlock, int(zeilen.size()) - erste);
        setzeLE(daten, off, i + 1 < bloecke ? position[i + 1] + 1 : 0);
        setzeLE(daten, off + 2, i > 0 ? position[i - 1] + 1 : 0);
        setzeLE(daten, off + 4, static_cast<std::uint16_t>((anzahl - 1) * satzGroesse));
        char* feld = daten.data() + off + 6;
        for (int r = 0; r < anzahl; ++r)
            for (size_t k = 0; k < felder.size(); feld += felder[k++].groesse)
                feldSchreiben(feld, felder[k], zeilen[size_t(erste + r)].at(k), o.codepage);
    }

    // 16-bit header fields: record size, header size, blocks in use and in the file, first and last block of
    // the chain, fields, key fields, blocks again; 4.x+: version twice, highest field id + 1, fields, code page.
    const int n = int(felder.size()), erster = bloecke ? position[0] + 1 : 0,
              letzter = bloecke ? position[bloecke - 1] + 1 : 0, v = 0x0100 | o.version, k = o.dateiTyp == 0;
    const int stelle[] = {0x00, 0x02, 0x0A, 0x0C, 0x0E, 0x10, 0x21, 0x23, 0x3A, 0x58, 0x5A, 0x64, 0x68, 0x6A};
    const int werte[] = {
        satzGroesse, kopfGroesse, dateiBloecke, dateiBloecke, erster, letzter, n, k, dateiBloecke, v, v,
        n + 1,       n,           o.codepage};
    for (size_t i = 0; i < (neu ? std::size(werte) : 9); ++i)
        setzeLE(kopf, stelle[i], static_cast<std::uint16_t>(werte[i]));
    kopf[0x04] = static_cast<char>(o.dateiTyp);
    kopf[0x05] = static_cast<char>(o.blockKB);
    setzeLE(kopf, 0x06, static_cast<std::uint32_t>(o.anzahlImKopf.value_or(std::int64_t(zeilen.size()))), 4);
    // Encryption: 3.x tables keep the value at 0x25; later ones the marker 0xFF00FF00 there and the value at 0x5C.
    setzeLE(kopf, 0x25, neu ? 0xFF00FF00u : 0u, 4);
    kopf[0x39] = static_cast<char>(o.version);
    if (layout)
        *layout = {blockGroesse, satzGroesse, feldInfo, offsets};
    return kopf + daten;
}

ParadoxGelesen paradoxLesen(const QByteArray& bytes)
{
    ParadoxGelesen r;
    try {
        paradox::ParadoxTabelle::ausBytes(bytes).lesen([&](const paradox::Satz& s) { r.saetze.push_back(s); });
    } catch (const paradox::ParadoxFehler& e) {
        r.fehler = e.text();
    }
    return r;
}

std::vector<ParadoxFeldDef> paradoxBillFelder()
{
    return {{"datum", FeldTyp::Date, 4},  {"Zeit", FeldTyp::Time, 4},        {"Tln#", FeldTyp::Short, 2},
            {"flags", FeldTyp::Short, 2}, {"Rufnummer", FeldTyp::Alpha, 30}, {"Dauer", FeldTyp::Alpha, 8},
            {"line", FeldTyp::Short, 2},  {"Einheiten", FeldTyp::Short, 2},  {"Betrag", FeldTyp::Number, 8}};
}

std::vector<ParadoxZeile> paradoxBillZeilen(const std::vector<BillAnruf>& anrufe)
{
    std::vector<ParadoxZeile> zeilen;
    for (const auto& a : anrufe)
        zeilen.push_back({a.datum.isValid() ? QVariant(a.datum) : QVariant(),
                          a.zeit.isValid() ? QVariant(a.zeit) : QVariant(), a.tln, a.flags,
                          a.rufnummer ? QVariant(*a.rufnummer) : QVariant(),
                          a.dauer ? QVariant(*a.dauer) : QVariant(), a.line, a.einheiten, a.betrag});
    return zeilen;
}

void schreibeParadoxBill(const QString& pfad, const std::vector<BillAnruf>& anrufe)
{
    const QByteArray bytes = paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(anrufe));
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    QFile f(pfad);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the Paradox table " + pfad.toStdString());
}

std::vector<BillAnruf> beispielAnrufe(int anzahl, std::uint32_t seed)
{
    std::mt19937 zufall(seed);
    auto zahl = [&](int von, int bis) { return std::uniform_int_distribution<int>(von, bis)(zufall); };
    static const char* const vorwahlen[] = {"030",  "089",  "040",  "0221", "069",  "0711", "0170",
                                            "0151", "0176", "0043", "0041", "0180", "0800"};
    std::vector<BillAnruf> out;
    QDateTime moment(QDate(2023, 1, 2), QTime(7, 30), QTimeZone::utc());
    for (int i = 0; i < anzahl; ++i) {
        moment = moment.addSecs(zahl(60, 5400));
        if (moment.time().hour() >= 19) // office hours: continue next morning
            moment = QDateTime(moment.date().addDays(1), QTime(7, zahl(0, 59)), QTimeZone::utc());
        // A braced list is evaluated from left to right.
        BillAnruf a {moment.date(), moment.time(), 20 + zahl(0, 5), zahl(0, 19) == 0 ? (zahl(0, 1) ? 1 : 4) : 0};
        a.line = zahl(1, 2);
        const int art = zahl(0, 19);
        if (art == 1) { // internal
            a.rufnummer = QString::number(20 + zahl(0, 5));
            a.line = 0;
        } else if (art != 0) { // art 0: number suppressed
            QString n = QString::fromLatin1(vorwahlen[zahl(0, 12)]);
            for (int s = 0, stellen = zahl(5, 9); s < stellen; ++s)
                n += QChar(u'0' + zahl(s == 0 ? 1 : 0, 9));
            a.rufnummer =
                zahl(0, 9) == 0 ? QStringLiteral("0") + n : n; // now and then with the exchange line prefix
        }
        const int sekunden = zahl(0, 29) == 0 ? zahl(3600, 7200) : zahl(3, 900);
        if (zahl(0, 29) != 0)
            a.dauer = QTime(0, 0).addSecs(sekunden).toString(QStringLiteral("hh:mm:ss"));
        a.einheiten = sekunden / 90 + 1;
        a.betrag = std::round(a.einheiten * 0.062 * 1000.0) / 1000.0;
        out.push_back(std::move(a));
    }
    return out;
}

} // namespace orve::test
