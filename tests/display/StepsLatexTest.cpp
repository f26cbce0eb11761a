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
#include "LpExport.h"
#include "StepsLatex.h"
#include "SolvedPage.h"
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
        {TableauForm::Matrix, {false, "."}, true, SolveMethod::Compact},
        {TableauForm::Matrix, {true, "."}, false, SolveMethod::Compact},
    };
    for (const Way& way : ways) {
        std::vector<std::string> documents;
        size_t tableaux = 0, analysed = 0;
        for (const catalogue::KnownProblem& known : catalogue::Problems()) {
            Solved s({known.comboIndex, known.objective, known.lines}, way.method, way.exact);
            const files::StepsPage page = PageOf(s, way.form, way.numbers);
            tableaux += page.tableaux.size();
            analysed += !page.sensitivity.lines.empty();
            documents.push_back(files::StepsPageLatex(page));
        }
        const std::string what = "form " + std::to_string(int(way.form)) + ", method " + std::to_string(int(way.method));
        const Pdf pdf = Compiled(Joined(documents));
        ASSERT_EQ(pdf.code, 0) << what << "\n" << LogEnd(pdf);
        EXPECT_EQ(Count(pdf.text, "Pasos del método símplex"), documents.size()) << what;
        EXPECT_EQ(Headings(pdf.text), tableaux) << what;
        EXPECT_EQ(Count(pdf.text, "Problema dual"), analysed) << what;
        if (way.method == SolveMethod::Compact) EXPECT_GE(analysed, 9u) << what;
        EXPECT_EQ(Count(pdf.log, "Overfull \\hbox"), 0u) << what;
        // The typed objectives, as typed.
        EXPECT_EQ(Count(pdf.text, "0.6a+0.35b"), 1u) << what;
    }
}

// Names with every character LaTeX gives a meaning, and accents, come out
// of the PDF as they were typed, in every form.
TEST(StepsLatex, SpecialNamesComeBackFromThePdf) {
    NEED_PDFLATEX();
    const std::vector<std::string> names = {"x_1", "año", "a%b", "c&d", "e#f", "g$h", "i{j}", "k~l", "m^n", "p\\q"};
    std::string objective;
    for (size_t k = 0; k < names.size(); ++k) objective += (k ? "+" : "") + std::to_string(k + 1) + names[k];
    std::vector<std::string> lines;
    for (const std::string& n : names) lines.push_back(n + "<" + std::to_string(n.size()));
    for (const TableauForm form : {TableauForm::Compact, TableauForm::Full, TableauForm::Dictionary, TableauForm::Matrix}) {
        Solved s({1, objective, lines}, SolveMethod::Compact, true);
        const Pdf pdf = Compiled(files::StepsPageLatex(PageOf(s, form, {false, "."})));
        ASSERT_EQ(pdf.code, 0) << LogEnd(pdf);
        EXPECT_EQ(Count(pdf.text, objective), 1u) << int(form);  // as typed
        for (const std::string& n : names) {
            EXPECT_GE(Count(pdf.text, n + "<" + std::to_string(n.size())), 1u) << n;  // its typed line
            EXPECT_GE(Count(pdf.text, n), 4u) << n << " in form " << int(form);
        }
    }
}

// What no font here holds, controls and broken UTF-8 show as their codes;
// the ligatures T1 would make of "--", "''", "<<" and ",," are not made; a
// cell that starts with a bracket is no row's option.
TEST(StepsLatex, HostileTextsCompileAndShowAsTyped) {
    NEED_PDFLATEX();
    struct Case {
        std::string given, shown;
    };
    const std::vector<Case> cases = {
        {"3x\x01+2y", "3x[U+0001]+2y"}, {"x\xFFy", "x[U+FFFD]y"}, {"a\xE2\x80\xA8" "b", "a[U+2028]b"},
        {"x--y", "x--y"}, {"<<x>>", "<<x>>"}, {"a,,b", "a,,b"}, {"[1]", "[1]"}, {"ħ", "[U+0127]"},
        {"🙂", "[U+1F642]"}, {"B⁻¹", "B−1"}, {"α≤β", "α≤β"}, {"x·y←z→w", "x·y←z→w"},
        {"«ñ»", "«ñ»"}, {"30 €", "30 €"}, {"x – y — z…", "x – y — z"},
    };
    files::StepsPage page;
    page.sense = "Maximizar";
    page.tree.headings = {"Nodo"};
    for (const Case& c : cases) {
        page.lines.push_back(c.given);
        files::StepsPageTableau t;
        t.rows = 2;
        t.cols = 2;
        t.cells = {"", c.given, c.given, "**3/2"};
        t.pivotRow = t.pivotCol = 1;
        t.explanation = {c.given};
        t.ratios = {{"h1", "1", "2", "1/2", true, "—", c.given}, {c.given, "1", "-2", "—", false, "—", "—"}};
        page.tableaux.push_back(t);
        page.tree.rows.push_back({c.given});
    }
    const Pdf pdf = Compiled(files::StepsPageLatex(page));
    ASSERT_EQ(pdf.code, 0) << LogEnd(pdf);
    // Its typed line, two cells, the explanation, two in the ratio test, the tree.
    for (const Case& c : cases) EXPECT_EQ(Count(pdf.text, c.shown), 7u) << c.given;
}

// The widest overfull line in the log, in points; 0 for none.
double WidestOverfull(const std::string& log) {
    static const std::regex overfull(R"(Overfull \\hbox \(([0-9.]+)pt too wide\))");
    double widest = 0;
    for (std::sregex_iterator it(log.begin(), log.end(), overfull), end; it != end; ++it)
        widest = std::max(widest, std::stod((*it)[1].str()));
    return widest;
}

// Every page of the PDF is A4, upright or turned; how many are turned.
size_t TurnedA4Pages(const std::string& info, size_t& pages) {
    static const std::regex size(R"(Page +[0-9]+ size: +([0-9.]+ x [0-9.]+ pts))");
    static const std::regex turn(R"(Page +[0-9]+ rot: +90)");
    pages = 0;
    for (std::sregex_iterator it(info.begin(), info.end(), size), end; it != end; ++it, ++pages)
        EXPECT_EQ((*it)[1].str(), "595.276 x 841.89 pts") << "page " << pages + 1;
    return size_t(std::distance(std::sregex_iterator(info.begin(), info.end(), turn), std::sregex_iterator()));
}

// A dense 30 x 30 problem in exact fractions: its tableaux go on turned
// pages and are scaled down to the line; nothing runs off the page.
TEST(StepsLatex, WideExactTableauxStayWithinA4) {
    NEED_PDFLATEX();
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> digit(1, 9), right(50, 99);
    auto sum = [&] {
        std::string text;
        for (int j = 1; j <= 30; ++j) text += (j > 1 ? "+" : "") + std::to_string(digit(random)) + "x" + std::to_string(j);
        return text;
    };
    ProblemText typed{1, sum(), {}};
    for (int i = 0; i < 30; ++i) typed.lines.push_back(sum() + "<" + std::to_string(right(random)));
    std::string signs;
    for (int j = 1; j <= 30; ++j) signs += (j > 1 ? ",x" : "x") + std::to_string(j);
    typed.lines.push_back(signs + ">0");
    Solved s(typed, SolveMethod::Compact, true, 6);
    const files::StepsPage page = PageOf(s, TableauForm::Compact, {false, "."});
    ASSERT_EQ(page.tableaux.size(), 7u);
    ASSERT_GE(page.tableaux[0].cols, 31);
    const Pdf pdf = Compiled(files::StepsPageLatex(page));
    ASSERT_EQ(pdf.code, 0) << LogEnd(pdf);
    size_t pages = 0;
    EXPECT_GE(TurnedA4Pages(pdf.info, pages), 1u);
    EXPECT_GE(pages, 2u);
    EXPECT_LE(WidestOverfull(pdf.log), 3.0);
    EXPECT_EQ(Count(pdf.log, "Overfull \\vbox"), 0u);
    EXPECT_EQ(Headings(pdf.text), page.tableaux.size());
}

// An integer search of 97 nodes: each node's last tableau, then the tree,
// which breaks across upright pages with its headings repeated.
TEST(StepsLatex, LongIntegerSearchBreaksAcrossPages) {
    NEED_PDFLATEX();
    const ProblemText typed{1, "12a+11b+10c+9d+8e+7f", {"6a+5b+5c+4d+4e+3f<17.5", "entero: a,b,c,d,e,f", "a,b,c,d,e,f>0"}};
    ProblemModel model;
    BuildReport report;
    ASSERT_TRUE(ModelFromText(model, typed, report)) << report.errorPanel;
    RandomGenerator random;
    const BranchResult r = BranchAndBound(typed, model, random, PivotRule::LargestCoefficient, [] { return true; });
    ASSERT_GE(r.nodes.size(), 50u);
    files::StepsPage page;
    page.sense = "Maximizar";
    page.objective = typed.objective;
    page.lines = typed.lines;
    for (const BranchNode& node : r.nodes) {
        StepHistory steps;
        steps.Start(*node.last, NoteOf(*node.last, true));
        StepsPageInput in;
        in.numbers = {false, "."};
        files::StepsPage part = BuildStepsPage(*node.last, steps, in);
        ASSERT_EQ(part.tableaux.size(), 1u);
        part.tableaux[0].node = "Nodo " + std::to_string(node.number) + " · " + BoundsText(model, node);
        page.tableaux.push_back(std::move(part.tableaux[0]));
    }
    page.tree.headings = BranchHeadings(r);
    for (const BranchRow& row : BranchRows(r, model, false, ".")) page.tree.rows.push_back(row.cells);
    page.tree.ending = {NodeCountText(r)};
    const Pdf pdf = Compiled(files::StepsPageLatex(page));
    ASSERT_EQ(pdf.code, 0) << LogEnd(pdf);
    size_t pages = 0;
    EXPECT_EQ(TurnedA4Pages(pdf.info, pages), 0u);
    EXPECT_GE(pages, 10u);
    EXPECT_LE(WidestOverfull(pdf.log), 3.0);
    EXPECT_EQ(Count(pdf.log, "Overfull \\vbox"), 0u);
    for (const BranchNode& node : r.nodes)
        EXPECT_EQ(Count(pdf.text, "Nodo " + std::to_string(node.number) + " ·"), 1u) << node.number;
    // The tree's head on every page it takes, more than one.
    EXPECT_GE(Count(pdf.text, "Padre"), 2u);
    EXPECT_EQ(Count(pdf.text, NodeCountText(r)), 1u);
}

} // namespace
} // namespace optimara
