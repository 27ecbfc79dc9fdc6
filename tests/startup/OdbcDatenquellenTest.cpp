#include "startup/OdbcDatenquellen.h"

#include "startup/OdbcSchluessel.h"

#include "RegistryFixtures.h"
#include "SourceBuilders.h"
#include "TempProgramFolder.h"

#include <QCoreApplication>
#include <QFile>

#include <SQLiteCpp/SQLiteCpp.h>

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

// A connection string as the data-source dialog builds it.
QString quelle(const QString& dsn, const QString& pfad)
{
    return QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;Mode=ReadWrite;Extended Properties=DSN=")
        + dsn + QStringLiteral(";Database=") + pfad + QStringLiteral(";Threaded=0;Timeout=;NoWCHAR=0");
}

class Quellen : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AccessDatenquelleAnlegen(reg, QCoreApplication::applicationFilePath(), kAccessDatenquelle, 0));
        schreibeSqliteBill(bill, {StdbillAnruf{}});
    }

    TempProgramFolder folder;
    TestRegistry reg = standardRegistry();
    const QString bill = folder.file(QStringLiteral("bill.db"));
};

} // namespace

TEST(VerbindungZerlegen, FindsDataSourceAndFileEvenWhenThePathHoldsSeparators)
{
    const struct { QString verbindung, dsn, datei; } faelle[] = {
        {lokaleVerbindung(QStringLiteral("/home/a;b=c/orve"), 0), kAccessDatenquelle,
         QStringLiteral("/home/a;b=c/orve/Datenbank/Bill.sqlite")},
        {quelle(kSQLiteDatenquelle, QStringLiteral("/srv/x;Modus=y/bill;.db")), kSQLiteDatenquelle,
         QStringLiteral("/srv/x;Modus=y/bill;.db")},
        {QStringLiteral("dsn=Q;database=/a/b.db"), QStringLiteral("Q"), QStringLiteral("/a/b.db")},
        {QStringLiteral("DSN=Q"), QStringLiteral("Q"), QString()},
        {QStringLiteral("DSN=Q;DBQ=/a/b.db;"), QStringLiteral("Q"), QStringLiteral("/a/b.db")},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.verbindung.toStdString());
        const auto a = verbindungZerlegen(f.verbindung);
        EXPECT_EQ(a.dsn, f.dsn);
        EXPECT_EQ(a.datei, f.datei);
    }
}

TEST_F(Quellen, RefusesWhatTheDriverManagerWouldRefuseAndNeverCreatesASourceFile)
{
    folder.writeFile(QStringLiteral("kein.db"), "Dies ist eine Textdatei und keine Datenbank, auch wenn sie so heißt.\n");
    const QString fehlt = folder.file(QStringLiteral("gibt es nicht/bill.db"));
    const QString fehltAuch = folder.file(QStringLiteral("fehlt.db"));
    const std::pair<QString, const char*> faelle[] = {
        {quelle(QStringLiteral("Fremde Quelle"), bill), "'Fremde Quelle' ist nicht eingetragen"},
        {QStringLiteral("Database=") + bill, "keine ODBC-Datenquelle"},
        {quelle(kSQLite3Datenquelle, QString()), "keine Datenbankdatei"},
        {quelle(kSQLite3Datenquelle, folder.path()), "keine Datei"},
        {quelle(kSQLite3Datenquelle, folder.file(QStringLiteral("kein.db"))), "ist keine SQLite-Datenbank."},
        {quelle(kSQLite3Datenquelle, fehlt), "nicht gefunden"},
        {quelle(kSQLiteDatenquelle, fehltAuch), "nicht gefunden"},
    };
    OdbcDatenquellen q(reg);
    for (const auto& [verbindung, teil] : faelle)
        EXPECT_FEHLER(q.oeffnen(verbindung), QString::fromUtf8(teil));
    EXPECT_FALSE(QFile::exists(fehltAuch));
    EXPECT_FALSE(QFile::exists(fehlt));
}

// A source opens read-only. The driver file is the data source's own "Driver"
// value, else that of the driver its list entry names; a file that is gone
// means not installed.
TEST_F(Quellen, SourceOpensReadOnlyWhenTheDriverFileOfTheSourceElseOfItsListedDriverExists)
{
    OdbcDatenquellen q(reg);
    const QString schluessel = kDatenquellenSchluessel + kSQLite3Datenquelle;
    auto db = q.oeffnen(quelle(kSQLite3Datenquelle, bill));
    ASSERT_TRUE(db);
    EXPECT_EQ(db->execAndGet("SELECT count(*) FROM stdbill").getInt(), 1);
    EXPECT_THROW(db->exec("INSERT INTO stdbill (number) VALUES ('x')"), SQLite::Exception) << "opened read-only";

    reg.entfernen(Hive::LocalMachine, schluessel, QStringLiteral("Driver"));
    EXPECT_TRUE(q.oeffnen(quelle(kSQLiteDatenquelle, bill)));
    EXPECT_TRUE(q.oeffnen(quelle(kSQLite3Datenquelle, bill)));

    reg.entfernen(Hive::LocalMachine, kTreiberSchluessel + kSQLite3Treiber, QStringLiteral("Driver"));
    EXPECT_FEHLER(q.oeffnen(quelle(kSQLite3Datenquelle, bill)), "Treiber der Datenquelle 'SQLite3 Datasource' ist nicht installiert");

    const auto s = reg.anlegen(Hive::LocalMachine, schluessel);
    ASSERT_TRUE(s && reg.wertSetzen(*s, QStringLiteral("Driver"), RegWert::alsText(folder.file(QStringLiteral("weg/x.so")))));
    EXPECT_FEHLER(q.oeffnen(quelle(kSQLite3Datenquelle, bill)), "nicht installiert");
}

TEST_F(Quellen, LocalDataSourceOpensTheLocalDatabaseForWritingCreatingIt)
{
    auto db = OdbcDatenquellen(reg).oeffnen(lokaleVerbindung(folder.state().programmOrdner, 0));
    ASSERT_TRUE(db);
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("Datenbank/Bill.sqlite"))));
    db->exec("INSERT INTO bill (time) VALUES ('x')");
}
