#include "report/Berichtslauf.h"
#include "report/BerichtslaufHaken.h"

#include "common/AppState.h"
#include "common/Dialogs.h"
#include "common/LokaleDatenbank.h"
#include "common/SqliteMeldung.h"
#include "common/TarifeditorOeffner.h"
#include "common/TextFile.h"
#include "common/Version.h"
#include "costing/Bepreisung.h"

#include <QFileInfo>

#include <SQLiteCpp/SQLiteCpp.h>

namespace orve {

namespace {

std::function<void()>& testhaken()
{
    static std::function<void()> haken;
    return haken;
}

void stopp(Dialogs& dialogs, const QString& text)
{
    dialogs.message(text, programmCaption(), Buttons::Ok, Icon::Stop);
}

} // namespace

void berichtslaufHakenSetzen(std::function<void()> haken)
{
    testhaken() = std::move(haken);
}

LaufErgebnis berichtslauf(AppState& state, Datenquellen& quellen, Dialogs& dialogs, std::int64_t eingelesen,
                          bool eigenpreis, const LaufUmgebung& umgebung)
{
    LaufErgebnis r;
    if (eingelesen <= 0) {
        stopp(dialogs, zeilen({QStringLiteral("Datentabelle enthält keine Daten!"),
                               QStringLiteral("Reporterstellung wird abgebrochen!")}));
        r.ende = LaufErgebnis::Ende::KeineDaten;
        return r;
    }

    try {
        std::unique_ptr<SQLite::Database> lokal = lokalOeffnen(quellen, state);
        std::unique_ptr<TarifeditorOeffner> editor = umgebung.editor(*lokal);
        Bepreisung bepreisung(*lokal, state, eigenpreis, dialogs, *editor);
        const Bepreisungsergebnis b = bepreisung.ausfuehren(umgebung.fortschritt);
        r.ohneTarif = b.ohneTarif;
        r.unlesbar = b.unlesbar;
        switch (b.status) {
        case Bepreisungsergebnis::Status::Fertig:
            break;
        case Bepreisungsergebnis::Status::Abgebrochen:
        case Bepreisungsergebnis::Status::Angehalten:
            r.ende = LaufErgebnis::Ende::Abgebrochen;
            return r;
        case Bepreisungsergebnis::Status::Fehler:
            r.ende = LaufErgebnis::Ende::Kostenfehler;
            return r;
        }
    } catch (const Fehler& f) {
        stopp(dialogs, f.text());
        return r;
    } catch (const SQLite::Exception& e) {
        stopp(dialogs, sqliteMeldung(e, state.pfadImProgrammordner(kLokaleDatenbankRelativ),
                                     QStringLiteral("erstellen Sie den Report erneut")));
        return r;
    }

    if (testhaken())
        testhaken()();
    try {
        r.daten = bill_Grouping(quellen, lokaleShapeVerbindung(state.programmOrdner, state.IstSQLite3));
    } catch (const Fehler& f) {
        stopp(dialogs, f.text());
        return r;
    }
    r.ende = LaufErgebnis::Ende::Bericht;
    return r;
}

bool eigenenMinutenpreisLesen(AppState& state, Dialogs& dialogs)
{
    const QString datei = state.pfadImProgrammordner(QStringLiteral("Minutenpreis.txt"));
    if (QFileInfo::exists(datei)) {
        // An empty file holds no price: the one in memory stays.
        if (const auto zeile = ersteZeileLesen(datei); zeile && !zeile->isEmpty())
            state.Minutenpreis = *zeile;
    }
    if (!QFileInfo::exists(datei) || state.Minutenpreis.leer()) {
        stopp(dialogs,
              QStringLiteral("Sie müssen zuerst über die Funktion 'Einstellungen' einen eigenen Minutenpreis "
                             "festlegen!"));
        return false;
    }
    return true;
}

} // namespace orve
