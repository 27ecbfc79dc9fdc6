#include "startup/OdbcSchluessel.h"

#include "common/Dialogs.h"
#include "startup/Registry.h"

#include <vector>

namespace orve {

namespace {

// Closes the key when the reading is over, whatever happened.
class OffenerSchluessel {
public:
    OffenerSchluessel(Registry& reg, std::optional<RegSchluessel> s) : m_reg(reg), m_s(s) {}
    ~OffenerSchluessel()
    {
        if (m_s) {
            try {
                m_reg.schliessen(*m_s);
            } catch (const RegistryFehler&) {
            }
        }
    }
    OffenerSchluessel(const OffenerSchluessel&) = delete;
    OffenerSchluessel& operator=(const OffenerSchluessel&) = delete;
    explicit operator bool() const { return m_s.has_value(); }
    RegSchluessel operator*() const { return *m_s; }

private:
    Registry& m_reg;
    std::optional<RegSchluessel> m_s;
};

// Reads a value through the 255-byte buffer of the checks: a text must fit
// with its terminating NUL. The text read ends at its first NUL.
std::optional<QString> inPufferLesen(Registry& reg, const QString& schluessel, const QString& name)
{
    try {
        OffenerSchluessel s(reg, reg.oeffnen(Hive::LocalMachine, schluessel));
        if (!s)
            return std::nullopt;
        const auto w = reg.wertLesen(*s, name);
        if (!w)
            return std::nullopt;
        if (w->typ != RegWert::Text)
            return QString(); // four bytes of a number: no usable text
        if (w->text.size() + 1 > kLesepuffer)
            return std::nullopt;
        const auto nul = w->text.indexOf(QChar(0));
        return nul < 0 ? w->text : w->text.left(nul);
    } catch (const RegistryFehler&) {
        return std::nullopt;
    }
}

// Writes the entries in their order, opening (creating) each key once when
// the key changes. False as soon as a key cannot be created or a value
// cannot be written.
bool schreiben(Registry& reg, const std::vector<RegEintrag>& eintraege)
{
    try {
        size_t i = 0;
        while (i < eintraege.size()) {
            const QString schluessel = eintraege[i].schluessel;
            OffenerSchluessel s(reg, reg.anlegen(Hive::LocalMachine, schluessel));
            if (!s)
                return false;
            for (; i < eintraege.size() && eintraege[i].schluessel == schluessel; ++i)
                if (!reg.wertSetzen(*s, eintraege[i].name, eintraege[i].wert))
                    return false;
        }
        return true;
    } catch (const RegistryFehler&) {
        return false;
    }
}

RegEintrag text(const QString& schluessel, const QString& name, const QString& t)
{
    return RegEintrag {Hive::LocalMachine, schluessel, name, RegWert::alsText(t)};
}

RegEintrag zahl(const QString& schluessel, const QString& name, quint32 z)
{
    return RegEintrag {Hive::LocalMachine, schluessel, name, RegWert::alsZahl(z)};
}

const QString kBeschreibung = QStringLiteral("ODBC Eintrag für ORVE Programme");

} // namespace

bool TreiberSuchen(Registry& reg, const QString& treiber, QString& treiberDatei)
{
    const auto datei = inPufferLesen(reg, kTreiberSchluessel + treiber, QStringLiteral("Driver"));
    if (!datei)
        return false;
    treiberDatei = *datei;
    return true;
}

bool DatenquelleVorhanden(Registry& reg, const QString& name)
{
    return inPufferLesen(reg, kDatenquellenListe, name).has_value();
}

bool AccessDatenquelleAnlegen(Registry& reg, const QString& treiberDatei, const QString& name, int istSQLite3)
{
    const QString dsn = kDatenquellenSchluessel + name;
    const QString jet = dsn + QStringLiteral("\\Engines\\Jet");
    return schreiben(reg, {
                              text(dsn, QStringLiteral("UID"), QString()),
                              text(dsn, QStringLiteral("Description"), kBeschreibung),
                              text(dsn, QStringLiteral("Driver"), treiberDatei),
                              text(dsn, QStringLiteral("FIL"),
                                   istSQLite3 == 1 ? QStringLiteral("SQLite3 ODBC Driver;")
                                                   : QStringLiteral("SQLite ODBC Driver;")),
                              zahl(dsn, QStringLiteral("DriverId"), 25),
                              zahl(dsn, QStringLiteral("SafeTransactions"), 0),
                              text(jet, QStringLiteral("ImplicitCommitSync"), QString()),
                              text(jet, QStringLiteral("UserCommitSync"), QStringLiteral("Yes")),
                              zahl(jet, QStringLiteral("MaxBufferSize"), 2048),
                              zahl(jet, QStringLiteral("PageTimeout"), 5),
                              zahl(jet, QStringLiteral("Threads"), 3),
                              text(kDatenquellenListe, name, kAccessTreiber),
                          });
}

bool ParadoxDatenquelleAnlegen(Registry& reg, const QString& treiberDatei, const QString& name,
                               const QString& systemOrdner)
{
    const QString dsn = kDatenquellenSchluessel + name;
    const QString engine = dsn + QStringLiteral("\\Engines\\Paradox");
    return schreiben(reg, {
                              text(dsn, QStringLiteral("UID"), QStringLiteral("Administrator")),
                              text(dsn, QStringLiteral("Description"), kBeschreibung),
                              text(dsn, QStringLiteral("Driver"), treiberDatei),
                              text(dsn, QStringLiteral("FIL"), QStringLiteral("Paradox 5.X;")),
                              zahl(dsn, QStringLiteral("DriverId"), 538),
                              zahl(dsn, QStringLiteral("SafeTransactions"), 0),
                              text(engine, QStringLiteral("CollatingSequence"), QStringLiteral("ASCII")),
                              text(engine, QStringLiteral("ImplicitCommitSync"), QString()),
                              zahl(engine, QStringLiteral("PageTimeout"), 600),
                              text(engine, QStringLiteral("ParadoxNetPath"), systemOrdner),
                              text(engine, QStringLiteral("ParadoxNetStyle"), QStringLiteral("4.x")),
                              text(engine, QStringLiteral("ParadoxUserName"), QStringLiteral("Admin")),
                              zahl(engine, QStringLiteral("Threads"), 3),
                              text(engine, QStringLiteral("UserCommitSync"), QStringLiteral("Yes")),
                              text(kDatenquellenListe, name, kParadoxTreiberDeutsch),
                          });
}

QString sdaGetRegEntry(Registry& reg, Dialogs& dialogs, const QString& hive, const QString& key,
                       const QString& value, int& typ)
{
    const auto h = hiveAusName(hive);
    if (!h)
        return QString();
    std::optional<RegSchluessel> s;
    try {
        s = reg.oeffnen(*h, key);
        if (!s)
            return QString();
        QString puffer;
        const auto w = reg.wertLesen(*s, value);
        if (!w) {
            typ = 0;
        } else if (w->typ == RegWert::Text) {
            typ = RegWert::Text;
            puffer = w->text + QChar(0);
        } else {
            typ = RegWert::Dword;
            for (int i = 0; i < 4; ++i)
                puffer.append(QChar((w->zahl >> (8 * i)) & 0xFF));
        }
        const auto zu = *s;
        s.reset();
        if (!reg.schliessen(zu))
            typ = -1;
        return puffer;
    } catch (const RegistryFehler& e) {
        if (s) {
            try {
                reg.schliessen(*s);
            } catch (const RegistryFehler&) {
            }
        }
        dialogs.message(QString::number(e.nummer()) + QStringLiteral(">  ") + e.beschreibung(),
                        QStringLiteral("GenUtils/sdaGetRegEntry"), Buttons::Ok, Icon::Critical);
        typ = -1;
        return QString();
    }
}

} // namespace orve
