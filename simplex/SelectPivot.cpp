#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
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
    // The best ratio so far. A column that may not enter holds +infinity,
    // which no ratio reaches; an eligible column that no row has limited yet
    // holds -infinity, which every ratio reaches. So "this row may change
    // the column" is one comparison, ratio >= d, for every column alike.
    std::vector<double> d;
    std::vector<int32_t> k;
    // Every cell given a working label, as (row, zero-based column): few per
    // column, so the candidates are collected without a pass over all marks.
    std::vector<std::pair<uint32_t, uint32_t>> labelled;
    // The columns a row reaches, found by one pass without branches.
    std::vector<uint32_t> reached;
    explicit ColumnTests(uint32_t n) : eligible(n, 0), d(n, kNever), k(n, -1), reached(n) {
        labelled.reserve(4 * std::size_t(n));
    }
    static constexpr double kNever = std::numeric_limits<double>::infinity();
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

// Running maxima two lanes wide and four deep, in the compiler's vector
// type, so the pass is neither one chain of dependent comparisons nor one
// element at a time. The largest magnitude does not depend on the order in
// which the entries are compared.
using Lanes = double __attribute__((vector_size(16)));

double RowTolerance(const double* row, uint32_t n) {
    Lanes m[4] = {};
    size_t j = 0;
    for (; j + 8 <= n; j += 8)
        for (size_t k = 0; k < 4; ++k) {
            Lanes a;
            std::memcpy(&a, row + j + 2 * k, sizeof a);
            a = a < 0 ? -a : a;
            m[k] = a > m[k] ? a : m[k];
        }
    double largest = 0.0;
    for (const Lanes& lanes : m) largest = std::max({largest, lanes[0], lanes[1]});
    for (; j < n; ++j) largest = std::max(largest, std::fabs(row[j]));
    return kRelativeTolerance * largest;
}

// A row limits the entering column when moving along the column would make
// it infeasible: its entry must be positive. A row whose constant is (within
// the tolerance) 0 limits at once, at the ratio 0, the tightest of all; the
// others at their ratio constant / entry, which is negative.
//
// Most rows change the test of few columns: only where their ratio reaches
// the column's best so far. A pass without divisions or branches finds those
// columns, by the product d * entry against the constant (constant / entry
// >= d exactly when constant >= d * entry, the entry being positive), with
// room for the rounding of both sides, so that it never misses a column;
// the exact quotient then decides for the few it finds.
struct RowScan {
    double tolerance = 0.0;
    double constant = 0.0;
    bool atOnce = false;  // the constant is 0: every limiting entry gives the ratio 0

    void Of(const double* row, uint32_t n) {
        tolerance = RowTolerance(row, n);
        constant = row[n];
        atOnce = constant >= -tolerance;
    }
    // The ratio of a limiting entry: the same quotient the test is defined by.
    double Ratio(const double* row, uint32_t i) const { return atOnce ? 0.0 : constant / row[i]; }
    // The columns the row may limit at a ratio at least d: a superset of
    // those where the exact ratio reaches d, written to `out`, counted.
    uint32_t Reached(const double* row, uint32_t n, const std::vector<double>& d, uint32_t* out) const {
        uint32_t count = 0;
        if (atOnce) {
            for (uint32_t i = 0; i < n; ++i) {
                out[count] = i;
                count += (row[i] > tolerance) & (0.0 >= d[i]);
            }
            return count;
        }
        for (uint32_t i = 0; i < n; ++i) {
            const double product = d[i] * row[i];
            // Relative room for the two roundings, and absolute room for a
            // product that lost precision below the normal range. An
            // infinite d gives an infinite product and so needs no room:
            // -inf is reached by every ratio, +inf (or NaN) by none.
            const double room = std::fabs(product) * 1e-15 + 1e-290;
            out[count] = i;
            count += (row[i] > tolerance) & (constant >= product - room);
        }
        return count;
    }
};

// Feasibility phase on the last infeasible row a.
int32_t FeasibilityPhase(const MatrixR& T, MatrixZ& marks, int32_t& count, uint32_t a, ColumnTests& c) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
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
    uint32_t* reached = c.reached.data();
    RowScan limits;
    for (uint32_t j = a + 1; j <= m; ++j) {
        const double* row = T.RowData(j);
        limits.Of(row, n);
        int32_t* mark = marks.RowData(j);
        const uint32_t hits = limits.Reached(row, n, c.d, reached);
        for (uint32_t h = 0; h < hits; ++h) {
            const uint32_t i = reached[h];
            const double x = limits.Ratio(row, i);
            if (x < c.d[i]) continue;
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

int32_t OptimalityPhase(const MatrixR& T, MatrixZ& marks, int32_t& count, ColumnTests& c) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    int32_t status = Optimal;
    const double* objective = T.RowData(m + 1);
    const double tolZ = RowTolerance(objective, n);
    for (uint32_t i = 0; i < n; ++i)
        if (objective[i] > tolZ) {
            c.eligible[i] = 1;
            c.d[i] = -ColumnTests::kNever;
            status = PivotChosen;
        }
    uint32_t* reached = c.reached.data();
    RowScan limits;
    for (uint32_t j = 1; j <= m; ++j) {
        const double* row = T.RowData(j);
        limits.Of(row, n);
        int32_t* mark = marks.RowData(j);
        const uint32_t hits = limits.Reached(row, n, c.d, reached);
        for (uint32_t h = 0; h < hits; ++h) {
            const uint32_t i = reached[h];
            const double x = limits.Ratio(row, i);
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

// The t-th candidate in row-by-row order becomes the pivot. The labelled
// cells were visited row by row, each column in increasing order, so the
// candidates among them stand in that order already.
void ChooseAtRandom(MatrixZ& marks, const ColumnTests& c, int32_t count, RandomGenerator& random) {
    int32_t t = random.RandomDraw() % count + 1;
    for (const auto& [row, i] : c.labelled) {
        int32_t& mark = marks.RowData(row)[i];
        if (mark == 1 && --t == 0) {
            mark = 2;
            return;
        }
    }
}

} // namespace

uint32_t LastInfeasibleRow(const MatrixR& T) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    uint32_t a = 0;
    // The tolerance is never negative: only a positive constant needs it.
    for (uint32_t i = 1; i <= m; ++i) {
        const double constant = T.Index(i, n + 1);
        if (constant > 0 && constant > RowTolerance(T.RowData(i), n)) a = i;
    }
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
    ColumnTests c(n);
    int32_t status = a >= 1 ? FeasibilityPhase(T, pivotMarks, candidateCount, a, c)
                            : OptimalityPhase(T, pivotMarks, candidateCount, c);
    if (candidateCount > 0) ChooseAtRandom(pivotMarks, c, candidateCount, random);
    return status;
}

} // namespace optimara
