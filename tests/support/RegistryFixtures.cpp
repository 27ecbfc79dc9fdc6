#include "RegistryFixtures.h"

#include "startup/Installation.h"

#include <QCoreApplication>

namespace orve::test {

RegEintrag textEintrag(const QString& schluessel, const QString& name, const QString& text)
{
    return RegEintrag{Hive::LocalMachine, schluessel, name, RegWert::alsText(text)};
}

RegEintrag zahlEintrag(const QString& schluessel, const QString& name, quint32 zahl)
{
    return RegEintrag{Hive::LocalMachine, schluessel, name, RegWert::alsZahl(zahl)};
}

std::vector<RegEintrag> standardInstallation(const QString& treiberDatei)
{
    const QString datei = treiberDatei.isEmpty() ? QCoreApplication::applicationFilePath() : treiberDatei;
    return orve::standardInstallation(datei, datei);
}

std::vector<RegEintrag> ohne(std::vector<RegEintrag> eintraege, const QString& schluessel, const QString& name)
{
    std::erase_if(eintraege, [&](const RegEintrag& e) {
        if (name.isEmpty())
            return e.schluessel.compare(schluessel, Qt::CaseInsensitive) == 0
                || e.schluessel.startsWith(schluessel + QLatin1Char('\\'), Qt::CaseInsensitive);
        return e.schluessel.compare(schluessel, Qt::CaseInsensitive) == 0
            && e.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    return eintraege;
}

std::vector<RegEintrag> mit(std::vector<RegEintrag> eintraege, const RegEintrag& e)
{
    for (auto& vorhanden : eintraege) {
        if (vorhanden.hive == e.hive && vorhanden.schluessel.compare(e.schluessel, Qt::CaseInsensitive) == 0
            && vorhanden.name.compare(e.name, Qt::CaseInsensitive) == 0) {
            vorhanden.wert = e.wert;
            return eintraege;
        }
    }
    eintraege.push_back(e);
    return eintraege;
}

SpeicherRegistry standardRegistry(const QString& treiberDatei)
{
    return SpeicherRegistry(standardInstallation(treiberDatei));
}

} // namespace orve::test
