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

files::StepsPageTable PageTable(FormTable table) {
    files::StepsPageTable out;
    out.kind = std::move(table.kind);
    out.caption = std::move(table.caption);
    // The dual values stand one cell per typed line, without a label.
    const size_t from = out.kind == "duales" ? 1 : 0;
    out.headings.assign(table.headings.begin() + long(from), table.headings.end());
    for (size_t r = 0; r < table.rows.size(); ++r) {
        out.rows.emplace_back(table.rows[r].begin() + long(from), table.rows[r].end());
        for (size_t c = from; c < table.marks[r].size(); ++c) {
            if (table.marks[r][c] == FormMark::Pivot) {
                out.pivotRow = static_cast<int>(r);
                out.pivotCol = static_cast<int>(c - from);
            }
            if (table.marks[r][c] == FormMark::Leaving) out.leavingRow = static_cast<int>(r);
        }
    }
    return out;
}

files::StepsPageForm PageForm(TableauForm form) {
    switch (form) {
    case TableauForm::Full: return files::StepsPageForm::Full;
    case TableauForm::Dictionary: return files::StepsPageForm::Dictionary;
    case TableauForm::Matrix: return files::StepsPageForm::Matrix;
    default: return files::StepsPageForm::Compact;
    }
}

} // namespace

void FormOnPage(const ProblemState& state, TableauForm form, const NumberText& numbers, files::StepsPageTableau& t) {
    FormText text = ComputeFormText(state, form, numbers);
    for (FormTable& table : text.tables) t.tables.push_back(PageTable(std::move(table)));
    for (size_t k = 0; k < text.lines.size(); ++k)
        t.dictionary.push_back(text.notes[k].empty() ? text.lines[k] : text.lines[k] + "   " + text.notes[k]);
}

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
    page.form = PageForm(in.form);
    if (in.form != TableauForm::Compact) page.standardForm = StandardFormLines(current, in.numbers);
    // The tableaux are rebuilt in a copy of the problem; the one on screen
    // is left alone.
    ProblemState work;
    CopyMatrix(current.SignMarks, work.SignMarks);
    work.Names = current.Names;
    work.Model.slackNames = current.Model.slackNames;
    work.ProblemReady = true;
    work.Exact = current.Exact;
    // Steps replayed between kept copies are the method's own.
    work.Method = current.Method;
    // The textbook forms read the model the tableaux were built from.
    if (in.form != TableauForm::Compact) work.Model = current.Model;
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
        if (in.form != TableauForm::Compact) FormOnPage(shown, in.form, in.numbers, t);
        const Explanation e = ExplainInForm(shown, FactsOf(history, k, in.maximize), in.numbers, in.form);
        shown.Stage = stage;
        t.explanation = e.paragraphs;
        t.ratios = PageRatios(e);
        page.tableaux.push_back(std::move(t));
    });
    return page;
}

} // namespace optimara
