#include "report/BerichtLayout.h"

#include "common/AppState.h"
#include "common/Numbers.h"
#include "common/Version.h"

#include <cmath>
#include <cstdlib>

namespace orve {

namespace {

using Art = Steuerelement::Art;

// One digit of the 8.25 point font (0.556 em of 165 twips).
constexpr int kZiffernbreite = 92;
// The sums end where the calls' costs (7370 + 1125) end less one digit.
constexpr int kSummenBreite = 1125 - kZiffernbreite;
// The page header's line of the period.
constexpr int kZeitraumZeile = 255;

Steuerelement bezeichnung(const char* name, const QString& text, int left, int top, int width)
{
    return Steuerelement {
        QString::fromLatin1(name), Art::Bezeichnung, text, left, top, width, 240, false, QString(), true};
}

Steuerelement feld(const char* name, const char* spalte, int left, int top, int width, const char* format = "")
{
    return Steuerelement {
        QString::fromLatin1(name), Art::Feld, QString::fromLatin1(spalte), left, top, width, 240, false,
        QString::fromUtf8(format), true};
}

// Money: right-aligned, so that the decimal commas of a column stand one under the other.
Steuerelement geld(const char* name, const char* spalte, int left, int top, int width, const char* format)
{
    Steuerelement s = feld(name, spalte, left, top, width, format);
    s.rechtsbuendig = true;
    return s;
}

Steuerelement linie(const char* name, int top)
{
    return Steuerelement {
        QString::fromLatin1(name), Art::Linie, QString(), 0, top, kBerichtBreite, 0, false, QString(), true};
}

} // namespace

BerichtOptionen BerichtOptionen::aus(const AppState& state)
{
    BerichtOptionen o;
    o.steuersatz = state.Steuersatz.zahl().value_or(0);
    o.OhneMwst = state.OhneMwst;
    o.rufnummernGekuerzt = state.RufnummernKuerzen == 1;
    o.neueSeiteJeNebenstelle = state.NeueSeiteJeNebenstelle == 1;
    o.internetadresse = state.Internetadresse;
    o.datum = QDate::currentDate();
    return o;
}

QString berichtHinweis(const QString& internetadresse)
{
    QString s = QStringLiteral("(Angabe Telefoniedauer in Sekunden, Auswertung erstellt mit ") + kProduktName;
    if (!internetadresse.isEmpty())
        s += QStringLiteral(" - siehe Internet unter ") + internetadresse;
    return s + QLatin1Char(')');
}

QString mwstCaption(double steuersatz)
{
    return QStringLiteral("Summe Kosten incl. ") + deutscheZahlText(steuersatz) + QStringLiteral(" MwSt:");
}

QString zweiStellen(const std::optional<double>& wert)
{
    return wert ? festText(*wert, 2) : QString();
}

BerichtLayout telefonkostenauswertungLayout(const BerichtOptionen& optionen)
{
    BerichtLayout l;

    Steuerelement titel = bezeichnung(
        "Bezeichnung1", QStringLiteral("Auswertung Telefonkosten für angefallene Gespräche"), 0, 0, 6240);
    titel.height = 300;
    titel.titel = true;
    l.PageHeader = {
        QStringLiteral("PageHeader"),
        645,
        {
            titel,
            bezeichnung("Bezeichnung2", QStringLiteral("Datum:"), 6803, 0, 555),
            bezeichnung("Bezeichnung3", QStringLiteral("%d"), 7370, 0, 1140),
            bezeichnung(
                "Bezeichnung10",
                QStringLiteral("(diese Auswertung dient der Rechnungserstellung und ist als Nachweis beizufügen)"),
                0, 350, 6240),
            // The period chosen: a line of its own, the header grows by it (kZeitraumZeile).
            bezeichnung("Bezeichnung15", optionen.zeitraum, 0, 600, kBerichtBreite),
        }};
    if (optionen.zeitraum.isEmpty())
        l.PageHeader.elemente.back().sichtbar = false;
    else
        l.PageHeader.hoehe += kZeitraumZeile;

    l.Bereich1 = {
        QStringLiteral("Bereich1"),
        750,
        {
            feld("Text9", "user", 2268, 100, 570),
            feld("Text10", "username", 2835, 100, 1140),
            bezeichnung("Bezeichnung8", QStringLiteral("ausgewerteter Teilnehmer:"), 0, 100, 2265),
            linie("Linie2", 700),
            // The column headings, spaced with blanks to stand over the fields.
            bezeichnung("Bezeichnung11",
                        QStringLiteral("App.  Bezeichnung     Line   Datum/Zeit                          Rufziel"
                                       "              gewählte Rufnummer   Dauer    Kosten"),
                        0, 400, kBerichtBreite),
        }};

    l.auslesen_Detail = {QStringLiteral("auslesen_Detail"),
                         300,
                         {
                             feld("Text2", "user", 0, 0, 370),
                             feld("Text3", "username", 400, 0, 1140),
                             feld("Text1", "lineno", 1580, 0, 450),
                             feld("Text5", "time", 2040, 0, 1929),
                             feld("Text6", "rufziel", 3969, 0, 1140),
                             feld("Text4", "number", 5102, 0, 1695),
                             feld("Text7", "duration", 6803, 0, 570),
                             geld("Text8", "ucosts", 7370, 0, 1125, "0,000"),
                         }};

    l.Bereich2 = {
        QStringLiteral("Bereich2"),
        1380,
        {
            linie("Linie3", 0),
            bezeichnung("Bezeichnung9", QStringLiteral("Kosten des Teilnehmers (gerundet):"), 3402, 50, 3968),
            // The sums have one decimal less than the calls: their fields end one digit earlier.
            geld("Text11", "Kostensumme", 7370, 50, kSummenBreite, "0,00"),
            bezeichnung("Bezeichnung12", QStringLiteral("Summe Kosten incl. 16% MwSt:"), 3402, 350, 3960),
            geld("Text12", "Bruttokosten", 7370, 350, kSummenBreite, "0,00"),
            bezeichnung(
                "Bezeichnung14",
                QStringLiteral("Einträge mit * im Rufziel sind ca. Kosten, da die realen Kosten je nach Anbieter "
                               "abweichen können!"),
                567, 1134, 7370),
        }};

    l.PageFooter = {
        QStringLiteral("PageFooter"),
        630,
        {
            bezeichnung("Bezeichnung4", QStringLiteral("%P"), 1701, 100, 1125),
            bezeichnung("Bezeichnung5", QStringLiteral("%p"), 567, 100, 567),
            bezeichnung("Bezeichnung6", QStringLiteral("Seite"), 0, 100, 555),
            bezeichnung("Bezeichnung7", QStringLiteral("von"), 1134, 100, 555),
            linie("Linie1", 0),
            bezeichnung("Bezeichnung13", berichtHinweis(optionen.internetadresse), 0, 350, kBerichtBreite),
        }};

    // Start of the report: the VAT caption, and no gross total when asked.
    auto& bereich2 = l.Bereich2.elemente;
    bereich2[3].inhalt = mwstCaption(optionen.steuersatz);
    if (optionen.OhneMwst == 1) {
        bereich2[3].sichtbar = false;
        bereich2[4].sichtbar = false;
    }
    return l;
}

} // namespace orve
