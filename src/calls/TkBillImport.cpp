#include "calls/TkBillImport.h"

#include "calls/Auswahl.h"
#include "calls/StartZeit.h"
#include "calls/TabellenSpalten.h"
#include "calls/TkBillQuelle.h"
#include "common/AppState.h"
#include "common/BusyCursor.h"
#include "common/Dialogs.h"
#include "common/LokaleDatenbank.h"
#include "common/Numbers.h"
#include "common/RohAnweisung.h"
#include "common/SqlName.h"
#include "common/SqliteMeldung.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>

namespace orve {

QString paradoxDauer(const std::optional<QString>& dauer)
{
    if (!dauer)
        return QStringLiteral("0");
    const QString& d = *dauer;
    const double sekunden =
        3600 * fuehrendeZahl(d.left(2)) + 60 * fuehrendeZahl(d.mid(3, 2)) + fuehrendeZahl(d.right(2));
    return QString::number(sekunden, 'g', 15);
}

QString paradoxRufnummer(const std::optional<QString>& rufnummer)
{
    if (!rufnummer)
        return QStringLiteral("unbekannt");
    if (rufnummer->size() <= 18)
        return rufnummer->leftJustified(18, QLatin1Char(' '));
    return *rufnummer;
}

namespace {

// The extension of the selection, bound as a number and as its digits
// (the column may hold either).
void nebenstelleBinden(RohAnweisung& q, std::optional<std::int64_t> nebenstelle)
{
    if (!nebenstelle)
        return;
    q.binde(1, static_cast<std::int64_t>(*nebenstelle));
    const QByteArray ziffern = QByteArray::number(static_cast<qlonglong>(*nebenstelle));
    sqlite3_bind_text(q.get(), 2, ziffern.constData(), static_cast<int>(ziffern.size()), SQLITE_TRANSIENT);
}

// The text of a value as UTF-8, without a copy where it is text already.
// Whole numbers are written as their digits, other numbers in their
// shortest form with a point, Null as the empty text.
std::string_view rohText(sqlite3_value* v, std::string& platz)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER: {
        char ziffern[24];
        const auto [ende, fehler] = std::to_chars(ziffern, ziffern + sizeof ziffern, sqlite3_value_int64(v));
        platz.assign(ziffern, ende);
        return platz;
    }
    case SQLITE_FLOAT:
        platz = QString::number(sqlite3_value_double(v), 'g', 15).toStdString();
        return platz;
    default: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
        return std::string_view(p ? p : "", static_cast<size_t>(sqlite3_value_bytes(v)));
    }
    }
}

QString wertText(sqlite3_value* v)
{
    std::string platz;
    const std::string_view t = rohText(v, platz);
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

std::optional<QString> textOderNull(sqlite3_value* v)
{
    if (sqlite3_value_type(v) == SQLITE_NULL)
        return std::nullopt;
    return wertText(v);
}

// The source rows of the import, as the table holds them. They are put in
// order afterwards (see Einordnung): quicker than letting SQLite sort, and
// the start may be written in either text form.
struct QuellAbfrage {
    std::unique_ptr<RohAnweisung> q;
    bool paradox = false;
    int nebenstellenSpalte = 0; // the column that orders the calls first
};

// Paradox: date, time of day (the first two columns), Tln#, Rufnummer,
// Dauer, line of the rows with flags 0.
QuellAbfrage paradoxAbfrage(SQLite::Database& db, std::optional<std::int64_t> nebenstelle)
{
    const QStringList s = spaltenVerlangen(db, QStringLiteral("paradox"), paradoxSpalten());
    const QStringList alle = tabellenSpalten(db, QStringLiteral("paradox"));
    if (alle.size() < 2)
        throw QuellFehler(QStringLiteral("Die Paradox-Tabelle hat weniger als zwei Felder (Datum und Uhrzeit)!"));
    QString sql = QStringLiteral("SELECT %1, %2, %3, %4, %5, %6 FROM paradox WHERE %7 = 0")
                      .arg(sqlName(alle[0]), sqlName(alle[1]), sqlName(s[0]), sqlName(s[2]), sqlName(s[3]),
                           sqlName(s[4]), sqlName(s[1]));
    if (nebenstelle)
        sql += QStringLiteral(" AND ") + nebenstellenBedingung(s[0]);
    QuellAbfrage a {std::make_unique<RohAnweisung>(db, sql.toUtf8().constData()), true, 2};
    nebenstelleBinden(*a.q, nebenstelle);
    return a;
}

// SQLite: time, user, username, number, duration, lineno.
QuellAbfrage sqliteAbfrage(SQLite::Database& db, std::optional<std::int64_t> nebenstelle)
{
    const QStringList s = spaltenVerlangen(db, QStringLiteral("stdbill"), stdbillSpalten());
    QStringList namen;
    for (const auto& n : s)
        namen << sqlName(n);
    QString sql = QStringLiteral("SELECT %1 FROM stdbill").arg(namen.join(QStringLiteral(", ")));
    if (nebenstelle)
        sql += QStringLiteral(" WHERE ") + nebenstellenBedingung(s[1]);
    QuellAbfrage a {std::make_unique<RohAnweisung>(db, sql.toUtf8().constData()), false, 1};
    nebenstelleBinden(*a.q, nebenstelle);
    return a;
}

// Where a call goes in the order "by extension, then by start": the
// extension compared the way SQLite orders a column (Null, then numbers by
// value, then texts byte by byte), the start by time (a start that is no
// date comes first), then the table's own order.
struct Einordnung {
    int klasse = 0; // 0 Null, 1 number, 2 text
    std::int64_t ganz = 0;
    double zahl = 0;
    bool ganzzahlig = true;
    std::optional<std::int64_t> start;
    int zeile = 0; // line in the read buffer
};

int vergleichen(const Einordnung& a, const Einordnung& b, const AnrufPuffer& p)
{
    if (a.klasse != b.klasse)
        return a.klasse < b.klasse ? -1 : 1;
    if (a.klasse == 1) {
        if (a.ganzzahlig && b.ganzzahlig) {
            if (a.ganz != b.ganz)
                return a.ganz < b.ganz ? -1 : 1;
        } else {
            const double x = a.ganzzahlig ? static_cast<double>(a.ganz) : a.zahl;
            const double y = b.ganzzahlig ? static_cast<double>(b.ganz) : b.zahl;
            if (x != y)
                return x < y ? -1 : 1;
        }
    } else if (a.klasse == 2) {
        const int c = p.feld(a.zeile, 0).compare(p.feld(b.zeile, 0));
        if (c != 0)
            return c < 0 ? -1 : 1;
    }
    if (a.start != b.start)
        return a.start < b.start ? -1 : 1; // nothing before every moment
    return a.zeile < b.zeile ? -1 : (a.zeile > b.zeile ? 1 : 0);
}

// Reads every source row that passes the date/time limit: the six values
// by the import's rules into `puffer`, its place in the order into `ordnung`.
void lesen(QuellAbfrage& a, std::optional<std::int64_t> ab, std::optional<std::int64_t> bis, AnrufPuffer& puffer,
           std::vector<Einordnung>& ordnung, QStringList& ohneZeitpunkt)
{
    std::string platz[6];
    sqlite3_stmt* q = a.q->get();
    while (a.q->schritt()) {
        std::string_view werte[6]; // user, username, number, time, duration, lineno
        if (a.paradox) {
            const QString teile[6] = {wertText(sqlite3_column_value(q, 2)),
                                      QStringLiteral("(Internnummer) "),
                                      paradoxRufnummer(textOderNull(sqlite3_column_value(q, 3))),
                                      wertText(sqlite3_column_value(q, 0)) + QLatin1Char(' ')
                                          + wertText(sqlite3_column_value(q, 1)),
                                      paradoxDauer(textOderNull(sqlite3_column_value(q, 4))),
                                      wertText(sqlite3_column_value(q, 5))};
            for (int k = 0; k < 6; ++k) {
                platz[k] = teile[k].toStdString();
                werte[k] = platz[k];
            }
        } else {
            static constexpr int kSpalte[6] = {1, 2, 3, 0, 4, 5};
            for (int k = 0; k < 6; ++k)
                werte[k] = rohText(sqlite3_column_value(q, kSpalte[k]), platz[k]);
            // A call without number is no internal call (that is the empty
            // number) and must not be priced as free: "unbekannt", as for
            // Paradox; a call without duration lasted "0" seconds.
            if (sqlite3_column_type(q, 3) == SQLITE_NULL)
                werte[2] = "unbekannt";
            if (sqlite3_column_type(q, 4) == SQLITE_NULL)
                werte[4] = "0";
        }
        Einordnung e;
        // A Paradox start without a date is " hh:mm:ss": no moment.
        if (!a.paradox || sqlite3_column_type(q, 0) != SQLITE_NULL)
            e.start = startZeitSchluessel(werte[3]);
        if ((ab || bis) && !e.start) {
            // Its moment is unknown: it is left out, and named.
            auto text = [](std::string_view w) {
                return QString::fromUtf8(w.data(), static_cast<int>(w.size())).trimmed();
            };
            ohneZeitpunkt << QStringLiteral(
                                 "Rufnummer %1, Nebenstelle %2, Beginn %3: Der Beginn „%3“ des Gesprächs "
                                 "ist kein Datum mit Uhrzeit.")
                                 .arg(text(werte[2]), text(werte[0]), text(werte[3]));
            continue;
        }
        if (ab && *e.start < *ab)
            continue;
        if (bis && *e.start >= *bis)
            continue;
        sqlite3_value* n = sqlite3_column_value(q, a.nebenstellenSpalte);
        switch (sqlite3_value_type(n)) {
        case SQLITE_NULL:
            e.klasse = 0;
            break;
        case SQLITE_INTEGER:
            e.klasse = 1;
            e.ganz = sqlite3_value_int64(n);
            break;
        case SQLITE_FLOAT:
            e.klasse = 1;
            e.zahl = sqlite3_value_double(n);
            e.ganzzahlig = false;
            break;
        default:
            e.klasse = 2;
            break;
        }
        e.zeile = puffer.zeile(werte[0], werte[1], werte[2], werte[3], werte[4], werte[5]);
        ordnung.push_back(e);
    }
}

// Dateneintrag: writes a call to `bill`.
class Dateneintrag {
public:
    explicit Dateneintrag(SQLite::Database& lokal)
        : m_einfuegen(lokal, "INSERT INTO bill (user, username, number, time, duration, lineno) "
                             "VALUES (?, ?, ?, ?, ?, ?)")
    {
    }

    // Line `zeile` of the buffer (list order) into bill.
    void schreiben(const AnrufPuffer& von, int zeile)
    {
        // Columns of the insert: user, username, number, time, duration, lineno.
        static constexpr int kListenFeld[6] = {0, 5, 3, 2, 4, 1};
        for (int k = 0; k < 6; ++k)
            m_einfuegen.binde(k + 1, von.feld(zeile, kListenFeld[k]));
        m_einfuegen.ausfuehren();
    }

private:
    RohAnweisung m_einfuegen;
};

// What the user does after a failed write into `bill`.
const QString kErneutEinlesen = QStringLiteral("lesen Sie die Daten erneut ein");

} // namespace

EinleseErgebnis tkBillEinlesen(const AppState& state, Datenquellen& quellen, const QString& nebenstelle,
                               const QString& datumZeit, AnrufListe& liste, const QString& bisZeit,
                               BisGrenze bisArt)
{
    const auto nebenstellenNummer = nebenstellenGrenze(nebenstelle);
    const auto [ab, bis] = zeitgrenzen(datumZeit, bisZeit, bisArt);
    if (state.IstParadox == 1)
        paradoxKopieVerlangen(state);
    BusyCursor sanduhr;

    EinleseErgebnis ergebnis;
    // Read and order first: a source that cannot be read changes nothing.
    auto lokal = lokaleAnrufdatenOeffnen(quellen, state);
    AnrufPuffer gelesen;
    std::vector<Einordnung> ordnung;
    try {
        std::unique_ptr<SQLite::Database> quelle;
        QuellAbfrage abfrage;
        if (state.IstParadox == 1) {
            abfrage = paradoxAbfrage(*lokal, nebenstellenNummer);
        } else {
            quelle = quelleOeffnen(quellen, state);
            abfrage = sqliteAbfrage(*quelle, nebenstellenNummer);
        }
        lesen(abfrage, ab, bis, gelesen, ordnung, ergebnis.ohneZeitpunkt);
    } catch (const SQLite::Exception& e) {
        throw anrufdatenLesefehler(state, e);
    }
    std::sort(ordnung.begin(), ordnung.end(),
              [&](const Einordnung& a, const Einordnung& b) { return vergleichen(a, b, gelesen) < 0; });

    std::vector<int> geschrieben;
    geschrieben.reserve(ordnung.size());
    liste.leeren();
    const QString lokalDatei = state.pfadImProgrammordner(kLokaleDatenbankRelativ);
    try {
        SQLite::Transaction t(*lokal);
        lokal->exec("DELETE FROM bill");
        Dateneintrag eintrag(*lokal);
        try {
            for (const auto& e : ordnung) {
                eintrag.schreiben(gelesen, e.zeile);
                geschrieben.push_back(e.zeile);
            }
        } catch (const SQLite::Exception& e) {
            // SQLite rolled the whole transaction back (a full disk, an I/O
            // error): nothing of it is stored, say why.
            if (sqlite3_get_autocommit(lokal->getHandle()) != 0)
                throw;
            // Only this call was refused: the calls written so far stay; the
            // user learns why the rest is missing.
            ergebnis.fehler = zeilen({QStringLiteral("Das Einlesen der TK-Bill Daten wurde nach %1 Datensätzen "
                                                     "abgebrochen.")
                                          .arg(geschrieben.size()),
                                      sqliteMeldung(e, lokalDatei, kErneutEinlesen)});
        }
        t.commit();
    } catch (const SQLite::Exception& e) {
        // Nothing was stored: the old table is back.
        geschrieben.clear();
        ergebnis.fehler = zeilen({QStringLiteral("Die TK-Bill Daten konnten nicht in die lokale Datenbank "
                                                 "geschrieben werden."),
                                  sqliteMeldung(e, lokalDatei, kErneutEinlesen)});
    }
    ergebnis.anzahl = static_cast<std::int64_t>(geschrieben.size());
    liste.setzen(std::move(gelesen), std::move(geschrieben));
    return ergebnis;
}

} // namespace orve
