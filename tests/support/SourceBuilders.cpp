#include "SourceBuilders.h"

#include "calls/ParadoxKopie.h"
#include "calls/ParadoxTabelle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>

#include <SQLiteCpp/SQLiteCpp.h>

#include <stdexcept>

namespace orve::test {

std::string lesbar(const QStringList& zeile)
{
    QStringList felder;
    for (const auto& f : zeile)
        felder << QLatin1Char('"') + f + QLatin1Char('"');
    return felder.join(QStringLiteral(", ")).toStdString();
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

void schreibeSqliteBill(const QString& pfad, const std::vector<StdbillAnruf>& anrufe,
                        const StdbillOptionen& optionen)
{
    QFile::remove(pfad);
    try {
        SQLite::Database db(QFile::encodeName(pfad).toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        const bool text = optionen.user == StdbillOptionen::User::Text;
        db.exec(std::string("CREATE TABLE stdbill (id INTEGER PRIMARY KEY, time TEXT, user ")
                + (text ? "TEXT" : "INTEGER")
                + ", username TEXT, number TEXT, duration INTEGER, lineno INTEGER)");
        SQLite::Transaction t(db);
        SQLite::Statement q(db, "INSERT INTO stdbill (time, user, username, number, duration, lineno) "
                                "VALUES (?, ?, ?, ?, ?, ?)");
        for (const auto& a : anrufe) {
            q.reset();
            q.bind(1, stdbillZeit(a.start, optionen.zeit).toStdString());
            if (text)
                q.bind(2, QString::number(a.user).toStdString());
            else
                q.bind(2, a.user);
            q.bind(3, a.username.toStdString());
            q.bind(4, a.number.toStdString());
            q.bind(5, a.duration);
            q.bind(6, a.lineno);
            q.exec();
        }
        t.commit();
    } catch (const SQLite::Exception& e) {
        throw std::runtime_error(std::string("cannot write stdbill: ") + e.what());
    }
}

std::vector<StdbillAnruf> beispielStdbill(int anzahl, std::uint32_t seed)
{
    static const char* const namen[] = {"Zentrale", "Buchhaltung", "Vertrieb", "Lager", "Geschäftsführung",
                                        "Werkstatt"};
    std::vector<StdbillAnruf> out;
    for (const BillAnruf& a : beispielAnrufe(anzahl, seed)) {
        const int sekunden = a.dauer ? QTime(0, 0).secsTo(QTime::fromString(*a.dauer, QStringLiteral("hh:mm:ss"))) : 0;
        out.push_back({QDateTime(a.datum, a.zeit, QTimeZone::utc()), a.tln, QString::fromUtf8(namen[a.tln - 20]),
                       a.rufnummer.value_or(QString()), sekunden, a.line});
    }
    return out;
}

std::unique_ptr<SQLite::Database> AuswahlQuellen::oeffnen(const QString& verbindung)
{
    m_verlangt << verbindung;
    for (const auto& dsn : m_abgelehnt)
        if (verbindung.contains(QStringLiteral("DSN=") + dsn + QLatin1Char(';')))
            throw VerbindungsFehler(QStringLiteral("Die Datenquelle \"%1\" ist nicht eingerichtet.").arg(dsn));
    return m_basis.oeffnen(verbindung);
}

QuellUmgebung::QuellUmgebung()
{
    QDir().mkpath(QFileInfo(billDatei()).absolutePath());
}

void QuellUmgebung::sqlite(const std::vector<StdbillAnruf>& anrufe, const StdbillOptionen& optionen)
{
    schreibeSqliteBill(billDatei(), anrufe, optionen);
    state().Billpfad = billDatei();
    state().IstSQLite3 = 1;
    state().IstParadox = 0;
}

void QuellUmgebung::sqlite(const char* sql)
{
    QFile::remove(billDatei());
    SQLite::Database(QFile::encodeName(billDatei()).toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE).exec(sql);
    state().Billpfad = billDatei();
    state().IstSQLite3 = 1;
    state().IstParadox = 0;
}

void QuellUmgebung::paradox(const std::vector<BillAnruf>& anrufe)
{
    schreibeParadoxBill(billDatei(), anrufe);
    auto db = lokal();
    const auto ergebnis = paradoxKopieren(orve::paradox::ParadoxTabelle::oeffnen(billDatei()), *db);
    if (ergebnis.lesefehler)
        throw std::runtime_error("the Paradox test table did not copy cleanly");
    state().Billpfad = QFileInfo(billDatei()).absolutePath();
    state().IstSQLite3 = 0;
    state().IstParadox = 1;
}

std::unique_ptr<SQLite::Database> QuellUmgebung::lokal() const
{
    return lokaleDatenbankOeffnen(ordner.file(QStringLiteral("Datenbank/Bill.sqlite")));
}

std::vector<QStringList> QuellUmgebung::billZeilen() const
{
    auto db = lokal();
    SQLite::Statement q(*db, "SELECT user, username, number, time, duration, lineno FROM bill ORDER BY rowid");
    std::vector<QStringList> zeilen;
    while (q.executeStep()) {
        QStringList z;
        for (int i = 0; i < 6; ++i)
            z << QString::fromUtf8(q.getColumn(i).getText());
        zeilen.push_back(z);
    }
    return zeilen;
}

QDateTime utcZeit(const char* iso)
{
    QDateTime d = QDateTime::fromString(QString::fromLatin1(iso), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    d.setTimeZone(QTimeZone::utc());
    return d;
}

BillAnruf paradoxAnruf(const char* start, int tln, int flags, std::optional<QString> rufnummer,
                       std::optional<QString> dauer, int line)
{
    BillAnruf b;
    b.datum = utcZeit(start).date();
    b.zeit = utcZeit(start).time();
    b.tln = tln;
    b.flags = flags;
    b.rufnummer = std::move(rufnummer);
    b.dauer = std::move(dauer);
    b.line = line;
    return b;
}

} // namespace orve::test
