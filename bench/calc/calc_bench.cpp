// Graph-sized evaluation workload: one y = f(x) curve sampled at the default
// scale and precision (190 mm wide, 100 page units per unit, precision 200:
// 380 samples from x = -9.5 in steps of 0.05), two evaluations per
// sample as the graph window does them: "_X_=<x as the calculator writes
// it>", then the curve text. The same texts go through muparser with each
// text set (and so parsed) anew before it is evaluated. The sample texts are
// made before timing, so only evaluation is measured.
//
// Prints Google Benchmark's table, then evaluations per second of both and
// the ratio. Run bench/calc/run_calc_bench.sh.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <muParser.h>

#include "calc/expr_compo.h"
#include "calc/result_format.h"

namespace {

constexpr const char* kCurve = "2*sin(_X_)+_X_**2-3*_X_/7";
constexpr const char* kMuCurve = "2*sin(_X_)+_X_^2-3*_X_/7";

struct Workload {
    std::vector<std::string> assignments;  // "_X_=-9.5", "_X_=-9.45", ...
};

const Workload& workload() {
    static const Workload w = [] {
        Workload made;
        const long double scale = 100, precision = 200, width = 1900, originX = width / 2;
        const long double step = 1000 / (scale * precision);
        const long double last = (width - originX) / scale;
        for (long double u = (0 - originX) / scale; u <= last; u += step) {
            made.assignments.push_back("_X_=" + tabulo::calc::formatResult(u));
        }
        return made;
    }();
    return w;
}

double tabuloCurve(tabulo::calc::TExprCompo& calc) {
    double sum = 0;
    for (const std::string& assignment : workload().assignments) {
        calc.SetExpression(assignment);
        calc.Execute();
        calc.SetExpression(kCurve);
        calc.Execute();
        sum += static_cast<double>(calc.Valid() ? calc.Value() : 100000);
    }
    return sum;
}

double muparserCurve(mu::Parser& parser) {
    double sum = 0;
    for (const std::string& assignment : workload().assignments) {
        parser.SetExpr(assignment);
        parser.Eval();
        parser.SetExpr(kMuCurve);
        sum += parser.Eval();
    }
    return sum;
}

void BM_TabuloEvaluator(benchmark::State& state) {
    tabulo::calc::TExprCompo calc;
    for (auto _ : state) benchmark::DoNotOptimize(tabuloCurve(calc));
    state.SetItemsProcessed(state.iterations() * 2 * static_cast<long>(workload().assignments.size()));
}
BENCHMARK(BM_TabuloEvaluator);

void BM_MuparserReparsed(benchmark::State& state) {
    mu::Parser parser;
    double x = 0;
    parser.DefineVar("_X_", &x);
    for (auto _ : state) benchmark::DoNotOptimize(muparserCurve(parser));
    state.SetItemsProcessed(state.iterations() * 2 * static_cast<long>(workload().assignments.size()));
}
BENCHMARK(BM_MuparserReparsed);

// Not the graph window's way of working, for scale only: the curve parsed
// once, the variable set directly, one evaluation per sample.
void BM_MuparserCompiledOnce(benchmark::State& state) {
    mu::Parser parser;
    double x = 0;
    parser.DefineVar("_X_", &x);
    parser.SetExpr(kMuCurve);
    std::vector<double> xs;
    for (const std::string& a : workload().assignments) xs.push_back(std::stod(a.substr(4)));
    for (auto _ : state) {
        double sum = 0;
        for (double v : xs) {
            x = v;
            sum += parser.Eval();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(xs.size()));
}
BENCHMARK(BM_MuparserCompiledOnce);

class RateReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const auto it = run.counters.find("items_per_second");
            if (it != run.counters.end()) rates[run.benchmark_name()] = it->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> rates;
};

}  // namespace

int main(int argc, char** argv) {
    // Both engines must compute the same curve, or the comparison means nothing.
    tabulo::calc::TExprCompo calc;
    mu::Parser parser;
    double x = 0;
    parser.DefineVar("_X_", &x);
    const double ours = tabuloCurve(calc);
    const double theirs = muparserCurve(parser);
    if (std::fabs(ours - theirs) > 1e-9 * std::fabs(theirs)) {
        std::fprintf(stderr, "calc_bench: the engines disagree: %.17g vs %.17g\n", ours, theirs);
        return 1;
    }

    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double tabulo = reporter.rates["BM_TabuloEvaluator"];
    const double mu = reporter.rates["BM_MuparserReparsed"];
    const double compiled = reporter.rates["BM_MuparserCompiledOnce"];
    std::printf("\n%zu samples, 2 evaluations each; curve %s\n", workload().assignments.size(), kCurve);
    std::printf("%-36s %16s %8s\n", "engine", "evaluations/s", "ratio");
    std::printf("%-36s %16.0f %8.2f\n", "tabulo TExprCompo", tabulo, 1.0);
    if (mu > 0) std::printf("%-36s %16.0f %8.2f\n", "muparser, text set each time", mu, mu / tabulo);
    if (compiled > 0) {
        std::printf("%-36s %16.0f %8.2f\n", "muparser, parsed once (reference)", compiled, compiled / tabulo);
    }
    if (mu > 0) std::printf("tabulo / muparser re-parsed: %.2f\n", tabulo / mu);
    std::fflush(stdout);
    return 0;
}
