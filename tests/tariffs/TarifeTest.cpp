#include "tariffs/Beispieltarife.h"
#include "tariffs/TarifCsv.h"
#include "tariffs/TarifEditor.h"
#include "tariffs/frmEingabe.h"

#include "common/Laufsperre.h"
#include "common/LokaleDatenbank.h"

#include "DirectSources.h"
#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"
#include "WidgetTexte.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTimer>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

using namespace orve;
using namespace orve::test;

namespace {

// A box as the box log shows it.
const auto box = [](const QString& t, const char* k = "Ok Critical") {
    return "M ORVE-Tarifo V2.01 | " + t + " | " + k;
};
const QString kGespeichert = box(QStringLiteral("Datensatz wurde gespeichert!"), "Ok Information");
const QString kNicht = "\\rDatensatz wurde nicht gespeichert!";
const QString kUnvollstaendig = box("Es wurden nicht alle Feldinhalte gefüllt!" + kNicht);
const QString kAbFalsch = box(QStringLiteral("Zeitangabe im Feld 'gilt ab' ist nicht korrekt!"));
const QString kBisFalsch = box(QStringLiteral("Zeitangabe im Feld 'gilt bis' ist nicht korrekt!"));
const QString kKeinSatz = box(QStringLiteral("Es wurde kein gültiger (vorhandener) Satz gewählt!"));
const QString kNichtGefunden = box(QStringLiteral("Satz wurde nicht gefunden!"));
const QString kFrage =
    box(QStringLiteral("Die Änderungen an diesem Eintrag sind nicht gespeichert. Jetzt speichern?"),
        "YesNoCancel Information default Yes");

class Tarife : public ::testing::Test {
protected:
    TempProgramFolder dir;
    std::unique_ptr<SQLite::Database> db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
    ScriptedDialogs dlg;
    TarifEditor ed {dir.state(), dlg, *db};

    void SetUp() override
    {
        dir.state().Anwender = QStringLiteral("Meier  ");
        ed.laden();
    }
    std::int64_t zeile(Tariftabelle t, const QString& vorwahl)
    {
        return tarifEinfuegen(*db, t, {t, 0, vorwahl, "Tarif", "00:00:00", "24:00:00", 0.06, 0.0, 60.0, "D"});
    }
    void neuerEintrag(const QString& vorwahl) // whatever the mask held
    {
        ed.felderleeren();
        ed.neuerSatzAnlegen();
        ed.maske() = {"0", vorwahl, "Neu", "08:00:00", "18:00:00", "0,06", "0", "60", "D"};
    }
    void uebernehmen(std::int64_t satz)
    {
        ed.combo1Setzen(QStringLiteral("x *(%1)*").arg(satz));
        ed.uebernehmen();
    }
    std::string text(const char* sql) { return db->execAndGet(sql).getString(); }
    bool geleert() const
    {
        return ed.maske() == Tarifmaske {} && ed.neuerSatz() == 0 && !ed.vorwahlEingabe()
               && ed.combo1Text().isEmpty();
    }
};

// Rows get their own number and read back unchanged (an apostrophe is data like any other character) in the
// order of prefix and start; a rewrite keeps the number and refuses a row that is gone; numbers are never reused.
TEST_F(Tarife, TablesInsertReadRewriteAndDeleteByRecordNumber)
{
    for (const Tariftabelle t : {Tariftabelle::faktor, Tariftabelle::Ortstarif, Tariftabelle::CallByCall}) {
        SCOPED_TRACE(tabellenName(t).toStdString());
        auto tarif = [t](const char* vorwahl, const char* von, double preis) {
            return hatTarifspalten(t)
                       ? Tarifzeile {t, 0, vorwahl, "Tarif", von, "24:00:00", preis, 0.0, 60.0, "D", "m"}
                       : Tarifzeile {t, 0, vorwahl, "Tarif"};
        };
        Tarifzeile a = tarif("0'30", "18:00:00", 0.0285), b = tarif("0'30", "00:00:00", 1234.5),
                   c = tarif("0'1", "18:00:00", 0.1);
        for (Tarifzeile* e : {&a, &b, &c})
            e->satz = tarifEinfuegen(*db, t, *e);
        EXPECT_EQ(tarifFinden(*db, t, a.satz), a);
        EXPECT_EQ(tarifeLesen(*db, t), (hatTarifspalten(t) ? std::vector {c, b, a} : std::vector {c, a, b}));
        EXPECT_EQ(vorwahlZaehlen(*db, t, "0'30"), 2);
        EXPECT_EQ(vorwahlZaehlen(*db, t, "0'30 "), 0);
        Tarifzeile neu = tarif("089", "08:00:00", 0.1);
        neu.satz = a.satz;
        EXPECT_TRUE(tarifAendern(*db, t, neu));
        EXPECT_EQ(tarifFinden(*db, t, a.satz), neu);
        neu.satz = c.satz + 1;
        EXPECT_FALSE(tarifAendern(*db, t, neu));
        EXPECT_EQ(tarifLoeschen(*db, t, c.satz), 1);
        EXPECT_EQ(tarifLoeschen(*db, t, c.satz), 0);
        EXPECT_EQ(tarifFinden(*db, t, c.satz), std::nullopt);
        EXPECT_GT(tarifEinfuegen(*db, t, c), c.satz);
    }
}

TEST_F(Tarife, PricesAreStoredAsNumbersReadBackFromTextOrNullAndRewrittenOnlyWhenChanged)
{
    zeile(Tariftabelle::faktor, "030");
    EXPECT_EQ(text(R"(SELECT typeof(Minutenpreis) || typeof(Pauschale) || typeof(Sekundentakt) || typeof("von Zeit")
                      FROM faktor)"),
              "realrealintegertext");
    // A row left by another tool: Nulls, and a price kept as German text, which keeps its text.
    db->exec(R"(INSERT INTO faktor (satz, vorwahl, Minutenpreis, "bis Zeit") VALUES (50, '0180', '0,14', NULL))");
    EXPECT_EQ(tarifFinden(*db, Tariftabelle::faktor, 50),
              (Tarifzeile {.satz = 50, .vorwahl = "0180", .Minutenpreis = {Tarifwert::Art::Zahl, 0.14, "0,14"}}));
    // The mask shows a price as stored, also one kept as text; saving writes only the fields the user changed, so a
    // Null and a number the mask shows rounded stay exactly as they were.
    db->exec(
        R"(INSERT INTO faktor (satz, vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis, Pauschale,
                Sekundentakt, typ) VALUES (20, '030', 'Berlin', '00:00:00', '24:00:00', 0.1 + 0.2, NULL, 60, 'D'),
                            (21, '040', 'Hamburg', '00:00:00', '24:00:00', 'zwei', 0, 0, 'D'))");
    uebernehmen(21);
    EXPECT_EQ(ed.maske().fldMinutenpreis, "zwei");
    uebernehmen(20);
    EXPECT_EQ(ed.maske().fldMinutenpreis, "0,3");
    ed.maske().fldBezeichnung = QStringLiteral("Berlin Tag");
    dlg.answer(Answer::Ok);
    ed.speichern();
    EXPECT_EQ(text("SELECT Minutenpreis = 0.1 + 0.2 AND Pauschale IS NULL AND Bezeichnung = 'Berlin Tag' "
                   "FROM faktor WHERE satz = 20"),
              "1");
}

// Export and import give every table back as it was: rows in the order of satz, Null apart from 0 and from an empty
// text, a number with all its digits, a price stored as German text still that text, quotes and line breaks.
TEST_F(Tarife, CsvExportAndImportGiveTheTablesBackExactly)
{
    db->exec(
        R"(INSERT INTO faktor VALUES (9, '089', 'München "Tag"; Nacht', '08:00:00', '24:00:00', 0.1 + 0.2, NULL,
                60, 'D', ''), (3, '0171', 'Mobil' || char(13, 10) || 'Netz', '00:00:00', '24:00:00', '0,06', 0, 0, 'M',
                'Meier');
           INSERT INTO Ortstarif VALUES (4, '0241', NULL, NULL, NULL, 1e-7, 12345678.5, NULL, NULL, NULL);
           INSERT INTO CallByCall VALUES (2, '01013', 'Anbieter'), (1, '01088', ''))");
    const QByteArray csv = tarifeAlsCsv(*db);
    EXPECT_EQ(
        csv.toStdString(),
        "\xEF\xBB\xBFtabelle;satz;vorwahl;Bezeichnung;von Zeit;bis Zeit;Minutenpreis;Pauschale;Sekundentakt;typ;"
        "username\r\nfaktor;3;0171;\"Mobil\r\nNetz\";00:00:00;24:00:00;\"0,06\";0;0;M;Meier\r\nfaktor;9;089;"
        "\"München \"\"Tag\"\"; Nacht\";08:00:00;24:00:00;0,30000000000000004;;60;D;\"\"\r\nOrtstarif;4;0241;;;;"
        "0,0000001;12345678,5;;;\r\nCallByCall;1;01088;\"\";;;;;;;\r\nCallByCall;2;01013;Anbieter;;;;;;;\r\n");
    db->exec("DELETE FROM faktor; UPDATE Ortstarif SET Pauschale = 0; DELETE FROM CallByCall");
    const Tarifdatei datei = tarifCsvLesen(csv);
    SQLite::Transaction tx(*db);
    for (const Tariftabelle t : datei.tabellen)
        tabelleErsetzen(*db, t, datei.zeilenVon(t));
    tx.commit();
    EXPECT_EQ(tarifeAlsCsv(*db), csv);
}

// Spreadsheet files (BOM or none, ";", "," with quoted decimal commas, tabs, points, short times, other or missing
// columns, Windows-1252) are read; every line that cannot be read is named with its number and what is wrong.
TEST(TarifCsv, SpreadsheetFilesAreReadAndBadLinesNamed)
{
    const Tarifzeile muenchen {Tariftabelle::faktor, 0,    "089", "München", "08:00:00",
                               "18:00:00",           0.05, 0.0,   60.0,      "D"};
    const QByteArray kopf =
        "tabelle;satz;vorwahl;Bezeichnung;von Zeit;bis Zeit;Minutenpreis;Pauschale;Sekundentakt;"
        "typ;username\r\nfaktor;7;089;München;08:00:00;18:00:00;0,05;0;60;D;\r\n";
    const struct {
        const char* name;
        QByteArray datei;
        const char* fehler = nullptr; // part of the message; none: the file holds the row muenchen
    } faelle[] = {
        {"BOM, semicolons, quotes", "\xEF\xBB\xBF" + kopf.left(kopf.indexOf('\n') + 1)
                                        + "faktor;;089;\"München\";8:00;18:00:00;0,05;0;60;D;\r\n;;;;;;;;;;\r\n"},
        {"commas",
         "tabelle,vorwahl,Bezeichnung,von Zeit,bis Zeit,Minutenpreis,Pauschale,Sekundentakt,typ\nfaktor,089,"
         "München,08:00,18:00,\"0,05\",0,60,D"},
        {"tabs, Windows-1252",
         "Vorwahl\tTabelle\tBezeichnung\tvon Zeit\tbis Zeit\tMinutenpreis\tPauschale\tSekundentakt\t"
         "typ\r\n089\tfaktor\tM\xFCnchen\t8:00:00\t18:00\t0.05\t0\t60\tD\r\n"},
        {"unknown table", kopf + "Ortstarife;;0241;Ort;08:00:00;18:00:00;0,04;0;0;O;\r\n",
         "Zeile 3: Die Tabelle „Ortstarife“ gibt es nicht"},
        {"price no number", kopf + "faktor;;089;M;08:00:00;18:00:00;0,05 €;0;60;D;\r\n",
         "Zeile 3: Minutenpreis „0,05 €“ ist keine Zahl."},
        {"time", kopf + "faktor;;089;M;8 Uhr;18:00:00;0,05;0;60;D;\r\n",
         "Zeile 3: von Zeit „8 Uhr“ ist keine Uhrzeit der Form hh:mm:ss."},
        {"empty prefix", kopf + "faktor;;;M;08:00:00;18:00:00;0,05;0;60;D;\r\n", "Zeile 3: Die Vorwahl ist leer."},
        {"negative price", kopf + "faktor;;089;M;08:00:00;18:00:00;0,05;-0,01;60;D;\r\n",
         "Zeile 3: Pauschale -0,01 ist negativ."},
        {"satz twice", kopf + "faktor;7;0171;M;08:00:00;18:00:00;0,05;0;60;D;\r\n",
         "Zeile 3: satz 7 steht für faktor schon in Zeile 2."},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        try {
            const Tarifdatei d = tarifCsvLesen(f.datei);
            EXPECT_FALSE(f.fehler);
            EXPECT_EQ(d.zeilen.size(), 1u);
            EXPECT_EQ(d.zeilen.at(0), muenchen);
        } catch (const Tarifdateifehler& e) {
            EXPECT_TRUE(f.fehler && e.text().contains(QString::fromUtf8(f.fehler))) << e.text().toStdString();
        }
    }
}

TEST_F(Tarife, NewEntryForAnExistingPrefixAsksFirst)
{
    const QString frage =
        box("Sie wollen einen neuen Satz speichern, die betreffende Vorwahl ist aber bereits gegeben!"
            "\\r\\rWollen Sie den Satz trotzdem speichern (nur notwendig, wenn zusätzlicher "
            "Zeitbereich anzulegen ist)",
            "YesNo Information default No");
    const QString abgebrochen = box("Speicherung wurde abgebrochen!", "Ok Information");
    zeile(Tariftabelle::faktor, QStringLiteral("0'89"));
    for (const auto& [antwort, zeilen] : {std::pair {Answer::No, 1}, {Answer::Yes, 2}}) {
        ed.zeigeFehlendeVorwahl(QStringLiteral("0891234"));
        neuerEintrag("0'89");
        dlg.answer(antwort).answer(Answer::Ok);
        ed.speichern();
        EXPECT_FALSE(ed.hinweisSichtbar()); // gone with the first save that passes the checks, whatever the answer
        EXPECT_TRUE(geleert());
        EXPECT_EQ(dlg.protokoll().mid(dlg.protokoll().size() - 2),
                  QStringList({frage, antwort == Answer::Yes ? kGespeichert : abgebrochen}));
        EXPECT_EQ(vorwahlZaehlen(*db, Tariftabelle::faktor, "0'89"), zeilen);
    }
}

TEST_F(Tarife, TakeOverNeedsAValidRecordNumberAndFillsTheMaskWithDefaultsForEmptyColumns)
{
    db->exec("INSERT INTO faktor (satz, vorwahl, Bezeichnung) VALUES (7, '030', 'Berlin')");
    int i = 0; // the first three texts end in no "*(…)*"
    for (const char* text : {"", "030 Berlin *(7", "a)* *(7", "030 *(abc)*", "030 *(999)*", "030 *(7 OR 1=1)*",
                             "030 *(99999999999999999999)*", "Anbieter *(neu) x *(7)*"}) {
        const QString meldung = i++ < 3 ? kKeinSatz : kNichtGefunden;
        neuerEintrag("089");
        const Tarifmaske vorher = ed.maske();
        ed.combo1Setzen(QString::fromUtf8(text));
        dlg.answer(Answer::Ok);
        ed.uebernehmen();
        EXPECT_EQ(dlg.protokoll().constLast(), meldung) << text;
        EXPECT_EQ(ed.maske(), vorher) << text;
        EXPECT_TRUE(ed.neuerSatz() == 1 && !ed.vorwahlEingabe()) << text;
    }
    db->exec(
        R"(INSERT INTO faktor (satz, vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis, Pauschale,
                Sekundentakt, typ) VALUES (11, '040', NULL, NULL, NULL, NULL, NULL, NULL, 'D'), (12, '069',
                'Frankfurt', '00:00:00', '24:00:00', 0.06, 0, 60, NULL);
           INSERT INTO CallByCall (satz, vorwahl, Bezeichnung) VALUES (7, '01013', 'Anbieter'))");
    ed.felderleeren(); // the new entry typed above is let go
    ed.neuerSatzAnlegen();
    uebernehmen(11);
    EXPECT_EQ(ed.maske(), (Tarifmaske {"11", "040", "", "00:00:00", "24:00:00", "", "0", "0", "D"}));
    EXPECT_FALSE(ed.vorwahlEingabe());
    uebernehmen(12); // without a kind the time and price fields are to be filled in anew
    EXPECT_EQ(ed.maske(), (Tarifmaske {"12", "069", "Frankfurt", "", "", "", "", "", ""}));
    ed.tabelleWaehlen(Tariftabelle::CallByCall);
    ed.maske().fldAbZeit = QStringLiteral("getippt");
    ed.maske().fldTyp = QStringLiteral("X");
    uebernehmen(7); // a provider fills prefix and description only
    EXPECT_EQ(ed.maske(), (Tarifmaske {"7", "01013", "Anbieter", "getippt", "", "", "0", "0", ""}));
}

TEST_F(Tarife, EntryDeletedMeanwhileIsReportedAndNothingWritten)
{
    const auto satz = zeile(Tariftabelle::Ortstarif, "0621");
    ed.tabelleWaehlen(Tariftabelle::Ortstarif);
    uebernehmen(satz);
    tarifLoeschen(*db, Tariftabelle::Ortstarif, satz);
    dlg.answer(Answer::Ok);
    ed.speichern();
    EXPECT_EQ(dlg.protokoll(), QStringList {box("Satz wurde nicht gefunden!" + kNicht)});
    EXPECT_TRUE(tarifeLesen(*db, Tariftabelle::Ortstarif).empty());
    EXPECT_EQ(ed.maske().fldVorwahl, "0621");
}

TEST_F(Tarife, DeleteNeedsATakenOverEntryAndAsksFirst)
{
    dlg.answer(Answer::Ok);
    ed.loeschen();
    const auto satz = zeile(Tariftabelle::faktor, "030");
    uebernehmen(satz);
    const Tarifmaske vorher = ed.maske();
    dlg.answer(Answer::No);
    ed.loeschen();
    EXPECT_EQ(ed.maske(), vorher);
    EXPECT_TRUE(tarifFinden(*db, Tariftabelle::faktor, satz));
    dlg.answer(Answer::Yes).answer(Answer::Ok);
    ed.loeschen();
    const QString frage = box("Wollen Sie diesen Datensatz wirklich löschen", "YesNo Critical default No");
    EXPECT_EQ(
        dlg.protokoll(),
        QStringList({box("Satz kann nur gelöscht werden, wenn er vorher über die\\r'Auswahl bereits angelegter "
                         "Tarifeinträge' übernommen wurde!"),
                     frage, frage, box("Satz wurde gelöscht!", "Ok Information")}));
    EXPECT_FALSE(tarifFinden(*db, Tariftabelle::faktor, satz));
    EXPECT_TRUE(geleert());
}

// A refused save shows why and stays in new-entry mode with everything as typed.
TEST_F(Tarife, SaveChecksTheMaskBeforeWriting)
{
    using M = Tarifmaske&;
    const auto F = Tariftabelle::faktor, O = Tariftabelle::Ortstarif, C = Tariftabelle::CallByCall;
    const auto nicht = [](const char* text) { return box(text + kNicht); };
    const struct {
        Tariftabelle tabelle;
        QString meldung; // empty: saved
        void (*aendern)(M);
    } faelle[] = {
        {F, kUnvollstaendig, [](M m) { m.fldVorwahl = ""; }},
        {O, kUnvollstaendig, [](M m) { m.fldBisZeit = ""; }},
        {F, kUnvollstaendig, [](M m) { m.fldTyp = ""; }},
        // Blanks and zeros are filled, the end of the day and any "xx:xx:xx" pass, numbers may carry points.
        {F, "", [](M m) { m = {"0", m.fldVorwahl, " ", "ab:cd:ef", "24:00:00", "0.06", "1.234,50", "0", "D"}; }},
        // A provider has prefix and description only.
        {C, "", [](M m) { m.fldAbZeit = "7", m.fldMinutenpreis = "abc", m.fldBisZeit = m.fldTyp = ""; }},
        {C, kUnvollstaendig, [](M m) { m.fldBezeichnung = ""; }},
        {F, kAbFalsch, [](M m) { m.fldAbZeit = "7:00:00"; }},
        {F, kBisFalsch, [](M m) { m.fldBisZeit = "18.00.00"; }},
        {F, kAbFalsch, [](M m) { m.fldAbZeit = "7:00", m.fldBisZeit = "x"; }},
        {F, kUnvollstaendig, [](M m) { m.fldAbZeit = "7:00", m.fldTyp = ""; }},
        {F, nicht("Der Minutenpreis „abc“ ist keine Zahl!"), [](M m) { m.fldMinutenpreis = "abc"; }},
        {F, kBisFalsch, [](M m) { m.fldBisZeit = "x", m.fldMinutenpreis = "abc"; }},
        {O, nicht("Der Pauschalpreis „ “ ist keine Zahl!"), [](M m) { m.fldPauschalpreis = " "; }},
        {F, nicht("Der Sekundentakt „1,5“ ist keine ganze Zahl!"), [](M m) { m.fldSekundentakt = "1,5"; }},
        // Negative prices and a prefix of blanks would price calls wrong.
        {F, nicht("Der Minutenpreis „-0,06“ darf nicht negativ sein!"), [](M m) { m.fldMinutenpreis = "-0,06"; }},
        {O, nicht("Der Sekundentakt „-60“ darf nicht negativ sein!"), [](M m) { m.fldSekundentakt = "-60"; }},
        {C, nicht("Die Vorwahl darf nicht leer sein!"), [](M m) { m.fldVorwahl = "  "; }},
    };
    int i = 0;
    for (const auto& f : faelle) {
        SCOPED_TRACE(++i);
        ed.felderleeren();
        ed.tabelleWaehlen(f.tabelle);
        ed.zeigeFehlendeVorwahl(QStringLiteral("089123"));
        neuerEintrag(QStringLiteral("0%1").arg(i));
        f.aendern(ed.maske());
        const Tarifmaske vorher = ed.maske();
        dlg.answer(Answer::Ok);
        ed.speichern();
        const bool gespeichert = f.meldung.isEmpty();
        EXPECT_EQ(dlg.protokoll().constLast(), gespeichert ? kGespeichert : f.meldung);
        EXPECT_EQ(vorwahlZaehlen(*db, f.tabelle, vorher.fldVorwahl), gespeichert ? 1 : 0);
        EXPECT_EQ(ed.hinweisSichtbar(), !gespeichert);
        EXPECT_TRUE(gespeichert || (ed.maske() == vorher && ed.neuerSatz() == 1 && ed.vorwahlEingabe()));
    }
}

TEST_F(Tarife, DatabaseFailuresAreReportedAndTheEditorGoesOn)
{
    db->exec("DROP TABLE faktor");
    dlg.answer(Answer::Ok).answer(Answer::Ok).answer(Answer::Ok).answer(Answer::No).answer(Answer::Ok);
    ed.listeFuellen();
    EXPECT_TRUE(ed.eintraege().isEmpty());
    uebernehmen(3);
    neuerEintrag("030");
    ed.speichern();
    EXPECT_EQ(ed.neuerSatz(), 1);
    ed.tabelleWaehlen(Tariftabelle::Ortstarif);
    neuerEintrag("030");
    ed.speichern();
    // SQLite's words only as the last detail line.
    const QString fehlt =
        QStringLiteral(":\\rIn der Datenbank %1 fehlt die Tabelle \"faktor\". Bitte prüfen Sie, ob es "
                       "die richtige Datenbank ist, und versuchen Sie es erneut.\\rMeldung von SQLite: "
                       "no such table: faktor")
            .arg(QString::fromStdString(db->getFilename()));
    EXPECT_EQ(dlg.protokoll(), QStringList({box("Die Tarifeinträge konnten nicht gelesen werden" + fehlt),
                                            box("Der Tarifzeile konnte nicht gelesen werden" + fehlt),
                                            box("Fehler der Datenbank" + fehlt + kNicht), kFrage, kGespeichert}));
}

// Offered only for an empty table, written only after Yes; into all three at once while all are empty.
TEST_F(Tarife, ExampleTariffsOnlyAfterYesAndOnlyIntoAnEmptyTable)
{
    dlg.answer(Answer::Yes).answer(Answer::Ok);
    ed.beispieltarifeUebernehmen();
    const QString frage = QStringLiteral("Sollen die Beispieltarife in die leeren Tabellen „Standardtarife“, „"
                                         "Ortstarife und Citybereich“ und „Call by Call Anbieter“");
    EXPECT_TRUE(dlg.messages().at(0).text.startsWith(frage));
    for (const Tariftabelle t : {Tariftabelle::faktor, Tariftabelle::Ortstarif, Tariftabelle::CallByCall})
        EXPECT_EQ(tarifeLesen(*db, t).size(), beispieltarife(t).size());
    db->exec("DELETE FROM faktor; DELETE FROM Ortstarif; DELETE FROM CallByCall");
    zeile(Tariftabelle::Ortstarif, "089");
    using T = Tariftabelle;
    for (const auto& [t, antwort] : {std::pair {T::faktor, Answer::No},
                                     {T::faktor, Answer::Yes},
                                     {T::CallByCall, Answer::Yes},
                                     {T::Ortstarif, Answer::Ok}}) {
        ed.tabelleWaehlen(t);
        dlg.answer(antwort);
        if (antwort == Answer::Yes)
            dlg.answer(Answer::Ok);
        ed.beispieltarifeUebernehmen();
        const Message frage = dlg.messages().at(dlg.messages().size() - (antwort == Answer::Yes ? 2 : 1));
        const auto zeilen = tarifeLesen(*db, t);
        const std::size_t soll = antwort == Answer::Yes ? beispieltarife(t).size() : antwort == Answer::Ok;
        EXPECT_EQ(zeilen.size(), soll);
        EXPECT_TRUE(antwort == Answer::Ok
                        ? frage.buttons == Buttons::Ok // a table holding rows is never touched
                        : frage.buttons == Buttons::YesNo && frage.defaultButton == Answer::No
                              && frage.text.contains(u"Beispiele") && frage.text.contains(u"Vertrag"));
        for (const auto& z : zeilen)
            EXPECT_EQ(z.username.value_or("-"), t == T::faktor ? "Meier" : "-");
    }
}

// While a report run holds the program folder, an editor opened on its own refuses to save, delete or take the example
// tariffs, names the run and keeps the mask; the editor that the run opened for a number without tariff goes on.
TEST_F(Tarife, ChangesWhileARunHoldsTheFolderAreRefusedUnlessTheRunOpenedTheEditor)
{
    Laufsperre lauf(dir.state().programmOrdner, Laufsperre::Programm::Fenster);
    ASSERT_TRUE(lauf.nehmen());
    const auto satz = zeile(Tariftabelle::faktor, "030");
    TarifEditor vomLauf {dir.state(), dlg, *db, Tarifsperre::VomLauf};
    vomLauf.laden();
    for (TarifEditor* e : {&ed, &vomLauf}) {
        const bool frei = e == &vomLauf;
        SCOPED_TRACE(frei ? "opened by the run" : "opened on its own");
        const std::size_t vorher = dlg.messages().size();
        e->neuerSatzAnlegen();
        e->maske() = {"0", "089", "München", "08:00:00", "18:00:00", "0,06", "0", "60", "D"};
        dlg.answer(Answer::Ok);
        e->speichern();
        EXPECT_EQ(e->maske().fldVorwahl, frei ? "" : "089");
        e->combo1Setzen(QStringLiteral("x *(%1)*").arg(satz));
        if (!frei)
            dlg.answer(Answer::No); // the refused entry is still in the mask
        e->uebernehmen();
        dlg.answer(Answer::Yes).answer(Answer::Ok);
        e->loeschen();
        e->tabelleWaehlen(Tariftabelle::CallByCall);
        dlg.answer(Answer::Yes).answer(Answer::Ok);
        e->beispieltarifeUebernehmen();
        EXPECT_EQ(vorwahlZaehlen(*db, Tariftabelle::faktor, "089"), frei ? 1 : 0);
        EXPECT_EQ(tarifFinden(*db, Tariftabelle::faktor, satz).has_value(), !frei);
        EXPECT_EQ(tarifZeilenZaehlen(*db, Tariftabelle::CallByCall),
                  frei ? int(beispieltarife(Tariftabelle::CallByCall).size()) : 0);
        int abgelehnt = 0;
        for (std::size_t i = vorher; i < dlg.messages().size(); ++i)
            abgelehnt += dlg.messages()[i].text.startsWith(u"Die Tariftabellen können jetzt nicht geändert werden.")
                         && dlg.messages()[i].text.contains(u"Belegt von: Programmfenster orve-tarifo, Benutzer ");
        EXPECT_EQ(abgelehnt, frei ? 0 : 3);
    }
}

const char* const kFelder[] = {"fldSatz",         "fldVorwahl",       "fldBezeichnung",  "fldAbZeit", "fldBisZeit",
                               "fldMinutenpreis", "fldPauschalpreis", "fldSekundentakt", "fldTyp"};

class Fenster : public Tarife {
protected:
    std::unique_ptr<frmEingabe> fenster;

    void SetUp() override
    {
        Tarife::SetUp();
        db->exec(
            R"(INSERT INTO Ortstarif (satz, vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis, Pauschale,
                    Sekundentakt, typ) VALUES (4, '0621', 'Mannheim', '08:00:00', '18:00:00', 0.02, 0.1, 60, 'O'),
                    (5, '0621', 'Mannheim', '18:00:00', NULL, 0.01, 0, 60, 'O');
                    INSERT INTO CallByCall (satz, vorwahl, Bezeichnung) VALUES (7, '01013', 'Anbieter'))");
        fenster = std::make_unique<frmEingabe>(dir.state(), *db, dlg);
    }

    template<class W = QWidget> W* w(const char* name) { return kind<W>(fenster.get(), name); }
    QString text(const char* feld) { return w<QLineEdit>(feld)->text(); }
    bool gesperrt() { return w<QLineEdit>("fldVorwahl")->isReadOnly(); }
    void klick(const char* knopf) { w<QAbstractButton>(knopf)->click(); }
    QStringList maske()
    {
        QStringList texte;
        for (const char* f : kFelder)
            texte << text(f);
        return texte;
    }
    QString listenEintrag(int i) // of Combo1, dropped down
    {
        w<QComboBox>("Combo1")->showPopup();
        w<QComboBox>("Combo1")->hidePopup();
        return w<QComboBox>("Combo1")->itemText(i);
    }
};

TEST_F(Fenster, OpensOnStandardTariffsTheOptionsOrTheirCaptionsChooseTheTableAndTheMenuShowsTheCalculator)
{
    fenster->show();
    EXPECT_TRUE(w<QRadioButton>("Option1")->isChecked() && w<QLabel>("Label1")->font().bold());
    EXPECT_EQ(maske(), QStringList({"0", "", "", "", "", "", "0", "0", "D"}));
    EXPECT_TRUE(gesperrt());
    for (const char* name : {"fldSatz", "Label15", "fldSuchvorwahl"})
        EXPECT_FALSE(w(name)->isVisible()) << name;
    klick("Command4");
    w<QLineEdit>("fldBezeichnung")->setText("getippt");
    klick("Option1"); // the option already chosen changes nothing
    EXPECT_TRUE(text("fldBezeichnung") == "getippt" && !gesperrt());
    dlg.answer(Answer::Cancel).answer(Answer::No); // the new entry typed: asked first
    klick("Option3");
    EXPECT_TRUE(w<QRadioButton>("Option1")->isChecked() && text("fldBezeichnung") == "getippt");
    for (const auto& [option, typ] : {std::pair {"Option3", ""}, {"Option2", "O"}, {"Option1", "D"}}) {
        klick(option);
        EXPECT_TRUE(w<QRadioButton>(option)->isChecked() && gesperrt()) << option;
        EXPECT_EQ(text("fldTyp"), typ) << option;
        EXPECT_EQ(text("fldBezeichnung"), "") << option;
        w<QLineEdit>("fldBezeichnung")->setText("getippt");
    }
    QMouseEvent los(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(w("Label3"), &los); // the caption of Option2
    EXPECT_TRUE(w<QRadioButton>("Option2")->isChecked() && text("fldTyp") == "O");
    dir.writeFile("Tarifrechner.txt", "https://tarife.example/rechner\r\n");
    dlg.cancelInput();
    w<QAction>("mnuTarifAufruf")->trigger();
    EXPECT_EQ(dlg.boxes().back().input.preset, "https://tarife.example/rechner");
}

// Every field is shown on taking over and read back on saving.
TEST_F(Fenster, ListTakeOverAndSaveThroughTheControlsAndTheTabKeyFollowsThemFromTopToBottom)
{
    // The Tab key visits every control once, as the eye reads the window: row by row from the top, left to right.
    fenster->zeigeFehlendeVorwahl(QStringLiteral("0891234"));
    fenster->show();
    QApplication::processEvents();
    std::vector<QWidget*> reihe;
    QWidget* x = w("Option1");
    do {
        if (!x->objectName().isEmpty() && (x->focusPolicy() & Qt::TabFocus) && x->isVisible())
            reihe.push_back(x);
    } while ((x = x->nextInFocusChain()) != w("Option1"));
    EXPECT_GE(reihe.size(), 15u);
    for (std::size_t i = 1; i < reihe.size(); ++i) {
        const QPoint a = reihe[i - 1]->mapTo(fenster.get(), QPoint()), b = reihe[i]->mapTo(fenster.get(), QPoint());
        const bool zeile = std::abs(a.y() - b.y()) < reihe[i]->height() / 2;
        EXPECT_TRUE(zeile ? b.x() > a.x() : b.y() > a.y())
            << reihe[i - 1]->objectName().toStdString() << " before " << reihe[i]->objectName().toStdString();
    }
    klick("Option2");
    EXPECT_EQ(w<QComboBox>("Combo1")->count(), 0);
    EXPECT_EQ(listenEintrag(1), "0621 Mannheim 18:00:00  *(5)*");
    EXPECT_EQ(w<QComboBox>("Combo1")->currentText(), "");
    w<QComboBox>("Combo1")->setCurrentIndex(0);
    klick("Command2");
    EXPECT_EQ(maske(), QStringList({"4", "0621", "Mannheim", "08:00:00", "18:00:00", "0,02", "0,1", "60", "O"}));
    fenster->zeigeFehlendeVorwahl(QStringLiteral("0621123"));
    const QStringList getippt = {"0622", "Ludwigshafen", "07:00:00", "19:00:00", "0,025", "0,2", "30", "D"};
    for (int i = 0; i < 8; ++i)
        w<QLineEdit>(kFelder[i + 1])->setText(getippt[i]);
    dlg.answer(Answer::Ok);
    klick("Command1");
    EXPECT_EQ(tarifFinden(*db, Tariftabelle::Ortstarif, 4),
              (Tarifzeile {Tariftabelle::Ortstarif, 4, "0622", "Ludwigshafen", "07:00:00", "19:00:00", 0.025, 0.2,
                           30.0, "D", "Meier"}));
    EXPECT_EQ(maske(), QStringList({"0", "", "", "", "", "", "0", "0", ""}));
    EXPECT_TRUE(w("Label15")->isHidden() && w("fldSuchvorwahl")->isHidden());
    klick("Option3");
    EXPECT_EQ(listenEintrag(0), "01013 Anbieter *(7)*");
}

// Leaving an entry with changes asks first: Yes saves (a refused save keeps the mask), No lets them go, Abbrechen
// keeps them; the window stays open unless the mask may go.
TEST_F(Fenster, UnsavedChangesAreAskedForBeforeTheWindowCloses)
{
    const struct {
        std::vector<Answer> antworten;
        const char* minutenpreis;
        bool offen;
        double gespeichert;
    } faelle[] = {{{}, "0,02", false, 0.02},
                  {{Answer::Cancel}, "0,03", true, 0.02},
                  {{Answer::Yes, Answer::Ok}, "abc", true, 0.02},
                  {{Answer::No}, "0,03", false, 0.02},
                  {{Answer::Yes, Answer::Ok}, "0,03", false, 0.03}};
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.minutenpreis);
        fenster = std::make_unique<frmEingabe>(dir.state(), *db, dlg);
        fenster->show();
        klick("Option2");
        w<QComboBox>("Combo1")->setEditText("x *(4)*");
        klick("Command2");
        w<QLineEdit>("fldMinutenpreis")->setText(QString::fromUtf8(f.minutenpreis));
        for (const Answer a : f.antworten)
            dlg.answer(a);
        const std::size_t vorher = dlg.messages().size();
        w<QAction>("mnuSchliessen")->trigger();
        EXPECT_EQ(fenster->isVisible(), f.offen);
        EXPECT_EQ(tarifFinden(*db, Tariftabelle::Ortstarif, 4)->Minutenpreis, Tarifwert::von(f.gespeichert));
        EXPECT_EQ(dlg.messages().size() - vorher, f.antworten.size());
    }
}

TEST_F(Tarife, OpenerShowsTheNumberTheMenuClosesTheWindowAndWithoutItsDatabaseItDoesNotOpen)
{
    QString gezeigt;
    bool offen = true;
    QObject wache;
    QTimer::singleShot(0, &wache, [&] {
        auto* f = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        gezeigt = kind(f, "Label15")->isVisible() ? kind<QLineEdit>(f, "fldSuchvorwahl")->text() : QString();
        kind<QAction>(f, "mnuSchliessen")->trigger();
        if ((offen = f->isVisible()))
            f->done(-1);
    });
    QtTarifeditorOeffner(dir.state(), *db, dlg).oeffnen(QStringLiteral("08912345"));
    EXPECT_EQ(gezeigt, "08912345");
    EXPECT_FALSE(offen);

    // A window without its database reports the failure and does not open.
    TempProgramFolder kaputt;
    kaputt.writeFile(kLokaleDatenbankRelativ, QByteArray(4096, 'x'));
    DirectSources quellen;
    dlg.answer(Answer::Ok);
    frmEingabe fenster(kaputt.state(), quellen, dlg);
    EXPECT_FALSE(fenster.isEnabled());
    EXPECT_EQ(fenster.exec(), QDialog::Rejected);
    EXPECT_EQ(dlg.messages().at(0).icon, Icon::Critical);
    EXPECT_TRUE(dlg.messages().at(0).text.startsWith(kaputt.file(kLokaleDatenbankRelativ).prepend("Die Datei ")
                                                     + " ist keine SQLite-Datenbank"))
        << "one German heading: " << dlg.messages().at(0).text.toStdString();
}

} // namespace
