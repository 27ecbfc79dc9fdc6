#include "calls/AnrufListe.h"

namespace orve {

AnrufListe::AnrufListe(QObject* parent) : QAbstractListModel(parent) {}

int AnrufListe::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_anrufe.size());
}

QVariant AnrufListe::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount())
        return {};
    const Anruf& a = m_anrufe[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        return zeile(a);
    case SpaltenRolle:
        return spalten(a);
    default:
        return {};
    }
}

void AnrufListe::leeren()
{
    if (m_anrufe.empty())
        return;
    beginResetModel();
    m_anrufe.clear();
    m_anrufe.shrink_to_fit();
    endResetModel();
}

void AnrufListe::anhaengen(std::vector<Anruf> neue)
{
    if (neue.empty())
        return;
    const int erste = rowCount();
    beginInsertRows(QModelIndex(), erste, erste + static_cast<int>(neue.size()) - 1);
    if (m_anrufe.empty()) {
        m_anrufe = std::move(neue);
    } else {
        m_anrufe.reserve(m_anrufe.size() + neue.size());
        std::move(neue.begin(), neue.end(), std::back_inserter(m_anrufe));
    }
    endInsertRows();
}

QStringList AnrufListe::spalten(const Anruf& a)
{
    return {a.user, a.lineno, a.time, a.number, a.duration, a.username};
}

QString AnrufListe::zeile(const Anruf& a)
{
    return spalten(a).join(QLatin1Char('\t'));
}

} // namespace orve
