#pragma once

#include "tariffcheck/Tarifpruefung.h"

#include <QWidget>

#include <functional>

class QAction;
class QTextBrowser;

namespace orve {

struct AppState;
class Datenquellen;
class Dialogs;

// The window of the tariff check ("Tariftabellen" → "prüfen"), not modal:
// the findings as a page with "Drucken…" (the print dialog), "Als PDF
// speichern…" (file name asked through Dialogs), "Erneut prüfen" (after the
// tables were changed) and "Schließen". It deletes itself when closed.
// Actions carry their names as objectName (Drucken, AlsPdfSpeichern,
// ErneutPruefen, Schliessen); the page is "Befunde".
class TarifpruefungFenster : public QWidget {
    Q_OBJECT
public:
    using Pruefen = std::function<Tarifpruefung()>;

    TarifpruefungFenster(Tarifpruefung pruefung, Pruefen pruefen, Dialogs& dialogs, QWidget* parent = nullptr);

    // Checks the tables and the calls of the program's local database and
    // shows the findings: in the window that is open from before (brought
    // to the front), else in a new one. Throws what tarifePruefen throws.
    static TarifpruefungFenster* zeigen(const AppState& state, Datenquellen& quellen, Dialogs& dialogs,
                                        QWidget* parent);

    const Tarifpruefung& pruefung() const { return m_pruefung; }
    QTextBrowser* seite() const { return m_seite; }

    // The commands behind the tool bar.
    void drucken();
    void alsPdfSpeichern();
    void erneutPruefen();

private:
    void anzeigen(Tarifpruefung pruefung);
    QAction* aktion(const QString& name, const QString& text, const QKeySequence& kurz = {});

    Tarifpruefung m_pruefung;
    Pruefen m_pruefen;
    Dialogs& m_dialogs;
    QTextBrowser* m_seite = nullptr;
};

} // namespace orve
