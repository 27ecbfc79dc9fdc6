// Screenshots of the real windows for the help pages, made on a fresh
// demonstration folder with the same objects the program uses (registry
// file, data sources, system facts):
//
//   help_bilder <folder for the pictures> [<help folder> <folder for views of the help window>]
//
// Run under Xvfb so that the windows have their real style:
//   xvfb-run -a -s "-screen 0 1280x900x24" env QT_QPA_PLATFORM=xcb help_bilder help/bilder
// help/bilder-erneuern.sh does exactly this.
#include "common/AppState.h"
#include "common/Druckdialog.h"
#include "common/LokaleDatenbank.h"
#include "common/QtDialogs.h"
#include "help/Demonstration.h"
#include "help/HilfeFenster.h"
#include "mainwindow/frmHaupt.h"
#include "startup/DateiRegistry.h"
#include "startup/OdbcDatenquellen.h"
#include "startup/Systemumgebung.h"
#include "startup/frmSplash.h"
#include "tariffcheck/Tarifimport.h"
#include "tariffcheck/TarifpruefungFenster.h"
#include "tariffs/TarifCsv.h"
#include "tariffs/frmEingabe.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <vector>

using namespace orve;

namespace {

void warten(int ms)
{
    QEventLoop schleife;
    QTimer::singleShot(ms, &schleife, &QEventLoop::quit);
    schleife.exec();
}

bool speichern(QWidget* w, const QString& datei)
{
    warten(250);
    const bool ok = w->grab().save(datei);
    std::printf("%s %s\n", ok ? "gespeichert" : "NICHT gespeichert", qPrintable(datei));
    return ok;
}

// Photographs the modal boxes as they come up and answers them: each step
// names the picture (empty: none), the text to type into an input box (empty:
// keep the preset) and the button to press.
class BoxFotograf : public QObject {
public:
    struct Schritt {
        QString bild;
        QString eingabe;
        QString knopf;
    };
    BoxFotograf(const QString& ziel, std::vector<Schritt> schritte) : m_ziel(ziel), m_schritte(std::move(schritte))
    {
        connect(&m_takt, &QTimer::timeout, this, [this] { pruefen(); });
        m_takt.start(300);
    }
    bool fertig() const { return m_naechster >= m_schritte.size(); }

private:
    void pruefen()
    {
        // Only message and input boxes (the tariff editor is modal too).
        QWidget* box = QApplication::activeModalWidget();
        if (!box || fertig()
            || !(box->inherits("QMessageBox") || box->objectName() == QStringLiteral("Eingabefenster")))
            return;
        const Schritt& s = m_schritte[m_naechster++];
        if (!s.bild.isEmpty())
            speichern(box, QDir(m_ziel).filePath(s.bild));
        if (!s.eingabe.isEmpty())
            if (auto* feld = box->findChild<QLineEdit*>(QStringLiteral("Eingabe")))
                feld->setText(s.eingabe);
        for (auto* b : box->findChildren<QPushButton*>())
            if (QString(b->text()).remove(QLatin1Char('&')) == QString(s.knopf).remove(QLatin1Char('&'))) {
                b->click();
                return;
            }
        std::printf("Knopf %s nicht gefunden:", qPrintable(s.knopf));
        for (auto* b : box->findChildren<QPushButton*>())
            std::printf(" [%s]", qPrintable(b->text()));
        std::printf("\n");
    }

    QString m_ziel;
    std::vector<Schritt> m_schritte;
    size_t m_naechster = 0;
    QTimer m_takt;
};

// The first start on one's own data: the path question, the surcharge and
// the VAT rate, then the example tariffs offered for an empty table.
bool ersterStart(const QString& ziel, const QString& demo)
{
    const QString ordner = QDir::temp().filePath(QStringLiteral("ORVE-Tarifo-Neu"));
    QDir(ordner).removeRecursively();
    QDir().mkpath(ordner + QStringLiteral("/Registry"));
    QFile::copy(demo + QStringLiteral("/Registry/HKEY_LOCAL_MACHINE.reg"),
                ordner + QStringLiteral("/Registry/HKEY_LOCAL_MACHINE.reg"));
    AppState state;
    state.programmOrdner = QDir::toNativeSeparators(ordner);
    QtDialogs dialogs;
    DateiRegistry registry(DateiRegistry::standardDatei(state.programmOrdner));
    EchteSystemumgebung system;
    OdbcDatenquellen quellen(registry);
    frmSplash(state, registry, system, dialogs).laden(); // as the start-up window does: ORVE-Access
    frmHaupt haupt(state, registry, system, quellen, dialogs);
    dialogs.setParent(&haupt);
    BoxFotograf fotograf(
        ziel, {{QStringLiteral("pfad-nicht-gefunden.png"), {}, QStringLiteral("OK")},
               {QStringLiteral("pfad-eingabe.png"), demo + QStringLiteral("/bill.db"), QStringLiteral("OK")},
               {QStringLiteral("kostenaufschlag.png"), {}, QStringLiteral("OK")},
               {{}, {}, QStringLiteral("OK")},
               {QStringLiteral("steuersatz.png"), QStringLiteral("19"), QStringLiteral("OK")},
               {QStringLiteral("beispieltarife-frage.png"), {}, QStringLiteral("&Nein")}});
    haupt.laden();
    haupt.show();
    {
        frmEingabe editor(state, quellen, dialogs, &haupt);
        editor.show();
        warten(300);
        editor.findChild<QPushButton*>(QStringLiteral("cmdBeispieltarife"))->click();
    }
    const bool ok = fotograf.fertig();
    QDir(ordner).removeRecursively();
    return ok;
}

int bilderMachen(const QString& ziel, const QString& hilfeOrdner, const QString& ansichten)
{
    // A fixed place, so that the path shown stays the same from one run to the next.
    const QString ordner = QDir::temp().filePath(QStringLiteral("ORVE-Tarifo-Demo"));
    QDir(ordner).removeRecursively();
    demoOrdnerAnlegen(ordner, QStringLiteral(ORVE_SQLITE_BIBLIOTHEK), ordner + QStringLiteral("/orve-tarifo"));

    AppState state;
    state.programmOrdner = QDir::toNativeSeparators(ordner);
    QtDialogs dialogs;
    DateiRegistry registry(DateiRegistry::standardDatei(state.programmOrdner));
    EchteSystemumgebung system;
    OdbcDatenquellen quellen(registry);
    bool alles = true;

    {
        frmSplash splash(state, registry, system, dialogs);
        splash.laden();
        splash.show();
        alles &= speichern(&splash, QDir(ziel).filePath(QStringLiteral("startfenster.png")));
    }

    frmHaupt haupt(state, registry, system, quellen, dialogs);
    dialogs.setParent(&haupt);
    haupt.laden();
    haupt.move(20, 20);
    haupt.show();
    auto* combo1 = haupt.findChild<QComboBox*>(QStringLiteral("Combo1"));
    auto* combo2 = haupt.findChild<QComboBox*>(QStringLiteral("Combo2"));
    haupt.logik().Combo1_DropDown();
    for (int i = 0; i < combo1->count(); ++i)
        if (combo1->itemText(i).startsWith(QStringLiteral("23")))
            combo1->setCurrentIndex(i);
    haupt.logik().Combo2_DropDown();
    for (int i = 0; i < combo2->count(); ++i)
        if (combo2->itemText(i).contains(QStringLiteral("11.2026"))
            || combo2->itemText(i).contains(QStringLiteral("2026-11"))) {
            combo2->setCurrentIndex(i);
            break;
        }
    haupt.findChild<QAction*>(QStringLiteral("mnuLesenBill"))->trigger();
    alles &= speichern(&haupt, QDir(ziel).filePath(QStringLiteral("hauptfenster.png")));

    {
        frmEingabe editor(state, quellen, dialogs, &haupt);
        editor.show();
        editor.findChild<QRadioButton*>(QStringLiteral("Option2"))->click();
        auto* liste = editor.findChild<QComboBox*>(QStringLiteral("Combo1"));
        liste->showPopup(); // refills the list
        liste->setCurrentIndex(1);
        liste->hidePopup();
        editor.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
        alles &= speichern(&editor, QDir(ziel).filePath(QStringLiteral("tarifeditor.png")));
    }

    // The tariff check, on tables given a gap and an overlap for the picture.
    {
        SQLite::Database db((ordner + QLatin1Char('/') + kLokaleDatenbankRelativ).toStdString(),
                            SQLite::OPEN_READWRITE);
        db.exec(R"(UPDATE faktor SET "bis Zeit" = '16:00:00' WHERE vorwahl = '03' AND "von Zeit" = '08:00:00')");
        db.exec(R"(INSERT INTO faktor (vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis, Pauschale,)"
                R"( Sekundentakt, typ) VALUES ('030', 'Berlin', '12:00:00', '20:00:00', 0.05, 0, 0, 'D'))");
    }
    haupt.findChild<QAction*>(QStringLiteral("mnuPruefen"))->trigger();
    if (auto* pruefung = haupt.findChild<TarifpruefungFenster*>()) {
        pruefung->move(60, 40);
        alles &= speichern(pruefung, QDir(ziel).filePath(QStringLiteral("tarifpruefung.png")));
        if (!ansichten.isEmpty()) {
            QDir().mkpath(ansichten);
            pruefungAlsPdfSchreiben(pruefung->pruefung(),
                                    QDir(ansichten).filePath(QStringLiteral("tarifpruefung.pdf")));
        }
        pruefung->close();
    } else {
        alles = false;
    }

    // The check before an import: the help's example, the exported tables with the new rows of a price list,
    // one of them with its leading zero lost.
    {
        SQLite::Database db((ordner + QLatin1Char('/') + kLokaleDatenbankRelativ).toStdString(),
                            SQLite::OPEN_READWRITE);
        const QString preisliste = QDir(ordner).filePath(QStringLiteral("Preisliste.csv"));
        QFile datei(preisliste);
        alles &= datei.open(QIODevice::WriteOnly)
                 && datei.write(tarifeAlsCsv(db)
                                + "faktor;;089;München Tag;08:00:00;18:00:00;0,029;0;0;D;\r\n"
                                  "faktor;;89;München Nacht;18:00:00;08:00:00;0,015;0;0;D;\r\n")
                        > 0;
        datei.close();
        QTimer::singleShot(300, &haupt, [&] {
            auto* frage = qobject_cast<TarifpruefungFenster*>(QApplication::activeModalWidget());
            alles &= frage && speichern(frage, QDir(ziel).filePath(QStringLiteral("tarifimport.png")));
            if (frage)
                frage->findChild<QAction*>(QStringLiteral("Abbrechen"))->trigger();
        });
        TarifpruefungFenster::uebernehmenFragen(Tarifimport::lesen(preisliste).pruefen(db), preisliste, dialogs,
                                                druckdialog(), &haupt);
    }

    alles &= ersterStart(ziel, ordner);

    // The hint for Windows 7 and Vista, then the help window through the menu.
    {
        BoxFotograf fotograf(ziel, {{QStringLiteral("hinweis-win7.png"), {}, QStringLiteral("OK")}});
        // The help pages in the program folder, as the build lays them out.
        if (!hilfeOrdner.isEmpty()) {
            const QDir quelle(hilfeOrdner);
            QDir().mkpath(ordner + QStringLiteral("/Hilfe/bilder"));
            for (const QString& f :
                 quelle.entryList({QStringLiteral("*.html"), QStringLiteral("*.css")}, QDir::Files))
                QFile::copy(quelle.filePath(f), ordner + QStringLiteral("/Hilfe/") + f);
            for (const QString& f : QDir(quelle.filePath(QStringLiteral("bilder"))).entryList(QDir::Files))
                QFile::copy(quelle.filePath(QStringLiteral("bilder/") + f),
                            ordner + QStringLiteral("/Hilfe/bilder/") + f);
        }
        haupt.findChild<QAction*>(QStringLiteral("mnuWin7"))->trigger();
        auto* hilfe = haupt.findChild<HilfeFenster*>();
        alles &= fotograf.fertig() && (hilfeOrdner.isEmpty() || (hilfe && hilfe->isVisible()));
        if (hilfe && !ansichten.isEmpty()) {
            QDir().mkpath(ansichten);
            speichern(hilfe, QDir(ansichten).filePath(QStringLiteral("hilfe-ueber-menue.png")));
        }
    }

    if (!hilfeOrdner.isEmpty()) {
        QDir().mkpath(ansichten);
        HilfeFenster hilfe;
        hilfe.inhaltZeigen(QDir(hilfeOrdner).filePath(QStringLiteral("ORVE-Tarifo.html")));
        hilfe.show();
        speichern(&hilfe, QDir(ansichten).filePath(QStringLiteral("hilfe-inhalt.png")));
        const char* seiten[] = {"ueberblick", "tariftabellen", "tarifsuche",    "report",
                                "stapel",     "meldungen",     "einstellungen", "erster-start",
                                "billdb",     "tarifpruefung", "tarifimport"};
        // Whole pages, for reading them through.
        hilfe.resize(900, 2600);
        for (const char* s : seiten) {
            hilfe.findChild<QTextBrowser*>(QStringLiteral("txtHilfe"))
                ->setSource(QUrl(QString::fromLatin1(s) + QStringLiteral(".html")));
            speichern(&hilfe, QDir(ansichten).filePath(QStringLiteral("hilfe-%1.png").arg(QLatin1String(s))));
        }
        hilfe.resize(880, 700);
        hilfe.findChild<QTextBrowser*>(QStringLiteral("txtHilfe"))
            ->setSource(QUrl(QStringLiteral("tarifsuche.html")));
        hilfe.findChild<QLineEdit*>(QStringLiteral("txtSuche"))->setText(QStringLiteral("Sekundentakt"));
        hilfe.suchen();
        hilfe.suchen();
        speichern(&hilfe, QDir(ansichten).filePath(QStringLiteral("hilfe-suche.png")));
        hilfe.findChild<QTextBrowser*>(QStringLiteral("txtHilfe"))->backward();
        speichern(&hilfe, QDir(ansichten).filePath(QStringLiteral("hilfe-zurueck.png")));
    }
    QDir(ordner).removeRecursively();
    return alles ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    if (argc < 2) {
        std::fprintf(stderr, "Aufruf: help_bilder <Bilderordner> [<Hilfeordner> <Ordner für Ansichten>]\n");
        return 2;
    }
    // The program folder becomes the current directory: every path absolute first.
    auto absolut = [&](int i) {
        return argc > i ? QDir().absoluteFilePath(QString::fromLocal8Bit(argv[i])) : QString();
    };
    const QString ziel = absolut(1);
    QDir().mkpath(ziel);
    return bilderMachen(ziel, argc > 3 ? absolut(2) : QString(), argc > 3 ? absolut(3) : QString());
}
