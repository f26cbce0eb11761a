// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Matrices to and from plain rows and columns, for writing test cases as
// tables and comparing results with them.
#include <cstring>
#include <type_traits>
#include <vector>

#include "MatrixR.h"
#include "MatrixZ.h"

namespace optimara::testing {

using Rows = std::vector<std::vector<double>>;
using Marks = std::vector<std::vector<int32_t>>;

// Any matrix reshaped to the rows and written cell by cell.
template <typename Matrix, typename Cell>
void FillRows(Matrix& m, const std::vector<std::vector<Cell>>& rows) {
    m.Redefine(uint32_t(rows.size()), uint32_t(rows[0].size()));
    for (uint32_t i = 0; i < m.rows; ++i)
        for (uint32_t j = 0; j < m.cols; ++j) m.Index(i + 1, j + 1) = rows[i][j];
}

// Any matrix as plain rows, every cell read through the constant access.
template <typename Matrix>
auto PlainRows(const Matrix& m) {
    using Cell = std::decay_t<decltype(m.Index(1, 1))>;
    std::vector<std::vector<Cell>> out(m.rows, std::vector<Cell>(m.cols));
    for (uint32_t i = 0; i < m.rows; ++i)
        for (uint32_t j = 0; j < m.cols; ++j) out[i][j] = m.Index(i + 1, j + 1);
    return out;
}

inline void SetRows(MatrixR& t, const Rows& rows) { FillRows(t, rows); }
inline Rows RowsOf(const MatrixR& t) { return PlainRows(t); }
inline Marks MarksOf(const MatrixZ& z) { return PlainRows(z); }

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
