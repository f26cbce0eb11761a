// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Integer variables by branch and bound: every node is the typed problem
// with bound lines added, solved as any problem is (the build, then the
// driver's steps with the current pivot rule), depth first, the "<" branch
// before the ">" branch, on the first fractional integer variable in the
// order of the names.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ProblemState.h"

namespace optimara {

// Why a node made no children, or that it did.
enum class NodeEnd : uint8_t { Branched, PrunedByBound, Infeasible, Integer, Unbounded, Unfinished };

// x < value (upper) or x > value, as an added line of the node's text.
struct NodeBound {
    uint32_t variable = 0;
    bool upper = true;
    double value = 0;
};

struct BranchNode {
    int number = 0;                 // in the order solved, from 1
    int parent = 0;                 // 0 for the first node
    std::vector<NodeBound> bounds;  // every bound added from the first node down
    SolveStage stage = SolveStage::Building;
    double value = 0;               // the relaxation's optimum, as the user asked for it
    std::vector<double> solution;   // per problem variable
    NodeEnd end = NodeEnd::Unfinished;
    int steps = 0;                  // tableaux shown, the build's included
    // The node's last tableau and what it was built from.
    std::unique_ptr<ProblemState> last = std::make_unique<ProblemState>();
};

struct BranchResult {
    std::vector<BranchNode> nodes;
    int best = 0;  // number of the best integer node, 0 when none
    // Optimal with an integer solution, Infeasible without one, Unbounded
    // when a relaxation is; Choosing when the user stopped the search.
    SolveStage stage = SolveStage::Building;
};

inline constexpr int kNodeLimit = 1000;
// Steps one node may take before its solution is given up.
inline constexpr int kNodeStepLimit = 20000;

// The line a bound adds to a node's text, e.g. "x<2" or "y>-1".
std::string BoundLine(const ProblemModel& model, const NodeBound& bound);

// The node's problem: the typed text with its bound lines below.
ProblemText NodeText(const ProblemText& typed, const ProblemModel& model, const std::vector<NodeBound>& bounds);

// `to` becomes a copy of `from`, every matrix and the model with it.
void CopyProblemState(const ProblemState& from, ProblemState& to);

// Solves the typed problem, whose model (read without fault) names integer
// variables. `random` is the window's generator, carried from node to node.
// After every kNodeLimit nodes `askMore` decides whether the search goes on.
BranchResult BranchAndBound(const ProblemText& typed, const ProblemModel& model, RandomGenerator& random,
                            PivotRule rule, const std::function<bool()>& askMore);

} // namespace optimara
