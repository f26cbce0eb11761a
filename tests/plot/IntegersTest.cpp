// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Integers.h"
#include "Path.h"
#include "plot/PictureHelpers.h"

namespace optimara {
namespace {

using namespace plottest;
using Outcome = IntegerMarks::Outcome;

// x + y <= b with x, y >= 0; and the same in space.
MatrixR Triangle(double b) { return Rows({{1, 1, -b}, {-1, 0, 0}, {0, -1, 0}}); }
MatrixR Tetrahedron(double b) { return Rows({{1, 1, 1, -b}, {-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}}); }

// A shown box smaller than every bounded region below: a bounded region
// must not be cut by it.
const SpaceBox kShown{{-0.5, -0.5, -0.5}, {3.2, 1.7, 2}};

struct MarksCase {
    std::string name;
    MatrixR planes;
    std::array<bool, 3> integer;
    Outcome outcome;
    size_t points, segments;
    Point3 first, last;  // of the points, or of the segments' starts
};

TEST(IntegerMarks, ListsTheHandCountedMarks) {
    const MarksCase cases[] = {
        {"triangle 0..4", Triangle(4), {true, true}, Outcome::Listed, 15, 0, {0, 0, 0}, {4, 0, 0}},
        // 0.1 + 0.2 - 0.3 is 5.6e-17 in doubles: (1, 2) lies on the line.
        {"decimal rows", Rows({{0.1, 0.1, -0.3}, {-1, 0, 0}, {0, -1, 0}}), {true, true}, Outcome::Listed, 10, 0,
         {0, 0, 0}, {3, 0, 0}},
        {"equality x+y=3", Rows({{1, 1, -3}, {-1, -1, 3}, {-1, 0, 0}, {0, -1, 0}}), {true, true}, Outcome::Listed,
         4, 0, {0, 3, 0}, {3, 0, 0}},
        {"tetrahedron", Tetrahedron(2), {true, true, true}, Outcome::Listed, 10, 0, {0, 0, 0}, {2, 0, 0}},
        {"unbounded strip in the shown box", Rows({{-1, 0, 0}, {0, -1, 0}, {0, 1, -1.5}}), {true, true},
         Outcome::Listed, 8, 0, {0, 0, 0}, {3, 1, 0}},
        {"x integer", Triangle(4), {true, false}, Outcome::Listed, 0, 5, {0, 0, 0}, {4, 0, 0}},
        {"y integer", Rows({{1, 2, -4}, {-1, 0, 0}, {0, -1, 0}}), {false, true}, Outcome::Listed, 0, 3, {0, 0, 0},
         {0, 2, 0}},
        {"z continuous", Tetrahedron(2), {true, true, false}, Outcome::Listed, 0, 6, {0, 0, 0}, {2, 0, 0}},
        {"infeasible", Triangle(-1), {true, true}, Outcome::Listed, 0, 0, {}, {}},
        {"too dense", Triangle(200), {true, true}, Outcome::TooDense, 0, 0, {}, {}},
        {"two continuous in space", Tetrahedron(2), {true, false, false}, Outcome::NotMarked, 0, 0, {}, {}},
        {"no integer axis", Triangle(4), {false, false}, Outcome::NotMarked, 0, 0, {}, {}},
    };
    for (const MarksCase& c : cases) {
        const int n = static_cast<int>(c.planes.cols) - 1;
        const IntegerMarks m = ListIntegerMarks(c.planes, n, c.integer, kShown);
        EXPECT_EQ(m.outcome, c.outcome) << c.name;
        ASSERT_EQ(m.points.size(), c.points) << c.name;
        ASSERT_EQ(m.segments.size(), c.segments) << c.name;
        if (c.points > 0) {
            EXPECT_EQ(m.points.front(), c.first) << c.name;
            EXPECT_EQ(m.points.back(), c.last) << c.name;
        }
        if (c.segments > 0) {
            EXPECT_EQ(m.segments.front().from, c.first) << c.name;
            EXPECT_EQ(m.segments.back().from, c.last) << c.name;
        }
    }
}

TEST(IntegerMarks, SegmentsSpanTheContinuousCoordinate) {
    // x + y <= 4: at x = k, y runs over 0..4-k; in the tetrahedron at
    // (x, y), z runs over 0..2-x-y.
    const IntegerMarks plane = ListIntegerMarks(Triangle(4), 2, {true, false}, kShown);
    for (const MarkSegment& g : plane.segments) {
        EXPECT_EQ(g.from[1], 0);
        EXPECT_DOUBLE_EQ(g.to[1], 4 - g.from[0]);
        EXPECT_EQ(g.to[0], g.from[0]);
    }
    const IntegerMarks space = ListIntegerMarks(Tetrahedron(2), 3, {true, true, false}, kShown);
    for (const MarkSegment& g : space.segments) EXPECT_DOUBLE_EQ(g.to[2], 2 - g.from[0] - g.from[1]);
    // The unbounded region in space is sought in the meeting points' box,
    // widened by a tenth each side.
    const SpaceBox cube = ShownBox(PlotState{}, Tetrahedron(2), 3);
    EXPECT_DOUBLE_EQ(cube.lo[1], -0.2);
    EXPECT_DOUBLE_EQ(cube.hi[2], 2.2);
}

TEST(CutOutline, CornersOfThePlanesCutInTurnOrder) {
    const SpaceBox box{{0, 0, 0}, {2, 2, 2}};
    const MatrixR cube = Rows({{1, 0, 0, -1}, {0, 1, 0, -1}, {0, 0, 1, -1}, {-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}});
    struct Cut {
        MatrixR planes;
        int axis;
        double value;
        std::vector<Point3> corners;
    } cuts[] = {
        {cube, 0, 0.5, {{0.5, 0, 0}, {0.5, 1, 0}, {0.5, 1, 1}, {0.5, 0, 1}}},
        {Tetrahedron(2), 0, 1, {{1, 0, 0}, {1, 1, 0}, {1, 0, 1}}},
        {Tetrahedron(2), 2, 2, {{0, 0, 2}}},
        {Tetrahedron(2), 1, 2.5, {}},
        // Unbounded above: the box closes the cut.
        {Rows({{-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}}), 1, 1, {{0, 1, 0}, {2, 1, 0}, {2, 1, 2}, {0, 1, 2}}},
    };
    for (const Cut& c : cuts) {
        const std::vector<Point3> outline = CutOutline(c.planes, c.axis, c.value, box);
        ASSERT_EQ(outline.size(), c.corners.size()) << c.axis << "=" << c.value;
        if (outline.empty()) continue;
        // The same cyclic sequence, either way round.
        const auto at = std::find(outline.begin(), outline.end(), c.corners.front());
        ASSERT_NE(at, outline.end());
        const size_t k = at - outline.begin(), n = outline.size();
        bool forward = true, backward = true;
        for (size_t m = 0; m < n; ++m) {
            forward = forward && outline[(k + m) % n] == c.corners[m];
            backward = backward && outline[(k + n - m) % n] == c.corners[m];
        }
        EXPECT_TRUE(forward || backward) << c.axis << "=" << c.value;
    }
}

// A slanted plane through the unit cube: x+y+z = 1 a triangle, 1.5 a
// hexagon, 3 a corner; every corner on the plane and in the cube.
TEST(PlaneOutline, SlantedPlanesThroughTheCube) {
    const SpaceBox box{{0, 0, 0}, {2, 2, 2}};
    const MatrixR cube = Rows({{1, 0, 0, -1}, {0, 1, 0, -1}, {0, 0, 1, -1}, {-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}});
    const struct {
        Point3 normal;
        double level;
        size_t corners;
    } planes[] = {{{1, 1, 1}, 1, 3}, {{1, 1, 1}, 1.5, 6}, {{1, 1, 1}, 3, 1}, {{2, -1, 0}, 0.5, 4}, {{1, 1, 1}, 3.5, 0}};
    for (const auto& c : planes) {
        const std::vector<Point3> outline = PlaneOutline(cube, c.normal, -c.level, box);
        EXPECT_EQ(outline.size(), c.corners) << c.level;
        for (const Point3& X : outline) {
            EXPECT_NEAR(c.normal[0] * X[0] + c.normal[1] * X[1] + c.normal[2] * X[2], c.level, 1e-9);
            for (double x : X) EXPECT_TRUE(x > -1e-9 && x < 1 + 1e-9) << x;
        }
    }
}

struct Layer : ::testing::Test {
    PlotState state;
    const QSize size{121, 121};
    const IntegerColours colours{QColor(40, 40, 40)};
    void SetUp() override {
        SetDefaultView(state);
        state.PlotXMin = state.PlotYMin = -1;
        state.PlotXMax = state.PlotYMax = 5;
    }
    QRgb At(const QImage& layer, int n, Point3 X) const {
        PixelD p{0, 0};
        EXPECT_TRUE(PathPixel(state, n, X.data(), size.width(), size.height(), p));
        return layer.pixel(static_cast<int>(p.x), static_cast<int>(p.y));
    }
    // Share of the points along X..Y with a pixel of the colour next to them.
    double Along(const QImage& layer, int n, Point3 X, Point3 Y, const QColor& colour) const {
        int hits = 0;
        for (int k = 1; k < 20; ++k) {
            Point3 P;
            for (int d = 0; d < 3; ++d) P[d] = X[d] + (Y[d] - X[d]) * k / 20;
            PixelD p{0, 0};
            PathPixel(state, n, P.data(), size.width(), size.height(), p);
            hits += Near(layer, QPoint(int(p.x), int(p.y)), colour.rgb(), 1);
        }
        return hits / 19.0;
    }
};

TEST_F(Layer, DotsCutsAndTheBestPointInThePlane) {
    const MatrixR planes = Triangle(4);
    const IntegerMarks marks = ListIntegerMarks(planes, 2, {true, true}, kShown);
    const std::vector<CutLine> cuts{{0, 2, true}};
    const Point3 best{4, 0, 0};
    const QImage layer = IntegerLayer(state, 2, {planes, marks, cuts, &best}, size, colours);
    EXPECT_EQ(At(layer, 2, {1, 1, 0}), colours.marks.rgb());
    EXPECT_EQ(At(layer, 2, {2, 2, 0}), colours.marks.rgb());  // over the cut
    EXPECT_EQ(At(layer, 2, {4, 0, 0}), kBestGreen.rgb());
    EXPECT_EQ(At(layer, 2, {0.5, 0.5, 0}), 0u);  // between the dots: transparent
    // x = 2 runs dashed across the whole picture, outside the region too.
    EXPECT_GT(Along(layer, 2, {2, 2.2, 0}, {2, 4.9, 0}, kCutBlue), 0.5);
    EXPECT_EQ(Along(layer, 2, {2.5, 2.2, 0}, {2.5, 4.9, 0}, kCutBlue), 0);
}

TEST_F(Layer, SpaceCutIsTheOutlineOfTheRegionsSection) {
    const MatrixR planes = Tetrahedron(2);
    const IntegerMarks marks = ListIntegerMarks(planes, 3, {true, true, true}, kShown);
    state.PlotXMin = state.PlotYMin = -3;
    state.PlotXMax = state.PlotYMax = 3;
    const std::vector<CutLine> cuts{{0, 1, false}};
    const QImage layer = IntegerLayer(state, 3, {planes, marks, cuts, nullptr}, size, colours);
    for (const Point3& X : marks.points) EXPECT_EQ(At(layer, 3, X), colours.marks.rgb());
    EXPECT_GT(Along(layer, 3, {1, 0, 0.1}, {1, 0, 0.9}, kCutBlue), 0.5);
    EXPECT_GT(Along(layer, 3, {1, 0.1, 0.9}, {1, 0.9, 0.1}, kCutBlue), 0.5);
    // Beyond the section nothing: the plane meets the region in a triangle.
    EXPECT_EQ(Along(layer, 3, {1, 1.2, 0}, {1, 2, 0}, kCutBlue), 0);
    EXPECT_EQ(Count(IntegerLayer(state, 4, {planes, marks, cuts, nullptr}, size, colours), 0u), 121 * 121);
}

} // namespace
} // namespace optimara
