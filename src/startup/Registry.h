#pragma once

#include <QString>

#include <optional>
#include <stdexcept>

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

    static RegWert alsText(const QString& t) { return RegWert {Text, t, 0}; }
    static RegWert alsZahl(quint32 z) { return RegWert {Dword, QString(), z}; }
    bool operator==(const RegWert& o) const
    {
        return typ == o.typ && (typ == Text ? text == o.text : zahl == o.zahl);
    }
};

// One value at its place: hive, key path below the hive ("SOFTWARE\ODBC\..."),
// value name ("" is the key's default value). Used for lists of entries such
// as the standard installation.
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
        : std::runtime_error(beschreibung.toStdString()), m_nummer(nummer), m_beschreibung(beschreibung)
    {
    }
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
};

} // namespace orve
