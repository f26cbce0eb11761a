// SPDX-License-Identifier: GPL-3.0-or-later
// Gomory's cutting planes through the session's presses: the textbook case
// worked by hand, generated integer problems against glpsol as a MIP
// solver in both number types, and the refusal of a mixed problem.
#include <gtest/gtest.h>

#include "BranchAndBound.h"
#include "Comparison.h"
#include "LpExport.h"
#include "SessionHost.h"

namespace optimara::testing {
namespace {

struct CutRun {
    SolveSession session;
    SessionHost host;
    CutRun(const ProblemText& text, bool exact) : host(session, text) {
        session.problem.Exact = exact;
        session.SetIntegers(IntegerMethod::Cuts);
        EXPECT_EQ(session.Solve(host.Typed(), host), SolveRun::Cuts);
    }
    SolutionReading Reading() {
        return ReadSolution(session.problem.Tableau, session.problem.Labels, session.problem.SignMarks,
                            session.problem.Model.maximize);
    }
};

// The relaxation's optimum is (3, 3/2); y's row, y - h1/8 + 3h2/4 = 3/2,
// gives 7/8 h1 + 3/4 h2 >= 1/2, that is 6x + 5y <= 25 over x and y.
TEST(CuttingPlanes, TextbookProblemReachesTwentyFromTheFirstCutWorkedByHand) {
    const ProblemText text{1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"}};
    for (bool exact : {false, true}) {
        CutRun run(text, exact);
        ASSERT_EQ(run.session.Stage(), SolveStage::Optimal);
        EXPECT_FALSE(run.session.Cutting());
        ASSERT_FALSE(run.session.Cuts().empty());
        const GomoryCut& first = run.session.Cuts().front();
        EXPECT_EQ(first.text, "6x + 5y ≤ 25");
        EXPECT_EQ(first.variable, "y");
        EXPECT_EQ(first.value, mpq_class(3, 2));
        // After the two lines and the two sign lines of the picture's rows.
        EXPECT_EQ(first.planeRow, 5u);
        EXPECT_EQ(first.plane, (std::vector<double>{6.0, 5.0, -25.0}));
        for (uint32_t j = 1; j <= 3; ++j)
            EXPECT_DOUBLE_EQ(run.session.problem.ConstraintPlanes.Index(5, j), first.plane[j - 1]);
        const SolutionReading r = run.Reading();
        EXPECT_DOUBLE_EQ(r.objective, 20.0);
        EXPECT_DOUBLE_EQ(r.values[0], 4.0);
        EXPECT_DOUBLE_EQ(r.values[1], 0.0);
        // Every cut is a step, and the steps go back over them.
        const size_t steps = run.session.Steps.Steps();
        run.session.Back();
        EXPECT_EQ(run.session.Steps.Steps(), steps - 1);
    }
}

TEST(CuttingPlanes, AMixedProblemIsRefusedWithTheReasonAtItsRelaxation) {
    CutRun run({1, "x+y", {"2x+2y<3", "x>0", "y>0", "entero: x"}}, false);
    EXPECT_EQ(run.session.CutRefusal(), kCutsNeedIntegers);
    EXPECT_EQ(run.session.Stage(), SolveStage::Optimal);
    EXPECT_TRUE(run.session.Cuts().empty());
}

// Ten knapsack-like variables need more than 50 cuts: the question comes
// after the 50th; a No stops there, and the next press takes the cuts up.
TEST(CuttingPlanes, TheQuestionComesEveryFiftyCuts) {
    ProblemText text{1, "", {}};
    std::string names;
    for (int j = 1; j <= 10; ++j) {
        text.objective += "+" + std::to_string(7 + (j * 5) % 11) + VarName(j);
        names += (j > 1 ? "," : "") + VarName(j);
    }
    for (int i = 1; i <= 4; ++i) {
        std::string line;
        for (int j = 1; j <= 10; ++j) line += "+" + std::to_string(3 + (i * 7 + j * 13) % 17) + VarName(j);
        text.lines.push_back(line + "<" + std::to_string(97 + 13 * i));
    }
    text.lines.push_back(names + ">0");
    text.lines.push_back("entero: " + names);
    SolveSession session;
    session.problem.Exact = true;
    session.SetIntegers(IntegerMethod::Cuts);
    SessionHost host(session, text);
    host.cutQuestionsLeft = 0;
    session.Solve(host.Typed(), host);
    EXPECT_EQ(host.cutQuestions, 1);
    EXPECT_EQ(session.Cuts().size(), 50u);
    EXPECT_TRUE(session.Cutting());
    host.cutQuestionsLeft = 1;
    session.Step(host.Typed(), host);
    EXPECT_EQ(host.cutQuestions, 2);
    EXPECT_EQ(session.Cuts().size(), 51u);
    EXPECT_TRUE(session.Cutting());
}

// Two or three non-negative integer variables, each below a bound, rows
// with whole or half right-hand sides (the slacks are then scaled).
ProblemText RandomInteger(std::mt19937& rng) {
    ProblemText t;
    t.comboIndex = Chance(rng, 0.5) ? 1 : 0;
    const int n = Draw(rng, 2, 3);
    auto side = [&](const std::vector<int>& a) {
        std::string s;
        for (int j = 0; j < n; ++j)
            if (a[size_t(j)] != 0)
                s += (a[size_t(j)] > 0 && !s.empty() ? "+" : "") + std::to_string(a[size_t(j)]) + VarName(j + 1);
        return s;
    };
    std::vector<int> c;
    for (int j = 0; j < n; ++j) c.push_back(Draw(rng, -5, 6));
    if (side(c).empty()) c[0] = 3;
    t.objective = side(c);
    for (int i = Draw(rng, 1, 3); i > 0; --i) {
        std::vector<int> a;
        for (int j = 0; j < n; ++j) a.push_back(Draw(rng, -4, 6));
        if (side(a).empty()) a[0] = 2;
        const char rel = Chance(rng, 0.7) ? '<' : '>';
        t.lines.push_back(side(a) + rel + std::to_string(Draw(rng, 0, 15)) + (Chance(rng, 0.3) ? ".5" : ""));
    }
    std::string integers;
    for (int j = 1; j <= n; ++j) {
        t.lines.push_back(VarName(j) + ">0");
        t.lines.push_back(VarName(j) + "<" + std::to_string(Draw(rng, 1, 6)));
        integers += (integers.empty() ? "" : ",") + VarName(j);
    }
    t.lines.push_back("entero: " + integers);
    return t;
}

TEST(CuttingPlanes, SameEndAndOptimumAsGlpsolAsMipSolver) {
    ASSERT_TRUE(GlpsolAvailable());
    std::mt19937 rng(1209u);
    int optima = 0, empty = 0;
    size_t cuts = 0;
    for (int k = 0; k < 40; ++k) {
        const ProblemText text = RandomInteger(rng);
        ProblemModel model;
        BuildReport report;
        ASSERT_TRUE(ModelFromText(model, text, report)) << report.errorPanel;
        ProblemModel relaxed = model;
        relaxed.integers.clear();
        LpAnswer glpk = ParseAnswer(RunGlpsol(LpText(relaxed), "--exact").output);
        if (glpk.status == LpStatus::Optimal) {
            const std::string out = RunGlpsol(LpText(model), "").output;
            glpk = ParseAnswer(out);
            if (out.find("INTEGER EMPTY") != std::string::npos) glpk.status = LpStatus::Infeasible;
        }
        std::string what = (text.comboIndex ? "Max " : "Min ") + text.objective;
        for (const std::string& l : text.lines) what += " | " + l;
        CutRun run(text, k % 2 == 1);
        cuts += run.session.Cuts().size();
        EXPECT_FALSE(run.session.Cutting()) << what;
        EXPECT_EQ(run.session.CutRefusal(), "") << what;
        ASSERT_EQ(StatusName(StatusOfPanel(run.session.Stage() == SolveStage::Optimal      ? "Hecho"
                                           : run.session.Stage() == SolveStage::Infeasible ? "No factible"
                                                                                           : "Ilimitado")),
                  StatusName(glpk.status))
            << what;
        if (glpk.status != LpStatus::Optimal) {
            ++empty;
            continue;
        }
        ++optima;
        const SolutionReading r = run.Reading();
        EXPECT_NEAR(r.objective, glpk.objective, 1e-6 * std::max(1.0, std::fabs(glpk.objective))) << what;
        for (double v : r.values) EXPECT_NEAR(v, std::round(v), 1e-9) << what;
        EXPECT_TRUE(IntegerOptimum(run.session.problem)) << what;
    }
    EXPECT_GT(optima, 20);
    EXPECT_GT(empty, 0);
    EXPECT_GT(cuts, 10u) << "the slice must need cuts";
}

} // namespace
} // namespace optimara::testing
