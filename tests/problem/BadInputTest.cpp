// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile or accidental input: always a clear error or a sound build, never
// a crash; an overflowing number is the one fault that escapes, cleanly.
#include <string>

#include "Fault.h"
#include "TestHelpers.h"

namespace optimara::testing {
namespace {

constexpr size_t kLong = 100000;

TEST(LongLine, OneHugeName) {
    Outcome out;
    const std::string name = "q" + std::string(kLong - 3, 'w');
    Build(out, 1, "y", {name + "<3", "y>0"});
    ASSERT_EQ(out.report.errorPanel, "");
    ASSERT_EQ(out.state.Names.size(), 3u);
    EXPECT_EQ(out.state.Names[1], name);
    EXPECT_EQ(RowsOf(out.state.ConstraintPlanes)[0], (std::vector<double>{0, 1, -3}));
}

TEST(LongLine, RepeatedTermIsADuplicate) {
    std::string line;
    while (line.size() < kLong) line += "+x";
    Outcome out;
    Build(out, 1, "x", {"x<1", line + "<3"});
    EXPECT_EQ(out.report.errorPanel, "ERROR16: Variable duplicada ");
    EXPECT_EQ(out.report.source, 1);
}

TEST(LongLine, ThousandsOfDistinctVariables) {
    std::string line;
    int count = 0;
    while (line.size() < kLong - 10) line += "+a" + std::to_string(++count);
    line += "<3";
    Outcome out;
    Build(out, 1, "a1", {line});
    ASSERT_EQ(out.report.errorPanel, "");
    EXPECT_EQ(out.state.ConstraintPlanes.cols, static_cast<uint32_t>(count + 1));
    EXPECT_EQ(out.state.Names.size(), static_cast<size_t>(2 * count)) << "every variable is free";
    EXPECT_EQ(out.state.Names[2 * count - 1], "a" + std::to_string(count));
    // Only a1 is in the objective, and the line limits it.
    EXPECT_EQ(out.report.statusPanel, "");
    EXPECT_EQ(out.state.CandidateCount, 1);
    EXPECT_EQ(out.state.PivotMarks.Index(1, 1), 2);
}

TEST(LongLine, ShapesThatEndInAnError) {
    struct Case {
        std::string line;
        std::string text;
    };
    const std::vector<Case> cases = {
        {std::string(kLong, '+'), "ERROR3: Símbolo inapropiado"},
        {"x<" + std::string(kLong, '3') + "y", ""},  // overflow, checked below
        {"x" + std::string(kLong, '<'), "ERROR12: Número no hayado"},
        {"x<3" + std::string(kLong, '0') + "y", ""},
        {std::string(kLong, ','), "ERROR3: Símbolo inapropiado"},
        {std::string(kLong / 2, 'x') + "," + std::string(kLong / 2, 'x'), "ERROR7: Inesperado final      "},
    };
    for (const Case& c : cases) {
        Outcome out;
        if (c.text.empty()) {
            EXPECT_THROW(Build(out, 1, "x", {c.line}), FloatingPointFault);
            EXPECT_EQ(out.report.errorPanel, "");
            continue;
        }
        Build(out, 1, "x", {c.line});
        EXPECT_EQ(out.report.errorPanel, c.text) << c.line.substr(0, 20);
        EXPECT_TRUE(out.report.select);
    }
}

TEST(LongLine, BlanksAndCommentsAreIgnored) {
    Outcome out;
    Build(out, 1, "x", {std::string(kLong, ' '), ";" + std::string(kLong, 'c'), "x<1"});
    EXPECT_EQ(out.report.errorPanel, "");
    EXPECT_EQ(out.state.ConstraintPlanes.rows, 1u);
    Outcome none;
    Build(none, 1, "x", {std::string(kLong, ' ')});
    EXPECT_EQ(none.report.errorPanel, "ERROR16: No hay restricciones");
}

TEST(ManyLines, TwoThousandConstraints) {
    std::vector<std::string> lines;
    for (int k = 1; k <= 2000; ++k) lines.push_back(std::to_string(k % 5 + 1) + "x+y<" + std::to_string(k));
    lines.push_back("x,y>0");
    Outcome out;
    Build(out, 1, "x+y", lines);
    ASSERT_EQ(out.report.errorPanel, "");
    ASSERT_EQ(out.state.Tableau.rows, 2001u);
    EXPECT_EQ(out.state.Tableau.Index(2000, 1), 1.0);
    EXPECT_EQ(out.state.Tableau.Index(2000, 3), -2000.0);
    EXPECT_EQ(out.state.Labels.rows, 2002u);
    EXPECT_EQ(out.state.PivotMarks.rows, 2000u);
}

TEST(ManyLines, FaultOnTheLastLineNamesThatLine) {
    std::vector<std::string> lines(2000, "x<1");
    lines[1000] = "; comment";
    lines[1500] = "";
    lines.back() = "x<1x";
    Outcome out;
    Build(out, 1, "x", lines);
    EXPECT_EQ(out.report.errorPanel, "ERROR11: Fin de linea esperad");
    EXPECT_EQ(out.report.source, 1999);
}

TEST(OddCharacters, TabsAreOrdinaryCharacters) {
    Outcome inName;
    Build(inName, 1, "x", {"x\t<3", "x<1"});
    ASSERT_EQ(inName.report.errorPanel, "");
    EXPECT_EQ(inName.state.Names, (std::vector<std::string>{"x", "x", "x\t", "x\t"}));
    for (const std::string line : {"\tx<3", "3\tx<1", "x+\ty<1"}) {
        Outcome out;
        Build(out, 1, "x", {line});
        EXPECT_EQ(out.report.errorPanel, "ERROR3: Símbolo inapropiado") << line;
    }
    Outcome afterNumber;
    Build(afterNumber, 1, "x", {"x<3\t"});
    EXPECT_EQ(afterNumber.report.errorPanel, "ERROR11: Fin de linea esperad");
}

TEST(OddCharacters, LettersBeyondAscii) {
    Outcome start;
    Build(start, 1, "x", {"éx<3"});
    EXPECT_EQ(start.report.errorPanel, "ERROR3: Símbolo inapropiado");
    Outcome objective;
    Build(objective, 1, "ñ", {"x<3"});
    EXPECT_EQ(objective.report.errorPanel, "ERROR3: Símbolo inapropiado");
    EXPECT_EQ(objective.report.source, -1);

    Outcome inside;
    Build(inside, 1, "xé+x²+p€", {"XÉ+X²<3", "xé,x²,p€>0"});
    ASSERT_EQ(inside.report.errorPanel, "");
    EXPECT_EQ(inside.state.Names, (std::vector<std::string>{"xé", "x²", "p€"}));
    EXPECT_EQ(RowsOf(inside.state.Tableau), (Rows{{1, 1, 0, -3}, {1, 1, 1, 0}}));

    // A typographic relation is no relation: the line ends on a name.
    Outcome lessEqual;
    Build(lessEqual, 1, "x", {"x≤3"});
    EXPECT_EQ(lessEqual.report.errorPanel, "ERROR7: Inesperado final      ");
}

TEST(OddCharacters, ControlBytesAndNul) {
    Outcome control;
    Build(control, 1, "x", {"\x01x<3"});
    EXPECT_EQ(control.report.errorPanel, "ERROR3: Símbolo inapropiado");
    Outcome nul;
    Build(nul, 1, "x", {std::string("x\0y<3", 5)});
    ASSERT_EQ(nul.report.errorPanel, "");
    EXPECT_EQ(nul.state.Names[2], std::string("x\0y", 3));
}

TEST(ShortFaults, TheUsualSlips) {
    struct Case {
        std::string objective;
        std::string line;
        std::string text;
        int source;
    };
    const std::vector<Case> cases = {
        {"x", ".", "ERROR6: Inesperado final      ", 0},
        {".", "x<1", "ERROR4: Variable especrada en la función objetn", -1},
        {"+-x", "x<1", "ERROR3: Símbolo inapropiado", -1},
        {"x", "+-x<1", "ERROR3: Símbolo inapropiado", 0},
        {"x", "x<<3", "ERROR12: Número no hayado", 0},
        {"x", "<", "ERROR12: Número no hayado", 0},
        {"x", ">", "ERROR12: Número no hayado", 0},
        {"x", "=", "ERROR12: Número no hayado", 0},
        {"x", "x=", "ERROR12: Número no hayado", 0},
        {"x", "x<3<4", "ERROR11: Fin de linea esperad", 0},
        {"x", "x<3,", "ERROR11: Fin de linea esperad", 0},
        {"x", ",", "ERROR3: Símbolo inapropiado", 0},
        {"x", "-<3", "ERROR3: Símbolo inapropiado", 0},
        {"x", "x>=0", "ERROR12: Número no hayado", 0},
        {"", "x<1", "Nada para optimizar     ", -1},
        {"*", "x<1", "ERROR13: Variable esperada", -1},
        {"x", "*", "ERROR14: Variable esperada", 0},
        {"x", ";", "ERROR16: No hay restricciones", 0},
    };
    for (const Case& c : cases) {
        Outcome out;
        Build(out, 1, c.objective, {c.line});
        EXPECT_EQ(out.report.errorPanel, c.text) << c.objective << " | " << c.line;
        EXPECT_EQ(out.report.source, c.source) << c.objective << " | " << c.line;
    }
}

TEST(ShortFaults, SemicolonLinesAreCommentsWhateverFollows) {
    Outcome out;
    Build(out, 1, "x", {";", ";;", ";x<<<", "x<2", " ; x+"});
    EXPECT_EQ(out.report.errorPanel, "");
    EXPECT_EQ(RowsOf(out.state.ConstraintPlanes), (Rows{{1, -2}}));
}

TEST(PastedText, TrailingCarriageReturnsAreLineBreakDebris) {
    Outcome plain;
    Build(plain, 1, "3x+2y", {"x+y<4", "", "x+3y<6", "x>0", "y>0"});
    Outcome pasted;
    Build(pasted, 1, "3x+2y\r", {"x+y<4\r", "\r", "x+3y<6 \r", "x>0\r", "y>0\r\r"});
    ASSERT_EQ(pasted.report.errorPanel, "");
    EXPECT_EQ(pasted.state.Names, plain.state.Names);
    EXPECT_EQ(RowsOf(pasted.state.Tableau), RowsOf(plain.state.Tableau));
    EXPECT_EQ(RowsOf(pasted.state.ConstraintPlanes), RowsOf(plain.state.ConstraintPlanes));
    // Inside a line a carriage return is an ordinary character.
    Outcome inner;
    Build(inner, 1, "x", {"x<3\ry<2"});
    EXPECT_EQ(inner.report.errorPanel, "ERROR11: Fin de linea esperad");
}

TEST(Overflow, AbandonsTheBuildAndTouchesNothingElse) {
    const std::string huge(400, '7');
    const std::vector<ProblemText> texts = {
        {1, huge + "x", {"x<1"}},
        {0, "x", {"x<1", "2x+" + huge + "y<3"}},
        {1, "x", {"x<" + huge}},
        {1, "x", {"x<0." + std::string(400, '0') + "1"}},
        {1, "x", {"x,y<1", "x,<" + huge}},  // after the comma text is written
    };
    for (const ProblemText& text : texts) {
        Outcome out;
        Build(out, 1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
        const Rows planes = RowsOf(out.state.ConstraintPlanes);
        const auto labels = ColumnOf(out.state.Labels);
        const int32_t count = out.state.CandidateCount;
        out.state.Names.clear();
        out.report = BuildReport{};
        try {
            BuildProblem(out.state, text, out.report);
            ADD_FAILURE() << "no fault for " << text.lines.back().substr(0, 12);
        } catch (const FloatingPointFault& fault) {
            EXPECT_STREQ(fault.what(), "Floating point overflow");
        }
        EXPECT_EQ(out.report.errorPanel, "");
        EXPECT_FALSE(out.report.select);
        EXPECT_EQ(out.report.statusPanel, "");
        EXPECT_EQ(RowsOf(out.state.ConstraintPlanes), planes);
        EXPECT_EQ(ColumnOf(out.state.Labels), labels);
        EXPECT_EQ(out.state.CandidateCount, count);
    }
}

} // namespace
} // namespace optimara::testing
