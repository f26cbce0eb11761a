// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Gomory's fractional cuts for an integer problem at an optimum of its
// tableau: the row of the first integer variable (in the order of the
// names) whose value is fractional, its cut derived in exact rationals
// whatever the arithmetic of the solve, and the cut written back over the
// problem's own variables, as a line the user could have typed.
#include <string>
#include <vector>

#include "ProblemState.h"

namespace optimara {

inline constexpr const char* kCutsNeedIntegers =
    "Los planos de corte de Gomory necesitan que todas las variables sean enteras y no negativas; "
    "use ramificación y acotación.";

// One cut: the line appended (over the problem's variables, "≥"), its text
// as shown, the plane for the picture (the coefficients of the variables
// and the constant, in the picture's rows' form: coefficients·x + constant
// <= 0), the row it came from and that row's basic variable.
struct GomoryCut {
    ModelLine line;
    std::string text;
    std::vector<double> plane;
    uint32_t sourceRow = 0;   // in the tableau shown; 0 when no cut was made
    uint32_t planeRow = 0;    // its row among the picture's rows, once appended
    std::string variable;
    mpq_class value;  // the variable's fractional value at the optimum
};

// Every integer variable has an integer value at the current basic solution
// (read exactly).
bool IntegerOptimum(const ProblemState& state);

// The cut of the current optimal tableau, or the reason there is none (all
// variables must be integer and non-negative; the data is scaled exactly,
// row by row, so that every slack is integer too). Empty when made.
std::string MakeGomoryCut(const ProblemState& state, GomoryCut& cut);

} // namespace optimara
