#include "report/JeNebenstelle.h"

#include "report/BerichtDaten.h"
#include "report/CsvExport.h"
#include "report/Telefonkostenauswertung.h"

#include "common/Dialogs.h"
#include "common/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#else
#include <sys/stat.h>
#endif

#include <cerrno>
#include <cstdio>
#include <utility>

namespace orve {

namespace {

constexpr qsizetype kHoechstensBytes = 200;

QString nativ(const QString& pfad)
{
    return QDir::toNativeSeparators(pfad);
}

// Windows keeps these names for devices, whatever follows the first dot.
bool geraetename(const QString& name)
{
    static const QSet<QString> kGeraete = [] {
        QSet<QString> s {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                         QStringLiteral("NUL")};
        for (char n = '0'; n <= '9'; ++n)
            s << QStringLiteral("COM") + QLatin1Char(n) << QStringLiteral("LPT") + QLatin1Char(n);
        return s;
    }();
    return kGeraete.contains(name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper());
}

// A new, empty folder beside `ziel` (".2026-11.neu-1a2b3c4d"), with the
// permissions a folder made by the user gets; empty, with the cause in
// errno, when none could be made.
QString ordnerDaneben(const QString& ziel, const QString& art)
{
    const QFileInfo f(ziel);
    for (int versuch = 0; versuch < 100; ++versuch) {
        const QString pfad =
            f.dir().filePath(QStringLiteral(".%1.%2-%3")
                                 .arg(f.fileName(), art)
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        errno = 0;
#ifdef _WIN32
        if (_wmkdir(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(pfad).utf16())) == 0)
            return pfad;
#else
        if (::mkdir(QFile::encodeName(pfad).constData(), 0777) == 0)
            return pfad;
#endif
        if (errno != EEXIST)
            break;
    }
    return {};
}

bool umbenennen(const QString& von, const QString& nach)
{
    errno = 0;
#ifdef _WIN32
    // Windows renames a folder only onto a name that is free: the empty
    // folder kept for it steps aside first.
    const auto w = [](const QString& p) { return reinterpret_cast<const wchar_t*>(p.utf16()); };
    const QString a = QDir::toNativeSeparators(von), b = QDir::toNativeSeparators(nach);
    if (QFileInfo(nach).isDir() && _wrmdir(w(b)) != 0)
        return false;
    return _wrename(w(a), w(b)) == 0;
#else
    return std::rename(QFile::encodeName(von).constData(), QFile::encodeName(nach).constData()) == 0;
#endif
}

// A folder that goes with this object, with all it holds, unless kept.
class Wegraeumen {
public:
    explicit Wegraeumen(QString pfad) : m_pfad(std::move(pfad)) {}
    ~Wegraeumen()
    {
        if (!m_pfad.isEmpty())
            QDir(m_pfad).removeRecursively();
    }
    Wegraeumen(const Wegraeumen&) = delete;
    Wegraeumen& operator=(const Wegraeumen&) = delete;
    void behalten() { m_pfad.clear(); }

private:
    QString m_pfad;
};

} // namespace

QString nebenstellenDateiname(const QString& nebenstelle, const QString& name)
{
    QString t = (nebenstelle.trimmed() + QLatin1Char(' ') + name.trimmed()).trimmed();
    static const QString kVerboten = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : t)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || kVerboten.contains(c))
            c = QLatin1Char('_');
    if (t.isEmpty() || t.startsWith(QLatin1Char('.')) || geraetename(t))
        t.prepend(QLatin1Char('_'));
    while (t.toUtf8().size() > kHoechstensBytes || (!t.isEmpty() && t.back().isHighSurrogate()))
        t.chop(1);
    return t;
}

QStringList nebenstellenDateinamen(const BerichtDaten& daten)
{
    QStringList namen;
    QSet<QString> vergeben; // case-folded
    for (const BerichtGruppe& g : daten.gruppen) {
        const QString basis = nebenstellenDateiname(g.user, g.username);
        QString name = basis;
        for (int n = 2; vergeben.contains(name.toCaseFolded()); ++n)
            name = QStringLiteral("%1 (%2)").arg(basis).arg(n);
        vergeben.insert(name.toCaseFolded());
        namen << name;
    }
    return namen;
}

QString jeNebenstelleOrdner(const QString& ordner, const QString& zeitraumOrdner)
{
    return nativ(QDir(ordner).filePath(zeitraumOrdner));
}

void jeNebenstellePruefen(const QString& ordner, const QString& zeitraumOrdner)
{
    const QString ziel = jeNebenstelleOrdner(ordner, zeitraumOrdner);
    const QString was =
        QStringLiteral("Die Dateien je Nebenstelle werden nicht in den Ordner %1 geschrieben:").arg(nativ(ziel));
    if (!QFileInfo(ordner).isDir())
        throw Ausgabefehler(zeilen(
            {was, QFileInfo::exists(ordner)
                      ? QStringLiteral("%1 ist kein Ordner. Bitte geben Sie einen Ordner an.").arg(nativ(ordner))
                      : schreibfehlerUrsache(ENOENT, ordner)}));
    const QFileInfo z(ziel);
    if (z.exists() && !z.isDir()) {
        const QString art = keineDateiArt(ziel);
        throw Ausgabefehler(zeilen({was, QStringLiteral("An seiner Stelle steht %1. Es wurde nichts ersetzt. Bitte "
                                                        "entfernen Sie sie oder wählen Sie einen anderen Ordner.")
                                             .arg(art.isEmpty() ? QStringLiteral("eine Datei") : art)}));
    }
}

JeNebenstelleErgebnis jeNebenstelleSchreiben(const Telefonkostenauswertung& bericht, const QString& ordner)
{
    const QString zeitraumOrdner = bericht.optionen().zeitraumOrdner;
    jeNebenstellePruefen(ordner, zeitraumOrdner);
    const QString ziel = jeNebenstelleOrdner(ordner, zeitraumOrdner);
    JeNebenstelleErgebnis e {ziel, {}, QFileInfo(ziel).isDir()};
    const auto fehlschlag = [&](const QString& ursache) {
        return Ausgabefehler(
            zeilen({QStringLiteral("Die Dateien je Nebenstelle konnten nicht in den Ordner %1 geschrieben werden.")
                        .arg(ziel),
                    ursache,
                    e.ersetzt ? QStringLiteral("Der vorhandene Ordner ist unverändert.")
                              : QStringLiteral("Es wurde kein Ordner angelegt.")}));
    };

    const QString neu = ordnerDaneben(ziel, QStringLiteral("neu"));
    if (neu.isEmpty())
        throw fehlschlag(schreibfehlerUrsache(errno, ordner));
    Wegraeumen neuWeg(neu);
    const QStringList namen = nebenstellenDateinamen(bericht.daten());
    try {
        for (qsizetype i = 0; i < namen.size(); ++i) {
            const Telefonkostenauswertung einzeln(BerichtDaten {{bericht.daten().gruppen[std::size_t(i)]}},
                                                  bericht.optionen());
            const QString pdf = namen[i] + QStringLiteral(".pdf"), csv = namen[i] + QStringLiteral(".csv");
            berichtAlsPdfSchreiben(einzeln, QDir(neu).filePath(pdf));
            csvSchreiben(einzeln.daten(), QDir(neu).filePath(csv), bericht.optionen().rufnummernGekuerzt);
            e.dateien << nativ(QDir(ziel).filePath(pdf)) << nativ(QDir(ziel).filePath(csv));
        }
    } catch (const Fehler& f) {
        throw fehlschlag(f.text());
    }

    // The earlier subfolder steps aside, the new one takes its place; only then is the earlier one removed.
    QString alt;
    if (e.ersetzt) {
        alt = ordnerDaneben(ziel, QStringLiteral("alt"));
        if (alt.isEmpty() || !umbenennen(ziel, alt)) {
            const int fehlerNummer = errno;
            if (!alt.isEmpty())
                QDir().rmdir(alt);
            throw fehlschlag(schreibfehlerUrsache(fehlerNummer, ordner));
        }
    }
    Wegraeumen altWeg(alt);
    if (!umbenennen(neu, ziel)) {
        const int fehlerNummer = errno;
        if (e.ersetzt && !umbenennen(alt, ziel)) {
            altWeg.behalten();
            throw Ausgabefehler(zeilen(
                {QStringLiteral("Die Dateien je Nebenstelle konnten nicht in den Ordner %1 geschrieben werden.")
                     .arg(ziel),
                 schreibfehlerUrsache(fehlerNummer, ordner),
                 QStringLiteral("Der vorhandene Ordner liegt jetzt unter %1; bitte benennen Sie ihn zurück.")
                     .arg(nativ(alt))}));
        }
        throw fehlschlag(schreibfehlerUrsache(fehlerNummer, ordner));
    }
    return e; // the new folder has its final name: neuWeg finds nothing to remove
}

} // namespace orve
