// SPDX-License-Identifier: GPL-3.0-or-later
#include "BranchAndBound.h"

#include <cmath>
#include <cstdio>
#include <map>

#include "AddedRows.h"
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
    CopyEngineState(from, to);
    CopyMatrix(from.SignMarks, to.SignMarks);
    to.ConstraintPlanes = from.ConstraintPlanes;
    to.ObjectiveVector = from.ObjectiveVector;
    to.Names = from.Names;
    to.Model = from.Model;
}

DivisorProof FindDivisorProof(const ProblemModel& model) {
    std::vector<bool> integer(model.variables.size(), false);
    for (uint32_t v : model.integers)
        if (v < integer.size()) integer[v] = true;
    for (size_t i = 0; i < model.lines.size(); ++i) {
        const ModelLine& line = model.lines[i];
        if (line.relation != '=') continue;
        for (uint32_t k = 0; k < line.sides.size(); ++k) {
            // A variable typed twice counts once, with its coefficients added.
            std::map<uint32_t, mpq_class> coef;
            bool allInteger = true;
            for (const ModelTerm& t : line.sides[k].terms) {
                allInteger = allInteger && t.variable < integer.size() && integer[t.variable];
                coef[t.variable] += TermValue(line.sides[k], t);
            }
            if (!allInteger) continue;
            // Decimal coefficients are made whole first, exactly.
            const mpq_class rhs = ExactNumber(line.rhsText);
            mpz_class scale = rhs.get_den();
            for (const auto& [v, c] : coef) scale = lcm(scale, mpz_class(c.get_den()));
            DivisorProof proof;
            proof.divisor = 0;
            for (const auto& [v, c] : coef) {
                if (c == 0) continue;
                const mpz_class whole = c.get_num() * (scale / c.get_den());
                proof.terms.emplace_back(v, whole);
                proof.divisor = gcd(proof.divisor, whole);
            }
            if (proof.divisor == 0) continue;
            proof.rhs = rhs.get_num() * (scale / rhs.get_den());
            if (proof.rhs % proof.divisor == 0) continue;
            proof.line = static_cast<int>(i);
            proof.side = k;
            proof.scale = scale;
            return proof;
        }
    }
    return {};
}

size_t StateBytes(const ProblemState& s) {
    size_t bytes = sizeof(ProblemState);
    auto cells = [](uint32_t rows, uint32_t cols) { return size_t(rows) * size_t(cols); };
    bytes += cells(s.Tableau.rows, s.Tableau.cols) * sizeof(double);
    bytes += (cells(s.Labels.rows, s.Labels.cols) + cells(s.PivotMarks.rows, s.PivotMarks.cols) +
              cells(s.SignMarks.rows, s.SignMarks.cols)) * sizeof(int32_t);
    bytes += (cells(s.ConstraintPlanes.rows, s.ConstraintPlanes.cols) +
              cells(s.ObjectiveVector.rows, s.ObjectiveVector.cols)) * sizeof(double);
    if (s.Exact)
        for (uint32_t i = 1; i <= s.ExactTableau.rows; ++i)
            for (uint32_t j = 1; j <= s.ExactTableau.cols; ++j) {
                const mpq_class& q = s.ExactTableau.Index(i, j);
                const size_t limbs = mpz_size(q.get_num_mpz_t()) + mpz_size(q.get_den_mpz_t());
                bytes += sizeof(mpq_class) + limbs * sizeof(mp_limb_t);
            }
    for (const std::string& name : s.Names) bytes += sizeof(std::string) + name.capacity();
    for (const ModelLine& line : s.Model.lines) {
        bytes += sizeof(ModelLine) + line.rhsText.capacity();
        for (const ModelSide& side : line.sides)
            bytes += sizeof(ModelSide) + side.text.capacity() + side.terms.size() * sizeof(ModelTerm);
    }
    bytes += s.Model.variables.size() * (sizeof(ModelVariable) + 16) + s.Model.columns.size() * sizeof(ColumnOrigin) +
             (s.Model.rows.size() + s.Model.readRows.size()) * sizeof(RowOrigin);
    return bytes;
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
    result_.divisor = FindDivisorProof(model_);
    started_ = true;
}

void BranchSearch::Press(ProblemState& s, NodeSolveHost& host) {
    lastFromParent_ = false;
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
    if (node.number == 1) method_ = s.BuildMethod;
    if (fromParent_ && FromParent(node, s, host)) return;
    s.BuildMethod = method_;
    s.ProblemReady = false;
    s.Exact = result_.exact;
    NodeAdapter adapter(host, s, ownPlanes_, First(), node.number == 1 || redraw_);
    redraw_ = false;
    node.steps = 1;
    Button2Click(adapter);
    if (result_.divisor.line >= 0 && host.ErrorPanel().empty()) {
        // A line with no integer point: the search ends at once, on the
        // typed problem as built.
        node.stage = SolveStage::Infeasible;
        node.end = NodeEnd::Infeasible;
        open_ = false;
        KeepLast(node, s);
        waiting_.clear();
        Finish();
        return;
    }
    if (!host.ErrorPanel().empty() || Ended(s.Stage)) Conclude(s, host.ErrorPanel());
}

bool BranchSearch::FromParent(BranchNode& node, ProblemState& s, NodeSolveHost& host) {
    if (node.parent < 1) return false;
    const BranchNode& parent = result_.nodes[size_t(node.parent - 1)];
    if (!parent.last || parent.stage != SolveStage::Optimal) return false;
    ModelLine line;
    ProblemState& from = *parent.last;
    if (!ReadAddedLine(from, BoundLine(model_, node.bounds.back()), line).empty()) return false;
    // The window's generator and rule go on; the parent's tableau, model and
    // own region come with the copy.
    const RandomGenerator random = s.Random;
    const PivotRule rule = s.Rule;
    CopyProblemState(from, s);
    s.Random = random;
    s.Rule = rule;
    AppendLine(s, std::move(line));
    s.ProblemReady = true;
    ownPlanes_ = s.ConstraintPlanes;
    if (const ProblemState* first = First()) {
        s.ConstraintPlanes = first->ConstraintPlanes;
        s.ObjectiveVector = first->ObjectiveVector;
    }
    node.fromParent = true;
    node.steps = 1;
    lastFromParent_ = true;
    host.ShowStage();
    host.ShowTableau();
    if (Ended(s.Stage)) Conclude(s, "");
    return true;
}

void BranchSearch::Conclude(ProblemState& s, const std::string& error) {
    BranchNode& node = result_.nodes.back();
    open_ = false;
    node.stage = error.empty() ? s.Stage : SolveStage::Fault;
    KeepLast(node, s);
    EndNode(node, s);
    KeepWithinBudget(node.number);
}

void BranchSearch::EndNode(BranchNode& node, ProblemState& s) {
    if (node.stage == SolveStage::Infeasible) {
        node.end = NodeEnd::Infeasible;
        return;
    }
    if (node.stage != SolveStage::Optimal && node.stage != SolveStage::Unbounded) {
        // A node the method did not finish is no proof of anything.
        node.end = NodeEnd::Unfinished;
        waiting_.clear();
        return;
    }
    const bool exact = result_.exact;
    ReadNode(node, s, model_.maximize, exact);
    if (node.stage == SolveStage::Unbounded || result_.unboundedRelaxation) {
        ConcludeUnbounded(node);
        return;
    }
    if (result_.best != 0 && !Better(node, result_.nodes[size_t(result_.best - 1)], model_.maximize, exact)) {
        node.end = NodeEnd::PrunedByBound;
        node.against = result_.best;
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

// Below an unbounded first relaxation nothing bounds the value: the search
// looks for one integer point, from the vertex where the method stopped.
void BranchSearch::ConcludeUnbounded(BranchNode& node) {
    if (node.number == 1) result_.unboundedRelaxation = true;
    const int v = FirstFractional(model_, node, result_.exact);
    if (v >= 0) {
        node.end = NodeEnd::Branched;
        Branch(node, uint32_t(v));
        return;
    }
    // For rational data, an integer point of a problem whose relaxation is
    // unbounded makes the integer problem unbounded as well.
    node.end = node.stage == SolveStage::Unbounded ? NodeEnd::Unbounded : NodeEnd::Integer;
    result_.best = node.number;
    waiting_.clear();
}

void BranchSearch::KeepWithinBudget(int number) {
    keptBytes_ += StateBytes(*result_.nodes[size_t(number - 1)].last);
    if (keptBytes_ <= kKeptTableauBytes) return;
    // The first node draws every picture, the best is the answer and the
    // last concluded is the one shown next: those stay.
    if (spare_ > 1 && spare_ != result_.best) {
        std::unique_ptr<ProblemState>& spare = result_.nodes[size_t(spare_ - 1)].last;
        keptBytes_ -= std::min(keptBytes_, StateBytes(*spare));
        spare.reset();
    }
    spare_ = number;
}

void BranchSearch::KeepLast(BranchNode& node, const ProblemState& s) const {
    if (!node.last) node.last = std::make_unique<ProblemState>();
    CopyProblemState(s, *node.last);
    node.last->ConstraintPlanes = ownPlanes_;
}

void BranchSearch::Branch(BranchNode& node, uint32_t v) {
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
    node.made = {down, up};
    // The child's bound replaces its parent's of the same variable and side
    // (it is tighter, the parent's point being within it) and comes last.
    auto child = [&](NodeBound bound) {
        std::vector<NodeBound> bounds;
        for (const NodeBound& b : node.bounds)
            if (b.variable != bound.variable || b.upper != bound.upper) bounds.push_back(b);
        bounds.push_back(std::move(bound));
        return bounds;
    };
    waiting_.emplace_back(node.number, child(std::move(up)));
    waiting_.emplace_back(node.number, child(std::move(down)));
}

void BranchSearch::Finish() {
    finished_ = true;
    const BranchNode* last = result_.nodes.empty() ? nullptr : &result_.nodes.back();
    if (last && last->end == NodeEnd::Unfinished) result_.stage = SolveStage::Choosing;
    else if (result_.best == 0) result_.stage = SolveStage::Infeasible;
    else result_.stage = result_.unboundedRelaxation ? SolveStage::Unbounded : SolveStage::Optimal;
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
    KeepLast(result_.nodes.back(), s);
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

void SolveNodeAgain(const ProblemText& typed, const ProblemModel& model, const BranchNode& node, bool exact,
                    ProblemState& out) {
    ProblemState s;
    s.Random = out.Random;
    s.Rule = out.Rule;
    s.Exact = exact;
    // Given up after kNodeStepLimit steps, as the search gives a node up.
    RestartBudget budget(kNodeStepLimit / 100 - 1);
    SolveWithoutWindow(NodeText(typed, model, node.bounds), s, budget);
    CopyProblemState(s, out);
}

std::string SolveWithoutWindow(const ProblemText& text, ProblemState& state, SolveQuestions& questions) {
    TextHost host(state, text);
    SimplexPresses presses(host);
    SolveLoop(presses, questions);
    return host.ErrorPanel();
}

namespace {

// A search without a window: a node is given up after kNodeStepLimit
// steps, and askMore answers the node question.
class NodeBudget : public SolveQuestions {
public:
    NodeBudget(const BranchSearch& search, const std::function<bool()>& askMore)
        : search_(search), askMore_(askMore) {}
    bool AskRestart() override { return search_.Result().nodes.back().steps < kNodeStepLimit; }
    bool AskMoreNodes() override { return askMore_(); }

private:
    const BranchSearch& search_;
    const std::function<bool()>& askMore_;
};

} // namespace

BranchResult BranchAndBound(const ProblemText& typed, const ProblemModel& model, RandomGenerator& random,
                            PivotRule rule, const std::function<bool()>& askMore, bool exact,
                            bool nodesFromParent) {
    ProblemState s;
    s.Random = random;
    s.Rule = rule;
    BranchSearch search;
    search.Start(typed, model, exact);
    search.SetNodesFromParent(nodesFromParent);
    TextHost host(s, typed);
    SearchPresses presses(search, [&] { search.Press(s, host); });
    NodeBudget questions(search, askMore);
    SolveLoop(presses, questions, kNodeLimit);
    // The restart question's No: the open node reached kNodeStepLimit steps.
    if (search.NodeOpen()) search.Abandon(s);
    random = s.Random;
    return search.TakeResult();
}

} // namespace optimara
