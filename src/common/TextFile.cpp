#include "common/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace orve {

QString ausWindows1252(const QByteArray& bytes)
{
    QStringDecoder cp1252("windows-1252", QStringConverter::Flag::Stateless);
    return cp1252.isValid() ? cp1252.decode(bytes) : QString::fromLatin1(bytes);
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
