#pragma once

#include <QDateTime>
#include <QString>

#include <chrono>
#include <functional>

namespace orve {

// The lock file of a program folder, relative to it.
inline const QString kLaufsperreRelativ = QStringLiteral("Datenbank/Lauf.sperre");

// One report run or import at a time per program folder: the import of the
// calls, their pricing and the reading of the report's data hold this lock,
// and so does every change of the tariff tables made outside such a run, so
// that a run prices all its calls with one state of the tables and reads the
// calls it priced. Window and batch command take the same lock file.
//
// The lock is the operating system's lock on the open file (flock): it goes
// with its holder however the holder ends, so the lock of a killed run is
// free at once, and the lock of a living holder is never taken, however long
// it holds it. The file stays; while held it names its holder.
class Laufsperre {
public:
    // The kind of program that holds or wants the lock.
    enum class Programm { Fenster, Stapelbefehl, Tarifeditor };

    // Who holds the lock, as the holder wrote it into the file.
    struct Inhaber {
        QString programm; // "Programmfenster orve-tarifo", …
        QString benutzer;
        QString rechner;
        qint64 pid = 0;
        QDateTime seit;
        // "Stapelbefehl orve-tarifo-bericht, Benutzer root, Rechner srv1,
        // Prozess 4711, seit 01.11.2026 00:05:03"; a holder that did not write
        // its name (pid 0) is called so
        QString text() const;
    };

    Laufsperre(const QString& programmOrdner, Programm programm);
    ~Laufsperre(); // frees the lock
    Laufsperre(const Laufsperre&) = delete;
    Laufsperre& operator=(const Laufsperre&) = delete;

    // One try: true when this object holds the lock now (also when it held
    // it before), false when another holds it (inhaber() names him). Throws
    // Fehler when the lock file cannot be created or opened.
    bool nehmen();
    // Tries until the lock is taken or `hoechstens` has passed; `wartet` is
    // called once, after the first refused try, with the holder.
    bool nehmen(std::chrono::milliseconds hoechstens, const std::function<void(const Inhaber&)>& wartet = {});
    void freigeben();
    bool gehalten() const { return m_datei >= 0; }

    // The holder seen at the last refused try.
    const Inhaber& inhaber() const { return m_inhaber; }
    // The message for a refused try: `kopf` (what cannot be done now), the
    // holder, then `schluss` (what to do).
    QString meldung(const QString& kopf, const QString& schluss) const;

    QString dateipfad() const { return m_pfad; }

private:
    Inhaber inhaberLesen() const;

    QString m_ordner;
    QString m_pfad;
    Programm m_programm;
    int m_datei = -1; // the open, locked file
    Inhaber m_inhaber;
};

} // namespace orve
