#include "tariffs/TarifTabellen.h"

#include "tariffs/Tarifzeile.h"

#include "common/Numbers.h"

#include <QRegularExpression>

#include <SQLiteCpp/SQLiteCpp.h>

#include <cmath>
#include <string>

namespace orve {

namespace {

const char* kTarifSpalten =
    R"(satz, vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis, Pauschale, Sekundentakt, typ, username)";
const char* kCallByCallSpalten = "satz, vorwahl, Bezeichnung";

std::string name(Tariftabelle t)
{
    return tabellenName(t).toStdString();
}

std::string spalten(Tariftabelle t)
{
    return hatTarifspalten(t) ? kTarifSpalten : kCallByCallSpalten;
}

std::optional<QString> text(const SQLite::Column& c)
{
    if (c.isNull())
        return std::nullopt;
    return QString::fromUtf8(c.getString());
}

// Numbers are stored as numbers; a text left by another tool is read by the
// rule the user types numbers with, or stays text. Infinity ("1e400" typed
// elsewhere) is no price.
Tarifwert wert(const SQLite::Column& c)
{
    if (c.isNull())
        return Tarifwert::null();
    if ((c.isInteger() || c.isFloat()) && std::isfinite(c.getDouble()))
        return Tarifwert::von(c.getDouble());
    if (c.isInteger() || c.isFloat())
        return {Tarifwert::Art::Text, 0, QString::fromUtf8(c.getString())};
    return Tarifwert::vonText(QString::fromUtf8(c.getString()));
}

Tarifzeile zeileLesen(SQLite::Statement& q, Tariftabelle t)
{
    Tarifzeile e;
    e.tabelle = t;
    e.satz = q.getColumn(0).getInt64();
    e.vorwahl = text(q.getColumn(1));
    e.Bezeichnung = text(q.getColumn(2));
    if (hatTarifspalten(t)) {
        e.vonZeit = text(q.getColumn(3));
        e.bisZeit = text(q.getColumn(4));
        e.Minutenpreis = wert(q.getColumn(5));
        e.Pauschale = wert(q.getColumn(6));
        e.Sekundentakt = wert(q.getColumn(7));
        e.typ = text(q.getColumn(8));
        e.username = text(q.getColumn(9));
    }
    return e;
}

void binde(SQLite::Statement& q, int index, const std::optional<QString>& v)
{
    if (v)
        q.bind(index, v->toStdString());
    else
        q.bind(index);
}

// A price as stored: a text, also one that reads as a number, is written
// back as that text.
void binde(SQLite::Statement& q, int index, const Tarifwert& v, bool ganzzahl = false)
{
    if (v.art == Tarifwert::Art::Null) {
        q.bind(index);
        return;
    }
    if (v.art == Tarifwert::Art::Text || !v.text.isEmpty()) {
        q.bind(index, v.text.toStdString());
        return;
    }
    if (ganzzahl && std::abs(v.zahl) < 1e15 && v.zahl == static_cast<double>(static_cast<std::int64_t>(v.zahl)))
        q.bind(index, static_cast<std::int64_t>(v.zahl));
    else
        q.bind(index, v.zahl);
}

// Binds the written columns in the order of the statements below; returns
// the next free parameter index.
int werteBinden(SQLite::Statement& q, Tariftabelle t, const Tarifzeile& e)
{
    binde(q, 1, e.vorwahl);
    binde(q, 2, e.Bezeichnung);
    if (!hatTarifspalten(t))
        return 3;
    binde(q, 3, e.vonZeit);
    binde(q, 4, e.bisZeit);
    binde(q, 5, e.Minutenpreis);
    binde(q, 6, e.Pauschale);
    binde(q, 7, e.Sekundentakt, true);
    binde(q, 8, e.typ);
    binde(q, 9, e.username);
    return 10;
}

// The INSERT of a row of table t, in the order werteBinden binds its
// values; with `mitSatz` the record number last.
std::string einfuegenSql(Tariftabelle t, bool mitSatz)
{
    const std::string satz = mitSatz ? ", satz" : "", frage = mitSatz ? ", ?" : "";
    return hatTarifspalten(t)
               ? "INSERT INTO " + name(t)
                     + R"( (vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis, Pauschale, Sekundentakt,)"
                       " typ, username"
                     + satz + ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?" + frage + ")"
               : "INSERT INTO " + name(t) + " (vorwahl, Bezeichnung" + satz + ") VALUES (?, ?" + frage + ")";
}

} // namespace

QString tabellenName(Tariftabelle t)
{
    switch (t) {
    case Tariftabelle::faktor:
        return QStringLiteral("faktor");
    case Tariftabelle::Ortstarif:
        return QStringLiteral("Ortstarif");
    case Tariftabelle::CallByCall:
        return QStringLiteral("CallByCall");
    }
    return {};
}

QString tabellenTitel(Tariftabelle t)
{
    switch (t) {
    case Tariftabelle::faktor:
        return QStringLiteral("Standardtarife");
    case Tariftabelle::Ortstarif:
        return QStringLiteral("Ortstarife und Citybereich");
    case Tariftabelle::CallByCall:
        return QStringLiteral("Call by Call Anbieter");
    }
    return {};
}

bool hatTarifspalten(Tariftabelle t)
{
    return t != Tariftabelle::CallByCall;
}

std::optional<std::int64_t> satzNummer(const QString& text)
{
    static const QRegularExpression kGanzzahl(QStringLiteral("^\\s*([+-]?\\d{1,18})\\s*$"));
    const auto m = kGanzzahl.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    bool ok = false;
    const qlonglong n = m.captured(1).toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

std::vector<Tarifzeile> tarifeLesen(SQLite::Database& db, Tariftabelle t, Reihenfolge reihenfolge)
{
    const std::string ordnung = reihenfolge == Reihenfolge::NachSatz ? "satz"
                                : hatTarifspalten(t)                 ? R"(vorwahl, "von Zeit", satz)"
                                                                     : "vorwahl, satz";
    SQLite::Statement q(db, "SELECT " + spalten(t) + " FROM " + name(t) + " ORDER BY " + ordnung);
    std::vector<Tarifzeile> out;
    while (q.executeStep())
        out.push_back(zeileLesen(q, t));
    return out;
}

std::optional<Tarifzeile> tarifFinden(SQLite::Database& db, Tariftabelle t, std::int64_t satz)
{
    SQLite::Statement q(db, "SELECT " + spalten(t) + " FROM " + name(t) + " WHERE satz = ?");
    q.bind(1, satz);
    if (!q.executeStep())
        return std::nullopt;
    return zeileLesen(q, t);
}

std::optional<Tarifzeile> tarifFinden(SQLite::Database& db, Tariftabelle t, const QString& satzText)
{
    const auto n = satzNummer(satzText);
    if (!n)
        return std::nullopt;
    return tarifFinden(db, t, *n);
}

int vorwahlZaehlen(SQLite::Database& db, Tariftabelle t, const QString& vorwahl)
{
    SQLite::Statement q(db, "SELECT count(*) FROM " + name(t) + " WHERE vorwahl = ?");
    q.bind(1, vorwahl.toStdString());
    q.executeStep();
    return q.getColumn(0).getInt();
}

std::int64_t tarifEinfuegen(SQLite::Database& db, Tariftabelle t, const Tarifzeile& e)
{
    SQLite::Statement q(db, einfuegenSql(t, false));
    werteBinden(q, t, e);
    q.exec();
    return db.getLastInsertRowid();
}

bool tarifAendern(SQLite::Database& db, Tariftabelle t, const Tarifzeile& e)
{
    const std::string sql =
        hatTarifspalten(t)
            ? "UPDATE " + name(t)
                  + R"( SET vorwahl = ?, Bezeichnung = ?, "von Zeit" = ?, "bis Zeit" = ?, Minutenpreis = ?,)"
                    " Pauschale = ?, Sekundentakt = ?, typ = ?, username = ? WHERE satz = ?"
            : "UPDATE " + name(t) + " SET vorwahl = ?, Bezeichnung = ? WHERE satz = ?";
    SQLite::Statement q(db, sql);
    const int satzIndex = werteBinden(q, t, e);
    q.bind(satzIndex, e.satz);
    return q.exec() > 0;
}

int tarifLoeschen(SQLite::Database& db, Tariftabelle t, std::int64_t satz)
{
    SQLite::Statement q(db, "DELETE FROM " + name(t) + " WHERE satz = ?");
    q.bind(1, satz);
    return q.exec();
}

void tabelleErsetzen(SQLite::Database& db, Tariftabelle t, const std::vector<Tarifzeile>& zeilen)
{
    db.exec("DELETE FROM " + name(t));
    SQLite::Statement q(db, einfuegenSql(t, true));
    // Those that keep their number first, so that no new one takes it.
    for (const bool neu : {false, true}) {
        for (const Tarifzeile& e : zeilen) {
            if ((e.satz == 0) != neu)
                continue;
            const int satzIndex = werteBinden(q, t, e);
            if (neu)
                q.bind(satzIndex);
            else
                q.bind(satzIndex, e.satz);
            q.exec();
            q.reset();
        }
    }
}

} // namespace orve
