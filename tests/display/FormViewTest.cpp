// SPDX-License-Identifier: GPL-3.0-or-later
// The textbook forms as the window and the page of steps write them, on
// problems worked by hand, in both notations and both number types.
#include <gtest/gtest.h>

#include "BranchAndBound.h"
#include "BuildProblem.h"
#include "FormView.h"
#include "StepsReport.h"

namespace optimara {
namespace {

struct Solving {
    ProblemState state;
    StepHistory history;
    bool maximize;
    Solving(int combo, const std::string& objective, const std::vector<std::string>& lines, bool exact = false,
            SolveMethod method = SolveMethod::Compact)
        : maximize(combo == 1) {
        state.Rule = PivotRule::LargestCoefficient;
        state.Exact = exact;
        state.BuildMethod = method;
        BuildReport report;
        BuildProblem(state, ProblemText{combo, objective, lines}, report);
        EXPECT_EQ(report.errorPanel, "");
        state.ProblemReady = true;
        history.Start(state, NoteOf(state, maximize));
    }
    void Step() {
        history.SetNextPivot(ChosenCell(state.PivotMarks));
        NextStep(state);
        history.Record(state, NoteOf(state, maximize));
    }
    std::string Explained(TableauForm form) const {
        return ExplanationText(ExplainInForm(state, FactsOf(history, history.Steps(), maximize), NumberText{}, form));
    }
    std::string Page(TableauForm form) {
        StepsPageInput in;
        in.sense = maximize ? "Maximizar" : "Minimizar";
        in.maximize = maximize;
        in.numbers.floating = false;
        in.form = form;
        return StepsPageHtml(BuildStepsPage(state, history, in)).toStdString();
    }
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

const std::vector<std::string> kTextbook = {"x<4", "2y<12", "3x+2y<18", "x>0", "y>0"};
const NumberText kFractions{false, "."};

std::vector<std::string> GridRow(const FormGrid& g, int r) {
    std::vector<std::string> row;
    for (int c = 0; c < g.colCount; ++c) row.push_back(g.At(r, c));
    return row;
}

// The first tableau of Max 3x+5y in every form, floating and exact.
TEST(FormView, TextbookExampleInEveryForm) {
    for (const bool exact : {false, true}) {
        Solving run(1, "3x+5y", kTextbook, exact);
        const FormGrid full = ComputeFormGrid(run.state, TableauForm::Full, kFractions);
        ASSERT_TRUE(full.filled);
        EXPECT_EQ(GridRow(full, 0), (std::vector<std::string>{"Básica", "x", "y", "h1", "h2", "h3", "Solución", "Cociente"}));
        EXPECT_EQ(GridRow(full, 1), (std::vector<std::string>{"z", "-3", "-5", "0", "0", "0", "0", ""}));
        EXPECT_EQ(GridRow(full, 2), (std::vector<std::string>{"h1", "*1", "0", "1", "0", "0", "4", "— (entrada ≤ 0)"}));
        EXPECT_EQ(GridRow(full, 3), (std::vector<std::string>{"h2", "0", "**2", "0", "1", "0", "12", "6"}));
        EXPECT_EQ(GridRow(full, 4), (std::vector<std::string>{"h3", "3", "2", "0", "0", "1", "18", "9"}));
        EXPECT_EQ(full.MarkAt(3, 2), FormMark::Pivot);
        EXPECT_EQ(full.MarkAt(2, 1), FormMark::Candidate);
        EXPECT_EQ(TableauCellOfGrid(run.state, TableauForm::Full, 3, 2), ChosenCell(run.state.PivotMarks));
        EXPECT_EQ(TableauCellOfGrid(run.state, TableauForm::Full, 3, 4), PivotCell{});  // h2's own column
        EXPECT_EQ(full.MarkAt(3, 7), FormMark::Leaving);
        EXPECT_EQ(full.MarkAt(0, 2), FormMark::Entering);
        EXPECT_EQ(StandardFormLines(run.state, kFractions), (std::vector<std::string>{"Maximizar z = 3x + 5y", "x + h1 = 4", "2y + h2 = 12",
                                                              "3x + 2y + h3 = 18", "x, y, h1, h2, h3 ≥ 0"}));

        const FormGrid dictionary = ComputeFormGrid(run.state, TableauForm::Dictionary, kFractions);
        EXPECT_EQ(GridRow(dictionary, 1), (std::vector<std::string>{"h2 = 12 − 2y", "← sale h2"}));
        EXPECT_EQ(GridRow(dictionary, 2), (std::vector<std::string>{"h3 = 18 − 3x − 2y", ""}));
        EXPECT_EQ(GridRow(dictionary, 3), (std::vector<std::string>{"z = 0 + 3x + 5y", "← entra y"}));

        run.Step();
        run.Step();
        ASSERT_EQ(run.state.Stage, SolveStage::Optimal);
        const FormText matrix = ComputeFormText(run.state, TableauForm::Matrix, kFractions);
        ASSERT_EQ(matrix.tables.size(), 6u);
        EXPECT_EQ(matrix.tables[1].kind, "binversa");
        EXPECT_EQ(matrix.tables[1].rows[0], (std::vector<std::string>{"h1", "1", "1/3", "-1/3"}));
        EXPECT_EQ(matrix.tables[3].kind, "duales");
        EXPECT_EQ(matrix.tables[3].rows[0], (std::vector<std::string>{"y", "0", "3/2", "1"}));
        const FormText dict = ComputeFormText(run.state, TableauForm::Dictionary, kFractions);
        EXPECT_EQ(dict.lines[1], "y = 6 − (1/2)h2");
        EXPECT_EQ(dict.lines[3], "z = 36 − (3/2)h2 − h3");
    }
}

// "Minimizar", a surplus, the two rows of "=", a free variable split.
TEST(FormView, StandardFormOfMixedLines) {
    Solving run(0, "2x-y", {"x+y>2", "x-y=1", "x>0"});
    EXPECT_EQ(StandardFormLines(run.state, kFractions),
              (std::vector<std::string>{"Minimizar z = 2x − y' + y''", "x + y' − y'' − h1 = 2", "x − y' + y'' + h2 = 1",
                                        "x − y' + y'' − h2' = 1", "x, y', y'', h1, h2, h2' ≥ 0",
                                        "y = y' − y'' (y libre)"}));
    // The first phase: the last row with a negative Solución is made feasible;
    // the rows above say why they do not count.
    const FormGrid full = ComputeFormGrid(run.state, TableauForm::Full, kFractions);
    EXPECT_EQ(full.At(2, 7), "-2");
    EXPECT_EQ(full.At(2, 8), "— (Solución < 0, primera fase: más tarde)");
    const std::string text = run.Explained(TableauForm::Full);
    EXPECT_TRUE(Has(text, "Primera fase: la fila de h2' (fila 3) tiene Solución -1 < 0")) << text;
    EXPECT_TRUE(Has(text, "también h1, más arriba")) << text;
}

// A node of the integer search reads its bound lines as lines of its own.
TEST(FormView, IntegerNodeBoundsAreLinesOfItsStandardForm) {
    const ProblemText typed{1, "x+y", {"2x+2y<5", "x>0", "y>0", "entero: x, y"}};
    Solving first(typed.comboIndex, typed.objective, typed.lines);
    NodeBound bound;
    bound.variable = 0;
    bound.upper = true;
    bound.value = 1;
    bound.whole = "1";
    const ProblemText node = NodeText(typed, first.state.Model, {bound});
    Solving run(node.comboIndex, node.objective, node.lines);
    const std::vector<std::string> lines = StandardFormLines(run.state, kFractions);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "2x + 2y + h1 = 5");
    EXPECT_EQ(lines[2], "x + h2 = 1");
    EXPECT_EQ(lines[3], "x, y, h1, h2 ≥ 0");
}

// The explanation speaks of z_j - c_j and the minimum ratio.
TEST(FormView, ExplanationInTheFullFormsLanguage) {
    struct Case {
        int combo;
        const char* objective;
        std::vector<const char*> parts;
    };
    const std::vector<Case> cases = {
        {1, "3x+5y", {"z_j − c_j negativo", "Entra y", "de z_j − c_j más negativo", "Sale h2 (fila 2)", "12 / 2 = 6",
                      "z pasará de 0 a 30"}},
        {0, "-3x-5y", {"z_j − c_j positivo", "Entra y", "de z_j − c_j más positivo", "Sale h2 (fila 2)",
                       "z pasará de 0 a -30"}},
    };
    for (const Case& c : cases) {
        Solving run(c.combo, c.objective, kTextbook);
        const std::string text = run.Explained(TableauForm::Full);
        for (const char* part : c.parts) EXPECT_TRUE(Has(text, part)) << c.objective << ": " << part << "\n" << text;
        run.Step();
        run.Step();
        const std::string end = run.Explained(TableauForm::Full);
        EXPECT_TRUE(Has(end, c.combo == 1 ? "todo z_j − c_j es ≥ 0" : "todo z_j − c_j es ≤ 0")) << end;
        EXPECT_TRUE(Has(end, "entró x y salió h3")) << end;
    }
}

// The page writes the chosen form; the compact page ignores what the forms add.
TEST(FormView, PageOfStepsInEachForm) {
    Solving run(1, "3x+5y", kTextbook, true);
    run.Step();
    run.Step();
    const std::string compact = run.Page(TableauForm::Compact);
    EXPECT_FALSE(Has(compact, "forma-estandar"));
    EXPECT_FALSE(Has(compact, "completa"));

    const std::string full = run.Page(TableauForm::Full);
    EXPECT_EQ(Count(full, "<table class=\"tabla completa\">\n<tr><th>Básica</th><th>x</th><th>y</th><th>h1</th>"), 3u);
    EXPECT_EQ(Count(full, "<td class=\"etiqueta\">z</td>"), 3u);
    EXPECT_TRUE(Has(full, "<td class=\"pivote\">**2</td>"));
    EXPECT_TRUE(Has(full, "<div class=\"forma-estandar\">\n<h2>Forma estándar</h2>\n<p>Maximizar z = 3x + 5y</p>"));

    const std::string dictionary = run.Page(TableauForm::Dictionary);
    EXPECT_TRUE(Has(dictionary, "<div class=\"diccionario\">\n<p>h1 = 4 − x</p>\n<p>h2 = 12 − 2y   ← sale h2</p>\n"
                                "<p>h3 = 18 − 3x − 2y</p>\n<p>z = 0 + 3x + 5y   ← entra y</p>\n</div>"));

    // One tableau's block, as the page writes it.
    files::StepsPageTableau last;
    FormOnPage(run.state, TableauForm::Full, kFractions, last);
    const std::string block = files::StepsPageTableauHtml(last, files::StepsPageForm::Full).toStdString();
    EXPECT_TRUE(Has(block, "<tr><td class=\"etiqueta\">z</td><td>0</td><td>0</td><td>0</td><td>3/2</td><td>1</td>"
                           "<td>36</td></tr>")) << block;

    const std::string matrix = run.Page(TableauForm::Matrix);
    EXPECT_EQ(Count(matrix, "<div class=\"matricial\">"), 3u);
    EXPECT_EQ(Count(matrix, "<table class=\"binversa\">"), 3u);
    EXPECT_TRUE(Has(matrix, "<table class=\"duales\">\n<caption>y = c_B B⁻¹</caption>\n<tr><th>x&lt;4 (h1)</th>"
                            "<th>2y&lt;12 (h2)</th><th>3x+2y&lt;18 (h3)</th></tr>\n<tr><td>0</td><td>3/2</td><td>1</td>"
                            "</tr>\n</table>"));

    // Filled in by a form, ignored by the compact page.
    files::StepsPage page = BuildStepsPage(run.state, run.history, StepsPageInput{});
    const QByteArray before = StepsPageHtml(page);
    page.standardForm = {"x + h1 = 4"};
    page.tableaux[0].dictionary = {"h1 = 4 − x"};
    page.tableaux[0].tables.push_back({"completa", "", {"Básica"}, {{"z"}}});
    EXPECT_EQ(StepsPageHtml(page), before);
}

// Min 2x+3y, x+y>4, x+3y>6 worked by hand. The dual simplex: h2 (-6) leaves,
// and the ratio row |z_j - c_j| / |a_rj| = 2/1, 3/3 lets y enter; the primal
// ratio column is not shown. Two phases: w_j - c_j = 2, 4 lets y enter and
// a2 leaves at the quotient 6/3 = 2.
TEST(FormView, DualRatioRowAndArtificialRatios) {
    const std::vector<std::string> lines = {"x+y>4", "x+3y>6", "x>0", "y>0"};
    for (const bool exact : {false, true}) {
        Solving dual(0, "2x+3y", lines, exact, SolveMethod::DualSimplex);
        const FormGrid full = ComputeFormGrid(dual.state, TableauForm::Full, kFractions);
        ASSERT_TRUE(full.filled);
        EXPECT_EQ(GridRow(full, 0), (std::vector<std::string>{"Básica", "x", "y", "h1", "h2", "Solución"}));
        EXPECT_EQ(GridRow(full, 4), (std::vector<std::string>{"Cociente", "2", "1", "—", "—", ""}));
        EXPECT_EQ(full.MarkAt(4, 2), FormMark::Entering);
        const std::string said = dual.Explained(TableauForm::Full);
        EXPECT_FALSE(Has(said, "Razón mínima")) << said;
        EXPECT_TRUE(Has(said, "Pivote -3 en la fila de h2")) << said;

        Solving phases(0, "2x+3y", lines, exact, SolveMethod::TwoPhases);
        const std::string told = phases.Explained(TableauForm::Full);
        EXPECT_TRUE(Has(told, "Fase 1: se minimiza w")) << told;
        EXPECT_TRUE(Has(told, "y (4)")) << told;
        EXPECT_TRUE(Has(told, "Sale a2 (fila 2), la de menor cociente, 2")) << told;
        // The big M's choice compares the M parts: -2M+2 and -4M+3.
        Solving penalty(0, "2x+3y", lines, exact, SolveMethod::BigM);
        const std::string penal = penalty.Explained(TableauForm::Compact);
        EXPECT_TRUE(Has(penal, "Sale a2 (fila 2)")) << penal;
    }
}

} // namespace
} // namespace optimara
