// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the page of steps as LaTeX, worked out by hand from what
// LaTeX's T1 encoding and inputenc make of each character.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "FileIO.h"
#include "LatexText.h"
#include "StepsLatex.h"

using namespace optimara::files;

namespace {

TEST(LatexText, NumbersOfEveryNotationInMathMode) {
    const std::pair<std::string, std::string> cases[] = {
        {"3", "3"},
        {"-3/2", "-\\frac{3}{2}"},
        {"\xE2\x88\x92" "3/2", "-\\frac{3}{2}"},
        {"1.5", "1.5"},
        {"1,5", "1{,}5"},
        {"-0,25", "-0{,}25"},
        {"1.5E-05", "1.5\\mathrm{E}{-}05"},
        {"2E20", "2\\mathrm{E}20"},
        {"M", "M"},
        {"-M", "-M"},
        {"\xE2\x88\x92" "2M+3/2", "-2M+\\frac{3}{2}"},
        {"(3/2)M\xE2\x88\x92" "1/2", "(\\frac{3}{2})M-\\frac{1}{2}"},
        {"2M-1", "2M-1"},
        {"\xE2\x88\x9E", "\\infty"},
        {"-\xE2\x88\x9E", "-\\infty"},
    };
    for (const auto& [text, math] : cases) {
        std::string got;
        ASSERT_TRUE(latex::NumberMath(text, got)) << text;
        EXPECT_EQ(got, math) << text;
    }
    for (const std::string text : {"", "x", "x1", "3x", "1/", "/2", "3/2/5", "1.", "--3", "3-", "(3/2)", "2MM", "h1",
                                   "— (entrada ≤ 0)", "1 / 2", "1.5E", "M2"}) {
        std::string got = "untouched";
        EXPECT_FALSE(latex::NumberMath(text, got)) << text;
        EXPECT_EQ(got, "untouched") << text;
    }
}

TEST(LatexText, SpecialCharactersLigaturesAndSymbols) {
    const std::pair<std::string, std::string> cases[] = {
        {"x_1", "x\\_1"},
        {"a%b&c#d$e", "a\\%b\\&c\\#d\\$e"},
        {"{x}", "\\{x\\}"},
        {"a\\b", "a\\textbackslash{}b"},
        {"m^n~k", "m\\textasciicircum{}n\\textasciitilde{}k"},
        {"año", "año"},
        {"x--y", "x-{}-{}y"},
        {"x''", "x\\textquotesingle{}\\textquotesingle{}"},
        {"<<x>>", "\\textless{}\\textless{}x\\textgreater{}\\textgreater{}"},
        {"a,,b", "a,\\allowbreak{},\\allowbreak{}b"},
        {"3,5", "3,{}5"},
        {"[1]", "{[}1{]}"},
        {"x+y=2", "x+\\allowbreak{}y=\\allowbreak{}2"},
        {"x \xE2\x89\xA4 y \xE2\x89\xA5 z", "x \\ensuremath{\\leq} y \\ensuremath{\\geq} z"},
        {"a\xC2\xB7" "b", "a\\ensuremath{\\cdot}b"},
        {"\xE2\x86\x90\xE2\x86\x92", "\\ensuremath{\\leftarrow}\\ensuremath{\\rightarrow}"},
        {"B\xE2\x81\xBB\xC2\xB9", "B\\textsuperscript{\\ensuremath{-}1}"},
        {"x\xE2\x82\x81", "x\\textsubscript{1}"},
        {"\xCE\xB1\xCE\xA3\xCE\x91", "\\ensuremath{\\alpha}\\ensuremath{\\Sigma}\\ensuremath{\\mathrm{A}}"},
        {"\xC2\xAB" "a\xC2\xBB", "\xC2\xAB" "a\xC2\xBB"},
        {"\xC4\x8D\xC4\xA7", "\xC4\x8D\\optimaracodigo{0127}"},
        {"\x01\x7F\t", "\\optimaracodigo{0001}\\optimaracodigo{007F} "},
        {"x\xFFy\xC3", "x\\optimaracodigo{FFFD}y\\optimaracodigo{FFFD}"},
        {"\xF0\x9F\x99\x82", "\\optimaracodigo{1F642}"},
        {"\xE2\x80\xA8\xC2\x85", "\\optimaracodigo{2028}\\optimaracodigo{0085}"},
    };
    for (const auto& [text, latex] : cases) EXPECT_EQ(latex::Text(text), latex) << text;
}

// The program's texts: a fraction standing on its own is set as one, and
// nothing else is.
TEST(LatexText, ProseSetsFractionsThatStandOnTheirOwn) {
    const std::pair<std::string, std::string> cases[] = {
        {"z = 3/2", "z =\\allowbreak{} $\\frac{3}{2}$"},
        {"(-3/2)", "($-\\frac{3}{2}$)"},
        {"y \xE2\x88\x92" "1/3x", "y $-\\frac{1}{3}$x"},
        {"Sale h1, 7/9.", "Sale h1,\\allowbreak{} $\\frac{7}{9}$."},
        {"x1/2", "x1/2"},
        {"3/2/5", "3/2/5"},
        {"1/2.5", "1/2.5"},
        {"4 / 1 = 4", "4 / 1 =\\allowbreak{} 4"},
        {"a-1/2", "a-{}$\\frac{1}{2}$"},
    };
    for (const auto& [text, latex] : cases) EXPECT_EQ(latex::Prose(text), latex) << text;
    EXPECT_EQ(latex::Text("z = 3/2"), "z =\\allowbreak{} 3/2");
}

TEST(LatexText, CellsCarryTheirMarks) {
    using latex::CellMark;
    const struct {
        std::string text;
        CellMark mark;
        std::string latex;
        int width;
    } cases[] = {
        {"3/2", CellMark::None, "$\\frac{3}{2}$", 1},
        {"*-12/7", CellMark::None, "$\\underline{-\\frac{12}{7}}$", 3},
        {"**4", CellMark::None, "$\\boxed{4}$", 1},
        {"*4", CellMark::Pivot, "$\\boxed{4}$", 1},
        {"1,25", CellMark::Bold, "{\\boldmath$1{,}25$}", 4},
        {"h_1", CellMark::Pivot, "\\fbox{h\\_1}", 3},
        {"año", CellMark::Bold, "\\textbf{año}", 3},
        {"— (entrada ≤ 0)", CellMark::None, "\\textemdash{} (entrada \\ensuremath{\\leq} 0)", 15},
        {"", CellMark::None, "", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(latex::Cell(c.text, c.mark), c.latex) << c.text;
        EXPECT_EQ(latex::CellWidth(c.text), c.width) << c.text;
    }
}

// The document's frame and what chooses the landscape and longtable.
TEST(StepsLatex, SectionsAndTheChoicesOfSize) {
    StepsPage page;
    page.sense = "Maximizar";
    page.objective = "x_1";
    StepsPageTableau narrow;
    narrow.rows = 2;
    narrow.cols = 3;
    narrow.cells = {"", "x", "", "h1", "**1", "4"};
    narrow.pivotRow = 1;
    narrow.pivotCol = 1;
    StepsPageTableau wide = narrow;
    wide.cols = 40;
    wide.rows = 50;
    wide.cells.assign(2000, "-123/457");
    page.tableaux = {narrow, wide, narrow};
    const std::string tex = StepsPageLatex(page);
    EXPECT_EQ(tex.rfind("\\documentclass[a4paper,10pt]{article}", 0), 0u);
    EXPECT_EQ(tex.substr(tex.size() - 15), "\\end{document}\n");
    auto count = [&](const std::string& part) {
        size_t n = 0;
        for (size_t at = tex.find(part); at != std::string::npos; at = tex.find(part, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("\\begin{landscape}"), 1u);
    EXPECT_EQ(count("\\end{landscape}"), 1u);
    EXPECT_LT(tex.find("\\begin{landscape}"), tex.find("\\scriptsize"));
    EXPECT_EQ(count("$\\boxed{1}$"), 2u);
    EXPECT_EQ(count("\\optimaraajustada"), 3u + 1u);  // three tables and the definition
    EXPECT_EQ(count("\\begin{longtable}"), 0u);       // too wide to break: scaled instead
    EXPECT_EQ(count("x\\_1"), 1u);
    // Not too wide: the tall one breaks across pages with its head repeated.
    page.tableaux[1].cols = 8;
    page.tableaux[1].cells.resize(400);
    const std::string tall = StepsPageLatex(page);
    EXPECT_EQ(tall.find("\\begin{landscape}"), std::string::npos);
    EXPECT_NE(tall.find("\\begin{longtable}{l|rrrrrrr}"), std::string::npos);
    EXPECT_NE(tall.find("\\endhead"), std::string::npos);
}

TEST(StepsLatex, WrittenWholeOrNotAtAll) {
    StepsPage page;
    page.objective = "año_1";
    QTemporaryDir dir;
    WriteStepsLatex(dir.filePath("pasos.tex"), page);
    EXPECT_EQ(ReadWholeFile(dir.filePath("pasos.tex")).toStdString(), StepsPageLatex(page));
    EXPECT_THROW(WriteStepsLatex(dir.filePath("no/such/folder/pasos.tex"), page), FileError);
}

} // namespace
