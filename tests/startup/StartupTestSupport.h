#pragma once

// Registries that fail on purpose, for the start-up tests.

#include "startup/Registry.h"

#include <QSet>
#include <QString>

namespace orve::test {

// A memory registry in which some keys cannot be created, some values
// cannot be written, reading can fail with an error and closing can fail.
class StoerRegistry : public SpeicherRegistry {
public:
    using SpeicherRegistry::SpeicherRegistry;

    QSet<QString> gesperrteSchluessel;   // lower-case paths that anlegen() refuses
    QSet<QString> gesperrteWerte;        // lower-case value names that wertSetzen() refuses
    bool lesenWirft = false;             // wertLesen() throws RegistryFehler(5, ...)
    bool schliessenScheitert = false;    // schliessen() reports failure

    std::optional<RegSchluessel> anlegen(Hive hive, const QString& pfad) override
    {
        if (gesperrteSchluessel.contains(pfad.toLower()))
            return std::nullopt;
        return SpeicherRegistry::anlegen(hive, pfad);
    }
    bool wertSetzen(RegSchluessel s, const QString& name, const RegWert& w) override
    {
        if (gesperrteWerte.contains(name.toLower()))
            return false;
        return SpeicherRegistry::wertSetzen(s, name, w);
    }
    std::optional<RegWert> wertLesen(RegSchluessel s, const QString& name) override
    {
        if (lesenWirft)
            throw RegistryFehler(5, QStringLiteral("Zugriff verweigert"));
        return SpeicherRegistry::wertLesen(s, name);
    }
    bool schliessen(RegSchluessel s) override
    {
        const bool ok = SpeicherRegistry::schliessen(s);
        return ok && !schliessenScheitert;
    }
};

} // namespace orve::test
