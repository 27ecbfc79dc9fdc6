#include "common/Berichtsschrift.h"

#include <QFontDatabase>
#include <QStringList>

namespace orve {

QString berichtSchriftart()
{
    static const QString kFamilie = [] {
        const QStringList vorhanden = QFontDatabase::families();
        for (const char* name : {"Arial", "Liberation Sans"})
            if (vorhanden.contains(QLatin1String(name), Qt::CaseInsensitive))
                return QString::fromLatin1(name);
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return kFamilie;
}

} // namespace orve
