#include "SourceBuilders.h"

#include "calls/ParadoxKopie.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>

#include <SQLiteCpp/SQLiteCpp.h>
#include <SQLiteCpp/VariadicBind.h>

#include <stdexcept>

namespace orve::test {

std::string lesbar(const QStringList& zeile)
{
    return zeile.isEmpty()
               ? std::string()
               : (QLatin1Char('"') + zeile.join(QStringLiteral("\", \"")) + QLatin1Char('"')).toStdString();
}

std::string lesbar(const std::vector<QStringList>& zeilen)
{
    std::string s;
    for (const auto& z : zeilen)
        s += lesbar(z) + "\n";
    return s;
}

QString stdbillZeit(const QDateTime& start, StdbillOptionen::Zeit form)
{
    return start.toString(form == StdbillOptionen::Zeit::Iso ? QStringLiteral("yyyy-MM-dd hh:mm:ss")
                                                             : QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

// A TEXT column stores the bound number as text.
void schreibeSqliteBill(const QString& pfad, const std::vector<StdbillAnruf>& anrufe,
                        const StdbillOptionen& optionen)
{
    QFile::remove(pfad);
    SQLite::Database db(QFile::encodeName(pfad).toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec(std::string("CREATE TABLE stdbill (id INTEGER PRIMARY KEY, time TEXT, user ")
            + (optionen.user == StdbillOptionen::User::Text ? "TEXT" : "INTEGER")
            + ", username TEXT, number TEXT, duration INTEGER, lineno INTEGER)");
    SQLite::Transaction t(db);
    SQLite::Statement q(
        db, "INSERT INTO stdbill (time, user, username, number, duration, lineno) VALUES (?, ?, ?, ?, ?, ?)");
    for (const auto& a : anrufe) {
        SQLite::bind(q, stdbillZeit(a.start, optionen.zeit).toStdString(), a.user, a.username.toStdString(),
                     a.number.toStdString(), a.duration, a.lineno);
        q.exec();
        q.reset();
    }
    t.commit();
}

std::vector<StdbillAnruf> beispielStdbill(int anzahl, std::uint32_t seed)
{
    static const char* const namen[] = {"Zentrale", "Buchhaltung",      "Vertrieb",
                                        "Lager",    "Geschäftsführung", "Werkstatt"};
    std::vector<StdbillAnruf> out;
    for (const BillAnruf& a : beispielAnrufe(anzahl, seed)) {
        const int sekunden =
            a.dauer ? QTime(0, 0).secsTo(QTime::fromString(*a.dauer, QStringLiteral("hh:mm:ss"))) : 0;
        out.push_back({QDateTime(a.datum, a.zeit, QTimeZone::utc()), a.tln, QString::fromUtf8(namen[a.tln - 20]),
                       a.rufnummer.value_or(QString()), sekunden, a.line});
    }
    return out;
}

std::unique_ptr<SQLite::Database> AuswahlQuellen::oeffnen(const QString& verbindung)
{
    for (const auto& dsn : m_abgelehnt)
        if (verbindung.contains("DSN=" + dsn + QLatin1Char(';')))
            throw VerbindungsFehler(QStringLiteral("Die Datenquelle \"%1\" ist nicht eingerichtet.").arg(dsn));
    return DirectSources::oeffnen(verbindung);
}

void QuellUmgebung::sqlite(const std::vector<StdbillAnruf>& anrufe, const StdbillOptionen& optionen)
{
    schreibeSqliteBill(billDatei(), anrufe, optionen);
    state().Billpfad = billDatei();
    state().IstSQLite3 = 1;
    state().IstParadox = 0;
}

// A new file as sqlite() makes it, its table replaced by what the statements create.
void QuellUmgebung::sqlite(const char* sql)
{
    sqlite(std::vector<StdbillAnruf> {});
    SQLite::Database(QFile::encodeName(billDatei()).toStdString(), SQLite::OPEN_READWRITE)
        .exec(std::string("DROP TABLE stdbill;") + sql);
}

void QuellUmgebung::paradox(const std::vector<BillAnruf>& anrufe)
{
    schreibeParadoxBill(billDatei(), anrufe);
    if (paradoxKopieren(paradox::ParadoxTabelle::oeffnen(billDatei()), *lokal()).lesefehler)
        throw std::runtime_error("the Paradox test table did not copy cleanly");
    state().Billpfad = QFileInfo(billDatei()).absolutePath();
    state().IstSQLite3 = 0;
    state().IstParadox = 1;
}

std::vector<QStringList> QuellUmgebung::billZeilen() const
{
    const auto db = lokal();
    SQLite::Statement q(*db, "SELECT user, username, number, time, duration, lineno FROM bill ORDER BY rowid");
    std::vector<QStringList> zeilen;
    while (q.executeStep()) {
        zeilen.emplace_back();
        for (int i = 0; i < 6; ++i)
            zeilen.back() << QString::fromUtf8(q.getColumn(i).getText());
    }
    return zeilen;
}

QDateTime utcZeit(const char* iso)
{
    const QString s = QString::fromLatin1(iso);
    return QDateTime(QDate::fromString(s.left(10), Qt::ISODate), QTime::fromString(s.mid(11), Qt::ISODate),
                     QTimeZone::utc());
}

} // namespace orve::test
