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

void setzeByte(QByteArray& b, int offset, int wert) { b[offset] = static_cast<char>(wert & 0xFF); }

// Record data: big-endian. Integers are stored as value + 2^(bits-1)
// ("offset binary"), which puts 0 at 0x80..00 and keeps all zeros for Null.
void schreibeGanzzahl(char* ziel, qint64 wert, int bytes)
{
    const qint64 grenze = qint64{1} << (bytes * 8 - 1);
    if (wert <= -grenze || wert >= grenze)
        throw std::invalid_argument("Paradox integer out of range");
    quint64 roh = static_cast<quint64>(wert + grenze);
    for (int i = bytes - 1; i >= 0; --i) {
        ziel[i] = static_cast<char>(roh & 0xFF);
        roh >>= 8;
    }
}

void schreibeDouble(char* ziel, double wert)
{
    quint64 bits;
    std::memcpy(&bits, &wert, 8);
    if (std::signbit(wert))
        bits = ~bits;            // negative: every bit complemented
    else
        bits |= quint64{1} << 63; // positive: sign bit set
    for (int i = 7; i >= 0; --i) {
        ziel[i] = static_cast<char>(bits & 0xFF);
        bits >>= 8;
    }
}

qint64 tageSeitJahrEins(const QDate& d)
{
    // 1 January 0001 is day 1.
    return QDate(1, 1, 1).daysTo(d) + 1;
}

// Encodes text for the table's code page. Only what the tests need:
// ASCII, the German letters and (code page 1252) the euro sign.
QByteArray kodieren(const QString& text, int codepage)
{
    struct Zeichen {
        char16_t c;
        uchar dos;  // 437 and 850
        uchar win;  // 1252 and Latin-1
    };
    static const Zeichen deutsch[] = {
        {u'ä', 0x84, 0xE4}, {u'ö', 0x94, 0xF6}, {u'ü', 0x81, 0xFC},
        {u'Ä', 0x8E, 0xC4}, {u'Ö', 0x99, 0xD6}, {u'Ü', 0x9A, 0xDC},
        {u'ß', 0xE1, 0xDF},
    };
    const bool dos = codepage == 437 || codepage == 850;
    QByteArray out;
    for (QChar q : text) {
        const char16_t c = q.unicode();
        if (c > 0 && c < 0x80) {
            out.append(static_cast<char>(c));
            continue;
        }
        bool gefunden = false;
        for (const auto& z : deutsch) {
            if (z.c == c) {
                out.append(static_cast<char>(dos ? z.dos : z.win));
                gefunden = true;
                break;
            }
        }
        if (!gefunden && c == u'€' && codepage == 1252) {
            out.append(static_cast<char>(0x80));
            gefunden = true;
        }
        if (!gefunden)
            throw std::invalid_argument("character the Paradox writer cannot encode");
    }
    return out;
}

void feldSchreiben(char* ziel, const ParadoxFeldDef& f, const QVariant& v, int codepage)
{
    if (!v.isValid() || v.isNull())
        return; // Null: all bytes stay zero
    switch (f.typ) {
    case FeldTyp::Alpha: {
        const QByteArray t = v.typeId() == QMetaType::QByteArray ? v.toByteArray() : kodieren(v.toString(), codepage);
        if (t.size() > f.groesse)
            throw std::invalid_argument("alpha value longer than its field");
        std::memcpy(ziel, t.constData(), static_cast<size_t>(t.size()));
        return;
    }
    case FeldTyp::Short: schreibeGanzzahl(ziel, v.toLongLong(), 2); return;
    case FeldTyp::Long:
    case FeldTyp::AutoInc: schreibeGanzzahl(ziel, v.toLongLong(), 4); return;
    case FeldTyp::Number:
    case FeldTyp::Currency: schreibeDouble(ziel, v.toDouble()); return;
    case FeldTyp::Logical: ziel[0] = static_cast<char>(v.toBool() ? 0x81 : 0x80); return;
    case FeldTyp::Date: schreibeGanzzahl(ziel, tageSeitJahrEins(v.toDate()), 4); return;
    case FeldTyp::Time: schreibeGanzzahl(ziel, v.toTime().msecsSinceStartOfDay(), 4); return;
    case FeldTyp::Timestamp: {
        const QDateTime dt = v.toDateTime();
        const double ms = static_cast<double>(tageSeitJahrEins(dt.date())) * 86'400'000.0
            + dt.time().msecsSinceStartOfDay();
        schreibeDouble(ziel, ms);
        return;
    }
    default: {
        const QByteArray roh = v.toByteArray();
        if (roh.size() > f.groesse)
            throw std::invalid_argument("raw value longer than its field");
        std::memcpy(ziel, roh.constData(), static_cast<size_t>(roh.size()));
        return;
    }
    }
}

int feste(FeldTyp t)
{
    switch (t) {
    case FeldTyp::Short: return 2;
    case FeldTyp::Date:
    case FeldTyp::Long:
    case FeldTyp::Time:
    case FeldTyp::AutoInc: return 4;
    case FeldTyp::Number:
    case FeldTyp::Currency:
    case FeldTyp::Timestamp: return 8;
    case FeldTyp::Logical: return 1;
    default: return 0;
    }
}

} // namespace

void setzeLE16(QByteArray& b, int offset, std::uint16_t wert)
{
    setzeByte(b, offset, wert);
    setzeByte(b, offset + 1, wert >> 8);
}

void setzeLE32(QByteArray& b, int offset, std::uint32_t wert)
{
    for (int i = 0; i < 4; ++i)
        setzeByte(b, offset + i, static_cast<int>(wert >> (8 * i)));
}

QByteArray paradoxTabelle(const std::vector<ParadoxFeldDef>& felder, const std::vector<ParadoxZeile>& zeilen,
                          const ParadoxOptionen& o, ParadoxLayout* layout)
{
    if (felder.empty())
        throw std::invalid_argument("a Paradox table needs fields");
    int satzGroesse = 0;
    for (const auto& f : felder) {
        const int soll = feste(f.typ);
        if (soll != 0 && f.groesse != soll)
            throw std::invalid_argument("field size does not suit its type");
        satzGroesse += f.groesse;
    }
    const bool neu = o.version >= 5; // 4.x and later carry 0x58..0x77
    const int blockGroesse = o.blockKB * 1024;
    const int passen = (blockGroesse - 6) / satzGroesse;
    const int proBlock = o.saetzeProBlock > 0 ? std::min(o.saetzeProBlock, passen) : passen;
    if (proBlock < 1)
        throw std::invalid_argument("record larger than a block");

    // ---- header ------------------------------------------------------------
    QByteArray kopf(neu ? 0x78 : 0x58, '\0');
    const int feldInfo = kopf.size();
    for (const auto& f : felder) {
        kopf.append(static_cast<char>(f.typ));
        kopf.append(static_cast<char>(f.groesse));
    }
    kopf.append(4 + 4 * static_cast<int>(felder.size()), '\0'); // pointers, meaningless on disk
    QByteArray tabellenName = "bill";
    tabellenName.append((o.version >= 0x0C ? 261 : 79) - tabellenName.size(), '\0');
    kopf.append(tabellenName);
    for (const auto& f : felder) {
        kopf.append(kodieren(f.name, o.codepage));
        kopf.append('\0');
    }
    if (neu) {
        for (size_t i = 0; i < felder.size(); ++i) { // field numbers
            kopf.append(static_cast<char>((i + 1) & 0xFF));
            kopf.append(static_cast<char>((i + 1) >> 8));
        }
        kopf.append("ascii", 6); // sort order name
    }
    const int raster = o.version >= 0x0C ? 0x1000 : 0x800;
    const int kopfGroesse = (kopf.size() + raster - 1) / raster * raster;
    kopf.append(kopfGroesse - kopf.size(), '\0');

    // ---- blocks --------------------------------------------------------------
    const int bloecke = zeilen.empty() ? 0 : static_cast<int>((zeilen.size() + proBlock - 1) / proBlock);
    std::vector<int> position(static_cast<size_t>(bloecke));
    for (int i = 0; i < bloecke; ++i)
        position[i] = i;
    if (!o.blockPositionen.empty()) {
        if (static_cast<int>(o.blockPositionen.size()) != bloecke)
            throw std::invalid_argument("blockPositionen must name one position per block");
        position = o.blockPositionen;
    }
    const int dateiBloecke = bloecke == 0 ? 0 : *std::max_element(position.begin(), position.end()) + 1;
    QByteArray daten(static_cast<qsizetype>(dateiBloecke) * blockGroesse, '\0');
    std::vector<int> offsets;
    for (int i = 0; i < bloecke; ++i) {
        const int off = position[i] * blockGroesse;
        offsets.push_back(kopfGroesse + off);
        const int erste = i * proBlock;
        const int anzahl = std::min<int>(proBlock, static_cast<int>(zeilen.size()) - erste);
        QByteArray b(6, '\0');
        setzeLE16(b, 0, i + 1 < bloecke ? position[i + 1] + 1 : 0);
        setzeLE16(b, 2, i > 0 ? position[i - 1] + 1 : 0);
        setzeLE16(b, 4, static_cast<std::uint16_t>((anzahl - 1) * satzGroesse));
        std::memcpy(daten.data() + off, b.constData(), 6);
        char* satz = daten.data() + off + 6;
        for (int r = 0; r < anzahl; ++r, satz += satzGroesse) {
            const auto& zeile = zeilen[static_cast<size_t>(erste + r)];
            if (zeile.size() != felder.size())
                throw std::invalid_argument("row with the wrong number of values");
            char* feld = satz;
            for (size_t k = 0; k < felder.size(); ++k) {
                feldSchreiben(feld, felder[k], zeile[k], o.codepage);
                feld += felder[k].groesse;
            }
        }
    }

    // ---- header fields -------------------------------------------------------
    setzeLE16(kopf, 0x00, static_cast<std::uint16_t>(o.satzGroesseImKopf.value_or(satzGroesse)));
    setzeLE16(kopf, 0x02, static_cast<std::uint16_t>(kopfGroesse));
    setzeByte(kopf, 0x04, o.dateiTyp);
    setzeByte(kopf, 0x05, o.blockKB);
    setzeLE32(kopf, 0x06, static_cast<std::uint32_t>(o.anzahlImKopf.value_or(static_cast<std::int64_t>(zeilen.size()))));
    setzeLE16(kopf, 0x0A, static_cast<std::uint16_t>(dateiBloecke)); // blocks in use
    setzeLE16(kopf, 0x0C, static_cast<std::uint16_t>(dateiBloecke)); // blocks in the file
    setzeLE16(kopf, 0x0E, static_cast<std::uint16_t>(bloecke ? position.front() + 1 : 0));
    setzeLE16(kopf, 0x10, static_cast<std::uint16_t>(bloecke ? position.back() + 1 : 0));
    setzeLE16(kopf, 0x21, static_cast<std::uint16_t>(felder.size()));
    setzeLE16(kopf, 0x23, static_cast<std::uint16_t>(o.dateiTyp == 0 ? 1 : 0)); // key fields
    // 3.x tables keep the encryption value at 0x25; later versions write the
    // marker 0xFF00FF00 there and the value at 0x5C.
    setzeLE32(kopf, 0x25, o.verschluesselung1.value_or(neu ? 0xFF00FF00u : 0u));
    setzeByte(kopf, 0x39, o.version);
    setzeLE16(kopf, 0x3A, static_cast<std::uint16_t>(dateiBloecke));
    if (neu) {
        setzeLE16(kopf, 0x58, static_cast<std::uint16_t>(0x0100 | o.version));
        setzeLE16(kopf, 0x5A, static_cast<std::uint16_t>(0x0100 | o.version));
        setzeLE32(kopf, 0x5C, o.verschluesselung2);
        setzeLE16(kopf, 0x64, static_cast<std::uint16_t>(felder.size() + 1)); // highest field id + 1
        setzeLE16(kopf, 0x68, static_cast<std::uint16_t>(felder.size()));
        setzeLE16(kopf, 0x6A, static_cast<std::uint16_t>(o.codepage));
    }

    if (layout) {
        layout->kopfGroesse = kopfGroesse;
        layout->blockGroesse = blockGroesse;
        layout->satzGroesse = satzGroesse;
        layout->feldInfoOffset = feldInfo;
        layout->blockOffsets = offsets;
    }
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

// ---- TK-Suite-like call table ------------------------------------------------

std::vector<ParadoxFeldDef> paradoxBillFelder()
{
    return {
        {QStringLiteral("datum"), FeldTyp::Date, 4},
        {QStringLiteral("Zeit"), FeldTyp::Time, 4},
        {QStringLiteral("Tln#"), FeldTyp::Short, 2},
        {QStringLiteral("flags"), FeldTyp::Short, 2},
        {QStringLiteral("Rufnummer"), FeldTyp::Alpha, 30},
        {QStringLiteral("Dauer"), FeldTyp::Alpha, 8},
        {QStringLiteral("line"), FeldTyp::Short, 2},
        {QStringLiteral("Einheiten"), FeldTyp::Short, 2},
        {QStringLiteral("Betrag"), FeldTyp::Number, 8},
    };
}

std::vector<ParadoxZeile> paradoxBillZeilen(const std::vector<BillAnruf>& anrufe)
{
    std::vector<ParadoxZeile> zeilen;
    zeilen.reserve(anrufe.size());
    for (const auto& a : anrufe) {
        zeilen.push_back({
            a.datum.isValid() ? QVariant(a.datum) : QVariant(),
            a.zeit.isValid() ? QVariant(a.zeit) : QVariant(),
            a.tln,
            a.flags,
            a.rufnummer ? QVariant(*a.rufnummer) : QVariant(),
            a.dauer ? QVariant(*a.dauer) : QVariant(),
            a.line,
            a.einheiten,
            a.betrag,
        });
    }
    return zeilen;
}

void schreibeParadoxBill(const QString& pfad, const std::vector<BillAnruf>& anrufe)
{
    const QByteArray bytes = paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(anrufe)); // the defaults: 5.x, 1252, 2 KB
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    QFile f(pfad);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the Paradox table " + pfad.toStdString());
}

std::vector<BillAnruf> beispielAnrufe(int anzahl, std::uint32_t seed)
{
    std::mt19937 zufall(seed);
    auto zahl = [&](int von, int bis) { return std::uniform_int_distribution<int>(von, bis)(zufall); };
    static const char* const vorwahlen[] = {"030", "089", "040", "0221", "069", "0711", "0170", "0151", "0176",
                                            "0043", "0041", "0180", "0800"};
    std::vector<BillAnruf> out;
    out.reserve(static_cast<size_t>(std::max(anzahl, 0)));
    QDateTime moment(QDate(2023, 1, 2), QTime(7, 30), QTimeZone::utc());
    for (int i = 0; i < anzahl; ++i) {
        moment = moment.addSecs(zahl(60, 5400));
        if (moment.time().hour() >= 19) // office hours: continue next morning
            moment = QDateTime(moment.date().addDays(1), QTime(7, zahl(0, 59)), QTimeZone::utc());
        BillAnruf a;
        a.datum = moment.date();
        a.zeit = moment.time();
        a.tln = 20 + zahl(0, 5);
        a.flags = zahl(0, 19) == 0 ? (zahl(0, 1) ? 1 : 4) : 0;
        a.line = zahl(1, 2);
        const int art = zahl(0, 19);
        if (art == 0) {
            a.rufnummer.reset(); // number suppressed
        } else if (art == 1) {
            a.rufnummer = QString::number(20 + zahl(0, 5)); // internal
            a.line = 0;
        } else {
            QString n = QString::fromLatin1(vorwahlen[zahl(0, 12)]);
            const int stellen = zahl(5, 9);
            for (int s = 0; s < stellen; ++s)
                n += QChar(u'0' + zahl(s == 0 ? 1 : 0, 9));
            if (zahl(0, 9) == 0)
                n = QStringLiteral("0") + n; // with the exchange line prefix
            a.rufnummer = n;
        }
        const int sekunden = zahl(0, 29) == 0 ? zahl(3600, 7200) : zahl(3, 900);
        if (zahl(0, 29) == 0)
            a.dauer.reset();
        else
            a.dauer = QTime(0, 0).addSecs(sekunden).toString(QStringLiteral("hh:mm:ss"));
        a.einheiten = sekunden / 90 + 1;
        a.betrag = std::round(a.einheiten * 0.062 * 1000.0) / 1000.0;
        out.push_back(std::move(a));
    }
    return out;
}

} // namespace orve::test
