#pragma once

#include <QString>

#include <stdexcept>

namespace orve {

// A failure the user is told about: text() is a German message, ready for a
// message box. The subsystems derive their own kinds from it.
class Fehler : public std::runtime_error {
public:
    explicit Fehler(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

} // namespace orve
