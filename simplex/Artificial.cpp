// SPDX-License-Identifier: GPL-3.0-or-later
// The two-phase and big-M methods on the compact tableau: the build of the
// artificial variables and the choice of the pivot; the pivot itself is the
// engine's one step.
#include "Artificial.h"

#include <gmpxx.h>

#include <algorithm>
#include <cmath>

#include "Simplex.h"

namespace optimara {
namespace {

inline double Negated(double x) { return x == 0.0 ? 0.0 : -x; }
inline mpq_class Negated(const mpq_class& x) { return -x; }

// A row starts with its slack negative (its constant positive), or states a
// ">" with right-hand side 0: the textbooks give it an artificial variable.
bool NeedsArtificial(double constant, bool negated) { return constant > 0 || (constant == 0 && negated); }
bool NeedsArtificial(const mpq_class& constant, bool negated) {
    return sgn(constant) > 0 || (sgn(constant) == 0 && negated);
}

// Rounding residue is no value: a double counts as non-zero beyond 1e-9 of
// the scale of its row (at least 1), an exact number when it is not 0.
double Tolerance(const MatrixR& T, uint32_t row) {
    double largest = 1.0;
    for (uint32_t j = 1; j <= T.cols; ++j) largest = std::max(largest, std::fabs(T.Index(row, j)));
    return 1e-9 * largest;
}
mpq_class Tolerance(const MatrixQ&, uint32_t) { return 0; }
template <class Num>
bool Beyond(const Num& x, const Num& tolerance) {
    return x > tolerance || x < -tolerance;
}

// Row i of an artificial's row: a_i = (row's entries)·x + h_i + constant,
// that is -a_i = -(entries)·x - h_i - constant, feasible at a_i = constant.
// The added row holds -w: the sum of the artificials' rows.
template <class Matrix>
Matrix Widened(const Matrix& T, const std::vector<uint32_t>& rows) {
    const uint32_t m = T.rows - 1, n = T.cols - 1, s = static_cast<uint32_t>(rows.size());
    const uint32_t last = n + s + 1;
    Matrix W(m + 2, last);
    std::vector<uint32_t> artificialOf(m + 1, 0);
    for (uint32_t k = 0; k < s; ++k) artificialOf[rows[k]] = k + 1;
    for (uint32_t i = 1; i <= m; ++i) {
        const uint32_t k = artificialOf[i];
        for (uint32_t j = 1; j <= n; ++j) W.Index(i, j) = k ? Negated(T.Index(i, j)) : T.Index(i, j);
        W.Index(i, last) = k ? Negated(T.Index(i, n + 1)) : T.Index(i, n + 1);
        if (k == 0) continue;
        W.Index(i, n + k) = -1;
        for (uint32_t j = 1; j <= last; ++j) W.Index(m + 1, j) += W.Index(i, j);
    }
    for (uint32_t j = 1; j <= n; ++j) W.Index(m + 2, j) = T.Index(m + 1, j);
    W.Index(m + 2, last) = T.Index(m + 1, n + 1);
    return W;
}

uint32_t Columns(const EngineState& e) { return e.Tableau.cols - 1; }

PivotFrame FrameOf(const EngineState& e, bool phaseOne) {
    PivotFrame frame;
    const uint32_t m = ConstraintRows(e), n = Columns(e);
    frame.constraintRows = m;
    frame.referenceRow = phaseOne ? m + 1 : e.Tableau.rows;
    frame.penaltyRow = e.Method == SolveMethod::BigM ? m + 1 : 0;
    frame.barred.assign(size_t(n) + m, 0);
    for (uint32_t row : e.Artificials.rows) frame.barred[n + row - 1] = 1;
    return frame;
}

int32_t Select(EngineState& e, bool phaseOne) {
    const PivotFrame frame = FrameOf(e, phaseOne);
    if (e.Exact)
        return SelectFramedPivot(e.ExactTableau, e.PivotMarks, e.CandidateCount, e.Random, e.Rule, &e.Labels,
                                 &e.LastDraw, frame);
    return SelectFramedPivot(e.Tableau, e.PivotMarks, e.CandidateCount, e.Random, e.Rule, &e.Labels, &e.LastDraw,
                             frame);
}

// Nothing marked: the method has ended.
void ClearChoice(EngineState& e) {
    e.CandidateCount = 0;
    e.PivotMarks.Redefine(ConstraintRows(e), Columns(e));
}

// Some artificial still basic holds a positive value (w > 0 is the same).
template <class Matrix>
bool ArtificialPositive(const EngineState& e, const Matrix& T) {
    const uint32_t n = Columns(e);
    for (uint32_t i = 1; i <= ConstraintRows(e); ++i)
        if (ArtificialOf(e, static_cast<uint32_t>(e.Labels.Index(n + i, 1))) != 0 &&
            -T.Index(i, n + 1) > Tolerance(T, i))
            return true;
    return false;
}

// At the end of phase 1 with w = 0: the first artificial still basic is
// taken out by a pivot on a non-zero entry of a column that is no
// artificial's; an artificial whose row has none stands in a redundant row,
// which is dropped (its entries become 0, so that it never limits again).
template <class Matrix>
bool DriveOut(EngineState& e, Matrix& T) {
    const uint32_t m = ConstraintRows(e), n = Columns(e);
    ArtificialPart& a = e.Artificials;
    // Read through a constant view: reading an exact tableau so keeps its
    // integer form.
    const Matrix& C = T;
    for (uint32_t i = 1; i <= m; ++i) {
        const uint32_t k = ArtificialOf(e, static_cast<uint32_t>(e.Labels.Index(n + i, 1)));
        if (k == 0 || std::find(a.dropped.begin(), a.dropped.end(), k) != a.dropped.end()) continue;
        const auto tolerance = Tolerance(C, i);
        for (uint32_t q = 1; q <= n; ++q) {
            if (ArtificialOf(e, static_cast<uint32_t>(e.Labels.Index(q, 1))) != 0) continue;
            if (!Beyond(C.Index(i, q), tolerance)) continue;
            e.PivotMarks.Redefine(m, n);
            e.PivotMarks.Index(i, q) = 2;
            e.CandidateCount = 1;
            e.LastDraw = -1;
            a.driven.push_back(k);
            return true;
        }
        a.dropped.push_back(k);
        // The rounded copy of an exact tableau drops the row with it.
        for (uint32_t q = 1; q <= n + 1; ++q) {
            if (q <= n && ArtificialOf(e, static_cast<uint32_t>(e.Labels.Index(q, 1))) != 0) continue;
            T.Index(i, q) = 0;
            e.Tableau.Index(i, q) = 0;
        }
    }
    return false;
}

bool Positive(const EngineState& e) {
    return e.Exact ? ArtificialPositive(e, e.ExactTableau) : ArtificialPositive(e, e.Tableau);
}

} // namespace

uint32_t ArtificialOf(const EngineState& e, uint32_t v) {
    const uint32_t n = Columns(e);
    if (v <= n) return 0;
    const auto& rows = e.Artificials.rows;
    const auto at = std::find(rows.begin(), rows.end(), v - n);
    return at == rows.end() ? 0 : static_cast<uint32_t>(at - rows.begin()) + 1;
}

uint32_t ConstraintRows(const EngineState& e) { return e.Tableau.rows - 1 - e.Artificials.extraRows; }

void AddArtificials(EngineState& e, const std::vector<char>& negated) {
    const uint32_t m = e.Tableau.rows - 1, n = e.Tableau.cols - 1;
    ArtificialPart part;
    for (uint32_t i = 1; i <= m; ++i) {
        const bool ne = i <= negated.size() && negated[i - 1] != 0;
        if (e.Exact ? NeedsArtificial(e.ExactTableau.Index(i, n + 1), ne) : NeedsArtificial(e.Tableau.Index(i, n + 1), ne))
            part.rows.push_back(i);
    }
    if (e.Exact) {
        MatrixQ wide = Widened(e.ExactTableau, part.rows);
        e.ExactTableau = wide;
        RoundExactTableau(e);
    } else {
        MatrixR wide = Widened(e.Tableau, part.rows);
        e.Tableau.Swap(wide);
        SnapTableau(e.Tableau);
    }
    part.extraRows = 1;
    part.surplusColumns = static_cast<uint32_t>(part.rows.size());
    part.phase = e.Method == SolveMethod::TwoPhases ? 1 : 0;
    e.Artificials = std::move(part);
    const uint32_t count = e.Tableau.rows + e.Tableau.cols - 3;
    e.Labels.Redefine(count, 1);
    for (uint32_t k = 1; k <= count; ++k) e.Labels.Index(k, 1) = static_cast<int32_t>(k);
}

int32_t SelectArtificialPivot(EngineState& e) {
    ArtificialPart& a = e.Artificials;
    if (e.Method == SolveMethod::BigM) {
        const int32_t status = Select(e, false);
        // No column has a positive M part: the artificials' sum is as small
        // as it gets, and a positive one proves that no point is feasible.
        if (status == PivotChosen || !Positive(e)) return status;
        a.positiveAtEnd = true;
        ClearChoice(e);
        return Infeasible;
    }
    if (a.phase == 1 && !a.drivingOut) {
        const int32_t status = Select(e, true);
        if (status != Optimal) return status;
        if (Positive(e)) {
            a.positiveAtEnd = true;
            ClearChoice(e);
            return Infeasible;
        }
        a.drivingOut = true;
    }
    if (a.phase == 1) {
        if (e.Exact ? DriveOut(e, e.ExactTableau) : DriveOut(e, e.Tableau)) return PivotChosen;
        a.phase = 2;
        a.drivingOut = false;
    }
    return Select(e, false);
}

void NoteLeavingArtificial(EngineState& e) {
    ArtificialPart& a = e.Artificials;
    a.leftAtLastStep = 0;
    const PivotCell chosen = ChosenCell(e.PivotMarks);
    if (e.CandidateCount != 0 && chosen.row != 0)
        a.leftAtLastStep = ArtificialOf(e, static_cast<uint32_t>(e.Labels.Index(Columns(e) + chosen.row, 1)));
}

} // namespace optimara
