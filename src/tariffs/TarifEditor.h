#pragma once

#include "common/Dialogs.h"
#include "tariffs/TarifTabellen.h"
#include "tariffs/Tarifzeile.h"

#include <QString>
#include <QStringList>

namespace SQLite {
class Database;
class Exception;
} // namespace SQLite

namespace orve {

struct AppState;
class Laufsperre;

// Who holds the program folder's lock (Laufsperre) while the tariff editor
// changes the tariff tables.
enum class Tarifsperre {
    // The editor opened on its own: every change takes the lock and is
    // refused with a message while a report run or an import holds it, so
    // that a run prices all its calls with one state of the tables.
    JeAenderung,
    // The editor opened by a report run for a number without tariff: the
    // run holds the lock and its changes go on.
    VomLauf,
};

// The web address of the telephone company's tariff calculator: the first
// line of Tarifrechner.txt in the program folder, else kTarifrechnerStandard.
inline const QString kTarifrechnerStandard = QStringLiteral("https://www.telekom.de/");
QString tarifrechnerAdresse(const QString& programmOrdner);

// The texts of the editing mask, one per field.
struct Tarifmaske {
    QString fldSatz = QStringLiteral("0"); // satz of the entry in the mask, "0" for none
    QString fldVorwahl;
    QString fldBezeichnung;
    QString fldAbZeit;
    QString fldBisZeit;
    QString fldMinutenpreis;
    QString fldPauschalpreis = QStringLiteral("0");
    QString fldSekundentakt = QStringLiteral("0");
    QString fldTyp;

    bool operator==(const Tarifmaske&) const = default;
};

// Everything the tariff editor window holds, and its commands. The window
// copies the user's typing into maske() and combo1Setzen() before a command and
// shows the state afterwards; the commands ask through Dialogs and work on
// the open local database.
class TarifEditor {
public:
    TarifEditor(AppState& state, Dialogs& dialogs, SQLite::Database& lokal,
                Tarifsperre sperre = Tarifsperre::JeAenderung);

    // State.
    Tariftabelle tabelle() const { return m_tabelle; }
    Tarifmaske& maske() { return m_maske; }
    const Tarifmaske& maske() const { return m_maske; }
    int neuerSatz() const { return m_neuerSatz; }
    bool vorwahlEingabe() const { return m_vorwahlEingabe; }   // fldVorwahl accepts input
    bool hinweisSichtbar() const { return m_hinweisSichtbar; } // Label15 and fldSuchvorwahl
    const QString& suchvorwahl() const { return m_suchvorwahl; }
    const QStringList& eintraege() const { return m_eintraege; } // the list of Combo1
    const QString& combo1Text() const { return m_combo1Text; }   // its text part
    void combo1Setzen(const QString& text) { m_combo1Text = text; }

    // The number without tariff that the user is asked to maintain.
    void zeigeFehlendeVorwahl(const QString& nummer);

    // The mask holds typing a save would write: an entry is being created or
    // was taken over, and the mask differs from how the editor filled it.
    bool ungespeicherteAenderungen() const;
    // Before the mask is left (closing the window; another table, the list,
    // another or a new entry): with unsaved changes asks whether to save them
    // now. True when the mask may go: nothing unsaved, saved as "&Speichern
    // Datensatz" saves, or No; false after Cancel or a refused save.
    bool maskeVerlassen();

    // Commands. Those that replace the mask ask first (maskeVerlassen).
    void laden();                        // opening: table faktor, mask cleared
    void tabelleWaehlen(Tariftabelle t); // Option1..Option3
    void listeFuellen();                 // Combo1 dropped down
    void felderleeren();                 // asks nothing
    void speichern();                    // Command1 "&Speichern Datensatz"
    void uebernehmen();                  // Command2 "In &Bearbeitungsmaske übernehmen"
    void loeschen();                     // Command3 "&löschen Datensatz"
    void neuerSatzAnlegen();             // Command4 "&Neuen Satz anlegen"
    void tarifrechnerZeigen();           // menu "&aufrufen"
    // "Beispieltarife übernehmen": offers the example tariffs for the chosen
    // table when it is empty, for all three when all are empty (the first
    // start); writes them only after Yes. A table holding rows is never
    // touched, nor is any other table while one holds rows.
    void beispieltarifeUebernehmen();

    // The item of the entry list for one row: prefix, description, (times,)
    // and the record number between " *(" and ")*".
    static QString listenText(Tariftabelle t, const Tarifzeile& e);

private:
    void meldung(const QString& text, Icon icon);
    // Before a change of the tables: false after the message naming the run
    // that holds the lock.
    bool sperreNehmen(Laufsperre& sperre);
    bool maskePruefen();
    // The row to write: a field whose text the user left as it was shown
    // keeps the stored value exactly (a price kept as text stays that text,
    // a Null stays Null); only changed fields are read from the mask.
    Tarifzeile eintragAusMaske() const;
    void datenbankFehler(const QStringList& zeilenDavor, const SQLite::Exception& e,
                         const QStringList& zeilenDanach = {});

    AppState& m_state;
    Dialogs& m_dialogs;
    SQLite::Database& m_db;
    Tarifsperre m_sperre;

    Tariftabelle m_tabelle = Tariftabelle::faktor;
    Tarifmaske m_maske;
    QString m_combo1Text;
    std::optional<Tarifzeile> m_geladen; // the row taken over into the mask
    Tarifmaske m_gezeigt;                // the mask as the editor filled it (cleared, or that row)
    int m_neuerSatz = 0;
    bool m_vorwahlEingabe = false;
    bool m_hinweisSichtbar = false;
    QString m_suchvorwahl;
    QStringList m_eintraege;
};

} // namespace orve
