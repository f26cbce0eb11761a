// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small named problems with known outcomes, typed as a user would type them.
// Shared by the tests of every library.
#include <string>
#include <vector>

namespace optimara::catalogue {

enum class Outcome { Optimal, Infeasible, Unbounded };

struct KnownProblem {
    std::string name;
    int comboIndex;  // 0 "Minimizar", 1 "Maximizar"
    std::string objective;
    std::vector<std::string> lines;
    Outcome outcome;
    double objectiveValue;       // meaningful for Optimal only
    std::vector<double> values;  // empty when the optimum is not unique
};

inline const std::vector<KnownProblem>& Problems() {
    static const std::vector<KnownProblem> problems = {
        {"worked example", 1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}, Outcome::Optimal, 12, {4, 0}},
        {"worked example minimised", 0, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}, Outcome::Optimal, 0, {0, 0}},
        {"degenerate vertex", 1, "x+y", {"x+y<2", "x-y<0", "x<1", "x>0", "y>0"}, Outcome::Optimal, 2, {}},
        {"degenerate unique", 1, "2x+y", {"x<2", "x+y<2", "y<0", "x>0", "y>0"}, Outcome::Optimal, 4, {2, 0}},
        {"infeasible", 1, "x+y", {"x+y<1", "x+y>2", "x>0", "y>0"}, Outcome::Infeasible, 0, {}},
        {"unbounded", 1, "x+y", {"x-y<1", "x>0", "y>0"}, Outcome::Unbounded, 0, {}},
        {"free variables", 0, "x+2y", {"x>-3", "y>-1", "x+y<10"}, Outcome::Optimal, -5, {-3, -1}},
        {"free variable below zero", 1, "-x", {"x>-7.5", "x<4"}, Outcome::Optimal, 7.5, {-7.5}},
        {"equalities", 1, "2x+3y", {"x+y=4", "x<3", "x>0", "y>0"}, Outcome::Optimal, 12, {0, 4}},
        {"shared right-hand side", 1, "x+y", {"x,y<3", "x,y>0"}, Outcome::Optimal, 6, {3, 3}},
        {"unit cube", 1, "x+y+z", {"x<1", "y<1", "z<1", "x>0", "y>0", "z>0"}, Outcome::Optimal, 3, {1, 1, 1}},
        {"diet", 0, "0.6a+0.35b", {"5a+7b>8", "4a+2b>15", "2a+b>3", "a>0", "b>0"}, Outcome::Optimal, 2.25, {3.75, 0}},
        {"comments and blanks", 1, " 4 x + 3 y ", {"; a comment", "", "  2x + y < 10", "x + 3 y<15", "x>0", "y>0"},
         Outcome::Optimal, 24, {3, 4}},
    };
    return problems;
}

} // namespace optimara::catalogue
