#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QStringList>

#include <vector>

namespace orve {

// One call as the import writes it into the local call table `bill` and
// into the main window's list: six texts.
struct Anruf {
    QString user;      // extension
    QString username;  // name of the extension
    QString number;    // dialled number
    QString time;      // start
    QString duration;  // seconds
    QString lineno;    // exchange line

    bool operator==(const Anruf&) const = default;
};

// The main window's list of calls (List1). A line is the six values joined
// by one tab each, in the order extension, line number, start, dialled
// number, duration, extension name: what the display role and a copy give.
// SpaltenRolle hands the same six values as a list, for a view that shows
// them in aligned columns. Holds 100,000 calls without trouble.
class AnrufListe : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int SpaltenRolle = Qt::UserRole + 1;

    explicit AnrufListe(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void leeren();
    void anhaengen(std::vector<Anruf> neue);

    const Anruf& anruf(int zeile) const { return m_anrufe[static_cast<size_t>(zeile)]; }
    const std::vector<Anruf>& anrufe() const { return m_anrufe; }

    static QStringList spalten(const Anruf& a);
    static QString zeile(const Anruf& a);

private:
    std::vector<Anruf> m_anrufe;
};

} // namespace orve
