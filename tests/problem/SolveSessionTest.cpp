// SPDX-License-Identifier: GPL-3.0-or-later
// The solve session below the window: its one loop stops where the window
// stops at the 100-step and the node question, and its questions say where
// the solution stands.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "SessionHost.h"
#include "support/KleeMinty.h"

using namespace optimara;

namespace {

// The window's part, without a window: the build reads the typed text (with
// the node's bound lines while the search builds), the error text goes to
// the session, the questions take the scripted answers (No when they run
// out) and are counted, as are the tableaux shown.
class ScriptedHost : public optimara::testing::SessionHost {
public:
    ScriptedHost(SolveSession& session, ProblemText text) : SessionHost(session, std::move(text)) {}
    std::deque<bool> restart, moreNodes;
    int restarts = 0, nodeQuestions = 0, shown = 0;

    void ShowTableau() override { ++shown; }
    bool AskRestart() override { return Answer(restart, restarts); }
    bool AskMoreNodes() override { return Answer(moreNodes, nodeQuestions); }

private:
    static bool Answer(std::deque<bool>& answers, int& count) {
        ++count;
        if (answers.empty()) return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
};

// n separate variables each below 1: the build and exactly n pivots.
ProblemText Separable(int n) {
    ProblemText text{1, "", {}};
    for (int i = 1; i <= n; ++i) {
        text.objective += (i > 1 ? "+x" : "x") + std::to_string(i);
        text.lines.push_back("x" + std::to_string(i) + "<1");
        text.lines.push_back("x" + std::to_string(i) + ">0");
    }
    return text;
}

TEST(SolveSession, TheHundredStepQuestionStopsWhereTheWindowStops) {
    struct Case {
        int pivots;
        std::deque<bool> answers;
        int questions, shown;  // tableaux shown, the build's included
        bool running;          // stopped before the end, to be taken up again
    };
    const Case cases[] = {
        {98, {}, 0, 99, false},       // no question short of 100 presses
        {99, {true}, 1, 100, false},  // asked after the 100th press, even at the end
        {99, {false}, 1, 100, false},
        {150, {false}, 1, 100, true},  // No: the build and 99 pivots, the method goes on
        {150, {true}, 1, 151, false},
        {250, {true, false}, 2, 200, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pivots);
        SolveSession session;
        ScriptedHost host(session, Separable(c.pivots));
        host.restart = c.answers;
        EXPECT_EQ(session.Solve(host.Typed(), host), SolveRun::Simplex);
        EXPECT_EQ(host.restarts, c.questions);
        EXPECT_EQ(host.shown, c.shown);
        EXPECT_EQ(session.Running(), c.running);
        EXPECT_EQ(session.Stage(), c.running ? SolveStage::Choosing : SolveStage::Optimal);
        if (!c.running) continue;
        // "Una Solución" again takes the stopped solution up where it stood.
        host.restart = {true, true};
        session.Solve(host.Typed(), host);
        EXPECT_EQ(host.shown, c.pivots + 1);
        EXPECT_EQ(session.Stage(), SolveStage::Optimal);
    }
}

// A search that never ends by itself (no integer point, a fractional one
// under every bound): the node question stops it between two nodes, and
// the next "Una Solución" goes on with it.
TEST(SolveSession, TheNodeQuestionStopsBetweenTwoNodes) {
    const ProblemText text{1, "0x", {"4x-4y<3", "4x-4y>1", "entero: x,y"}};
    SolveSession session;
    session.SetRule(PivotRule::SmallestIndex);
    ScriptedHost host(session, text);
    EXPECT_EQ(session.Solve(host.Typed(), host), SolveRun::Search);
    EXPECT_EQ(host.nodeQuestions, 1);
    EXPECT_EQ(session.Branches.Result().nodes.size(), size_t(kNodeLimit));
    EXPECT_TRUE(session.Branches.Active());
    EXPECT_FALSE(session.Branches.NodeOpen());
    EXPECT_EQ(session.shownNode, kNodeLimit);
    EXPECT_EQ(session.Solve(host.Typed(), host), SolveRun::Search);
    EXPECT_EQ(host.nodeQuestions, 2);
    EXPECT_EQ(session.Branches.Result().nodes.size(), size_t(2 * kNodeLimit));
}

// Where the solution stands after one press of "Paso a paso" (steps 1) or
// of "Una Solución" (steps 0).
TEST(SolveSession, TheQuestionsSayWhereTheSolutionStands) {
    struct Case {
        ProblemText text;
        int steps;
        bool ready, running, optimal;
        SolveStage stage;
    };
    const ProblemText worked{1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}};
    const Case cases[] = {
        {worked, 1, true, true, false, SolveStage::Choosing},
        {worked, 0, true, false, true, SolveStage::Optimal},
        {{1, "x+y", {"x-y<1", "x>0", "y>0"}}, 0, true, false, false, SolveStage::Unbounded},
        {{1, "x", {"x<1", "x>2"}}, 0, true, false, false, SolveStage::Infeasible},
        {{1, "", {"x<1"}}, 0, false, false, false, SolveStage::Building},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.objective + " " + std::to_string(c.steps));
        SolveSession session;
        ScriptedHost host(session, c.text);
        if (c.steps == 1) session.Step(host.Typed(), host);
        else session.Solve(host.Typed(), host);
        EXPECT_EQ(session.Ready(), c.ready);
        EXPECT_EQ(session.error.empty(), c.ready);
        EXPECT_EQ(session.Running(), c.running);
        EXPECT_EQ(session.Optimal(), c.optimal);
        if (c.ready) {
            EXPECT_EQ(session.Stage(), c.stage);
        }
    }
}

// The method the session names applies from the next build: a tableau
// being solved keeps its own until the text is built again.
TEST(SolveSession, TheMethodAppliesFromTheNextBuild) {
    SolveSession session;
    ScriptedHost host(session, {0, "2x+3y", {"x+y>4", "x+3y>6", "x>0", "y>0"}});
    session.SetMethod(SolveMethod::TwoPhases);
    session.Step(host.Typed(), host);
    EXPECT_EQ(session.problem.Method, SolveMethod::TwoPhases);
    EXPECT_EQ(session.problem.Artificials.rows.size(), 2u);
    session.SetMethod(SolveMethod::Compact);
    session.Step(host.Typed(), host);
    EXPECT_EQ(session.problem.Method, SolveMethod::TwoPhases);
    session.Solve(host.Typed(), host);
    EXPECT_EQ(session.Stage(), SolveStage::Optimal);
    EXPECT_FALSE(session.Optimal());  // no sensitivity of an artificial tableau
    // "Una Solución" after the optimum builds again, now by the compact method.
    session.Solve(host.Typed(), host);
    EXPECT_EQ(session.problem.Method, SolveMethod::Compact);
    EXPECT_TRUE(session.Optimal());
    EXPECT_EQ(session.problem.Tableau.Index(session.problem.Tableau.rows, session.problem.Tableau.cols), -9);
}

} // namespace

// The analysis of an optimum is made once, whatever the requests, and made
// again only for an optimum the steps reach anew.
TEST(SolveSession, SensitivityIsAnalysedOncePerOptimum) {
    SolveSession session;
    ScriptedHost host(session, Separable(2));
    session.Solve(host.Typed(), host);
    ASSERT_TRUE(session.Optimal());
    const SensitivityReport& first = session.Sensitivity();
    EXPECT_DOUBLE_EQ(first.objective, 2.0);  // x1 = x2 = 1
    const SensitivityReport& second = session.Sensitivity();
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(session.SensitivityAnalyses(), 1);

    // "Una Solución" again: the build and the steps anew, to the same optimum.
    session.Solve(host.Typed(), host);
    ASSERT_TRUE(session.Optimal());
    EXPECT_DOUBLE_EQ(session.Sensitivity().objective, 2.0);
    EXPECT_EQ(session.SensitivityAnalyses(), 2);
    session.Sensitivity();
    EXPECT_EQ(session.SensitivityAnalyses(), 2);

    // The dual's optimum equals the primal's, and is solved once as well.
    for (int request = 0; request < 2; ++request) {
        double dual = 0;
        EXPECT_TRUE(session.DualOptimum(dual));
        EXPECT_DOUBLE_EQ(dual, 2.0);
    }
    EXPECT_EQ(session.SensitivityAnalyses(), 3);
}

namespace {

// Whether the engine's doubles are its exact tableau's, cell by cell.
bool RoundedNow(const EngineState& e) {
    const MatrixR rounded = e.ExactTableau.ToReal();
    const size_t cells = size_t(rounded.rows) * rounded.cols;
    return rounded.rows == e.Tableau.rows && rounded.cols == e.Tableau.cols &&
           std::equal(rounded.RowData(1), rounded.RowData(1) + cells, e.Tableau.RowData(1));
}

// The window's part for the steps it does not show; at each 100-step
// question it counts the doubles found behind.
struct UnseenHost : optimara::testing::SessionHost {
    UnseenHost(SolveSession& s, ProblemText text) : SessionHost(s, std::move(text)), session(s) { keepEveryCopy = false; }
    SolveSession& session;
    int behindWhenAsked = 0;
    bool AskRestart() override { return behindWhenAsked += !RoundedNow(session.problem), SessionHost::AskRestart(); }
};

} // namespace

// "Una Solución" in exact arithmetic rounds its tableau to doubles only where
// they are read: every note, the tableau at the 100-step question, the last
// one and each one going back are those of "Paso a paso" pressed to the end.
TEST(SolveSession, ExactStepsNotShownReadAsIfShown) {
    const std::pair<ProblemText, SolveMethod> cases[] = {
        {optimara::testing::KleeMinty(7), SolveMethod::Compact},  // 127 pivots: a checkpoint at 64, a question at 100
        {{0, "x+2y-z", {"x+y+z>3", "x-y<2", "y-z>-1", "x>0", "y>0"}}, SolveMethod::TwoPhases},
        {{1, "3x+2y", {"x+y<4", "x+3y>6", "x<3", "x>0", "y>0"}}, SolveMethod::BigM},
    };
    for (const auto& [text, method] : cases) {
        SCOPED_TRACE(text.objective);
        SolveSession shown, unseen;
        for (SolveSession* s : {&shown, &unseen}) {
            s->problem.Exact = true;
            s->problem.Rule = PivotRule::LargestCoefficient;
            s->SetMethod(method);
        }
        optimara::testing::SessionHost shownHost(shown, text);
        UnseenHost unseenHost(unseen, text);
        do shown.Step(shownHost.Typed(), shownHost);
        while (shown.Running());
        unseen.Solve(unseenHost.Typed(), unseenHost);
        EXPECT_EQ(unseenHost.questions, method == SolveMethod::Compact ? 1 : 0);
        EXPECT_EQ(unseenHost.behindWhenAsked, 0);
        EXPECT_TRUE(RoundedNow(unseen.problem));
        const auto &a = shown.Steps.Notes(), &b = unseen.Steps.Notes();
        ASSERT_EQ(a.size(), b.size());
        for (size_t k = 0; k < a.size(); ++k) {
            EXPECT_EQ(b[k].objective, a[k].objective) << k;
            EXPECT_EQ(b[k].feasible, a[k].feasible) << k;
            EXPECT_TRUE(std::equal(b[k].point, b[k].point + 3, a[k].point)) << k;
        }
        // Back over the history's last checkpoint and beyond.
        for (int back = 0; back < 70 && unseen.Steps.CanUndo(); ++back) {
            unseen.Back();
            ASSERT_TRUE(RoundedNow(unseen.problem)) << back;
        }
    }
}

// A press reads the typed text again only when it changed: the line that
// asks for whole numbers, typed between two presses, starts the search.
TEST(SolveSession, AWholeNumberLineTypedBetweenPressesStartsTheSearch) {
    ProblemText typed{1, "3x+2y", {"x+y<4.5", "x>0", "y>0"}};
    SolveSession session;
    ScriptedHost host(session, typed);
    const SolveSession::TypedText current = [&] { return typed; };
    EXPECT_EQ(session.Step(current, host), SolveRun::Simplex);
    EXPECT_EQ(session.Step(current, host), SolveRun::Simplex);
    typed.lines.push_back("entero: x,y");
    EXPECT_EQ(session.Step(current, host), SolveRun::Search);
}
