#include "report/CsvExport.h"

#include "report/BerichtDaten.h"
#include "report/RufnummerKuerzen.h"

#include "common/CsvText.h"
#include "common/OutputFile.h"

#include <QStringList>

namespace orve {

namespace {

QString zahl(const std::optional<double>& wert, char format, int stellen)
{
    if (!wert)
        return {};
    return QString::number(*wert, format, stellen).replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

void csvSchreiben(const BerichtDaten& daten, const QString& datei, bool kuerzen)
{
    OutputFile f(datei, QStringLiteral("CSV-Datei"));

    QByteArray inhalt(
        "\xEF\xBB\xBF"
        "time;user;username;number;duration;ucosts;rufziel;lineno;costs;vergleichsnummer;ucostsBrutto;"
        "tarifsatz\r\n");
    for (const BerichtGruppe& g : daten.gruppen) {
        for (const BerichtAnruf& a : g.bill) {
            const QStringList z {csvFeld(a.time),
                                 csvFeld(a.user),
                                 csvFeld(a.username),
                                 csvFeld(kuerzen ? rufnummerKuerzen(a.number) : a.number),
                                 csvFeld(a.duration),
                                 zahl(a.ucosts, 'f', 3),
                                 csvFeld(a.rufziel),
                                 csvFeld(a.lineno),
                                 zahl(a.costs, 'f', 3),
                                 csvFeld(kuerzen ? rufnummerKuerzen(a.vergleichsnummer) : a.vergleichsnummer),
                                 zahl(a.ucostsBrutto, 'g', 15),
                                 csvFeld(a.tarifsatz)};
            inhalt += z.join(QLatin1Char(';')).toUtf8() + "\r\n";
        }
        // Written in pieces, so a large report never needs its whole text in memory.
        if (inhalt.size() > (1 << 20)) {
            f.schreiben(inhalt);
            inhalt.clear();
        }
    }
    f.schreiben(inhalt);
    f.commit();
}

} // namespace orve
