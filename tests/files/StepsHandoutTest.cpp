// SPDX-License-Identifier: GPL-3.0-or-later
// The page of steps laid out as a handout: each step's phase and state said
// once, narrow blocks two by two, the blocks the printed page keeps whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StepsPage.h"

using namespace optimara::files;

namespace {

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// A tableau of rows x cols whose cells are `cell`, its explanation opening
// with the title the window's panel gives it.
StepsPageTableau Tableau(int number, int rows, int cols, const std::string& cell, const std::string& phase) {
    StepsPageTableau t;
    t.number = number;
    t.rows = rows;
    t.cols = cols;
    t.cells.assign(static_cast<size_t>(rows * cols), cell);
    t.solution = {"x=1", "y=2"};
    t.value = "7";
    t.phase = phase;
    t.status = "en curso";
    const std::string step = number == 0 ? "Tabla inicial" : "Paso " + std::to_string(number);
    t.explanation = {step + " · " + phase, "Entra x (columna 1).", "Paso 9 · " + phase};
    return t;
}

// The page's step blocks, one string each.
std::vector<std::string> Steps(const std::string& html) {
    std::vector<std::string> steps;
    const std::string open = "<div class=\"paso\">";
    for (size_t at = html.find(open); at != std::string::npos;) {
        const size_t next = html.find(open, at + 1);
        steps.push_back(html.substr(at, next == std::string::npos ? next : next - at));
        at = next;
    }
    return steps;
}

TEST(StepsHandout, PhaseAndStateSaidOncePerStep) {
    StepsPage page;
    page.tableaux = {Tableau(0, 3, 3, "1", "buscando una solución factible"),
                     Tableau(1, 3, 3, "1", "mejorando el objetivo"), Tableau(2, 3, 3, "1", "mejorando el objetivo")};
    page.tableaux[2].node = "Nodo 2 · x<1";
    page.tableaux[2].status = "óptimo";
    const std::vector<std::string> steps = Steps(StepsPageHtml(page).toStdString());
    ASSERT_EQ(steps.size(), 3u);
    for (size_t k = 0; k < steps.size(); ++k) {
        const StepsPageTableau& t = page.tableaux[k];
        EXPECT_EQ(Count(steps[k], t.phase), 2) << "the phase's line and the other step's title: " << steps[k];
        EXPECT_EQ(Count(steps[k], "Fase: " + t.phase), 1) << steps[k];
        EXPECT_EQ(Count(steps[k], "Estado: "), 1) << steps[k];
        EXPECT_EQ(Count(steps[k], "Estado: " + t.status), 1) << steps[k];
        EXPECT_EQ(Count(steps[k], "Valor: 7 · Fase: "), 1) << steps[k];
        // The rest of the explanation stays, a title of another step too.
        EXPECT_EQ(Count(steps[k], "<p>Entra x (columna 1).</p>"), 1) << steps[k];
        EXPECT_EQ(Count(steps[k], "<p>Paso 9 · "), 1) << steps[k];
        EXPECT_EQ(Count(steps[k], "Solución: x=1, y=2</p>"), 1) << steps[k];
    }
    EXPECT_EQ(Count(steps[2], "<h2>Nodo 2 · x&lt;1 · Paso 2</h2>"), 1);
}

// Which blocks share a row: the problem alone, then narrow tableaux two by
// two; a wide one alone, and the narrow one before it too when it has no
// narrow partner.
TEST(StepsHandout, NarrowTableauxStandInPairs) {
    const struct {
        const char* what;
        std::vector<int> columns;  // of each tableau
        std::vector<size_t> rows;  // where each row of blocks starts (block 0 is the problem)
    } cases[] = {
        {"two narrow", {4, 4}, {0, 1}},
        {"three narrow", {4, 4, 4}, {0, 1, 3}},
        {"a wide one between", {4, 4, 4, 30, 4, 4}, {0, 1, 3, 4, 5}},
        {"all wide", {30, 30}, {0, 1, 2}},
        {"narrow and wide in turn", {4, 30, 4, 30}, {0, 1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        StepsPage page;
        for (size_t k = 0; k < c.columns.size(); ++k)
            page.tableaux.push_back(Tableau(int(k), 4, c.columns[k], "-12/7", "mejorando el objetivo"));
        const std::vector<StepsPageBlock> blocks = StepsPageBlocks(page);
        ASSERT_EQ(blocks.size(), c.columns.size() + 1) << c.what;
        EXPECT_FALSE(blocks[0].narrow) << c.what;
        for (size_t k = 0; k < c.columns.size(); ++k)
            EXPECT_EQ(blocks[k + 1].narrow, c.columns[k] < 10) << c.what << " " << k;
        EXPECT_EQ(StepsPageRows(blocks), c.rows) << c.what;
        // The page holds the same pairs, each in its box.
        const std::string html = StepsPageHtml(page).toStdString();
        size_t pairs = 0;
        for (size_t r = 0; r < c.rows.size(); ++r) {
            const size_t end = r + 1 < c.rows.size() ? c.rows[r + 1] : blocks.size();
            if (end - c.rows[r] != 2) continue;
            ++pairs;
            const std::string pair = blocks[c.rows[r]].html + blocks[c.rows[r] + 1].html;
            EXPECT_EQ(Count(html, "<div class=\"pareja\">\n" + pair + "</div>"), 1) << c.what;
        }
        EXPECT_EQ(Count(html, "<div class=\"pareja\">"), int(pairs)) << c.what;
    }
}

// The sensitivity and the dual are blocks of their own, narrow when their
// lines are short; a long line of the dual makes it wide.
TEST(StepsHandout, SensitivityAndDualPairAfterTheSteps) {
    StepsPage page;
    page.tableaux = {Tableau(0, 3, 3, "1", "mejorando el objetivo"), Tableau(1, 3, 3, "1", "mejorando el objetivo")};
    page.sensitivity.lineHeadings = {"Línea", "Holgura", "Precio dual", "Límite inferior", "Límite superior"};
    page.sensitivity.variableHeadings = {"Variable", "Valor", "Coste reducido", "Límite inferior", "Límite superior"};
    page.sensitivity.lines = {{"h1: x+y<4", "0", "3", "0", "6"}};
    page.sensitivity.variables = {{"x", "4", "0", "2", "∞"}};
    page.sensitivity.dual = {"Minimizar", "4y1+6y2", "Sujeto a:", "y1+y2>3"};
    std::vector<StepsPageBlock> blocks = StepsPageBlocks(page);
    ASSERT_EQ(blocks.size(), 5u);
    EXPECT_EQ(Count(blocks[3].html, "<h2>Sensibilidad</h2>"), 1);
    EXPECT_EQ(Count(blocks[4].html, "<h2>Problema dual</h2>"), 1);
    EXPECT_TRUE(blocks[3].narrow && blocks[4].narrow);
    EXPECT_EQ(StepsPageRows(blocks), (std::vector<size_t>{0, 1, 3}));
    page.sensitivity.dual.push_back(std::string(120, 'y') + "<1");
    blocks = StepsPageBlocks(page);
    EXPECT_FALSE(blocks[4].narrow);
    EXPECT_EQ(StepsPageRows(blocks), (std::vector<size_t>{0, 1, 3, 4}));
}

} // namespace
