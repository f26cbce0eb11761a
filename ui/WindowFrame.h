// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window as its features and its solve host see it: each interface's
// calls put the window's own controls to their use. Only the window's
// sources include this.
#include "FeatureHost.h"
#include "MainWindow.h"
#include "MenuPlaces.h"
#include "WindowHost.h"

namespace optimara {

class TForm1::Frame : public FeatureHost, public SolveWindow {
public:
    explicit Frame(TForm1& window) : host(*this), w_(window) {}

    // The menus' named places, filled by the features.
    MenuPlaces places;
    // What runs the solve commands' steps on the window.
    WindowHost host;
    // How many displays of the tableau and restart questions the solve
    // commands have run.
    int steps = 0;
    int questions = 0;

    // Both interfaces.
    ProblemText ReadProblemText() const override { return w_.ReadProblemText(); }
    void ShowTableau() override { w_.ShowTableau(); }

    // The features' view.
    AppState& State() override { return w_.state_; }
    bool ErrorFree() const override { return w_.state_.error.empty(); }
    bool Maximizing() const override;
    NodeSolveHost& Solver() override { return host; }
    void SolveAgain() override { w_.Button1Click(); }
    void StepAgain() override { w_.Button2Click(); }
    std::string ProblemCaption() const override;
    void ReplaceProblem(const files::ProblemDocument& problem, const QString& fileName) override {
        w_.ReplaceProblem(problem, fileName);
    }
    bool MayReplaceProblem() override { return w_.MayReplaceProblem(); }
    void PutNewProblem(const ProblemText& problem) override;
    // Where the steps stand: the status panel, the picture's layers and
    // every feature's aids.
    void ShowStepAids() override;
    // The picture's layers, every feature's in the list's order.
    void DrawLayersOn(PictureBox* image);
    void ShowProblemAnew() override;
    void RefusePivot(int gridRow, int gridCol) override;
    bool Floating() const override { return w_.Floating(); }
    const std::string& DecimalSeparator() const override { return w_.separator_; }
    int Zoom() const override { return w_.state_.zoom; }
    void ShowZoom(int percent) override;
    QAction* AddMenuItem(MenuPlace place, const QString& caption, const QString& name) override;
    void AddMenuSeparator(MenuPlace place) override;
    QMenu* AddMenu(MenuPlace place, const QString& title, const QString& name) override;
    QAbstractItemView* Grid() override;
    PictureBox* ShowingPicture() const override { return w_.ShowingPicture(); }
    void PlaceBand(QWidget* band) override;
    void ShowBand(bool wanted) override;
    StatusPanels& Status() override { return *w_.StatusBar1; }
    QWidget* Window() override { return &w_; }
    Questions& Ask() override { return *w_.questions_; }
    bool WorkAreaVisible() const override;
    PlotColors Colors() const override { return w_.Colors(); }
    void DrawLayers() override;

    // The solve host's view.
    SolveSession& Session() override { return w_.state_; }
    void ShowPanel(int panel, const std::string& text, bool repaint) override;
    void ListNames(const std::vector<std::string>& names) override;
    void SelectSource(int source) override;
    void ClearPicture() override { w_.ClearPicture(); }
    void DrawWorkPicture() override { w_.DrawPlot(w_.Image1); }
    void NoteTableau(bool afterBuild, bool keepCopy) override;
    void CountStep() override { ++steps; }
    bool AskRestart() override;
    bool AskMoreNodes() override;
    bool AskMoreCuts() override;

private:
    TForm1& w_;
};

} // namespace optimara
