// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts of the page of steps as LaTeX that pdflatex, with inputenc utf8 and
// the T1 encoding, reads without complaint whatever the user typed.
#include <string>

namespace optimara::files::latex {

// The user's text as it was typed: the ten characters LaTeX gives a meaning
// written as commands, the ligatures T1 would make of "--", "''", ",,", "<<"
// broken, the symbols the program's texts use (≤ ≥ − · ← → ∞ ⁻¹ …) and the
// Greek letters as commands, the Latin letters T1 holds passed on to
// inputenc, and every other character (a control, broken UTF-8, a symbol no
// font here holds) as \optimaracodigo{hex}, which the preamble defines.
std::string Text(const std::string& text);

// A text the program wrote: as Text, with every fraction "3/2" standing on
// its own (not part of a name such as "x1/2") set as \frac in math mode.
std::string Prose(const std::string& text);

// The math-mode form of a number the notation wrote, "−2M+3/2" as
// "-2M+\frac{3}{2}", "1,5" as "1{,}5", or false when the text is no number
// (an empty text is none).
bool NumberMath(const std::string& text, std::string& math);

// How a cell of a table is marked.
enum class CellMark { None, Candidate, Pivot, Bold };

// One cell: a number in math mode, anything else as Prose. The window's
// marks in front of a number, "*" for a candidate and "**" for the chosen
// pivot, become the mark itself: the pivot boxed, a candidate underlined;
// `mark` adds one of its own.
std::string Cell(const std::string& text, CellMark mark = CellMark::None);

// About how many characters wide the cell is set (a fraction as its longer
// part), to choose the type size and the page's orientation.
int CellWidth(const std::string& text);

} // namespace optimara::files::latex
