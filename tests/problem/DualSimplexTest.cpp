// SPDX-License-Identifier: GPL-3.0-or-later
// The dual simplex through the solve button: the textbook case worked by
// hand, a row that proves infeasibility, the refusal of a start that is not
// dual feasible, and the compare families that start dual feasible against
// glpsol.
#include <gtest/gtest.h>

#include "Comparison.h"
#include "TestHelpers.h"
#include "DualSimplex.h"
#include "SessionHost.h"

namespace optimara::testing {
namespace {

struct DualRun {
    HeadlessHost host;
    explicit DualRun(const ProblemText& text, bool exact, PivotRule rule = PivotRule::LargestCoefficient) {
        host.text = text;
        host.state.Exact = exact;
        host.state.Rule = rule;
        host.state.Method = SolveMethod::DualSimplex;
        host.state.BuildMethod = SolveMethod::DualSimplex;
        Button1Click(host);
    }
    SolutionReading Reading() {
        return ReadSolution(host.state.Tableau, host.state.Labels, host.state.SignMarks, host.text.comboIndex == 1);
    }
};

const ProblemText kTextbook{0, "2x+3y", {"x+y>4", "x+3y>6", "x>0", "y>0"}};

TEST(DualSimplex, TextbookMinimumInTwoPivotsInBothNumberTypes) {
    for (bool exact : {false, true})
        for (PivotRule rule : {PivotRule::LargestCoefficient, PivotRule::SmallestIndex, PivotRule::Random}) {
            DualRun run(kTextbook, exact, rule);
            ASSERT_EQ(run.host.errorPanel, "");
            EXPECT_EQ(run.host.statusPanel, "Hecho");
            const SolutionReading r = run.Reading();
            EXPECT_DOUBLE_EQ(r.objective, 9.0);
            EXPECT_DOUBLE_EQ(r.values.at(0), 3.0);
            EXPECT_DOUBLE_EQ(r.values.at(1), 1.0);
            if (rule == PivotRule::LargestCoefficient) {
                EXPECT_EQ(run.host.steps - 1, 2) << exact;
            }
            if (exact) {
                EXPECT_EQ(ExactObjective(run.host.state, false), 9);
            }
        }
}

// The first choice, worked by hand: x+3y>=6 is the most infeasible row
// ("Solución" -6), and y enters at the dual ratio 3/3 = 1 (x's is 2/1).
TEST(DualSimplex, FirstChoiceTakesTheMostInfeasibleRowAndTheSmallestDualRatio) {
    Outcome out;
    out.state.Method = SolveMethod::DualSimplex;
    out.state.BuildMethod = SolveMethod::DualSimplex;
    out.state.Rule = PivotRule::LargestCoefficient;
    BuildProblem(out.state, kTextbook, out.report);
    ASSERT_EQ(out.report.errorPanel, "");
    const PivotCell chosen = ChosenCell(out.state.PivotMarks);
    EXPECT_EQ(chosen, (PivotCell{2, 2}));
    // The candidates: row 1 ties nothing (x 2, y 3: x), row 2 takes y.
    EXPECT_EQ(out.state.CandidateCount, 2);
    EXPECT_EQ(out.state.PivotMarks.Index(1, 1), 1);
    bool proof = true;
    const auto rows = ExamineDualRows(out.state.Tableau, proof);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_FALSE(proof);
    EXPECT_DOUBLE_EQ(rows[1].value, -6.0);
    EXPECT_DOUBLE_EQ(rows[1].ratio, 1.0);
}

TEST(DualSimplex, ARowWithoutANegativeEntryEndsNoFactible) {
    // x+y >= 5 cannot hold with x+y <= 2 (a row with no entry of the right
    // sign appears after one pivot).
    const ProblemText text{0, "x+y", {"x+y>5", "x+y<2", "x>0", "y>0"}};
    for (bool exact : {false, true}) {
        DualRun run(text, exact);
        EXPECT_EQ(run.host.errorPanel, "");
        EXPECT_EQ(run.host.statusPanel, "No factible") << exact;
    }
}

TEST(DualSimplex, AStartThatIsNotDualFeasibleIsRefusedWithTheReason) {
    for (bool exact : {false, true}) {
        DualRun run({1, "2x+3y", {"x+y<4", "x>0", "y>0"}}, exact);
        EXPECT_EQ(run.host.errorPanel, kDualRefusal);
        EXPECT_FALSE(run.host.state.ProblemReady);
        EXPECT_EQ(run.host.steps, 1);  // the build only
    }
    MatrixR t(2, 3);
    t.Index(2, 1) = -1;
    t.Index(2, 2) = 0;
    EXPECT_TRUE(DualFeasible(t));
    t.Index(2, 2) = 1e-3;
    EXPECT_FALSE(DualFeasible(t));
}

// The session's chosen method reaches the build; a problem being solved
// keeps its own, and a refused start is solved by nothing.
TEST(DualSimplex, TheSessionsMethodAppliesFromTheNextBuild) {
    SolveSession session;
    session.SetRule(PivotRule::LargestCoefficient);
    SessionHost host(session, kTextbook);
    session.Step(host.Typed(), host);  // built by the compact method
    EXPECT_EQ(session.problem.Method, SolveMethod::Compact);
    session.SetMethod(SolveMethod::DualSimplex);
    session.Step(host.Typed(), host);  // a pivot of the compact method's solve
    EXPECT_EQ(session.problem.Method, SolveMethod::Compact);
    session.Solve(host.Typed(), host);
    session.Solve(host.Typed(), host);  // from the optimum: built again, by the dual simplex
    EXPECT_EQ(session.problem.Method, SolveMethod::DualSimplex);
    EXPECT_EQ(session.Stage(), SolveStage::Optimal);
    EXPECT_EQ(session.Steps.Steps(), 2u);
    EXPECT_EQ(session.MethodRefusal(), "");

    SolveSession refusing;
    refusing.SetMethod(SolveMethod::DualSimplex);
    SessionHost other(refusing, {1, "x+y", {"x+y<4", "x>0", "y>0"}});
    refusing.Solve(other.Typed(), other);
    EXPECT_EQ(refusing.MethodRefusal(), kDualRefusal);
    EXPECT_FALSE(refusing.Ready());
}

// Every family's problems whose start is dual feasible, with the dual
// simplex under each rule, reach glpsol's status and optimum.
TEST(DualSimplex, FamiliesThatStartDualFeasibleAgreeWithGlpsol) {
    ASSERT_TRUE(GlpsolAvailable());
    RandomGenerator random;
    int solved = 0;
    std::map<LpStatus, int> seen;
    for (const Family& family : Families()) {
        std::mt19937 rng(20261209u);
        for (int k = 0; k < 12; ++k) {
            const TypedProblem p = family.make(rng);
            Outcome start;
            BuildProblem(start.state, p.text, start.report);
            if (!start.report.errorPanel.empty() || !DualFeasible(start.state.Tableau)) continue;
            const PivotRule rule = PivotRule(k % 3);
            const CompareResult r = CompareOne(p, random, rule, SolveMethod::DualSimplex);
            EXPECT_EQ(r.failure, "") << family.name << " #" << k << ": " << Describe(p);
            ++solved;
            ++seen[r.ours];
        }
    }
    EXPECT_GE(solved, 15);
    EXPECT_GE(seen[LpStatus::Optimal], 10);
    EXPECT_GE(seen[LpStatus::Infeasible], 1);
}

} // namespace
} // namespace optimara::testing
