// SPDX-License-Identifier: GPL-3.0-or-later
// Ranging on the final tableau of the exchange form.
//
// Row i of the tableau states  -(basic of row i) = sum_j T(i,j) (column j) + T(i,n+1)
// and the objective row  z = sum_j T(m+1,j) (column j) + T(m+1,n+1), z maximised.
// Variables 1..n are the first tableau's columns, n+1..n+m its rows' slacks
// (s = -(a x + a0) >= 0 for the row a x + a0 <= 0).
#include "Sensitivity.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "BranchAndBound.h"
#include "BuildProblem.h"
#include "Fault.h"
#include "MatrixQ.h"
#include "Simplex.h"

namespace optimara {
namespace {

struct Optimum {
    const ProblemModel& model;
    const MatrixR& T;
    uint32_t m, n;
    double sense;                    // +1 "Maximizar", -1 "Minimizar"
    // Tolerances relative to the data's scale; all 0 for a tableau computed
    // exactly, whose zeros are zeros.
    double valueTol = 0, costTol = 0, entryTol = 0;
    bool exact = false;
    std::vector<uint32_t> position;  // variable (1..n+m) -> position (1..n+m)
    std::vector<uint32_t> basicOf;   // row -> its basic variable
    std::vector<uint32_t> columnOf;  // column -> its variable

    bool Basic(uint32_t var) const { return position[var] > n; }
    uint32_t RowOf(uint32_t var) const { return position[var] - n; }
    uint32_t ColOf(uint32_t var) const { return position[var]; }
    uint32_t BasicOf(uint32_t r) const { return basicOf[r]; }
    uint32_t ColumnVariable(uint32_t j) const { return columnOf[j]; }
    double Value(uint32_t var) const { return Basic(var) ? -T.Index(RowOf(var), n + 1) : 0.0; }
    double Cost(uint32_t col) const { return T.Index(m + 1, col); }
    // A basic value within the tolerance of 0 is 0: a degenerate vertex. An
    // exact tableau of a basis the floating one found barely infeasible is
    // read the same way: its optimum is within rounding of that vertex.
    double RowValue(uint32_t r) const {
        const double v = -T.Index(r, n + 1);
        return std::fabs(v) <= valueTol || (exact && v < 0) ? 0.0 : v;
    }
    // A reduced cost the same way: within the tolerance of 0 it is 0.
    double ReducedCost(uint32_t col) const {
        const double d = Cost(col);
        return std::fabs(d) <= costTol || (exact && d > 0) ? 0.0 : d;
    }
    // Entries of a ratio's direction below the tolerance of its largest are
    // rounding residue.
    double EntryTol(const std::vector<double>& direction) const {
        double largest = 0;
        for (double x : direction) largest = std::max(largest, std::fabs(x));
        return entryTol * largest;
    }
    // One of the two columns of a free variable.
    bool FreePart(uint32_t var) const {
        return var <= n && !model.variables[model.columns[var - 1].variable].nonNegative;
    }
    // A slack of an "=" line whose other slack is basic.
    bool Paired(uint32_t var) const;
};

double LargestRightHandSide(const ProblemModel& model) {
    double largest = 0;
    for (const ModelLine& line : model.lines) largest = std::max(largest, std::fabs(line.rhs));
    return largest;
}

double LargestCost(const ProblemModel& model) {
    double largest = 0;
    for (double c : model.objective) largest = std::max(largest, std::fabs(c));
    return largest;
}

Optimum Read(const ProblemModel& model, const MatrixR& T, const MatrixZ& labels, bool exact) {
    Optimum o{model, T, T.rows - 1, T.cols - 1, model.maximize ? 1.0 : -1.0, 0, 0, 0, exact, {}, {}, {}};
    o.position.assign(o.m + o.n + 1, 0);
    o.basicOf.assign(o.m + 1, 0);
    o.columnOf.assign(o.n + 1, 0);
    for (uint32_t k = 1; k <= o.m + o.n; ++k) {
        const auto var = static_cast<uint32_t>(labels.Index(k, 1));
        o.position[var] = k;
        if (k > o.n) o.basicOf[k - o.n] = var;
        else o.columnOf[k] = var;
    }
    if (exact) return o;
    // The values scale with the right-hand sides, the reduced costs with the
    // costs: the residue of a step is a small part of the larger of the
    // typed numbers and the tableau's own.
    double values = LargestRightHandSide(model), costs = LargestCost(model);
    for (uint32_t i = 1; i <= o.m; ++i) values = std::max(values, std::fabs(T.Index(i, o.n + 1)));
    for (uint32_t j = 1; j <= o.n; ++j) costs = std::max(costs, std::fabs(T.Index(o.m + 1, j)));
    o.valueTol = 1e-9 * values;
    o.costTol = 1e-9 * costs;
    o.entryTol = 1e-12;
    return o;
}

// The tableau rows (0-based) of one left side: one, or two for "=".
std::vector<uint32_t> RowsOfSide(const ProblemModel& model, uint32_t line, uint32_t side) {
    std::vector<uint32_t> rows;
    for (uint32_t i = 0; i < model.rows.size(); ++i)
        if (model.rows[i].line == line && model.rows[i].side == side) rows.push_back(i);
    return rows;
}

// Moving the right-hand side by t moves row i's constant by -sigma_i t
// (sigma -1 for a negated row). Each basic value becomes v_r + t g_r; the
// range of t keeps them all non-negative, and z moves by `rate` t.
void RangeSide(const Optimum& o, const std::vector<uint32_t>& rows, double rhs, LineRanging& out) {
    std::vector<double> g(o.m + 1, 0.0);
    double rate = 0;
    for (uint32_t i : rows) {
        const uint32_t slack = o.n + i + 1;
        const double d = o.model.rows[i].negated ? 1.0 : -1.0;
        if (o.Basic(slack)) {
            g[o.RowOf(slack)] -= d;
            continue;
        }
        const uint32_t j = o.ColOf(slack);
        rate += o.Cost(j) * d;
        for (uint32_t r = 1; r <= o.m; ++r) g[r] -= o.T.Index(r, j) * d;
    }
    out.price = o.sense * rate;
    double low = -kNoLimit, high = kNoLimit;
    const double tol = o.EntryTol(g);
    for (uint32_t r = 1; r <= o.m; ++r) {
        const double v = o.RowValue(r);
        // A free variable passing 0 only changes which of its two columns
        // carries it; the price holds on.
        if (std::fabs(g[r]) <= tol || o.FreePart(o.BasicOf(r))) continue;
        if (g[r] > 0) low = std::max(low, -v / g[r]);
        else high = std::min(high, v / -g[r]);
    }
    out.rhs = {rhs + low, rhs + high};
}

std::vector<LineRanging> RangeLines(const Optimum& o) {
    std::vector<LineRanging> lines;
    for (uint32_t r = 0; r < o.model.rows.size(); ++r) {
        const RowOrigin& row = o.model.rows[r];
        if (r > 0 && o.model.rows[r - 1].line == row.line && o.model.rows[r - 1].side == row.side) continue;
        LineRanging out;
        out.line = row.line;
        out.side = row.side;
        out.text = SideText(o.model, row.line, row.side);
        out.slackName = o.model.slackNames[r];
        const ModelLine& typed = o.model.lines[row.line];
        out.slack = typed.relation == '=' ? 0.0 : o.Value(o.n + r + 1);
        if (std::fabs(out.slack) <= o.valueTol) out.slack = 0;
        RangeSide(o, RowsOfSide(o.model, row.line, row.side), typed.rhs, out);
        lines.push_back(std::move(out));
    }
    return lines;
}

// Changing the variable's cost by e changes each reduced cost d_j by e h_j;
// the solution stays optimal while every d_j + e h_j <= 0.
RangeLimits CostRange(const Optimum& o, const std::vector<std::pair<uint32_t, double>>& parts, double cost) {
    std::vector<double> h(o.n + 1, 0.0);
    for (const auto& [var, sign] : parts) {
        if (!o.Basic(var)) {
            h[o.ColOf(var)] += o.sense * sign;
            continue;
        }
        const uint32_t r = o.RowOf(var);
        for (uint32_t j = 1; j <= o.n; ++j) h[j] -= o.sense * sign * o.T.Index(r, j);
    }
    double low = -kNoLimit, high = kNoLimit;
    const double tol = o.EntryTol(h);
    for (uint32_t j = 1; j <= o.n; ++j) {
        // The slack of an "=" line never enters: its price may have either sign.
        if (std::fabs(h[j]) <= tol || o.Paired(o.ColumnVariable(j))) continue;
        const double bound = -o.ReducedCost(j) / h[j];
        if (h[j] > 0) high = std::min(high, bound);
        else low = std::max(low, bound);
    }
    return {cost + low, cost + high};
}

std::vector<VariableRanging> RangeVariables(const Optimum& o) {
    std::vector<VariableRanging> out;
    const ProblemModel& model = o.model;
    for (uint32_t j = 1; j <= model.columns.size(); ++j) {
        const ColumnOrigin& col = model.columns[j - 1];
        if (col.negativePart) continue;
        const ModelVariable& v = model.variables[col.variable];
        std::vector<std::pair<uint32_t, double>> parts{{j, 1.0}};
        if (!v.nonNegative) parts.push_back({j + 1, -1.0});
        VariableRanging r;
        r.variable = col.variable;
        r.name = v.name;
        r.nonNegative = v.nonNegative;
        for (const auto& [var, sign] : parts) r.value += sign * o.Value(var);
        // A free variable is never held at a bound: its reduced cost is 0.
        if (v.nonNegative && !o.Basic(j)) r.reducedCost = o.sense * o.Cost(o.ColOf(j));
        if (std::fabs(r.reducedCost) <= o.costTol) r.reducedCost = 0;
        const double cost = col.variable < model.objective.size() ? model.objective[col.variable] : 0.0;
        r.cost = CostRange(o, parts, cost);
        out.push_back(std::move(r));
    }
    return out;
}

// The other half of a pair that always moves with its partner: the two
// columns of a free variable, the two slacks of an "=" line.
uint32_t Partner(const Optimum& o, uint32_t var) {
    if (var <= o.n) {
        const ColumnOrigin& col = o.model.columns[var - 1];
        if (col.negativePart) return var - 1;
        if (var < o.n && o.model.columns[var].negativePart) return var + 1;
        return 0;
    }
    const uint32_t i = var - o.n - 1;
    const RowOrigin& row = o.model.rows[i];
    const auto same = [&](uint32_t k) {
        return k < o.model.rows.size() && o.model.rows[k].line == row.line && o.model.rows[k].side == row.side;
    };
    if (row.second && i > 0 && same(i - 1)) return var - 1;
    if (!row.second && same(i + 1)) return var + 1;
    return 0;
}

bool Optimum::Paired(uint32_t var) const {
    if (var <= n) return false;
    const uint32_t partner = Partner(*this, var);
    return partner != 0 && Basic(partner);
}

bool Degenerate(const Optimum& o) {
    for (uint32_t r = 1; r <= o.m; ++r) {
        if (std::fabs(o.T.Index(r, o.n + 1)) > o.valueTol) continue;
        const uint32_t var = o.BasicOf(r);
        const uint32_t partner = Partner(o, var);
        if (partner == 0 || o.Basic(partner)) return true;
    }
    return false;
}

// A column with zero reduced cost that can enter by a positive step leads
// to another optimum (a pair's column that only moves its basic partner
// does not).
bool OtherOptima(const Optimum& o) {
    for (uint32_t var = 1; var < o.position.size(); ++var) {
        if (o.Basic(var) || std::fabs(o.Cost(o.ColOf(var))) > o.costTol) continue;
        const uint32_t partner = Partner(o, var);
        if (partner != 0 && o.Basic(partner)) continue;
        const uint32_t j = o.ColOf(var);
        double step = kNoLimit;
        for (uint32_t r = 1; r <= o.m; ++r)
            if (o.T.Index(r, j) > 1e-12) step = std::min(step, -o.T.Index(r, o.n + 1) / o.T.Index(r, j));
        if (step > o.valueTol) return true;
    }
    return false;
}

void AddTerm(std::string& text, double coef, const std::string& name, bool keepZero) {
    if (coef == 0 && !keepZero) return;
    const std::string number = TypedNumber(std::fabs(coef));
    if (coef < 0) text += '-';
    else if (!text.empty()) text += '+';
    if (number != "1") text += number;
    text += name;
}

SensitivityReport Analyse(const ProblemModel& model, const MatrixR& tableau, const MatrixZ& labels, bool exact) {
    const Optimum o = Read(model, tableau, labels, exact);
    SensitivityReport report;
    report.objective = o.sense * tableau.Index(o.m + 1, o.n + 1);
    report.lines = RangeLines(o);
    report.variables = RangeVariables(o);
    report.degenerate = Degenerate(o);
    report.otherOptima = OtherOptima(o);
    return report;
}

double TypedCost(const ProblemModel& model, uint32_t variable) {
    return variable < model.objective.size() ? model.objective[variable] : 0.0;
}

bool Contains(const RangeLimits& range, double value) { return range.lower <= value && value <= range.upper; }

// The first tableau pivoted in exact rationals, from the typed numbers, to
// the basis of `labels`; false when the tableau is not the model's or the
// basis cannot be reached.
bool ExactTableauOfBasis(const ProblemModel& model, const MatrixZ& labels, MatrixR& tableau, MatrixZ& exactLabels) {
    MatrixQ T = ExactTableauFromModel(model);
    if (T.rows != tableau.rows || T.cols != tableau.cols) return false;
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    std::vector<bool> basic(m + n + 1, false);
    for (uint32_t k = n + 1; k <= n + m; ++k) basic[static_cast<uint32_t>(labels.Index(k, 1))] = true;
    exactLabels.Redefine(m + n, 1);
    for (uint32_t k = 1; k <= m + n; ++k) exactLabels.Index(k, 1) = static_cast<int32_t>(k);
    MatrixZ marks(T.rows, T.cols);
    // A column whose variable is basic at the end enters on a row whose
    // variable is not; the basis being regular, such a row has a nonzero entry.
    for (uint32_t q = 1; q <= n; ++q) {
        if (!basic[static_cast<uint32_t>(exactLabels.Index(q, 1))]) continue;
        uint32_t r = 1;
        while (r <= m && (basic[static_cast<uint32_t>(exactLabels.Index(n + r, 1))] || sgn(T.Index(r, q)) == 0)) ++r;
        if (r > m) return false;
        marks.Index(r, q) = 2;
        PivotStep(T, marks, 1, exactLabels);
        marks.Index(r, q) = 0;
    }
    MatrixR rounded = T.ToReal();
    tableau.Swap(rounded);
    return true;
}

} // namespace

bool RangesHoldTheirValues(const ProblemModel& model, const SensitivityReport& report) {
    for (const LineRanging& line : report.lines)
        if (!Contains(line.rhs, model.lines[line.line].rhs)) return false;
    for (const VariableRanging& v : report.variables)
        if (!Contains(v.cost, TypedCost(model, v.variable))) return false;
    return true;
}

SensitivityReport AnalyseOptimum(const ProblemModel& model, const MatrixR& tableau, const MatrixZ& labels) {
    SensitivityReport report = Analyse(model, tableau, labels, false);
    if (RangesHoldTheirValues(model, report)) return report;
    // The floating tableau's residue moved a range off its own value: the
    // same basis again, exactly.
    MatrixR exact(tableau);
    MatrixZ exactLabels(1, 1);
    if (ExactTableauOfBasis(model, labels, exact, exactLabels)) report = Analyse(model, exact, exactLabels, true);
    // Whatever is left is rounding at a limit; a range never leaves its value.
    for (LineRanging& line : report.lines) {
        const double rhs = model.lines[line.line].rhs;
        line.rhs = {std::min(line.rhs.lower, rhs), std::max(line.rhs.upper, rhs)};
    }
    for (VariableRanging& v : report.variables) {
        const double cost = TypedCost(model, v.variable);
        v.cost = {std::min(v.cost.lower, cost), std::max(v.cost.upper, cost)};
    }
    return report;
}

std::string TypedNumber(double v) {
    char text[400];
    const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed).ptr;
    return std::string(text, end);
}

ProblemText DualProblem(const ProblemModel& model) {
    // Each tableau row reads sigma a x <= sigma b. A maximum's dual prices
    // the rows in that form; a minimum's in the form -sigma a x >= -sigma b.
    const double form = model.maximize ? 1.0 : -1.0;
    struct DualVariable {
        std::string name;
        uint32_t line, side;
        double sign;  // of the side's coefficients and right-hand side
        bool free;
    };
    // A problem of sign lines alone has no row to price: its sign lines are
    // taken as its constraints and its variables as free, which is the same
    // problem and gives the dual a variable per sign line.
    const bool signLinesOnly = model.rows.empty();
    std::vector<RowOrigin> rows = model.rows;
    std::vector<std::string> names;
    for (const std::string& slack : model.slackNames) names.push_back("y" + slack.substr(1));
    if (signLinesOnly)
        for (const BoundOrigin& bound : model.bounds) {
            rows.push_back(bound.row);
            names.push_back("y" + std::to_string(rows.size()));
        }
    std::vector<DualVariable> duals;
    for (size_t r = 0; r < rows.size(); ++r) {
        const RowOrigin& row = rows[r];
        if (row.second && !duals.empty() && duals.back().line == row.line && duals.back().side == row.side) {
            duals.back().free = true;
            duals.back().sign = 1.0;
            duals.back().name.erase(std::remove(duals.back().name.begin(), duals.back().name.end(), '\''),
                                    duals.back().name.end());
            continue;
        }
        duals.push_back({names[r], row.line, row.side, form * (row.negated ? -1.0 : 1.0), false});
    }
    ProblemText dual;
    dual.comboIndex = model.maximize ? 0 : 1;
    for (const DualVariable& y : duals) AddTerm(dual.objective, y.sign * model.lines[y.line].rhs, y.name, true);
    for (uint32_t v = 0; v < model.variables.size(); ++v) {
        std::string line;
        for (const DualVariable& y : duals)
            for (const ModelTerm& t : model.lines[y.line].sides[y.side].terms)
                if (t.variable == v) AddTerm(line, y.sign * t.coef, y.name, false);
        const double cost = v < model.objective.size() ? model.objective[v] : 0.0;
        line += signLinesOnly || !model.variables[v].nonNegative ? "=" : model.maximize ? ">" : "<";
        dual.lines.push_back(line + TypedNumber(cost));
    }
    for (const DualVariable& y : duals)
        if (!y.free) dual.lines.push_back(y.name + ">0");
    return dual;
}

bool SolveToOptimum(const ProblemText& text, double& objective) {
    ProblemState state;
    // The same bound on the steps as a user who always answers Yes ten times.
    RestartBudget tenTimes(10);
    try {
        if (!SolveWithoutWindow(text, state, tenTimes).empty() || state.Stage != SolveStage::Optimal) return false;
    } catch (const FloatingPointFault&) {
        // A dual whose numbers a double cannot carry through the pivots
        // has no floating optimum to show; the analysis itself stands.
        return false;
    }
    objective = (text.comboIndex != 0 ? 1.0 : -1.0) * state.Tableau.Index(state.Tableau.rows, state.Tableau.cols);
    return true;
}

} // namespace optimara
