// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The solve driver's view of the main window: the status panels, the build,
// the picture, the display and the restart question.
#include <QElapsedTimer>

#include "BranchAndBound.h"
#include "Driver.h"
#include "ProblemState.h"

namespace optimara {

class TForm1;

class WindowHost : public NodeSolveHost {
public:
    explicit WindowHost(TForm1& form) : form_(form) {}

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
    // Added below the typed lines while the integer search builds its nodes.
    void SetBoundLines(std::vector<std::string> lines) override { boundLines_ = std::move(lines); }

    // While a whole solution runs without returning to the event loop, the
    // displays in between are never seen: only their effect on the tableau
    // (the snap of tiny entries) is carried out, and the full display is
    // made when it will be seen, before a question and at the end.
    void BeginUnseenSteps();
    void EndUnseenSteps();

private:
    void FlushDisplay();

    static constexpr qint64 kSlowStepMs = 500;
    TForm1& form_;
    QElapsedTimer clock_;
    bool unseen_ = false;
    bool pending_ = false;
    bool built_ = false;
    std::vector<std::string> boundLines_;  // the next display shows a build's first tableau
};

} // namespace optimara
