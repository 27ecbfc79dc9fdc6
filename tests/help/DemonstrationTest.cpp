#include "help/Demonstration.h"

#include "common/LocalDatabase.h"
#include "report/StapelOptionen.h"
#include "report/Stapellauf.h"

#include "TempProgramFolder.h"

#include <QFile>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace orve;

namespace {

std::string lesen(std::FILE* f)
{
    std::rewind(f);
    QFile q;
    return q.open(f, QIODevice::ReadOnly) ? q.readAll().toStdString() : std::string();
}

// The folder is ready for the batch command, and its tariffs leave no gap for
// its calls until the night rows of the area codes 02 to 07 are gone.
TEST(Demonstration, FolderWorksAndTheTariffCheckFindsAGapOnlyWithoutTheNightRows)
{
    orve::test::TempProgramFolder dir;
    const QString ordner = dir.file(QStringLiteral("Demo"));
    demoOrdnerAnlegen(ordner, QStringLiteral(ORVE_SQLITE_BIBLIOTHEK), ordner + QStringLiteral("/orve-tarifo"));
    StapelOptionen o;
    o.programmOrdner = ordner;
    o.tarifePruefen = true;
    for (const bool nacht : {true, false}) {
        if (!nacht)
            SQLite::Database((ordner + QLatin1Char('/') + kLokaleDatenbankRelativ).toStdString(), SQLite::OPEN_READWRITE)
                .exec(R"(DELETE FROM faktor WHERE "von Zeit" = '18:00:00')");
        std::FILE* aus = std::tmpfile();
        std::FILE* fehler = std::tmpfile();
        EXPECT_EQ(stapellauf(o, aus, fehler), nacht ? kStapelOk : kStapelTarifluecken) << lesen(fehler);
        EXPECT_EQ(lesen(aus).find("Keine Zeile gilt von 18:00:01 bis 07:59:59") == std::string::npos, nacht);
        std::fclose(aus);
        std::fclose(fehler);
    }
}

} // namespace
