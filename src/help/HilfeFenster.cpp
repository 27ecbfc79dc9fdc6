#include "help/HilfeFenster.h"

#include "common/Version.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace orve {

namespace {

QToolButton* knopf(QWidget* parent, const char* name, const QString& text, const QString& tipp)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setToolTip(tipp);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(false);
    return b;
}

} // namespace

HilfeFenster::HilfeFenster(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HilfeFenster"));
    setWindowTitle(kProduktName + QStringLiteral(" – Hilfe"));
    resize(880, 700);

    auto* haupt = new QVBoxLayout(this);
    auto* leiste = new QHBoxLayout;
    auto* inhalt =
        knopf(this, "cmdInhalt", QStringLiteral("Inhalt"), QStringLiteral("Zum Inhaltsverzeichnis (Pos1)"));
    m_zurueck = knopf(this, "cmdZurueck", QStringLiteral("◀ Zurück"), QStringLiteral("Vorige Seite (Alt+Links)"));
    m_vor = knopf(this, "cmdVor", QStringLiteral("Vorwärts ▶"), QStringLiteral("Nächste Seite (Alt+Rechts)"));
    m_zurueck->setEnabled(false);
    m_vor->setEnabled(false);
    leiste->addWidget(inhalt);
    leiste->addWidget(m_zurueck);
    leiste->addWidget(m_vor);
    leiste->addSpacing(24);
    auto* suchLabel = new QLabel(QStringLiteral("&Suchen auf dieser Seite:"), this);
    m_suche = new QLineEdit(this);
    m_suche->setObjectName(QStringLiteral("txtSuche"));
    m_suche->setClearButtonEnabled(true);
    m_suche->setPlaceholderText(QStringLiteral("Suchbegriff, dann Eingabetaste"));
    suchLabel->setBuddy(m_suche);
    auto* weiter =
        knopf(this, "cmdWeitersuchen", QStringLiteral("Weiter"), QStringLiteral("Nächste Fundstelle (F3)"));
    auto* vorher =
        knopf(this, "cmdVorherSuchen", QStringLiteral("Vorher"), QStringLiteral("Vorige Fundstelle (Umschalt+F3)"));
    m_suchErgebnis = new QLabel(this);
    m_suchErgebnis->setObjectName(QStringLiteral("lblSuchergebnis"));
    leiste->addWidget(suchLabel);
    leiste->addWidget(m_suche, 1);
    leiste->addWidget(weiter);
    leiste->addWidget(vorher);
    leiste->addWidget(m_suchErgebnis);
    haupt->addLayout(leiste);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtHilfe"));
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(true);
    haupt->addWidget(m_browser, 1);

    connect(inhalt, &QToolButton::clicked, m_browser, &QTextBrowser::home);
    connect(m_zurueck, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_vor, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_zurueck, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_vor, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] { m_suchErgebnis->clear(); });
    connect(m_suche, &QLineEdit::returnPressed, this, [this] { suchen(); });
    connect(m_suche, &QLineEdit::textChanged, this, [this] { m_suchErgebnis->clear(); });
    connect(weiter, &QToolButton::clicked, this, [this] { suchen(); });
    connect(vorher, &QToolButton::clicked, this, [this] { suchen(true); });

    auto kuerzel = [this](const QKeySequence& k, auto&& f) {
        auto* a = new QAction(this);
        a->setShortcut(k);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, f);
        addAction(a);
    };
    kuerzel(QKeySequence::Find, [this] {
        m_suche->setFocus();
        m_suche->selectAll();
    });
    kuerzel(QKeySequence(Qt::Key_F3), [this] { suchen(); });
    kuerzel(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { suchen(true); });
    kuerzel(QKeySequence::Back, [this] { m_browser->backward(); });
    kuerzel(QKeySequence::Forward, [this] { m_browser->forward(); });
    kuerzel(QKeySequence(Qt::ALT | Qt::Key_Home), [this] { m_browser->home(); });
    kuerzel(QKeySequence(Qt::Key_Escape), [this] { close(); });
}

void HilfeFenster::inhaltZeigen(const QString& seite)
{
    const QFileInfo datei(QDir::fromNativeSeparators(seite));
    const QUrl url = QUrl::fromLocalFile(datei.absoluteFilePath());
    m_browser->setSearchPaths({datei.absolutePath()});
    m_browser->clearHistory();
    m_browser->setSource(url);
    // The first page shown is the one "Inhalt" returns to.
    m_browser->clearHistory();
}

bool HilfeFenster::suchen(bool rueckwaerts)
{
    const QString text = m_suche->text();
    if (text.isEmpty()) {
        m_suchErgebnis->clear();
        return false;
    }
    const QTextDocument::FindFlags f = rueckwaerts ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool gefunden = m_browser->find(text, f);
    if (!gefunden) {
        // Start over at the other end of the page.
        QTextCursor c = m_browser->textCursor();
        c.movePosition(rueckwaerts ? QTextCursor::End : QTextCursor::Start);
        m_browser->setTextCursor(c);
        gefunden = m_browser->find(text, f);
    }
    m_suchErgebnis->setText(gefunden ? QString() : QStringLiteral("nicht gefunden"));
    return gefunden;
}

void QtHilfeAnzeige::zeigen(const QString& inhaltsSeite)
{
    auto* fenster = m_eltern ? m_eltern->findChild<HilfeFenster*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!fenster)
        fenster = new HilfeFenster(m_eltern);
    if (!m_eltern)
        fenster->setAttribute(Qt::WA_DeleteOnClose);
    fenster->inhaltZeigen(inhaltsSeite);
    fenster->show();
    fenster->raise();
    fenster->activateWindow();
}

} // namespace orve
