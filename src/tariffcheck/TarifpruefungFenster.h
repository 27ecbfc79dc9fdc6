#pragma once

#include "tariffcheck/Tarifpruefung.h"

#include "common/Dokumentfenster.h"

#include <functional>

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

    const Tarifpruefung& pruefung() const { return m_pruefung; }
    QTextBrowser* seite() const { return m_seite; }

private:
    void anzeigen(Tarifpruefung pruefung);
    void erneutPruefen();

    Tarifpruefung m_pruefung;
    Pruefen m_pruefen;
    QTextBrowser* m_seite = nullptr;
};

} // namespace orve
