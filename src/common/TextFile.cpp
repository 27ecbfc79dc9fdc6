#include "common/TextFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace orve {

QString ausWindows1252(const QByteArray& bytes)
{
    // 0x80..0x9F; 0 where Windows-1252 leaves the byte undefined (kept as is).
    static const char16_t hoch[32] = {
        0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
        0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    QString s;
    s.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b <= 0x9F && hoch[b - 0x80] != 0)
            s.append(QChar(hoch[b - 0x80]));
        else
            s.append(QChar(b));
    }
    return s;
}

std::optional<QString> ersteZeileLesen(const QString& pfad)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const auto ende = bytes.indexOf('\r') >= 0 && (bytes.indexOf('\n') < 0 || bytes.indexOf('\r') < bytes.indexOf('\n'))
        ? bytes.indexOf('\r')
        : bytes.indexOf('\n');
    if (ende >= 0)
        bytes.truncate(ende);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = ausWindows1252(bytes);
    return text;
}

bool zeileSchreiben(const QString& pfad, const QString& zeile)
{
    QSaveFile f(pfad);
    // Unbuffered, so that a write that fails (disk full, size limit) is seen
    // here and the old file stays, instead of a cut-off file being committed.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray daten = zeile.toUtf8() + "\r\n";
    if (f.write(daten) != daten.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace orve
