// SPDX-License-Identifier: GPL-3.0-or-later
#include "MatrixQ.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace optimara {

static_assert(GMP_NUMB_BITS == 64 && sizeof(mp_limb_t) == 8, "the quick rounding reads 64-bit limbs");

MatrixQ::MatrixQ(uint32_t m, uint32_t n) : rows(m), cols(n) {
    if (m < 1 || n < 1) MatrixFatal("call to MatrixQ(m,n) with non-positive parameters");
    data_.assign(uint64_t(m) * n, mpq_class(0));
}

// The reduced cells of an integer form are not copied: most copies (the
// steps kept for going back) are never read, and a read reduces again. The
// cells' storage is made when the first is reduced.
MatrixQ::MatrixQ(const MatrixQ& other)
    : rows(other.rows), cols(other.cols), valid_(other.valid_.size(), 0), integer_(other.integer_),
      num_(other.num_), den_(other.den_), rowScale_(other.rowScale_), colScale_(other.colScale_) {
    if (!integer_) data_ = other.data_;
}

MatrixQ& MatrixQ::operator=(const MatrixQ& other) {
    if (this != &other) *this = MatrixQ(other);
    return *this;
}

void MatrixQ::Redefine(uint32_t m, uint32_t n) {
    if (m < 1 || n < 1) MatrixFatal("call to Redefine(m,n) with non-positive parameters");
    rows = m;
    cols = n;
    integer_ = false;
    num_.clear();
    valid_.clear();
    data_.assign(uint64_t(m) * n, mpq_class(0));
}

void MatrixQ::DelRow(uint32_t p) {
    if (p < 1 || p > rows || rows == 1) MatrixFatal("Call to DelRow(p) with unappropiate parameters");
    Materialise();
    const auto first = data_.begin() + static_cast<std::ptrdiff_t>((p - 1) * uint64_t(cols));
    data_.erase(first, first + cols);
    --rows;
}

void MatrixQ::AddRow(uint32_t p, const mpq_class& v) {
    if (p > rows) MatrixFatal("Call to AddRow(p) with unappropiate parameters");
    Materialise();
    data_.insert(data_.begin() + static_cast<std::ptrdiff_t>(p * uint64_t(cols)), cols, v);
    ++rows;
}

void MatrixQ::AddCol(uint32_t p, const mpq_class& v) {
    if (p > cols) MatrixFatal("Call to AddCol(p) with unappropiate parameters");
    Materialise();
    std::vector<mpq_class> grown;
    grown.reserve(uint64_t(rows) * (cols + 1));
    for (uint32_t i = 0; i < rows; ++i) {
        const auto row = data_.begin() + static_cast<std::ptrdiff_t>(i * uint64_t(cols));
        grown.insert(grown.end(), row, row + p);
        grown.push_back(v);
        grown.insert(grown.end(), row + p, row + cols);
    }
    data_.swap(grown);
    ++cols;
}

const mpq_class* MatrixQ::RowData(uint32_t i) const {
    const uint64_t first = At(i, 1);
    for (uint64_t k = first; k < first + cols; ++k) Cell(k);
    return &data_[first];
}

void MatrixQ::Reduce(uint64_t k) const {
    if (data_.size() != valid_.size()) data_.resize(valid_.size());
    const uint64_t i = k / cols, j = k % cols;
    mpq_ptr q = data_[k].get_mpq_t();
    if (mpz_sgn(num_[k].get_mpz_t()) == 0) {
        mpq_set_ui(q, 0, 1);
    } else {
        mpz_mul(mpq_numref(q), num_[k].get_mpz_t(), colScale_[j].get_mpz_t());
        mpz_mul(mpq_denref(q), den_.get_mpz_t(), rowScale_[i].get_mpz_t());
        mpq_canonicalize(q);
    }
    valid_[k] = 1;
}

// Each row over the least common multiple of its denominators: the integer
// form with no pivot behind it.
void MatrixQ::Normalise() {
    const uint64_t count = uint64_t(rows) * cols;
    num_.resize(count);
    rowScale_.assign(rows, mpz_class(1));
    colScale_.assign(cols, mpz_class(1));
    den_ = 1;
    mpz_class factor;
    for (uint32_t i = 0; i < rows; ++i) {
        mpz_class& scale = rowScale_[i];
        const uint64_t first = uint64_t(i) * cols;
        for (uint64_t k = first; k < first + cols; ++k)
            mpz_lcm(scale.get_mpz_t(), scale.get_mpz_t(), data_[k].get_den_mpz_t());
        for (uint64_t k = first; k < first + cols; ++k) {
            mpz_divexact(factor.get_mpz_t(), scale.get_mpz_t(), data_[k].get_den_mpz_t());
            mpz_mul(num_[k].get_mpz_t(), data_[k].get_num_mpz_t(), factor.get_mpz_t());
        }
    }
    valid_.assign(count, 1);
    integer_ = true;
}

void MatrixQ::Materialise() {
    if (!integer_) return;
    const uint64_t count = uint64_t(rows) * cols;
    for (uint64_t k = 0; k < count; ++k) Cell(k);
    integer_ = false;
    num_.clear();
    valid_.clear();
}

int MatrixQ::Sign(uint32_t i, uint32_t j) const {
    const uint64_t k = At(i, j);
    if (!integer_) return sgn(data_[k]);
    return mpz_sgn(num_[k].get_mpz_t()) * mpz_sgn(den_.get_mpz_t());
}

// The scales of the row cancel:
// T(i,n)/T(i,j) = N(i,n) colScale(n) / (N(i,j) colScale(j)).
mpq_class MatrixQ::Ratio(uint32_t i, uint32_t j) const {
    const uint64_t k = At(i, j), last = At(i, cols);
    if (!integer_) return data_[last] / data_[k];
    mpq_class q;
    mpz_mul(q.get_num_mpz_t(), num_[last].get_mpz_t(), colScale_[cols - 1].get_mpz_t());
    mpz_mul(q.get_den_mpz_t(), num_[k].get_mpz_t(), colScale_[j - 1].get_mpz_t());
    q.canonicalize();
    return q;
}

int MatrixQ::CompareRatio(uint32_t i, uint32_t j, const mpq_class& d) const {
    const uint64_t k = At(i, j), last = At(i, cols);
    if (!integer_) {
        const int c = cmp(data_[last] / data_[k], d);
        return (c > 0) - (c < 0);
    }
    // X / Y against a / b (b > 0): the sign of X b - a Y, turned when Y < 0.
    thread_local mpz_class y, left, right;
    mpz_mul(y.get_mpz_t(), num_[k].get_mpz_t(), colScale_[j - 1].get_mpz_t());
    mpz_mul(left.get_mpz_t(), num_[last].get_mpz_t(), colScale_[cols - 1].get_mpz_t());
    mpz_mul(left.get_mpz_t(), left.get_mpz_t(), d.get_den_mpz_t());
    mpz_mul(right.get_mpz_t(), d.get_num_mpz_t(), y.get_mpz_t());
    const int c = mpz_cmp(left.get_mpz_t(), right.get_mpz_t());
    const int order = c > 0 ? 1 : (c < 0 ? -1 : 0);
    return mpz_sgn(y.get_mpz_t()) < 0 ? -order : order;
}

namespace {

// x = t / d, a division known to be exact. The integers grow a little with
// every pivot: x is given room for half as much again, so that it is not
// reallocated at every step.
void ExactQuotient(mpz_ptr x, mpz_srcptr t, mpz_srcptr d) {
    const mp_size_t need = mp_size_t(mpz_size(t)) - mp_size_t(mpz_size(d)) + 1;
    if (x->_mp_alloc < need) mpz_realloc2(x, mp_bitcnt_t(need + need / 2 + 1) * GMP_NUMB_BITS);
    mpz_divexact(x, t, d);
}

} // namespace

// Fraction-free exchange: with p = N(r,c) and den the previous pivot's,
//   N'(r,c) = den, N'(r,j) = N(r,j), N'(i,c) = -N(i,c),
//   N'(i,j) = (p N(i,j) - N(i,c) N(r,j)) / den   (an exact division),
// den' = p, and the scales of row r and column c change places with their
// variables.
void MatrixQ::Exchange(uint32_t r, uint32_t c) {
    At(r, c);
    if (!integer_) Normalise();
    const uint32_t pr = r - 1, pc = c - 1;
    mpz_class* pivotRow = &num_[uint64_t(pr) * cols];
    const mpz_class p = pivotRow[pc];
    if (sgn(p) == 0) MatrixFatal("Call to Exchange(r,c) on a zero entry");
    const bool divide = mpz_cmp_ui(den_.get_mpz_t(), 1) != 0;
    // One working integer for every cell, so that the products are made
    // without allocating.
    thread_local mpz_class work;
    mpz_ptr t = work.get_mpz_t();
    for (uint32_t i = 0; i < rows; ++i) {
        if (i == pr) continue;
        mpz_class* row = &num_[uint64_t(i) * cols];
        mpz_srcptr nic = row[pc].get_mpz_t();
        const bool eliminate = mpz_sgn(nic) != 0;
        for (uint32_t j = 0; j < cols; ++j) {
            if (j == pc) continue;
            mpz_ptr x = row[j].get_mpz_t();
            mpz_srcptr prj = pivotRow[j].get_mpz_t();
            const bool product = eliminate && mpz_sgn(prj) != 0;
            if (mpz_sgn(x) == 0 && !product) continue;
            mpz_mul(t, x, p.get_mpz_t());
            if (product) mpz_submul(t, nic, prj);
            if (divide) ExactQuotient(x, t, den_.get_mpz_t());
            else mpz_swap(x, t);
        }
        mpz_neg(row[pc].get_mpz_t(), nic);
    }
    pivotRow[pc] = den_;
    den_ = p;
    std::swap(rowScale_[pr], colScale_[pc]);
    std::fill(valid_.begin(), valid_.end(), 0);
}

namespace {

// The top 64 bits of |x| (x != 0), truncated: |x| lies in [m, m + 1) * 2^e.
struct Top {
    long double m;
    long e;
};

[[gnu::always_inline]] inline Top TopOf(mpz_srcptr x) {
    const size_t n = mpz_size(x);
    const mp_limb_t high = mpz_getlimbn(x, n - 1);
    const int zeros = __builtin_clzll(high);
    uint64_t top = uint64_t(high) << zeros;
    if (zeros != 0 && n >= 2) top |= uint64_t(mpz_getlimbn(x, n - 2)) >> (64 - zeros);
    return {static_cast<long double>(top), long(n) * 64 - zeros - 64};
}

// |N| cs / (|den| rs) from the tops of its four integers in 64-bit long
// double (`row` holds 1 / (|den| rs) with two roundings): four truncations
// and four roundings keep it within 2^-60 of the exact value, so unless that
// interval holds a midpoint between two doubles, rounding it to double
// rounds the exact value. 0 when it does hold one, or when the value is
// near the ends of the normal range: the exact division decides those.
double QuickNearest(const Top& a, const Top& col, const Top& row) {
    if constexpr (sizeof(long double) == sizeof(double)) return 0.0;
    const long double q = (a.m * col.m) * row.m;  // within (2^-65, 2^129)
    const long e = a.e + col.e - row.e;
    if (e < -900 || e > 850) return 0.0;
    // Rounding commutes with the scale 2^e inside the normal range, so q
    // is rounded and judged as it is, and the double scaled after.
    const double rounded = static_cast<double>(q);
    uint64_t bits;
    std::memcpy(&bits, &rounded, sizeof bits);
    const uint64_t lowerBits = bits - 1, upperBits = bits + 1;
    double lower, upper;
    std::memcpy(&lower, &lowerBits, sizeof lower);
    std::memcpy(&upper, &upperBits, sizeof upper);
    const long double below = (static_cast<long double>(rounded) + lower) / 2;
    const long double above = (static_cast<long double>(rounded) + upper) / 2;
    const long double room = q * 0x1p-58L;
    if (!(q - room > below && q + room < above)) return 0.0;
    const uint64_t scaleBits = uint64_t(e + 1023) << 52;
    double scale;
    std::memcpy(&scale, &scaleBits, sizeof scale);
    return rounded * scale;
}

// A reduced fraction the same way, its denominator as the row's scale.
double QuickOrExact(const mpq_class& q) {
    const int sign = sgn(q);
    if (sign == 0) return 0.0;
    const Top den = TopOf(q.get_den_mpz_t());
    const double quick = QuickNearest(TopOf(q.get_num_mpz_t()), Top{1.0L, 0}, Top{1 / den.m, den.e});
    if (quick == 0.0) return NearestDouble(q);
    return sign < 0 ? -quick : quick;
}

} // namespace

double MatrixQ::NearestOfCell(uint64_t k) const {
    const uint64_t i = k / cols, j = k % cols;
    mpz_class top, bottom;
    mpz_mul(top.get_mpz_t(), num_[k].get_mpz_t(), colScale_[j].get_mpz_t());
    mpz_mul(bottom.get_mpz_t(), den_.get_mpz_t(), rowScale_[i].get_mpz_t());
    return NearestDouble(top, bottom);
}

// The tops of a cell's column scale and of its row's denominator, this one
// as the reciprocal QuickNearest takes.
struct MatrixQ::Scales {
    Top col, row;
};

MatrixQ::Scales MatrixQ::ScalesOf(uint64_t k) const {
    const Top d = TopOf(den_.get_mpz_t()), r = TopOf(rowScale_[k / cols].get_mpz_t());
    return {TopOf(colScale_[k % cols].get_mpz_t()), Top{1 / (d.m * r.m), d.e + r.e}};
}

// Cell k of the integer form rounded: from its fraction when it was
// reduced since the pivot, else from the integers' tops, or exactly where
// those leave a midpoint in doubt.
double MatrixQ::RoundedCell(uint64_t k, const Scales& s) const {
    if (valid_[k]) return QuickOrExact(data_[k]);
    mpz_srcptr n = num_[k].get_mpz_t();
    if (mpz_sgn(n) == 0) return 0.0;
    const double quick = QuickNearest(TopOf(n), s.col, s.row);
    if (quick == 0.0) return NearestOfCell(k);
    return mpz_sgn(n) * mpz_sgn(den_.get_mpz_t()) < 0 ? -quick : quick;
}

double MatrixQ::NearestOf(uint32_t i, uint32_t j) const {
    const uint64_t k = At(i, j);
    return integer_ ? RoundedCell(k, ScalesOf(k)) : QuickOrExact(data_[k]);
}

MatrixQ::Approximation MatrixQ::Approximate(uint32_t i, uint32_t j) const {
    const uint64_t k = At(i, j);
    if (!integer_ || valid_[k]) return optimara::Approximate(data_[k]);
    mpz_srcptr n = num_[k].get_mpz_t();
    if (mpz_sgn(n) == 0) return optimara::Approximate(mpq_class(0));
    const Scales s = ScalesOf(k);
    const Top a = TopOf(n);
    return {mpz_sgn(n) * mpz_sgn(den_.get_mpz_t()), (a.m * s.col.m) * s.row.m, a.e + s.col.e - s.row.e,
            sizeof(long double) > sizeof(double)};
}

// The scales' tops are taken once per row and column.
MatrixR MatrixQ::ToReal() const {
    MatrixR real(rows, cols);
    double* out = real.RowData(1);
    if (!integer_) {
        for (uint64_t k = 0; k < data_.size(); ++k) out[k] = QuickOrExact(data_[k]);
        return real;
    }
    std::vector<Top> col(cols);
    for (uint32_t j = 0; j < cols; ++j) col[j] = ScalesOf(j).col;
    for (uint32_t i = 0; i < rows; ++i) {
        const uint64_t first = uint64_t(i) * cols;
        const Top row = ScalesOf(first).row;
        for (uint32_t j = 0; j < cols; ++j) out[first + j] = RoundedCell(first + j, Scales{col[j], row});
    }
    return real;
}

MatrixQ::Approximation Approximate(const mpq_class& q) {
    constexpr bool close = sizeof(long double) > sizeof(double);
    if (sgn(q) == 0) return {0, 0.0L, 0, close};
    const Top a = TopOf(q.get_num_mpz_t()), d = TopOf(q.get_den_mpz_t());
    return {sgn(q), a.m / d.m, a.e - d.e, close};
}

double NearestDouble(const mpq_class& q) { return NearestDouble(q.get_num(), q.get_den()); }

double NearestDouble(const mpz_class& num, const mpz_class& den) {
    if (sgn(num) == 0) return 0.0;
    // Scale so that the quotient has 54 or more significant bits, divide
    // with the remainder, and let the sticky bit decide the rounding.
    const long shift = 55 - static_cast<long>(mpz_sizeinbase(num.get_mpz_t(), 2)) +
                       static_cast<long>(mpz_sizeinbase(den.get_mpz_t(), 2));
    mpz_class scaled = abs(num), quotient, remainder;
    mpz_class divisor = abs(den);
    if (shift > 0) scaled <<= static_cast<mp_bitcnt_t>(shift);
    else divisor <<= static_cast<mp_bitcnt_t>(-shift);
    mpz_fdiv_qr(quotient.get_mpz_t(), remainder.get_mpz_t(), scaled.get_mpz_t(), divisor.get_mpz_t());
    // The quotient holds 55 or 56 bits: keep 53 (fewer below the normal
    // range, so that the one rounding is made here, not again by ldexp),
    // rounding half to even with the remainder as the sticky bit.
    const long bits = static_cast<long>(mpz_sizeinbase(quotient.get_mpz_t(), 2));
    const long exponent = bits - shift;  // value in [2^(exponent-1), 2^exponent)
    long keep = 53;
    if (exponent - 1 < -1022) keep = std::max<long>(0, 53 - (-1022 - (exponent - 1)));
    const long drop = bits - keep;
    mpz_class kept = quotient >> static_cast<mp_bitcnt_t>(drop);
    const mpz_class lost = quotient - (kept << static_cast<mp_bitcnt_t>(drop));
    const mpz_class half = mpz_class(1) << static_cast<mp_bitcnt_t>(drop - 1);
    const bool sticky = remainder != 0;
    if (lost > half || (lost == half && (sticky || mpz_odd_p(kept.get_mpz_t())))) ++kept;
    const double magnitude = std::ldexp(kept.get_d(), static_cast<int>(drop - shift));
    return sgn(num) * sgn(den) < 0 ? -magnitude : magnitude;
}

} // namespace optimara
