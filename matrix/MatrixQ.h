// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dense matrix of exact rationals with the real matrix's one-based,
// bounds-checked access and its shape rules: the exact tableau, pivoted by
// the same steps as the floating one.
//
// A pivot on reduced fractions pays a greatest common divisor in every cell
// of every step, though only a few cells are ever read. So the matrix keeps
// two forms. Written cell by cell it holds reduced fractions. Pivoted, it
// holds integers over common scales,
//     T(i,j) = N(i,j) * colScale(j) / (den * rowScale(i)),
// pivoted without fractions (each new integer is an exact division by the
// previous pivot, as in fraction-free elimination), and a cell is reduced
// only when it is read, once per step. Readers see the same reduced
// fractions whatever the form.
#include <gmpxx.h>

#include <cstdint>
#include <vector>

#include "MatrixR.h"

namespace optimara {

class MatrixQ;

// One row of an exact matrix, read cell by cell (zero-based, as a row's
// array): only the cells read are reduced.
struct RowQ {
    const MatrixQ* matrix;
    uint32_t row;
    inline const mpq_class& operator[](uint32_t k) const;
    // The sign of cell k, read without reducing it.
    inline int Sign(uint32_t k) const;
};

class MatrixQ {
public:
    uint32_t rows;
    uint32_t cols;

    MatrixQ(uint32_t m, uint32_t n);
    // A copy keeps the form as it is: a copy of the integer form holds the
    // same integers and reduces its cells again when they are read.
    MatrixQ(const MatrixQ& other);
    MatrixQ& operator=(const MatrixQ& other);
    MatrixQ(MatrixQ&&) = default;
    MatrixQ& operator=(MatrixQ&&) = default;

    // The new shape, every element 0.
    void Redefine(uint32_t m, uint32_t n);
    void DelRow(uint32_t p);
    // Inserts after row (column) p, filled with v.
    void AddRow(uint32_t p, const mpq_class& v);
    void AddCol(uint32_t p, const mpq_class& v);

    // Writable access leaves the integer form: every cell becomes a reduced
    // fraction, and the next pivot enters the integer form again.
    mpq_class& Index(uint32_t i, uint32_t j) {
        const uint64_t k = At(i, j);
        Materialise();
        return data_[k];
    }
    const mpq_class& Index(uint32_t i, uint32_t j) const { return Cell(At(i, j)); }
    mpq_class* RowData(uint32_t i) { return &Index(i, 1); }
    // The whole row reduced, as one array.
    const mpq_class* RowData(uint32_t i) const;
    RowQ Row(uint32_t i) const {
        At(i, 1);
        return RowQ{this, i};
    }

    // Cheap readings for the choice of a pivot, none of which reduces a cell.
    int Sign(uint32_t i, uint32_t j) const;
    // The ratio of row i's last entry to its entry j (which is not 0), and
    // its comparison with d (-1, 0, 1), by cross-multiplication.
    mpq_class Ratio(uint32_t i, uint32_t j) const;
    int CompareRatio(uint32_t i, uint32_t j, const mpq_class& d) const;

    // The exchange step on (r, c), both 1-based:
    //   T'(r,c) = 1/t, T'(r,j) = T(r,j)/t, T'(i,c) = -T(i,c)/t,
    //   T'(i,j) = T(i,j) - T(i,c) T(r,j) / t,   with t = T(r,c) != 0.
    void Exchange(uint32_t r, uint32_t c);

    // Every element rounded to the nearest double.
    MatrixR ToReal() const;
    // One element so rounded, read without reducing it: the same double
    // ToReal gives it.
    double NearestOf(uint32_t i, uint32_t j) const;

    // |T(i,j)| = m * 2^e within 2^-60 of it (relative), m a 64-bit long
    // double, read from the integers' top bits without reducing the cell;
    // sign 0 (and m 0) for a zero. On a machine whose long double is a
    // double the bound does not hold: `close` says whether it does.
    struct Approximation {
        int sign;
        long double m;
        long e;
        bool close;
    };
    Approximation Approximate(uint32_t i, uint32_t j) const;

    // True while the matrix is in the integer form (for the tests).
    bool IntegerForm() const { return integer_; }

private:
    uint64_t At(uint32_t i, uint32_t j) const {
        if (i < 1 || i > rows || j < 1 || j > cols) [[unlikely]]
            MatrixFatal("Call to Index(i,j) with unappropiate parameters");
        return (i - 1) * static_cast<uint64_t>(cols) + (j - 1);
    }
    const mpq_class& Cell(uint64_t k) const {
        if (integer_ && !valid_[k]) Reduce(k);
        return data_[k];
    }
    void Reduce(uint64_t k) const;
    void Normalise();
    void Materialise();
    double NearestOfCell(uint64_t k) const;
    struct Scales;
    Scales ScalesOf(uint64_t k) const;
    double RoundedCell(uint64_t k, const Scales& s) const;

    // The reduced fractions: every cell in the rational form, the cells
    // read since the last pivot in the integer form.
    mutable std::vector<mpq_class> data_;
    mutable std::vector<char> valid_;
    bool integer_ = false;
    std::vector<mpz_class> num_;  // N, row by row
    mpz_class den_;               // the last pivot's integer (may be negative)
    std::vector<mpz_class> rowScale_, colScale_;  // positive; the last column's is 1
};

inline const mpq_class& RowQ::operator[](uint32_t k) const { return matrix->Index(row, k + 1); }
inline int RowQ::Sign(uint32_t k) const { return matrix->Sign(row, k + 1); }

// A row as the choice of a pivot reads it, for either number type: the
// floating row's plain array; an exact row cell by cell.
inline const double* RowOf(const MatrixR& T, uint32_t i) { return T.RowData(i); }
inline RowQ RowOf(const MatrixQ& T, uint32_t i) { return T.Row(i); }

// The double nearest to q (ties to even), as the plots and the reading of
// the values take it: mpq's own conversion truncates.
double NearestDouble(const mpq_class& q);
// The same for num / den, neither reduced nor with a positive denominator
// (den != 0).
double NearestDouble(const mpz_class& num, const mpz_class& den);
// |q| as MatrixQ::Approximate gives a cell's, from its tops.
MatrixQ::Approximation Approximate(const mpq_class& q);

} // namespace optimara
