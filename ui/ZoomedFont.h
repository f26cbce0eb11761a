// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A control's texts at a zoom: its font from before any zoom, grown until
// the digits reach the zoomed height.
class QPlainTextEdit;
class QWidget;

namespace optimara {

void SetZoomedFont(QWidget* widget, int percent);
// After a change of font a text panel is laid out anew at once, so its
// scroll bar follows the true height of its text.
void LayOutWholly(QPlainTextEdit* panel);

} // namespace optimara
