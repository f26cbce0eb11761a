// SPDX-License-Identifier: GPL-3.0-or-later
#include "StepsFeature.h"

#include <QAbstractItemView>
#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPrinter>

#include "BranchView.h"
#include "MethodTexts.h"
#include "PracticeTexts.h"
#include "Path.h"
#include "Questions.h"
#include "SensitivityView.h"
#include "StatusTexts.h"
#include "StepsLatex.h"
#include "StepsPage.h"
#include "StepsPdf.h"
#include "StepsReport.h"
#include "Zoom.h"

namespace optimara {

namespace {

// The road is drawn in the marker's colour, so the two read as one.
const QColor kPathColour = Qt::red;

// The page's closing sections, at the optimum only.
void WriteSensitivity(files::StepsPageSensitivity& out, const SensitivityView& view) {
    if (!view.available) return;
    std::copy(kSensitivityLineHeadings.begin(), kSensitivityLineHeadings.end(), out.lineHeadings.begin());
    std::copy(kSensitivityVariableHeadings.begin(), kSensitivityVariableHeadings.end(), out.variableHeadings.begin());
    out.lines = view.lines;
    out.variables = view.variables;
    out.words = view.words + (view.bounds.empty() ? "" : " " + view.bounds);
    out.dual = view.dual;
    out.optima = "Óptimo del primal: " + view.primalOptimum + "; óptimo del dual: " + view.dualOptimum;
}

} // namespace

StepsFeature::StepsFeature(FeatureHost& host) : Feature(host) {
    setObjectName("StepsFeature");
    StepBack1 = host_.AddMenuItem(MenuPlace::StepsMoves, QString::fromUtf8("Paso &atrás"), "StepBack1");
    // Alt with the arrows: the editors keep Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z
    // for their own undo and redo.
    // F7 first, so that the menu shows it, as F6 for the step forward.
    StepBack1->setShortcuts({QKeySequence(Qt::Key_F7), QKeySequence(Qt::ALT | Qt::Key_Left)});
    StepForward1 = host_.AddMenuItem(MenuPlace::StepsMoves, "Paso a&delante", "StepForward1");
    StepForward1->setShortcuts({QKeySequence(Qt::Key_F6), QKeySequence(Qt::ALT | Qt::Key_Right)});
    host_.AddMenuSeparator(MenuPlace::StepsPivot);
    ChoosePivot1 = host_.AddMenuItem(MenuPlace::StepsPivot, "&Elegir pivote", "ChoosePivot1");
    ViewPath1 = host_.AddMenuItem(MenuPlace::ImageLayers, "Ver re&corrido", "ViewPath1");
    ViewPath1->setCheckable(true);
    ViewPath1->setChecked(true);
    SaveStepsAs1 = host_.AddMenuItem(MenuPlace::FileExports, "Guardar &pasos como...", "SaveStepsAs1");
    ExportLatex1 = host_.AddMenuItem(MenuPlace::FileExports, "Exportar pasos a &LaTeX...", "ExportLatex1");
    // P is "Guardar &pasos como..."'s: D, the next letter of "PDF".
    ExportPdf1 = host_.AddMenuItem(MenuPlace::FileExports, "Exportar pasos a P&DF...", "ExportPdf1");
    PrintSteps1 = host_.AddMenuItem(MenuPlace::FileExports, "&Imprimir pasos...", "PrintSteps1");

    GridMenu1 = new QMenu(host_.Window());
    GridMenu1->setObjectName("GridMenu1");
    PivotHere1 = GridMenu1->addAction(QString::fromUtf8("Pivotar aquí"));
    PivotHere1->setObjectName("PivotHere1");
    host_.Grid()->setContextMenuPolicy(Qt::CustomContextMenu);
    Wire();
    StepsShown();
}

void StepsFeature::Wire() {
    OnTrigger(StepBack1, [this] { StepBack1Click(); });
    OnTrigger(StepForward1, [this] { StepForward1Click(); });
    OnTrigger(ChoosePivot1, [this] { ChoosePivot1Click(); });
    OnToggle(ViewPath1, [this] { ViewPath1Click(); });
    OnTrigger(SaveStepsAs1, [this] { SaveStepsAs1Click(); });
    OnTrigger(ExportLatex1, [this] { ExportLatex1Click(); });
    OnTrigger(ExportPdf1, [this] { ExportPdf1Click(); });
    OnTrigger(PrintSteps1, [this] { PrintSteps1Click(); });
    OnTrigger(PivotHere1, [this] { ChoosePivotAt(menuRow_, menuCol_); });
    connect(host_.Grid(), &QAbstractItemView::customContextMenuRequested, this,
            [this](const QPoint& pos) { RunGuarded([this, pos] { GridMenuRequested(pos); }); });
}

void StepsFeature::StepsShown() {
    const bool work = host_.WorkAreaVisible();
    const AppState& state = host_.State();
    const bool ready = state.Ready();
    StepBack1->setEnabled(work && ready && state.Steps.CanUndo());
    StepForward1->setEnabled(work);
    ChoosePivot1->setEnabled(work && state.Running());
    SaveStepsAs1->setEnabled(work && ready && state.Steps.Started());
    ExportLatex1->setEnabled(SaveStepsAs1->isEnabled());
    ExportPdf1->setEnabled(SaveStepsAs1->isEnabled());
    PrintSteps1->setEnabled(SaveStepsAs1->isEnabled());
}

void StepsFeature::DrawLayer(QImage& layer, const QSize& size, int variables) {
    const AppState& state = host_.State();
    const std::vector<StepNote>& notes = state.Steps.Notes();
    if (!ViewPath1->isChecked() || notes.size() < 2) return;
    std::vector<PathVertex> path(notes.size());
    for (size_t k = 0; k < notes.size(); ++k) {
        std::copy(notes[k].point, notes[k].point + 3, path[k].point);
        path[k].feasible = notes[k].feasible;
    }
    const int zoom = host_.Zoom();
    const QImage road =
        PathLayer(state.plot, variables, path, size, kPathColour, ZoomedLineWidth(zoom), ZoomedDotSize(zoom));
    if (layer.isNull()) layer = road;
    else QPainter(&layer).drawImage(0, 0, road);
}

void StepsFeature::StepBack1Click() {
    StepsShown();
    if (!StepBack1->isEnabled()) return;
    AppState& state = host_.State();
    state.Back();
    host_.Status().SetText(1, StatusPanelText(state.problem.Stage, state.problem.AtBuild));
    host_.ShowTableau();
}

void StepsFeature::StepForward1Click() {
    if (host_.WorkAreaVisible()) host_.StepAgain();
}

void StepsFeature::ChoosePivotAt(int gridRow, int gridCol) {
    if (!host_.State().ChoosePivot(gridRow, gridCol)) {
        host_.RefusePivot(gridRow, gridCol);
        return;
    }
    host_.ShowTableau();
}

void StepsFeature::GridMenuRequested(const QPoint& pos) {
    QAbstractItemView* grid = host_.Grid();
    const QModelIndex index = grid->indexAt(pos);
    if (!index.isValid()) return;
    // In practice the menu is offered on every cell: which cells it offers
    // would give the candidates away; the choice is checked when made.
    if (!host_.State().practice.On() && !host_.State().IsCandidate(index.row(), index.column())) {
        host_.RefusePivot(index.row(), index.column());
        return;
    }
    menuRow_ = index.row();
    menuCol_ = index.column();
    GridMenu1->popup(grid->viewport()->mapToGlobal(pos));
}

void StepsFeature::ChoosePivot1Click() {
    const QModelIndex index = host_.Grid()->currentIndex();
    if (index.isValid()) ChoosePivotAt(index.row(), index.column());
}

void StepsFeature::ViewPath1Click() {
    ViewPath1->setChecked(!ViewPath1->isChecked());
    host_.DrawLayers();
}

void StepsFeature::SaveStepsAs1Click() {
    ExportSteps(SaveStepsAs1, &Questions::ChooseStepsFile, &StepsFeature::SaveStepsTo);
}

void StepsFeature::ExportLatex1Click() {
    ExportSteps(ExportLatex1, &Questions::ChooseLatexFile, &StepsFeature::SaveLatexTo);
}

void StepsFeature::ExportPdf1Click() { ExportSteps(ExportPdf1, &Questions::ChoosePdfFile, &StepsFeature::SavePdfTo); }

// The steps made so far, written to the file the user names; nothing when
// there are none (the item is then disabled) or the user cancels.
void StepsFeature::ExportSteps(QAction* item, QString (Questions::*choose)(QWidget*),
                               void (StepsFeature::*save)(const QString&)) {
    StepsShown();
    if (!item->isEnabled()) return;
    const QString name = (host_.Ask().*choose)(host_.Window());
    if (!name.isEmpty()) (this->*save)(name);
}

void StepsFeature::PrintSteps1Click() {
    StepsShown();
    if (!PrintSteps1->isEnabled()) return;
    const files::StepsPage page = PageOfSteps();
    host_.Ask().PrintSteps(host_.Window(), [&page](QPrinter& printer) { files::PaintStepsSheets(printer, page); });
}

void StepsFeature::SaveStepsTo(const QString& name) { files::WriteStepsPage(name, PageOfSteps()); }

void StepsFeature::SaveLatexTo(const QString& name) { files::WriteStepsLatex(name, PageOfSteps()); }

void StepsFeature::SavePdfTo(const QString& name) { files::WriteStepsPdf(name, PageOfSteps()); }

files::StepsPage StepsFeature::PageOfSteps() {
    AppState& state = host_.State();
    const ProblemText text = host_.ReadProblemText();
    const bool floating = host_.Floating();
    const std::string& separator = host_.DecimalSeparator();
    StepsPageInput input;
    input.maximize = host_.Maximizing();
    input.sense = input.maximize ? "Maximizar" : "Minimizar";
    input.objective = text.objective;
    input.heading = host_.ProblemCaption();
    input.lines = text.lines;
    input.notation = floating ? "coma flotante" : "racional";
    input.numbers = {floating, separator};
    input.form = state.form;
    files::StepsPage page = BuildStepsPage(state.problem, state.Steps, input);
    WriteSensitivity(page.sensitivity, SessionSensitivityView(state, text, floating, separator));
    const std::vector<GomoryCut>& cuts = state.Cuts();
    for (size_t k = 0; k < cuts.size(); ++k) page.cuts.push_back(CutText(cuts[k], k + 1, input.numbers));
    if (state.practice.On()) page.practice = PracticePageText(state.practice);
    if (state.Branches.Started()) {
        // The node being solved has its steps in the history, when it is the one on screen.
        const BranchSearch& search = state.Branches;
        const bool open = search.NodeOpen() && state.shownNode == search.Current();
        WriteSearchPage(page, search, state.nodeSteps, open ? &state.problem : nullptr, state.Steps, input);
    }
    return page;
}

} // namespace optimara
