// SPDX-License-Identifier: GPL-3.0-or-later
#include <cfloat>
#include <algorithm>
#include <cmath>
#include <utility>

#include "Fault.h"
#include "DualSimplex.h"
#include "Simplex.h"

namespace optimara {
namespace {

inline double Larger(double a, double b) { return a > b ? a : b; }

// Exact arithmetic would give 0 where the difference is lost in the
// rounding of its operands; a residue left there would later decide pivots.
// Near the limits of the number range an overflowed product is no residue
// (its bound is infinite too): it stays, so that the step reports it.
template <bool NearLimits>
inline double Eliminate(double tij, double tiq, double trj, double p) {
    const double t = (tiq * trj) / p;
    const double v = tij - t;
    const bool residue = std::fabs(v) <= 1e-12 * Larger(std::fabs(tij), std::fabs(t));
    if constexpr (NearLimits) return residue && std::isfinite(v) ? 0.0 : v;
    return residue ? 0.0 : v;
}

double MaxMagnitude(const double* first, const double* last) {
    double m = 0.0;
    for (; first != last; ++first) m = Larger(m, std::fabs(*first));
    return m;
}

// Written as a count so that it runs as a vector loop over the whole tableau.
bool AnyAbove(const double* first, const double* last, double limit) {
    uint64_t above = 0;
    for (; first != last; ++first) above += std::fabs(*first) > limit;
    return above != 0;
}

// Every new entry is bounded by max|T| + max|column q| * max|row r| / |p|,
// and the divided pivot row and column by max(...)/|p|; when that bound is
// comfortably finite, no operation of the step can overflow, and with finite
// data nothing else can fault.
bool StepCannotFault(const MatrixR& T, uint32_t r, uint32_t q, double p) {
    const double limit = DBL_MAX / 8;
    double column = 0.0;
    for (uint32_t i = 1; i <= T.rows; ++i) column = Larger(column, std::fabs(T.Index(i, q)));
    const double row = MaxMagnitude(T.RowData(r), T.RowData(r) + T.cols);
    const double scale = Larger(Larger(column, row), 1.0) / std::fabs(p);
    if (!(scale < limit) || !(column * (row / std::fabs(p)) < limit)) return false;
    return !AnyAbove(T.RowData(1), T.RowData(1) + uint64_t(T.rows) * T.cols, limit);
}

// Row i loses T(i,q)/p times the pivot row, over the columns [from, to).
template <bool NearLimits>
void EliminateRange(double* row, const double* pivotRow, double tiq, double p, uint32_t from, uint32_t to) {
    for (uint32_t j = from; j < to; ++j) row[j] = Eliminate<NearLimits>(row[j], tiq, pivotRow[j], p);
}

template <bool NearLimits>
void Exchange(MatrixR& T, uint32_t r, uint32_t q, double p) {
    const uint32_t rows = T.rows, cols = T.cols;
    const double* pivotRow = T.RowData(r);
    for (uint32_t i = 1; i <= rows; ++i) {
        if (i == r) continue;
        double* row = T.RowData(i);
        const double tiq = row[q - 1];
        // Two plain ranges around the pivot column, so that each is one
        // vector loop.
        EliminateRange<NearLimits>(row, pivotRow, tiq, p, 0, q - 1);
        EliminateRange<NearLimits>(row, pivotRow, tiq, p, q, cols);
        row[q - 1] = -tiq / p;
    }
    double* prow = T.RowData(r);
    for (uint32_t j = 0; j < cols; ++j)
        if (j != q - 1) prow[j] = prow[j] / p;
    prow[q - 1] = 1.0 / p;
}

bool AllFinite(const MatrixR& T) {
    const double* first = T.RowData(1);
    const double* last = first + uint64_t(T.rows) * T.cols;
    for (; first != last; ++first)
        if (!std::isfinite(*first)) return false;
    return true;
}

[[noreturn]] void RaiseFault(const MatrixR& result) {
    const double* first = result.RowData(1);
    const double* last = first + uint64_t(result.rows) * result.cols;
    for (; first != last; ++first)
        if (std::isnan(*first)) throw FloatingPointFault(kInvalidOperation);
    throw FloatingPointFault(kOverflow);
}

} // namespace

PivotCell ChosenCell(const MatrixZ& marks) {
    for (uint32_t r = 1; r <= marks.rows; ++r) {
        const int32_t* row = marks.RowData(r);
        for (uint32_t c = 0; c < marks.cols; ++c)
            if (row[c] == 2) return {r, c + 1};
    }
    return {};
}

bool ChoosePivotCell(MatrixZ& marks, PivotCell cell) {
    if (cell.row < 1 || cell.row > marks.rows || cell.col < 1 || cell.col > marks.cols) return false;
    int32_t& target = marks.Index(cell.row, cell.col);
    if (target == 2) return true;
    if (target != 1) return false;
    const PivotCell former = ChosenCell(marks);
    if (former.row != 0) marks.Index(former.row, former.col) = 1;
    target = 2;
    return true;
}

void PivotStep(MatrixQ& T, const MatrixZ& pivotMarks, int32_t candidateCount, MatrixZ& labels) {
    if (candidateCount == 0) return;
    const PivotCell chosen = ChosenCell(pivotMarks);
    if (chosen.row == 0) return;
    const uint32_t r = chosen.row, q = chosen.col;
    const uint32_t n = T.cols - 1;
    // The choice never marks a zero entry; exact numbers make no residue,
    // so no snap and no tolerance follow.
    T.Exchange(r, q);
    std::swap(labels.Index(q, 1), labels.Index(n + r, 1));
}

int32_t NextStep(EngineState& e) {
    if (UsesArtificials(e.Method)) NoteLeavingArtificial(e);
    if (e.Exact) {
        PivotStep(e.ExactTableau, e.PivotMarks, e.CandidateCount, e.Labels);
        if (e.RoundLater) e.RoundedBehind = true;
        else RoundExactTableau(e);
    } else {
        PivotStep(e.Tableau, e.PivotMarks, e.CandidateCount, e.Labels);
        SnapTableau(e.Tableau);
    }
    const int32_t status = SelectMethodPivot(e);
    e.Stage = StageOf(status);
    e.AtBuild = false;
    return status;
}

void RoundExactTableau(EngineState& e) {
    MatrixR rounded = e.ExactTableau.ToReal();
    e.Tableau.Swap(rounded);
    e.RoundedBehind = false;
}

void CatchUpRounding(EngineState& e) {
    if (e.RoundedBehind) RoundExactTableau(e);
}

void CopyEngineState(const EngineState& from, EngineState& to) {
    // A copy is read at once, by whoever made it: it is never behind.
    to.Tableau = from.RoundedBehind ? from.ExactTableau.ToReal() : from.Tableau;
    to.RoundedBehind = false;
    CopyMatrix(from.Labels, to.Labels);
    CopyMatrix(from.PivotMarks, to.PivotMarks);
    to.CandidateCount = from.CandidateCount;
    to.Random = from.Random;
    to.ProblemReady = from.ProblemReady;
    to.Stage = from.Stage;
    to.AtBuild = from.AtBuild;
    to.Rule = from.Rule;
    to.LastDraw = from.LastDraw;
    to.Exact = from.Exact;
    to.ExactTableau = from.ExactTableau;
    to.Method = from.Method;
    to.Artificials = from.Artificials;
}

SolveStage StageOf(int32_t status) {
    switch (status) {
    case PivotChosen: return SolveStage::Choosing;
    case Infeasible: return SolveStage::Infeasible;
    case Unbounded: return SolveStage::Unbounded;
    default: return SolveStage::Optimal;
    }
}

void PivotStep(MatrixR& T, const MatrixZ& pivotMarks, int32_t candidateCount, MatrixZ& labels) {
    if (candidateCount == 0) return;
    const PivotCell chosen = ChosenCell(pivotMarks);
    if (chosen.row == 0) return;
    const uint32_t r = chosen.row, q = chosen.col;
    const uint32_t n = T.cols - 1;
    const double p = T.Index(r, q);
    if (p == 0.0) throw FloatingPointFault(kDivisionByZero);

    if (StepCannotFault(T, r, q, p)) {
        Exchange<false>(T, r, q, p);
    } else {
        // Near the limits of the number range: work on a copy, so that a
        // fault leaves the tableau as it was.
        MatrixR result(T);
        Exchange<true>(result, r, q, p);
        if (!AllFinite(result)) RaiseFault(result);
        T.Swap(result);
    }
    int32_t swap = labels.Index(q, 1);
    labels.Index(q, 1) = labels.Index(n + r, 1);
    labels.Index(n + r, 1) = swap;
}

void SnapTableau(MatrixR& tableau) {
    double* first = tableau.RowData(1);
    double* last = first + uint64_t(tableau.rows) * tableau.cols;
    // SnapToZero's test, written as a choice of value so that the loop runs
    // on whole vector registers: -0.0 becomes +0.0, NaN stays.
    for (; first != last; ++first) {
        const double x = *first;
        *first = std::fabs(x) < kSnapLimit ? 0.0 : x;
    }
}

void InvertLabels(MatrixZ& labels) {
    const uint32_t count = labels.rows;
    MatrixZ scratch(count, 1);
    for (uint32_t k = 1; k <= count; ++k)
        scratch.Index(static_cast<uint32_t>(labels.Index(k, 1)), 1) = static_cast<int32_t>(k);
    for (uint32_t k = 1; k <= count; ++k) labels.Index(k, 1) = scratch.Index(k, 1);
}

namespace {

// The values stand in the last column: `cell(i)` reads its row i.
template <typename Cell>
SolutionReading ReadSolutionOf(uint32_t rows, uint32_t n, Cell cell, MatrixZ& labels, const MatrixZ& signMarks,
                               bool maximize) {
    SolutionReading reading;
    const double z = cell(rows);
    reading.objective = maximize ? z : -z;
    if (n == 0) return reading;  // no variable yet (the state at program start)
    InvertLabels(labels);
    // The artificial methods' surplus columns follow the problem's own.
    const uint32_t columns = std::min(n, signMarks.rows);
    auto valueOf = [&](uint32_t v) {
        uint32_t p = static_cast<uint32_t>(labels.Index(v, 1));
        return p <= n ? 0.0 : -cell(p - n);
    };
    for (uint32_t v = 1; v <= columns; ++v) {
        VariablePlace place{v, static_cast<uint32_t>(labels.Index(v, 1)), 0};
        double value = valueOf(v);
        if (signMarks.Index(v, 1) == 0) {
            ++v;
            place.secondPosition = static_cast<uint32_t>(labels.Index(v, 1));
            value = value - valueOf(v);
        }
        reading.values.push_back(value);
        reading.places.push_back(place);
    }
    InvertLabels(labels);
    return reading;
}

} // namespace

SolutionReading ReadSolution(const MatrixR& T, MatrixZ& labels, const MatrixZ& signMarks, bool maximize) {
    const uint32_t n = T.cols - 1;
    return ReadSolutionOf(T.rows, n, [&](uint32_t i) { return T.Index(i, n + 1); }, labels, signMarks, maximize);
}

SolutionReading ReadSolution(const MatrixQ& T, MatrixZ& labels, const MatrixZ& signMarks, bool maximize) {
    const uint32_t n = T.cols - 1;
    return ReadSolutionOf(T.rows, n, [&](uint32_t i) { return T.NearestOf(i, n + 1); }, labels, signMarks, maximize);
}

} // namespace optimara
