#include "startup/Installation.h"

#include "startup/DateiRegistry.h"
#include "startup/OdbcSchluessel.h"

#include "TempProgramFolder.h"

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

// The SQLite library serves the SQLite and Access drivers, the program
// itself the Paradox driver; the program's own data sources are left to it.
TEST(Installation, WritesTheFileOnceNamingTheFileOfEachDriverButNoneOfTheProgramsDataSources)
{
    TempProgramFolder p;
    const QString datei = p.file(QStringLiteral("neu/Registry/HKEY_LOCAL_MACHINE.reg"));
    ASSERT_TRUE(installationSchreiben(datei, QStringLiteral("/lib/libsqlite3.so.0"), QStringLiteral("/opt/orve")));
    DateiRegistry reg(datei);
    for (const QString& t : {kSQLiteTreiber, kSQLite3Treiber, kAccessTreiber, kParadoxTreiber}) {
        QString treiber;
        EXPECT_TRUE(TreiberSuchen(reg, t, treiber));
        EXPECT_EQ(treiber, t == kParadoxTreiber ? QStringLiteral("/opt/orve") : QStringLiteral("/lib/libsqlite3.so.0"));
    }
    EXPECT_TRUE(DatenquelleVorhanden(reg, kSQLiteDatenquelle) && DatenquelleVorhanden(reg, kSQLite3Datenquelle));
    EXPECT_FALSE(DatenquelleVorhanden(reg, kAccessDatenquelle) || DatenquelleVorhanden(reg, kParadoxDatenquelle));

    // The user's and the program's own entries survive the next build.
    ASSERT_TRUE(AccessDatenquelleAnlegen(reg, QStringLiteral("/lib/libsqlite3.so.0"), kAccessDatenquelle, 0));
    const QByteArray mitAccess = p.readFile(QStringLiteral("neu/Registry/HKEY_LOCAL_MACHINE.reg"));
    ASSERT_TRUE(installationSchreiben(datei, QStringLiteral("/anders.so"), QStringLiteral("/anders")));
    EXPECT_EQ(p.readFile(QStringLiteral("neu/Registry/HKEY_LOCAL_MACHINE.reg")), mitAccess);
}

TEST(Installation, FolderThatCannotBeMadeIsReported)
{
    TempProgramFolder p;
    p.writeFile(QStringLiteral("datei"), "x");
    QString fehler;
    EXPECT_FALSE(installationSchreiben(p.file(QStringLiteral("datei/Registry/x.reg")), QStringLiteral("/a"), QStringLiteral("/b"), &fehler));
    EXPECT_TRUE(fehler.contains(QStringLiteral("kann nicht angelegt werden"))) << fehler.toStdString();
}
