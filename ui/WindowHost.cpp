// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHost.h"

#include "SessionTexts.h"

#include "BuildProblem.h"
#include "StatusTexts.h"

namespace optimara {

EngineState& WindowHost::Engine() { return window_.Session().problem; }

std::string WindowHost::ErrorPanel() const { return window_.Session().error; }

void WindowHost::SetErrorPanel(const std::string& text) {
    window_.Session().error = text;
    window_.ShowPanel(0, text);
}

void WindowHost::ShowStage() {
    const EngineState& e = window_.Session().problem;
    window_.ShowPanel(1, StatusPanelText(e.Stage, e.AtBuild));
}

void WindowHost::ClearNames() {
    window_.Session().problem.Names.clear();
    window_.ListNames({});
}

void WindowHost::BuildProblem() {
    SolveSession& session = window_.Session();
    ProblemState& problem = session.problem;
    ProblemText text = window_.ReadProblemText();
    if (session.Searching()) text.lines.insert(text.lines.end(), boundLines_.begin(), boundLines_.end());
    BuildReport report;
    built_ = true;
    // Whatever the build wrote stays shown, also when a fault abandons it.
    auto apply = [&] {
        window_.ListNames(problem.Names);
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
    if (report.select) window_.SelectSource(report.source);
}

void WindowHost::ClearPicture() { window_.ClearPicture(); }

void WindowHost::DrawPlot() { window_.DrawWorkPicture(); }

void WindowHost::ShowTableau() {
    // The history keeps each tableau as it is shown (the driver has
    // already snapped its tiny entries).
    window_.CountStep();
    window_.NoteTableau(built_, !unseen_);
    built_ = false;
    if (!unseen_) {
        window_.ShowTableau();
        return;
    }
    pending_ = true;
    // A step that took long (exact numbers can grow) shows where the
    // solution stands, so that a long run is seen to go on.
    if (clock_.restart() > kSlowStepMs) window_.ShowPanel(2, StepPanelText(window_.Session()), true);
}

bool WindowHost::AskRestart() {
    FlushDisplay();
    return window_.AskRestart();
}

bool WindowHost::AskMoreNodes() {
    // The last node's end is not the search's.
    window_.ShowPanel(1, "");
    window_.ShowPanel(2, NodePanelText(window_.Session()));
    if (window_.AskMoreNodes()) return true;
    // Stopped between two nodes: the search goes on, as a solution stopped
    // at the 100-step question does.
    window_.ShowPanel(1, "");
    return false;
}

void WindowHost::Resumed() {
    // Back against the typed problem's region.
    window_.ClearPicture();
    window_.DrawWorkPicture();
    window_.NoteTableau(true, true);
}

void WindowHost::SearchPressed() {
    // A node's end is not the search's: panel 1 waits for the search's.
    if (window_.Session().Branches.Active()) window_.ShowPanel(1, "");
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
    window_.ShowTableau();
}

} // namespace optimara
