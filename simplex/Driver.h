// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The solve driver: one step at a time, or steps to the end with a question
// after every 100. Where a solution stands lives in the engine's stage, the
// error text of the last build and ProblemReady; the host shows them and
// carries out the steps that are not the engine's (build, display, plot,
// question). SolveLoop is the one loop every solution to the end runs: the
// window's, an integer search's, and those made without a window.
#include <string>

#include "Simplex.h"

namespace optimara {

inline constexpr const char* kRestartText = "Algoritmo repetido 100 veces. Deseas probar otras 100 veces más?";
inline constexpr const char* kRestartCaption = "The program may be unbounded";

// The questions a long solution asks of whoever drives it: the window asks
// its user; a solution without a window answers by its own bound.
class SolveQuestions {
public:
    virtual ~SolveQuestions() = default;
    // After every 100 steps of one problem; true only for Yes.
    virtual bool AskRestart() = 0;
    // After every given number of nodes of an integer search; true to go on.
    virtual bool AskMoreNodes() { return true; }
    // After every given number of cutting planes of one problem; true to go on.
    virtual bool AskMoreCuts() { return true; }
};

class SolveHost : public SolveQuestions {
public:
    virtual EngineState& Engine() = 0;
    virtual std::string ErrorPanel() const = 0;
    virtual void SetErrorPanel(const std::string& text) = 0;
    // Shows the engine's stage, as it now stands, in the status panel.
    virtual void ShowStage() = 0;
    virtual void ClearNames() = 0;     // empties the variable names before a build
    virtual void BuildProblem() = 0;   // writes the error text and the stage, may throw FloatingPointFault
    virtual void ClearPicture() = 0;   // blanks the picture and hides the vertex marker
    virtual void DrawPlot() = 0;       // draws the region into the picture
    virtual void ShowTableau() = 0;
};

// The method has ended: optimal, infeasible or unbounded.
inline bool Ended(SolveStage stage) {
    return stage == SolveStage::Optimal || stage == SolveStage::Infeasible || stage == SolveStage::Unbounded;
}

// Yes to the restart question so many times, then No: the bound on the
// steps of a solution made without a window.
class RestartBudget : public SolveQuestions {
public:
    explicit RestartBudget(int yes) : yes_(yes) {}
    bool AskRestart() override { return yes_-- > 0; }

private:
    int yes_;
};

// What the solve loop presses: one problem's steps, or an integer search
// whose presses go from node to node.
class SolvePresses {
public:
    virtual ~SolvePresses() = default;
    virtual bool Going() = 0;  // something is left to press
    // The next press begins another problem (a node of a search).
    virtual bool AtNodeStart() { return false; }
    virtual void Press() = 0;
    // The press just made left a problem open: it counts toward the 100.
    virtual bool Stepping() { return true; }
};

// Presses while anything is left: after every 100 presses of one problem
// the restart question, and before every nodesPerQuestion-th node after
// the first the node question; a No stops there, leaving things as they
// stand, so that the next loop takes them up.
void SolveLoop(SolvePresses& presses, SolveQuestions& questions, int nodesPerQuestion = 0);

// The steps of one problem as the loop presses them: "Paso a paso" until
// an error or the method's end.
class SimplexPresses : public SolvePresses {
public:
    explicit SimplexPresses(SolveHost& host) : host_(host) {}
    bool Going() override;
    void Press() override;

private:
    SolveHost& host_;
};

void Button2Click(SolveHost& host);
void Button1Click(SolveHost& host);

} // namespace optimara
