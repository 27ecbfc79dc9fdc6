#include "report/Stapellauf.h"

#include "calls/AnrufListe.h"
#include "calls/TkBillImport.h"
#include "calls/QuellFehler.h"
#include "common/AppState.h"
#include "common/Dialogs.h"
#include "common/LocalDatabase.h"
#include "common/OutputFile.h"
#include "common/ProgramEnd.h"
#include "common/SqliteMeldung.h"
#include "costing/Kostenfehler.h"
#include "mainwindow/HauptAnsicht.h"
#include "mainwindow/HauptfensterStart.h"
#include "report/BerichtLayout.h"
#include "report/Berichtslauf.h"
#include "report/CsvExport.h"
#include "report/StapelDialogs.h"
#include "report/StapelOptionen.h"
#include "report/Telefonkostenauswertung.h"
#include "startup/DateiRegistry.h"
#include "startup/OdbcDatenquellen.h"
#include "startup/SplashLaden.h"
#include "startup/Systemumgebung.h"
#include "tariffs/TarifPruefung.h"
#include "tariffs/TarifeditorOeffner.h"

#include <QDir>
#include <QFileInfo>

#include <SQLiteCpp/SQLiteCpp.h>

#include <unistd.h>

#include <cerrno>
#include <functional>

namespace orve {

namespace {

// The main window's controls, where nobody looks.
class StapelAnsicht : public HauptAnsicht {
public:
    void captionSetzen(const QString&) override {}
    void text1Setzen(const QString&) override {}
    void text2Setzen(const QString&) override {}
    void text3Setzen(const QString&) override {}
    void fortschrittSetzen(int) override {}
    void fortschrittMaximum(int) override {}
    void ereignisseVerarbeiten() override {}
    void laufAnzeigen(bool) override {}
    std::unique_ptr<TarifeditorOeffner> tarifeditor(SQLite::Database&) override { return nullptr; }
    void berichtZeigen(Telefonkostenauswertung) override {}
    QString combo1Text() const override { return {}; }
    QString combo2Text() const override { return {}; }
    void combo1Setzen(const QStringList&, const QString&) override {}
    void combo2Setzen(const QStringList&, const QString&) override {}
};

// Nobody maintains tariffs in a batch run: the question is answered No.
class KeinEditor : public TarifeditorOeffner {
public:
    void oeffnen(const QString&) override {}
};

// Writes the text at once; false, with the cause in errno, when it did not
// reach the file completely (stdout on a full disk or /dev/full).
bool schreiben(std::FILE* f, const QString& text)
{
    const QByteArray b = text.toLocal8Bit();
    errno = 0;
    return std::fwrite(b.constData(), 1, static_cast<size_t>(b.size()), f) == static_cast<size_t>(b.size())
        && std::fflush(f) == 0 && std::ferror(f) == 0;
}

void ausgabeSchreiben(std::FILE* f, const QString& text)
{
    if (!schreiben(f, text))
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

} // namespace

int stapellauf(const StapelOptionen& o, std::FILE* aus, std::FILE* fehler)
{
    AppState state;
    state.programmOrdner = o.programmOrdner;
    state.OhneMwst = o.ohneMwst ? 1 : 0;
    state.RufnummernKuerzen = o.kuerzen ? 1 : 0;
    StapelDialogs dialogs(fehler);
    StapelAnsicht ansicht;

    if (!QFileInfo(o.programmOrdner).isDir()) {
        dialogs.message(QStringLiteral("Den Programmordner %1 gibt es nicht.\nBitte geben Sie mit --programmordner den "
                                       "Ordner an, in dem Registry, Datenbank und Einstellungen liegen.")
                            .arg(o.programmOrdner),
                        QString());
        return kStapelFehler;
    }
    // A wrong output path stops the run before anything is imported.
    try {
        if (!o.pdf.isEmpty())
            OutputFile::pruefen(o.pdf, QStringLiteral("PDF-Datei"));
        if (!o.csv.isEmpty())
            OutputFile::pruefen(o.csv, QStringLiteral("CSV-Datei"));
    } catch (const Fehler& f) {
        dialogs.message(f.text(), QString());
        return kStapelFehler;
    }
    try {
        const auto registry = registryLaden(state, dialogs);
        EchteSystemumgebung system;
        OdbcDatenquellen quellen(*registry);
        SplashAnzeige splash;
        splashLaden(state, *registry, system, dialogs, splash);

        HauptfensterStart start(state, *registry, system, quellen, dialogs, ansicht);
        if (o.billdb)
            start.billpfadVorgeben(*o.billdb);
        start.laden();
        // As in the window: without an own price nothing is imported, `bill` stays as it is.
        if (o.eigenpreis && !eigenenMinutenpreisLesen(state, dialogs))
            return kStapelFehler;

        AnrufListe liste;
        EinleseErgebnis e;
        try {
            e = tkBillEinlesen(state, quellen, o.nebenstelle, o.ab, liste, o.bis);
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
                schreiben(fehler, QStringLiteral("\rBerechnet: %1 von %2 Gesprächen%3")
                                      .arg(erledigt)
                                      .arg(gesamt)
                                      .arg(erledigt == gesamt ? QStringLiteral("\n") : QString()));
            return true;
        };
        LaufErgebnis r = berichtslauf(state, quellen, dialogs, e.anzahl, o.eigenpreis, umgebung);
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

        const Telefonkostenauswertung bericht(std::move(*r.daten), BerichtOptionen::aus(state));
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
            ausgabe(QStringLiteral("die PDF-Datei %1").arg(nativ(o.pdf)), [&] { berichtAlsPdfSchreiben(bericht, o.pdf); });
        if (!o.csv.isEmpty())
            ausgabe(QStringLiteral("die CSV-Datei %1").arg(nativ(o.csv)),
                    [&] { csvSchreiben(bericht.daten(), o.csv, o.kuerzen); });
        QString uebersicht;
        for (const BerichtGruppe& g : bericht.daten().gruppen)
            uebersicht += QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                              .arg(einzeilig(g.user), einzeilig(g.username))
                              .arg(g.bill.size())
                              .arg(zweiStellen(g.Kostensumme), zweiStellen(g.Bruttokosten));
        ausgabe(QStringLiteral("die Übersicht auf der Standardausgabe"), [&] { ausgabeSchreiben(aus, uebersicht); });
        for (const QString& nummer : r.ohneTarif)
            schreiben(fehler, QStringLiteral("Kein Tarif für die Rufnummer %1 (im Report als \"????\")\n")
                                  .arg(einzeilig(nummer)));
        if (!nichtGeschrieben.isEmpty()) {
            dialogs.message(zeilen({geschrieben.isEmpty() ? QStringLiteral("Geschrieben wurde nichts.")
                                                          : QStringLiteral("Geschrieben: %1.").arg(geschrieben.join(QStringLiteral(", "))),
                                    QStringLiteral("Nicht vollständig geschrieben: %1.").arg(nichtGeschrieben.join(QStringLiteral(", ")))}),
                            QString());
            return kStapelFehler;
        }
        return r.ohneTarif.isEmpty() ? kStapelOk : kStapelOhneTarif;
    } catch (const Tariftabellenfehler&) {
        return kStapelTariffehler;
    } catch (const ProgramEnd&) {
        return kStapelFehler;
    }
}

} // namespace orve
