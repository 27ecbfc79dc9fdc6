#include "costing/Tarifsuche.h"

#include "KostenTestDaten.h"
#include "TempProgramFolder.h"

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

TEST(Tarifsuche, FirstFittingRowInTableOrder)
{
    const TZ muenchen{'O', "089"}, ohnePreis{'F', "089", "00:00:00", "24:00:00", {}, {}, {}};
    const struct {
        const char* name;
        std::vector<TZ> tarife;
        const char *number, *vergleichsnummer, *tarifsatz; // number nullptr: Null; tarifsatz "": none
        const char* uhrzeit = "12:00:00";
    } faelle[] = {
        {"leere Nummer ist intern", {muenchen}, "", nullptr, "intern"},
        {"CbC-Vorwahl am Anfang entfernt", {{'C', "01013"}, muenchen}, "0101308912345", "08912345", "Ortstarif:1"},
        {"CbC-Vorwahl nicht am Anfang bleibt", {{'C', "01013"}, {'F', "089"}}, "0891301013", "0891301013", "faktor:1"},
        {"jedes Vorkommen entfernt, leer ist Ortsnummer", {{'C', "01013"}, {'O', "030"}}, "0101301013", "",
         "Ortstarif:1"},
        {"erste CbC-Vorwahl der Tabelle", {{'C', "01013"}, {'C', "010"}, {'F', "13"}}, "0101308912345", "1308912345",
         "faktor:1"},
        {"Ortstarif vor faktor", {{'F', "0891"}, muenchen}, "0891234", "0891234", "Ortstarif:1"},
        {"faktor Tagfenster", {{'F', "089", "18:00:00", "08:00:00"}, {'F', "089", "08:00:00", "18:00:00"}}, "0891234",
         "0891234", "faktor:2"},
        {"faktor Nachtfenster", {{'F', "089", "08:00:00", "18:00:00"}, {'F', "089", "18:00:00", "08:00:00"}}, "0891234",
         "0891234", "faktor:2", "20:00:00"},
        {"kein längster Präfix", {{'O', "0891"}, {'O', "089", "08:00:00", "18:00:00"}}, "0891234", "0891234", "Ortstarif:2"},
        {"kürzerer Präfix passt nicht zur Zeit", {{'O', "0891"}, {'O', "089", "08:00:00", "18:00:00"}}, "0891234",
         "0891234", "Ortstarif:1", "20:00:00"},
        {"Ortsnummer: erste Zeile nach satz, deren Fenster passt",
         {{'O', "030", "18:00:00", "08:00:00"}, muenchen, {'O', "040"}}, "1234567", "1234567", "Ortstarif:2"},
        {"unbekannt ist Ortsnummer", {{'F', "0"}, {'O', "030"}}, "unbekannt", "unbekannt", "Ortstarif:1"},
        {"Null-Nummer wie unbekannt", {{'O', "030"}}, nullptr, "unbekannt", "Ortstarif:1"},
        {"Nummer mit 0 ohne Treffer", {muenchen, {'F', "089"}}, "0301234", "0301234", ""},
        {"leeres bis beendet die Suche", {{'O', "089", "00:00:00", ""}, {'F', "089"}}, "0891234", "0891234", ""},
        {"fehlendes von beendet die Suche", {{'O', "089", nullptr}, {'O', "089"}}, "0891234", "0891234", ""},
        {"keiner der drei Preise beendet die Suche", {ohnePreis, {'F', "0891"}}, "0891234", "0891234", ""},
        {"Paradox-Nummer mit Leerzeichen", {{'C', "010"}, muenchen}, "010089123         ", "089123         ",
         "Ortstarif:1"},
    };
    TempProgramFolder dir;
    auto db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
    db->exec("PRAGMA synchronous = OFF");
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        db->exec("DELETE FROM faktor; DELETE FROM Ortstarif; DELETE FROM CallByCall; DELETE FROM sqlite_sequence");
        tarifeSchreiben(*db, f.tarife);
        Preisanruf a{0, {}, f.number ? std::optional(QString::fromUtf8(f.number)) : std::nullopt,
                     QStringLiteral("2026-03-02 ") + QLatin1String(f.uhrzeit), QStringLiteral("60")};
        const auto e = Tarifsuche(Tarifdaten::laden(*db)).suchen(a, Kostensaetze::aus("19", "1", "", false));
        EXPECT_EQ(e.vergleichsnummer, f.vergleichsnummer ? std::optional(QString::fromUtf8(f.vergleichsnummer))
                                                         : std::nullopt);
        EXPECT_EQ(e.kosten.tarifsatz, QString::fromUtf8(f.tarifsatz));
        EXPECT_EQ(e.art == Suchergebnis::Art::KeinTarif, !*f.tarifsatz);
    }
}
