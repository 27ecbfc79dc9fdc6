#include "common/Druckdialog.h"

#include "common/BusyCursor.h"

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

namespace orve {

void mitDruckdialogDrucken(QWidget* eltern, const QPageLayout& format, const QString& dokument,
                           const std::function<void(QPrinter&)>& zeichnen)
{
    QPrinter drucker(QPrinter::HighResolution);
    drucker.setPageLayout(format);
    drucker.setDocName(dokument);
    QPrintDialog dialog(&drucker, eltern);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    BusyCursor warten;
    zeichnen(drucker);
}

} // namespace orve
