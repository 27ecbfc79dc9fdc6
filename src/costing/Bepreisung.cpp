#include "costing/Bepreisung.h"

#include "common/AppState.h"
#include "common/BusyCursor.h"
#include "common/Dialogs.h"
#include "common/LokaleDatenbank.h"
#include "common/RohAnweisung.h"
#include "common/SqliteMeldung.h"
#include "common/TarifeditorOeffner.h"
#include "common/Version.h"
#include "costing/Kostenfehler.h"

#include <QElapsedTimer>

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <memory>

namespace orve {

namespace {

QString frageText(const QString& nummer)
{
    return zeilen(
        {QStringLiteral("Es fehlen für die Rufnummer ") + nummer + QStringLiteral(" die Angaben im Tarifbereich!"),
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
    const Preisanruf* anruf; // in the run's list of calls
    Anrufausgang::Art art;
    Suchergebnis ergebnis;
};

std::vector<Preisanruf> anrufeLesen(SQLite::Database& db)
{
    SQLite::Statement q(db, "SELECT rowid, user, number, time, duration FROM bill ORDER BY rowid");
    std::vector<Preisanruf> out;
    while (q.executeStep()) {
        Preisanruf a;
        a.zeile = q.getColumn(0).getInt64();
        a.user = spaltenText(q.getColumn(1));
        a.number = spaltenText(q.getColumn(2));
        a.time = spaltenText(q.getColumn(3));
        a.duration = spaltenText(q.getColumn(4));
        out.push_back(std::move(a));
    }
    return out;
}

QString unlesbareAnrufeMeldung(const QStringList& anrufe)
{
    constexpr int kHoechstens = 20;
    QStringList z {anrufe.size() == 1
                       ? QStringLiteral("Ein Gespräch hat keinen lesbaren Beginn oder keine gültige Dauer:")
                       : QStringLiteral("%1 Gespräche haben keinen lesbaren Beginn oder keine gültige Dauer:")
                             .arg(anrufe.size())};
    z << anrufe.mid(0, kHoechstens);
    if (anrufe.size() > kHoechstens)
        z << QStringLiteral("… und %1 weitere.").arg(anrufe.size() - kHoechstens);
    z << QString()
      << QStringLiteral(
             "Solche Gespräche werden nicht berechnet: ohne Auswahl eines Zeitraums stehen sie im Report "
             "mit „????“ und ohne Kosten, mit einer Auswahl fehlen sie, da ihr Zeitpunkt unbekannt ist. "
             "Bitte prüfen Sie diese Gespräche in der Telefonanlage.");
    return zeilen(z);
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
    Tarifdaten daten = Tarifdaten::laden(m_db);
    vorwahlenPruefen(daten);
    m_suche.emplace(std::move(daten));
}

Bepreisung::Anrufausgang Bepreisung::anrufBepreisen(const Preisanruf& anruf, const Kostensaetze& saetze)
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
        case Suchergebnis::Art::Unlesbar:
            a.art = Anrufausgang::Art::Unlesbar;
            a.ergebnis.kosten.rufziel = kOhneTarif;
            return a;
        case Suchergebnis::Art::KeinTarif:
            break;
        }
        const QString nummer = anruf.number ? *anruf.number : QStringLiteral("unbekannt");
        const bool beschaeftigt = m_sanduhr.has_value();
        m_sanduhr.reset();
        const Answer antwort =
            m_dialogs.message(frageText(nummer), programmCaption(), Buttons::YesNoCancel, Icon::Stop, Answer::No);
        if (antwort == Answer::Yes) {
            // The editor works on this connection: what is priced so far is
            // stored first, and no statement of the run is open meanwhile.
            schreiben();
            m_editor.oeffnen(nummer);
            tarifeLaden();
        }
        if (beschaeftigt)
            m_sanduhr.emplace();
        if (antwort == Answer::No) {
            a.art = Anrufausgang::Art::OhneTarif;
            a.ergebnis.kosten.rufziel = kOhneTarif;
            return a;
        }
        if (antwort != Answer::Yes) {
            a.art = Anrufausgang::Art::Abgebrochen;
            return a;
        }
    }
}

void Bepreisung::schreiben()
{
    if (m_offen->empty())
        return;
    SQLite::Transaction t(m_db);
    // Each update names the call it prices: a call table read in anew
    // meanwhile (another command during the run) is not written over.
    RohAnweisung intern(m_db, "UPDATE bill SET rufziel = ?, costs = 0, ucosts = 0, ucostsBrutto = 0, "
                              "tarifsatz = ? WHERE rowid = ? AND number IS ? AND time IS ?");
    RohAnweisung bepreist(m_db, "UPDATE bill SET vergleichsnummer = ?, costs = ?, ucosts = ?, ucostsBrutto = ?, "
                                "rufziel = ?, tarifsatz = ? WHERE rowid = ? AND number IS ? AND time IS ?");
    RohAnweisung ohne(m_db, "UPDATE bill SET vergleichsnummer = ?, rufziel = ?, tarifsatz = NULL "
                            "WHERE rowid = ? AND number IS ? AND time IS ?");
    for (const Offen& o : *m_offen) {
        const Kosten& k = o.ergebnis.kosten;
        RohAnweisung* q = nullptr;
        int i = 1;
        switch (o.art) {
        case Anrufausgang::Art::Intern:
            q = &intern;
            q->binde(i++, k.rufziel);
            q->binde(i++, k.tarifsatz);
            break;
        case Anrufausgang::Art::Bepreist:
            q = &bepreist;
            q->binde(i++, o.ergebnis.vergleichsnummer);
            q->binde(i++, k.costs);
            q->binde(i++, k.ucosts);
            q->binde(i++, k.ucostsBrutto);
            q->binde(i++, k.rufziel);
            q->binde(i++, k.tarifsatz);
            break;
        case Anrufausgang::Art::OhneTarif:
        case Anrufausgang::Art::Unlesbar:
            q = &ohne;
            q->binde(i++, o.ergebnis.vergleichsnummer);
            q->binde(i++, k.rufziel);
            break;
        case Anrufausgang::Art::Abgebrochen:
            continue;
        }
        q->binde(i++, o.anruf->zeile);
        q->binde(i++, o.anruf->number);
        q->binde(i++, o.anruf->time);
        if (q->ausfuehren() != 1)
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
    m_sanduhr.emplace();
    const Kostensaetze saetze = Kostensaetze::aus(m_state, m_eigenpreisModus);
    const std::vector<Preisanruf> anrufe = anrufeLesen(m_db);
    r.gesamt = static_cast<std::int64_t>(anrufe.size());
    Datenstand stand(m_db);
    m_offen->reserve(anrufe.size());
    // The pending results point into `anrufe`: none survives the run.
    struct Leeren {
        std::vector<Offen>& offen;
        ~Leeren() { offen.clear(); }
    } leeren {*m_offen};

    auto fehler = [&](const QString& text) {
        m_sanduhr.reset();
        m_dialogs.message(text, programmCaption(), Buttons::Ok, Icon::Stop);
    };

    try {
        tarifeLaden();
        for (const Preisanruf& anruf : anrufe) {
            Anrufausgang a;
            try {
                a = anrufBepreisen(anruf, saetze);
            } catch (const Tariftabellenfehler& e) {
                // The calls before are written; whatever that writing says,
                // the tariff table's message is shown and ends the run.
                QString text = e.text();
                try {
                    schreiben();
                } catch (const Kostenfehler& k) {
                    text = zeilen({text, QString(), k.text()});
                } catch (const SQLite::Exception& s) {
                    text = zeilen({text, QString(),
                                   sqliteMeldung(s, m_state.pfadImProgrammordner(kLokaleDatenbankRelativ),
                                                 QStringLiteral("erstellen Sie den Report erneut"))});
                }
                fehler(text);
                throw;
            }
            if (a.art == Anrufausgang::Art::Abgebrochen) {
                r.status = Bepreisungsergebnis::Status::Abgebrochen;
                break;
            }
            const QString nummer = anruf.number.value_or(QStringLiteral("unbekannt"));
            if (a.art == Anrufausgang::Art::OhneTarif && !r.ohneTarif.contains(nummer))
                r.ohneTarif << nummer;
            if (a.art == Anrufausgang::Art::Unlesbar)
                r.unlesbar << a.ergebnis.grund;
            m_offen->push_back({&anruf, a.art, std::move(a.ergebnis)});
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
    m_sanduhr.reset();
    return r;
}

} // namespace orve
