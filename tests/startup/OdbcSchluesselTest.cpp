#include "startup/OdbcSchluessel.h"

#include "RegistryFixtures.h"
#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

const QString kListe = QStringLiteral("SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources");
const QString kSqliteTreiberKey = QStringLiteral("SOFTWARE\\ODBC\\ODBCINST.INI\\SQLite ODBC Driver");

QString kette(int laenge)
{
    return QString(laenge, QLatin1Char('d'));
}

} // namespace

// The read buffer holds 255 bytes with the terminating NUL.
class PufferGrenze : public ::testing::TestWithParam<std::pair<int, bool>> {};

TEST_P(PufferGrenze, LongTextsCountAsMissingForDriversAndDataSources)
{
    const auto [laenge, passt] = GetParam();
    SpeicherRegistry reg({textEintrag(kSqliteTreiberKey, QStringLiteral("Driver"), kette(laenge)),
                          textEintrag(kListe, QStringLiteral("Q"), kette(laenge))});
    QString datei = QStringLiteral("unverändert");
    EXPECT_EQ(TreiberSuchen(reg, QStringLiteral("SQLite ODBC Driver"), datei), passt);
    EXPECT_EQ(datei, passt ? kette(laenge) : QStringLiteral("unverändert"));
    EXPECT_EQ(DatenquelleVorhanden(reg, QStringLiteral("Q")), passt);
    EXPECT_EQ(reg.offeneSchluessel(), 0);
}

INSTANTIATE_TEST_SUITE_P(Laengen, PufferGrenze,
                         ::testing::Values(std::pair{254, true}, std::pair{255, false}));

TEST(TreiberSuchen, ReadsTheDriverFileUpToItsNulAndLeavesItUnchangedWhenMissing)
{
    SpeicherRegistry reg({textEintrag(kSqliteTreiberKey, QStringLiteral("Driver"), QStringLiteral("/a.so") + QChar(0) + QStringLiteral("rest")),
                          textEintrag(QStringLiteral("SOFTWARE\\ODBC\\ODBCINST.INI\\Ohne Datei"), QStringLiteral("Setup"), QStringLiteral("x"))});
    QString datei = QStringLiteral("vorher");
    EXPECT_TRUE(TreiberSuchen(reg, QStringLiteral("SQLite ODBC Driver"), datei));
    EXPECT_EQ(datei, QStringLiteral("/a.so"));
    datei = QStringLiteral("vorher");
    EXPECT_FALSE(TreiberSuchen(reg, QStringLiteral("Ohne Datei"), datei)) << "key without a Driver value";
    EXPECT_FALSE(TreiberSuchen(reg, QStringLiteral("Fehlt"), datei));
    EXPECT_EQ(datei, QStringLiteral("vorher"));

    StoerRegistry kaputt({textEintrag(kSqliteTreiberKey, QStringLiteral("Driver"), QStringLiteral("/a.so"))});
    kaputt.lesenWirft = true;
    EXPECT_FALSE(TreiberSuchen(kaputt, QStringLiteral("SQLite ODBC Driver"), datei)) << "a read error: not installed";
    EXPECT_EQ(kaputt.offeneSchluessel(), 0);
}

TEST(AccessDatenquelleAnlegen, WritesEveryValueWithItsTypeInOrder)
{
    for (int istSQLite3 : {0, 1}) {
        SCOPED_TRACE(istSQLite3);
        SpeicherRegistry reg;
        ASSERT_TRUE(AccessDatenquelleAnlegen(reg, QStringLiteral("/usr/lib/libsqlite3.so.0"), QStringLiteral("ORVE-Access"),
                                             istSQLite3));
        const QString k = QStringLiteral("SOFTWARE\\ODBC\\ODBC.INI\\ORVE-Access");
        const QString jet = k + QStringLiteral("\\Engines\\Jet");
        const std::vector<RegEintrag> erwartet = {
            textEintrag(k, QStringLiteral("UID"), QString()),
            textEintrag(k, QStringLiteral("Description"), QStringLiteral("ODBC Eintrag für ORVE Programme")),
            textEintrag(k, QStringLiteral("Driver"), QStringLiteral("/usr/lib/libsqlite3.so.0")),
            textEintrag(k, QStringLiteral("FIL"), istSQLite3 ? QStringLiteral("SQLite3 ODBC Driver;") : QStringLiteral("SQLite ODBC Driver;")),
            zahlEintrag(k, QStringLiteral("DriverId"), 25),
            zahlEintrag(k, QStringLiteral("SafeTransactions"), 0),
            textEintrag(jet, QStringLiteral("ImplicitCommitSync"), QString()),
            textEintrag(jet, QStringLiteral("UserCommitSync"), QStringLiteral("Yes")),
            zahlEintrag(jet, QStringLiteral("MaxBufferSize"), 2048),
            zahlEintrag(jet, QStringLiteral("PageTimeout"), 5),
            zahlEintrag(jet, QStringLiteral("Threads"), 3),
            textEintrag(kListe, QStringLiteral("ORVE-Access"), QStringLiteral("Microsoft Access Driver (*.mdb)")),
        };
        EXPECT_EQ(reg.protokoll(), erwartet);
        EXPECT_TRUE(DatenquelleVorhanden(reg, QStringLiteral("ORVE-Access")));
        EXPECT_EQ(reg.offeneSchluessel(), 0);
    }
}

TEST(ParadoxDatenquelleAnlegen, WritesEveryValueWithItsTypeInOrderListedUnderTheGermanDriver)
{
    SpeicherRegistry reg;
    ASSERT_TRUE(ParadoxDatenquelleAnlegen(reg, QStringLiteral("/opt/orve/orve-tarifo"), QStringLiteral("ORVE-Paradox"),
                                          QStringLiteral("/usr/lib/x86_64-linux-gnu")));
    const QString k = QStringLiteral("SOFTWARE\\ODBC\\ODBC.INI\\ORVE-Paradox");
    const QString e = k + QStringLiteral("\\Engines\\Paradox");
    const std::vector<RegEintrag> erwartet = {
        textEintrag(k, QStringLiteral("UID"), QStringLiteral("Administrator")),
        textEintrag(k, QStringLiteral("Description"), QStringLiteral("ODBC Eintrag für ORVE Programme")),
        textEintrag(k, QStringLiteral("Driver"), QStringLiteral("/opt/orve/orve-tarifo")),
        textEintrag(k, QStringLiteral("FIL"), QStringLiteral("Paradox 5.X;")),
        zahlEintrag(k, QStringLiteral("DriverId"), 538),
        zahlEintrag(k, QStringLiteral("SafeTransactions"), 0),
        textEintrag(e, QStringLiteral("CollatingSequence"), QStringLiteral("ASCII")),
        textEintrag(e, QStringLiteral("ImplicitCommitSync"), QString()),
        zahlEintrag(e, QStringLiteral("PageTimeout"), 600),
        textEintrag(e, QStringLiteral("ParadoxNetPath"), QStringLiteral("/usr/lib/x86_64-linux-gnu")),
        textEintrag(e, QStringLiteral("ParadoxNetStyle"), QStringLiteral("4.x")),
        textEintrag(e, QStringLiteral("ParadoxUserName"), QStringLiteral("Admin")),
        zahlEintrag(e, QStringLiteral("Threads"), 3),
        textEintrag(e, QStringLiteral("UserCommitSync"), QStringLiteral("Yes")),
        textEintrag(kListe, QStringLiteral("ORVE-Paradox"), QStringLiteral("Microsoft Paradox-Treiber (*.db )")),
    };
    EXPECT_EQ(reg.protokoll(), erwartet);
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
        StoerRegistry reg;
        (f.istSchluessel ? reg.gesperrteSchluessel : reg.gesperrteWerte).insert(QLatin1String(f.gesperrt));
        EXPECT_FALSE(AccessDatenquelleAnlegen(reg, QStringLiteral("/a.so"), QStringLiteral("ORVE-Access"), 0));
        EXPECT_EQ(reg.protokoll().size(), f.geschrieben);
        EXPECT_EQ(reg.offeneSchluessel(), 0);
    }
}

TEST(sdaGetRegEntry, ReadsTextsWithTheirNulAndNumbersAsBytes)
{
    struct Fall {
        const char* hive;
        const char* key;
        const char* value;
        QString erwartet;
        int typ;
    };
    SpeicherRegistry reg({textEintrag(QStringLiteral("System\\CurrentControlSet\\Control"), QStringLiteral("Current User"), QStringLiteral("maria")),
                          zahlEintrag(QStringLiteral("System\\CurrentControlSet\\Control"), QStringLiteral("Zahl"), 0x00434241)});
    const std::vector<Fall> faelle = {
        {"HKEY_LOCAL_MACHINE", "System\\CurrentControlSet\\Control", "Current User", QStringLiteral("maria") + QChar(0), 1},
        {"HKEY_LOCAL_MACHINE", "System\\CurrentControlSet\\Control", "Zahl", QStringLiteral("ABC") + QChar(0), 4},
        {"HKEY_LOCAL_MACHINE", "System\\CurrentControlSet\\Control", "Fehlt", QString(), 0},
        {"HKEY_LOCAL_MACHINE", "System\\Fehlt", "Current User", QString(), 99},
        {"HKEY_CURRENT_USER", "System\\CurrentControlSet\\Control", "Current User", QString(), 99},
        {"hkey_local_machine", "System\\CurrentControlSet\\Control", "Current User", QString(), 99},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(std::string(f.hive) + " " + f.value);
        ScriptedDialogs d;
        int typ = 99;
        EXPECT_EQ(sdaGetRegEntry(reg, d, QLatin1String(f.hive), QLatin1String(f.key), QLatin1String(f.value), typ), f.erwartet);
        EXPECT_EQ(typ, f.typ);
        EXPECT_TRUE(d.boxes().empty());
    }
    EXPECT_EQ(reg.offeneSchluessel(), 0);
}

TEST(sdaGetRegEntry, ReportsARegistryErrorAndAFailedClose)
{
    StoerRegistry reg({textEintrag(QStringLiteral("A"), QStringLiteral("v"), QStringLiteral("x"))});
    reg.lesenWirft = true;
    ScriptedDialogs d;
    d.answer(Answer::Ok);
    int typ = 0;
    EXPECT_EQ(sdaGetRegEntry(reg, d, QStringLiteral("HKEY_LOCAL_MACHINE"), QStringLiteral("A"), QStringLiteral("v"), typ), QString());
    EXPECT_EQ(typ, -1);
    EXPECT_EQ(d.protokoll(), QStringList{"M GenUtils/sdaGetRegEntry | 5>  Zugriff verweigert | Ok Critical"});
    EXPECT_EQ(reg.offeneSchluessel(), 0);

    reg.lesenWirft = false;
    reg.schliessenScheitert = true;
    EXPECT_EQ(sdaGetRegEntry(reg, d, QStringLiteral("HKEY_LOCAL_MACHINE"), QStringLiteral("A"), QStringLiteral("v"), typ),
              QStringLiteral("x") + QChar(0));
    EXPECT_EQ(typ, -1);
}
