// SPDX-License-Identifier: GPL-3.0-or-later
// The dual simplex's choices and the cuts in words, on the textbook cases
// worked by hand.
#include <gtest/gtest.h>

#include "BuildProblem.h"
#include "MethodTexts.h"

namespace optimara {
namespace {

TEST(MethodTexts, DualChoiceNamesTheLeavingRowItsSolutionAndTheEnteringColumn) {
    struct Case {
        bool exact;
        NumberText numbers;
        std::string leaves, enters;
    };
    const std::vector<Case> cases = {
        {false, {true, "."}, "sale h2 (fila 2, Solución -6), la variable básica más negativa", "Entra y:"},
        {true, {false, "."}, "sale h2 (fila 2, Solución -6)", "fila, 1;"},
    };
    for (const Case& c : cases) {
        ProblemState state;
        state.Exact = c.exact;
        state.Rule = PivotRule::LargestCoefficient;
        state.Method = SolveMethod::DualSimplex;
        BuildReport report;
        BuildProblem(state, {0, "2x+3y", {"x+y>4", "x+3y>6", "x>0", "y>0"}}, report);
        ASSERT_EQ(report.errorPanel, "");
        const std::string text = DualChoiceText(state, c.numbers);
        EXPECT_NE(text.find(c.leaves), std::string::npos) << text;
        EXPECT_NE(text.find(c.enters), std::string::npos) << text;
    }
}

TEST(MethodTexts, DualEndsSayWhy) {
    ProblemState state;
    state.Method = SolveMethod::DualSimplex;
    BuildReport report;
    BuildProblem(state, {0, "x+y", {"x+y>5", "x+y<2", "x>0", "y>0"}}, report);
    ASSERT_EQ(state.Stage, SolveStage::Choosing);
    while (state.Stage == SolveStage::Choosing) NextStep(state);
    ASSERT_EQ(state.Stage, SolveStage::Infeasible);
    EXPECT_NE(DualChoiceText(state, {}).find("no tiene ninguna entrada negativa"), std::string::npos);
}

TEST(MethodTexts, CutSaysTheVariableItsValueAndTheInequality) {
    GomoryCut cut;
    cut.variable = "y";
    cut.value = mpq_class(3, 2);
    cut.text = "6x + 5y ≤ 25";
    EXPECT_EQ(CutText(cut, 1, {false, "."}),
              "Corte 1 (Gomory): y vale 3/2, no entero; la parte fraccionaria de su fila da el corte 6x + 5y ≤ 25, "
              "que deja fuera la solución actual sin quitar ningún punto entero. Se añade como nueva fila y el "
              "símplex dual vuelve a optimizar.");
    EXPECT_EQ(CutsEndText(1), "Solución entera tras 1 corte.");
}

} // namespace
} // namespace optimara
