// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The questions the main window puts to its user. The window is given them
// at construction; without them it asks in dialogs, and a host with nobody
// to answer (a benchmark, a test) gives its own answers.
#include <QString>

#include <functional>

#include "Exercises.h"

class QFileDialog;
class QPrinter;
class QWidget;

namespace optimara {

class Questions {
public:
    virtual ~Questions() = default;
    // After a hundred steps of a whole solution: go on for another hundred?
    virtual bool AskRestart(QWidget* window) = 0;
    // After a thousand nodes of branch and bound: go on for another thousand?
    virtual bool AskMoreNodes(QWidget* window) = 0;
    // The problem file to open; empty when cancelled.
    virtual QString ChooseOpenFile(QWidget* window) = 0;
    // The name to save under, offering `preset` (the current file, may be
    // empty); empty when cancelled.
    virtual QString ChooseSaveFile(QWidget* window, const QString& preset) = 0;
    // Unsaved work is about to be replaced: save it first?
    virtual bool AskToSave(QWidget* window) = 0;
    // The bitmap file to write the picture to; empty when cancelled.
    virtual QString ChooseImageFile(QWidget* window) = 0;
    // The page of the steps to write; empty when cancelled.
    virtual QString ChooseStepsFile(QWidget* window) = 0;
    // The LP file to export the problem to; empty when cancelled.
    virtual QString ChooseLpFile(QWidget* window) = 0;
    // The LaTeX file to write the steps to; empty when cancelled.
    virtual QString ChooseLatexFile(QWidget* window) = 0;
    // The PDF file to write the steps to; empty when cancelled.
    virtual QString ChoosePdfFile(QWidget* window) = 0;
    // The steps shown before they are printed, `paint` painting them on the
    // printer's pages (for the preview and for the printer chosen); false
    // when nothing was printed.
    virtual bool PrintSteps(QWidget* window, const std::function<void(QPrinter&)>& paint) = 0;
    // After fifty cutting planes: go on for another fifty?
    virtual bool AskMoreCuts(QWidget* window) = 0;
    // One more line for the problem at its optimum, typed as the problem's
    // lines are; empty when cancelled.
    virtual QString AskConstraint(QWidget* window) = 0;
    // The exercise to make: its size, sense, lines, integers, kind and
    // seed, starting from `request`; false when cancelled.
    virtual bool AskExercise(QWidget* window, ExerciseRequest& request) = 0;
};

// The user answers in message boxes and file dialogs.
class DialogQuestions : public Questions {
public:
    bool AskRestart(QWidget* window) override;
    bool AskMoreNodes(QWidget* window) override;
    QString ChooseOpenFile(QWidget* window) override;
    QString ChooseSaveFile(QWidget* window, const QString& preset) override;
    bool AskToSave(QWidget* window) override;
    QString ChooseImageFile(QWidget* window) override;
    QString ChooseStepsFile(QWidget* window) override;
    QString ChooseLpFile(QWidget* window) override;
    QString ChooseLatexFile(QWidget* window) override;
    QString ChoosePdfFile(QWidget* window) override;
    bool PrintSteps(QWidget* window, const std::function<void(QPrinter&)>& paint) override;
    bool AskMoreCuts(QWidget* window) override;
    QString AskConstraint(QWidget* window) override;
    bool AskExercise(QWidget* window, ExerciseRequest& request) override;

private:
    // Made on first use (a file dialog starts reading its folder as soon as
    // it exists), as children of the window, which deletes them.
    QFileDialog* OpenDialog1 = nullptr;
    QFileDialog* SaveDialog1 = nullptr;
    QFileDialog* SaveDialog2 = nullptr;
    QFileDialog* SaveDialog3 = nullptr;
    QFileDialog* SaveDialog4 = nullptr;
    QFileDialog* SaveDialog5 = nullptr;
    QFileDialog* SaveDialog6 = nullptr;
};

} // namespace optimara
