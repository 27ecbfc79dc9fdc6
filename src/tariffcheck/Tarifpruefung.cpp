#include "tariffcheck/Tarifpruefung.h"

#include "common/AppState.h"
#include "common/Berichtsschrift.h"
#include "common/Fehler.h"
#include "common/LokaleDatenbank.h"
#include "common/OutputFile.h"
#include "common/Version.h"
#include "costing/Bepreisung.h"
#include "tariffcheck/TarifPruefer.h"
#include "tariffs/Beispieltarife.h"
#include "tariffs/TarifTabellen.h"

#include <QDir>
#include <QFont>
#include <QLocale>
#include <QPdfWriter>
#include <QTextDocument>

#include <SQLiteCpp/SQLiteCpp.h>

#include <algorithm>

namespace orve {

namespace {

using PBereich = Pruefbefund::Bereich;

QString anzahl(qint64 n)
{
    return QLocale(QLocale::German, QLocale::Germany).toString(n);
}

struct Abschnitt {
    QString titel;
    std::vector<std::pair<QString, QStringList>> gruppen; // heading, sentences
};

// The findings by section and heading, in the order they were found.
std::vector<Abschnitt> gliedern(const Tarifpruefung& p)
{
    std::vector<Abschnitt> out;
    for (PBereich b : {PBereich::Ortstarif, PBereich::faktor, PBereich::Ortsnummern, PBereich::CallByCall,
                       PBereich::Gespraeche, PBereich::Hinweise}) {
        Abschnitt a {bereichTitel(b), {}};
        for (const Pruefbefund& f : p.befunde) {
            if (f.bereich != b)
                continue;
            auto it =
                std::find_if(a.gruppen.begin(), a.gruppen.end(), [&](auto& g) { return g.first == f.gruppe; });
            if (it == a.gruppen.end())
                it = a.gruppen.insert(a.gruppen.end(), {f.gruppe, {}});
            it->second << f.text;
        }
        if (!a.gruppen.empty())
            out.push_back(std::move(a));
    }
    return out;
}

QString kopf(const Tarifpruefung& p)
{
    return QStringLiteral("Geprüft am %1: %2 Ortstarife, %3 Standardtarife, %4 Call-by-Call-Anbieter")
               .arg(QLocale(QLocale::German, QLocale::Germany)
                        .toString(p.zeitpunkt, QStringLiteral("dd.MM.yyyy 'um' HH:mm")),
                    anzahl(p.ortstarifZeilen), anzahl(p.faktorZeilen), anzahl(p.callByCallZeilen))
           + (p.gespraeche > 0
                  ? QStringLiteral(" und die %1 zuletzt eingelesenen Gespräche.").arg(anzahl(p.gespraeche))
                  : QStringLiteral(". Es sind keine Gespräche eingelesen: geprüft wurden nur die "
                                   "Tariftabellen."));
}

QString ergebnis(const Tarifpruefung& p)
{
    const qint64 befunde = p.anzahl(Pruefbefund::Art::Befund), hinweise = p.anzahl(Pruefbefund::Art::Hinweis);
    const QString h =
        hinweise == 0 ? QString()
                      : QStringLiteral("%1 %2").arg(anzahl(hinweise), hinweise == 1 ? QStringLiteral("Hinweis")
                                                                                    : QStringLiteral("Hinweise"));
    if (befunde == 0)
        return QStringLiteral("Ergebnis: keine Lücken und keine Fehler gefunden")
               + (h.isEmpty() ? QString() : QStringLiteral("; ") + h) + QLatin1Char('.');
    return QStringLiteral("Ergebnis: %1 %2%3.")
        .arg(anzahl(befunde), befunde == 1 ? QStringLiteral("Befund") : QStringLiteral("Befunde"),
             h.isEmpty() ? QString() : QStringLiteral(", ") + h);
}

// The example tariffs left in the tables, with what to do.
Pruefbefund beispielHinweis(int n)
{
    const QString text =
        n == 1 ? QStringLiteral("1 Tarifzeile ist noch ein Beispieltarif (Bezeichnung beginnt mit „%1“): bitte "
                                "durch Ihren echten Preis ersetzen.")
                     .arg(kBeispielAnfang)
               : QStringLiteral("%1 Tarifzeilen sind noch Beispieltarife (Bezeichnung beginnt mit „%2“): bitte "
                                "durch Ihre echten Preise ersetzen.")
                     .arg(anzahl(n), kBeispielAnfang);
    return {PBereich::Hinweise, QStringLiteral("Beispieltarife"), text, Pruefbefund::Art::Hinweis};
}

// How to read the findings and what to do about them.
QString erlaeuterung(const Tarifpruefung& p)
{
    if (p.inOrdnung())
        return {};
    return QStringLiteral(
        "Von den Zeilen, die zu einer Rufnummer passen, gilt die erste in der Reihenfolge der "
        "Tabelle (Ortstarife vor Standardtarifen); Zeiten gelten sekundengenau, beide Enden eines "
        "Zeitfensters eingeschlossen. Ändern Sie die Tarife unter „Tariftabellen“ → „pflegen“ und "
        "prüfen Sie danach erneut.");
}

const QString kTitel = QStringLiteral("Prüfung der Tariftabellen");

} // namespace

QString bereichTitel(Pruefbefund::Bereich b)
{
    switch (b) {
    case PBereich::Ortstarif:
        return tabellenTitel(Tariftabelle::Ortstarif);
    case PBereich::faktor:
        return tabellenTitel(Tariftabelle::faktor);
    case PBereich::Ortsnummern:
        return QStringLiteral("Ortsnummern ohne Vorwahl");
    case PBereich::CallByCall:
        return tabellenTitel(Tariftabelle::CallByCall);
    case PBereich::Hinweise:
        return QStringLiteral("Hinweise");
    case PBereich::Gespraeche:
        break;
    }
    return QStringLiteral("Eingelesene Gespräche ohne Tarif");
}

qint64 Tarifpruefung::anzahl(Pruefbefund::Art art) const
{
    return std::count_if(befunde.begin(), befunde.end(), [art](const Pruefbefund& b) { return b.art == art; });
}

QString Tarifpruefung::alsText() const
{
    QString t = kTitel + QLatin1Char('\n') + kopf(*this) + QLatin1Char('\n') + ergebnis(*this) + QLatin1Char('\n');
    if (!inOrdnung())
        t += erlaeuterung(*this) + QLatin1Char('\n');
    for (const Abschnitt& a : gliedern(*this)) {
        t += QLatin1Char('\n') + a.titel + QLatin1Char('\n');
        for (const auto& [gruppe, saetze] : a.gruppen) {
            t += QStringLiteral("  ") + gruppe + QLatin1Char('\n');
            for (const QString& s : saetze)
                t += QStringLiteral("    - ") + s + QLatin1Char('\n');
        }
    }
    return t;
}

QString Tarifpruefung::alsHtml() const
{
    QString h = QStringLiteral("<html><body><h2>%1</h2><p>%2</p><p><b>%3</b> %4</p>")
                    .arg(kTitel.toHtmlEscaped(), kopf(*this).toHtmlEscaped(), ergebnis(*this).toHtmlEscaped(),
                         erlaeuterung(*this).toHtmlEscaped());
    for (const Abschnitt& a : gliedern(*this)) {
        h += QStringLiteral("<h3>%1</h3>").arg(a.titel.toHtmlEscaped());
        for (const auto& [gruppe, saetze] : a.gruppen) {
            h += QStringLiteral("<p style=\"margin-bottom:0\"><b>%1</b></p><ul style=\"margin-top:2px\">")
                     .arg(gruppe.toHtmlEscaped());
            for (const QString& s : saetze)
                h += QStringLiteral("<li>%1</li>").arg(s.toHtmlEscaped());
            h += QStringLiteral("</ul>");
        }
    }
    return h + QStringLiteral("</body></html>");
}

Tarifpruefung tarifePruefen(SQLite::Database& lokal)
{
    const Tarifdaten daten = Tarifdaten::laden(lokal);
    Tarifpruefung p = TarifPruefer(daten).pruefen(anrufeLesen(lokal));
    if (const int n = beispielzeilenZaehlen(lokal); n > 0)
        p.befunde.push_back(beispielHinweis(n));
    return p;
}

Tarifpruefung tarifePruefen(const AppState& state, Datenquellen& quellen)
{
    const auto lokal = lokalOeffnen(quellen, state);
    return tarifePruefen(*lokal);
}

QPageLayout pruefungSeitenformat()
{
    // The text keeps 2 cm from the printable area besides.
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                       QPageLayout::Millimeter);
}

void pruefungDrucken(const Tarifpruefung& pruefung, QPagedPaintDevice& geraet)
{
    QTextDocument doc;
    doc.setDefaultFont(QFont(berichtSchriftart(), 10));
    doc.setHtml(pruefung.alsHtml());
    doc.print(&geraet);
}

void pruefungAlsPdfSchreiben(const Tarifpruefung& pruefung, const QString& datei)
{
    OutputFile f(datei, QStringLiteral("PDF-Datei"));
    {
        QPdfWriter pdf(&f.device());
        pdf.setPageLayout(pruefungSeitenformat());
        pdf.setCreator(programmCaption());
        pdf.setTitle(kTitel);
        pruefungDrucken(pruefung, pdf);
    }
    f.commit();
}

} // namespace orve
