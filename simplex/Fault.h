// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Floating-point faults abandon the command in which they happen; the
// top-level handler reports their text followed by ".".
#include <stdexcept>
#include <string>

namespace optimara {

inline constexpr const char* kDivisionByZero = "Floating point division by zero";
inline constexpr const char* kOverflow = "Floating point overflow";
inline constexpr const char* kInvalidOperation = "Invalid floating point operation";

class FloatingPointFault : public std::runtime_error {
public:
    explicit FloatingPointFault(const char* text) : std::runtime_error(text) {}
};

} // namespace optimara
