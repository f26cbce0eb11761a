// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmpxx.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "MatrixQ.h"
#include "Simplex.h"

namespace optimara {
namespace {

// The ratio tests of the columns are independent of each other, so they run
// side by side, row by row: each column keeps its best ratio d and its
// current label k. Walking the tableau by rows keeps it in the cache.
template <class Num>
struct ColumnTests {
    std::vector<char> eligible;
    // The best ratio so far. In floating point a column that may not enter
    // holds +infinity, which no ratio reaches, and an eligible column that
    // no row has limited yet holds -infinity, which every ratio reaches, so
    // "this row may change the column" is one comparison, ratio >= d, for
    // every column alike. Exact numbers have no infinities: the flags say it.
    std::vector<Num> d;
    std::vector<int32_t> k;
    // 1 for a column no row has limited yet.
    std::vector<char> fresh;
    // Every cell given a working label, as (row, zero-based column): few per
    // column, so the candidates are collected without a pass over all marks.
    std::vector<std::pair<uint32_t, uint32_t>> labelled;
    // The columns a row reaches, found by one pass without branches.
    std::vector<uint32_t> reached;
    explicit ColumnTests(uint32_t n, const Num& never) : eligible(n, 0), d(n, never), k(n, -1), fresh(n, 1), reached(n) {
        labelled.reserve(4 * std::size_t(n));
    }
    void Label(int32_t* mark, uint32_t row, uint32_t i, int32_t label) {
        if (mark[i] == 0) labelled.emplace_back(row, i);
        mark[i] = label;
    }
};

// Turns the labels equal to each column's final label into candidates and
// clears the others. The labelled cells were visited row by row, each row's
// columns in increasing order, so the candidates come in that order.
template <class Num>
void CollectCandidates(MatrixZ& marks, const ColumnTests<Num>& c, BasicPivotRecord<Num>& record) {
    for (const auto& [row, i] : c.labelled) {
        int32_t& mark = marks.RowData(row)[i];
        if (mark == c.k[i]) {
            mark = 1;
            record.candidateRows.push_back(row);
            record.candidateCols.push_back(i + 1);
        } else {
            mark = 0;
        }
    }
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

// Exact numbers need no tolerance: a value is zero when it is zero.
mpq_class RowTolerance(const RowQ&, uint32_t) { return mpq_class(0); }

// The ratio test's quotient, constant / entry; the exact one from the
// matrix's own integers, without reducing either cell.
double Quotient(double constant, const double* row, uint32_t i) { return constant / row[i]; }
mpq_class Quotient(const mpq_class&, const RowQ& row, uint32_t i) { return row.matrix->Ratio(row.row, i + 1); }

// What the two kinds of number do differently: where the tests start, and
// the magnitude the largest-coefficient rule compares.
template <class Num> struct Kind;
template <> struct Kind<double> {
    static double Never() { return std::numeric_limits<double>::infinity(); }
    static double Open() { return -std::numeric_limits<double>::infinity(); }
    static double Magnitude(double x) { return std::fabs(x); }
};
template <> struct Kind<mpq_class> {
    static mpq_class Never() { return 0; }
    static mpq_class Open() { return 0; }
    static mpq_class Magnitude(const mpq_class& x) { return abs(x); }
};

// A row limits the entering column when moving along the column would make
// it infeasible: its entry must be positive. A row whose constant is (within
// the tolerance) 0 limits at once, at the ratio 0, the tightest of all; the
// others at their ratio constant / entry, which is negative.
template <class Num>
struct RowScan {
    Num tolerance = 0;
    Num constant = 0;
    bool atOnce = false;  // the constant is 0: every limiting entry gives the ratio 0

    template <class Row>
    void Of(const Row& row, uint32_t n) {
        tolerance = RowTolerance(row, n);
        constant = row[n];
        atOnce = constant >= -tolerance;
    }
    // The ratio of a limiting entry: the same quotient the test is defined by.
    template <class Row>
    Num Ratio(const Row& row, uint32_t i) const { return atOnce ? Num(0) : Num(Quotient(constant, row, i)); }
};

// Most rows change the test of few columns: only where their ratio reaches
// the column's best so far. A pass without divisions or branches finds those
// columns, by the product d * entry against the constant (constant / entry
// >= d exactly when constant >= d * entry, the entry being positive), with
// room for the rounding of both sides, so that it never misses a column;
// the exact quotient then decides for the few it finds.
uint32_t Reached(const RowScan<double>& s, const double* row, uint32_t n, const ColumnTests<double>& c,
                 uint32_t* out) {
    const std::vector<double>& d = c.d;
    const double tolerance = s.tolerance, constant = s.constant;
    uint32_t count = 0;
    if (s.atOnce) {
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

// Exactly: every eligible column the row limits, fresh or reached. The
// signs and the cross-multiplied ratios read the matrix's integers.
uint32_t Reached(const RowScan<mpq_class>& s, const RowQ& row, uint32_t n, const ColumnTests<mpq_class>& c,
                 uint32_t* out) {
    uint32_t count = 0;
    for (uint32_t i = 0; i < n; ++i) {
        if (!c.eligible[i] || row.Sign(i) <= 0) continue;
        if (c.fresh[i] || (s.atOnce ? sgn(c.d[i]) <= 0 : row.matrix->CompareRatio(row.row, i + 1, c.d[i]) >= 0))
            out[count++] = i;
    }
    return count;
}

// The rows from `first` on, each against every column still open: a row
// ties a column's best ratio (same label) or betters it (a new label). A
// column no row has limited yet ("fresh") takes the first limiting row's
// ratio, whatever it is.
template <class Matrix, class Num>
void ScanRows(const Matrix& T, MatrixZ& marks, uint32_t first, ColumnTests<Num>& c) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    uint32_t* reached = c.reached.data();
    RowScan<Num> limits;
    for (uint32_t j = first; j <= m; ++j) {
        const auto row = RowOf(T, j);
        limits.Of(row, n);
        int32_t* mark = marks.RowData(j);
        const uint32_t hits = Reached(limits, row, n, c, reached);
        for (uint32_t h = 0; h < hits; ++h) {
            const uint32_t i = reached[h];
            const Num x = limits.Ratio(row, i);
            if (!c.fresh[i] && x < c.d[i]) continue;
            if (c.fresh[i] || x > c.d[i]) {
                c.d[i] = x;
                c.k[i] -= 1;
                c.fresh[i] = 0;
            }
            c.Label(mark, j, i, c.k[i]);
        }
    }
}

// The eligible columns with their reference entries, and the candidates.
template <class Num, class Row>
void Record(const Row& reference, const ColumnTests<Num>& c, BasicPivotRecord<Num>& record) {
    const uint32_t n = static_cast<uint32_t>(c.eligible.size());
    for (uint32_t i = 0; i < n; ++i)
        if (c.eligible[i]) record.columns.push_back({i + 1, reference[i], c.d[i], !c.fresh[i]});
}

// Feasibility phase on the last infeasible row a: the row itself limits
// each column at the ratio where it becomes feasible, and the rows below it
// must stay feasible.
template <class Matrix, class Num>
void FeasibilityPhase(const Matrix& T, MatrixZ& marks, uint32_t a, ColumnTests<Num>& c,
                      BasicPivotRecord<Num>& record) {
    const uint32_t n = T.cols - 1;
    const auto rowA = RowOf(T, a);
    const Num& b = rowA[n];
    const Num tolA = RowTolerance(rowA, n);
    int32_t* markA = marks.RowData(a);
    for (uint32_t i = 0; i < n; ++i) {
        if (!(rowA[i] < -tolA)) continue;
        c.eligible[i] = 1;
        c.fresh[i] = 0;
        c.d[i] = b / rowA[i];
        c.Label(markA, a, i, -1);
    }
    ScanRows(T, marks, a + 1, c);
    record.drivingRow = a;
    Record(rowA, c, record);
    CollectCandidates(marks, c, record);
    record.status = record.candidateRows.empty() ? Infeasible : PivotChosen;
}

template <class Matrix, class Num>
void OptimalityPhase(const Matrix& T, MatrixZ& marks, ColumnTests<Num>& c, BasicPivotRecord<Num>& record) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    int32_t status = Optimal;
    const auto objective = RowOf(T, m + 1);
    const Num tolZ = RowTolerance(objective, n);
    for (uint32_t i = 0; i < n; ++i)
        if (objective[i] > tolZ) {
            c.eligible[i] = 1;
            c.d[i] = Kind<Num>::Open();
            status = PivotChosen;
        }
    ScanRows(T, marks, 1, c);
    Record(objective, c, record);
    CollectCandidates(marks, c, record);
    if (status == PivotChosen && record.candidateRows.empty()) status = Unbounded;
    record.status = status;
}

template <class Matrix, class Num>
uint32_t LastInfeasible(const Matrix& T) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    uint32_t a = 0;
    // The tolerance is never negative: only a positive constant needs it.
    for (uint32_t i = 1; i <= m; ++i) {
        const Num& constant = T.Index(i, n + 1);
        if (constant > 0 && constant > RowTolerance(RowOf(T, i), n)) a = i;
    }
    return a;
}

// Marks the candidates of the last infeasible row's phase, or of the
// objective's, and records what the choice saw.
template <class Matrix, class Num>
void Examine(const Matrix& T, MatrixZ& marks, BasicPivotRecord<Num>& record) {
    const uint32_t a = LastInfeasible<Matrix, Num>(T);
    ColumnTests<Num> c(T.cols - 1, Kind<Num>::Never());
    if (a >= 1) FeasibilityPhase(T, marks, a, c, record);
    else OptimalityPhase(T, marks, c, record);
}

// Among the columns a test accepts, the first of the best; then the
// column's first tied row by another test. Unbounded when the column
// chosen is limited by no row (the column is still named, the row is 0).
template <class Num, typename Better, typename BetterRow>
RuleChoice TakeColumn(const BasicPivotRecord<Num>& r, Better better, BetterRow betterRow) {
    RuleChoice choice;
    const BasicEligibleColumn<Num>* best = nullptr;
    for (const BasicEligibleColumn<Num>& column : r.columns)
        if (!best || better(column, *best)) best = &column;
    choice.col = best->col;
    if (!best->limited) {
        choice.status = Unbounded;
        return choice;
    }
    choice.status = PivotChosen;
    for (size_t k = 0; k < r.candidateRows.size(); ++k)
        if (r.candidateCols[k] == best->col && (choice.row == 0 || betterRow(r.candidateRows[k], choice.row)))
            choice.row = r.candidateRows[k];
    return choice;
}

// The rule's choice among the marked candidates: the chosen cell marked 2,
// or, for a rule that ends where candidates were marked, none left.
template <class Record>
int32_t MarkRuleChoice(const Record& record, MatrixZ& pivotMarks, int32_t& candidateCount, RandomGenerator& random,
                       PivotRule rule, const MatrixZ* labels, int32_t* draw) {
    const RuleChoice choice = ChooseByRule(record, rule, labels, random);
    if (draw) *draw = choice.draw;
    if (choice.row != 0) {
        pivotMarks.Index(choice.row, choice.col) = 2;
        candidateCount = static_cast<int32_t>(record.candidateRows.size());
    } else {
        for (size_t k = 0; k < record.candidateRows.size(); ++k)
            pivotMarks.Index(record.candidateRows[k], record.candidateCols[k]) = 0;
    }
    return choice.status;
}

template <class Matrix>
int32_t OnlyObjective(const Matrix& T) {
    const uint32_t n = T.cols - 1;
    const auto tolZ = RowTolerance(RowOf(T, 1), n);
    for (uint32_t j = 1; j <= n; ++j)
        if (T.Index(1, j) > tolZ) return Unbounded;
    return Optimal;
}

template <class Matrix, class Num>
int32_t Select(const Matrix& T, MatrixZ& pivotMarks, int32_t& candidateCount, RandomGenerator& random,
               PivotRule rule, const MatrixZ* labels, int32_t* draw) {
    candidateCount = 0;
    if (draw) *draw = -1;
    // Without constraint rows nothing is marked.
    if (T.rows == 1) return OnlyObjective(T);
    pivotMarks.Redefine(T.rows - 1, T.cols - 1);
    BasicPivotRecord<Num> record;
    record.columnCount = T.cols - 1;
    Examine(T, pivotMarks, record);
    return MarkRuleChoice(record, pivotMarks, candidateCount, random, rule, labels, draw);
}

template <class Matrix, class Num>
BasicPivotRecord<Num> ExamineAll(const Matrix& T) {
    BasicPivotRecord<Num> record;
    record.columnCount = T.cols - 1;
    if (T.rows == 1) {
        record.status = OnlyObjective(T);
        return record;
    }
    MatrixZ marks(T.rows - 1, T.cols - 1);
    Examine(T, marks, record);
    return record;
}

template <class Matrix, class Num>
std::vector<BasicRowRatio<Num>> Ratios(const Matrix& T, uint32_t drivingRow, uint32_t col) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    std::vector<BasicRowRatio<Num>> rows;
    bool any = false;
    Num best = 0;
    RowScan<Num> limits;
    for (uint32_t j = 1; j <= m; ++j) {
        BasicRowRatio<Num> r;
        r.row = j;
        const auto row = RowOf(T, j);
        if (drivingRow != 0 && j < drivingRow) {
            r.part = RowPart::AboveDriving;
        } else if (j == drivingRow) {
            r.part = RowPart::Driving;
            r.ratio = row[n] / row[col - 1];
        } else {
            limits.Of(row, n);
            if (row[col - 1] > limits.tolerance) {
                r.part = RowPart::Limits;
                r.ratio = limits.Ratio(row, col - 1);
            }
        }
        if (r.part == RowPart::Limits || r.part == RowPart::Driving) {
            if (!any || r.ratio > best) best = r.ratio;
            any = true;
        }
        rows.push_back(r);
    }
    for (auto& r : rows) r.tied = (r.part == RowPart::Limits || r.part == RowPart::Driving) && r.ratio == best;
    return rows;
}

// The constraint rows of a tableau with more than one objective row, as
// the scans see a tableau: rows 1..rows-1 are the constraints.
template <class Matrix>
struct FramedRows {
    const Matrix& T;
    uint32_t rows, cols;
    const auto& Index(uint32_t i, uint32_t j) const { return T.Index(i, j); }
};
template <class Matrix>
auto RowOf(const FramedRows<Matrix>& f, uint32_t i) {
    return RowOf(f.T, i);
}

// Which columns may enter under a frame. With a penalty row, the M part
// decides as M grows without bound: while any column has a positive M part
// only those may enter; then a column whose M part is zero enters by its
// plain part.
template <class Num, class Row>
int32_t FramedEligible(const Row& reference, const Row* penalty, uint32_t n, const PivotFrame& frame,
                       const MatrixZ* labels, ColumnTests<Num>& c) {
    const auto barred = [&](uint32_t i) {
        const auto v = static_cast<uint32_t>(labels ? labels->Index(i + 1, 1) : static_cast<int32_t>(i + 1));
        return v - 1 < frame.barred.size() && frame.barred[v - 1] != 0;
    };
    const Num tolZ = RowTolerance(reference, n);
    const Num tolP = penalty ? RowTolerance(*penalty, n) : Num(0);
    bool anyPenalty = false;
    for (uint32_t i = 0; penalty && i < n; ++i)
        if (!barred(i) && (*penalty)[i] > tolP) anyPenalty = true;
    int32_t status = Optimal;
    for (uint32_t i = 0; i < n; ++i) {
        if (barred(i)) continue;
        const bool eligible = anyPenalty ? (*penalty)[i] > tolP
                                         : reference[i] > tolZ && !(penalty && (*penalty)[i] < -tolP);
        if (!eligible) continue;
        c.eligible[i] = 1;
        c.d[i] = Kind<Num>::Open();
        status = PivotChosen;
    }
    return anyPenalty ? 2 * status : status;  // doubled: the M parts decided
}

template <class Matrix, class Num>
int32_t SelectFramed(const Matrix& T, MatrixZ& pivotMarks, int32_t& candidateCount, RandomGenerator& random,
                     PivotRule rule, const MatrixZ* labels, int32_t* draw, const PivotFrame& frame) {
    candidateCount = 0;
    if (draw) *draw = -1;
    const uint32_t m = frame.constraintRows, n = T.cols - 1;
    const auto reference = RowOf(T, frame.referenceRow);
    const auto penaltyRow = RowOf(T, frame.penaltyRow ? frame.penaltyRow : frame.referenceRow);
    const auto* penalty = frame.penaltyRow ? &penaltyRow : nullptr;
    ColumnTests<Num> c(n, Kind<Num>::Never());
    int32_t status = FramedEligible<Num>(reference, penalty, n, frame, labels, c);
    const bool byPenalty = status == 2 * PivotChosen;
    if (byPenalty) status = PivotChosen;
    if (m == 0) return status == PivotChosen ? Unbounded : Optimal;
    pivotMarks.Redefine(m, n);
    const FramedRows<Matrix> rows{T, m + 1, T.cols};
    ScanRows(rows, pivotMarks, 1, c);
    BasicPivotRecord<Num> record;
    record.columnCount = n;
    Record(reference, c, record);
    if (byPenalty)
        for (auto& column : record.columns) column.penalty = (*penalty)[column.col - 1];
    CollectCandidates(pivotMarks, c, record);
    if (status == PivotChosen && record.candidateRows.empty()) status = Unbounded;
    record.status = status;
    return MarkRuleChoice(record, pivotMarks, candidateCount, random, rule, labels, draw);
}

} // namespace

template <class Num>
RuleChoice ChooseByRule(const BasicPivotRecord<Num>& r, PivotRule rule, const MatrixZ* labels, RandomGenerator& random) {
    RuleChoice choice;
    choice.status = r.status;
    if (r.candidateRows.empty()) return choice;
    switch (rule) {
    case PivotRule::Random: {
        const int32_t count = static_cast<int32_t>(r.candidateRows.size());
        choice.draw = random.RandomDraw() % count + 1;
        choice.row = r.candidateRows[static_cast<size_t>(choice.draw - 1)];
        choice.col = r.candidateCols[static_cast<size_t>(choice.draw - 1)];
        return choice;
    }
    case PivotRule::LargestCoefficient:
        return TakeColumn(
            r,
            [](const BasicEligibleColumn<Num>& a, const BasicEligibleColumn<Num>& b) {
                // An M part (big M only) outweighs any plain part.
                const Num pa = Kind<Num>::Magnitude(a.penalty), pb = Kind<Num>::Magnitude(b.penalty);
                if (pa != pb) return pa > pb;
                return Kind<Num>::Magnitude(a.reference) > Kind<Num>::Magnitude(b.reference);
            },
            [](uint32_t, uint32_t) { return false; });
    case PivotRule::SmallestIndex: {
        // The variable standing at a position: the column headings first,
        // then the rows.
        auto variable = [labels](uint32_t position) {
            return labels && position <= labels->rows ? labels->Index(position, 1) : static_cast<int32_t>(position);
        };
        const uint32_t n = r.columnCount;
        return TakeColumn(
            r,
            [&](const BasicEligibleColumn<Num>& a, const BasicEligibleColumn<Num>& b) {
                return variable(a.col) < variable(b.col);
            },
            [&](uint32_t a, uint32_t b) { return variable(n + a) < variable(n + b); });
    }
    }
    return choice;
}

template RuleChoice ChooseByRule(const BasicPivotRecord<double>&, PivotRule, const MatrixZ*, RandomGenerator&);
template RuleChoice ChooseByRule(const BasicPivotRecord<mpq_class>&, PivotRule, const MatrixZ*, RandomGenerator&);

uint32_t LastInfeasibleRow(const MatrixR& T) { return LastInfeasible<MatrixR, double>(T); }
uint32_t LastInfeasibleRow(const MatrixQ& T) { return LastInfeasible<MatrixQ, mpq_class>(T); }

PivotRecord ExaminePivots(const MatrixR& T) { return ExamineAll<MatrixR, double>(T); }
ExactPivotRecord ExaminePivots(const MatrixQ& T) { return ExamineAll<MatrixQ, mpq_class>(T); }

std::vector<RowRatio> RatioTest(const MatrixR& T, uint32_t drivingRow, uint32_t col) {
    return Ratios<MatrixR, double>(T, drivingRow, col);
}
std::vector<ExactRowRatio> RatioTest(const MatrixQ& T, uint32_t drivingRow, uint32_t col) {
    return Ratios<MatrixQ, mpq_class>(T, drivingRow, col);
}

int32_t SelectPivot(const MatrixR& T, MatrixZ& pivotMarks, int32_t& candidateCount, RandomGenerator& random,
                    PivotRule rule, const MatrixZ* labels, int32_t* draw) {
    return Select<MatrixR, double>(T, pivotMarks, candidateCount, random, rule, labels, draw);
}

int32_t SelectPivot(const MatrixQ& T, MatrixZ& pivotMarks, int32_t& candidateCount, RandomGenerator& random,
                    PivotRule rule, const MatrixZ* labels, int32_t* draw) {
    return Select<MatrixQ, mpq_class>(T, pivotMarks, candidateCount, random, rule, labels, draw);
}

} // namespace optimara

namespace optimara {

int32_t SelectFramedPivot(const MatrixR& T, MatrixZ& pivotMarks, int32_t& candidateCount, RandomGenerator& random,
                          PivotRule rule, const MatrixZ* labels, int32_t* draw, const PivotFrame& frame) {
    return SelectFramed<MatrixR, double>(T, pivotMarks, candidateCount, random, rule, labels, draw, frame);
}

int32_t SelectFramedPivot(const MatrixQ& T, MatrixZ& pivotMarks, int32_t& candidateCount, RandomGenerator& random,
                          PivotRule rule, const MatrixZ* labels, int32_t* draw, const PivotFrame& frame) {
    return SelectFramed<MatrixQ, mpq_class>(T, pivotMarks, candidateCount, random, rule, labels, draw, frame);
}

std::vector<RowRatio> RatioTest(const MatrixR& T, uint32_t drivingRow, uint32_t col, uint32_t constraintRows) {
    return Ratios<FramedRows<MatrixR>, double>(FramedRows<MatrixR>{T, constraintRows + 1, T.cols}, drivingRow, col);
}

std::vector<ExactRowRatio> RatioTest(const MatrixQ& T, uint32_t drivingRow, uint32_t col, uint32_t constraintRows) {
    return Ratios<FramedRows<MatrixQ>, mpq_class>(FramedRows<MatrixQ>{T, constraintRows + 1, T.cols}, drivingRow,
                                                   col);
}

} // namespace optimara
