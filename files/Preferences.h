// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the user chose in the menus beyond the settings line: kept in the
// user's own settings store, so the settings line keeps its format. The
// zoom lives in the same store.
namespace optimara::files {

struct Preferences {
    int pivotRule = 0;         // 0 random, 1 largest coefficient, 2 smallest index
    bool explanation = true;   // the explanation panel is shown
    bool slackNames = false;   // the grid names the slack variables
    bool exact = false;        // the tableau is held in exact rationals
    bool integers = true;      // the picture shows the integer points and the node's bounds
};

Preferences ReadPreferences();
void WritePreferences(const Preferences& preferences);

} // namespace optimara::files
