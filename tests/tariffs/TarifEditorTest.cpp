#include "tariffs/Beispieltarife.h"
#include "tariffs/TarifEditor.h"

#include "common/LocalDatabase.h"
#include "common/Version.h"

#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <functional>

using namespace orve;
using orve::test::ScriptedDialogs;
using orve::test::TempProgramFolder;

namespace {

// A box as the box log shows it.
QString box(const QString& text, const char* knoepfe = "Ok Critical")
{
    return "M ORVE-Tarifo V2.01 | " + text + " | " + QLatin1String(knoepfe);
}
const QString kGespeichert = box(QStringLiteral("Datensatz wurde gespeichert!"), "Ok Information");
const QString kNicht = QStringLiteral("\\rDatensatz wurde nicht gespeichert!");
const QString kUnvollstaendig = box("Es wurden nicht alle Feldinhalte gefüllt!" + kNicht);
const QString kAbFalsch = box(QStringLiteral("Zeitangabe im Feld 'gilt ab' ist nicht korrekt!"));
const QString kBisFalsch = box(QStringLiteral("Zeitangabe im Feld 'gilt bis' ist nicht korrekt!"));
const QString kKeinSatz = box(QStringLiteral("Es wurde kein gültiger (vorhandener) Satz gewählt!"));
const QString kNichtGefunden = box(QStringLiteral("Satz wurde nicht gefunden!"));

class Editor : public ::testing::Test {
protected:
    TempProgramFolder dir;
    std::unique_ptr<SQLite::Database> db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
    ScriptedDialogs dlg;
    TarifEditor ed{dir.state(), dlg, *db};

    void SetUp() override
    {
        dir.state().Anwender = QStringLiteral("Meier  ");
        ed.laden();
    }
    std::int64_t zeile(Tariftabelle t, const QString& vorwahl)
    {
        return tarifEinfuegen(*db, t, {0, vorwahl, "Tarif", "00:00:00", "24:00:00", 0.06, 0.0, 60.0, "D"});
    }
    // A complete new entry typed into the mask.
    void neuerEintrag(const QString& vorwahl)
    {
        ed.neuerSatzAnlegen();
        ed.maske() = {"0", vorwahl, "Neu", "08:00:00", "18:00:00", "0,06", "0", "60", "D"};
    }
    void uebernehmen(std::int64_t satz)
    {
        ed.combo1Text = QStringLiteral("x *(%1)*").arg(satz);
        ed.uebernehmen();
    }
    void erwarteGeleert()
    {
        EXPECT_EQ(ed.maske(), Tarifmaske{});
        EXPECT_EQ(ed.neuerSatz(), 0);
        EXPECT_FALSE(ed.vorwahlEingabe());
        EXPECT_TRUE(ed.combo1Text.isEmpty());
    }
};

TEST_F(Editor, NewEntryForAnExistingPrefixAsksFirst)
{
    const QString frage = box(QStringLiteral("Sie wollen einen neuen Satz speichern, die betreffende Vorwahl ist aber "
                                             "bereits gegeben!\\r\\rWollen Sie den Satz trotzdem speichern (nur "
                                             "notwendig, wenn zusätzlicher Zeitbereich anzulegen ist)"),
                              "YesNo Information default No");
    const QString abgebrochen = box(QStringLiteral("Speicherung wurde abgebrochen!"), "Ok Information");
    for (const auto& [t, antwort, zeilen] : {std::tuple{Tariftabelle::faktor, Answer::No, 1},
                                             {Tariftabelle::faktor, Answer::Yes, 2},
                                             {Tariftabelle::CallByCall, Answer::Yes, 2}}) {
        ed.tabelleWaehlen(t);
        if (vorwahlZaehlen(*db, t, QStringLiteral("0'89")) == 0)
            zeile(t, QStringLiteral("0'89"));
        ed.zeigeFehlendeVorwahl(QStringLiteral("0891234"));
        neuerEintrag("0'89");
        dlg.answer(antwort).answer(Answer::Ok);
        ed.speichern();
        // The hint goes with the first save that passes the checks, whatever the answer.
        EXPECT_FALSE(ed.hinweisSichtbar());
        erwarteGeleert();
        EXPECT_EQ(dlg.protokoll().mid(dlg.protokoll().size() - 2),
                  QStringList({frage, antwort == Answer::Yes ? kGespeichert : abgebrochen}));
        EXPECT_EQ(vorwahlZaehlen(*db, t, QStringLiteral("0'89")), zeilen);
    }
}

TEST_F(Editor, TakeOverFillsTheMaskWithGermanNumbersAndDefaultsForEmptyColumns)
{
    db->exec(R"(INSERT INTO faktor (satz, vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis, Pauschale,
                Sekundentakt, typ) VALUES (10, '0180', 'Service', '18:00:00', '24:00:00', 0.14, 1.5, 30, 'S'),
                (12, '069', 'Frankfurt', '00:00:00', '24:00:00', 0.06, 0, 60, NULL))");
    db->exec("INSERT INTO faktor (satz, vorwahl, typ) VALUES (11, '040', 'D')");
    db->exec("INSERT INTO CallByCall (satz, vorwahl, Bezeichnung) VALUES (7, '01013', 'Anbieter')");
    neuerEintrag("089");
    uebernehmen(10);
    EXPECT_EQ(ed.maske(), (Tarifmaske{"10", "0180", "Service", "18:00:00", "24:00:00", "0,14", "1,5", "30", "S"}));
    EXPECT_FALSE(ed.vorwahlEingabe());
    uebernehmen(11);
    EXPECT_EQ(ed.maske(), (Tarifmaske{"11", "040", "", "00:00:00", "24:00:00", "", "0", "0", "D"}));
    // Without a kind the time and price fields must be filled in anew.
    uebernehmen(12);
    EXPECT_EQ(ed.maske(), (Tarifmaske{"12", "069", "Frankfurt", "", "", "", "", "", ""}));
    // A provider fills prefix and description only.
    ed.tabelleWaehlen(Tariftabelle::CallByCall);
    ed.maske().fldAbZeit = QStringLiteral("getippt");
    ed.maske().fldTyp = QStringLiteral("X");
    uebernehmen(7);
    EXPECT_EQ(ed.maske(), (Tarifmaske{"7", "01013", "Anbieter", "getippt", "", "", "0", "0", ""}));
}

TEST_F(Editor, TextWithoutAValidRecordNumberLeavesTheMask)
{
    db->exec("INSERT INTO faktor (satz, vorwahl, Bezeichnung) VALUES (7, '030', 'Berlin')");
    const std::pair<const char*, QString> faelle[] = {
        {"", kKeinSatz}, {"030 Berlin *(7", kKeinSatz}, {"a)* *(7", kKeinSatz}, {"030 *(abc)*", kNichtGefunden},
        {"030 *(999)*", kNichtGefunden}, {"030 *(7 OR 1=1)*", kNichtGefunden},
        {"030 *(99999999999999999999)*", kNichtGefunden}, {"Anbieter *(neu) x *(7)*", kNichtGefunden}};
    for (const auto& [text, meldung] : faelle) {
        neuerEintrag("089");
        const Tarifmaske vorher = ed.maske();
        ed.combo1Text = QString::fromUtf8(text);
        dlg.answer(Answer::Ok);
        ed.uebernehmen();
        EXPECT_EQ(dlg.protokoll().constLast(), meldung) << text;
        EXPECT_EQ(ed.maske(), vorher) << text;
        EXPECT_EQ(ed.neuerSatz(), 1);
        EXPECT_FALSE(ed.vorwahlEingabe());
    }
}

TEST_F(Editor, EntryDeletedMeanwhileIsReportedAndNothingWritten)
{
    const auto satz = zeile(Tariftabelle::Ortstarif, "0621");
    ed.tabelleWaehlen(Tariftabelle::Ortstarif);
    uebernehmen(satz);
    tarifLoeschen(*db, Tariftabelle::Ortstarif, satz);
    dlg.answer(Answer::Ok);
    ed.speichern();
    EXPECT_EQ(dlg.protokoll(), QStringList{box("Satz wurde nicht gefunden!" + kNicht)});
    EXPECT_TRUE(tarifeLesen(*db, Tariftabelle::Ortstarif).empty());
    EXPECT_EQ(ed.maske().fldVorwahl, "0621");
}

TEST_F(Editor, DeleteNeedsATakenOverEntryAndAsksFirst)
{
    dlg.answer(Answer::Ok);
    ed.loeschen();
    erwarteGeleert();
    const auto satz = zeile(Tariftabelle::faktor, "030");
    uebernehmen(satz);
    const Tarifmaske vorher = ed.maske();
    dlg.answer(Answer::No);
    ed.loeschen();
    EXPECT_EQ(ed.maske(), vorher);
    EXPECT_TRUE(tarifFinden(*db, Tariftabelle::faktor, satz));
    dlg.answer(Answer::Yes).answer(Answer::Ok);
    ed.loeschen();
    const QString frage = box(QStringLiteral("Wollen Sie diesen Datensatz wirklich löschen"), "YesNo Critical default No");
    EXPECT_EQ(dlg.protokoll(),
              QStringList({box(QStringLiteral("Satz kann nur gelöscht werden, wenn er vorher über die\\r'Auswahl "
                                              "bereits angelegter Tarifeinträge' übernommen wurde!")),
                           frage, frage, box(QStringLiteral("Satz wurde gelöscht!"), "Ok Information")}));
    EXPECT_FALSE(tarifFinden(*db, Tariftabelle::faktor, satz));
    erwarteGeleert();
}

TEST_F(Editor, SaveChecksTheMaskBeforeWriting)
{
    using M = Tarifmaske;
    const struct {
        Tariftabelle tabelle;
        std::function<void(M&)> aendern;
        QString meldung; // empty: the save goes through
    } faelle[] = {
        {Tariftabelle::faktor, [](M& m) { m.fldVorwahl = ""; }, kUnvollstaendig},
        {Tariftabelle::Ortstarif, [](M& m) { m.fldBisZeit = ""; }, kUnvollstaendig},
        {Tariftabelle::faktor, [](M& m) { m.fldTyp = ""; }, kUnvollstaendig},
        // Blanks and zeros are filled, the end of the day and any "xx:xx:xx" pass, numbers may carry points.
        {Tariftabelle::faktor, [](M& m) { m = {"0", m.fldVorwahl, " ", "ab:cd:ef", "24:00:00", "0.06", "1.234,50", "0", "D"}; }, ""},
        // A provider has prefix and description only.
        {Tariftabelle::CallByCall, [](M& m) { m.fldAbZeit = "7"; m.fldMinutenpreis = "abc"; m.fldBisZeit = m.fldTyp = ""; }, ""},
        {Tariftabelle::CallByCall, [](M& m) { m.fldBezeichnung = ""; }, kUnvollstaendig},
        {Tariftabelle::faktor, [](M& m) { m.fldAbZeit = "7:00:00"; }, kAbFalsch},
        {Tariftabelle::faktor, [](M& m) { m.fldBisZeit = "18.00.00"; }, kBisFalsch},
        {Tariftabelle::faktor, [](M& m) { m.fldAbZeit = "7:00"; m.fldBisZeit = "x"; }, kAbFalsch},
        {Tariftabelle::faktor, [](M& m) { m.fldAbZeit = "7:00"; m.fldTyp = ""; }, kUnvollstaendig},
        {Tariftabelle::faktor, [](M& m) { m.fldMinutenpreis = "abc"; }, box("Der Minutenpreis „abc“ ist keine Zahl!" + kNicht)},
        {Tariftabelle::faktor, [](M& m) { m.fldBisZeit = "x"; m.fldMinutenpreis = "abc"; }, kBisFalsch},
        {Tariftabelle::Ortstarif, [](M& m) { m.fldPauschalpreis = " "; }, box("Der Pauschalpreis „ “ ist keine Zahl!" + kNicht)},
        {Tariftabelle::faktor, [](M& m) { m.fldSekundentakt = "1,5"; }, box("Der Sekundentakt „1,5“ ist keine ganze Zahl!" + kNicht)},
    };
    int i = 0;
    for (const auto& f : faelle) {
        SCOPED_TRACE(++i);
        ed.tabelleWaehlen(f.tabelle);
        ed.zeigeFehlendeVorwahl(QStringLiteral("089123"));
        neuerEintrag(QStringLiteral("0%1").arg(i));
        f.aendern(ed.maske());
        const Tarifmaske vorher = ed.maske();
        dlg.answer(Answer::Ok);
        ed.speichern();
        EXPECT_EQ(dlg.protokoll().constLast(), f.meldung.isEmpty() ? kGespeichert : f.meldung);
        EXPECT_EQ(vorwahlZaehlen(*db, f.tabelle, vorher.fldVorwahl), f.meldung.isEmpty() ? 1 : 0);
        EXPECT_EQ(ed.hinweisSichtbar(), !f.meldung.isEmpty());
        if (f.meldung.isEmpty())
            continue;
        // A refused save stays in new-entry mode with everything as typed.
        EXPECT_EQ(ed.maske(), vorher);
        EXPECT_EQ(ed.neuerSatz(), 1);
        EXPECT_TRUE(ed.vorwahlEingabe());
        EXPECT_EQ(ed.suchvorwahl(), "089123");
    }
}

TEST_F(Editor, DatabaseFailuresAreReportedAndTheEditorGoesOn)
{
    db->exec("DROP TABLE faktor");
    dlg.answer(Answer::Ok).answer(Answer::Ok).answer(Answer::Ok);
    ed.listeFuellen();
    EXPECT_TRUE(ed.eintraege().isEmpty());
    uebernehmen(3);
    neuerEintrag("030");
    ed.speichern();
    EXPECT_EQ(ed.neuerSatz(), 1);
    const QString anfang[] = {"Die Tarifeinträge konnten nicht gelesen werden:\\rno such table: faktor",
                              "Der Tarifeintrag konnte nicht gelesen werden:\\rno such table: faktor",
                              "Fehler der Datenbank:\\rno such table: faktor"};
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(dlg.protokoll().value(i).startsWith("M ORVE-Tarifo V2.01 | " + anfang[i])) << i;
    EXPECT_TRUE(dlg.protokoll().value(2).endsWith(kNicht + " | Ok Critical"));
    ed.tabelleWaehlen(Tariftabelle::Ortstarif);
    neuerEintrag("030");
    dlg.answer(Answer::Ok);
    ed.speichern();
    EXPECT_EQ(dlg.protokoll().value(3), kGespeichert);
}

// Offered only for an empty table, written only after Yes.
TEST_F(Editor, ExampleTariffsOnlyAfterYesAndOnlyIntoAnEmptyTable)
{
    zeile(Tariftabelle::Ortstarif, "089");
    const std::pair<Tariftabelle, Answer> faelle[] = {
        {Tariftabelle::faktor, Answer::No}, {Tariftabelle::faktor, Answer::Yes},
        {Tariftabelle::CallByCall, Answer::Yes}, {Tariftabelle::Ortstarif, Answer::Ok}};
    for (const auto& [t, antwort] : faelle) {
        ed.tabelleWaehlen(t);
        dlg.answer(antwort);
        if (antwort == Answer::Yes)
            dlg.answer(Answer::Ok);
        ed.beispieltarifeUebernehmen();
        const Message frage = dlg.messages().at(dlg.messages().size() - (antwort == Answer::Yes ? 2 : 1));
        EXPECT_EQ(frage.buttons, antwort == Answer::Ok ? Buttons::Ok : Buttons::YesNo);
        const auto zeilen = tarifeLesen(*db, t);
        if (antwort == Answer::Ok) { // a table holding rows is never touched
            EXPECT_EQ(zeilen.size(), 1u);
            continue;
        }
        EXPECT_EQ(frage.defaultButton, Answer::No);
        EXPECT_TRUE(frage.text.contains(QStringLiteral("Beispiele")) && frage.text.contains(QStringLiteral("Vertrag")));
        ASSERT_EQ(zeilen.size(), antwort == Answer::Yes ? beispieltarife(t).size() : 0u);
        for (const auto& z : zeilen)
            EXPECT_EQ(z.username, hatTarifspalten(t) ? std::optional(QStringLiteral("Meier")) : std::nullopt);
    }
}

} // namespace
