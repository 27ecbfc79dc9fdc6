#include "startup/Systemumgebung.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace orve {

Systemumgebung::~Systemumgebung() = default;

std::optional<QByteArray> EchteSystemumgebung::GetUserNameA()
{
#ifdef _WIN32
    // Windows hands over the name with its NUL; the buffer is the caller's 255 bytes.
    char puffer[255];
    DWORD laenge = sizeof puffer;
    if (!::GetUserNameA(puffer, &laenge) || laenge == 0)
        return std::nullopt;
    return QByteArray(puffer, static_cast<qsizetype>(laenge));
#else
    QByteArray name;
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name)
        name = QByteArray(pw->pw_name);
    if (name.isEmpty())
        name = qgetenv("USER");
    // The caller's buffer holds 255 bytes with the terminating NUL.
    if (name.isEmpty() || name.size() + 1 > 255)
        return std::nullopt;
    return name + '\0';
#endif
}

QString EchteSystemumgebung::GetSystemDirectoryA()
{
#ifdef _WIN32
    char puffer[260];
    const UINT laenge = ::GetSystemDirectoryA(puffer, sizeof puffer);
    if (laenge == 0 || laenge >= sizeof puffer)
        return QStringLiteral("C:\\Windows\\system32");
    return QString::fromLocal8Bit(puffer, static_cast<qsizetype>(laenge));
#else
#if defined(__x86_64__)
    const char* triplet = "x86_64-linux-gnu";
#elif defined(__aarch64__)
    const char* triplet = "aarch64-linux-gnu";
#elif defined(__i386__)
    const char* triplet = "i386-linux-gnu";
#elif defined(__arm__)
    const char* triplet = "arm-linux-gnueabihf";
#else
    const char* triplet = nullptr;
#endif
    QStringList kandidaten;
    if (triplet)
        kandidaten << QStringLiteral("/usr/lib/") + QLatin1String(triplet);
    kandidaten << QStringLiteral("/usr/lib64") << QStringLiteral("/usr/lib");
    for (const QString& k : kandidaten)
        if (QFileInfo(k).isDir())
            return k.left(259);
    return QStringLiteral("/usr/lib");
#endif
}

std::optional<QString> EchteSystemumgebung::datenzugriffVersion()
{
    const char* v = sqlite3_libversion();
    if (!v || !*v)
        return std::nullopt;
    return QString::fromLatin1(v);
}

} // namespace orve
