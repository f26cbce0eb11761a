// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Problems written by other tools, as CPLEX LP or MPS files, read into the
// typed problem: the sense, the objective and one line per constraint, the
// way the user would have typed them. Only what the program solves is
// taken; anything else is refused whole, never half read.
#include <cstddef>
#include <string>

#include "ProblemState.h"

namespace optimara {

// The largest file read: beyond it the problem could not be solved by hand
// anyway, and reading it would only make the user wait.
inline constexpr std::size_t kMaxImportBytes = 20u * 1024u * 1024u;

inline constexpr const char* kImportTooLarge =
    "El archivo ocupa más de 20 MB: el programa abre archivos de hasta 20 MB.";

struct ImportResult {
    bool ok = false;
    ProblemText text;
    // Why the file was not read, in Spanish, naming the line and what is on
    // it: «Línea 12: términos cuadráticos: el programa solo resuelve
    // problemas lineales.»
    std::string refusal;
};

// A CPLEX LP file. Its default lower bound 0 becomes a sign line "x>0" for
// each variable it holds for; a variable without one is free, as typed.
ImportResult ImportLp(const std::string& bytes);

// An MPS file, fixed or free form.
ImportResult ImportMps(const std::string& bytes);

} // namespace optimara
