#pragma once
// Small helpers shared by the problem tests: building from typed text and
// comparing matrices with expected rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BuildProblem.h"

namespace optimara::testing {

using Rows = std::vector<std::vector<double>>;

struct Outcome {
    ProblemState state;
    BuildReport report;
};

inline void Build(Outcome& out, int combo, const std::string& objective, const std::vector<std::string>& lines) {
    ProblemText text;
    text.comboIndex = combo;
    text.objective = objective;
    text.lines = lines;
    BuildProblem(out.state, text, out.report);
}

inline Rows RowsOf(const MatrixR& m) {
    Rows rows(m.rows, std::vector<double>(m.cols));
    for (uint32_t i = 1; i <= m.rows; ++i)
        for (uint32_t j = 1; j <= m.cols; ++j) rows[i - 1][j - 1] = m.Index(i, j);
    return rows;
}

inline std::vector<int32_t> ColumnOf(const MatrixZ& m) {
    std::vector<int32_t> column;
    for (uint32_t i = 1; i <= m.rows; ++i) column.push_back(m.Index(i, 1));
    return column;
}

inline std::vector<double> ColumnOf(const MatrixR& m) {
    std::vector<double> column;
    for (uint32_t i = 1; i <= m.rows; ++i) column.push_back(m.Index(i, 1));
    return column;
}

inline std::vector<int32_t> Sequence(int32_t count) {
    std::vector<int32_t> s;
    for (int32_t i = 1; i <= count; ++i) s.push_back(i);
    return s;
}

} // namespace optimara::testing
