// Speed of pricing 100,000 calls against 500 tariff rows and 20 call-by-call
// prefixes, the results written back to `bill`:
//   Pricing        the pricing pass as the report run calls it (tariff rows
//                  read once per run, results written in one transaction)
//   PerCallQueries the same lookup with fresh queries of the tariff tables
//                  for every call, reading every row up to the first fit,
//                  and an update per call (kept here only, as the yardstick)
// Prints one line: pricing 100000 calls: … ms; per-call queries: … ms; ratio …
// Goal: pricing under 1 s and at least 20 times faster than per-call queries.
#include "common/Dialogs.h"
#include "common/TarifeditorOeffner.h"
#include "costing/Bepreisung.h"
#include "costing/Kostenfehler.h"

#include "SourceBuilders.h"

#include <QCoreApplication>

#include <SQLiteCpp/SQLiteCpp.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>

using namespace orve;
using namespace orve::test;

namespace {

constexpr int kAnrufe = 100000;

// Nearly every call of the sample finds a tariff; the few that lose their
// prefix to a call-by-call replacement inside the number are answered No.
struct KeineFragen : Dialogs {
    using Dialogs::input;
    using Dialogs::message;
    Answer message(const Message&) override { return Answer::No; }
    QString input(const InputRequest&) override { return {}; }
    QString saveFile(const FileRequest&) override { return {}; }
    QString chooseFolder(const FolderRequest&) override { return {}; }
    QString openFile(const FileRequest&) override { return {}; }
};

struct KeinEditor : TarifeditorOeffner {
    void oeffnen(const QString&) override { throw std::runtime_error("editor opened"); }
};

void tarif(SQLite::Statement& q, const std::string& vorwahl, const char* von, const char* bis, double M, double P,
           double S)
{
    q.bind(1, vorwahl);
    q.bind(2, "Tarif " + vorwahl);
    q.bind(3, von);
    q.bind(4, bis);
    q.bind(5, M);
    q.bind(6, P);
    q.bind(7, S);
    q.exec();
    q.reset();
}

// A local database with the sample calls and the tariff tables: Ortstarif
// 50 rows (the own city 030 in two windows, which also prices the local
// numbers, and 48 neighbouring zones), faktor 450 rows (the sample's
// prefixes and "00" for numbers dialled with the exchange line, each in two
// windows, and filler prefixes), CallByCall 20 prefixes, put in front of
// every tenth number.
struct Umgebung {
    Umgebung()
    {
        auto db = lokaleDatenbankOeffnen(ordner.file(kLokaleDatenbankRelativ));
        SQLite::Transaction t(*db);
        SQLite::Statement cbc(*db, "INSERT INTO CallByCall (vorwahl, Bezeichnung) VALUES (?, 'Anbieter')");
        for (int i = 0; i < 20; ++i) {
            cbc.bind(1, "010" + std::to_string(10 + i));
            cbc.exec();
            cbc.reset();
        }
        const std::string spalten = R"( (vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis, Pauschale, )"
                                    "Sekundentakt, typ) VALUES (?, ?, ?, ?, ?, ?, ?, 'D')";
        SQLite::Statement ort(*db, "INSERT INTO Ortstarif" + spalten);
        tarif(ort, "030", "08:00:00", "18:00:00", 0.03, 0, 0);
        tarif(ort, "030", "18:00:00", "08:00:00", 0.015, 0, 0);
        for (int i = 0; i < 48; ++i)
            tarif(ort, "033" + std::to_string(10 + i), "00:00:00", "24:00:00", 0.03, 0, 0);
        SQLite::Statement std(*db, "INSERT INTO faktor" + spalten);
        int zeilen = 0;
        for (const char* v :
             {"089", "040", "0221", "069", "0711", "0170", "0151", "0176", "0043", "0041", "0180", "0800", "00"}) {
            tarif(std, v, "08:00:00", "18:00:00", 0.06, 0.05, 60);
            tarif(std, v, "18:00:00", "08:00:00", 0.04, 0, 0);
            zeilen += 2;
        }
        for (int i = 0; zeilen < 450; ++i, zeilen += 2) {
            const std::string v = "02" + std::to_string(300 + i);
            tarif(std, v, "00:00:00", "12:00:00", 0.05, 0, 0);
            tarif(std, v, "12:00:00", "24:00:00", 0, 0.5, 0);
        }
        SQLite::Statement anruf(*db, "INSERT INTO bill (user, username, number, time, duration, lineno) "
                                     "VALUES (?, ?, ?, ?, ?, ?)");
        int n = 0;
        for (const auto& a : beispielStdbill(kAnrufe)) {
            QString nummer = a.number;
            if (!nummer.isEmpty() && ++n % 10 == 0)
                nummer = QStringLiteral("010%1").arg(10 + n % 20) + nummer;
            anruf.bind(1, std::to_string(a.user));
            anruf.bind(2, a.username.toStdString());
            anruf.bind(3, nummer.toStdString());
            anruf.bind(4, stdbillZeit(a.start, StdbillOptionen::Zeit::Iso).toStdString());
            anruf.bind(5, std::to_string(a.duration));
            anruf.bind(6, std::to_string(a.lineno));
            anruf.exec();
            anruf.reset();
        }
        t.commit();
        ordner.state().Steuersatz = QStringLiteral("19");
        ordner.state().Kostenaufschlag = QStringLiteral("1,20");
    }
    std::unique_ptr<SQLite::Database> lokal() const
    {
        return lokaleDatenbankOeffnen(ordner.file(kLokaleDatenbankRelativ));
    }
    TempProgramFolder ordner;
};

Umgebung& umgebung()
{
    static Umgebung e;
    return e;
}

void Pricing(benchmark::State& state)
{
    auto db = umgebung().lokal();
    KeineFragen dialogs;
    KeinEditor editor;
    for (auto _ : state) {
        Bepreisung b(*db, umgebung().ordner.state(), false, dialogs, editor);
        const auto r = b.ausfuehren([](std::int64_t, std::int64_t) { return true; });
        if (r.status != Bepreisungsergebnis::Status::Fertig || r.bearbeitet != kAnrufe)
            state.SkipWithError("pricing did not finish");
    }
}

// ---- the yardstick: every call looked up with fresh queries ----------------

Tarifzeile zeileLesen(SQLite::Statement& q, Tariftabelle t)
{
    auto text = [&](int i) {
        const auto c = q.getColumn(i);
        return c.isNull() ? std::nullopt : std::optional(QString::fromUtf8(c.getString()));
    };
    auto wert = [&](int i) {
        const auto c = q.getColumn(i);
        if (c.isNull())
            return Tarifwert::null();
        if (c.isInteger() || c.isFloat())
            return Tarifwert::von(c.getDouble());
        return Tarifwert::vonText(QString::fromUtf8(c.getString()));
    };
    Tarifzeile z;
    z.tabelle = t;
    z.satz = q.getColumn(0).getInt64();
    z.vorwahl = text(1);
    z.Bezeichnung = text(2);
    z.vonZeit = text(3);
    z.bisZeit = text(4);
    z.Minutenpreis = wert(5);
    z.Pauschale = wert(6);
    z.Sekundentakt = wert(7);
    return z;
}

enum class Ausgang { Weiter, Bepreist, KeinTarif };

// One search of a tariff table with a freshly opened statement.
Ausgang tabelleDurchsuchen(SQLite::Database& db, const std::string& sql, Tariftabelle t, const Preisanruf& a,
                           const QString* vergleich, const Kostensaetze& s, Kosten& k)
{
    SQLite::Statement q(db, sql);
    while (q.executeStep()) {
        const QString vorwahl = QString::fromUtf8(q.getColumn(1).getString());
        if (vergleich && !vergleich->startsWith(vorwahl))
            continue;
        const Tarifzeile z = zeileLesen(q, t);
        if (!z.vonZeit || z.vonZeit->isEmpty() || !z.bisZeit || z.bisZeit->isEmpty())
            return Ausgang::KeinTarif;
        using A = Tarifwert::Art;
        if (z.Minutenpreis.art == A::Null && z.Pauschale.art == A::Null && z.Sekundentakt.art == A::Null)
            return Ausgang::KeinTarif;
        if (ZeitGradberechnen(a, z)) {
            k = tarifberechnung(a, z, s);
            return Ausgang::Bepreist;
        }
    }
    return Ausgang::Weiter;
}

void PerCallQueries(benchmark::State& state)
{
    auto db = umgebung().lokal();
    const Kostensaetze s = Kostensaetze::aus(umgebung().ordner.state(), false);
    const std::string spalten = R"(SELECT satz, vorwahl, Bezeichnung, "von Zeit", "bis Zeit", Minutenpreis, )"
                                "Pauschale, Sekundentakt FROM ";
    for (auto _ : state) {
        SQLite::Transaction t(*db);
        for (const Preisanruf& a : anrufeLesen(*db)) {
            const QString nummer = a.number.value_or(QStringLiteral("unbekannt"));
            if (a.number && a.number->isEmpty()) {
                SQLite::Statement u(*db, "UPDATE bill SET rufziel = ?, costs = 0, ucosts = 0, ucostsBrutto = 0, "
                                         "tarifsatz = 'intern' WHERE rowid = ?");
                u.bind(1, "Internes S0 Gespräch");
                u.bind(2, a.zeile);
                u.exec();
                continue;
            }
            QString vergleich = nummer;
            {
                SQLite::Statement cbc(*db, "SELECT vorwahl FROM CallByCall ORDER BY vorwahl, satz");
                while (cbc.executeStep()) {
                    const QString v = QString::fromUtf8(cbc.getColumn(0).getString());
                    if (nummer.startsWith(v)) {
                        vergleich.replace(v, QString());
                        break;
                    }
                }
            }
            SQLite::Statement v(*db, "UPDATE bill SET vergleichsnummer = ? WHERE rowid = ?");
            v.bind(1, vergleich.toStdString());
            v.bind(2, a.zeile);
            v.exec();
            Kosten k;
            Ausgang aus = tabelleDurchsuchen(*db, spalten + R"(Ortstarif ORDER BY vorwahl, "von Zeit", satz)",
                                             Tariftabelle::Ortstarif, a, &vergleich, s, k);
            if (aus == Ausgang::Weiter)
                aus = tabelleDurchsuchen(*db, spalten + R"(faktor ORDER BY vorwahl, "von Zeit", satz)",
                                         Tariftabelle::faktor, a, &vergleich, s, k);
            if (aus == Ausgang::Weiter && !vergleich.startsWith(QLatin1Char('0')))
                aus = tabelleDurchsuchen(*db, spalten + "Ortstarif ORDER BY satz", Tariftabelle::Ortstarif, a,
                                         nullptr, s, k);
            if (aus != Ausgang::Bepreist)
                continue;
            SQLite::Statement u(*db, "UPDATE bill SET costs = ?, ucosts = ?, ucostsBrutto = ?, rufziel = ?, "
                                     "tarifsatz = ? WHERE rowid = ?");
            u.bind(1, k.costs);
            u.bind(2, k.ucosts);
            u.bind(3, k.ucostsBrutto);
            u.bind(4, k.rufziel.toStdString());
            u.bind(5, k.tarifsatz.toStdString());
            u.bind(6, a.zeile);
            u.exec();
        }
        t.commit();
    }
}

BENCHMARK(Pricing)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(3);
BENCHMARK(PerCallQueries)->Unit(benchmark::kMillisecond)->Iterations(1);

// Keeps the time per iteration (the median where repeated), prints nothing.
class Sammler : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const auto& r : runs) {
            if (r.error_occurred) {
                std::fprintf(stderr, "%s: %s\n", r.run_name.str().c_str(), r.error_message.c_str());
                continue;
            }
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if ((median || r.run_type == Run::RT_Iteration) && r.iterations > 0) {
                const std::string name = r.run_name.function_name;
                if (median || !zeiten.count(name))
                    zeiten[name] = r.real_accumulated_time / static_cast<double>(r.iterations);
            }
        }
    }
    std::map<std::string, double> zeiten;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    umgebung(); // build the database before any timing
    Sammler sammler;
    benchmark::RunSpecifiedBenchmarks(&sammler);
    const double eigen = sammler.zeiten["Pricing"] * 1000;
    const double proAnruf = sammler.zeiten["PerCallQueries"] * 1000;
    std::printf("pricing %d calls: %.0f ms; per-call queries: %.0f ms; ratio %.1f\n", kAnrufe, eigen, proAnruf,
                eigen > 0 ? proAnruf / eigen : 0.0);
    benchmark::Shutdown();
    return 0;
}
