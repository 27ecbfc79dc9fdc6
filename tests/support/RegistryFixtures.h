#pragma once

// Registries for tests: built from lists of entries, the standard
// installation that the set-up tool writes, one that fails on purpose, and a
// fixed system environment.

#include "startup/Registry.h"
#include "startup/SystemInfo.h"

#include <QSet>
#include <QString>

#include <optional>
#include <vector>

namespace orve::test {

// Shorthands for list entries below HKEY_LOCAL_MACHINE.
RegEintrag textEintrag(const QString& schluessel, const QString& name, const QString& text);
RegEintrag zahlEintrag(const QString& schluessel, const QString& name, quint32 zahl);

// The entries the set-up tool writes: the four drivers and the two SQLite
// data sources. Every driver file is treiberDatei, by default the running
// test program (a file that exists, so data sources opened through these
// drivers work).
std::vector<RegEintrag> standardInstallation(const QString& treiberDatei = QString());

// The list without the entries at key `schluessel` whose value is `name`;
// without the whole key and its subkeys when name is empty. Keys compare
// without case.
std::vector<RegEintrag> ohne(std::vector<RegEintrag> eintraege, const QString& schluessel,
                             const QString& name = QString());

// The list with `e` added, or replacing the value of the same place.
std::vector<RegEintrag> mit(std::vector<RegEintrag> eintraege, const RegEintrag& e);

// A complete machine: SpeicherRegistry with the standard installation.
SpeicherRegistry standardRegistry(const QString& treiberDatei = QString());

// A memory registry in which some keys cannot be created, some values
// cannot be written, reading can fail with an error and closing can fail.
class StoerRegistry : public SpeicherRegistry {
public:
    using SpeicherRegistry::SpeicherRegistry;

    QSet<QString> gesperrteSchluessel; // lower-case paths that anlegen() refuses
    QSet<QString> gesperrteWerte;      // lower-case value names that wertSetzen() refuses
    bool lesenWirft = false;           // wertLesen() throws RegistryFehler(5, ...)
    bool schliessenScheitert = false;  // schliessen() reports failure

    std::optional<RegSchluessel> anlegen(Hive hive, const QString& pfad) override
    {
        if (gesperrteSchluessel.contains(pfad.toLower()))
            return std::nullopt;
        return SpeicherRegistry::anlegen(hive, pfad);
    }
    bool wertSetzen(RegSchluessel s, const QString& name, const RegWert& w) override
    {
        return !gesperrteWerte.contains(name.toLower()) && SpeicherRegistry::wertSetzen(s, name, w);
    }
    std::optional<RegWert> wertLesen(RegSchluessel s, const QString& name) override
    {
        if (lesenWirft)
            throw RegistryFehler(5, QStringLiteral("Zugriff verweigert"));
        return SpeicherRegistry::wertLesen(s, name);
    }
    bool schliessen(RegSchluessel s) override { return SpeicherRegistry::schliessen(s) && !schliessenScheitert; }
};

// A system environment with fixed answers.
class FesteSystemumgebung : public Systemumgebung {
public:
    std::optional<QByteArray> benutzer = QByteArray("anwender");
    QString systemOrdner = QStringLiteral("/usr/lib");
    std::optional<QString> version = QStringLiteral("3.40.1");

    std::optional<QByteArray> GetUserNameA() override { return benutzer; }
    QString GetSystemDirectoryA() override { return systemOrdner; }
    std::optional<QString> datenzugriffVersion() override { return version; }
};

} // namespace orve::test
