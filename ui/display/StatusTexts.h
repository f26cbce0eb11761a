// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The status panel's text for every stage of a solution: the build's own
// lower-case words, the steps' capitalised ones, nothing while it runs.
#include <string>

#include "Simplex.h"

namespace optimara {

inline std::string StatusPanelText(SolveStage stage, bool atBuild) {
    switch (stage) {
    case SolveStage::Optimal: return atBuild ? "vale" : "Hecho";
    case SolveStage::Infeasible: return atBuild ? "no factible" : "No factible";
    case SolveStage::Unbounded: return atBuild ? "ilimitado" : "Ilimitado";
    default: return "";
    }
}

} // namespace optimara
