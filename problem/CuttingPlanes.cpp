// SPDX-License-Identifier: GPL-3.0-or-later
#include "CuttingPlanes.h"

#include <gmpxx.h>

#include <algorithm>

#include "Simplex.h"

namespace optimara {
namespace {

// The exact tableau at the current basis. In exact arithmetic it is the
// state's own; otherwise the first tableau, read exactly from the typed
// digits (added lines included), is pivoted until the same variables are
// basic, so that no rounding reaches the cut.
struct ExactBasis {
    MatrixQ tableau{1, 1};
    MatrixZ labels{1, 1};
};

void AtCurrentBasis(const ProblemState& s, ExactBasis& e) {
    if (s.Exact) {
        e.tableau = s.ExactTableau;
        CopyMatrix(s.Labels, e.labels);
        return;
    }
    e.tableau = ExactTableauFromModel(s.Model);
    const uint32_t m = e.tableau.rows - 1, n = e.tableau.cols - 1;
    e.labels.Redefine(n + m, 1);
    for (uint32_t p = 1; p <= n + m; ++p) e.labels.Index(p, 1) = static_cast<int32_t>(p);
    std::vector<char> wanted(n + m + 1, 0);  // basic now
    for (uint32_t p = n + 1; p <= n + m; ++p) wanted[uint32_t(s.Labels.Index(p, 1))] = 1;
    MatrixZ marks(m, n);
    for (bool moved = true; moved;) {
        moved = false;
        for (uint32_t c = 1; c <= n && !moved; ++c) {
            if (!wanted[uint32_t(e.labels.Index(c, 1))]) continue;
            for (uint32_t r = 1; r <= m && !moved; ++r) {
                if (wanted[uint32_t(e.labels.Index(n + r, 1))] || sgn(e.tableau.Index(r, c)) == 0) continue;
                marks.Index(r, c) = 2;
                PivotStep(e.tableau, marks, 1, e.labels);
                marks.Index(r, c) = 0;
                moved = true;
            }
        }
    }
}

mpq_class Floor(const mpq_class& x) {
    mpz_class q;
    mpz_fdiv_q(q.get_mpz_t(), x.get_num_mpz_t(), x.get_den_mpz_t());
    return mpq_class(q);
}
mpq_class Fraction(const mpq_class& x) { return x - Floor(x); }

// The value of every variable (columns first, then slacks) at the basis.
std::vector<mpq_class> Values(const ExactBasis& e) {
    const uint32_t m = e.tableau.rows - 1, n = e.tableau.cols - 1;
    std::vector<mpq_class> value(n + m + 1, 0);
    for (uint32_t r = 1; r <= m; ++r) value[uint32_t(e.labels.Index(n + r, 1))] = -e.tableau.Index(r, n + 1);
    return value;
}

// A constraint row of the first tableau, exactly: -h = cells·x + constant,
// one cell per variable.
void FirstRow(const ProblemModel& model, uint32_t k, std::vector<mpq_class>& cells, mpq_class& constant) {
    const RowOrigin& row = model.rows[k];
    const ModelLine& line = model.lines[row.line];
    cells.assign(model.variables.size(), 0);
    for (const ModelTerm& t : line.sides[row.side].terms) cells[t.variable] = ExactTermCell(line, row, t);
    constant = ExactConstant(line, row);
}

// The positive number that makes every number of the list whole.
mpz_class CommonDenominator(const std::vector<mpq_class>& numbers) {
    mpz_class d = 1;
    for (const mpq_class& x : numbers) mpz_lcm(d.get_mpz_t(), d.get_mpz_t(), x.get_den_mpz_t());
    return d;
}

std::string NumberText(const mpq_class& x) { return x.get_str(); }

// Shown as "≤" when that makes the first coefficient positive.
std::string CutText(const ProblemModel& model, std::vector<mpq_class> c, mpq_class rhs) {
    const auto first = std::find_if(c.begin(), c.end(), [](const mpq_class& x) { return sgn(x) != 0; });
    const bool below = first != c.end() && sgn(*first) < 0;
    if (below) {
        for (mpq_class& x : c) x = -x;
        rhs = -rhs;
    }
    std::string s;
    for (size_t v = 0; v < c.size(); ++v) {
        if (sgn(c[v]) == 0) continue;
        const mpq_class a = abs(c[v]);
        s += s.empty() ? (sgn(c[v]) < 0 ? "−" : "") : (sgn(c[v]) < 0 ? " − " : " + ");
        s += (a == 1 ? "" : NumberText(a)) + model.variables[v].name;
    }
    if (s.empty()) s = "0";
    return s + (below ? " ≤ " : " ≥ ") + (sgn(rhs) < 0 ? "−" + NumberText(-rhs) : NumberText(rhs));
}

// The cut sum f_j N'_j >= f0 over the scaled nonbasic variables, written
// over the problem's variables: a slack h_k is -(cells_k·x + constant_k).
void OverVariables(const ProblemModel& model, const std::vector<std::pair<uint32_t, mpq_class>>& terms, uint32_t n,
                   std::vector<mpq_class>& c, mpq_class& rhs) {
    c.assign(model.variables.size(), 0);
    for (const auto& [variable, f] : terms) {
        if (variable <= n) {
            c[model.columns[variable - 1].variable] += f;
            continue;
        }
        std::vector<mpq_class> cells;
        mpq_class constant;
        FirstRow(model, variable - n - 1, cells, constant);
        for (size_t v = 0; v < cells.size(); ++v) c[v] -= f * cells[v];
        rhs += f * constant;
    }
}

// The scale that makes a variable whole: 1 for a problem variable, for a
// slack the common denominator of its row's data.
mpq_class Scale(const ProblemModel& model, uint32_t variable, uint32_t n) {
    if (variable <= n) return 1;
    std::vector<mpq_class> cells;
    mpq_class constant;
    FirstRow(model, variable - n - 1, cells, constant);
    cells.push_back(constant);
    return mpq_class(CommonDenominator(cells));
}

} // namespace

bool IntegerOptimum(const ProblemState& s) {
    ExactBasis e;
    AtCurrentBasis(s, e);
    const std::vector<mpq_class> value = Values(e);
    for (uint32_t j = 1; j <= s.Model.columns.size(); ++j)
        if (value[j].get_den() != 1 &&
            std::count(s.Model.integers.begin(), s.Model.integers.end(), s.Model.columns[j - 1].variable))
            return false;
    return true;
}

std::string MakeGomoryCut(const ProblemState& s, GomoryCut& cut) {
    const ProblemModel& model = s.Model;
    if (model.integers.size() != model.variables.size() || model.columns.size() != model.variables.size())
        return kCutsNeedIntegers;
    ExactBasis e;
    AtCurrentBasis(s, e);
    const uint32_t m = e.tableau.rows - 1, n = e.tableau.cols - 1;
    const std::vector<mpq_class> value = Values(e);
    // The first fractional variable in the order of the names; its row.
    uint32_t source = 0;
    for (uint32_t v = 1; v <= n && source == 0; ++v)
        if (value[v].get_den() != 1)
            for (uint32_t r = 1; r <= m; ++r)
                if (uint32_t(e.labels.Index(n + r, 1)) == v) source = r;
    if (source == 0) return "";
    // -B = sum a_j N_j + b, with N_j = N'_j / scale_j whole: B + sum a_j /
    // scale_j N'_j = -b, whose cut is sum frac(a_j / scale_j) N'_j >= frac(-b).
    const mpq_class* row = e.tableau.RowData(source);
    std::vector<std::pair<uint32_t, mpq_class>> terms;
    for (uint32_t j = 1; j <= n; ++j) {
        if (sgn(row[j - 1]) == 0) continue;
        const uint32_t variable = uint32_t(e.labels.Index(j, 1));
        const mpq_class scale = Scale(model, variable, n);
        const mpq_class f = Fraction(row[j - 1] / scale);
        if (sgn(f) != 0) terms.emplace_back(variable, f * scale);
    }
    std::vector<mpq_class> c;
    mpq_class rhs = Fraction(-row[n]);
    OverVariables(model, terms, n, c, rhs);
    // Whole coefficients, as small as they go.
    std::vector<mpq_class> all = c;
    all.push_back(rhs);
    const mpz_class d = CommonDenominator(all);
    mpz_class g = 0;
    for (mpq_class& x : all) {
        x *= d;
        mpz_gcd(g.get_mpz_t(), g.get_mpz_t(), x.get_num_mpz_t());
    }
    if (g == 0) g = 1;
    for (mpq_class& x : c) x = x * d / g;
    rhs = rhs * d / g;

    cut = GomoryCut{};
    const uint32_t basic = uint32_t(e.labels.Index(n + source, 1));
    for (uint32_t r = 1; r <= m; ++r)
        if (uint32_t(s.Labels.Index(n + r, 1)) == basic) cut.sourceRow = r;
    cut.variable = model.variables[model.columns[basic - 1].variable].name;
    cut.value = value[basic];
    cut.text = CutText(model, c, rhs);
    ModelSide side;
    for (uint32_t v = 0; v < c.size(); ++v)
        if (sgn(c[v]) != 0) {
            if (!side.text.empty() && sgn(c[v]) > 0) side.text += "+";
            const std::string number = c[v].get_str();
            side.terms.push_back({v, uint32_t(side.text.size()), c[v].get_d()});
            side.text += number + model.variables[v].name;
        }
    cut.line.sides.push_back(std::move(side));
    cut.line.relation = '>';
    cut.line.rhs = rhs.get_d();
    cut.line.rhsText = rhs.get_str();
    cut.plane.assign(model.variables.size() + 1, 0.0);
    for (uint32_t v = 0; v < c.size(); ++v) cut.plane[v] = sgn(c[v]) == 0 ? 0.0 : -c[v].get_d();
    cut.plane.back() = rhs.get_d();
    return "";
}

} // namespace optimara
