#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "Simplex.h"

namespace optimara {
namespace {

// The ratio tests of the columns are independent of each other, so they run
// side by side, row by row: each column keeps its best ratio d and its
// current label k. Walking the tableau by rows keeps it in the cache.
struct ColumnTests {
    std::vector<char> eligible;
    std::vector<double> d;
    std::vector<int32_t> k;
    // Every cell given a working label, as (row, zero-based column): few per
    // column, so the candidates are collected without a pass over all marks.
    std::vector<std::pair<uint32_t, uint32_t>> labelled;
    explicit ColumnTests(uint32_t n) : eligible(n, 0), d(n, 1.0), k(n, -1) { labelled.reserve(4 * std::size_t(n)); }
    void Label(int32_t* mark, uint32_t row, uint32_t i, int32_t label) {
        if (mark[i] == 0) labelled.emplace_back(row, i);
        mark[i] = label;
    }
};

// Turns the labels equal to each column's final label into candidates and
// clears the others.
int32_t CollectCandidates(MatrixZ& marks, const ColumnTests& c) {
    int32_t count = 0;
    for (const auto& [row, i] : c.labelled) {
        int32_t& mark = marks.RowData(row)[i];
        if (mark == c.k[i]) {
            mark = 1;
            ++count;
        } else {
            mark = 0;
        }
    }
    return count;
}

// Rounding residue must not decide a pivot: an entry counts as non-zero,
// a constant as infeasible and an objective entry as improving only beyond
// a tolerance. It is measured per row, against the largest magnitude among
// the row's variable entries: a row may be multiplied by any positive number
// without changing the problem, and only a scale that moves with the row
// judges a badly scaled row as fairly as a well scaled one (the tableau's
// largest entry would let one large row silence the entries of a small one).
// The constant is left out of the scale, so that a large right-hand side does
// not hide the entries that limit it. Exact data, whose entries are either 0
// or far above this, is judged exactly as by exact comparisons.
constexpr double kRelativeTolerance = 1e-9;

// Four running maxima side by side, so the pass is not one long chain of
// dependent comparisons.
double RowTolerance(const double* row, uint32_t n) {
    double m[4] = {0.0, 0.0, 0.0, 0.0};
    uint32_t j = 0;
    for (; j + 4 <= n; j += 4)
        for (uint32_t k = 0; k < 4; ++k) {
            const double a = std::fabs(row[j + k]);
            m[k] = a > m[k] ? a : m[k];
        }
    for (; j < n; ++j) m[0] = std::fabs(row[j]) > m[0] ? std::fabs(row[j]) : m[0];
    const double largest = std::max(std::max(m[0], m[1]), std::max(m[2], m[3]));
    return kRelativeTolerance * largest;
}

// A row limits the entering column when moving along the column would make
// it infeasible: its entry must be positive. A row whose constant is (within
// the tolerance) 0 limits at once, at the ratio 0, the tightest of all; the
// others at their ratio constant / entry, which is negative. Writes the
// ratio and answers whether the row limits.
inline bool Limits(double constant, double entry, double tolerance, double& ratio) {
    if (!(entry > tolerance)) return false;
    if (constant >= -tolerance) {
        ratio = 0.0;
        return true;
    }
    ratio = constant / entry;
    return true;
}

// Feasibility phase on the last infeasible row a.
int32_t FeasibilityPhase(const MatrixR& T, MatrixZ& marks, int32_t& count, uint32_t a) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    ColumnTests c(n);
    const double* rowA = T.RowData(a);
    const double b = rowA[n];
    const double tolA = RowTolerance(rowA, n);
    int32_t* markA = marks.RowData(a);
    for (uint32_t i = 0; i < n; ++i) {
        if (!(rowA[i] < -tolA)) continue;
        c.eligible[i] = 1;
        c.d[i] = b / rowA[i];
        c.Label(markA, a, i, -1);
    }
    for (uint32_t j = a + 1; j <= m; ++j) {
        const double* row = T.RowData(j);
        const double tol = RowTolerance(row, n);
        int32_t* mark = marks.RowData(j);
        for (uint32_t i = 0; i < n; ++i) {
            double x = 0.0;
            if (!c.eligible[i] || !Limits(row[n], row[i], tol, x) || x < c.d[i]) continue;
            if (x > c.d[i]) {
                c.d[i] = x;
                c.k[i] -= 1;
            }
            c.Label(mark, j, i, c.k[i]);
        }
    }
    count += CollectCandidates(marks, c);
    return count == 0 ? Infeasible : PivotChosen;
}

int32_t OptimalityPhase(const MatrixR& T, MatrixZ& marks, int32_t& count) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    ColumnTests c(n);
    int32_t status = Optimal;
    const double* objective = T.RowData(m + 1);
    const double tolZ = RowTolerance(objective, n);
    for (uint32_t i = 0; i < n; ++i)
        if (objective[i] > tolZ) {
            c.eligible[i] = 1;
            status = PivotChosen;
        }
    for (uint32_t j = 1; j <= m; ++j) {
        const double* row = T.RowData(j);
        const double tol = RowTolerance(row, n);
        int32_t* mark = marks.RowData(j);
        for (uint32_t i = 0; i < n; ++i) {
            double x = 0.0;
            if (!c.eligible[i] || !Limits(row[n], row[i], tol, x)) continue;
            if (c.k[i] == -1 || x > c.d[i]) {
                c.k[i] -= 1;
                c.d[i] = x;
                c.Label(mark, j, i, c.k[i]);
            } else if (x == c.d[i]) {
                c.Label(mark, j, i, c.k[i]);
            }
        }
    }
    count += CollectCandidates(marks, c);
    if (status == PivotChosen && count == 0) status = Unbounded;
    return status;
}

void ChooseAtRandom(MatrixZ& marks, int32_t count, RandomGenerator& random) {
    int32_t t = random.RandomDraw() % count + 1;
    for (uint32_t r = 1; r <= marks.rows; ++r) {
        int32_t* row = marks.RowData(r);
        for (uint32_t c = 0; c < marks.cols; ++c)
            if (row[c] == 1 && --t == 0) {
                row[c] = 2;
                return;
            }
    }
}

} // namespace

uint32_t LastInfeasibleRow(const MatrixR& T) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    uint32_t a = 0;
    for (uint32_t i = 1; i <= m; ++i)
        if (T.Index(i, n + 1) > RowTolerance(T.RowData(i), n)) a = i;
    return a;
}

int32_t SelectPivot(const MatrixR& T, MatrixZ& pivotMarks, int32_t& candidateCount,
                    RandomGenerator& random) {
    candidateCount = 0;
    const uint32_t n = T.cols - 1;
    if (T.rows == 1) {
        const double tolZ = RowTolerance(T.RowData(1), n);
        for (uint32_t j = 1; j <= n; ++j)
            if (T.Index(1, j) > tolZ) return Unbounded;
        return Optimal;
    }
    const uint32_t m = T.rows - 1;
    pivotMarks.Redefine(m, n);
    const uint32_t a = LastInfeasibleRow(T);
    int32_t status = a >= 1 ? FeasibilityPhase(T, pivotMarks, candidateCount, a)
                            : OptimalityPhase(T, pivotMarks, candidateCount);
    if (candidateCount > 0) ChooseAtRandom(pivotMarks, candidateCount, random);
    return status;
}

} // namespace optimara
