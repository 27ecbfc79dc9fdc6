#include "common/Laufsperre.h"

#include "common/Dialogs.h"
#include "common/Fehler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orve {

namespace {

QString programmText(Laufsperre::Programm p)
{
    switch (p) {
    case Laufsperre::Programm::Fenster:
        return QStringLiteral("Programmfenster orve-tarifo");
    case Laufsperre::Programm::Stapelbefehl:
        return QStringLiteral("Stapelbefehl orve-tarifo-bericht");
    case Laufsperre::Programm::Tarifeditor:
        return QStringLiteral("Tarifeditor im Programmfenster orve-tarifo");
    }
    return {};
}

QString benutzerName()
{
#ifdef _WIN32
    wchar_t puffer[257];
    DWORD laenge = 257;
    if (GetUserNameW(puffer, &laenge) && laenge > 1)
        return QString::fromWCharArray(puffer, static_cast<qsizetype>(laenge - 1));
    return qEnvironmentVariable("USERNAME");
#else
    const uid_t uid = geteuid();
    passwd eintrag {};
    passwd* gefunden = nullptr;
    char puffer[4096];
    if (getpwuid_r(uid, &eintrag, puffer, sizeof puffer, &gefunden) == 0 && gefunden)
        return QString::fromLocal8Bit(gefunden->pw_name);
    return QString::number(uid);
#endif
}

// The lock file's operations. On Windows the lock is a byte range far beyond
// the file's end: a range lock there keeps the holder's name, at the file's
// start, readable for a second run, as an flock lock does.
#ifdef _WIN32
int errnoAusWindows(DWORD fehler)
{
    switch (fehler) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_LOCK_VIOLATION:
        return EWOULDBLOCK;
    default:
        return static_cast<int>(fehler);
    }
}

HANDLE griff(int datei)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(datei));
}

OVERLAPPED sperrBereich()
{
    OVERLAPPED o {};
    o.Offset = 0;
    o.OffsetHigh = 0x7fffffff;
    return o;
}

// The open file as a descriptor, or -1 with the cause in errno.
int sperrdateiOeffnen(const QString& pfad)
{
    const HANDLE h =
        CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(pfad).utf16()),
                    GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        errno = errnoAusWindows(GetLastError());
        return -1;
    }
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        errno = 0;
        return -2;
    }
    const int datei = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDWR | _O_NOINHERIT);
    if (datei < 0)
        CloseHandle(h);
    return datei;
}

// 0 when taken, otherwise the cause (EWOULDBLOCK: another holds it).
int sperren(int datei)
{
    OVERLAPPED o = sperrBereich();
    if (LockFileEx(griff(datei), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &o))
        return 0;
    return errnoAusWindows(GetLastError());
}

void inhaltErsetzen(int datei, const QByteArray& inhalt)
{
    const HANDLE h = griff(datei);
    LARGE_INTEGER null {};
    DWORD geschrieben = 0;
    if (SetFilePointerEx(h, null, nullptr, FILE_BEGIN) && SetEndOfFile(h) && !inhalt.isEmpty())
        WriteFile(h, inhalt.constData(), static_cast<DWORD>(inhalt.size()), &geschrieben, nullptr);
}

void entsperren(int datei)
{
    OVERLAPPED o = sperrBereich();
    UnlockFileEx(griff(datei), 0, 1, 0, &o);
    _close(datei);
}

qint64 prozessNummer()
{
    return static_cast<qint64>(GetCurrentProcessId());
}
#else
int sperrdateiOeffnen(const QString& pfad)
{
    const int datei = ::open(QFile::encodeName(pfad).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (datei < 0)
        return -1;
    struct stat st {};
    if (::fstat(datei, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(datei);
        errno = 0;
        return -2;
    }
    return datei;
}

int sperren(int datei)
{
    return ::flock(datei, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
}

void inhaltErsetzen(int datei, const QByteArray& inhalt)
{
    [[maybe_unused]] const bool geschrieben =
        ::ftruncate(datei, 0) == 0
        && ::pwrite(datei, inhalt.constData(), static_cast<size_t>(inhalt.size()), 0) == inhalt.size();
}

void entsperren(int datei)
{
    ::flock(datei, LOCK_UN);
    ::close(datei);
}

qint64 prozessNummer()
{
    return static_cast<qint64>(::getpid());
}
#endif

QString ursache(int fehlernummer)
{
    switch (fehlernummer) {
    case EACCES:
    case EPERM:
        return QStringLiteral("Zugriff verweigert");
    case EROFS:
        return QStringLiteral("der Datenträger ist schreibgeschützt");
    case ENOSPC:
        return QStringLiteral("der Datenträger ist voll");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("den Ordner gibt es nicht");
    default:
        return QStringLiteral("Systemfehler Nr. %1").arg(fehlernummer);
    }
}

Fehler dateiFehler(const QString& pfad, const QString& grund)
{
    return Fehler(
        zeilen({QStringLiteral("Die Sperrdatei %1 kann nicht angelegt oder geöffnet werden: %2.")
                    .arg(QDir::toNativeSeparators(pfad), grund),
                QStringLiteral("Sie verhindert, dass zwei Läufe gleichzeitig dieselben Gespräche einlesen "
                               "und berechnen; ohne sie wird nichts begonnen. Bitte sorgen Sie dafür, "
                               "dass jeder Benutzer des Programms im Ordner Datenbank schreiben darf.")}));
}

const QString kSeitFormat = QStringLiteral("dd.MM.yyyy hh:mm:ss");

} // namespace

QString Laufsperre::Inhaber::text() const
{
    if (pid == 0)
        return QStringLiteral("ein Lauf, der sich nicht in die Sperrdatei eingetragen hat");
    return QStringLiteral("%1, Benutzer %2, Rechner %3, Prozess %4, seit %5")
        .arg(programm, benutzer, rechner)
        .arg(pid)
        .arg(seit.toLocalTime().toString(kSeitFormat));
}

Laufsperre::Laufsperre(const QString& programmOrdner, Programm programm)
    : m_ordner(QDir::fromNativeSeparators(programmOrdner)), m_pfad(QDir(m_ordner).filePath(kLaufsperreRelativ)),
      m_programm(programm)
{
}

Laufsperre::~Laufsperre()
{
    freigeben();
}

bool Laufsperre::nehmen()
{
    if (m_datei >= 0)
        return true;
    QDir().mkpath(QFileInfo(m_pfad).absolutePath());
    const int datei = sperrdateiOeffnen(m_pfad);
    if (datei == -2)
        throw dateiFehler(m_pfad, QStringLiteral("sie ist keine gewöhnliche Datei"));
    if (datei < 0)
        throw dateiFehler(m_pfad, ursache(errno));
    for (int versuch = 0;; ++versuch) {
        const int fehlernummer = sperren(datei);
        if (fehlernummer == 0)
            break;
        if (fehlernummer == EINTR)
            continue;
        if (fehlernummer != EWOULDBLOCK) {
            entsperren(datei);
            throw dateiFehler(m_pfad, ursache(fehlernummer));
        }
        m_inhaber = inhaberLesen();
        // A holder that has just taken the lock writes its name a moment later.
        if (m_inhaber.pid != 0 || versuch >= 20) {
            entsperren(datei);
            return false;
        }
        QThread::msleep(5);
    }
    m_datei = datei;
    // The holder's name, for the message of a second run. A name that cannot
    // be written leaves the lock held all the same.
    inhaltErsetzen(m_datei, QStringLiteral("programm=%1\nbenutzer=%2\nrechner=%3\npid=%4\nseit=%5\n")
                                .arg(programmText(m_programm), benutzerName(), QSysInfo::machineHostName())
                                .arg(prozessNummer())
                                .arg(QDateTime::currentDateTime().toString(Qt::ISODate))
                                .toUtf8());
    return true;
}

bool Laufsperre::nehmen(std::chrono::milliseconds hoechstens, const std::function<void(const Inhaber&)>& wartet)
{
    using Uhr = std::chrono::steady_clock;
    const auto ende = Uhr::now() + hoechstens;
    if (nehmen())
        return true;
    if (wartet)
        wartet(m_inhaber);
    for (auto jetzt = Uhr::now(); jetzt < ende; jetzt = Uhr::now()) {
        const auto pause = std::min<Uhr::duration>(std::chrono::milliseconds(250), ende - jetzt);
        QThread::msleep(static_cast<unsigned long>(
            std::max<std::int64_t>(1, std::chrono::duration_cast<std::chrono::milliseconds>(pause).count())));
        if (nehmen())
            return true;
    }
    return false;
}

void Laufsperre::freigeben()
{
    if (m_datei < 0)
        return;
    // The name goes first: nobody reads a name of a lock that is free.
    inhaltErsetzen(m_datei, QByteArray());
    entsperren(m_datei);
    m_datei = -1;
}

Laufsperre::Inhaber Laufsperre::inhaberLesen() const
{
    Inhaber i;
    QFile f(m_pfad);
    if (!f.open(QIODevice::ReadOnly))
        return i;
    for (const QByteArray& zeile : f.read(4096).split('\n')) {
        const qsizetype gleich = zeile.indexOf('=');
        if (gleich < 0)
            continue;
        const QByteArray name = zeile.left(gleich);
        const QString wert = QString::fromUtf8(zeile.mid(gleich + 1));
        if (name == "programm")
            i.programm = wert;
        else if (name == "benutzer")
            i.benutzer = wert;
        else if (name == "rechner")
            i.rechner = wert;
        else if (name == "pid")
            i.pid = wert.toLongLong();
        else if (name == "seit")
            i.seit = QDateTime::fromString(wert, Qt::ISODate);
    }
    return i;
}

QString Laufsperre::meldung(const QString& kopf, const QString& schluss) const
{
    return zeilen({kopf, QString(),
                   QStringLiteral("Im Programmordner %1 arbeitet gerade ein anderer Lauf: er liest Gespräche ein, "
                                  "berechnet ihre Kosten oder ändert die Tariftabellen.")
                       .arg(QDir::toNativeSeparators(m_ordner)),
                   QStringLiteral("Belegt von: %1.").arg(m_inhaber.text()), schluss});
}

} // namespace orve
