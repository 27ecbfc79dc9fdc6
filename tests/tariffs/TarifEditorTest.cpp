#include "tariffs/TarifEditor.h"

#include "common/LocalDatabase.h"
#include "common/Version.h"

#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace orve;
using orve::test::ScriptedDialogs;
using orve::test::TempProgramFolder;

namespace {

// The boxes as the box log shows them.
QString box(const QString& text, const char* knoepfe = "Ok Critical")
{
    return "M ORVE-Tarifo V2.01 | " + text + " | " + QLatin1String(knoepfe);
}
const QString kGespeichert = box(QStringLiteral("Datensatz wurde gespeichert!"), "Ok Information");
const QString kNicht = QStringLiteral("\\rDatensatz wurde nicht gespeichert!");
const QString kUnvollstaendig = box("Es wurden nicht alle Feldinhalte gefüllt!" + kNicht);
const QString kAbFalsch = box(QStringLiteral("Zeitangabe im Feld 'gilt ab' ist nicht korrekt!"));
const QString kBisFalsch = box(QStringLiteral("Zeitangabe im Feld 'gilt bis' ist nicht korrekt!"));
const QString kDoppelt = box(QStringLiteral("Sie wollen einen neuen Satz speichern, die betreffende Vorwahl ist aber bereits "
                                            "gegeben!\\r\\rWollen Sie den Satz trotzdem speichern (nur notwendig, wenn "
                                            "zusätzlicher Zeitbereich anzulegen ist)"),
                             "YesNo Information default No");
const QString kPreisAbc = box("Der Minutenpreis „abc“ ist keine Zahl!" + kNicht);

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

    std::int64_t zeile(Tariftabelle t, const QString& vorwahl, const QString& von = "00:00:00",
                       const QString& bis = "24:00:00")
    {
        return tarifEinfuegen(*db, t, {0, vorwahl, "Tarif " + vorwahl, von, bis, 0.06, 0.0, 60.0, QStringLiteral("D")});
    }

    // A complete new entry typed into the mask.
    void neuerEintrag(const QString& vorwahl)
    {
        ed.neuerSatzAnlegen();
        auto& m = ed.maske();
        m.fldVorwahl = vorwahl;
        m.fldBezeichnung = QStringLiteral("Neu");
        if (hatTarifspalten(ed.tabelle())) {
            m.fldAbZeit = QStringLiteral("08:00:00");
            m.fldBisZeit = QStringLiteral("18:00:00");
            m.fldMinutenpreis = QStringLiteral("0,06");
            m.fldPauschalpreis = QStringLiteral("0");
            m.fldSekundentakt = QStringLiteral("60");
            m.fldTyp = QStringLiteral("D");
        }
    }

    void uebernehmen(std::int64_t satz)
    {
        ed.combo1Text = QStringLiteral("x *(%1)*").arg(satz);
        ed.uebernehmen();
    }

    size_t anzahl(Tariftabelle t) { return tarifeLesen(*db, t).size(); }

    void erwarteGeleert()
    {
        EXPECT_EQ(ed.maske(), Tarifmaske{});
        EXPECT_EQ(ed.neuerSatz(), 0);
        EXPECT_FALSE(ed.vorwahlEingabe());
        EXPECT_TRUE(ed.eintraege().isEmpty());
        EXPECT_TRUE(ed.combo1Text.isEmpty());
    }
};

// Opens on the standard tariffs; choosing a table clears the mask and presets the kind.
TEST_F(Editor, ChoosingATableClearsTheMaskAndPresetsTheKind)
{
    EXPECT_EQ(ed.tabelle(), Tariftabelle::faktor);
    EXPECT_EQ(ed.maske(), Tarifmaske{.fldTyp = QStringLiteral("D")});
    EXPECT_FALSE(ed.hinweisSichtbar());
    const std::pair<Tariftabelle, QString> faelle[] = {
        {Tariftabelle::CallByCall, ""}, {Tariftabelle::Ortstarif, "O"}, {Tariftabelle::faktor, "D"}};
    for (const auto& [t, typ] : faelle) {
        neuerEintrag("030");
        ed.combo1Text = QStringLiteral("getippt");
        ed.tabelleWaehlen(t);
        EXPECT_EQ(ed.tabelle(), t);
        EXPECT_EQ(ed.maske(), Tarifmaske{.fldTyp = typ}) << tabellenName(t).toStdString();
        EXPECT_EQ(ed.neuerSatz(), 0);
        EXPECT_FALSE(ed.vorwahlEingabe());
        EXPECT_TRUE(ed.combo1Text.isEmpty());
    }
}

TEST_F(Editor, EntryListShowsEveryRowOnceInTextOrder)
{
    db->exec(R"(INSERT INTO faktor (satz, vorwahl, Bezeichnung, "von Zeit", "bis Zeit") VALUES
                (3, '030', 'Berlin', '08:00:00', NULL), (4, '0800', 'Service', '00:00:00', '24:00:00'),
                (5, '0171', 'Mobil', '00:00:00', '24:00:00'), (6, '030', 'Berlin', '00:00:00', '08:00:00'))");
    db->exec("INSERT INTO CallByCall (satz, vorwahl, Bezeichnung) VALUES (7, '01013', 'Anbieter')");
    const QStringList faktor = {"0171 Mobil 00:00:00 24:00:00 *(5)*", "030 Berlin 00:00:00 08:00:00 *(6)*",
                                "030 Berlin 08:00:00  *(3)*", "0800 Service 00:00:00 24:00:00 *(4)*"};
    // Opening the list discards the mask and ends the new-entry mode.
    neuerEintrag("089");
    ed.listeFuellen();
    EXPECT_EQ(ed.maske(), Tarifmaske{});
    EXPECT_EQ(ed.neuerSatz(), 0);
    EXPECT_FALSE(ed.vorwahlEingabe());
    EXPECT_EQ(ed.eintraege(), faktor);
    ed.listeFuellen();
    EXPECT_EQ(ed.eintraege(), faktor);
    ed.tabelleWaehlen(Tariftabelle::Ortstarif);
    ed.listeFuellen();
    EXPECT_TRUE(ed.eintraege().isEmpty());
    ed.tabelleWaehlen(Tariftabelle::CallByCall);
    ed.listeFuellen();
    EXPECT_EQ(ed.eintraege(), QStringList{"01013 Anbieter *(7)*"});
    EXPECT_TRUE(dlg.boxes().empty());
}

TEST_F(Editor, NewEntryWithAFreshPrefixIsStoredWithoutQuestion)
{
    neuerEintrag("0'89");
    EXPECT_EQ(ed.neuerSatz(), 1);
    EXPECT_TRUE(ed.vorwahlEingabe());
    dlg.answer(Answer::Ok);
    ed.speichern();
    EXPECT_EQ(dlg.protokoll(), QStringList{kGespeichert});
    erwarteGeleert();

    const auto rows = tarifeLesen(*db, Tariftabelle::faktor);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_GT(rows[0].satz, 0);
    EXPECT_EQ(rows[0], (Tarifeintrag{rows[0].satz, "0'89", "Neu", "08:00:00", "18:00:00", 0.06, 0.0, 60.0, "D", "Meier"}));
}

struct DoppeltFall {
    Tariftabelle tabelle;
    Answer antwort;
};

class EditorDoppelt : public Editor, public ::testing::WithParamInterface<DoppeltFall> {};

INSTANTIATE_TEST_SUITE_P(Faelle, EditorDoppelt,
                         ::testing::Values(DoppeltFall{Tariftabelle::faktor, Answer::Yes},
                                           DoppeltFall{Tariftabelle::faktor, Answer::No},
                                           DoppeltFall{Tariftabelle::CallByCall, Answer::Yes}));

TEST_P(EditorDoppelt, NewEntryForAnExistingPrefixAsksFirst)
{
    const auto t = GetParam().tabelle;
    ed.tabelleWaehlen(t);
    const auto alt = zeile(t, "0'30");
    ed.zeigeFehlendeVorwahl(QStringLiteral("0301234"));
    neuerEintrag("0'30");
    dlg.answer(GetParam().antwort).answer(Answer::Ok);
    ed.speichern();
    // The hint goes with the first save that passes the checks, whatever the answer.
    EXPECT_FALSE(ed.hinweisSichtbar());
    erwarteGeleert();
    const auto rows = tarifeLesen(*db, t);
    const bool ja = GetParam().antwort == Answer::Yes;
    EXPECT_EQ(dlg.protokoll(),
              QStringList({kDoppelt, ja ? kGespeichert : box(QStringLiteral("Speicherung wurde abgebrochen!"), "Ok Information")}));
    ASSERT_EQ(rows.size(), ja ? 2u : 1u);
    EXPECT_TRUE(rows[0].satz == alt || rows.back().satz == alt);
    EXPECT_NE(rows[0].satz, ja ? rows[1].satz : 0);
}

TEST_F(Editor, TakeOverFillsTheMaskWithGermanNumbersAndDefaultsForEmptyColumns)
{
    const auto satz = tarifEinfuegen(*db, Tariftabelle::faktor, {0, "0180", "Service", "18:00:00", "24:00:00", 0.14, 1.5, 30.0, "S"});
    db->exec(R"(INSERT INTO faktor (satz, vorwahl, typ) VALUES (11, '040', 'D'))");
    db->exec(R"(INSERT INTO faktor (satz, vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis, Pauschale,
                Sekundentakt) VALUES (12, '069', 'Frankfurt', '00:00:00', '24:00:00', 0.06, 0, 60))");
    ed.listeFuellen();
    ed.combo1Text = ed.eintraege().value(0); // the list entry of 0180
    ed.uebernehmen();
    EXPECT_EQ(ed.maske(), (Tarifmaske{QString::number(satz), "0180", "Service", "18:00:00", "24:00:00", "0,14", "1,5", "30", "S"}));
    EXPECT_FALSE(ed.vorwahlEingabe());
    EXPECT_EQ(ed.neuerSatz(), 0);
    uebernehmen(11);
    EXPECT_EQ(ed.maske(), (Tarifmaske{"11", "040", "", "00:00:00", "24:00:00", "", "0", "0", "D"}));
    // Without a kind the time and price fields must be filled in anew.
    uebernehmen(12);
    EXPECT_EQ(ed.maske(), (Tarifmaske{"12", "069", "Frankfurt", "", "", "", "", "", ""}));
    // A provider fills prefix and description only.
    ed.tabelleWaehlen(Tariftabelle::CallByCall);
    db->exec("INSERT INTO CallByCall (satz, vorwahl, Bezeichnung) VALUES (7, '01013', 'Anbieter')");
    ed.maske().fldAbZeit = QStringLiteral("getippt");
    ed.maske().fldTyp = QStringLiteral("X");
    uebernehmen(7);
    EXPECT_EQ(ed.maske(), (Tarifmaske{"7", "01013", "Anbieter", "getippt", "", "", "0", "0", ""}));
    EXPECT_TRUE(dlg.boxes().empty());
}

struct UebernahmeFall {
    const char* text;
    const char* meldung;
};

class EditorUebernahme : public Editor, public ::testing::WithParamInterface<UebernahmeFall> {};

INSTANTIATE_TEST_SUITE_P(
    Faelle, EditorUebernahme,
    ::testing::Values(UebernahmeFall{"", "Es wurde kein gültiger (vorhandener) Satz gewählt!"},
                      UebernahmeFall{"030 Berlin *(7", "Es wurde kein gültiger (vorhandener) Satz gewählt!"},
                      UebernahmeFall{"a)* *(7", "Es wurde kein gültiger (vorhandener) Satz gewählt!"},
                      UebernahmeFall{"030 *(abc)*", "Satz wurde nicht gefunden!"},
                      UebernahmeFall{"030 *(999)*", "Satz wurde nicht gefunden!"},
                      UebernahmeFall{"030 *(7 OR 1=1)*", "Satz wurde nicht gefunden!"},
                      UebernahmeFall{"030 *(99999999999999999999)*", "Satz wurde nicht gefunden!"},
                      UebernahmeFall{"Anbieter *(neu) x *(7)*", "Satz wurde nicht gefunden!"}));

TEST_P(EditorUebernahme, TextWithoutValidRecordNumberLeavesTheMask)
{
    db->exec("INSERT INTO faktor (satz, vorwahl, Bezeichnung) VALUES (7, '030', 'Berlin')");
    neuerEintrag("089");
    const Tarifmaske vorher = ed.maske();
    ed.combo1Text = QString::fromUtf8(GetParam().text);
    dlg.answer(Answer::Ok);
    ed.uebernehmen();
    EXPECT_EQ(dlg.protokoll(), QStringList{box(QString::fromUtf8(GetParam().meldung))});
    EXPECT_EQ(ed.maske(), vorher);
    EXPECT_EQ(ed.neuerSatz(), 1);
    EXPECT_FALSE(ed.vorwahlEingabe());
    EXPECT_EQ(anzahl(Tariftabelle::faktor), 1u);
}

TEST_F(Editor, ChangedEntryKeepsItsNumberAndIsNeverAskedAbout)
{
    const auto satz = zeile(Tariftabelle::faktor, "030");
    zeile(Tariftabelle::faktor, "030", "18:00:00", "24:00:00");
    uebernehmen(satz);
    ed.maske().fldBezeichnung = QStringLiteral("Berlin Tag");
    ed.maske().fldMinutenpreis = QStringLiteral("0,0285");
    ed.maske().fldBisZeit = QStringLiteral("18:00:00");
    dlg.answer(Answer::Ok);
    ed.speichern();
    EXPECT_EQ(dlg.protokoll(), QStringList{kGespeichert});
    erwarteGeleert();
    EXPECT_EQ(anzahl(Tariftabelle::faktor), 2u);
    EXPECT_EQ(tarifFinden(*db, Tariftabelle::faktor, satz),
              (Tarifeintrag{satz, "030", "Berlin Tag", "00:00:00", "18:00:00", 0.0285, 0.0, 60.0, "D", "Meier"}));
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
    EXPECT_EQ(anzahl(Tariftabelle::Ortstarif), 0u);
    EXPECT_EQ(ed.maske().fldVorwahl, "0621");
}

TEST_F(Editor, DeleteNeedsATakenOverEntryAndAsksFirst)
{
    dlg.answer(Answer::Ok);
    ed.loeschen();
    erwarteGeleert();
    const QString nurUebernommen = box(QStringLiteral("Satz kann nur gelöscht werden, wenn er vorher über die\\r"
                                                      "'Auswahl bereits angelegter Tarifeinträge' übernommen wurde!"));
    const auto satz = zeile(Tariftabelle::faktor, "030");
    uebernehmen(satz);
    const Tarifmaske vorher = ed.maske();
    dlg.answer(Answer::No);
    ed.loeschen();
    const QString frage = box(QStringLiteral("Wollen Sie diesen Datensatz wirklich löschen"), "YesNo Critical default No");
    EXPECT_EQ(dlg.protokoll(), QStringList({nurUebernommen, frage}));
    EXPECT_EQ(ed.maske(), vorher);
    EXPECT_TRUE(tarifFinden(*db, Tariftabelle::faktor, satz));

    dlg.answer(Answer::Yes).answer(Answer::Ok);
    ed.loeschen();
    EXPECT_EQ(dlg.protokoll(),
              QStringList({nurUebernommen, frage, frage, box(QStringLiteral("Satz wurde gelöscht!"), "Ok Information")}));
    EXPECT_FALSE(tarifFinden(*db, Tariftabelle::faktor, satz));
    erwarteGeleert();
}

// One field of the mask, by name, for the tables of cases below.
using Feld = QString Tarifmaske::*;

struct PruefFall {
    const char* name;
    Tariftabelle tabelle;
    std::function<void(Tarifmaske&)> aendern;
    QString meldung; // empty: the save goes through
};

class EditorPruefung : public Editor, public ::testing::WithParamInterface<PruefFall> {};

std::function<void(Tarifmaske&)> setze(Feld f, const char* text)
{
    return [f, text](Tarifmaske& m) { m.*f = QString::fromUtf8(text); };
}


INSTANTIATE_TEST_SUITE_P(
    Faelle, EditorPruefung,
    ::testing::Values(
        PruefFall{"VorwahlLeer", Tariftabelle::faktor, setze(&Tarifmaske::fldVorwahl, ""), kUnvollstaendig},
        PruefFall{"BisZeitLeer", Tariftabelle::Ortstarif, setze(&Tarifmaske::fldBisZeit, ""), kUnvollstaendig},
        PruefFall{"TypLeer", Tariftabelle::faktor, setze(&Tarifmaske::fldTyp, ""), kUnvollstaendig},
        PruefFall{"BezeichnungBlank", Tariftabelle::faktor, setze(&Tarifmaske::fldBezeichnung, " "), ""},
        PruefFall{"NullenSindGefuellt", Tariftabelle::faktor,
                  [](Tarifmaske& m) { m.fldPauschalpreis = "0"; m.fldSekundentakt = "0"; }, ""},
        PruefFall{"CallByCallNurVorwahlUndName", Tariftabelle::CallByCall,
                  [](Tarifmaske& m) {
                      m.fldAbZeit = m.fldBisZeit = m.fldMinutenpreis = m.fldPauschalpreis = m.fldSekundentakt =
                          m.fldTyp = "";
                  },
                  ""},
        PruefFall{"CallByCallZeitenEgal", Tariftabelle::CallByCall,
                  [](Tarifmaske& m) { m.fldAbZeit = "7"; m.fldMinutenpreis = "abc"; }, ""},
        PruefFall{"CallByCallNameLeer", Tariftabelle::CallByCall, setze(&Tarifmaske::fldBezeichnung, ""),
                  kUnvollstaendig},
        PruefFall{"Mitternacht", Tariftabelle::faktor, setze(&Tarifmaske::fldBisZeit, "24:00:00"), ""},
        PruefFall{"Buchstabenzeit", Tariftabelle::Ortstarif, setze(&Tarifmaske::fldAbZeit, "ab:cd:ef"), ""},
        PruefFall{"AbEinstellig", Tariftabelle::faktor, setze(&Tarifmaske::fldAbZeit, "7:00:00"), kAbFalsch},
        PruefFall{"BisPunkte", Tariftabelle::faktor, setze(&Tarifmaske::fldBisZeit, "18.00.00"), kBisFalsch},
        PruefFall{"BeideFalschAbZuerst", Tariftabelle::faktor,
                  [](Tarifmaske& m) { m.fldAbZeit = "7:00"; m.fldBisZeit = "x"; }, kAbFalsch},
        PruefFall{"UnvollstaendigVorZeit", Tariftabelle::faktor,
                  [](Tarifmaske& m) { m.fldAbZeit = "7:00"; m.fldTyp = ""; }, kUnvollstaendig},
        PruefFall{"PreisKeineZahl", Tariftabelle::faktor, setze(&Tarifmaske::fldMinutenpreis, "abc"), kPreisAbc},
        PruefFall{"ZeitVorPreis", Tariftabelle::faktor,
                  [](Tarifmaske& m) { m.fldBisZeit = "x"; m.fldMinutenpreis = "abc"; }, kBisFalsch},
        PruefFall{"PauschaleKeineZahl", Tariftabelle::Ortstarif, setze(&Tarifmaske::fldPauschalpreis, " "),
                  box("Der Pauschalpreis „ “ ist keine Zahl!" + kNicht)},
        PruefFall{"TaktGebrochen", Tariftabelle::faktor, setze(&Tarifmaske::fldSekundentakt, "1,5"),
                  box("Der Sekundentakt „1,5“ ist keine ganze Zahl!" + kNicht)},
        PruefFall{"PreisMitPunkt", Tariftabelle::faktor, setze(&Tarifmaske::fldMinutenpreis, "0.06"), ""},
        PruefFall{"PreisMitTausendern", Tariftabelle::faktor, setze(&Tarifmaske::fldPauschalpreis, "1.234,50"),
                  ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(EditorPruefung, SaveChecksTheMaskBeforeWriting)
{
    const auto& fall = GetParam();
    ed.tabelleWaehlen(fall.tabelle);
    ed.zeigeFehlendeVorwahl(QStringLiteral("089123"));
    neuerEintrag("089");
    fall.aendern(ed.maske());
    const Tarifmaske vorher = ed.maske();
    dlg.answer(Answer::Ok);
    ed.speichern();
    EXPECT_EQ(dlg.protokoll(), QStringList{fall.meldung.isEmpty() ? kGespeichert : fall.meldung});
    if (fall.meldung.isEmpty()) {
        EXPECT_EQ(anzahl(fall.tabelle), 1u);
        EXPECT_FALSE(ed.hinweisSichtbar());
        erwarteGeleert();
        return;
    }
    EXPECT_EQ(anzahl(fall.tabelle), 0u);
    // A refused save stays in new-entry mode with everything as typed.
    EXPECT_EQ(ed.maske(), vorher);
    EXPECT_EQ(ed.neuerSatz(), 1);
    EXPECT_TRUE(ed.vorwahlEingabe());
    EXPECT_TRUE(ed.hinweisSichtbar());
    EXPECT_EQ(ed.suchvorwahl(), "089123");
}

TEST_F(Editor, RefusedPriceLeavesTheStoredEntryUnchanged)
{
    const auto satz = zeile(Tariftabelle::faktor, "030");
    const auto vorher = tarifFinden(*db, Tariftabelle::faktor, satz);
    uebernehmen(satz);
    ed.maske().fldMinutenpreis = QStringLiteral("abc");
    dlg.answer(Answer::Ok);
    ed.speichern();
    EXPECT_EQ(dlg.protokoll(), QStringList{kPreisAbc});
    EXPECT_EQ(tarifFinden(*db, Tariftabelle::faktor, satz), vorher);
}

TEST_F(Editor, DatabaseFailureIsReportedAndTheEditorGoesOn)
{
    db->exec("DROP TABLE faktor");
    dlg.answer(Answer::Ok);
    ed.listeFuellen();
    EXPECT_TRUE(ed.eintraege().isEmpty());
    neuerEintrag("030");
    dlg.answer(Answer::Ok);
    ed.speichern();
    EXPECT_EQ(ed.neuerSatz(), 1);
    ed.tabelleWaehlen(Tariftabelle::Ortstarif);
    neuerEintrag("030");
    dlg.answer(Answer::Ok);
    ed.speichern();
    const auto boxen = dlg.protokoll();
    ASSERT_EQ(boxen.size(), 3);
    EXPECT_TRUE(boxen[0].startsWith("M ORVE-Tarifo V2.01 | Die Tarifeinträge konnten nicht gelesen werden:")
                && boxen[0].endsWith(" | Ok Critical")) << boxen[0].toStdString();
    EXPECT_TRUE(boxen[1].endsWith(kNicht + " | Ok Critical")) << boxen[1].toStdString();
    EXPECT_EQ(boxen[2], kGespeichert);
}

TEST_F(Editor, TariffCalculatorAddressIsShownForCopying)
{
    dlg.type(QStringLiteral("egal"));
    ed.tarifrechnerZeigen();
    ASSERT_EQ(dlg.boxes().size(), 1u);
    const auto& r = dlg.boxes()[0].input;
    EXPECT_EQ(r.prompt, "Den Tarifrechner der T-Com finden Sie unter");
    EXPECT_EQ(r.title, kProduktName);
    EXPECT_EQ(r.preset, kTarifrechnerStandard);

    dir.writeFile(QStringLiteral("Tarifrechner.txt"), "https://tarife.example/rechner\r\n");
    dlg.cancelInput();
    ed.tarifrechnerZeigen();
    EXPECT_EQ(dlg.boxes()[1].input.preset, "https://tarife.example/rechner");
    // Nothing of the mask is touched.
    EXPECT_EQ(ed.maske().fldTyp, "D");
}

} // namespace
