// SPDX-License-Identifier: GPL-3.0-or-later
// Every error text, where it comes from and what it selects, and what a
// failed build leaves behind.
#include "TestHelpers.h"

namespace optimara::testing {
namespace {

struct ErrorCase {
    const char* why;
    std::string objective;
    std::vector<std::string> lines;
    std::string text;
    bool select;
    int source;
};

// Literal texts on purpose: a typo in the program's constants must fail here.
const std::vector<ErrorCase>& Cases() {
    static const std::vector<ErrorCase> cases = {
        {"minus at end of objective", "x-", {"x<1"}, "ERROR1: Número esperado       -", true, -1},
        {"minus at end of a line", "x", {"x<1", "x<-"}, "ERROR1: Número esperado       -", true, 1},
        {"plus at end of objective", "x+", {"x<1"}, "ERROR2: Número esperado       +", true, -1},
        {"plus at end of a line", "x", {"x+"}, "ERROR2: Número esperado       +", true, 0},
        {"two stars", "2**x", {"x<1"}, "ERROR3: Símbolo inapropiado", true, -1},
        {"comma in a number", "2,5x", {"x<1"}, "ERROR3: Símbolo inapropiado", true, -1},
        {"relation in objective", "x<3", {"x<1"}, "ERROR3: Símbolo inapropiado", true, -1},
        {"parenthesis in a line", "x", {"", "2(x)<1"}, "ERROR3: Símbolo inapropiado", true, 1},
        {"digit after star", "x", {"2*3<1"}, "ERROR3: Símbolo inapropiado", true, 0},
        {"objective ends on a number", "x+3", {"x<1"}, "ERROR4: Variable especrada en la función objetn", true, -1},
        {"lone point objective", ".", {"x<1"}, "ERROR4: Variable especrada en la función objetn", true, -1},
        {"objective duplicate", "x+y-X", {"x<1"}, "ERROR5: Variable duplicada ", true, -1},
        {"line ends on a number", "x", {"x<1", ";c", "x+3"}, "ERROR6: Inesperado final      ", true, 2},
        {"line ends on a name", "x", {"x+y"}, "ERROR7: Inesperado final      ", true, 0},
        {"line ends after comma", "x", {"x+y,"}, "ERROR9: Inesperado final      ", false, 0},
        {"comma then relation", "x", {"x+y,<3"}, "ERROR10: Inesperado final de expresió", false, 0},
        {"comma relation, junk after", "x", {"x+y,<3y"}, "ERROR10: Inesperado final de expresió", false, 0},
        {"comma relation, no number", "x", {"x+y,x<"}, "ERROR12: Número no hayado", true, 0},
        {"comma relation, no number 2", "x", {"x+y,<"}, "ERROR12: Número no hayado", true, 0},
        {"junk after the number", "x", {"x+y<4y"}, "ERROR11: Fin de linea esperad", true, 0},
        {"two-character relation", "x", {"x+y<=4"}, "ERROR12: Número no hayado", true, 0},
        {"sign without number", "x", {"x<-y"}, "ERROR12: Número no hayado", true, 0},
        {"objective ends on star", "2*", {"x<1"}, "ERROR13: Variable esperada", true, -1},
        {"line ends on star", "x", {"x+3*"}, "ERROR14: Variable esperada", true, 0},
        {"zero coefficient", "x", {"0x<1"}, "ERROR15: Un cero no tiene ningún efecto en la (in) ecuación", true, 0},
        {"point coefficient", "x", {"x+.y<1"}, "ERROR15: Un cero no tiene ningún efecto en la (in) ecuación", true, 0},
        {"line duplicate", "x", {"x+x<3"}, "ERROR16: Variable duplicada ", true, 0},
        {"line duplicate other case", "x", {"y<1", ";", "y-2X+x<3"}, "ERROR16: Variable duplicada ", true, 2},
        {"line duplicate in second side", "x", {"y<1", "x,y+Y<3"}, "ERROR16: Variable duplicada ", true, 1},
        // The second y stands where the last line had y: found without a lookup.
        {"line duplicate in the last line's order", "x+y", {"x+y<2", "y+y<3"}, "ERROR16: Variable duplicada ", true, 1},
        {"no constraints", "x", {}, "ERROR16: No hay restricciones", true, 0},
        {"only comments", "x", {";a", "   ", "", "; <3"}, "ERROR16: No hay restricciones", true, 0},
        {"empty objective", "", {"x<1"}, "Nada para optimizar     ", true, -1},
        {"blank objective", "    ", {"x<1"}, "Nada para optimizar     ", true, -1},
    };
    return cases;
}

TEST(ErrorTexts, EachTextWithItsSourceAndSelection) {
    for (const ErrorCase& c : Cases()) {
        Outcome out;
        Build(out, 1, c.objective, c.lines);
        EXPECT_EQ(out.report.errorPanel, c.text) << c.why;
        EXPECT_EQ(out.report.select, c.select) << c.why;
        if (c.select) {
            EXPECT_EQ(out.report.source, c.source) << c.why;
        }
        EXPECT_EQ(out.report.statusPanel, "") << c.why << ": a failed build writes no status";
    }
}

TEST(ErrorTexts, OnlyTheFirstFaultIsShown) {
    Outcome out;
    Build(out, 1, "x", {"x+x<3", "x+"});
    EXPECT_EQ(out.report.errorPanel, "ERROR16: Variable duplicada ");
    EXPECT_EQ(out.report.source, 0);
}

TEST(ErrorTexts, ObjectiveIsCheckedBeforeAnyLine) {
    Outcome out;
    Build(out, 1, "x+", {"<"});
    EXPECT_EQ(out.report.errorPanel, "ERROR2: Número esperado       +");
    EXPECT_EQ(out.report.source, -1);
}

TEST(ErrorTexts, NameEndCheckComesBeforeZeroCoefficientCheck) {
    Outcome out;
    Build(out, 1, "x", {"0y"});
    EXPECT_EQ(out.report.errorPanel, "ERROR7: Inesperado final      ");
}

TEST(ErrorFlows, CommaAtEndStopsWithTheExtraRowInPlace) {
    Outcome out;
    Build(out, 1, "x+y", {"x+y,"});
    EXPECT_EQ(out.report.errorPanel, "ERROR9: Inesperado final      ");
    EXPECT_FALSE(out.report.select);
    EXPECT_EQ(RowsOf(out.state.Tableau), (Rows{{1, 1, 0}, {0, 0, 0}, {1, 1, 0}}));
}

TEST(ErrorFlows, CommaBeforeRelationStopsAfterTheRightHandSide) {
    Outcome out;
    Build(out, 1, "x+y", {"x+y,<3"});
    EXPECT_EQ(out.report.errorPanel, "ERROR10: Inesperado final de expresió");
    EXPECT_FALSE(out.report.select);
    // Stopped before the constants were written.
    EXPECT_EQ(RowsOf(out.state.Tableau), (Rows{{1, 1, 0}, {0, 0, 0}, {1, 1, 0}}));
}

TEST(ErrorFlows, FaultInTheRightHandSideReplacesTheCommaText) {
    Outcome out;
    Build(out, 1, "x", {"x<1", "x,>-"});
    EXPECT_EQ(out.report.errorPanel, "ERROR1: Número esperado       -");
    EXPECT_TRUE(out.report.select);
    EXPECT_EQ(out.report.source, 1);
}

TEST(FailedBuild, LeavesTheLaterPiecesAsTheyWere) {
    const std::vector<std::vector<std::string>> faults = {
        {"x<1", "x+"}, {"y<1", "x+y,"}, {"x+y,<2"}, {";"}, {"x+y<1", "x>0", "y>0", "x<<"}};
    for (const auto& lines : faults) {
        Outcome out;
        Build(out, 1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
        ASSERT_EQ(out.report.errorPanel, "");
        const Rows planes = RowsOf(out.state.ConstraintPlanes);
        const auto objective = ColumnOf(out.state.ObjectiveVector);
        const auto signs = ColumnOf(out.state.SignMarks);
        const auto labels = ColumnOf(out.state.Labels);
        const Marks marks = MarksOf(out.state.PivotMarks);
        const int32_t count = out.state.CandidateCount;
        const uint32_t random = out.state.Random.state;

        out.state.Names.clear();
        out.report = BuildReport{};
        Build(out, 1, "a+b+c", lines);
        ASSERT_NE(out.report.errorPanel, "") << lines.back();
        EXPECT_EQ(RowsOf(out.state.ConstraintPlanes), planes) << lines.back();
        EXPECT_EQ(ColumnOf(out.state.ObjectiveVector), objective);
        EXPECT_EQ(ColumnOf(out.state.SignMarks), signs);
        EXPECT_EQ(ColumnOf(out.state.Labels), labels);
        for (uint32_t i = 1; i <= out.state.PivotMarks.rows; ++i)
            for (uint32_t j = 1; j <= out.state.PivotMarks.cols; ++j)
                EXPECT_EQ(out.state.PivotMarks.Index(i, j), marks[i - 1][j - 1]);
        EXPECT_EQ(out.state.CandidateCount, count);
        EXPECT_EQ(out.state.Random.state, random) << "no draw for a failed build";
    }
}

TEST(FailedBuild, KeepsTheTableauAndNamesAsFarAsRead) {
    Outcome out;
    Build(out, 0, "2a-b", {"a+c<1", "d+e+a+a<2"});
    EXPECT_EQ(out.report.errorPanel, "ERROR16: Variable duplicada ");
    EXPECT_EQ(out.state.Names, (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(RowsOf(out.state.Tableau),
              (Rows{{1, 0, 1, 0, 0, -1}, {1, 0, 0, 1, 1, 0}, {-2, 1, 0, 0, 0, 0}}));
}

} // namespace
} // namespace optimara::testing
