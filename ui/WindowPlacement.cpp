// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowPlacement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "Zoom.h"
#include "ZoomedFont.h"

namespace optimara {

std::optional<QPoint> BesidePosition(const QRect& mainFrame, const QSize& frame, const QRect& available) {
    // Level with the main window, so the eye moves across, not down; a
    // window taller than the free area keeps its title bar on it.
    const int lowest = std::max(available.top(), available.bottom() + 1 - frame.height());
    const int top = std::clamp(mainFrame.top(), available.top(), lowest);
    if (mainFrame.right() + frame.width() <= available.right()) return QPoint(mainFrame.right() + 1, top);
    if (mainFrame.left() - frame.width() >= available.left()) return QPoint(mainFrame.left() - frame.width(), top);
    return std::nullopt;
}

QSize ZoomedWindowSize(const QSize& design, int percent, const QSize& room) {
    const QSize zoomed(Zoomed(design.width(), percent), Zoomed(design.height(), percent));
    // A screen smaller than the design keeps the design's size, as before
    // any zoom.
    return zoomed.boundedTo(room).expandedTo(design);
}

namespace {

// The room a window's frame takes around it: its own once shown, else
// that of the main window it belongs to, whose frame it will look like.
QSize Decoration(const QWidget* window, const QWidget* framedLike) {
    const QWidget* framed = window;
    if (window->frameGeometry().size() == window->size()) {
        if (framedLike) framed = framedLike->window();
        else if (window->parentWidget()) framed = window->parentWidget()->window();
    }
    return framed->frameGeometry().size() - framed->size();
}

} // namespace

void OpenBeside(QWidget* window, const QWidget* mainWindow) {
    const QWidget* main = mainWindow->window();
    const QScreen* screen = main->screen();
    if (!screen) return;
    const QSize decoration = main->frameGeometry().size() - main->size();
    const std::optional<QPoint> corner =
        BesidePosition(main->frameGeometry(), window->size() + decoration, screen->availableGeometry());
    if (corner) window->move(*corner);
}

void ZoomWindow(QWidget* window, const QSize& design, int percent, bool fixed, const QWidget* framedLike) {
    SetZoomedWindowFonts(window, percent);
    const QScreen* screen = window->screen();
    const QSize room = screen ? screen->availableGeometry().size() - Decoration(window, framedLike) : design;
    const QSize size = ZoomedWindowSize(design, percent, room);
    if (fixed) window->setFixedSize(size);
    else window->resize(size);
}

} // namespace optimara
