// SPDX-License-Identifier: GPL-3.0-or-later
#include "Zoom.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace optimara {

int ZoomIn(int percent) {
    for (int step : kZoomSteps)
        if (step > percent) return step;
    return kZoomSteps.back();
}

int ZoomOut(int percent) {
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it)
        if (*it < percent) return *it;
    return kZoomSteps.front();
}

int ZoomStep(int percent) {
    if (percent < kZoomSteps.front() || percent > kZoomSteps.back()) return kNormalZoom;
    return *std::min_element(kZoomSteps.begin(), kZoomSteps.end(),
                             [percent](int a, int b) { return std::abs(a - percent) < std::abs(b - percent); });
}

int Zoomed(int pixels, int percent) { return static_cast<int>(std::lround(pixels * percent / 100.0)); }

int ZoomedLineWidth(int percent) { return std::max(1, Zoomed(1, percent)); }

int ZoomedDotSize(int percent) {
    const long half = std::lround((5 * percent / 100.0 - 5) / 2);
    return 5 + 2 * static_cast<int>(std::max(0L, half));
}

} // namespace optimara
