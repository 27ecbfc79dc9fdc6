#include "common/CsvText.h"

#include <algorithm>

namespace orve {

namespace {
const QChar kQuote = QLatin1Char('"');
}

QString csvFeldZitiert(const QString& text)
{
    return kQuote + QString(text).replace(kQuote, QStringLiteral("\"\"")) + kQuote;
}

QString csvFeld(const QString& text)
{
    static const QString kBesonders = QStringLiteral(";\"\r\n");
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return kBesonders.contains(c); }))
        return text;
    return csvFeldZitiert(text);
}

std::optional<QChar> csvTrenner(QStringView text)
{
    int semikolon = 0, komma = 0, tab = 0;
    bool zitiert = false;
    for (QChar c : text) {
        if (c == kQuote)
            zitiert = !zitiert;
        else if (!zitiert && (c == QLatin1Char('\r') || c == QLatin1Char('\n')))
            break;
        else if (!zitiert) {
            semikolon += c == QLatin1Char(';');
            komma += c == QLatin1Char(',');
            tab += c == QLatin1Char('\t');
        }
    }
    const int meiste = std::max({semikolon, komma, tab});
    if (meiste == 0)
        return std::nullopt;
    return QLatin1Char(meiste == semikolon ? ';' : meiste == tab ? '\t' : ',');
}

std::optional<std::vector<CsvZeile>> csvLesen(QStringView text, QChar trenner, int& offen)
{
    std::vector<CsvZeile> zeilen;
    CsvZeile zeile {1, {CsvFeld {}}};
    int nummer = 1;
    bool inQuotes = false, leer = true;
    const auto zeileEnde = [&] {
        if (!leer)
            zeilen.push_back(std::move(zeile));
        zeile = CsvZeile {nummer, {CsvFeld {}}};
        leer = true;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        CsvFeld& feld = zeile.felder.back();
        const bool umbruch = c == QLatin1Char('\r') || c == QLatin1Char('\n');
        if (umbruch && !(c == QLatin1Char('\n') && i > 0 && text[i - 1] == QLatin1Char('\r')))
            ++nummer;
        if (inQuotes) {
            if (c != kQuote)
                feld.text += c;
            else if (i + 1 < text.size() && text[i + 1] == kQuote)
                feld.text += text[++i];
            else
                inQuotes = false;
            continue;
        }
        if (umbruch) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                continue; // the LF of CR LF ends the line
            zeileEnde();
        } else if (c == trenner) {
            zeile.felder.push_back({});
            leer = false;
        } else if (c == kQuote && feld.text.isEmpty() && !feld.zitiert) {
            inQuotes = feld.zitiert = true;
            leer = false;
        } else {
            feld.text += c;
            leer = false;
        }
    }
    if (inQuotes) {
        offen = zeile.zeile;
        return std::nullopt;
    }
    zeileEnde();
    return zeilen;
}

} // namespace orve
