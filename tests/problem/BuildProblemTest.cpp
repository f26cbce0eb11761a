// SPDX-License-Identifier: GPL-3.0-or-later
// What a typed problem becomes: names, tableau, sign marks, labels, the
// copies for the plot and the first pivot selection.
#include <cmath>

#include "TestHelpers.h"

namespace optimara::testing {
namespace {

const std::vector<std::string> kWorkedLines = {"x+y<4", "x+3y<6", "x>0", "y>0"};

TEST(WorkedExample, EveryPieceOfTheStateMatches) {
    Outcome out;
    Build(out, 1, "3x+2y", kWorkedLines);
    const ProblemState& s = out.state;
    EXPECT_EQ(out.report.errorPanel, "");
    EXPECT_FALSE(out.report.select);
    EXPECT_EQ(s.Names, (std::vector<std::string>{"x", "y"}));
    // The tableau as read, before sign rows go: the plot copies hold it.
    EXPECT_EQ(RowsOf(s.ConstraintPlanes), (Rows{{1, 1, -4}, {1, 3, -6}, {-1, 0, 0}, {0, -1, 0}}));
    EXPECT_EQ(ColumnOf(s.ObjectiveVector), (std::vector<double>{3, 2}));
    EXPECT_EQ(ColumnOf(s.SignMarks), (std::vector<int32_t>{1, 1}));
    EXPECT_EQ(RowsOf(s.Tableau), (Rows{{1, 1, -4}, {1, 3, -6}, {3, 2, 0}}));
    EXPECT_EQ(ColumnOf(s.Labels), Sequence(4));
    // First selection: candidates (1,1) and (2,2); the first draw picks (1,1).
    EXPECT_EQ(s.CandidateCount, 2);
    EXPECT_EQ(s.PivotMarks.Index(1, 1), 2);
    EXPECT_EQ(s.PivotMarks.Index(2, 2), 1);
    EXPECT_EQ(s.PivotMarks.Index(1, 2), 0);
    EXPECT_EQ(s.PivotMarks.Index(2, 1), 0);
    EXPECT_EQ(out.report.statusPanel, "");
    EXPECT_FALSE(s.ProblemReady) << "the driver, not the build, sets the flag";
}

TEST(WorkedExample, TableauAsReadBeforeSignRowsAreRemoved) {
    // A fault in a later line stops the build right after the lines read so
    // far, so the tableau shows what steps 1-3 built, zero row included.
    Outcome out;
    std::vector<std::string> lines = kWorkedLines;
    lines.push_back("<");
    Build(out, 1, "3x+2y", lines);
    EXPECT_EQ(out.report.errorPanel, "ERROR12: Número no hayado");
    EXPECT_EQ(RowsOf(out.state.Tableau),
              (Rows{{1, 1, -4}, {1, 3, -6}, {-1, 0, 0}, {0, -1, 0}, {0, 0, 0}, {3, 2, 0}}));
    EXPECT_EQ(out.state.Names, (std::vector<std::string>{"x", "y"}));
}

TEST(WorkedExample, MinimisingNegatesTheObjectiveRow) {
    Outcome out;
    Build(out, 0, "3x+2y", kWorkedLines);
    EXPECT_EQ(RowsOf(out.state.Tableau), (Rows{{1, 1, -4}, {1, 3, -6}, {-3, -2, 0}}));
    EXPECT_EQ(ColumnOf(out.state.ObjectiveVector), (std::vector<double>{-3, -2}));
    EXPECT_EQ(out.report.statusPanel, "vale");
    EXPECT_EQ(out.state.CandidateCount, 0);
}

TEST(WorkedExample, FreeVariablesAreSplitIntoAdjacentColumns) {
    Outcome out;
    Build(out, 1, "3x+2y", {"x+y<4", "x+3y<6"});
    EXPECT_EQ(RowsOf(out.state.Tableau),
              (Rows{{1, -1, 1, -1, -4}, {1, -1, 3, -3, -6}, {3, -3, 2, -2, 0}}));
    EXPECT_EQ(out.state.Names, (std::vector<std::string>{"x", "x", "y", "y"}));
    EXPECT_EQ(ColumnOf(out.state.SignMarks), (std::vector<int32_t>{0, 0, 0, 0}));
    EXPECT_EQ(ColumnOf(out.state.Labels), Sequence(6));
    // The plot copies keep one column per variable.
    EXPECT_EQ(RowsOf(out.state.ConstraintPlanes), (Rows{{1, 1, -4}, {1, 3, -6}}));
    EXPECT_EQ(ColumnOf(out.state.ObjectiveVector), (std::vector<double>{3, 2}));
}

TEST(FreeVariables, OnlyUnmarkedVariablesAreSplit) {
    Outcome out;
    Build(out, 1, "a+b+c", {"a+2b+3c<6", "b>0"});
    EXPECT_EQ(out.state.Names, (std::vector<std::string>{"a", "a", "b", "c", "c"}));
    EXPECT_EQ(ColumnOf(out.state.SignMarks), (std::vector<int32_t>{0, 0, 1, 0, 0}));
    EXPECT_EQ(RowsOf(out.state.Tableau), (Rows{{1, -1, 2, 3, -3, -6}, {1, -1, 1, 1, -1, 0}}));
    EXPECT_EQ(ColumnOf(out.state.Labels), Sequence(6));
}

TEST(FreeVariables, NegatedZerosAreStoredAsPlainZeros) {
    Outcome out;
    Build(out, 1, "x+y", {"x<1", "y>-2"});
    for (const auto& row : RowsOf(out.state.Tableau))
        for (double v : row)
            if (v == 0.0) {
                EXPECT_FALSE(std::signbit(v)) << "a -0 would show as \"-0\"";
            }
}

TEST(ConstraintRows, SharedRightHandSideKeepsTheOrderOfTheLeftSides) {
    Outcome out;
    Build(out, 1, "x+y", {"x,y<1"});
    EXPECT_EQ(RowsOf(out.state.ConstraintPlanes), (Rows{{1, 0, -1}, {0, 1, -1}}));
}

TEST(ConstraintRows, EqualityWithSharedRightHandSideInterleavesNegations) {
    Outcome out;
    Build(out, 1, "x+y", {"x,y=1"});
    EXPECT_EQ(RowsOf(out.state.ConstraintPlanes), (Rows{{1, 0, -1}, {-1, 0, 1}, {0, 1, -1}, {0, -1, 1}}));
    const auto t = RowsOf(out.state.Tableau);
    EXPECT_EQ(t.back(), (std::vector<double>{1, -1, 1, -1, 0})) << "objective row stays last";
    EXPECT_EQ(t.size(), 5u);
}

TEST(ConstraintRows, GreaterThanNegatesTheWholeRow) {
    Outcome out;
    Build(out, 1, "x+y", {"2x-3y>5", "x+y,x-y<4"});
    EXPECT_EQ(RowsOf(out.state.ConstraintPlanes), (Rows{{-2, 3, 5}, {1, 1, -4}, {1, -1, -4}}));
}

TEST(ConstraintRows, EmptyLeftSideGivesARowOfZeros) {
    Outcome out;
    Build(out, 1, "x", {"<5", "x<1"});
    EXPECT_EQ(RowsOf(out.state.ConstraintPlanes), (Rows{{0, -5}, {1, -1}}));
    Outcome never;
    Build(never, 1, "x", {">5", "x>0"});
    EXPECT_EQ(RowsOf(never.state.Tableau), (Rows{{0, 5}, {1, 0}}));
    EXPECT_EQ(never.report.statusPanel, "no factible");
}

TEST(ConstraintRows, VariablesOnlyInConstraintsComeAfterTheObjectives) {
    Outcome out;
    Build(out, 1, "y", {"z+x+y<3", "w>0", "z>0", "x>0", "y>0"});
    EXPECT_EQ(out.state.Names, (std::vector<std::string>{"y", "z", "x", "w"}));
    EXPECT_EQ(ColumnOf(out.state.ObjectiveVector), (std::vector<double>{1, 0, 0, 0}));
    EXPECT_EQ(RowsOf(out.state.Tableau), (Rows{{1, 1, 1, 0, -3}, {1, 0, 0, 0, 0}}));
}

TEST(ConstraintRows, TheSameSumOnTwoLinesIsNoDuplicate) {
    Outcome out;
    Build(out, 1, "x+y", {"x+y<3", "x+y<4"});
    EXPECT_EQ(out.report.errorPanel, "");
    EXPECT_EQ(RowsOf(out.state.ConstraintPlanes), (Rows{{1, 1, -3}, {1, 1, -4}}));
}

TEST(Names, CompareWithoutCaseAndKeepTheirFirstSpelling) {
    Outcome out;
    Build(out, 1, "Xa+yB", {"XA+YB<3", "xa>0", "Yb>0"});
    EXPECT_EQ(out.report.errorPanel, "");
    EXPECT_EQ(out.state.Names, (std::vector<std::string>{"Xa", "yB"}));
    EXPECT_EQ(RowsOf(out.state.Tableau), (Rows{{1, 1, -3}, {1, 1, 0}}));
}

TEST(Names, AccentedCapitalsFoldToTheirSmallLetters) {
    Outcome out;
    Build(out, 1, "año", {"AÑO<3", "aÑo>0"});
    EXPECT_EQ(out.state.Names, (std::vector<std::string>{"año"}));
    EXPECT_EQ(RowsOf(out.state.Tableau), (Rows{{1, -3}, {1, 0}}));
}

TEST(SignRows, WhatCountsAsASignRow) {
    struct Case {
        std::string line;
        bool signRow;
    };
    const std::vector<Case> cases = {{"x>0", true},   {"2x>0", true},   {"-x<0", true},  {"0.5x>0", true},
                                     {"x<0", false},  {"x+y>0", false}, {"x>1", false},  {"-x>0", false},
                                     {"x>-0", true},  {"2x,y>0", true}};
    for (const Case& c : cases) {
        Outcome out;
        Build(out, 1, "x+y", {c.line, "x+y<10"});
        ASSERT_EQ(out.report.errorPanel, "") << c.line;
        EXPECT_EQ(out.state.SignMarks.Index(1, 1), c.signRow ? 1 : 0) << c.line;
        const uint32_t rowsRead = out.state.ConstraintPlanes.rows;
        const uint32_t removed = rowsRead - (out.state.Tableau.rows - 1);
        EXPECT_EQ(removed, c.signRow ? (c.line == "2x,y>0" ? 2u : 1u) : 0u) << c.line;
    }
}

TEST(SignRows, EqualToZeroFixesTheVariableAtZero) {
    Outcome out;
    Build(out, 1, "x", {"x=0"});
    EXPECT_EQ(RowsOf(out.state.ConstraintPlanes), (Rows{{1, 0}, {-1, 0}}));
    EXPECT_EQ(ColumnOf(out.state.SignMarks), (std::vector<int32_t>{1}));
    EXPECT_EQ(RowsOf(out.state.Tableau), (Rows{{1, 0}, {1, 0}}));
}

TEST(SignRows, SeveralForOneVariableAllGoAndOthersKeepTheirOrder) {
    Outcome out;
    Build(out, 1, "x+y", {"x>0", "x+y<5", "2x>0", "x-y<1", "-x<0", "y>0", "y>0"});
    EXPECT_EQ(ColumnOf(out.state.SignMarks), (std::vector<int32_t>{1, 1}));
    EXPECT_EQ(RowsOf(out.state.Tableau), (Rows{{1, 1, -5}, {1, -1, -1}, {1, 1, 0}}));
    EXPECT_EQ(out.state.ConstraintPlanes.rows, 7u);
    EXPECT_EQ(ColumnOf(out.state.Labels), Sequence(4));
}

TEST(SignRows, OnlySignRowsLeaveTheObjectiveRowAlone) {
    Outcome up;
    up.state.PivotMarks.Redefine(2, 2);
    up.state.PivotMarks.Index(1, 2) = 7;
    Build(up, 1, "x-y", {"x>0", "y>0"});
    EXPECT_EQ(up.report.errorPanel, "");
    EXPECT_EQ(RowsOf(up.state.Tableau), (Rows{{1, -1, 0}}));
    EXPECT_EQ(up.report.statusPanel, "ilimitado");
    EXPECT_EQ(up.state.CandidateCount, 0);
    EXPECT_EQ(up.state.PivotMarks.Index(1, 2), 7) << "marks are left alone without constraint rows";
    EXPECT_EQ(ColumnOf(up.state.Labels), Sequence(2));

    Outcome down;
    Build(down, 1, "-x-y", {"x>0", "y>0"});
    EXPECT_EQ(down.report.statusPanel, "vale");
}

TEST(Status, FirstSelectionDecidesTheStatusText) {
    // Infeasible in the end, but the first selection still finds a pivot.
    Outcome notYet;
    Build(notYet, 1, "x+y", {"x+y<1", "x+y>2", "x>0", "y>0"});
    EXPECT_EQ(notYet.report.statusPanel, "");
    EXPECT_EQ(notYet.state.CandidateCount, 2);
    Outcome unbounded;
    Build(unbounded, 1, "x", {"y<1", "x>0", "y>0"});
    EXPECT_EQ(unbounded.report.statusPanel, "ilimitado");
    Outcome flat;
    Build(flat, 1, "x", {"x>2", "x>0"});
    EXPECT_EQ(flat.report.statusPanel, "");
    EXPECT_EQ(flat.state.CandidateCount, 1);
    Outcome stuck;
    Build(stuck, 1, "x", {"x<-1", "x>0"});
    EXPECT_EQ(stuck.report.statusPanel, "no factible");
}

TEST(Status, OneRandomDrawPerBuildWithCandidates) {
    ProblemState state;
    BuildReport report;
    ProblemText text{1, "3x+2y", kWorkedLines};
    BuildProblem(state, text, report);
    RandomGenerator expected;
    expected.RandomDraw();
    EXPECT_EQ(state.Random.state, expected.state);
    // Second draw (130) with 2 candidates: t = 1 again.
    state.Names.clear();
    report = BuildReport{};
    BuildProblem(state, text, report);
    expected.RandomDraw();
    EXPECT_EQ(state.Random.state, expected.state);
    EXPECT_EQ(state.PivotMarks.Index(1, 1), 2);
}

TEST(Rebuild, SuccessReplacesEveryPiece) {
    Outcome out;
    Build(out, 1, "a+b+c", {"a+b+c<1", "a,b,c>0"});
    out.state.Names.clear();
    out.report = BuildReport{};
    Build(out, 1, "3x+2y", kWorkedLines);
    EXPECT_EQ(RowsOf(out.state.Tableau), (Rows{{1, 1, -4}, {1, 3, -6}, {3, 2, 0}}));
    EXPECT_EQ(out.state.ConstraintPlanes.rows, 4u);
    EXPECT_EQ(out.state.ObjectiveVector.rows, 2u);
    EXPECT_EQ(ColumnOf(out.state.SignMarks), (std::vector<int32_t>{1, 1}));
    EXPECT_EQ(ColumnOf(out.state.Labels), Sequence(4));
}

TEST(Rebuild, WithoutEmptyingTheNamesEveryObjectiveVariableIsADuplicate) {
    Outcome out;
    Build(out, 1, "3x+2y", kWorkedLines);
    out.report = BuildReport{};
    Build(out, 1, "3x+2y", kWorkedLines);
    EXPECT_EQ(out.report.errorPanel, "ERROR5: Variable duplicada ");
    EXPECT_EQ(out.report.source, -1);
}

TEST(Rebuild, LeftoverNamesNeverMisplaceAColumn) {
    // Without the caller emptying the list, a constraint name from the old
    // list must still get a column of its own in the new tableau.
    Outcome out;
    out.state.Names = {"a", "b", "c"};
    Build(out, 1, "x", {"c+x<4", "c>0"});
    EXPECT_EQ(out.report.errorPanel, "");
    EXPECT_EQ(out.state.Names, (std::vector<std::string>{"a", "b", "c", "x", "x", "c"}));
    EXPECT_EQ(RowsOf(out.state.Tableau), (Rows{{1, -1, 1, -4}, {1, -1, 0, 0}}));
}

} // namespace
} // namespace optimara::testing
