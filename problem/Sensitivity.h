// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the last tableau says beyond the optimum: the worth of a unit more of
// each right-hand side, how far a right-hand side or a cost may move before
// the basis changes, whether the optimum is degenerate or not the only one,
// and the dual problem. Read from the final tableau and the problem model,
// with the tableau's own values, so another number type could take their
// place.
#include <limits>
#include <string>
#include <vector>

#include "MatrixR.h"
#include "MatrixZ.h"
#include "ProblemModel.h"
#include "ProblemState.h"

namespace optimara {

inline constexpr double kNoLimit = std::numeric_limits<double>::infinity();

// An interval over which something holds; -inf or +inf where it has no end.
struct RangeLimits {
    double lower = -kNoLimit;
    double upper = kNoLimit;
};

// One left side of a typed line (a sign line is a bound, not a line here).
struct LineRanging {
    uint32_t line = 0, side = 0;
    std::string text;       // the left side, its relation and right-hand side, as typed
    std::string slackName;  // its row's slack (an "=" line's first)
    double slack = 0;       // slack or surplus at the optimum, 0 for "="
    double price = 0;       // change of the optimum per unit more right-hand side
    RangeLimits rhs;        // the right-hand sides over which the price holds
};

// One problem variable (a free variable once, with its own value).
struct VariableRanging {
    uint32_t variable = 0;
    std::string name;
    bool nonNegative = false;  // bounded by a sign line
    double value = 0;
    double reducedCost = 0;    // change of the optimum per unit the variable is forced up
    RangeLimits cost;          // the costs over which the solution stays optimal
};

struct SensitivityReport {
    double objective = 0;             // in the problem's own sense
    std::vector<LineRanging> lines;
    std::vector<VariableRanging> variables;
    bool degenerate = false;          // a basic variable is 0: a price may not be unique, a range one-sided
    bool otherOptima = false;         // a variable may enter without changing the optimum
};

// Reads the report off an optimal final tableau of a completed model.
// `labels` is the engine's position -> variable permutation. Tolerances
// follow the data's scale; a range that misses its own value is computed
// again from the typed numbers in exact arithmetic on the same basis, so
// every right-hand-side range holds its right-hand side and every cost
// range its cost.
SensitivityReport AnalyseOptimum(const ProblemModel& model, const MatrixR& tableau, const MatrixZ& labels);

// Whether every right-hand-side range holds the typed right-hand side and
// every cost range the typed cost.
bool RangesHoldTheirValues(const ProblemModel& model, const SensitivityReport& report);

// The dual problem in the program's own syntax: each typed constraint a dual
// variable (y1 for the line whose slack is h1; non-negative by a sign line
// unless its line is "="), each problem variable a dual line. A problem of
// sign lines alone prices its sign lines instead, its variables then free.
ProblemText DualProblem(const ProblemModel& model);

// Solves a typed problem as "Una Solución" does, without a window; false
// unless it ends optimal. `objective` is its optimum in its own sense.
bool SolveToOptimum(const ProblemText& text, double& objective);

// A number as the problem syntax reads it: plain decimal, no exponent, the
// shortest that reads back to the same value.
std::string TypedNumber(double v);

} // namespace optimara
