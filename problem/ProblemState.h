// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The problem state built from the typed text and then stepped by the engine.
// Owned by the main window, passed explicitly to whatever reads or changes it.
#include <string>
#include <vector>

#include "MatrixR.h"
#include "MatrixZ.h"
#include "ProblemModel.h"
#include "Simplex.h"

namespace optimara {

struct ProblemState : EngineState {
    MatrixZ SignMarks{1, 1};
    MatrixR ConstraintPlanes{1, 1};
    MatrixR ObjectiveVector{1, 1};
    // The variable names, one per column, in column order (UTF-8).
    std::vector<std::string> Names;
    // What the text said and where each row and column of the first
    // tableau came from.
    ProblemModel Model;
    // The method the next build solves by (the state's Method is the one
    // the current tableau is solved by).
    SolveMethod BuildMethod = SolveMethod::Compact;
};

// Back to the empty problem of the start: every problem matrix 1x1 holding
// 0, readiness gone; the generator goes on where it was. With plot, the
// plot's copies and the names go too, so nothing of the old problem is
// shown or drawn again.
void ForgetProblem(ProblemState& problem, bool plot);

// In exact arithmetic: a variable's value from where its columns stand,
// and the objective's value as the user asked for it.
mpq_class ExactValue(const ProblemState& state, const VariablePlace& place);
mpq_class ExactObjective(const ProblemState& state, bool maximize);

// The problem as typed: the sense (0 "Minimizar", 1 "Maximizar"), the
// objective and the constraint lines, all UTF-8.
struct ProblemText {
    int comboIndex = 1;
    std::string objective;
    std::vector<std::string> lines;
    bool operator==(const ProblemText&) const = default;
};

// What a build reports: the error text, the status text and, for a fault in
// the text, which part to select (-1 the objective, k >= 0 constraint line k).
struct BuildReport {
    std::string errorPanel;
    std::string statusPanel;
    bool select = false;
    int source = 0;
};

} // namespace optimara
