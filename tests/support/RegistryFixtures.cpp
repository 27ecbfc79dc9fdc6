#include "RegistryFixtures.h"

#include "startup/Installation.h"

#include <QCoreApplication>

namespace orve::test {

std::vector<RegEintrag> standardInstallation(const QString& treiberDatei)
{
    const QString datei = treiberDatei.isEmpty() ? QCoreApplication::applicationFilePath() : treiberDatei;
    return orve::standardInstallation(datei, datei);
}

std::vector<RegEintrag> ohne(std::vector<RegEintrag> eintraege, const QString& schluessel, const QString& name)
{
    std::erase_if(eintraege, [&](const RegEintrag& e) {
        const bool dort = e.schluessel.compare(schluessel, Qt::CaseInsensitive) == 0;
        return name.isEmpty() ? dort || e.schluessel.startsWith(schluessel + QLatin1Char('\\'), Qt::CaseInsensitive)
                              : dort && e.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    return eintraege;
}

bool TestRegistry::wertSetzen(RegSchluessel s, const QString& name, const RegWert& w)
{
    if (gesperrteWerte.contains(name.toLower()) || !SpeicherRegistry::wertSetzen(s, name, w))
        return false;
    m_protokoll.push_back(RegEintrag{offen(s)->hive, offen(s)->schluessel, name, w});
    return true;
}

std::optional<RegWert> TestRegistry::wertLesen(RegSchluessel s, const QString& name)
{
    if (lesenWirft.contains(name.toLower()))
        throw RegistryFehler(5, QStringLiteral("Zugriff verweigert"));
    return SpeicherRegistry::wertLesen(s, name);
}

std::optional<RegWert> TestRegistry::wert(Hive hive, const QString& pfad, const QString& name)
{
    const auto s = SpeicherRegistry::oeffnen(hive, pfad);
    const auto w = s ? SpeicherRegistry::wertLesen(*s, name) : std::nullopt;
    if (s)
        SpeicherRegistry::schliessen(*s);
    return w;
}

bool TestRegistry::entfernen(Hive hive, const QString& pfad, const QString& name)
{
    Schluessel* k = finden(hive, pfad);
    return k && std::erase_if(k->werte, [&](const auto& p) { return p.first.compare(name, Qt::CaseInsensitive) == 0; });
}

} // namespace orve::test
