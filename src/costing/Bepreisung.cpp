#include "costing/Bepreisung.h"

#include "common/AppState.h"
#include "common/BusyCursor.h"
#include "common/Dialogs.h"
#include "common/Version.h"
#include "costing/Kostenfehler.h"
#include "tariffs/TarifeditorOeffner.h"

#include <QElapsedTimer>

#include <SQLiteCpp/SQLiteCpp.h>

namespace orve {

namespace {

std::optional<QString> text(const SQLite::Column& c)
{
    if (c.isNull())
        return std::nullopt;
    return QString::fromUtf8(c.getString());
}

void binde(SQLite::Statement& q, int i, const std::optional<QString>& t)
{
    if (t)
        q.bind(i, t->toStdString());
    else
        q.bind(i);
}

QString frageText(const QString& nummer)
{
    return zeilen({QStringLiteral("Es fehlen für die Rufnummer ") + nummer + QStringLiteral(" die Angaben im Tarifbereich!"),
                   QStringLiteral("Wollen Sie diese jetzt im nachfolgenden Formular einpflegen!"), QString(),
                   QStringLiteral("Die betreffende Vorwahl wird Ihnen gegebenenfalls in diesem Formular angezeigt!")});
}

// Changes committed by other connections since the last look. Looking
// costs a read of the file's header, so it is done after a progress call
// that took a while (a command the user ran meanwhile) and otherwise at
// most five times a second.
class Datenstand {
public:
    explicit Datenstand(SQLite::Database& db) : m_q(db, "PRAGMA data_version")
    {
        m_stand = lesen();
        m_uhr.start();
    }
    bool geaendert(qint64 rueckrufMs)
    {
        if (rueckrufMs < 1 && !(m_uhr.isValid() && m_uhr.elapsed() >= 200))
            return false;
        m_uhr.start();
        const auto neu = lesen();
        const bool anders = neu != m_stand;
        m_stand = neu;
        return anders;
    }

private:
    std::int64_t lesen()
    {
        m_q.executeStep();
        const auto v = m_q.getColumn(0).getInt64();
        m_q.reset();
        return v;
    }
    SQLite::Statement m_q;
    std::int64_t m_stand = 0;
    QElapsedTimer m_uhr;
};

} // namespace

struct Bepreisung::Offen {
    Anruf anruf;
    Anrufausgang::Art art;
    Suchergebnis ergebnis;
};

std::vector<Anruf> anrufeLesen(SQLite::Database& db)
{
    SQLite::Statement q(db, "SELECT rowid, user, number, time, duration FROM bill ORDER BY rowid");
    std::vector<Anruf> out;
    while (q.executeStep()) {
        Anruf a;
        a.zeile = q.getColumn(0).getInt64();
        a.user = text(q.getColumn(1));
        a.number = text(q.getColumn(2));
        a.time = text(q.getColumn(3));
        a.duration = text(q.getColumn(4));
        out.push_back(std::move(a));
    }
    return out;
}

Bepreisung::Bepreisung(SQLite::Database& lokal, const AppState& state, bool eigenpreisModus, Dialogs& dialogs,
                       TarifeditorOeffner& editor)
    : m_db(lokal), m_state(state), m_eigenpreisModus(eigenpreisModus), m_dialogs(dialogs), m_editor(editor),
      m_offen(std::make_unique<std::vector<Offen>>())
{
}

Bepreisung::~Bepreisung() = default;

void Bepreisung::tarifeLaden()
{
    m_suche.emplace(Tarifdaten::laden(m_db));
}

Bepreisung::Anrufausgang Bepreisung::anrufBepreisen(const Anruf& anruf, const Kostensaetze& saetze)
{
    if (!m_suche)
        tarifeLaden();
    for (;;) {
        Anrufausgang a;
        a.ergebnis = m_suche->suchen(anruf, saetze);
        switch (a.ergebnis.art) {
        case Suchergebnis::Art::Intern:
            a.art = Anrufausgang::Art::Intern;
            return a;
        case Suchergebnis::Art::Bepreist:
            a.art = Anrufausgang::Art::Bepreist;
            return a;
        case Suchergebnis::Art::KeinTarif:
            break;
        }
        const QString nummer = anruf.number ? *anruf.number : QStringLiteral("unbekannt");
        const Answer antwort = m_dialogs.message(frageText(nummer), programmCaption(), Buttons::YesNoCancel,
                                                 Icon::Stop, Answer::No);
        if (antwort == Answer::No) {
            a.art = Anrufausgang::Art::OhneTarif;
            a.ergebnis.kosten.rufziel = kOhneTarif;
            return a;
        }
        if (antwort != Answer::Yes) {
            a.art = Anrufausgang::Art::Abgebrochen;
            return a;
        }
        // The editor works on this connection: what is priced so far is
        // stored first, and no statement of the run is open meanwhile.
        schreiben();
        m_editor.oeffnen(nummer);
        tarifeLaden();
    }
}

void Bepreisung::schreiben()
{
    if (m_offen->empty())
        return;
    SQLite::Transaction t(m_db);
    // Each update names the call it prices: a call table read in anew
    // meanwhile (another command during the run) is not written over.
    SQLite::Statement intern(m_db, "UPDATE bill SET rufziel = ?, costs = 0, ucosts = 0, ucostsBrutto = 0, "
                                   "tarifsatz = ? WHERE rowid = ? AND number IS ? AND time IS ?");
    SQLite::Statement bepreist(m_db, "UPDATE bill SET vergleichsnummer = ?, costs = ?, ucosts = ?, ucostsBrutto = ?, "
                                     "rufziel = ?, tarifsatz = ? WHERE rowid = ? AND number IS ? AND time IS ?");
    SQLite::Statement ohne(m_db, "UPDATE bill SET vergleichsnummer = ?, rufziel = ?, tarifsatz = NULL "
                                 "WHERE rowid = ? AND number IS ? AND time IS ?");
    for (const Offen& o : *m_offen) {
        const Kosten& k = o.ergebnis.kosten;
        SQLite::Statement* q = nullptr;
        int i = 1;
        switch (o.art) {
        case Anrufausgang::Art::Intern:
            q = &intern;
            q->bind(i++, k.rufziel.toStdString());
            q->bind(i++, k.tarifsatz.toStdString());
            break;
        case Anrufausgang::Art::Bepreist:
            q = &bepreist;
            binde(*q, i++, o.ergebnis.vergleichsnummer);
            q->bind(i++, k.costs);
            q->bind(i++, k.ucosts);
            q->bind(i++, k.ucostsBrutto);
            q->bind(i++, k.rufziel.toStdString());
            q->bind(i++, k.tarifsatz.toStdString());
            break;
        case Anrufausgang::Art::OhneTarif:
            q = &ohne;
            binde(*q, i++, o.ergebnis.vergleichsnummer);
            q->bind(i++, k.rufziel.toStdString());
            break;
        case Anrufausgang::Art::Abgebrochen:
            continue;
        }
        q->bind(i++, static_cast<std::int64_t>(o.anruf.zeile));
        binde(*q, i++, o.anruf.number);
        binde(*q, i++, o.anruf.time);
        const int geaendert = q->exec();
        q->reset();
        if (geaendert != 1)
            throw Kostenfehler(zeilen({QStringLiteral("Die Anruftabelle wurde während der Kostenberechnung neu "
                                                      "eingelesen; die berechneten Kosten gehören nicht mehr zu "
                                                      "ihren Gesprächen und werden nicht gespeichert."),
                                       QStringLiteral("Bitte erstellen Sie den Report erneut!")}));
    }
    t.commit();
    m_offen->clear();
}

Bepreisungsergebnis Bepreisung::ausfuehren(const Fortschritt& fortschritt)
{
    Bepreisungsergebnis r;
    m_offen->clear();
    std::optional<BusyCursor> sanduhr;
    sanduhr.emplace();
    const Kostensaetze saetze = Kostensaetze::aus(m_state, m_eigenpreisModus);
    const std::vector<Anruf> anrufe = anrufeLesen(m_db);
    r.gesamt = static_cast<std::int64_t>(anrufe.size());
    tarifeLaden();
    Datenstand stand(m_db);
    m_offen->reserve(anrufe.size());

    auto fehler = [&](const QString& text) {
        sanduhr.reset();
        m_dialogs.message(text, programmCaption(), Buttons::Ok, Icon::Stop);
    };

    try {
        for (const Anruf& anruf : anrufe) {
            Anrufausgang a;
            try {
                a = anrufBepreisen(anruf, saetze);
            } catch (const Tariftabellenfehler& e) {
                schreiben();
                fehler(e.text());
                throw;
            }
            if (a.art == Anrufausgang::Art::Abgebrochen) {
                r.status = Bepreisungsergebnis::Status::Abgebrochen;
                break;
            }
            if (a.art == Anrufausgang::Art::OhneTarif && anruf.number && !r.ohneTarif.contains(*anruf.number))
                r.ohneTarif << *anruf.number;
            m_offen->push_back({anruf, a.art, std::move(a.ergebnis)});
            ++r.bearbeitet;
            if (fortschritt) {
                QElapsedTimer dauer;
                dauer.start();
                if (!fortschritt(r.bearbeitet, r.gesamt)) {
                    r.status = Bepreisungsergebnis::Status::Angehalten;
                    break;
                }
                // A command run meanwhile may have changed the tariff tables.
                if (stand.geaendert(dauer.elapsed()))
                    tarifeLaden();
            }
        }
        schreiben();
    } catch (const Kostenfehler& e) {
        try {
            schreiben(); // the calls priced before the faulty one
        } catch (const Kostenfehler&) {
            // the call table was replaced: nothing of it is written
        }
        r.status = Bepreisungsergebnis::Status::Fehler;
        r.fehler = e.text();
        fehler(e.text());
    }
    m_offen->clear();
    return r;
}

} // namespace orve
