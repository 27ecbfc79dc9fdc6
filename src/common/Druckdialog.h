#pragma once

#include "common/Druckausgabe.h"

namespace orve {

// The program's printing: Qt's print dialog for a printer set to the page
// format; a cancelled dialog prints nothing.
class Druckdialog final : public Druckausgabe {
public:
    void drucken(QWidget* eltern, const QPageLayout& format, const QString& dokument,
                 const std::function<void(QPagedPaintDevice&)>& zeichnen) override;
};

// The one Druckdialog the windows print through unless they are handed another.
Druckausgabe& druckdialog();

} // namespace orve
