// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "Path.h"

using namespace optimara;

namespace {

const QColor kRoad(200, 0, 0);

PlotState Window(double xmin, double ymin, double xmax, double ymax) {
    PlotState s;
    SetDefaultView(s);
    s.PlotXMin = xmin;
    s.PlotYMin = ymin;
    s.PlotXMax = xmax;
    s.PlotYMax = ymax;
    return s;
}

PathVertex Vertex(double x, double y, double z = 0, bool feasible = true) { return {{x, y, z}, feasible}; }

// The marker's centre for a point, as the window places it.
QPoint MarkerCentre(PlotState s, int variables, const PathVertex& v, QSize size) {
    std::copy(v.point, v.point + 3, s.SolutionPoint);
    Marker m;
    PlaceSolutionMarker(s, variables, PictureFrame{0, 0, size.width(), size.height()}, m);
    EXPECT_TRUE(m.visible);
    return {m.left + 2, m.top + 2};
}

int RoadPixelsInRow(const QImage& layer, int row, int from, int to) {
    int count = 0;
    for (int x = from; x <= to; ++x) count += layer.pixelColor(x, row) == kRoad;
    return count;
}

TEST(Path, DotsSitUnderTheMarkerInThePlaneAndInSpace) {
    const QSize size(201, 151);
    const PlotState plane = Window(-1, -1, 9, 9);
    const std::vector<PathVertex> road{Vertex(0, 0), Vertex(4, 0), Vertex(4, 3.3), Vertex(7.7, 7.9)};
    const QImage layer = PathLayer(plane, 2, road, size, kRoad);
    for (const PathVertex& v : road) {
        const QPoint c = MarkerCentre(plane, 2, v, size);
        // The whole 5 x 5 dot, centred where the marker's 5 x 5 circle is.
        for (int dx = -2; dx <= 2; ++dx)
            for (int dy = -2; dy <= 2; ++dy) EXPECT_EQ(layer.pixelColor(c + QPoint(dx, dy)), kRoad);
    }
    // Away from the road the layer stays transparent.
    EXPECT_EQ(layer.pixelColor(195, 5).alpha(), 0);

    PlotState space = Window(-2, -2, 2, 2);
    RotateView(space, Axis::Z, 1);
    const std::vector<PathVertex> cube{Vertex(0, 0, 0), Vertex(1, 0, 0), Vertex(1, 1, 0), Vertex(1, 1, 1)};
    const QImage turned = PathLayer(space, 3, cube, size, kRoad);
    for (const PathVertex& v : cube) EXPECT_EQ(turned.pixelColor(MarkerCentre(space, 3, v, size)), kRoad);
}

TEST(Path, StepsOutsideTheRegionAreDashed) {
    const QSize size(201, 101);
    const PlotState s = Window(0, 0, 20, 10);
    // Two horizontal stretches along the same row: the first solid, the
    // second dashed (it starts outside the region).
    const std::vector<PathVertex> solid{Vertex(1, 5), Vertex(9, 5)};
    const std::vector<PathVertex> dashed{Vertex(11, 5, 0, false), Vertex(19, 5)};
    const QImage a = PathLayer(s, 2, solid, size, kRoad), b = PathLayer(s, 2, dashed, size, kRoad);
    const int row = MarkerCentre(s, 2, solid[0], size).y();
    EXPECT_EQ(RoadPixelsInRow(a, row, 14, 86), 73);
    const int dashes = RoadPixelsInRow(b, row, 114, 186);
    EXPECT_GT(dashes, 20);
    EXPECT_LT(dashes, 73);
}

TEST(Path, NoRoadBeforeTheFirstPivotNorWithoutAPicture) {
    const QSize size(50, 50);
    const PlotState s = Window(0, 0, 10, 10);
    const QImage one = PathLayer(s, 2, {Vertex(5, 5)}, size, kRoad);
    const QImage four = PathLayer(s, 4, {Vertex(1, 1), Vertex(5, 5)}, size, kRoad);
    for (const QImage* layer : {&one, &four})
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x) ASSERT_EQ(layer->pixelColor(x, y).alpha(), 0);
    PixelD p{0, 0};
    EXPECT_FALSE(PathPixel(s, 1, Vertex(1, 1).point, 50, 50, p));
    // A vertex far outside the window still draws its stretch, clipped.
    const QImage far = PathLayer(s, 2, {Vertex(5, 5), Vertex(1e30, 5)}, size, kRoad);
    EXPECT_EQ(far.pixelColor(49, 25), kRoad);
}

} // namespace
