// SPDX-License-Identifier: GPL-3.0-or-later
// A line added at an optimum, through the session as the window adds it:
// the new optimum (or "No factible") against glpsol on the problem typed
// with the line, in both number types, and the step back over the addition.
#include <gtest/gtest.h>

#include "Comparison.h"
#include "LpExport.h"
#include "SessionHost.h"

namespace optimara::testing {
namespace {

struct Added {
    ProblemText text;
    std::string line;
};

const std::vector<Added>& Cases() {
    static const std::vector<Added> cases = {
        {{1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}}, "x<3"},
        {{1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}}, "x+y>5"},
        {{1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}}, "x-y=1"},
        {{1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}}, "y<1"},  // already satisfied
        {{0, "2x+3y", {"x+y>4", "x+3y>6", "x>0", "y>0"}}, "x+2y>7"},
        {{1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0"}}, "y<1"},
        {{1, "x+y", {"x+2y<4", "3x+y<6", "y>0"}}, "x,y>0.5"},
        {{1, "x+y+z", {"x+y+2z<8", "2x+z<5", "y+z<4", "x>0", "y>0", "z>0"}}, "x+y+z<5.5"},
    };
    return cases;
}

LpAnswer GlpsolWithTheLine(const Added& c) {
    ProblemText typed = c.text;
    typed.lines.push_back(c.line);
    ProblemModel model;
    BuildReport report;
    EXPECT_TRUE(ModelFromText(model, typed, report, true)) << report.errorPanel;
    return ParseAnswer(RunGlpsol(LpText(model), "--exact").output);
}

TEST(AddConstraint, TheNewOptimumIsGlpsolsOnTheProblemTypedWithTheLine) {
    ASSERT_TRUE(GlpsolAvailable());
    for (const Added& c : Cases())
        for (bool exact : {false, true}) {
            SolveSession session;
            session.problem.Exact = exact;
            SessionHost host(session, c.text);
            session.Solve(host.Typed(), host);
            ASSERT_EQ(session.Stage(), SolveStage::Optimal) << c.text.objective;
            const size_t rows = session.problem.Tableau.rows;
            ASSERT_EQ(session.AddConstraint(c.line, host), "") << c.line;
            EXPECT_EQ(session.problem.Method, SolveMethod::DualSimplex);
            EXPECT_GT(session.problem.Tableau.rows, rows);
            if (session.Running()) session.Solve(host.Typed(), host);
            const LpAnswer glpk = GlpsolWithTheLine(c);
            const std::string what = c.text.objective + " + " + c.line + (exact ? " exact" : "");
            if (glpk.status == LpStatus::Infeasible) {
                EXPECT_EQ(session.Stage(), SolveStage::Infeasible) << what;
                continue;
            }
            ASSERT_EQ(glpk.status, LpStatus::Optimal) << what;
            ASSERT_EQ(session.Stage(), SolveStage::Optimal) << what;
            const SolutionReading r = ReadSolution(session.problem.Tableau, session.problem.Labels,
                                                   session.problem.SignMarks, c.text.comboIndex == 1);
            EXPECT_NEAR(r.objective, glpk.objective, 1e-8 * std::max(1.0, std::fabs(glpk.objective))) << what;
        }
}

TEST(AddConstraint, StepsBackOverTheAdditionToTheOptimumBeforeIt) {
    const Added& c = Cases().front();
    SolveSession session;
    SessionHost host(session, c.text);
    session.Solve(host.Typed(), host);
    const size_t optimumStep = session.Steps.Steps();
    const uint32_t rows = session.problem.Tableau.rows;
    const size_t modelRows = session.problem.Model.rows.size(), planes = session.problem.ConstraintPlanes.rows;
    ASSERT_EQ(session.AddConstraint(c.line, host), "");
    EXPECT_EQ(session.problem.Model.slackNames.back(), "h3");
    EXPECT_EQ(session.problem.ConstraintPlanes.rows, planes + 1);
    session.Solve(host.Typed(), host);
    EXPECT_EQ(session.Steps.Steps(), optimumStep + 2);  // the addition and one dual pivot
    session.Back();
    EXPECT_EQ(session.Stage(), SolveStage::Choosing);
    EXPECT_EQ(session.problem.Tableau.rows, rows + 1);
    session.Back();
    EXPECT_EQ(session.Stage(), SolveStage::Optimal);
    EXPECT_EQ(session.problem.Tableau.rows, rows);
    EXPECT_EQ(session.problem.Method, SolveMethod::Compact);
    EXPECT_EQ(session.problem.Model.rows.size(), modelRows);
    EXPECT_EQ(session.problem.ConstraintPlanes.rows, planes);
    session.Back();  // and further back, by the compact method's own replay
    EXPECT_EQ(session.Steps.Steps(), optimumStep - 1);
}

TEST(AddConstraint, RefusedAwayFromAnOptimumOrWithAnotherVariable) {
    const ProblemText text{1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}};
    SolveSession session;
    SessionHost host(session, text);
    EXPECT_EQ(session.AddConstraint("x<3", host), kAddNeedsOptimum);
    session.Step(host.Typed(), host);  // the build: not yet optimal
    EXPECT_EQ(session.AddConstraint("x<3", host), kAddNeedsOptimum);
    session.Solve(host.Typed(), host);
    EXPECT_EQ(session.AddConstraint("x+w<3", host), kAddUnknownVariable);
    EXPECT_EQ(session.AddConstraint("x<", host), kError12);
    EXPECT_EQ(session.Stage(), SolveStage::Optimal);
}

// The search through the session with "Nodos desde el padre": the same
// integer optimum, nodes started from their parents, each node's steps
// starting at its first tableau so that the step back stays within it.
TEST(AddConstraint, NodesFromTheParentThroughTheSession) {
    const ProblemText text{1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"}};
    for (bool exact : {false, true}) {
        SolveSession session;
        session.problem.Exact = exact;
        session.SetNodesFromParent(true);
        SessionHost host(session, text);
        EXPECT_EQ(session.Solve(host.Typed(), host), SolveRun::Search);
        const BranchResult& r = session.Branches.Result();
        ASSERT_EQ(r.stage, SolveStage::Optimal);
        EXPECT_DOUBLE_EQ(r.nodes.at(size_t(r.best - 1)).value, 20.0);
        int fromParent = 0;
        for (const BranchNode& node : r.nodes) {
            fromParent += node.fromParent;
            // Each node's steps: its first tableau and its pivots.
            if (size_t(node.number) <= session.nodeSteps.size())
                EXPECT_EQ(session.nodeSteps[size_t(node.number - 1)].Steps() + 1, size_t(node.steps)) << node.number;
        }
        EXPECT_EQ(fromParent, int(r.nodes.size()) - 1);
        EXPECT_EQ(session.nodeSteps.size(), r.nodes.size());
    }
}

} // namespace
} // namespace optimara::testing
