// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window as a frame: every control the user works with, the four
// menus and the learning aids' one, the handlers they are wired to, and the
// list of features that own everything else (Features.cpp). The solution
// lives in the solve session (problem/), which the window asks where it
// stands; the drawing in plot/. The window shows what they leave.
#include <QMainWindow>
#include <memory>
#include <string>

#include "AppState.h"
#include "Controls.h"
#include "Feature.h"
#include "Questions.h"

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
class WorkAreaLayout;

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

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Without questions the window asks its user in dialogs. A start file
    // (named on the command line) is opened in place of the last run's problem.
    explicit TForm1(std::unique_ptr<Questions> questions = nullptr, const QString& startFile = QString(),
                    QWidget* parent = nullptr);
    ~TForm1() override;

    AppState& State() { return state_; }
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

    // The size of the results' texts and the picture's lines, in percent.
    int Zoom() const { return state_.zoom; }

    void ShowWorkArea(bool visible);
    void ShowTableau();
    // Widens the grid's columns to their texts.
    void FitGridColumns();
    PlotKind DrawPlot(PictureBox* image);
    void ClearPicture();
    ProblemText ReadProblemText() const;
    PlotColors Colors() const;
    // The client size: the window's inside below the menu bar.
    QSize ClientSize() const;

    QString CurrentFileName() const;
    const std::string& DecimalSeparator() const { return separator_; }
    bool Floating() const;

    // How many displays of the tableau and restart questions the solve
    // commands have run: what a test or a benchmark observes of them.
    int StepCount() const;
    int QuestionCount() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // What the features and the solve host see of the window
    // (MainWindowFeatures.cpp): the window's own parts put to their use.
    class Frame;

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

    // The menu items the handlers turn on and off or mark; the others are
    // wired where they are made.
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Saveas1 = nullptr;
    QAction* Clear1 = nullptr;
    QAction* FloatingPoint1 = nullptr;
    QAction* Rational1 = nullptr;
    QAction* ViewAxis1 = nullptr;
    QAction* Enlarge1 = nullptr;
    QAction* Restore1 = nullptr;
    // The window's features.
    std::vector<std::unique_ptr<Feature>> features_;

    void CreateControls();
    void CreateProblemControls();
    void CreateResultControls();
    void CreatePictureControls();
    // The menus of the bar, with the places the features fill.
    void CreateMenus();
    void PlaceControls();
    void WireHandlers();
    void RotateClick(Axis axis, int direction);
    PictureBox* ShowingPicture() const;
    void SetViewButtonsEnabled(bool enabled);
    // Problem files and the session (MainWindowFiles.cpp).
    // The one place the caption is written: always the session's.
    void ShowCaption();
    void LoadProblem(const files::ProblemDocument& problem);
    bool SaveProblem();    // false when the save dialog was cancelled
    bool SaveProblemAs();  // likewise
    // Unsaved work was saved or let go; false when the user cancelled.
    bool MayReplaceProblem();
    void ReplaceProblem(const files::ProblemDocument& problem, const QString& fileName);
    void RestoreSession();
    // Places the grid, the results, the view buttons and the picture for
    // the client size and the zoom: the design places at the design size.
    void ArrangeWorkArea();
    std::unique_ptr<WorkAreaLayout> layout_;

    AppState state_;
    std::unique_ptr<Frame> frame_;
    std::unique_ptr<Questions> questions_;
    std::string separator_ = ".";
    TForm2* about_ = nullptr;
    TForm4* readme_ = nullptr;
    bool shown_ = false;
    QString startFile_;
};

} // namespace optimara
