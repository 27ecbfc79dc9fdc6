#include "common/Dokumentfenster.h"

#include "common/BefehlAusfuehren.h"
#include "common/BusyCursor.h"
#include "common/Dialogs.h"
#include "common/Druckausgabe.h"
#include "common/TextFile.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

namespace orve {

Dokumentfenster::Dokumentfenster(Dokument dokument, Dialogs& dialogs, Druckausgabe& druck, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dokument(std::move(dokument)), m_dialogs(dialogs), m_druck(druck)
{
    setObjectName(m_dokument.name);
    setWindowTitle(m_dokument.titel);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal);

    m_leiste = new QToolBar(this);
    m_leiste->setObjectName(QStringLiteral("Werkzeugleiste"));
    m_leiste->setToolButtonStyle(Qt::ToolButtonTextOnly);

    befehlAufnehmen(
        {QStringLiteral("Drucken"), QStringLiteral("Drucken…"), QKeySequence::Print, [this] { drucken(); }});
    for (const Speicherart& art : m_dokument.speichern) {
        const QString format = art.format.left(1) + art.format.mid(1).toLower();
        befehlAufnehmen({QStringLiteral("Als%1Speichern").arg(format),
                         QStringLiteral("Als %1 speichern…").arg(art.format), art.kurz,
                         [this, &art] { speichern(art); }});
    }
    for (const Befehl& b : m_dokument.befehle)
        befehlAufnehmen(b);
    QAction* schliessen =
        aktion(QStringLiteral("Schliessen"), QStringLiteral("Schließen"), QKeySequence(Qt::Key_Escape));
    connect(schliessen, &QAction::triggered, this, &QWidget::close);
    m_leiste->addAction(schliessen);

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(m_leiste);
}

QAction* Dokumentfenster::aktion(const QString& name, const QString& text, const QKeySequence& kurz)
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

QToolBar* Dokumentfenster::ansichtsleiste()
{
    auto* leiste = new QToolBar(this);
    leiste->setObjectName(QStringLiteral("Ansichtsleiste"));
    leiste->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_layout->insertWidget(m_layout->indexOf(m_leiste) + 1, leiste);
    return leiste;
}

void Dokumentfenster::befehlAufnehmen(const Befehl& befehl)
{
    QAction* a = aktion(befehl.name, befehl.text, befehl.kurz);
    connect(a, &QAction::triggered, this, [this, tun = befehl.ausfuehren] { befehlAusfuehren(m_dialogs, tun); });
    m_leiste->addAction(a);
}

void Dokumentfenster::inhaltZeigen(QWidget* inhalt, QSize groesse)
{
    m_layout->addWidget(inhalt, 1);
    // Wide enough that no command of the tool bar hides behind its "››"
    // (its buttons take their final size once polished).
    for (QToolBar* leiste : findChildren<QToolBar*>()) {
        for (QWidget* w : leiste->findChildren<QWidget*>())
            w->ensurePolished();
        leiste->layout()->invalidate();
        groesse = groesse.expandedTo(QSize(leiste->sizeHint().width(), 0));
    }
    if (const QScreen* s = QGuiApplication::primaryScreen())
        groesse = groesse.boundedTo(s->availableGeometry().size() * 0.9);
    resize(groesse);
}

void Dokumentfenster::drucken()
{
    m_druck.drucken(this, m_dokument.seitenformat, m_dokument.druckname, [this](QPagedPaintDevice& geraet) {
        BusyCursor warten;
        m_dokument.zeichnen(geraet);
    });
}

QString Dokumentfenster::gemerkterOrdner() const
{
    return orve::gemerkterOrdner(m_dokument.ordnerDatei);
}

void Dokumentfenster::ordnerMerken(const QString& ordner) const
{
    orve::ordnerMerken(m_dokument.ordnerDatei, ordner);
}

void Dokumentfenster::speichern(const Speicherart& art)
{
    const QString endung = art.format.toLower();
    const QString datei = m_dialogs.speichernUnter(
        QStringLiteral("Als %1 speichern").arg(art.format), art.dateiname,
        QStringLiteral("%1-Dateien (*.%2)").arg(art.format, endung), endung, gemerkterOrdner());
    if (datei.isEmpty())
        return;
    BusyCursor warten;
    art.schreiben(datei);
    // Only a file written completely moves the folder.
    ordnerMerken(QFileInfo(datei).absolutePath());
}

} // namespace orve
