// SPDX-License-Identifier: GPL-3.0-or-later
#include "MatrixR.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "Storage.h"

namespace optimara {

void MatrixFatal(const char* message) {
    std::fputs(message, stdout);
    std::exit(-1);
}

uint32_t GrownCapacity(uint32_t start, uint64_t needed) {
    if (needed <= start) return start;
    uint64_t steps = (needed - start + 9) / 10;
    uint64_t grown = start + steps * 10;
    if (grown > UINT32_MAX) MatrixFatal("Not enough memory. Bye...");
    return static_cast<uint32_t>(grown);
}

MatrixR::MatrixR(uint32_t m, uint32_t n) : rows(m), cols(n), data(nullptr), capacity(0) {
    if (m < 1 || n < 1) MatrixFatal("call to MatrixR(m,n) with non-positive parameters");
    capacity = GrownCapacity(0, uint64_t(m) * n);
    data = storage::Allocate<double>(capacity);
    std::fill(data, data + uint64_t(m) * n, 0.0);
}

MatrixR::MatrixR(const MatrixR& other)
    : rows(other.rows), cols(other.cols), data(nullptr), capacity(other.capacity) {
    data = storage::Allocate<double>(capacity);
    std::copy(other.data, other.data + uint64_t(rows) * cols, data);
}

MatrixR& MatrixR::operator=(const MatrixR& other) {
    if (this == &other) return *this;
    Redefine(other.rows, other.cols);
    std::copy(other.data, other.data + uint64_t(rows) * cols, data);
    return *this;
}

MatrixR::~MatrixR() { delete[] data; }

void MatrixR::Swap(MatrixR& other) noexcept {
    std::swap(rows, other.rows);
    std::swap(cols, other.cols);
    std::swap(data, other.data);
    std::swap(capacity, other.capacity);
}

void MatrixR::Redefine(uint32_t m, uint32_t n) {
    if (m < 1 || n < 1) MatrixFatal("call to Redefine with inaproppiate parameters");
    storage::Redefine(data, capacity, rows, cols, m, n);
}

void MatrixR::DelRow(uint32_t p) {
    if (p < 1 || p > rows) MatrixFatal("call to DelRow(p) with inaproppiate parameter");
    storage::DelRow(data, rows, cols, p);
}

void MatrixR::AddRow(uint32_t p, const double& v) {
    if (p > rows) MatrixFatal("call to AddRow(p) with inaproppiate parameter");
    storage::AddRow(data, capacity, rows, cols, p, v);
}

void MatrixR::AddCol(uint32_t p, const double& v) {
    if (p > cols) MatrixFatal("call to AddCol(p) with inaproppiate parameter");
    storage::AddCol(data, capacity, rows, cols, p, v);
}

MatrixR MatrixR::operator*(const MatrixR& b) const {
    if (b.rows != cols) MatrixFatal("number of rows and number of columns not equal");
    MatrixR r(rows, b.cols);
    for (uint32_t i = 1; i <= rows; ++i)
        for (uint32_t k = 1; k <= b.cols; ++k)
            for (uint32_t j = 1; j <= cols; ++j) r.Index(i, k) += Index(i, j) * b.Index(j, k);
    return r;
}

namespace {
template <typename Op>
MatrixR ElementWise(const MatrixR& a, Op op) {
    MatrixR r(a.rows, a.cols);
    for (uint32_t i = 1; i <= a.rows; ++i)
        for (uint32_t j = 1; j <= a.cols; ++j) r.Index(i, j) = op(i, j);
    return r;
}
} // namespace

MatrixR MatrixR::operator+(const MatrixR& b) const {
    if (b.rows != rows || b.cols != cols) MatrixFatal("number of rows or columns not equal");
    return ElementWise(*this, [&](uint32_t i, uint32_t j) { return Index(i, j) + b.Index(i, j); });
}

MatrixR MatrixR::operator-(const MatrixR& b) const {
    if (b.rows != rows || b.cols != cols) MatrixFatal("number of rows or columns not equal");
    return ElementWise(*this, [&](uint32_t i, uint32_t j) { return Index(i, j) - b.Index(i, j); });
}

MatrixR MatrixR::operator*(const double& s) const {
    return ElementWise(*this, [&](uint32_t i, uint32_t j) { return Index(i, j) * s; });
}

MatrixR MatrixR::operator/(const double& s) const {
    if (s == 0.0) MatrixFatal("division by 0");
    return ElementWise(*this, [&](uint32_t i, uint32_t j) { return Index(i, j) / s; });
}

MatrixR MatrixR::operator-() const {
    return ElementWise(*this, [&](uint32_t i, uint32_t j) { return -Index(i, j); });
}

} // namespace optimara
