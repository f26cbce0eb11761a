// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exchange step on plain reduced fractions, cell by cell, as the exact
// tableau was pivoted before it kept integers: the reference the tests hold
// the exact matrix to.
#include <gmpxx.h>

#include <vector>

#include "MatrixQ.h"
#include "MatrixRows.h"

namespace optimara::testing {

using RationalRows = std::vector<std::vector<mpq_class>>;

// Pivot on (r, c), zero-based: 1/t, row / t, -column / t, and the rest
// less column * row / t.
inline void RationalExchange(RationalRows& T, size_t r, size_t c) {
    const mpq_class p = T[r][c];
    for (size_t i = 0; i < T.size(); ++i) {
        if (i == r) continue;
        for (size_t j = 0; j < T[i].size(); ++j)
            if (j != c) T[i][j] -= T[i][c] * T[r][j] / p;
        T[i][c] = -T[i][c] / p;
    }
    for (size_t j = 0; j < T[r].size(); ++j)
        if (j != c) T[r][j] /= p;
    T[r][c] = 1 / p;
}

// Every cell read through the constant access, as the readers read them.
inline RationalRows RationalRowsOf(const MatrixQ& q) { return PlainRows(q); }

// A matrix written cell by cell: it keeps reduced fractions until pivoted.
inline MatrixQ MatrixOfRows(const RationalRows& rows) {
    MatrixQ q(1, 1);
    FillRows(q, rows);
    return q;
}

} // namespace optimara::testing
