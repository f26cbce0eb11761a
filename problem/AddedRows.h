// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lines added to a problem being solved, at its current tableau: each row of
// the line is written in terms of the current basis (every basic variable
// replaced by its row) and appended above the objective row, with its slack,
// its names and its plane for the picture, so that the dual simplex can go
// on from there.
#include <string>

#include "ProblemState.h"

namespace optimara {

inline constexpr const char* kAddNeedsOptimum = "Solo se puede añadir una restricción a una tabla óptima.";
inline constexpr const char* kAddUnknownVariable =
    "La restricción añadida solo puede usar las variables del problema.";
inline constexpr const char* kAddOneLine = "Escriba una sola restricción, sin lista de enteros.";

// Reads one typed line by the reader's own rules, over the problem's
// variables. Returns the reader's error text, or a refusal; empty when the
// line was read into `line`.
std::string ReadAddedLine(const ProblemState& state, const std::string& text, ModelLine& line);

// How much of the model and of the picture's rows there was before a line
// was added, to take the line back with the step that added it.
struct AddedMark {
    size_t step = 0;  // the step of the history that added the line
    size_t lines = 0, readRows = 0, rows = 0, planes = 0;
};
AddedMark MarkOf(const ProblemState& state, size_t step);
void TakeBack(ProblemState& state, const AddedMark& mark);

// Appends every row of the line to the tableau (both number types in exact
// arithmetic), to the model and to the picture's rows, then makes the dual
// simplex the method and chooses its first pivot; the stage follows.
void AppendLine(ProblemState& state, ModelLine line);

} // namespace optimara
