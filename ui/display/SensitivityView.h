// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the sensitivity window and the page of steps show of an optimum, as
// texts in the current notation. No toolkit code here.
#include <array>
#include <string>
#include <vector>

#include "ProblemState.h"
#include "SolveSession.h"

namespace optimara {

struct SensitivityView {
    bool available = false;
    std::string nothing;  // why there is nothing to analyse
    // line, slack, dual price, lower limit, upper limit
    std::vector<std::array<std::string, 5>> lines;
    // variable, value, reduced cost, lower limit, upper limit of its cost
    std::vector<std::array<std::string, 5>> variables;
    std::string words;   // degenerate, other optima, or neither
    std::string bounds;  // how the sign lines are shown
    // The problem and its dual as typed, one line each: sense, objective, lines.
    std::vector<std::string> primal, dual;
    std::string primalOptimum, dualOptimum;
    ProblemText dualText;
};

// The headings of the two tables, in the order of the columns.
extern const std::array<const char*, 5> kSensitivityLineHeadings;
extern const std::array<const char*, 5> kSensitivityVariableHeadings;

// The engine's stage says whether there is an optimum; `solved` whether the problem state
// was built from the text now typed (no edit since) without error.
// `analysed`, when given, is the state's analysis made already.
SensitivityView ComputeSensitivityView(const ProblemState& state, const ProblemText& typed, bool solved,
                                       bool floating, const std::string& separator,
                                       const SolveSession* analysed = nullptr);

// What the session's optimum says; with integer variables, its relaxation's.
SensitivityView SessionSensitivityView(const SolveSession& session, const ProblemText& typed, bool floating,
                                       const std::string& separator);

} // namespace optimara
