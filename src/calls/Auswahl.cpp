#include "calls/Auswahl.h"

#include "calls/QuellFehler.h"
#include "calls/StartZeit.h"
#include "common/Dialogs.h"
#include "common/SqlName.h"

#include <QDate>

namespace orve {

bool keineGrenze(const QString& auswahl)
{
    return auswahl.isEmpty() || auswahl == kAlle;
}

std::optional<std::int64_t> nebenstellenGrenze(const QString& auswahl)
{
    if (keineGrenze(auswahl))
        return std::nullopt;
    const qsizetype bar = auswahl.indexOf(QLatin1Char('|'));
    const QString schluessel = (bar >= 0 ? auswahl.left(bar) : auswahl).trimmed();
    bool ok = false;
    const qlonglong nummer = schluessel.toLongLong(&ok, 10);
    if (!ok)
        throw QuellFehler(
            zeilen({QStringLiteral("Die Auswahl der Nebenstelle \"%1\" enthält keine gültige "
                                   "Nebenstellennummer!")
                        .arg(auswahl),
                    QStringLiteral("Bitte wählen Sie eine Nebenstelle aus der Liste oder \"alle\".")}));
    return nummer;
}

std::optional<std::int64_t> datumGrenze(const QString& auswahl)
{
    if (keineGrenze(auswahl))
        return std::nullopt;
    const auto k = startZeitSchluessel(QStringView(auswahl));
    if (!k)
        throw QuellFehler(zeilen({QStringLiteral("\"%1\" ist kein gültiges Datum mit Uhrzeit!").arg(auswahl),
                                  QStringLiteral("Bitte wählen Sie einen Eintrag aus der Liste oder geben Sie "
                                                 "Datum und Uhrzeit in der Form 21.03.2009 14:30:00 ein.")}));
    return k;
}

QString berichtDateiname(const QString& nebenstelle, const QString& ab, const QString& bis)
{
    const auto n = nebenstellenGrenze(nebenstelle);
    const auto tag = [](const std::optional<std::int64_t>& k) {
        return QDate::fromJulianDay(*k / 86400).toString(QStringLiteral("yyyy-MM-dd"));
    };
    const auto von = datumGrenze(ab), bis_ = datumGrenze(bis);
    const QString zeitraum = von && bis_ ? tag(von) + QStringLiteral(" bis ") + tag(bis_)
                             : von       ? QStringLiteral("ab ") + tag(von)
                             : bis_      ? QStringLiteral("bis ") + tag(bis_)
                                         : kAlle;
    return QStringLiteral("Telefonkosten %1 %2").arg(n ? QString::number(*n) : kAlle, zeitraum);
}

QString nebenstellenBedingung(const QString& spalte)
{
    const QString s = sqlName(spalte);
    return QStringLiteral("(%1 = ? OR trim(CAST(%1 AS TEXT)) = ?)").arg(s);
}

} // namespace orve
