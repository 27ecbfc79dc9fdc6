#include "calls/Auswahl.h"

#include "calls/QuellFehler.h"
#include "calls/StartZeit.h"
#include "common/Dialogs.h"
#include "common/SqlName.h"

#include <QDate>
#include <QRegularExpression>
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

namespace {

// A date/time selection as read: its start key, and whether it names a time
// of day (every accepted form with a time holds a ":", a date alone none).
struct Eingabe {
    std::int64_t schluessel = 0;
    bool mitUhrzeit = false;
};

std::optional<Eingabe> eingabeLesen(const QString& auswahl)
{
    QString text = auswahl;
    // A German date with a two-digit year is one of this century.
    static const QRegularExpression kKurzesJahr(
        QStringLiteral("^([ \t]*[0-9]{1,2}\\.[0-9]{1,2}\\.)([0-9]{2})(?![0-9])"));
    if (const auto m = kKurzesJahr.match(text); m.hasMatch())
        text = m.captured(1) + QStringLiteral("20") + m.captured(2) + text.mid(m.capturedEnd());
    const auto k = startZeitSchluessel(QStringView(text));
    if (!k)
        return std::nullopt;
    return Eingabe {*k, text.contains(QLatin1Char(':'))};
}

Eingabe eingabe(const QString& auswahl)
{
    const auto e = eingabeLesen(auswahl);
    if (!e)
        throw QuellFehler(zeilen({QStringLiteral("\"%1\" ist kein gültiges Datum mit Uhrzeit!").arg(auswahl),
                                  QStringLiteral("Bitte wählen Sie einen Eintrag aus der Liste oder geben Sie ein "
                                                 "Datum in der Form 21.03.2009 ein, auch mit Uhrzeit: "
                                                 "21.03.2009 14:30.")}));
    return *e;
}

constexpr std::int64_t kTag = 86400;

// A selection as people read it (dd.MM.yyyy hh:mm) or as part of a file
// name (yyyy-MM-dd hh.mm); a text that is no date as it is.
QString zeitpunktText(const QString& auswahl, bool datei)
{
    const auto e = eingabeLesen(auswahl);
    if (!e)
        return auswahl.trimmed();
    QString t = QDate::fromJulianDay(e->schluessel / kTag)
                    .toString(datei ? QStringLiteral("yyyy-MM-dd") : QStringLiteral("dd.MM.yyyy"));
    if (e->mitUhrzeit) {
        const QTime z = QTime(0, 0).addSecs(static_cast<int>(e->schluessel % kTag));
        const QChar trenner = datei ? QLatin1Char('.') : QLatin1Char(':');
        t += QLatin1Char(' ') + z.toString(QStringLiteral("hh%1mm").arg(trenner));
        if (z.second() != 0)
            t += trenner + z.toString(QStringLiteral("ss"));
    }
    return t;
}

} // namespace

std::optional<std::int64_t> datumGrenze(const QString& auswahl)
{
    if (keineGrenze(auswahl))
        return std::nullopt;
    return eingabe(auswahl).schluessel;
}

std::optional<std::int64_t> bisGrenze(const QString& auswahl, BisGrenze art)
{
    if (keineGrenze(auswahl))
        return std::nullopt;
    const Eingabe e = eingabe(auswahl);
    if (!e.mitUhrzeit)
        return e.schluessel + kTag; // a date alone is its midnight
    return art == BisGrenze::Einschliesslich ? e.schluessel + 1 : e.schluessel;
}

Zeitgrenzen zeitgrenzen(const QString& ab, const QString& bis, BisGrenze art)
{
    const Zeitgrenzen g {datumGrenze(ab), bisGrenze(bis, art)};
    if (g.ab && g.vor && *g.vor <= *g.ab)
        throw QuellFehler(zeilen({QStringLiteral("Das Ende des Zeitraums (bis %1) liegt vor seinem Anfang (ab %2).")
                                      .arg(zeitpunktText(bis, false), zeitpunktText(ab, false)),
                                  QStringLiteral("Bitte wählen Sie ein späteres Ende.")}));
    return g;
}

QString zeitraumText(const QString& ab, const QString& bis)
{
    const bool mitAb = !keineGrenze(ab), mitBis = !keineGrenze(bis);
    if (mitAb && mitBis)
        return QStringLiteral("Zeitraum: %1 bis %2").arg(zeitpunktText(ab, false), zeitpunktText(bis, false));
    if (mitAb)
        return QStringLiteral("ab ") + zeitpunktText(ab, false);
    if (mitBis)
        return QStringLiteral("bis ") + zeitpunktText(bis, false);
    return QString();
}

QString zeitraumDateiname(const QString& ab, const QString& bis)
{
    const bool mitAb = !keineGrenze(ab), mitBis = !keineGrenze(bis);
    QString t = kAlle;
    if (mitAb && mitBis)
        t = QStringLiteral("%1 bis %2").arg(zeitpunktText(ab, true), zeitpunktText(bis, true));
    else if (mitAb)
        t = QStringLiteral("ab ") + zeitpunktText(ab, true);
    else if (mitBis)
        t = QStringLiteral("bis ") + zeitpunktText(bis, true);
    static const QRegularExpression kVerboten(QStringLiteral("[/\\\\:*?\"<>|]"));
    return t.replace(kVerboten, QStringLiteral("-"));
}

QString zeitraumOrdnername(const QString& ab, const QString& bis, BisGrenze art)
{
    try {
        const Zeitgrenzen g = zeitgrenzen(ab, bis, art);
        if (g.ab && g.vor && *g.ab % kTag == 0) {
            const QDate erster = QDate::fromJulianDay(*g.ab / kTag);
            if (erster.day() == 1 && *g.vor == erster.addMonths(1).toJulianDay() * kTag)
                return erster.toString(QStringLiteral("yyyy-MM"));
        }
    } catch (const QuellFehler&) {
        // A text that is no date is named as it is.
    }
    return zeitraumDateiname(ab, bis);
}

QString berichtDateiname(const QString& nebenstelle, const QString& ab, const QString& bis)
{
    const auto n = nebenstellenGrenze(nebenstelle);
    return QStringLiteral("Telefonkosten %1 %2").arg(n ? QString::number(*n) : kAlle, zeitraumDateiname(ab, bis));
}

QString nebenstellenBedingung(const QString& spalte)
{
    const QString s = sqlName(spalte);
    return QStringLiteral("(%1 = ? OR trim(CAST(%1 AS TEXT)) = ?)").arg(s);
}

} // namespace orve
