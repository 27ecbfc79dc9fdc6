#pragma once

#include <QString>

namespace orve {

// The product name, used alone as the title of many message boxes.
inline const QString kProduktName = QStringLiteral("ORVE-Tarifo");

// "ORVE-Tarifo V2.01": product name, " V", major, ".", then minor and revision
// written one after the other. Main window and tariff editor carry it.
QString programmCaption();

// "2.0.1", as the start-up window shows it after "Version: ".
QString versionText();

} // namespace orve
