#include "calls/AnrufListe.h"

#include <cstring>
#include <stdexcept>

namespace orve {

namespace {

constexpr std::uint32_t kBlock = 1u << 20;

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

AnrufPuffer::AnrufPuffer() = default;
AnrufPuffer::AnrufPuffer(AnrufPuffer&&) noexcept = default;
AnrufPuffer& AnrufPuffer::operator=(AnrufPuffer&&) noexcept = default;
AnrufPuffer::~AnrufPuffer() = default;

int AnrufPuffer::zeile(std::string_view user, std::string_view username, std::string_view number,
                       std::string_view time, std::string_view duration, std::string_view lineno)
{
    // List order: extension, line number, start, dialled number, duration, name.
    const std::string_view werte[6] = {user, lineno, time, number, duration, username};
    size_t laenge = 5;
    for (const auto& w : werte)
        laenge += w.size();
    if (laenge > 0xFFFFFFF0u)
        throw std::length_error("call line too long");
    const auto bytes = static_cast<std::uint32_t>(laenge);
    if (m_bloecke.empty() || m_groesse.back() - m_frei < bytes) {
        const std::uint32_t groesse = std::max(kBlock, bytes);
        m_bloecke.push_back(std::make_unique<char[]>(groesse));
        m_groesse.push_back(groesse);
        m_frei = 0;
    }
    char* block = m_bloecke.back().get();
    Zeile z;
    z.block = static_cast<std::uint32_t>(m_bloecke.size() - 1);
    for (int k = 0; k < 6; ++k) {
        if (k > 0)
            block[m_frei++] = '\t';
        z.anfang[k] = m_frei;
        if (!werte[k].empty())
            std::memcpy(block + m_frei, werte[k].data(), werte[k].size());
        m_frei += static_cast<std::uint32_t>(werte[k].size());
    }
    z.anfang[6] = m_frei;
    m_zeilen.push_back(z);
    return anzahl() - 1;
}

std::string_view AnrufPuffer::feld(int zeile, int k) const
{
    const Zeile& z = m_zeilen[static_cast<size_t>(zeile)];
    const std::uint32_t ende = k < 5 ? z.anfang[k + 1] - 1 : z.anfang[6]; // without the tab in between
    return std::string_view(m_bloecke[z.block].get() + z.anfang[k], ende - z.anfang[k]);
}

std::string_view AnrufPuffer::text(int zeile) const
{
    const Zeile& z = m_zeilen[static_cast<size_t>(zeile)];
    return std::string_view(m_bloecke[z.block].get() + z.anfang[0], z.anfang[6] - z.anfang[0]);
}

AnrufListe::AnrufListe(QObject* parent) : QAbstractListModel(parent)
{
}

int AnrufListe::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_reihenfolge ? static_cast<int>(m_reihenfolge->size()) : m_daten.anzahl();
}

QString AnrufListe::zeile(int zeile) const
{
    return text(m_daten.text(puffer(zeile)));
}

QStringList AnrufListe::spalten(int zeile) const
{
    QStringList s;
    s.reserve(6);
    for (int k = 0; k < 6; ++k)
        s << text(m_daten.feld(puffer(zeile), k));
    return s;
}

QVariant AnrufListe::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        return zeile(index.row());
    case SpaltenRolle:
        return spalten(index.row());
    default:
        return {};
    }
}

void AnrufListe::leeren()
{
    if (rowCount() == 0 && m_daten.leer())
        return;
    beginResetModel();
    m_daten = AnrufPuffer();
    m_reihenfolge.reset();
    endResetModel();
}

void AnrufListe::setzen(AnrufPuffer&& daten, std::optional<std::vector<int>> reihenfolge)
{
    if (reihenfolge)
        for (int z : *reihenfolge)
            if (z < 0 || z >= daten.anzahl())
                throw std::out_of_range("no such call line");
    beginResetModel();
    m_daten = std::move(daten);
    m_reihenfolge = std::move(reihenfolge);
    endResetModel();
}

} // namespace orve
