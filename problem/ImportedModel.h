// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What both file readers make of a file before it is typed: columns with
// their bounds, the objective and the rows, each with the file line it came
// from. Private to the importers.
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ProblemState.h"

namespace optimara::import {

inline constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Both formats take bounds this large as no bound at all.
inline constexpr double kInfiniteBound = 1e30;

// A refusal on its way out of a reader: the line (0 for none) and the text.
struct Refusal {
    int line = 0;
    std::string what;
    std::string Text() const;
};

[[noreturn]] void Refuse(int line, const std::string& what);

using Terms = std::vector<std::pair<uint32_t, double>>;  // (column, coefficient), as written

struct ImportedRow {
    Terms terms;
    char relation = '<';  // '<', '>' or '='
    double rhs = 0.0;
    int line = 0;
};

struct ImportedColumn {
    std::string name;
    // The name the user typed, when the file says it (the program's own
    // export maps the names the format cannot hold back in comments).
    std::string typed;
    double lower = 0.0;
    double upper = kInfinity;
    bool integer = false;
};

struct ImportedModel {
    bool maximize = false;
    std::vector<ImportedColumn> columns;
    std::unordered_map<std::string, uint32_t> index;
    Terms objective;
    int objectiveLine = 0;
    std::vector<ImportedRow> rows;
    // What the reader decided where the format leaves it open, for comment
    // lines above the problem.
    std::vector<std::string> notes;

    // The column of that name, made (with the format's default bounds) the
    // first time it is named.
    uint32_t Column(const std::string& name);
    // The column of that name, or -1.
    int64_t Find(const std::string& name) const;
};

// A number of the file, in the C locale whatever the program's; the words
// of infinity are not numbers here. Refuses text that is no number, and
// numbers the typed problem cannot hold.
double FileNumber(std::string_view text, int line);
bool ParsesAsNumber(std::string_view text, double& value);

// The typed problem: refuses a problem without objective variables, or one
// whose first tableau the program would not build for its size.
ProblemText Typed(const ImportedModel& model);

// The number as the typed problem writes it: digits and a point, no
// exponent, the shortest digits that give back the same double.
std::string TypedNumber(double value);

ImportedModel ReadLp(std::string_view bytes);
ImportedModel ReadMps(std::string_view bytes);

} // namespace optimara::import
