#pragma once

#include "common/TextFile.h"

#include <QKeySequence>
#include <QPageLayout>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QAction;
class QPagedPaintDevice;
class QToolBar;
class QVBoxLayout;

namespace orve {

class Dialogs;
class Druckausgabe;

// A window that shows a document (the report, the tariff check's findings),
// not modal; it deletes itself when closed. Its tool bar "Werkzeugleiste"
// starts with "Drucken…" (through the Druckausgabe), the save commands
// "Als PDF speichern…", "Als CSV speichern…" (file names asked through
// Dialogs), the document's other commands and "Schließen". Actions carry
// their names as objectName (Drucken, AlsPdfSpeichern, AlsCsvSpeichern,
// Schliessen). The window of a document hands in what differs and adds its
// own controls after these.
class Dokumentfenster : public QWidget {
    Q_OBJECT
public:
    // A command of the tool bar, run through befehlAusfuehren.
    struct Befehl {
        QString name; // objectName
        QString text;
        QKeySequence kurz;
        std::function<void()> ausfuehren;
    };

    // "Als <format> speichern…": the file name asked, then written under the
    // busy pointer; nothing is written when the question is cancelled.
    struct Speicherart {
        QString format;    // "PDF", "CSV": caption, filter and file suffix
        QString dateiname; // the name proposed, without folder
        QKeySequence kurz;
        std::function<void(const QString& datei)> schreiben;
    };

    struct Dokument {
        QString name;      // the window's objectName
        QString titel;     // the window's title
        QString druckname; // the name of a print job
        QPageLayout seitenformat;
        std::function<void(QPagedPaintDevice&)> zeichnen;
        std::vector<Speicherart> speichern;
        std::vector<Befehl> befehle; // after the save commands
        // Path of the file that keeps the folder saved to last (the save
        // dialogs start there); empty: the working folder, nothing kept.
        QString ordnerDatei;
    };

    Dokumentfenster(Dokument dokument, Dialogs& dialogs, Druckausgabe& druck, QWidget* parent);

protected:
    Dialogs& dialogs() const { return m_dialogs; }
    QToolBar* leiste() const { return m_leiste; }
    // A second tool bar "Ansichtsleiste" below the first, for the commands
    // that change the view, so that both fit a screen 1280 pixels wide.
    QToolBar* ansichtsleiste();
    // An action of the window; its shortcut works anywhere in the window.
    QAction* aktion(const QString& name, const QString& text, const QKeySequence& kurz = {});
    // Shows the document below the tool bar in a window of `groesse`, kept
    // within the screen.
    void inhaltZeigen(QWidget* inhalt, QSize groesse);
    // The folder saved to last, where it still exists; otherwise empty.
    QString gemerkterOrdner() const;
    // Keeps `ordner` as the folder saved to last (see Dokument::ordnerDatei).
    void ordnerMerken(const QString& ordner) const;

private:
    void befehlAufnehmen(const Befehl& befehl);
    void drucken();
    void speichern(const Speicherart& art);

    Dokument m_dokument;
    Dialogs& m_dialogs;
    Druckausgabe& m_druck;
    QToolBar* m_leiste = nullptr;
    QVBoxLayout* m_layout = nullptr;
};

} // namespace orve
