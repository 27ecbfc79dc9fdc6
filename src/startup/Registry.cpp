#include "startup/Registry.h"

#include <array>

namespace orve {

namespace {

struct HiveNamen {
    Hive hive;
    const char* name;
};

constexpr std::array<HiveNamen, 7> kHives = {{
    {Hive::ClassesRoot, "HKEY_CLASSES_ROOT"},
    {Hive::CurrentConfig, "HKEY_CURRENT_CONFIG"},
    {Hive::CurrentUser, "HKEY_CURRENT_USER"},
    {Hive::DynData, "HKEY_DYN_DATA"},
    {Hive::LocalMachine, "HKEY_LOCAL_MACHINE"},
    {Hive::PerformanceData, "HKEY_PERFORMANCE_DATA"},
    {Hive::Users, "HKEY_USERS"},
}};

} // namespace

std::optional<Hive> hiveAusName(const QString& name)
{
    for (const auto& h : kHives)
        if (name == QLatin1String(h.name))
            return h.hive;
    return std::nullopt;
}

QString hiveName(Hive hive)
{
    for (const auto& h : kHives)
        if (h.hive == hive)
            return QLatin1String(h.name);
    return QString();
}

bool RegEintrag::operator==(const RegEintrag& o) const
{
    return hive == o.hive && schluessel.compare(o.schluessel, Qt::CaseInsensitive) == 0
           && name.compare(o.name, Qt::CaseInsensitive) == 0 && wert == o.wert;
}

Registry::~Registry() = default;

} // namespace orve
