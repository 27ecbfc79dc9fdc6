#include "report/Telefonkostenauswertung.h"

#include "report/RufnummerKuerzen.h"

#include "common/Berichtsschrift.h"
#include "common/Numbers.h"
#include "common/OutputFile.h"
#include "common/Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <utility>

namespace orve {

namespace {

// Fonts in twips: 8.25 point and bold 12 point.
constexpr int kSchrift = 165;
constexpr int kTitelSchrift = 240;
constexpr int kKleinsteSchrift = 120; // 6 points
constexpr int kTwipsJeZoll = 1440;

QFont berichtFont(bool titel)
{
    QFont f(berichtSchriftart());
    f.setPixelSize(titel ? kTitelSchrift : kSchrift);
    f.setBold(titel);
    // The same glyph advances on screen, printer and PDF, so a line that
    // fits in one fits in all.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

// A field's value: a stored text, or a number shown in the field's format.
struct Wert {
    QString text;
    std::optional<double> zahl;
    bool istZahl = false;
};

Wert text(const QString& t)
{
    return Wert {t, std::nullopt, false};
}
Wert zahl(const std::optional<double>& z)
{
    return Wert {QString(), z, true};
}

Wert spalte(const QString& name, const BerichtGruppe& g, const BerichtAnruf* a, bool gekuerzt)
{
    if (a) {
        if (name == QLatin1String("user"))
            return text(a->user);
        if (name == QLatin1String("username"))
            return text(a->username);
        if (name == QLatin1String("lineno"))
            return text(a->lineno);
        if (name == QLatin1String("time"))
            return text(a->time);
        if (name == QLatin1String("rufziel"))
            return text(a->rufziel);
        if (name == QLatin1String("number"))
            return text(gekuerzt ? rufnummerKuerzen(a->number) : a->number);
        if (name == QLatin1String("duration"))
            return text(a->duration);
        if (name == QLatin1String("ucosts"))
            return zahl(a->ucosts);
        return Wert();
    }
    if (name == QLatin1String("user"))
        return text(g.user);
    if (name == QLatin1String("username"))
        return text(g.username);
    if (name == QLatin1String("Kostensumme"))
        return zahl(g.Kostensumme);
    if (name == QLatin1String("Bruttokosten"))
        return zahl(g.Bruttokosten);
    return Wert();
}

QString formatiert(const Wert& w, const QString& format)
{
    if (!w.istZahl)
        return w.text;
    if (!w.zahl)
        return QString();
    if (format == QLatin1String("0,000"))
        return geldText(*w.zahl);
    if (format == QLatin1String("0,00"))
        return zweiStellen(w.zahl);
    return deutscheZahlText(*w.zahl);
}

} // namespace

Telefonkostenauswertung::Telefonkostenauswertung(BerichtDaten daten, BerichtOptionen optionen)
    : m_daten(std::move(daten)), m_optionen(std::move(optionen)),
      m_layout(telefonkostenauswertungLayout(m_optionen))
{
    if (!m_optionen.datum.isValid())
        m_optionen.datum = QDate::currentDate();
}

QPageLayout Telefonkostenauswertung::seitenformat()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(25, 15, 15, 15),
                       QPageLayout::Millimeter);
}

Seiteneinteilung Telefonkostenauswertung::seitenEinteilen(int seitenhoehe) const
{
    std::vector<std::size_t> anzahl;
    anzahl.reserve(m_daten.gruppen.size());
    for (const auto& g : m_daten.gruppen)
        anzahl.push_back(g.bill.size());
    const Seitenmasse m {seitenhoehe,
                         m_layout.PageHeader.hoehe,
                         m_layout.Bereich1.hoehe,
                         m_layout.auslesen_Detail.hoehe,
                         m_layout.Bereich2.hoehe,
                         m_layout.PageFooter.hoehe};
    return orve::seitenEinteilen(anzahl, m, m_optionen.neueSeiteJeNebenstelle);
}

void Telefonkostenauswertung::bereichAufnehmen(std::vector<Zeichnung>& z, const Bereich& b, int y,
                                               const BerichtGruppe* gruppe, const BerichtAnruf* anruf,
                                               std::size_t seite, std::size_t seiten,
                                               const QFontMetricsF& normal) const
{
    const std::size_t anfang = z.size();
    for (const auto& e : b.elemente) {
        if (!e.sichtbar)
            continue;
        Zeichnung d {e.name,
                     e.art == Steuerelement::Art::Linie,
                     QRect(e.left, y + e.top, e.width, e.height),
                     QString(),
                     e.titel,
                     0,
                     e.rechtsbuendig};
        if (e.art == Steuerelement::Art::Bezeichnung) {
            // A placeholder is a label of its own: a period or web address keeps its "%".
            if (e.inhalt == QLatin1String("%d"))
                d.text = m_optionen.datum.toString(QStringLiteral("dd.MM.yyyy"));
            else if (e.inhalt == QLatin1String("%p"))
                d.text = QString::number(seite + 1);
            else if (e.inhalt == QLatin1String("%P"))
                d.text = QString::number(seiten);
            else
                d.text = e.inhalt;
        } else if (e.art == Steuerelement::Art::Feld && gruppe) {
            d.text = formatiert(spalte(e.inhalt, *gruppe, anruf, m_optionen.rufnummernGekuerzt), e.format);
        }
        z.push_back(std::move(d));
    }
    // A field's text wider than the field may run on over the empty fields
    // to its right in the same line ("Internes S0 Gespräch" over the empty
    // number of an internal call). Trailing blanks take no room. Otherwise
    // it is set in a smaller size, down to 6 points, and only then its
    // middle gives way to "…" rather than run into the next column, so that
    // the end stays readable (the "*" of an approximate cost). A dialled
    // number is proof on an invoice: it is never shortened, nor is the
    // footer with the web address the user chose. Money and that footer keep
    // to their own box.
    constexpr int kAbstand = 57; // 1 mm between a shortened text and the next
    static const std::vector<std::pair<int, QFontMetricsF>> kleiner = [] {
        std::vector<std::pair<int, QFontMetricsF>> v;
        for (int groesse = kSchrift - 5; groesse >= kKleinsteSchrift; groesse -= 5) {
            QFont f = berichtFont(false);
            f.setPixelSize(groesse);
            v.emplace_back(groesse, QFontMetricsF(f));
        }
        return v;
    }();
    for (std::size_t i = anfang; i < z.size(); ++i) {
        Zeichnung& d = z[i];
        const bool eigeneBox = d.rechtsbuendig || d.name == QLatin1String("Bezeichnung13");
        if (d.linie || d.text.isEmpty() || !(eigeneBox || d.name.startsWith(QLatin1String("Text"))))
            continue;
        int grenze = eigeneBox ? d.rechteck.left() + d.rechteck.width() : kBerichtBreite;
        for (std::size_t j = anfang; j < z.size() && !eigeneBox; ++j) {
            const Zeichnung& n = z[j];
            if (j != i && !n.linie && n.rechteck.top() == d.rechteck.top() && n.rechteck.left() > d.rechteck.left()
                && !n.text.isEmpty())
                grenze = std::min(grenze, n.rechteck.left());
        }
        const int breite = grenze - d.rechteck.left();
        QString text = d.text;
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        const double volleBreite = normal.horizontalAdvance(text);
        if (volleBreite <= breite)
            continue;
        // Without hinting the width grows with the size: start at the size that should just fit.
        const double geschaetzt = kSchrift * (breite - kAbstand) / volleBreite;
        auto passend =
            std::find_if(kleiner.begin(), kleiner.end(), [&](const auto& k) { return k.first <= geschaetzt; });
        passend =
            std::find_if(passend == kleiner.begin() ? passend : std::prev(passend), kleiner.end(),
                         [&](const auto& k) { return k.second.horizontalAdvance(text) <= breite - kAbstand; });
        if (passend != kleiner.end()) {
            d.schrift = passend->first;
            continue;
        }
        d.schrift = kKleinsteSchrift;
        if (d.name != QLatin1String("Text4") && d.name != QLatin1String("Bezeichnung13"))
            d.text = kleiner.back().second.elidedText(text, Qt::ElideMiddle, breite - kAbstand);
    }
}

std::vector<Zeichnung> Telefonkostenauswertung::seite(const Seiteneinteilung& einteilung, std::size_t index) const
{
    using Art = Platzierung::Art;
    std::vector<Zeichnung> z;
    const std::size_t seiten = einteilung.seiten();
    const QFontMetricsF m(berichtFont(false));
    bereichAufnehmen(z, m_layout.PageHeader, 0, nullptr, nullptr, index, seiten, m);
    for (const Platzierung& p : einteilung.seite(index)) {
        const BerichtGruppe& g = m_daten.gruppen.at(static_cast<std::size_t>(p.gruppe));
        switch (p.art) {
        case Art::Gruppenkopf:
            bereichAufnehmen(z, m_layout.Bereich1, p.y, &g, nullptr, index, seiten, m);
            break;
        case Art::Detail:
            bereichAufnehmen(z, m_layout.auslesen_Detail, p.y, &g, &g.bill.at(static_cast<std::size_t>(p.anruf)),
                             index, seiten, m);
            break;
        case Art::Gruppenfuss:
            bereichAufnehmen(z, m_layout.Bereich2, p.y, &g, nullptr, index, seiten, m);
            break;
        }
    }
    bereichAufnehmen(z, m_layout.PageFooter, einteilung.fussY(), nullptr, nullptr, index, seiten, m);
    return z;
}

std::size_t Telefonkostenauswertung::zeichnen(QPagedPaintDevice& geraet) const
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw BerichtFehler(QStringLiteral("Der Report kann ohne grafische Oberfläche nicht gezeichnet werden."));
    QPainter p;
    if (!p.begin(&geraet))
        throw BerichtFehler(QStringLiteral("Der Report konnte nicht ausgegeben werden: das Ausgabegerät "
                                           "lässt sich nicht beschreiben."));
    const QRectF druck = geraet.pageLayout().paintRect(QPageLayout::Point);
    const Seiteneinteilung e = seitenEinteilen(static_cast<int>(std::floor(druck.height() * kTwipsJePunkt)));

    p.scale(geraet.logicalDpiX() / double(kTwipsJeZoll), geraet.logicalDpiY() / double(kTwipsJeZoll));
    const QFont normal = berichtFont(false);
    const QFont titel = berichtFont(true);
    const QFontMetricsF normalMasse(normal, &geraet);
    // The smaller sizes of wide texts, each with how far it moves down to keep the line's baseline.
    std::map<int, std::pair<QFont, double>> kleinere;
    const auto kleiner = [&](int groesse) -> const std::pair<QFont, double>& {
        auto it = kleinere.find(groesse);
        if (it == kleinere.end()) {
            QFont f = normal;
            f.setPixelSize(groesse);
            it = kleinere.emplace(groesse, std::pair(f, normalMasse.ascent() - QFontMetricsF(f, &geraet).ascent()))
                     .first;
        }
        return it->second;
    };
    QPen stift(Qt::black);
    stift.setWidthF(10); // half a point
    p.setPen(stift);
    constexpr int flags = Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;

    for (std::size_t i = 0; i < e.seiten(); ++i) {
        if (i > 0 && !geraet.newPage()) {
            p.end();
            throw BerichtFehler(QStringLiteral("Der Report konnte nicht ausgegeben werden: Seite %1 ließ sich "
                                               "nicht beginnen.")
                                    .arg(i + 1));
        }
        bool titelGesetzt = false;
        int schriftGesetzt = 0;
        p.setFont(normal);
        for (const Zeichnung& z : seite(e, i)) {
            if (z.linie) {
                p.drawLine(QLineF(z.rechteck.left(), z.rechteck.top(), z.rechteck.left() + z.rechteck.width(),
                                  z.rechteck.top()));
                continue;
            }
            if (z.titel != titelGesetzt || z.schrift != schriftGesetzt) {
                p.setFont(z.schrift != 0 ? kleiner(z.schrift).first : z.titel ? titel : normal);
                titelGesetzt = z.titel;
                schriftGesetzt = z.schrift;
            }
            // A text set smaller keeps the line's baseline.
            const double tiefer = z.schrift != 0 ? kleiner(z.schrift).second : 0;
            if (!z.text.isEmpty())
                p.drawText(QRectF(z.rechteck).translated(0, tiefer),
                           flags | (z.rechtsbuendig ? Qt::AlignRight : Qt::AlignLeft), z.text);
        }
    }
    if (!p.end())
        throw BerichtFehler(QStringLiteral("Der Report konnte nicht vollständig ausgegeben werden."));
    return e.seiten();
}

void berichtAlsPdfSchreiben(const Telefonkostenauswertung& bericht, const QString& datei)
{
    OutputFile f(datei, QStringLiteral("PDF-Datei"));
    {
        QPdfWriter pdf(&f.device());
        pdf.setPageLayout(Telefonkostenauswertung::seitenformat());
        pdf.setResolution(1200);
        pdf.setCreator(programmCaption());
        pdf.setTitle(QStringLiteral("Auswertung Telefonkosten für angefallene Gespräche"));
        bericht.zeichnen(pdf);
    }
    f.commit();
}

} // namespace orve
