// SPDX-License-Identifier: GPL-3.0-or-later
// The textbook forms of the tableau against computations of their own: the
// full tableau after each step against a Gauss-Jordan pivot of the one
// before on the same cell, the dictionary and the matrix form against the
// full tableau, the multipliers at the optimum against the dual prices, and
// two hand-worked textbook examples tableau by tableau.
#include <gtest/gtest.h>

#include <random>

#include "Comparison.h"
#include "Sensitivity.h"
#include "TableauForms.h"
#include "catalogue/Catalogue.h"

namespace optimara::testing {
namespace {

using Q = mpq_class;

// The full tableau as one matrix: row 0 the z row, rows 1..m the
// constraints, the last column the Solución.
struct Plain {
    std::vector<std::vector<Q>> rows;
    std::vector<uint32_t> basic;
};

Plain PlainOf(const ExactFullTableau& f) {
    Plain p;
    p.rows.push_back(f.z);
    p.rows[0].push_back(f.zValue);
    for (uint32_t r = 1; r <= f.m; ++r) {
        std::vector<Q> row(f.cells.begin() + long(r - 1) * f.width, f.cells.begin() + long(r) * f.width);
        row.push_back(f.solution[r - 1]);
        p.rows.push_back(std::move(row));
    }
    p.basic = f.basic;
    return p;
}

// The textbook pivot: the pivot row divided by the pivot, every other row
// (the z row included) less its multiple of it; the entering variable
// takes the row.
Plain GaussJordan(Plain p, uint32_t row, uint32_t col) {
    const Q pivot = p.rows[row][col - 1];
    for (Q& x : p.rows[row]) x /= pivot;
    for (size_t i = 0; i < p.rows.size(); ++i) {
        if (i == row) continue;
        const Q factor = p.rows[i][col - 1];
        for (size_t j = 0; j < p.rows[i].size(); ++j) p.rows[i][j] -= factor * p.rows[row][j];
    }
    p.basic[row - 1] = col;
    return p;
}

ProblemText Text(int combo, const std::string& objective, const std::vector<std::string>& lines) {
    ProblemText t;
    t.comboIndex = combo;
    t.objective = objective;
    t.lines = lines;
    return t;
}

void BuildExact(ProblemState& state, const ProblemText& text, PivotRule rule = PivotRule::Random) {
    state.Exact = true;
    state.Rule = rule;
    BuildReport report;
    BuildProblem(state, text, report);
    ASSERT_EQ(report.errorPanel, "");
    state.ProblemReady = true;
}

// The dictionary and the matrix form say what the full tableau says.
void ExpectFormsAgree(const ProblemState& state, const ExactFullTableau& f, const std::string& where) {
    const ExactDictionary d = DictionaryOf<Q>(state);
    ASSERT_EQ(d.lines.size(), f.m + 1) << where;
    for (uint32_t r = 1; r <= f.m; ++r) {
        const auto& line = d.lines[r - 1];
        EXPECT_EQ(line.variable, f.basic[r - 1]) << where;
        EXPECT_EQ(line.constant, f.solution[r - 1]) << where;
        for (const auto& [v, coef] : line.terms) EXPECT_EQ(coef, -f.At(r, v)) << where << " row " << r;
    }
    EXPECT_EQ(d.lines.back().constant, f.zValue) << where;
    for (const auto& [v, coef] : d.lines.back().terms) EXPECT_EQ(coef, -f.z[v - 1]) << where;
    if (f.pivotRow != 0) {
        EXPECT_EQ(d.entering, f.pivotCol) << where;
        EXPECT_EQ(d.leaving, f.basic[f.pivotRow - 1]) << where;
    }

    const ExactStandardForm standard = StandardFormOf<Q>(state);
    const ExactMatrixForm x = MatrixFormOf<Q>(state, standard);
    const uint32_t m = f.m, n = f.width - m;
    EXPECT_EQ(x.basic, f.basic) << where;
    for (uint32_t r = 1; r <= m; ++r)
        for (uint32_t c = 1; c <= m; ++c) {
            Q product = 0;
            for (uint32_t k = 1; k <= m; ++k) product += x.BAt(r, k) * x.InverseAt(k, c);
            EXPECT_EQ(product, r == c ? 1 : 0) << where << ": B B^-1 at " << r << "," << c;
        }
    EXPECT_EQ(x.xB, f.solution) << where;
    EXPECT_EQ(x.z, f.zValue) << where;
    for (uint32_t k = 1; k <= m; ++k)
        EXPECT_EQ(x.y[k - 1] * standard.rows[k - 1].slackSign, f.z[n + k - 1]) << where << ": y" << k;
    for (size_t j = 0; j < x.nonbasic.size(); ++j) EXPECT_EQ(x.reduced[j], f.z[x.nonbasic[j] - 1]) << where;
}

// At an optimum every z_j - c_j has the sense's sign and the multipliers
// are the dual prices.
void ExpectOptimum(const ProblemState& state, const ExactFullTableau& f, const std::string& where) {
    for (const Q& d : f.z) EXPECT_TRUE(f.maximize ? d >= 0 : d <= 0) << where << ": z row " << d;
    const ExactMatrixForm x = MatrixFormOf<Q>(state, StandardFormOf<Q>(state));
    const SensitivityReport report = AnalyseOptimum(state.Model, state.Tableau, state.Labels);
    ASSERT_EQ(x.duals.size(), report.lines.size()) << where;
    for (size_t k = 0; k < x.duals.size(); ++k) {
        const double price = report.lines[k].price, y = x.duals[k].value.get_d();
        EXPECT_NEAR(y, price, 1e-9 * (1 + std::fabs(price))) << where << ": dual of " << x.duals[k].text;
    }
}

// Steps the problem to its end; after each step the full tableau is the
// Gauss-Jordan pivot of the one before. Returns the steps made.
int StepAndCompare(ProblemState& state, const std::string& where) {
    int steps = 0;
    ExactFullTableau before = FullTableauOf<Q>(state);
    ExpectFormsAgree(state, before, where + " initial");
    while (state.Stage == SolveStage::Choosing && steps < 200) {
        EXPECT_NE(before.pivotRow, 0u) << where;
        EXPECT_EQ(before.Mark(before.pivotRow, before.pivotCol), 2) << where;
        const Plain expected = GaussJordan(PlainOf(before), before.pivotRow, before.pivotCol);
        NextStep(state);
        ++steps;
        const ExactFullTableau after = FullTableauOf<Q>(state);
        const std::string step = where + " step " + std::to_string(steps);
        const Plain got = PlainOf(after);
        EXPECT_EQ(got.basic, expected.basic) << step;
        EXPECT_TRUE(got.rows == expected.rows) << step;
        ExpectFormsAgree(state, after, step);
        before = after;
    }
    if (state.Stage == SolveStage::Optimal) ExpectOptimum(state, before, where);
    return steps;
}

TEST(TableauForms, CatalogueStepsAreGaussJordanPivots) {
    for (const auto& p : catalogue::Problems()) {
        for (const PivotRule rule : {PivotRule::Random, PivotRule::LargestCoefficient}) {
            ProblemState state;
            BuildExact(state, Text(p.comboIndex, p.objective, p.lines), rule);
            ASSERT_TRUE(FormsFit(state)) << p.name;
            StepAndCompare(state, p.name);
            if (p.outcome == catalogue::Outcome::Optimal) {
                EXPECT_EQ(state.Stage, SolveStage::Optimal) << p.name;
            }
        }
    }
}

TEST(TableauForms, GeneratedFamiliesStepsAreGaussJordanPivots) {
    std::mt19937 rng(31);
    int optima = 0;
    for (const Family& family : Families()) {
        for (int k = 0; k < 6; ++k) {
            const TypedProblem p = family.make(rng);
            ProblemState state;
            BuildExact(state, p.text);
            if (!FormsFit(state)) continue;  // too large for the exact replay: nothing to show
            StepAndCompare(state, std::string(family.name) + " #" + std::to_string(k));
            optima += state.Stage == SolveStage::Optimal;
        }
    }
    EXPECT_GT(optima, 10);
}

// Rows of a tableau as text: the z row first, each ending with its Solución.
using Rows = std::vector<std::vector<std::string>>;

Rows RowsOf(const ExactFullTableau& f) {
    Rows rows;
    for (const auto& row : PlainOf(f).rows) {
        std::vector<std::string> texts;
        for (const Q& x : row) texts.push_back(x.get_str());
        rows.push_back(texts);
    }
    return rows;
}

struct Worked {
    const char* name;
    ProblemText text;
    std::vector<Rows> tableaux;  // the textbook's, in order
    std::vector<std::string> duals;
};

TEST(TableauForms, HandWorkedTextbookExamples) {
    const std::vector<Worked> examples = {
        {"Max 3x+5y",
         Text(1, "3x+5y", {"x<4", "2y<12", "3x+2y<18", "x>0", "y>0"}),
         {{{"-3", "-5", "0", "0", "0", "0"},
           {"1", "0", "1", "0", "0", "4"},
           {"0", "2", "0", "1", "0", "12"},
           {"3", "2", "0", "0", "1", "18"}},
          {{"-3", "0", "0", "5/2", "0", "30"},
           {"1", "0", "1", "0", "0", "4"},
           {"0", "1", "0", "1/2", "0", "6"},
           {"3", "0", "0", "-1", "1", "6"}},
          {{"0", "0", "0", "3/2", "1", "36"},
           {"0", "0", "1", "1/3", "-1/3", "2"},
           {"0", "1", "0", "1/2", "0", "6"},
           {"1", "0", "0", "-1/3", "1/3", "2"}}},
         {"0", "3/2", "1"}},
        {"Max 5x+4y",
         Text(1, "5x+4y", {"6x+4y<24", "x+2y<6", "-x+y<1", "y<2", "x>0", "y>0"}),
         {{{"-5", "-4", "0", "0", "0", "0", "0"},
           {"6", "4", "1", "0", "0", "0", "24"},
           {"1", "2", "0", "1", "0", "0", "6"},
           {"-1", "1", "0", "0", "1", "0", "1"},
           {"0", "1", "0", "0", "0", "1", "2"}},
          {{"0", "-2/3", "5/6", "0", "0", "0", "20"},
           {"1", "2/3", "1/6", "0", "0", "0", "4"},
           {"0", "4/3", "-1/6", "1", "0", "0", "2"},
           {"0", "5/3", "1/6", "0", "1", "0", "5"},
           {"0", "1", "0", "0", "0", "1", "2"}},
          {{"0", "0", "3/4", "1/2", "0", "0", "21"},
           {"1", "0", "1/4", "-1/2", "0", "0", "3"},
           {"0", "1", "-1/8", "3/4", "0", "0", "3/2"},
           {"0", "0", "3/8", "-5/4", "1", "0", "5/2"},
           {"0", "0", "1/8", "-3/4", "0", "1", "1/2"}}},
         {"3/4", "1/2", "0", "0"}},
    };
    for (const Worked& w : examples) {
        ProblemState state;
        BuildExact(state, w.text, PivotRule::LargestCoefficient);
        for (size_t k = 0; k < w.tableaux.size(); ++k) {
            EXPECT_EQ(RowsOf(FullTableauOf<Q>(state)), w.tableaux[k]) << w.name << " tableau " << k;
            if (k + 1 < w.tableaux.size()) NextStep(state);
        }
        EXPECT_EQ(state.Stage, SolveStage::Optimal) << w.name;
        const ExactMatrixForm x = MatrixFormOf<Q>(state, StandardFormOf<Q>(state));
        std::vector<std::string> duals;
        for (const auto& d : x.duals) duals.push_back(d.value.get_str());
        EXPECT_EQ(duals, w.duals) << w.name;
    }
}

// The standard form keeps the typed orientation: a surplus for ">", the two
// rows of "=" as the model makes them, a free variable split, the costs as
// typed even for "Minimizar".
TEST(TableauForms, StandardFormAsTyped) {
    ProblemState state;
    BuildExact(state, Text(0, "2x-y", {"x+y>2", "x-y=1", "x>0"}));
    const ExactStandardForm f = StandardFormOf<Q>(state);
    EXPECT_FALSE(f.maximize);
    ASSERT_EQ(f.n, 3u);  // x, y', y''
    EXPECT_EQ(f.names, (std::vector<std::string>{"x", "y'", "y''", "h1", "h2", "h2'"}));
    EXPECT_EQ(f.cost, (std::vector<Q>{2, -1, 1}));
    ASSERT_EQ(f.rows.size(), 3u);
    EXPECT_EQ(f.rows[0].coef, (std::vector<Q>{1, 1, -1}));
    EXPECT_EQ(f.rows[0].slackSign, -1);
    EXPECT_EQ(f.rows[0].rhs, 2);
    EXPECT_EQ(f.rows[1].coef, (std::vector<Q>{1, -1, 1}));
    EXPECT_EQ(f.rows[1].slackSign, 1);
    EXPECT_EQ(f.rows[2].coef, (std::vector<Q>{1, -1, 1}));
    EXPECT_EQ(f.rows[2].slackSign, -1);
    EXPECT_EQ(f.rows[2].rhs, 1);
    EXPECT_EQ(f.bounded, (std::vector<std::string>{"x"}));
    ASSERT_EQ(f.splits.size(), 1u);
    EXPECT_EQ(f.splits[0].first, "y");
    // The first phase: the surplus row starts at a negative Solución.
    const ExactFullTableau full = FullTableauOf<Q>(state);
    EXPECT_EQ(full.solution, (std::vector<Q>{-2, 1, -1}));
    EXPECT_EQ(full.drivingRow, 3u);
    ASSERT_EQ(full.ratios.size(), 3u);
    EXPECT_EQ(full.ratios[0].kind, FullRatioKind::AboveDriving);
}

// The floating forms are the exact ones rounded, step by step.
TEST(TableauForms, FloatingFormsFollowTheFloatingTableau) {
    for (const auto& p : catalogue::Problems()) {
        ProblemState state;
        BuildReport report;
        state.Rule = PivotRule::LargestCoefficient;
        BuildProblem(state, Text(p.comboIndex, p.objective, p.lines), report);
        state.ProblemReady = true;
        ProblemState exact;
        BuildExact(exact, Text(p.comboIndex, p.objective, p.lines), PivotRule::LargestCoefficient);
        for (int step = 0; step < 50; ++step) {
            const FullTableau f = FullTableauOf<double>(state);
            const ExactFullTableau q = FullTableauOf<Q>(exact);
            ASSERT_EQ(f.cells.size(), q.cells.size()) << p.name;
            for (size_t k = 0; k < f.cells.size(); ++k) EXPECT_NEAR(f.cells[k], q.cells[k].get_d(), 1e-9) << p.name;
            for (size_t k = 0; k < f.z.size(); ++k) EXPECT_NEAR(f.z[k], q.z[k].get_d(), 1e-9) << p.name;
            EXPECT_EQ(f.pivotCol, q.pivotCol) << p.name;
            const MatrixForm x = MatrixFormOf<double>(state, StandardFormOf<double>(state));
            for (size_t k = 0; k < x.reduced.size(); ++k) EXPECT_NEAR(x.reduced[k], f.z[x.nonbasic[k] - 1], 1e-9);
            if (state.Stage != SolveStage::Choosing) break;
            NextStep(state);
            NextStep(exact);
        }
    }
}

} // namespace
} // namespace optimara::testing
