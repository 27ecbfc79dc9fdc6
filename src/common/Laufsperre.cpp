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
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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
    const uid_t uid = geteuid();
    passwd eintrag {};
    passwd* gefunden = nullptr;
    char puffer[4096];
    if (getpwuid_r(uid, &eintrag, puffer, sizeof puffer, &gefunden) == 0 && gefunden)
        return QString::fromLocal8Bit(gefunden->pw_name);
    return QString::number(uid);
}

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
    const int datei = ::open(QFile::encodeName(m_pfad).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (datei < 0)
        throw dateiFehler(m_pfad, ursache(errno));
    struct stat st {};
    if (::fstat(datei, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(datei);
        throw dateiFehler(m_pfad, QStringLiteral("sie ist keine gewöhnliche Datei"));
    }
    for (int versuch = 0;; ++versuch) {
        if (::flock(datei, LOCK_EX | LOCK_NB) == 0)
            break;
        const int fehlernummer = errno;
        if (fehlernummer == EINTR)
            continue;
        if (fehlernummer != EWOULDBLOCK) {
            ::close(datei);
            throw dateiFehler(m_pfad, ursache(fehlernummer));
        }
        m_inhaber = inhaberLesen();
        // A holder that has just taken the lock writes its name a moment later.
        if (m_inhaber.pid != 0 || versuch >= 20) {
            ::close(datei);
            return false;
        }
        QThread::msleep(5);
    }
    m_datei = datei;
    // The holder's name, for the message of a second run. A name that cannot
    // be written leaves the lock held all the same.
    const QByteArray angaben = QStringLiteral("programm=%1\nbenutzer=%2\nrechner=%3\npid=%4\nseit=%5\n")
                                   .arg(programmText(m_programm), benutzerName(), QSysInfo::machineHostName())
                                   .arg(static_cast<qint64>(::getpid()))
                                   .arg(QDateTime::currentDateTime().toString(Qt::ISODate))
                                   .toUtf8();
    [[maybe_unused]] const bool geschrieben =
        ::ftruncate(m_datei, 0) == 0
        && ::pwrite(m_datei, angaben.constData(), static_cast<size_t>(angaben.size()), 0) == angaben.size();
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
    [[maybe_unused]] const bool geleert = ::ftruncate(m_datei, 0) == 0;
    ::flock(m_datei, LOCK_UN);
    ::close(m_datei);
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
