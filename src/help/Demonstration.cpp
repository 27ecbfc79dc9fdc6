#include "help/Demonstration.h"

#include "common/LokaleDatenbank.h"
#include "common/TextFile.h"
#include "startup/Installation.h"
#include "tariffs/Beispieltarife.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <SQLiteCpp/SQLiteCpp.h>

#include <algorithm>
#include <array>
#include <random>
#include <stdexcept>

namespace orve {

namespace {

// A small deterministic random source: std::mt19937 gives the same numbers
// everywhere; the mapping to ranges is ours (the standard distributions are
// not the same on every library).
class Zufall {
public:
    explicit Zufall(std::uint32_t seed) : m_gen(seed) {}
    int bis(int n) { return static_cast<int>(m_gen() % static_cast<std::uint32_t>(n)); } // 0 .. n-1
    int zwischen(int a, int b) { return a + bis(b - a + 1); }                            // a .. b
    bool prozent(int p) { return bis(100) < p; }
    template<class T, std::size_t N> const T& eins(const std::array<T, N>& a)
    {
        return a[static_cast<std::size_t>(bis(static_cast<int>(N)))];
    }
    QString ziffern(int n, bool ersteNichtNull = false)
    {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QChar(u'0' + ((i == 0 && ersteNichtNull) ? zwischen(2, 9) : bis(10)));
        return s;
    }

private:
    std::mt19937 m_gen;
};

struct Nebenstelle {
    int user;
    const char* name;
};
constexpr std::array<Nebenstelle, 8> kNebenstellen {{{21, "Empfang"},
                                                     {22, "Buchhaltung"},
                                                     {23, "Vertrieb"},
                                                     {24, "Einkauf"},
                                                     {25, "Lager"},
                                                     {26, "Werkstatt"},
                                                     {27, "Geschäftsführung"},
                                                     {28, "Bereitschaft"}}};

constexpr std::array<const char*, 9> kFernVorwahlen {"030",  "040",  "0221", "069", "0711",
                                                     "0351", "0511", "0231", "0621"};
constexpr std::array<const char*, 8> kMobil {"0151", "0157", "0160", "0162", "0170", "0171", "0172", "0176"};
constexpr std::array<const char*, 7> kAusland {"0043", "0041", "0031", "0032", "0033", "0044", "0039"};
constexpr std::array<const char*, 2> kCallByCall {"01013", "01088"};

// A dialled number of a kind drawn by weight; "" for an internal call.
QString nummer(Zufall& z)
{
    const int w = z.bis(100);
    if (w < 8)
        return {}; // internal
    if (w < 26)
        return z.ziffern(z.zwischen(5, 7), true); // local, no area code
    if (w < 33)
        return QStringLiteral("0241") + z.ziffern(z.zwischen(5, 7), true); // local with area code
    if (w < 37)
        return QStringLiteral("02405") + z.ziffern(z.zwischen(4, 6), true); // city zone
    QString n;
    bool callByCall = false;
    if (w < 60) {
        n = QString::fromLatin1(z.eins(kFernVorwahlen)) + z.ziffern(z.zwischen(6, 8), true); // national
        callByCall = z.prozent(20);
    } else if (w < 76) {
        n = QString::fromLatin1(z.eins(kMobil)) + z.ziffern(7); // mobile
    } else if (w < 79) {
        n = QStringLiteral("0800") + z.ziffern(7); // free
    } else if (w < 83) {
        n = QStringLiteral("01805") + z.ziffern(6); // service
    } else if (w < 85) {
        n = QStringLiteral("0137") + z.ziffern(7); // televoting
    } else if (w < 86) {
        n = QStringLiteral("0900") + z.ziffern(7); // premium
    } else {
        n = QString::fromLatin1(z.eins(kAusland)) + z.ziffern(z.zwischen(7, 10), true); // foreign
        callByCall = z.prozent(35);
    }
    if (!callByCall)
        return n;
    // The program removes every occurrence of a call-by-call prefix from the
    // number: the number behind it must not hold one.
    for (const char* v : kCallByCall)
        if (n.contains(QLatin1String(v)))
            return n;
    return QString::fromLatin1(z.eins(kCallByCall)) + n;
}

int dauer(Zufall& z, bool intern)
{
    if (intern)
        return z.zwischen(8, 240);
    const int w = z.bis(100);
    if (w < 10)
        return z.zwischen(3, 30);
    if (w < 75)
        return z.zwischen(31, 300);
    if (w < 95)
        return z.zwischen(301, 1200);
    return z.zwischen(1201, 3600);
}

DemoAnruf anruf(Zufall& z, const Nebenstelle& n, const QDate& tag, const QTime& zeit)
{
    DemoAnruf a;
    a.start = QDateTime(tag, zeit, QTimeZone::utc());
    a.user = n.user;
    a.username = QString::fromUtf8(n.name);
    a.number = nummer(z);
    a.duration = dauer(z, a.number.isEmpty());
    a.lineno = a.number.isEmpty() ? 0 : z.zwischen(1, 4);
    return a;
}

void schreiben(const QString& datei, const QString& zeile)
{
    if (!zeileSchreiben(datei, zeile))
        throw std::runtime_error(QStringLiteral("Die Datei %1 konnte nicht geschrieben werden.")
                                     .arg(QDir::toNativeSeparators(datei))
                                     .toStdString());
}

} // namespace

std::vector<DemoAnruf> demoAnrufe(std::uint32_t seed)
{
    Zufall z(seed);
    std::vector<DemoAnruf> out;
    for (QDate tag(2026, 10, 1); tag <= QDate(2026, 11, 30); tag = tag.addDays(1)) {
        const bool werktag = tag.dayOfWeek() <= 5;
        for (const Nebenstelle& n : kNebenstellen) {
            if (n.user == 28) {
                // The stand-by line calls in the evening, at night and at weekends.
                for (int i = z.bis(werktag ? 2 : 4); i > 0; --i) {
                    const int s = (z.zwischen(0, 11 * 3600 - 1) + 19 * 3600) % 86400; // 19:00 .. 05:59
                    out.push_back(anruf(z, n, tag, QTime(0, 0).addSecs(s)));
                }
                continue;
            }
            if (!werktag)
                continue;
            for (int i = z.bis(n.user == 21 || n.user == 23 ? 6 : 4); i > 0; --i) {
                // Office hours 07:30 .. 18:59: some before 08:00 and after 18:00.
                const int s = z.zwischen(7 * 3600 + 1800, 19 * 3600 - 1);
                out.push_back(anruf(z, n, tag, QTime(0, 0).addSecs(s)));
            }
        }
        // An emergency call now and then.
        if (tag.day() == 15)
            out.push_back({QDateTime(tag, QTime(10, 12, 40), QTimeZone::utc()), 26, QStringLiteral("Werkstatt"),
                           tag.month() == 10 ? QStringLiteral("112") : QStringLiteral("110"), 95, 1});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const DemoAnruf& a, const DemoAnruf& b) { return a.start < b.start; });
    return out;
}

void demoBillSchreiben(const QString& datei, const std::vector<DemoAnruf>& anrufe)
{
    QFile::remove(datei);
    SQLite::Database db(datei.toUtf8().toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec("CREATE TABLE stdbill (id INTEGER PRIMARY KEY, time TEXT, user INTEGER, username TEXT, number TEXT, "
            "duration INTEGER, lineno INTEGER)");
    SQLite::Transaction t(db);
    SQLite::Statement q(db, "INSERT INTO stdbill (time, user, username, number, duration, lineno) "
                            "VALUES (?, ?, ?, ?, ?, ?)");
    for (const DemoAnruf& a : anrufe) {
        q.reset();
        q.bind(1, a.start.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toStdString());
        q.bind(2, a.user);
        q.bind(3, a.username.toStdString());
        q.bind(4, a.number.toStdString());
        q.bind(5, a.duration);
        q.bind(6, a.lineno);
        q.exec();
    }
    t.commit();
}

void demoOrdnerAnlegen(const QString& ordner, const QString& sqliteBibliothek, const QString& programmDatei)
{
    const QDir d(ordner);
    for (const char* unter : {"Datenbank", "Hilfe", "Registry"})
        if (!QDir().mkpath(d.filePath(QLatin1String(unter))))
            throw std::runtime_error(QStringLiteral("Der Ordner %1 konnte nicht angelegt werden.")
                                         .arg(QDir::toNativeSeparators(d.filePath(QLatin1String(unter))))
                                         .toStdString());
    try {
        const QString bill = d.absoluteFilePath(QStringLiteral("bill.db"));
        demoBillSchreiben(bill, demoAnrufe());
        schreiben(d.filePath(QStringLiteral("Billpfad.txt")), QDir::toNativeSeparators(bill));
        schreiben(d.filePath(QStringLiteral("Steuersatz.txt")), QStringLiteral("19"));
        schreiben(d.filePath(QStringLiteral("Kostenaufschlag.txt")), QStringLiteral("1,20"));
        schreiben(d.filePath(QStringLiteral("Minutenpreis.txt")), QStringLiteral("0,20"));
        // No web address: the report's footer names the program alone.
        QFile::remove(d.filePath(QStringLiteral("Internetadresse.txt")));

        const QString lokal = d.filePath(kLokaleDatenbankRelativ);
        QFile::remove(lokal);
        const auto db = lokaleDatenbankOeffnen(lokal);
        beispieltarifeEinfuegen(*db, {Tariftabelle::faktor, Tariftabelle::Ortstarif, Tariftabelle::CallByCall},
                                QStringLiteral("Beispiel"));
    } catch (const SQLite::Exception& e) {
        throw std::runtime_error(e.what());
    }

    const QString registry = d.filePath(QStringLiteral("Registry/HKEY_LOCAL_MACHINE.reg"));
    QFile::remove(registry);
    QString fehler;
    if (!installationSchreiben(registry, sqliteBibliothek, programmDatei, &fehler))
        throw std::runtime_error(fehler.toStdString());
}

} // namespace orve
