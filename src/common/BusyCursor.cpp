#include "common/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace orve {

BusyCursor::BusyCursor()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        m_active = true;
    }
}

BusyCursor::~BusyCursor()
{
    if (m_active)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace orve
