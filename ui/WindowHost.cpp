// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHost.h"

#include <QListWidget>

#include "BuildProblem.h"
#include "Display.h"
#include "MainWindow.h"
#include "StatusTexts.h"

namespace optimara {

EngineState& WindowHost::Engine() { return form_.State().problem; }

std::string WindowHost::ErrorPanel() const { return form_.StatusBar1->Text(0); }

void WindowHost::SetErrorPanel(const std::string& text) { form_.StatusBar1->SetText(0, text); }

void WindowHost::ShowStage() {
    const EngineState& e = form_.State().problem;
    form_.StatusBar1->SetText(1, StatusPanelText(e.Stage, e.AtBuild));
}

void WindowHost::ClearNames() {
    form_.State().problem.Names.clear();
    form_.ListBox1->clear();
}

void WindowHost::BuildProblem() {
    ProblemState& problem = form_.State().problem;
    ProblemText text = form_.ReadProblemText();
    if (form_.searching_) text.lines.insert(text.lines.end(), boundLines_.begin(), boundLines_.end());
    BuildReport report;
    built_ = true;
    // Whatever the build wrote stays shown, also when a fault abandons it.
    auto apply = [&] {
        for (const std::string& name : problem.Names) form_.ListBox1->addItem(QString::fromStdString(name));
        SetErrorPanel(report.errorPanel);
        ShowStage();
    };
    try {
        optimara::BuildProblem(problem, text, report);
    } catch (...) {
        // An abandoned build leaves a half-built tableau with the labels and
        // marks of the previous problem: it must be neither stepped nor shown.
        // The names it read stay listed.
        ForgetProblem(problem, false);
        problem.Stage = SolveStage::Fault;
        apply();
        throw;
    }
    apply();
    if (report.select) form_.SelectSource(report.source);
}

void WindowHost::ClearPicture() { form_.ClearPicture(); }

void WindowHost::DrawPlot() { form_.DrawPlot(form_.Image1); }

void WindowHost::ShowTableau() {
    ++form_.stepCount_;
    // The history keeps each tableau as it is shown (the driver has
    // already snapped its tiny entries).
    form_.NoteTableau(built_, !unseen_);
    built_ = false;
    if (!unseen_) {
        form_.ShowTableau();
        return;
    }
    pending_ = true;
    // A step that took long (exact numbers can grow) shows where the
    // solution stands, so that a long run is seen to go on.
    if (clock_.restart() > kSlowStepMs) {
        form_.StatusBar1->SetText(2, form_.StepPanelText());
        form_.StatusBar1->repaint();
    }
}

bool WindowHost::AskRestart() {
    FlushDisplay();
    ++form_.questionCount_;
    return form_.questions_->AskRestart(&form_);
}

void WindowHost::BeginUnseenSteps() {
    clock_.start();
    unseen_ = true;
    pending_ = false;
}

void WindowHost::EndUnseenSteps() {
    FlushDisplay();
    unseen_ = false;
}

void WindowHost::FlushDisplay() {
    if (!pending_) return;
    pending_ = false;
    form_.ShowTableau();
}

} // namespace optimara
