#include "common/TarifeditorOeffner.h"
#include "costing/Bepreisung.h"
#include "costing/Kostenfehler.h"

#include "common/LokaleDatenbank.h"

#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <QRegularExpression>
#include <QThread>

#include <SQLiteCpp/SQLiteCpp.h>
#include <SQLiteCpp/VariadicBind.h>
#include <sqlite3.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace orve;
using namespace orve::test;

namespace {

// A row of faktor (F), Ortstarif (O) or CallByCall (C), prices stored as numbers the way the editor writes them.
// nullptr and NAN are Null. The n-th row of a table gets satz n and Bezeichnung "<letter><n>" ("O1", "F2").
struct TZ {
    char tabelle;
    const char *vorwahl, *von = "00:00:00", *bis = "24:00:00";
    double M = 0.06, P = 0, S = 0;
};

const std::string kSpalten = R"( (vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis, Pauschale, )"
                             "Sekundentakt, typ) SELECT ?, ? || (count(*) + 1), ?, ?, ?, ?, ?, 'D' FROM ";

void tarifeSchreiben(SQLite::Database& db, const std::vector<TZ>& zeilen)
{
    for (const auto& z : zeilen) {
        const std::string t = z.tabelle == 'O' ? "Ortstarif" : "faktor";
        SQLite::Statement c(db, "INSERT INTO CallByCall (vorwahl, Bezeichnung) VALUES (?, 'Anbieter')");
        SQLite::Statement q(db, "INSERT INTO " + t + kSpalten + t);
        z.tabelle == 'C' ? SQLite::bind(c, z.vorwahl)
                         : SQLite::bind(q, z.vorwahl, std::string(1, z.tabelle), z.von, z.bis, z.M, z.P, z.S);
        (z.tabelle == 'C' ? c : q).exec();
    }
}

// Calls of extension 21 in `bill` as the import writes them: number (nullptr: Null), duration, time.
struct BZ {
    const char *number, *duration = "60", *time = "2026-03-02 12:00:00";
};

void anrufeSchreiben(SQLite::Database& db, const std::vector<BZ>& anrufe)
{
    for (const auto& a : anrufe) {
        SQLite::Statement q(db, "INSERT INTO bill (user, username, number, time, duration, lineno) "
                                "VALUES ('21', 'Zentrale', ?, ?, ?, '1')");
        SQLite::bind(q, a.number, a.time, a.duration);
        q.exec();
    }
}

// The fixture plays the tariff editor: it counts the openings, `aendern` plays the user's work in it.
class KostenDb : public ::testing::Test, public TarifeditorOeffner {
protected:
    KostenDb()
    {
        dir.state().Steuersatz = QStringLiteral("19");
        dir.state().Kostenaufschlag = QStringLiteral("1,20");
        dir.state().Minutenpreis = QStringLiteral("0,10");
        tarifeSchreiben(*db, {{'C', "01013"}, {'O', "089"}});
    }

    Bepreisungsergebnis lauf(bool eigenpreis = false, Bepreisung::Fortschritt f = {})
    {
        return Bepreisung(*db, dir.state(), eigenpreis, dialogs, *this).ausfuehren(f);
    }

    void oeffnen(const QString& nummer) override
    {
        EXPECT_TRUE(sqlite3_get_autocommit(db->getHandle())) << "transaction open while the editor runs";
        geoeffnet << nummer;
        aendern(static_cast<int>(geoeffnet.size()));
    }

    // The columns the run writes, one line per call in table order (numbers in their 15-digit text form).
    std::string zeilen()
    {
        const char* sql =
            "SELECT ifnull(group_concat(typeof(costs) || ' ' || ifnull(CAST(costs AS TEXT), 'NULL') || ' ' "
            "|| ifnull(CAST(ucosts AS TEXT), 'NULL') || ' ' || ifnull(CAST(ucostsBrutto AS TEXT), 'NULL') "
            "|| ' ' || quote(rufziel) || ' ' || quote(vergleichsnummer) || ' ' || quote(tarifsatz) || "
            "char(10), ''), '') FROM (SELECT * FROM bill ORDER BY rowid)";
        return db->execAndGet(sql).getString();
    }

    TempProgramFolder dir;
    std::unique_ptr<SQLite::Database> db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
    ScriptedDialogs dialogs;
    QStringList geoeffnet;
    std::function<void(int)> aendern = [](int) {};
};

const auto text = [](const char* t) { return t ? std::optional(QString::fromUtf8(t)) : std::nullopt; };

// A call of extension 21: start, duration and number.
const auto anruf = [](const char* b, const char* d = "90", const char* n = "0891234") {
    return Preisanruf {1, "21", text(n), text(b), text(d)};
};

// Prices as texts, the way another tool may have stored them; nullptr is Null.
Tarifzeile tarif(const char* M, const char* P, const char* S, const char* von = "00:00:00",
                 const char* bis = "24:00:00")
{
    const auto w = [](const char* t) { return t ? Tarifwert::vonText(QString::fromUtf8(t)) : Tarifwert::null(); };
    return {Tariftabelle::faktor, 7, "089", "München", von, bis, w(M), w(P), w(S)};
}

const std::string kLeer = "null NULL NULL NULL NULL NULL NULL\n";
const std::string kMuenchen90 = "real 0.09 0.108 0.12852 'O1' '0891234' 'Ortstarif:1'\n";
const std::string kIntern = "real 0.0 0.0 0.0 'Internes S0 Gespräch' NULL 'intern'\n";

} // namespace

// A start of the form hh:mm:ss is on 2026-03-02.
TEST(ZeitGradberechnen, WindowsIncludeBothEndsAndRunAcrossMidnight)
{
    const struct {
        const char *von, *bis, *beginn;
        bool passt;
    } faelle[] = {
        {"08:00:00", "18:00:00", "08:00:00", true},  {"08:00:00", "18:00:00", "18:00:00", true},
        {"08:00:00", "18:00:00", "18:00:01", false}, {"08:00:00", "18:00:00", "02.03.2026 07:59:59", false},
        {"19:00:00", "08:00:00", "23:59:59", true},  {"19:00:00", "08:00:00", "00:00:00", true},
        {"19:00:00", "08:00:00", "08:00:00", true},  {"19:00:00", "08:00:00", "18:59:59", false},
        {"00:00:00", "24:00:00", "23:59:59", true},  {"10:00:00", "10:00:00", "10:00:00", true},
        {"10:00:00", "10:00:00", "10:00:01", false},
    };
    for (const auto& f : faelle) {
        const std::string beginn = (std::strlen(f.beginn) == 8 ? "2026-03-02 " : "") + std::string(f.beginn);
        EXPECT_EQ(ZeitGradberechnen(anruf(beginn.c_str()), tarif("0,06", "0", "0", f.von, f.bis)), f.passt)
            << f.von << "-" << f.bis << " " << beginn;
    }
}

// M minute price, P flat price, S increment, d duration; O own price per minute, F surcharge, V VAT rate. A
// value that gives no cost has its message (`teil`), naming the call, and the tariff row unless a setting or
// the call is at fault.
TEST(Tarifberechnung, CostsSurchargeVatOwnPriceOrTheMessage)
{
    const struct {
        const char *M = "0,06", *P = "0", *S = "0", *d = "90";
        double kosten = 0, costs = 0, ucosts = 0, ucostsBrutto = 0;
        const char *O = nullptr, *F = "1,20", *V = "19", *teil = nullptr, *von = "00:00:00";
        const char* beginn = "2026-03-02 12:00:00";
        bool zeile = true;
    } faelle[] = {
        // Minute price by the second (no increment without flat price); no duration is 0 seconds.
        {"0,06", "0", "0", "90", 0.09, 0.09, 0.108, 0.12852},
        {"0,06", nullptr, "60", "90", 0.09, 0.09, 0.108, 0.12852},
        {"0,06", "0", "0", nullptr, 0, 0, 0, 0},
        // Minute price for the first S seconds, P for every further S, in proportion.
        {"0,10", "0,05", "60", "30", 0.10, 0.10, 0.12, 0.1428},
        {"0,10", "0,05", "60", "60", 0.10, 0.10, 0.12, 0.1428},
        {"0,10", "0,05", "60", "90", 0.125, 0.125, 0.15, 0.1785},
        {"0,10", "0,05", "60", "180", 0.20, 0.20, 0.24, 0.2856},
        // Flat price only, whatever the length; flat price plus minute price; an increment alone is free.
        {"0", "0,50", "0", "90", 0.5, 0.5, 0.6, 0.714},
        {nullptr, "0,50", nullptr, "0", 0.5, 0.5, 0.6, 0.714},
        {"0,10", "0,05", "0", "90", 0.2, 0.2, 0.24, 0.2856},
        {"0", "0", "60", "90", 0, 0, 0, 0},
        // costs, ucosts from the unformatted cost, halves away from zero; ucostsBrutto from ucosts; VAT 7,7 is 7.7.
        {"0,019", "0", "0", "90", 0.0285, 0.029, 0.057, 0.057 * 1.19, nullptr, "2"},
        {"0,06", "0", "0", "90", 0.09, 0.09, 0.108, 0.108 * 1.077, nullptr, "1,20", "7,7"},
        // Own price: the minute price raised to the next multiple of O, never below O; the cost to a multiple of O.
        {"0,06", "0", "0", "60", 0.10, 0.10, 0.12, 0.1428, "0,10"},
        {"0,25", "0", "0", "60", 0.3, 0.3, 0.36, 0.4284, "0,10"},
        {"0,30", "0", "0", "60", 0.3, 0.3, 0.36, 0.4284, "0,10"},
        {"0,06", "0", "0", "90", 0.2, 0.2, 0.24, 0.2856, "0,10"},
        {"0", "0", "0", "90", 0, 0, 0, 0, "0,10"},
        {"0", "0,50", "0", "90", 0.60, 0.60, 0.72, 0.8568, "0,20"},
        {"0,10", "0,08", "0", "90", 0.30, 0.30, 0.36, 0.4284, "0,10"},
        {.M = "0", .P = "-0,50", .teil = "Die Angabe Pauschale „-0,5“ ist negativ!"},
        {.M = "0", .S = "-60", .teil = "Die Angabe Sekundentakt „-60“ ist negativ!"},
        {.M = "-0,06", .teil = "Die Angabe Minutenpreis „-0,06“ ist negativ!"},
        {.M = "0,10", .P = "0", .S = "-60", .teil = "Sekundentakt „-60“ ist negativ!"},
        {.M = "abc", .teil = "Die Angabe Minutenpreis „abc“ ist keine Zahl!"},
        {.S = "6x", .teil = "Die Angabe Sekundentakt „6x“ ist keine Zahl!"},
        {.teil = "Die Zeit „8:00:00“ ist keine Uhrzeit (hh:mm:ss)!", .von = "8:00:00"},
        {.d = "1:30", .teil = "Die Dauer „1:30“ des Gesprächs ist keine Zahl.", .zeile = false},
        {.d = "-30", .teil = "Die Dauer „-30“ des Gesprächs ist negativ.", .zeile = false},
        {.teil = "Der Beginn „gestern“ des Gesprächs", .beginn = "gestern", .zeile = false},
        {.F = "abc", .teil = "Der Kostenaufschlag „abc“ ist keine Zahl!", .zeile = false},
        {.V = "abc", .teil = "Der Steuersatz „abc“ ist keine Zahl!", .zeile = false},
        {.O = "0,00", .teil = "Der eigene Minutenpreis „0,00“ muss größer als 0 sein!", .zeile = false},
        {.O = "zwanzig", .teil = "Der eigene Minutenpreis „zwanzig“ ist keine Zahl!", .zeile = false},
    };
    for (const auto& p : faelle) {
        SCOPED_TRACE(testing::Message() << "row " << &p - faelle + 1);
        const Preisanruf a = anruf(p.beginn, p.d);
        const Tarifzeile z = tarif(p.M, p.P, p.S, p.von);
        try { // as the lookup prices a call
            ASSERT_TRUE(ZeitGradberechnen(a, z));
            const Kosten k = tarifberechnung(a, z, Kostensaetze::aus(p.V, p.F, p.O, p.O != nullptr));
            EXPECT_EQ(p.teil, nullptr) << "no error: " << p.teil;
            EXPECT_DOUBLE_EQ(k.kosten, p.kosten);
            EXPECT_EQ(k.costs, p.costs); // exactly the value of the three-decimal text
            EXPECT_EQ(k.ucosts, p.ucosts);
            EXPECT_DOUBLE_EQ(k.ucostsBrutto, p.ucostsBrutto);
        } catch (const Fehler& e) {
            EXPECT_TRUE(p.teil && e.text().contains(QString::fromUtf8(p.teil))) << e.what();
            EXPECT_TRUE(e.text().contains("Rufnummer 0891234, Nebenstelle 21")) << e.what();
            EXPECT_EQ(e.text().contains("Tariftabelle „Standardtarife“, Satz 7, Vorwahl 089"), p.zeile) << e.what();
        }
    }
}

TEST_F(KostenDb, TarifsucheTakesTheFirstFittingRowInTableOrder)
{
    const TZ muenchen {'O', "089"}, tag {'F', "089", "08:00:00", "18:00:00"},
        nacht {'F', "089", "18:00:00", "08:00:00"}, tagOrt {'O', "089", "08:00:00", "18:00:00"},
        nachtOrt {'O', "030", "18:00:00", "08:00:00"}, cbc {'C', "01013"},
        ohnePreis {'F', "089", "00:00:00", "24:00:00", NAN, NAN, NAN};
    const char* abends = "2026-03-02 20:00:00";
    const struct {
        const char* name;
        std::vector<TZ> tarife;
        const char *number, *vergleichsnummer, *tarifsatz; // number nullptr: Null; tarifsatz "": none
        const char* beginn = "2026-03-02 12:00:00";
    } faelle[] = {
        {"leere Nummer ist intern", {muenchen}, "", nullptr, "intern"},
        {"CbC-Vorwahl am Anfang entfernt", {cbc, muenchen}, "0101308912345", "08912345", "Ortstarif:1"},
        {"CbC-Vorwahl nicht am Anfang bleibt", {cbc, {'F', "089"}}, "0891301013", "0891301013", "faktor:1"},
        {"jedes Vorkommen entfernt, leer ist Ortsnummer", {cbc, {'O', "030"}}, "0101301013", "", "Ortstarif:1"},
        {"erste CbC-Vorwahl", {cbc, {'C', "010"}, {'F', "13"}}, "0101308912345", "1308912345", "faktor:1"},
        {"Ortstarif vor faktor", {{'F', "0891"}, muenchen}, "0891234", "0891234", "Ortstarif:1"},
        {"faktor Tagfenster", {nacht, tag}, "0891234", "0891234", "faktor:2"},
        {"faktor Nachtfenster", {tag, nacht}, "0891234", "0891234", "faktor:2", abends},
        {"kein längster Präfix", {{'O', "0891"}, tagOrt}, "0891234", "0891234", "Ortstarif:2"},
        {"kürzerer Präfix, andere Zeit", {{'O', "0891"}, tagOrt}, "0891234", "0891234", "Ortstarif:1", abends},
        {"Ortsnummer: erste passende", {nachtOrt, muenchen, {'O', "040"}}, "1234567", "1234567", "Ortstarif:2"},
        {"unbekannt ist Ortsnummer", {{'F', "0"}, {'O', "030"}}, "unbekannt", "unbekannt", "Ortstarif:1"},
        {"Null-Nummer wie unbekannt", {{'O', "030"}}, nullptr, "unbekannt", "Ortstarif:1"},
        {"Nummer mit 0 ohne Treffer", {muenchen, {'F', "089"}}, "0301234", "0301234", ""},
        {"leeres bis beendet die Suche", {{'O', "089", "00:00:00", ""}, {'F', "089"}}, "0891234", "0891234", ""},
        {"fehlendes von beendet die Suche", {{'O', "089", nullptr}, {'O', "089"}}, "0891234", "0891234", ""},
        {"kein Preis beendet die Suche", {ohnePreis, {'F', "0891"}}, "0891234", "0891234", ""},
        {"Paradox-Nummer", {{'C', "010"}, muenchen}, "010089123         ", "089123         ", "Ortstarif:1"},
        // International numbers in their national form, also prefixes written with "+"; no call-by-call removal.
        {"+49 wird 0", {{'C', "0171"}, {'O', "030"}, {'F', "0171"}}, "+491711234567", "01711234567", "faktor:1"},
        {"(0), Leerzeichen, Strich", {{'F', "030"}}, "+49 (0)30 1234-5", "03012345", "faktor:1"},
        {"anderes Land wird 00", {{'F', "0043"}, {'O', "043"}}, "+43155512", "0043155512", "faktor:1"},
        {"Tarifzeile mit +", {{'F', "+43 1"}}, "0043155512", "0043155512", "faktor:1"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        db->exec("DELETE FROM faktor; DELETE FROM Ortstarif; DELETE FROM CallByCall; DELETE FROM sqlite_sequence");
        tarifeSchreiben(*db, f.tarife);
        const auto e = Tarifsuche(Tarifdaten::laden(*db))
                           .suchen(anruf(f.beginn, "60", f.number), Kostensaetze::aus("19", "1", "", false));
        EXPECT_EQ(e.vergleichsnummer, text(f.vergleichsnummer));
        EXPECT_EQ(e.kosten.tarifsatz, QString::fromUtf8(f.tarifsatz));
        EXPECT_EQ(e.art == Suchergebnis::Art::KeinTarif, !*f.tarifsatz);
    }
}

// A call whose start or duration cannot be read is marked "????" without a question, named, and the run goes on.
TEST_F(KostenDb, BepreisungEveryCallInTableOrderWithNumbersStoredAndNoAnsweredOncePerNumber)
{
    anrufeSchreiben(*db, {{"0891234", "90"}, {""}, {"0301234"}, {"0101308912345"}, {"0301234"}});
    anrufeSchreiben(*db, {{"0891234", "60", "gestern"}, {"0891234", "-30"}});
    dialogs.answer(Answer::No).answer(Answer::No);
    QStringList fortschritt;
    const auto r = lauf(false, [&](auto i, auto n) {
        fortschritt << QStringLiteral("%1/%2").arg(i).arg(n);
        return true;
    });
    EXPECT_EQ(r.status, Bepreisungsergebnis::Status::Fertig);
    EXPECT_EQ(r.ohneTarif, QStringList {QStringLiteral("0301234")});
    EXPECT_EQ(r.unlesbar.join(u'|'), "Rufnummer 0891234, Nebenstelle 21, Beginn gestern: Der Beginn „gestern“ des "
                                     "Gesprächs ist kein Datum mit Uhrzeit.|Rufnummer 0891234, Nebenstelle 21, "
                                     "Beginn 2026-03-02 12:00:00: Die Dauer „-30“ des Gesprächs ist negativ.");
    EXPECT_EQ(fortschritt.join(u' '), "1/7 2/7 3/7 4/7 5/7 6/7 7/7");
    const std::string ohne = "null NULL NULL NULL '\?\?\?\?' '0301234' NULL\n",
                      unlesbar = "null NULL NULL NULL '\?\?\?\?' NULL NULL\n";
    EXPECT_EQ(zeilen(), kMuenchen90 + kIntern + ohne + "real 0.06 0.072 0.08568 'O1' '08912345' 'Ortstarif:1'\n"
                            + ohne + unlesbar + unlesbar);
    const QRegularExpression frage("^M ORVE-Tarifo V2.01 \\| Es fehlen für die Rufnummer 0301234 die Angaben im "
                                   "Tarifbereich!.* \\| YesNoCancel Stop default No$");
    EXPECT_EQ(dialogs.protokoll().filter(frage).size(), 2) << dialogs.protokoll().join(u'\n').toStdString();
}

TEST_F(KostenDb, BepreisungYesOpensTheEditorUntilTheCallIsPricedCancelOrAStopKeepsTheCallsPricedBefore)
{
    anrufeSchreiben(*db, {{"0301234           ", "90"}});
    aendern = [&](int mal) { mal == 2 ? tarifeSchreiben(*db, {{'F', "030"}}) : void(); }; // the second time: prefix
    dialogs.answer(Answer::Yes).answer(Answer::Yes);
    EXPECT_EQ(lauf().status, Bepreisungsergebnis::Status::Fertig);
    EXPECT_EQ(geoeffnet, (QStringList {"0301234           ", "0301234           "}));
    EXPECT_EQ(zeilen(), "real 0.09 0.108 0.12852 'F1' '0301234           ' 'faktor:1'\n");
    // Cancel at the question or a stop by the progress keeps the calls priced before.
    db->exec("DELETE FROM bill; DELETE FROM faktor");
    anrufeSchreiben(*db, {{"0891234", "90"}, {"0301234"}, {"0891234"}});
    dialogs.answer(Answer::Cancel);
    auto r = lauf(true); // own price 0,10: 0.15 raised to 0.20
    EXPECT_EQ(r.status, Bepreisungsergebnis::Status::Abgebrochen);
    EXPECT_EQ(r.bearbeitet, 1);
    EXPECT_EQ(zeilen(), "real 0.2 0.24 0.2856 'O1' '0891234' 'Ortstarif:1'\n" + kLeer + kLeer);

    r = lauf(false, [](std::int64_t, std::int64_t) { return false; });
    EXPECT_EQ(r.status, Bepreisungsergebnis::Status::Angehalten);
    EXPECT_EQ(zeilen(), kMuenchen90 + kLeer + kLeer);
}

// Rows that would price calls wrong stop the run, naming table, row and prefix; nothing is priced with them.
TEST_F(KostenDb, BepreisungStopsAtRowsThatWouldPriceWrongAndAtOtherFaultsKeepingEarlierCalls)
{
    // An increment without minute price ends the program, a cost that cannot be computed the run; both show their
    // message and keep the calls priced before.
    tarifeSchreiben(*db, {{'F', "0301", "00:00:00", "24:00:00", 0, 0.5, 60}});
    anrufeSchreiben(*db, {{"0891234", "90"}, {"0301234"}, {"0891234"}});
    dialogs.answer(Answer::Ok);
    EXPECT_THROW(lauf(), Tariftabellenfehler);
    EXPECT_TRUE(
        dialogs.protokoll().value(0).endsWith("aber kein Minutenpreis!\\rBitte prüfen Sie Ihre Tariftabelle!"
                                              "\\rRufnummer 0301234\\rTariftabelle „Standardtarife“, "
                                              "Satz 1, Vorwahl 0301 | Ok Stop"));
    EXPECT_EQ(zeilen(), kMuenchen90 + kLeer + kLeer);

    db->exec("DELETE FROM bill; DELETE FROM faktor");
    dir.state().Kostenaufschlag = QStringLiteral("zwanzig Prozent");
    anrufeSchreiben(*db, {{""}, {"0891234"}});
    dialogs.answer(Answer::Ok);
    const auto r = lauf();
    EXPECT_EQ(r.status, Bepreisungsergebnis::Status::Fehler);
    EXPECT_TRUE(r.fehler.startsWith("Der Kostenaufschlag „zwanzig Prozent“ ist keine Zahl!"));
    EXPECT_TRUE(dialogs.protokoll().value(1).endsWith(" | Ok Stop"));
    EXPECT_EQ(zeilen(), kIntern + kLeer);
    db->exec("DELETE FROM bill; DELETE FROM faktor; DELETE FROM sqlite_sequence WHERE name = 'faktor'");
    dir.state().Kostenaufschlag = QStringLiteral("1,20");
    const struct {
        TZ zeile;
        const char* teil;
    } faelle[] = {
        {{'F', "030", "00:00:00", "24:00:00", INFINITY},
         "Minutenpreis „Inf“ ist keine Zahl!\rBitte prüfen Sie Ihre "
         "Tariftabelle!\rTariftabelle „Standardtarife“, Satz 1, Vorwahl 030"},
        {{'F', "030", "00:00:00", "24:00:00", 0.06, -0.5, 60}, "Pauschale „-0,5“ ist negativ!"},
        {{'F', ""},
         "keine Vorwahl und würde jedes Gespräch berechnen.\rBitte tragen Sie die Vorwahl ein oder löschen Sie die "
         "Zeile!\rTariftabelle „Standardtarife“, Satz 1, Vorwahl \r"},
        {{'O', nullptr}, "Tariftabelle „Ortstarife und Citybereich“, Satz 2, Vorwahl \r"},
        {{'C', ""}, "Eine Call-by-Call-Zeile hat keine Vorwahl"},
    };
    anrufeSchreiben(*db, {{"0301234"}});
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.teil);
        tarifeSchreiben(*db, {f.zeile});
        dialogs.answer(Answer::Ok);
        const auto r = lauf();
        EXPECT_EQ(r.status, Bepreisungsergebnis::Status::Fehler);
        EXPECT_TRUE(r.fehler.contains(QString::fromUtf8(f.teil))) << r.fehler.toStdString();
        EXPECT_EQ(zeilen(), kLeer);
        db->exec("DELETE FROM faktor; DELETE FROM Ortstarif WHERE vorwahl IS NOT '089'; DELETE FROM CallByCall "
                 "WHERE vorwahl = ''; DELETE FROM sqlite_sequence WHERE name = 'faktor'");
    }
}

TEST_F(KostenDb, BepreisungChangesByOtherCommandsDuringTheRunAreSeenOrRefused)
{
    // A tariff changed meanwhile prices the following calls.
    anrufeSchreiben(*db, {{"0891234"}, {"0891234"}});
    SQLite::Database andere(dir.file(kLokaleDatenbankRelativ).toStdString(), SQLite::OPEN_READWRITE);
    lauf(false, [&](std::int64_t i, std::int64_t) {
        if (i == 1) { // the user changes a tariff in a window opened meanwhile
            andere.exec("UPDATE Ortstarif SET Minutenpreis = 0.12");
            QThread::msleep(5);
        }
        return true;
    });
    EXPECT_EQ(zeilen(), "real 0.06 0.072 0.08568 'O1' '0891234' 'Ortstarif:1'\n"
                        "real 0.12 0.144 0.17136 'O1' '0891234' 'Ortstarif:1'\n");

    // A call table read in anew meanwhile is not written over.
    db->exec("DELETE FROM bill");
    anrufeSchreiben(*db, {{"0891234"}, {"0891234"}});
    dialogs.answer(Answer::Ok);
    const auto neuEingelesen = [&](std::int64_t i, std::int64_t) {
        if (i == 1) {
            andere.exec("DELETE FROM bill");
            anrufeSchreiben(andere,
                            {{"040123", "60", "2026-03-02 09:00:00"}, {"040123", "60", "2026-03-02 09:00:00"}});
        }
        return true;
    };
    const auto r = lauf(false, neuEingelesen);
    EXPECT_EQ(r.status, Bepreisungsergebnis::Status::Fehler);
    EXPECT_EQ(zeilen(), kLeer + kLeer);

    // A broken tariff row after that: its message is not hidden behind the one on the call table, and it ends the run.
    tarifeSchreiben(*db, {{'F', "0301", "00:00:00", "24:00:00", 0, 0.5, 60}});
    db->exec("DELETE FROM bill");
    anrufeSchreiben(*db, {{"0891234"}, {"0301234"}});
    dialogs.answer(Answer::Ok);
    EXPECT_THROW(lauf(false, neuEingelesen), Tariftabellenfehler);
    const QString letzte = dialogs.protokoll().back();
    EXPECT_TRUE(letzte.contains(u"aber kein Minutenpreis!") && letzte.contains(u"neu eingelesen"))
        << letzte.toStdString();
}
