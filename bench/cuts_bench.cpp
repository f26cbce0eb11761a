// SPDX-License-Identifier: GPL-3.0-or-later
// Gomory's cutting planes in exact arithmetic: 20 cuts on an integer problem
// of 10 variables, each cut derived, appended and re-optimised by the dual
// simplex, through the session's presses over the tests' window-less host.
#include <benchmark/benchmark.h>

#include <string>

#include "SessionHost.h"

namespace {

using namespace optimara;

constexpr int kVariables = 10;
constexpr size_t kCuts = 20;

// Four knapsack rows over ten bounded integer variables, whose relaxation
// is far from whole.
ProblemText TenVariables() {
    ProblemText text;
    text.comboIndex = 1;
    for (int j = 1; j <= kVariables; ++j) text.objective += "+" + std::to_string(7 + (j * 5) % 11) + "x" + std::to_string(j);
    for (int i = 1; i <= 4; ++i) {
        std::string line;
        for (int j = 1; j <= kVariables; ++j) line += "+" + std::to_string(3 + (i * 7 + j * 13) % 17) + "x" + std::to_string(j);
        text.lines.push_back(line + "<" + std::to_string(97 + 13 * i));
    }
    std::string names;
    for (int j = 1; j <= kVariables; ++j) names += (j > 1 ? "," : "") + std::string("x") + std::to_string(j);
    text.lines.push_back(names + ">0");
    text.lines.push_back("entero: " + names);
    return text;
}

void BM_TwentyGomoryCutsExact(benchmark::State& bench) {
    const ProblemText text = TenVariables();
    size_t cuts = 0;
    for (auto _ : bench) {
        SolveSession session;
        session.problem.Exact = true;
        session.SetIntegers(IntegerMethod::Cuts);
        testing::SessionHost host(session, text);
        // Press by press until the 20th cut is re-optimised (or the search ends).
        do session.Step(host.Typed(), host);
        while (session.Cutting() && (session.Cuts().size() < kCuts || session.Running()));
        cuts = session.Cuts().size();
        if (!session.CutRefusal().empty()) bench.SkipWithError(session.CutRefusal().c_str());
    }
    bench.counters["cuts"] = static_cast<double>(cuts);
}
BENCHMARK(BM_TwentyGomoryCutsExact)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
