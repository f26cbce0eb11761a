// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's part of a solve session, without a window: the build reads
// the typed text (with a node's bound lines while a search builds), every
// tableau shown is noted in the session's history as the window notes it,
// and the questions answer Yes a given number of times.
#include <string>
#include <vector>

#include "BuildProblem.h"
#include "SolveSession.h"

namespace optimara::testing {

class SessionHost : public NodeSolveHost {
public:
    SessionHost(SolveSession& session, ProblemText text) : session_(session), text_(std::move(text)) {}
    int restartsLeft = 50, nodeQuestionsLeft = 50, cutQuestionsLeft = 50, questions = 0, cutQuestions = 0;
    // Every tableau is kept whole, as when each one is shown; false keeps
    // only the history's own checkpoints, as the window does for the steps
    // of "Una Solución" it never shows.
    bool keepEveryCopy = true;

    EngineState& Engine() override { return session_.problem; }
    std::string ErrorPanel() const override { return session_.error; }
    void SetErrorPanel(const std::string& t) override { session_.error = t; }
    void ShowStage() override {}
    void ClearNames() override { session_.problem.Names.clear(); }
    void BuildProblem() override {
        ProblemText text = text_;
        if (session_.Searching()) text.lines.insert(text.lines.end(), bounds_.begin(), bounds_.end());
        BuildReport report;
        optimara::BuildProblem(session_.problem, text, report);
        session_.error = report.errorPanel;
        built_ = true;
    }
    void ClearPicture() override {}
    void DrawPlot() override {}
    void ShowTableau() override {
        session_.NoteTableau(built_, keepEveryCopy, text_.comboIndex == 1);
        built_ = false;
    }
    bool AskRestart() override { return ++questions, restartsLeft-- > 0; }
    bool AskMoreNodes() override { return ++questions, nodeQuestionsLeft-- > 0; }
    bool AskMoreCuts() override { return ++cutQuestions, cutQuestionsLeft-- > 0; }
    void SetBoundLines(std::vector<std::string> lines) override { bounds_ = std::move(lines); }
    SolveSession::TypedText Typed() const {
        return [this] { return text_; };
    }

private:
    SolveSession& session_;
    ProblemText text_;
    std::vector<std::string> bounds_;
    bool built_ = false;
};

} // namespace optimara::testing
