// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The solve driver's view of the main window: the status panels, the build,
// the picture, the display and the long solution's questions. The host
// reaches the window only through SolveWindow.
#include <QElapsedTimer>
#include <string>
#include <vector>

#include "SolveSession.h"

namespace optimara {

// What the solve host needs of the window it shows a solution in.
class SolveWindow {
public:
    virtual ~SolveWindow() = default;
    virtual SolveSession& Session() = 0;
    virtual ProblemText ReadProblemText() const = 0;
    // Writes a status panel's text; repaint shows it before the event loop would.
    virtual void ShowPanel(int panel, const std::string& text, bool repaint = false) = 0;
    // Lists the variable names (none: the list is emptied).
    virtual void ListNames(const std::vector<std::string>& names) = 0;
    // Focus and selection of the text a build found at fault.
    virtual void SelectSource(int source) = 0;
    virtual void ClearPicture() = 0;
    virtual void DrawWorkPicture() = 0;
    // Notes the tableau in the history: the first of a build, or one more
    // pivot (keepCopy keeps it whole).
    virtual void NoteTableau(bool afterBuild, bool keepCopy) = 0;
    // One more display of the tableau made by the solve commands.
    virtual void CountStep() = 0;
    virtual void ShowTableau() = 0;
    // The questions, asked of the user and counted.
    virtual bool AskRestart() = 0;
    virtual bool AskMoreNodes() = 0;
    virtual bool AskMoreCuts() = 0;
};

class WindowHost : public NodeSolveHost {
public:
    explicit WindowHost(SolveWindow& window) : window_(window) {}

    EngineState& Engine() override;
    std::string ErrorPanel() const override;
    void SetErrorPanel(const std::string& text) override;
    void ShowStage() override;
    void ClearNames() override;
    void BuildProblem() override;
    void ClearPicture() override;
    void DrawPlot() override;
    void ShowTableau() override;
    bool AskRestart() override;
    bool AskMoreNodes() override;
    bool AskMoreCuts() override { return window_.AskMoreCuts(); }
    // Added below the typed lines while the integer search builds its nodes.
    void SetBoundLines(std::vector<std::string> lines) override { boundLines_ = std::move(lines); }
    void Resumed() override;
    void SearchPressed() override;

    // While a whole solution runs without returning to the event loop, the
    // displays in between are never seen: only their effect on the tableau
    // (the snap of tiny entries) is carried out, and the full display is
    // made when it will be seen, before a question and at the end.
    void BeginUnseenSteps();
    void EndUnseenSteps();

private:
    void FlushDisplay();

    static constexpr qint64 kSlowStepMs = 500;
    SolveWindow& window_;
    QElapsedTimer clock_;
    bool unseen_ = false;
    bool pending_ = false;
    bool built_ = false;
    std::vector<std::string> boundLines_;  // the next display shows a build's first tableau
};

} // namespace optimara
