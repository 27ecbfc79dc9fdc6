#pragma once

#include "startup/SplashLaden.h"

#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace orve {

struct AppState;
class Dialogs;
class Registry;
class Systemumgebung;

// The start-up window. laden() runs the load step (throws ProgramEnd when a
// prerequisite is missing; call it before show()). The window closes by the
// button "Weiter", a key pressed while it has the focus, or a click on the
// frame; closing emits geschlossen() once, on which the main window opens.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash(AppState& state, Registry& reg, Systemumgebung& system, Dialogs& dialogs, QWidget* parent = nullptr);

    void laden();

signals:
    void geschlossen();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void anzeigen();

    AppState& m_state;
    Registry& m_reg;
    Systemumgebung& m_system;
    Dialogs& m_dialogs;
    SplashAnzeige m_anzeige;
    bool m_gemeldet = false;
    bool m_zentriert = false;

    QFrame* m_fraMainFrame;
    QLabel* m_ORVE_Logo;
    QLabel* m_Label1;
    QPlainTextEdit* m_Text1;
    QLabel* m_Label3;
    QLineEdit* m_Username;
    QLabel* m_Label2;
    QLabel* m_lblProductName;
    QLabel* m_lblPlatform;
    QLabel* m_lblVersion;
    QLabel* m_lblCopyright;
    QLabel* m_Rechtslage;
    QPushButton* m_Command1;
};

} // namespace orve
