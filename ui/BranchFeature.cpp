// SPDX-License-Identifier: GPL-3.0-or-later
#include "BranchFeature.h"

#include <QAction>
#include <QPainter>
#include <algorithm>

#include "BranchView.h"
#include "BranchWindow.h"
#include "Integers.h"
#include "Preferences.h"
#include "SessionTexts.h"
#include "StatusTexts.h"
#include "WindowPlacement.h"
#include "Zoom.h"

namespace optimara {

BranchFeature::BranchFeature(FeatureHost& host) : Feature(host) {
    setObjectName("BranchFeature");
    Tree1 = host_.AddMenuItem(MenuPlace::StepsSearch, QString::fromUtf8("Árbol de &ramificación"), "Tree1");
    Tree1->setEnabled(false);
    ViewIntegers1 = host_.AddMenuItem(MenuPlace::ImageSearch, "Ver &enteros", "ViewIntegers1");
    ViewIntegers1->setCheckable(true);
    ViewIntegers1->setChecked(files::ReadPreferences().integers);
    OnTrigger(Tree1, [this] { Tree1Click(); });
    OnToggle(ViewIntegers1, [this] { ViewIntegers1Click(); });
}

void BranchFeature::SolveRan(SolveRun run) {
    if (run == SolveRun::Search) ShowSearchState();
}

void BranchFeature::StepsForgotten() { UpdateBranchWindow(); }

void BranchFeature::ShowSearchState() {
    if (!host_.State().Branches.Active()) {
        ShowSearchEnd();
        return;
    }
    host_.ShowStepAids();
    UpdateBranchWindow();
}

void BranchFeature::ShowSearchEnd() {
    const BranchResult& r = host_.State().Branches.Result();
    const int shown = r.best != 0 ? r.best : r.stage == SolveStage::Choosing ? int(r.nodes.size()) : 1;
    ShowBranchNode(shown, false);
}

void BranchFeature::ShowBranchNode(int number, bool ownRegion) {
    AppState& state = host_.State();
    if (!state.ShowNode(number, ownRegion)) return;
    const ProblemState& p = state.problem;
    host_.Status().SetText(1, state.Branches.Active() ? "" : StatusPanelText(p.Stage, p.AtBuild));
    host_.ShowProblemAnew();
    UpdateBranchWindow();
}

void BranchFeature::UpdateBranchWindow() {
    const AppState& state = host_.State();
    const BranchResult& r = state.Branches.Result();
    Tree1->setEnabled(!r.nodes.empty());
    if (!tree_ || !tree_->isVisible()) return;
    tree_->Show(BranchHeadings(r), BranchRows(r, state.Branches.Model(), host_.Floating(), host_.DecimalSeparator()),
                r.nodes.empty() ? "" : state.Branches.Active() ? NodePanelText(state) : NodeCountText(r),
                state.shownNode);
}

void BranchFeature::Tree1Click() {
    if (host_.State().Branches.Result().nodes.empty()) return;
    if (!tree_) {
        tree_ = new TBranchForm(host_.Window());
        tree_->chooseNode = [this](int number) { ShowBranchNode(number, true); };
        ZoomChanged(host_.Zoom());
    }
    if (!tree_->isVisible()) OpenBeside(tree_, host_.Window());
    tree_->show();
    UpdateBranchWindow();
    tree_->raise();
    tree_->activateWindow();
}

void BranchFeature::ZoomChanged(int percent) {
    if (tree_) ZoomWindow(tree_, TBranchForm::kDesignSize, percent);
}

void BranchFeature::DrawLayer(QImage& layer, const QSize& size, int variables) {
    const AppState& state = host_.State();
    const BranchSearch& search = state.Branches;
    // The integer points lie under the road, which is the method's own.
    if (!ViewIntegers1->isChecked() || !search.Started()) return;
    if (layer.isNull()) {
        layer = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
    }
    const uint32_t width = uint32_t(variables + 1);
    const ProblemState* first = search.First();
    const MatrixR& planes = first && first->ConstraintPlanes.cols == width ? first->ConstraintPlanes
                                                                           : state.problem.ConstraintPlanes;
    if (planes.cols != width) return;
    std::array<bool, 3> integer{};
    for (uint32_t v : search.Model().integers)
        if (v < 3) integer[v] = true;
    const IntegerMarks marks = ListIntegerMarks(planes, variables, integer, ShownBox(state.plot, planes, variables));
    const std::vector<BranchNode>& nodes = search.Result().nodes;
    std::vector<CutLine> cuts;
    const int k = state.shownNode;
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
    colours.marks = host_.Colors().windowText;
    const int zoom = host_.Zoom();
    const QImage over = IntegerLayer(state.plot, variables, {planes, marks, cuts, b != 0 ? &best : nullptr},
                                     layer.size(), colours, ZoomedLineWidth(zoom), std::max(3, ZoomedDotSize(zoom) - 2));
    QPainter(&layer).drawImage(0, 0, over);
}

void BranchFeature::ViewIntegers1Click() {
    ViewIntegers1->setChecked(!ViewIntegers1->isChecked());
    // The other features keep their own choices in the same store.
    files::Preferences p = files::ReadPreferences();
    p.integers = ViewIntegers1->isChecked();
    files::WritePreferences(p);
    host_.DrawLayers();
}

} // namespace optimara
