#pragma once

#include "report/Telefonkostenauswertung.h"

#include "common/Dokumentfenster.h"

#include <memory>

class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QSpinBox;

namespace orve {

class Dialogs;
class Druckausgabe;

// The report window "Datenbericht1": the pages of the report with zoom and
// page navigation, in a document window with "Drucken…", "Als PDF
// speichern…", "Als CSV speichern…", "Je Nebenstelle speichern…"
// (JeNebenstelleSpeichern: asks for a folder and writes the files of each
// extension into its subfolder named after the period, see JeNebenstelle.h)
// and "Schließen". Beside the document window's actions: Vergroessern, Verkleinern, Seitenbreite, GanzeSeite,
// ErsteSeite, VorigeSeite, NaechsteSeite, LetzteSeite; the page view is
// "Vorschau", the page number "Seitennummer".
class BerichtFenster : public Dokumentfenster {
    Q_OBJECT
public:
    // dateiname: the name the save commands propose, without suffix;
    // ordnerDatei: see Dokumentfenster::Dokument.
    BerichtFenster(Telefonkostenauswertung bericht, Dialogs& dialogs, Druckausgabe& druck,
                   QWidget* parent = nullptr, const QString& dateiname = QStringLiteral("Telefonkostenauswertung"),
                   const QString& ordnerDatei = QString());
    ~BerichtFenster() override;

    QPrintPreviewWidget* vorschau() const { return m_vorschau; }

private:
    void jeNebenstelleSpeichern();
    void blaettern(int seite);
    void seitenAnzeigen();
    void vorschauZeichnen(QPrinter* drucker);

    Telefonkostenauswertung m_bericht;
    std::unique_ptr<QPrinter> m_vorschauDrucker;
    QPrintPreviewWidget* m_vorschau = nullptr;
    QSpinBox* m_seite = nullptr;
    QLabel* m_seitenzahl = nullptr;
};

} // namespace orve
