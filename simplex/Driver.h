#pragma once
// The two solve buttons. Where a solution stands lives in the two status
// panels of the window and in ProblemReady; the host gives access to them
// and to the window-side steps (build, display, plot, question).
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
    virtual void ClearNames() = 0;     // empties ListBox1 before a build
    virtual void BuildProblem() = 0;   // writes the panels, may throw FloatingPointFault
    virtual void ClearPicture() = 0;   // paints Image1 in button face and hides Shape1
    virtual void DrawPlot() = 0;       // draws the region into Image1
    virtual void ShowTableau() = 0;
    virtual bool AskRestart() = 0;     // true only for Yes
};

const char* StepStatusText(int32_t status);

void Button2Click(SolveHost& host);
void Button1Click(SolveHost& host);

} // namespace optimara
