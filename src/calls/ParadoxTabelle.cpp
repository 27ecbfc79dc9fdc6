#include "calls/ParadoxTabelle.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTime>
#include <QTimeZone>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#ifdef _WIN32
#include <windows.h>
#endif
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orve::paradox {

namespace {

// ---- Layout of a table file ----------------------------------------------
//
// Header integers are little-endian; the record data is big-endian with the
// sign bit flipped (see the decoders below). The fixed part of the header
// runs to 0x57; tables of Paradox 4 and later add 0x20 bytes (0x58..0x77).
// The field list, pointer arrays, table name and field names follow.

constexpr int kSatzGroesse = 0x00; // word: bytes per record
constexpr int kKopfGroesse = 0x02; // word: header bytes = offset of block 1
constexpr int kDateiTyp = 0x04;    // byte: 0 keyed table, 2 table without key
constexpr int kBlockKB = 0x05;     // byte: data block size in KB
constexpr int kAnzahl = 0x06;      // longint: record count
constexpr int kErsterBlock = 0x0E; // word: first block of the chain
constexpr int kFeldAnzahl = 0x21;  // integer: number of fields
// longint: the encryption value of 3.x tables (0 = none). Tables of 4.x and
// later carry the marker 0xFF00FF00 here and their encryption value at 0x5C.
constexpr int kVerschluesselung1 = 0x25;
constexpr int kVersion = 0x39;           // byte: 3 = 3.0, 4 = 3.5, 5..9 = 4.x, 10/11 = 5.x, 12 = 7.x
constexpr int kVerschluesselung2 = 0x5C; // longint (4.x and later): 0 = not encrypted
constexpr std::uint32_t kVerschluesselungAnderswo = 0xFF00FF00;
constexpr int kCodepage = 0x6A;     // word (4.x and later): DOS/Windows code page
constexpr int kFeldListeAlt = 0x58; // field list of 3.x tables
constexpr int kFeldListeNeu = 0x78; // field list of 4.x and later tables

constexpr int kVersionMin = 0x03;
constexpr int kVersionMax = 0x0C;
constexpr int kVersionMitErweiterung = 0x05; // 4.0 and later carry 0x58..0x77

constexpr int kBlockKopf = 6; // next block, previous block, offset of the last record

constexpr std::int64_t kMsProTag = 86'400'000;

// ---- Code pages ----------------------------------------------------------

// The name of a table's DOS or Windows code page as Qt knows it; empty for code pages
// read as Latin-1 (none given, Paradox 3 tables, unknown numbers).
const char* codepageName(int codepage)
{
    switch (codepage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 852:
        return "IBM852";
    case 858:
        return "IBM00858";
    case 1252:
        return "windows-1252";
    default:
        return "";
    }
}

// ---- Reading raw numbers -------------------------------------------------

std::uint16_t le16(const uchar* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t le32(const uchar* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
           | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint64_t be(const uchar* p, int n)
{
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i)
        v = (v << 8) | p[i];
    return v;
}

bool alleNull(const uchar* p, int n)
{
    for (int i = 0; i < n; ++i)
        if (p[i] != 0)
            return false;
    return true;
}

// Integers: big-endian two's complement with the sign bit flipped, which is
// the value plus 2^(bits-1) read unsigned: 0 is stored as 0x80..00.
std::int64_t ganzeZahl(const uchar* p, int n)
{
    const auto versatz = static_cast<std::int64_t>(std::uint64_t {1} << (n * 8 - 1));
    return static_cast<std::int64_t>(be(p, n)) - versatz;
}

// Doubles: IEEE big-endian; positive values have the sign bit set, negative
// values have every bit complemented.
double kommaZahl(const uchar* p)
{
    std::uint64_t roh = be(p, 8);
    constexpr std::uint64_t vorzeichen = std::uint64_t {1} << 63;
    roh = (roh & vorzeichen) ? (roh ^ vorzeichen) : ~roh;
    return std::bit_cast<double>(roh);
}

// Day 1 is 1 January 0001 (proleptic Gregorian calendar).
QDate datumAusTagen(std::int64_t tage)
{
    static const qint64 kBasis = QDate(1, 1, 1).toJulianDay();
    return QDate::fromJulianDay(kBasis + tage - 1);
}

QString fehlerBeschaedigt(const QString& was)
{
    return QStringLiteral("Die Paradox-Tabelle ist beschädigt: %1").arg(was);
}

[[noreturn]] void beschaedigt(const QString& was)
{
    throw ParadoxFehler(fehlerBeschaedigt(was));
}

QString typName(FeldTyp t)
{
    switch (t) {
    case FeldTyp::Alpha:
        return QStringLiteral("Alpha");
    case FeldTyp::Date:
        return QStringLiteral("Datum");
    case FeldTyp::Short:
        return QStringLiteral("Short");
    case FeldTyp::Long:
        return QStringLiteral("Long");
    case FeldTyp::Currency:
        return QStringLiteral("Währung");
    case FeldTyp::Number:
        return QStringLiteral("Zahl");
    case FeldTyp::Logical:
        return QStringLiteral("Logisch");
    case FeldTyp::Memo:
        return QStringLiteral("Memo");
    case FeldTyp::Blob:
        return QStringLiteral("Binär");
    case FeldTyp::FmtMemo:
        return QStringLiteral("Formatiertes Memo");
    case FeldTyp::Ole:
        return QStringLiteral("OLE");
    case FeldTyp::Graphic:
        return QStringLiteral("Grafik");
    case FeldTyp::Time:
        return QStringLiteral("Zeit");
    case FeldTyp::Timestamp:
        return QStringLiteral("Zeitstempel");
    case FeldTyp::AutoInc:
        return QStringLiteral("Zähler");
    case FeldTyp::Bcd:
        return QStringLiteral("BCD");
    case FeldTyp::Bytes:
        return QStringLiteral("Bytes");
    }
    return QString();
}

bool bekannterTyp(int t)
{
    switch (t) {
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x06:
    case 0x09:
    case 0x0C:
    case 0x0D:
    case 0x0E:
    case 0x0F:
    case 0x10:
    case 0x14:
    case 0x15:
    case 0x16:
    case 0x17:
    case 0x18:
        return true;
    default:
        return false;
    }
}

// Whether a field of this type may have this size in the record.
bool passendeGroesse(FeldTyp t, int g)
{
    switch (t) {
    case FeldTyp::Alpha:
    case FeldTyp::Bytes:
        return g >= 1 && g <= 255;
    case FeldTyp::Date:
    case FeldTyp::Long:
    case FeldTyp::Time:
    case FeldTyp::AutoInc:
        return g == 4;
    case FeldTyp::Short:
        return g == 2;
    case FeldTyp::Currency:
    case FeldTyp::Number:
    case FeldTyp::Timestamp:
        return g == 8;
    case FeldTyp::Logical:
        return g == 1;
    case FeldTyp::Bcd:
        return g == 17;
    // Memo and binary fields: a 10-byte reference to the .MB file plus a leader.
    case FeldTyp::Memo:
    case FeldTyp::Blob:
    case FeldTyp::FmtMemo:
    case FeldTyp::Ole:
    case FeldTyp::Graphic:
        return g >= 10 && g <= 255;
    }
    return false;
}

// Whether a table is encrypted, read as writers fill the header: 3.x tables
// keep the encryption value at 0x25; later ones put the marker there and
// the value at 0x5C. A 4.x+ table with 0 at 0x25 (some writers leave the
// marker out) is not encrypted; any other value there is taken as an
// encryption value.
bool verschluesselt(const uchar* p, bool erweitert)
{
    const std::uint32_t erster = le32(p + kVerschluesselung1);
    if (erweitert && erster == kVerschluesselungAnderswo)
        return le32(p + kVerschluesselung2) != 0;
    return erster != 0;
}

// The largest file a table can be: 16-bit block numbers, blocks of 32 KB.
constexpr qint64 kGroessteDatei = 0xFFFF + qint64 {0xFFFF} * 32 * 1024;

} // namespace

struct ParadoxTabelle::Daten {
    // The table in memory (ausBytes), or its header (at most 64 KB) when
    // the table is read from a file block by block.
    QByteArray bytes;
    std::unique_ptr<QFile> datei;
    QString dateiName;
    mutable QByteArray puffer; // the block last read from the file
    const uchar* p = nullptr;  // the header
    qint64 groesse = 0;        // of the whole table (file), as far as block numbers reach

    int satzGroesse = 0;
    int kopfGroesse = 0;
    int blockGroesse = 0;
    int ersterBlock = 0;
    std::int64_t anzahl = 0;
    // The alpha text's code page; invalid (Latin-1) when none is known.
    mutable QStringDecoder zeichensatz;
    // Qt for Windows is built without ICU and knows no DOS code page: there
    // Windows decodes them (0: none).
    unsigned windowsCodepage = 0;
    std::vector<Feld> felder;
    std::vector<int> feldOffset;

    QString text(const uchar* s, int n) const
    {
        int laenge = 0;
        while (laenge < n && s[laenge] != 0)
            ++laenge;
        const QByteArrayView roh(s, laenge);
#ifdef _WIN32
        if (windowsCodepage != 0 && laenge > 0) {
            // 858 is 850 with the euro sign in place of the dotless i (0xD5);
            // not every Windows version knows it by its number.
            const unsigned cp = windowsCodepage == 858 ? 850 : windowsCodepage;
            const auto* b = reinterpret_cast<const char*>(s);
            QString t(MultiByteToWideChar(cp, 0, b, laenge, nullptr, 0), Qt::Uninitialized);
            MultiByteToWideChar(cp, 0, b, laenge, reinterpret_cast<wchar_t*>(t.data()), static_cast<int>(t.size()));
            for (int i = 0; windowsCodepage == 858 && i < laenge && i < t.size(); ++i)
                if (s[i] == 0xD5)
                    t[i] = QChar(0x20AC);
            return t;
        }
#endif
        return zeichensatz.isValid() ? zeichensatz.decode(roh) : QString::fromLatin1(roh);
    }

    QVariant wert(const Feld& f, const uchar* s) const;
    void kopfLesen();
    // `laenge` bytes from `anfang` (inside the table's size).
    const uchar* abschnitt(qint64 anfang, qint64 laenge) const;
    bool namenLesen(int start, int ende);
};

QVariant ParadoxTabelle::Daten::wert(const Feld& f, const uchar* s) const
{
    const int n = f.groesse;
    if (alleNull(s, n))
        return QVariant();
    switch (f.typ) {
    case FeldTyp::Alpha:
        // Paradox knows no empty text apart from Null.
        return s[0] == 0 ? QVariant() : QVariant(text(s, n));
    case FeldTyp::Short:
    case FeldTyp::Long:
    case FeldTyp::AutoInc:
        return QVariant::fromValue<qint64>(ganzeZahl(s, n));
    case FeldTyp::Number:
    case FeldTyp::Currency:
        return kommaZahl(s);
    case FeldTyp::Logical:
        return s[0] != 0x80;
    case FeldTyp::Date: {
        const QDate d = datumAusTagen(ganzeZahl(s, 4));
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FeldTyp::Time: {
        const std::int64_t ms = ganzeZahl(s, 4);
        if (ms < 0 || ms >= kMsProTag)
            return QVariant(); // no time of day: treated like Null
        return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
    }
    case FeldTyp::Timestamp: {
        const double ms = kommaZahl(s);
        // Beyond ±10^17 ms (about 3 million years) nothing is a real moment.
        if (!std::isfinite(ms) || std::fabs(ms) > 1e17)
            return QVariant();
        const auto ganz = static_cast<std::int64_t>(std::floor(ms));
        std::int64_t tage = ganz / kMsProTag;
        std::int64_t rest = ganz % kMsProTag;
        if (rest < 0) {
            rest += kMsProTag;
            --tage;
        }
        const QDate d = datumAusTagen(tage);
        if (!d.isValid())
            return QVariant();
        // Paradox keeps no time zone: the wall clock is carried as UTC so
        // that no daylight-saving rule can shift it.
        return QDateTime(d, QTime::fromMSecsSinceStartOfDay(static_cast<int>(rest)), QTimeZone::utc());
    }
    default:
        return QByteArray(reinterpret_cast<const char*>(s), n);
    }
}

bool ParadoxTabelle::Daten::namenLesen(int start, int ende)
{
    std::vector<QString> namen;
    int pos = start;
    for (size_t i = 0; i < felder.size(); ++i) {
        const int anfang = pos;
        while (pos < ende && p[pos] != 0)
            ++pos;
        if (pos >= ende || pos == anfang)
            return false;
        namen.push_back(text(p + anfang, pos - anfang));
        ++pos;
    }
    for (size_t i = 0; i < felder.size(); ++i)
        felder[i].name = namen[i];
    return true;
}

void ParadoxTabelle::Daten::kopfLesen()
{
    p = reinterpret_cast<const uchar*>(bytes.constData());
    if (!datei)
        groesse = bytes.size();
    if (groesse > kGroessteDatei)
        groesse = kGroessteDatei; // bytes no block number reaches
    if (groesse < kFeldListeAlt)
        beschaedigt(
            QStringLiteral("die Datei ist kürzer als der Kopf einer Paradox-Tabelle (%1 Bytes)").arg(groesse));

    const int version = p[kVersion];
    if (version < kVersionMin || version > kVersionMax)
        throw ParadoxFehler(
            QStringLiteral("Die Datei ist keine Paradox-Tabelle der Versionen 3 bis 7 (Versionskennung %1).")
                .arg(version));
    const int dateiTyp = p[kDateiTyp];
    if (dateiTyp != 0 && dateiTyp != 2)
        throw ParadoxFehler(
            QStringLiteral(
                "Die Datei ist keine Paradox-Datentabelle, sondern eine andere Paradox-Datei (Dateityp %1).")
                .arg(dateiTyp));
    const bool erweitert = version >= kVersionMitErweiterung;
    const int feldListe = erweitert ? kFeldListeNeu : kFeldListeAlt;
    if (groesse < feldListe)
        beschaedigt(
            QStringLiteral("die Datei ist kürzer als der Kopf einer Paradox-Tabelle (%1 Bytes)").arg(groesse));

    if (verschluesselt(p, erweitert))
        throw ParadoxFehler(QStringLiteral(
            "Die Paradox-Tabelle ist mit einem Kennwort verschlüsselt und kann nicht gelesen werden."));

    kopfGroesse = le16(p + kKopfGroesse);
    if (kopfGroesse > groesse)
        beschaedigt(QStringLiteral("der Dateikopf (%1 Bytes) ist größer als die Datei (%2 Bytes)")
                        .arg(kopfGroesse)
                        .arg(groesse));

    const int blockKB = p[kBlockKB];
    if (blockKB < 1 || blockKB > 32)
        beschaedigt(QStringLiteral("die Blockgröße %1 KB ist ungültig").arg(blockKB));
    blockGroesse = blockKB * 1024;

    const int feldAnzahl = static_cast<std::int16_t>(le16(p + kFeldAnzahl));
    if (feldAnzahl < 1 || feldAnzahl > 255)
        beschaedigt(QStringLiteral("die Zahl der Felder (%1) ist ungültig").arg(feldAnzahl));
    if (feldListe + 2 * feldAnzahl > kopfGroesse)
        beschaedigt(QStringLiteral("die Feldliste passt nicht in den Dateikopf"));

    satzGroesse = le16(p + kSatzGroesse);
    int summe = 0;
    felder.reserve(feldAnzahl);
    feldOffset.reserve(feldAnzahl);
    for (int i = 0; i < feldAnzahl; ++i) {
        const int typ = p[feldListe + 2 * i];
        const int g = p[feldListe + 2 * i + 1];
        if (!bekannterTyp(typ))
            beschaedigt(QStringLiteral("Feld %1 hat den unbekannten Typ %2").arg(i + 1).arg(typ));
        const auto t = static_cast<FeldTyp>(typ);
        if (!passendeGroesse(t, g))
            beschaedigt(
                QStringLiteral("Feld %1 (%2) hat die unpassende Größe %3").arg(i + 1).arg(typName(t)).arg(g));
        felder.push_back(Feld {QString(), t, g});
        feldOffset.push_back(summe);
        summe += g;
    }
    if (summe != satzGroesse)
        beschaedigt(QStringLiteral("die Feldgrößen (zusammen %1 Bytes) passen nicht zur Satzgröße %2")
                        .arg(summe)
                        .arg(satzGroesse));
    if (satzGroesse > blockGroesse - kBlockKopf)
        beschaedigt(QStringLiteral("die Satzgröße %1 passt nicht in einen Datenblock von %2 Bytes")
                        .arg(satzGroesse)
                        .arg(blockGroesse));

    const char* name = erweitert ? codepageName(le16(p + kCodepage)) : "";
    if (*name)
        zeichensatz = QStringDecoder(name, QStringConverter::Flag::Stateless);
#ifdef _WIN32
    if (*name && !zeichensatz.isValid())
        windowsCodepage = le16(p + kCodepage);
#endif

    // After the field list: the table-name pointer, one name pointer per
    // field, the table name in a fixed area (79 bytes; 261 in 7.x tables),
    // then the field names, each ending in a zero byte. Should a table carry
    // the other length of name area, that one is tried as well.
    const int nachZeigern = feldListe + 2 * feldAnzahl + 4 + 4 * feldAnzahl;
    const int kurz = 79, lang = 261;
    const int zuerst = version >= 0x0C ? lang : kurz;
    const int dann = zuerst == kurz ? lang : kurz;
    if (!namenLesen(nachZeigern + zuerst, kopfGroesse) && !namenLesen(nachZeigern + dann, kopfGroesse))
        beschaedigt(QStringLiteral("die Feldnamen fehlen oder sind unvollständig"));

    anzahl = le32(p + kAnzahl);
    ersterBlock = le16(p + kErsterBlock);
}

ParadoxTabelle::ParadoxTabelle(std::unique_ptr<Daten> d) : m_d(std::move(d))
{
}
ParadoxTabelle::ParadoxTabelle(ParadoxTabelle&&) noexcept = default;
ParadoxTabelle& ParadoxTabelle::operator=(ParadoxTabelle&&) noexcept = default;
ParadoxTabelle::~ParadoxTabelle() = default;

namespace {

QString keineDateiText(const QString& datei, const QString& was)
{
    return QStringLiteral("Die Paradox-Tabelle %1 kann nicht gelesen werden: sie ist keine Datei, sondern %2.")
        .arg(QDir::toNativeSeparators(datei), was);
}

} // namespace

ParadoxTabelle ParadoxTabelle::oeffnen(const QString& datei)
{
    const QString nativ = QDir::toNativeSeparators(datei);
    const QFileInfo info(datei);
    if (info.isDir())
        throw ParadoxFehler(keineDateiText(datei, QStringLiteral("ein Ordner")));
    auto f = std::make_unique<QFile>(datei);
#ifdef Q_OS_UNIX
    // Without O_NONBLOCK, opening a FIFO would wait for a writer for ever;
    // only a regular file is read.
    const int fd = ::open(QFile::encodeName(datei).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw ParadoxFehler(QStringLiteral("Die Paradox-Tabelle %1 kann nicht geöffnet werden.").arg(nativ));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw ParadoxFehler(keineDateiText(datei, QStringLiteral("ein Gerät, eine Pipe oder ein Socket")));
    }
    if (!f->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw ParadoxFehler(QStringLiteral("Die Paradox-Tabelle %1 kann nicht geöffnet werden.").arg(nativ));
    }
#else
    if (info.exists() && !info.isFile())
        throw ParadoxFehler(keineDateiText(datei, QStringLiteral("ein Gerät")));
    if (!f->open(QIODevice::ReadOnly))
        throw ParadoxFehler(QStringLiteral("Die Paradox-Tabelle %1 kann nicht geöffnet werden.").arg(nativ));
#endif
    // Only the header is kept in memory (it lies within the first 64 KB);
    // the data blocks are read one at a time, so that a table of any size
    // needs no more memory than one block.
    auto d = std::make_unique<Daten>();
    d->bytes = f->read(0x10000);
    if (f->error() != QFileDevice::NoError)
        throw ParadoxFehler(QStringLiteral("Die Paradox-Tabelle %1 kann nicht gelesen werden.").arg(nativ));
    d->groesse = std::max<qint64>(f->size(), d->bytes.size());
    d->dateiName = nativ;
    d->datei = std::move(f);
    d->kopfLesen();
    return ParadoxTabelle(std::move(d));
}

const uchar* ParadoxTabelle::Daten::abschnitt(qint64 anfang, qint64 laenge) const
{
    if (!datei)
        return p + anfang;
    puffer.resize(laenge);
    if (!datei->seek(anfang) || datei->read(puffer.data(), laenge) != laenge)
        throw ParadoxFehler(QStringLiteral("Die Paradox-Tabelle %1 kann nicht gelesen werden: die Datei endet "
                                           "früher als erwartet oder der Datenträger meldet einen Fehler.")
                                .arg(dateiName));
    return reinterpret_cast<const uchar*>(puffer.constData());
}

ParadoxTabelle ParadoxTabelle::ausBytes(QByteArray bytes)
{
    auto d = std::make_unique<Daten>();
    d->bytes = std::move(bytes);
    d->kopfLesen();
    return ParadoxTabelle(std::move(d));
}

const std::vector<Feld>& ParadoxTabelle::felder() const
{
    return m_d->felder;
}

std::int64_t ParadoxTabelle::anzahl() const
{
    return m_d->anzahl;
}

void ParadoxTabelle::lesen(const std::function<void(const Satz&)>& proSatz) const
{
    const Daten& d = *m_d;
    const int maxProBlock = (d.blockGroesse - kBlockKopf) / d.satzGroesse;
    std::vector<bool> besucht(0x10000, false);
    Satz satz(d.felder.size());
    std::int64_t gefunden = 0;

    int block = d.ersterBlock;
    while (block != 0) {
        if (besucht[block])
            beschaedigt(QStringLiteral("die Kette der Datenblöcke kehrt zu Block %1 zurück").arg(block));
        besucht[block] = true;
        const qint64 anfang = d.kopfGroesse + qint64 {block - 1} * d.blockGroesse;
        if (anfang + kBlockKopf > d.groesse)
            beschaedigt(QStringLiteral("Datenblock %1 liegt außerhalb der Datei").arg(block));
        const uchar* b = d.abschnitt(anfang, std::min<qint64>(d.blockGroesse, d.groesse - anfang));
        const int naechster = le16(b);
        // Offset of the block's last record; negative in an empty block.
        const int letzter = static_cast<std::int16_t>(le16(b + 4));
        const int imBlock = letzter < 0 ? 0 : letzter / d.satzGroesse + 1;
        if (imBlock > maxProBlock)
            beschaedigt(QStringLiteral("Datenblock %1 gibt %2 Datensätze an, es passen höchstens %3 hinein")
                            .arg(block)
                            .arg(imBlock)
                            .arg(maxProBlock));
        if (anfang + kBlockKopf + qint64 {imBlock} * d.satzGroesse > d.groesse)
            beschaedigt(QStringLiteral("Datenblock %1 reicht über das Ende der Datei hinaus").arg(block));
        if (gefunden + imBlock > d.anzahl)
            beschaedigt(QStringLiteral("die Datenblöcke enthalten mehr Datensätze, als der Dateikopf nennt (%1)")
                            .arg(d.anzahl));

        const uchar* s = b + kBlockKopf;
        for (int r = 0; r < imBlock; ++r, s += d.satzGroesse) {
            for (size_t i = 0; i < d.felder.size(); ++i)
                satz[i] = d.wert(d.felder[i], s + d.feldOffset[i]);
            proSatz(satz);
        }
        gefunden += imBlock;
        block = naechster;
    }
    if (gefunden != d.anzahl)
        beschaedigt(
            QStringLiteral("gefunden wurden %1 Datensätze, der Dateikopf nennt %2").arg(gefunden).arg(d.anzahl));
}

} // namespace orve::paradox
