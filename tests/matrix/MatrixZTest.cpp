// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

#include "MatrixZ.h"
#include "support/ChildProcess.h"

using optimara::MatrixZ;
using optimara::testing::RunInChild;

namespace {

MatrixZ& Fill(MatrixZ& m, std::vector<int32_t> column) {
    m.Redefine(uint32_t(column.size()), 1);
    for (uint32_t i = 0; i < column.size(); ++i) m.Index(i + 1, 1) = column[i];
    return m;
}

std::vector<int32_t> Column(const MatrixZ& m) {
    std::vector<int32_t> out;
    for (uint32_t i = 1; i <= m.rows; ++i) out.push_back(m.Index(i, 1));
    return out;
}

} // namespace

static_assert(!std::is_copy_constructible_v<MatrixZ> && !std::is_copy_assignable_v<MatrixZ>);

TEST(MatrixZ, StartsAtZeroWithCapacityTen) {
    MatrixZ m(1, 1);
    EXPECT_EQ(m.Index(1, 1), 0);
    EXPECT_EQ(m.Capacity(), 10u);
}

TEST(MatrixZ, RowInsertionKeepsTheEntriesAfterIt) {
    MatrixZ m(1, 1);
    Fill(m, {0, 1, 0}).AddRow(1, 0);
    EXPECT_EQ(Column(m), (std::vector<int32_t>{0, 0, 1, 0}));
    Fill(m, {5, 6, 7}).AddRow(0, 9);
    EXPECT_EQ(Column(m), (std::vector<int32_t>{9, 5, 6, 7}));
    Fill(m, {5, 6, 7}).AddRow(3, 9);
    EXPECT_EQ(Column(m), (std::vector<int32_t>{5, 6, 7, 9}));
    Fill(m, {5, 6, 7}).DelRow(2);
    EXPECT_EQ(Column(m), (std::vector<int32_t>{5, 7}));
}

TEST(MatrixZ, NegativeElementsAndColumns) {
    MatrixZ m(2, 2);
    m.Index(1, 1) = -7;
    m.Index(2, 2) = -2147483647 - 1;
    m.AddCol(1, 3);
    EXPECT_EQ(m.Index(1, 1), -7);
    EXPECT_EQ(m.Index(1, 2), 3);
    EXPECT_EQ(m.Index(2, 2), 3);
    EXPECT_EQ(m.Index(2, 3), -2147483647 - 1);
}

TEST(MatrixZFatal, MisuseEndsTheProcess) {
    auto check = [](const std::function<void()>& body, const std::string& message) {
        auto r = RunInChild(body);
        EXPECT_EQ(r.exitStatus, 255);
        EXPECT_EQ(r.output, message);
    };
    check([] { MatrixZ m(0, 1); }, "call to MatrixZ(m,n) with non-positive parameters");
    check([] { MatrixZ m(3, 1); m.DelRow(0); }, "call to DelRow(p) with inaproppiate parameter");
    check([] { MatrixZ m(3, 1); m.DelRow(4); }, "call to DelRow(p) with inaproppiate parameter");
    check([] { MatrixZ m(3, 1); m.Redefine(0, 1); }, "call to Redefine with inaproppiate parameters");
    check([] { MatrixZ m(3, 1); m.AddCol(2, 0); }, "call to AddCol(p) with inaproppiate parameter");
    check([] { MatrixZ m(3, 1); m.AddRow(4, 0); }, "call to AddRow(p) with inaproppiate parameter");
    check([] { MatrixZ m(3, 1); m.Index(4, 1); }, "Call to Index(i,j) with unappropiate parameters");
}
