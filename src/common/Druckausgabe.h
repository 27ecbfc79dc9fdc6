#pragma once

#include <QString>

#include <functional>

class QPageLayout;
class QPagedPaintDevice;
class QWidget;

namespace orve {

// Where "Drucken…" of a document window goes. The program asks with Qt's
// print dialog and paints on the printer (Druckdialog); a test hands out a
// PDF writer without asking.
class Druckausgabe {
public:
    virtual ~Druckausgabe() = default;

    // Asks where to print (the question above `eltern`), then hands
    // `zeichnen` the device, set to `format` and named `dokument`. Nothing
    // is painted when the question is cancelled.
    virtual void drucken(QWidget* eltern, const QPageLayout& format, const QString& dokument,
                         const std::function<void(QPagedPaintDevice&)>& zeichnen) = 0;
};

} // namespace orve
