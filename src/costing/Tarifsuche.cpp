#include "costing/Tarifsuche.h"

#include "common/Dialogs.h"
#include "costing/Kostenfehler.h"

#include <QRegularExpression>

#include <SQLiteCpp/SQLiteCpp.h>

#include <algorithm>

namespace orve {

namespace {

// The pricing reads a prefix written in international form in its national
// form, as it reads the dialled numbers.
std::vector<Tarifzeile> national(std::vector<Tarifzeile> zeilen)
{
    for (Tarifzeile& z : zeilen) {
        if (z.vorwahl && z.vorwahl->startsWith(QLatin1Char('+'))) {
            z.vorwahlGespeichert = z.vorwahl;
            z.vorwahl = nationaleNummer(*z.vorwahl);
        }
    }
    return zeilen;
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
    for (const Tarifzeile& z : tarifeLesen(db, Tariftabelle::CallByCall)) {
        if (z.vorwahl)
            d.callByCall.push_back(*z.vorwahl);
        if (!z.vorwahl || z.vorwahl->trimmed().isEmpty())
            d.callByCallLeer.push_back(z.satz);
    }
    // Sorted by the prefix as stored: a prefix read in national form keeps
    // its place, and the lookup sorts the candidates by position anyway.
    d.ortstarif = national(tarifeLesen(db, Tariftabelle::Ortstarif));
    d.faktor = national(tarifeLesen(db, Tariftabelle::faktor));
    d.ortstarifAlle = national(tarifeLesen(db, Tariftabelle::Ortstarif, Reihenfolge::NachSatz));
    return d;
}

void vorwahlenPruefen(const Tarifdaten& d)
{
    const QString folge = QStringLiteral("Die Kostenberechnung wird abgebrochen, es wird kein Report erstellt.");
    for (const auto* tabelle : {&d.ortstarif, &d.faktor}) {
        for (const Tarifzeile& z : *tabelle) {
            if (z.vorwahl && !z.vorwahl->trimmed().isEmpty())
                continue;
            throw Kostenfehler(
                zeilen({QStringLiteral("Fehler in der Tariftabelle! Eine Zeile hat keine Vorwahl und "
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
