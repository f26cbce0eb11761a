// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small helpers shared by the problem tests: building from typed text and
// comparing matrices with expected rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BuildProblem.h"
#include "support/MatrixRows.h"

namespace optimara::testing {

struct Outcome {
    ProblemState state;
    BuildReport report;
};

inline void Build(Outcome& out, int combo, const std::string& objective, const std::vector<std::string>& lines) {
    ProblemText text;
    text.comboIndex = combo;
    text.objective = objective;
    text.lines = lines;
    BuildProblem(out.state, text, out.report);
}

inline std::vector<int32_t> Sequence(int32_t count) {
    std::vector<int32_t> s;
    for (int32_t i = 1; i <= count; ++i) s.push_back(i);
    return s;
}

} // namespace optimara::testing
