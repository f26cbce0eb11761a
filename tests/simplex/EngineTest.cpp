// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Fault.h"
#include "Simplex.h"
#include "support/MatrixRows.h"

using namespace optimara;
using namespace optimara::testing;
using Marks = std::vector<std::vector<int32_t>>;

namespace {

struct Engine {
    MatrixR T{1, 1};
    MatrixZ marks{1, 1};
    MatrixZ labels{1, 1};
    int32_t count = -5;
    RandomGenerator random;

    explicit Engine(const Rows& rows) {
        SetRows(T, rows);
        labels.Redefine(T.rows - 1 + T.cols - 1, 1);
        for (uint32_t k = 1; k <= labels.rows; ++k) labels.Index(k, 1) = int32_t(k);
    }
    int32_t Select() { return SelectPivot(T, marks, count, random); }
    void Step() { PivotStep(T, marks, count, labels); }
};

} // namespace

TEST(RandomDraw, FirstDrawsFromTheSeed) {
    RandomGenerator g;
    EXPECT_EQ(g.RandomDraw(), 346);
    EXPECT_EQ(g.RandomDraw(), 130);
    for (int k = 0; k < 1000; ++k) {
        int32_t v = g.RandomDraw();
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 32767);
    }
}

TEST(SelectPivot, TableauWithoutConstraintRows) {
    Engine e({{2, -1, 0}});
    e.marks.Redefine(2, 2);
    e.marks.Index(1, 1) = 2;
    EXPECT_EQ(e.Select(), Unbounded);
    EXPECT_EQ(e.count, 0);
    EXPECT_EQ(e.marks.Index(1, 1), 2);  // left as it was
    Engine f({{-2, 0, 5}});
    EXPECT_EQ(f.Select(), Optimal);
    EXPECT_EQ(f.random.state, 1u);  // no draw without candidates
}

TEST(SelectPivot, WorkedExampleMarksBothColumnsAndDrawsTheFirst) {
    Engine e({{1, 1, -4}, {1, 3, -6}, {3, 2, 0}});
    EXPECT_EQ(e.Select(), PivotChosen);
    EXPECT_EQ(e.count, 2);
    EXPECT_EQ(MarksOf(e.marks), (Marks{{2, 0}, {0, 1}}));
}

TEST(SelectPivot, TiedRatiosAreAllCandidatesAndBeatenOnesAreCleared) {
    // Column 1: rows 1 and 3 tie at -2, row 2 (-4) is beaten.
    Engine e({{1, 0, -2}, {1, 0, -4}, {2, 0, -4}, {1, 0, 0}});
    EXPECT_EQ(e.Select(), PivotChosen);
    EXPECT_EQ(e.count, 2);
    auto m = MarksOf(e.marks);
    EXPECT_EQ(m[1][0], 0);
    EXPECT_EQ(m[0][0] + m[2][0], 3);  // one chosen (2), one tied (1)
    // A row that equalled the best ratio but was beaten later ends with 0.
    Engine f({{1, 0, -4}, {1, 0, -4}, {1, 0, -2}, {1, 0, 0}});
    EXPECT_EQ(f.Select(), PivotChosen);
    EXPECT_EQ(f.count, 1);
    EXPECT_EQ(MarksOf(f.marks), (Marks{{0, 0}, {0, 0}, {2, 0}}));
}

// Equal rows tie, also where the ratio's quotient rounds so that the
// constant lies below the product ratio * entry (-3.6 / 87.5 is such a
// quotient): the search for rows that reach a column's best ratio must not
// lose them. In both phases.
TEST(SelectPivot, RowsTiedThroughARoundedQuotientAreAllCandidates) {
    Engine optimality({{87.5, -3.6}, {87.5, -3.6}, {62.8, -96.6}, {1, 0}});
    EXPECT_EQ(optimality.Select(), PivotChosen);
    EXPECT_EQ(optimality.count, 2);
    auto m = MarksOf(optimality.marks);
    EXPECT_EQ(m[0][0] + m[1][0], 3);
    // Row 1 drives the feasibility phase (-3.6 / -87.5 is the same
    // quotient); rows 2 and 3 tie with it.
    Engine feasibility({{-87.5, 3.6}, {87.5, -3.6}, {87.5, -3.6}, {1, 0}});
    EXPECT_EQ(feasibility.Select(), PivotChosen);
    EXPECT_EQ(feasibility.count, 3);
}

TEST(SelectPivot, InfeasibleWhenTheLastInfeasibleRowHasNoNegativeEntry) {
    Engine e({{1, 1, 2}, {-1, 0, -1}, {1, 1, 0}});
    EXPECT_EQ(e.Select(), Infeasible);
    EXPECT_EQ(e.count, 0);
    EXPECT_EQ(MarksOf(e.marks), (Marks{{0, 0}, {0, 0}}));
}

TEST(SelectPivot, OnlyTheLastInfeasibleRowDrivesTheFeasibilityPhase) {
    // Rows 1 and 2 infeasible; row 2 drives; row 3 limits column 1 earlier.
    Engine e({{-1, -1, 5}, {-1, -2, 4}, {1, 0, -1}, {0, 0, 0}});
    EXPECT_EQ(e.Select(), PivotChosen);
    auto m = MarksOf(e.marks);
    EXPECT_EQ(m[0], (std::vector<int32_t>{0, 0}));  // rows above a untouched
    // Column 1: row 2 ratio -4, row 3 ratio 1/1... x=-1/1=-1 > -4, row 3 wins.
    EXPECT_EQ(m[1][0], 0);
    EXPECT_GE(m[2][0], 1);
    EXPECT_GE(m[1][1], 1);  // column 2 has only row 2
    EXPECT_EQ(e.count, 2);
}

// A row whose constant is 0 becomes infeasible at once when the entering
// column's entry is positive: it limits the step at 0, the tightest ratio,
// in both phases. With a negative entry it never limits.
TEST(SelectPivot, ZeroConstantRowsLimitAtOnceOnlyThroughAPositiveEntry) {
    struct Case {
        const char* what;
        Rows rows;
        int32_t status;
        Marks marks;  // 2 where the single candidate is
    };
    const Case cases[] = {
        {"feasibility phase, positive entry below row a", {{-1, 3}, {1, 0}, {0, 0}}, PivotChosen, {{0}, {2}}},
        {"feasibility phase, negative entry below row a", {{-1, 3}, {-1, 0}, {0, 0}}, PivotChosen, {{2}, {0}}},
        {"feasibility phase, zero row beats a limiting row", {{-1, 3}, {1, -1}, {2, 0}, {0, 0}}, PivotChosen,
         {{0}, {0}, {2}}},
        {"optimality phase, zero row beats a limiting row", {{0, 1, -3}, {1, 1, 0}, {0, 1, 0}}, PivotChosen,
         {{0, 0}, {0, 2}}},
        {"optimality phase, negative entry never limits", {{-1, 0}, {1, 0}}, Unbounded, {{0}}},
        {"optimality phase, negative zero row beside a limiting row", {{-1, 0, 0}, {1, 1, -2}, {1, 0, 0}},
         PivotChosen, {{0, 0}, {2, 0}}},
    };
    for (const Case& c : cases) {
        Engine e(c.rows);
        EXPECT_EQ(e.Select(), c.status) << c.what;
        EXPECT_EQ(MarksOf(e.marks), c.marks) << c.what;
    }
}

TEST(SelectPivot, ZeroConstantRowsTieAmongThemselvesAcrossColumns) {
    // Column 1: rows 1 and 2 limit at 0, row 3 (negative entry) does not.
    // Column 2: row 1 at 0 beats row 4's ratio -3.
    Engine e({{1, 1, 0}, {2, 0, 0}, {-1, 0, 0}, {0, 1, -3}, {1, 1, 0}});
    EXPECT_EQ(e.Select(), PivotChosen);
    EXPECT_EQ(e.count, 3);
    auto m = MarksOf(e.marks);
    EXPECT_GE(m[0][0], 1);
    EXPECT_GE(m[1][0], 1);
    EXPECT_GE(m[0][1], 1);
    EXPECT_EQ(m[2][0] + m[3][1], 0);
}

// Rounding residue must not count as data: each row of tableaux that differ
// only in one value, once as residue and once as a real (small) value.
TEST(SelectPivot, ResidueIsJudgedAgainstTheRowsOwnMagnitude) {
    struct Case {
        const char* what;
        Rows residue, real;
        int32_t residueStatus, realStatus;
    };
    const Case cases[] = {
        {"constant of a row", {{1, 1, 1.7e-12}, {-1, -1, 0}}, {{1, 1, 1e-8}, {-1, -1, 0}}, Optimal, Infeasible},
        {"entry of the objective", {{1, 1, -1}, {5e-13, -1, 0}}, {{1, 1, -1}, {1e-8, -1, 0}}, Optimal,
         PivotChosen},
        {"entry of a small row", {{2e-16, 1e-6, -1e-7}, {1, -1, 0}}, {{2e-14, 1e-6, -1e-7}, {1, -1, 0}},
         Unbounded, PivotChosen},
    };
    for (const Case& c : cases) {
        Engine a(c.residue), b(c.real);
        EXPECT_EQ(a.Select(), c.residueStatus) << c.what;
        EXPECT_EQ(b.Select(), c.realStatus) << c.what;
    }
    // A residue entry never becomes a pivot, however good its ratio looks.
    Engine e({{1e-14, 1, -1}, {1, 0, -1e20}, {1, 0, 0}});
    EXPECT_EQ(e.Select(), PivotChosen);
    EXPECT_EQ(MarksOf(e.marks), (Marks{{0, 0}, {2, 0}}));
    Engine f({{1e-6, 1, -1}, {1, 0, -1e20}, {1, 0, 0}});
    EXPECT_EQ(f.Select(), PivotChosen);
    EXPECT_EQ(MarksOf(f.marks), (Marks{{2, 0}, {0, 0}}));
    // A badly scaled row keeps its small entries beside a large row.
    Engine g({{1e-6, 1e-6, -1e-6}, {1, 0, -5}, {0, 1e4, -1}, {1, 0, 0}});
    EXPECT_EQ(g.Select(), PivotChosen);
    EXPECT_EQ(MarksOf(g.marks), (Marks{{2, 0}, {0, 0}, {0, 0}}));
}

TEST(SelectPivot, UnboundedOnlyWhenNoEligibleColumnHasACandidate) {
    Engine e({{-1, 1, -2}, {1, 1, 0}});
    EXPECT_EQ(e.Select(), PivotChosen);  // column 1 unlimited, column 2 limited
    EXPECT_EQ(MarksOf(e.marks), (Marks{{0, 2}}));
    Engine f({{-1, 1, -2}, {1, -1, 0}});
    EXPECT_EQ(f.Select(), Unbounded);
    EXPECT_EQ(f.count, 0);
}

TEST(SelectPivot, AfterAnyCallExactlyOnePivotOrNoMarks) {
    RandomGenerator random;
    for (int trial = 0; trial < 300; ++trial) {
        Rows rows(4, std::vector<double>(4));
        for (auto& r : rows)
            for (auto& v : r) v = double(int(random.RandomDraw() % 7) - 3);
        Engine e(rows);
        e.random = random;
        int32_t status = e.Select();
        random = e.random;
        int twos = 0, ones = 0;
        for (auto& r : MarksOf(e.marks))
            for (int v : r) {
                EXPECT_TRUE(v >= 0 && v <= 2) << "working label left behind: " << v;
                twos += v == 2;
                ones += v == 1;
            }
        if (e.count == 0) {
            EXPECT_EQ(twos + ones, 0);
            EXPECT_NE(status, PivotChosen);
        } else {
            EXPECT_EQ(status, PivotChosen);
            EXPECT_EQ(twos, 1);
            EXPECT_EQ(ones, e.count - 1);
        }
    }
}

TEST(PivotStep, WorkedExampleThenOptimal) {
    Engine e({{1, 1, -4}, {1, 3, -6}, {3, 2, 0}});
    e.Select();
    e.Step();
    EXPECT_EQ(RowsOf(e.T), (Rows{{1, 1, -4}, {-1, 2, -2}, {-3, -1, 12}}));
    EXPECT_EQ(ColumnOf(e.labels), (std::vector<int32_t>{3, 2, 1, 4}));
    MatrixZ signs(2, 1);
    signs.Index(1, 1) = signs.Index(2, 1) = 1;
    auto reading = ReadSolution(e.T, e.labels, signs, true);
    EXPECT_EQ(reading.values, (std::vector<double>{4, 0}));
    EXPECT_EQ(reading.objective, 12);
    EXPECT_EQ(ColumnOf(e.labels), (std::vector<int32_t>{3, 2, 1, 4}));
    EXPECT_EQ(ReadSolution(e.T, e.labels, signs, false).objective, -12);
    EXPECT_EQ(e.Select(), Optimal);
}

TEST(PivotStep, NothingChangesWithoutCandidates) {
    Engine e({{1, 1, -4}, {1, 3, -6}, {3, 2, 0}});
    e.marks.Redefine(2, 2);
    e.marks.Index(1, 1) = 2;  // stale mark
    MatrixR before(e.T);
    PivotStep(e.T, e.marks, 0, e.labels);
    EXPECT_TRUE(SameBits(before, e.T));
    EXPECT_EQ(ColumnOf(e.labels), (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST(PivotStep, NegativePivotInADegenerateRowKeepsTheConstants) {
    Engine e({{-2, 1, 0}, {1, 1, -3}, {1, 1, 5}});
    e.marks.Redefine(2, 2);
    e.marks.Index(1, 1) = 2;
    e.Step();
    EXPECT_EQ(RowsOf(e.T), (Rows{{-0.5, -0.5, 0}, {0.5, 1.5, -3}, {0.5, 1.5, 5}}));
}

TEST(PivotStep, ResidueOfCancellationIsStoredAsExactZero) {
    // 0.3 - (0.1*3)/1 leaves 5.55e-17 in plain arithmetic.
    Engine e({{1, 3, -1}, {0.1, 0.3, -1}, {1, 1, 0}});
    e.marks.Redefine(2, 2);
    e.marks.Index(1, 1) = 2;
    e.Step();
    EXPECT_EQ(e.T.Index(2, 2), 0.0);
    EXPECT_FALSE(std::signbit(e.T.Index(2, 2)));
    EXPECT_DOUBLE_EQ(e.T.Index(2, 3), -0.9);
}

// Pivots on cell (1,1) and expects the fault with its text, the tableau and
// the labels bit for bit as they were.
void ExpectFaultLeavesStepUndone(const Rows& rows, const char* text) {
    Engine e(rows);
    e.marks.Redefine(2, 2);
    e.marks.Index(1, 1) = 2;
    e.count = 1;
    MatrixR before(e.T);
    try {
        e.Step();
        ADD_FAILURE() << "no fault";
    } catch (const FloatingPointFault& f) {
        EXPECT_STREQ(f.what(), text);
    }
    EXPECT_TRUE(SameBits(before, e.T));
    EXPECT_EQ(ColumnOf(e.labels), (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST(PivotStep, FaultsLeaveTableauAndLabelsUntouched) {
    ExpectFaultLeavesStepUndone({{0, 1, -4}, {1, 3, -6}, {3, 2, 0}}, "Floating point division by zero");
    const double big = std::numeric_limits<double>::max();
    ExpectFaultLeavesStepUndone({{1e-300, 1, -4}, {1, 3, -6}, {big, 2, 0}}, "Floating point overflow");
    // A product that overflows is no cancellation residue.
    ExpectFaultLeavesStepUndone({{1, 1e300, -4}, {1e300, 3, -6}, {1, 2, 0}}, "Floating point overflow");
    // An overflow in the last row, after every other row was computed.
    ExpectFaultLeavesStepUndone({{1e-300, 1e10, -4}, {0, 3, -6}, {1, 2, 0}}, "Floating point overflow");
}

TEST(SnapTableau, OnlyEntriesStrictlyWithinTheLimitBecomePlusZero) {
    MatrixR T(1, 1);
    SetRows(T, {{1e-16, -9.9e-16, -0.0}, {1e-15, -1e-15, 3}});
    SnapTableau(T);
    MatrixR expected(1, 1);
    SetRows(expected, {{0.0, 0.0, 0.0}, {1e-15, -1e-15, 3}});
    EXPECT_TRUE(SameBits(T, expected));
}

TEST(Labels, InvertTwiceRestores) {
    MatrixZ z(1, 1);
    SetColumn(z, {3, 2, 1, 4});
    InvertLabels(z);
    EXPECT_EQ(ColumnOf(z), (std::vector<int32_t>{3, 2, 1, 4}));
    SetColumn(z, {2, 3, 1});
    InvertLabels(z);
    EXPECT_EQ(ColumnOf(z), (std::vector<int32_t>{3, 1, 2}));
    InvertLabels(z);
    EXPECT_EQ(ColumnOf(z), (std::vector<int32_t>{2, 3, 1}));
}

TEST(Reading, FreeVariablePairsAreReportedOnce) {
    // Columns: z' z'' w' w''; rows: 2. z' basic in row 1 (-5), z'' non-basic;
    // w' non-basic, w'' basic in row 2 (-2).
    MatrixR T(1, 1);
    SetRows(T, {{1, 0, 0, 0, -5}, {0, 0, 1, 0, -2}, {0, 0, 0, 0, 7}});
    MatrixZ labels(1, 1);
    // position -> variable: columns hold 5, 2, 3, 6; rows hold 1 and 4.
    SetColumn(labels, {5, 2, 3, 6, 1, 4});
    MatrixZ signs(1, 1);
    SetColumn(signs, {0, 0, 0, 0});
    auto r = ReadSolution(T, labels, signs, true);
    EXPECT_EQ(r.values, (std::vector<double>{5, -2}));
    EXPECT_EQ(r.objective, 7);
    // Where each column stands, for the labels of the display.
    ASSERT_EQ(r.places.size(), 2u);
    EXPECT_EQ((std::vector<uint32_t>{r.places[0].column, r.places[0].position, r.places[0].secondPosition}),
              (std::vector<uint32_t>{1, 5, 2}));
    EXPECT_EQ((std::vector<uint32_t>{r.places[1].column, r.places[1].position, r.places[1].secondPosition}),
              (std::vector<uint32_t>{3, 3, 6}));
}
