// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Klee and Minty's cube in n dimensions, as typed: the largest coefficient
// takes 2^n - 1 pivots to its optimum.
#include <string>

#include "ProblemState.h"

namespace optimara::testing {

inline ProblemText KleeMinty(int n) {
    ProblemText typed{1, "", {}};
    std::string signs;
    long limit = 1;
    for (int i = 1; i <= n; ++i) {
        typed.objective += (i > 1 ? "+" : "") + std::to_string(1 << (n - i)) + "x" + std::to_string(i);
        std::string line;
        for (int j = 1; j < i; ++j) line += std::to_string(1 << (i - j + 1)) + "x" + std::to_string(j) + "+";
        limit *= 5;
        typed.lines.push_back(line + "x" + std::to_string(i) + "<" + std::to_string(limit));
        signs += (i > 1 ? ",x" : "x") + std::to_string(i);
    }
    typed.lines.push_back(signs + ">0");
    return typed;
}

} // namespace optimara::testing
