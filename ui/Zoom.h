// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The zoom of the window's results and picture lines: a few fixed steps in
// percent, and the sizes that follow from a step. No widgets here.
#include <array>

namespace optimara {

inline constexpr std::array<int, 7> kZoomSteps = {100, 125, 150, 175, 200, 250, 300};
inline constexpr int kNormalZoom = 100;

// The next step up or down, staying at the ends.
int ZoomIn(int percent);
int ZoomOut(int percent);
// A remembered value as one of the steps: the nearest one (normal size for
// anything out of range or unreadable).
int ZoomStep(int percent);

// A design size in pixels at the zoom, rounded to the nearest pixel.
int Zoomed(int pixels, int percent);
// The width of the picture's lines: one pixel at normal size.
int ZoomedLineWidth(int percent);
// The marker's and the road's dots' size: odd, so they centre on a pixel;
// 5 at normal size.
int ZoomedDotSize(int percent);

} // namespace optimara
