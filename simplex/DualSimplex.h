// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dual simplex's choice of the pivot on the exchange tableau: the row
// that leaves first (an infeasible basic variable), then the column that
// enters by the dual ratio test. The pivot itself is PivotStep's.
#include <cstdint>
#include <vector>

#include "Simplex.h"

namespace optimara {

// Every objective entry has the sign of the optimum (none would improve
// the objective): the start the dual simplex needs.
bool DualFeasible(const MatrixR& tableau);
bool DualFeasible(const MatrixQ& tableau);

// One infeasible row as the dual choice sees it: the basic variable's value
// (negative), the smallest dual ratio |z_j - c_j| / |a_rj| over its negative
// entries and the columns that tie at it (none: the row proves that no
// point is feasible).
struct DualRowChoice {
    uint32_t row = 0;
    double value = 0.0;
    double ratio = 0.0;
    std::vector<uint32_t> columns;
};
// The infeasible rows, top to bottom; proof is set when one of them has no
// negative entry.
std::vector<DualRowChoice> ExamineDualRows(const MatrixR& tableau, bool& proof);
std::vector<DualRowChoice> ExamineDualRows(const MatrixQ& tableau, bool& proof);

// Marks the candidates (1: every infeasible row's tied entering columns) and
// the pivot the rule takes (2). "Mayor coeficiente": the most infeasible
// row, the topmost of a tie, and its leftmost tied column; Bland: the row,
// then the column, whose variable comes first; "Aleatoria": the seeded draw
// among every candidate. Returns Optimal when no row is infeasible,
// Infeasible when a row proves it, otherwise PivotChosen.
int32_t SelectDualPivot(const MatrixR& tableau, MatrixZ& pivotMarks, int32_t& candidateCount,
                        RandomGenerator& random, PivotRule rule, const MatrixZ* labels = nullptr,
                        int32_t* draw = nullptr);
int32_t SelectDualPivot(const MatrixQ& tableau, MatrixZ& pivotMarks, int32_t& candidateCount,
                        RandomGenerator& random, PivotRule rule, const MatrixZ* labels = nullptr,
                        int32_t* draw = nullptr);

// The choice of the state's method on the state's own tableau (the exact one
// in exact arithmetic): the artificial methods', the dual simplex's, or the
// compact method's SelectPivot.
int32_t SelectMethodPivot(EngineState& state);

} // namespace optimara
