// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The road the method took: the vertices visited since the first tableau,
// joined in order, drawn over the region's picture on a transparent layer of
// the picture's size.
#include <QColor>
#include <QImage>
#include <vector>

#include "Canvas.h"
#include "Plot.h"

namespace optimara {

struct PathVertex {
    double point[3] = {0, 0, 0};  // the first three problem variables' values
    bool feasible = true;         // false while the method still looks for a feasible point
};

// Where a vertex falls in a picture of W x H pixels, before truncation; the
// marker is centred on the same place. False when the problem has no picture.
bool PathPixel(const PlotState& state, int variables, const double point[3], int W, int H, PixelD& pixel);

// A filled square `size` pixels wide (odd), whole pixels either side of the
// truncated centre: the dots of the road and of the integer points.
void SquareDot(Canvas& canvas, PixelD centre, int size, const QColor& colour);

// A layer as large as the picture, transparent but for the road: a line
// lineWidth pixels wide from each vertex to the next (dashed where it starts
// outside the region) and a square dot dotSize pixels wide (odd) centred on
// each vertex. A road of fewer than two vertices is no road: the layer
// stays empty.
QImage PathLayer(const PlotState& state, int variables, const std::vector<PathVertex>& path, QSize size,
                 const QColor& colour, int lineWidth = 1, int dotSize = 5);

// Draws, dashed over the layer, the plane picture's level line of the
// objective (g1, g2) through the point: where the objective has the point's
// value. Nothing for an objective without direction.
void DrawLevelLine(QImage& layer, const PlotState& state, double g1, double g2, const double point[2],
                   const QColor& colour);

} // namespace optimara
