// Speed of moving 100,000 calls into the local database, each measured
// against the plain SQL copy of the same rows in the same run:
//   Import   the import into `bill` with the list model, from an SQLite
//            stdbill (goal: at most 3 times the plain copy)
//   Paradox  the copy of a Paradox table into the staging table `paradox`,
//            reading the file included (goal: at most 5 times the plain copy)
//   PlainCopy  INSERT INTO bill SELECT ... FROM stdbill, attached, through SQLite
// At the end the ratios are printed.
#include "calls/AnrufListe.h"
#include "calls/ParadoxKopie.h"
#include "calls/TkBillImport.h"

#include "SourceBuilders.h"

#include <QCoreApplication>
#include <QFile>

#include <SQLiteCpp/SQLiteCpp.h>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

using namespace orve;
using namespace orve::test;

namespace {

constexpr int kAnrufe = 100000;

// One program folder with both kinds of source, built once.
struct Umgebung {
    Umgebung()
    {
        u.sqlite(beispielStdbill(kAnrufe), {StdbillOptionen::User::Integer, StdbillOptionen::Zeit::Deutsch});
        paradoxDatei = u.ordner.file(QStringLiteral("px/bill.db"));
        QDir().mkpath(QFileInfo(paradoxDatei).absolutePath());
        schreibeParadoxBill(paradoxDatei, beispielAnrufe(kAnrufe));
    }
    QuellUmgebung u;
    QString paradoxDatei;
};

Umgebung& umgebung()
{
    static Umgebung e;
    return e;
}

void PlainCopy(benchmark::State& state, bool sortiert)
{
    Umgebung& e = umgebung();
    auto db = e.u.lokal();
    SQLite::Statement anhaengen(*db, "ATTACH DATABASE ? AS tk");
    anhaengen.bind(1, QFile::encodeName(e.u.billDatei()).toStdString());
    anhaengen.exec();
    const std::string kopie = std::string("INSERT INTO bill (time, user, username, number, duration, lineno) "
                                          "SELECT time, user, username, number, duration, lineno FROM tk.stdbill")
                              + (sortiert ? " ORDER BY user, time" : "");
    int zeilen = 0;
    for (auto _ : state) {
        SQLite::Transaction t(*db);
        db->exec("DELETE FROM bill");
        zeilen = db->exec(kopie);
        t.commit();
    }
    state.counters["calls"] = zeilen;
}

void Import(benchmark::State& state)
{
    Umgebung& e = umgebung();
    std::int64_t anzahl = 0;
    for (auto _ : state) {
        AnrufListe liste;
        const auto ergebnis =
            tkBillEinlesen(e.u.state(), e.u.quellen, QStringLiteral("alle"), QStringLiteral("alle"), liste);
        anzahl = ergebnis.anzahl;
        benchmark::DoNotOptimize(liste.rowCount());
    }
    state.counters["calls"] = static_cast<double>(anzahl);
}

void Paradox(benchmark::State& state)
{
    Umgebung& e = umgebung();
    auto db = e.u.lokal();
    std::int64_t anzahl = 0;
    for (auto _ : state) {
        const auto tabelle = orve::paradox::ParadoxTabelle::oeffnen(e.paradoxDatei);
        anzahl = paradoxKopieren(tabelle, *db).uebernommen;
    }
    state.counters["records"] = static_cast<double>(anzahl);
}

// The peak memory a Paradox start adds on a table file of 2 GB (sparse on
// disk, 100 records in its first blocks): the reader keeps only the header
// and one block, so the goal is well under 200 MB.
double paradoxStartSpitzeMB()
{
    TempProgramFolder ordner;
    ParadoxOptionen o;
    o.blockKB = 32; // block numbers reach 2 GB
    ordner.writeFile(QStringLiteral("gross/bill.db"),
                     paradoxTabelle(paradoxBillFelder(), paradoxBillZeilen(beispielAnrufe(100)), o));
    const QString datei = ordner.file(QStringLiteral("gross/bill.db"));
    if (!QFile::resize(datei, qint64 {2} << 30))
        return -1;
    auto db = lokaleDatenbankOeffnen(ordner.file(kLokaleDatenbankRelativ));
    rusage vorher {};
    getrusage(RUSAGE_SELF, &vorher);
    const auto tabelle = orve::paradox::ParadoxTabelle::oeffnen(datei);
    const auto kopiert = paradoxKopieren(tabelle, *db).uebernommen;
    rusage nachher {};
    getrusage(RUSAGE_SELF, &nachher);
    return kopiert == 100 ? (nachher.ru_maxrss - vorher.ru_maxrss) / 1024.0 : -1;
}

// Five repetitions each; the ratios use the medians, which other work on
// the machine disturbs least.
BENCHMARK_CAPTURE(PlainCopy, Unsorted, false)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);
BENCHMARK_CAPTURE(PlainCopy, Sorted, true)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);
BENCHMARK(Import)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);
BENCHMARK(Paradox)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);

// Keeps the median time per iteration of every benchmark for the ratios.
class Sammler : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const auto& r : runs)
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median" && r.iterations > 0)
                zeiten[r.run_name.str()] = r.real_accumulated_time / static_cast<double>(r.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> zeiten;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const double spitze = paradoxStartSpitzeMB(); // first, while the peak is still low
    umgebung();                                   // build the sources before any timing
    Sammler sammler;
    benchmark::RunSpecifiedBenchmarks(&sammler);
    // Names carry their settings after the name ("Import/min_time:2.000").
    auto zeit = [&](const std::string& n) {
        for (const auto& [name, t] : sammler.zeiten)
            if (name == n || name.rfind(n + "/", 0) == 0)
                return t;
        return 0.0;
    };
    const double plain = zeit("PlainCopy/Unsorted");
    const double plainSortiert = zeit("PlainCopy/Sorted");
    const double import = zeit("Import");
    const double paradox = zeit("Paradox");
    std::printf("\n%d calls\n", kAnrufe);
    std::printf("medians of 5 repetitions\n");
    std::printf("plain SQL copy            %8.1f ms\n", plain * 1000);
    std::printf("plain SQL copy, sorted    %8.1f ms\n", plainSortiert * 1000);
    if (plain > 0 && import > 0)
        std::printf("import with list model    %8.1f ms  = %.2f x plain copy (goal <= 3), %.2f x sorted copy\n",
                    import * 1000, import / plain, plainSortiert > 0 ? import / plainSortiert : 0.0);
    if (plain > 0 && paradox > 0)
        std::printf("Paradox copy              %8.1f ms  = %.2f x plain copy (goal <= 5)\n", paradox * 1000,
                    paradox / plain);
    std::printf("Paradox start on a 2 GB table: %+.1f MB peak memory (goal < 200 MB)\n", spitze);
    benchmark::Shutdown();
    return 0;
}
