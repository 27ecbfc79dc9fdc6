#pragma once

#include "mainwindow/HauptAnsicht.h"
#include "mainwindow/Hauptfenster.h"

#include "common/AufklappListe.h"

#include <QList>
#include <QMainWindow>

#include <memory>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QWidget;

namespace orve {

struct AppState;
class BerichtAnzeige;
class Datenquellen;
class Dialogs;
class Druckausgabe;
class Registry;
class Systemumgebung;

// The main window. Controls carry their names as objectName (Combo1, Text2,
// List1, ...), menus and entries too (mnuFile, mnuFileClose, ...). The logic
// lives in Hauptfenster; this class binds the controls to it.
class frmHaupt : public QMainWindow, public HauptAnsicht {
    Q_OBJECT
public:
    // druck: where the report and the tariff check print, the print dialog
    // unless a test hands in another.
    frmHaupt(AppState& state, Registry& reg, Systemumgebung& system, Datenquellen& quellen, Dialogs& dialogs,
             QWidget* parent = nullptr, Druckausgabe* druck = nullptr);
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
    void fortschrittMaximum(int maximum) override;
    void ereignisseVerarbeiten() override;
    void laufAnzeigen(bool laeuft) override;
    std::unique_ptr<TarifeditorOeffner> tarifeditor(SQLite::Database& lokal) override;
    void berichtZeigen(Telefonkostenauswertung bericht, const QString& dateiname) override;
    bool tarifimportBestaetigen(Tarifpruefung pruefung, const QString& datei) override;
    QString combo1Text() const override;
    QString combo2Text() const override;
    QString combo3Text() const override;
    void combo1Setzen(const QStringList& eintraege, const QString& text) override;
    void combo2Setzen(const QStringList& eintraege, const QString& text) override;
    void combo3Setzen(const QStringList& eintraege, const QString& text) override;

signals:
    // The window closes: the report (when one is open) closes its connection.
    void geschlossen();

protected:
    void closeEvent(QCloseEvent* ev) override;

private:
    void aufbauen();
    void menueAufbauen();
    void befehl(const std::function<void()>& f);
    void lauf(void (Hauptfenster::*befehl)());
    QAction* eintrag(QMenu* menue, const QString& name, const QString& text, const QKeySequence& kurz);

    AppState& m_state;
    Datenquellen& m_quellen;
    Dialogs& m_dialogs;
    Druckausgabe& m_druck;
    Hauptfenster m_logik;
    std::unique_ptr<BerichtAnzeige> m_berichte;
    bool m_programmEndet = false;
    bool m_schliessenNachLauf = false;
    // Disabled while a report run is in progress.
    QList<QWidget*> m_laufGesperrt;
    QList<QAction*> m_laufGesperrtAktionen;

    AufklappListe* m_combo1 = nullptr;
    AufklappListe* m_combo2 = nullptr;
    AufklappListe* m_combo3 = nullptr;
    QLineEdit* m_text1 = nullptr;
    QLineEdit* m_text2 = nullptr;
    QLineEdit* m_text3 = nullptr;
    QCheckBox* m_check1 = nullptr;
    QCheckBox* m_check2 = nullptr;
    QCheckBox* m_check3 = nullptr;
    QLabel* m_label2 = nullptr;
    QListView* m_list1 = nullptr;
    QProgressBar* m_progressBar1 = nullptr;
};

} // namespace orve
