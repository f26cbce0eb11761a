// SPDX-License-Identifier: GPL-3.0-or-later
// One pivot choice plus one pivot step on a dense n x n tableau, beside the
// bare arithmetic of a pivot over the same tableau; and one exact step.
#include <benchmark/benchmark.h>

#include <gmpxx.h>

#include <random>

#include "MatrixQ.h"
#include "Simplex.h"

using namespace optimara;

namespace {

// A feasible dense tableau: every constant negative, positive objective
// entries, so the optimality phase looks at every column.
void Fill(MatrixR& T, uint32_t n) {
    T.Redefine(n + 1, n + 1);
    std::mt19937 rng(42);
    for (uint32_t i = 1; i <= n; ++i) {
        for (uint32_t j = 1; j <= n; ++j) T.Index(i, j) = 1.0 + double(rng() % 9);
        T.Index(i, n + 1) = -100.0 - double(rng() % 50);
    }
    for (uint32_t j = 1; j <= n; ++j) T.Index(n + 1, j) = 1.0 + double(rng() % 5);
}

// A tableau to start every iteration from, with the engine's bookkeeping.
struct Bench {
    MatrixR original{1, 1}, T{1, 1};
    MatrixZ marks{1, 1}, labels{1, 1};
    int32_t count = 0;
    RandomGenerator random;
    explicit Bench(uint32_t n) {
        Fill(original, n);
        labels.Redefine(2 * n, 1);
        for (uint32_t k = 1; k <= 2 * n; ++k) labels.Index(k, 1) = int32_t(k);
    }
};

void SelectAndPivot(benchmark::State& state) {
    Bench b(uint32_t(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        b.T = b.original;
        state.ResumeTiming();
        SelectPivot(b.T, b.marks, b.count, b.random);
        PivotStep(b.T, b.marks, b.count, b.labels);
        benchmark::DoNotOptimize(b.T.Index(1, 1));
    }
}

// The two halves of the same work, apart.
void SelectOnly(benchmark::State& state) {
    Bench b(uint32_t(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(SelectPivot(b.original, b.marks, b.count, b.random));
}

void PivotOnly(benchmark::State& state) {
    Bench b(uint32_t(state.range(0)));
    SelectPivot(b.original, b.marks, b.count, b.random);
    for (auto _ : state) {
        state.PauseTiming();
        b.T = b.original;
        state.ResumeTiming();
        PivotStep(b.T, b.marks, b.count, b.labels);
        benchmark::DoNotOptimize(b.T.Index(1, 1));
    }
}

// The floor: c - (a*b)/p for every entry, written back, nothing else.
void BareArithmetic(benchmark::State& state) {
    const uint32_t n = uint32_t(state.range(0));
    MatrixR original(1, 1), T(1, 1);
    Fill(original, n);
    const uint32_t r = 1, q = 1;
    for (auto _ : state) {
        state.PauseTiming();
        T = original;
        state.ResumeTiming();
        const double p = T.Index(r, q);
        for (uint32_t i = 1; i <= n + 1; ++i) {
            const double a = T.Index(i, q);
            for (uint32_t j = 1; j <= n + 1; ++j) T.Index(i, j) = T.Index(i, j) - (a * T.Index(r, j)) / p;
        }
        benchmark::DoNotOptimize(T.Index(1, 1));
    }
}


// An exact dense tableau of two-decimal data, as the typed problems give it:
// every constant negative (feasible), positive objective entries.
void FillExact(MatrixQ& Q, uint32_t n) {
    Q.Redefine(n + 1, n + 1);
    std::mt19937 rng(7);
    for (uint32_t i = 1; i <= n; ++i) {
        for (uint32_t j = 1; j <= n; ++j) Q.Index(i, j) = mpq_class(100 + int(rng() % 900), 100);
        Q.Index(i, n + 1) = mpq_class(-10000 - int(rng() % 90000), 100);
    }
    for (uint32_t j = 1; j <= n; ++j) Q.Index(n + 1, j) = mpq_class(100 + int(rng() % 900), 100);
}

// One exact step as the engine makes it (pivot, rounded copy, next choice)
// from the tableau after `made` pivots down the diagonal, so that the
// integers have grown as they do in a solve (every pivot brings in another
// row of data).
void ExactStep(benchmark::State& state) {
    const uint32_t n = uint32_t(state.range(0));
    MatrixQ start(1, 1);
    FillExact(start, n);
    MatrixZ marks(1, 1), labels(2 * n, 1);
    for (uint32_t k = 1; k <= 2 * n; ++k) labels.Index(k, 1) = int32_t(k);
    for (uint32_t k = 1; k <= uint32_t(state.range(1)); ++k) {
        MatrixZ at(n, n);
        at.Index(k, k) = 2;
        PivotStep(start, at, 1, labels);
    }
    int32_t count = 0;
    RandomGenerator random;
    if (SelectPivot(start, marks, count, random) != PivotChosen) state.SkipWithError("no pivot to time");
    MatrixQ Q(1, 1);
    for (auto _ : state) {
        state.PauseTiming();
        Q = start;
        MatrixZ m(1, 1), l(2 * n, 1);
        CopyMatrix(marks, m);
        CopyMatrix(labels, l);
        RandomGenerator r = random;
        int32_t c = count;
        state.ResumeTiming();
        PivotStep(Q, m, c, l);
        benchmark::DoNotOptimize(Q.ToReal());
        benchmark::DoNotOptimize(SelectPivot(Q, m, c, r));
    }
}

} // namespace

BENCHMARK(SelectAndPivot)->Arg(50)->Arg(200)->Arg(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(SelectOnly)->Arg(50)->Arg(200)->Arg(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(PivotOnly)->Arg(50)->Arg(200)->Arg(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareArithmetic)->Arg(50)->Arg(200)->Arg(500)->Unit(benchmark::kMicrosecond);
// Sizes and the pivots made before the step: the numbers grow with them.
BENCHMARK(ExactStep)->Args({60, 5})->Args({60, 30})->Args({100, 5})->Args({100, 50})->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
