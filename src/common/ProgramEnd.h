#pragma once

#include <QString>

#include <stdexcept>

namespace orve {

// Thrown by the logic when the program must end (a missing prerequisite, a
// refused question, a broken tariff table). It is caught where a window's
// command hands back to the event loop and in main(), which close the
// databases and quit with a non-zero exit code. Nothing calls exit().
class ProgramEnd : public std::runtime_error {
public:
    explicit ProgramEnd(const QString& reason, int exitCode = 1)
        : std::runtime_error(reason.toStdString()), m_reason(reason), m_exitCode(exitCode)
    {
    }

    const QString& reason() const { return m_reason; }
    int exitCode() const { return m_exitCode; }

private:
    QString m_reason;
    int m_exitCode;
};

} // namespace orve
