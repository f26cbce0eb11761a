#pragma once
// The problem state built from the typed text and then stepped by the engine.
// Owned by the main window, passed explicitly to whatever reads or changes it.
#include <string>
#include <vector>

#include "MatrixR.h"
#include "MatrixZ.h"
#include "Simplex.h"

namespace optimara {

struct ProblemState : EngineState {
    MatrixZ SignMarks{1, 1};
    MatrixR ConstraintPlanes{1, 1};
    MatrixR ObjectiveVector{1, 1};
    // ListBox1: one variable name per column, in column order (UTF-8).
    std::vector<std::string> Names;
};

// The problem as typed: ComboBox1's index (0 "Minimizar", 1 "Maximizar"),
// Edit1 and the lines of RichEdit1, all UTF-8.
struct ProblemText {
    int comboIndex = 1;
    std::string objective;
    std::vector<std::string> lines;
};

// What a build writes into the window: the two status panels and, for a
// fault in the text, which text to select (-1 Edit1, k >= 0 line k).
struct BuildReport {
    std::string errorPanel;
    std::string statusPanel;
    bool select = false;
    int source = 0;
};

} // namespace optimara
