#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace orve {

// Lines of calls kept as UTF-8 one after the other in large blocks, so that
// 100,000 calls cost a few blocks of memory instead of 600,000 small texts.
// A line is its six values in list order (extension, line number, start,
// dialled number, duration, extension name) joined by tabs.
class AnrufPuffer {
public:
    AnrufPuffer();
    AnrufPuffer(AnrufPuffer&&) noexcept;
    AnrufPuffer& operator=(AnrufPuffer&&) noexcept;
    ~AnrufPuffer();

    // Adds a line from the six values in UTF-8; returns its number.
    int zeile(std::string_view user, std::string_view username, std::string_view number, std::string_view time,
              std::string_view duration, std::string_view lineno);

    int anzahl() const { return static_cast<int>(m_zeilen.size()); }
    bool leer() const { return m_zeilen.empty(); }

    // Value k of a line in list order (0 extension, 1 line number, 2 start,
    // 3 dialled number, 4 duration, 5 extension name).
    std::string_view feld(int zeile, int k) const;
    // The whole line, values joined by tabs.
    std::string_view text(int zeile) const;

private:
    struct Zeile {
        std::uint32_t block;
        std::uint32_t anfang[7]; // start of each value, then the end of the line
    };
    std::vector<std::unique_ptr<char[]>> m_bloecke;
    std::vector<std::uint32_t> m_groesse; // bytes of each block
    std::uint32_t m_frei = 0;             // bytes used in the last block
    std::vector<Zeile> m_zeilen;
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
    // Shows the lines of `puffer`; reihenfolge, when given, names the lines
    // to show in their order (the others stay hidden). Replaces what the
    // list showed.
    void setzen(AnrufPuffer&& puffer, std::optional<std::vector<int>> reihenfolge = std::nullopt);

    // The six values of a line in list order.
    QStringList spalten(int zeile) const;
    QString zeile(int zeile) const;

private:
    int puffer(int zeile) const { return m_reihenfolge ? (*m_reihenfolge)[static_cast<size_t>(zeile)] : zeile; }

    AnrufPuffer m_daten;
    std::optional<std::vector<int>> m_reihenfolge; // nothing: every line of m_daten in its order
};

} // namespace orve
