#pragma once

#include "mainwindow/HauptAnsicht.h"
#include "mainwindow/Hauptfenster.h"

#include "common/AufklappListe.h"

#include <QMainWindow>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;

namespace orve {

struct AppState;
class Datenquellen;
class Dialogs;
class Registry;
class Systemumgebung;

// The main window. Controls carry their names as objectName (Combo1, Text2,
// List1, ...), menus and entries too (mnuFile, mnuFileClose, ...). The logic
// lives in Hauptfenster; this class binds the controls to it.
class frmHaupt : public QMainWindow, public HauptAnsicht {
    Q_OBJECT
public:
    frmHaupt(AppState& state, Registry& reg, Systemumgebung& system, Datenquellen& quellen, Dialogs& dialogs,
             QWidget* parent = nullptr);
    ~frmHaupt() override;

    // The load step: finds and opens the call database. Throws ProgramEnd
    // when the program must end.
    void laden(const StartPfade& pfade = StartPfade::system());

    Hauptfenster& logik() { return m_logik; }

    // HauptAnsicht
    void captionSetzen(const QString& caption) override;
    void text1Setzen(const QString& text) override;
    void text2Setzen(const QString& text) override;
    void text3Setzen(const QString& text) override;
    void fortschrittSetzen(int wert) override;
    QString combo1Text() const override;
    QString combo2Text() const override;
    void combo1Setzen(const QStringList& eintraege, const QString& text) override;
    void combo2Setzen(const QStringList& eintraege, const QString& text) override;

    QProgressBar* fortschritt() const { return m_progressBar1; }

signals:
    // The window closes: the report (when one is open) closes its connection.
    void geschlossen();

protected:
    void closeEvent(QCloseEvent* ev) override;

private:
    void aufbauen();
    void menueAufbauen();
    void befehl(const std::function<void()>& f);
    QAction* eintrag(QMenu* menue, const QString& name, const QString& text, const QKeySequence& kurz);

    AppState& m_state;
    Datenquellen& m_quellen;
    Dialogs& m_dialogs;
    Hauptfenster m_logik;
    bool m_programmEndet = false;

    AufklappListe* m_combo1 = nullptr;
    AufklappListe* m_combo2 = nullptr;
    QLineEdit* m_text1 = nullptr;
    QLineEdit* m_text2 = nullptr;
    QLineEdit* m_text3 = nullptr;
    QCheckBox* m_check1 = nullptr;
    QLabel* m_label2 = nullptr;
    QListView* m_list1 = nullptr;
    QProgressBar* m_progressBar1 = nullptr;
};

} // namespace orve
