// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the program keeps between two events, in one place. The main
// window owns it and hands it to whatever needs it.
#include "BranchAndBound.h"
#include "Plot.h"
#include "ProblemState.h"
#include "Session.h"
#include "SessionFolder.h"
#include "StepHistory.h"

namespace optimara {

struct AppState {
    ProblemState problem;
    PlotState plot;
    files::Session session;
    // Where the settings line and the autosave are read and written, chosen
    // once when the window is created; whether this run already said that
    // they cannot be kept anywhere.
    files::SessionFolder sessionFolder;
    bool sessionLossReported = false;
    // The pivots made on the current problem, to go back over them.
    StepHistory Steps;
    // The size of the results' texts and the picture's lines, in percent.
    int zoom = 100;
    // The search of an integer problem, going on or ended; empty when the
    // current solution is no such search. The node whose tableau is shown.
    BranchSearch Branches;
    int shownNode = 0;
    // The node shown was chosen in the tree or is the search's end, rather
    // than the one the presses are solving.
    bool nodeLook = false;
    // Each concluded node's steps, for the page (while they fit in memory).
    std::vector<StepHistory> nodeSteps;
    size_t nodeStepsBytes = 0;
};

} // namespace optimara
