#pragma once

#include "common/Druckausgabe.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QProcess>

#include <optional>

namespace orve::test {

// Prints without asking into a PDF in memory: the PDF of the last print job
// and its pages as painted.
class PdfDruckausgabe final : public Druckausgabe {
public:
    QByteArray pdf;
    int seiten = 0;

    void drucken(QWidget*, const QPageLayout& format, const QString& dokument,
                 const std::function<void(QPagedPaintDevice&)>& zeichnen) override
    {
        struct Schreiber : QPdfWriter {
            using QPdfWriter::QPdfWriter;
            int seiten = 1;
            bool newPage() override { return ++seiten, QPdfWriter::newPage(); }
        };
        pdf.clear();
        QBuffer puffer(&pdf);
        puffer.open(QIODevice::WriteOnly);
        Schreiber schreiber(&puffer);
        schreiber.setPageLayout(format);
        schreiber.setTitle(dokument);
        zeichnen(schreiber);
        seiten = schreiber.seiten;
    }
};

// The text of a PDF, where pdftotext is installed.
inline std::optional<QString> pdfText(const QByteArray& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-"), QStringLiteral("-")});
    if (!p.waitForStarted())
        return std::nullopt;
    p.write(pdf);
    p.closeWriteChannel();
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace orve::test
