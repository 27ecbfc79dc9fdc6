#pragma once

#include "help/HilfeAnzeige.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QToolButton;

namespace orve {

// The help window: the HTML help pages with their links, back and forward,
// the contents page, and a search in the page shown. Not modal; one window
// per main window, reused by every help command.
class HilfeFenster : public QWidget {
    Q_OBJECT
public:
    explicit HilfeFenster(QWidget* parent = nullptr);

    // Shows the page (a local HTML file) and makes it the contents page.
    void inhaltZeigen(const QString& seite);

    // Searches the text of the search field in the page, forward or
    // backward, starting over at the other end when nothing follows.
    // False when the page does not contain it.
    bool suchen(bool rueckwaerts = false);

private:
    QTextBrowser* m_browser = nullptr;
    QLineEdit* m_suche = nullptr;
    QLabel* m_suchErgebnis = nullptr;
    QToolButton* m_zurueck = nullptr;
    QToolButton* m_vor = nullptr;
};

// HilfeAnzeige on the help window, a child window of `eltern`.
class QtHilfeAnzeige : public HilfeAnzeige {
public:
    explicit QtHilfeAnzeige(QWidget* eltern) : m_eltern(eltern) {}
    void zeigen(const QString& inhaltsSeite) override;

private:
    QWidget* m_eltern;
};

} // namespace orve
