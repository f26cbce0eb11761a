// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading of the problem text: the scanners, the error report and the
// construction of the problem state with its first tableau.
#include <cstdint>
#include <stdexcept>
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
// The same number with the same faults, read exactly from its digits,
// however many: no floating value is made and nothing overflows.
mpq_class ScanExactNumber(const std::string& text, int& pos, int L, bool required, int source,
                          BuildReport& report);
// Moves pos past the number there, with the same faults, and computes
// nothing: the number's text is then s[start, pos).
void SkipNumber(const std::string& text, int& pos, int L, bool required, int source, BuildReport& report);
std::string ScanVariable(const std::string& text, int& pos, int L, int source, BuildReport& report);

// The largest first tableau built, in cells (rows times columns, the
// right-hand side and the objective included): 160 MB of doubles.
inline constexpr uint64_t kMaxTableauCells = 20'000'000;

// A problem whose tableau would exceed kMaxTableauCells; the text says the
// size in Spanish.
class ProblemTooLarge : public std::runtime_error {
public:
    explicit ProblemTooLarge(const std::string& text) : std::runtime_error(text) {}
};

// The build's refusal, as its error text, to start the dual simplex from a
// tableau that is not dual feasible.
inline constexpr const char* kDualRefusal =
    "El símplex dual necesita una tabla inicial dual factible (todos los z_j − c_j con el signo del óptimo); "
    "esta no lo es: elija otro método.";

// Rebuilds the problem state from the text, calls SelectPivot once and writes
// the initial status. Preconditions: both texts of `report` empty and
// state.Names empty (names left in it make the objective's variables
// duplicates). A fault in the text fills `report` and stops the build with
// the later pieces (plot copies, sign marks, labels, pivot marks) untouched.
// Only code 32 is a blank; carriage returns at the end of a line or of the
// objective are dropped as remains of CR LF line breaks. An overflowing
// number throws FloatingPointFault, and a tableau (or, after a fault in the
// text, the rows read) beyond kMaxTableauCells throws ProblemTooLarge, both
// with `report` as it was on entry.
void BuildProblem(ProblemState& state, const ProblemText& text, BuildReport& report);

} // namespace optimara
