// SPDX-License-Identifier: GPL-3.0-or-later
#include "Driver.h"

namespace optimara {

void Button2Click(SolveHost& host) {
    EngineState& e = host.Engine();
    if (e.ProblemReady && !Ended(e.Stage)) {
        NextStep(e);
        host.ShowStage();
        host.ShowTableau();
        return;
    }
    host.SetErrorPanel("");
    e.Stage = SolveStage::Building;
    e.AtBuild = false;
    host.ShowStage();
    host.ClearNames();
    host.BuildProblem();
    if (host.ErrorPanel().empty()) {
        e.ProblemReady = true;
        host.ClearPicture();
        host.DrawPlot();
    }
    host.ShowTableau();
}

void Button1Click(SolveHost& host) {
    EngineState& e = host.Engine();
    // Only an optimum reached by pivots lets the solution start over.
    if (!e.ProblemReady || (e.Stage == SolveStage::Optimal && !e.AtBuild)) {
        e.ProblemReady = false;
        host.SetErrorPanel("");
        e.Stage = SolveStage::Building;
        e.AtBuild = false;
        host.ShowStage();
    }
    int counter = 100;
    for (;;) {
        if (!host.ErrorPanel().empty() || Ended(e.Stage)) return;
        Button2Click(host);
        if (--counter == 0) {
            if (!host.AskRestart()) return;
            counter = 100;
        }
    }
}

} // namespace optimara
