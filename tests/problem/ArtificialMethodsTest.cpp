// SPDX-License-Identifier: GPL-3.0-or-later
// Two phases and big M on problems worked by hand, in both number types,
// and the families of the comparison with glpsol under each method.
#include <gtest/gtest.h>

#include "Comparison.h"
#include "TableauForms.h"
#include "support/MatrixRows.h"

namespace optimara::testing {
namespace {

struct MethodRun {
    HeadlessHost host;
    MethodRun(SolveMethod method, bool exact, PivotRule rule, int combo, const std::string& objective,
        const std::vector<std::string>& lines) {
        host.text = {combo, objective, lines};
        host.state.BuildMethod = method;
        host.state.Exact = exact;
        host.state.Rule = rule;
    }
    void Build() { Button2Click(host); }
    void Solve() { Button1Click(host); }
    std::vector<double> Values() {
        return ReadSolution(host.state.Tableau, host.state.Labels, host.state.SignMarks, host.text.comboIndex == 1)
            .values;
    }
    double Objective() {
        return ReadSolution(host.state.Tableau, host.state.Labels, host.state.SignMarks, host.text.comboIndex == 1)
            .objective;
    }
};

const std::vector<std::string> kTextbook{"x+y>4", "x+3y>6", "x>0", "y>0"};

// Min 2x+3y: the first tableau of both methods is the same widened one:
// rows a1 = 4 - x - y + h1 and a2 = 6 - x - 3y + h2, the added row -w
// (big M: the M part), and the objective -2x - 3y.
TEST(ArtificialMethods, TextbookFirstTableauHasTheArtificialsAndTheWRow) {
    for (SolveMethod method : {SolveMethod::TwoPhases, SolveMethod::BigM}) {
        MethodRun run(method, false, PivotRule::LargestCoefficient, 0, "2x+3y", kTextbook);
        run.Build();
        const EngineState& s = run.host.state;
        EXPECT_EQ(s.Method, method);
        EXPECT_EQ(RowsOf(s.Tableau), (Rows{{1, 1, -1, 0, -4}, {1, 3, 0, -1, -6}, {2, 4, -1, -1, -10}, {-2, -3, 0, 0, 0}}));
        EXPECT_EQ(s.Artificials.rows, (std::vector<uint32_t>{1, 2}));
        EXPECT_EQ(s.Artificials.phase, method == SolveMethod::TwoPhases ? 1 : 0);
        // y enters (its w entry 4 is the largest), a2 leaves (6/3 < 4/1).
        EXPECT_EQ(ChosenCell(s.PivotMarks), (PivotCell{2, 2}));
        const std::vector<std::string> names = FormVariableNames(run.host.state);
        EXPECT_EQ(names, (std::vector<std::string>{"x", "y", "h1", "h2", "a1", "a2"}));
    }
}

// The hand-worked path: y enters for a2, x for a1, w = 0, and the phase-2
// (or big-M) tableau is already optimal: z = 9 + 3/2 h1 + 1/2 h2 at (3,1).
TEST(ArtificialMethods, TextbookReachesNineAtThreeOneInTwoPivots) {
    struct Case {
        SolveMethod method;
        bool exact;
    };
    for (const Case c : {Case{SolveMethod::TwoPhases, false}, Case{SolveMethod::TwoPhases, true},
                         Case{SolveMethod::BigM, false}, Case{SolveMethod::BigM, true}}) {
        MethodRun run(c.method, c.exact, PivotRule::LargestCoefficient, 0, "2x+3y", kTextbook);
        run.Build();
        Button2Click(run.host);
        EXPECT_EQ(run.host.state.Artificials.leftAtLastStep, 2u);
        if (c.exact) {
            // By hand: a1 = 2 - 2/3 x + h1 - 1/3 h2 + 1/3 a2, y = 2 - 1/3 x + 1/3 h2 - 1/3 a2 and
            // w = 2 - 2/3 x + h1 - 1/3 h2 + 4/3 a2, over the columns x, a2, h1, h2.
            const MatrixQ& Q = run.host.state.ExactTableau;
            const std::vector<std::vector<mpq_class>> expected{{mpq_class(2, 3), mpq_class(-1, 3), -1, mpq_class(1, 3), -2},
                                                               {mpq_class(1, 3), mpq_class(1, 3), 0, mpq_class(-1, 3), -2},
                                                               {mpq_class(2, 3), mpq_class(-4, 3), -1, mpq_class(1, 3), -2}};
            for (uint32_t i = 1; i <= 3; ++i)
                for (uint32_t j = 1; j <= 5; ++j) EXPECT_EQ(Q.Index(i, j), expected[i - 1][j - 1]) << i << "," << j;
        }
        Button2Click(run.host);
        EXPECT_EQ(run.host.state.Artificials.leftAtLastStep, 1u);
        EXPECT_EQ(run.host.statusPanel, "Hecho");
        if (c.method == SolveMethod::TwoPhases) EXPECT_EQ(run.host.state.Artificials.phase, 2);
        const std::vector<double> values = run.Values();
        ASSERT_EQ(values.size(), 2u);
        EXPECT_NEAR(values[0], 3, 1e-12);
        EXPECT_NEAR(values[1], 1, 1e-12);
        EXPECT_NEAR(run.Objective(), 9, 1e-12);
        const MatrixR& T = run.host.state.Tableau;
        // The objective row over h1, h2 (columns 3, 4 still non-basic): -z = -9 - 3/2 h1 - 1/2 h2.
        EXPECT_NEAR(T.Index(T.rows, 3), -1.5, 1e-12);
        EXPECT_NEAR(T.Index(T.rows, 4), -0.5, 1e-12);
        if (c.exact) EXPECT_EQ(run.host.state.ExactTableau.Index(T.rows, T.cols), mpq_class(-9));
    }
}

// Table-driven endings under both methods and both number types, each
// against the answer worked by hand.
TEST(ArtificialMethods, EndingsAgreeWithTheHandWorkedAnswers) {
    struct Case {
        const char* what;
        int combo;
        std::string objective;
        std::vector<std::string> lines;
        const char* status;
        double objectiveValue;
    };
    const std::vector<Case> cases{
        {"w > 0", 1, "x+y", {"x+y<2", "x+y>5", "x>0", "y>0"}, "No factible", 0},
        {"unbounded phase 2", 1, "x+y", {"x-y>1", "x>0", "y>0"}, "Ilimitado", 0},
        {"Maximizar with =", 1, "3x+2y", {"x+y=4", "x+3y<6", "x>0", "y>0"}, "Hecho", 12},
        {"free variable", 0, "x+y", {"x+y>-3", "x-y<1", "y>0"}, "Hecho", -3},
        {"negative right-hand side of <", 0, "x", {"-x<-2", "x>0"}, "Hecho", 2},
        {"degenerate", 1, "x+y", {"x+3y<6", "x+2y<5", "2x+2y<8", "x+y>4", "x>0", "y>0"}, "Hecho", 4},
    };
    for (const Case& c : cases)
        for (SolveMethod method : {SolveMethod::TwoPhases, SolveMethod::BigM})
            for (bool exact : {false, true})
                for (PivotRule rule : {PivotRule::LargestCoefficient, PivotRule::SmallestIndex, PivotRule::Random}) {
                    MethodRun run(method, exact, rule, c.combo, c.objective, c.lines);
                    run.Solve();
                    SCOPED_TRACE(std::string(c.what) + (method == SolveMethod::BigM ? " big M" : " two phases") +
                                 (exact ? " exact" : ""));
                    EXPECT_EQ(run.host.statusPanel == "no factible" ? "No factible" : run.host.statusPanel, c.status);
                    EXPECT_EQ(run.host.invariantBreaks, 0);
                    if (std::string(c.status) == "Hecho") EXPECT_NEAR(run.Objective(), c.objectiveValue, 1e-9);
                    if (std::string(c.status) == "No factible") EXPECT_TRUE(run.host.state.Artificials.positiveAtEnd);
                }
}

// x+y=4 twice: phase 1 ends with w = 0 and both artificials still basic
// at zero; each leaves by a pivot on a non-zero entry of a surplus or
// slack column, and phase 2 goes on from there.
TEST(ArtificialMethods, RedundantEqualityRowIsDroppedOrItsArtificialDrivenOut) {
    for (bool exact : {false, true}) {
        MethodRun run(SolveMethod::TwoPhases, exact, PivotRule::LargestCoefficient, 1, "x+2y",
                {"x+y=4", "2x+2y=8", "x>0", "y>0"});
        run.Solve();
        EXPECT_EQ(run.host.statusPanel, "Hecho");
        EXPECT_EQ(run.Objective(), 8);
        const ArtificialPart& a = run.host.state.Artificials;
        EXPECT_EQ(a.driven, (std::vector<uint32_t>{1, 2}));
        EXPECT_EQ(a.dropped, (std::vector<uint32_t>{}));
        EXPECT_EQ(a.phase, 2);
    }
}

// An artificial basic at zero in a row with no non-zero entry outside the
// artificials' columns: the row is dropped, and phase 2 never pivots in it.
TEST(ArtificialMethods, RowWithoutANonArtificialEntryIsDropped) {
    EngineState e;
    e.Method = SolveMethod::TwoPhases;
    e.Rule = PivotRule::LargestCoefficient;
    // Columns x and the surplus s1; rows a1 (all 0), h2: x <= 2; -w; z = x.
    SetRows(e.Tableau, {{0, 0, 0}, {1, 0, -2}, {0, 0, 0}, {1, 0, 0}});
    SetColumn(e.Labels, {1, 2, 3, 4});
    e.Artificials.rows = {1};
    e.Artificials.extraRows = 1;
    e.Artificials.surplusColumns = 1;
    e.Artificials.phase = 1;
    EXPECT_EQ(SelectArtificialPivot(e), PivotChosen);
    EXPECT_EQ(e.Artificials.dropped, (std::vector<uint32_t>{1}));
    EXPECT_EQ(e.Artificials.phase, 2);
    EXPECT_EQ(ChosenCell(e.PivotMarks), (PivotCell{2, 1}));
    EXPECT_EQ(NextStep(e), Optimal);
    EXPECT_EQ(e.Tableau.Index(4, 3), 2);
}

// Every family of the comparison, under each method and in both number
// types, ends as glpsol does.
TEST(ArtificialMethods, EveryFamilyAgreesWithGlpsolUnderEachMethod) {
    ASSERT_TRUE(GlpsolAvailable());
    for (SolveMethod method : {SolveMethod::TwoPhases, SolveMethod::BigM})
        for (bool exact : {false, true}) {
            RandomGenerator random;
            std::map<LpStatus, int> seen;
            for (const Family& family : Families()) {
                std::mt19937 rng(20261209u);
                for (int k = 0; k < (exact ? 3 : 6); ++k) {
                    const TypedProblem p = family.make(rng);
                    const CompareResult r = CompareOne(p, random, PivotRule::Random, method, exact);
                    EXPECT_EQ(r.failure, "") << family.name << " #" << k << (exact ? " exact: " : ": ") << Describe(p);
                    ++seen[r.ours];
                }
            }
            EXPECT_GE(seen[LpStatus::Optimal], exact ? 5 : 10);
            EXPECT_GE(seen[LpStatus::Infeasible], exact ? 1 : 2);
            EXPECT_GE(seen[LpStatus::Unbounded], exact ? 1 : 2);
        }
}

} // namespace
} // namespace optimara::testing
