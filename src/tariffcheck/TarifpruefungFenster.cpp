#include "tariffcheck/TarifpruefungFenster.h"

#include "common/AppState.h"
#include "common/BusyCursor.h"

#include <QPointer>
#include <QTextBrowser>

namespace orve {

namespace {
const QString kTitel = QStringLiteral("Prüfung der Tariftabellen");
const QString kPdfName = QStringLiteral("Tarifpruefung.pdf");
QPointer<TarifpruefungFenster> offenesFenster;
} // namespace

TarifpruefungFenster::TarifpruefungFenster(Tarifpruefung pruefung, Pruefen pruefen, Dialogs& dialogs,
                                           Druckausgabe& druck, QWidget* parent, const QString& ordnerDatei)
    : Dokumentfenster(
        {.name = QStringLiteral("frmTarifpruefung"),
         .titel = kTitel,
         .druckname = kTitel,
         .seitenformat = pruefungSeitenformat(),
         .zeichnen = [this](QPagedPaintDevice& geraet) { pruefungDrucken(m_pruefung, geraet); },
         .speichern = {{QStringLiteral("PDF"), kPdfName, QKeySequence(Qt::CTRL | Qt::Key_S),
                        [this](const QString& datei) { pruefungAlsPdfSchreiben(m_pruefung, datei); }}},
         .befehle = {{QStringLiteral("ErneutPruefen"), QStringLiteral("Erneut prüfen"), QKeySequence::Refresh,
                      [this] { erneutPruefen(); }}},
         .ordnerDatei = ordnerDatei},
        dialogs, druck, parent),
      m_pruefen(std::move(pruefen))
{
    m_seite = new QTextBrowser(this);
    m_seite->setObjectName(QStringLiteral("Befunde"));
    m_seite->setOpenLinks(false);
    QFont schrift = m_seite->font();
    schrift.setPointSizeF(10.5);
    m_seite->document()->setDefaultFont(schrift);
    m_seite->document()->setDocumentMargin(12);

    inhaltZeigen(m_seite, QSize(860, 760));
    anzeigen(std::move(pruefung));
}

TarifpruefungFenster* TarifpruefungFenster::zeigen(const AppState& state, Datenquellen& quellen, Dialogs& dialogs,
                                                   Druckausgabe& druck, QWidget* parent)
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
        offenesFenster = f = new TarifpruefungFenster(std::move(p), std::move(pruefen), dialogs, druck, parent,
                                                      state.pfadImProgrammordner(kSpeicherordnerDatei));
    f->show();
    f->raise();
    f->activateWindow();
    return f;
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

} // namespace orve
