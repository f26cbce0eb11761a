// SPDX-License-Identifier: GPL-3.0-or-later
// The exact engine, pivoting integers over common scales, replayed against
// an engine that pivots plain reduced fractions cell by cell: from the same
// build both take the same pivots, with the same draws, and show the same
// fractions and the same rounded doubles after every step.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "BuildProblem.h"
#include "Comparison.h"
#include "DualSimplex.h"
#include "catalogue/Catalogue.h"
#include "support/RationalExchange.h"

using namespace optimara;
using namespace optimara::testing;

namespace {

// One step of the method with the pivot made on plain fractions: the
// tableau it leaves is written cell by cell, so that the choice that follows
// reads reduced fractions, as before the integer form.
void PlainFractionStep(EngineState& e) {
    if (UsesArtificials(e.Method)) NoteLeavingArtificial(e);
    const PivotCell cell = ChosenCell(e.PivotMarks);
    RationalRows rows = RationalRowsOf(e.ExactTableau);
    RationalExchange(rows, cell.row - 1, cell.col - 1);
    const uint32_t n = e.ExactTableau.cols - 1;
    std::swap(e.Labels.Index(cell.col, 1), e.Labels.Index(n + cell.row, 1));
    e.ExactTableau = MatrixOfRows(rows);
    MatrixR rounded = e.ExactTableau.ToReal();
    e.Tableau.Swap(rounded);
    e.Stage = StageOf(SelectMethodPivot(e));
    e.AtBuild = false;
}

std::vector<int32_t> Flat(const MatrixZ& z) {
    return std::vector<int32_t>(z.RowData(1), z.RowData(1) + size_t(z.rows) * z.cols);
}

// The engine's rounded copy first: a read of the exact cells would fill
// them before the comparison of the quick rounding.
void ExpectSameState(const EngineState& got, const EngineState& want, const std::string& where) {
    ASSERT_EQ(got.Tableau.rows, want.Tableau.rows) << where;
    ASSERT_EQ(got.Tableau.cols, want.Tableau.cols) << where;
    for (uint32_t i = 1; i <= got.Tableau.rows; ++i)
        for (uint32_t j = 1; j <= got.Tableau.cols; ++j)
            ASSERT_EQ(got.Tableau.Index(i, j), want.Tableau.Index(i, j)) << where << " (" << i << "," << j << ")";
    ASSERT_EQ(RationalRowsOf(got.ExactTableau), RationalRowsOf(want.ExactTableau)) << where;
    ASSERT_EQ(got.Stage, want.Stage) << where;
    ASSERT_EQ(Flat(got.PivotMarks), Flat(want.PivotMarks)) << where;
    ASSERT_EQ(Flat(got.Labels), Flat(want.Labels)) << where;
    ASSERT_EQ(got.Random.state, want.Random.state) << where;
    ASSERT_EQ(got.LastDraw, want.LastDraw) << where;
}

// Builds the text exactly and runs both engines side by side to the end.
// Returns the number of steps compared.
int Replay(const ProblemText& text, SolveMethod method, PivotRule rule, const std::string& name) {
    ProblemState state;
    state.Exact = true;
    state.BuildMethod = method;
    state.Method = method;
    state.Rule = rule;
    BuildReport report;
    BuildProblem(state, text, report);
    // Only the dual simplex refuses a start (one that is not dual feasible).
    if (!report.errorPanel.empty()) {
        EXPECT_EQ(report.errorPanel, method == SolveMethod::DualSimplex ? kDualRefusal : "") << name;
        return 0;
    }
    EngineState plain;
    CopyEngineState(state, plain);
    int steps = 0;
    while (state.Stage == SolveStage::Choosing && steps < 200) {
        NextStep(state);
        PlainFractionStep(plain);
        ++steps;
        ExpectSameState(state, plain, name + " step " + std::to_string(steps));
        if (::testing::Test::HasFatalFailure()) return steps;
    }
    return steps;
}

const SolveMethod kMethods[] = {SolveMethod::Compact, SolveMethod::TwoPhases, SolveMethod::BigM,
                                SolveMethod::DualSimplex};
const PivotRule kRules[] = {PivotRule::Random, PivotRule::LargestCoefficient, PivotRule::SmallestIndex};

TEST(ExactReplay, CatalogueTakesTheSamePivotsAndShowsTheSameFractions) {
    int steps = 0;
    for (const auto& p : catalogue::Problems())
        for (SolveMethod method : kMethods)
            for (PivotRule rule : kRules) {
                steps += Replay({p.comboIndex, p.objective, p.lines}, method, rule, p.name);
                if (HasFatalFailure()) return;
            }
    EXPECT_GT(steps, 100);
}

TEST(ExactReplay, GeneratedFamiliesTakeTheSamePivots) {
    std::mt19937 rng(20261209);
    for (const Family& family : Families()) {
        int steps = 0;
        for (int k = 0; k < 6; ++k) {
            const TypedProblem p = family.make(rng);
            const SolveMethod method = kMethods[k % 4];
            steps += Replay(p.text, method, kRules[k % 3], std::string(family.name) + " " + Describe(p));
            if (HasFatalFailure()) return;
        }
        EXPECT_GT(steps, 0) << family.name;
    }
}

// Typed numbers far from 1 either way (10^30 and 10^-30 among them), and
// free variables, which split into two columns.
TEST(ExactReplay, HugeAndTinyNumbersAndFreeVariables) {
    const std::string big = "1" + std::string(30, '0'), tiny = "0." + std::string(29, '0') + "1";
    const std::string huge = "123456789012345678901234567890", small = "0.000000000000000000001";
    const ProblemText texts[] = {
        {1, huge + "x+" + small + "y", {big + "x+y<" + huge, "x+" + small + "y<" + tiny, "x+y<5", "x>0", "y>0"}},
        {0, "x+2y-" + small + "z", {"x+y+z>" + tiny, huge + "x-y<" + big, "x-z<0.5", "y>-3", "z<7"}},
        {1, "2x-y+3z", {"x+y-z<4", "-x+2y+z<" + tiny, "x-y+z>-" + big, "x+y+z<10", "y>0"}},
    };
    int steps = 0;
    for (const ProblemText& text : texts)
        for (SolveMethod method : kMethods)
            for (PivotRule rule : kRules) {
                steps += Replay(text, method, rule, text.objective);
                if (HasFatalFailure()) return;
            }
    EXPECT_GT(steps, 20);
}

} // namespace
