// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fresh exercises of a chosen kind with small numbers and their answer key.
// A problem is drawn from a seed by integer arithmetic only, so that a seed
// gives the same exercise on every machine, and is kept only once the
// engine itself, in exact arithmetic and with both deterministic pivot
// rules, has solved it to the promised end through tableaux a student can
// work by hand.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ProblemState.h"

namespace optimara {

enum class ExerciseKind { Unique, Degenerate, Alternative, Unbounded, Infeasible, IntegerGap };

// Every kind, in the order the dialog offers them.
const std::vector<ExerciseKind>& ExerciseKinds();
// The command line's name ("unico", "degenerado", "alternativos",
// "ilimitado", "infactible", "entero") and the dialog's caption ("óptimo
// único", "degenerado", "óptimos alternativos", "ilimitado", "no factible",
// "entero con hueco"), both ways; an unknown text is no kind.
std::string ExerciseKindName(ExerciseKind kind);
std::string ExerciseKindCaption(ExerciseKind kind);
std::optional<ExerciseKind> ExerciseKindFromName(const std::string& name);
std::optional<ExerciseKind> ExerciseKindFromCaption(const std::string& caption);

struct ExerciseRequest {
    ExerciseKind kind = ExerciseKind::Unique;
    uint32_t variables = 2;  // 2..4
    uint32_t lines = 3;      // 2..5 constraint lines, sign lines not counted
    bool maximize = true;
    bool greaterAndEqual = false;  // «≥» and «=» lines allowed
    bool integer = false;          // exactly for the integer kind
    uint64_t seed = 1;
};

struct ExerciseResult {
    bool made = false;
    std::string refusal;  // in Spanish, when not made
    // comboIndex 1 Maximizar, 0 Minimizar; the objective like "3x+2y"; the
    // lines like "x+2y<6", then the sign lines "x>0", then "entero: x, y".
    ProblemText text;
    std::string status;  // "óptimo", "ilimitado", "no factible"
    // The optimum and the solution as exact texts ("3/2"); empty unless
    // optimal. For the integer kind, the integer problem's.
    std::string optimum;
    std::vector<std::pair<std::string, std::string>> solution;
    // The alternative kind: a second optimal vertex, one pivot from the
    // first along a column of reduced cost 0.
    std::vector<std::pair<std::string, std::string>> otherSolution;
    // The integer kind's linear relaxation: its optimum and solution.
    std::string relaxationOptimum;
    std::vector<std::pair<std::string, std::string>> relaxationSolution;
};

// The exercise the request and its seed make, or the refusal of a request
// the generator cannot meet.
ExerciseResult MakeExercise(const ExerciseRequest& request);

// The exercise as the program reads it typed: "Maximizar" or "Minimizar",
// the objective, one line per constraint (sign lines and the «entero:» line
// included); with the key, a line "; clave" and the answer in comment lines,
// so that the whole listing may be pasted as it is. A refused exercise
// lists its refusal.
std::string ExerciseListing(const ExerciseResult& result, bool withKey);

} // namespace optimara
