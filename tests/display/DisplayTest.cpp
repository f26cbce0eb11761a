// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>

#include <bit>
#include <cmath>
#include <initializer_list>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "Display.h"
#include "support/MatrixRows.h"

namespace optimara {
namespace {

using optimara::testing::ColumnOf;
using optimara::testing::SetColumn;
using Rows = std::initializer_list<std::initializer_list<double>>;

void SetTableau(ProblemState& s, Rows rows) {
    s.Tableau.Redefine(static_cast<uint32_t>(rows.size()), static_cast<uint32_t>(rows.begin()->size()));
    uint32_t i = 1;
    for (const auto& row : rows) {
        uint32_t j = 1;
        for (double v : row) s.Tableau.Index(i, j++) = v;
        ++i;
    }
}

// Pivot marks all 0 except the given cells.
void SetMarks(ProblemState& s, std::initializer_list<std::initializer_list<int32_t>> cells) {
    s.PivotMarks.Redefine(s.Tableau.rows - 1, s.Tableau.cols - 1);
    for (uint32_t i = 1; i <= s.PivotMarks.rows; ++i)
        for (uint32_t j = 1; j <= s.PivotMarks.cols; ++j) s.PivotMarks.Index(i, j) = 0;
    for (const auto& c : cells) {
        auto it = c.begin();
        const uint32_t r = static_cast<uint32_t>(it[0]), q = static_cast<uint32_t>(it[1]);
        s.PivotMarks.Index(r, q) = it[2];
    }
}

const std::string& Cell(const TableauView& v, int c, int r) {
    return v.cells.at(static_cast<size_t>(r * v.colCount + c));
}

// Maximise 3x + 2y with x + y <= 4, x + 3y <= 6, x, y >= 0, as built.
void WorkedExampleBuilt(ProblemState& s) {
    SetTableau(s, {{1, 1, -4}, {1, 3, -6}, {3, 2, 0}});
    s.Names = {"x", "y"};
    SetColumn(s.SignMarks, {1, 1});
    SetColumn(s.Labels, {1, 2, 3, 4});
    SetMarks(s, {});
}

// The same after the pivot on cell (1,1).
void WorkedExampleAfterFirstPivot(ProblemState& s) {
    SetTableau(s, {{1, 1, -4}, {-1, 2, -2}, {-3, -1, 12}});
    s.Names = {"x", "y"};
    SetColumn(s.SignMarks, {1, 1});
    SetColumn(s.Labels, {3, 2, 1, 4});
    SetMarks(s, {});
}

TEST(ShowTableau, WorkedExampleAfterItsFirstPivot) {
    ProblemState s;
    WorkedExampleAfterFirstPivot(s);
    double point[3] = {-1, -1, -1};
    const TableauView v = ComputeTableauView(s, true, true, true, ".", point);
    ASSERT_TRUE(v.filled);
    ASSERT_EQ(v.rowCount, 4);
    ASSERT_EQ(v.colCount, 4);
    ASSERT_EQ(v.cells.size(), 16u);
    const char* grid[3][3] = {{"1", "1", "-4"}, {"-1", "2", "-2"}, {"-3", "-1", "12"}};
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c) EXPECT_EQ(Cell(v, c, r), grid[r - 1][c - 1]) << c << "," << r;
    EXPECT_EQ(Cell(v, 0, 1), "x");
    EXPECT_EQ(Cell(v, 2, 0), "y");
    EXPECT_EQ(Cell(v, 1, 0), "");
    EXPECT_EQ(Cell(v, 0, 2), "");
    EXPECT_EQ(Cell(v, 0, 0), "");
    EXPECT_EQ(Cell(v, 3, 0), "");  // constant column header
    EXPECT_EQ(Cell(v, 0, 3), "");  // objective row label
    EXPECT_EQ(v.solution, (std::vector<std::string>{"x=4", "y=0"}));
    EXPECT_TRUE(v.freeVariables.empty());
    EXPECT_EQ(v.value, "12");
    EXPECT_EQ(v.count, 2);
    EXPECT_EQ(point[0], 4.0);
    EXPECT_EQ(point[1], 0.0);
    EXPECT_EQ(point[2], -1.0);  // a third variable does not exist
    EXPECT_EQ(ColumnOf(s.Labels), (std::vector<int32_t>{3, 2, 1, 4}));
}

TEST(ShowTableau, WorkedExampleThroughTheEngine) {
    ProblemState s;
    WorkedExampleBuilt(s);
    SetMarks(s, {{1, 1, 2}});
    s.CandidateCount = 1;
    PivotStep(s.Tableau, s.PivotMarks, s.CandidateCount, s.Labels);
    EXPECT_EQ(SelectPivot(s.Tableau, s.PivotMarks, s.CandidateCount, s.Random), Optimal);
    double point[3] = {0, 0, 0};
    const TableauView v = ComputeTableauView(s, true, true, false, ".", point);
    EXPECT_EQ(Cell(v, 0, 1), "x");
    EXPECT_EQ(Cell(v, 2, 0), "y");
    EXPECT_EQ(Cell(v, 3, 3), "12");
    EXPECT_EQ(v.solution, (std::vector<std::string>{"x=4", "y=0"}));
    EXPECT_EQ(v.value, "12");
}

TEST(ShowTableau, TwoVariablesRightAfterTheBuildWithMarks) {
    ProblemState s;
    WorkedExampleBuilt(s);
    SetMarks(s, {{1, 1, 2}, {2, 2, 1}, {1, 2, 3}});
    double point[3] = {9, 9, 9};
    const TableauView v = ComputeTableauView(s, true, true, true, ".", point);
    EXPECT_EQ(Cell(v, 1, 1), "**1");
    EXPECT_EQ(Cell(v, 2, 2), "*3");
    EXPECT_EQ(Cell(v, 2, 1), "1");  // other marks change nothing
    EXPECT_EQ(Cell(v, 1, 2), "1");
    EXPECT_EQ(Cell(v, 3, 1), "-4");
    EXPECT_EQ(Cell(v, 3, 2), "-6");
    EXPECT_EQ(Cell(v, 1, 3), "3");
    EXPECT_EQ(Cell(v, 1, 0), "x");
    EXPECT_EQ(Cell(v, 2, 0), "y");
    for (int r = 0; r <= 3; ++r) EXPECT_EQ(Cell(v, 0, r), "") << r;  // all rows are slacks
    EXPECT_EQ(v.solution, (std::vector<std::string>{"x=0", "y=0"}));
    EXPECT_TRUE(v.freeVariables.empty());
    EXPECT_EQ(v.value, "0");
    EXPECT_EQ(point[0], 0.0);
    EXPECT_EQ(point[1], 0.0);
    EXPECT_EQ(point[2], 9.0);
}

TEST(ShowTableau, MarksFromTheEngineAreShown) {
    ProblemState s;
    WorkedExampleBuilt(s);
    ASSERT_EQ(SelectPivot(s.Tableau, s.PivotMarks, s.CandidateCount, s.Random), PivotChosen);
    double point[3] = {};
    const TableauView v = ComputeTableauView(s, true, true, true, ".", point);
    int chosen = 0, tied = 0;
    for (uint32_t r = 1; r <= 2; ++r)
        for (uint32_t c = 1; c <= 2; ++c) {
            const std::string& text = Cell(v, static_cast<int>(c), static_cast<int>(r));
            const int32_t mark = s.PivotMarks.Index(r, c);
            if (mark == 2) {
                ++chosen;
                EXPECT_EQ(text.substr(0, 2), "**");
            } else if (mark == 1) {
                ++tied;
                EXPECT_EQ(text[0], '*');
                EXPECT_NE(text[1], '*');
            } else {
                EXPECT_NE(text[0], '*');
            }
        }
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(tied + chosen, s.CandidateCount);
}

// Variables z (free: columns z', z'') and y (non-negative), two rows.
void FreePair(ProblemState& s, std::initializer_list<int32_t> labels) {
    SetTableau(s, {{0.5, 1, 2, -3}, {2, -1, 1, -1.5}, {1, 1, 1, 7.5}});
    s.Names = {"z", "z", "y"};
    SetColumn(s.SignMarks, {0, 0, 1});
    SetColumn(s.Labels, labels);
    SetMarks(s, {});
}

TEST(ShowTableau, FreeVariableSplitIntoTwoColumns) {
    struct Case {
        std::initializer_list<int32_t> labels;  // position -> variable
        const char* z;
        const char* y;
    };
    // Labels: 1 z', 2 z'', 3 y, 4 and 5 the row variables.
    const Case cases[] = {
        {{2, 4, 3, 1, 5}, "z=3", "y=0"},      // z' basic in row 1, z'' non-basic
        {{4, 5, 3, 2, 1}, "z=-1.5", "y=0"},   // z' basic in row 2, z'' in row 1
        {{4, 3, 5, 1, 2}, "z=1.5", "y=0"},    // both basic: 3 - 1.5
        {{1, 2, 4, 3, 5}, "z=0", "y=3"},      // both non-basic, y basic
    };
    for (const Case& c : cases) {
        ProblemState s;
        FreePair(s, c.labels);
        const std::vector<int32_t> before = ColumnOf(s.Labels);
        double point[3] = {7, 7, 7};
        const TableauView v = ComputeTableauView(s, true, true, true, ".", point);
        EXPECT_EQ(v.solution, (std::vector<std::string>{c.z, c.y}));
        EXPECT_EQ(v.freeVariables, (std::vector<std::string>{"z=z'-z''"}));
        EXPECT_EQ(v.count, 2);
        EXPECT_EQ(ColumnOf(s.Labels), before);
        // Each column variable's label stands at its position.
        std::vector<std::string> expectedAt(6);
        const char* names[] = {"z'", "z''", "y"};
        for (int pos = 1; pos <= 5; ++pos) {
            const int var = before[static_cast<size_t>(pos - 1)];
            if (var <= 3) expectedAt[static_cast<size_t>(pos)] = names[var - 1];
        }
        for (int pos = 1; pos <= 3; ++pos) EXPECT_EQ(Cell(v, pos, 0), expectedAt[static_cast<size_t>(pos)]);
        for (int pos = 4; pos <= 5; ++pos) EXPECT_EQ(Cell(v, 0, pos - 3), expectedAt[static_cast<size_t>(pos)]);
        EXPECT_EQ(point[2], 7.0);
    }
}

TEST(ShowTableau, FreeVariableValueIsTheDifference) {
    ProblemState s;
    FreePair(s, {4, 3, 5, 1, 2});  // z' basic in row 1 (value 3), z'' in row 2 (value 1.5)
    double point[3] = {};
    const TableauView v = ComputeTableauView(s, true, true, false, ".", point);
    EXPECT_EQ(v.solution.at(0), "z=3/2");
    EXPECT_EQ(point[0], 1.5);
    EXPECT_EQ(point[1], 0.0);
    EXPECT_EQ(Cell(v, 0, 1), "z'");
    EXPECT_EQ(Cell(v, 0, 2), "z''");
}

TEST(ShowTableau, MinimizeNegatesOnlyTheShownValue) {
    ProblemState s;
    WorkedExampleAfterFirstPivot(s);
    double point[3] = {};
    TableauView v = ComputeTableauView(s, false, true, true, ".", point);
    EXPECT_EQ(v.value, "-12");
    EXPECT_EQ(Cell(v, 3, 3), "12");
    EXPECT_EQ(s.Tableau.Index(3, 3), 12.0);
    v = ComputeTableauView(s, true, true, true, ".", point);
    EXPECT_EQ(v.value, "12");

    s.Tableau.Index(3, 3) = 2.5;
    EXPECT_EQ(ComputeTableauView(s, false, true, false, ".", point).value, "-5/2");
    s.Tableau.Index(3, 3) = 0.0;
    EXPECT_EQ(ComputeTableauView(s, false, true, true, ".", point).value, "0");
    s.Tableau.Index(3, 3) = 5e-16;  // the copy is snapped, the cell by the grid
    EXPECT_EQ(ComputeTableauView(s, false, true, true, ".", point).value, "0");
    EXPECT_EQ(std::bit_cast<uint64_t>(s.Tableau.Index(3, 3)), 0u);
}

TEST(ShowTableau, ErrorPanelLeavesAnEmptyGridOfTheTableauSize) {
    ProblemState s;
    WorkedExampleAfterFirstPivot(s);
    s.Tableau.Index(2, 2) = 1e-16;
    double point[3] = {5, 6, 7};
    const TableauView v = ComputeTableauView(s, true, false, true, ".", point);
    EXPECT_FALSE(v.filled);
    EXPECT_EQ(v.rowCount, 4);
    EXPECT_EQ(v.colCount, 4);
    ASSERT_EQ(v.cells.size(), 16u);
    for (const std::string& cell : v.cells) EXPECT_EQ(cell, "");
    EXPECT_TRUE(v.solution.empty());
    EXPECT_TRUE(v.freeVariables.empty());
    EXPECT_EQ(v.count, 0);
    EXPECT_EQ(point[0], 5.0);
    EXPECT_EQ(point[1], 6.0);
    EXPECT_EQ(point[2], 7.0);
    EXPECT_EQ(s.Tableau.Index(2, 2), 1e-16);  // nothing formatted, nothing snapped
    EXPECT_EQ(ColumnOf(s.Labels), (std::vector<int32_t>{3, 2, 1, 4}));
}

TEST(ShowTableau, ErrorPanelWithAPartlyBuiltTableau) {
    // A failed build leaves a tableau that no longer matches Labels.
    ProblemState s;
    WorkedExampleAfterFirstPivot(s);
    SetTableau(s, {{1, 0, 0, -4}, {0, 0, 0, 0}, {3, 2, 1, 0}});
    double point[3] = {};
    const TableauView v = ComputeTableauView(s, true, false, false, ".", point);
    EXPECT_EQ(v.rowCount, 4);
    EXPECT_EQ(v.colCount, 5);
    EXPECT_EQ(v.cells.size(), 20u);
    EXPECT_TRUE(v.solution.empty());
}

TEST(ShowTableau, StateAtProgramStart) {
    ProblemState s;  // every matrix 1x1 holding 0, no names
    double point[3] = {1, 2, 3};
    const TableauView v = ComputeTableauView(s, true, true, false, ".", point);
    EXPECT_TRUE(v.filled);
    EXPECT_EQ(v.rowCount, 2);
    EXPECT_EQ(v.colCount, 2);
    EXPECT_EQ(v.cells, (std::vector<std::string>{"", "", "", "0"}));
    EXPECT_EQ(v.value, "0");
    EXPECT_TRUE(v.solution.empty());
    EXPECT_EQ(v.count, 0);
    EXPECT_EQ(point[0], 1.0);
    EXPECT_EQ(s.Labels.Index(1, 1), 0);
}

TEST(ShowTableau, SolutionPointTakesTheFirstThreeVariables) {
    ProblemState s;
    // Four non-negative variables, all basic: values 1, 2, 3, 4.
    SetTableau(s, {{1, 0, 0, 0, -1}, {0, 1, 0, 0, -2}, {0, 0, 1, 0, -3}, {0, 0, 0, 1, -4}, {1, 1, 1, 1, 10}});
    s.Names = {"a", "b", "c", "d"};
    SetColumn(s.SignMarks, {1, 1, 1, 1});
    SetColumn(s.Labels, {5, 6, 7, 8, 1, 2, 3, 4});
    SetMarks(s, {});
    double point[3] = {};
    const TableauView v = ComputeTableauView(s, true, true, true, ".", point);
    EXPECT_EQ(v.count, 4);
    EXPECT_EQ(v.solution, (std::vector<std::string>{"a=1", "b=2", "c=3", "d=4"}));
    EXPECT_EQ(point[0], 1.0);
    EXPECT_EQ(point[1], 2.0);
    EXPECT_EQ(point[2], 3.0);
    for (int r = 1; r <= 4; ++r) EXPECT_EQ(Cell(v, 0, r), s.Names[static_cast<size_t>(r - 1)]);
}

TEST(ShowTableau, TinyEntriesAreSnappedInTheTableauAndTheSolution) {
    ProblemState s;
    WorkedExampleAfterFirstPivot(s);
    s.Tableau.Index(2, 1) = -1e-16;
    s.Tableau.Index(1, 3) = 4e-16;  // x's constant: x = -4e-16, shown and stored as 0
    s.Tableau.Index(2, 2) = 1e-15;  // the bound itself stays
    double point[3] = {};
    const TableauView v = ComputeTableauView(s, true, true, true, ",", point);
    EXPECT_EQ(Cell(v, 1, 2), "0");
    EXPECT_EQ(Cell(v, 3, 1), "0");
    EXPECT_EQ(Cell(v, 2, 2), "1E-15");
    EXPECT_EQ(std::bit_cast<uint64_t>(s.Tableau.Index(2, 1)), 0u);
    EXPECT_EQ(std::bit_cast<uint64_t>(s.Tableau.Index(1, 3)), 0u);
    EXPECT_EQ(s.Tableau.Index(2, 2), 1e-15);
    EXPECT_EQ(v.solution.at(0), "x=0");
    EXPECT_EQ(std::bit_cast<uint64_t>(point[0]), 0u);  // -(+0.0) snapped back to +0.0
}

TEST(ShowTableau, HugeEntriesShowWithoutFaultInBothNotations) {
    for (bool floating : {true, false}) {
        ProblemState s;
        WorkedExampleAfterFirstPivot(s);
        s.Tableau.Index(1, 1) = 1e20;
        s.Tableau.Index(1, 3) = -9.3e18;  // x = 9.3E18
        s.Tableau.Index(3, 3) = -1e300;
        double point[3] = {};
        TableauView v;
        EXPECT_NO_THROW(v = ComputeTableauView(s, false, true, floating, ".", point));
        EXPECT_EQ(Cell(v, 1, 1), "1E20");
        EXPECT_EQ(v.solution.at(0), "x=9.3E18");
        EXPECT_EQ(v.value, "1E300");
        EXPECT_EQ(ColumnOf(s.Labels), (std::vector<int32_t>{3, 2, 1, 4}));
    }
}

TEST(ShowTableau, NamesThatDoNotFitTheTableauAreNotRead) {
    ProblemState s;
    WorkedExampleAfterFirstPivot(s);
    s.Names = {"x"};  // one name short
    double point[3] = {7, 7, 7};
    TableauView v;
    EXPECT_NO_THROW(v = ComputeTableauView(s, true, true, true, ".", point));
    EXPECT_FALSE(v.filled);
    EXPECT_EQ(v.rowCount, 1);
    EXPECT_EQ(v.colCount, 1);
    EXPECT_TRUE(v.solution.empty());
    EXPECT_EQ(point[0], 7.0);
    EXPECT_EQ(ColumnOf(s.Labels), (std::vector<int32_t>{3, 2, 1, 4}));
}

// Each part of the state read beside the tableau must have the tableau's
// shape; any that does not (left by another problem) shows nothing.
TEST(ShowTableau, MarksLabelsAndSignsOfAnotherShapeAreNotRead) {
    const std::function<void(ProblemState&)> spoil[] = {
        [](ProblemState& s) { s.Labels.Redefine(3, 1); },
        [](ProblemState& s) { s.Labels.Redefine(5, 1); },
        [](ProblemState& s) { s.PivotMarks.Redefine(1, 2); },
        [](ProblemState& s) { s.PivotMarks.Redefine(2, 1); },
        [](ProblemState& s) { s.PivotMarks.Redefine(3, 2); },
        [](ProblemState& s) { s.SignMarks.Redefine(1, 1); },
    };
    for (size_t k = 0; k < std::size(spoil); ++k) {
        SCOPED_TRACE(k);
        ProblemState s;
        WorkedExampleAfterFirstPivot(s);
        spoil[k](s);
        double point[3] = {};
        const TableauView v = ComputeTableauView(s, true, true, true, ".", point);
        EXPECT_FALSE(v.filled);
        EXPECT_EQ(v.cells, std::vector<std::string>{""});
        // With an error shown the grid keeps the tableau's size and reads nothing else.
        const TableauView e = ComputeTableauView(s, true, false, true, ".", point);
        EXPECT_EQ(e.rowCount, 4);
        EXPECT_EQ(e.colCount, 4);
    }
    ProblemState fine;
    WorkedExampleAfterFirstPivot(fine);
    double point[3] = {};
    EXPECT_TRUE(ComputeTableauView(fine, true, true, true, ".", point).filled);
}

// What the window relies on: snapping after every unseen step and computing
// the view only when painting gives what computing it every time gives.
TEST(ShowTableau, SnapTableauIsExactlyTheSnapOfTheView) {
    std::mt19937_64 rng(99);
    std::uniform_real_distribution<double> u(-2.0, 2.0);
    std::uniform_int_distribution<int> kind(0, 5);
    for (int round = 0; round < 50; ++round) {
        ProblemState a;
        WorkedExampleAfterFirstPivot(a);
        a.Tableau.Redefine(3, 3);
        for (uint32_t i = 1; i <= 3; ++i)
            for (uint32_t j = 1; j <= 3; ++j) {
                double v = u(rng);
                switch (kind(rng)) {
                case 0: v *= 1e-15; break;    // mostly snapped, sign kept otherwise
                case 1: v = -0.0; break;
                case 2: v *= 1e-16; break;    // always snapped
                case 3: v = v < 0 ? -1e-15 : 1e-15; break;
                default: break;
                }
                a.Tableau.Index(i, j) = v;
            }
        ProblemState b;
        WorkedExampleAfterFirstPivot(b);
        b.Tableau = a.Tableau;
        double pa[3] = {}, pb[3] = {};
        const TableauView va = ComputeTableauView(a, true, true, false, ".", pa);
        SnapTableau(b.Tableau);
        for (uint32_t i = 1; i <= 3; ++i)
            for (uint32_t j = 1; j <= 3; ++j)
                ASSERT_EQ(std::bit_cast<uint64_t>(a.Tableau.Index(i, j)), std::bit_cast<uint64_t>(b.Tableau.Index(i, j)));
        const TableauView vb = ComputeTableauView(b, true, true, false, ".", pb);
        EXPECT_EQ(va.cells, vb.cells);
        EXPECT_EQ(va.solution, vb.solution);
        EXPECT_EQ(va.value, vb.value);
    }
}

} // namespace
} // namespace optimara
