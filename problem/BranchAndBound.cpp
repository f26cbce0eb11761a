// SPDX-License-Identifier: GPL-3.0-or-later
#include "BranchAndBound.h"

#include <cmath>
#include <cstdio>

#include "BuildProblem.h"
#include "Driver.h"

namespace optimara {
namespace {

// The driver's view of a node: no window, nothing shown, the restart
// question answered Yes until the node's step limit.
class NodeHost : public SolveHost {
public:
    NodeHost(ProblemState& state, const ProblemText& text) : state_(state), text_(text) {}
    EngineState& Engine() override { return state_; }
    std::string ErrorPanel() const override { return error_; }
    void SetErrorPanel(const std::string& t) override { error_ = t; }
    void ShowStage() override {}
    void ClearNames() override { state_.Names.clear(); }
    void BuildProblem() override {
        BuildReport report;
        optimara::BuildProblem(state_, text_, report);
        error_ = report.errorPanel;
    }
    void ClearPicture() override {}
    void DrawPlot() override {}
    void ShowTableau() override { ++steps; }
    bool AskRestart() override { return steps < kNodeStepLimit; }
    int steps = 0;

private:
    ProblemState& state_;
    const ProblemText& text_;
    std::string error_;
};

bool Whole(double v) { return std::fabs(v - std::round(v)) <= 1e-7 * (1.0 + std::fabs(v)); }

bool Better(double a, double b, bool maximize) {
    const double tol = 1e-9 * (1.0 + std::fabs(b));
    return maximize ? a > b + tol : a < b - tol;
}

// The first integer variable, in the order of the names, with a fractional value.
int FirstFractional(const ProblemModel& model, const std::vector<double>& solution) {
    for (uint32_t v : model.integers)
        if (v < solution.size() && !Whole(solution[v])) return static_cast<int>(v);
    return -1;
}

std::string WholeText(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.0f", v + 0.0);
    return std::string(text) == "-0" ? "0" : text;
}

void SolveNode(BranchNode& node, const ProblemText& text, RandomGenerator& random, PivotRule rule,
               bool maximize) {
    ProblemState& s = *node.last;
    s.Random = random;
    s.Rule = rule;
    NodeHost host(s, text);
    Button1Click(host);
    random = s.Random;
    node.steps = host.steps;
    node.stage = host.ErrorPanel().empty() ? s.Stage : SolveStage::Fault;
    if (node.stage != SolveStage::Optimal) return;
    const SolutionReading reading = ReadSolution(s.Tableau, s.Labels, s.SignMarks, maximize);
    node.value = reading.objective;
    node.solution = reading.values;
}

void CopyZ(const MatrixZ& from, MatrixZ& to) {
    to.Redefine(from.rows, from.cols);
    for (uint32_t i = 1; i <= from.rows; ++i)
        for (uint32_t j = 1; j <= from.cols; ++j) to.Index(i, j) = from.Index(i, j);
}

} // namespace

void CopyProblemState(const ProblemState& from, ProblemState& to) {
    to.Tableau = from.Tableau;
    CopyZ(from.Labels, to.Labels);
    CopyZ(from.PivotMarks, to.PivotMarks);
    CopyZ(from.SignMarks, to.SignMarks);
    to.CandidateCount = from.CandidateCount;
    to.Random = from.Random;
    to.ProblemReady = from.ProblemReady;
    to.Stage = from.Stage;
    to.AtBuild = from.AtBuild;
    to.Rule = from.Rule;
    to.LastDraw = from.LastDraw;
    to.ConstraintPlanes = from.ConstraintPlanes;
    to.ObjectiveVector = from.ObjectiveVector;
    to.Names = from.Names;
    to.Model = from.Model;
}

std::string BoundLine(const ProblemModel& model, const NodeBound& bound) {
    return model.variables.at(bound.variable).name + (bound.upper ? "<" : ">") + WholeText(bound.value);
}

ProblemText NodeText(const ProblemText& typed, const ProblemModel& model, const std::vector<NodeBound>& bounds) {
    ProblemText text = typed;
    for (const NodeBound& b : bounds) text.lines.push_back(BoundLine(model, b));
    return text;
}

BranchResult BranchAndBound(const ProblemText& typed, const ProblemModel& model, RandomGenerator& random,
                            PivotRule rule, const std::function<bool()>& askMore) {
    const bool maximize = model.maximize;
    BranchResult result;
    // Nodes waiting to be solved: their parent and bounds; the last is next.
    std::vector<std::pair<int, std::vector<NodeBound>>> waiting{{0, {}}};
    double incumbent = 0;
    while (!waiting.empty()) {
        if (!result.nodes.empty() && result.nodes.size() % kNodeLimit == 0 && !askMore()) {
            result.stage = SolveStage::Choosing;
            return result;
        }
        BranchNode& node = result.nodes.emplace_back();
        node.number = static_cast<int>(result.nodes.size());
        node.parent = waiting.back().first;
        node.bounds = std::move(waiting.back().second);
        waiting.pop_back();
        SolveNode(node, NodeText(typed, model, node.bounds), random, rule, maximize);
        if (node.stage == SolveStage::Unbounded) {
            node.end = NodeEnd::Unbounded;
            result.stage = SolveStage::Unbounded;
            return result;
        }
        if (node.stage != SolveStage::Optimal) {
            // A node the method did not finish is no proof of anything.
            node.end = node.stage == SolveStage::Infeasible ? NodeEnd::Infeasible : NodeEnd::Unfinished;
            if (node.end == NodeEnd::Unfinished) {
                result.stage = SolveStage::Choosing;
                return result;
            }
            continue;
        }
        if (result.best != 0 && !Better(node.value, incumbent, maximize)) {
            node.end = NodeEnd::PrunedByBound;
            continue;
        }
        const int v = FirstFractional(model, node.solution);
        if (v < 0) {
            node.end = NodeEnd::Integer;
            result.best = node.number;
            incumbent = node.value;
            continue;
        }
        node.end = NodeEnd::Branched;
        const double x = node.solution[size_t(v)];
        std::vector<NodeBound> down = node.bounds, up = node.bounds;
        down.push_back({uint32_t(v), true, std::floor(x)});
        up.push_back({uint32_t(v), false, std::ceil(x)});
        waiting.emplace_back(node.number, std::move(up));
        waiting.emplace_back(node.number, std::move(down));
    }
    result.stage = result.best != 0 ? SolveStage::Optimal : SolveStage::Infeasible;
    return result;
}

} // namespace optimara
