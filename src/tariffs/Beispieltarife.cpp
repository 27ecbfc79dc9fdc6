#include "tariffs/Beispieltarife.h"

#include <SQLiteCpp/SQLiteCpp.h>

namespace orve {

namespace {

const QString kTag = QStringLiteral("08:00:00");
const QString kAbend = QStringLiteral("18:00:00");
const QString kTagesanfang = QStringLiteral("00:00:00");
const QString kTagesende = QStringLiteral("24:00:00");

Tarifzeile zeile(const char* vorwahl, const char* bezeichnung, const QString& von, const QString& bis,
                 double minute, double pauschale, double takt, const char* typ)
{
    Tarifzeile e;
    e.vorwahl = QString::fromUtf8(vorwahl);
    e.Bezeichnung = QString::fromUtf8(bezeichnung);
    e.vonZeit = von;
    e.bisZeit = bis;
    e.Minutenpreis = minute;
    e.Pauschale = pauschale;
    e.Sekundentakt = takt;
    e.typ = QString::fromUtf8(typ);
    return e;
}

Tarifzeile ganzerTag(const char* vorwahl, const char* bezeichnung, double minute, double pauschale, double takt,
                     const char* typ)
{
    return zeile(vorwahl, bezeichnung, kTagesanfang, kTagesende, minute, pauschale, takt, typ);
}

} // namespace

std::vector<Tarifzeile> beispieltarife(Tariftabelle t)
{
    std::vector<Tarifzeile> out;
    switch (t) {
    case Tariftabelle::Ortstarif:
        // The local area code by day and by night; the two rows also price
        // local numbers dialled without area code (day row first).
        out.push_back(zeile("0241", "Beispiel Ortsgespräch Tag", kTag, kAbend, 0.04, 0, 0, "O"));
        out.push_back(zeile("0241", "Beispiel Ortsgespräch Nacht", kAbend, kTag, 0.02, 0, 0, "O"));
        out.push_back(ganzerTag("02405", "Beispiel Citybereich", 0.03, 0, 0, "O"));
        break;
    case Tariftabelle::faktor:
        out.push_back(ganzerTag("00", "Beispiel Ausland", 0.29, 0, 0, "A"));
        // Germany by the first digit of the area code: by day the first
        // 60 seconds for 0,10 and every further 60 seconds for 0,05, by
        // night 0,03 a minute.
        for (const char* v : {"02", "03", "04", "05", "06", "07"}) {
            out.push_back(zeile(v, "Beispiel Deutschland Tag", kTag, kAbend, 0.10, 0.05, 60, "D"));
            out.push_back(zeile(v, "Beispiel Deutschland Nacht", kAbend, kTag, 0.03, 0, 0, "D"));
        }
        out.push_back(ganzerTag("0137", "Beispiel Televoting", 0, 0.14, 0, "S"));
        for (const char* v : {"015", "016", "017"})
            out.push_back(ganzerTag(v, "Beispiel Mobilfunk", 0.19, 0, 0, "M"));
        out.push_back(ganzerTag("0180", "Beispiel Servicenummer", 0.14, 0, 0, "S"));
        out.push_back(ganzerTag("0800", "Beispiel kostenlos", 0, 0, 0, "S"));
        out.push_back(ganzerTag("0900", "Beispiel Mehrwertdienst", 1.99, 0, 0, "S"));
        out.push_back(ganzerTag("110", "Beispiel Notruf Polizei", 0, 0, 0, "S"));
        out.push_back(ganzerTag("112", "Beispiel Notruf Feuerwehr", 0, 0, 0, "S"));
        break;
    case Tariftabelle::CallByCall:
        for (const char* v : {"01013", "01088"}) {
            Tarifzeile e;
            e.vorwahl = QString::fromUtf8(v);
            e.Bezeichnung = QStringLiteral("Beispiel Call-by-Call-Anbieter ") + e.vorwahl->right(2);
            out.push_back(e);
        }
        break;
    }
    return out;
}

int tarifZeilenZaehlen(SQLite::Database& db, Tariftabelle t)
{
    SQLite::Statement q(db, "SELECT count(*) FROM " + tabellenName(t).toStdString());
    q.executeStep();
    return q.getColumn(0).getInt();
}

int beispielzeilenZaehlen(SQLite::Database& db)
{
    int n = 0;
    for (const Tariftabelle t : {Tariftabelle::faktor, Tariftabelle::Ortstarif, Tariftabelle::CallByCall}) {
        SQLite::Statement q(db, "SELECT count(*) FROM " + tabellenName(t).toStdString()
                                    + " WHERE substr(Bezeichnung, 1, length(?1)) = ?1");
        q.bind(1, kBeispielAnfang.toStdString());
        q.executeStep();
        n += q.getColumn(0).getInt();
    }
    return n;
}

int beispieltarifeEinfuegen(SQLite::Database& db, const std::vector<Tariftabelle>& tabellen,
                            const QString& username)
{
    // Counted inside the transaction: a row written meanwhile keeps the
    // tables as they are.
    SQLite::Transaction tx(db);
    for (const Tariftabelle t : tabellen)
        if (tarifZeilenZaehlen(db, t) > 0)
            return 0;
    int n = 0;
    for (const Tariftabelle t : tabellen)
        for (Tarifzeile e : beispieltarife(t)) {
            if (hatTarifspalten(t))
                e.username = username;
            tarifEinfuegen(db, t, e);
            ++n;
        }
    tx.commit();
    return n;
}

} // namespace orve
