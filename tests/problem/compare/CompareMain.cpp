// SPDX-License-Identifier: GPL-3.0-or-later
// The whole comparison with glpsol: every family, many problems each, with
// the mean and the largest number of pivots per family. Exit status 1 when
// any run disagrees. Arguments: problems per family (750), seed, pivot rule
// (0 random, 1 largest coefficient, 2 smallest index), method (0 compact,
// 1 two phases, 2 big M).
#include <cstdio>
#include <cstdlib>

#include "Comparison.h"

using namespace optimara;
using namespace optimara::testing;

int main(int argc, char** argv) {
    const int perFamily = argc > 1 ? std::atoi(argv[1]) : 750;
    const unsigned seed = argc > 2 ? unsigned(std::strtoul(argv[2], nullptr, 10)) : 20261208u;
    const int rule = argc > 3 ? std::atoi(argv[3]) : 0;
    const int method = argc > 4 ? std::atoi(argv[4]) : 0;
    if (rule < 0 || rule > 2 || method < 0 || method > 2) {
        std::puts("the pivot rule is 0, 1 or 2; the method 0, 1 or 2");
        return 1;
    }
    if (!GlpsolAvailable()) {
        std::puts("glpsol is not installed (package glpk-utils)");
        return 1;
    }
    RandomGenerator random;
    int failures = 0, total = 0;
    std::printf("%-32s %8s %8s %8s %8s %10s %8s %8s\n", "family", "problems", "optimal", "infeas.", "unbound.",
                "mean piv.", "max piv.", "failed");
    for (const Family& family : Families()) {
        std::mt19937 rng(seed);
        std::map<LpStatus, int> seen;
        long pivots = 0;
        int most = 0, failed = 0;
        for (int k = 0; k < perFamily; ++k) {
            const TypedProblem p = family.make(rng);
            const CompareResult r = CompareOne(p, random, static_cast<PivotRule>(rule), static_cast<SolveMethod>(method));
            ++seen[r.ours];
            pivots += r.pivots;
            most = std::max(most, r.pivots);
            if (!r.failure.empty()) {
                if (++failed <= 5) std::printf("  FAIL %s #%d: %s\n    %s\n", family.name, k, r.failure.c_str(), Describe(p).c_str());
            }
        }
        std::printf("%-32s %8d %8d %8d %8d %10.1f %8d %8d\n", family.name, perFamily, seen[LpStatus::Optimal],
                    seen[LpStatus::Infeasible], seen[LpStatus::Unbounded], double(pivots) / perFamily, most, failed);
        std::fflush(stdout);
        failures += failed;
        total += perFamily;
    }
    std::printf("%d problems, %d failed\n", total, failures);
    return failures == 0 ? 0 : 1;
}
