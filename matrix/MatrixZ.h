// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Integer counterpart of MatrixR for the engine's bookkeeping (labels, pivot
// marks, sign marks). Never copied by accident: CopyMatrix says so.
#include <cstdint>

#include "MatrixR.h"

namespace optimara {

class MatrixZ {
public:
    uint32_t rows;
    uint32_t cols;

    MatrixZ(uint32_t m, uint32_t n);
    MatrixZ(const MatrixZ&) = delete;
    MatrixZ& operator=(const MatrixZ&) = delete;
    ~MatrixZ();

    void Redefine(uint32_t m, uint32_t n);
    void DelRow(uint32_t p);
    void AddRow(uint32_t p, const int32_t& v);
    void AddCol(uint32_t p, const int32_t& v);

    int32_t& Index(uint32_t i, uint32_t j) {
        if (i < 1 || i > rows || j < 1 || j > cols) [[unlikely]]
            MatrixFatal("Call to Index(i,j) with unappropiate parameters");
        return data[(i - 1) * static_cast<uint64_t>(cols) + (j - 1)];
    }
    int32_t Index(uint32_t i, uint32_t j) const {
        return const_cast<MatrixZ*>(this)->Index(i, j);
    }

    int32_t* RowData(uint32_t i) { return &Index(i, 1); }
    const int32_t* RowData(uint32_t i) const { return &const_cast<MatrixZ*>(this)->Index(i, 1); }

    uint32_t Capacity() const { return capacity; }

private:
    int32_t* data;
    uint32_t capacity;
};

// `to` takes the shape and every element of `from`.
void CopyMatrix(const MatrixZ& from, MatrixZ& to);

} // namespace optimara
