// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the two-phase and big-M methods: an entry a·M + b of the
// penalised objective, the phase the method is in, and what happened to the
// artificial variables, for the explanations, the status panel and the page.
// No toolkit code here.
#include <gmpxx.h>

#include <string>
#include <vector>

#include "Explanation.h"
#include "ProblemState.h"

namespace optimara {

// a·M + b in the current notation, M kept as a letter: "−2M+3", "M", "−M",
// "5", "2M−1/2"; the signs between the parts are true minus signs.
std::string BigMText(double a, double b, const NumberText& numbers);
std::string BigMText(const mpq_class& a, const mpq_class& b, const NumberText& numbers);

// "Fase 1 (w)" while w is minimised, "Fase 2" after; "" for the other methods.
std::string PhaseText(const EngineState& state);

// The method's name as the menu says it, without the accelerator.
std::string ArtificialMethodName(SolveMethod method);

// "a1", "a2", ...
std::string ArtificialName(uint32_t number);

// What the last step did to the artificials, and why the method ended "No
// factible" when it did: e.g. "Sale de la base la variable artificial a2.",
// "a1 sigue en la base con valor 0 al final de la fase 1: sale con un pivote
// en una columna no artificial.", "La fila de a3 es redundante: se elimina.",
// "No factible: al final de la fase 1, w = 2 > 0.". Empty for the other
// methods.
std::vector<std::string> ArtificialNotes(const ProblemState& state, const NumberText& numbers);

} // namespace optimara
