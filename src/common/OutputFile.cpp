#include "common/OutputFile.h"

#include "common/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <cerrno>
#include <cstring>

namespace orve {

// Passes every write on to the temporary file and keeps the first failure:
// QSaveFile lets a short write (the last bytes before a full disk) pass
// without an error, and QPdfWriter never looks at what a write returns. The
// PDF writer hands over many small pieces: they are gathered and written in
// blocks of 64 KB, each checked.
class OutputFile::Geraet : public QIODevice {
public:
    explicit Geraet(QSaveFile& ziel) : m_ziel(ziel) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    bool isSequential() const override { return true; }
    bool fehlgeschlagen() const { return m_fehlgeschlagen; }
    int fehlerNummer() const { return m_fehlerNummer; }

    // Writes what was gathered; false after a failure.
    bool leeren()
    {
        for (qint64 geschrieben = 0; !m_fehlgeschlagen && geschrieben < m_puffer.size();) {
            // A short write is tried again for the rest: the second attempt
            // fails with the cause in errno.
            errno = 0;
            const qint64 n = m_ziel.write(m_puffer.constData() + geschrieben, m_puffer.size() - geschrieben);
            if (n <= 0) {
                m_fehlerNummer = errno;
                m_fehlgeschlagen = true;
            }
            geschrieben += n;
        }
        m_puffer.clear();
        return !m_fehlgeschlagen;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* daten, qint64 laenge) override
    {
        if (m_fehlgeschlagen)
            return -1;
        m_puffer.append(daten, laenge);
        if (m_puffer.size() >= kBlock && !leeren())
            return -1;
        return laenge;
    }

private:
    static constexpr qsizetype kBlock = 1 << 16;
    QSaveFile& m_ziel;
    QByteArray m_puffer;
    bool m_fehlgeschlagen = false;
    int m_fehlerNummer = 0;
};

namespace {

QString nativ(const QString& pfad)
{
    return QDir::toNativeSeparators(pfad);
}

QString ordnerVon(const QString& pfad)
{
    return QFileInfo(pfad).absolutePath();
}

bool datentraegerVoll(const QString& ordner)
{
    const QStorageInfo s(ordner);
    return s.isValid() && s.bytesAvailable() == 0;
}

} // namespace

QString keineDateiArt(const QString& pfad)
{
#ifdef _WIN32
    // Opened for its attributes only; a path that does not exist yet may be written.
    if (pfad.isEmpty())
        return QString();
    const HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(pfad).utf16()), 0,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return QString();
    const DWORD typ = GetFileType(h);
    BY_HANDLE_FILE_INFORMATION info {};
    const bool ordner =
        GetFileInformationByHandle(h, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    CloseHandle(h);
    if (ordner)
        return QStringLiteral("ein Ordner");
    if (typ == FILE_TYPE_DISK)
        return QString();
    if (typ == FILE_TYPE_CHAR)
        return QStringLiteral("ein Gerät");
    if (typ == FILE_TYPE_PIPE)
        return QStringLiteral("eine benannte Pipe (FIFO)");
    return QStringLiteral("etwas anderes");
#else
    struct stat s {};
    // stat follows links: a link to a regular file is a regular file.
    if (pfad.isEmpty() || stat(QFile::encodeName(pfad).constData(), &s) != 0 || S_ISREG(s.st_mode))
        return QString();
    if (S_ISDIR(s.st_mode))
        return QStringLiteral("ein Ordner");
    if (S_ISCHR(s.st_mode) || S_ISBLK(s.st_mode))
        return QStringLiteral("ein Gerät");
    if (S_ISFIFO(s.st_mode))
        return QStringLiteral("eine benannte Pipe (FIFO)");
    if (S_ISSOCK(s.st_mode))
        return QStringLiteral("ein Socket");
    return QStringLiteral("etwas anderes");
#endif
}

QString schreibfehlerUrsache(int fehlerNummer, const QString& ordner)
{
    // Without a folder (stdout) the sentences name none.
    const QString mitOrdner =
        ordner.isEmpty() ? QString() : QStringLiteral(" mit dem Ordner %1").arg(nativ(ordner));
    const QString voll = QStringLiteral("Der Datenträger%1 ist voll, oder die Datei wäre größer, als das System "
                                        "erlaubt. Bitte schaffen Sie Platz und versuchen Sie es erneut.")
                             .arg(mitOrdner);
    switch (fehlerNummer) {
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return voll;
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral(
                   "Im Ordner %1 darf nicht geschrieben werden, oder die Datei ist schreibgeschützt. Bitte "
                   "wählen Sie einen anderen Ordner oder lassen Sie sich Schreibrechte geben.")
            .arg(nativ(ordner));
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Den Ordner %1 gibt es nicht. Bitte legen Sie ihn an oder wählen Sie einen anderen.")
            .arg(nativ(ordner));
    case EIO:
        return QStringLiteral(
                   "Der Datenträger%1 hat einen Fehler gemeldet. Bitte prüfen Sie den Datenträger oder die "
                   "Netzwerkverbindung und versuchen Sie es erneut.")
            .arg(mitOrdner);
    case ENAMETOOLONG:
        return QStringLiteral("Der Dateiname ist zu lang. Bitte wählen Sie einen kürzeren.");
    default:
        break;
    }
    if (!ordner.isEmpty() && datentraegerVoll(ordner))
        return voll;
    if (fehlerNummer != 0)
        return QStringLiteral("Das Betriebssystem meldet den Fehler %1 (%2). Bitte prüfen Sie den Datenträger und "
                              "versuchen Sie es erneut.")
            .arg(fehlerNummer)
            .arg(QString::fromLocal8Bit(std::strerror(fehlerNummer)));
    return QStringLiteral("Die Daten haben den Datenträger%1 nicht vollständig erreicht. Bitte prüfen Sie den "
                          "Datenträger und versuchen Sie es erneut.")
        .arg(mitOrdner);
}

void OutputFile::pruefen(const QString& pfad, const QString& art)
{
    const QString was = QStringLiteral("Die %1 %2 wird nicht geschrieben:").arg(art, nativ(pfad));
    const QString anderes = keineDateiArt(pfad);
    if (!anderes.isEmpty())
        throw Ausgabefehler(
            zeilen({was, QStringLiteral("%1 ist keine gewöhnliche Datei, sondern %2. Es wurde nichts "
                                        "ersetzt. Bitte geben Sie den Namen einer Datei an.")
                             .arg(nativ(pfad), anderes)}));
    if (!QFileInfo(ordnerVon(pfad)).isDir())
        throw Ausgabefehler(zeilen({was, schreibfehlerUrsache(ENOENT, ordnerVon(pfad))}));
}

OutputFile::OutputFile(const QString& pfad, const QString& art)
    : m_pfad(pfad), m_art(art), m_gabEsSchon(QFileInfo::exists(pfad)), m_datei(std::make_unique<QSaveFile>(pfad))
{
    pruefen(pfad, art);
    errno = 0;
    if (!m_datei->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fehlschlag(errno);
    m_geraet = std::make_unique<Geraet>(*m_datei);
}

OutputFile::~OutputFile() = default;

QIODevice& OutputFile::device()
{
    return *m_geraet;
}

void OutputFile::schreiben(const QByteArray& bytes)
{
    // The temporary file goes with this object (the destructor); the target is untouched.
    if (m_geraet->write(bytes) != bytes.size())
        fehlschlag(m_geraet->fehlerNummer());
}

void OutputFile::commit()
{
    if (!m_geraet->leeren())
        fehlschlag(m_geraet->fehlerNummer());
    errno = 0;
    if (!m_datei->commit())
        fehlschlag(errno);
}

void OutputFile::fehlschlag(int fehlerNummer) const
{
    throw Ausgabefehler(
        zeilen({QStringLiteral("Die %1 %2 konnte nicht geschrieben werden.").arg(m_art, nativ(m_pfad)),
                schreibfehlerUrsache(fehlerNummer, ordnerVon(m_pfad)),
                m_gabEsSchon ? QStringLiteral("Die vorhandene Datei ist unverändert.")
                             : QStringLiteral("Es wurde keine Datei angelegt.")}));
}

} // namespace orve
