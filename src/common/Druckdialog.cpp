#include "common/Druckdialog.h"

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

namespace orve {

void Druckdialog::drucken(QWidget* eltern, const QPageLayout& format, const QString& dokument,
                          const std::function<void(QPagedPaintDevice&)>& zeichnen)
{
    QPrinter drucker(QPrinter::HighResolution);
    drucker.setPageLayout(format);
    drucker.setDocName(dokument);
    QPrintDialog dialog(&drucker, eltern);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    zeichnen(drucker);
}

Druckausgabe& druckdialog()
{
    static Druckdialog dialog;
    return dialog;
}

} // namespace orve
