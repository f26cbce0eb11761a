// SPDX-License-Identifier: GPL-3.0-or-later
// Integer variables: "Una Solución" by branch and bound, the tree beside the
// main window, and a chosen node's last tableau in the grid.
#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>

#include "BranchWindow.h"
#include "Driver.h"
#include "Fault.h"
#include "LpExport.h"
#include "MainWindow.h"
#include "StatusTexts.h"

namespace optimara {

void TForm1::CreateBranchAids() {
    const QList<QAction*> items = StepsMenu->actions();
    Tree1 = new QAction(QString::fromUtf8("Árbol de &ramificación"), StepsMenu);
    Tree1->setObjectName("Tree1");
    Tree1->setEnabled(false);
    StepsMenu->insertAction(items.value(static_cast<int>(items.indexOf(Sensitivity1)) + 1), Tree1);
    Route(Tree1, &QAction::triggered, &TForm1::Tree1Click);
}

bool TForm1::IntegerSolve() {
    const ProblemText text = ReadProblemText();
    ProblemModel model;
    BuildReport report;
    try {
        // A text that does not read goes the ordinary way, to its error.
        if (!ModelFromText(model, text, report) || model.integers.empty()) return false;
    } catch (const FloatingPointFault&) {
        return false;
    }
    ProblemState& p = state_.problem;
    // As with the simplex alone: only an optimum lets the search start over.
    if (p.ProblemReady && StatusBar1->Text(0).empty() && Ended(p.Stage) &&
        !(p.Stage == SolveStage::Optimal && !p.AtBuild))
        return true;
    StatusBar1->SetText(0, "");
    StatusBar1->SetText(1, "");
    BranchResult result = BranchAndBound(text, model, p.Random, p.Rule, [this] {
        ++questionCount_;
        return questions_->AskMoreNodes(this);
    });
    ClearPicture();
    state_.Branches = std::move(result);
    state_.BranchModel = std::move(model);
    ShowBranchNode(state_.Branches.best != 0 ? state_.Branches.best : 1, false);
    return true;
}

void TForm1::ShowBranchNode(int number, bool ownRegion) {
    const BranchResult& r = state_.Branches;
    if (number < 1 || size_t(number) > r.nodes.size()) return;
    ProblemState& p = state_.problem;
    const RandomGenerator random = p.Random;
    const PivotRule rule = p.Rule;
    CopyProblemState(*r.nodes[size_t(number - 1)].last, p);
    p.Random = random;
    p.Rule = rule;
    if (!ownRegion) {
        // The typed problem's region, without the bounds the node added.
        const ProblemState& root = *r.nodes.front().last;
        p.ConstraintPlanes = root.ConstraintPlanes;
        p.ObjectiveVector = root.ObjectiveVector;
    }
    // The search's end, not the node's; a stopped search starts over.
    p.Stage = r.stage;
    p.AtBuild = false;
    p.ProblemReady = r.stage != SolveStage::Choosing;
    StatusBar1->SetText(1, StatusPanelText(p.Stage, false));
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

void TForm1::UpdateBranchWindow() {
    if (Tree1) Tree1->setEnabled(!state_.Branches.nodes.empty());
    if (!tree_ || !tree_->isVisible()) return;
    tree_->Show(BranchRows(state_.Branches, state_.BranchModel, Floating(), separator_),
                state_.Branches.nodes.empty() ? "" : NodeCountText(state_.Branches));
}

void TForm1::Tree1Click() {
    if (state_.Branches.nodes.empty()) return;
    if (!tree_) {
        tree_ = new TBranchForm(this);
        tree_->chooseNode = [this](int number) { ShowBranchNode(number, true); };
    }
    tree_->show();
    UpdateBranchWindow();
    tree_->raise();
    tree_->activateWindow();
}

} // namespace optimara
