// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the history notes of each tableau, and the page of steps built from
// the history: both without any widget.
#include <string>
#include <vector>

#include "Explanation.h"
#include "FormView.h"
#include "ProblemState.h"
#include "SolveSession.h"
#include "StepHistory.h"
#include "StepsPage.h"

namespace optimara {

// The facts the explanation of tableau k needs, from the history's notes.
StepFacts FactsOf(const StepHistory& history, size_t k, bool maximize);

// Where the steps' numbers and names come from for the page.
struct StepsPageInput {
    std::string sense, objective, heading, notation;
    std::vector<std::string> lines;
    bool maximize = true;
    NumberText numbers;
    // The form the tableaux are written in; Compact writes the grid as the
    // window's compact form shows it.
    TableauForm form = TableauForm::Compact;
};

// Every tableau of the history as the window showed it, each with its
// explanation and ratio test; the current tableau is `current` itself, with
// the pivot the user may have chosen for it.
files::StepsPage BuildStepsPage(ProblemState& current, const StepHistory& history, const StepsPageInput& input);

// The tableau now in `state` in a textbook form, as the page writes it
// (with its explanation left to the caller).
void FormOnPage(const ProblemState& state, TableauForm form, const NumberText& numbers, files::StepsPageTableau& t);

// The end of a solution in a few words; null while it goes on.
const char* EndWords(SolveStage stage);

} // namespace optimara
