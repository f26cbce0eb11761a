// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProblemState.h"

namespace optimara {

void ForgetProblem(ProblemState& problem, bool plot) {
    const auto empty = [](auto& matrix) {
        matrix.Redefine(1, 1);
        matrix.Index(1, 1) = 0;
    };
    empty(problem.Tableau);
    empty(problem.Labels);
    empty(problem.PivotMarks);
    empty(problem.SignMarks);
    problem.CandidateCount = 0;
    problem.ProblemReady = false;
    problem.Stage = SolveStage::Building;
    problem.AtBuild = false;
    problem.Model = ProblemModel{};
    problem.ExactTableau.Redefine(1, 1);
    if (!plot) return;
    empty(problem.ConstraintPlanes);
    empty(problem.ObjectiveVector);
    problem.Names.clear();
}

namespace {

// The reading rule on the exact tableau: a basic variable is minus its
// row's constant, a split pair the difference of its two columns.
mpq_class ExactAt(const ProblemState& state, uint32_t position) {
    const uint32_t n = state.ExactTableau.cols - 1;
    return position <= n ? mpq_class(0) : mpq_class(-state.ExactTableau.Index(position - n, n + 1));
}

} // namespace

mpq_class ExactValue(const ProblemState& state, const VariablePlace& place) {
    mpq_class v = ExactAt(state, place.position);
    if (place.secondPosition != 0) v -= ExactAt(state, place.secondPosition);
    return v;
}

mpq_class ExactObjective(const ProblemState& state, bool maximize) {
    const mpq_class& z = state.ExactTableau.Index(state.ExactTableau.rows, state.ExactTableau.cols);
    return maximize ? z : mpq_class(-z);
}

} // namespace optimara
