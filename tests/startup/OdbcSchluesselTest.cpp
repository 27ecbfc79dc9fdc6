#include "startup/OdbcSchluessel.h"

#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <functional>

using namespace orve;
using namespace orve::test;

namespace {

const QString kTreiberKey = kTreiberSchluessel + kSQLiteTreiber;
const QString kControl = QStringLiteral("System\\CurrentControlSet\\Control");

} // namespace

// Driver file and data-source entry are read through a buffer of 255 bytes
// with the terminating NUL; the text ends at its first NUL.
TEST(TreiberSuchen, FindsWhatFitsTheReadBufferAndLeavesTheFileUnchangedOtherwise)
{
    struct Fall {
        const char* name;
        std::optional<RegWert> wert; // of "Driver" and of the list entry "Q"; none: the key has only "Setup"
        bool gefunden;
        QString datei;
        bool lesenWirft = false;
    };
    const QString lang(254, QLatin1Char('d'));
    const std::vector<Fall> faelle = {
        {"cut at NUL", RegWert::alsText(QStringLiteral("/a.so") + QChar(0) + QStringLiteral("rest")), true, QStringLiteral("/a.so")},
        {"254 bytes fit", RegWert::alsText(lang), true, lang},
        {"255 bytes do not", RegWert::alsText(lang + QLatin1Char('d')), false, QStringLiteral("vorher")},
        {"a number: no text", RegWert::alsZahl(7), true, QString()},
        {"no value", std::nullopt, false, QStringLiteral("vorher")},
        {"read error", RegWert::alsText(QStringLiteral("/a.so")), false, QStringLiteral("vorher"), true},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        TestRegistry reg({textEintrag(kTreiberKey, QStringLiteral("Setup"), QStringLiteral("x"))});
        if (f.wert)
            reg = TestRegistry({RegEintrag{Hive::LocalMachine, kTreiberKey, QStringLiteral("Driver"), *f.wert},
                                RegEintrag{Hive::LocalMachine, kDatenquellenListe, QStringLiteral("Q"), *f.wert}});
        if (f.lesenWirft)
            reg.lesenWirft = {QStringLiteral("driver"), QStringLiteral("q")};
        QString datei = QStringLiteral("vorher");
        EXPECT_EQ(TreiberSuchen(reg, kSQLiteTreiber, datei), f.gefunden);
        EXPECT_EQ(datei, f.datei);
        EXPECT_EQ(DatenquelleVorhanden(reg, QStringLiteral("Q")), f.gefunden);
        EXPECT_FALSE(TreiberSuchen(reg, kSQLite3Treiber, datei));
        EXPECT_EQ(reg.offeneSchluessel(), 0);
    }
}

TEST(DatenquelleAnlegen, NamesTheDriverFileAndListsTheSourceUnderItsDriver)
{
    struct Fall {
        const char* name;
        std::function<bool(Registry&)> anlegen;
        QString quelle, schluessel, wertName, wert, treiber;
    };
    const QString treiber = QStringLiteral("/usr/lib/libsqlite3.so.0");
    const QString sys = QStringLiteral("/usr/lib/x86_64-linux-gnu");
    const std::vector<Fall> faelle = {
        {"Access SQLite", [&](Registry& r) { return AccessDatenquelleAnlegen(r, treiber, kAccessDatenquelle, 0); },
         kAccessDatenquelle, QString(), QStringLiteral("FIL"), QStringLiteral("SQLite ODBC Driver;"), kAccessTreiber},
        {"Access SQLite3", [&](Registry& r) { return AccessDatenquelleAnlegen(r, treiber, kAccessDatenquelle, 1); },
         kAccessDatenquelle, QString(), QStringLiteral("FIL"), QStringLiteral("SQLite3 ODBC Driver;"), kAccessTreiber},
        {"Paradox", [&](Registry& r) { return ParadoxDatenquelleAnlegen(r, treiber, kParadoxDatenquelle, sys); },
         kParadoxDatenquelle, QStringLiteral("\\Engines\\Paradox"), QStringLiteral("ParadoxNetPath"), sys, kParadoxTreiberDeutsch},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        TestRegistry reg;
        ASSERT_TRUE(f.anlegen(reg));
        const QString k = kDatenquellenSchluessel + f.quelle;
        EXPECT_EQ(reg.wert(Hive::LocalMachine, k, QStringLiteral("Driver")), RegWert::alsText(treiber));
        EXPECT_EQ(reg.wert(Hive::LocalMachine, k + f.schluessel, f.wertName), RegWert::alsText(f.wert));
        EXPECT_EQ(reg.protokoll().back(), textEintrag(kDatenquellenListe, f.quelle, f.treiber)) << "listed last";
        EXPECT_EQ(reg.offeneSchluessel(), 0);
    }
}

TEST(DatenquelleAnlegen, StopsAtTheFirstKeyOrValueThatCannotBeWrittenKeepingWhatWasWritten)
{
    struct Fall {
        const char* gesperrt;
        bool istSchluessel;
        size_t geschrieben;
    };
    const std::vector<Fall> faelle = {
        {"software\\odbc\\odbc.ini\\orve-access\\engines\\jet", true, 6},
        {"driver", false, 2},
        {"orve-access", false, 11},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.gesperrt);
        TestRegistry reg;
        (f.istSchluessel ? reg.gesperrteSchluessel : reg.gesperrteWerte).insert(QLatin1String(f.gesperrt));
        EXPECT_FALSE(AccessDatenquelleAnlegen(reg, QStringLiteral("/a.so"), kAccessDatenquelle, 0));
        EXPECT_EQ(reg.protokoll().size(), f.geschrieben);
        EXPECT_EQ(reg.offeneSchluessel(), 0);
    }
}

TEST(sdaGetRegEntry, ReadsTextsWithTheirNulAndNumbersAsBytes)
{
    struct Fall {
        const char* hive;
        QString key;
        const char* value;
        QString erwartet;
        int typ;
    };
    TestRegistry reg({textEintrag(kControl, QStringLiteral("Current User"), QStringLiteral("maria")),
                      RegEintrag{Hive::LocalMachine, kControl, QStringLiteral("Zahl"), RegWert::alsZahl(0x00434241)}});
    const std::vector<Fall> faelle = {
        {"HKEY_LOCAL_MACHINE", kControl, "Current User", QStringLiteral("maria") + QChar(0), 1},
        {"HKEY_LOCAL_MACHINE", kControl, "Zahl", QStringLiteral("ABC") + QChar(0), 4},
        {"HKEY_LOCAL_MACHINE", kControl, "Fehlt", QString(), 0},
        {"HKEY_LOCAL_MACHINE", QStringLiteral("System\\Fehlt"), "Current User", QString(), 99},
        {"HKEY_CURRENT_USER", kControl, "Current User", QString(), 99},
        {"hkey_local_machine", kControl, "Current User", QString(), 99},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(std::string(f.hive) + " " + f.value);
        ScriptedDialogs d;
        int typ = 99;
        EXPECT_EQ(sdaGetRegEntry(reg, d, QLatin1String(f.hive), f.key, QLatin1String(f.value), typ), f.erwartet);
        EXPECT_EQ(typ, f.typ);
    }
    EXPECT_EQ(reg.offeneSchluessel(), 0);
}

TEST(sdaGetRegEntry, ReportsARegistryErrorAndAFailedClose)
{
    TestRegistry reg({textEintrag(QStringLiteral("A"), QStringLiteral("v"), QStringLiteral("x"))});
    reg.lesenWirft = {QStringLiteral("v")};
    ScriptedDialogs d;
    d.answer(Answer::Ok);
    int typ = 0;
    EXPECT_EQ(sdaGetRegEntry(reg, d, QStringLiteral("HKEY_LOCAL_MACHINE"), QStringLiteral("A"), QStringLiteral("v"), typ), QString());
    EXPECT_EQ(typ, -1);
    EXPECT_EQ(d.protokoll(), QStringList{"M GenUtils/sdaGetRegEntry | 5>  Zugriff verweigert | Ok Critical"});
    EXPECT_EQ(reg.offeneSchluessel(), 0);

    reg.lesenWirft.clear();
    reg.schliessenScheitert = true;
    EXPECT_EQ(sdaGetRegEntry(reg, d, QStringLiteral("HKEY_LOCAL_MACHINE"), QStringLiteral("A"), QStringLiteral("v"), typ),
              QStringLiteral("x") + QChar(0));
    EXPECT_EQ(typ, -1);
}
