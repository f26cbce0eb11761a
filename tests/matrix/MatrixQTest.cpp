// SPDX-License-Identifier: GPL-3.0-or-later
// The exact matrix pivoted in its integer form reads, cell by cell and
// rounded, as the same matrix pivoted on plain reduced fractions.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "MatrixQ.h"
#include "support/RationalExchange.h"

using namespace optimara;
using namespace optimara::testing;

namespace {

using Pivots = std::vector<std::pair<uint32_t, uint32_t>>;  // one-based

RationalRows Parse(const std::vector<std::vector<std::string>>& text) {
    RationalRows rows;
    for (const auto& line : text) {
        rows.emplace_back();
        for (const std::string& cell : line) {
            mpq_class q(cell);
            q.canonicalize();
            rows.back().push_back(q);
        }
    }
    return rows;
}

// The rounding first (before any read fills the reduced cells), then every
// cell, its sign and, where it is not 0, its ratio against the reference.
void ExpectSame(const MatrixQ& q, const RationalRows& want, const std::string& where) {
    const MatrixR real = q.ToReal();
    ASSERT_EQ(q.rows, want.size()) << where;
    ASSERT_EQ(q.cols, want[0].size()) << where;
    for (uint32_t i = 1; i <= q.rows; ++i)
        for (uint32_t j = 1; j <= q.cols; ++j) {
            const mpq_class& x = want[i - 1][j - 1];
            EXPECT_EQ(real.Index(i, j), NearestDouble(x)) << where << " (" << i << "," << j << ")";
            EXPECT_EQ(q.Sign(i, j), sgn(x)) << where << " (" << i << "," << j << ")";
            if (sgn(x) == 0) continue;
            const mpq_class ratio = want[i - 1][q.cols - 1] / x;
            EXPECT_EQ(q.Ratio(i, j), ratio) << where << " (" << i << "," << j << ")";
            for (const mpq_class& d : {ratio, mpq_class(ratio - mpq_class(1, 7)), mpq_class(ratio + 1)})
                EXPECT_EQ(q.CompareRatio(i, j, d), (ratio > d) - (ratio < d)) << where << " (" << i << "," << j << ")";
        }
    for (uint32_t i = 1; i <= q.rows; ++i)
        for (uint32_t j = 1; j <= q.cols; ++j)
            EXPECT_EQ(q.Index(i, j), want[i - 1][j - 1]) << where << " (" << i << "," << j << ")";
}

struct Case {
    const char* name;
    std::vector<std::vector<std::string>> rows;
    Pivots pivots;
};

const Case kCases[] = {
    {"small integers", {{"2", "1", "-4"}, {"1", "3", "-6"}, {"3", "2", "0"}}, {{1, 1}, {2, 2}, {1, 2}}},
    {"negative pivots", {{"-3", "2", "5"}, {"4", "-7", "-1"}, {"1", "1", "0"}}, {{1, 1}, {2, 2}, {2, 1}, {1, 2}}},
    {"a zero row", {{"0", "0", "0"}, {"2/3", "5", "-1"}, {"1", "-1/2", "7/4"}}, {{2, 1}, {3, 2}, {2, 2}}},
    {"fractions", {{"1/3", "2/7", "-5/11", "3"}, {"-4/9", "1/2", "6/5", "-1/8"}, {"7/3", "0", "1", "2/3"}},
     {{1, 1}, {2, 3}, {3, 2}, {1, 3}}},
    {"huge and tiny",
     {{"123456789012345678901234567890", "1/1000000000000000000000000000000", "-1"},
      {"1000000000000000000000000000000", "1/1000000000000000000000", "3"},
      {"1", "1", "0"}},
     {{1, 1}, {2, 2}, {1, 2}, {2, 1}}},
    {"back and forth", {{"5", "-2", "1"}, {"3", "4", "-2"}, {"1", "1", "0"}}, {{1, 1}, {1, 1}, {2, 2}, {2, 2}}},
};

TEST(MatrixQ, PivotsInTheIntegerFormReadAsPlainFractions) {
    for (const Case& c : kCases) {
        RationalRows want = Parse(c.rows);
        MatrixQ q = MatrixOfRows(want);
        EXPECT_FALSE(q.IntegerForm()) << c.name;
        ExpectSame(q, want, std::string(c.name) + " as written");
        for (size_t k = 0; k < c.pivots.size(); ++k) {
            const auto [r, col] = c.pivots[k];
            q.Exchange(r, col);
            RationalExchange(want, r - 1, col - 1);
            EXPECT_TRUE(q.IntegerForm()) << c.name;
            ExpectSame(q, want, std::string(c.name) + " after pivot " + std::to_string(k + 1));
        }
    }
}

// Random dense matrices of small integers, a long chain of pivots on
// non-zero cells: the integers grow, the divisions must stay exact.
TEST(MatrixQ, LongChainsOfPivotsStayExact) {
    std::mt19937 rng(11);
    for (int k = 0; k < 20; ++k) {
        const uint32_t m = 3 + rng() % 4, n = 3 + rng() % 4;
        RationalRows want(m, std::vector<mpq_class>(n));
        for (auto& row : want)
            for (auto& x : row) {
                x = mpq_class(int(rng() % 19) - 9, 1 + rng() % 4);
                x.canonicalize();
            }
        MatrixQ q = MatrixOfRows(want);
        for (int s = 0; s < 12; ++s) {
            const uint32_t r = rng() % m, c = rng() % n;
            if (sgn(want[r][c]) == 0) continue;
            q.Exchange(r + 1, c + 1);
            RationalExchange(want, r, c);
            ExpectSame(q, want, "matrix " + std::to_string(k) + " step " + std::to_string(s));
        }
    }
}

TEST(MatrixQ, RoundsTiesToEvenFromTheIntegerForm) {
    // Row 1 holds p and v*p: after the pivot on p the cell (1,2) is v.
    const std::string values[] = {"9007199254740993", "9007199254740995", "-9007199254740993", "1/3", "-2/3",
                                  "1/1" + std::string(330, '0'), "1" + std::string(400, '0'), "5/2"};
    for (const std::string& text : values) {
        mpq_class v(text);
        v.canonicalize();
        RationalRows want = {{mpq_class(3), mpq_class(3 * v)}, {mpq_class(1), mpq_class(0)}};
        MatrixQ q = MatrixOfRows(want);
        q.Exchange(1, 1);
        RationalExchange(want, 0, 0);
        ExpectSame(q, want, text);
    }
}

TEST(MatrixQ, RowsAddedAfterPivotsArePivotedWithTheRest) {
    RationalRows want = Parse({{"2", "-1", "3"}, {"1", "4", "-2"}, {"1/2", "1", "0"}});
    MatrixQ q = MatrixOfRows(want);
    q.Exchange(1, 1);
    RationalExchange(want, 0, 0);
    q.Exchange(2, 2);
    RationalExchange(want, 1, 1);
    q.AddRow(2, mpq_class(1, 5));
    want.insert(want.begin() + 2, std::vector<mpq_class>(3, mpq_class(1, 5)));
    EXPECT_FALSE(q.IntegerForm());
    ExpectSame(q, want, "added row");
    q.Exchange(3, 1);
    RationalExchange(want, 2, 0);
    ExpectSame(q, want, "added row pivoted");
    q.DelRow(1);
    want.erase(want.begin());
    q.AddCol(1, mpq_class(-3));
    for (auto& row : want) row.insert(row.begin() + 1, mpq_class(-3));
    q.Exchange(1, 2);
    RationalExchange(want, 0, 1);
    ExpectSame(q, want, "row taken, column added, pivoted");
}

TEST(MatrixQ, AWrittenCellLeavesTheIntegerFormAndTheNextPivotReturns) {
    RationalRows want = Parse({{"3", "1", "2"}, {"-1", "5", "7"}});
    MatrixQ q = MatrixOfRows(want);
    q.Exchange(1, 1);
    RationalExchange(want, 0, 0);
    q.Index(2, 3) = mpq_class(11, 4);
    want[1][2] = mpq_class(11, 4);
    EXPECT_FALSE(q.IntegerForm());
    q.Exchange(2, 2);
    RationalExchange(want, 1, 1);
    EXPECT_TRUE(q.IntegerForm());
    ExpectSame(q, want, "written then pivoted");
}

TEST(MatrixQ, ACopyPivotsWithoutTouchingTheOriginal) {
    RationalRows want = Parse({{"4", "-2", "1"}, {"3", "1/3", "-5"}, {"1", "2", "0"}});
    MatrixQ original = MatrixOfRows(want);
    original.Exchange(1, 1);
    RationalExchange(want, 0, 0);
    MatrixQ copy(original);
    RationalRows copied = want;
    copy.Exchange(2, 2);
    RationalExchange(copied, 1, 1);
    ExpectSame(copy, copied, "copy pivoted");
    ExpectSame(original, want, "original");
    MatrixQ assigned(1, 1);
    assigned = copy;
    assigned.Exchange(3, 1);
    ExpectSame(copy, copied, "copy after its own copy pivoted");
}

} // namespace
