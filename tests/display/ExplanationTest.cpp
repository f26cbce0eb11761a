// SPDX-License-Identifier: GPL-3.0-or-later
// The explained steps on small problems worked by hand: which variable
// enters and why, the ratio test, which leaves, and why the method stops or
// a cell cannot be the pivot.
#include <gtest/gtest.h>

#include "BuildProblem.h"
#include "Explanation.h"
#include "StepsReport.h"

namespace optimara {
namespace {

struct Solving {
    ProblemState state;
    StepHistory history;
    bool maximize;
    Solving(int combo, const std::string& objective, const std::vector<std::string>& lines, PivotRule rule,
            bool exact = false)
        : maximize(combo == 1) {
        state.Rule = rule;
        state.Exact = exact;
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
    // What "Pivotar aquí" does with a candidate cell.
    void Choose(PivotCell cell) {
        ASSERT_TRUE(ChoosePivotCell(state.PivotMarks, cell));
        history.SetNextPivot(cell, true);
    }
    void StepOnChosen() {
        NextStep(state);
        history.Record(state, NoteOf(state, maximize));
    }
    Explanation Explain() const {
        return ExplainTableau(state, FactsOf(history, history.Steps(), maximize), NumberText{});
    }
    std::string Text() const { return ExplanationText(Explain()); }
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

using Ratio = std::vector<std::string>;  // variable, constant, entry, ratio

std::vector<Ratio> Ratios(const Explanation& e) {
    std::vector<Ratio> rows;
    for (const RatioLine& l : e.ratios) rows.push_back({l.variable, l.constant, l.entry, l.ratio});
    return rows;
}

TEST(Explanation, WorkedExampleUnderEachRule) {
    // Max 3x+2y, x+y<4 (h1), x+3y<6 (h2): x enters at 3, h1 leaves at ratio
    // -4 against -6, z goes from 0 to 12, and the next tableau is optimal.
    const std::vector<std::string> lines = {"x+y<4", "x+3y<6", "x>0", "y>0"};
    for (PivotRule rule : {PivotRule::LargestCoefficient, PivotRule::SmallestIndex}) {
        Solving run(1, "3x+2y", lines, rule);
        const Explanation first = run.Explain();
        const std::string text = ExplanationText(first);
        EXPECT_TRUE(Has(text, "Entra x (columna 1)")) << text;
        EXPECT_TRUE(Has(text, "Sale h1")) << text;
        EXPECT_TRUE(Has(text, "x (3) y y (2)")) << text;
        EXPECT_TRUE(Has(text, "−variable = … + constante")) << text;
        EXPECT_TRUE(Has(text, "El objetivo pasará de 0 a 12")) << text;
        EXPECT_EQ(Ratios(first), (std::vector<Ratio>{{"h1", "-4", "1", "-4"}, {"h2", "-6", "1", "-6"}}));
        EXPECT_TRUE(first.ratios[0].leaves);
        run.Step();
        const std::string second = run.Text();
        EXPECT_TRUE(Has(second, "entró x y salió h1. El objetivo pasó de 0 a 12")) << second;
        EXPECT_TRUE(Has(second, "Óptimo")) << second;
        EXPECT_EQ(run.state.Stage, SolveStage::Optimal);
    }
}

TEST(Explanation, TiesAreBrokenAsEachRuleSays) {
    // Max x+y over x<2, 2x<4, y<3: the columns tie at 1 and the rows of x
    // tie at ratio -2. Largest coefficient takes x (leftmost) and row 1
    // (topmost); Bland takes x and the row of h1; the draw names its rank.
    const std::vector<std::string> lines = {"x<2", "2x<4", "y<3", "x>0", "y>0"};
    Solving largest(1, "x+y", lines, PivotRule::LargestCoefficient);
    EXPECT_EQ(ChosenCell(largest.state.PivotMarks), (PivotCell{1, 1}));
    EXPECT_TRUE(Has(largest.Text(), "empatan x y y: se toma la de más a la izquierda")) << largest.Text();
    EXPECT_TRUE(Has(largest.Text(), "empatan h1 y h2")) << largest.Text();
    Solving bland(1, "x+y", lines, PivotRule::SmallestIndex);
    EXPECT_EQ(ChosenCell(bland.state.PivotMarks), (PivotCell{1, 1}));
    Solving drawn(1, "x+y", lines, PivotRule::Random);
    EXPECT_EQ(drawn.state.CandidateCount, 3);
    EXPECT_TRUE(Has(drawn.Text(), "hay 3 celdas candidatas empatadas")) << drawn.Text();
    EXPECT_TRUE(Has(drawn.Text(), "el sorteo eligió la número " + std::to_string(drawn.state.LastDraw)));
}

TEST(Explanation, EachEndSaysWhy) {
    const struct {
        int combo;
        const char* objective;
        std::vector<std::string> lines;
        PivotRule rule;
        SolveStage end;
        const char* says;
    } cases[] = {
        // y is limited by no row: unbounded at once.
        {1, "y", {"x-y<1", "x>0", "y>0"}, PivotRule::Random, SolveStage::Unbounded, "la columna de y (1)"},
        // The largest coefficient is y's, which no row limits, although x's
        // column has a pivot: this rule ends there.
        {1, "x+2y", {"x<1", "x>0", "y>0"}, PivotRule::LargestCoefficient, SolveStage::Unbounded, "la columna de y (2)"},
        // x<1 and x>2 cannot both hold.
        {1, "x", {"x<1", "x>2", "x>0"}, PivotRule::SmallestIndex, SolveStage::Infeasible, "No factible: la fila"},
        {0, "x+y", {"x+y>2", "x>0", "y>0"}, PivotRule::SmallestIndex, SolveStage::Optimal, "Óptimo"},
    };
    for (const auto& c : cases) {
        Solving run(c.combo, c.objective, c.lines, c.rule);
        for (int k = 0; k < 10 && run.state.Stage == SolveStage::Choosing; ++k) run.Step();
        EXPECT_EQ(run.state.Stage, c.end) << c.objective;
        EXPECT_TRUE(Has(run.Text(), c.says)) << run.Text();
    }
}

TEST(Explanation, FirstPhaseNamesTheRowItMakesFeasible) {
    // Min x+y with x+y>2 (h1): the row of h1 holds 2 > 0, x and y may enter.
    Solving run(0, "x+y", {"x+y>2", "x>0", "y>0"}, PivotRule::SmallestIndex);
    const Explanation e = run.Explain();
    const std::string text = ExplanationText(e);
    EXPECT_TRUE(Has(text, "Primera fase: la fila 1 (h1) tiene constante 2 > 0")) << text;
    EXPECT_TRUE(Has(text, "«Minimizar» la fila del objetivo guarda −z")) << text;
    EXPECT_EQ(Ratios(e), (std::vector<Ratio>{{"h1", "2", "-1", "-2"}}));
}

TEST(Explanation, RefusedCellsSayWhy) {
    Solving run(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}, PivotRule::Random);
    const auto why = [&](uint32_t r, uint32_t c) { return WhyNotPivot(run.state, r, c, NumberText{}); };
    EXPECT_EQ(why(1, 1), "");  // a candidate
    EXPECT_TRUE(Has(why(2, 1), "dejaría a h1 con valor negativo")) << why(2, 1);
    EXPECT_TRUE(Has(why(3, 1), "Solo una celda")) << why(3, 1);
    EXPECT_TRUE(Has(why(1, 3), "Solo una celda")) << why(1, 3);
    // After the step x's column holds -3 in the objective row.
    run.Step();
    EXPECT_TRUE(Has(why(1, 1), "No hay pivote que elegir")) << why(1, 1);
    Solving negative(1, "x", {"x-y<1", "y<2", "x>0", "y>0"}, PivotRule::Random);
    const std::string column = WhyNotPivot(negative.state, 1, 2, NumberText{});
    EXPECT_TRUE(Has(column, "La columna de y no mejora el objetivo")) << column;
    Solving zero(1, "x+y", {"x-y<1", "y<2", "x>0", "y>0"}, PivotRule::Random);
    const std::string entry = WhyNotPivot(zero.state, 2, 1, NumberText{});
    EXPECT_TRUE(Has(entry, "Su entrada es 0")) << entry;
}

// A pivot chosen by hand is the student's, and what the rule would have
// taken is named; a hand choice of the rule's own cell says both.
TEST(Explanation, HandChosenPivotIsTheStudentsChoice) {
    const std::vector<std::string> worked = {"x+y<4", "x+3y<6", "x>0", "y>0"};
    const std::vector<std::string> ties = {"x<2", "2x<4", "y<3", "x>0", "y>0"};
    const std::string largest = "la regla «Mayor coeficiente»", bland = "la regla «Menor índice (Bland)»";
    const struct {
        int combo;
        const char* objective;
        std::vector<std::string> lines;
        PivotRule rule;
        bool exact;
        std::vector<PivotCell> hand;  // the cells chosen, in order
        std::string says, after;      // the chosen tableau's words, and the next one's
    } cases[] = {
        // The worked example: y's column holds row 2's quotient -6/3, so y grows to 2 and z to 4.
        {1, "3x+2y", worked, PivotRule::LargestCoefficient, false, {{2, 2}},
         "Entra y (columna 2), elegida a mano; " + largest + " habría elegido x.", "entró y y salió h2. El objetivo pasó de 0 a 4"},
        {1, "3x+2y", worked, PivotRule::LargestCoefficient, true, {{2, 2}},
         "Entra y (columna 2), elegida a mano; " + largest + " habría elegido x.", "entró y y salió h2. El objetivo pasó de 0 a 4"},
        {1, "3x+2y", worked, PivotRule::SmallestIndex, false, {{2, 2}},
         "Entra y (columna 2), elegida a mano; " + bland + " habría elegido x.", "entró y y salió h2"},
        // The first draw is 346: the first of the two candidates.
        {1, "3x+2y", worked, PivotRule::Random, false, {{2, 2}},
         "elegida a mano; la regla «Aleatoria» habría elegido x (el sorteo eligió la celda número 1 de las 2",
         "entró y y salió h2"},
        // Rows h1 and h2 tie in x's column: the other row of the same column.
        {1, "x+y", ties, PivotRule::LargestCoefficient, false, {{2, 1}},
         "Entra x (columna 1), elegida a mano con la fila 2 (h2); " + largest +
             " habría elegido la misma columna con la fila 1 (h1).", "entró x y salió h2"},
        {1, "x+y", ties, PivotRule::SmallestIndex, false, {{2, 1}},
         "elegida a mano con la fila 2 (h2); " + bland + " habría elegido la misma columna con la fila 1 (h1).", "entró x y salió h2"},
        // 346 mod 3 + 1: the draw took the second of three, (2, 1).
        {1, "x+y", ties, PivotRule::Random, false, {{1, 1}},
         "elegida a mano con la fila 1 (h1); la regla «Aleatoria» habría elegido la misma columna con la fila 2 (h2) "
         "(el sorteo eligió la celda número 2 de las 3",
         "entró x y salió h1"},
        // First phase: x+y>2 holds 2 > 0; x and y both may enter.
        {0, "x+y", {"x+y>2", "x>0", "y>0"}, PivotRule::SmallestIndex, false, {{1, 2}},
         "Entra y (columna 2), elegida a mano; " + bland + " habría elegido x.", "entró y y salió h1"},
        // Chosen away and back: the rule's own cell, chosen by hand.
        {1, "3x+2y", worked, PivotRule::LargestCoefficient, false, {{2, 2}, {1, 1}},
         "Entra x (columna 1), elegida a mano: es la misma celda que elige " + largest +
             ". Regla «Mayor coeficiente»: entra la columna de mayor coeficiente",
         "entró x y salió h1. El objetivo pasó de 0 a 12"},
    };
    for (const auto& c : cases) {
        Solving run(c.combo, c.objective, c.lines, c.rule, c.exact);
        for (PivotCell cell : c.hand) run.Choose(cell);
        const std::string text = run.Text();
        EXPECT_TRUE(Has(text, c.says)) << text;
        if (c.hand.size() == 1) {
            EXPECT_FALSE(Has(text, "Regla «")) << text;
        }
        run.StepOnChosen();
        const std::string next = run.Text();
        EXPECT_TRUE(Has(next, " (pivote elegido a mano): " + c.after)) << next;
    }
}

// Each row of the ratio test: its constant and entry as the table shows
// them, how far it lets the entering variable grow, the tableau's own
// quotient, and why it counts.
TEST(Explanation, RatioTestShowsHowFarEachRowLetsTheVariableGrow) {
    using Row = std::vector<std::string>;
    const struct {
        int combo;
        const char* objective;
        std::vector<std::string> lines;
        bool exact;
        std::vector<Row> rows;
        std::vector<std::string> says;
    } cases[] = {
        {1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}, false,
         {{"h1", "-4", "1", "4", "-4", "entrada > 0: limita, el menor"}, {"h2", "-6", "1", "6", "-6", "entrada > 0: limita"}},
         {"limitan las filas con entrada positiva", "Sale h1 (fila 1): x crece hasta el menor límite, 4."}},
        {1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}, true,
         {{"h1", "-4", "1", "4", "-4", "entrada > 0: limita, el menor"}, {"h2", "-6", "1", "6", "-6", "entrada > 0: limita"}},
         {"Sale h1 (fila 1): x crece hasta el menor límite, 4."}},
        {1, "x+y", {"x<2", "2x<4", "y<3", "x>0", "y>0"}, false,
         {{"h1", "-2", "1", "2", "-2", "entrada > 0: limita, empata en el menor"},
          {"h2", "-4", "2", "2", "-2", "entrada > 0: limita, empata en el menor"},
          {"h3", "-3", "0", "—", "—", "entrada ≤ 0: no limita"}},
         {"empatan h1 y h2 con el mismo límite"}},
        // First phase on row 2 (the last infeasible row); row 1 is above it and infeasible too.
        {0, "x+y", {"x+y>1", "x+2y>4", "x<3", "y<1", "x>0", "y>0"}, false,
         {{"h1", "1", "-1", "—", "—", "fila de arriba, no factible: no cuenta"},
          {"h2", "4", "-1", "4", "-4", "entrada < 0: se hace factible"},
          {"h3", "-3", "1", "3", "-3", "entrada > 0: limita, el menor"},
          {"h4", "-1", "0", "—", "—", "entrada ≤ 0: no limita"}},
         {"la fila 2 (h2) tiene entrada -1 < 0, así que h2 crece con x y se hace factible (llega a 0) cuando x vale 4",
          "de ellas, no es factible h1 (fila 1)", "Sale h3 (fila 3): x crece hasta el menor límite, 3.",
          "h2 sigue sin ser factible"}},
        {0, "x+y", {"x+y>2", "x>0", "y>0"}, false,
         {{"h1", "2", "-1", "2", "-2", "entrada < 0: se hace factible, el menor"}},
         {"Sale h1 (fila 1): x crece hasta el menor límite, 2.", "h1 queda factible, con valor 0."}},
    };
    for (const auto& c : cases) {
        Solving run(c.combo, c.objective, c.lines, PivotRule::SmallestIndex, c.exact);
        const Explanation e = run.Explain();
        std::vector<Row> rows;
        for (const RatioLine& l : e.ratios) rows.push_back({l.variable, l.constant, l.entry, l.growth, l.ratio, l.why});
        EXPECT_EQ(rows, c.rows) << c.objective;
        const std::string text = ExplanationText(e);
        for (const std::string& part : c.says) EXPECT_TRUE(Has(text, part)) << part << "\n" << text;
        EXPECT_FALSE(Has(text, "filas con entrada positiva: con los signos")) << text;
    }
    // Refusals say the same: how far each row lets the variable grow.
    Solving phase(0, "x+y", {"x+y>1", "x+2y>4", "x<3", "y<1", "x>0", "y>0"}, PivotRule::SmallestIndex);
    Solving driving(0, "x+y", {"x+y>2", "x<5", "x>0", "y>0"}, PivotRule::SmallestIndex);
    Solving worked(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}, PivotRule::SmallestIndex);
    const struct {
        const Solving& run;
        uint32_t row, col;
        const char* says;
    } refusals[] = {
        {worked, 2, 1, "La fila 2 (h2) deja crecer x hasta 6, pero la fila 1 (h1) solo lo deja crecer hasta 4: "
                       "pivotar aquí dejaría a h1 con valor negativo"},
        {phase, 2, 1, "La fila 2 (h2) se hace factible cuando x llega a 4, pero la fila 3 (h3) solo lo deja crecer "
                      "hasta 3: pivotar aquí dejaría a h3 con valor negativo"},
        {phase, 1, 1, "solo pueden ser pivote la fila 2 (h2) y las filas de debajo"},
        {phase, 4, 1, "Su entrada es 0, no positiva"},
        {driving, 2, 1, "La fila 2 (h2) deja crecer x hasta 5, pero la fila 1 (h1) se hace factible antes, cuando x "
                        "llega a 2: el paso se detiene en el menor límite, y sale h1."},
    };
    for (const auto& r : refusals) {
        const std::string why = WhyNotPivot(r.run.state, r.row, r.col, NumberText{});
        EXPECT_TRUE(Has(why, r.says)) << why;
    }
}

TEST(SlackNames, NumberedByLeftSideWithPrimesForTheSecondRowOfAnEquality) {
    ProblemState state;
    BuildReport report;
    BuildProblem(state, ProblemText{1, "x+y", {"x>0", "x+y<4", "x-y=1", "x, y<3", "y>0"}}, report);
    ASSERT_EQ(report.errorPanel, "");
    EXPECT_EQ(state.Model.slackNames, (std::vector<std::string>{"h1", "h2", "h2'", "h3", "h4"}));
    const std::vector<std::string> names = VariableNames(state);
    EXPECT_EQ(names, (std::vector<std::string>{"x", "y", "h1", "h2", "h2'", "h3", "h4"}));
}

} // namespace
} // namespace optimara
