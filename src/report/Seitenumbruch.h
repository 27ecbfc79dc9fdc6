#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace orve {

// Heights of the sections and of the page, in twips.
struct Seitenmasse {
    int seitenhoehe = 0; // printable height of a page (between the margins)
    int kopf = 0;        // page header
    int gruppenkopf = 0;
    int detail = 0;
    int gruppenfuss = 0;
    int fuss = 0; // page footer, at the foot of every page
};

// A section placed on a page: its kind, the group and call it shows, and
// its top edge in twips from the top of the printable area.
struct Platzierung {
    enum class Art { Gruppenkopf, Detail, Gruppenfuss };
    Art art;
    int gruppe;
    int anruf; // index of the call within its group (Detail only)
    int y;
};

// The sections of a report split into pages. Every page has the page
// header at its top and the page footer at its foot; a group header never
// stands alone at the foot of a page (it goes with the group's first call),
// a group footer never at the head of one (it goes with the group's last
// call). A page that continues a group shows the group's header again
// above its calls. A report without calls has one page.
class Seiteneinteilung {
public:
    std::size_t seiten() const { return m_anfang.size(); }
    std::span<const Platzierung> seite(std::size_t index) const;
    int fussY() const { return m_fussY; } // top edge of the page footer

    friend Seiteneinteilung seitenEinteilen(std::span<const std::size_t> anrufeJeGruppe, const Seitenmasse& m,
                                            bool neueSeiteJeGruppe);

private:
    std::vector<Platzierung> m_plaetze;
    std::vector<std::size_t> m_anfang; // first placement of each page
    int m_fussY = 0;
};

// Splits groups with the given numbers of calls into pages; with
// neueSeiteJeGruppe each group starts on a new page.
Seiteneinteilung seitenEinteilen(std::span<const std::size_t> anrufeJeGruppe, const Seitenmasse& m,
                                 bool neueSeiteJeGruppe = false);

} // namespace orve
