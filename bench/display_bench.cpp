// SPDX-License-Identifier: GPL-3.0-or-later
// Number texts of the display, timed without any window.
#include <benchmark/benchmark.h>

#include <bit>
#include <cmath>
#include <random>
#include <vector>

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

} // namespace

BENCHMARK_MAIN();
