// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: every control the user works with, the menus, and the
// handlers they are wired to. The handlers only route: the solution lives in
// the solve session (problem/), which the window asks where it stands, the
// drawing in plot/; the window shows what they leave.
#include <QMainWindow>
#include <memory>
#include <string>

#include "AppState.h"
#include "Controls.h"
#include "Feature.h"
#include "MenuPlaces.h"
#include "Questions.h"
#include "SensitivityView.h"
#include "StepsReport.h"
#include "WindowHost.h"

class QAction;
class QComboBox;
class QMenu;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTableView;

namespace optimara::files {
struct ProblemDocument;
}

namespace optimara {

class TForm2;
class TForm4;
class TBranchForm;

// The window's inside: the work area (scrolled when the window is small)
// above a band for a feature's panel and the status bar. It tells the window when its size changes.
class ClientArea : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    void Arrange();
    // The band under the work area takes a share of the client area's
    // height while shown; nothing without one.
    void SetBand(QWidget* band) { band_ = band; }
    QWidget* Band() const { return band_; }
    int BandHeight() const;
signals:
    void Resized();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* band_ = nullptr;
};

class TForm1 : public QMainWindow, private FeatureHost, public SolveWindow {
    Q_OBJECT
public:
    // Without questions the window asks its user in dialogs. A start file
    // (named on the command line) is opened in place of the last run's problem.
    explicit TForm1(std::unique_ptr<Questions> questions = nullptr, const QString& startFile = QString(),
                    QWidget* parent = nullptr);
    ~TForm1() override;

    AppState& State() override { return state_; }
    void SetAuxWindows(TForm2* about, TForm4* readme);

    // The design client size: the size FormCreate places the picture in.
    static constexpr int kDesignClientWidth = 644;
    static constexpr int kDesignClientHeight = 399;
    // The grid's narrowest column.
    static constexpr int kGridColumnWidth = 40;

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormResize();
    void Button1Click();
    void Button2Click();
    void Button3Click() { RotateClick(Axis::Z, +1); }
    void Button4Click() { RotateClick(Axis::Z, -1); }
    void Button5Click() { RotateClick(Axis::Y, +1); }
    void Button6Click() { RotateClick(Axis::Y, -1); }
    void Button7Click() { RotateClick(Axis::X, +1); }
    void Button8Click() { RotateClick(Axis::X, -1); }
    void Button9Click();
    void FloatingPoint1Click();
    void Rational1Click();
    void ViewAxis1Click();
    void SaveImageAs1Click();
    void Enlarge1Click();
    void Restore1Click();
    void About1Click();
    void Readme1Click();
    void Exit1Click();
    void RichEdit1Change();
    void Open1Click();
    void Save1Click();
    void Saveas1Click();
    void Clear1Click();
    void FormCloseQuery();
    // FormCreate's restore step when a file was named at start: the file is
    // opened as "&Abrir" opens it (FormShow then solves it), keeping the
    // notation of the last run; a file that cannot be read is reported and
    // the last run's problem comes back instead.
    void OpenStartFile(const QString& fileName);
    // Writes the problem with its header lines; then not modified.
    void ProblemFileWriter(const QString& fileName);
    // The learning aids of the "&Pasos" menu and the road on the picture
    // (MainWindowSteps.cpp).
    void StepBack1Click();
    void StepForward1Click();
    void ChoosePivot1Click();
    void ViewPath1Click();
    void SaveStepsAs1Click();
    // "Árbol de &ramificación": the nodes of the last branch and bound.
    void Tree1Click();
    void ViewIntegers1Click();
    // Writes the page of the steps made so far to the file.
    void SaveStepsTo(const QString& fileName);
    // The solve host's report of a tableau just made: the first one of a
    // build, or one more pivot. keepCopy keeps it whole for a quick step back.
    void NoteTableau(bool afterBuild, bool keepCopy) override;

    // The size of the results' texts and the picture's lines, in percent.
    int Zoom() const override { return state_.zoom; }

    void ShowWorkArea(bool visible);
    void ShowTableau() override;
    // Widens the grid's columns to their texts.
    void FitGridColumns();
    PlotKind DrawPlot(PictureBox* image);
    void ClearPicture() override;
    // Focus and selection of the text a build found at fault (-1 Edit1, k line k).
    void SelectSource(int source) override;
    ProblemText ReadProblemText() const override;
    PlotColors Colors() const override;
    // The client size: the window's inside below the menu bar.
    QSize ClientSize() const;

    QString CurrentFileName() const;
    const std::string& DecimalSeparator() const override { return separator_; }
    bool Floating() const override;

    // How many displays of the tableau and restart questions the solve
    // commands have run: what a test or a benchmark observes of them.
    int StepCount() const { return stepCount_; }
    int QuestionCount() const { return questionCount_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Controls, named as the window layout names them.
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label1 = nullptr;
    ConstraintEditor* RichEdit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QLabel* Label4 = nullptr;
    QTableView* StringGrid1 = nullptr;
    TableauModel* GridModel = nullptr;
    std::unique_ptr<TextWidths> gridWidths_;  // measures the grid's texts in its font
    QListWidget* ListBox3 = nullptr;
    QLabel* Label2 = nullptr;
    QListWidget* ListBox2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QListWidget* ListBox1 = nullptr;
    PictureBox* Image1 = nullptr;
    MarkerShape* Shape1 = nullptr;
    PictureBox* Image3 = nullptr;
    StatusPanels* StatusBar1 = nullptr;
    ClientArea* Client = nullptr;
    QScrollArea* WorkScroll = nullptr;
    QWidget* WorkArea = nullptr;

    // Menus and their items.
    QMenu* FileMenu = nullptr;
    QMenu* NotationMenu = nullptr;
    QMenu* ImageMenu = nullptr;
    QMenu* HelpMenu = nullptr;
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Saveas1 = nullptr;
    QAction* Clear1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* FloatingPoint1 = nullptr;
    QAction* Rational1 = nullptr;
    QAction* ViewAxis1 = nullptr;
    QAction* SaveImageAs1 = nullptr;
    QAction* Enlarge1 = nullptr;
    QAction* Restore1 = nullptr;
    QAction* Readme1 = nullptr;
    QAction* About1 = nullptr;
    // The learning aids: the steps menu, the road on the picture, the page
    // of steps, and the grid's menu for choosing the pivot.
    QMenu* StepsMenu = nullptr;
    QAction* StepBack1 = nullptr;
    QAction* StepForward1 = nullptr;
    QAction* ChoosePivot1 = nullptr;
    QAction* ViewPath1 = nullptr;
    QAction* SaveStepsAs1 = nullptr;
    QAction* Tree1 = nullptr;
    QAction* ViewIntegers1 = nullptr;
    QMenu* GridMenu1 = nullptr;
    QAction* PivotHere1 = nullptr;
    // The window's features and the menu places they put their items in.
    MenuPlaces places_;
    std::vector<std::unique_ptr<Feature>> features_;

    void CreateControls();
    // FormCreate's placement rule of Image1 for a client size.
    void PlaceImage1(const QSize& client);
    // The window's first exposure, at the size it opened with.
    void WindowOpened();
    void CreateProblemControls();
    void CreateResultControls();
    void CreatePictureControls();
    void CreateMenus();
    void PlaceControls();
    void WireHandlers();
    void RotateClick(Axis axis, int direction);
    // The solve host's view of the window.
    SolveSession& Session() override { return state_; }
    void ShowPanel(int panel, const std::string& text, bool repaint) override;
    void ListNames(const std::vector<std::string>& names) override;
    void DrawWorkPicture() override { DrawPlot(Image1); }
    void CountStep() override { ++stepCount_; }
    bool AskRestart() override;
    bool AskMoreNodes() override;
    void ReadDecimalSeparator();
    void ApplyMarker(const Marker& marker);
    Marker CurrentMarker() const;
    PictureBox* ShowingPicture() const override;
    void SetViewButtonsEnabled(bool enabled);
    // Problem files and the session (MainWindowFiles.cpp).
    // The one place the caption is written: always the session's.
    void ShowCaption();
    files::ProblemDocument CurrentProblem() const;
    void LoadProblem(const files::ProblemDocument& problem);
    bool SaveProblem();    // false when the save dialog was cancelled
    bool SaveProblemAs();  // likewise
    void RestoreSession();
    // A file of the session, in the folder chosen for it.
    QString SessionFile(const char* name) const;
    void RestoreNotation(bool rational);
    void ReplaceProblem(const files::ProblemDocument& problem, const QString& fileName) override;
    template <typename Signal, typename Sender>
    void Route(Sender* sender, Signal signal, void (TForm1::*handler)());
    // A checkable menu item whose handler turns its mark over itself.
    void RouteToggle(QAction* item, void (TForm1::*handler)());
    // The learning aids (MainWindowSteps.cpp).
    // The features' view of the window (MainWindowFeatures.cpp).
    void CreateFeatures();
    void DefineMenuPlaces();
    bool ErrorFree() const override;
    bool Maximizing() const override;
    void SolveAgain() override;
    void ShowZoom(int percent) override;
    QAction* AddMenuItem(MenuPlace place, const QString& caption, const QString& name) override;
    void AddMenuSeparator(MenuPlace place) override;
    QMenu* AddMenu(MenuPlace place, const QString& title, const QString& name) override;
    void WatchGrid(QObject* filter) override;
    void PlaceBand(QWidget* band) override;
    void ShowBand(bool wanted) override;
    StatusPanels& Status() override { return *StatusBar1; }
    void SetSlackNames(bool named) override { slackNames_ = named; }
    bool MayReplaceProblem() override;
    QWidget* Window() override { return this; }
    Questions& Ask() override { return *questions_; }
    bool WorkAreaVisible() const override;
    void DrawLayers() override;
    // Places the grid, the results, the view buttons and the picture for
    // the client size and the zoom: the design places at the design size.
    void ArrangeWorkArea();
    void CreateStepAids();
    void WireStepAids();
    void ShowStepAids();
    void UpdateStepActions();
    void DrawPathOn(PictureBox* image);
    void ForgetSteps();
    void ChoosePivotAt(int gridRow, int gridCol);
    void GridMenuRequested(const QPoint& pos);
    std::string StepPanelText() const override;
    // Tells the features of a cell that cannot be the pivot.
    void ExplainRefusal(int gridRow, int gridCol);
    // Keeps whether the picture shows the integer points.
    void SavePreferences() const;

    // Branch and bound (MainWindowBranch.cpp): the session searches, the
    // window shows the search, its tree and its picture layer.
    void CreateBranchAids();
    // After presses of the search: where it stands, or the end it reached.
    void ShowSearchState();
    void ShowSearchEnd();
    std::string NodePanelText() const override;
    // What the explanation panel says of the search; `only` when it says
    // nothing else (a node looked at, the search's end).
    std::string SearchWords(bool& only) const override;
    // The first region's integer points, the shown node's bounds and the
    // best point found, over the layer.
    void DrawIntegersOn(QImage& layer, int variables) const;
    // Shows a node's last tableau; with ownRegion the picture shows the
    // node's region, else the typed problem's.
    void ShowBranchNode(int number, bool ownRegion);
    void UpdateBranchWindow();

    AppState state_;
    std::unique_ptr<WindowHost> host_;
    std::unique_ptr<Questions> questions_;
    int stepCount_ = 0;
    int questionCount_ = 0;
    std::string separator_ = ".";
    TForm2* about_ = nullptr;
    TForm4* readme_ = nullptr;
    TBranchForm* tree_ = nullptr;
    bool shown_ = false;
    bool slackNames_ = false;  // the grid names the slack variables
    QString startFile_;
    int menuRow_ = -1, menuCol_ = -1;    // the grid cell the context menu was opened on
};

} // namespace optimara
