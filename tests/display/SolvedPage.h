// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A typed problem solved pivot by pivot as the window's steps do, and its
// page of steps as the window builds it; a tool run in a folder. Shared by
// the tests of the LaTeX and PDF handouts.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>

#include <string>

#include "BuildProblem.h"
#include "SensitivityView.h"
#include "StepsReport.h"

namespace optimara {

// A tool run in the folder: what it wrote, and its exit code.
inline std::string Run(const char* program, const QStringList& args, const QString& folder, int& code) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.closeWriteChannel();
    p.waitForFinished(120000);
    code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAll().toStdString();
}

inline size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// A typed problem solved as the window's steps do, pivot by pivot, each
// step recorded; the largest coefficient's rule unless told.
struct Solved {
    ProblemState state;
    StepHistory history;
    ProblemText text;
    bool maximize;
    Solved(const ProblemText& typed, SolveMethod method, bool exact, size_t steps = 10000,
           PivotRule rule = PivotRule::LargestCoefficient)
        : text(typed), maximize(typed.comboIndex == 1) {
        state.Rule = rule;
        state.Exact = exact;
        state.BuildMethod = method;
        BuildReport report;
        BuildProblem(state, text, report);
        EXPECT_EQ(report.errorPanel, "") << typed.objective;
        state.ProblemReady = true;
        history.Start(state, NoteOf(state, maximize));
        for (size_t k = 0; k < steps && state.Stage == SolveStage::Choosing; ++k) {
            history.SetNextPivot(ChosenCell(state.PivotMarks));
            NextStep(state);
            history.Record(state, NoteOf(state, maximize));
        }
    }
};

inline StepsPageInput InputOf(const Solved& s, TableauForm form, const NumberText& numbers) {
    StepsPageInput in;
    in.maximize = s.maximize;
    in.sense = s.maximize ? "Maximizar" : "Minimizar";
    in.objective = s.text.objective;
    in.heading = "Sujeto a:";
    in.lines = s.text.lines;
    in.notation = numbers.floating ? "coma flotante" : "racional";
    in.numbers = numbers;
    in.form = form;
    return in;
}

// The page as the window writes it, its sensitivity and dual at the optimum
// (which reads a compact tableau: an artificial method's optimum has none).
inline files::StepsPage PageOf(Solved& s, TableauForm form, const NumberText& numbers) {
    files::StepsPage page = BuildStepsPage(s.state, s.history, InputOf(s, form, numbers));
    if (UsesArtificials(s.state.Method)) return page;
    const SensitivityView view =
        ComputeSensitivityView(s.state, s.text, true, numbers.floating, numbers.separator);
    if (view.available) {
        files::StepsPageSensitivity& out = page.sensitivity;
        std::copy(kSensitivityLineHeadings.begin(), kSensitivityLineHeadings.end(), out.lineHeadings.begin());
        std::copy(kSensitivityVariableHeadings.begin(), kSensitivityVariableHeadings.end(), out.variableHeadings.begin());
        out.lines = view.lines;
        out.variables = view.variables;
        out.words = view.words;
        out.dual = view.dual;
        out.optima = "Óptimo del primal: " + view.primalOptimum + "; óptimo del dual: " + view.dualOptimum;
    }
    return page;
}

} // namespace optimara
