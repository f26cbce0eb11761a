// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A control's texts at a zoom: its font from before any zoom, grown until
// the digits reach the zoomed height.
class QPlainTextEdit;
class QWidget;

namespace optimara {

void SetZoomedFont(QWidget* widget, int percent);
// A window's texts at a zoom: its own font and every control's that chose
// a font of its own, and its tables' rows as high as their text.
void SetZoomedWindowFonts(QWidget* window, int percent);
// After a change of font a text panel is laid out anew at once, so its
// scroll bar follows the true height of its text.
void LayOutWholly(QPlainTextEdit* panel);

} // namespace optimara
