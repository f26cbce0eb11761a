// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the forms of the tableau read for each number type: the tableau the
// engine pivots, the model's first tableau, and a zero without a sign.
#include "BuildProblem.h"
#include "ProblemState.h"

namespace optimara {

template <class Num> struct FormNumbers;

template <> struct FormNumbers<double> {
    using Matrix = MatrixR;
    static const MatrixR& Current(const ProblemState& s) { return s.Tableau; }
    static MatrixR First(const ProblemModel& model) { return TableauFromModel(model); }
    // A negated zero is shown as 0, never as -0.
    static double Clean(double x) { return x == 0.0 ? 0.0 : x; }
};

template <> struct FormNumbers<mpq_class> {
    using Matrix = MatrixQ;
    static const MatrixQ& Current(const ProblemState& s) { return s.ExactTableau; }
    static MatrixQ First(const ProblemModel& model) { return ExactTableauFromModel(model); }
    static const mpq_class& Clean(const mpq_class& x) { return x; }
};

} // namespace optimara
