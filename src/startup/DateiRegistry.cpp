#include "startup/DateiRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace orve {

DateiRegistry::DateiRegistry(const QString& datei) : m_datei(datei)
{
    QFile f(datei);
    if (!f.exists())
        return;
    if (!f.open(QIODevice::ReadOnly))
        throw RegistryFehler(5, QStringLiteral("Die Registry-Datei %1 kann nicht gelesen werden: %2")
                                    .arg(QDir::toNativeSeparators(datei), f.errorString()));
    const QByteArray inhalt = f.readAll();
    try {
        einlesen(inhalt);
    } catch (const RegistryFehler& e) {
        throw RegistryFehler(e.nummer(), QDir::toNativeSeparators(datei) + QStringLiteral(": ") + e.beschreibung());
    }
}

QString DateiRegistry::standardDatei(const QString& programmOrdner)
{
    return QDir::toNativeSeparators(
        QDir(programmOrdner).filePath(QStringLiteral("Registry/HKEY_LOCAL_MACHINE.reg")));
}

std::optional<RegSchluessel> DateiRegistry::oeffnen(Hive hive, const QString& pfad)
{
    if (hive != Hive::LocalMachine)
        return std::nullopt;
    return SpeicherRegistry::oeffnen(hive, pfad);
}

std::optional<RegSchluessel> DateiRegistry::anlegen(Hive hive, const QString& pfad)
{
    if (hive != Hive::LocalMachine)
        return std::nullopt;
    if (finden(hive, pfad) || normalisiert(pfad).isEmpty())
        return SpeicherRegistry::anlegen(hive, pfad);
    const Daten vorher = m_daten;
    auto s = SpeicherRegistry::anlegen(hive, pfad);
    if (!speichern()) {
        m_daten = vorher;
        if (s)
            SpeicherRegistry::schliessen(*s);
        return std::nullopt;
    }
    return s;
}

bool DateiRegistry::wertSetzen(RegSchluessel schluessel, const QString& name, const RegWert& wert)
{
    const Daten vorher = m_daten;
    if (!SpeicherRegistry::wertSetzen(schluessel, name, wert))
        return false;
    if (!speichern()) {
        m_daten = vorher;
        return false;
    }
    return true;
}

bool DateiRegistry::speichern() const
{
    QDir().mkpath(QFileInfo(m_datei).absolutePath());
    // Unbuffered: a short write (disk full, file size limit) shows in the
    // count written; a buffered QSaveFile would commit the cut file.
    QSaveFile f(m_datei);
    // In a folder that allows no new file (a program folder an administrator
    // installed) a writable registry file is written in place.
    f.setDirectWriteFallback(true);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray inhalt = alsRegDatei();
    if (f.write(inhalt) != inhalt.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace orve
