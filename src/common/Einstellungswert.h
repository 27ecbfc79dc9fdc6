#pragma once

#include <QString>

#include <optional>

namespace orve {

// A number setting as the user typed it, with its number read once, when the
// text is set: the text is offered again when asked and written to its file,
// the number is what the pricing and the report use.
class Einstellungswert {
public:
    enum class Regel {
        FuehrendeZahl, // the VAT rate: the leading number ("19 %" -> 19, "7,7" -> 7.7), or no number ("abc")
        DeutscheZahl,  // surcharge and minute price: a German decimal, or no number ("1,20" -> 1.2)
    };

    explicit Einstellungswert(Regel regel) : m_regel(regel) { *this = QString(); }
    Einstellungswert& operator=(const QString& text);

    const QString& text() const { return m_text; }
    // Nothing when the text is no number.
    std::optional<double> zahl() const { return m_zahl; }
    bool leer() const { return m_text.isEmpty(); }
    bool operator==(const QString& text) const { return m_text == text; }

private:
    Regel m_regel;
    QString m_text;
    std::optional<double> m_zahl;
};

} // namespace orve
