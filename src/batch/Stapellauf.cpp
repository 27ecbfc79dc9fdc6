#include "batch/Stapellauf.h"

#include "batch/StapelDialogs.h"
#include "batch/StapelOptionen.h"
#include "calls/AnrufListe.h"
#include "calls/Auswahl.h"
#include "calls/QuellAnzeige.h"
#include "calls/QuellFehler.h"
#include "calls/QuellenStart.h"
#include "calls/Settings.h"
#include "calls/TkBillImport.h"
#include "common/AppState.h"
#include "common/Dialogs.h"
#include "common/Konsolenausgabe.h"
#include "common/Laufsperre.h"
#include "common/LokaleDatenbank.h"
#include "common/OutputFile.h"
#include "common/ProgramEnd.h"
#include "common/SqliteMeldung.h"
#include "common/TarifeditorOeffner.h"
#include "costing/Kostenfehler.h"
#include "report/BerichtLayout.h"
#include "report/Berichtslauf.h"
#include "report/CsvExport.h"
#include "report/JeNebenstelle.h"
#include "report/Telefonkostenauswertung.h"
#include "startup/DateiRegistry.h"
#include "startup/OdbcDatenquellen.h"
#include "startup/SplashLaden.h"
#include "startup/Systemumgebung.h"
#include "tariffcheck/Tarifimport.h"
#include "tariffcheck/Tarifpruefung.h"
#include "tariffs/TarifCsv.h"

#include <QDir>
#include <QFileInfo>

#include <SQLiteCpp/SQLiteCpp.h>

#include <chrono>

#include <unistd.h>

#include <cerrno>
#include <functional>

namespace orve {

namespace {

// Kind and place of the source, where nobody looks.
class StapelAnzeige : public QuellAnzeige {
public:
    void text2Setzen(const QString&) override {}
    void text3Setzen(const QString&) override {}
};

// Nobody maintains tariffs in a batch run: the question is answered No.
class KeinEditor : public TarifeditorOeffner {
public:
    void oeffnen(const QString&) override {}
};

void ausgabeSchreiben(std::FILE* f, const QString& text)
{
    if (!konsoleSchreiben(f, text))
        throw Ausgabefehler(zeilen({QStringLiteral("Die Übersicht konnte nicht auf die Standardausgabe geschrieben "
                                                   "werden."),
                                    schreibfehlerUrsache(errno, QString())}));
}

// A name or number on one line of the summary: tabs and line breaks would
// break its columns and lines, so they become blanks.
QString einzeilig(const QString& text)
{
    QString t = text.trimmed();
    for (QChar& c : t)
        if (c.unicode() < 0x20 || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    return t;
}

QString nativ(const QString& pfad)
{
    return QDir::toNativeSeparators(pfad);
}

// Takes the program folder's lock, waiting up to --warten seconds; false
// after the message why nothing is done.
bool sperreNehmen(Laufsperre& sperre, const StapelOptionen& o, StapelDialogs& dialogs, std::FILE* fehler)
{
    const QString sekunden =
        o.warten == 1 ? QStringLiteral("1 Sekunde") : QStringLiteral("%1 Sekunden").arg(o.warten);
    const QString kopf = o.tarifePruefen ? QStringLiteral("Die Tariftabellen werden nicht geprüft.")
                         : !o.tarifeImportieren.isEmpty()
                             ? QStringLiteral("Die Tariftabellen werden nicht importiert.")
                             : QStringLiteral("Der Report wird nicht erstellt.");
    try {
        const auto wartet = [&](const Laufsperre::Inhaber& i) {
            konsoleSchreiben(fehler,
                      QStringLiteral("Warte auf das Ende eines anderen Laufs im Programmordner %1 (belegt von: "
                                     "%2), höchstens %3.\n")
                          .arg(o.programmOrdner, i.text(), sekunden));
        };
        if (o.warten > 0 ? sperre.nehmen(std::chrono::seconds(o.warten), wartet) : sperre.nehmen())
            return true;
        dialogs.message(
            sperre.meldung(kopf, o.warten > 0
                                     ? QStringLiteral("Nach %1 Warten war er noch nicht beendet. "
                                                      "Bitte rufen Sie orve-tarifo-bericht später erneut auf.")
                                           .arg(sekunden)
                                     : QStringLiteral("Bitte rufen Sie orve-tarifo-bericht erneut auf, wenn "
                                                      "er beendet ist, oder geben Sie mit --warten SEKUNDEN "
                                                      "an, wie lange auf ihn gewartet werden soll.")),
            QString());
    } catch (const Fehler& f) {
        dialogs.message(f.text(), QString());
    }
    return false;
}

// --tarife-exportieren and --tarife-importieren, after the start checks.
int tariflauf(const StapelOptionen& o, AppState& state, StapelDialogs& dialogs, std::FILE* aus, std::FILE* fehler)
{
    const auto registry = registryLaden(state, dialogs);
    EchteSystemumgebung system;
    OdbcDatenquellen quellen(*registry);
    SplashAnzeige splash;
    splashLaden(state, *registry, system, dialogs, splash);
    if (!o.tarifeExportieren.isEmpty()) {
        const int n = tarifeExportieren(*lokalOeffnen(quellen, state), o.tarifeExportieren);
        ausgabeSchreiben(
            aus, QStringLiteral("%1 Tarifzeilen geschrieben in %2\n").arg(n).arg(nativ(o.tarifeExportieren)));
        return kStapelOk;
    }
    // The file is read and its lines checked before the lock is taken.
    const Tarifimport import = Tarifimport::lesen(o.tarifeImportieren);
    Laufsperre sperre(o.programmOrdner, Laufsperre::Programm::Stapelbefehl);
    if (!sperreNehmen(sperre, o, dialogs, fehler))
        return kStapelFehler;
    const auto lokal = lokalOeffnen(quellen, state);
    const Tarifpruefung p = import.pruefen(*lokal);
    ausgabeSchreiben(aus, p.alsText());
    if (!p.inOrdnung() && !o.trotzdem) {
        dialogs.message(QStringLiteral("Die Prüfung der neuen Tariftabellen hat Befunde (auf der Standardausgabe); "
                                       "an den Tariftabellen wurde nichts geändert.\nMit --trotzdem werden sie "
                                       "dennoch übernommen."),
                        QString());
        return kStapelTarifluecken;
    }
    ausgabeSchreiben(aus, QLatin1Char('\n') + QString(import.uebernehmen(*lokal).meldung).replace(CR, u'\n')
                              + QLatin1Char('\n'));
    return kStapelOk;
}

} // namespace

int stapellauf(const StapelOptionen& o, std::FILE* aus, std::FILE* fehler)
{
    AppState state;
    state.programmOrdner = o.programmOrdner;
    state.OhneMwst = o.ohneMwst ? 1 : 0;
    state.RufnummernKuerzen = o.kuerzen ? 1 : 0;
    state.NeueSeiteJeNebenstelle = o.neueSeite ? 1 : 0;
    StapelDialogs dialogs(fehler);
    StapelAnzeige anzeige;
    const QString zeitraumOrdner = zeitraumOrdnername(o.ab, o.bis, BisGrenze::Ausschliesslich);

    if (!QFileInfo(o.programmOrdner).isDir()) {
        dialogs.message(
            QStringLiteral("Den Programmordner %1 gibt es nicht.\nBitte geben Sie mit --programmordner den "
                           "Ordner an, in dem Registry, Datenbank und Einstellungen liegen.")
                .arg(o.programmOrdner),
            QString());
        return kStapelFehler;
    }
    if (!o.tarifeExportieren.isEmpty() || !o.tarifeImportieren.isEmpty()) {
        try {
            return tariflauf(o, state, dialogs, aus, fehler);
        } catch (const Fehler& f) {
            dialogs.message(f.text(), QString());
        } catch (const SQLite::Exception& f) {
            dialogs.message(zeilen({QStringLiteral("Die Tariftabellen konnten nicht gelesen werden."),
                                    sqliteMeldung(f, state.pfadImProgrammordner(kLokaleDatenbankRelativ),
                                                  QStringLiteral("rufen Sie orve-tarifo-bericht erneut auf"))}),
                            QString());
        } catch (const ProgramEnd&) {
        }
        return kStapelFehler;
    }
    // A wrong output path stops the run before anything is imported.
    try {
        if (!o.pdf.isEmpty())
            OutputFile::pruefen(o.pdf, QStringLiteral("PDF-Datei"));
        if (!o.csv.isEmpty())
            OutputFile::pruefen(o.csv, QStringLiteral("CSV-Datei"));
        if (!o.jeNebenstelle.isEmpty())
            jeNebenstellePruefen(o.jeNebenstelle, zeitraumOrdner);
    } catch (const Fehler& f) {
        dialogs.message(f.text(), QString());
        return kStapelFehler;
    }
    // One run at a time in a program folder, held from the start (a Paradox
    // start copies the calls into the database) to the report's data read.
    Laufsperre sperre(o.programmOrdner, Laufsperre::Programm::Stapelbefehl);
    if (!sperreNehmen(sperre, o, dialogs, fehler))
        return kStapelFehler;
    try {
        const auto registry = registryLaden(state, dialogs);
        EchteSystemumgebung system;
        OdbcDatenquellen quellen(*registry);
        SplashAnzeige splash;
        splashLaden(state, *registry, system, dialogs, splash);

        QuellenStart start(state, *registry, system, quellen, dialogs, anzeige);
        if (o.billdb)
            start.billpfadVorgeben(*o.billdb);
        start.laden();
        // A factor such as 20 may be meant: named, and the run goes on with it.
        if (const QString warnung = kostenaufschlagWarnung(state); !warnung.isEmpty())
            konsoleSchreiben(fehler, warnung + QLatin1Char('\n'));
        // As in the window: without an own price nothing is imported, `bill` stays as it is.
        if (o.eigenpreis && !eigenenMinutenpreisLesen(state, dialogs))
            return kStapelFehler;

        AnrufListe liste;
        EinleseErgebnis e;
        try {
            e = tkBillEinlesen(state, quellen, o.nebenstelle, o.ab, liste, o.bis, BisGrenze::Ausschliesslich);
        } catch (const QuellFehler& f) {
            dialogs.message(f.text(), QString());
            return kStapelFehler;
        }
        if (e.fehler) {
            dialogs.message(*e.fehler, QString());
            return kStapelFehler;
        }
        if (o.tarifePruefen) {
            // After the import, so that the calls of the selection are checked too.
            try {
                const Tarifpruefung p = tarifePruefen(state, quellen);
                ausgabeSchreiben(aus, p.alsText());
                return p.inOrdnung() ? kStapelOk : kStapelTarifluecken;
            } catch (const Fehler& f) {
                dialogs.message(f.text(), QString());
            } catch (const SQLite::Exception& f) {
                dialogs.message(zeilen({QStringLiteral("Die Tariftabellen konnten nicht gelesen werden."),
                                        sqliteMeldung(f, state.pfadImProgrammordner(kLokaleDatenbankRelativ),
                                                      QStringLiteral("starten Sie die Prüfung erneut"))}),
                                QString());
            }
            return kStapelFehler;
        }
        const bool terminal = isatty(fileno(fehler)) == 1;
        LaufUmgebung umgebung;
        umgebung.editor = [](SQLite::Database&) { return std::make_unique<KeinEditor>(); };
        umgebung.fortschritt = [&](std::int64_t erledigt, std::int64_t gesamt) {
            if (terminal && (erledigt % 1000 == 0 || erledigt == gesamt))
                konsoleSchreiben(fehler, QStringLiteral("\rBerechnet: %1 von %2 Gesprächen%3")
                                      .arg(erledigt)
                                      .arg(gesamt)
                                      .arg(erledigt == gesamt ? QStringLiteral("\n") : QString()));
            return true;
        };
        LaufErgebnis r = berichtslauf(state, quellen, dialogs, e.anzahl, o.eigenpreis, umgebung);
        // The report is written from memory: the next run may begin.
        sperre.freigeben();
        // Calls that were left out or not priced, as their start or duration cannot be read: named once.
        const QStringList unlesbar = e.ohneZeitpunkt + r.unlesbar;
        for (const QString& anruf : unlesbar)
            konsoleSchreiben(fehler, QStringLiteral("Nicht berechnet: %1\n").arg(einzeilig(anruf)));
        switch (r.ende) {
        case LaufErgebnis::Ende::Bericht:
            break;
        case LaufErgebnis::Ende::KeineDaten:
            return kStapelKeineDaten;
        case LaufErgebnis::Ende::Kostenfehler:
            return kStapelTariffehler;
        case LaufErgebnis::Ende::Abgebrochen:
        case LaufErgebnis::Ende::Fehler:
            return kStapelFehler;
        }

        BerichtOptionen optionen = BerichtOptionen::aus(state);
        optionen.zeitraum = zeitraumText(o.ab, o.bis);
        optionen.zeitraumOrdner = zeitraumOrdner;
        const Telefonkostenauswertung bericht(std::move(*r.daten), std::move(optionen));
        // Every output is tried; one that is not written completely makes the run fail, whatever else was written.
        QStringList geschrieben, nichtGeschrieben;
        const auto ausgabe = [&](const QString& name, const std::function<void()>& schreib) {
            try {
                schreib();
                geschrieben << name;
            } catch (const Fehler& f) {
                dialogs.message(f.text(), QString());
                nichtGeschrieben << name;
            }
        };
        if (!o.pdf.isEmpty())
            ausgabe(QStringLiteral("die PDF-Datei %1").arg(nativ(o.pdf)),
                    [&] { berichtAlsPdfSchreiben(bericht, o.pdf); });
        if (!o.csv.isEmpty())
            ausgabe(QStringLiteral("die CSV-Datei %1").arg(nativ(o.csv)),
                    [&] { csvSchreiben(bericht.daten(), o.csv, o.kuerzen); });
        QStringList jeNebenstelle;
        if (!o.jeNebenstelle.isEmpty())
            ausgabe(QStringLiteral("die Dateien je Nebenstelle im Ordner %1")
                        .arg(jeNebenstelleOrdner(o.jeNebenstelle, zeitraumOrdner)),
                    [&] { jeNebenstelle = jeNebenstelleSchreiben(bericht, o.jeNebenstelle).dateien; });
        QString uebersicht;
        for (const BerichtGruppe& g : bericht.daten().gruppen)
            uebersicht += QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                              .arg(einzeilig(g.user), einzeilig(g.username))
                              .arg(g.bill.size())
                              .arg(zweiStellen(g.Kostensumme), zweiStellen(g.Bruttokosten));
        for (const QString& datei : std::as_const(jeNebenstelle))
            uebersicht += einzeilig(datei) + QLatin1Char('\n');
        ausgabe(QStringLiteral("die Übersicht auf der Standardausgabe"),
                [&] { ausgabeSchreiben(aus, uebersicht); });
        for (const QString& nummer : r.ohneTarif)
            konsoleSchreiben(fehler, QStringLiteral("Kein Tarif für die Rufnummer %1 (im Report als \"????\")\n")
                                  .arg(einzeilig(nummer)));
        if (!nichtGeschrieben.isEmpty()) {
            dialogs.message(
                zeilen({geschrieben.isEmpty()
                            ? QStringLiteral("Geschrieben wurde nichts.")
                            : QStringLiteral("Geschrieben: %1.").arg(geschrieben.join(QStringLiteral(", "))),
                        QStringLiteral("Nicht vollständig geschrieben: %1.")
                            .arg(nichtGeschrieben.join(QStringLiteral(", ")))}),
                QString());
            return kStapelFehler;
        }
        return r.ohneTarif.isEmpty() && unlesbar.isEmpty() ? kStapelOk : kStapelOhneTarif;
    } catch (const Tariftabellenfehler&) {
        return kStapelTariffehler;
    } catch (const ProgramEnd&) {
        return kStapelFehler;
    }
}

} // namespace orve
