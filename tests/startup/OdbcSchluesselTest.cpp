#include "startup/OdbcSchluessel.h"

#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

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

TEST(DatenquelleAnlegen, StopsAtTheFirstKeyOrValueThatCannotBeWrittenKeepingWhatWasWritten)
{
    const struct { const char* gesperrt; bool istSchluessel; size_t geschrieben; } faelle[] = {
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

// The registry read of the user look-up: a text with its NUL, a number as its
// bytes; what cannot be read is empty, an error is shown.
TEST(sdaGetRegEntry, ReadsTextsWithTheirNulAndNumbersAsBytes)
{
    struct Fall { const char* hive; QString key; const char* value; QString erwartet; int typ; QStringList boxen; };
    const QString zugriff = QStringLiteral("M GenUtils/sdaGetRegEntry | 5>  Zugriff verweigert | Ok Critical");
    const std::vector<Fall> faelle = {
        {"HKEY_LOCAL_MACHINE", kControl, "Current User", QStringLiteral("maria") + QChar(0), 1},
        {"HKEY_LOCAL_MACHINE", kControl, "Zahl", QStringLiteral("ABC") + QChar(0), 4},
        {"HKEY_LOCAL_MACHINE", kControl, "Fehlt", QString(), 0},
        {"HKEY_LOCAL_MACHINE", QStringLiteral("System\\Fehlt"), "Current User", QString(), 99},
        {"HKEY_CURRENT_USER", kControl, "Current User", QString(), 99},
        {"hkey_local_machine", kControl, "Current User", QString(), 99},
        {"HKEY_LOCAL_MACHINE", kControl, "Gesperrt", QString(), -1, {zugriff}},
        {"HKEY_LOCAL_MACHINE", kControl, "Schliessen scheitert", QStringLiteral("x") + QChar(0), -1},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(std::string(f.hive) + " " + f.value);
        TestRegistry reg({textEintrag(kControl, QStringLiteral("Current User"), QStringLiteral("maria")),
                          textEintrag(kControl, QStringLiteral("Gesperrt"), QStringLiteral("x")),
                          textEintrag(kControl, QStringLiteral("Schliessen scheitert"), QStringLiteral("x")),
                          RegEintrag{Hive::LocalMachine, kControl, QStringLiteral("Zahl"), RegWert::alsZahl(0x00434241)}});
        reg.lesenWirft = {QStringLiteral("gesperrt")};
        reg.schliessenScheitert = f.typ == -1 && f.boxen.isEmpty();
        ScriptedDialogs d;
        for (qsizetype i = 0; i < f.boxen.size(); ++i)
            d.answer(Answer::Ok);
        int typ = 99;
        EXPECT_EQ(sdaGetRegEntry(reg, d, QLatin1String(f.hive), f.key, QLatin1String(f.value), typ), f.erwartet);
        EXPECT_EQ(typ, f.typ);
        EXPECT_EQ(d.protokoll(), f.boxen);
        EXPECT_EQ(reg.offeneSchluessel(), 0);
    }
}
