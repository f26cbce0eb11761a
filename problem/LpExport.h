// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The problem as a CPLEX LP file, so that a student can take it to a real
// solver: one constraint per left side of each typed line, the sign lines as
// bounds, every other variable free.
#include <string>

#include "ProblemModel.h"

namespace optimara {

// Reads the text into a completed model; false (with the fault in `report`)
// when the text does not read.
bool ModelFromText(ProblemModel& model, const ProblemText& text, BuildReport& report, bool exact = false);

// A variable's name as the LP file writes it: the typed name when the format
// allows it, else one with the other characters replaced, cut to the
// format's longest name, never a keyword of the format, and never the name
// of another variable.
std::vector<std::string> LpNames(const ProblemModel& model);

// The LP file's text. The constraints are named by the slack names of their
// rows (an "=" line by its first), the objective "obj"; a name written
// otherwise than typed is mapped back in a comment. Numbers are written as
// the shortest text that reads back to the same value; one too large for a
// double is refused (std::runtime_error, in the user's words).
std::string LpText(const ProblemModel& model);

} // namespace optimara
