// SPDX-License-Identifier: GPL-3.0-or-later
// From the typed text, through the problem model, to the problem state and
// its first tableau.
#include "BuildProblem.h"

#include <algorithm>
#include <string>

#include "DualSimplex.h"
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

// The tableau is dense: one whose cells would not fit a sensible share of
// the memory is refused, with its size, before anything is built.
void RefuseWhenTooLarge(uint64_t rows, uint64_t cols) {
    if (rows * cols <= kMaxTableauCells) return;
    throw ProblemTooLarge("El problema es demasiado grande: su tabla tendría " + std::to_string(rows) + " filas y " +
                          std::to_string(cols) + " columnas (" + std::to_string(rows * cols) +
                          " celdas; se admiten como mucho " + std::to_string(kMaxTableauCells) + ")");
}

uint64_t RowsReadCount(const ProblemModel& model) {
    uint64_t rows = 0;
    for (const ModelLine& line : model.lines) rows += line.sides.size() * (line.relation == '=' ? 2 : 1);
    return rows;
}

void TakePlotCopies(ProblemState& state, const MatrixR& asRead) {
    state.ConstraintPlanes.Redefine(asRead.rows - 1, asRead.cols);
    for (uint32_t i = 1; i < asRead.rows; ++i)
        for (uint32_t j = 1; j <= asRead.cols; ++j) state.ConstraintPlanes.Index(i, j) = asRead.Index(i, j);
    state.ObjectiveVector.Redefine(asRead.cols - 1, 1);
    for (uint32_t j = 1; j < asRead.cols; ++j) state.ObjectiveVector.Index(j, 1) = asRead.Index(asRead.rows, j);
}

// Copies for the plot: every row as read, sign rows included, before free
// variables split. Only a picture of two or three variables reads the rows;
// when they would make a copy beyond the tableau's limit, a problem without
// a picture keeps one row, which gives the picture its width.
void TakePlotCopies(ProblemState& state, const ProblemModel& model) {
    const uint64_t width = std::max(model.variables.size(), model.objective.size()) + 1;
    if ((RowsReadCount(model) + 1) * width > kMaxTableauCells && width != 3 && width != 4) {
        state.ConstraintPlanes.Redefine(1, static_cast<uint32_t>(width));
        state.ObjectiveVector.Redefine(static_cast<uint32_t>(width - 1), 1);
        for (uint32_t j = 1; j <= width; ++j) state.ConstraintPlanes.Index(1, j) = 0.0;
        for (uint32_t j = 1; j < width; ++j) {
            const double c = j <= model.objective.size() ? model.objective[j - 1] : 0.0;
            state.ObjectiveVector.Index(j, 1) = c == 0.0 ? 0.0 : model.maximize ? c : -c;
        }
        return;
    }
    TakePlotCopies(state, RowsAsRead(model));
}

// The artificial methods' first tableau and first choice.
int32_t BuildArtificial(ProblemState& state) {
    std::vector<char> negated;
    for (const RowOrigin& row : state.Model.rows) negated.push_back(row.negated ? 1 : 0);
    if (state.Exact) state.ExactTableau = ExactTableauFromModel(state.Model);
    else state.ExactTableau.Redefine(1, 1);
    AddArtificials(state, negated);
    return SelectArtificialPivot(state);
}

void BuildFromText(ProblemState& state, const ProblemText& problem, BuildReport& report) {
    const size_t base = state.Names.size();
    state.RoundedBehind = false;
    state.Method = state.BuildMethod;
    state.Artificials = ArtificialPart{};
    ProblemModel& model = state.Model;
    ReadModel(model, problem, state.Names, report, state.Exact);
    for (const ModelVariable& v : model.variables) state.Names.push_back(v.name);
    if (!report.errorPanel.empty()) {
        // A fault leaves the tableau as far as the text was read.
        RefuseWhenTooLarge(RowsReadCount(model) + 1, std::max(model.variables.size(), model.objective.size()) + 1);
        MatrixR asRead = RowsAsRead(model);
        state.Tableau.Swap(asRead);
        return;
    }
    CompleteModel(model);
    RefuseWhenTooLarge(model.rows.size() + 1, model.columns.size() + 1);
    TakePlotCopies(state, model);
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
    if (UsesArtificials(state.Method)) {
        status = BuildArtificial(state);
    } else {
        if (state.Exact) {
            // The typed numbers themselves; the floating tableau is their
            // rounding, for the picture and the marker.
            state.ExactTableau = ExactTableauFromModel(model);
            RoundExactTableau(state);
        } else {
            state.ExactTableau.Redefine(1, 1);
            // The first pivot is chosen on the tableau as it is shown.
            SnapTableau(T);
        }
        // The dual simplex cannot start where an objective entry would still
        // improve: the text read well, but this method does not solve it.
        if (state.Method == SolveMethod::DualSimplex &&
            !(state.Exact ? DualFeasible(state.ExactTableau) : DualFeasible(T))) {
            report.errorPanel = kDualRefusal;
            return;
        }
        status = SelectMethodPivot(state);
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
    } catch (const ProblemTooLarge&) {
        report = before;
        throw;
    }
}

} // namespace optimara
