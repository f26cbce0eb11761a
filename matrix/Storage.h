// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shape changes shared by MatrixR and MatrixZ. Both keep a row-major array
// whose capacity only grows, in steps of 10 elements.
#include <algorithm>
#include <cstdint>
#include <new>

#include "MatrixR.h"

namespace optimara::storage {

template <typename T>
T* Allocate(uint32_t capacity) {
    T* p = new (std::nothrow) T[capacity];
    if (p == nullptr) MatrixFatal("Not enough memory. Bye...");
    return p;
}

// Makes room for rows*cols elements, keeping the first `keep` elements.
template <typename T>
void Reserve(T*& data, uint32_t& capacity, uint64_t needed, uint64_t keep) {
    if (needed <= capacity) return;
    uint32_t grown = GrownCapacity(capacity, needed);
    T* fresh = Allocate<T>(grown);
    std::copy(data, data + keep, fresh);
    delete[] data;
    data = fresh;
    capacity = grown;
}

template <typename T>
void Redefine(T*& data, uint32_t& capacity, uint32_t& rows, uint32_t& cols, uint32_t m, uint32_t n) {
    rows = m;
    cols = n;
    uint64_t needed = uint64_t(m) * n;
    if (needed > capacity) {
        // Old contents are not kept, so release before obtaining new storage.
        uint32_t grown = GrownCapacity(capacity, needed);
        delete[] data;
        data = nullptr;
        capacity = 0;
        data = Allocate<T>(grown);
        capacity = grown;
    }
    std::fill(data, data + needed, T(0));
}

template <typename T>
void AddRow(T*& data, uint32_t& capacity, uint32_t& rows, uint32_t cols, uint32_t p, T v) {
    uint64_t oldCount = uint64_t(rows) * cols;
    Reserve(data, capacity, oldCount + cols, oldCount);
    ++rows;
    T* at = data + uint64_t(p) * cols;
    std::copy_backward(at, data + oldCount, data + oldCount + cols);
    std::fill(at, at + cols, v);
}

template <typename T>
void AddCol(T*& data, uint32_t& capacity, uint32_t rows, uint32_t& cols, uint32_t p, T v) {
    uint64_t oldCount = uint64_t(rows) * cols;
    Reserve(data, capacity, oldCount + rows, oldCount);
    const uint32_t oldCols = cols++;
    // Re-lay in place from the last row up: each row moves to a higher
    // position, and the rows above it have not been touched yet.
    for (uint64_t r = rows; r-- > 0;) {
        T* src = data + r * oldCols;
        T* dst = data + r * cols;
        std::copy_backward(src + p, src + oldCols, dst + cols);
        dst[p] = v;
        std::copy_backward(src, src + p, dst + p);
    }
}

template <typename T>
void DelRow(T* data, uint32_t& rows, uint32_t cols, uint32_t p) {
    uint64_t count = uint64_t(rows) * cols;
    std::copy(data + uint64_t(p) * cols, data + count, data + uint64_t(p - 1) * cols);
    --rows;
}

} // namespace optimara::storage
