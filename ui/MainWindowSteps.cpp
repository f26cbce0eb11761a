// SPDX-License-Identifier: GPL-3.0-or-later
// The learning aids: going back over the pivots made, choosing the pivot by
// hand, the road the method took drawn on the picture, where the steps stand
// in the status bar, and the steps written out as a page for printing.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTableView>

#include "Application.h"
#include "BranchView.h"
#include "Display.h"
#include "Driver.h"
#include "MainWindow.h"
#include "Path.h"
#include "StatusTexts.h"
#include "StepsPage.h"
#include "StepsReport.h"
#include "Zoom.h"

namespace optimara {

namespace {

// The road is drawn in the marker's colour, so the two read as one.
const QColor kPathColour = Qt::red;

std::string StepWords(const StepNote& note) {
    const char* end = EndWords(note.stage);
    return end ? end : PhaseWords(note.feasible);
}

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

void TForm1::CreateStepAids() {
    QMenuBar* bar = menuBar();
    StepsMenu = new QMenu("&Pasos", bar);
    StepsMenu->setObjectName("Steps1");
    bar->insertMenu(ImageMenu->menuAction(), StepsMenu);
    StepBack1 = StepsMenu->addAction(QString::fromUtf8("Paso &atrás"));
    StepBack1->setObjectName("StepBack1");
    // Alt with the arrows: the editors keep Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z
    // for their own undo and redo.
    StepBack1->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    StepForward1 = StepsMenu->addAction("Paso a&delante");
    StepForward1->setObjectName("StepForward1");
    StepForward1->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    StepsMenu->addSeparator();
    ChoosePivot1 = StepsMenu->addAction("&Elegir pivote");
    ChoosePivot1->setObjectName("ChoosePivot1");

    // "Ver re&corrido" right under "&Ver eje 3D".
    const QList<QAction*> imageItems = ImageMenu->actions();
    const int axis = static_cast<int>(imageItems.indexOf(ViewAxis1));
    ViewPath1 = new QAction("Ver re&corrido", ImageMenu);
    ViewPath1->setObjectName("ViewPath1");
    ViewPath1->setCheckable(true);
    ViewPath1->setChecked(true);
    ImageMenu->insertAction(imageItems.value(axis + 1), ViewPath1);

    // "Guardar &pasos como..." right under "Guardar &Como...".
    const QList<QAction*> fileItems = FileMenu->actions();
    SaveStepsAs1 = new QAction("Guardar &pasos como...", FileMenu);
    SaveStepsAs1->setObjectName("SaveStepsAs1");
    FileMenu->insertAction(fileItems.value(static_cast<int>(fileItems.indexOf(Saveas1)) + 1), SaveStepsAs1);

    GridMenu1 = new QMenu(this);
    GridMenu1->setObjectName("GridMenu1");
    PivotHere1 = GridMenu1->addAction(QString::fromUtf8("Pivotar aquí"));
    PivotHere1->setObjectName("PivotHere1");
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
}

void TForm1::UpdateStepActions() {
    const bool work = Image3->isHidden();
    const bool ready = state_.Ready();
    StepBack1->setEnabled(work && ready && state_.Steps.CanUndo());
    StepForward1->setEnabled(work);
    ChoosePivot1->setEnabled(work && state_.Running());
    SaveStepsAs1->setEnabled(work && ready && state_.Steps.Started());
    for (const auto& feature : features_) feature->StepsShown();
}

std::string TForm1::StepPanelText() const {
    if (state_.Branches.Started()) return NodePanelText();
    if (!state_.Steps.Started()) return "";
    return "Paso " + std::to_string(state_.Steps.Steps()) + " · " + StepWords(state_.Steps.Notes().back()) +
           (state_.problem.Exact ? " · exacta" : "");
}

void TForm1::ShowStepAids() {
    StatusBar1->SetText(2, StepPanelText());
    DrawPathOn(ShowingPicture());
    UpdateStepActions();
}

void TForm1::ForgetSteps() {
    state_.Forget();
    if (Tree1) UpdateBranchWindow();
    StatusBar1->SetText(2, "");
    Image1->SetLayer(QImage());
    Image3->SetLayer(QImage());
    UpdateStepActions();
}

void TForm1::NoteTableau(bool afterBuild, bool keepCopy) {
    state_.NoteTableau(afterBuild, keepCopy, ComboBox1->currentIndex() != 0);
}

void TForm1::DrawPathOn(PictureBox* image) {
    const std::vector<StepNote>& notes = state_.Steps.Notes();
    const int variables = notes.empty() ? 0 : notes.back().variables;
    const bool drawable = (variables == 2 || variables == 3) &&
                          state_.problem.ConstraintPlanes.cols == static_cast<uint32_t>(variables + 1);
    QImage layer;
    auto blank = [&] {
        if (!layer.isNull()) return;
        layer = QImage(image->Picture().size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
    };
    // The integer points lie under the road, which is the method's own.
    if (ViewIntegers1 && ViewIntegers1->isChecked() && state_.Branches.Started() && image->HasPicture() && drawable) {
        blank();
        DrawIntegersOn(layer, variables);
    }
    if (ViewPath1->isChecked() && image->HasPicture() && drawable && notes.size() >= 2) {
        std::vector<PathVertex> path(notes.size());
        for (size_t k = 0; k < notes.size(); ++k) {
            std::copy(notes[k].point, notes[k].point + 3, path[k].point);
            path[k].feasible = notes[k].feasible;
        }
        const QImage road = PathLayer(state_.plot, variables, path, image->Picture().size(), kPathColour,
                                      ZoomedLineWidth(Zoom()), ZoomedDotSize(Zoom()));
        if (layer.isNull()) layer = road;
        else QPainter(&layer).drawImage(0, 0, road);
    }
    if (image->HasPicture() && drawable)
        for (const auto& feature : features_) feature->DrawLayer(layer, image->Picture().size(), variables);
    image->SetLayer(layer);
}

void TForm1::StepBack1Click() {
    UpdateStepActions();
    if (!StepBack1->isEnabled()) return;
    state_.Back();
    StatusBar1->SetText(1, StatusPanelText(state_.problem.Stage, state_.problem.AtBuild));
    ShowTableau();
}

void TForm1::StepForward1Click() {
    if (!Image3->isHidden()) return;
    Button2Click();
}

void TForm1::ChoosePivotAt(int gridRow, int gridCol) {
    if (!state_.ChoosePivot(gridRow, gridCol)) {
        ExplainRefusal(gridRow, gridCol);
        return;
    }
    ShowTableau();
}

void TForm1::GridMenuRequested(const QPoint& pos) {
    const QModelIndex index = StringGrid1->indexAt(pos);
    if (!index.isValid()) return;
    if (!state_.IsCandidate(index.row(), index.column())) {
        ExplainRefusal(index.row(), index.column());
        return;
    }
    menuRow_ = index.row();
    menuCol_ = index.column();
    GridMenu1->popup(StringGrid1->viewport()->mapToGlobal(pos));
}

void TForm1::ChoosePivot1Click() {
    const QModelIndex index = StringGrid1->currentIndex();
    if (index.isValid()) ChoosePivotAt(index.row(), index.column());
}

void TForm1::ViewPath1Click() {
    ViewPath1->setChecked(!ViewPath1->isChecked());
    DrawPathOn(Image1);
    DrawPathOn(Image3);
}

void TForm1::SaveStepsAs1Click() {
    UpdateStepActions();
    if (!SaveStepsAs1->isEnabled()) return;
    const QString name = questions_->ChooseStepsFile(this);
    if (!name.isEmpty()) SaveStepsTo(name);
}

void TForm1::SaveStepsTo(const QString& name) {
    const ProblemText text = ReadProblemText();
    StepsPageInput input;
    input.sense = ComboBox1->currentText().toStdString();
    input.objective = text.objective;
    input.heading = Label1->text().toStdString();
    input.lines = text.lines;
    input.notation = Floating() ? "coma flotante" : "racional";
    input.maximize = ComboBox1->currentIndex() != 0;
    input.numbers = {Floating(), separator_};
    files::StepsPage page = BuildStepsPage(state_.problem, state_.Steps, input);
    WriteSensitivity(page.sensitivity, SessionSensitivityView(state_, text, Floating(), separator_));
    if (state_.Branches.Started()) {
        // The node being solved has its steps in the history, when it is the one on screen.
        const BranchSearch& search = state_.Branches;
        const bool open = search.NodeOpen() && state_.shownNode == search.Current();
        WriteSearchPage(page, search, state_.nodeSteps, open ? &state_.problem : nullptr, state_.Steps, input);
    }
    files::WriteStepsPage(name, page);
}

} // namespace optimara
