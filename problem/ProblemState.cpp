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

} // namespace optimara
