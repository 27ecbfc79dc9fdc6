#include "help/Hilfe.h"

#include "ScriptedDialogs.h"
#include "TempProgramFolder.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace orve;
using orve::test::ScriptedDialogs;
using orve::test::TempProgramFolder;

namespace {

// Records the pages shown and how many boxes had been shown by then.
struct Anzeige : HilfeAnzeige {
    explicit Anzeige(const ScriptedDialogs& d, bool wirft = false) : dlg(d), wirft(wirft) {}
    void zeigen(const QString& seite) override
    {
        seiten << seite;
        boxenDavor = static_cast<int>(dlg.boxes().size());
        if (wirft)
            throw std::runtime_error("kein Betrachter");
    }
    const ScriptedDialogs& dlg;
    bool wirft;
    QStringList seiten;
    int boxenDavor = -1;
};

const QString kHinweis = QStringLiteral(
    "M ORVE-Tarifo | Windows 7 bzw. Vista Nutzer benötigen zum Anzeigen der Hilfe ein Update!\\r\\rDieses finden Sie "
    "im Installationspfad dieser Software im Unterordner\\r\\r\\Windows 7 alte Hilfe Dateien anzeigen\\! | Ok "
    "Information");

TEST(Hilfe, BefehleZeigenDieInhaltsseiteNurWennSieDaIstUndDerHinweisKommtZuerst)
{
    const struct {
        bool win7, dateiDa, anzeigeWirft;
    } faelle[] = {
        {false, true, false}, {false, false, false}, {true, true, false}, {true, false, false}, {true, true, true},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(testing::Message() << "win7=" << f.win7 << " datei=" << f.dateiDa << " wirft=" << f.anzeigeWirft);
        TempProgramFolder dir;
        if (f.dateiDa)
            dir.writeFile(QStringLiteral("Hilfe/ORVE-Tarifo.html"), "<html><body>Inhalt</body></html>");
        ScriptedDialogs dlg;
        if (f.win7)
            dlg.answer(Answer::Ok);
        Anzeige anzeige(dlg, f.anzeigeWirft);
        if (f.win7)
            mnuWin7(dir.state(), dlg, anzeige);
        else
            mnuHilfeklick(dir.state(), anzeige);

        EXPECT_EQ(dlg.protokoll(), f.win7 ? QStringList{kHinweis} : QStringList{});
        EXPECT_EQ(anzeige.seiten, f.dateiDa ? QStringList{dir.file(QStringLiteral("Hilfe/ORVE-Tarifo.html"))}
                                            : QStringList{});
        if (f.dateiDa)
            EXPECT_EQ(anzeige.boxenDavor, f.win7 ? 1 : 0);
    }
}

} // namespace
