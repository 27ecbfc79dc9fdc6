#include "report/Seitenumbruch.h"

#include <utility>

namespace orve {

std::span<const Platzierung> Seiteneinteilung::seite(std::size_t index) const
{
    const std::size_t von = m_anfang.at(index);
    const std::size_t bis = index + 1 < m_anfang.size() ? m_anfang[index + 1] : m_plaetze.size();
    return std::span<const Platzierung>(m_plaetze).subspan(von, bis - von);
}

Seiteneinteilung seitenEinteilen(std::span<const std::size_t> anrufeJeGruppe, const Seitenmasse& m,
                                 bool neueSeiteJeGruppe)
{
    using Art = Platzierung::Art;
    Seiteneinteilung e;
    e.m_fussY = m.seitenhoehe - m.fuss;
    e.m_anfang.push_back(0);
    int y = m.kopf;

    const auto leer = [&] { return e.m_plaetze.size() == e.m_anfang.back(); };
    const auto hoehe = [&](Art art) {
        switch (art) {
        case Art::Gruppenkopf:
            return m.gruppenkopf;
        case Art::Detail:
            return m.detail;
        case Art::Gruppenfuss:
            return m.gruppenfuss;
        }
        return 0;
    };
    const auto platzieren = [&](Art art, int gruppe, int anruf) {
        e.m_plaetze.push_back(Platzierung {art, gruppe, anruf, y});
        y += hoehe(art);
    };
    // A new page whose first section is `erste` of `gruppe`: a page that
    // continues the group starts with its header (where the two fit).
    const auto neueSeite = [&](Art erste, int gruppe) {
        e.m_anfang.push_back(e.m_plaetze.size());
        y = m.kopf;
        if (erste != Art::Gruppenkopf && y + m.gruppenkopf + hoehe(erste) <= e.m_fussY)
            platzieren(Art::Gruppenkopf, gruppe, -1);
    };
    // Sections that must stand on one page. A block taller than a whole
    // page (only on absurdly small pages) is broken section by section.
    const auto block = [&](std::initializer_list<std::pair<Art, int>> teile, int gruppe) {
        int gesamt = 0;
        for (const auto& [art, anruf] : teile)
            gesamt += hoehe(art);
        if (y + gesamt > e.m_fussY && !leer())
            neueSeite(teile.begin()->first, gruppe);
        for (const auto& [art, anruf] : teile) {
            if (y + hoehe(art) > e.m_fussY && !leer())
                neueSeite(art, gruppe);
            platzieren(art, gruppe, anruf);
        }
    };

    for (std::size_t g = 0; g < anrufeJeGruppe.size(); ++g) {
        const int gruppe = static_cast<int>(g);
        const int n = static_cast<int>(anrufeJeGruppe[g]);
        if (neueSeiteJeGruppe && !leer())
            neueSeite(Art::Gruppenkopf, gruppe);
        if (n == 0) {
            block({{Art::Gruppenkopf, -1}, {Art::Gruppenfuss, -1}}, gruppe);
        } else if (n == 1) {
            block({{Art::Gruppenkopf, -1}, {Art::Detail, 0}, {Art::Gruppenfuss, -1}}, gruppe);
        } else {
            block({{Art::Gruppenkopf, -1}, {Art::Detail, 0}}, gruppe);
            for (int i = 1; i < n - 1; ++i)
                block({{Art::Detail, i}}, gruppe);
            block({{Art::Detail, n - 1}, {Art::Gruppenfuss, -1}}, gruppe);
        }
    }
    return e;
}

} // namespace orve
