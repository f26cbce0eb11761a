// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Practice in words: what the student does next, why a column or a row
// cannot be the pivot's, where the first wrong cell is and which way it is
// wrong (never its value), the three hints, and the counts for the status
// panel and the page. No toolkit code here.
#include <string>

#include "Explanation.h"
#include "SolveSession.h"

namespace optimara {

// Panel 2: "Práctica · pasos: 2 · celdas mal al primer intento: 3 · pistas: 1".
std::string PracticePanelText(const Practice& practice);

// The line the page of steps records.
std::string PracticePageText(const Practice& practice);

// The answer to the student's last action, then what to do next; empty
// with practice off.
std::string PracticeText(const SolveSession& session, const NumberText& numbers);

// The first wrong cell of a check: where it is and which way it is wrong.
std::string CheckText(const PracticeGrid& expected, const PracticeCheck& check);

// A hint on a cell of the next tableau, at its level.
std::string HintText(const PracticeGrid& next, const PracticeHint& hint, const NumberText& numbers);

} // namespace optimara
