#include "startup/Installation.h"

#include "startup/OdbcSchluessel.h"
#include "startup/SpeicherRegistry.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace orve {

namespace {

RegEintrag text(const QString& schluessel, const QString& name, const QString& t)
{
    return RegEintrag {Hive::LocalMachine, schluessel, name, RegWert::alsText(t)};
}

RegEintrag zahl(const QString& schluessel, const QString& name, quint32 z)
{
    return RegEintrag {Hive::LocalMachine, schluessel, name, RegWert::alsZahl(z)};
}

} // namespace

std::vector<RegEintrag> standardInstallation(const QString& sqliteBibliothek, const QString& programmDatei)
{
    const QString treiberListe = kTreiberSchluessel + QStringLiteral("ODBC Drivers");
    const struct {
        const QString& name;
        const QString& datei;
    } treiber[] = {
        {kSQLiteTreiber, sqliteBibliothek},
        {kSQLite3Treiber, sqliteBibliothek},
        {kAccessTreiber, sqliteBibliothek},
        {kParadoxTreiber, programmDatei},
    };
    std::vector<RegEintrag> out;
    for (const auto& t : treiber)
        out.push_back(text(treiberListe, t.name, QStringLiteral("Installed")));
    for (const auto& t : treiber) {
        const QString k = kTreiberSchluessel + t.name;
        out.push_back(text(k, QStringLiteral("Driver"), t.datei));
        out.push_back(text(k, QStringLiteral("Setup"), t.datei));
        out.push_back(zahl(k, QStringLiteral("UsageCount"), 1));
    }
    const struct {
        const QString& quelle;
        const QString& treiber;
    } quellen[] = {
        {kSQLiteDatenquelle, kSQLiteTreiber},
        {kSQLite3Datenquelle, kSQLite3Treiber},
    };
    for (const auto& q : quellen)
        out.push_back(text(kDatenquellenListe, q.quelle, q.treiber));
    for (const auto& q : quellen) {
        const QString k = kDatenquellenSchluessel + q.quelle;
        out.push_back(text(k, QStringLiteral("Driver"), sqliteBibliothek));
        out.push_back(
            text(k, QStringLiteral("Description"), QStringLiteral("Datenquelle für TK-Suite Gesprächsdaten")));
        out.push_back(text(k, QStringLiteral("Database"), QString()));
        out.push_back(text(k, QStringLiteral("Timeout"), QStringLiteral("100000")));
    }
    return out;
}

bool installationSchreiben(const QString& datei, const QString& sqliteBibliothek, const QString& programmDatei,
                           QString* fehler)
{
    if (QFileInfo::exists(datei))
        return true;
    const QString ordner = QFileInfo(datei).absolutePath();
    auto melden = [&](const QString& text) {
        if (fehler)
            *fehler = text;
        return false;
    };
    if (!QDir().mkpath(ordner))
        return melden(
            QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(QDir::toNativeSeparators(ordner)));
    const QByteArray inhalt = SpeicherRegistry(standardInstallation(sqliteBibliothek, programmDatei)).alsRegDatei();
    QSaveFile f(datei);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || f.write(inhalt) != inhalt.size() || !f.commit())
        return melden(QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2")
                          .arg(QDir::toNativeSeparators(datei), f.errorString()));
    return true;
}

} // namespace orve
