#include "tariffcheck/TarifpruefungFenster.h"

#include "common/AppState.h"
#include "common/BefehlAusfuehren.h"
#include "common/BusyCursor.h"
#include "common/Dialogs.h"
#include "common/Druckdialog.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace orve {

namespace {
const QString kTitel = QStringLiteral("Prüfung der Tariftabellen");
const QString kPdfName = QStringLiteral("Tarifpruefung.pdf");
QPointer<TarifpruefungFenster> offenesFenster;
} // namespace

TarifpruefungFenster::TarifpruefungFenster(Tarifpruefung pruefung, Pruefen pruefen, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_pruefen(std::move(pruefen)), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmTarifpruefung"));
    setWindowTitle(kTitel);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal);

    auto* leiste = new QToolBar(this);
    leiste->setObjectName(QStringLiteral("Werkzeugleiste"));
    leiste->setToolButtonStyle(Qt::ToolButtonTextOnly);

    QAction* drucken = aktion(QStringLiteral("Drucken"), QStringLiteral("Drucken…"), QKeySequence::Print);
    connect(drucken, &QAction::triggered, this, [this] { befehlAusfuehren(m_dialogs, [this] { this->drucken(); }); });
    QAction* pdf = aktion(QStringLiteral("AlsPdfSpeichern"), QStringLiteral("Als PDF speichern…"),
                          QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(pdf, &QAction::triggered, this, [this] { befehlAusfuehren(m_dialogs, [this] { alsPdfSpeichern(); }); });
    QAction* erneut = aktion(QStringLiteral("ErneutPruefen"), QStringLiteral("Erneut prüfen"), QKeySequence::Refresh);
    connect(erneut, &QAction::triggered, this, [this] { befehlAusfuehren(m_dialogs, [this] { erneutPruefen(); }); });
    QAction* schliessen = aktion(QStringLiteral("Schliessen"), QStringLiteral("Schließen"), QKeySequence(Qt::Key_Escape));
    connect(schliessen, &QAction::triggered, this, &QWidget::close);
    leiste->addAction(drucken);
    leiste->addAction(pdf);
    leiste->addAction(erneut);
    leiste->addAction(schliessen);

    m_seite = new QTextBrowser(this);
    m_seite->setObjectName(QStringLiteral("Befunde"));
    m_seite->setOpenLinks(false);
    QFont schrift = m_seite->font();
    schrift.setPointSizeF(10.5);
    m_seite->document()->setDefaultFont(schrift);
    m_seite->document()->setDocumentMargin(12);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(leiste);
    layout->addWidget(m_seite, 1);

    QSize groesse(860, 760);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        groesse = groesse.boundedTo(s->availableGeometry().size() * 0.9);
    resize(groesse);
    anzeigen(std::move(pruefung));
}

TarifpruefungFenster* TarifpruefungFenster::zeigen(const AppState& state, Datenquellen& quellen, Dialogs& dialogs,
                                                   QWidget* parent)
{
    Pruefen pruefen = [&state, &quellen] { return tarifePruefen(state, quellen); };
    Tarifpruefung p;
    {
        BusyCursor warten;
        p = pruefen();
    }
    TarifpruefungFenster* f = offenesFenster.data();
    if (f)
        f->anzeigen(std::move(p));
    else
        offenesFenster = f = new TarifpruefungFenster(std::move(p), std::move(pruefen), dialogs, parent);
    f->show();
    f->raise();
    f->activateWindow();
    return f;
}

QAction* TarifpruefungFenster::aktion(const QString& name, const QString& text, const QKeySequence& kurz)
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

void TarifpruefungFenster::anzeigen(Tarifpruefung pruefung)
{
    m_pruefung = std::move(pruefung);
    m_seite->setHtml(m_pruefung.alsHtml());
}

void TarifpruefungFenster::erneutPruefen()
{
    if (!m_pruefen)
        return;
    BusyCursor warten;
    anzeigen(m_pruefen());
}

void TarifpruefungFenster::drucken()
{
    mitDruckdialogDrucken(this, pruefungSeitenformat(), kTitel,
                          [this](QPrinter& drucker) { pruefungDrucken(m_pruefung, drucker); });
}

void TarifpruefungFenster::alsPdfSpeichern()
{
    const QString datei = m_dialogs.speichernUnter(QStringLiteral("Als PDF speichern"), kPdfName,
                                                   QStringLiteral("PDF-Dateien (*.pdf)"), QStringLiteral("pdf"));
    if (datei.isEmpty())
        return;
    BusyCursor warten;
    pruefungAlsPdfSchreiben(m_pruefung, datei);
}

} // namespace orve
