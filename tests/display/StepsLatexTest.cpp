// SPDX-License-Identifier: GPL-3.0-or-later
// The page of steps as LaTeX, built as the window builds it and compiled by
// pdflatex; the PDF read back by poppler's pdftotext and pdfinfo.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <random>
#include <regex>

#include "BranchView.h"
#include "BuildProblem.h"
#include "LpExport.h"
#include "SensitivityView.h"
#include "StepsLatex.h"
#include "StepsReport.h"
#include "catalogue/Catalogue.h"

namespace optimara {
namespace {

bool HaveTools() {
    for (const char* tool : {"pdflatex", "pdftotext", "pdfinfo"})
        if (QStandardPaths::findExecutable(tool).isEmpty()) return false;
    return true;
}

#define NEED_PDFLATEX() \
    if (!HaveTools()) GTEST_SKIP() << "pdflatex, pdftotext or pdfinfo is missing (make setup installs them)"

std::string Run(const char* program, const QStringList& args, const QString& folder, int& code) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.closeWriteChannel();
    p.waitForFinished(120000);
    code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAll().toStdString();
}

// What pdflatex made of a document: its exit code and log, and of the PDF
// its text and every page's size and turn.
struct Pdf {
    int code = -1;
    std::string log, text, info;
};

Pdf Compiled(const std::string& tex) {
    QTemporaryDir dir;
    QFile file(dir.filePath("pasos.tex"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(tex.data(), qint64(tex.size()));
    file.close();
    Pdf pdf;
    Run("pdflatex", {"-halt-on-error", "-interaction=nonstopmode", "pasos.tex"}, dir.path(), pdf.code);
    QFile log(dir.filePath("pasos.log"));
    if (log.open(QIODevice::ReadOnly)) pdf.log = log.readAll().toStdString();
    if (pdf.code != 0) return pdf;
    int code = 0;
    pdf.text = Run("pdftotext", {"-enc", "UTF-8", "-nopgbrk", "pasos.pdf", "-"}, dir.path(), code);
    pdf.info = Run("pdfinfo", {"-f", "1", "-l", "100000", "pasos.pdf"}, dir.path(), code);
    return pdf;
}

// The end of the log, where pdflatex says what stopped it.
std::string LogEnd(const Pdf& pdf) { return pdf.log.substr(pdf.log.size() > 1500 ? pdf.log.size() - 1500 : 0); }

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// The lines that head a tableau, "Tabla inicial" or "Paso 3".
size_t Headings(const std::string& text) {
    static const std::regex heading("^(Tabla inicial|Paso [0-9]+)$");
    size_t n = 0;
    for (size_t from = 0; from < text.size();) {
        const size_t end = std::min(text.find('\n', from), text.size());
        n += std::regex_match(text.begin() + long(from), text.begin() + long(end), heading);
        from = end + 1;
    }
    return n;
}

// A typed problem solved as the window's steps do, pivot by pivot, each
// step recorded.
struct Solved {
    ProblemState state;
    StepHistory history;
    ProblemText text;
    bool maximize;
    Solved(const ProblemText& typed, SolveMethod method, bool exact, size_t steps = 10000)
        : text(typed), maximize(typed.comboIndex == 1) {
        state.Rule = PivotRule::LargestCoefficient;
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

StepsPageInput InputOf(const Solved& s, TableauForm form, const NumberText& numbers) {
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
// (read from the compact method's optimum, the same whatever the method).
files::StepsPage PageOf(Solved& s, TableauForm form, const NumberText& numbers) {
    files::StepsPage page = BuildStepsPage(s.state, s.history, InputOf(s, form, numbers));
    const Solved plain(s.text, SolveMethod::Compact, false);
    const SensitivityView view =
        ComputeSensitivityView(plain.state, s.text, true, numbers.floating, numbers.separator);
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

// The documents' bodies set one after the other in the first one's preamble.
std::string Joined(const std::vector<std::string>& documents) {
    const std::string begin = "\\begin{document}\n", end = "\\end{document}\n";
    std::string out = documents.at(0).substr(0, documents[0].find(begin) + begin.size());
    for (const std::string& d : documents) {
        const size_t from = d.find(begin) + begin.size();
        out += d.substr(from, d.rfind(end) - from) + "\\clearpage\n";
    }
    return out + end;
}

struct Way {
    TableauForm form;
    NumberText numbers;
    bool exact;
    SolveMethod method;
};

// Every problem of the catalogue in every form, both notations and the
// methods that write their own rows (w, the big M's "−2M+3/2").
TEST(StepsLatex, EveryCatalogueProblemCompilesInEveryFormAndNotation) {
    NEED_PDFLATEX();
    const Way ways[] = {
        {TableauForm::Compact, {false, "."}, true, SolveMethod::Compact},
        {TableauForm::Compact, {true, ","}, false, SolveMethod::BigM},
        {TableauForm::Full, {false, "."}, false, SolveMethod::BigM},
        {TableauForm::Full, {true, "."}, true, SolveMethod::TwoPhases},
        {TableauForm::Dictionary, {false, "."}, true, SolveMethod::TwoPhases},
        {TableauForm::Dictionary, {true, ","}, false, SolveMethod::Compact},
        {TableauForm::Matrix, {false, "."}, true, SolveMethod::BigM},
        {TableauForm::Matrix, {true, "."}, false, SolveMethod::Compact},
    };
    for (const Way& way : ways) {
        std::vector<std::string> documents;
        size_t tableaux = 0;
        for (const catalogue::KnownProblem& known : catalogue::Problems()) {
            Solved s({known.comboIndex, known.objective, known.lines}, way.method, way.exact);
            const files::StepsPage page = PageOf(s, way.form, way.numbers);
            tableaux += page.tableaux.size();
            documents.push_back(files::StepsPageLatex(page));
        }
        const std::string what = "form " + std::to_string(int(way.form)) + ", method " + std::to_string(int(way.method));
        const Pdf pdf = Compiled(Joined(documents));
        ASSERT_EQ(pdf.code, 0) << what << "\n" << LogEnd(pdf);
        EXPECT_EQ(Count(pdf.text, "Pasos del método símplex"), documents.size()) << what;
        EXPECT_EQ(Headings(pdf.text), tableaux) << what;
        EXPECT_EQ(Count(pdf.log, "Overfull \\hbox"), 0u) << what;
        // The typed objectives, as typed.
        EXPECT_EQ(Count(pdf.text, "0.6a+0.35b"), 1u) << what;
    }
}

} // namespace
} // namespace optimara
