#include "calls/Auswahl.h"

#include "calls/QuellFehler.h"
#include "calls/StartZeit.h"
#include "common/Dialogs.h"
#include "common/SqlName.h"

#include <QDate>
#include <QTime>

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

QString zeitraumText(const QString& ab, const QString& bis)
{
    const auto zeitpunkt = [](const QString& auswahl) {
        const auto k = startZeitSchluessel(QStringView(auswahl));
        if (!k)
            return auswahl.trimmed();
        const QTime zeit = QTime(0, 0).addSecs(static_cast<int>(*k % 86400));
        return QDate::fromJulianDay(*k / 86400).toString(QStringLiteral("dd.MM.yyyy"))
               + (zeit.hour() + zeit.minute() == 0 ? QString() : zeit.toString(QStringLiteral(" hh:mm")));
    };
    if (keineGrenze(ab))
        return keineGrenze(bis) ? QString() : QStringLiteral("bis ") + zeitpunkt(bis);
    if (keineGrenze(bis))
        return QStringLiteral("ab ") + zeitpunkt(ab);
    return QStringLiteral("Zeitraum: %1 bis %2").arg(zeitpunkt(ab), zeitpunkt(bis));
}

QString nebenstellenBedingung(const QString& spalte)
{
    const QString s = sqlName(spalte);
    return QStringLiteral("(%1 = ? OR trim(CAST(%1 AS TEXT)) = ?)").arg(s);
}

} // namespace orve
