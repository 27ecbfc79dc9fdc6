#include "report/BerichtFenster.h"

#include "report/CsvExport.h"

#include "common/BefehlAusfuehren.h"
#include "common/BusyCursor.h"
#include "common/Dialogs.h"
#include "common/Druckdialog.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace orve {

namespace {
const QString kPdfName = QStringLiteral("Telefonkostenauswertung.pdf");
const QString kCsvName = QStringLiteral("Telefonkostenauswertung.csv");
}

BerichtFenster::BerichtFenster(Telefonkostenauswertung bericht, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_bericht(std::move(bericht)), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("Datenbericht1"));
    setWindowTitle(QStringLiteral("Datenbericht1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal);

    m_vorschauDrucker = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
    m_vorschauDrucker->setPageLayout(Telefonkostenauswertung::seitenformat());
    m_vorschauDrucker->setDocName(QStringLiteral("Telefonkostenauswertung"));

    auto* leiste = new QToolBar(this);
    leiste->setObjectName(QStringLiteral("Werkzeugleiste"));
    leiste->setToolButtonStyle(Qt::ToolButtonTextOnly);

    m_vorschau = new QPrintPreviewWidget(m_vorschauDrucker.get(), this);
    m_vorschau->setObjectName(QStringLiteral("Vorschau"));
    m_vorschau->setViewMode(QPrintPreviewWidget::SinglePageView);
    connect(m_vorschau, &QPrintPreviewWidget::paintRequested, this, &BerichtFenster::vorschauZeichnen);
    connect(m_vorschau, &QPrintPreviewWidget::previewChanged, this, &BerichtFenster::seitenAnzeigen);

    QAction* drucken = aktion(QStringLiteral("Drucken"), QStringLiteral("Drucken…"), QKeySequence::Print);
    connect(drucken, &QAction::triggered, this, [this] { befehlAusfuehren(m_dialogs, [this] { this->drucken(); }); });
    QAction* pdf = aktion(QStringLiteral("AlsPdfSpeichern"), QStringLiteral("Als PDF speichern…"),
                          QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(pdf, &QAction::triggered, this, [this] { befehlAusfuehren(m_dialogs, [this] { alsPdfSpeichern(); }); });
    QAction* csv = aktion(QStringLiteral("AlsCsvSpeichern"), QStringLiteral("Als CSV speichern…"));
    connect(csv, &QAction::triggered, this, [this] { befehlAusfuehren(m_dialogs, [this] { alsCsvSpeichern(); }); });
    QAction* schliessen = aktion(QStringLiteral("Schliessen"), QStringLiteral("Schließen"), QKeySequence(Qt::Key_Escape));
    connect(schliessen, &QAction::triggered, this, &QWidget::close);
    leiste->addAction(drucken);
    leiste->addAction(pdf);
    leiste->addAction(csv);
    leiste->addAction(schliessen);
    leiste->addSeparator();

    QAction* erste = aktion(QStringLiteral("ErsteSeite"), QStringLiteral("|<"), QKeySequence(Qt::CTRL | Qt::Key_Home));
    erste->setToolTip(QStringLiteral("Erste Seite"));
    connect(erste, &QAction::triggered, this, [this] { blaettern(1); });
    QAction* vorige = aktion(QStringLiteral("VorigeSeite"), QStringLiteral("<"), QKeySequence(Qt::Key_PageUp));
    vorige->setToolTip(QStringLiteral("Vorige Seite"));
    connect(vorige, &QAction::triggered, this, [this] { blaettern(m_vorschau->currentPage() - 1); });
    m_seite = new QSpinBox(this);
    m_seite->setObjectName(QStringLiteral("Seitennummer"));
    m_seite->setMinimum(1);
    m_seite->setKeyboardTracking(false);
    connect(m_seite, &QSpinBox::valueChanged, this, [this](int s) { blaettern(s); });
    m_seitenzahl = new QLabel(this);
    m_seitenzahl->setObjectName(QStringLiteral("Seitenzahl"));
    QAction* naechste = aktion(QStringLiteral("NaechsteSeite"), QStringLiteral(">"), QKeySequence(Qt::Key_PageDown));
    naechste->setToolTip(QStringLiteral("Nächste Seite"));
    connect(naechste, &QAction::triggered, this, [this] { blaettern(m_vorschau->currentPage() + 1); });
    QAction* letzte = aktion(QStringLiteral("LetzteSeite"), QStringLiteral(">|"), QKeySequence(Qt::CTRL | Qt::Key_End));
    letzte->setToolTip(QStringLiteral("Letzte Seite"));
    connect(letzte, &QAction::triggered, this, [this] { blaettern(m_vorschau->pageCount()); });
    leiste->addAction(erste);
    leiste->addAction(vorige);
    leiste->addWidget(new QLabel(QStringLiteral(" Seite "), this));
    leiste->addWidget(m_seite);
    leiste->addWidget(m_seitenzahl);
    leiste->addAction(naechste);
    leiste->addAction(letzte);
    leiste->addSeparator();

    QAction* groesser = aktion(QStringLiteral("Vergroessern"), QStringLiteral("Vergrößern"), QKeySequence::ZoomIn);
    connect(groesser, &QAction::triggered, m_vorschau, [this] { m_vorschau->zoomIn(); });
    QAction* kleiner = aktion(QStringLiteral("Verkleinern"), QStringLiteral("Verkleinern"), QKeySequence::ZoomOut);
    connect(kleiner, &QAction::triggered, m_vorschau, [this] { m_vorschau->zoomOut(); });
    QAction* breite = aktion(QStringLiteral("Seitenbreite"), QStringLiteral("Seitenbreite"));
    connect(breite, &QAction::triggered, m_vorschau, &QPrintPreviewWidget::fitToWidth);
    QAction* ganz = aktion(QStringLiteral("GanzeSeite"), QStringLiteral("Ganze Seite"));
    connect(ganz, &QAction::triggered, m_vorschau, &QPrintPreviewWidget::fitInView);
    leiste->addAction(groesser);
    leiste->addAction(kleiner);
    leiste->addAction(breite);
    leiste->addAction(ganz);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(leiste);
    layout->addWidget(m_vorschau, 1);

    // Tall enough for a readable page, within the screen.
    QSize groesse(1000, 1000);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        groesse = groesse.boundedTo(s->availableGeometry().size() * 0.9);
    resize(groesse);
    m_vorschau->fitToWidth();
}

BerichtFenster::~BerichtFenster() = default;

QAction* BerichtFenster::aktion(const QString& name, const QString& text, const QKeySequence& kurz)
{
    auto* a = new QAction(text, this);
    a->setObjectName(name);
    if (!kurz.isEmpty()) {
        a->setShortcut(kurz);
        a->setShortcutContext(Qt::WindowShortcut);
    }
    addAction(a);
    return a;
}

void BerichtFenster::vorschauZeichnen(QPrinter* drucker)
{
    // Called from the event loop: no exception may leave.
    befehlAusfuehren(m_dialogs, [&] {
        BusyCursor warten;
        m_bericht.zeichnen(*drucker);
    });
}

void BerichtFenster::blaettern(int seite)
{
    m_vorschau->setCurrentPage(std::clamp(seite, 1, std::max(1, m_vorschau->pageCount())));
    seitenAnzeigen();
}

void BerichtFenster::seitenAnzeigen()
{
    const int n = m_vorschau->pageCount();
    const QSignalBlocker sperre(m_seite);
    m_seite->setMaximum(std::max(1, n));
    m_seite->setValue(m_vorschau->currentPage());
    m_seitenzahl->setText(QStringLiteral(" von %1 ").arg(n));
}

void BerichtFenster::drucken()
{
    mitDruckdialogDrucken(this, Telefonkostenauswertung::seitenformat(), QStringLiteral("Telefonkostenauswertung"),
                          [this](QPrinter& drucker) { m_bericht.zeichnen(drucker); });
}

void BerichtFenster::alsPdfSpeichern()
{
    const QString datei = m_dialogs.speichernUnter(QStringLiteral("Als PDF speichern"), kPdfName,
                                                   QStringLiteral("PDF-Dateien (*.pdf)"), QStringLiteral("pdf"));
    if (datei.isEmpty())
        return;
    BusyCursor warten;
    berichtAlsPdfSchreiben(m_bericht, datei);
}

void BerichtFenster::alsCsvSpeichern()
{
    const QString datei = m_dialogs.speichernUnter(QStringLiteral("Als CSV speichern"), kCsvName,
                                                   QStringLiteral("CSV-Dateien (*.csv)"), QStringLiteral("csv"));
    if (datei.isEmpty())
        return;
    BusyCursor warten;
    csvSchreiben(m_bericht.daten(), datei, m_bericht.optionen().rufnummernGekuerzt);
}

} // namespace orve
