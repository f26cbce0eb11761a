// SPDX-License-Identifier: GPL-3.0-or-later
// Exact arithmetic against glpsol's: a dense n x n problem with two-decimal
// data solved to its optimum by "Una Solución" in exact arithmetic, through
// the session and the window's part of it without a window, and the same
// problem solved by `glpsol --exact` from the LP file the program writes.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "LpExport.h"
#include "SessionHost.h"
#include "support/ChildProcess.h"

namespace {

using namespace optimara;

// Two decimals, from (from + 1) hundredths to (from + range) hundredths.
std::string TwoDecimals(uint32_t& seed, uint32_t range, uint32_t from = 0) {
    seed = seed * 1664525u + 1013904223u;
    const uint32_t value = from + 1 + (seed >> 8) % range;
    const std::string cents = std::to_string(100 + value % 100).substr(1);
    return std::to_string(value / 100) + "." + cents;
}

// Maximise c.x subject to A x <= b, x >= 0, every number positive: the
// origin is feasible. Each row weighs its own variable most (5.00 to 9.99,
// the others 0.01 to 0.99), so every variable is positive at the optimum
// and the method takes at least n pivots to reach it, every pivot filling
// the tableau with new fractions.
ProblemText DenseProblem(int n) {
    uint32_t seed = 20261209u + static_cast<uint32_t>(n);
    ProblemText text;
    text.comboIndex = 1;
    std::string signs;
    for (int j = 1; j <= n; ++j) {
        const std::string x = "x" + std::to_string(j);
        text.objective += (j > 1 ? "+" : "") + TwoDecimals(seed, 999) + x;
        signs += (j > 1 ? "," : "") + x;
    }
    for (int i = 1; i <= n; ++i) {
        std::string line;
        for (int j = 1; j <= n; ++j)
            line += (j > 1 ? "+" : "") + (i == j ? TwoDecimals(seed, 499, 500) : TwoDecimals(seed, 99)) + "x" + std::to_string(j);
        text.lines.push_back(line + "<" + TwoDecimals(seed, 9000, 999));
    }
    text.lines.push_back(signs + ">0");
    return text;
}

// The optimum as the session reaches it, exactly, with its pivot count.
bool SolveExactly(const ProblemText& text, mpq_class& optimum, size_t& pivots) {
    SolveSession session;
    session.problem.Exact = true;
    testing::SessionHost host(session, text);
    host.keepEveryCopy = false;  // as the window keeps the steps it does not show
    session.Solve(host.Typed(), host);
    if (session.problem.Stage != SolveStage::Optimal) return false;
    optimum = ExactObjective(session.problem, text.comboIndex == 1);
    pivots = session.Steps.Steps();
    return true;
}

// "Una Solución" in exact arithmetic, from the build to the optimum.
void BM_ExactSolve(benchmark::State& bench) {
    const ProblemText text = DenseProblem(static_cast<int>(bench.range(0)));
    mpq_class optimum;
    size_t pivots = 0;
    for (auto _ : bench)
        if (!SolveExactly(text, optimum, pivots)) bench.SkipWithError("no optimum");
    bench.counters["pivots"] = static_cast<double>(pivots);
    bench.counters["optimum"] = optimum.get_d();
}
BENCHMARK(BM_ExactSolve)->Arg(50)->Arg(60)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);

// The processor time the finished child processes took, in milliseconds:
// glpsol's own, which the benchmark's processor time leaves out.
double ChildrenMs() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

bool GlpsolFound() {
    return testing::RunInChild([] {
               execlp("glpsol", "glpsol", "--version", static_cast<char*>(nullptr));
               std::_Exit(127);
           }).exitStatus == 0;
}

// The last objective value glpsol's exact simplex prints, and its pivots.
bool GlpsolOptimum(const std::string& log, double& optimum, long& pivots) {
    if (log.find("OPTIMAL SOLUTION FOUND") == std::string::npos) return false;
    const size_t at = log.rfind("objval =");
    const size_t star = log.rfind('*', at);
    if (at == std::string::npos || star == std::string::npos) return false;
    optimum = std::strtod(log.c_str() + at + 8, nullptr);
    pivots = std::strtol(log.c_str() + star + 1, nullptr, 10);
    return true;
}

// glpsol's exact simplex, presolver off, on the LP file of the same problem.
// glpsol reads each number as a double and then works exactly; two decimals
// as doubles move the optimum only in the last bits, well within 1e-9.
// Its solution goes to a file of our own: glpsol replaces the file it
// writes, and run as root it would put a plain file in place of /dev/null.
void BM_GlpsolExact(benchmark::State& bench) {
    if (!GlpsolFound()) {
        bench.SkipWithError("glpsol is not installed");
        return;
    }
    const ProblemText text = DenseProblem(static_cast<int>(bench.range(0)));
    mpq_class ours;
    size_t ourPivots = 0;
    if (!SolveExactly(text, ours, ourPivots)) return bench.SkipWithError("no optimum of our own");
    ProblemModel model;
    BuildReport report;
    ModelFromText(model, text, report, true);
    char file[] = "/tmp/optimara-exact-XXXXXX.lp", solution[] = "/tmp/optimara-exact-XXXXXX.txt";
    const int lp = mkstemps(file, 3), sol = mkstemps(solution, 4);
    if (lp < 0 || sol < 0) return bench.SkipWithError("no temporary file");
    close(lp);
    close(sol);
    std::ofstream(file) << LpText(model);
    double optimum = 0;
    long pivots = 0;
    const double before = ChildrenMs();
    for (auto _ : bench) {
        const testing::ChildResult run = testing::RunInChild([&] {
            execlp("glpsol", "glpsol", "--exact", "--nopresol", "--lp", file, "-o", solution,
                   static_cast<char*>(nullptr));
            std::_Exit(127);
        });
        if (!GlpsolOptimum(run.output, optimum, pivots)) {
            bench.SkipWithError("glpsol found no optimum");
            break;
        }
        if (std::fabs(optimum - ours.get_d()) > 1e-9 * std::fabs(ours.get_d())) {
            bench.SkipWithError("glpsol's optimum is not ours");
            break;
        }
    }
    bench.counters["glpsol_cpu_ms"] = (ChildrenMs() - before) / double(bench.iterations());
    std::remove(file);
    std::remove(solution);
    bench.counters["pivots"] = static_cast<double>(pivots);
    bench.counters["our_pivots"] = static_cast<double>(ourPivots);
    bench.counters["optimum"] = optimum;
}
BENCHMARK(BM_GlpsolExact)->Arg(50)->Arg(60)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
