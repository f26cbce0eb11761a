// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The single-table simplex in exchange form: choice of the pivot, the pivot
// itself and the reading of the current basic solution.
#include <cstdint>
#include <vector>

#include "Artificial.h"
#include "MatrixR.h"
#include "MatrixZ.h"
#include "PivotChoice.h"

namespace optimara {

enum Status : int32_t {
    PivotChosen = -3,
    Infeasible = -2,
    Unbounded = -1,
    Optimal = 0,
};

// Seeded generator for the choice among tied pivot candidates. It starts
// from the same seed in every run so that a session can be replayed.
struct RandomGenerator {
    uint32_t state = 1;
    int32_t RandomDraw() {
        state = state * 22695477u + 1u;
        return static_cast<int32_t>((state >> 16) & 32767u);
    }
};

// The last constraint row whose basic variable is infeasible (judged with the
// same tolerance as the choice of the pivot), 0 when the basic solution is
// feasible. While there is one, the method is looking for a feasible point.
uint32_t LastInfeasibleRow(const MatrixR& tableau);
uint32_t LastInfeasibleRow(const MatrixQ& tableau);

// Marks the candidates (1) and the pivot a rule takes from them (2).
// `labels` is read by the smallest-index rule only.
int32_t SelectPivot(const MatrixR& tableau, MatrixZ& pivotMarks, int32_t& candidateCount,
                    RandomGenerator& random, PivotRule rule = PivotRule::Random, const MatrixZ* labels = nullptr,
                    int32_t* draw = nullptr);
// The same choice on an exact tableau: no tolerance, the same rules and draws.
int32_t SelectPivot(const MatrixQ& tableau, MatrixZ& pivotMarks, int32_t& candidateCount,
                    RandomGenerator& random, PivotRule rule = PivotRule::Random, const MatrixZ* labels = nullptr,
                    int32_t* draw = nullptr);

// A cell of the pivot marks (1-based); row 0 is no cell.
struct PivotCell {
    uint32_t row = 0;
    uint32_t col = 0;
    bool operator==(const PivotCell&) const = default;
};

// The cell marked as chosen (2), the first row by row; row 0 when there is none.
PivotCell ChosenCell(const MatrixZ& pivotMarks);

// Makes the candidate at `cell` the chosen pivot and the former chosen cell
// a candidate again. False (and nothing changed) when the cell is no
// candidate.
bool ChoosePivotCell(MatrixZ& pivotMarks, PivotCell cell);

// Pivots on the cell marked 2. On a floating-point fault it throws
// FloatingPointFault and leaves tableau and labels exactly as they were.
void PivotStep(MatrixR& tableau, const MatrixZ& pivotMarks, int32_t candidateCount, MatrixZ& labels);
// The same exchange in exact arithmetic.
void PivotStep(MatrixQ& tableau, const MatrixZ& pivotMarks, int32_t candidateCount, MatrixZ& labels);

// Entries strictly within kSnapLimit of zero become +0.0, as the display
// writes them. The driver and the build snap before every choice of a pivot,
// so the pivot chosen is the pivot shown, never a cell that shows 0.
inline constexpr double kSnapLimit = 1e-15;
inline void SnapToZero(double& x) {
    if (x > -kSnapLimit && x < kSnapLimit) x = 0.0;
}
void SnapTableau(MatrixR& tableau);

void InvertLabels(MatrixZ& labels);

// Where the column(s) of one problem variable stand: positions 1..n are the
// column headings, n+1..n+m the constraint rows.
struct VariablePlace {
    uint32_t column = 0;          // its (first) column in the first tableau
    uint32_t position = 0;        // where that column's variable stands now
    uint32_t secondPosition = 0;  // a split free variable's second column; 0 otherwise
};

struct SolutionReading {
    std::vector<double> values;         // one per problem variable, split pairs counted once
    std::vector<VariablePlace> places;  // one per problem variable, beside its value
    double objective = 0.0;             // as the user asked for it (negated back for "Minimizar")
};

// Where a solution stands. Building: nothing built from the current text
// (or its build failed); Choosing: a pivot is chosen and the next step
// makes it; the three ends; Fault: a build abandoned by a floating-point
// fault.
enum class SolveStage : uint8_t { Building, Choosing, Optimal, Infeasible, Unbounded, Fault };

// The stage a choice of the pivot leaves.
SolveStage StageOf(int32_t status);

// How the method reaches an optimum: the compact method without artificial
// variables (the first phase drives the last infeasible row), two phases
// with artificial variables, a big penalty M on them, or the dual simplex
// from a dual feasible start.
enum class SolveMethod : uint8_t { Compact, TwoPhases, BigM, DualSimplex };

// The methods whose build adds artificial variables.
inline bool UsesArtificials(SolveMethod method) {
    return method == SolveMethod::TwoPhases || method == SolveMethod::BigM;
}

// What a method with more than one objective row tells the choice of the
// pivot: how many constraint rows there are, the row whose positive entries
// may enter, a penalty row compared before it (big M: its M part), and the
// variables (by number - 1) that never enter.
struct PivotFrame {
    uint32_t constraintRows = 0;
    uint32_t referenceRow = 0;
    uint32_t penaltyRow = 0;
    std::vector<char> barred;
};
int32_t SelectFramedPivot(const MatrixR& tableau, MatrixZ& pivotMarks, int32_t& candidateCount,
                          RandomGenerator& random, PivotRule rule, const MatrixZ* labels, int32_t* draw,
                          const PivotFrame& frame);
int32_t SelectFramedPivot(const MatrixQ& tableau, MatrixZ& pivotMarks, int32_t& candidateCount,
                          RandomGenerator& random, PivotRule rule, const MatrixZ* labels, int32_t* draw,
                          const PivotFrame& frame);
// The ratio test of one column over the first constraintRows rows only.
std::vector<RowRatio> RatioTest(const MatrixR& tableau, uint32_t drivingRow, uint32_t col, uint32_t constraintRows);
std::vector<ExactRowRatio> RatioTest(const MatrixQ& tableau, uint32_t drivingRow, uint32_t col,
                                     uint32_t constraintRows);

// The part of the problem state that the engine and the solve driver work
// on. Every matrix starts as 1x1 holding 0.
struct EngineState {
    MatrixR Tableau{1, 1};
    MatrixZ Labels{1, 1};
    MatrixZ PivotMarks{1, 1};
    int32_t CandidateCount = 0;
    RandomGenerator Random;
    bool ProblemReady = false;
    SolveStage Stage = SolveStage::Building;
    // The stage was reached by the build's own choice, before any pivot.
    bool AtBuild = false;
    // The rule of the next choice of a pivot, and the rank of the last
    // random draw (-1 when the last choice drew nothing).
    PivotRule Rule = PivotRule::Random;
    int32_t LastDraw = -1;
    // Exact arithmetic: the exact tableau is the one pivoted and chosen on;
    // Tableau then holds its values rounded to doubles, for the readers
    // that draw and place (converted once per step).
    bool Exact = false;
    MatrixQ ExactTableau{1, 1};
    // The steps no one is shown (those of "Una Solución" before its end)
    // need no doubles: while RoundLater is set, an exact step leaves
    // Tableau behind, with its shape but old values, and says so in
    // RoundedBehind until CatchUpRounding rounds it.
    bool RoundLater = false;
    bool RoundedBehind = false;
    // The method the build chose for this tableau.
    SolveMethod Method = SolveMethod::Compact;
    // The artificial variables of the two-phase and big-M methods.
    ArtificialPart Artificials;
};

// One step of the method on a problem being solved: the chosen pivot, the
// snap of what it leaves, and the choice of the next pivot, whose status it
// returns. The solve button and the replay of earlier steps take the same one.
int32_t NextStep(EngineState& state);

// Tableau becomes the exact tableau rounded to doubles.
void RoundExactTableau(EngineState& state);
// The same, only when steps left it behind.
void CatchUpRounding(EngineState& state);

// `to` becomes a copy of `from`, every matrix with it: the one place the
// engine state is copied field by field.
void CopyEngineState(const EngineState& from, EngineState& to);

SolutionReading ReadSolution(const MatrixR& tableau, MatrixZ& labels, const MatrixZ& signMarks,
                             bool maximize);
// The same reading of an exact tableau, each value the double nearest it.
SolutionReading ReadSolution(const MatrixQ& tableau, MatrixZ& labels, const MatrixZ& signMarks,
                             bool maximize);

} // namespace optimara
