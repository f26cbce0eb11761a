// SPDX-License-Identifier: GPL-3.0-or-later
// The deterministic pivot rules through the solve button's own path: the
// largest coefficient walks every vertex of the Klee-Minty cube, and both
// rules end, in agreement with glpsol, on every generated family.
#include <gtest/gtest.h>

#include <cmath>

#include "Comparison.h"

namespace optimara::testing {
namespace {

// max sum 2^(n-j) x_j, sum_{j<i} 2^(i-j+1) x_j + x_i <= 5^i, x >= 0.
ProblemText KleeMintyCube(int n) {
    ProblemText text;
    text.comboIndex = 1;
    for (int j = 1; j <= n; ++j)
        text.objective += (j > 1 ? "+" : "") + std::to_string(1 << (n - j)) + "x" + std::to_string(j);
    for (int i = 1; i <= n; ++i) {
        std::string line;
        for (int j = 1; j < i; ++j) line += std::to_string(1 << (i - j + 1)) + "x" + std::to_string(j) + "+";
        line += "x" + std::to_string(i) + "<" + std::to_string(static_cast<long>(std::pow(5, i)));
        text.lines.push_back(line);
    }
    for (int j = 1; j <= n; ++j) text.lines.push_back("x" + std::to_string(j) + ">0");
    return text;
}

TEST(PivotRules, LargestCoefficientVisitsEveryVertexOfTheKleeMintyCube) {
    for (int n : {3, 4}) {
        HeadlessHost host;
        host.text = KleeMintyCube(n);
        host.state.Rule = PivotRule::LargestCoefficient;
        Button1Click(host);
        EXPECT_EQ(host.statusPanel, "Hecho");
        EXPECT_EQ(host.steps - 1, (1 << n) - 1) << "n = " << n;
        EXPECT_EQ(host.state.Tableau.Index(host.state.Tableau.rows, host.state.Tableau.cols), std::pow(5, n));
        // Bland's rule needs fewer here; the draw never runs.
        HeadlessHost bland;
        bland.text = KleeMintyCube(n);
        bland.state.Rule = PivotRule::SmallestIndex;
        Button1Click(bland);
        EXPECT_EQ(bland.statusPanel, "Hecho");
        EXPECT_LT(bland.steps - 1, (1 << n) - 1);
        EXPECT_EQ(bland.state.Random.state, 1u);
    }
}

TEST(PivotRules, BothRulesEndOnEveryFamilyInAgreementWithGlpsol) {
    ASSERT_TRUE(GlpsolAvailable()) << "glpsol is not installed (package glpk-utils)";
    for (PivotRule rule : {PivotRule::SmallestIndex, PivotRule::LargestCoefficient}) {
        RandomGenerator random;
        for (const Family& family : Families()) {
            std::mt19937 rng(20261209u);
            // The degenerate families are where a rule may cycle.
            const bool degenerate = std::string(family.name) == "degenerate" ||
                                    std::string(family.name) == "mostly equalities";
            for (int k = 0; k < (degenerate ? 40 : 8); ++k) {
                const TypedProblem p = family.make(rng);
                const CompareResult r = CompareOne(p, random, rule);
                EXPECT_EQ(r.failure, "") << int(rule) << " " << family.name << " #" << k << ": " << Describe(p);
            }
        }
        EXPECT_EQ(random.state, 1u) << "a deterministic rule drew";
    }
}

} // namespace
} // namespace optimara::testing
