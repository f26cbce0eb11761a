// SPDX-License-Identifier: GPL-3.0-or-later
// From the typed text, through the problem model, to the problem state and
// its first tableau.
#include "BuildProblem.h"

#include "Fault.h"

namespace optimara {
namespace {

const char* BuildStatusText(int32_t status) {
    switch (status) {
    case PivotChosen: return kBuildPivotChosen;
    case Infeasible: return kBuildInfeasible;
    case Unbounded: return kBuildUnbounded;
    default: return kBuildOptimal;
    }
}

// Copies for the plot: every row as read, sign rows included, before free
// variables split.
void TakePlotCopies(ProblemState& state, const MatrixR& asRead) {
    state.ConstraintPlanes.Redefine(asRead.rows - 1, asRead.cols);
    for (uint32_t i = 1; i < asRead.rows; ++i)
        for (uint32_t j = 1; j <= asRead.cols; ++j) state.ConstraintPlanes.Index(i, j) = asRead.Index(i, j);
    state.ObjectiveVector.Redefine(asRead.cols - 1, 1);
    for (uint32_t j = 1; j < asRead.cols; ++j) state.ObjectiveVector.Index(j, 1) = asRead.Index(asRead.rows, j);
}

void BuildFromText(ProblemState& state, const ProblemText& problem, BuildReport& report) {
    const size_t base = state.Names.size();
    ProblemModel& model = state.Model;
    ReadModel(model, problem, state.Names, report);
    for (const ModelVariable& v : model.variables) state.Names.push_back(v.name);
    if (!report.errorPanel.empty()) {
        // A fault leaves the tableau as far as the text was read.
        MatrixR asRead = RowsAsRead(model);
        state.Tableau.Swap(asRead);
        return;
    }
    TakePlotCopies(state, RowsAsRead(model));
    CompleteModel(model);
    MatrixR first = TableauFromModel(model);
    state.Tableau.Swap(first);
    // A free variable's name stands at both of its columns.
    state.Names.resize(base);
    state.SignMarks.Redefine(static_cast<uint32_t>(model.columns.size()), 1);
    for (uint32_t j = 1; j <= model.columns.size(); ++j) {
        const ColumnOrigin& col = model.columns[j - 1];
        state.Names.push_back(model.variables[col.variable].name);
        state.SignMarks.Index(j, 1) = model.variables[col.variable].nonNegative ? 1 : 0;
    }

    MatrixR& T = state.Tableau;
    state.Labels.Redefine(T.rows + T.cols - 2, 1);
    for (uint32_t i = 1; i <= state.Labels.rows; ++i) state.Labels.Index(i, 1) = static_cast<int32_t>(i);
    int32_t status = 0;
    if (state.Exact) {
        // The typed numbers themselves; the floating tableau is their
        // rounding, for the picture and the marker.
        state.ExactTableau = ExactTableauFromModel(model);
        MatrixR rounded = state.ExactTableau.ToReal();
        T.Swap(rounded);
        status = SelectPivot(state.ExactTableau, state.PivotMarks, state.CandidateCount, state.Random, state.Rule,
                             &state.Labels, &state.LastDraw);
    } else {
        state.ExactTableau.Redefine(1, 1);
        // The first pivot is chosen on the tableau as it is shown.
        SnapTableau(T);
        status = SelectPivot(T, state.PivotMarks, state.CandidateCount, state.Random, state.Rule, &state.Labels,
                             &state.LastDraw);
    }
    report.statusPanel = BuildStatusText(status);
    state.Stage = StageOf(status);
    state.AtBuild = true;
}

} // namespace

void BuildProblem(ProblemState& state, const ProblemText& problem, BuildReport& report) {
    // An overflowing number abandons the build; the report must then hold
    // nothing of it (an ERROR9/ERROR10 text may already have been written).
    const BuildReport before = report;
    try {
        BuildFromText(state, problem, report);
    } catch (const FloatingPointFault&) {
        report = before;
        throw;
    }
}

} // namespace optimara
