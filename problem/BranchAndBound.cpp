// SPDX-License-Identifier: GPL-3.0-or-later
#include "BranchAndBound.h"

#include <cmath>
#include <cstdio>

#include "BuildProblem.h"

namespace optimara {
namespace {

// What the search adds to its host's work: the node's own region is kept
// aside and the picture stays the first node's, drawn once, so that every
// node is seen against the problem as typed.
class NodeAdapter : public SolveHost {
public:
    NodeAdapter(SolveHost& host, ProblemState& state, MatrixR& ownPlanes, const ProblemState* first, bool draw)
        : host_(host), state_(state), ownPlanes_(ownPlanes), first_(first), draw_(draw) {}
    EngineState& Engine() override { return host_.Engine(); }
    std::string ErrorPanel() const override { return host_.ErrorPanel(); }
    void SetErrorPanel(const std::string& t) override { host_.SetErrorPanel(t); }
    void ShowStage() override { host_.ShowStage(); }
    void ClearNames() override { host_.ClearNames(); }
    void BuildProblem() override {
        host_.BuildProblem();
        ownPlanes_ = state_.ConstraintPlanes;
        if (!first_) return;
        state_.ConstraintPlanes = first_->ConstraintPlanes;
        state_.ObjectiveVector = first_->ObjectiveVector;
    }
    void ClearPicture() override {
        if (draw_) host_.ClearPicture();
    }
    void DrawPlot() override {
        if (draw_) host_.DrawPlot();
    }
    void ShowTableau() override { host_.ShowTableau(); }
    bool AskRestart() override { return host_.AskRestart(); }

private:
    SolveHost& host_;
    ProblemState& state_;
    MatrixR& ownPlanes_;
    const ProblemState* first_;
    bool draw_;
};

bool Whole(double v) { return std::fabs(v - std::round(v)) <= 1e-7 * (1.0 + std::fabs(v)); }

bool Better(const BranchNode& a, const BranchNode& b, bool maximize, bool exact) {
    if (exact) return maximize ? a.exactValue > b.exactValue : a.exactValue < b.exactValue;
    const double tol = 1e-9 * (1.0 + std::fabs(b.value));
    return maximize ? a.value > b.value + tol : a.value < b.value - tol;
}

// The first integer variable, in the order of the names, with a fractional value.
int FirstFractional(const ProblemModel& model, const BranchNode& node, bool exact) {
    for (uint32_t v : model.integers) {
        if (v >= node.solution.size()) continue;
        if (exact ? node.exactSolution[v].get_den() != 1 : !Whole(node.solution[v])) return static_cast<int>(v);
    }
    return -1;
}

std::string WholeText(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.0f", v + 0.0);
    return std::string(text) == "-0" ? "0" : text;
}

void ReadNode(BranchNode& node, ProblemState& s, bool maximize, bool exact) {
    const SolutionReading reading = ReadSolution(s.Tableau, s.Labels, s.SignMarks, maximize);
    node.value = reading.objective;
    node.solution = reading.values;
    if (!exact) return;
    node.exactValue = ExactObjective(s, maximize);
    node.value = node.exactValue.get_d();
    for (size_t v = 0; v < reading.places.size(); ++v) {
        node.exactSolution.push_back(ExactValue(s, reading.places[v]));
        node.solution[v] = node.exactSolution.back().get_d();
    }
}

// The driver's view of a search without a window: nothing shown, the
// node's text built from the typed one.
class TextHost : public NodeSolveHost {
public:
    TextHost(ProblemState& state, const ProblemText& typed) : state_(state), typed_(typed) {}
    EngineState& Engine() override { return state_; }
    std::string ErrorPanel() const override { return error_; }
    void SetErrorPanel(const std::string& t) override { error_ = t; }
    void ShowStage() override {}
    void ClearNames() override { state_.Names.clear(); }
    void BuildProblem() override {
        ProblemText text = typed_;
        text.lines.insert(text.lines.end(), lines_.begin(), lines_.end());
        BuildReport report;
        optimara::BuildProblem(state_, text, report);
        error_ = report.errorPanel;
    }
    void ClearPicture() override {}
    void DrawPlot() override {}
    void ShowTableau() override {}
    bool AskRestart() override { return true; }
    void SetBoundLines(std::vector<std::string> lines) override { lines_ = std::move(lines); }

private:
    ProblemState& state_;
    const ProblemText& typed_;
    std::vector<std::string> lines_;
    std::string error_;
};

} // namespace

void CopyProblemState(const ProblemState& from, ProblemState& to) {
    to.Tableau = from.Tableau;
    CopyMatrix(from.Labels, to.Labels);
    CopyMatrix(from.PivotMarks, to.PivotMarks);
    CopyMatrix(from.SignMarks, to.SignMarks);
    to.CandidateCount = from.CandidateCount;
    to.Random = from.Random;
    to.ProblemReady = from.ProblemReady;
    to.Stage = from.Stage;
    to.AtBuild = from.AtBuild;
    to.Rule = from.Rule;
    to.LastDraw = from.LastDraw;
    to.Exact = from.Exact;
    to.ExactTableau = from.ExactTableau;
    to.ConstraintPlanes = from.ConstraintPlanes;
    to.ObjectiveVector = from.ObjectiveVector;
    to.Names = from.Names;
    to.Model = from.Model;
}

std::string BoundLine(const ProblemModel& model, const NodeBound& bound) {
    return model.variables.at(bound.variable).name + (bound.upper ? "<" : ">") +
           (bound.whole.empty() ? WholeText(bound.value) : bound.whole);
}

ProblemText NodeText(const ProblemText& typed, const ProblemModel& model, const std::vector<NodeBound>& bounds) {
    ProblemText text = typed;
    for (const NodeBound& b : bounds) text.lines.push_back(BoundLine(model, b));
    return text;
}

void BranchSearch::Start(const ProblemText& typed, ProblemModel model, bool exact) {
    Clear();
    typed_ = typed;
    model_ = std::move(model);
    result_.exact = exact;
    waiting_.push_back({0, {}});
    started_ = true;
}

void BranchSearch::Press(ProblemState& s, NodeSolveHost& host) {
    if (!Active()) return;
    if (!open_) {
        if (waiting_.empty()) Finish();
        else BuildNext(s, host);
        return;
    }
    NodeAdapter adapter(host, s, ownPlanes_, First(), false);
    Button2Click(adapter);
    ++result_.nodes.back().steps;
    if (!host.ErrorPanel().empty() || Ended(s.Stage)) Conclude(s, host.ErrorPanel());
}

void BranchSearch::BuildNext(ProblemState& s, NodeSolveHost& host) {
    BranchNode& node = result_.nodes.emplace_back();
    node.number = static_cast<int>(result_.nodes.size());
    node.parent = waiting_.back().first;
    node.bounds = std::move(waiting_.back().second);
    waiting_.pop_back();
    current_ = node.number;
    open_ = true;
    std::vector<std::string> lines;
    for (const NodeBound& b : node.bounds) lines.push_back(BoundLine(model_, b));
    host.SetBoundLines(std::move(lines));
    s.ProblemReady = false;
    s.Exact = result_.exact;
    NodeAdapter adapter(host, s, ownPlanes_, First(), node.number == 1 || redraw_);
    redraw_ = false;
    node.steps = 1;
    Button2Click(adapter);
    if (!host.ErrorPanel().empty() || Ended(s.Stage)) Conclude(s, host.ErrorPanel());
}

void BranchSearch::Conclude(ProblemState& s, const std::string& error) {
    BranchNode& node = result_.nodes.back();
    open_ = false;
    node.stage = error.empty() ? s.Stage : SolveStage::Fault;
    KeepLast(node, s);
    if (node.stage == SolveStage::Unbounded || (node.stage != SolveStage::Optimal && node.stage != SolveStage::Infeasible)) {
        // An unbounded relaxation ends the search; a node the method did
        // not finish is no proof of anything.
        node.end = node.stage == SolveStage::Unbounded ? NodeEnd::Unbounded : NodeEnd::Unfinished;
        waiting_.clear();
        return;
    }
    if (node.stage == SolveStage::Infeasible) {
        node.end = NodeEnd::Infeasible;
        return;
    }
    const bool exact = result_.exact;
    ReadNode(node, s, model_.maximize, exact);
    if (result_.best != 0 && !Better(node, result_.nodes[size_t(result_.best - 1)], model_.maximize, exact)) {
        node.end = NodeEnd::PrunedByBound;
        return;
    }
    const int v = FirstFractional(model_, node, exact);
    if (v < 0) {
        node.end = NodeEnd::Integer;
        result_.best = node.number;
        return;
    }
    node.end = NodeEnd::Branched;
    Branch(node, uint32_t(v));
}

void BranchSearch::KeepLast(BranchNode& node, const ProblemState& s) const {
    CopyProblemState(s, *node.last);
    node.last->ConstraintPlanes = ownPlanes_;
}

void BranchSearch::Branch(const BranchNode& node, uint32_t v) {
    NodeBound down{v, true, 0, ""}, up{v, false, 0, ""};
    if (result_.exact) {
        const mpq_class& x = node.exactSolution[v];
        mpz_class lower, upper;
        mpz_fdiv_q(lower.get_mpz_t(), x.get_num_mpz_t(), x.get_den_mpz_t());
        upper = lower + 1;
        down.whole = lower.get_str();
        up.whole = upper.get_str();
        down.value = lower.get_d();
        up.value = upper.get_d();
    } else {
        down.value = std::floor(node.solution[v]);
        up.value = std::ceil(node.solution[v]);
    }
    std::vector<NodeBound> below = node.bounds, above = node.bounds;
    below.push_back(std::move(down));
    above.push_back(std::move(up));
    waiting_.emplace_back(node.number, std::move(above));
    waiting_.emplace_back(node.number, std::move(below));
}

void BranchSearch::Finish() {
    finished_ = true;
    const BranchNode* last = result_.nodes.empty() ? nullptr : &result_.nodes.back();
    if (last && last->end == NodeEnd::Unbounded) result_.stage = SolveStage::Unbounded;
    else if (last && last->end == NodeEnd::Unfinished) result_.stage = SolveStage::Choosing;
    else result_.stage = result_.best != 0 ? SolveStage::Optimal : SolveStage::Infeasible;
}

void BranchSearch::Abandon(ProblemState& s) {
    if (open_) {
        BranchNode& node = result_.nodes.back();
        node.stage = s.Stage;
        node.end = NodeEnd::Unfinished;
        KeepLast(node, s);
        open_ = false;
    }
    waiting_.clear();
    Finish();
}

void BranchSearch::Displaced(const ProblemState& s) {
    redraw_ = true;
    if (!open_ || displaced_) return;
    CopyProblemState(s, *result_.nodes.back().last);
    displaced_ = true;
}

bool BranchSearch::Resume(ProblemState& s) {
    if (!displaced_) return false;
    displaced_ = false;
    const RandomGenerator random = s.Random;
    const PivotRule rule = s.Rule;
    CopyProblemState(*result_.nodes.back().last, s);
    s.Random = random;
    s.Rule = rule;
    return true;
}

BranchResult BranchAndBound(const ProblemText& typed, const ProblemModel& model, RandomGenerator& random,
                            PivotRule rule, const std::function<bool()>& askMore, bool exact) {
    ProblemState s;
    s.Random = random;
    s.Rule = rule;
    BranchSearch search;
    search.Start(typed, model, exact);
    TextHost host(s, typed);
    int started = 0;
    while (search.Active()) {
        if (search.AtNodeStart() && started > 0 && started % kNodeLimit == 0 && !askMore()) break;
        if (search.AtNodeStart()) ++started;
        if (search.NodeOpen() && search.Result().nodes.back().steps >= kNodeStepLimit) {
            search.Abandon(s);
            break;
        }
        search.Press(s, host);
    }
    random = s.Random;
    return search.TakeResult();
}

} // namespace optimara
