#pragma once

#include "startup/Installation.h"
#include "startup/SpeicherRegistry.h"
#include "startup/Systemumgebung.h"

#include <QCoreApplication>
#include <QSet>

namespace orve::test {

inline RegEintrag textEintrag(const QString& schluessel, const QString& name, const QString& text)
{
    return RegEintrag {Hive::LocalMachine, schluessel, name, RegWert::alsText(text)};
}

// What the set-up tool writes (four drivers, the two SQLite data sources), every driver file being treiberDatei.
inline std::vector<RegEintrag>
standardInstallation(const QString& treiberDatei = QCoreApplication::applicationFilePath())
{
    return orve::standardInstallation(treiberDatei, treiberDatei);
}

// Without the value `name` of the key; without the key and its subkeys when name is empty.
inline std::vector<RegEintrag> ohne(std::vector<RegEintrag> eintraege, const QString& schluessel,
                                    const QString& name = {})
{
    std::erase_if(eintraege, [&](const RegEintrag& e) {
        const bool dort = e.schluessel.compare(schluessel, Qt::CaseInsensitive) == 0;
        return name.isEmpty() ? dort || e.schluessel.startsWith(schluessel + QLatin1Char('\\'), Qt::CaseInsensitive)
                              : dort && e.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    return eintraege;
}

// The value `name` of a key, read through the registry's own calls; nothing when key or value is missing.
inline std::optional<RegWert> wert(Registry& reg, Hive hive, const QString& pfad, const QString& name)
{
    const auto s = reg.oeffnen(hive, pfad);
    const auto w = s ? reg.wertLesen(*s, name) : std::nullopt;
    if (s)
        reg.schliessen(*s);
    return w;
}

// A memory registry that logs its writes and fails on request.
class TestRegistry : public SpeicherRegistry {
public:
    using SpeicherRegistry::SpeicherRegistry;

    QSet<QString> gesperrteSchluessel; // lower-case paths
    QSet<QString> gesperrteWerte;      // lower-case value names
    QSet<QString> lesenWirft;          // lower-case value names: RegistryFehler(5, "Zugriff verweigert")
    bool schliessenScheitert = false;

    std::optional<RegSchluessel> anlegen(Hive h, const QString& pfad) override
    {
        return gesperrteSchluessel.contains(pfad.toLower()) ? std::nullopt : SpeicherRegistry::anlegen(h, pfad);
    }
    bool wertSetzen(RegSchluessel s, const QString& name, const RegWert& w) override
    {
        if (gesperrteWerte.contains(name.toLower()) || !SpeicherRegistry::wertSetzen(s, name, w))
            return false;
        m_protokoll.push_back(RegEintrag {offen(s)->hive, offen(s)->schluessel, name, w});
        return true;
    }
    std::optional<RegWert> wertLesen(RegSchluessel s, const QString& name) override
    {
        if (lesenWirft.contains(name.toLower()))
            throw RegistryFehler(5, QStringLiteral("Zugriff verweigert"));
        return SpeicherRegistry::wertLesen(s, name);
    }
    bool schliessen(RegSchluessel s) override { return SpeicherRegistry::schliessen(s) && !schliessenScheitert; }

    auto wert(Hive h, const QString& pfad, const QString& name) { return test::wert(*this, h, pfad, name); }
    const std::vector<RegEintrag>& protokoll() const { return m_protokoll; }
    int offeneSchluessel() const { return static_cast<int>(m_offen.size()); }

private:
    std::vector<RegEintrag> m_protokoll;
};

inline TestRegistry standardRegistry()
{
    return TestRegistry(standardInstallation());
}

class FesteSystemumgebung : public Systemumgebung {
public:
    std::optional<QByteArray> benutzer = QByteArray("anwender");
    QString systemOrdner = "/usr/lib";
    std::optional<QString> version = QStringLiteral("3.40.1");

    std::optional<QByteArray> GetUserNameA() override { return benutzer; }
    QString GetSystemDirectoryA() override { return systemOrdner; }
    std::optional<QString> datenzugriffVersion() override { return version; }
};

} // namespace orve::test
