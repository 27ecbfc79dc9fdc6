#pragma once

#include "report/BerichtDaten.h"
#include "report/BerichtLayout.h"
#include "report/Seitenumbruch.h"

#include <QPageLayout>
#include <QRect>
#include <QString>

#include <cstddef>
#include <vector>

class QFontMetricsF;
class QPagedPaintDevice;

namespace orve {

// One thing painted on a page: a control's text in its box, or a
// horizontal line. Twips from the top left corner of the printable area.
struct Zeichnung {
    QString name; // the control's name ("Text8", "Bezeichnung5", "Linie1")
    bool linie = false;
    QRect rechteck;
    QString text;
    bool titel = false;         // bold 12 point
    int schrift = 0;            // a smaller size in twips for a text wider than its field; 0: the normal size
    bool rechtsbuendig = false; // the text ends at the box's right edge
};

// The cost report: the grouped calls laid out in the five sections of its
// layout, page by page. Built once per report run; the start steps (VAT
// caption, OhneMwst) are applied on construction.
//
// The same pages go to the screen, the printer and PDF: zeichnen() paints
// them onto any paged device (QPrinter, QPdfWriter), one page after the
// other, so memory does not grow with the number of pages. Painting needs a
// QGuiApplication (fonts).
class Telefonkostenauswertung {
public:
    Telefonkostenauswertung(BerichtDaten daten, BerichtOptionen optionen);

    const BerichtDaten& daten() const { return m_daten; }
    const BerichtOptionen& optionen() const { return m_optionen; }

    // The page the report is laid out on unless a printer dialog chose
    // another: A4 portrait, margins 25 mm left, 15 mm elsewhere.
    static QPageLayout seitenformat();

    // The pages for a printable height in twips.
    Seiteneinteilung seitenEinteilen(int seitenhoehe) const;

    // What page `index` (from 0) of `einteilung` shows.
    std::vector<Zeichnung> seite(const Seiteneinteilung& einteilung, std::size_t index) const;

    // Paints every page onto the device, in the device's page layout, and
    // returns the number of pages. Throws BerichtFehler when the device
    // cannot be painted on.
    std::size_t zeichnen(QPagedPaintDevice& geraet) const;

private:
    void bereichAufnehmen(std::vector<Zeichnung>& z, const Bereich& b, int y, const BerichtGruppe* gruppe,
                          const BerichtAnruf* anruf, std::size_t seite, std::size_t seiten,
                          const QFontMetricsF& normal) const;

    BerichtDaten m_daten;
    BerichtOptionen m_optionen;
    BerichtLayout m_layout;
};

// Writes the report as a PDF file (A4). The file appears complete or not at
// all; an existing file is replaced only by a complete one, a folder, device
// or FIFO of that name never. Throws BerichtFehler (painting) or
// Ausgabefehler (writing) with a German text.
void berichtAlsPdfSchreiben(const Telefonkostenauswertung& bericht, const QString& datei);

} // namespace orve
