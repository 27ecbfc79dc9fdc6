#pragma once

#include "common/AufklappListe.h"
#include "common/TarifeditorOeffner.h"
#include "tariffs/TarifEditor.h"

#include <QDialog>

#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QAction;

namespace SQLite {
class Database;
}

namespace orve {

struct AppState;
class Datenquellen;
class Dialogs;

// The tariff editor window. Shown modally; every opening starts afresh.
class frmEingabe : public QDialog {
    Q_OBJECT
public:
    // Opens the local database through the data sources (LokalVerbindung);
    // every change takes the program folder's lock (Tarifsperre::JeAenderung).
    frmEingabe(AppState& state, Datenquellen& quellen, Dialogs& dialogs, QWidget* parent = nullptr);
    // Works on a local database that the caller keeps open: the report run's,
    // which holds the program folder's lock (Tarifsperre::VomLauf).
    frmEingabe(AppState& state, SQLite::Database& lokal, Dialogs& dialogs, QWidget* parent = nullptr);
    ~frmEingabe() override;

    // Makes "zu pflegende Vorwahl:" with the number visible.
    void zeigeFehlendeVorwahl(const QString& nummer);

    // Modal. When the local database could not be opened the user is told
    // so and the window is not shown (Rejected).
    int exec() override;

    // "&schließen" (Ctrl+S), the close button and Escape all end here
    // (QDialog::closeEvent calls it): the logic asks about unsaved changes
    // first, and the window stays open after Cancel or a refused save.
    void reject() override;

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override;

private:
    void aufbauen();
    void befehl(const std::function<void(TarifEditor&)>& f);
    void ausFensterLesen();
    void insFensterSchreiben();
    void optionGeklickt(Tariftabelle t);

    AppState& m_state;
    Dialogs& m_dialogs;
    std::unique_ptr<SQLite::Database> m_eigeneDb;
    std::unique_ptr<TarifEditor> m_editor;
    QString m_oeffnungsFehler;

    QRadioButton* m_option[3] = {};
    QLabel* m_optionLabel[3] = {};
    QLabel* m_label15 = nullptr;
    QLineEdit* m_fldSuchvorwahl = nullptr;
    AufklappListe* m_combo1 = nullptr;
    QLineEdit* m_fldSatz = nullptr;
    QLineEdit* m_fldVorwahl = nullptr;
    QLineEdit* m_fldBezeichnung = nullptr;
    QLineEdit* m_fldAbZeit = nullptr;
    QLineEdit* m_fldBisZeit = nullptr;
    QLineEdit* m_fldMinutenpreis = nullptr;
    QLineEdit* m_fldPauschalpreis = nullptr;
    QLineEdit* m_fldSekundentakt = nullptr;
    QLineEdit* m_fldTyp = nullptr;
};

// Opens frmEingabe modally for a number without tariff.
class QtTarifeditorOeffner : public TarifeditorOeffner {
public:
    QtTarifeditorOeffner(AppState& state, SQLite::Database& lokal, Dialogs& dialogs, QWidget* parent = nullptr)
        : m_state(state), m_lokal(lokal), m_dialogs(dialogs), m_parent(parent)
    {
    }

    void oeffnen(const QString& fehlendeNummer) override;

private:
    AppState& m_state;
    SQLite::Database& m_lokal;
    Dialogs& m_dialogs;
    QWidget* m_parent;
};

} // namespace orve
