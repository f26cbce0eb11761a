// SPDX-License-Identifier: GPL-3.0-or-later
#include "Region3D.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Geometry.h"
#include "Outline.h"
#include "Region2D.h"

namespace optimara {

EdgeShade BeyondEdgePolygon(const PlotState& s, int W, int H, int n, double Pu, double Pv, double Qu, double Qv) {
    EdgeShade shade;
    if (n == kNoCorner) return shade;
    const double du = Qu - Pu, dv = Qv - Pv;
    const double size = std::max(s.PlotXMax - s.PlotXMin, s.PlotYMax - s.PlotYMin);
    if (!(std::max(std::fabs(du), std::fabs(dv)) > kCoincidentShare * size)) return shade;
    const double w = W, h = H;
    if (std::fabs(dv) > std::fabs(du)) {
        const double sB = (Pu + (s.PlotYMin - Pv) * (Qu - Pu) / (Qv - Pv) - s.PlotXMin) / (s.PlotXMax - s.PlotXMin);
        const double sT = (Pu + (s.PlotYMax - Pv) * (Qu - Pu) / (Qv - Pv) - s.PlotXMin) / (s.PlotXMax - s.PlotXMin);
        const double xB = w * sB, xT = w * sT;
        const bool left = n == 0 ? sB > 0 : n == 1 ? sT > 0 : n == 2 ? sB >= 1 : sT >= 1;
        if (left) shade.points = {PixelD{0, h}, PixelD{xB, h}, PixelD{xT, 0}, PixelD{0, 0}};
        else shade.points = {PixelD{w, 0}, PixelD{w, h}, PixelD{xB, h}, PixelD{xT, 0}};
    } else {
        if (Qu == Pu) return shade;
        const double tL = (Pv + (s.PlotXMin - Pu) * (Qv - Pv) / (Qu - Pu) - s.PlotYMin) / (s.PlotYMax - s.PlotYMin);
        const double tR = (Pv + (s.PlotXMax - Pu) * (Qv - Pv) / (Qu - Pu) - s.PlotYMin) / (s.PlotYMax - s.PlotYMin);
        const double yL = (1 - tL) * h, yR = (1 - tR) * h;
        const bool below = n == 0 ? tL > 0 : n == 1 ? tL >= 1 : n == 2 ? tR > 0 : tR >= 1;
        if (below) shade.points = {PixelD{0, h}, PixelD{0, yL}, PixelD{w, yR}, PixelD{w, h}};
        else shade.points = {PixelD{0, 0}, PixelD{0, yL}, PixelD{w, yR}, PixelD{w, 0}};
    }
    shade.count = 4;
    return shade;
}

void ShadeBeyondEdge(Canvas& cv, const PlotState& s, const MatrixR& planes, uint32_t a, uint32_t b, uint32_t c,
                     double Au, double Av) {
    const int n = OutsideCorner(planes, a, b, s);
    if (n == kNoCorner) return;
    MatrixR B(2, 1);
    if (IntersectPlanes(planes, a, b, c, B, s.ViewProjection) == 0) return;
    const EdgeShade shade = BeyondEdgePolygon(s, cv.W(), cv.H(), n, Au, Av, B.Index(1, 1), B.Index(2, 1));
    cv.Shade(shade.points.data(), shade.count);
}

namespace {

// A row without variables holds everywhere or nowhere.
void ShadeImpossibleRows(Canvas& cv, const MatrixR& planes) {
    for (uint32_t r = 1; r <= planes.rows; ++r)
        if (planes.Index(r, 1) == 0 && planes.Index(r, 2) == 0 && planes.Index(r, 3) == 0 && planes.Index(r, 4) > 0)
            cv.FillAll(cv.Colors().btnFace);
}

// Every edge pair of one line paints the same corner's side, and B's point
// depends only on its third row: both are computed once per line.
void ShadeAlongLines(Canvas& cv, const PlotState& s, const MatrixR& planes, const std::vector<Vertex>& vertices,
                     const std::vector<EdgeLine>& lines) {
    const uint32_t N = planes.rows;
    std::vector<double> Bu(N + 1), Bv(N + 1);
    std::vector<char> regular(N + 1);
    for (const EdgeLine& line : lines) {
        const int corner = OutsideCorner(planes, line.a, line.b, s);
        if (corner == kNoCorner) continue;
        for (uint32_t c = 1; c <= N; ++c) {
            double P[3];
            regular[c] = c != line.a && c != line.b && SolvePlanes(planes, line.a, line.b, c, P) != 0;
            if (regular[c]) ProjectPoint(s.ViewProjection, P, Bu[c], Bv[c]);
        }
        for (uint32_t x : line.on) {
            const Vertex& A = vertices[x];
            const uint32_t cA = ThirdRow(A, line.a, line.b);
            for (uint32_t c = 1; c <= N; ++c) {
                if (!regular[c] || c == cA || !EdgePairInOrder(line.a, line.b, cA, c)) continue;
                const EdgeShade shade = BeyondEdgePolygon(s, cv.W(), cv.H(), corner, A.u, A.v, Bu[c], Bv[c]);
                cv.Shade(shade.points.data(), shade.count);
            }
        }
    }
}

// All vertices of one line pair up; vertices on the same pixel are one end
// point, and a pixel holding two of them is a line of its own.
void EdgesAlongLines(Canvas& cv, const PlotState& s, const std::vector<Vertex>& vertices,
                     const std::vector<EdgeLine>& lines) {
    std::vector<std::pair<int, int>> ends;
    for (const EdgeLine& line : lines) {
        ends.clear();
        bool exact = true;
        for (uint32_t x : line.on) {
            const PixelD p = PixelOf(s, vertices[x].u, vertices[x].v, cv.W(), cv.H());
            exact = exact && std::fabs(p.x) <= kPixelLimit && std::fabs(p.y) <= kPixelLimit;
            if (exact) ends.emplace_back(TruncPixel(p.x), TruncPixel(p.y));
        }
        if (!exact) {
            // Out-of-range end points are cut along each line: pair them all.
            for (size_t m = 0; m < line.on.size(); ++m)
                for (size_t n = m + 1; n < line.on.size(); ++n) {
                    const Vertex &A = vertices[line.on[m]], &B = vertices[line.on[n]];
                    cv.Edge(PixelOf(s, A.u, A.v, cv.W(), cv.H()), PixelOf(s, B.u, B.v, cv.W(), cv.H()));
                }
            continue;
        }
        std::sort(ends.begin(), ends.end());
        std::vector<std::pair<int, int>> distinct;
        for (size_t m = 0; m < ends.size(); ++m) {
            const bool repeated = m + 1 < ends.size() && ends[m + 1] == ends[m];
            if (distinct.empty() || distinct.back() != ends[m]) {
                distinct.push_back(ends[m]);
                if (repeated) cv.Edge({double(ends[m].first), double(ends[m].second)},
                                      {double(ends[m].first), double(ends[m].second)});
            }
        }
        for (size_t m = 0; m < distinct.size(); ++m)
            for (size_t n = m + 1; n < distinct.size(); ++n)
                cv.Edge({double(distinct[m].first), double(distinct[m].second)},
                        {double(distinct[n].first), double(distinct[n].second)});
    }
}

void EdgePasses(Canvas& cv, const PlotState& s, const MatrixR& planes, const std::vector<Vertex>& vertices,
                EdgeWalk walk) {
    ShadeImpossibleRows(cv, planes);
    if (walk == EdgeWalk::ByRowPair) {
        const std::vector<EdgeLine> lines = EdgeLines(vertices, planes.rows);
        ShadeAlongLines(cv, s, planes, vertices, lines);
        EdgesAlongLines(cv, s, vertices, lines);
        cv.FlushEdges();
        return;
    }
    ForEachEdgePairExhaustive(vertices, planes.rows, [&](const Vertex& A, uint32_t a, uint32_t b, uint32_t c) {
        ShadeBeyondEdge(cv, s, planes, a, b, c, A.u, A.v);
    });
    MatrixR B(2, 1);
    ForEachEdgePairExhaustive(vertices, planes.rows, [&](const Vertex& A, uint32_t a, uint32_t b, uint32_t c) {
        const uint32_t lo = std::min(c, a), hi = std::max(c, b), mid = c < a ? a : (c < b ? c : b);
        if (IntersectPlanes(planes, lo, mid, hi, B, s.ViewProjection) == 0) return;
        cv.Edge(PixelOf(s, A.u, A.v, cv.W(), cv.H()), PixelOf(s, B.Index(1, 1), B.Index(2, 1), cv.W(), cv.H()));
    });
    cv.FlushEdges();
}

void ObjectiveArrow3D(Canvas& cv, const PlotState& s, const MatrixR& objective) {
    if (objective.rows < 3 || objective.cols < 1) return;
    const double c[3] = {objective.Index(1, 1), objective.Index(2, 1), objective.Index(3, 1)};
    double g1, g2;
    ProjectPoint(s.ViewProjection, c, g1, g2);
    const double S = 3 * std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
    if (!(S > 0)) return;
    const double dx = s.PlotXMax - s.PlotXMin, dy = s.PlotYMax - s.PlotYMin;
    if (dy >= dx) g2 = g2 * dx / dy;
    else g1 = g1 * dy / dx;
    const double a = g1 / S, b = g2 / S;
    const double length = std::sqrt(a * a + b * b);
    if (!(length >= kEndOnLength)) return;  // seen end-on: no direction to show
    const double W = cv.W(), H = cv.H();
    const QColor& colour = cv.Colors().highlight;
    cv.Line({0.5 * W, 0.5 * H}, {(a + 0.5) * W, (1 - (b + 0.5)) * H}, colour);
    cv.ArrowHead({0.5 + a, 0.5 - b}, {-a, b}, 3 * length, colour);
}

void Axes(Canvas& cv, const PlotState& s) {
    MatrixR origin(2, 1), d(2, 1), E(2, 1);
    const double s0 = NormX(s, 0), t0 = NormY(s, 0);
    for (uint32_t k = 1; k <= 3; ++k) {
        d.Index(1, 1) = s.ViewProjection.Index(1, k);
        d.Index(2, 1) = s.ViewProjection.Index(2, k);
        if (!(std::hypot(d.Index(1, 1), d.Index(2, 1)) >= kEndOnLength)) continue;
        if (!RayExitPoint(s, origin, d, E)) continue;
        const double sE = NormX(s, E.Index(1, 1)), tE = NormY(s, E.Index(2, 1));
        const QColor& colour = cv.Colors().windowText;
        cv.Line({s0 * cv.W(), (1 - t0) * cv.H()}, {sE * cv.W(), (1 - tE) * cv.H()}, colour, true);
        const PixelD D{s0 - sE, tE - t0};
        cv.ArrowHead({sE, 1 - tE}, D, 3 * std::sqrt(D.x * D.x + D.y * D.y), colour);
    }
}

} // namespace

void DrawRegion3D(PlotState& s, const PlotInput& in, const PlotTarget& target, Marker& marker, EdgeWalk walk) {
    const MatrixR& planes = in.constraintPlanes;
    // Every three planes may meet: the drawing grows with the cube of their
    // number, and past a few dozen the picture is a tangle anyway.
    if (planes.rows > kReadablePlanes) {
        DrawTooMany(in, target, marker,
                    QString::fromUtf8("%1 planos: demasiados para dibujarlos").arg(planes.rows));
        return;
    }
    Canvas cv(*target.image, in.colors, walk == EdgeWalk::ByRowPair, in.lineWidth);
    cv.FillAll(in.colors.btnShadow);
    const std::vector<Vertex> vertices = EnumerateVertices(planes, s.ViewProjection);
    VertexBox(vertices, s);
    FitPlotWindow(s, cv.W(), cv.H());
    EdgePasses(cv, s, planes, vertices, walk);
    ObjectiveArrow3D(cv, s, in.objectiveVector);
    if (in.showAxes) Axes(cv, s);
    PlaceSolutionMarker(s, 3, FrameOf(target), marker);
}

} // namespace optimara
