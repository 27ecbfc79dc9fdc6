#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <stdexcept>
#include <vector>

namespace orve {

// The registry hives a caller can name.
enum class Hive { ClassesRoot, CurrentConfig, CurrentUser, DynData, LocalMachine, PerformanceData, Users };

// "HKEY_LOCAL_MACHINE" -> Hive::LocalMachine etc.; nothing for any other name.
std::optional<Hive> hiveAusName(const QString& name);
QString hiveName(Hive hive);

// One registry value: a text (REG_SZ) or a 32-bit number (REG_DWORD). The
// enumerators carry the Windows type numbers.
struct RegWert {
    enum Typ { Text = 1, Dword = 4 };
    Typ typ = Text;
    QString text;     // for Text
    quint32 zahl = 0; // for Dword

    static RegWert alsText(const QString& t) { return RegWert{Text, t, 0}; }
    static RegWert alsZahl(quint32 z) { return RegWert{Dword, QString(), z}; }
    bool operator==(const RegWert& o) const
    {
        return typ == o.typ && (typ == Text ? text == o.text : zahl == o.zahl);
    }
};

// One value at its place: hive, key path below the hive ("SOFTWARE\ODBC\..."),
// value name ("" is the key's default value). Used for lists of entries (the
// standard installation) and for the log of writes.
struct RegEintrag {
    Hive hive = Hive::LocalMachine;
    QString schluessel;
    QString name;
    RegWert wert;
    bool operator==(const RegEintrag& o) const;
};

// An open key (the HKEY of the Windows calls). 0 is never handed out.
struct RegSchluessel {
    int id = 0;
};

// A registry that could not be read or written; nummer is a Windows-style
// error number, beschreibung a German text.
class RegistryFehler : public std::runtime_error {
public:
    RegistryFehler(long nummer, const QString& beschreibung)
        : std::runtime_error(beschreibung.toStdString()), m_nummer(nummer), m_beschreibung(beschreibung) {}
    long nummer() const { return m_nummer; }
    const QString& beschreibung() const { return m_beschreibung; }

private:
    long m_nummer;
    QString m_beschreibung;
};

// The registry calls the start-up checks and the data-source creation need
// (RegOpenKeyExA, RegQueryValueExA, RegCreateKeyA, RegSetValueExA,
// RegCloseKey). Key paths use backslashes; key and value names compare
// without regard to case, as on Windows. Implementations may throw
// RegistryFehler from any call when the store itself fails.
class Registry {
public:
    virtual ~Registry();

    // Opens an existing key for reading; nothing when it does not exist.
    virtual std::optional<RegSchluessel> oeffnen(Hive hive, const QString& pfad) = 0;
    // Reads a value of a key open for reading or writing; nothing when the
    // key has no value of that name.
    virtual std::optional<RegWert> wertLesen(RegSchluessel schluessel, const QString& name) = 0;
    // Opens a key for writing, creating it and its missing parents; nothing
    // when it cannot be created.
    virtual std::optional<RegSchluessel> anlegen(Hive hive, const QString& pfad) = 0;
    // Writes a value into a key opened by anlegen(), replacing a value of the
    // same name. False when the key is not open for writing or the value
    // cannot be stored.
    virtual bool wertSetzen(RegSchluessel schluessel, const QString& name, const RegWert& wert) = 0;
    // Closes a key; false for a key that is not open.
    virtual bool schliessen(RegSchluessel schluessel) = 0;

    bool textSetzen(RegSchluessel s, const QString& name, const QString& text)
    {
        return wertSetzen(s, name, RegWert::alsText(text));
    }
    bool zahlSetzen(RegSchluessel s, const QString& name, quint32 zahl)
    {
        return wertSetzen(s, name, RegWert::alsZahl(zahl));
    }
};

// A registry in memory, every hive empty at first. Keeps a log of every value
// written through wertSetzen(), in order.
class SpeicherRegistry : public Registry {
public:
    SpeicherRegistry() = default;
    explicit SpeicherRegistry(const std::vector<RegEintrag>& eintraege);

    std::optional<RegSchluessel> oeffnen(Hive hive, const QString& pfad) override;
    std::optional<RegWert> wertLesen(RegSchluessel schluessel, const QString& name) override;
    std::optional<RegSchluessel> anlegen(Hive hive, const QString& pfad) override;
    bool wertSetzen(RegSchluessel schluessel, const QString& name, const RegWert& wert) override;
    bool schliessen(RegSchluessel schluessel) override;

    // Direct access, outside the Windows-style calls (set-up, tests).
    void eintragen(const RegEintrag& e);          // creates the key when missing; not logged
    bool entfernen(Hive hive, const QString& pfad, const QString& name); // one value
    bool schluesselVorhanden(Hive hive, const QString& pfad) const;
    std::optional<RegWert> wert(Hive hive, const QString& pfad, const QString& name) const;
    // Every value, keys in tree order, values in the order they were first written.
    std::vector<RegEintrag> eintraege() const;
    // Every value written through wertSetzen(), in order.
    const std::vector<RegEintrag>& protokoll() const { return m_protokoll; }
    void protokollLeeren() { m_protokoll.clear(); }
    int offeneSchluessel() const { return static_cast<int>(m_offen.size()); }

    // The regedit export form of the whole registry ("Windows Registry
    // Editor Version 5.00", one [HIVE\key] section per key).
    QByteArray alsRegDatei() const;
    // Reads a regedit export (UTF-8, Windows-1252 or UTF-16 with BOM; version
    // 5.00 or REGEDIT4 header). Values of other types than text and 32-bit
    // number, and lines that cannot be read, are kept as they are and written
    // back unchanged. Throws RegistryFehler when the header is missing.
    static SpeicherRegistry ausRegDatei(const QByteArray& inhalt);

protected:
    struct Schluessel {
        QString pfad;                                // as first spelt
        std::vector<std::pair<QString, RegWert>> werte;
        QStringList fremdeZeilen;                    // kept verbatim
    };
    struct Daten {
        // per hive: lower-case path -> key
        std::map<Hive, std::map<QString, Schluessel>> hives;
    };
    struct Offen {
        Hive hive;
        QString schluessel; // lower-case path
        bool schreibbar;
    };

    // Adds the keys and values of a regedit export (see ausRegDatei).
    void einlesen(const QByteArray& inhalt);
    static QString normalisiert(const QString& pfad);
    Schluessel* finden(Hive hive, const QString& pfad);
    const Schluessel* finden(Hive hive, const QString& pfad) const;
    Schluessel& erzeugen(Hive hive, const QString& pfad);
    const Offen* offen(RegSchluessel s) const;

    Daten m_daten;
    std::map<int, Offen> m_offen;
    int m_naechsteId = 1;
    std::vector<RegEintrag> m_protokoll;
};

// HKEY_LOCAL_MACHINE kept in a regedit export file (Registry/HKEY_LOCAL_MACHINE.reg
// in the program folder). Read when constructed (a missing file is an empty
// hive); after every change the whole file is replaced atomically, so a
// failed write leaves the old file and undoes the change in memory. Other
// hives read as empty and cannot be written.
class DateiRegistry : public SpeicherRegistry {
public:
    // Throws RegistryFehler when an existing file cannot be read or is no
    // registry export.
    explicit DateiRegistry(const QString& datei);

    // <programmOrdner>/Registry/HKEY_LOCAL_MACHINE.reg
    static QString standardDatei(const QString& programmOrdner);

    const QString& datei() const { return m_datei; }

    std::optional<RegSchluessel> oeffnen(Hive hive, const QString& pfad) override;
    std::optional<RegSchluessel> anlegen(Hive hive, const QString& pfad) override;
    bool wertSetzen(RegSchluessel schluessel, const QString& name, const RegWert& wert) override;

    // Writes the file now; false when it could not be replaced.
    bool speichern() const;

private:
    QString m_datei;
};

} // namespace orve
