// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Matrices to and from plain rows and columns, for writing test cases as
// tables and comparing results with them.
#include <cstring>
#include <vector>

#include "MatrixR.h"
#include "MatrixZ.h"

namespace optimara::testing {

using Rows = std::vector<std::vector<double>>;
using Marks = std::vector<std::vector<int32_t>>;

inline void SetRows(MatrixR& t, const Rows& rows) {
    t.Redefine(uint32_t(rows.size()), uint32_t(rows[0].size()));
    for (uint32_t i = 0; i < t.rows; ++i)
        for (uint32_t j = 0; j < t.cols; ++j) t.Index(i + 1, j + 1) = rows[i][j];
}

inline Rows RowsOf(const MatrixR& t) {
    Rows out(t.rows, std::vector<double>(t.cols));
    for (uint32_t i = 0; i < t.rows; ++i)
        for (uint32_t j = 0; j < t.cols; ++j) out[i][j] = t.Index(i + 1, j + 1);
    return out;
}

inline Marks MarksOf(const MatrixZ& z) {
    Marks out(z.rows, std::vector<int32_t>(z.cols));
    for (uint32_t i = 0; i < z.rows; ++i)
        for (uint32_t j = 0; j < z.cols; ++j) out[i][j] = z.Index(i + 1, j + 1);
    return out;
}

inline void SetColumn(MatrixZ& z, const std::vector<int32_t>& values) {
    z.Redefine(uint32_t(values.size()), 1);
    for (uint32_t i = 0; i < z.rows; ++i) z.Index(i + 1, 1) = values[i];
}

template <typename Matrix>
auto ColumnOf(const Matrix& m) {
    std::vector<decltype(m.Index(1, 1))> column;  // double or int32_t
    for (uint32_t i = 1; i <= m.rows; ++i) column.push_back(m.Index(i, 1));
    return column;
}

// Bit-for-bit comparison, so that -0.0 and 0.0 or NaNs are told apart.
inline bool SameBits(const MatrixR& a, const MatrixR& b) {
    if (a.rows != b.rows || a.cols != b.cols) return false;
    for (uint32_t i = 1; i <= a.rows; ++i)
        for (uint32_t j = 1; j <= a.cols; ++j) {
            double x = a.Index(i, j), y = b.Index(i, j);
            if (std::memcmp(&x, &y, sizeof x) != 0) return false;
        }
    return true;
}

} // namespace optimara::testing
