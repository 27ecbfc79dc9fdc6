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

const QString kGespeichert = QStringLiteral("Datensatz wurde gespeichert!");
const QString kUnvollstaendig = zeilen({"Es wurden nicht alle Feldinhalte gefüllt!", "Datensatz wurde nicht gespeichert!"});
const QString kAbFalsch = QStringLiteral("Zeitangabe im Feld 'gilt ab' ist nicht korrekt!");
const QString kBisFalsch = QStringLiteral("Zeitangabe im Feld 'gilt bis' ist nicht korrekt!");
const QString kDoppelt = zeilen({"Sie wollen einen neuen Satz speichern, die betreffende Vorwahl ist aber bereits "
                                 "gegeben!",
                                 "",
                                 "Wollen Sie den Satz trotzdem speichern (nur notwendig, wenn zusätzlicher "
                                 "Zeitbereich anzulegen ist)"});
const QString kKeinSatz = QStringLiteral("Es wurde kein gültiger (vorhandener) Satz gewählt!");
const QString kNichtGefunden = QStringLiteral("Satz wurde nicht gefunden!");

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
        Tarifeintrag e;
        e.vorwahl = vorwahl;
        e.Bezeichnung = QStringLiteral("Tarif ") + vorwahl;
        e.vonZeit = von;
        e.bisZeit = bis;
        e.Minutenpreis = 0.06;
        e.Pauschale = 0.0;
        e.Sekundentakt = 60.0;
        e.typ = QStringLiteral("D");
        return tarifEinfuegen(*db, t, e);
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

    // The one box shown, with title, buttons, icon and default.
    void erwarteBox(const QString& text, Buttons b, Icon i, std::optional<Answer> def = std::nullopt, size_t nr = 0)
    {
        const auto m = dlg.messages();
        ASSERT_GT(m.size(), nr);
        EXPECT_EQ(m[nr].text, text);
        EXPECT_EQ(m[nr].title, programmCaption());
        EXPECT_EQ(m[nr].buttons, b);
        EXPECT_EQ(m[nr].icon, i);
        if (def) {
            EXPECT_EQ(m[nr].defaultButton, def);
        }
    }

    void erwarteGeleert()
    {
        EXPECT_EQ(ed.maske(), Tarifmaske{});
        EXPECT_EQ(ed.neuerSatz(), 0);
        EXPECT_FALSE(ed.vorwahlEingabe());
        EXPECT_TRUE(ed.eintraege().isEmpty());
        EXPECT_TRUE(ed.combo1Text.isEmpty());
    }
};

TEST_F(Editor, OpensOnStandardTariffsWithAClearedMask)
{
    EXPECT_EQ(ed.tabelle(), Tariftabelle::faktor);
    Tarifmaske erwartet;
    erwartet.fldTyp = QStringLiteral("D");
    EXPECT_EQ(ed.maske(), erwartet);
    EXPECT_EQ(ed.neuerSatz(), 0);
    EXPECT_FALSE(ed.vorwahlEingabe());
    EXPECT_FALSE(ed.hinweisSichtbar());
}

TEST_F(Editor, ChoosingATableClearsTheMaskAndPresetsTheKind)
{
    const std::pair<Tariftabelle, QString> faelle[] = {
        {Tariftabelle::CallByCall, ""}, {Tariftabelle::Ortstarif, "O"}, {Tariftabelle::faktor, "D"}};
    for (const auto& [t, typ] : faelle) {
        neuerEintrag("030");
        ed.combo1Text = QStringLiteral("getippt");
        ed.tabelleWaehlen(t);
        EXPECT_EQ(ed.tabelle(), t);
        Tarifmaske erwartet;
        erwartet.fldTyp = typ;
        EXPECT_EQ(ed.maske(), erwartet) << tabellenName(t).toStdString();
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
    ed.listeFuellen();
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

TEST_F(Editor, OpeningTheListDiscardsTheMaskAndEndsNewEntryMode)
{
    zeile(Tariftabelle::faktor, "030");
    neuerEintrag("089");
    ed.listeFuellen();
    EXPECT_EQ(ed.maske(), Tarifmaske{});
    EXPECT_EQ(ed.neuerSatz(), 0);
    EXPECT_FALSE(ed.vorwahlEingabe());
    EXPECT_EQ(ed.eintraege().size(), 1);
}

TEST_F(Editor, NewEntryWithAFreshPrefixIsStoredWithoutQuestion)
{
    neuerEintrag("0'89");
    EXPECT_EQ(ed.neuerSatz(), 1);
    EXPECT_TRUE(ed.vorwahlEingabe());
    dlg.answer(Answer::Ok);
    ed.speichern();
    erwarteBox(kGespeichert, Buttons::Ok, Icon::Information);
    EXPECT_EQ(dlg.boxes().size(), 1u);
    erwarteGeleert();

    const auto rows = tarifeLesen(*db, Tariftabelle::faktor);
    ASSERT_EQ(rows.size(), 1u);
    const auto& e = rows[0];
    EXPECT_GT(e.satz, 0);
    EXPECT_EQ(e.vorwahl, "0'89");
    EXPECT_EQ(e.Bezeichnung, "Neu");
    EXPECT_EQ(e.vonZeit, "08:00:00");
    EXPECT_EQ(e.bisZeit, "18:00:00");
    EXPECT_EQ(e.Minutenpreis, 0.06);
    EXPECT_EQ(e.Pauschale, 0.0);
    EXPECT_EQ(e.Sekundentakt, 60.0);
    EXPECT_EQ(e.typ, "D");
    EXPECT_EQ(e.username, "Meier");
}

struct DoppeltFall {
    Tariftabelle tabelle;
    Answer antwort;
};

class EditorDoppelt : public Editor, public ::testing::WithParamInterface<DoppeltFall> {};

INSTANTIATE_TEST_SUITE_P(Faelle, EditorDoppelt,
                         ::testing::Values(DoppeltFall{Tariftabelle::faktor, Answer::Yes},
                                           DoppeltFall{Tariftabelle::faktor, Answer::No},
                                           DoppeltFall{Tariftabelle::Ortstarif, Answer::Yes},
                                           DoppeltFall{Tariftabelle::CallByCall, Answer::Yes},
                                           DoppeltFall{Tariftabelle::CallByCall, Answer::No}));

TEST_P(EditorDoppelt, NewEntryForAnExistingPrefixAsksFirst)
{
    const auto t = GetParam().tabelle;
    ed.tabelleWaehlen(t);
    const auto alt = zeile(t, "0'30");
    ed.zeigeFehlendeVorwahl(QStringLiteral("0301234"));
    neuerEintrag("0'30");
    dlg.answer(GetParam().antwort).answer(Answer::Ok);
    ed.speichern();
    erwarteBox(kDoppelt, Buttons::YesNo, Icon::Information, Answer::No);
    // The hint goes with the first save that passes the checks, whatever the answer.
    EXPECT_FALSE(ed.hinweisSichtbar());
    erwarteGeleert();
    const auto rows = tarifeLesen(*db, t);
    if (GetParam().antwort == Answer::Yes) {
        erwarteBox(kGespeichert, Buttons::Ok, Icon::Information, std::nullopt, 1);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_NE(rows[0].satz, rows[1].satz);
        EXPECT_TRUE(rows[0].satz == alt || rows[1].satz == alt);
    } else {
        erwarteBox(QStringLiteral("Speicherung wurde abgebrochen!"), Buttons::Ok, Icon::Information, std::nullopt, 1);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].satz, alt);
    }
}

TEST_F(Editor, TakeOverFillsTheMaskWithGermanNumbers)
{
    Tarifeintrag e;
    e.vorwahl = QStringLiteral("0180");
    e.Bezeichnung = QStringLiteral("Service");
    e.vonZeit = QStringLiteral("18:00:00");
    e.bisZeit = QStringLiteral("24:00:00");
    e.Minutenpreis = 0.14;
    e.Pauschale = 1.5;
    e.Sekundentakt = 30.0;
    e.typ = QStringLiteral("S");
    const auto satz = tarifEinfuegen(*db, Tariftabelle::faktor, e);
    ed.listeFuellen();
    ed.combo1Text = ed.eintraege().value(0);
    ed.uebernehmen();
    EXPECT_TRUE(dlg.boxes().empty());
    const Tarifmaske erwartet{QString::number(satz), "0180", "Service", "18:00:00", "24:00:00", "0,14", "1,5", "30",
                              "S"};
    EXPECT_EQ(ed.maske(), erwartet);
    EXPECT_FALSE(ed.vorwahlEingabe());
    EXPECT_EQ(ed.neuerSatz(), 0);
}

TEST_F(Editor, TakeOverShowsDefaultsForEmptyColumns)
{
    db->exec(R"(INSERT INTO faktor (satz, vorwahl, typ) VALUES (11, '040', 'D'))");
    db->exec(R"(INSERT INTO faktor (satz, vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis, Pauschale,
                Sekundentakt) VALUES (12, '069', 'Frankfurt', '00:00:00', '24:00:00', 0.06, 0, 60))");
    uebernehmen(11);
    EXPECT_EQ(ed.maske(), (Tarifmaske{"11", "040", "", "00:00:00", "24:00:00", "", "0", "0", "D"}));
    // Without a kind the time and price fields must be filled in anew.
    uebernehmen(12);
    EXPECT_EQ(ed.maske(), (Tarifmaske{"12", "069", "Frankfurt", "", "", "", "", "", ""}));
}

TEST_F(Editor, TakeOverOfAProviderFillsPrefixAndDescriptionOnly)
{
    ed.tabelleWaehlen(Tariftabelle::CallByCall);
    db->exec("INSERT INTO CallByCall (satz, vorwahl, Bezeichnung) VALUES (7, '01013', 'Anbieter')");
    ed.maske().fldAbZeit = QStringLiteral("getippt");
    ed.maske().fldTyp = QStringLiteral("X");
    uebernehmen(7);
    EXPECT_EQ(ed.maske(), (Tarifmaske{"7", "01013", "Anbieter", "getippt", "", "", "0", "0", ""}));
}

struct UebernahmeFall {
    const char* text;
    const char* meldung;
};

class EditorUebernahme : public Editor, public ::testing::WithParamInterface<UebernahmeFall> {};

INSTANTIATE_TEST_SUITE_P(
    Faelle, EditorUebernahme,
    ::testing::Values(UebernahmeFall{"", "Es wurde kein gültiger (vorhandener) Satz gewählt!"},
                      UebernahmeFall{"030 Berlin", "Es wurde kein gültiger (vorhandener) Satz gewählt!"},
                      UebernahmeFall{"030 Berlin *(7", "Es wurde kein gültiger (vorhandener) Satz gewählt!"},
                      UebernahmeFall{"a)* *(7", "Es wurde kein gültiger (vorhandener) Satz gewählt!"},
                      UebernahmeFall{"030 *(abc)*", "Satz wurde nicht gefunden!"},
                      UebernahmeFall{"030 *()*", "Satz wurde nicht gefunden!"},
                      UebernahmeFall{"030 *(999)*", "Satz wurde nicht gefunden!"},
                      UebernahmeFall{"030 *(7 OR 1=1)*", "Satz wurde nicht gefunden!"},
                      UebernahmeFall{"Anbieter *(neu) x *(7)*", "Satz wurde nicht gefunden!"}));

TEST_P(EditorUebernahme, TextWithoutValidRecordNumberLeavesTheMask)
{
    db->exec("INSERT INTO faktor (satz, vorwahl, Bezeichnung) VALUES (7, '030', 'Berlin')");
    neuerEintrag("089");
    const Tarifmaske vorher = ed.maske();
    ed.combo1Text = QString::fromUtf8(GetParam().text);
    dlg.answer(Answer::Ok);
    ed.uebernehmen();
    erwarteBox(QString::fromUtf8(GetParam().meldung), Buttons::Ok, Icon::Critical);
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
    erwarteBox(kGespeichert, Buttons::Ok, Icon::Information);
    EXPECT_EQ(dlg.boxes().size(), 1u);
    erwarteGeleert();
    EXPECT_EQ(anzahl(Tariftabelle::faktor), 2u);
    const auto e = tarifFinden(*db, Tariftabelle::faktor, satz);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Bezeichnung, "Berlin Tag");
    EXPECT_EQ(e->Minutenpreis, 0.0285);
    EXPECT_EQ(e->bisZeit, "18:00:00");
    EXPECT_EQ(e->username, "Meier");
}

TEST_F(Editor, EntryDeletedMeanwhileIsReportedAndNothingWritten)
{
    const auto satz = zeile(Tariftabelle::Ortstarif, "0621");
    ed.tabelleWaehlen(Tariftabelle::Ortstarif);
    uebernehmen(satz);
    tarifLoeschen(*db, Tariftabelle::Ortstarif, satz);
    dlg.answer(Answer::Ok);
    ed.speichern();
    erwarteBox(zeilen({"Satz wurde nicht gefunden!", "Datensatz wurde nicht gespeichert!"}), Buttons::Ok,
               Icon::Critical);
    EXPECT_EQ(anzahl(Tariftabelle::Ortstarif), 0u);
    EXPECT_EQ(ed.maske().fldVorwahl, "0621");
}

TEST_F(Editor, DeleteWithoutTakenOverEntryIsRefused)
{
    dlg.answer(Answer::Ok);
    ed.loeschen();
    erwarteBox(zeilen({"Satz kann nur gelöscht werden, wenn er vorher über die",
                       "'Auswahl bereits angelegter Tarifeinträge' übernommen wurde!"}),
               Buttons::Ok, Icon::Critical);
    erwarteGeleert();
}

TEST_F(Editor, DeleteAsksAndNoKeepsEverything)
{
    const auto satz = zeile(Tariftabelle::faktor, "030");
    uebernehmen(satz);
    const Tarifmaske vorher = ed.maske();
    dlg.answer(Answer::No);
    ed.loeschen();
    erwarteBox(QStringLiteral("Wollen Sie diesen Datensatz wirklich löschen"), Buttons::YesNo, Icon::Critical,
               Answer::No);
    EXPECT_EQ(ed.maske(), vorher);
    EXPECT_TRUE(tarifFinden(*db, Tariftabelle::faktor, satz));

    dlg.answer(Answer::Yes).answer(Answer::Ok);
    ed.loeschen();
    erwarteBox(QStringLiteral("Satz wurde gelöscht!"), Buttons::Ok, Icon::Information, std::nullopt, 2);
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

const QString kPreisAbc = zeilen({"Der Minutenpreis „abc“ ist keine Zahl!", "Datensatz wurde nicht gespeichert!"});

INSTANTIATE_TEST_SUITE_P(
    Faelle, EditorPruefung,
    ::testing::Values(
        PruefFall{"VorwahlLeer", Tariftabelle::faktor, setze(&Tarifmaske::fldVorwahl, ""), kUnvollstaendig},
        PruefFall{"BezeichnungLeer", Tariftabelle::Ortstarif, setze(&Tarifmaske::fldBezeichnung, ""), kUnvollstaendig},
        PruefFall{"AbZeitLeer", Tariftabelle::faktor, setze(&Tarifmaske::fldAbZeit, ""), kUnvollstaendig},
        PruefFall{"BisZeitLeer", Tariftabelle::Ortstarif, setze(&Tarifmaske::fldBisZeit, ""), kUnvollstaendig},
        PruefFall{"PreisLeer", Tariftabelle::faktor, setze(&Tarifmaske::fldMinutenpreis, ""), kUnvollstaendig},
        PruefFall{"PauschaleLeer", Tariftabelle::faktor, setze(&Tarifmaske::fldPauschalpreis, ""), kUnvollstaendig},
        PruefFall{"TaktLeer", Tariftabelle::Ortstarif, setze(&Tarifmaske::fldSekundentakt, ""), kUnvollstaendig},
        PruefFall{"TypLeer", Tariftabelle::faktor, setze(&Tarifmaske::fldTyp, ""), kUnvollstaendig},
        PruefFall{"BezeichnungBlank", Tariftabelle::faktor, setze(&Tarifmaske::fldBezeichnung, " "), ""},
        PruefFall{"TypBlank", Tariftabelle::faktor, setze(&Tarifmaske::fldTyp, " "), ""},
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
        PruefFall{"CallByCallVorwahlLeer", Tariftabelle::CallByCall, setze(&Tarifmaske::fldVorwahl, ""),
                  kUnvollstaendig},
        PruefFall{"CallByCallNameLeer", Tariftabelle::CallByCall, setze(&Tarifmaske::fldBezeichnung, ""),
                  kUnvollstaendig},
        PruefFall{"Mitternacht", Tariftabelle::faktor, setze(&Tarifmaske::fldBisZeit, "24:00:00"), ""},
        PruefFall{"Buchstabenzeit", Tariftabelle::Ortstarif, setze(&Tarifmaske::fldAbZeit, "ab:cd:ef"), ""},
        PruefFall{"AbEinstellig", Tariftabelle::faktor, setze(&Tarifmaske::fldAbZeit, "7:00:00"), kAbFalsch},
        PruefFall{"AbPunkte", Tariftabelle::Ortstarif, setze(&Tarifmaske::fldAbZeit, "07.00.00"), kAbFalsch},
        PruefFall{"BisPunkte", Tariftabelle::faktor, setze(&Tarifmaske::fldBisZeit, "18.00.00"), kBisFalsch},
        PruefFall{"BisZuLang", Tariftabelle::Ortstarif, setze(&Tarifmaske::fldBisZeit, "18:00:000"), kBisFalsch},
        PruefFall{"BeideFalschAbZuerst", Tariftabelle::faktor,
                  [](Tarifmaske& m) { m.fldAbZeit = "7:00"; m.fldBisZeit = "x"; }, kAbFalsch},
        PruefFall{"UnvollstaendigVorZeit", Tariftabelle::faktor,
                  [](Tarifmaske& m) { m.fldAbZeit = "7:00"; m.fldTyp = ""; }, kUnvollstaendig},
        PruefFall{"PreisKeineZahl", Tariftabelle::faktor, setze(&Tarifmaske::fldMinutenpreis, "abc"), kPreisAbc},
        PruefFall{"ZeitVorPreis", Tariftabelle::faktor,
                  [](Tarifmaske& m) { m.fldBisZeit = "x"; m.fldMinutenpreis = "abc"; }, kBisFalsch},
        PruefFall{"PauschaleKeineZahl", Tariftabelle::Ortstarif, setze(&Tarifmaske::fldPauschalpreis, " "),
                  zeilen({"Der Pauschalpreis „ “ ist keine Zahl!", "Datensatz wurde nicht gespeichert!"})},
        PruefFall{"TaktGebrochen", Tariftabelle::faktor, setze(&Tarifmaske::fldSekundentakt, "1,5"),
                  zeilen({"Der Sekundentakt „1,5“ ist keine ganze Zahl!", "Datensatz wurde nicht gespeichert!"})},
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
    ASSERT_EQ(dlg.boxes().size(), 1u);
    if (fall.meldung.isEmpty()) {
        erwarteBox(kGespeichert, Buttons::Ok, Icon::Information);
        EXPECT_EQ(anzahl(fall.tabelle), 1u);
        EXPECT_FALSE(ed.hinweisSichtbar());
        erwarteGeleert();
        return;
    }
    erwarteBox(fall.meldung, Buttons::Ok, Icon::Critical);
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
    erwarteBox(kPreisAbc, Buttons::Ok, Icon::Critical);
    EXPECT_EQ(tarifFinden(*db, Tariftabelle::faktor, satz), vorher);
}

TEST_F(Editor, DatabaseFailureIsReportedAndTheEditorGoesOn)
{
    db->exec("DROP TABLE faktor");
    dlg.answer(Answer::Ok);
    ed.listeFuellen();
    ASSERT_EQ(dlg.messages().size(), 1u);
    EXPECT_TRUE(dlg.messages()[0].text.startsWith("Die Tarifeinträge konnten nicht gelesen werden:"));
    EXPECT_EQ(dlg.messages()[0].icon, Icon::Critical);
    EXPECT_TRUE(ed.eintraege().isEmpty());

    neuerEintrag("030");
    dlg.answer(Answer::Ok);
    ed.speichern();
    ASSERT_EQ(dlg.messages().size(), 2u);
    EXPECT_TRUE(dlg.messages()[1].text.endsWith("Datensatz wurde nicht gespeichert!"));
    EXPECT_EQ(ed.neuerSatz(), 1);

    ed.tabelleWaehlen(Tariftabelle::Ortstarif);
    neuerEintrag("030");
    dlg.answer(Answer::Ok);
    ed.speichern();
    erwarteBox(kGespeichert, Buttons::Ok, Icon::Information, std::nullopt, 2);
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
