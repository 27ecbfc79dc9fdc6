#pragma once

#include "report/Telefonkostenauswertung.h"

#include <QWidget>

#include <memory>

class QAction;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;
class QSpinBox;

namespace orve {

class Dialogs;

// The report window "Datenbericht1", not modal: the pages of the report
// with zoom and page navigation, "Drucken…" (the print dialog), "Als PDF
// speichern…", "Als CSV speichern…" (file names asked through Dialogs) and
// "Schließen". It deletes
// itself when closed. Actions carry their names as objectName (Drucken,
// AlsPdfSpeichern, AlsCsvSpeichern, Schliessen, Vergroessern, Verkleinern, Seitenbreite,
// GanzeSeite, ErsteSeite, VorigeSeite, NaechsteSeite, LetzteSeite); the
// page view is "Vorschau", the page number "Seitennummer".
class BerichtFenster : public QWidget {
    Q_OBJECT
public:
    BerichtFenster(Telefonkostenauswertung bericht, Dialogs& dialogs, QWidget* parent = nullptr);
    ~BerichtFenster() override;

    QPrintPreviewWidget* vorschau() const { return m_vorschau; }

    // The commands behind the tool bar.
    void drucken();
    void alsPdfSpeichern();
    void alsCsvSpeichern();

private:
    void blaettern(int seite);
    void seitenAnzeigen();
    void vorschauZeichnen(QPrinter* drucker);
    QAction* aktion(const QString& name, const QString& text, const QKeySequence& kurz = {});

    Telefonkostenauswertung m_bericht;
    Dialogs& m_dialogs;
    std::unique_ptr<QPrinter> m_vorschauDrucker;
    QPrintPreviewWidget* m_vorschau = nullptr;
    QSpinBox* m_seite = nullptr;
    QLabel* m_seitenzahl = nullptr;
};

} // namespace orve
