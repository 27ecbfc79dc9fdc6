#include "startup/Registry.h"

#include <QDir>

#include <algorithm>
#include <array>
#include <utility>

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

// Path of a key under its parent: "a\b\c" -> "a\b"; the root has none.
QString elternPfad(const QString& pfad)
{
    const auto i = pfad.lastIndexOf(QLatin1Char('\\'));
    return i < 0 ? QString() : pfad.left(i);
}

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

// ---------------------------------------------------------------------------
// SpeicherRegistry

SpeicherRegistry::SpeicherRegistry(const std::vector<RegEintrag>& eintraege)
{
    for (const auto& e : eintraege)
        eintragen(e);
}

QString SpeicherRegistry::normalisiert(const QString& pfad)
{
    // Leading and trailing backslashes and empty parts carry no meaning.
    const QStringList teile = pfad.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return teile.join(QLatin1Char('\\'));
}

SpeicherRegistry::Schluessel* SpeicherRegistry::finden(Hive hive, const QString& pfad)
{
    auto h = m_daten.hives.find(hive);
    if (h == m_daten.hives.end())
        return nullptr;
    auto k = h->second.find(normalisiert(pfad).toLower());
    return k == h->second.end() ? nullptr : &k->second;
}

const SpeicherRegistry::Schluessel* SpeicherRegistry::finden(Hive hive, const QString& pfad) const
{
    return const_cast<SpeicherRegistry*>(this)->finden(hive, pfad);
}

SpeicherRegistry::Schluessel& SpeicherRegistry::erzeugen(Hive hive, const QString& pfad)
{
    const QString n = normalisiert(pfad);
    auto& keys = m_daten.hives[hive];
    // Parents first, as RegCreateKey creates every missing level.
    for (QString p = n; !p.isEmpty(); p = elternPfad(p)) {
        const QString lower = p.toLower();
        if (keys.count(lower))
            break;
        keys[lower].pfad = p;
    }
    auto& k = keys[n.toLower()];
    if (k.pfad.isEmpty())
        k.pfad = n;
    return k;
}

const SpeicherRegistry::Offen* SpeicherRegistry::offen(RegSchluessel s) const
{
    const auto it = m_offen.find(s.id);
    return it == m_offen.end() ? nullptr : &it->second;
}

std::optional<RegSchluessel> SpeicherRegistry::oeffnen(Hive hive, const QString& pfad)
{
    const QString n = normalisiert(pfad);
    // The hive itself can always be opened.
    if (!n.isEmpty() && !finden(hive, n))
        return std::nullopt;
    const int id = m_naechsteId++;
    m_offen[id] = Offen{hive, n.toLower(), false};
    return RegSchluessel{id};
}

std::optional<RegWert> SpeicherRegistry::wertLesen(RegSchluessel schluessel, const QString& name)
{
    const Offen* o = offen(schluessel);
    if (!o)
        return std::nullopt;
    return wert(o->hive, o->schluessel, name);
}

std::optional<RegSchluessel> SpeicherRegistry::anlegen(Hive hive, const QString& pfad)
{
    const QString n = normalisiert(pfad);
    if (!n.isEmpty())
        erzeugen(hive, n);
    const int id = m_naechsteId++;
    m_offen[id] = Offen{hive, n.toLower(), true};
    return RegSchluessel{id};
}

bool SpeicherRegistry::wertSetzen(RegSchluessel schluessel, const QString& name, const RegWert& wert)
{
    const Offen* o = offen(schluessel);
    if (!o || !o->schreibbar)
        return false;
    Schluessel& k = erzeugen(o->hive, o->schluessel);
    auto it = std::find_if(k.werte.begin(), k.werte.end(),
                           [&](const auto& p) { return p.first.compare(name, Qt::CaseInsensitive) == 0; });
    if (it != k.werte.end())
        it->second = wert;
    else
        k.werte.emplace_back(name, wert);
    m_protokoll.push_back(RegEintrag{o->hive, k.pfad, name, wert});
    return true;
}

bool SpeicherRegistry::schliessen(RegSchluessel schluessel)
{
    return m_offen.erase(schluessel.id) == 1;
}

void SpeicherRegistry::eintragen(const RegEintrag& e)
{
    Schluessel& k = erzeugen(e.hive, e.schluessel);
    auto it = std::find_if(k.werte.begin(), k.werte.end(),
                           [&](const auto& p) { return p.first.compare(e.name, Qt::CaseInsensitive) == 0; });
    if (it != k.werte.end())
        it->second = e.wert;
    else
        k.werte.emplace_back(e.name, e.wert);
}

bool SpeicherRegistry::entfernen(Hive hive, const QString& pfad, const QString& name)
{
    Schluessel* k = finden(hive, pfad);
    if (!k)
        return false;
    const auto vorher = k->werte.size();
    std::erase_if(k->werte, [&](const auto& p) { return p.first.compare(name, Qt::CaseInsensitive) == 0; });
    return k->werte.size() != vorher;
}

bool SpeicherRegistry::schluesselVorhanden(Hive hive, const QString& pfad) const
{
    return finden(hive, pfad) != nullptr;
}

std::optional<RegWert> SpeicherRegistry::wert(Hive hive, const QString& pfad, const QString& name) const
{
    const Schluessel* k = finden(hive, pfad);
    if (!k)
        return std::nullopt;
    for (const auto& [n, w] : k->werte)
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return w;
    return std::nullopt;
}

std::vector<RegEintrag> SpeicherRegistry::eintraege() const
{
    std::vector<RegEintrag> out;
    for (const auto& [hive, keys] : m_daten.hives)
        for (const auto& [lower, k] : keys)
            for (const auto& [n, w] : k.werte)
                out.push_back(RegEintrag{hive, k.pfad, n, w});
    return out;
}

// ---------------------------------------------------------------------------
// DateiRegistry

QString DateiRegistry::standardDatei(const QString& programmOrdner)
{
    return QDir::toNativeSeparators(QDir(programmOrdner).filePath(QStringLiteral("Registry/HKEY_LOCAL_MACHINE.reg")));
}

std::optional<RegSchluessel> DateiRegistry::oeffnen(Hive hive, const QString& pfad)
{
    if (hive != Hive::LocalMachine)
        return std::nullopt;
    return SpeicherRegistry::oeffnen(hive, pfad);
}

std::optional<RegSchluessel> DateiRegistry::anlegen(Hive hive, const QString& pfad)
{
    if (hive != Hive::LocalMachine)
        return std::nullopt;
    if (schluesselVorhanden(hive, pfad) || normalisiert(pfad).isEmpty())
        return SpeicherRegistry::anlegen(hive, pfad);
    const Daten vorher = m_daten;
    auto s = SpeicherRegistry::anlegen(hive, pfad);
    if (!speichern()) {
        m_daten = vorher;
        if (s)
            SpeicherRegistry::schliessen(*s);
        return std::nullopt;
    }
    return s;
}

bool DateiRegistry::wertSetzen(RegSchluessel schluessel, const QString& name, const RegWert& wert)
{
    const Daten vorher = m_daten;
    const auto protokollVorher = m_protokoll.size();
    if (!SpeicherRegistry::wertSetzen(schluessel, name, wert))
        return false;
    if (!speichern()) {
        m_daten = vorher;
        m_protokoll.resize(protokollVorher);
        return false;
    }
    return true;
}

} // namespace orve
