#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace orve {

struct AppState;

// What the report reads when it starts.
struct BerichtOptionen {
    double steuersatz = 0; // VAT rate in percent
    int OhneMwst = 0;      // 1: group footers without the VAT line and gross total
    QDate datum;           // the date "%d" shows
    // Dialled numbers shown with their last three digits replaced by "xxx"
    // (itemised bills that must not show whom a person called).
    bool rufnummernGekuerzt = false;
    // Each extension starts on a page of its own (a guest gets only his own pages).
    bool neueSeiteJeNebenstelle = false;
    // The period chosen, as the page header shows it ("Zeitraum: 03.11.2026 bis 07.11.2026"); empty: none.
    QString zeitraum {};
    // The folder the bills of each extension go to, named after the period (calls/Auswahl.h: zeitraumOrdnername).
    QString zeitraumOrdner = QStringLiteral("alle");
    // The web address the page footer names (Internetadresse.txt); empty: none.
    QString internetadresse {};

    // VAT rate, OhneMwst, the other report flags and the web address of the program, today's date.
    static BerichtOptionen aus(const AppState& state);
};

// One control of a report section. Positions and sizes in twips (1440 to
// the inch), relative to the section's top left corner.
struct Steuerelement {
    enum class Art { Bezeichnung, Feld, Linie };

    QString name; // "Bezeichnung1", "Text9", "Linie2"
    Art art = Art::Bezeichnung;
    QString inhalt; // label text ("%d", "%p", "%P" placeholders) or the field's column
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 240;
    bool titel = false; // bold 12 point instead of 8.25 point
    QString format;     // "0,000", "0,00" or empty: the stored text
    bool sichtbar = true;
    bool rechtsbuendig = false; // money: right-aligned in its box, so that the decimal commas line up
};

struct Bereich {
    QString name;
    int hoehe = 0; // twips
    std::vector<Steuerelement> elemente;
};

// The layout of `Telefonkostenauswertung`: five sections from top to bottom.
struct BerichtLayout {
    Bereich PageHeader;      // top of every page
    Bereich Bereich1;        // group header, once per extension
    Bereich auslesen_Detail; // one line per call
    Bereich Bereich2;        // group footer, once per extension
    Bereich PageFooter;      // bottom of every page
};

// Width of the horizontal lines and the widest labels, in twips.
inline constexpr int kBerichtBreite = 8504;
// Twips per point: fonts are 8.25 point (165 twips) and 12 point (240 twips).
inline constexpr int kTwipsJePunkt = 20;

// The footer's credit, with the web address when there is one.
QString berichtHinweis(const QString& internetadresse);

// The layout as designed, with the start steps applied: the caption of
// Bezeichnung12 built from the VAT rate, Bezeichnung12 and Text12 hidden
// when OhneMwst is 1, the period (Bezeichnung15) on a line of its own below
// the page header's note when one is chosen, the web address in the footer.
BerichtLayout telefonkostenauswertungLayout(const BerichtOptionen& optionen);

// "Summe Kosten incl. 19 MwSt:": the VAT rate with a decimal comma (7.5 gives "7,5").
QString mwstCaption(double steuersatz);

// Format "0,00": two decimals, decimal comma, halves away from zero after
// rounding to 15 significant digits (0.198 -> "0,20", 1.005 -> "1,01").
// Empty for an empty value. "0,000" is geldText.
QString zweiStellen(const std::optional<double>& wert);

} // namespace orve
