// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Integer variables by branch and bound: every node is the typed problem
// with bound lines added, solved as any problem is (the build, then the
// driver's steps with the current pivot rule), depth first, the "<" branch
// before the ">" branch, on the first fractional integer variable in the
// order of the names. A child's bound replaces its parent's bound of the
// same variable and side, so that a node's tableau never has more than the
// typed rows and two bounds per integer variable. The search goes one press
// at a time, so that "Paso a paso" and "Una Solución" take the very same
// nodes and pivots.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Driver.h"
#include "ProblemState.h"

namespace optimara {

// Why a node made no children, or that it did.
enum class NodeEnd : uint8_t { Branched, PrunedByBound, Infeasible, Integer, Unbounded, Unfinished };

// x < value (upper) or x > value, as an added line of the node's text.
struct NodeBound {
    uint32_t variable = 0;
    bool upper = true;
    double value = 0;   // for the picture
    std::string whole;  // the whole number itself, as the line writes it
};

struct BranchNode {
    int number = 0;                 // in the order solved, from 1
    int parent = 0;                 // 0 for the first node
    std::vector<NodeBound> bounds;  // every bound added from the first node down
    SolveStage stage = SolveStage::Building;
    double value = 0;               // the relaxation's optimum, as the user asked for it
    std::vector<double> solution;   // per problem variable
    // The same, exactly, when the search runs in exact arithmetic.
    mpq_class exactValue;
    std::vector<mpq_class> exactSolution;
    NodeEnd end = NodeEnd::Unfinished;
    // A branched node's two bounds, "<" first; the best node a pruned one
    // could not improve on.
    std::vector<NodeBound> made;
    int against = 0;
    int steps = 0;                  // tableaux shown, the build's included
    bool fromParent = false;        // its first tableau is its parent's optimum with its bound appended
    // The node's last tableau and what it was built from (its own region);
    // null when the search let it go to stay within its memory budget.
    std::unique_ptr<ProblemState> last = std::make_unique<ProblemState>();
};

// An «=» side whose variables are all integer and whose coefficients,
// made whole by `scale`, have a greatest common divisor that does not
// divide its right-hand side made whole alike: no integer point at all.
struct DivisorProof {
    int line = -1;  // index into the model's lines; -1 when there is none
    uint32_t side = 0;
    mpz_class scale, divisor, rhs;
    std::vector<std::pair<uint32_t, mpz_class>> terms;  // the whole coefficients, by variable
};

// The first «=» side that proves the problem has no integer point.
DivisorProof FindDivisorProof(const ProblemModel& model);

struct BranchResult {
    std::vector<BranchNode> nodes;
    // Number of the best integer node, 0 when none; when the first
    // relaxation is unbounded, the node of the first integer point found.
    int best = 0;
    // Optimal with an integer solution; Infeasible when the search proved
    // there is none; Unbounded when the first relaxation is and an integer
    // point is known (for rational data the integer problem is then
    // unbounded too); Choosing while the search goes on or when the user
    // stopped it.
    SolveStage stage = SolveStage::Choosing;
    bool exact = false;
    bool unboundedRelaxation = false;  // the first node's relaxation is unbounded
    DivisorProof divisor;              // why there is no integer point, found before any pivot
};

inline constexpr int kNodeLimit = 1000;
// Steps one node may take, without a window to ask, before it is given up.
inline constexpr int kNodeStepLimit = 20000;
// The nodes' last tableaux are kept while they take less than this; beyond
// it, only the first node's, the best one's and the last concluded one's.
inline constexpr size_t kKeptTableauBytes = size_t(32) << 20;

// About how much memory a problem state holds.
size_t StateBytes(const ProblemState& state);

// The line a bound adds to a node's text, e.g. "x<2" or "y>-1".
std::string BoundLine(const ProblemModel& model, const NodeBound& bound);

// The node's problem: the typed text with its bound lines below.
ProblemText NodeText(const ProblemText& typed, const ProblemModel& model, const std::vector<NodeBound>& bounds);

// `to` becomes a copy of `from`, every matrix and the model with it.
void CopyProblemState(const ProblemState& from, ProblemState& to);

// A node's problem solved from its text to its end, with out's rule and
// generator (given up after kNodeStepLimit steps).
void SolveNodeAgain(const ProblemText& typed, const ProblemModel& model, const BranchNode& node, bool exact,
                    ProblemState& out);

// A solve host that builds from the typed text with a node's bound lines
// added below it.
class NodeSolveHost : public SolveHost {
public:
    virtual void SetBoundLines(std::vector<std::string> lines) = 0;
    // The search went back from a node looked at to the one it solves: the
    // picture is the typed problem's again, the steps start at its tableau.
    virtual void Resumed() {}
    // A press of the search has been made.
    virtual void SearchPressed() {}
};

// A typed problem solved without a window from its build on, by the solve
// loop, whose restart question `questions` answers. The build's error text.
std::string SolveWithoutWindow(const ProblemText& text, ProblemState& state, SolveQuestions& questions);

class BranchSearch {
public:
    // A new search of the typed problem, whose model (read without fault)
    // names integer variables. The first press builds node 1. Every
    // setting goes back to its default.
    void Start(const ProblemText& typed, ProblemModel model, bool exact);
    // No search at all.
    void Clear() { *this = BranchSearch(); }

    // "Nodos desde el padre": each node after the first starts from its
    // parent's optimal tableau with its bound appended as a row, and the
    // dual simplex restores feasibility; a node whose parent's tableau was
    // let go is built from its text.
    void SetNodesFromParent(bool on) { fromParent_ = on; }
    // The last press built a node from its parent's tableau.
    bool BuiltFromParent() const { return lastFromParent_; }

    bool Started() const { return started_; }
    // Nodes remain, or the end has not been shown yet.
    bool Active() const { return started_ && !finished_; }
    // The next press builds a node (rather than pivoting one or ending).
    bool AtNodeStart() const { return Active() && !open_ && !waiting_.empty(); }
    // The node being pivoted, or the last one concluded; 0 before the first.
    int Current() const { return current_; }
    bool NodeOpen() const { return open_; }

    // One press on `state`, the problem the window shows: builds the next
    // node, or pivots the open one, or, with no node left, ends the search
    // (the result's stage is then its end). A node the method has ended is
    // concluded in the same press.
    void Press(ProblemState& state, NodeSolveHost& host);
    // Gives the open node up unfinished and ends the search there.
    void Abandon(ProblemState& state);

    // `state` was replaced by another node's tableau: the open node is kept
    // aside and the next press takes it up again (true when it did). The
    // picture was drawn anew too.
    void Displaced(const ProblemState& state);
    bool Resume(ProblemState& state);

    const BranchResult& Result() const { return result_; }
    // The memory the nodes' kept tableaux take.
    size_t KeptBytes() const { return keptBytes_; }
    // The node's last tableau solved again from its text, for a node whose
    // tableau was let go: the same optimum, with out's rule and generator.
    void SolveAgain(int number, ProblemState& out) const {
        SolveNodeAgain(typed_, model_, result_.nodes.at(size_t(number - 1)), result_.exact, out);
    }
    BranchResult TakeResult() { return std::move(result_); }
    const ProblemModel& Model() const { return model_; }
    // The first node's last tableau and region, for the picture of every
    // node; null until the first node is concluded.
    const ProblemState* First() const {
        return result_.nodes.empty() || (open_ && current_ == 1) ? nullptr : result_.nodes.front().last.get();
    }

private:
    void BuildNext(ProblemState& state, NodeSolveHost& host);
    bool FromParent(BranchNode& node, ProblemState& state, NodeSolveHost& host);
    void Conclude(ProblemState& state, const std::string& error);
    // The node keeps the tableau it ended with and its own region.
    void KeepLast(BranchNode& node, const ProblemState& state) const;
    void Branch(BranchNode& node, uint32_t variable);
    void EndNode(BranchNode& node, ProblemState& state);
    void ConcludeUnbounded(BranchNode& node);
    void KeepWithinBudget(int number);
    void Finish();

    ProblemText typed_;
    ProblemModel model_;
    BranchResult result_;
    // Nodes waiting to be solved: their parent and bounds; the last is next.
    std::vector<std::pair<int, std::vector<NodeBound>>> waiting_;
    bool started_ = false, finished_ = false, open_ = false, displaced_ = false, redraw_ = false;
    int current_ = 0;
    MatrixR ownPlanes_{1, 1};  // the open node's own region
    size_t keptBytes_ = 0;
    int spare_ = 0;  // the node kept beyond the budget, let go at the next
    bool fromParent_ = false, lastFromParent_ = false;
    SolveMethod method_ = SolveMethod::Compact;  // the method the nodes built from text take
};

// The presses of a search, as the solve loop makes them: `press` makes one.
class SearchPresses : public SolvePresses {
public:
    SearchPresses(const BranchSearch& search, std::function<void()> press)
        : search_(search), press_(std::move(press)) {}
    bool Going() override { return search_.Active(); }
    bool AtNodeStart() override { return search_.AtNodeStart(); }
    void Press() override { press_(); }
    bool Stepping() override { return search_.NodeOpen(); }

private:
    const BranchSearch& search_;
    std::function<void()> press_;
};

// The whole search without a window: each node to its end (given up after
// kNodeStepLimit steps), and after every kNodeLimit nodes `askMore` decides
// whether it goes on. `random` is the window's generator, carried from node
// to node.
BranchResult BranchAndBound(const ProblemText& typed, const ProblemModel& model, RandomGenerator& random,
                            PivotRule rule, const std::function<bool()>& askMore, bool exact = false,
                            bool nodesFromParent = false);

} // namespace optimara
