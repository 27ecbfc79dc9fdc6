#include "report/BerichtFenster.h"

#include "report/CsvExport.h"
#include "report/JeNebenstelle.h"

#include "common/BefehlAusfuehren.h"
#include "common/BusyCursor.h"
#include "common/Dialogs.h"
#include "common/Version.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSpinBox>
#include <QToolBar>

#include <algorithm>

namespace orve {

namespace {
const QString kDruckname = QStringLiteral("Telefonkostenauswertung");
} // namespace

BerichtFenster::BerichtFenster(Telefonkostenauswertung bericht, Dialogs& dialogs, Druckausgabe& druck,
                               QWidget* parent, const QString& dateiname, const QString& ordnerDatei)
    : Dokumentfenster({.name = QStringLiteral("Datenbericht1"),
                       .titel = QStringLiteral("Datenbericht1"),
                       .druckname = kDruckname,
                       .seitenformat = Telefonkostenauswertung::seitenformat(),
                       .zeichnen = [this](QPagedPaintDevice& geraet) { m_bericht.zeichnen(geraet); },
                       .speichern = {{QStringLiteral("PDF"), dateiname + QStringLiteral(".pdf"),
                                      QKeySequence(Qt::CTRL | Qt::Key_S),
                                      [this](const QString& datei) { berichtAlsPdfSchreiben(m_bericht, datei); }},
                                     {QStringLiteral("CSV"),
                                      dateiname + QStringLiteral(".csv"),
                                      {},
                                      [this](const QString& datei) {
                                          csvSchreiben(m_bericht.daten(), datei,
                                                       m_bericht.optionen().rufnummernGekuerzt);
                                      }}},
                       .befehle = {{QStringLiteral("JeNebenstelleSpeichern"),
                                    QStringLiteral("Je Nebenstelle speichern…"),
                                    {},
                                    [this] { jeNebenstelleSpeichern(); }}},
                       .ordnerDatei = ordnerDatei},
                      dialogs, druck, parent),
      m_bericht(std::move(bericht))
{
    m_vorschauDrucker = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
    m_vorschauDrucker->setPageLayout(Telefonkostenauswertung::seitenformat());
    m_vorschauDrucker->setDocName(kDruckname);

    m_vorschau = new QPrintPreviewWidget(m_vorschauDrucker.get(), this);
    m_vorschau->setObjectName(QStringLiteral("Vorschau"));
    m_vorschau->setViewMode(QPrintPreviewWidget::SinglePageView);
    connect(m_vorschau, &QPrintPreviewWidget::paintRequested, this, &BerichtFenster::vorschauZeichnen);
    connect(m_vorschau, &QPrintPreviewWidget::previewChanged, this, &BerichtFenster::seitenAnzeigen);

    QToolBar* leiste = ansichtsleiste();

    QAction* erste =
        aktion(QStringLiteral("ErsteSeite"), QStringLiteral("|<"), QKeySequence(Qt::CTRL | Qt::Key_Home));
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
    // Room for the count before the pages are known, so that the window
    // opens wide enough for the whole tool bar.
    m_seitenzahl->setMinimumWidth(m_seitenzahl->fontMetrics().horizontalAdvance(QStringLiteral(" von 99999 ")));
    QAction* naechste =
        aktion(QStringLiteral("NaechsteSeite"), QStringLiteral(">"), QKeySequence(Qt::Key_PageDown));
    naechste->setToolTip(QStringLiteral("Nächste Seite"));
    connect(naechste, &QAction::triggered, this, [this] { blaettern(m_vorschau->currentPage() + 1); });
    QAction* letzte =
        aktion(QStringLiteral("LetzteSeite"), QStringLiteral(">|"), QKeySequence(Qt::CTRL | Qt::Key_End));
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

    // Tall enough for a readable page, within the screen.
    inhaltZeigen(m_vorschau, QSize(1000, 1000));
    m_vorschau->fitToWidth();
}

BerichtFenster::~BerichtFenster() = default;

void BerichtFenster::vorschauZeichnen(QPrinter* drucker)
{
    // Called from the event loop: no exception may leave.
    befehlAusfuehren(dialogs(), [&] {
        BusyCursor warten;
        m_bericht.zeichnen(*drucker);
    });
}

void BerichtFenster::jeNebenstelleSpeichern()
{
    const QString start = gemerkterOrdner();
    const QString ordner =
        dialogs().chooseFolder({QStringLiteral("Je Nebenstelle speichern"),
                                start.isEmpty() ? QDir::toNativeSeparators(QDir::homePath()) : start});
    if (ordner.isEmpty())
        return;
    const QString zeitraum = m_bericht.optionen().zeitraumOrdner;
    jeNebenstellePruefen(ordner, zeitraum);
    const QString ziel = jeNebenstelleOrdner(ordner, zeitraum);
    if (QFileInfo(ziel).isDir()
        && dialogs().message(zeilen({QStringLiteral("Den Ordner %1 gibt es schon.").arg(ziel),
                                     QStringLiteral("Er wird mit allem, was darin liegt, durch die Dateien dieses "
                                                    "Reports ersetzt. Ersetzen?")}),
                             kProduktName, Buttons::YesNo, Icon::None, Answer::No)
               != Answer::Yes)
        return;
    JeNebenstelleErgebnis e;
    {
        BusyCursor warten;
        e = jeNebenstelleSchreiben(m_bericht, ordner);
    }
    ordnerMerken(ordner);
    dialogs().message(
        QStringLiteral("%1 Dateien, ein PDF und eine CSV-Datei je Nebenstelle, stehen jetzt im Ordner %2.")
            .arg(e.dateien.size())
            .arg(e.ordner),
        kProduktName, Buttons::Ok, Icon::Information);
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

} // namespace orve
