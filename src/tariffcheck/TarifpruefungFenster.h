#pragma once

#include "tariffcheck/Tarifpruefung.h"

#include "common/Dokumentfenster.h"

#include <functional>

class QEventLoop;
class QTextBrowser;

namespace orve {

struct AppState;
class Datenquellen;
class Dialogs;
class Druckausgabe;

// The window of the tariff check ("Tariftabellen" → "prüfen"): the findings
// as a page ("Befunde") in a document window with "Drucken…", "Als PDF
// speichern…", "Erneut prüfen" (ErneutPruefen, after the tables were
// changed) and "Schließen".
class TarifpruefungFenster : public Dokumentfenster {
    Q_OBJECT
public:
    using Pruefen = std::function<Tarifpruefung()>;

    // ordnerDatei: see Dokumentfenster::Dokument.
    TarifpruefungFenster(Tarifpruefung pruefung, Pruefen pruefen, Dialogs& dialogs, Druckausgabe& druck,
                         QWidget* parent = nullptr, const QString& ordnerDatei = QString());

    // Checks the tables and the calls of the program's local database and
    // shows the findings: in the window that is open from before (brought
    // to the front), else in a new one printing through `druck`. Throws
    // what tarifePruefen throws.
    static TarifpruefungFenster* zeigen(const AppState& state, Datenquellen& quellen, Dialogs& dialogs,
                                        Druckausgabe& druck, QWidget* parent);

    // The check of the tables an import from `datei` would write, in a
    // window of its own that waits for the answer (modal): "Übernehmen"
    // (Uebernehmen) and "Abbrechen" (Abbrechen; so do "Schließen", Escape
    // and closing the window) in place of "Erneut prüfen". True after
    // Übernehmen.
    static bool uebernehmenFragen(Tarifpruefung pruefung, const QString& datei, Dialogs& dialogs,
                                  Druckausgabe& druck, QWidget* parent, const QString& ordnerDatei = QString());

    const Tarifpruefung& pruefung() const { return m_pruefung; }
    QTextBrowser* seite() const { return m_seite; }

protected:
    void closeEvent(QCloseEvent* ereignis) override;

private:
    // importDatei: empty for the check of the tables as they are.
    TarifpruefungFenster(Tarifpruefung pruefung, Pruefen pruefen, const QString& importDatei, Dialogs& dialogs,
                         Druckausgabe& druck, QWidget* parent, const QString& ordnerDatei);
    std::vector<Befehl> befehle(bool import);
    void anzeigen(Tarifpruefung pruefung);
    void erneutPruefen();

    Tarifpruefung m_pruefung;
    Pruefen m_pruefen;
    QTextBrowser* m_seite = nullptr;
    QEventLoop* m_warten = nullptr; // uebernehmenFragen waits in it
    bool m_uebernehmen = false;
};

} // namespace orve
