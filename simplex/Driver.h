// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The solve driver: one step at a time, or steps to the end with a question
// after every 100. Where a solution stands lives in the engine's stage, the
// error text of the last build and ProblemReady; the host shows them and
// carries out the steps that are not the engine's (build, display, plot,
// question).
#include <string>

#include "Simplex.h"

namespace optimara {

inline constexpr const char* kRestartText = "Algoritmo repetido 100 veces. Deseas probar otras 100 veces más?";
inline constexpr const char* kRestartCaption = "The program may be unbounded";

class SolveHost {
public:
    virtual ~SolveHost() = default;
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
    virtual bool AskRestart() = 0;     // true only for Yes
};

// The method has ended: optimal, infeasible or unbounded.
inline bool Ended(SolveStage stage) {
    return stage == SolveStage::Optimal || stage == SolveStage::Infeasible || stage == SolveStage::Unbounded;
}

void Button2Click(SolveHost& host);
void Button1Click(SolveHost& host);

} // namespace optimara
