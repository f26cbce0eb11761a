// SPDX-License-Identifier: GPL-3.0-or-later
// Integer variables: "Una Solución" and "Paso a paso" by branch and bound,
// node after node, the tree beside the main window, and a chosen node's
// last tableau in the grid.
#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <algorithm>

#include "BranchView.h"
#include "BranchWindow.h"
#include "Driver.h"
#include "Fault.h"
#include "Integers.h"
#include "LpExport.h"
#include "MainWindow.h"
#include "Preferences.h"
#include "StatusTexts.h"
#include "WindowHost.h"
#include "Zoom.h"

namespace optimara {
namespace {

// The steps of the nodes are kept for the page only while they take little
// room: a long search keeps its tree, and the first nodes' steps.
constexpr size_t kNodeStepsBytes = size_t(64) << 20;

} // namespace

void TForm1::CreateBranchAids() {
    const QList<QAction*> items = StepsMenu->actions();
    Tree1 = new QAction(QString::fromUtf8("Árbol de &ramificación"), StepsMenu);
    Tree1->setObjectName("Tree1");
    Tree1->setEnabled(false);
    StepsMenu->insertAction(items.value(static_cast<int>(items.indexOf(Sensitivity1)) + 1), Tree1);
    Route(Tree1, &QAction::triggered, &TForm1::Tree1Click);

    const QList<QAction*> imageItems = ImageMenu->actions();
    ViewIntegers1 = new QAction("Ver &enteros", ImageMenu);
    ViewIntegers1->setObjectName("ViewIntegers1");
    ViewIntegers1->setCheckable(true);
    ViewIntegers1->setChecked(files::ReadPreferences().integers);
    ImageMenu->insertAction(imageItems.value(static_cast<int>(imageItems.indexOf(ViewObjective1)) + 1), ViewIntegers1);
    RouteToggle(ViewIntegers1, &TForm1::ViewIntegers1Click);
}

bool TForm1::IntegerProblemAhead(ProblemText& text, ProblemModel& model) const {
    text = ReadProblemText();
    BuildReport report;
    try {
        // A text that does not read goes the ordinary way, to its error.
        return ModelFromText(model, text, report, state_.problem.Exact) && !model.integers.empty();
    } catch (const FloatingPointFault&) {
        return false;
    }
}

// A new search keeps nothing of the last one: the page of steps replays
// the kept steps node by node against the search's nodes.
static void StartSearch(AppState& state, const ProblemText& text, ProblemModel model) {
    state.nodeSteps.clear();
    state.nodeStepsBytes = 0;
    state.shownNode = 0;
    state.nodeLook = false;
    state.Branches.Start(text, std::move(model), state.problem.Exact);
}

bool TForm1::IntegerSolve() {
    BranchSearch& search = state_.Branches;
    ProblemState& p = state_.problem;
    if (!(search.Active() && p.ProblemReady)) {
        ProblemText text;
        ProblemModel model;
        if (!IntegerProblemAhead(text, model)) return false;
        // As with the simplex alone: only an optimum lets the search start over.
        if (p.ProblemReady && StatusBar1->Text(0).empty() && Ended(p.Stage) &&
            !(p.Stage == SolveStage::Optimal && !p.AtBuild))
            return true;
        StartSearch(state_, text, std::move(model));
    }
    host_->BeginUnseenSteps();
    try {
        RunSearch();
    } catch (...) {
        host_->EndUnseenSteps();
        throw;
    }
    host_->EndUnseenSteps();
    ShowSearchState();
    return true;
}

void TForm1::RunSearch() {
    BranchSearch& search = state_.Branches;
    int counter = 100, nodes = 0;
    while (search.Active()) {
        if (search.AtNodeStart()) {
            if (nodes > 0 && nodes % kNodeLimit == 0) {
                ++questionCount_;
                // The last node's end is not the search's.
                StatusBar1->SetText(1, "");
                StatusBar1->SetText(2, NodePanelText());
                if (!questions_->AskMoreNodes(this)) {
                    // Stopped between two nodes: the search goes on, as a
                    // solution stopped at the 100-step question does.
                    StatusBar1->SetText(1, "");
                    return;
                }
            }
            ++nodes;
            counter = 100;
        }
        PressSearch();
        if (search.NodeOpen() && --counter == 0) {
            if (!host_->AskRestart()) return;
            counter = 100;
        }
    }
}

bool TForm1::IntegerStep() {
    BranchSearch& search = state_.Branches;
    if (!(search.Active() && state_.problem.ProblemReady)) {
        ProblemText text;
        ProblemModel model;
        if (!IntegerProblemAhead(text, model)) return false;
        StartSearch(state_, text, std::move(model));
    }
    PressSearch();
    ShowSearchState();
    return true;
}

void TForm1::PressSearch() {
    BranchSearch& search = state_.Branches;
    ProblemState& p = state_.problem;
    // The builds of the nodes blank the picture; that must not forget the
    // search that makes them.
    searching_ = true;
    try {
        if (search.Resume(p)) {
            // Back from another node to the one being solved, against the
            // typed problem's region.
            ClearPicture();
            DrawPlot(Image1);
            NoteTableau(true, true);
        }
        search.Press(p, *host_);
    } catch (...) {
        searching_ = false;
        throw;
    }
    searching_ = false;
    state_.shownNode = search.Current();
    state_.nodeLook = false;
    // A node's end is not the search's: panel 1 waits for the search's.
    if (search.Active()) StatusBar1->SetText(1, "");
    // A node just concluded keeps its steps for the page, within one
    // budget with the nodes' kept tableaux.
    const size_t concluded = size_t(search.Current()) - (search.NodeOpen() ? 1 : 0);
    if (state_.nodeSteps.size() + 1 == concluded && state_.nodeStepsBytes + search.KeptBytes() < kNodeStepsBytes) {
        state_.nodeSteps.push_back(state_.Steps);
        state_.nodeStepsBytes += state_.Steps.MemoryBytes();
    }
}

void TForm1::ShowSearchState() {
    if (!state_.Branches.Active()) {
        ShowSearchEnd();
        return;
    }
    ShowStepAids();
    UpdateBranchWindow();
}

void TForm1::ShowSearchEnd() {
    const BranchResult& r = state_.Branches.Result();
    const int shown = r.best != 0 ? r.best : r.stage == SolveStage::Choosing ? int(r.nodes.size()) : 1;
    ShowBranchNode(shown, false);
}

void TForm1::ShowBranchNode(int number, bool ownRegion) {
    BranchSearch& search = state_.Branches;
    const BranchResult& r = search.Result();
    if (number < 1 || size_t(number) > r.nodes.size()) return;
    ProblemState& p = state_.problem;
    if (search.Active()) search.Displaced(p);
    const RandomGenerator random = p.Random;
    const PivotRule rule = p.Rule;
    const BranchNode& node = r.nodes[size_t(number - 1)];
    // A node whose tableau the search let go is solved again from its text.
    if (node.last) CopyProblemState(*node.last, p);
    else search.SolveAgain(number, p);
    p.Random = random;
    p.Rule = rule;
    if (!ownRegion && search.First()) {
        // The typed problem's region, without the bounds the node added.
        p.ConstraintPlanes = search.First()->ConstraintPlanes;
        p.ObjectiveVector = search.First()->ObjectiveVector;
    }
    if (!search.Active()) {
        // The search's end, not the node's; a stopped search starts over.
        p.Stage = r.stage;
        p.AtBuild = false;
        p.ProblemReady = r.stage != SolveStage::Choosing;
    } else {
        // A look at a node while the search goes on: the next press takes
        // the search up where it was.
        p.ProblemReady = true;
    }
    state_.shownNode = number;
    state_.nodeLook = true;
    StatusBar1->SetText(1, search.Active() ? "" : StatusPanelText(p.Stage, p.AtBuild));
    ListBox1->clear();
    for (const std::string& name : p.Names) ListBox1->addItem(QString::fromStdString(name));
    Image1->Canvas().fill(Colors().btnFace);
    Shape1->hide();
    DrawPlot(Image1);
    ++stepCount_;
    // The page of steps starts at the node shown.
    NoteTableau(true, true);
    ShowTableau();
    UpdateBranchWindow();
}

std::string TForm1::NodePanelText() const {
    const BranchSearch& search = state_.Branches;
    const BranchResult& r = search.Result();
    if (!search.Active()) return NodeCountText(r);
    const int k = state_.shownNode;
    if (k < 1 || size_t(k) > r.nodes.size()) return "";
    const BranchNode& node = r.nodes[size_t(k - 1)];
    std::string text = "Nodo " + std::to_string(k);
    if (!node.bounds.empty()) text += " · " + BoundLine(search.Model(), node.bounds.back());
    text += " · paso " + std::to_string(state_.Steps.Steps());
    if (!(search.NodeOpen() && k == search.Current())) text += std::string(" · ") + NodeEndText(node.end);
    if (r.unboundedRelaxation && r.best == 0) text += " · relajación ilimitada, sin punto entero conocido";
    return text + (state_.problem.Exact ? " · exacta" : "");
}

std::string TForm1::SearchWords(bool& only) const {
    const BranchSearch& search = state_.Branches;
    only = false;
    if (!search.Started()) return "";
    const BranchResult& r = search.Result();
    const int k = state_.shownNode;
    const BranchNode* node = k >= 1 && size_t(k) <= r.nodes.size() ? &r.nodes[size_t(k - 1)] : nullptr;
    const bool open = search.NodeOpen() && k == search.Current();
    auto reason = [&] { return NodeEndReason(r, search.Model(), *node, Floating(), separator_); };
    std::vector<std::string> parts;
    if (!search.Active()) {
        only = true;
        parts = SearchEnding(search, Floating(), separator_);
        if (node && k != r.best) parts.push_back(reason());
    } else if (node && !open) {
        // A node looked at says only how it ended; the one just concluded
        // adds it to its last step.
        only = state_.nodeLook;
        parts.push_back(reason());
    } else if (node && state_.nodeLook) {
        only = true;
        parts.push_back("Nodo " + std::to_string(k) + ": en curso; la búsqueda sigue en él.");
    }
    std::string text;
    for (const std::string& p : parts) text += (text.empty() ? "" : "\n\n") + p;
    return text;
}

void TForm1::UpdateBranchWindow() {
    const BranchResult& r = state_.Branches.Result();
    if (Tree1) Tree1->setEnabled(!r.nodes.empty());
    if (!tree_ || !tree_->isVisible()) return;
    tree_->Show(BranchRows(r, state_.Branches.Model(), Floating(), separator_),
                r.nodes.empty() ? "" : state_.Branches.Active() ? NodePanelText() : NodeCountText(r), state_.shownNode);
}

void TForm1::Tree1Click() {
    if (state_.Branches.Result().nodes.empty()) return;
    if (!tree_) {
        tree_ = new TBranchForm(this);
        tree_->chooseNode = [this](int number) { ShowBranchNode(number, true); };
    }
    tree_->show();
    UpdateBranchWindow();
    tree_->raise();
    tree_->activateWindow();
}

void TForm1::DrawIntegersOn(QImage& layer, int variables) const {
    const BranchSearch& search = state_.Branches;
    const uint32_t width = uint32_t(variables + 1);
    const ProblemState* first = search.First();
    const MatrixR& planes = first && first->ConstraintPlanes.cols == width ? first->ConstraintPlanes
                                                                           : state_.problem.ConstraintPlanes;
    if (planes.cols != width) return;
    std::array<bool, 3> integer{};
    for (uint32_t v : search.Model().integers)
        if (v < 3) integer[v] = true;
    const IntegerMarks marks = ListIntegerMarks(planes, variables, integer, ShownBox(state_.plot, planes, variables));
    const std::vector<BranchNode>& nodes = search.Result().nodes;
    std::vector<CutLine> cuts;
    const int k = state_.shownNode;
    if (k >= 1 && size_t(k) <= nodes.size())
        for (const NodeBound& b : nodes[size_t(k - 1)].bounds)
            if (b.variable < uint32_t(variables)) cuts.push_back({int(b.variable), b.value, b.upper});
    Point3 best{0, 0, 0};
    const int b = search.Result().best;
    if (b != 0) {
        const std::vector<double>& x = nodes[size_t(b - 1)].solution;
        for (size_t i = 0; i < 3 && i < x.size(); ++i) best[i] = x[i];
    }
    IntegerColours colours;
    colours.marks = Colors().windowText;
    const QImage over = IntegerLayer(state_.plot, variables, {planes, marks, cuts, b != 0 ? &best : nullptr},
                                     layer.size(), colours, ZoomedLineWidth(Zoom()), std::max(3, ZoomedDotSize(Zoom()) - 2));
    QPainter(&layer).drawImage(0, 0, over);
}

void TForm1::ViewIntegers1Click() {
    ViewIntegers1->setChecked(!ViewIntegers1->isChecked());
    SavePreferences();
    DrawPathOn(Image1);
    DrawPathOn(Image3);
}

} // namespace optimara
