// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dense real matrix with one-based, bounds-checked access. Every misuse is a
// programming error: the matrix prints a fixed message and ends the process.
#include <cstdint>

namespace optimara {

[[noreturn]] void MatrixFatal(const char* message);

// Capacity grows in steps of 10 from `start` until it covers `needed`
// elements; fatal when that cannot be represented.
uint32_t GrownCapacity(uint32_t start, uint64_t needed);

class MatrixR {
public:
    uint32_t rows;
    uint32_t cols;

    MatrixR(uint32_t m, uint32_t n);
    MatrixR(const MatrixR& other);
    MatrixR& operator=(const MatrixR& other);
    ~MatrixR();

    void Redefine(uint32_t m, uint32_t n);
    void DelRow(uint32_t p);
    void AddRow(uint32_t p, const double& v);
    void AddCol(uint32_t p, const double& v);

    double& Index(uint32_t i, uint32_t j) {
        if (i < 1 || i > rows || j < 1 || j > cols) [[unlikely]]
            MatrixFatal("Call to Index(i,j) with unappropiate parameters");
        return data[(i - 1) * static_cast<uint64_t>(cols) + (j - 1)];
    }
    double Index(uint32_t i, uint32_t j) const {
        return const_cast<MatrixR*>(this)->Index(i, j);
    }

    // Row i as a plain array of `cols` elements, for loops that walk whole
    // rows; the row number is checked like Index.
    double* RowData(uint32_t i) { return &Index(i, 1); }
    const double* RowData(uint32_t i) const { return &const_cast<MatrixR*>(this)->Index(i, 1); }

    uint32_t Capacity() const { return capacity; }
    // Exchanges contents with another matrix without copying elements.
    void Swap(MatrixR& other) noexcept;

    MatrixR operator*(const MatrixR& b) const;
    MatrixR operator+(const MatrixR& b) const;
    MatrixR operator-(const MatrixR& b) const;
    MatrixR operator*(const double& s) const;
    MatrixR operator/(const double& s) const;
    MatrixR operator-() const;

private:
    double* data;
    uint32_t capacity;
};

} // namespace optimara
