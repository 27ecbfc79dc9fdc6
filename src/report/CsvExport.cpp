#include "report/CsvExport.h"

#include "report/RufnummerKuerzen.h"

#include <QDir>
#include <QSaveFile>

#include <SQLiteCpp/SQLiteCpp.h>

namespace orve {

namespace {

const char* const kSpalten[] = {"time", "user", "username", "number", "duration", "ucosts",
                                "rufziel", "lineno", "costs", "vergleichsnummer", "ucostsBrutto", "tarifsatz"};

QString feld(const QString& text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString q = text;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString dezimalKomma(QString zahl)
{
    return zahl.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString geld(const SQLite::Column& c)
{
    if (c.isNull())
        return {};
    if (!c.isFloat() && !c.isInteger())
        return c.getString().c_str();
    return dezimalKomma(QString::number(c.getDouble(), 'f', 3));
}

QString brutto(const SQLite::Column& c)
{
    if (c.isNull())
        return {};
    if (!c.isFloat() && !c.isInteger())
        return c.getString().c_str();
    return dezimalKomma(QString::number(c.getDouble(), 'g', 15));
}

} // namespace

void csvSchreiben(SQLite::Database& lokal, const QString& datei, bool kuerzen)
{
    QSaveFile f(datei);
    if (!f.open(QIODevice::WriteOnly))
        throw CsvFehler(QStringLiteral("Die CSV-Datei %1 kann nicht angelegt werden:\r%2")
                            .arg(QDir::toNativeSeparators(datei), f.errorString()));

    QStringList kopf;
    for (const char* s : kSpalten)
        kopf << QString::fromLatin1(s);
    QByteArray inhalt("\xEF\xBB\xBF");
    inhalt += kopf.join(QLatin1Char(';')).toUtf8() + "\r\n";

    try {
        SQLite::Statement q(lokal, "SELECT \"time\", \"user\", username, \"number\", duration, ucosts, rufziel, lineno, "
                                   "costs, vergleichsnummer, ucostsBrutto, tarifsatz FROM bill ORDER BY rowid");
        while (q.executeStep()) {
            QStringList z;
            for (int i = 0; i < 12; ++i) {
                const SQLite::Column c = q.getColumn(i);
                QString wert;
                if (i == 5 || i == 8)
                    wert = geld(c);
                else if (i == 10)
                    wert = brutto(c);
                else if (!c.isNull())
                    wert = QString::fromUtf8(c.getString());
                if (i == 3 && kuerzen)
                    wert = rufnummerKuerzen(wert);
                z << feld(wert);
            }
            inhalt += z.join(QLatin1Char(';')).toUtf8() + "\r\n";
            if (inhalt.size() > (1 << 20)) {
                if (f.write(inhalt) != inhalt.size())
                    break;
                inhalt.clear();
            }
        }
    } catch (const SQLite::Exception& e) {
        f.cancelWriting();
        throw CsvFehler(QStringLiteral("Die Gespräche konnten nicht aus der lokalen Datenbank gelesen werden:\r%1")
                            .arg(QString::fromUtf8(e.what())));
    }
    if (f.write(inhalt) != inhalt.size() || !f.commit())
        throw CsvFehler(QStringLiteral("Die CSV-Datei %1 konnte nicht geschrieben werden:\r%2")
                            .arg(QDir::toNativeSeparators(datei), f.errorString()));
}

} // namespace orve
