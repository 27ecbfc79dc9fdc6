#include "common/AppState.h"

#include <QDir>

namespace orve {

QString AppState::pfadImProgrammordner(const QString& relativ) const
{
    return QDir::toNativeSeparators(QDir(programmOrdner).filePath(relativ));
}

} // namespace orve
