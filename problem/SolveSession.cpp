// SPDX-License-Identifier: GPL-3.0-or-later
#include "SolveSession.h"

#include "BuildProblem.h"
#include "Fault.h"
#include "LpExport.h"

namespace optimara {
namespace {

// The steps of the nodes are kept for the page only while they take little
// room: a long search keeps its tree, and the first nodes' steps.
constexpr size_t kNodeStepsBytes = size_t(64) << 20;

} // namespace

StepNote NoteOf(ProblemState& state, bool maximize) {
    StepNote note;
    note.stage = state.Stage;
    note.atBuild = state.AtBuild;
    note.rule = state.Rule;
    note.draw = state.LastDraw;
    note.feasible = (state.Exact ? LastInfeasibleRow(state.ExactTableau) : LastInfeasibleRow(state.Tableau)) == 0;
    const MatrixQ& exact = state.ExactTableau;
    if (state.Exact) note.exactObjective = exact.Index(exact.rows, exact.cols);
    // A step not shown has no doubles yet: its few values are rounded here.
    const bool behind = state.RoundedBehind;
    note.objective = behind ? exact.NearestOf(exact.rows, exact.cols) : state.Tableau.Index(state.Tableau.rows, state.Tableau.cols);
    const SolutionReading reading = behind ? ReadSolution(exact, state.Labels, state.SignMarks, maximize)
                                           : ReadSolution(state.Tableau, state.Labels, state.SignMarks, maximize);
    note.variables = static_cast<int>(reading.values.size());
    for (size_t k = 0; k < 3 && k < reading.values.size(); ++k) note.point[k] = reading.values[k];
    return note;
}

bool SolveSession::IntegerAhead(const TypedText& typed, ProblemText& text, ProblemModel& model) const {
    text = typed();
    if (noIntegers_ && noIntegers_->second == problem.Exact && noIntegers_->first == text) return false;
    BuildReport report;
    bool integers = false;
    try {
        // A text that does not read goes the ordinary way, to its error.
        integers = ModelFromText(model, text, report, problem.Exact) && !model.integers.empty();
    } catch (const FloatingPointFault&) {
    }
    if (!integers) noIntegers_.emplace(text, problem.Exact);
    return integers;
}

SolveRun SolveSession::PressGoesTo(const TypedText& typed, bool onlyFromOptimum) {
    if (Branches.Active() && problem.ProblemReady) return SolveRun::Search;
    if (cutting_ && problem.ProblemReady && integerMethod_ == IntegerMethod::Cuts) return SolveRun::Cuts;
    cutting_ = false;
    ProblemText text;
    ProblemModel model;
    if (!IntegerAhead(typed, text, model)) return SolveRun::Simplex;
    // As with the simplex alone: only an optimum lets the search start over.
    if (onlyFromOptimum && problem.ProblemReady && error.empty() && Ended(problem.Stage) &&
        !(problem.Stage == SolveStage::Optimal && !problem.AtBuild))
        return SolveRun::Nothing;
    // A new search keeps nothing of the last one: the page of steps replays
    // the kept steps node by node against the search's nodes.
    ForgetSearch();
    if (integerMethod_ == IntegerMethod::Cuts) return SolveRun::Cuts;
    Branches.Start(text, std::move(model), problem.Exact);
    Branches.SetNodesFromParent(nodesFromParent_);
    return SolveRun::Search;
}

SolveRun SolveSession::Solve(const TypedText& typed, NodeSolveHost& host) {
    sensitivity_.reset();
    dual_.reset();
    cutsStopped_ = false;
    const SolveRun run = PressGoesTo(typed, true);
    TakeMethodWhenBuilding(run);
    if (run == SolveRun::Simplex) Button1Click(host);
    if (run == SolveRun::Cuts) {
        // The presses of a cutting-plane solve, as the solve loop makes them.
        struct CutPresses : SolvePresses {
            SolveSession& session;
            NodeSolveHost& host;
            CutPresses(SolveSession& s, NodeSolveHost& h) : session(s), host(h) {}
            bool Going() override { return session.cutting_ && !session.cutsStopped_; }
            void Press() override { session.PressCuts(host); }
        };
        if (!cutting_) PressCuts(host);
        CutPresses presses(*this, host);
        SolveLoop(presses, host);
    }
    if (run != SolveRun::Search) return run;
    SearchPresses presses(Branches, [&] { PressSearch(host); });
    SolveLoop(presses, host, kNodeLimit);
    return run;
}

SolveRun SolveSession::Step(const TypedText& typed, NodeSolveHost& host) {
    sensitivity_.reset();
    dual_.reset();
    cutsStopped_ = false;
    const SolveRun run = PressGoesTo(typed, false);
    TakeMethodWhenBuilding(run);
    // In practice the student makes the step: the press builds, no more.
    if (run == SolveRun::Simplex && practice.On() && Running() && problem.Stage == SolveStage::Choosing)
        return SolveRun::Nothing;
    if (run == SolveRun::Simplex) Button2Click(host);
    else if (run == SolveRun::Cuts) PressCuts(host);
    else PressSearch(host);
    return run;
}

void SolveSession::TakeMethodWhenBuilding(SolveRun run) {
    // The next build takes the chosen method; the integer search and the
    // cutting planes solve by the compact method and the dual simplex.
    if (!Running() && !(Branches.Active() && problem.ProblemReady))
        problem.BuildMethod = run == SolveRun::Simplex ? method_ : SolveMethod::Compact;
}

std::string SolveSession::MethodRefusal() const {
    return error == kDualRefusal ? std::string(kDualRefusal) : std::string();
}

void SolveSession::PressSearch(NodeSolveHost& host) {
    // The builds of the nodes forget the steps; that must not forget the
    // search that makes them.
    searching_ = true;
    try {
        // Back from another node to the one being solved.
        if (Branches.Resume(problem)) host.Resumed();
        Branches.Press(problem, host);
    } catch (...) {
        searching_ = false;
        throw;
    }
    searching_ = false;
    // A node from its parent's tableau was built by no build: its steps
    // start here.
    if (Branches.BuiltFromParent()) Steps.Start(problem, NoteOf(problem, problem.Model.maximize));
    shownNode = Branches.Current();
    nodeLook = false;
    host.SearchPressed();
    // A node just concluded keeps its steps for the page, within one
    // budget with the nodes' kept tableaux.
    const size_t concluded = size_t(Branches.Current()) - (Branches.NodeOpen() ? 1 : 0);
    if (nodeSteps.size() + 1 == concluded && nodeStepsBytes + Branches.KeptBytes() < kNodeStepsBytes) {
        nodeSteps.push_back(Steps);
        nodeStepsBytes += Steps.MemoryBytes();
    }
}

void SolveSession::Back() {
    sensitivity_.reset();
    dual_.reset();
    if (!Ready() || !Steps.CanUndo()) return;
    Steps.Undo(problem);
    practice.NewTableau();
    const StepNote& note = Steps.Notes().back();
    problem.Stage = note.stage;
    problem.AtBuild = note.atBuild;
    while (!added_.empty() && added_.back().step > Steps.Steps()) {
        TakeBack(problem, added_.back());
        added_.pop_back();
    }
}

void SolveSession::AppendAsStep(ModelLine line, SolveHost& host) {
    sensitivity_.reset();
    dual_.reset();
    added_.push_back(MarkOf(problem, Steps.Steps() + 1));
    AppendLine(problem, std::move(line));
    // The host notes the tableau it shows; the note is then the change's.
    changePending_ = true;
    host.ShowStage();
    host.DrawPlot();
    host.ShowTableau();
    if (changePending_) {
        changePending_ = false;
        Steps.RecordChange(problem, NoteOf(problem, problem.Model.maximize));
    }
}

void SolveSession::PressCuts(NodeSolveHost& host) {
    if (!cutting_) {
        // A new solve: the relaxation from its build, by the chosen method
        // when it keeps the compact tableau's shape the cuts are read from.
        cuts_.clear();
        cutRefusal_.clear();
        cutting_ = true;
        problem.ProblemReady = false;
        problem.BuildMethod = method_ == SolveMethod::DualSimplex ? method_ : SolveMethod::Compact;
        Button2Click(host);
    } else if (Running()) {
        Button2Click(host);
    } else if (!cuts_.empty() && cuts_.size() % kCutsPerQuestion == 0 && !host.AskMoreCuts()) {
        cutsStopped_ = true;
        return;
    } else {
        GomoryCut cut;
        cutRefusal_ = MakeGomoryCut(problem, cut);
        if (!cutRefusal_.empty() || cut.sourceRow == 0) {
            cutting_ = false;
            return;
        }
        cut.planeRow = problem.ConstraintPlanes.rows + 1;
        cuts_.push_back(cut);
        AppendAsStep(cut.line, host);
    }
    SettleCuts();
}

// The cuts end with the method: at an integer optimum, or where the
// relaxation (with the cuts made) has no optimum.
void SolveSession::SettleCuts() {
    if (!error.empty() || (Ended(problem.Stage) && problem.Stage != SolveStage::Optimal)) cutting_ = false;
    else if (problem.Stage == SolveStage::Optimal && IntegerOptimum(problem)) cutting_ = false;
}

std::string SolveSession::AddConstraint(const std::string& text, SolveHost& host) {
    if (!Ready() || problem.Stage != SolveStage::Optimal || Branches.Started() || !Steps.Started())
        return kAddNeedsOptimum;
    ModelLine line;
    const std::string refusal = ReadAddedLine(problem, text, line);
    if (!refusal.empty()) return refusal;
    AppendAsStep(std::move(line), host);
    return "";
}

bool SolveSession::IsCandidate(int gridRow, int gridCol) const {
    if (!Running()) return false;
    const MatrixZ& marks = problem.PivotMarks;
    const PivotCell cell = TableauCell(gridRow, gridCol);
    // The marks cover the constraint rows and the variable columns only.
    if (cell.row == 0 || cell.row > marks.rows || cell.col > marks.cols) return false;
    return marks.Index(cell.row, cell.col) == 1;
}

bool SolveSession::ChoosePivot(int gridRow, int gridCol) {
    // In practice the cell is the student's choice of the pivot, checked.
    if (practice.On()) return ChooseInPractice(gridRow, gridCol, true) == PracticeChoice::Row;
    if (!IsCandidate(gridRow, gridCol)) return false;
    const PivotCell cell = TableauCell(gridRow, gridCol);
    ChoosePivotCell(problem.PivotMarks, cell);
    Steps.SetNextPivot(cell, true);
    return true;
}

bool SolveSession::ShowNode(int number, bool ownRegion) {
    sensitivity_.reset();
    dual_.reset();
    const BranchResult& r = Branches.Result();
    if (number < 1 || size_t(number) > r.nodes.size()) return false;
    ProblemState& p = problem;
    if (Branches.Active()) Branches.Displaced(p);
    const RandomGenerator random = p.Random;
    const PivotRule rule = p.Rule;
    const BranchNode& node = r.nodes[size_t(number - 1)];
    // A node whose tableau the search let go is solved again from its text.
    if (node.last) CopyProblemState(*node.last, p);
    else Branches.SolveAgain(number, p);
    p.Random = random;
    p.Rule = rule;
    if (!ownRegion && Branches.First()) {
        // The typed problem's region, without the bounds the node added.
        p.ConstraintPlanes = Branches.First()->ConstraintPlanes;
        p.ObjectiveVector = Branches.First()->ObjectiveVector;
    }
    if (!Branches.Active()) {
        // The search's end, not the node's; a stopped search starts over.
        p.Stage = r.stage;
        p.AtBuild = false;
        p.ProblemReady = r.stage != SolveStage::Choosing;
    } else {
        // A look at a node while the search goes on: the next press takes
        // the search up where it was.
        p.ProblemReady = true;
    }
    shownNode = number;
    nodeLook = true;
    return true;
}

void SolveSession::Forget() {
    sensitivity_.reset();
    dual_.reset();
    Steps.Clear();
    added_.clear();
    if (searching_) return;
    ForgetSearch();
}

void SolveSession::ForgetSearch() {
    Branches.Clear();
    nodeSteps.clear();
    nodeStepsBytes = 0;
    shownNode = 0;
    nodeLook = false;
}

void SolveSession::NoteTableau(bool afterBuild, bool keepCopy, bool maximize) {
    sensitivity_.reset();
    dual_.reset();
    if (changePending_ && !afterBuild && error.empty()) {
        changePending_ = false;
        Steps.RecordChange(problem, NoteOf(problem, maximize));
        return;
    }
    if (afterBuild) {
        Steps.Clear();
        added_.clear();
        practice.Restart();
    } else {
        practice.NewTableau();
    }
    if (!error.empty()) return;
    StepNote note = NoteOf(problem, maximize);
    if (afterBuild) Steps.Start(problem, std::move(note));
    else Steps.Record(problem, std::move(note), keepCopy);
}

const ProblemState* SolveSession::Relaxation() const {
    const ProblemState* first = Branches.First();
    return first && first->Stage == SolveStage::Optimal ? first : nullptr;
}

bool SolveSession::Optimal() const {
    // The analysis reads a compact tableau: an artificial method's optimum is none.
    if (!Branches.Started() && UsesArtificials(problem.Method)) return false;
    return Branches.Started() ? Relaxation() != nullptr : problem.Stage == SolveStage::Optimal;
}

const SensitivityReport& SolveSession::Sensitivity() const {
    if (!sensitivity_) {
        const ProblemState* relaxation = Branches.Started() ? Relaxation() : nullptr;
        const ProblemState& optimum = relaxation ? *relaxation : problem;
        sensitivity_ = AnalyseOptimum(optimum.Model, optimum.Tableau, optimum.Labels);
        ++analyses_;
    }
    return *sensitivity_;
}

bool SolveSession::DualOptimum(double& objective) const {
    if (!dual_) {
        const ProblemState* relaxation = Branches.Started() ? Relaxation() : nullptr;
        const ProblemState& optimum = relaxation ? *relaxation : problem;
        double value = 0;
        const bool solved = SolveToOptimum(DualProblem(optimum.Model), value);
        dual_ = std::make_pair(solved, value);
        ++analyses_;
    }
    objective = dual_->second;
    return dual_->first;
}

} // namespace optimara
