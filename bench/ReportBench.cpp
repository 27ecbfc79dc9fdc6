// The cost report of many calls laid out and written as PDF: reading the
// grouped data from `bill`, pagination and painting of every page.
//   Report/10000   10,000 calls in 20 extensions (goal: under 3 s, peak
//                  memory of the process under 300 MB)
//   Report/40000   four times the calls and pages: the memory beyond the
//                  data must not grow with the pages
// Each case reports the seconds per report, the pages and the peak memory
// (VmHWM, reset before the case); a summary is printed at the end.
#include "common/LokaleDatenbank.h"
#include "report/BerichtDaten.h"
#include "report/Telefonkostenauswertung.h"

#include "BeispielBill.h"
#include "TempProgramFolder.h"

#include <QFile>
#include <QGuiApplication>

#include <SQLiteCpp/SQLiteCpp.h>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>

using namespace orve;
using namespace orve::test;

namespace {

constexpr int kNebenstellen = 20;

struct Ergebnis {
    double sekunden = 0;
    double spitzeMB = 0;
    std::size_t seiten = 0;
};
std::map<int, Ergebnis> g_ergebnisse;

// Peak resident memory of the process in MB (VmHWM), and its reset.
double spitzeMB()
{
    std::ifstream status("/proc/self/status");
    std::string zeile;
    while (std::getline(status, zeile))
        if (zeile.rfind("VmHWM:", 0) == 0)
            return std::stod(zeile.substr(6)) / 1024.0;
    rusage r {};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_maxrss / 1024.0;
}

void spitzeZuruecksetzen()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

void Report(benchmark::State& state)
{
    const int anrufe = static_cast<int>(state.range(0));
    TempProgramFolder ordner;
    const QString datei = ordner.file(QStringLiteral("Datenbank/Bill.sqlite"));
    {
        auto db = lokaleDatenbankOeffnen(datei);
        billSchreiben(*db, beispielBill(anrufe, kNebenstellen));
    }
    const QString pdf = ordner.file(QStringLiteral("Telefonkostenauswertung.pdf"));
    const BerichtOptionen optionen {19, 0, QDate(2009, 4, 1)};
    auto db = lokaleDatenbankOeffnen(datei);

    spitzeZuruecksetzen();
    Ergebnis& e = g_ergebnisse[anrufe];
    for (auto _ : state) {
        const Telefonkostenauswertung bericht(bill_Grouping(*db), optionen);
        berichtAlsPdfSchreiben(bericht, pdf);
        benchmark::DoNotOptimize(e);
    }
    e.spitzeMB = spitzeMB();
    state.counters["peak_MB"] = e.spitzeMB;
    state.counters["calls"] = anrufe;
    QFile f(pdf);
    if (f.open(QIODevice::ReadOnly)) {
        e.seiten = static_cast<std::size_t>(f.readAll().count("/Type /Page\n"));
        state.counters["pages"] = static_cast<double>(e.seiten);
    }
}

class Sammler : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            const int anrufe = static_cast<int>(r.counters.at("calls").value);
            g_ergebnisse[anrufe].sekunden = r.GetAdjustedRealTime() / 1000.0;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

BENCHMARK(Report)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for painting
    benchmark::Initialize(&argc, argv);
    Sammler sammler;
    benchmark::RunSpecifiedBenchmarks(&sammler);
    benchmark::Shutdown();
    for (const auto& [anrufe, e] : g_ergebnisse)
        std::printf("Report of %d calls in %d extensions, %zu pages: %.2f s, peak memory %.0f MB%s\n", anrufe,
                    kNebenstellen, e.seiten, e.sekunden, e.spitzeMB,
                    anrufe == 10000 ? " (goals: under 3 s, under 300 MB)" : "");
    return 0;
}
