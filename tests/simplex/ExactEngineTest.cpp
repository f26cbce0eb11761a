// SPDX-License-Identifier: GPL-3.0-or-later
// The exact tableau goes through the same choice and the same exchange as
// the floating one: while the values are the same both take the same pivots
// with the same draws.
#include <gtest/gtest.h>

#include <random>

#include "Simplex.h"
#include "support/MatrixRows.h"

using namespace optimara;
using namespace optimara::testing;

namespace {

TEST(NearestDouble, RoundsToNearestEvenWhereTruncationWouldNot) {
    const struct {
        mpq_class q;
        double expected;
    } cases[] = {
        {mpq_class(1, 3), 1.0 / 3.0},
        {mpq_class(-2, 3), -2.0 / 3.0},
        {mpq_class(1, 10), 0.1},
        {mpq_class(7, 1), 7.0},
        {mpq_class(0), 0.0},
        // 2^53 + 1 lies halfway: to even, 2^53; 2^53 + 3 rounds up.
        {mpq_class("9007199254740993"), 9007199254740992.0},
        {mpq_class("9007199254740995"), 9007199254740996.0},
        {mpq_class("1/1" + std::string(330, '0')), 1e-330},
    };
    for (const auto& c : cases) EXPECT_EQ(NearestDouble(c.q), c.expected) << c.q.get_str();
}

// A random tableau of small integers, feasible or not.
void Random(MatrixR& T, MatrixQ& Q, std::mt19937& rng, uint32_t m, uint32_t n) {
    T.Redefine(m + 1, n + 1);
    Q.Redefine(m + 1, n + 1);
    for (uint32_t i = 1; i <= m + 1; ++i)
        for (uint32_t j = 1; j <= n + 1; ++j) {
            const int v = static_cast<int>(rng() % 9) - 4;
            T.Index(i, j) = v;
            Q.Index(i, j) = v;
        }
}

// While every floating cell is its exact value, both engines see the same
// numbers; from the first rounding on, a tie may break otherwise.
bool SameValues(const MatrixR& t, const MatrixQ& q) {
    for (uint32_t i = 1; i <= t.rows; ++i)
        for (uint32_t j = 1; j <= t.cols; ++j)
            if (mpq_class(t.Index(i, j)) != q.Index(i, j)) return false;
    return true;
}

TEST(ExactEngine, SameChoicesAndDrawsAsTheFloatingEngineOnTheSameValues) {
    std::mt19937 rng(5);
    int steps = 0;
    for (int k = 0; k < 200; ++k) {
        MatrixR T(1, 1);
        MatrixQ Q(1, 1);
        Random(T, Q, rng, 2 + rng() % 3, 2 + rng() % 3);
        for (PivotRule rule : {PivotRule::Random, PivotRule::LargestCoefficient, PivotRule::SmallestIndex}) {
            MatrixR t(T);
            MatrixQ q(Q);
            MatrixZ labels(t.rows + t.cols - 2, 1), exactLabels(t.rows + t.cols - 2, 1);
            for (uint32_t p = 1; p <= labels.rows; ++p) labels.Index(p, 1) = exactLabels.Index(p, 1) = int32_t(p);
            MatrixZ marks(1, 1), exactMarks(1, 1);
            int32_t count = 0, exactCount = 0;
            RandomGenerator random, exactRandom;
            for (int s = 0; s < 30 && SameValues(t, q); ++s) {
                SnapTableau(t);
                const int32_t status = SelectPivot(t, marks, count, random, rule, &labels);
                const int32_t exact = SelectPivot(q, exactMarks, exactCount, exactRandom, rule, &exactLabels);
                ASSERT_EQ(status, exact) << k << " step " << s;
                ASSERT_EQ(MarksOf(marks), MarksOf(exactMarks)) << k << " step " << s;
                ASSERT_EQ(random.state, exactRandom.state);
                if (status != PivotChosen) break;
                PivotStep(t, marks, count, labels);
                PivotStep(q, exactMarks, exactCount, exactLabels);
                ASSERT_EQ(ColumnOf(labels), ColumnOf(exactLabels));
                ++steps;
            }
        }
    }
    EXPECT_GT(steps, 300);
}

TEST(ExactEngine, ExchangeOnTheWorkedExampleGivesExactFractions) {
    // (1, 3 | -6), (1, 1 | -4), (3, 2 | 0): pivot (1,2) = 3 leaves 1/3.
    MatrixQ q(3, 3);
    const int rows[3][3] = {{1, 3, -6}, {1, 1, -4}, {3, 2, 0}};
    for (uint32_t i = 1; i <= 3; ++i)
        for (uint32_t j = 1; j <= 3; ++j) q.Index(i, j) = rows[i - 1][j - 1];
    MatrixZ marks(2, 2), labels(4, 1);
    for (uint32_t p = 1; p <= 4; ++p) labels.Index(p, 1) = int32_t(p);
    marks.Index(1, 2) = 2;
    PivotStep(q, marks, 1, labels);
    EXPECT_EQ(q.Index(1, 1), mpq_class(1, 3));
    EXPECT_EQ(q.Index(1, 2), mpq_class(1, 3));
    EXPECT_EQ(q.Index(1, 3), mpq_class(-2));
    EXPECT_EQ(q.Index(2, 1), mpq_class(2, 3));
    EXPECT_EQ(q.Index(2, 2), mpq_class(-1, 3));
    EXPECT_EQ(q.Index(3, 1), mpq_class(7, 3));
    EXPECT_EQ(q.Index(3, 3), mpq_class(4));
    EXPECT_EQ(ColumnOf(labels), (std::vector<int32_t>{1, 3, 2, 4}));
}

} // namespace
