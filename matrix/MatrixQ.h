// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dense matrix of exact rationals with the real matrix's one-based,
// bounds-checked access and its shape rules: the exact tableau, pivoted by
// the same steps as the floating one.
#include <gmpxx.h>

#include <cstdint>
#include <vector>

#include "MatrixR.h"

namespace optimara {

class MatrixQ {
public:
    uint32_t rows;
    uint32_t cols;

    MatrixQ(uint32_t m, uint32_t n);

    // The new shape, every element 0.
    void Redefine(uint32_t m, uint32_t n);
    void DelRow(uint32_t p);
    // Inserts after row (column) p, filled with v.
    void AddRow(uint32_t p, const mpq_class& v);
    void AddCol(uint32_t p, const mpq_class& v);

    mpq_class& Index(uint32_t i, uint32_t j) {
        if (i < 1 || i > rows || j < 1 || j > cols) [[unlikely]]
            MatrixFatal("Call to Index(i,j) with unappropiate parameters");
        return data_[(i - 1) * static_cast<uint64_t>(cols) + (j - 1)];
    }
    const mpq_class& Index(uint32_t i, uint32_t j) const { return const_cast<MatrixQ*>(this)->Index(i, j); }
    mpq_class* RowData(uint32_t i) { return &Index(i, 1); }
    const mpq_class* RowData(uint32_t i) const { return &const_cast<MatrixQ*>(this)->Index(i, 1); }

    // Every element rounded to the nearest double.
    MatrixR ToReal() const;

private:
    std::vector<mpq_class> data_;
};

// The double nearest to q (ties to even), as the plots and the reading of
// the values take it: mpq's own conversion truncates.
double NearestDouble(const mpq_class& q);

} // namespace optimara
