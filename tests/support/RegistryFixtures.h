#pragma once

#include "startup/SpeicherRegistry.h"
#include "startup/Systemumgebung.h"

#include <QSet>

namespace orve::test {

inline RegEintrag textEintrag(const QString& schluessel, const QString& name, const QString& text)
{ return RegEintrag{Hive::LocalMachine, schluessel, name, RegWert::alsText(text)}; }

// What the set-up tool writes (four drivers, the two SQLite data sources),
// every driver file being treiberDatei, by default the running test program.
std::vector<RegEintrag> standardInstallation(const QString& treiberDatei = QString());
// Without the value `name` of the key; without the key and its subkeys when name is empty.
std::vector<RegEintrag> ohne(std::vector<RegEintrag> eintraege, const QString& schluessel, const QString& name = {});
// With `e`: a later entry replaces an earlier one of the same place.
inline std::vector<RegEintrag> mit(std::vector<RegEintrag> v, const RegEintrag& e) { v.push_back(e); return v; }

// A memory registry that logs its writes, shows its values and fails on request.
class TestRegistry : public SpeicherRegistry {
public:
    using SpeicherRegistry::SpeicherRegistry;

    QSet<QString> gesperrteSchluessel; // lower-case paths
    QSet<QString> gesperrteWerte;      // lower-case value names
    QSet<QString> lesenWirft;          // lower-case value names: RegistryFehler(5, "Zugriff verweigert")
    bool schliessenScheitert = false;

    std::optional<RegSchluessel> anlegen(Hive hive, const QString& pfad) override
    {
        return gesperrteSchluessel.contains(pfad.toLower()) ? std::nullopt : SpeicherRegistry::anlegen(hive, pfad);
    }
    bool wertSetzen(RegSchluessel s, const QString& name, const RegWert& w) override;
    std::optional<RegWert> wertLesen(RegSchluessel s, const QString& name) override;
    bool schliessen(RegSchluessel s) override { return SpeicherRegistry::schliessen(s) && !schliessenScheitert; }

    std::optional<RegWert> wert(Hive hive, const QString& pfad, const QString& name);
    bool entfernen(Hive hive, const QString& pfad, const QString& name);
    const std::vector<RegEintrag>& protokoll() const { return m_protokoll; }
    int offeneSchluessel() const { return static_cast<int>(m_offen.size()); }

private:
    std::vector<RegEintrag> m_protokoll;
};

inline TestRegistry standardRegistry() { return TestRegistry(standardInstallation()); }

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
