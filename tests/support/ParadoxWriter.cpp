#include "ParadoxWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <stdexcept>

namespace orve::test {

using paradox::FeldTyp;

namespace {

// Record data is big-endian. Integers are stored as value + 2^(bits-1), so
// that 0 is 0x80..00 and all zeros stay Null.
void schreibeGanzzahl(char* ziel, qint64 wert, int bytes)
{
    auto roh = static_cast<quint64>(wert + (qint64{1} << (bytes * 8 - 1)));
    for (int i = bytes - 1; i >= 0; --i, roh >>= 8)
        ziel[i] = static_cast<char>(roh & 0xFF);
}

// Doubles: a positive one with its sign bit set, a negative one complemented.
void schreibeDouble(char* ziel, double wert)
{
    quint64 bits;
    std::memcpy(&bits, &wert, 8);
    bits = std::signbit(wert) ? ~bits : bits | quint64{1} << 63;
    for (int i = 7; i >= 0; --i, bits >>= 8)
        ziel[i] = static_cast<char>(bits & 0xFF);
}

qint64 tageSeitJahrEins(const QDate& d) { return QDate(1, 1, 1).daysTo(d) + 1; } // 0001-01-01 is day 1

// ASCII, the German letters and (1252) the euro sign in the table's code page.
QByteArray kodieren(const QString& text, int codepage)
{
    static const QString deutsch = QStringLiteral("äöüÄÖÜß€");
    static const char dos[] = "\x84\x94\x81\x8E\x99\x9A\xE1", win[] = "\xE4\xF6\xFC\xC4\xD6\xDC\xDF\x80";
    const bool istDos = codepage == 437 || codepage == 850;
    QByteArray out;
    for (QChar c : text) {
        const qsizetype k = deutsch.indexOf(c);
        if (c.unicode() > 0 && c.unicode() < 0x80)
            out.append(static_cast<char>(c.unicode()));
        else if (k >= 0 && (istDos ? k < 7 : codepage == 1252 || k < 7))
            out.append(istDos ? dos[k] : win[k]);
        else
            throw std::invalid_argument("character the Paradox writer cannot encode");
    }
    return out;
}

void feldSchreiben(char* ziel, const ParadoxFeldDef& f, const QVariant& v, int codepage)
{
    if (!v.isValid() || v.isNull())
        return; // Null: all bytes stay zero
    QByteArray roh;
    switch (f.typ) {
    case FeldTyp::Short: return schreibeGanzzahl(ziel, v.toLongLong(), 2);
    case FeldTyp::Long: case FeldTyp::AutoInc: return schreibeGanzzahl(ziel, v.toLongLong(), 4);
    case FeldTyp::Number: case FeldTyp::Currency: return schreibeDouble(ziel, v.toDouble());
    case FeldTyp::Logical: ziel[0] = static_cast<char>(v.toBool() ? 0x81 : 0x80); return;
    case FeldTyp::Date: return schreibeGanzzahl(ziel, tageSeitJahrEins(v.toDate()), 4);
    case FeldTyp::Time: return schreibeGanzzahl(ziel, v.toTime().msecsSinceStartOfDay(), 4);
    case FeldTyp::Timestamp:
        return schreibeDouble(ziel, double(tageSeitJahrEins(v.toDate())) * 86'400'000.0 + v.toDateTime().time().msecsSinceStartOfDay());
    case FeldTyp::Alpha:
        roh = v.typeId() == QMetaType::QByteArray ? v.toByteArray() : kodieren(v.toString(), codepage);
        break;
    default:
        roh = v.toByteArray();
    }
    if (roh.size() > f.groesse)
        throw std::invalid_argument("value longer than its field");
    std::memcpy(ziel, roh.constData(), static_cast<size_t>(roh.size()));
}

} // namespace

void setzeLE16(QByteArray& b, int offset, std::uint16_t wert)
{
    b[offset] = static_cast<char>(wert & 0xFF);
    b[offset + 1] = static_cast<char>(wert >> 8);
}

void setzeLE32(QByteArray& b, int offset, std::uint32_t wert)
{
    setzeLE16(b, offset, static_cast<std::uint16_t>(wert & 0xFFFF));
    setzeLE16(b, offset + 2, static_cast<std::uint16_t>(wert >> 16));
}

QByteArray paradoxTabelle(const std::vector<ParadoxFeldDef>& felder, const std::vector<ParadoxZeile>& zeilen,
                          const ParadoxOptionen& o, ParadoxLayout* layout)
{
    int satzGroesse = 0;
    for (const auto& f : felder)
        satzGroesse += f.groesse;
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
        QByteArray b(6, '\0');
        setzeLE16(b, 0, i + 1 < bloecke ? position[i + 1] + 1 : 0);
        setzeLE16(b, 2, i > 0 ? position[i - 1] + 1 : 0);
        setzeLE16(b, 4, static_cast<std::uint16_t>((anzahl - 1) * satzGroesse));
        daten.replace(off, 6, b);
        char* feld = daten.data() + off + 6;
        for (int r = 0; r < anzahl; ++r)
            for (size_t k = 0; k < felder.size(); feld += felder[k++].groesse)
                feldSchreiben(feld, felder[k], zeilen[size_t(erste + r)].at(k), o.codepage);
    }

    setzeLE16(kopf, 0x00, static_cast<std::uint16_t>(o.satzGroesseImKopf.value_or(satzGroesse)));
    setzeLE16(kopf, 0x02, static_cast<std::uint16_t>(kopfGroesse));
    kopf[0x04] = static_cast<char>(o.dateiTyp);
    kopf[0x05] = static_cast<char>(o.blockKB);
    setzeLE32(kopf, 0x06, static_cast<std::uint32_t>(o.anzahlImKopf.value_or(std::int64_t(zeilen.size()))));
    setzeLE16(kopf, 0x0A, static_cast<std::uint16_t>(dateiBloecke)); // blocks in use
    setzeLE16(kopf, 0x0C, static_cast<std::uint16_t>(dateiBloecke)); // blocks in the file
    setzeLE16(kopf, 0x0E, static_cast<std::uint16_t>(bloecke ? position[0] + 1 : 0));
    setzeLE16(kopf, 0x10, static_cast<std::uint16_t>(bloecke ? position[bloecke - 1] + 1 : 0));
    setzeLE16(kopf, 0x21, static_cast<std::uint16_t>(felder.size()));
    setzeLE16(kopf, 0x23, o.dateiTyp == 0 ? 1 : 0); // key fields
    // Encryption: 3.x tables keep the value at 0x25; later ones the marker
    // 0xFF00FF00 there and the value at 0x5C.
    setzeLE32(kopf, 0x25, neu ? 0xFF00FF00u : 0u);
    kopf[0x39] = static_cast<char>(o.version);
    setzeLE16(kopf, 0x3A, static_cast<std::uint16_t>(dateiBloecke));
    if (neu) {
        setzeLE16(kopf, 0x58, static_cast<std::uint16_t>(0x0100 | o.version));
        setzeLE16(kopf, 0x5A, static_cast<std::uint16_t>(0x0100 | o.version));
        setzeLE16(kopf, 0x64, static_cast<std::uint16_t>(felder.size() + 1)); // highest field id + 1
        setzeLE16(kopf, 0x68, static_cast<std::uint16_t>(felder.size()));
        setzeLE16(kopf, 0x6A, static_cast<std::uint16_t>(o.codepage));
    }
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
    return {{QStringLiteral("datum"), FeldTyp::Date, 4},      {QStringLiteral("Zeit"), FeldTyp::Time, 4},
            {QStringLiteral("Tln#"), FeldTyp::Short, 2},      {QStringLiteral("flags"), FeldTyp::Short, 2},
            {QStringLiteral("Rufnummer"), FeldTyp::Alpha, 30}, {QStringLiteral("Dauer"), FeldTyp::Alpha, 8},
            {QStringLiteral("line"), FeldTyp::Short, 2},      {QStringLiteral("Einheiten"), FeldTyp::Short, 2},
            {QStringLiteral("Betrag"), FeldTyp::Number, 8}};
}

std::vector<ParadoxZeile> paradoxBillZeilen(const std::vector<BillAnruf>& anrufe)
{
    std::vector<ParadoxZeile> zeilen;
    for (const auto& a : anrufe)
        zeilen.push_back({a.datum.isValid() ? QVariant(a.datum) : QVariant(), a.zeit.isValid() ? QVariant(a.zeit) : QVariant(),
                          a.tln, a.flags, a.rufnummer ? QVariant(*a.rufnummer) : QVariant(),
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
    static const char* const vorwahlen[] = {"030", "089", "040", "0221", "069", "0711", "0170",
                                            "0151", "0176", "0043", "0041", "0180", "0800"};
    std::vector<BillAnruf> out;
    QDateTime moment(QDate(2023, 1, 2), QTime(7, 30), QTimeZone::utc());
    for (int i = 0; i < anzahl; ++i) {
        moment = moment.addSecs(zahl(60, 5400));
        if (moment.time().hour() >= 19) // office hours: continue next morning
            moment = QDateTime(moment.date().addDays(1), QTime(7, zahl(0, 59)), QTimeZone::utc());
        // A braced list is evaluated from left to right.
        BillAnruf a{moment.date(), moment.time(), 20 + zahl(0, 5), zahl(0, 19) == 0 ? (zahl(0, 1) ? 1 : 4) : 0};
        a.line = zahl(1, 2);
        const int art = zahl(0, 19);
        if (art == 1) { // internal
            a.rufnummer = QString::number(20 + zahl(0, 5));
            a.line = 0;
        } else if (art != 0) { // art 0: number suppressed
            QString n = QString::fromLatin1(vorwahlen[zahl(0, 12)]);
            const int stellen = zahl(5, 9);
            for (int s = 0; s < stellen; ++s)
                n += QChar(u'0' + zahl(s == 0 ? 1 : 0, 9));
            a.rufnummer = zahl(0, 9) == 0 ? QStringLiteral("0") + n : n; // now and then with the exchange line prefix
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
