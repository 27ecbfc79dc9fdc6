#include "tariffcheck/TarifpruefungFenster.h"

#include "common/AppState.h"
#include "common/BusyCursor.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace orve {

namespace {
const QString kTitel = QStringLiteral("Prüfung der Tariftabellen");
const QString kPdfName = QStringLiteral("Tarifpruefung.pdf");
QPointer<TarifpruefungFenster> offenesFenster;
} // namespace

TarifpruefungFenster::TarifpruefungFenster(Tarifpruefung pruefung, Pruefen pruefen, Dialogs& dialogs,
                                           Druckausgabe& druck, QWidget* parent, const QString& ordnerDatei)
    : TarifpruefungFenster(std::move(pruefung), std::move(pruefen), QString(), dialogs, druck, parent, ordnerDatei)
{
}

TarifpruefungFenster::TarifpruefungFenster(Tarifpruefung pruefung, Pruefen pruefen, const QString& importDatei,
                                           Dialogs& dialogs, Druckausgabe& druck, QWidget* parent,
                                           const QString& ordnerDatei)
    : Dokumentfenster(
        {.name = QStringLiteral("frmTarifpruefung"),
         .titel = importDatei.isEmpty()
                      ? kTitel
                      : QStringLiteral("Tariftabellen aus %1 übernehmen?").arg(QFileInfo(importDatei).fileName()),
         .druckname = kTitel,
         .seitenformat = pruefungSeitenformat(),
         .zeichnen = [this](QPagedPaintDevice& geraet) { pruefungDrucken(m_pruefung, geraet); },
         .speichern = {{QStringLiteral("PDF"), kPdfName, QKeySequence(Qt::CTRL | Qt::Key_S),
                        [this](const QString& datei) { pruefungAlsPdfSchreiben(m_pruefung, datei); }}},
         .befehle = befehle(!importDatei.isEmpty()),
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

    QWidget* inhalt = m_seite;
    if (!importDatei.isEmpty()) {
        // What the findings are about, and what each answer does.
        inhalt = new QWidget(this);
        auto* spalte = new QVBoxLayout(inhalt);
        spalte->setContentsMargins(0, 0, 0, 0);
        auto* hinweis = new QLabel(
            QStringLiteral("Geprüft wurden die Tariftabellen, wie sie nach dem Import der Datei „%1“ wären. "
                           "„Übernehmen“ sichert die bisherigen Tabellen im Ordner Datenbank und ersetzt sie, "
                           "„Abbrechen“ lässt sie, wie sie sind.")
                .arg(QDir::toNativeSeparators(importDatei)),
            inhalt);
        hinweis->setObjectName(QStringLiteral("ImportHinweis"));
        hinweis->setWordWrap(true);
        hinweis->setMargin(8);
        spalte->addWidget(hinweis);
        spalte->addWidget(m_seite, 1);
    }
    inhaltZeigen(inhalt, QSize(860, 760));
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

bool TarifpruefungFenster::uebernehmenFragen(Tarifpruefung pruefung, const QString& datei, Dialogs& dialogs,
                                             Druckausgabe& druck, QWidget* parent, const QString& ordnerDatei)
{
    TarifpruefungFenster f(std::move(pruefung), {}, datei, dialogs, druck, parent, ordnerDatei);
    f.setAttribute(Qt::WA_DeleteOnClose, false);
    f.setWindowModality(Qt::ApplicationModal);
    QEventLoop warten;
    f.m_warten = &warten;
    f.show();
    f.raise();
    f.activateWindow();
    warten.exec();
    return f.m_uebernehmen;
}

std::vector<Dokumentfenster::Befehl> TarifpruefungFenster::befehle(bool import)
{
    if (!import)
        return {{QStringLiteral("ErneutPruefen"), QStringLiteral("Erneut prüfen"), QKeySequence::Refresh,
                 [this] { erneutPruefen(); }}};
    return {{QStringLiteral("Uebernehmen"), QStringLiteral("Übernehmen"), QKeySequence(),
             [this] {
                 m_uebernehmen = true;
                 close();
             }},
            {QStringLiteral("Abbrechen"), QStringLiteral("Abbrechen"), QKeySequence(), [this] { close(); }}};
}

void TarifpruefungFenster::closeEvent(QCloseEvent* ereignis)
{
    Dokumentfenster::closeEvent(ereignis);
    if (m_warten)
        m_warten->quit();
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
