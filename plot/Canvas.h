// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Painting of the region pictures on an image: pixel mapping, lines and
// filled polygons, with coordinates far outside the image brought into a
// range the painter handles exactly, and repeated shapes painted once.
#include <QColor>
#include <QImage>
#include <QLine>
#include <QPainter>
#include <QString>
#include <array>
#include <unordered_set>
#include <vector>

#include "Plot.h"

namespace optimara {

// A pixel position before truncation.
struct PixelD {
    double x, y;
};

// Pixel positions beyond +-kPixelLimit are cut back along their line or
// polygon edge to this box before truncation: the box holds every image
// the program shows, and the painter's fixed-point arithmetic stays exact.
inline constexpr double kPixelLimit = 1e6;

// Normalised window coordinates: s grows to the right, t upwards.
inline double NormX(const PlotState& s, double u) { return (u - s.PlotXMin) / (s.PlotXMax - s.PlotXMin); }
inline double NormY(const PlotState& s, double v) { return (v - s.PlotYMin) / (s.PlotYMax - s.PlotYMin); }
// Pixel of a picture-plane point: (W s, (1 - t) H) before truncation.
inline PixelD PixelOf(const PlotState& s, double u, double v, int W, int H) {
    return {NormX(s, u) * W, (1 - NormY(s, v)) * H};
}

// Cuts the segment p-q to the box [-limit, limit]^2 along its own line;
// false when nothing of it lies in the box or a coordinate is not a number.
bool ClipSegment(PixelD& p, PixelD& q, double limit);
// Cuts a polygon to the same box; the result may be empty.
std::vector<PixelD> ClipPolygon(const std::vector<PixelD>& polygon, double limit);
// Truncation toward zero of a coordinate known to lie within the limit.
inline int TruncPixel(double x) { return static_cast<int>(x); }

class Canvas {
public:
    // With skipRepeats, a shading polygon or an edge line whose pixels equal
    // one painted before in the same pass is not painted again.
    Canvas(QImage& image, const PlotColors& colors, bool skipRepeats = true, int lineWidth = 1);

    int W() const { return width; }
    int H() const { return height; }
    const PlotColors& Colors() const { return colors; }

    void FillAll(const QColor& colour);
    // A text in the middle of the picture, wrapped to its width: what a
    // picture that cannot be drawn says instead.
    void Note(const QString& text);
    // A filled polygon without outline (closed automatically).
    void FillPolygon(const std::vector<PixelD>& polygon, const QColor& colour);
    // The light colour over the part of the picture outside the region.
    void Shade(const PixelD* polygon, size_t count);
    void Shade(const std::vector<PixelD>& polygon) { Shade(polygon.data(), polygon.size()); }
    // A filled arrowhead with its tip at T, opening back along D; both in
    // normalised coordinates with y downwards, and L = 3 |D|. Nothing for L = 0.
    void ArrowHead(PixelD T, PixelD D, double L, const QColor& colour);
    // A line of the canvas's width between the two truncated end points.
    void Line(PixelD p, PixelD q, const QColor& colour, bool dashed = false);
    // A line in the window-text colour, gathered and drawn by FlushEdges.
    void Edge(PixelD p, PixelD q);
    void FlushEdges();

private:
    struct KeyHash {
        template <size_t N>
        size_t operator()(const std::array<int, N>& k) const {
            size_t h = 1469598103934665603ull;
            for (int x : k) h = (h ^ static_cast<uint32_t>(x)) * 1099511628211ull;
            return h;
        }
    };

    QImage& image;
    QPainter painter;
    PlotColors colors;
    bool skipRepeats;
    int lineWidth;
    int width, height;
    std::unordered_set<std::array<int, 9>, KeyHash> shaded;
    std::array<int, 9> lastShaded{};
    std::unordered_set<std::array<int, 4>, KeyHash> edges;
    std::vector<QLine> pendingEdges;
};

} // namespace optimara
