// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading of the problem text: the scanners, the error report and the
// construction of the problem state with its first tableau.
#include <string>

#include "ErrorTexts.h"
#include "ProblemState.h"

namespace optimara {

// Records the message as the error text and which part of the problem to
// select (source -1: the whole objective; k >= 0: constraint line k).
void ReportSyntaxError(BuildReport& report, const std::string& message, int source);

// Text positions are 1-based into the blank-free text (UTF-8 bytes); L+1 is
// the end. Faults are reported through `report`, never returned. A number
// too large for a double raises FloatingPointFault("Floating point overflow").
double ScanNumber(const std::string& text, int& pos, int L, bool required, int source, BuildReport& report);
std::string ScanVariable(const std::string& text, int& pos, int L, int source, BuildReport& report);

// Rebuilds the problem state from the text, calls SelectPivot once and writes
// the initial status. Preconditions: both texts of `report` empty and
// state.Names empty (names left in it make the objective's variables
// duplicates). A fault in the text fills `report` and stops the build with
// the later pieces (plot copies, sign marks, labels, pivot marks) untouched.
// Only code 32 is a blank; carriage returns at the end of a line or of the
// objective are dropped as remains of CR LF line breaks. An overflowing
// number throws FloatingPointFault with `report` as it was on entry.
void BuildProblem(ProblemState& state, const ProblemText& text, BuildReport& report);

} // namespace optimara
