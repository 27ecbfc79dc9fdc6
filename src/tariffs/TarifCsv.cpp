#include "tariffs/TarifCsv.h"

#include "common/CsvText.h"
#include "common/Dialogs.h"
#include "common/Numbers.h"
#include "common/OutputFile.h"
#include "common/TextFile.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>

#include <SQLiteCpp/SQLiteCpp.h>

#include <array>
#include <cmath>
#include <map>

namespace orve {

namespace {

// The columns of the header, in the order they are written.
enum Spalte {
    kTabelle,
    kSatz,
    kVorwahl,
    kBezeichnung,
    kVonZeit,
    kBisZeit,
    kMinutenpreis,
    kPauschale,
    kSekundentakt,
    kTyp,
    kUsername,
    kSpalten
};

const std::array<Tariftabelle, 3> kTabellen {Tariftabelle::faktor, Tariftabelle::Ortstarif,
                                             Tariftabelle::CallByCall};

// At most this many bad lines are named; the rest are counted.
constexpr int kGenannteFehler = 20;

QString textFeld(const std::optional<QString>& t)
{
    if (!t)
        return {};
    return t->isEmpty() ? QStringLiteral("\"\"") : csvFeld(*t);
}

QString wertFeld(const Tarifwert& w)
{
    if (w.art == Tarifwert::Art::Null)
        return {};
    if (w.art == Tarifwert::Art::Text || !w.text.isEmpty())
        return csvFeldZitiert(w.text);
    return genauerZahlText(w.zahl);
}

QString zeileText(const Tarifzeile& e)
{
    QStringList f {tabellenName(e.tabelle), QString::number(e.satz), textFeld(e.vorwahl), textFeld(e.Bezeichnung)};
    if (hatTarifspalten(e.tabelle))
        f << textFeld(e.vonZeit) << textFeld(e.bisZeit) << wertFeld(e.Minutenpreis) << wertFeld(e.Pauschale)
          << wertFeld(e.Sekundentakt) << textFeld(e.typ) << textFeld(e.username);
    while (f.size() < kSpalten)
        f << QString();
    return f.join(QLatin1Char(';'));
}

QString dekodieren(QByteArray bytes)
{
    // UTF-16 as Excel's "Unicode-Text" writes it, by its byte-order mark.
    if (const auto art = QStringConverter::encodingForData(bytes); art && *art != QStringConverter::Utf8)
        return QStringDecoder(*art).decode(bytes);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? ausWindows1252(bytes) : text;
}

// Reads the lines of a tariff file by the columns of its header.
class Leser {
public:
    Leser(const CsvZeile& kopf, QChar trenner);

    // Reads one line into e; why it cannot be read, or the empty text.
    QString lesen(const CsvZeile& z, Tarifzeile& e) const;

private:
    const CsvFeld* feld(const CsvZeile& z, Spalte s) const
    {
        const int i = m_index[s];
        return i >= 0 && i < static_cast<int>(z.felder.size()) ? &z.felder[static_cast<size_t>(i)] : nullptr;
    }
    // An empty field without quotes is a Null.
    std::optional<QString> text(const CsvZeile& z, Spalte s) const
    {
        const CsvFeld* f = feld(z, s);
        if (!f || (f->text.isEmpty() && !f->zitiert))
            return std::nullopt;
        return f->text;
    }
    QString zeit(const CsvZeile& z, Spalte s, std::optional<QString>& ziel) const;
    QString wert(const CsvZeile& z, Spalte s, Tarifwert& ziel) const;

    QStringList m_namen = kTarifCsvKopf.split(QLatin1Char(';'));
    std::array<int, kSpalten> m_index {};
    int m_breite = 0;
    bool m_zitiertIstText = true;
};

Leser::Leser(const CsvZeile& kopf, QChar trenner) : m_breite(static_cast<int>(kopf.felder.size()))
{
    m_index.fill(-1);
    // With "," a spreadsheet quotes every decimal comma: quotes say nothing there.
    m_zitiertIstText = trenner != QLatin1Char(',');
    QStringList unbekannt;
    for (int i = 0; i < m_breite; ++i) {
        const QString name = kopf.felder[static_cast<size_t>(i)].text.trimmed();
        int s = 0;
        while (s < kSpalten && name.compare(m_namen[s], Qt::CaseInsensitive) != 0)
            ++s;
        if (s < kSpalten && m_index[s] < 0)
            m_index[s] = i;
        else if (!name.isEmpty())
            unbekannt << QStringLiteral("„%1“").arg(name);
    }
    if (m_index[kTabelle] < 0 || m_index[kVorwahl] < 0 || !unbekannt.isEmpty())
        throw Tarifdateifehler(zeilen(
            {unbekannt.isEmpty()
                 ? QStringLiteral("Die erste Zeile der Datei ist keine Kopfzeile einer Tarifdatei.")
                 : QStringLiteral("Die Kopfzeile der Datei nennt unbekannte oder doppelte Spalten: %1.")
                       .arg(unbekannt.join(QStringLiteral(", "))),
             QStringLiteral("Erwartet werden die Spalten (tabelle und vorwahl sind nötig, getrennt durch „;“, "
                            "„,“ oder Tabulator):"),
             kTarifCsvKopf}));
}

QString Leser::zeit(const CsvZeile& z, Spalte s, std::optional<QString>& ziel) const
{
    static const QRegularExpression kZeit(QStringLiteral("^\\s*(\\d{1,2}):(\\d\\d)(?::(\\d\\d))?\\s*$"));
    ziel = text(z, s);
    if (!ziel)
        return {};
    const auto m = kZeit.match(*ziel);
    const QString form = m.hasMatch()
                             ? QStringLiteral("%1:%2:%3")
                                   .arg(m.captured(1), 2, QLatin1Char('0'))
                                   .arg(m.captured(2), m.hasCaptured(3) ? m.captured(3) : QStringLiteral("00"))
                             : QString();
    if (!tageszeitSekunden(form))
        return QStringLiteral("%1 „%2“ ist keine Uhrzeit der Form hh:mm:ss.").arg(m_namen[s], *ziel);
    ziel = form;
    return {};
}

QString Leser::wert(const CsvZeile& z, Spalte s, Tarifwert& ziel) const
{
    const auto t = text(z, s);
    if (!t) {
        ziel = Tarifwert::null();
        return {};
    }
    const auto zahl = deutscheZahl(*t);
    if (!zahl)
        return QStringLiteral("%1 „%2“ ist keine Zahl.").arg(m_namen[s], *t);
    if (*zahl < 0)
        return QStringLiteral("%1 %2 ist negativ.").arg(m_namen[s], *t);
    if (s == kSekundentakt && (std::floor(*zahl) != *zahl || *zahl >= 1e15))
        return QStringLiteral("%1 „%2“ ist keine ganze Zahl.").arg(m_namen[s], *t);
    ziel = m_zitiertIstText && feld(z, s)->zitiert ? Tarifwert(Tarifwert::Art::Zahl, *zahl, *t) : Tarifwert(*zahl);
    return {};
}

QString Leser::lesen(const CsvZeile& z, Tarifzeile& e) const
{
    for (size_t i = static_cast<size_t>(m_breite); i < z.felder.size(); ++i)
        if (!z.felder[i].text.isEmpty())
            return QStringLiteral("Die Zeile hat %1 Felder, die Kopfzeile nur %2.")
                .arg(z.felder.size())
                .arg(m_breite);
    const QString name = text(z, kTabelle).value_or(QString()).trimmed();
    const auto tabelle = std::find_if(kTabellen.begin(), kTabellen.end(), [&](Tariftabelle t) {
        return name.compare(tabellenName(t), Qt::CaseInsensitive) == 0;
    });
    if (tabelle == kTabellen.end())
        return QStringLiteral("Die Tabelle „%1“ gibt es nicht; erlaubt sind faktor, Ortstarif und CallByCall.")
            .arg(name);
    e.tabelle = *tabelle;
    const QString satz = text(z, kSatz).value_or(QString()).trimmed();
    e.satz = satz.isEmpty() ? 0 : satzNummer(satz).value_or(0);
    if (e.satz <= 0 && !satz.isEmpty())
        return QStringLiteral("satz „%1“ ist keine Satznummer (eine ganze Zahl ab 1; leer für einen neuen Satz).")
            .arg(satz);
    e.vorwahl = text(z, kVorwahl);
    if (e.vorwahl.value_or(QString()).trimmed().isEmpty())
        return QStringLiteral("Die Vorwahl ist leer.");
    e.Bezeichnung = text(z, kBezeichnung);
    if (!hatTarifspalten(e.tabelle)) {
        for (int s = kVonZeit; s < kSpalten; ++s)
            if (text(z, Spalte(s)))
                return QStringLiteral("Die Tabelle CallByCall hat keine Spalte „%1“.").arg(m_namen[s]);
        return {};
    }
    for (QString grund :
         {zeit(z, kVonZeit, e.vonZeit), zeit(z, kBisZeit, e.bisZeit), wert(z, kMinutenpreis, e.Minutenpreis),
          wert(z, kPauschale, e.Pauschale), wert(z, kSekundentakt, e.Sekundentakt)})
        if (!grund.isEmpty())
            return grund;
    e.typ = text(z, kTyp);
    e.username = text(z, kUsername);
    return {};
}

} // namespace

std::vector<Tarifzeile> Tarifdatei::zeilenVon(Tariftabelle t) const
{
    std::vector<Tarifzeile> out;
    for (const Tarifzeile& e : zeilen)
        if (e.tabelle == t)
            out.push_back(e);
    return out;
}

QByteArray tarifeAlsCsv(SQLite::Database& db, int* zeilen)
{
    QByteArray inhalt = "\xEF\xBB\xBF" + kTarifCsvKopf.toUtf8() + "\r\n";
    int n = 0;
    SQLite::Transaction lesen(db); // one state of all three tables
    for (Tariftabelle t : kTabellen) {
        for (const Tarifzeile& e : tarifeLesen(db, t, Reihenfolge::NachSatz)) {
            inhalt += zeileText(e).toUtf8() + "\r\n";
            ++n;
        }
    }
    if (zeilen)
        *zeilen = n;
    return inhalt;
}

int tarifeExportieren(SQLite::Database& db, const QString& datei)
{
    OutputFile f(datei, QStringLiteral("CSV-Datei"));
    int n = 0;
    f.schreiben(tarifeAlsCsv(db, &n));
    f.commit();
    return n;
}

Tarifdatei tarifCsvLesen(const QByteArray& inhalt)
{
    const QString text = dekodieren(inhalt);
    const auto trenner = csvTrenner(text);
    int offen = 0;
    const auto zeilenDerDatei = csvLesen(text, trenner.value_or(QLatin1Char(';')), offen);
    if (!zeilenDerDatei)
        throw Tarifdateifehler(
            QStringLiteral("Zeile %1: Ein Anführungszeichen wird bis zum Ende der Datei nicht geschlossen.")
                .arg(offen));
    if (zeilenDerDatei->empty())
        throw Tarifdateifehler(QStringLiteral("Die Datei ist leer."));
    const Leser leser(zeilenDerDatei->front(), trenner.value_or(QLatin1Char(';')));

    Tarifdatei datei;
    QStringList fehler;
    std::map<std::pair<Tariftabelle, std::int64_t>, int> saetze; // where each satz stands
    for (size_t i = 1; i < zeilenDerDatei->size(); ++i) {
        const CsvZeile& z = (*zeilenDerDatei)[i];
        if (std::all_of(z.felder.begin(), z.felder.end(),
                        [](const CsvFeld& f) { return f.text.trimmed().isEmpty() && !f.zitiert; }))
            continue; // a spreadsheet's empty row
        Tarifzeile e;
        QString grund = leser.lesen(z, e);
        if (grund.isEmpty() && e.satz != 0) {
            const auto [stelle, neu] = saetze.emplace(std::pair {e.tabelle, e.satz}, z.zeile);
            if (!neu)
                grund = QStringLiteral("satz %1 steht für %2 schon in Zeile %3.")
                            .arg(e.satz)
                            .arg(tabellenName(e.tabelle))
                            .arg(stelle->second);
        }
        if (!grund.isEmpty())
            fehler << QStringLiteral("Zeile %1: %2").arg(z.zeile).arg(grund);
        else
            datei.zeilen.push_back(std::move(e));
    }
    if (!fehler.isEmpty()) {
        const qsizetype weitere = fehler.size() - kGenannteFehler;
        if (weitere > 0) {
            fehler.resize(kGenannteFehler);
            fehler << QStringLiteral("… und %1 weitere Zeilen.").arg(weitere);
        }
        throw Tarifdateifehler(
            zeilen(QStringList {fehler.size() == 1 ? QStringLiteral("Diese Zeile kann nicht gelesen werden:")
                                                   : QStringLiteral("Diese Zeilen können nicht gelesen werden:")}
                   + fehler));
    }
    for (Tariftabelle t : kTabellen)
        if (std::any_of(datei.zeilen.begin(), datei.zeilen.end(),
                        [t](const Tarifzeile& e) { return e.tabelle == t; }))
            datei.tabellen.push_back(t);
    if (datei.tabellen.empty())
        throw Tarifdateifehler(QStringLiteral("Die Datei enthält keine Tarifzeile, nur die Kopfzeile."));
    return datei;
}

} // namespace orve
