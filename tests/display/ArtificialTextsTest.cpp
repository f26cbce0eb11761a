// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the artificial methods: a·M + b in both notations and both
// number types, the full tableau's w row and M-notation z row, the compact
// grid's names and the notes of the phases, on the textbook problem worked
// by hand (Min 2x+3y, x+y>=4, x+3y>=6).
#include <gtest/gtest.h>

#include "ArtificialTexts.h"
#include "BuildProblem.h"
#include "FormView.h"
#include "StepsReport.h"

namespace optimara {
namespace {

constexpr const char* kMinus = "\xE2\x88\x92";

std::string M(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '~' ? std::string(kMinus) : std::string(1, c);
    return out;
}

TEST(ArtificialTexts, BigMEntriesInBothNotationsAndNumberTypes) {
    struct Case {
        double a, b;
        mpq_class qa, qb;
        const char* rational;  // '~' is the minus sign
        const char* floating;
    };
    const std::vector<Case> cases{
        {-2, 3, -2, 3, "~2M+3", "~2M+3"},   {1, 0, 1, 0, "M", "M"},
        {0, 5, 0, 5, "5", "5"},             {-1, 0, -1, 0, "~M", "~M"},
        {2, -2, 2, -2, "2M~2", "2M~2"},     {0.5, -0.25, mpq_class(1, 2), mpq_class(-1, 4), "(1/2)M~1/4", "0.5M~0.25"},
        {0, 0, 0, 0, "0", "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BigMText(c.a, c.b, NumberText{false, "."}), M(c.rational));
        EXPECT_EQ(BigMText(c.qa, c.qb, NumberText{false, "."}), M(c.rational));
        EXPECT_EQ(BigMText(c.a, c.b, NumberText{true, "."}), M(c.floating));
        EXPECT_EQ(BigMText(c.qa, c.qb, NumberText{true, "."}), M(c.floating));
    }
}

void Built(ProblemState& state, SolveMethod method, bool exact, const std::vector<std::string>& lines,
           const std::string& objective = "2x+3y", int combo = 0) {
    state.BuildMethod = method;
    state.Exact = exact;
    state.Rule = PivotRule::LargestCoefficient;
    BuildReport report;
    BuildProblem(state, ProblemText{combo, objective, lines}, report);
    EXPECT_EQ(report.errorPanel, "");
    state.ProblemReady = true;
}

const std::vector<std::string> kTextbook{"x+y>4", "x+3y>6", "x>0", "y>0"};

std::vector<std::string> GridRow(const FormGrid& grid, int row) {
    std::vector<std::string> out;
    for (int c = 0; c < grid.colCount; ++c) out.push_back(grid.At(row, c));
    return out;
}

TEST(ArtificialTexts, FullTableauShowsTheArtificialsAndTheWRowUnderZ) {
    for (bool exact : {false, true}) {
        ProblemState s;
        Built(s, SolveMethod::TwoPhases, exact, kTextbook);
        const FormGrid grid = ComputeFormGrid(s, TableauForm::Full, NumberText{false, "."});
        ASSERT_TRUE(grid.filled);
        EXPECT_EQ(GridRow(grid, 0), (std::vector<std::string>{"Básica", "x", "y", "h1", "h2", "a1", "a2", "Solución",
                                                               "Cociente"}));
        EXPECT_EQ(GridRow(grid, 1), (std::vector<std::string>{"z", "-2", "-3", "0", "0", "0", "0", "0", ""}));
        EXPECT_EQ(GridRow(grid, 2), (std::vector<std::string>{"w", "2", "4", "-1", "-1", "0", "0", "10", ""}));
        EXPECT_EQ(GridRow(grid, 4)[0], "a2");
        EXPECT_EQ(GridRow(grid, 4)[2], "**3");
        // The grid's row of a2 is the tableau's second row.
        EXPECT_EQ(TableauCellOfGrid(s, TableauForm::Full, 4, 2), (PivotCell{2, 2}));
        EXPECT_EQ(PhaseText(s), "Fase 1 (w)");
    }
}

TEST(ArtificialTexts, BigMWritesTheZRowInMNotation) {
    for (bool exact : {false, true}) {
        ProblemState s;
        Built(s, SolveMethod::BigM, exact, kTextbook);
        const FormGrid grid = ComputeFormGrid(s, TableauForm::Full, NumberText{false, "."});
        ASSERT_TRUE(grid.filled);
        EXPECT_EQ(GridRow(grid, 1),
                  (std::vector<std::string>{"z", M("2M~2"), M("4M~3"), M("~M"), M("~M"), "0", "0", "10M", ""}));
        EXPECT_EQ(GridRow(grid, 2)[0], "a1");
        EXPECT_EQ(PhaseText(s), "");
    }
}

TEST(ArtificialTexts, CompactGridNamesSurplusesArtificialsAndTheAddedRow) {
    ProblemState s;
    Built(s, SolveMethod::TwoPhases, false, kTextbook);
    const FormGrid grid = ComputeFormGrid(s, TableauForm::Compact, NumberText{false, "."});
    ASSERT_TRUE(grid.filled);
    EXPECT_EQ(GridRow(grid, 0), (std::vector<std::string>{"", "x", "y", "h1", "h2", ""}));
    EXPECT_EQ(GridRow(grid, 2), (std::vector<std::string>{"a2", "1", "**3", "0", "-1", "-6"}));
    EXPECT_EQ(GridRow(grid, 3), (std::vector<std::string>{"w", "2", "4", "-1", "-1", "-10"}));
    EXPECT_EQ(GridRow(grid, 4), (std::vector<std::string>{"", "-2", "-3", "0", "0", "0"}));
}

TEST(ArtificialTexts, NotesSayWhichArtificialLeftAndWhyNoPointIsFeasible) {
    ProblemState s;
    Built(s, SolveMethod::TwoPhases, true, kTextbook);
    NextStep(s);
    EXPECT_EQ(ArtificialNotes(s, NumberText{}), (std::vector<std::string>{"Sale de la base la variable artificial a2."}));
    NextStep(s);
    EXPECT_EQ(PhaseText(s), "Fase 2");
    ProblemState none;
    Built(none, SolveMethod::TwoPhases, false, {"x+y<2", "x+y>5", "x>0", "y>0"}, "x+y", 1);
    while (none.Stage == SolveStage::Choosing) NextStep(none);
    ASSERT_EQ(none.Stage, SolveStage::Infeasible);
    EXPECT_EQ(ArtificialNotes(none, NumberText{}).back(), "No factible: al final de la fase 1, w = 3 > 0.");
    ProblemState penalty;
    Built(penalty, SolveMethod::BigM, false, {"x+y<2", "x+y>5", "x>0", "y>0"}, "x+y", 1);
    while (penalty.Stage == SolveStage::Choosing) NextStep(penalty);
    ASSERT_EQ(penalty.Stage, SolveStage::Infeasible);
    EXPECT_EQ(ArtificialNotes(penalty, NumberText{}).back(),
              "No factible: la variable artificial a1 = 3 sigue positiva al final de la Gran M.");
}

// The page of steps replays the method's own steps (copies are kept only
// now and then): each tableau of a two-phase solve shows its w row, and
// the last the optimum 9.
TEST(ArtificialTexts, PageOfStepsReplaysTheTwoPhaseSteps) {
    ProblemState s;
    Built(s, SolveMethod::TwoPhases, false, kTextbook);
    StepHistory history;
    history.Start(s, NoteOf(s, false));
    while (s.Stage == SolveStage::Choosing) {
        history.SetNextPivot(ChosenCell(s.PivotMarks));
        NextStep(s);
        history.Record(s, NoteOf(s, false), false);
    }
    StepsPageInput in;
    in.sense = "Minimizar";
    in.maximize = false;
    in.form = TableauForm::Full;
    const files::StepsPage page = BuildStepsPage(s, history, in);
    ASSERT_EQ(page.tableaux.size(), 3u);
    for (size_t k = 0; k < 2; ++k) EXPECT_EQ(page.tableaux[k].cells[size_t(3) * size_t(page.tableaux[k].cols)], "w");
    EXPECT_EQ(page.tableaux[2].value, "9");
}

} // namespace
} // namespace optimara
