#include "Simplex.h"

namespace optimara {
namespace {

// Feasibility phase on the last infeasible row a.
int32_t FeasibilityPhase(const MatrixR& T, MatrixZ& marks, int32_t& count, uint32_t a) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    const double b = T.Index(a, n + 1);
    for (uint32_t i = 1; i <= n; ++i) {
        if (!(T.Index(a, i) < 0)) continue;
        double d = b / T.Index(a, i);
        int32_t k = -1;
        marks.Index(a, i) = -1;
        for (uint32_t j = a + 1; j <= m; ++j) {
            if (T.Index(j, i) == 0) continue;
            double x = T.Index(j, n + 1) / T.Index(j, i);
            if (!(x < 0)) continue;
            if (x < d) continue;
            if (x > d) {
                d = x;
                k = k - 1;
            }
            marks.Index(j, i) = k;
        }
        for (uint32_t l = a; l <= m; ++l) {
            if (T.Index(l, i) == 0) continue;
            if (marks.Index(l, i) == k) {
                marks.Index(l, i) = 1;
                ++count;
            } else {
                marks.Index(l, i) = 0;
            }
        }
    }
    return count == 0 ? Infeasible : PivotChosen;
}

int32_t OptimalityPhase(const MatrixR& T, MatrixZ& marks, int32_t& count) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    int32_t status = Optimal;
    for (uint32_t i = 1; i <= n; ++i) {
        if (!(T.Index(m + 1, i) > 0)) continue;
        status = PivotChosen;
        double d = 1.0;
        int32_t k = -1;
        for (uint32_t j = 1; j <= m; ++j) {
            const double e = T.Index(j, i), c = T.Index(j, n + 1);
            if (e == 0) continue;
            if (c == 0) {
                marks.Index(j, i) = -1;
                continue;
            }
            if (c * e >= 0) continue;
            double x = c / e;
            if (k == -1 || x > d) {
                k = k - 1;
                d = x;
                marks.Index(j, i) = k;
            } else if (x == d) {
                marks.Index(j, i) = k;
            }
        }
        for (uint32_t l = 1; l <= m; ++l) {
            if (T.Index(l, i) == 0) continue;
            int32_t& mark = marks.Index(l, i);
            if (mark == k) {
                mark = 1;
                ++count;
            } else if (mark < 0) {
                mark = 0;
            }
        }
    }
    if (status == PivotChosen && count == 0) status = Unbounded;
    return status;
}

void ChooseAtRandom(MatrixZ& marks, int32_t count, RandomGenerator& random) {
    int32_t t = random.RandomDraw() % count + 1;
    for (uint32_t r = 1; r <= marks.rows; ++r)
        for (uint32_t c = 1; c <= marks.cols; ++c)
            if (marks.Index(r, c) == 1 && --t == 0) {
                marks.Index(r, c) = 2;
                return;
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
