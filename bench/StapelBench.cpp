// The batch command orve-tarifo-bericht on 100,000 calls, run the way a
// scheduled job runs it: the executable on a program folder (demonstration
// settings, example tariffs, a bill.db of 100,000 calls of eight
// extensions), with start checks, import, pricing, the report as PDF and
// the CSV.
//
// Goal: at most 3 x (import + pricing of 100,000 calls) + 10 x (report of
// 10,000 calls). The three yardsticks are the import, pricing and report
// benchmarks themselves, run as child processes in the same run (their
// medians); one line at the end prints every figure and the goal.
#include "help/Demonstration.h"

#include "TempProgramFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace orve;
using namespace orve::test;

namespace {

constexpr int kAnrufe = 100000;

struct Umgebung {
    Umgebung()
    {
        const QString treiber = QCoreApplication::applicationFilePath(); // a file that exists
        demoOrdnerAnlegen(pfad, treiber, treiber);
        // Two months of demonstration calls after the other, until 100,000.
        std::vector<DemoAnruf> alle;
        for (int k = 0; static_cast<int>(alle.size()) < kAnrufe; ++k)
            for (DemoAnruf a : demoAnrufe(kDemoSeed + static_cast<std::uint32_t>(k))) {
                a.start = a.start.addMonths(2 * k);
                alle.push_back(a);
            }
        alle.resize(kAnrufe);
        demoBillSchreiben(pfad + QStringLiteral("/bill.db"), alle);
    }
    TempProgramFolder tmp;
    QString pfad = tmp.file(QStringLiteral("P"));
};

Umgebung& umgebung()
{
    static Umgebung u;
    return u;
}

double g_stapel = 0; // seconds per batch run
qint64 g_seiten = 0;

void Stapel(benchmark::State& state)
{
    const QString pdf = umgebung().tmp.file(QStringLiteral("Bericht.pdf"));
    const QString csv = umgebung().tmp.file(QStringLiteral("Gespraeche.csv"));
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral(ORVE_BERICHT_PROGRAMM),
                {QStringLiteral("--programmordner"), umgebung().pfad, QStringLiteral("--pdf"), pdf,
                 QStringLiteral("--csv"), csv});
        if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            state.SkipWithError(("batch command failed: " + p.readAllStandardError().toStdString()).c_str());
            return;
        }
    }
    QFile f(pdf);
    if (f.open(QIODevice::ReadOnly))
        g_seiten = f.readAll().count("/Type /Page\n");
    state.counters["calls"] = kAnrufe;
    state.counters["pages"] = static_cast<double>(g_seiten);
}

class Sammler : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (!r.error_occurred && r.iterations > 0)
                g_stapel = r.real_accumulated_time / static_cast<double>(r.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
};

// Seconds per iteration of the first benchmark of another bench program
// matching `filter` (its median when repeated); 0 when it did not run.
double kindBenchmark(const char* programm, const char* filter)
{
    const QString json = umgebung().tmp.file(QStringLiteral("kind.json"));
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QString::fromUtf8(programm),
            {QStringLiteral("--benchmark_filter=%1").arg(QLatin1String(filter)),
             QStringLiteral("--benchmark_out=") + json, QStringLiteral("--benchmark_out_format=json")});
    p.waitForFinished(600000);
    QFile f(json);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    double sekunden = 0;
    for (const QJsonValue v :
         QJsonDocument::fromJson(f.readAll()).object().value(QStringLiteral("benchmarks")).toArray()) {
        const QJsonObject b = v.toObject();
        const bool median = b.value(QStringLiteral("aggregate_name")).toString() == QLatin1String("median");
        if (b.value(QStringLiteral("run_type")).toString() == QLatin1String("aggregate") && !median)
            continue;
        const QString einheit = b.value(QStringLiteral("time_unit")).toString();
        const double faktor = einheit == QLatin1String("ms")   ? 1e-3
                              : einheit == QLatin1String("us") ? 1e-6
                              : einheit == QLatin1String("ns") ? 1e-9
                                                               : 1.0;
        sekunden = b.value(QStringLiteral("real_time")).toDouble() * faktor;
        if (median)
            break;
    }
    return sekunden;
}

} // namespace

BENCHMARK(Stapel)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    umgebung(); // the program folder before any timing
    Sammler sammler;
    benchmark::RunSpecifiedBenchmarks(&sammler);
    benchmark::Shutdown();

    const double import = kindBenchmark(ORVE_BENCH_IMPORT, "^Import");
    const double pricing = kindBenchmark(ORVE_BENCH_PRICING, "^Pricing");
    const double bericht = kindBenchmark(ORVE_BENCH_REPORT, "^Report/10000");
    const double ziel = 3 * (import + pricing) + 10 * bericht;
    std::printf(
        "batch command on %d calls (import, pricing, PDF of %lld pages, CSV): %.1f s; import %.2f s, "
        "pricing %.2f s, report of 10,000 calls %.2f s; goal 3 x (import + pricing) + 10 x report = %.1f s: "
        "%s\n",
        kAnrufe, static_cast<long long>(g_seiten), g_stapel, import, pricing, bericht, ziel,
        import > 0 && pricing > 0 && bericht > 0 ? (g_stapel <= ziel ? "met" : "NOT met") : "yardstick missing");
    return 0;
}
