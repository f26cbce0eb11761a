#pragma once
// Everything the program keeps between two events, in one place. The main
// window owns it and hands it to whatever needs it.
#include <QString>

#include "Plot.h"
#include "ProblemState.h"
#include "StepHistory.h"

namespace optimara {

struct AppState {
    ProblemState problem;
    PlotState plot;
    // The pivots made on the current problem, to go back over them.
    StepHistory Steps;
    bool Modified = false;
    QString CurrentFileName;
};

} // namespace optimara
