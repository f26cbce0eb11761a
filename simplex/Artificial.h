// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The artificial variables of the two-phase and big-M methods, kept in the
// one compact tableau the engine pivots. The build turns the first tableau
// into the method's: every row whose slack would start negative gets an
// artificial as its basic variable, its slack becomes a surplus column, and
// one objective row is added above the objective: for two phases the w row
// (it holds -w, w = the sum of the artificials, which the engine maximises
// like any objective), for big M the M part of the penalised objective
// (the objective row keeps the plain part). Both rows are rows of the same
// tableau, so the one pivot step keeps them up to date.
//
// Layout: columns 1..n the problem's, n+1..n+s the surpluses, then the
// constant; rows 1..m the constraints, m+1 the added row, m+2 the objective.
// Variables: 1..n+s the columns as built, n+s+i the variable of row i (its
// artificial when it has one, else its slack).
#include <cstdint>
#include <vector>

namespace optimara {

struct EngineState;

struct ArtificialPart {
    uint32_t extraRows = 0;       // 1 while the method keeps an added objective row, else 0
    uint32_t surplusColumns = 0;  // s
    std::vector<uint32_t> rows;   // per artificial a1, a2, ...: its row (1-based)
    // 1 while w is minimised, 2 after it; 0 for big M.
    uint8_t phase = 0;
    // Phase 1 reached w's minimum with w = 0: what is left of it drives
    // the artificials still basic out of the basis.
    bool drivingOut = false;
    std::vector<uint32_t> driven;   // artificials (1-based numbers) driven out at the end of phase 1
    std::vector<uint32_t> dropped;  // artificials whose row was dropped as redundant
    uint32_t leftAtLastStep = 0;    // the artificial the last pivot took out of the basis; 0 none
    bool positiveAtEnd = false;     // ended "No factible": w > 0, or an artificial positive at big M's end
};

// The number of the artificial that is variable v (1-based), 0 for another.
uint32_t ArtificialOf(const EngineState& state, uint32_t v);
// Constraint rows of the state's tableau (the added objective row left out).
uint32_t ConstraintRows(const EngineState& state);

// Turns the first tableau (Tableau, and ExactTableau when exact) into the
// method's, renumbers Labels and sets Artificials. `negated` says per
// constraint row whether it came from a ">" side (or the second row of an
// "=" side): such a row with a right-hand side of 0 gets an artificial too.
void AddArtificials(EngineState& state, const std::vector<char>& negated);

// The choice of the next pivot under an artificial method: phase 1 on w,
// the artificials driven out or dropped, then phase 2 on z; or big M with
// the M part compared first. Returns the status as SelectPivot does.
int32_t SelectArtificialPivot(EngineState& state);

// Before NextStep's pivot: notes the artificial the chosen pivot takes out
// of the basis (leftAtLastStep), 0 for none.
void NoteLeavingArtificial(EngineState& state);

} // namespace optimara
