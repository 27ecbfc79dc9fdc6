#include "common/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace orve {

// Written out rather than asked of Qt: Qt built without ICU (as for
// Windows) knows no Windows-1252. The five unused bytes stay C1 controls.
QString ausWindows1252(const QByteArray& bytes)
{
    static constexpr char16_t k80bis9F[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                              0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text = QString::fromLatin1(bytes);
    for (QChar& c : text)
        if (c.unicode() >= 0x80 && c.unicode() <= 0x9F)
            c = QChar(k80bis9F[c.unicode() - 0x80]);
    return text;
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
    const auto ende =
        bytes.indexOf('\r') >= 0 && (bytes.indexOf('\n') < 0 || bytes.indexOf('\r') < bytes.indexOf('\n'))
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
    // A program folder an administrator installed may refuse new files
    // while the settings file itself is writable: then the file is written
    // in place (no longer all or nothing, but the setting is kept).
    f.setDirectWriteFallback(true);
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

QString gemerkterOrdner(const QString& ordnerDatei)
{
    const auto gemerkt = ordnerDatei.isEmpty() ? std::nullopt : ersteZeileLesen(ordnerDatei);
    return gemerkt && !gemerkt->isEmpty() && QFileInfo(*gemerkt).isDir() ? *gemerkt : QString();
}

void ordnerMerken(const QString& ordnerDatei, const QString& ordner)
{
    if (!ordnerDatei.isEmpty())
        zeileSchreiben(ordnerDatei, QDir::toNativeSeparators(QFileInfo(ordner).absoluteFilePath()));
}

} // namespace orve
