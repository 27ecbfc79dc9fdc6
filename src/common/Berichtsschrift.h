#pragma once

#include <QString>

namespace orve {

// The font family of the printed documents (the cost report, the tariff
// check): Arial, else the metric-compatible Liberation Sans, else the
// system's sans serif font. Needs a QGuiApplication.
QString berichtSchriftart();

} // namespace orve
