// SPDX-License-Identifier: GPL-3.0-or-later
#include "Path.h"

#include <algorithm>
#include <cmath>

#include "Region2D.h"

namespace optimara {

bool PathPixel(const PlotState& s, int variables, const double point[3], int W, int H, PixelD& pixel) {
    double u = 0, v = 0;
    if (!PicturePlanePoint(s, variables, point, u, v)) return false;
    pixel = {PictureX(s, u, W), PictureY(s, v, H)};
    return std::isfinite(pixel.x) && std::isfinite(pixel.y);
}

void SquareDot(Canvas& canvas, PixelD centre, int size, const QColor& colour) {
    const double half = (std::max(size, 1) - 1) / 2;
    const double x = std::trunc(centre.x), y = std::trunc(centre.y);
    canvas.FillPolygon(
        {{x - half, y - half}, {x + half + 1, y - half}, {x + half + 1, y + half + 1}, {x - half, y + half + 1}},
        colour);
}

QImage PathLayer(const PlotState& s, int variables, const std::vector<PathVertex>& path, QSize size,
                 const QColor& colour, int lineWidth, int dotSize) {
    QImage layer(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    if (path.size() < 2) return layer;
    std::vector<PixelD> pixels;
    std::vector<bool> placed;
    pixels.reserve(path.size());
    for (const PathVertex& vertex : path) {
        PixelD p{0, 0};
        placed.push_back(PathPixel(s, variables, vertex.point, layer.width(), layer.height(), p));
        pixels.push_back(p);
    }
    {
        Canvas canvas(layer, PlotColors{colour, colour, colour, colour}, false, lineWidth);
        for (size_t k = 1; k < path.size(); ++k)
            if (placed[k - 1] && placed[k]) canvas.Line(pixels[k - 1], pixels[k], colour, !path[k - 1].feasible);
        for (size_t k = 0; k < path.size(); ++k)
            if (placed[k]) SquareDot(canvas, pixels[k], dotSize, colour);
    }  // the painter lets go of the layer here
    return layer;
}

void DrawLevelLine(QImage& layer, const PlotState& s, double g1, double g2, const double point[2],
                   const QColor& colour) {
    RowSegment g;
    if (!SegmentOfRow(s, g1, g2, -(g1 * point[0] + g2 * point[1]), g)) return;
    Canvas canvas(layer, PlotColors{colour, colour, colour, colour}, false);
    const double W = layer.width(), H = layer.height();
    canvas.Line({W * g.s1, (1 - g.t1) * H}, {W * g.s2, (1 - g.t2) * H}, colour, true);
}

} // namespace optimara
