// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts of the display and the forms of the tableau, timed without
// any window.
#include <benchmark/benchmark.h>

#include <bit>
#include <cmath>
#include <random>
#include <vector>

#include "BranchAndBound.h"
#include "BuildProblem.h"
#include "Display.h"
#include "FormView.h"
#include "Notation.h"

namespace {

// The floating text alone, nanoseconds per value: quotients of two-decimal
// numbers as pivoting leaves them in the tableau, half of them scaled across
// the magnitudes the general form switches on, and a few arbitrary patterns.
void BM_FormatGeneral15(benchmark::State& state) {
    std::mt19937_64 rng(99);
    std::uniform_int_distribution<int> cents(1, 99999), scale(-20, 20);
    std::vector<double> values(4096);
    for (size_t i = 0; i < values.size(); ++i) {
        double x = static_cast<double>(cents(rng)) / static_cast<double>(cents(rng));
        if (i % 2 == 1) x *= std::pow(10.0, scale(rng));
        if (i % 16 == 15) do x = std::bit_cast<double>(rng()); while (!std::isfinite(x));
        values[i] = (rng() & 1) ? -x : x;
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(optimara::FormatGeneral15(values[i], "."));
        i = (i + 1) % values.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatGeneral15);

// min c.x with A x >= b, x >= 0, n x n, every coefficient a positive
// two-decimal number: the origin is outside the region, so the method first
// looks for a feasible point, and the tableau fills with values that are no
// small fractions.
optimara::ProblemText SquareProblem(int n, uint32_t seed) {
    auto next = [&seed](uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    auto number = [&](uint32_t base, uint32_t range) {
        const uint32_t cents = base * 100 + next(range);
        return std::to_string(cents / 100) + "." + std::to_string(cents % 100 / 10) + std::to_string(cents % 10);
    };
    optimara::ProblemText text;
    text.comboIndex = 0;
    std::string signs;
    for (int j = 1; j <= n; ++j) {
        text.objective += (j > 1 ? "+" : "") + number(1, 900) + "x" + std::to_string(j);
        signs += (j > 1 ? ",x" : "x") + std::to_string(j);
    }
    for (int i = 0; i < n; ++i) {
        std::string line;
        for (int j = 1; j <= n; ++j) line += (j > 1 ? "+" : "") + number(1, 900) + "x" + std::to_string(j);
        text.lines.push_back(line + ">" + number(100, 90000));
    }
    text.lines.push_back(signs + ">0");
    return text;
}

// One step forward from the 50th tableau of the 100 x 100 problem with the
// tableau shown in a form (range 0: 0 compact, 1 full, 2 dictionary, 3
// matrix) and a notation (range 1: 1 floating, 0 rational); the state is put
// back untimed after each step. The compact form is the grid the window
// shows today.
void BM_StepForwardInForm(benchmark::State& bench) {
    using namespace optimara;
    const auto form = static_cast<TableauForm>(bench.range(0));
    const NumberText numbers{bench.range(1) != 0, "."};
    ProblemState start;
    BuildReport report;
    BuildProblem(start, SquareProblem(100, 2124u), report);
    start.ProblemReady = true;
    for (int k = 0; k < 50 && start.Stage == SolveStage::Choosing; ++k) NextStep(start);
    if (start.Stage != SolveStage::Choosing) bench.SkipWithError("the problem ended before the 50th tableau");
    ProblemState state;
    CopyProblemState(start, state);
    size_t cells = 0;
    for (auto _ : bench) {
        NextStep(state);
        if (form == TableauForm::Compact) {
            double point[3] = {0, 0, 0};
            const TableauView view =
                ComputeTableauView(state, true, true, numbers.floating, numbers.separator, point, true);
            cells = view.cells.size();
        } else {
            cells = ComputeFormGrid(state, form, numbers).cells.size();
        }
        benchmark::DoNotOptimize(cells);
        bench.PauseTiming();
        CopyProblemState(start, state);
        bench.ResumeTiming();
    }
    bench.counters["cells"] = static_cast<double>(cells);
}
BENCHMARK(BM_StepForwardInForm)
    ->ArgNames({"form", "floating"})
    ->ArgsProduct({{0, 1, 2, 3}, {1, 0}})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
