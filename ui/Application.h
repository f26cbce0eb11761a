// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application object, its error box and the start-up sequence.
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <functional>
#include <memory>

namespace optimara {

class Questions;
class TForm1;
class TForm2;
class TForm4;

// Any failure that escapes an event handler ends in the error box and the
// event loop goes on.
class OptimaraApplication : public QApplication {
    Q_OBJECT
public:
    OptimaraApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The application's error box: the failure's text followed by ".", caption
// "Optimara", error icon, one OK button.
void ShowErrorBox(const QString& text);
// Makes a message box at least as wide as its caption needs, so the
// window manager shows the caption whole.
inline constexpr int kTitleBarButtonsWidth = 120;
void WidenToCaption(QMessageBox& box);
// When set, gets the failure's text instead of the box being shown: for a
// run where no user answers the box.
std::function<void(const QString& text)>& ErrorBoxHook();
// Runs a command; a failure it raises goes to the error box.
void RunGuarded(const std::function<void()>& command);
// Connects a signal to a command run guarded, for as long as `context` lives.
template <typename Sender, typename Signal>
void ConnectGuarded(Sender* sender, Signal signal, QObject* context, std::function<void()> command) {
    QObject::connect(sender, signal, context, [command] { RunGuarded(command); });
}
// A checkable menu item turns its mark over by itself; the command does that.
void ConnectToggle(QAction* item, QObject* context, std::function<void()> command);

// Installs Qt's Spanish translation of its own texts; false when it is
// not installed on this system (the toolkit then speaks English).
bool LoadToolkitTranslation();

// Application title, toolkit translation, icon and the font faces standing in for the design's
// "MS Sans Serif", "Arial" and "Courier New".
void SetUpApplication();

// What start-up is given from outside: the problem file named on the
// command line (empty for none) and where an installed copy keeps its data.
struct StartOptions {
    QString startFile;
    QString dataFolder;
};
StartOptions DefaultStartOptions();

// The three windows in their order of creation: the main window, the About
// window and the read-me window (which loads its text, reporting a missing
// file in the error box and going on). The main window asks its questions
// in dialogs unless it is given others.
struct Windows {
    std::unique_ptr<TForm1> main;
    std::unique_ptr<TForm2> about;
    std::unique_ptr<TForm4> readme;
    Windows();
    ~Windows();
};
std::unique_ptr<Windows> CreateWindows(const StartOptions& options = DefaultStartOptions(),
                                       std::unique_ptr<Questions> questions = nullptr);

// Runs the whole desktop application; returns the process exit code. The
// help and version texts are printed without a display.
int RunApplication(int argc, char** argv);

} // namespace optimara
