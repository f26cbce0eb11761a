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
void TForm1::CreateBranchAids() {
    Tree1 = new QAction(QString::fromUtf8("Árbol de &ramificación"), StepsMenu);
    Tree1->setObjectName("Tree1");
    Tree1->setEnabled(false);
    places_.Insert(MenuPlace::StepsAnalysis, Tree1);
    Route(Tree1, &QAction::triggered, &TForm1::Tree1Click);

    ViewIntegers1 = new QAction("Ver &enteros", ImageMenu);
    ViewIntegers1->setObjectName("ViewIntegers1");
    ViewIntegers1->setCheckable(true);
    ViewIntegers1->setChecked(files::ReadPreferences().integers);
    places_.Insert(MenuPlace::ImageOverPath, ViewIntegers1);
    RouteToggle(ViewIntegers1, &TForm1::ViewIntegers1Click);
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
    if (!state_.ShowNode(number, ownRegion)) return;
    const ProblemState& p = state_.problem;
    StatusBar1->SetText(1, state_.Branches.Active() ? "" : StatusPanelText(p.Stage, p.AtBuild));
    ListNames(p.Names);
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
