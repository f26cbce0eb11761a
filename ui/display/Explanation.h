// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every step of the method in words: which variable enters and why, the
// ratio test, which leaves, why the method stops, and why a cell cannot be
// the pivot. Pure computation on the engine's records; the window and the
// page of steps only show it.
#include <string>
#include <vector>

#include "ProblemState.h"

namespace optimara {

// The name of every variable, by its number: the problem's columns (a
// split free variable's two columns primed) and then the slack variables.
std::vector<std::string> VariableNames(const ProblemState& state);

// One row of the ratio test as shown: how far the row lets the entering
// variable grow, and beside it the tableau's own quotient constant / entry
// (the same number with the other sign).
struct RatioLine {
    std::string row;       // "Fila 2"
    std::string variable;  // the variable of the row
    std::string constant, entry;
    std::string growth;    // how far the entering variable may grow, or "—" for a row that does not count
    std::string ratio;     // the quotient constant / entry, or "—"
    std::string why;       // why the row counts or not, in words
    bool leaves = false;   // the chosen pivot's row
};

struct Explanation {
    std::vector<std::string> paragraphs;
    std::vector<RatioLine> ratios;  // empty when no pivot is chosen
    size_t ratiosAfter = 0;         // the ratio table follows this many paragraphs
    // Told in the full tableau's terms: a row's constant is its Solución
    // and the quotient Solución / entrada.
    bool fullForm = false;
};

// What a step left behind, as the history noted it.
struct StepFacts {
    size_t number = 0;          // pivots made before this tableau
    bool feasible = true;
    bool maximize = true;
    PivotRule rule = PivotRule::Random;
    int32_t draw = -1;          // the random draw's rank, when one was made
    bool byHand = false;        // the user chose this tableau's pivot
    bool lastByHand = false;    // the user chose the pivot made to reach it
    // The pivot made to reach this tableau (row 0 for the first tableau),
    // and the objective before it.
    PivotCell lastPivot;
    double objectiveBefore = 0.0;
    mpq_class exactObjectiveBefore;  // in exact arithmetic
};

struct NumberText {
    bool floating = true;
    std::string separator = ".";
};

// The explanation of the current tableau of `state`.
Explanation ExplainTableau(const ProblemState& state, const StepFacts& facts, const NumberText& numbers);

// Why the grid cell (1-based tableau row and column) cannot be the pivot;
// empty when it can.
std::string WhyNotPivot(const ProblemState& state, uint32_t row, uint32_t col, const NumberText& numbers);

// The explanation as plain text, its ratio table in aligned columns.
std::string ExplanationText(const Explanation& e);

// What the method is doing, in words.
const char* PhaseWords(bool feasible);

// The rule's name as the menu shows it.
const char* RuleName(PivotRule rule);

} // namespace optimara
