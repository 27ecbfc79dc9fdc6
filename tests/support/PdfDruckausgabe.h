#pragma once

#include "common/Druckausgabe.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QProcess>

#include <optional>

namespace orve::test {

// Prints without asking into a PDF in memory: the last print job.
struct PdfDruckausgabe final : Druckausgabe {
    QByteArray pdf;

    void drucken(QWidget*, const QPageLayout& format, const QString&,
                 const std::function<void(QPagedPaintDevice&)>& zeichnen) override
    {
        QBuffer puffer(&pdf);
        puffer.open(QIODevice::WriteOnly);
        QPdfWriter schreiber(&puffer);
        schreiber.setPageLayout(format);
        zeichnen(schreiber);
    }
    qsizetype seiten() const { return pdf.count("/Type /Page\n"); }
};

// The text of a PDF, where pdftotext is installed; with `layout` each line of a page as one line of text.
inline std::optional<QString> pdfText(const QByteArray& pdf, bool layout = false)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), (layout ? QStringList {QStringLiteral("-layout")} : QStringList())
                                             + QStringList {QStringLiteral("-"), QStringLiteral("-")});
    if (!p.waitForStarted())
        return std::nullopt;
    p.write(pdf);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace orve::test
