#include "tariffs/Beispieltarife.h"
#include "tariffs/TarifEditor.h"

#include "common/LocalDatabase.h"

#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

using namespace orve;
using orve::test::ScriptedDialogs;
using orve::test::TempProgramFolder;

namespace {

// "Beispieltarife übernehmen": a question first, rows only after Yes, and
// only into an empty table.
TEST(Beispieltarife, NurNachJaUndNurInEineLeereTabelle)
{
    const struct {
        Tariftabelle tabelle;
        bool belegt;
        Answer antwort;
    } faelle[] = {
        {Tariftabelle::faktor, false, Answer::No},     {Tariftabelle::faktor, false, Answer::Yes},
        {Tariftabelle::Ortstarif, false, Answer::Yes}, {Tariftabelle::CallByCall, false, Answer::Yes},
        {Tariftabelle::Ortstarif, true, Answer::Yes},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(tabellenName(f.tabelle).toStdString() + (f.belegt ? " belegt" : " leer")
                     + (f.antwort == Answer::Yes ? " Ja" : " Nein"));
        TempProgramFolder dir;
        dir.state().Anwender = QStringLiteral("Meier");
        auto db = lokaleDatenbankOeffnen(dir.file(kLokaleDatenbankRelativ));
        std::vector<Tarifeintrag> vorher;
        if (f.belegt) {
            tarifEinfuegen(*db, f.tabelle, {0, "089", "Eigener Tarif", "00:00:00", "24:00:00", 0.05, 0.0, 0.0, "D"});
            vorher = tarifeLesen(*db, f.tabelle);
        }
        ScriptedDialogs dlg;
        dlg.answer(f.antwort);
        if (!f.belegt && f.antwort == Answer::Yes)
            dlg.answer(Answer::Ok);
        TarifEditor ed(dir.state(), dlg, *db);
        ed.tabelleWaehlen(f.tabelle);
        ed.beispieltarifeUebernehmen();

        ASSERT_TRUE(dlg.scriptDone());
        const auto boxen = dlg.messages();
        if (f.belegt) {
            EXPECT_EQ(boxen.front().buttons, Buttons::Ok);
            EXPECT_EQ(tarifeLesen(*db, f.tabelle), vorher);
            continue;
        }
        EXPECT_EQ(boxen.front().buttons, Buttons::YesNo);
        EXPECT_EQ(boxen.front().defaultButton, Answer::No);
        EXPECT_TRUE(boxen.front().text.contains(QStringLiteral("Beispiele")));
        EXPECT_TRUE(boxen.front().text.contains(QStringLiteral("Vertrag")));
        const auto zeilen = tarifeLesen(*db, f.tabelle);
        if (f.antwort == Answer::No) {
            EXPECT_TRUE(zeilen.empty());
            continue;
        }
        ASSERT_EQ(zeilen.size(), beispieltarife(f.tabelle).size());
        for (const auto& z : zeilen) {
            EXPECT_TRUE(z.Bezeichnung->startsWith(QStringLiteral("Beispiel")));
            if (hatTarifspalten(f.tabelle))
                EXPECT_EQ(z.username, QStringLiteral("Meier"));
        }
    }
}

} // namespace
