#include "common/Konsolenausgabe.h"

#include <cerrno>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace orve {

bool konsoleSchreiben(std::FILE* f, const QString& text)
{
#ifdef _WIN32
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
    DWORD modus = 0;
    if (h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &modus)) {
        std::fflush(f);
        DWORD geschrieben = 0;
        return WriteConsoleW(h, text.utf16(), static_cast<DWORD>(text.size()), &geschrieben, nullptr)
               && geschrieben == static_cast<DWORD>(text.size());
    }
    // The same bytes as on Linux: UTF-8 with line feeds only.
    _setmode(_fileno(f), _O_BINARY);
    const QByteArray b = text.toUtf8();
#else
    const QByteArray b = text.toLocal8Bit();
#endif
    errno = 0;
    return std::fwrite(b.constData(), 1, static_cast<size_t>(b.size()), f) == static_cast<size_t>(b.size())
           && std::fflush(f) == 0 && std::ferror(f) == 0;
}

} // namespace orve
