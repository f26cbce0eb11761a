// SPDX-License-Identifier: GPL-3.0-or-later
#include "MatrixQ.h"

#include <algorithm>
#include <cmath>

namespace optimara {

MatrixQ::MatrixQ(uint32_t m, uint32_t n) : rows(m), cols(n) {
    if (m < 1 || n < 1) MatrixFatal("call to MatrixQ(m,n) with non-positive parameters");
    data_.assign(uint64_t(m) * n, mpq_class(0));
}

void MatrixQ::Redefine(uint32_t m, uint32_t n) {
    if (m < 1 || n < 1) MatrixFatal("call to Redefine(m,n) with non-positive parameters");
    rows = m;
    cols = n;
    data_.assign(uint64_t(m) * n, mpq_class(0));
}

void MatrixQ::DelRow(uint32_t p) {
    if (p < 1 || p > rows || rows == 1) MatrixFatal("Call to DelRow(p) with unappropiate parameters");
    const auto first = data_.begin() + static_cast<std::ptrdiff_t>((p - 1) * uint64_t(cols));
    data_.erase(first, first + cols);
    --rows;
}

void MatrixQ::AddRow(uint32_t p, const mpq_class& v) {
    if (p > rows) MatrixFatal("Call to AddRow(p) with unappropiate parameters");
    data_.insert(data_.begin() + static_cast<std::ptrdiff_t>(p * uint64_t(cols)), cols, v);
    ++rows;
}

void MatrixQ::AddCol(uint32_t p, const mpq_class& v) {
    if (p > cols) MatrixFatal("Call to AddCol(p) with unappropiate parameters");
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

MatrixR MatrixQ::ToReal() const {
    MatrixR real(rows, cols);
    for (uint32_t i = 1; i <= rows; ++i)
        for (uint32_t j = 1; j <= cols; ++j) real.Index(i, j) = NearestDouble(Index(i, j));
    return real;
}

double NearestDouble(const mpq_class& q) {
    if (sgn(q) == 0) return 0.0;
    // Scale so that the quotient has 54 or more significant bits, divide
    // with the remainder, and let the sticky bit decide the rounding.
    const mpz_class& num = q.get_num();
    const mpz_class& den = q.get_den();
    const long shift = 55 - static_cast<long>(mpz_sizeinbase(num.get_mpz_t(), 2)) +
                       static_cast<long>(mpz_sizeinbase(den.get_mpz_t(), 2));
    mpz_class scaled = abs(num), quotient, remainder;
    mpz_class divisor = den;
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
    return sgn(num) < 0 ? -magnitude : magnitude;
}

} // namespace optimara
