#include "help/Demonstration.h"

#include "common/LocalDatabase.h"
#include "common/TextFile.h"
#include "report/StapelOptionen.h"
#include "report/Stapellauf.h"

#include "TempProgramFolder.h"

#include <QFileInfo>
#include <QSet>

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

using namespace orve;
using orve::test::TempProgramFolder;

namespace {

std::string lesen(std::FILE* f)
{
    std::rewind(f);
    std::string s;
    for (int c; (c = std::fgetc(f)) != EOF;)
        s += static_cast<char>(c);
    return s;
}

TEST(Demonstration, OrdnerIstVollstaendigUndJederAnrufFindetEinenTarif)
{
    TempProgramFolder dir;
    const QString ordner = dir.file(QStringLiteral("Demo"));
    demoOrdnerAnlegen(ordner, QStringLiteral(ORVE_SQLITE_BIBLIOTHEK), ordner + QStringLiteral("/orve-tarifo"));

    const QString bill = ordner + QStringLiteral("/bill.db");
    const struct {
        const char* datei;
        QString zeile;
    } dateien[] = {{"Billpfad.txt", bill}, {"Steuersatz.txt", "19"}, {"Kostenaufschlag.txt", "1,20"},
                   {"Minutenpreis.txt", "0,20"}};
    for (const auto& d : dateien)
        EXPECT_EQ(ersteZeileLesen(ordner + QLatin1Char('/') + QLatin1String(d.datei)), d.zeile) << d.datei;
    EXPECT_TRUE(QFileInfo(ordner + QStringLiteral("/Registry/HKEY_LOCAL_MACHINE.reg")).isFile());

    // bill.db holds the calls generated anew here, in order: the same seed gives the same calls.
    const auto anrufe = demoAnrufe();
    SQLite::Database quelle(bill.toStdString());
    SQLite::Statement q(quelle, "SELECT time, user, number FROM stdbill ORDER BY id");
    size_t i = 0;
    for (; q.executeStep(); ++i)
        ASSERT_TRUE(i < anrufe.size() && QString::fromStdString(q.getColumn(2).getString()) == anrufe[i].number) << i;
    EXPECT_EQ(i, anrufe.size());

    QSet<int> nebenstellen;
    QSet<QString> monate;
    for (const auto& a : anrufe) {
        nebenstellen.insert(a.user);
        monate.insert(a.start.toString(QStringLiteral("yyyy-MM")));
    }
    EXPECT_EQ(nebenstellen.size(), 8);
    EXPECT_EQ(monate.size(), 2);

    // The batch run prices every call (no "????"), and the tariff check over
    // the calls it read in finds nothing; without the night rows of the
    // area codes 02 to 07 it finds gaps.
    StapelOptionen o;
    o.programmOrdner = ordner;
    for (const int schritt : {0, 1, 2}) {
        o.tarifePruefen = schritt > 0;
        if (schritt == 2) {
            SQLite::Database lokal((ordner + QLatin1Char('/') + kLokaleDatenbankRelativ).toStdString(),
                                   SQLite::OPEN_READWRITE);
            lokal.exec(R"(DELETE FROM faktor WHERE "von Zeit" = '18:00:00')");
        }
        std::FILE* aus = std::tmpfile();
        std::FILE* fehler = std::tmpfile();
        EXPECT_EQ(stapellauf(o, aus, fehler), schritt < 2 ? kStapelOk : kStapelTarifluecken)
            << schritt << lesen(fehler) << lesen(aus);
        if (schritt == 2)
            EXPECT_NE(lesen(aus).find("Keine Zeile gilt von 18:00:01 bis 07:59:59"), std::string::npos);
        std::fclose(aus);
        std::fclose(fehler);
    }

    // Every kind of call the demonstration is meant to show occurs.
    const auto nacht = [](const DemoAnruf& a) { return a.start.time().hour() >= 18 || a.start.time().hour() < 8; };
    const struct {
        const char* art;
        std::function<bool(const DemoAnruf&)> ist;
    } arten[] = {
        {"intern", [](auto& a) { return a.number.isEmpty(); }},
        {"ohne Vorwahl", [](auto& a) { return !a.number.isEmpty() && a.number[0] != u'0' && a.number[0] != u'1'; }},
        {"Ortsnetz", [](auto& a) { return a.number.startsWith("0241"); }},
        {"Citybereich", [](auto& a) { return a.number.startsWith("02405"); }},
        {"Inland", [](auto& a) { return a.number.startsWith("030") || a.number.startsWith("0711"); }},
        {"Mobil", [](auto& a) { return a.number.startsWith("017"); }},
        {"kostenlos", [](auto& a) { return a.number.startsWith("0800"); }},
        {"Service", [](auto& a) { return a.number.startsWith("01805") || a.number.startsWith("0137"); }},
        {"Ausland", [](auto& a) { return a.number.startsWith("00"); }},
        {"Call by Call", [](auto& a) { return a.number.startsWith("010"); }},
        {"Notruf", [](auto& a) { return a.number == "110" || a.number == "112"; }},
        {"Nacht", nacht},
        {"Wochenende", [](auto& a) { return a.start.date().dayOfWeek() > 5; }},
    };
    for (const auto& art : arten)
        EXPECT_TRUE(std::any_of(anrufe.begin(), anrufe.end(), art.ist)) << art.art;
}

} // namespace
