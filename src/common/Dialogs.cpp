#include "common/Dialogs.h"

#include <QDir>

namespace orve {

QString zeilen(const QStringList& teile)
{
    return teile.join(CR);
}

QString Dialogs::speichernUnter(const QString& titel, const QString& dateiname, const QString& filter,
                                const QString& endung, const QString& ordner)
{
    const QDir dir = ordner.isEmpty() ? QDir::home() : QDir(ordner);
    return saveFile(FileRequest {titel, QDir::toNativeSeparators(dir.filePath(dateiname)), filter, endung});
}

} // namespace orve
