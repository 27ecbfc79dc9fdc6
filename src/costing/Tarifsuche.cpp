#include "costing/Tarifsuche.h"

#include "common/Dialogs.h"
#include "costing/Kostenfehler.h"

#include <QRegularExpression>

#include <SQLiteCpp/SQLiteCpp.h>

#include <algorithm>
#include <cmath>

namespace orve {

namespace {

Tarifwert wert(const SQLite::Column& c)
{
    if (c.isNull())
        return Tarifwert::null();
    if (c.isInteger() || c.isFloat()) {
        // Infinity ("1e400" typed elsewhere) is no price.
        if (!std::isfinite(c.getDouble()))
            return {Tarifwert::Art::Text, 0, QString::fromUtf8(c.getString())};
        return Tarifwert::von(c.getDouble());
    }
    return Tarifwert::vonText(QString::fromUtf8(c.getString()));
}

std::vector<Tarifzeile> tarifzeilen(SQLite::Database& db, Tariftabelle t, const char* ordnung)
{
    SQLite::Statement q(db, std::string(R"(SELECT satz, vorwahl, Bezeichnung, "von Zeit", "bis Zeit", )"
                                        "Minutenpreis, Pauschale, Sekundentakt FROM ")
                                + tabellenName(t).toStdString() + " ORDER BY " + ordnung);
    std::vector<Tarifzeile> out;
    while (q.executeStep()) {
        Tarifzeile z;
        z.tabelle = t;
        z.satz = q.getColumn(0).getInt64();
        z.vorwahl = spaltenText(q.getColumn(1));
        if (z.vorwahl && z.vorwahl->startsWith(QLatin1Char('+'))) {
            z.vorwahlGespeichert = z.vorwahl;
            z.vorwahl = nationaleNummer(*z.vorwahl);
        }
        z.Bezeichnung = spaltenText(q.getColumn(2));
        z.vonZeit = spaltenText(q.getColumn(3));
        z.bisZeit = spaltenText(q.getColumn(4));
        z.Minutenpreis = wert(q.getColumn(5));
        z.Pauschale = wert(q.getColumn(6));
        z.Sekundentakt = wert(q.getColumn(7));
        out.push_back(std::move(z));
    }
    return out;
}

bool leer(const std::optional<QString>& t)
{
    return !t || t->isEmpty();
}

enum class Pruefung { Passt, PasstNicht, KeinTarif };

// A candidate row: a missing window or no price at all ends the search.
Pruefung pruefen(const Preisanruf& anruf, const Tarifzeile& z)
{
    if (leer(z.vonZeit) || leer(z.bisZeit))
        return Pruefung::KeinTarif;
    using A = Tarifwert::Art;
    if (z.Minutenpreis.art == A::Null && z.Pauschale.art == A::Null && z.Sekundentakt.art == A::Null)
        return Pruefung::KeinTarif;
    return ZeitGradberechnen(anruf, z) ? Pruefung::Passt : Pruefung::PasstNicht;
}

} // namespace

Tarifdaten Tarifdaten::laden(SQLite::Database& db)
{
    Tarifdaten d;
    SQLite::Statement q(db, "SELECT vorwahl, satz FROM CallByCall ORDER BY vorwahl, satz");
    while (q.executeStep()) {
        const auto v = spaltenText(q.getColumn(0));
        if (v)
            d.callByCall.push_back(*v);
        if (!v || v->trimmed().isEmpty())
            d.callByCallLeer.push_back(q.getColumn(1).getInt64());
    }
    // Sorted by the prefix as stored: a prefix read in national form keeps
    // its place, and the lookup sorts the candidates by position anyway.
    d.ortstarif = tarifzeilen(db, Tariftabelle::Ortstarif, R"(vorwahl, "von Zeit", satz)");
    d.faktor = tarifzeilen(db, Tariftabelle::faktor, R"(vorwahl, "von Zeit", satz)");
    d.ortstarifAlle = tarifzeilen(db, Tariftabelle::Ortstarif, "satz");
    return d;
}

void vorwahlenPruefen(const Tarifdaten& d)
{
    const QString folge = QStringLiteral("Die Kostenberechnung wird abgebrochen, es wird kein Report erstellt.");
    for (const auto* tabelle : {&d.ortstarif, &d.faktor}) {
        for (const Tarifzeile& z : *tabelle) {
            if (z.vorwahl && !z.vorwahl->trimmed().isEmpty())
                continue;
            throw Kostenfehler(zeilen({QStringLiteral("Fehler in der Tariftabelle! Eine Zeile hat keine Vorwahl und "
                                                      "würde jedes Gespräch berechnen."),
                                       QStringLiteral("Bitte tragen Sie die Vorwahl ein oder löschen Sie die Zeile!"),
                                       tarifText(z), folge}));
        }
    }
    if (!d.callByCallLeer.empty()) {
        Tarifzeile z;
        z.tabelle = Tariftabelle::CallByCall;
        z.satz = d.callByCallLeer.front();
        throw Kostenfehler(zeilen({QStringLiteral("Fehler in der Tariftabelle! Eine Call-by-Call-Zeile hat keine "
                                                  "Vorwahl: keine Call-by-Call-Vorwahl würde mehr entfernt."),
                                   QStringLiteral("Bitte tragen Sie die Vorwahl ein oder löschen Sie die Zeile!"),
                                   tarifText(z), folge}));
    }
}

QString nationaleNummer(const QString& nummer)
{
    if (!nummer.startsWith(QLatin1Char('+')))
        return nummer;
    QString n = nummer;
    n.remove(QStringLiteral("(0)"));
    n.remove(QRegularExpression(QStringLiteral("[ \\t/-]")));
    if (n.startsWith(QStringLiteral("+49")))
        return QLatin1Char('0') + n.mid(3);
    return QStringLiteral("00") + n.mid(1);
}

Tarifsuche::Tarifsuche(Tarifdaten daten)
    : m_daten(std::move(daten)), m_ortstarif(indexieren(m_daten.ortstarif)), m_faktor(indexieren(m_daten.faktor))
{
}

Tarifsuche::Index Tarifsuche::indexieren(const std::vector<Tarifzeile>& zeilen)
{
    Index index;
    for (int i = 0; i < static_cast<int>(zeilen.size()); ++i) {
        if (!zeilen[static_cast<size_t>(i)].vorwahl)
            continue; // a Null prefix matches no number
        const QString& v = *zeilen[static_cast<size_t>(i)].vorwahl;
        index.nachVorwahl[v].push_back(i);
        index.laengen.push_back(static_cast<int>(v.size()));
    }
    std::sort(index.laengen.begin(), index.laengen.end());
    index.laengen.erase(std::unique(index.laengen.begin(), index.laengen.end()), index.laengen.end());
    return index;
}

void Tarifsuche::kandidaten(const Index& index, const QString& nummer, std::vector<int>& aus) const
{
    aus.clear();
    for (int n : index.laengen) {
        if (n > nummer.size())
            break;
        const auto it = index.nachVorwahl.constFind(QString::fromRawData(nummer.constData(), n));
        if (it != index.nachVorwahl.cend())
            aus.insert(aus.end(), it->begin(), it->end());
    }
    // A shorter prefix sorts before every longer one it begins, so this is
    // table order already; sorting keeps it so for any collation.
    std::sort(aus.begin(), aus.end());
}

Suchergebnis Tarifsuche::suchen(const Preisanruf& anruf, const Kostensaetze& saetze) const
{
    Suchergebnis e;
    const QString nummer = anruf.number ? *anruf.number : QStringLiteral("unbekannt");
    if (anruf.number && anruf.number->isEmpty()) {
        e.art = Suchergebnis::Art::Intern;
        e.kosten.rufziel = kInternesGespraech;
        e.kosten.tarifsatz = kTarifsatzIntern;
        return e;
    }

    if (const auto grund = anrufUnlesbar(anruf)) {
        e.art = Suchergebnis::Art::Unlesbar;
        e.grund = *grund;
        return e;
    }

    QString vergleich = nationaleNummer(nummer);
    if (vergleich == nummer) {
        for (const QString& cbc : m_daten.callByCall) {
            if (!cbc.isEmpty() && nummer.startsWith(cbc)) {
                vergleich.replace(cbc, QString(), Qt::CaseSensitive);
                break;
            }
        }
    }
    e.vergleichsnummer = vergleich;

    auto versuchen = [&](const Tarifzeile& z) {
        switch (pruefen(anruf, z)) {
        case Pruefung::Passt:
            e.art = Suchergebnis::Art::Bepreist;
            e.kosten = tarifberechnung(anruf, z, saetze);
            return true;
        case Pruefung::KeinTarif:
            e.art = Suchergebnis::Art::KeinTarif;
            return true;
        case Pruefung::PasstNicht:
            break;
        }
        return false;
    };

    std::vector<int> positionen;
    kandidaten(m_ortstarif, vergleich, positionen);
    for (int i : positionen)
        if (versuchen(m_daten.ortstarif[static_cast<size_t>(i)]))
            return e;
    kandidaten(m_faktor, vergleich, positionen);
    for (int i : positionen)
        if (versuchen(m_daten.faktor[static_cast<size_t>(i)]))
            return e;
    if (!vergleich.startsWith(QLatin1Char('0'))) {
        for (const auto& z : m_daten.ortstarifAlle)
            if (versuchen(z))
                return e;
    }
    e.art = Suchergebnis::Art::KeinTarif;
    return e;
}

std::optional<QString> spaltenText(const SQLite::Column& c)
{
    if (c.isNull())
        return std::nullopt;
    return QString::fromUtf8(c.getString());
}

} // namespace orve
