// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the tableau grid, the solution lists and the value box show, computed
// from the problem state without touching any widget.
#include <string>
#include <vector>

#include "ProblemState.h"

namespace optimara {

struct TableauView {
    int rowCount = 1, colCount = 1;        // StringGrid1: m+2 rows, n+2 columns
    std::vector<std::string> cells;         // row-major: cell[c, r] at r*colCount + c
    std::vector<std::string> solution;      // ListBox2 lines, e.g. "y=3/2"
    std::vector<std::string> freeVariables; // ListBox3 lines, e.g. "x=x'-x''"
    bool filled = false;                    // false when the error panel was not empty
    std::string value;                      // Edit2 text (only meaningful when filled)
    int count = 0;                          // number of problem variables read
};

// Whether the marks, labels, sign marks and names have the shapes the
// tableau's build gave them, so that they can be read beside it.
bool FitsTableau(const ProblemState& state);

// Fills the view (one empty cell when the state does not fit the tableau),
// snaps the tableau cells through FormatNumber and writes
// solutionPoint[0..2] for the first three variables (left unchanged when the
// error panel is not empty). Labels is inverted and restored. With
// slackNames, the slack variables' positions carry their names too.
TableauView ComputeTableauView(ProblemState& state, bool maximize, bool errorPanelEmpty,
                               bool floating, const std::string& separator,
                               double solutionPoint[3], bool slackNames = false);

} // namespace optimara
