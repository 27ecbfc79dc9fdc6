#include "startup/Installation.h"

#include "startup/OdbcSchluessel.h"
#include "startup/Registry.h"

#include "TempProgramFolder.h"

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

// The SQLite library serves the SQLite and Access drivers, the program
// itself the Paradox driver; the program's own data sources are left to it.
TEST(Installation, NamesTheFileThatServesEachDriverAndNeverTheProgramsOwnDataSources)
{
    const SpeicherRegistry reg(standardInstallation(QStringLiteral("/lib/libsqlite3.so.0"), QStringLiteral("/opt/orve")));
    for (const QString& t : {kSQLiteTreiber, kSQLite3Treiber, kAccessTreiber, kParadoxTreiber})
        EXPECT_EQ(reg.wert(Hive::LocalMachine, kTreiberSchluessel + t, QStringLiteral("Driver")),
                  RegWert::alsText(t == kParadoxTreiber ? QStringLiteral("/opt/orve") : QStringLiteral("/lib/libsqlite3.so.0")));
    for (const QString& q : {kSQLiteDatenquelle, kSQLite3Datenquelle})
        EXPECT_TRUE(reg.wert(Hive::LocalMachine, kDatenquellenListe, q)) << q.toStdString();
    for (const QString& q : {kAccessDatenquelle, kParadoxDatenquelle})
        EXPECT_FALSE(reg.schluesselVorhanden(Hive::LocalMachine, kDatenquellenSchluessel + q) || reg.wert(Hive::LocalMachine, kDatenquellenListe, q));
}

TEST(Installation, WritesTheFileOnceAndNeverOverwritesIt)
{
    TempProgramFolder p;
    const QString datei = p.file(QStringLiteral("neu/Registry/HKEY_LOCAL_MACHINE.reg"));
    ASSERT_TRUE(installationSchreiben(datei, QStringLiteral("/usr/lib/libsqlite3.so.0"), QStringLiteral("/opt/orve/orve-tarifo")));
    DateiRegistry reg(datei);
    QString treiber;
    EXPECT_TRUE(TreiberSuchen(reg, kParadoxTreiber, treiber));
    EXPECT_EQ(treiber, QStringLiteral("/opt/orve/orve-tarifo"));

    // The user's and the program's own entries survive the next build.
    ASSERT_TRUE(AccessDatenquelleAnlegen(reg, QStringLiteral("/usr/lib/libsqlite3.so.0"), kAccessDatenquelle, 0));
    const QByteArray mitAccess = p.readFile(QStringLiteral("neu/Registry/HKEY_LOCAL_MACHINE.reg"));
    ASSERT_TRUE(installationSchreiben(datei, QStringLiteral("/anders.so"), QStringLiteral("/anders")));
    EXPECT_EQ(p.readFile(QStringLiteral("neu/Registry/HKEY_LOCAL_MACHINE.reg")), mitAccess);

    QString fehler;
    p.writeFile(QStringLiteral("datei"), "x");
    EXPECT_FALSE(installationSchreiben(p.file(QStringLiteral("datei/Registry/x.reg")), QStringLiteral("/a"), QStringLiteral("/b"), &fehler));
    EXPECT_FALSE(fehler.isEmpty());
}
