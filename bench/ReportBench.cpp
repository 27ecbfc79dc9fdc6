// The cost report of many calls laid out and written as PDF: reading the
// grouped data from `bill`, pagination and painting of every page.
//   Report/10000   10,000 calls in 20 extensions (goal: under 3 s, peak
//                  memory of the process under 300 MB)
//   Report/40000   four times the calls and pages: the memory beyond the
//                  data must not grow with the pages
// Each case reports the seconds per report, the pages and the peak memory
// (VmHWM, reset before the case).
//   JeNebenstelle/10000   the same 10,000 calls written as one PDF and CSV
//                  per extension (jeNebenstelleSchreiben) against the one
//                  PDF of all, by turns in each of 7 rounds: the medians
//                  and their ratio (goal: at most 1.5), also of the
//                  processor time
// A summary is printed at the end.
#include "common/LokaleDatenbank.h"
#include "report/BerichtDaten.h"
#include "report/JeNebenstelle.h"
#include "report/Telefonkostenauswertung.h"

#include "BeispielBill.h"
#include "TempProgramFolder.h"

#include <QFile>
#include <QGuiApplication>

#include <SQLiteCpp/SQLiteCpp.h>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
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
// Seconds of each round, on the clock and of the processor: on a machine that other work keeps busy, the second shows
// the work itself.
struct Runden {
    std::vector<double> uhr, prozessor;
};
Runden g_einPdf, g_jeNebenstelle;

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

double median(std::vector<double> werte)
{
    if (werte.empty())
        return 0;
    std::sort(werte.begin(), werte.end());
    const std::size_t m = werte.size() / 2;
    return werte.size() % 2 ? werte[m] : (werte[m - 1] + werte[m]) / 2;
}

void JeNebenstelle(benchmark::State& state)
{
    const int anrufe = static_cast<int>(state.range(0));
    TempProgramFolder ordner;
    const QString datei = ordner.file(QStringLiteral("Datenbank/Bill.sqlite"));
    auto db = lokaleDatenbankOeffnen(datei);
    billSchreiben(*db, beispielBill(anrufe, kNebenstellen));
    BerichtOptionen optionen {19, 0, QDate(2009, 4, 1)};
    optionen.zeitraumOrdner = QStringLiteral("2009-03");
    const Telefonkostenauswertung bericht(bill_Grouping(*db), optionen);
    const QString pdf = ordner.file(QStringLiteral("Telefonkostenauswertung.pdf"));
    bool zuerstEinPdf = true;
    for (auto _ : state) {
        // By turns, so that a machine busy for a while slows both alike.
        for (int teil = 0; teil < 2; ++teil) {
            const bool einPdf = (teil == 0) == zuerstEinPdf;
            const auto beginn = std::chrono::steady_clock::now();
            const std::clock_t prozessor = std::clock();
            if (einPdf)
                berichtAlsPdfSchreiben(bericht, pdf);
            else
                jeNebenstelleSchreiben(bericht, ordner.path());
            Runden& r = einPdf ? g_einPdf : g_jeNebenstelle;
            r.uhr.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - beginn).count());
            r.prozessor.push_back(double(std::clock() - prozessor) / CLOCKS_PER_SEC);
            if (!einPdf)
                state.SetIterationTime(r.uhr.back());
        }
        zuerstEinPdf = !zuerstEinPdf;
    }
    state.counters["one_PDF_ms"] = median(g_einPdf.uhr) * 1000;
}

class Sammler : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (const auto c = r.counters.find("calls"); c != r.counters.end())
                g_ergebnisse[static_cast<int>(c->second.value)].sekunden = r.GetAdjustedRealTime() / 1000.0;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

BENCHMARK(Report)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(JeNebenstelle)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(7)->UseManualTime();

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
    if (!g_jeNebenstelle.uhr.empty()) {
        const double ein = median(g_einPdf.uhr), je = median(g_jeNebenstelle.uhr);
        std::printf("10000 calls in %d extensions, medians of %zu rounds: one PDF %.0f ms; one PDF and CSV per "
                    "extension %.0f ms; ratio %.2f (goal: at most 1.5); processor time %.0f ms and %.0f ms, ratio "
                    "%.2f\n",
                    kNebenstellen, g_jeNebenstelle.uhr.size(), ein * 1000, je * 1000, je / ein,
                    median(g_einPdf.prozessor) * 1000, median(g_jeNebenstelle.prozessor) * 1000,
                    median(g_jeNebenstelle.prozessor) / median(g_einPdf.prozessor));
    }
    return 0;
}
