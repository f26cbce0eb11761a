// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tableau the method works on, floating or exact, and how its numbers
// are written: what the explanations and the forms read alike, over the
// number type.
#include <string>

#include "Explanation.h"
#include "Notation.h"
#include "ProblemState.h"

namespace optimara {

inline const MatrixR& Worked(const ProblemState& s, double) { return s.Tableau; }
inline const MatrixQ& Worked(const ProblemState& s, const mpq_class&) { return s.ExactTableau; }
inline std::string Text(double x, const NumberText& t) { return FormatNumber(x, t.floating, t.separator); }
inline std::string Text(const mpq_class& x, const NumberText& t) { return FormatExact(x, t.floating, t.separator); }

} // namespace optimara
