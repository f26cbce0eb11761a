#include <cmath>

#include "Fault.h"
#include "Simplex.h"

namespace optimara {
namespace {

bool FindPivot(const MatrixZ& marks, uint32_t& r, uint32_t& q) {
    for (r = 1; r <= marks.rows; ++r)
        for (q = 1; q <= marks.cols; ++q)
            if (marks.Index(r, q) == 2) return true;
    return false;
}

// Exact arithmetic would give 0 where the difference is lost in the
// rounding of its operands; a residue left there would later decide pivots.
inline double Eliminate(double tij, double tiq, double trj, double p) {
    const double t = (tiq * trj) / p;
    const double v = tij - t;
    if (std::fabs(v) <= 1e-12 * std::fmax(std::fabs(tij), std::fabs(t))) return 0.0;
    return v;
}

[[noreturn]] void Fault(double value) {
    throw FloatingPointFault(std::isnan(value) ? kInvalidOperation : kOverflow);
}

} // namespace

void PivotStep(MatrixR& T, const MatrixZ& pivotMarks, int32_t candidateCount, MatrixZ& labels) {
    if (candidateCount == 0) return;
    uint32_t r = 0, q = 0;
    if (!FindPivot(pivotMarks, r, q)) return;
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    const double p = T.Index(r, q);
    if (p == 0.0) throw FloatingPointFault(kDivisionByZero);

    // Work on a copy so that a fault half-way leaves the tableau untouched.
    MatrixR result(T);
    double badValue = 0.0;
    bool faulted = false;
    for (uint32_t i = 1; i <= m + 1; ++i) {
        if (i == r) continue;
        const double tiq = T.Index(i, q);
        for (uint32_t j = 1; j <= n + 1; ++j) {
            if (j == q) continue;
            double v = Eliminate(T.Index(i, j), tiq, T.Index(r, j), p);
            if (!std::isfinite(v) && !faulted) {
                faulted = true;
                badValue = v;
            }
            result.Index(i, j) = v;
        }
    }
    for (uint32_t i = 1; i <= m + 1; ++i) {
        if (i == r) continue;
        result.Index(i, q) = -T.Index(i, q) / p;
    }
    for (uint32_t j = 1; j <= n + 1; ++j) {
        if (j == q) continue;
        result.Index(r, j) = T.Index(r, j) / p;
    }
    result.Index(r, q) = 1.0 / p;
    if (!faulted) {
        for (uint32_t i = 1; i <= m + 1 && !faulted; ++i) {
            double a = result.Index(i, q);
            if (!std::isfinite(a)) faulted = true, badValue = a;
        }
        for (uint32_t j = 1; j <= n + 1 && !faulted; ++j) {
            double a = result.Index(r, j);
            if (!std::isfinite(a)) faulted = true, badValue = a;
        }
    }
    if (faulted) Fault(badValue);

    T.Swap(result);
    int32_t swap = labels.Index(q, 1);
    labels.Index(q, 1) = labels.Index(n + r, 1);
    labels.Index(n + r, 1) = swap;
}

void InvertLabels(MatrixZ& labels) {
    const uint32_t count = labels.rows;
    MatrixZ scratch(count, 1);
    for (uint32_t k = 1; k <= count; ++k) scratch.Index(static_cast<uint32_t>(labels.Index(k, 1)), 1) = static_cast<int32_t>(k);
    for (uint32_t k = 1; k <= count; ++k) labels.Index(k, 1) = scratch.Index(k, 1);
}

SolutionReading ReadSolution(const MatrixR& T, MatrixZ& labels, const MatrixZ& signMarks, bool maximize) {
    const uint32_t n = T.cols - 1;
    SolutionReading reading;
    InvertLabels(labels);
    auto valueOf = [&](uint32_t v) {
        uint32_t p = static_cast<uint32_t>(labels.Index(v, 1));
        return p <= n ? 0.0 : -T.Index(p - n, n + 1);
    };
    for (uint32_t v = 1; v <= n; ++v) {
        double value = valueOf(v);
        if (signMarks.Index(v, 1) == 0) {
            ++v;
            value = value - valueOf(v);
        }
        reading.values.push_back(value);
    }
    InvertLabels(labels);
    const double z = T.Index(T.rows, n + 1);
    reading.objective = maximize ? z : -z;
    return reading;
}

} // namespace optimara
