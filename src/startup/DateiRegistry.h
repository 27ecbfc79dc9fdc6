#pragma once

#include "startup/SpeicherRegistry.h"

namespace orve {

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

    std::optional<RegSchluessel> oeffnen(Hive hive, const QString& pfad) override;
    std::optional<RegSchluessel> anlegen(Hive hive, const QString& pfad) override;
    bool wertSetzen(RegSchluessel schluessel, const QString& name, const RegWert& wert) override;

private:
    // Writes the file now; false when it could not be replaced.
    bool speichern() const;

    QString m_datei;
};

} // namespace orve
