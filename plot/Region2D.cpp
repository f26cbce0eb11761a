// SPDX-License-Identifier: GPL-3.0-or-later
#include "Region2D.h"

#include <cmath>

#include "Geometry.h"
#include "Outline.h"

namespace optimara {

void FitPlotWindow(PlotState& s, int W, int H) {
    const double dx = s.PlotXMax - s.PlotXMin;
    const double dy = s.PlotYMax - s.PlotYMin;
    s.PlotXMin -= 0.1 * dx;
    s.PlotXMax += 0.1 * dx;
    s.PlotYMin -= 0.1 * dy;
    s.PlotYMax += 0.1 * dy;
    if (W * dy > H * dx) {
        const double e = (W * dy - H * dx) / (2 * H);
        s.PlotXMin -= e;
        s.PlotXMax += e;
    } else {
        const double e = (H * dx - W * dy) / (2 * W);
        s.PlotYMin -= e;
        s.PlotYMax += e;
    }
    if (s.PlotXMin == s.PlotXMax) {
        s.PlotXMin -= 1;
        s.PlotXMax += 1;
    }
    if (s.PlotYMin == s.PlotYMax) {
        s.PlotYMin -= 1;
        s.PlotYMax += 1;
    }
}

bool WindowFromMeetingPoints(const MatrixR& R, PlotState& s) {
    MatrixR P(2, 1);
    bool first = true;
    for (uint32_t i = 1; i < R.rows; ++i)
        for (uint32_t j = i + 1; j <= R.rows; ++j) {
            if (IntersectLines(R.Index(i, 1), R.Index(i, 2), R.Index(i, 3), R.Index(j, 1), R.Index(j, 2),
                               R.Index(j, 3), P) == 0)
                continue;
            const double x = P.Index(1, 1), y = P.Index(2, 1);
            if (first) {
                s.PlotXMin = s.PlotXMax = x;
                s.PlotYMin = s.PlotYMax = y;
                first = false;
                continue;
            }
            if (x < s.PlotXMin) s.PlotXMin = x;
            if (x > s.PlotXMax) s.PlotXMax = x;
            if (y < s.PlotYMin) s.PlotYMin = y;
            if (y > s.PlotYMax) s.PlotYMax = y;
        }
    return !first;
}

bool SegmentOfRow(const PlotState& s, double a, double b, double c, RowSegment& g) {
    if (a == 0 && b == 0) return false;
    if (std::fabs(a) >= std::fabs(b)) {
        g.t1 = 0;
        g.t2 = 1;
        g.s1 = ((-c - b * s.PlotYMin) / a - s.PlotXMin) / (s.PlotXMax - s.PlotXMin);
        g.s2 = ((-c - b * s.PlotYMax) / a - s.PlotXMin) / (s.PlotXMax - s.PlotXMin);
    } else {
        g.s1 = 0;
        g.s2 = 1;
        g.t1 = ((-c - a * s.PlotXMin) / b - s.PlotYMin) / (s.PlotYMax - s.PlotYMin);
        g.t2 = ((-c - a * s.PlotXMax) / b - s.PlotYMin) / (s.PlotYMax - s.PlotYMin);
    }
    return true;
}

std::vector<PixelD> ViolatedSide(const PlotState& s, double a, double b, double c, int W, int H) {
    RowSegment g;
    if (!SegmentOfRow(s, a, b, c, g)) return {};
    const double w = W, h = H;
    if (g.s1 == 0 && g.s2 == 1) {
        const PixelD p0{0, (1 - g.t1) * h}, p1{w, (1 - g.t2) * h};
        if (b > 0) return {p0, p1, {w, 0}, {0, 0}};
        return {p0, p1, {w, h}, {0, h}};
    }
    if (g.t1 == 0 && g.t2 == 1) {
        const PixelD p0{w * g.s1, h}, p1{w * g.s2, 0};
        if (a > 0) return {p0, p1, {w, 0}, {w, h}};
        return {p0, p1, {0, 0}, {0, h}};
    }
    return {};
}

namespace {

void ObjectiveArrow2D(const PlotState& s, const MatrixR& objective, Canvas& cv) {
    if (objective.rows < 2 || objective.cols < 1) return;
    double g1 = objective.Index(1, 1), g2 = objective.Index(2, 1);
    const double len = 3 * std::sqrt(g1 * g1 + g2 * g2);
    if (!(len > 0)) return;  // no direction to show
    const double dx = s.PlotXMax - s.PlotXMin, dy = s.PlotYMax - s.PlotYMin;
    if (dy < dx) g1 = dy * g1 / dx;
    else g2 = dx * g2 / dy;
    const double alpha = g1 / len, beta = g2 / len;
    const double p = 0.5 + alpha, q = 0.5 + beta;
    const double W = cv.W(), H = cv.H();
    const QColor& colour = cv.Colors().highlight;
    cv.Line({0.5 * W, 0.5 * H}, {p * W, (1 - q) * H}, colour);
    cv.ArrowHead({p, 1 - q}, {-alpha, beta}, 3 * std::sqrt(alpha * alpha + beta * beta), colour);
}

// Thousands of lines would cover the picture and meet in millions of
// pairs: only the lines on the region's border are drawn, when they are few
// enough to be told apart, and otherwise a note says why nothing is.
void DrawBorderOnly(PlotState& s, const PlotInput& in, const PlotTarget& target, Marker& marker) {
    const MatrixR& R = in.constraintPlanes;
    const std::vector<uint32_t> border = BoundingRows(R, OutlineBound(R));
    if (border.empty()) {
        DrawTooMany(in, target, marker,
                    QString::fromUtf8("%1 rectas: demasiadas para dibujarlas, y la región que dejan no tiene "
                                      "área que mostrar")
                        .arg(R.rows));
        return;
    }
    if (border.size() > kReadableLines) {
        DrawTooMany(in, target, marker,
                    QString::fromUtf8("%1 rectas, %2 de ellas en el borde de la región: demasiadas para dibujarlas")
                        .arg(R.rows)
                        .arg(border.size()));
        return;
    }
    const MatrixR lines = SelectRows(R, border);
    DrawRegion2D(s, PlotInput{lines, in.objectiveVector, in.showAxes, in.colors, in.lineWidth}, target, marker);
}

} // namespace

void DrawTooMany(const PlotInput& in, const PlotTarget& target, Marker& marker, const QString& note) {
    Canvas cv(*target.image, in.colors, true, in.lineWidth);
    cv.FillAll(in.colors.btnFace);
    cv.Note(note);
    marker.visible = false;
}

void DrawRegion2D(PlotState& s, const PlotInput& in, const PlotTarget& target, Marker& marker) {
    const MatrixR& R = in.constraintPlanes;
    if (R.rows > kReadableLines) {
        DrawBorderOnly(s, in, target, marker);
        return;
    }
    Canvas cv(*target.image, in.colors, true, in.lineWidth);
    const int W = cv.W(), H = cv.H();
    cv.FillAll(in.colors.btnShadow);
    WindowFromMeetingPoints(R, s);
    FitPlotWindow(s, W, H);
    for (uint32_t i = 1; i <= R.rows; ++i) {
        const double a = R.Index(i, 1), b = R.Index(i, 2), c = R.Index(i, 3);
        if (a == 0 && b == 0) {
            // A row without variables holds everywhere or nowhere.
            if (c > 0) cv.FillAll(in.colors.btnFace);
            continue;
        }
        cv.Shade(ViolatedSide(s, a, b, c, W, H));
    }
    for (uint32_t i = 1; i <= R.rows; ++i) {
        RowSegment g;
        if (!SegmentOfRow(s, R.Index(i, 1), R.Index(i, 2), R.Index(i, 3), g)) continue;
        cv.Line({W * g.s1, (1 - g.t1) * H}, {W * g.s2, (1 - g.t2) * H}, in.colors.windowText);
    }
    ObjectiveArrow2D(s, in.objectiveVector, cv);
    PlaceSolutionMarker(s, 2, FrameOf(target), marker);
}

} // namespace optimara
