#include "common/Dialogs.h"

namespace orve {

QString zeilen(const QStringList& teile)
{
    return teile.join(CR);
}

} // namespace orve
