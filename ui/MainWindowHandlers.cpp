// SPDX-License-Identifier: GPL-3.0-or-later
// The handlers of the main window's buttons, menu items and edits.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>
#include <QWindow>

#include "Application.h"
#include "AuxWindows.h"
#include "Legibility.h"
#include "MainWindow.h"
#include "WorkAreaLayout.h"
#include "WindowFrame.h"
#include "WindowHost.h"
#include "WindowPlacement.h"

namespace optimara {

void TForm1::FormCreate() {
    state_.sessionFolder = files::ChooseSessionFolder(QDir::currentPath(), files::DefaultStateFolder());
    // Placed for the size the window is created with; the size it opens
    // with, once shown, may still move it (its first exposure).
    ArrangeWorkArea();
    Button9Click();
    ComboBox1->setCurrentIndex(1);
    // The last run's problem, notation and file name, or the file named at
    // start; FormShow solves it.
    if (startFile_.isEmpty()) {
        RestoreSession();
    } else {
        OpenStartFile(startFile_);
    }
}

void TForm1::FormShow() { Button1Click(); }

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    // The window manager gives a maximised window its size after it is
    // shown, before it is first exposed.
    if (QWindow* window = windowHandle()) window->installEventFilter(this);
    RunGuarded([this] { FormShow(); });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    QWindow* window = windowHandle();
    if (watched == window && event->type() == QEvent::Expose && window->isExposed()) {
        window->removeEventFilter(this);
        // The work area is arranged for the size the window opens with: a
        // window opened maximised has the picture reach to its right and
        // bottom edges and a wider tableau.
        RunGuarded([this] { ArrangeWorkArea(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormResize() {
    // In the work layout the tableau and the picture share the new room.
    if (Image3->isHidden()) {
        if (shown_) ArrangeWorkArea();
        return;
    }
    const QSize client = ClientSize();
    Image3->Place(QRect(0, 0, client.width() - 1, client.height() - 1), Colors().btnFace);
    DrawPlot(Image3);
}

QSize TForm1::ClientSize() const {
    // Before the window is first shown its inside has not been laid out yet;
    // the window is then at its design size. The explanation's band is no
    // part of the work area's room.
    if (!shown_) return QSize(kDesignClientWidth, kDesignClientHeight);
    const int band = Client->BandHeight();
    return Client->size() - QSize(0, band);
}

void TForm1::Button1Click() {
    WindowHost& host = frame_->host;
    host.BeginUnseenSteps();
    SolveRun run = SolveRun::Nothing;
    try {
        run = state_.Solve([this] { return ReadProblemText(); }, host);
    } catch (...) {
        host.EndUnseenSteps();
        throw;
    }
    host.EndUnseenSteps();
    Tell(features_, [run](Feature& f) { f.SolveRan(run); });
}

void TForm1::Button2Click() {
    const SolveRun run = state_.Step([this] { return ReadProblemText(); }, frame_->host);
    Tell(features_, [run](Feature& f) { f.SolveRan(run); });
}

void TForm1::RotateClick(Axis axis, int direction) {
    RotateView(state_.plot, axis, direction);
    DrawPlot(Image1);
}

void TForm1::Button9Click() {
    SetDefaultView(state_.plot);
    DrawPlot(Image1);
}

void TForm1::FloatingPoint1Click() {
    FloatingPoint1->setChecked(true);
    Rational1->setChecked(false);
    ShowTableau();
}

void TForm1::Rational1Click() {
    FloatingPoint1->setChecked(false);
    Rational1->setChecked(true);
    ShowTableau();
}

bool TForm1::Floating() const { return FloatingPoint1->isChecked(); }

void TForm1::ViewAxis1Click() {
    ViewAxis1->setChecked(!ViewAxis1->isChecked());
    DrawPlot(Restore1->isEnabled() ? Image3 : Image1);
}

void TForm1::ShowWorkArea(bool visible) {
    const Qt::ScrollBarPolicy bars = visible ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    WorkScroll->setHorizontalScrollBarPolicy(bars);
    WorkScroll->setVerticalScrollBarPolicy(bars);
    // Enlarged, the work area is exactly the client area, unscrolled, so
    // the enlarged picture at (0, 0) covers it.
    WorkArea->setMinimumSize(visible ? layout_->Minimum(Zoom(), StatusBar1->height()) : QSize(0, 0));
    Image3->setVisible(!visible);
    QWidget* work[] = {Image1, RichEdit1, Edit1, Edit2, ComboBox1, StringGrid1, Button1, Button2,
                       Button3, Button4, Button5, Button6, Button7, Button8, Button9, ListBox2,
                       ListBox3, StatusBar1};
    for (QWidget* w : work) w->setVisible(visible);
    Enlarge1->setEnabled(visible);
    Restore1->setEnabled(!visible);
    for (QAction* a : {Open1, Save1, Saveas1, Clear1}) a->setEnabled(visible);
    for (QLabel* l : {Label1, Label2, Label3, Label4}) l->setVisible(visible);
    for (const auto& feature : features_) feature->WorkAreaShown(visible);
    Client->Arrange();
    Shape1->raise();
}

void TForm1::Enlarge1Click() {
    ShowWorkArea(false);
    // The enlarged picture fills the client area from the start, not only
    // after the next change of the window's size.
    const QSize client = ClientSize();
    Image3->Place(QRect(0, 0, client.width() - 1, client.height() - 1), Colors().btnFace);
    DrawPlot(Image3);
}

void TForm1::Restore1Click() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    ShowWorkArea(true);
    ArrangeWorkArea();
    DrawPlot(Image1);
}

void TForm1::About1Click() {
    if (!about_) return;
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void TForm1::Readme1Click() {
    if (!readme_) return;
    if (!readme_->isVisible()) {
        // Sized again now that the main window's frame is known: a window
        // as tall as the screen must leave room for its own.
        readme_->SetZoom(Zoom(), this);
        OpenBeside(readme_, this);
    }
    readme_->show();
    readme_->raise();
    readme_->activateWindow();
}

void TForm1::Exit1Click() { close(); }

void TForm1::RichEdit1Change() {
    state_.problem.ProblemReady = false;
    state_.session.Changed();
    ShowCaption();
}

ProblemText TForm1::ReadProblemText() const {
    ProblemText text;
    text.comboIndex = ComboBox1->currentIndex();
    text.objective = Edit1->text().toStdString();
    const int count = RichEdit1->LineCount();
    text.lines.reserve(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) text.lines.push_back(RichEdit1->Line(k).toStdString());
    // An empty editor still holds one empty block; it is no line.
    if (count == 1 && text.lines[0].empty() && RichEdit1->document()->isEmpty()) text.lines.clear();
    return text;
}

void TForm1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LocaleChange) separator_ = DecimalSeparatorOf(locale());
    // Another style or colour scheme: the results' colours are derived anew.
    if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::StyleChange)
        for (QWidget* result : {static_cast<QWidget*>(ListBox2), static_cast<QWidget*>(ListBox3),
                                static_cast<QWidget*>(Edit2)})
            KeepLegibleWhenDisabled(result);
    QMainWindow::changeEvent(event);
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    // "Una Solución" is the window's default button: Enter in a control that
    // does not use it presses the button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && Button1->isVisible() && Button1->isEnabled()) {
        Button1->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace optimara
