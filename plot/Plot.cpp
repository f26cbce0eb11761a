// SPDX-License-Identifier: GPL-3.0-or-later
#include "Plot.h"

#include <cmath>

#include "Geometry.h"
#include "Region2D.h"
#include "Region3D.h"

namespace optimara {

void SetDefaultView(PlotState& s) {
    const double h = std::sqrt(3.0) * 0.5;
    MatrixR& P = s.ViewProjection;
    P.Index(1, 1) = -h;
    P.Index(1, 2) = h;
    P.Index(1, 3) = 0;
    P.Index(2, 1) = -0.5;
    P.Index(2, 2) = -0.5;
    P.Index(2, 3) = 1;
}

void RotateView(PlotState& s, Axis axis, int direction) {
    if (direction != 1 && direction != -1) return;
    const double step = 0.17453292519943295;
    const double c = std::cos(step), sn = direction * std::sin(step);
    // The two coordinates the turn mixes, the first turning towards the second
    // in the positive sense.
    const int a = axis == Axis::X ? 2 : 1;
    const int b = axis == Axis::Z ? 2 : 3;
    MatrixR R(3, 3);
    for (int i = 1; i <= 3; ++i) R.Index(i, i) = 1;
    R.Index(a, a) = c;
    R.Index(b, b) = c;
    R.Index(a, b) = sn;
    R.Index(b, a) = -sn;
    s.ViewProjection = s.ViewProjection * R;
}

double PictureX(const PlotState& s, double u, int W) { return W * (u - s.PlotXMin) / (s.PlotXMax - s.PlotXMin); }

double PictureY(const PlotState& s, double v, int H) { return H * (s.PlotYMax - v) / (s.PlotYMax - s.PlotYMin); }

void PlaceMarker(const PlotState& s, double u, double v, const PictureFrame& f, Marker& m) {
    if (s.PlotXMin < u && u < s.PlotXMax && s.PlotYMin < v && v < s.PlotYMax) {
        m.visible = true;
        m.left = static_cast<int>(f.left + PictureX(s, u, f.width) - 2);
        m.top = static_cast<int>(f.top + PictureY(s, v, f.height) - 2);
    } else {
        m.visible = false;
    }
}

bool PicturePlanePoint(const PlotState& s, int variables, const double point[3], double& u, double& v) {
    if (variables == 2) {
        u = point[0];
        v = point[1];
        return true;
    }
    if (variables == 3) {
        ProjectPoint(s.ViewProjection, point, u, v);
        return true;
    }
    return false;
}

void PlaceSolutionMarker(const PlotState& s, int variables, const PictureFrame& frame, Marker& marker) {
    double u, v;
    if (PicturePlanePoint(s, variables, s.SolutionPoint, u, v)) PlaceMarker(s, u, v, frame, marker);
}

PlotKind DrawPlot(PlotState& state, const PlotInput& input, PlotTarget target, Marker& marker) {
    const uint32_t cols = input.constraintPlanes.cols;
    if (cols != 3 && cols != 4) return PlotKind::None;
    const PlotKind kind = cols == 3 ? PlotKind::Plane : PlotKind::Space;
    // A picture without pixels has nothing to fit the window to.
    if (target.image == nullptr || target.image->width() <= 0 || target.image->height() <= 0) return kind;
    if (kind == PlotKind::Plane) DrawRegion2D(state, input, target, marker);
    else DrawRegion3D(state, input, target, marker);
    return kind;
}

} // namespace optimara
