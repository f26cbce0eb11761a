// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the auxiliary windows open and how large they are at a zoom. The
// reckoning is on rectangles only, so it is checked without any window;
// the last two functions apply it to real windows.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

class QWidget;

namespace optimara {

// The top-left corner of a window of frame size `frame` beside the main
// window's frame: right of it when the screen's free area has room for its
// width, else left of it; its top level with the main window's, moved up
// or down as little as keeps it on the free area. None when neither side
// has room: the window then opens where it always did.
std::optional<QPoint> BesidePosition(const QRect& mainFrame, const QSize& frame, const QRect& available);

// A window's design size at the zoom, no larger than `room` (a window
// larger than its screen could not be moved back onto it).
QSize ZoomedWindowSize(const QSize& design, int percent, const QSize& room);

// Moves a window that is about to open beside the main window, when its
// screen has room for it.
void OpenBeside(QWidget* window, const QWidget* mainWindow);
// The window's texts at the zoom and its size grown with them; `fixed` for
// a window the user does not resize. A window not yet shown has no frame:
// it is reckoned with a frame like `framedLike`'s, or its parent window's.
void ZoomWindow(QWidget* window, const QSize& design, int percent, bool fixed = false,
                const QWidget* framedLike = nullptr);

} // namespace optimara
