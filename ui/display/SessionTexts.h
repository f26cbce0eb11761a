// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the status bar and the explanation say of a solve session as it
// stands: the step and its phase, the node of a search, the search's end.
// No toolkit code here.
#include <string>

#include "SolveSession.h"

namespace optimara {

// Panel 2 while a problem is solved: "Paso 2 · Fase 2 …", or the node of
// an integer search; nothing before the first step.
std::string StepPanelText(const SolveSession& session);
// Panel 2 during an integer search: the node, its last bound and step, and
// how it ended; after the search, how many nodes were solved.
std::string NodePanelText(const SolveSession& session);
// What the explanation panel says of the search; `only` when it says
// nothing else (a node looked at, the search's end).
std::string SearchWords(const SolveSession& session, bool floating, const std::string& separator, bool& only);

} // namespace optimara
