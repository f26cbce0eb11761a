#include "Driver.h"

namespace optimara {

const char* StepStatusText(int32_t status) {
    switch (status) {
    case Infeasible: return kStatusInfeasible;
    case Unbounded: return kStatusUnbounded;
    case Optimal: return kStatusDone;
    default: return "";
    }
}

void Button2Click(SolveHost& host) {
    EngineState& e = host.Engine();
    if (e.ProblemReady && host.StatusPanel().empty()) {
        host.SetStatusPanel(StepStatusText(NextStep(e)));
        host.ShowTableau();
        return;
    }
    host.SetErrorPanel("");
    host.SetStatusPanel("");
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
    if (!e.ProblemReady || host.StatusPanel() == kStatusDone) {
        e.ProblemReady = false;
        host.SetErrorPanel("");
        host.SetStatusPanel("");
    }
    int counter = 100;
    for (;;) {
        if (!host.ErrorPanel().empty() || !host.StatusPanel().empty()) return;
        Button2Click(host);
        if (--counter == 0) {
            if (!host.AskRestart()) return;
            counter = 100;
        }
    }
}

} // namespace optimara
