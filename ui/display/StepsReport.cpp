// SPDX-License-Identifier: GPL-3.0-or-later
#include "StepsReport.h"

#include "Display.h"

namespace optimara {
namespace {

std::vector<files::StepsPageRatio> PageRatios(const Explanation& e) {
    std::vector<files::StepsPageRatio> rows;
    for (const RatioLine& l : e.ratios)
        rows.push_back({l.variable, l.constant, l.entry, l.ratio, l.leaves, l.growth, l.why});
    return rows;
}

} // namespace

const char* EndWords(SolveStage stage) {
    switch (stage) {
    case SolveStage::Optimal: return "óptimo";
    case SolveStage::Infeasible: return "sin solución factible";
    case SolveStage::Unbounded: return "objetivo ilimitado";
    default: return nullptr;
    }
}

StepFacts FactsOf(const StepHistory& history, size_t k, bool maximize) {
    StepFacts f;
    f.number = k;
    f.maximize = maximize;
    const std::vector<StepNote>& notes = history.Notes();
    if (k < notes.size()) {
        f.feasible = notes[k].feasible;
        f.rule = notes[k].rule;
        f.draw = notes[k].draw;
        f.byHand = k + 1 < notes.size() ? history.ByHandTo(k + 1) : history.NextByHand();
    }
    if (k >= 1 && k < notes.size()) {
        f.lastPivot = history.PivotTo(k);
        f.lastByHand = history.ByHandTo(k);
        f.objectiveBefore = notes[k - 1].objective;
        f.exactObjectiveBefore = notes[k - 1].exactObjective;
    }
    return f;
}

files::StepsPage BuildStepsPage(ProblemState& current, const StepHistory& history, const StepsPageInput& in) {
    files::StepsPage page;
    page.sense = in.sense;
    page.objective = in.objective;
    page.heading = in.heading;
    page.lines = in.lines;
    page.notation = in.notation;
    // The tableaux are rebuilt in a copy of the problem; the one on screen
    // is left alone.
    ProblemState work;
    CopyMatrix(current.SignMarks, work.SignMarks);
    work.Names = current.Names;
    work.Model.slackNames = current.Model.slackNames;
    work.ProblemReady = true;
    work.Exact = current.Exact;
    const std::vector<StepNote>& notes = history.Notes();
    history.ForEachTableau(work, [&](size_t k, const EngineState&) {
        double point[3] = {0, 0, 0};
        const bool last = k + 1 == notes.size();
        ProblemState& shown = last ? current : work;
        TableauView view =
            ComputeTableauView(shown, in.maximize, true, in.numbers.floating, in.numbers.separator, point, true);
        files::StepsPageTableau t;
        t.number = static_cast<int>(k);
        t.rows = view.rowCount;
        t.cols = view.colCount;
        t.cells = std::move(view.cells);
        const PivotCell pivot = ChosenCell(shown.PivotMarks);
        if (pivot.row != 0) {
            t.pivotRow = static_cast<int>(pivot.row);
            t.pivotCol = static_cast<int>(pivot.col);
        }
        t.solution = std::move(view.solution);
        t.freeVariables = std::move(view.freeVariables);
        t.value = std::move(view.value);
        const char* end = EndWords(notes[k].stage);
        t.phase = PhaseWords(notes[k].feasible);
        t.status = end ? end : "en curso";
        // A replayed tableau's stage is the one its note kept.
        const SolveStage stage = shown.Stage;
        shown.Stage = notes[k].stage;
        const Explanation e = ExplainTableau(shown, FactsOf(history, k, in.maximize), in.numbers);
        shown.Stage = stage;
        t.explanation = e.paragraphs;
        t.ratios = PageRatios(e);
        page.tableaux.push_back(std::move(t));
    });
    return page;
}

} // namespace optimara
