// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>

#include "../ui/display/StatusTexts.h"
#include "Driver.h"
#include "support/MatrixRows.h"

using namespace optimara;
using namespace optimara::testing;

namespace {

// A window stand-in: the build puts a prepared tableau in place, the
// question is answered by a scripted function.
class FakeWindow : public SolveHost {
public:
    EngineState engine;
    std::string errorPanel, statusPanel;
    std::function<void(FakeWindow&)> build;
    std::function<bool(FakeWindow&)> answer = [](FakeWindow&) { return true; };
    int builds = 0, shows = 0, questions = 0, plots = 0, cleared = 0;

    EngineState& Engine() override { return engine; }
    std::string ErrorPanel() const override { return errorPanel; }
    void SetErrorPanel(const std::string& t) override { errorPanel = t; }
    void ShowStage() override { statusPanel = StatusPanelText(engine.Stage, engine.AtBuild); }
    void ClearNames() override {}
    void BuildProblem() override {
        ++builds;
        build(*this);
        ShowStage();
    }
    void ClearPicture() override { ++cleared; }
    void DrawPlot() override { ++plots; }
    void ShowTableau() override { ++shows; }
    bool AskRestart() override {
        ++questions;
        return answer(*this);
    }
};

// n independent rows x_i <= 1 and the objective sum x_i: every column has to
// enter once, so the solution takes exactly n pivots after the build.
void BuildStaircase(FakeWindow& w, uint32_t n) {
    MatrixR& T = w.engine.Tableau;
    T.Redefine(n + 1, n + 1);
    for (uint32_t i = 1; i <= n; ++i) {
        T.Index(i, i) = 1;
        T.Index(i, n + 1) = -1;
        T.Index(n + 1, i) = 1;
    }
    w.engine.Labels.Redefine(2 * n, 1);
    for (uint32_t k = 1; k <= 2 * n; ++k) w.engine.Labels.Index(k, 1) = int32_t(k);
    w.engine.Stage = StageOf(SelectPivot(T, w.engine.PivotMarks, w.engine.CandidateCount, w.engine.Random));
    w.engine.AtBuild = true;
}

} // namespace

TEST(Driver, FirstStepBuildsAndMarksWithoutPivoting) {
    FakeWindow w;
    w.build = [](FakeWindow& f) { BuildStaircase(f, 3); };
    Button2Click(w);
    EXPECT_TRUE(w.engine.ProblemReady);
    EXPECT_EQ(w.builds, 1);
    EXPECT_EQ(w.cleared, 1);
    EXPECT_EQ(w.plots, 1);
    EXPECT_EQ(w.shows, 1);
    EXPECT_EQ(w.engine.Tableau.Index(4, 4), 0.0);
    Button2Click(w);
    EXPECT_EQ(w.builds, 1);
    EXPECT_EQ(w.engine.Tableau.Index(4, 4), 1.0);  // one pivot made
    EXPECT_EQ(w.plots, 1);                          // a pivot does not redraw
}

TEST(Driver, QuestionComesOnceForAProblemOfExactlyOneHundredSteps) {
    for (bool yes : {true, false}) {
        FakeWindow w;
        w.build = [](FakeWindow& f) { BuildStaircase(f, 99); };
        w.answer = [yes](FakeWindow&) { return yes; };
        Button1Click(w);
        EXPECT_EQ(w.questions, 1);
        EXPECT_EQ(w.statusPanel, "Hecho");
        EXPECT_EQ(w.shows, 100);
        EXPECT_EQ(w.engine.Tableau.Index(100, 100), 99.0);
    }
}

TEST(Driver, NoStopsRunningAndALaterSolveGoesOnWithoutRebuilding) {
    FakeWindow w;
    w.build = [](FakeWindow& f) { BuildStaircase(f, 150); };
    w.answer = [](FakeWindow&) { return false; };
    Button1Click(w);
    EXPECT_EQ(w.questions, 1);
    EXPECT_EQ(w.statusPanel, "");
    EXPECT_EQ(w.engine.Tableau.Index(151, 151), 99.0);
    w.answer = [](FakeWindow&) { return true; };
    Button1Click(w);
    EXPECT_EQ(w.builds, 1);
    EXPECT_EQ(w.questions, 1);  // 51 more pivots stay below a fresh 100
    EXPECT_EQ(w.statusPanel, "Hecho");
    EXPECT_EQ(w.engine.Tableau.Index(151, 151), 150.0);
}

TEST(Driver, OptimalAtBuildStopsAndSolveAgainChangesNothing) {
    FakeWindow w;
    w.build = [](FakeWindow& f) {
        BuildStaircase(f, 2);
        f.engine.Tableau.Index(3, 1) = -1;  // nothing left to improve
        f.engine.Tableau.Index(3, 2) = -1;
        EXPECT_EQ(SelectPivot(f.engine.Tableau, f.engine.PivotMarks, f.engine.CandidateCount, f.engine.Random), Optimal);
        f.engine.Stage = SolveStage::Optimal;
    };
    Button1Click(w);
    EXPECT_EQ(w.statusPanel, "vale");
    EXPECT_EQ(w.builds, 1);
    Button1Click(w);
    EXPECT_EQ(w.builds, 1);
    EXPECT_EQ(w.shows, 1);
    Button2Click(w);  // "Paso a paso" rebuilds
    EXPECT_EQ(w.builds, 2);
}

TEST(Driver, SolveAfterDoneRebuildsFromTheText) {
    FakeWindow w;
    w.build = [](FakeWindow& f) { BuildStaircase(f, 2); };
    Button1Click(w);
    EXPECT_EQ(w.statusPanel, "Hecho");
    Button1Click(w);
    EXPECT_EQ(w.builds, 2);
    EXPECT_EQ(w.statusPanel, "Hecho");
}

TEST(Driver, BuildErrorStopsAndLeavesTheReadyFlag) {
    FakeWindow w;
    w.build = [](FakeWindow& f) { f.errorPanel = "ERROR7: Inesperado final      "; };
    Button1Click(w);
    EXPECT_EQ(w.builds, 1);
    EXPECT_EQ(w.shows, 1);
    EXPECT_EQ(w.cleared, 0);
    EXPECT_EQ(w.plots, 0);
    EXPECT_FALSE(w.engine.ProblemReady);
    // A failed build while a problem was running does not clear the flag.
    FakeWindow v;
    v.build = [](FakeWindow& f) { BuildStaircase(f, 3); };
    Button2Click(v);
    v.engine.Stage = SolveStage::Unbounded;
    v.build = [](FakeWindow& f) { f.errorPanel = "ERROR3: Símbolo inapropiado"; };
    Button2Click(v);
    EXPECT_TRUE(v.engine.ProblemReady);
}

TEST(Driver, TinyEntriesAreSnappedBeforeTheNextPivotIsChosen) {
    FakeWindow w;
    w.build = [](FakeWindow& f) {
        SetRows(f.engine.Tableau, {{1, -1, -1}, {1e-16, 1, -5}, {1, 0, 0}});
        SetColumn(f.engine.Labels, {1, 2, 3, 4});
        f.engine.Stage = StageOf(SelectPivot(f.engine.Tableau, f.engine.PivotMarks, f.engine.CandidateCount, f.engine.Random));
    };
    Button2Click(w);
    ASSERT_EQ(MarksOf(w.engine.PivotMarks), (std::vector<std::vector<int32_t>>{{2, 0}, {0, 0}}));
    Button2Click(w);  // the step leaves -1e-16 in cell (2,1)
    MatrixR snapped(w.engine.Tableau);
    SnapTableau(snapped);
    EXPECT_TRUE(SameBits(snapped, w.engine.Tableau));
    EXPECT_EQ(w.engine.Tableau.Index(2, 1), 0.0);
}
