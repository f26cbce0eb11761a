#pragma once
// The solve driver: one step at a time, or steps to the end with a question
// after every 100. Where a solution stands lives in the error text, the
// status text and ProblemReady; the host keeps the two texts and carries out
// the steps that are not the engine's (build, display, plot, question).
#include <string>

#include "Simplex.h"

namespace optimara {

inline constexpr const char* kStatusDone = "Hecho";
inline constexpr const char* kStatusInfeasible = "No factible";
inline constexpr const char* kStatusUnbounded = "Ilimitado";
inline constexpr const char* kRestartText = "Algoritmo repetido 100 veces. Deseas probar otras 100 veces más?";
inline constexpr const char* kRestartCaption = "The program may be unbounded";

class SolveHost {
public:
    virtual ~SolveHost() = default;
    virtual EngineState& Engine() = 0;
    virtual std::string ErrorPanel() const = 0;
    virtual void SetErrorPanel(const std::string& text) = 0;
    virtual std::string StatusPanel() const = 0;
    virtual void SetStatusPanel(const std::string& text) = 0;
    virtual void ClearNames() = 0;     // empties the variable names before a build
    virtual void BuildProblem() = 0;   // writes both texts, may throw FloatingPointFault
    virtual void ClearPicture() = 0;   // blanks the picture and hides the vertex marker
    virtual void DrawPlot() = 0;       // draws the region into the picture
    virtual void ShowTableau() = 0;
    virtual bool AskRestart() = 0;     // true only for Yes
};

const char* StepStatusText(int32_t status);

void Button2Click(SolveHost& host);
void Button1Click(SolveHost& host);

} // namespace optimara
