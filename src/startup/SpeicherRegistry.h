#pragma once

#include "startup/Registry.h"

#include <QByteArray>
#include <QStringList>

#include <map>
#include <vector>

namespace orve {

// A registry in memory, every hive empty at first, that reads and writes the
// regedit export form.
class SpeicherRegistry : public Registry {
public:
    SpeicherRegistry() = default;
    explicit SpeicherRegistry(const std::vector<RegEintrag>& eintraege);

    std::optional<RegSchluessel> oeffnen(Hive hive, const QString& pfad) override;
    std::optional<RegWert> wertLesen(RegSchluessel schluessel, const QString& name) override;
    std::optional<RegSchluessel> anlegen(Hive hive, const QString& pfad) override;
    bool wertSetzen(RegSchluessel schluessel, const QString& name, const RegWert& wert) override;
    bool schliessen(RegSchluessel schluessel) override;

    // The regedit export form of the whole registry ("Windows Registry
    // Editor Version 5.00", one [HIVE\key] section per key, parents first).
    QByteArray alsRegDatei() const;

protected:
    struct Schluessel {
        QString pfad; // as first spelt
        std::vector<std::pair<QString, RegWert>> werte;
        QStringList fremdeZeilen; // kept verbatim
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

    // Adds the keys and values of a regedit export (UTF-8, Windows-1252 or
    // UTF-16 with BOM; version 5.00 or REGEDIT4 header). Values of other
    // types than text and 32-bit number, and lines that cannot be read, are
    // kept as they are and written back unchanged. Throws RegistryFehler when
    // the header is missing.
    void einlesen(const QByteArray& inhalt);
    static QString normalisiert(const QString& pfad);
    Schluessel* finden(Hive hive, const QString& pfad);
    Schluessel& erzeugen(Hive hive, const QString& pfad);
    const Offen* offen(RegSchluessel s) const;
    // Sets the value `name` of key k, replacing one of the same name.
    static void setzen(Schluessel& k, const QString& name, const RegWert& wert);

    Daten m_daten;
    std::map<int, Offen> m_offen;
    int m_naechsteId = 1;
};

} // namespace orve
