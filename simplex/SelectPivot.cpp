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
    explicit ColumnTests(uint32_t n) : eligible(n, 0), d(n, 1.0), k(n, -1) {}
};

// Turns the labels equal to each column's final label into candidates and
// clears the others. Only cells with a non-zero entry ever get a label, so
// the marks alone tell which cells to look at.
int32_t CollectCandidates(MatrixZ& marks, const ColumnTests& c, uint32_t from) {
    const uint32_t m = marks.rows, n = marks.cols;
    int32_t count = 0;
    for (uint32_t l = from; l <= m; ++l) {
        int32_t* mark = marks.RowData(l);
        for (uint32_t i = 0; i < n; ++i) {
            if (mark[i] >= 0) continue;
            if (mark[i] == c.k[i]) {
                mark[i] = 1;
                ++count;
            } else {
                mark[i] = 0;
            }
        }
    }
    return count;
}

// Feasibility phase on the last infeasible row a.
int32_t FeasibilityPhase(const MatrixR& T, MatrixZ& marks, int32_t& count, uint32_t a) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    ColumnTests c(n);
    const double* rowA = T.RowData(a);
    const double b = rowA[n];
    int32_t* markA = marks.RowData(a);
    for (uint32_t i = 0; i < n; ++i) {
        if (!(rowA[i] < 0)) continue;
        c.eligible[i] = 1;
        c.d[i] = b / rowA[i];
        markA[i] = -1;
    }
    for (uint32_t j = a + 1; j <= m; ++j) {
        const double* row = T.RowData(j);
        int32_t* mark = marks.RowData(j);
        for (uint32_t i = 0; i < n; ++i) {
            if (!c.eligible[i] || row[i] == 0) continue;
            const double x = row[n] / row[i];
            if (!(x < 0) || x < c.d[i]) continue;
            if (x > c.d[i]) {
                c.d[i] = x;
                c.k[i] -= 1;
            }
            mark[i] = c.k[i];
        }
    }
    count += CollectCandidates(marks, c, a);
    return count == 0 ? Infeasible : PivotChosen;
}

int32_t OptimalityPhase(const MatrixR& T, MatrixZ& marks, int32_t& count) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    ColumnTests c(n);
    int32_t status = Optimal;
    const double* objective = T.RowData(m + 1);
    for (uint32_t i = 0; i < n; ++i)
        if (objective[i] > 0) {
            c.eligible[i] = 1;
            status = PivotChosen;
        }
    for (uint32_t j = 1; j <= m; ++j) {
        const double* row = T.RowData(j);
        const double constant = row[n];
        int32_t* mark = marks.RowData(j);
        for (uint32_t i = 0; i < n; ++i) {
            const double e = row[i];
            if (!c.eligible[i] || e == 0) continue;
            if (constant == 0) {  // a degenerate row
                mark[i] = -1;
                continue;
            }
            if (constant * e >= 0) continue;
            const double x = constant / e;
            if (c.k[i] == -1 || x > c.d[i]) {
                c.k[i] -= 1;
                c.d[i] = x;
                mark[i] = c.k[i];
            } else if (x == c.d[i]) {
                mark[i] = c.k[i];
            }
        }
    }
    count += CollectCandidates(marks, c, 1);
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

int32_t SelectPivot(const MatrixR& T, MatrixZ& pivotMarks, int32_t& candidateCount,
                    RandomGenerator& random) {
    candidateCount = 0;
    const uint32_t n = T.cols - 1;
    if (T.rows == 1) {
        for (uint32_t j = 1; j <= n; ++j)
            if (T.Index(1, j) > 0) return Unbounded;
        return Optimal;
    }
    const uint32_t m = T.rows - 1;
    pivotMarks.Redefine(m, n);
    uint32_t a = 0;
    for (uint32_t i = 1; i <= m; ++i)
        if (T.Index(i, n + 1) > 0) a = i;
    int32_t status = a >= 1 ? FeasibilityPhase(T, pivotMarks, candidateCount, a)
                            : OptimalityPhase(T, pivotMarks, candidateCount);
    if (candidateCount > 0) ChooseAtRandom(pivotMarks, candidateCount, random);
    return status;
}

} // namespace optimara
