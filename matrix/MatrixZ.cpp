// SPDX-License-Identifier: GPL-3.0-or-later
#include "MatrixZ.h"

#include "Storage.h"

namespace optimara {

MatrixZ::MatrixZ(uint32_t m, uint32_t n) : rows(m), cols(n), data(nullptr), capacity(0) {
    if (m < 1 || n < 1) MatrixFatal("call to MatrixZ(m,n) with non-positive parameters");
    capacity = GrownCapacity(0, uint64_t(m) * n);
    data = storage::Allocate<int32_t>(capacity);
    std::fill(data, data + uint64_t(m) * n, 0);
}

MatrixZ::~MatrixZ() { delete[] data; }

void CopyMatrix(const MatrixZ& from, MatrixZ& to) {
    to.Redefine(from.rows, from.cols);
    for (uint32_t i = 1; i <= from.rows; ++i)
        for (uint32_t j = 1; j <= from.cols; ++j) to.Index(i, j) = from.Index(i, j);
}

void MatrixZ::Redefine(uint32_t m, uint32_t n) {
    if (m < 1 || n < 1) MatrixFatal("call to Redefine with inaproppiate parameters");
    storage::Redefine(data, capacity, rows, cols, m, n);
}

void MatrixZ::DelRow(uint32_t p) {
    if (p < 1 || p > rows) MatrixFatal("call to DelRow(p) with inaproppiate parameter");
    storage::DelRow(data, rows, cols, p);
}

void MatrixZ::AddRow(uint32_t p, const int32_t& v) {
    if (p > rows) MatrixFatal("call to AddRow(p) with inaproppiate parameter");
    storage::AddRow(data, capacity, rows, cols, p, v);
}

void MatrixZ::AddCol(uint32_t p, const int32_t& v) {
    if (p > cols) MatrixFatal("call to AddCol(p) with inaproppiate parameter");
    storage::AddCol(data, capacity, rows, cols, p, v);
}

} // namespace optimara
