// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "MatrixR.h"
#include "support/ChildProcess.h"

using optimara::MatrixR;
using optimara::testing::RunInChild;

namespace {

MatrixR Make(std::vector<std::vector<double>> rows) {
    MatrixR m(uint32_t(rows.size()), uint32_t(rows[0].size()));
    for (uint32_t i = 0; i < m.rows; ++i)
        for (uint32_t j = 0; j < m.cols; ++j) m.Index(i + 1, j + 1) = rows[i][j];
    return m;
}

std::vector<std::vector<double>> Contents(const MatrixR& m) {
    std::vector<std::vector<double>> out(m.rows, std::vector<double>(m.cols));
    for (uint32_t i = 0; i < m.rows; ++i)
        for (uint32_t j = 0; j < m.cols; ++j) out[i][j] = m.Index(i + 1, j + 1);
    return out;
}

using Rows = std::vector<std::vector<double>>;

void ExpectFatal(const std::function<void()>& body, const std::string& message) {
    auto r = RunInChild(body);
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.exitStatus, 255);
    EXPECT_EQ(r.output, message);
}

} // namespace

TEST(MatrixR, CapacityGrowsInStepsOfTenAndNeverShrinks) {
    MatrixR one(1, 1);
    EXPECT_EQ(one.Capacity(), 10u);
    EXPECT_EQ(one.Index(1, 1), 0.0);
    EXPECT_EQ(MatrixR(2, 3).Capacity(), 10u);
    MatrixR m(3, 4);
    EXPECT_EQ(m.Capacity(), 20u);
    m.Redefine(1, 1);
    EXPECT_EQ(m.Capacity(), 20u);
    m.Index(1, 1) = 7;
    m.Redefine(5, 5);
    EXPECT_EQ(m.Capacity(), 30u);
    for (auto& row : Contents(m))
        for (double v : row) EXPECT_EQ(v, 0.0);
}

TEST(MatrixR, AddRowInsertsAfterTheRowsThatStayInFront) {
    EXPECT_EQ(Contents([] { auto m = Make({{1, 2}, {3, 4}}); m.AddRow(0, 9); return m; }()),
              (Rows{{9, 9}, {1, 2}, {3, 4}}));
    EXPECT_EQ(Contents([] { auto m = Make({{1, 2}, {3, 4}}); m.AddRow(1, 9); return m; }()),
              (Rows{{1, 2}, {9, 9}, {3, 4}}));
    EXPECT_EQ(Contents([] { auto m = Make({{1, 2}, {3, 4}}); m.AddRow(2, 9); return m; }()),
              (Rows{{1, 2}, {3, 4}, {9, 9}}));
    auto big = Make({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    big.AddRow(0, 0);
    EXPECT_EQ(Contents(big), (Rows{{0, 0, 0}, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}}));
    EXPECT_EQ(big.Capacity(), 20u);
}

TEST(MatrixR, AddColReLaysEveryRow) {
    EXPECT_EQ(Contents([] { auto m = Make({{1, 2}, {3, 4}}); m.AddCol(0, 9); return m; }()),
              (Rows{{9, 1, 2}, {9, 3, 4}}));
    EXPECT_EQ(Contents([] { auto m = Make({{1, 2}, {3, 4}}); m.AddCol(1, 9); return m; }()),
              (Rows{{1, 9, 2}, {3, 9, 4}}));
    EXPECT_EQ(Contents([] { auto m = Make({{1, 2}, {3, 4}}); m.AddCol(2, 9); return m; }()),
              (Rows{{1, 2, 9}, {3, 4, 9}}));
}

TEST(MatrixR, GrowingOneRowAndColumnAtATimeKeepsEveryElement) {
    MatrixR m(1, 1);
    m.Index(1, 1) = 1;
    for (uint32_t k = 2; k <= 30; ++k) {
        m.AddCol(m.cols - 1, 0);
        m.AddRow(m.rows - 1, 0);
        m.Index(k - 1, k - 1) = double(k);
    }
    EXPECT_EQ(m.rows, 30u);
    EXPECT_EQ(m.cols, 30u);
    EXPECT_EQ(m.Capacity(), 900u);
    EXPECT_EQ(m.Index(30, 30), 1.0);  // the first cell moved to the corner
    for (uint32_t k = 1; k <= 29; ++k) EXPECT_EQ(m.Index(k, k), double(k + 1));
}

TEST(MatrixR, DelRowDownToNoRows) {
    auto m = Make({{1, 2}, {3, 4}, {5, 6}});
    m.DelRow(2);
    EXPECT_EQ(Contents(m), (Rows{{1, 2}, {5, 6}}));
    m.DelRow(2);
    m.DelRow(1);
    EXPECT_EQ(m.rows, 0u);
    EXPECT_EQ(m.Capacity(), 10u);
    ExpectFatal([&] { m.Index(1, 1); }, "Call to Index(i,j) with unappropiate parameters");
    m.AddRow(0, 5);
    EXPECT_EQ(Contents(m), (Rows{{5, 5}}));
}

TEST(MatrixR, CopiesAreIndependent) {
    auto a = Make({{1, 2}, {3, 4}});
    MatrixR b(a);
    a.Index(1, 1) = 10;
    b.Index(2, 2) = 40;
    EXPECT_EQ(Contents(a), (Rows{{10, 2}, {3, 4}}));
    EXPECT_EQ(Contents(b), (Rows{{1, 2}, {3, 40}}));
    MatrixR c(1, 1);
    c = b;
    b.Index(1, 2) = -1;
    EXPECT_EQ(Contents(c), (Rows{{1, 2}, {3, 40}}));
}

TEST(MatrixR, Arithmetic) {
    auto a = Make({{1, 2, 3}, {4, 5, 6}});
    auto b = Make({{1, 0}, {0, 1}, {2, -1}});
    EXPECT_EQ(Contents(a * b), (Rows{{7, -1}, {16, -1}}));
    EXPECT_EQ(Contents(a + a), (Rows{{2, 4, 6}, {8, 10, 12}}));
    EXPECT_EQ(Contents(a - a), (Rows{{0, 0, 0}, {0, 0, 0}}));
    EXPECT_EQ(Contents(a * 0.5), (Rows{{0.5, 1, 1.5}, {2, 2.5, 3}}));
    EXPECT_EQ(Contents(a / 2.0), (Rows{{0.5, 1, 1.5}, {2, 2.5, 3}}));
    EXPECT_EQ(Contents(-a), (Rows{{-1, -2, -3}, {-4, -5, -6}}));
    EXPECT_EQ(Contents(a * 0.0), (Rows{{0, 0, 0}, {0, 0, 0}}));
}

TEST(MatrixRFatal, EveryMisuseEndsTheProcessWithItsMessage) {
    ExpectFatal([] { MatrixR m(0, 3); }, "call to MatrixR(m,n) with non-positive parameters");
    ExpectFatal([] { MatrixR m(2, 2); m.Redefine(2, 0); }, "call to Redefine with inaproppiate parameters");
    ExpectFatal([] { MatrixR m(2, 2); m.DelRow(0); }, "call to DelRow(p) with inaproppiate parameter");
    ExpectFatal([] { MatrixR m(2, 2); m.DelRow(3); }, "call to DelRow(p) with inaproppiate parameter");
    ExpectFatal([] { MatrixR m(2, 2); m.AddRow(3, 9); }, "call to AddRow(p) with inaproppiate parameter");
    ExpectFatal([] { MatrixR m(2, 2); m.AddCol(3, 9); }, "call to AddCol(p) with inaproppiate parameter");
    for (auto [i, j] : {std::pair{0u, 1u}, {1u, 0u}, {3u, 1u}, {1u, 3u}})
        ExpectFatal([i = i, j = j] { MatrixR m(2, 2); m.Index(i, j); },
                    "Call to Index(i,j) with unappropiate parameters");
    ExpectFatal([] { MatrixR a(2, 3), b(2, 3); a* b; }, "number of rows and number of columns not equal");
    ExpectFatal([] { MatrixR a(2, 3), b(3, 2); a + b; }, "number of rows or columns not equal");
    ExpectFatal([] { MatrixR a(2, 3), b(2, 2); a - b; }, "number of rows or columns not equal");
    ExpectFatal([] { MatrixR a(2, 3); a / 0.0; }, "division by 0");
    ExpectFatal([] { MatrixR a(2, 3); a / -0.0; }, "division by 0");
    ExpectFatal([] { MatrixR m(100000, 100000); }, "Not enough memory. Bye...");
}

TEST(MatrixRFatal, BufferedOutputIsFlushedBeforeTheEnd) {
    auto r = RunInChild([] {
        std::printf("before ");
        MatrixR m(1, 1);
        m.Index(2, 1);
    });
    EXPECT_EQ(r.exitStatus, 255);
    EXPECT_EQ(r.output, "before Call to Index(i,j) with unappropiate parameters");
}

TEST(MatrixR, LastElementIsReachable) {
    MatrixR m(3, 4);
    m.Index(3, 4) = 5;
    EXPECT_EQ(m.Index(3, 4), 5.0);
}

TEST(MatrixR, AddColAtEveryPositionOfATallMatrix) {
    for (uint32_t p = 0; p <= 5; ++p) {
        MatrixR m(7, 5);
        for (uint32_t i = 1; i <= 7; ++i)
            for (uint32_t j = 1; j <= 5; ++j) m.Index(i, j) = 10.0 * i + j;
        m.AddCol(p, -1);
        ASSERT_EQ(m.cols, 6u);
        for (uint32_t i = 1; i <= 7; ++i)
            for (uint32_t j = 1; j <= 6; ++j) {
                double expected = j == p + 1 ? -1 : 10.0 * i + (j <= p ? j : j - 1);
                EXPECT_EQ(m.Index(i, j), expected) << "p=" << p << " at " << i << "," << j;
            }
    }
}
