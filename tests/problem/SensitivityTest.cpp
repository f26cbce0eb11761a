// SPDX-License-Identifier: GPL-3.0-or-later
// Dual prices, reduced costs and ranges read off the final tableau, judged
// against glpsol's sensitivity report; the dual problem's optimum against
// the primal's.
#include <random>
#include <sstream>

#include "Comparison.h"
#include "LpExport.h"
#include "Sensitivity.h"
#include "catalogue/Catalogue.h"

namespace optimara::testing {
namespace {

// The data are scaled by kScale in the costs and the right-hand sides, which
// scales every price, reduced cost, value and range by kScale: glpsol's
// report, printed to five decimals, then resolves 1e-9 of the problem as
// generated.
constexpr double kScale = 2e4;
constexpr double kTolerance = 1e-9 * kScale;

struct GlpkEntry {
    std::string status;
    double activity = 0, marginal = 0, activityLow = 0, activityHigh = 0, costLow = 0, costHigh = 0;
};

// Beyond a million the report prints fewer decimals.
bool coarseReport = false;

double ReportNumber(const std::string& token) {
    if (token == ".") return 0;
    const size_t point = token.find('.');
    if (token.find("Inf") == std::string::npos &&
        (point == std::string::npos || token.find('e') != std::string::npos || token.size() - point - 1 < 5))
        coarseReport = true;
    if (token == "+Inf") return kNoLimit;
    if (token == "-Inf") return -kNoLimit;
    return std::strtod(token.c_str(), nullptr);
}

std::vector<std::string> Tokens(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> tokens;
    for (std::string t; in >> t;) tokens.push_back(t);
    return tokens;
}

// Name -> entry, for the rows and for the columns of glpsol's report.
void ParseRanges(const std::string& report, std::map<std::string, GlpkEntry>& rows,
                 std::map<std::string, GlpkEntry>& columns) {
    std::istringstream in(report);
    std::map<std::string, GlpkEntry>* section = &rows;
    for (std::string line; std::getline(in, line);) {
        if (line.find("Column name") != std::string::npos) section = &columns;
        const std::vector<std::string> first = Tokens(line);
        if (first.size() < 9 || first[0].find_first_not_of("0123456789") != std::string::npos) continue;
        std::string next;
        std::getline(in, next);
        const std::vector<std::string> second = Tokens(next);
        if (second.size() < 4) continue;
        GlpkEntry& e = (*section)[first[1]];
        e.status = first[2];
        e.activity = ReportNumber(first[3]);
        e.activityLow = ReportNumber(first[6]);
        e.costLow = ReportNumber(first[7]);
        e.marginal = ReportNumber(second[0]);
        e.activityHigh = ReportNumber(second[2]);
        e.costHigh = ReportNumber(second[3]);
    }
}

void ExpectClose(double ours, double glpk, const std::string& what) {
    if (std::isinf(ours) || std::isinf(glpk)) {
        EXPECT_EQ(ours, glpk) << what;
        return;
    }
    EXPECT_NEAR(ours, glpk, kTolerance) << what;
}

TypedProblem Scaled(const TypedProblem& p) {
    auto text = [](double v) {
        char s[40];
        std::snprintf(s, sizeof s, "%.12g", v);
        return std::string(s);
    };
    ProblemTypist t(p.model.maximize);
    ProblemTypist::Terms objective;
    for (const LpTerm& term : p.model.objective) objective.push_back({text(term.coef * kScale), term.var});
    t.Objective(objective);
    for (const LpRow& row : p.model.rows) {
        ProblemTypist::Terms terms;
        for (const LpTerm& term : row.terms) terms.push_back({text(term.coef), term.var});
        t.Line(terms, row.rel, text(row.rhs * kScale));
    }
    return t.Done();
}

struct Solved {
    HeadlessHost host;
    bool optimal = false;
    explicit Solved(const ProblemText& text) {
        host.text = text;
        Button1Click(host);
        optimal = host.errorPanel.empty() && host.state.Stage == SolveStage::Optimal && !host.state.AtBuild;
    }
    SensitivityReport Report() const {
        return AnalyseOptimum(host.state.Model, host.state.Tableau, host.state.Labels);
    }
};

// Every right-hand-side range holds the typed right-hand side, every cost
// range the typed cost.
void ExpectRangesHold(const ProblemModel& model, const SensitivityReport& report, const std::string& what) {
    for (const LineRanging& line : report.lines) {
        const double rhs = model.lines[line.line].rhs;
        EXPECT_TRUE(line.rhs.lower <= rhs && rhs <= line.rhs.upper)
            << what << " | " << line.text << ": [" << line.rhs.lower << ", " << line.rhs.upper << "]";
    }
    for (const VariableRanging& v : report.variables) {
        const double cost = v.variable < model.objective.size() ? model.objective[v.variable] : 0.0;
        EXPECT_TRUE(v.cost.lower <= cost && cost <= v.cost.upper)
            << what << " | " << v.name << " " << cost << ": [" << v.cost.lower << ", " << v.cost.upper << "]";
    }
}

// False when glpsol's report was too coarse to judge by.
bool CompareWithGlpsol(const Solved& solved, const SensitivityReport& ours, const std::string& what) {
    const ProblemModel& model = solved.host.state.Model;
    std::map<std::string, GlpkEntry> rows, columns;
    coarseReport = false;
    ParseRanges(RunGlpsol(LpText(model), "", true).ranges, rows, columns);
    EXPECT_FALSE(columns.empty()) << what;
    if (coarseReport) return false;
    for (const LineRanging& line : ours.lines) {
        std::string name = line.slackName;
        if (name.back() == '\'') name.pop_back();
        if (rows.count(name) != 1) {
            ADD_FAILURE() << what << ": no row " << name;
            continue;
        }
        const GlpkEntry& g = rows[name];
        const std::string where = what + " | " + line.text;
        ExpectClose(line.price, g.marginal, where + " price");
        const char rel = model.lines[line.line].relation;
        if (g.status == "BS") {
            // A line that does not bind holds its price 0 down (up) to its activity.
            ExpectClose(line.rhs.lower, rel == '<' ? g.activity : -kNoLimit, where + " lower");
            ExpectClose(line.rhs.upper, rel == '>' ? g.activity : kNoLimit, where + " upper");
        } else {
            ExpectClose(line.rhs.lower, g.activityLow, where + " lower");
            ExpectClose(line.rhs.upper, g.activityHigh, where + " upper");
        }
    }
    const std::vector<std::string> names = LpNames(model);
    for (const VariableRanging& v : ours.variables) {
        const GlpkEntry& g = columns[names[v.variable]];
        const std::string where = what + " | " + v.name;
        ExpectClose(v.value, g.activity, where + " value");
        ExpectClose(v.reducedCost, g.marginal, where + " reduced cost");
        ExpectClose(v.cost.lower, g.costLow, where + " cost lower");
        ExpectClose(v.cost.upper, g.costHigh, where + " cost upper");
    }
    return true;
}

TEST(Sensitivity, AgreesWithGlpsolRangesOnNonDegenerateGeneratedProblems) {
    ASSERT_TRUE(GlpsolAvailable());
    int compared = 0, lines = 0;
    for (const Family& family : Families()) {
        const std::string name = family.name;
        if (name != "small integers, free variables" && name != "one and two decimals") continue;
        std::mt19937 rng(31337u);
        for (int k = 0; k < 250; ++k) {
            const TypedProblem p = Scaled(family.make(rng));
            Solved solved(p.text);
            if (!solved.optimal) continue;
            const SensitivityReport report = solved.Report();
            if (report.degenerate || report.otherOptima) continue;
            ExpectRangesHold(solved.host.state.Model, report, name + ": " + Describe(p));
            if (!CompareWithGlpsol(solved, report, name + ": " + Describe(p))) continue;
            ++compared;
            lines += static_cast<int>(report.lines.size());
        }
    }
    // Enough problems must pass the filter for the comparison to mean much.
    RecordProperty("compared", compared);
    RecordProperty("lines", lines);
    EXPECT_GE(compared, 20);
    EXPECT_GE(lines, 50);
}

// Rows and columns in units up to a million times apart.
TypedProblem VeryBadlyScaled(std::mt19937& rng) {
    const IntegerData d = RandomIntegers(rng, 4, 5, 0.7);
    std::vector<int> rowExp, colExp;
    for (size_t i = 0; i < d.a.size(); ++i) rowExp.push_back(Draw(rng, -6, 6));
    for (int j = 0; j < d.n; ++j) colExp.push_back(Draw(rng, -6, 6));
    return TypeIntegers(d, Chance(rng, 0.5), rowExp, colExp, true);
}

// Over every family, the badly scaled ones and each scaled by kScale too.
TEST(Sensitivity, EveryRangeHoldsItsValue) {
    int optimal = 0;
    std::vector<Family> families = Families();
    families.push_back({"very badly scaled", VeryBadlyScaled});
    for (const Family& family : families) {
        std::mt19937 rng(2718u);
        for (int k = 0; k < 120; ++k) {
            const TypedProblem p = family.make(rng);
            for (const TypedProblem& q : {p, Scaled(p)}) {
                Solved solved(q.text);
                if (!solved.optimal) continue;
                ++optimal;
                ExpectRangesHold(solved.host.state.Model, solved.Report(), std::string(family.name) + ": " + Describe(q));
            }
        }
    }
    EXPECT_GE(optimal, 400);
}

// A tableau whose values and costs are off beyond any tolerance gives the
// ranges of its basis computed exactly from the typed numbers.
TEST(Sensitivity, ARangeOffItsValueIsComputedAgainExactly) {
    const std::vector<ProblemText> problems = {
        {1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}},
        {0, "0.6a+0.35b", {"5a+7b>8", "4a+2b>15", "2a+b>3", "a>0", "b>0"}},
        {1, "2x+3y", {"x+y=4", "x>-2"}},
    };
    for (const ProblemText& text : problems) {
        Solved solved(text);
        ASSERT_TRUE(solved.optimal) << text.objective;
        const SensitivityReport clean = solved.Report();
        MatrixR& T = solved.host.state.Tableau;
        // Every basic value below 0, every reduced cost above: no range of
        // this tableau holds its value.
        for (uint32_t i = 1; i < T.rows; ++i) T.Index(i, T.cols) = std::fabs(T.Index(i, T.cols)) + 1;
        for (uint32_t j = 1; j < T.cols; ++j) T.Index(T.rows, j) = std::fabs(T.Index(T.rows, j)) + 1;
        const SensitivityReport again = solved.Report();
        ExpectRangesHold(solved.host.state.Model, again, text.objective);
        ASSERT_EQ(again.lines.size(), clean.lines.size());
        for (size_t k = 0; k < clean.lines.size(); ++k) {
            ExpectClose(again.lines[k].rhs.lower, clean.lines[k].rhs.lower, clean.lines[k].text);
            ExpectClose(again.lines[k].rhs.upper, clean.lines[k].rhs.upper, clean.lines[k].text);
        }
        for (size_t k = 0; k < clean.variables.size(); ++k) {
            ExpectClose(again.variables[k].cost.lower, clean.variables[k].cost.lower, clean.variables[k].name);
            ExpectClose(again.variables[k].cost.upper, clean.variables[k].cost.upper, clean.variables[k].name);
        }
    }
}

// Which optima the words report.
TEST(Sensitivity, DegenerateAndOtherOptimaAreTold) {
    struct Case {
        std::string name;
        std::string objective;
        std::vector<std::string> lines;
        bool degenerate, otherOptima;
    };
    const std::vector<Case> cases = {
        {"three lines through the optimum", "x+y", {"x+3y<6", "x+2y<5", "2x+y<7", "x>0", "y>0"}, true, false},
        {"objective along an edge", "x+y", {"x+y<4", "x<3", "x>0", "y>0"}, false, true},
        {"equality and free variables", "2x+3y", {"x+y=4", "x>-2"}, false, false},
    };
    for (const Case& c : cases) {
        Solved solved({1, c.objective, c.lines});
        ASSERT_TRUE(solved.optimal) << c.name;
        const SensitivityReport r = solved.Report();
        EXPECT_EQ(r.degenerate, c.degenerate) << c.name;
        EXPECT_EQ(r.otherOptima, c.otherOptima) << c.name;
    }
}

TEST(Sensitivity, TheDualsOptimumIsThePrimals) {
    int compared = 0;
    std::vector<ProblemText> problems;
    for (const catalogue::KnownProblem& p : catalogue::Problems()) problems.push_back({p.comboIndex, p.objective, p.lines});
    for (const Family& family : Families()) {
        std::mt19937 rng(99u);
        for (int k = 0; k < 15; ++k) problems.push_back(family.make(rng).text);
    }
    for (const ProblemText& text : problems) {
        Solved solved(text);
        if (!solved.optimal) continue;
        const ProblemText dual = DualProblem(solved.host.state.Model);
        double dualOptimum = 0;
        std::string written = dual.objective;
        for (const std::string& line : dual.lines) written += " | " + line;
        ASSERT_TRUE(SolveToOptimum(dual, dualOptimum)) << written;
        const double primal = solved.Report().objective;
        EXPECT_NEAR(dualOptimum, primal, 1e-7 * std::max(1.0, std::fabs(primal))) << written;
        ++compared;
    }
    EXPECT_GE(compared, 40);
}

// A dual whose numbers overflow a double has no optimum to show, and the
// analysis that asks for it goes on: nothing escapes the re-solve.
TEST(Sensitivity, ADualThatOverflowsHasNoOptimum) {
    const std::string huge = "1" + std::string(400, '0');
    const std::vector<ProblemText> texts = {
        {1, huge + "x+y", {"x+y<4", "x>0", "y>0"}},
        {0, "x+y", {"x+y>" + huge, "x>0", "y>0"}},
    };
    for (const ProblemText& text : texts) {
        double optimum = 0;
        bool solved = true;
        EXPECT_NO_THROW(solved = SolveToOptimum(text, optimum)) << text.objective;
        EXPECT_FALSE(solved) << text.objective;
    }
}

} // namespace
} // namespace optimara::testing
