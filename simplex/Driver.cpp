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
    SimplexPresses presses(host);
    // The steps between the presses are not shown: the exact tableau's
    // doubles wait for the end, or for a question that shows where it stands.
    struct RoundedWhenAsking : SolveQuestions {
        SolveHost& host;
        explicit RoundedWhenAsking(SolveHost& h) : host(h) { host.Engine().RoundLater = true; }
        ~RoundedWhenAsking() override {
            EngineState& engine = host.Engine();
            engine.RoundLater = false;
            CatchUpRounding(engine);
        }
        bool AskRestart() override {
            CatchUpRounding(host.Engine());
            return host.AskRestart();
        }
    } questions(host);
    SolveLoop(presses, questions);
}

bool SimplexPresses::Going() { return host_.ErrorPanel().empty() && !Ended(host_.Engine().Stage); }

void SimplexPresses::Press() { Button2Click(host_); }

void SolveLoop(SolvePresses& presses, SolveQuestions& questions, int nodesPerQuestion) {
    int counter = 100, nodes = 0;
    while (presses.Going()) {
        if (presses.AtNodeStart()) {
            if (nodesPerQuestion > 0 && nodes > 0 && nodes % nodesPerQuestion == 0 && !questions.AskMoreNodes()) return;
            ++nodes;
            counter = 100;
        }
        presses.Press();
        if (presses.Stepping() && --counter == 0) {
            if (!questions.AskRestart()) return;
            counter = 100;
        }
    }
}

} // namespace optimara
