// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tree of branch and bound as the window and the page of steps show it:
// one row of texts per node. No toolkit code here.
#include <array>
#include <string>
#include <vector>

#include "BranchAndBound.h"
#include "StepsReport.h"

namespace optimara {

inline constexpr std::array<const char*, 6> kBranchHeadings = {"Nodo", "Padre", "Cotas", "Valor", "Solución", "Fin"};

// "ramificado", "podado por cota", "no factible", "entero", ...
const char* NodeEndText(NodeEnd end);

struct BranchRow {
    std::vector<std::string> cells;  // as BranchHeadings says
    bool best = false;
};

// The headings above; a search whose nodes start from their parent's
// optimal tableau adds "Pivotes", each node's pivots.
std::vector<std::string> BranchHeadings(const BranchResult& result);

// Values in the window's notation; the best node's end says so.
std::vector<BranchRow> BranchRows(const BranchResult& result, const ProblemModel& model, bool floating,
                                  const std::string& separator);

// Panel 2 after a search: how many nodes were solved.
std::string NodeCountText(const BranchResult& result);

// The page of a search: every kept node's steps (kept[k] for node k+1),
// each tableau headed with its node and bounds, then the open node's when
// it is given, then the tree.
void WriteSearchPage(files::StepsPage& page, const BranchSearch& search, const std::vector<StepHistory>& kept,
                     ProblemState* open, const StepHistory& openSteps, const StepsPageInput& input);

// The node's bounds as lines, "y<1, x>4"; "—" for the first node.
std::string BoundsText(const ProblemModel& model, const BranchNode& node);

// A concluded node's end in a sentence: the fractional variable and the two
// bounds made, the best value it could not improve on, no feasible point, an
// integer point.
std::string NodeEndReason(const BranchResult& result, const ProblemModel& model, const BranchNode& node,
                          bool floating, const std::string& separator);

// Where the search stands, or how it ended and why: the integer optimum and
// its node, and how every node was closed; for no integer point the line
// and divisor that prove it.
std::vector<std::string> SearchEnding(const BranchSearch& search, bool floating, const std::string& separator);

} // namespace optimara
