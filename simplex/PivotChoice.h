// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the choice of a pivot saw, kept as plain records so that a rule can
// take its cell from them and a student can be shown why: the columns that
// may enter, the rows that limit them, and the tied cells.
#include <gmpxx.h>

#include <cstdint>
#include <vector>

#include "MatrixQ.h"
#include "MatrixR.h"
#include "MatrixZ.h"

namespace optimara {

struct RandomGenerator;
struct PivotCell;

// How the pivot is taken from the tied candidates.
enum class PivotRule : uint8_t {
    Random = 0,              // a seeded draw among every tied cell
    LargestCoefficient = 1,  // the column of the largest reference entry, then the topmost tied row
    SmallestIndex = 2,       // Bland: the column, then the tied row, whose variable comes first
};

// One column that may enter: its entry in the reference row (the objective
// row, or the row being made feasible), the best ratio of the rows that
// limit it, and whether any row limits it at all.
template <class Num>
struct BasicEligibleColumn {
    uint32_t col = 0;
    Num reference = 0;
    Num best = 0;
    bool limited = false;
    Num penalty = 0;  // big M: the column's M part, compared before the reference
};

template <class Num>
struct BasicPivotRecord {
    uint32_t columnCount = 0;  // n: the positions of the rows follow the columns'
    // 0 while the objective is improved; otherwise the last infeasible
    // row, which the first phase makes feasible.
    uint32_t drivingRow = 0;
    std::vector<BasicEligibleColumn<Num>> columns;  // left to right
    // The tied best rows of every limited column, row by row and left to
    // right within a row: the cells a student may pivot on.
    std::vector<uint32_t> candidateRows, candidateCols;
    // Before a rule: Optimal (no column may enter), Infeasible (no column
    // can make the driving row feasible), Unbounded (no column is limited)
    // or PivotChosen.
    int32_t status = 0;
};

// Why a row takes part in the ratio test of a column, or why not.
enum class RowPart : uint8_t {
    Limits,        // it limits the column at its ratio
    Driving,       // the row being made feasible: it limits at the ratio where it becomes feasible
    NotPositive,   // its entry is not positive (within the tolerance): moving along the column never harms it
    AboveDriving,  // the first phase looks only at the driving row and the rows below it
};

template <class Num>
struct BasicRowRatio {
    uint32_t row = 0;
    RowPart part = RowPart::NotPositive;
    Num ratio = 0;      // constant / entry, or 0 for a row whose constant is 0; only for Limits
    bool tied = false;  // one of the rows of the best ratio
};

// The floating tableau's records, and the exact tableau's.
using EligibleColumn = BasicEligibleColumn<double>;
using PivotRecord = BasicPivotRecord<double>;
using RowRatio = BasicRowRatio<double>;
using ExactPivotRecord = BasicPivotRecord<mpq_class>;
using ExactRowRatio = BasicRowRatio<mpq_class>;

// The record of the tableau's choice, without marking anything.
PivotRecord ExaminePivots(const MatrixR& tableau);
ExactPivotRecord ExaminePivots(const MatrixQ& tableau);

// The ratio test of one column, row by row, judged as the choice judges it.
std::vector<RowRatio> RatioTest(const MatrixR& tableau, uint32_t drivingRow, uint32_t col);
std::vector<ExactRowRatio> RatioTest(const MatrixQ& tableau, uint32_t drivingRow, uint32_t col);

// The cell a rule takes from a record. `labels` gives the variable at every
// position (only the smallest-index rule reads it). The random rule draws
// once when there are candidates; the others never draw. Returns the status
// after the rule: a deterministic rule whose column no row limits ends
// Unbounded even when another column would have had a pivot.
struct RuleChoice {
    int32_t status = 0;
    uint32_t row = 0, col = 0;  // the chosen cell; 0 when there is none (col: the unlimited column)
    int32_t draw = -1;          // the random rule's draw (1-based rank among the candidates)
};
template <class Num>
RuleChoice ChooseByRule(const BasicPivotRecord<Num>& record, PivotRule rule, const MatrixZ* labels,
                        RandomGenerator& random);

} // namespace optimara
