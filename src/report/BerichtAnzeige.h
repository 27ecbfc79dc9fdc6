#pragma once

#include <QPointer>

class QWidget;

namespace orve {

class BerichtFenster;
class Dialogs;
class Druckausgabe;
class Telefonkostenauswertung;

// Keeps the one report window of the program: showing a new report closes
// the window of the previous run first, so every run's report is built
// anew. The main window owns one; closing it closes the report window too.
class BerichtAnzeige {
public:
    // parent: the main window (the report window stays a window of its own);
    // druck: where the report window prints, the print dialog unless a test
    // hands in another.
    // ordnerDatei: see Dokumentfenster::Dokument.
    explicit BerichtAnzeige(Dialogs& dialogs, QWidget* parent = nullptr, Druckausgabe* druck = nullptr,
                            const QString& ordnerDatei = QString());
    ~BerichtAnzeige();
    BerichtAnzeige(const BerichtAnzeige&) = delete;
    BerichtAnzeige& operator=(const BerichtAnzeige&) = delete;

    // Closes an open report window, then shows the report in a new one (not
    // modal) and returns it. dateiname: what its save commands propose.
    BerichtFenster* zeigen(Telefonkostenauswertung bericht, const QString& dateiname);

    // Closes the open report window, if any.
    void schliessen();

    // The open report window, or nullptr.
    BerichtFenster* fenster() const { return m_fenster.data(); }

private:
    Dialogs& m_dialogs;
    Druckausgabe& m_druck;
    QString m_ordnerDatei;
    QPointer<QWidget> m_parent;
    QPointer<BerichtFenster> m_fenster;
};

} // namespace orve
