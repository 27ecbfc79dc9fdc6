#include "common/Version.h"

#include "common/VersionNumbers.h"

namespace orve {

QString programmCaption()
{
    return kProduktName
           + QStringLiteral(" V%1.%2%3").arg(ORVE_VERSION_MAJOR).arg(ORVE_VERSION_MINOR).arg(ORVE_VERSION_PATCH);
}

QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(ORVE_VERSION_MAJOR).arg(ORVE_VERSION_MINOR).arg(ORVE_VERSION_PATCH);
}

} // namespace orve
