// SPDX-License-Identifier: GPL-3.0-or-later
// The dual simplex's choice of the pivot: first the row that leaves, then
// the column that enters, on the same exchange tableau and for the same
// exchange step as the primal choice.
//
// In this tableau a constraint row says  -basic = sum a_j x_j + b,  so the
// basic variable's value is -b, infeasible when b > 0; the objective row
// says  z = sum c_j x_j + z0  (maximised), optimal when every c_j <= 0.
// That sign is the start the dual simplex needs (dual feasible). When row r
// (b > 0) leaves and column q enters, x_q takes the value -b / a_q, which
// is non-negative only for a_q < 0: the entries of the right sign are the
// negative ones. The objective entries become c_j - c_q a_j / a_q; for
// a_j < 0 they stay <= 0 exactly when c_q / a_q <= c_j / a_j, so the
// entering column is the one of the smallest quotient c_j / a_j =
// |c_j| / |a_j| (both signs negative): the dual ratio test. For a_j >= 0
// the entry only falls. A row with b > 0 and no negative entry says
// -basic >= b > 0 whatever the variables: no point is feasible.
#include <gmpxx.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Artificial.h"
#include "DualSimplex.h"
#include "MatrixQ.h"

namespace optimara {
namespace {

double ToDouble(double x) { return x; }
double ToDouble(const mpq_class& x) { return x.get_d(); }

// The primal choice's tolerance, relative to the row's largest variable
// entry: a maximum does not depend on the order it is taken in, so this
// scalar pass judges every entry exactly as the primal choice does.
double Tolerance(const double* row, uint32_t n) {
    double largest = 0.0;
    for (uint32_t j = 0; j < n; ++j) largest = std::max(largest, std::fabs(row[j]));
    return 1e-9 * largest;
}
mpq_class Tolerance(const RowQ&, uint32_t) { return 0; }

// A negative entry; an exact one by its sign, without reducing it.
bool Negative(const double* row, uint32_t j, double tol) { return row[j] < -tol; }
bool Negative(const RowQ& row, uint32_t j, const mpq_class&) { return row.Sign(j) < 0; }

template <class Num>
Num Quotient(const Num& c, const Num& a, const Num& tolZ) {
    // An objective entry within the tolerance of 0 counts as 0.
    return c >= -tolZ ? Num(0) : Num(c / a);
}

template <class Matrix, class Num>
bool IsDualFeasible(const Matrix& T) {
    const uint32_t n = T.cols - 1;
    const auto z = RowOf(T, T.rows);
    const Num tolZ = Tolerance(z, n);
    for (uint32_t j = 0; j < n; ++j)
        if (z[j] > tolZ) return false;
    return true;
}

template <class Matrix, class Num>
std::vector<DualRowChoice> DualRows(const Matrix& T, bool& proof) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    const auto z = RowOf(T, m + 1);
    const Num tolZ = Tolerance(z, n);
    std::vector<DualRowChoice> rows;
    proof = false;
    for (uint32_t i = 1; i <= m; ++i) {
        const auto row = RowOf(T, i);
        const Num tol = Tolerance(row, n);
        if (!(row[n] > 0 && row[n] > tol)) continue;
        DualRowChoice r;
        r.row = i;
        r.value = -ToDouble(row[n]);
        bool any = false;
        Num best = 0;
        for (uint32_t j = 0; j < n; ++j) {
            if (!Negative(row, j, tol)) continue;
            const Num q = Quotient(z[j], row[j], tolZ);
            if (!any || q < best) {
                best = q;
                r.columns.clear();
            }
            if (!any || q == best) r.columns.push_back(j + 1);
            any = true;
        }
        if (!any) proof = true;
        r.ratio = any ? ToDouble(best) : 0.0;
        rows.push_back(std::move(r));
    }
    return rows;
}

template <class Matrix, class Num>
bool MoreInfeasible(const Matrix& T, uint32_t a, uint32_t b) {
    const uint32_t n = T.cols - 1;
    return T.Index(a, n + 1) > T.Index(b, n + 1);
}

template <class Matrix, class Num>
int32_t SelectDual(const Matrix& T, MatrixZ& marks, int32_t& count, RandomGenerator& random, PivotRule rule,
                   const MatrixZ* labels, int32_t* draw) {
    count = 0;
    if (draw) *draw = -1;
    if (T.rows == 1) return Optimal;
    const uint32_t n = T.cols - 1;
    marks.Redefine(T.rows - 1, n);
    bool proof = false;
    const std::vector<DualRowChoice> rows = DualRows<Matrix, Num>(T, proof);
    if (rows.empty()) return Optimal;
    if (proof) return Infeasible;
    std::vector<PivotCell> cells;
    for (const DualRowChoice& r : rows)
        for (uint32_t col : r.columns) {
            marks.Index(r.row, col) = 1;
            cells.push_back({r.row, col});
        }
    auto variable = [labels](uint32_t position) {
        return labels && position <= labels->rows ? labels->Index(position, 1) : static_cast<int32_t>(position);
    };
    PivotCell chosen;
    switch (rule) {
    case PivotRule::Random: {
        const int32_t k = random.RandomDraw() % static_cast<int32_t>(cells.size()) + 1;
        if (draw) *draw = k;
        chosen = cells[size_t(k - 1)];
        break;
    }
    case PivotRule::LargestCoefficient: {
        // The most infeasible row, the topmost of a tie; its leftmost column.
        const DualRowChoice* best = &rows.front();
        for (const DualRowChoice& r : rows)
            if (MoreInfeasible<Matrix, Num>(T, r.row, best->row)) best = &r;
        chosen = {best->row, best->columns.front()};
        break;
    }
    case PivotRule::SmallestIndex: {
        // Bland: the row whose basic variable comes first, then the tied
        // column whose variable comes first; the dual method then never
        // cycles.
        const DualRowChoice* best = &rows.front();
        for (const DualRowChoice& r : rows)
            if (variable(n + r.row) < variable(n + best->row)) best = &r;
        uint32_t col = best->columns.front();
        for (uint32_t c : best->columns)
            if (variable(c) < variable(col)) col = c;
        chosen = {best->row, col};
        break;
    }
    }
    marks.Index(chosen.row, chosen.col) = 2;
    count = static_cast<int32_t>(cells.size());
    return PivotChosen;
}

} // namespace

bool DualFeasible(const MatrixR& T) { return IsDualFeasible<MatrixR, double>(T); }
bool DualFeasible(const MatrixQ& T) { return IsDualFeasible<MatrixQ, mpq_class>(T); }

std::vector<DualRowChoice> ExamineDualRows(const MatrixR& T, bool& proof) { return DualRows<MatrixR, double>(T, proof); }
std::vector<DualRowChoice> ExamineDualRows(const MatrixQ& T, bool& proof) {
    return DualRows<MatrixQ, mpq_class>(T, proof);
}

int32_t SelectDualPivot(const MatrixR& T, MatrixZ& marks, int32_t& count, RandomGenerator& random, PivotRule rule,
                        const MatrixZ* labels, int32_t* draw) {
    return SelectDual<MatrixR, double>(T, marks, count, random, rule, labels, draw);
}
int32_t SelectDualPivot(const MatrixQ& T, MatrixZ& marks, int32_t& count, RandomGenerator& random, PivotRule rule,
                        const MatrixZ* labels, int32_t* draw) {
    return SelectDual<MatrixQ, mpq_class>(T, marks, count, random, rule, labels, draw);
}

int32_t SelectMethodPivot(EngineState& e) {
    if (UsesArtificials(e.Method)) return SelectArtificialPivot(e);
    const bool dual = e.Method == SolveMethod::DualSimplex;
    if (e.Exact)
        return dual ? SelectDualPivot(e.ExactTableau, e.PivotMarks, e.CandidateCount, e.Random, e.Rule, &e.Labels,
                                      &e.LastDraw)
                    : SelectPivot(e.ExactTableau, e.PivotMarks, e.CandidateCount, e.Random, e.Rule, &e.Labels,
                                  &e.LastDraw);
    return dual ? SelectDualPivot(e.Tableau, e.PivotMarks, e.CandidateCount, e.Random, e.Rule, &e.Labels, &e.LastDraw)
                : SelectPivot(e.Tableau, e.PivotMarks, e.CandidateCount, e.Random, e.Rule, &e.Labels, &e.LastDraw);
}

} // namespace optimara
