// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dual simplex's choices, the lines added at an optimum and the cutting
// planes in words, for the panel, the explanation and the page of steps.
// Pure computation on the engine's records; the window only shows it.
#include <string>

#include "CuttingPlanes.h"
#include "Explanation.h"
#include "SolveSession.h"

namespace optimara {

inline constexpr const char* kMoreCutsCaption = "Planos de corte";

// The question after every kCutsPerQuestion cuts.
std::string MoreCutsQuestion(size_t cuts);

// The dual simplex's choice on the state's tableau: which row leaves (its
// basic variable and "Solución"), why, and which column enters by the dual
// ratio test; or why the method stops (an optimum, or a row that proves no
// point feasible).
std::string DualChoiceText(const ProblemState& state, const NumberText& numbers);

// The line added at an optimum, and what follows.
std::string AddedLineText(const std::string& line, bool stillOptimal);

// One cut: its number, the fractional variable and its value, the cut as an
// inequality over the problem's variables.
std::string CutText(const GomoryCut& cut, size_t number, const NumberText& numbers);

// The end of the cutting planes: the integer optimum after so many cuts.
std::string CutsEndText(size_t cuts);

// What the method adds to the explanation of the tableau shown: the dual
// simplex's choice, the last cut made, the cutting planes' end or why they
// stopped. Empty under the other methods.
std::string MethodExplanation(const SolveSession& session, const NumberText& numbers);

} // namespace optimara
