#pragma once

#include <QString>

#include <functional>

class QPageLayout;
class QPrinter;
class QWidget;

namespace orve {

// "Drucken…" of the report and the tariff check: Qt's print dialog for a
// printer set to the page format, then the document painted under the busy
// pointer. Nothing is printed when the dialog is cancelled.
void mitDruckdialogDrucken(QWidget* eltern, const QPageLayout& format, const QString& dokument,
                           const std::function<void(QPrinter&)>& zeichnen);

} // namespace orve
