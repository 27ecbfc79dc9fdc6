#include "startup/DataSourceResolver.h"

#include "common/LocalDatabase.h"
#include "startup/OdbcSchluessel.h"
#include "startup/Registry.h"

#include "RegistryFixtures.h"
#include "SourceBuilders.h"
#include "TempProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <SQLiteCpp/SQLiteCpp.h>

#include <gtest/gtest.h>

using namespace orve;
using namespace orve::test;

namespace {

QString quelle(const QString& dsn, const QString& pfad)
{
    return QStringLiteral("Provider=MSDASQL.1;Persist Security Info=False;Mode=ReadWrite;Extended Properties=DSN=")
        + dsn + QStringLiteral(";Database=") + pfad + QStringLiteral(";Threaded=0;Timeout=;NoWCHAR=0");
}

void tkDatenbank(const QString& pfad)
{
    SQLite::Database db(QFile::encodeName(pfad).toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec("CREATE TABLE stdbill (time TEXT, number TEXT)");
    db.exec("INSERT INTO stdbill VALUES ('2024-01-02 10:00:00', '0301234')");
}

} // namespace

TEST(VerbindungZerlegen, FindsDataSourceAndFileEvenWhenThePathHoldsSeparators)
{
    struct Fall {
        QString verbindung;
        QString dsn;
        QString datei;
    };
    const std::vector<Fall> faelle = {
        {lokaleVerbindung(QStringLiteral("/home/a;b=c/orve"), 0), QStringLiteral("ORVE-Access"),
         QStringLiteral("/home/a;b=c/orve/Datenbank/Bill.sqlite")},
        {quelle(QStringLiteral("SQLite Datasource"), QStringLiteral("/srv/x;Modus=y/bill;.db")), QStringLiteral("SQLite Datasource"),
         QStringLiteral("/srv/x;Modus=y/bill;.db")},
        {QStringLiteral("dsn=Q;database=/a/b.db"), QStringLiteral("Q"), QStringLiteral("/a/b.db")},
        {QStringLiteral("DSN=Q"), QStringLiteral("Q"), QString()},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.verbindung.toStdString());
        const auto a = verbindungZerlegen(f.verbindung);
        EXPECT_EQ(a.dsn, f.dsn);
        EXPECT_EQ(a.datei, f.datei);
    }
}

class Quellen : public ::testing::Test {
protected:
    void SetUp() override
    {
        reg = standardRegistry();
        ASSERT_TRUE(AccessDatenquelleAnlegen(reg, QCoreApplication::applicationFilePath(), kAccessDatenquelle, 0));
    }

    TempProgramFolder folder;
    SpeicherRegistry reg;
};

TEST_F(Quellen, RefusesWhatTheDriverManagerWouldRefuse)
{
    const QString bill = folder.file(QStringLiteral("bill.db"));
    tkDatenbank(bill);
    folder.writeFile(QStringLiteral("kein.db"), "Dies ist eine Textdatei und keine Datenbank, auch wenn sie so heißt.\n");
    const QString fehlt = folder.file(QStringLiteral("gibt es nicht/bill.db"));
    const QString fehltAuch = folder.file(QStringLiteral("fehlt.db"));
    const std::pair<QString, const char*> faelle[] = {
        {quelle(QStringLiteral("Fremde Quelle"), bill), "'Fremde Quelle' ist nicht eingetragen"},
        {QStringLiteral("Database=") + bill, "keine ODBC-Datenquelle"},
        {quelle(kSQLite3Datenquelle, QString()), "keine Datenbankdatei"},
        {quelle(kSQLite3Datenquelle, folder.path()), "keine Datei"},
        {quelle(kSQLite3Datenquelle, folder.file(QStringLiteral("kein.db"))), "keine SQLite-Datenbank"},
        {quelle(kSQLite3Datenquelle, fehlt), "nicht gefunden"},
        {quelle(kSQLiteDatenquelle, fehltAuch), "nicht gefunden"},
    };
    OdbcDatenquellen q(reg);
    for (const auto& [verbindung, teil] : faelle)
        EXPECT_FEHLER(q.oeffnen(verbindung), QString::fromUtf8(teil));
    EXPECT_FALSE(QFile::exists(fehltAuch)) << "a missing source file is never created";
    EXPECT_FALSE(QFile::exists(fehlt));

    // Listed, but its driver's file is gone.
    reg.eintragen(textEintrag(kDatenquellenSchluessel + kSQLite3Datenquelle, QStringLiteral("Driver"),
                              folder.file(QStringLiteral("weg/libsqlite3odbc.so"))));
    EXPECT_FEHLER(q.oeffnen(quelle(kSQLite3Datenquelle, bill)),
                  "Treiber der Datenquelle 'SQLite3 Datasource' ist nicht installiert");
}

TEST_F(Quellen, SourceOpensReadOnlyWithItsRows)
{
    const QString ordner = folder.file(QStringLiteral("TK;Suite=alt"));
    QDir().mkpath(ordner);
    const QString bill = ordner + QStringLiteral("/bill.db");
    tkDatenbank(bill);
    OdbcDatenquellen q(reg);
    for (const QString& dsn : {kSQLite3Datenquelle, kSQLiteDatenquelle}) {
        SCOPED_TRACE(dsn.toStdString());
        auto db = q.oeffnen(quelle(dsn, bill));
        ASSERT_TRUE(db);
        EXPECT_EQ(db->execAndGet("SELECT count(*) FROM stdbill").getInt(), 1);
        EXPECT_THROW(db->exec("INSERT INTO stdbill VALUES ('x', 'y')"), SQLite::Exception);
    }
}

TEST_F(Quellen, DataSourceWithoutItsOwnDriverValueUsesTheListedDriver)
{
    const QString bill = folder.file(QStringLiteral("bill.db"));
    tkDatenbank(bill);
    reg.entfernen(Hive::LocalMachine, kDatenquellenSchluessel + kSQLite3Datenquelle, QStringLiteral("Driver"));
    OdbcDatenquellen q(reg);
    EXPECT_TRUE(q.oeffnen(quelle(kSQLite3Datenquelle, bill)));

    reg.entfernen(Hive::LocalMachine, kTreiberSchluessel + kSQLite3Treiber, QStringLiteral("Driver"));
    EXPECT_FEHLER(q.oeffnen(quelle(kSQLite3Datenquelle, bill)), "nicht installiert");
}

TEST_F(Quellen, LocalDataSourceCreatesTheLocalDatabaseWithItsTables)
{
    const QString datei = folder.file(QStringLiteral("Datenbank/Bill.sqlite"));
    ASSERT_FALSE(QFile::exists(datei));
    OdbcDatenquellen q(reg);
    auto db = q.oeffnen(lokaleVerbindung(folder.state().programmOrdner, 0));
    ASSERT_TRUE(db);
    EXPECT_TRUE(QFile::exists(datei));
    EXPECT_TRUE(db->tableExists("bill"));
    db->exec("INSERT INTO bill (time) VALUES ('x')");

    SpeicherRegistry ohneAccess = standardRegistry();
    OdbcDatenquellen nichtAngelegt(ohneAccess);
    EXPECT_THROW(nichtAngelegt.oeffnen(lokaleVerbindung(folder.state().programmOrdner, 0)), VerbindungsFehler);
}
