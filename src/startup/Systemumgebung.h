#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace orve {

// What the start-up asks the operating system.
class Systemumgebung {
public:
    virtual ~Systemumgebung();
    // The name of the logged-on user as the system hands it over, possibly
    // followed by a NUL and more bytes; nothing when the call fails (also
    // when the name does not fit 255 bytes with its NUL).
    virtual std::optional<QByteArray> GetUserNameA() = 0;
    // The system's library folder (at most 259 characters).
    virtual QString GetSystemDirectoryA() = 0;
    // The version text of the data-access components; nothing when they are
    // missing.
    virtual std::optional<QString> datenzugriffVersion() = 0;
};

// The real machine: the process owner's login name (fallback $USER), the
// system library folder (/usr/lib/<multiarch>, /usr/lib64 or /usr/lib) and
// the SQLite library's version.
class EchteSystemumgebung : public Systemumgebung {
public:
    std::optional<QByteArray> GetUserNameA() override;
    QString GetSystemDirectoryA() override;
    std::optional<QString> datenzugriffVersion() override;
};

} // namespace orve
