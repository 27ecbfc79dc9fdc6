#include "startup/SpeicherRegistry.h"

#include "common/TextFile.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace orve {

namespace {

// Path of a key under its parent: "a\b\c" -> "a\b"; the root has none.
QString elternPfad(const QString& pfad)
{
    const auto i = pfad.lastIndexOf(QLatin1Char('\\'));
    return i < 0 ? QString() : pfad.left(i);
}

const QString kKopf5 = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kKopf4 = QStringLiteral("REGEDIT4");

// regedit escapes only the backslash and the quotation mark.
QString maskiert(const QString& s)
{
    QString out;
    out.reserve(s.size() + 2);
    out.append(QLatin1Char('"'));
    for (QChar c : s) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            out.append(QLatin1Char('\\'));
        out.append(c);
    }
    out.append(QLatin1Char('"'));
    return out;
}

// Reads a quoted text starting at s[pos] == '"'; pos ends after the closing
// quote. Nothing when the text is not closed.
std::optional<QString> zitatLesen(const QString& s, qsizetype& pos)
{
    QString out;
    for (qsizetype i = pos + 1; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('\\') && i + 1 < s.size()
            && (s[i + 1] == QLatin1Char('\\') || s[i + 1] == QLatin1Char('"'))) {
            out.append(s[++i]);
        } else if (c == QLatin1Char('"')) {
            pos = i + 1;
            return out;
        } else {
            out.append(c);
        }
    }
    return std::nullopt;
}

QString hexBytes(const QByteArray& bytes)
{
    QStringList teile;
    for (char b : bytes)
        teile.append(QStringLiteral("%1").arg(static_cast<unsigned char>(b), 2, 16, QLatin1Char('0')));
    return teile.join(QLatin1Char(','));
}

std::optional<QByteArray> bytesAusHex(const QString& text)
{
    QByteArray out;
    const QString bereinigt = QString(text).remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    if (bereinigt.isEmpty())
        return out;
    for (const QString& teil : bereinigt.split(QLatin1Char(','))) {
        bool ok = false;
        const uint b = teil.toUInt(&ok, 16);
        if (!ok || teil.size() > 2)
            return std::nullopt;
        out.append(static_cast<char>(b));
    }
    return out;
}

QString wertZeile(const QString& name, const RegWert& w)
{
    QString zeile = name.isEmpty() ? QStringLiteral("@") : maskiert(name);
    zeile.append(QLatin1Char('='));
    if (w.typ == RegWert::Dword) {
        zeile.append(QStringLiteral("dword:%1").arg(w.zahl, 8, 16, QLatin1Char('0')));
    } else if (w.text.contains(QLatin1Char('\r')) || w.text.contains(QLatin1Char('\n'))
               || w.text.contains(QChar(0))) {
        // Line breaks and NULs cannot stand in a quoted text: hex(1) holds
        // the UTF-16 bytes with the terminating NUL.
        QByteArray utf16(reinterpret_cast<const char*>(w.text.utf16()), w.text.size() * 2);
        utf16.append('\0').append('\0');
        zeile.append(QStringLiteral("hex(1):") + hexBytes(utf16));
    } else {
        zeile.append(maskiert(w.text));
    }
    return zeile;
}

// Tree order: parent before child, siblings by name without case.
bool baumVor(const QString& a, const QString& b)
{
    const QStringList ta = a.split(QLatin1Char('\\'));
    const QStringList tb = b.split(QLatin1Char('\\'));
    for (qsizetype i = 0; i < std::min(ta.size(), tb.size()); ++i) {
        const int c = ta[i].compare(tb[i], Qt::CaseInsensitive);
        if (c != 0)
            return c < 0;
    }
    return ta.size() < tb.size();
}

QString dekodieren(const QByteArray& inhalt)
{
    if (inhalt.startsWith("\xFF\xFE")) {
        QStringDecoder d(QStringDecoder::Utf16LE);
        return d(inhalt.mid(2));
    }
    if (inhalt.startsWith("\xFE\xFF")) {
        QStringDecoder d(QStringDecoder::Utf16BE);
        return d(inhalt.mid(2));
    }
    const QByteArray ohneBom = inhalt.startsWith("\xEF\xBB\xBF") ? inhalt.mid(3) : inhalt;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(ohneBom);
    if (utf8.hasError())
        text = ausWindows1252(ohneBom);
    return text;
}

} // namespace

SpeicherRegistry::SpeicherRegistry(const std::vector<RegEintrag>& eintraege)
{
    for (const auto& e : eintraege)
        setzen(erzeugen(e.hive, e.schluessel), e.name, e.wert);
}

QString SpeicherRegistry::normalisiert(const QString& pfad)
{
    // Leading and trailing backslashes and empty parts carry no meaning.
    const QStringList teile = pfad.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return teile.join(QLatin1Char('\\'));
}

SpeicherRegistry::Schluessel* SpeicherRegistry::finden(Hive hive, const QString& pfad)
{
    auto h = m_daten.hives.find(hive);
    if (h == m_daten.hives.end())
        return nullptr;
    auto k = h->second.find(normalisiert(pfad).toLower());
    return k == h->second.end() ? nullptr : &k->second;
}

SpeicherRegistry::Schluessel& SpeicherRegistry::erzeugen(Hive hive, const QString& pfad)
{
    const QString n = normalisiert(pfad);
    auto& keys = m_daten.hives[hive];
    // Parents first, as RegCreateKey creates every missing level.
    for (QString p = n; !p.isEmpty(); p = elternPfad(p)) {
        const QString lower = p.toLower();
        if (keys.count(lower))
            break;
        keys[lower].pfad = p;
    }
    auto& k = keys[n.toLower()];
    if (k.pfad.isEmpty())
        k.pfad = n;
    return k;
}

const SpeicherRegistry::Offen* SpeicherRegistry::offen(RegSchluessel s) const
{
    const auto it = m_offen.find(s.id);
    return it == m_offen.end() ? nullptr : &it->second;
}

std::optional<RegSchluessel> SpeicherRegistry::oeffnen(Hive hive, const QString& pfad)
{
    const QString n = normalisiert(pfad);
    // The hive itself can always be opened.
    if (!n.isEmpty() && !finden(hive, n))
        return std::nullopt;
    const int id = m_naechsteId++;
    m_offen[id] = Offen {hive, n.toLower(), false};
    return RegSchluessel {id};
}

std::optional<RegWert> SpeicherRegistry::wertLesen(RegSchluessel schluessel, const QString& name)
{
    const Offen* o = offen(schluessel);
    const Schluessel* k = o ? finden(o->hive, o->schluessel) : nullptr;
    if (!k)
        return std::nullopt;
    for (const auto& [n, w] : k->werte)
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return w;
    return std::nullopt;
}

std::optional<RegSchluessel> SpeicherRegistry::anlegen(Hive hive, const QString& pfad)
{
    const QString n = normalisiert(pfad);
    if (!n.isEmpty())
        erzeugen(hive, n);
    const int id = m_naechsteId++;
    m_offen[id] = Offen {hive, n.toLower(), true};
    return RegSchluessel {id};
}

bool SpeicherRegistry::wertSetzen(RegSchluessel schluessel, const QString& name, const RegWert& wert)
{
    const Offen* o = offen(schluessel);
    if (!o || !o->schreibbar)
        return false;
    setzen(erzeugen(o->hive, o->schluessel), name, wert);
    return true;
}

bool SpeicherRegistry::schliessen(RegSchluessel schluessel)
{
    return m_offen.erase(schluessel.id) == 1;
}

void SpeicherRegistry::setzen(Schluessel& k, const QString& name, const RegWert& wert)
{
    auto it = std::find_if(k.werte.begin(), k.werte.end(),
                           [&](const auto& p) { return p.first.compare(name, Qt::CaseInsensitive) == 0; });
    if (it != k.werte.end())
        it->second = wert;
    else
        k.werte.emplace_back(name, wert);
}

QByteArray SpeicherRegistry::alsRegDatei() const
{
    QString text = kKopf5 + QStringLiteral("\r\n");
    for (const auto& [hive, keys] : m_daten.hives) {
        std::vector<const Schluessel*> sortiert;
        for (const auto& [lower, k] : keys)
            sortiert.push_back(&k);
        std::sort(sortiert.begin(), sortiert.end(),
                  [](const Schluessel* a, const Schluessel* b) { return baumVor(a->pfad, b->pfad); });
        for (const Schluessel* k : sortiert) {
            text += QStringLiteral("\r\n[") + hiveName(hive);
            if (!k->pfad.isEmpty())
                text += QLatin1Char('\\') + k->pfad;
            text += QStringLiteral("]\r\n");
            for (const auto& [n, w] : k->werte)
                text += wertZeile(n, w) + QStringLiteral("\r\n");
            for (const QString& z : k->fremdeZeilen)
                text += z + QStringLiteral("\r\n");
        }
    }
    return text.toUtf8();
}

void SpeicherRegistry::einlesen(const QByteArray& inhalt)
{
    const QString text = dekodieren(inhalt);
    if (text.trimmed().isEmpty())
        return;
    static const QRegularExpression kZeilenende(QStringLiteral("\r\n|\n|\r"));
    const QStringList zeilen = text.split(kZeilenende);

    qsizetype i = 0;
    while (i < zeilen.size() && zeilen[i].trimmed().isEmpty())
        ++i;
    if (i == zeilen.size() || (zeilen[i].trimmed() != kKopf5 && zeilen[i].trimmed() != kKopf4))
        throw RegistryFehler(
            13, QStringLiteral("Die Datei ist keine Registry-Datei (erste Zeile \"%1\" fehlt).").arg(kKopf5));
    ++i;

    Schluessel* aktuell = nullptr;
    for (; i < zeilen.size(); ++i) {
        const QString zeile = zeilen[i];
        const QString t = zeile.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
            continue;
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            aktuell = nullptr;
            const QString innen = t.mid(1, t.size() - 2);
            if (innen.startsWith(QLatin1Char('-')))
                continue; // a key to delete: nothing to keep
            const auto trenner = innen.indexOf(QLatin1Char('\\'));
            const auto hive = hiveAusName(trenner < 0 ? innen : innen.left(trenner));
            if (!hive)
                continue;
            aktuell = &erzeugen(*hive, trenner < 0 ? QString() : innen.mid(trenner + 1));
            continue;
        }
        if (!aktuell)
            continue;

        // A value line; hex data may go on over lines ending in a backslash.
        QStringList roh {zeile};
        QString name;
        qsizetype pos = 0;
        bool gelesen = false;
        if (t.startsWith(QLatin1Char('@'))) {
            pos = 1;
            gelesen = true;
        } else if (t.startsWith(QLatin1Char('"'))) {
            if (auto n = zitatLesen(t, pos)) {
                name = *n;
                gelesen = true;
            }
        }
        QString daten;
        if (gelesen) {
            const QString rest = t.mid(pos).trimmed();
            gelesen = rest.startsWith(QLatin1Char('='));
            daten = rest.mid(1).trimmed();
        }
        if (gelesen && daten.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
            while (daten.endsWith(QLatin1Char('\\')) && i + 1 < zeilen.size()) {
                daten.chop(1);
                roh.append(zeilen[++i]);
                daten += zeilen[i].trimmed();
            }
        }
        if (!gelesen) {
            aktuell->fremdeZeilen += roh;
            continue;
        }

        std::optional<RegWert> wert;
        if (daten.startsWith(QLatin1Char('"'))) {
            qsizetype p = 0;
            const auto s = zitatLesen(daten, p);
            if (s && daten.mid(p).trimmed().isEmpty())
                wert = RegWert::alsText(*s);
        } else if (daten.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
            const QString hex = daten.mid(6).trimmed();
            bool ok = false;
            const quint32 z = hex.toUInt(&ok, 16);
            if (ok && !hex.isEmpty() && hex.size() <= 8)
                wert = RegWert::alsZahl(z);
        } else if (daten.startsWith(QLatin1String("hex(1):"), Qt::CaseInsensitive)) {
            if (auto b = bytesAusHex(daten.mid(7)); b && b->size() % 2 == 0) {
                QString s = QString::fromUtf16(reinterpret_cast<const char16_t*>(b->constData()), b->size() / 2);
                if (s.endsWith(QChar(0)))
                    s.chop(1);
                wert = RegWert::alsText(s);
            }
        } else if (daten.startsWith(QLatin1String("hex(4):"), Qt::CaseInsensitive)) {
            if (auto b = bytesAusHex(daten.mid(7)); b && b->size() == 4) {
                const auto* u = reinterpret_cast<const unsigned char*>(b->constData());
                wert = RegWert::alsZahl(quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16
                                        | quint32(u[3]) << 24);
            }
        } else if (daten == QLatin1String("-")) {
            std::erase_if(aktuell->werte,
                          [&](const auto& p) { return p.first.compare(name, Qt::CaseInsensitive) == 0; });
            continue;
        }
        if (!wert) {
            aktuell->fremdeZeilen += roh;
            continue;
        }
        setzen(*aktuell, name, *wert);
    }
}

} // namespace orve
