// SPDX-License-Identifier: GPL-3.0-or-later
// What the optimum says beyond itself: the sensitivity window with the dual
// problem, the objective's level line on the picture, and the problem
// exported as an LP file for other solvers.
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <stdexcept>

#include "BuildProblem.h"
#include "Driver.h"
#include "FileIO.h"
#include "LpExport.h"
#include "MainWindow.h"
#include "Path.h"
#include "ProblemFile.h"
#include "SensitivityWindow.h"

namespace optimara {

namespace {

// The level line in the arrow's colour, so the two read as one.
QColor LevelLineColour(const PlotColors& colors) { return colors.highlight; }

// Puts a new action right after `after` in its menu.
QAction* InsertAfter(QMenu* menu, QAction* after, const QString& caption, const QString& name) {
    const QList<QAction*> items = menu->actions();
    auto* action = new QAction(caption, menu);
    action->setObjectName(name);
    menu->insertAction(items.value(static_cast<int>(items.indexOf(after)) + 1), action);
    return action;
}

} // namespace

void TForm1::CreateSensitivityAids() {
    ExportLp1 = InsertAfter(FileMenu, SaveStepsAs1, "E&xportar como LP...", "ExportLp1");
    StepsMenu->addSeparator();
    Sensitivity1 = StepsMenu->addAction("&Sensibilidad");
    Sensitivity1->setObjectName("Sensitivity1");
    ViewObjective1 = InsertAfter(ImageMenu, ViewPath1, QString::fromUtf8("Ver línea del &objetivo"), "ViewObjective1");
    ViewObjective1->setCheckable(true);
    ViewObjective1->setChecked(false);
}

void TForm1::WireSensitivityAids() {
    Route(ExportLp1, &QAction::triggered, &TForm1::ExportLp1Click);
    Route(Sensitivity1, &QAction::triggered, &TForm1::Sensitivity1Click);
    RouteToggle(ViewObjective1, &TForm1::ViewObjective1Click);
    UpdateSensitivityAids();
}

SensitivityView TForm1::CurrentSensitivity() const {
    const bool solved = state_.Ready();
    const ProblemState* relaxation = state_.Relaxation();
    if (!state_.Branches.Started())
        return ComputeSensitivityView(state_.problem, ReadProblemText(), solved, Floating(), separator_);
    // An integer problem: the typed problem's relaxation, never a node's
    // problem with its bounds.
    SensitivityView view = ComputeSensitivityView(relaxation ? *relaxation : state_.problem, ReadProblemText(),
                                                  solved && relaxation, Floating(), separator_);
    if (!relaxation)
        view.nothing = "Con variables enteras se analiza la relajación lineal, y no hay un óptimo suyo que analizar.";
    if (!view.available) return view;
    view.words = std::string("Relajación lineal (el problema sin «entero:»): los precios, los intervalos y el dual no "
                             "valen para las soluciones enteras. ") + view.words;
    return view;
}

void TForm1::UpdateSensitivityAids() {
    if (!Sensitivity1) return;
    Sensitivity1->setEnabled(Image3->isHidden() && state_.Ready() && state_.Optimal());
    if (sensitivity_ && sensitivity_->isVisible()) sensitivity_->Show(CurrentSensitivity());
}

void TForm1::Sensitivity1Click() {
    UpdateSensitivityAids();
    if (!Sensitivity1->isEnabled()) return;
    if (!sensitivity_) {
        sensitivity_ = new TSensitivityForm(this);
        sensitivity_->openDual = [this] { OpenDual(); };
    }
    sensitivity_->Show(CurrentSensitivity());
    sensitivity_->show();
    sensitivity_->raise();
    sensitivity_->activateWindow();
}

void TForm1::OpenDual() {
    const SensitivityView view = CurrentSensitivity();
    if (!view.available || view.dualText.objective.empty()) return;
    // Unsaved work is replaced only as opening a file replaces it.
    if (state_.session.Modified && questions_->AskToSave(this) && !SaveProblem()) return;
    files::ProblemDocument dual;
    dual.comboIndex = view.dualText.comboIndex;
    dual.comboText = dual.comboIndex == 0 ? "Minimizar" : "Maximizar";
    dual.objective = QString::fromStdString(view.dualText.objective);
    dual.caption = "Sujeto a:";
    for (const std::string& line : view.dualText.lines)
        dual.lines.push_back(files::RichParagraph::Plain(QString::fromStdString(line)));
    dual.richText = false;
    ReplaceProblem(dual, QString());
    Button1Click();
}

void TForm1::ExportLp1Click() {
    const QString name = questions_->ChooseLpFile(this);
    if (name.isEmpty()) return;
    // What is typed now is exported, solved or not.
    ProblemModel model;
    BuildReport report;
    if (!ModelFromText(model, ReadProblemText(), report, state_.problem.Exact))
        throw std::runtime_error("El problema no se puede exportar: " + report.errorPanel);
    files::WriteWholeFile(name, QByteArray::fromStdString(LpText(model)));
}

void TForm1::ViewObjective1Click() {
    ViewObjective1->setChecked(!ViewObjective1->isChecked());
    DrawPathOn(Image1);
    DrawPathOn(Image3);
}

void TForm1::DrawObjectiveLineOn(QImage& layer) const {
    const ProblemState& problem = state_.problem;
    if (!state_.Ready() || problem.ObjectiveVector.rows != 2) return;
    DrawLevelLine(layer, state_.plot, problem.ObjectiveVector.Index(1, 1), problem.ObjectiveVector.Index(2, 1),
                  state_.plot.SolutionPoint, LevelLineColour(Colors()));
}

} // namespace optimara
