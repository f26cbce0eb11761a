// SPDX-License-Identifier: GPL-3.0-or-later
#include "SensitivityFeature.h"

#include <QAction>
#include <QImage>
#include <stdexcept>

#include "Application.h"
#include "BuildProblem.h"
#include "FileIO.h"
#include "LpExport.h"
#include "Path.h"
#include "ProblemFile.h"
#include "Questions.h"
#include "SensitivityWindow.h"
#include "WindowPlacement.h"

namespace optimara {

namespace {

// The level line in the arrow's colour, so the two read as one.
QColor LevelLineColour(const PlotColors& colors) { return colors.highlight; }

} // namespace

SensitivityFeature::SensitivityFeature(FeatureHost& host) : Feature(host) {
    setObjectName("SensitivityFeature");
    ExportLp1 = host_.AddMenuItem(MenuPlace::FileSolverExports, "E&xportar como LP...", "ExportLp1");
    host_.AddMenuSeparator(MenuPlace::StepsAnalysis);
    Sensitivity1 = host_.AddMenuItem(MenuPlace::StepsAnalysis, "&Sensibilidad", "Sensitivity1");
    ViewObjective1 =
        host_.AddMenuItem(MenuPlace::ImageOverPath, QString::fromUtf8("Ver línea del &objetivo"), "ViewObjective1");
    ViewObjective1->setCheckable(true);
    ViewObjective1->setChecked(false);
    Wire();
    StepsShown();
}

void SensitivityFeature::Wire() {
    OnTrigger(ExportLp1, [this] { ExportLp1Click(); });
    OnTrigger(Sensitivity1, [this] { Sensitivity1Click(); });
    OnToggle(ViewObjective1, [this] { ViewObjective1Click(); });
}

SensitivityView SensitivityFeature::CurrentSensitivity() const {
    return SessionSensitivityView(host_.State(), host_.ReadProblemText(), host_.Floating(), host_.DecimalSeparator());
}

void SensitivityFeature::StepsShown() {
    const AppState& state = host_.State();
    Sensitivity1->setEnabled(host_.WorkAreaVisible() && state.Ready() && state.Optimal());
    if (sensitivity_ && sensitivity_->isVisible()) sensitivity_->Show(CurrentSensitivity());
}

void SensitivityFeature::Sensitivity1Click() {
    StepsShown();
    if (!Sensitivity1->isEnabled()) return;
    if (!sensitivity_) {
        sensitivity_ = new TSensitivityForm(host_.Window());
        sensitivity_->openDual = [this] { OpenDual(); };
        ZoomChanged(host_.Zoom());
    }
    sensitivity_->Show(CurrentSensitivity());
    if (!sensitivity_->isVisible()) OpenBeside(sensitivity_, host_.Window());
    sensitivity_->show();
    sensitivity_->raise();
    sensitivity_->activateWindow();
}

void SensitivityFeature::ZoomChanged(int percent) {
    if (sensitivity_) ZoomWindow(sensitivity_, TSensitivityForm::kDesignSize, percent);
}

void SensitivityFeature::OpenDual() {
    const SensitivityView view = CurrentSensitivity();
    if (!view.available || view.dualText.objective.empty()) return;
    // Unsaved work is replaced only as opening a file replaces it.
    if (!host_.MayReplaceProblem()) return;
    files::ProblemDocument dual;
    dual.comboIndex = view.dualText.comboIndex;
    dual.comboText = dual.comboIndex == 0 ? "Minimizar" : "Maximizar";
    dual.objective = QString::fromStdString(view.dualText.objective);
    dual.caption = "Sujeto a:";
    for (const std::string& line : view.dualText.lines)
        dual.lines.push_back(files::RichParagraph::Plain(QString::fromStdString(line)));
    dual.richText = false;
    host_.ReplaceProblem(dual, QString());
    host_.SolveAgain();
}

void SensitivityFeature::ExportLp1Click() {
    const QString name = host_.Ask().ChooseLpFile(host_.Window());
    if (name.isEmpty()) return;
    // What is typed now is exported, solved or not.
    ProblemModel model;
    BuildReport report;
    if (!ModelFromText(model, host_.ReadProblemText(), report, host_.State().problem.Exact))
        throw std::runtime_error("El problema no se puede exportar: " + report.errorPanel);
    files::WriteWholeFile(name, QByteArray::fromStdString(LpText(model)));
}

void SensitivityFeature::ViewObjective1Click() {
    ViewObjective1->setChecked(!ViewObjective1->isChecked());
    host_.DrawLayers();
}

void SensitivityFeature::DrawLayer(QImage& layer, const QSize& size, int variables) {
    const AppState& state = host_.State();
    const ProblemState& problem = state.problem;
    if (!ViewObjective1->isChecked() || variables != 2) return;
    if (layer.isNull()) {
        layer = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
    }
    if (!state.Ready() || problem.ObjectiveVector.rows != 2) return;
    DrawLevelLine(layer, state.plot, problem.ObjectiveVector.Index(1, 1), problem.ObjectiveVector.Index(2, 1),
                  state.plot.SolutionPoint, LevelLineColour(host_.Colors()));
}

} // namespace optimara
