// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <tuple>

#include "Geometry.h"
#include "plot/PictureHelpers.h"

namespace optimara {
namespace {

using plottest::Column;
using plottest::Rows;

MatrixR DefaultView() {
    PlotState s;
    SetDefaultView(s);
    return s.ViewProjection;
}

MatrixR UnitCube() {
    return Rows({{1, 0, 0, -1}, {0, 1, 0, -1}, {0, 0, 1, -1}, {-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}});
}

TEST(IntersectLines, SolvesTwoLinesAndReturnsTheDeterminant) {
    MatrixR P(2, 1);
    EXPECT_EQ(IntersectLines(1, 0, -2, 0, 1, -3, P), 1);
    EXPECT_EQ(P.Index(1, 1), 2);
    EXPECT_EQ(P.Index(2, 1), 3);
    // x + y = 4 and x - y = 0 meet at (2, 2); determinant 1*(-1) - 1*1.
    EXPECT_EQ(IntersectLines(1, 1, -4, 1, -1, 0, P), -2);
    EXPECT_DOUBLE_EQ(P.Index(1, 1), 2);
    EXPECT_DOUBLE_EQ(P.Index(2, 1), 2);
}

TEST(IntersectLines, SingularBoundsAreIncluded) {
    MatrixR P = Column({7, 7});
    EXPECT_EQ(IntersectLines(1e-16, 0, 1, 0, 1, 1, P), 0);
    EXPECT_EQ(IntersectLines(-1e-16, 0, 1, 0, 1, 1, P), 0);
    EXPECT_EQ(IntersectLines(2, 4, 1, 1, 2, 5, P), 0);  // parallel
    EXPECT_EQ(P.Index(1, 1), 7);
    EXPECT_EQ(P.Index(2, 1), 7);
    EXPECT_EQ(IntersectLines(1.0000001e-16, 0, -1.0000001e-16, 0, 1, 0, P), 1.0000001e-16);
    EXPECT_DOUBLE_EQ(P.Index(1, 1), 1);
    EXPECT_EQ(P.Index(2, 1), 0);
}

TEST(IntersectPlanes, OutputRowsChooseWhatIsWritten) {
    const MatrixR planes = Rows({{1, 1, 1, -6}, {1, -1, 0, 0}, {0, 0, 2, -6}});
    const MatrixR view = DefaultView();
    MatrixR point(3, 1);
    const double D = IntersectPlanes(planes, 1, 2, 3, point, view);
    EXPECT_EQ(D, -4);
    EXPECT_DOUBLE_EQ(point.Index(1, 1), 1.5);
    EXPECT_DOUBLE_EQ(point.Index(2, 1), 1.5);
    EXPECT_DOUBLE_EQ(point.Index(3, 1), 3);

    MatrixR projected(2, 1);
    EXPECT_EQ(IntersectPlanes(planes, 1, 2, 3, projected, view), D);
    EXPECT_NEAR(projected.Index(1, 1), 0, 1e-15);
    EXPECT_DOUBLE_EQ(projected.Index(2, 1), 1.5);  // -0.75 - 0.75 + 3

    MatrixR one = Column({9});
    MatrixR four = Column({9, 9, 9, 9});
    EXPECT_EQ(IntersectPlanes(planes, 1, 2, 3, one, view), D);
    EXPECT_EQ(IntersectPlanes(planes, 1, 2, 3, four, view), D);
    EXPECT_EQ(one.Index(1, 1), 9);
    for (uint32_t r = 1; r <= 4; ++r) EXPECT_EQ(four.Index(r, 1), 9);
}

TEST(IntersectPlanes, SingularBoundsAreIncludedAndLeaveOutputAlone) {
    const MatrixR view = DefaultView();
    MatrixR point = Column({5, 5, 5});
    EXPECT_EQ(IntersectPlanes(Rows({{1e-16, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}}), 1, 2, 3, point, view), 0);
    EXPECT_EQ(IntersectPlanes(Rows({{-1e-16, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}}), 1, 2, 3, point, view), 0);
    EXPECT_EQ(IntersectPlanes(Rows({{1, 2, 3, 0}, {2, 4, 6, 1}, {0, 0, 1, 0}}), 1, 2, 3, point, view), 0);
    for (uint32_t r = 1; r <= 3; ++r) EXPECT_EQ(point.Index(r, 1), 5);
    const MatrixR thin = Rows({{1.0000001e-16, 0, 0, -2.0000002e-16}, {0, 1, 0, 0}, {0, 0, 1, 0}});
    EXPECT_EQ(IntersectPlanes(thin, 1, 2, 3, point, view), 1.0000001e-16);
    EXPECT_DOUBLE_EQ(point.Index(1, 1), 2);
}

TEST(Vertices, UnitCubeHasEightRegularTriplesOfTwenty) {
    const MatrixR cube = UnitCube();
    const MatrixR view = DefaultView();
    const std::vector<Vertex> vertices = EnumerateVertices(cube, view);
    ASSERT_EQ(vertices.size(), 8u);
    std::set<std::tuple<double, double, double>> corners;
    for (size_t n = 0; n < vertices.size(); ++n) {
        const Vertex& v = vertices[n];
        EXPECT_LT(v.i, v.j);
        EXPECT_LT(v.j, v.k);
        if (n > 0) {
            const Vertex& w = vertices[n - 1];
            EXPECT_LT(std::tie(w.i, w.j, w.k), std::tie(v.i, v.j, v.k));  // lexicographic order
        }
        MatrixR P(3, 1);
        ASSERT_NE(IntersectPlanes(cube, v.i, v.j, v.k, P, view), 0);
        for (uint32_t r = 1; r <= 3; ++r) EXPECT_TRUE(P.Index(r, 1) == 0 || P.Index(r, 1) == 1);
        corners.insert({P.Index(1, 1), P.Index(2, 1), P.Index(3, 1)});
    }
    EXPECT_EQ(corners.size(), 8u);
}

TEST(Vertices, FourPlanesThroughOnePointGiveFourVerticesThere) {
    // Four faces of a pyramid meeting at its apex (0, 0, 1).
    const MatrixR planes = Rows({{1, 0, 1, -1}, {-1, 0, 1, -1}, {0, 1, 1, -1}, {0, -1, 1, -1}});
    const std::vector<Vertex> vertices = EnumerateVertices(planes, DefaultView());
    ASSERT_EQ(vertices.size(), 4u);
    for (const Vertex& v : vertices) {
        EXPECT_EQ(v.u, 0);
        EXPECT_EQ(v.v, 1);
    }
    // Every pair of them shares two planes: six edge pairs of coinciding points.
    const std::vector<EdgeLine> lines = EdgeLines(vertices, planes.rows);
    size_t pairs = 0;
    for (const EdgeLine& line : lines) pairs += line.on.size() * (line.on.size() - 1) / 2;
    EXPECT_EQ(pairs, 6u);
}

TEST(VertexBox, FirstVertexSetsTheBoxAndLaterOnesOnlyWidenIt) {
    PlotState s;
    s.PlotXMin = -50;
    s.PlotXMax = 50;
    EXPECT_FALSE(VertexBox({}, s));
    EXPECT_EQ(s.PlotXMin, -50);
    EXPECT_EQ(s.PlotXMax, 50);
    ASSERT_TRUE(VertexBox({{1, 2, 3, 2, 5}, {1, 2, 4, -1, 6}, {1, 3, 4, 3, 4}}, s));
    EXPECT_EQ(s.PlotXMin, -1);
    EXPECT_EQ(s.PlotXMax, 3);
    EXPECT_EQ(s.PlotYMin, 4);
    EXPECT_EQ(s.PlotYMax, 6);
}

// Planes x1 + x3 <= 0 and x1 - x3 <= 0 seen straight down the x3 axis: their
// wedge covers exactly the half-picture u <= 0, and their edge line x1 = x3 = 0
// is crossed by the sight line of every corner with u = 0.
struct WedgeFromAbove : ::testing::Test {
    MatrixR planes = Rows({{1, 0, 1, 0}, {1, 0, -1, 0}});
    PlotState s;
    void SetUp() override {
        s.ViewProjection = Rows({{1, 0, 0}, {0, 1, 0}});
        s.PlotYMin = 0;
        s.PlotYMax = 1;
    }
};

TEST_F(WedgeFromAbove, CornerSeeingTheEdgeEdgeOnIsNotAcceptedTheNextOneIs) {
    s.PlotXMin = 0;
    s.PlotXMax = 2;
    EXPECT_EQ(OutsideCorner(planes, 1, 2, s), 2);
}

TEST_F(WedgeFromAbove, FirstOutsideCornerWinsAndNoneWhenAllAreInside) {
    s.PlotXMin = 1;
    s.PlotXMax = 2;
    EXPECT_EQ(OutsideCorner(planes, 1, 2, s), 0);
    s.PlotXMin = -3;
    s.PlotXMax = -1;
    EXPECT_EQ(OutsideCorner(planes, 1, 2, s), kNoCorner);
}

TEST_F(WedgeFromAbove, SightLinesParallelToAPlaneAreSkipped) {
    // x3 <= 0 and x1 <= 1: the second is pierced by no vertical sight line.
    s.PlotXMin = 2;
    s.PlotXMax = 3;
    EXPECT_EQ(OutsideCorner(Rows({{0, 0, 1, 0}, {1, 0, 0, -1}}), 1, 2, s), kNoCorner);
}

struct Ray : ::testing::Test {
    PlotState s;
    MatrixR out = Column({-7, -7});
    void Window(double x0, double x1, double y0, double y1) {
        s.PlotXMin = x0;
        s.PlotXMax = x1;
        s.PlotYMin = y0;
        s.PlotYMax = y1;
    }
    bool Exit(double p1, double p2, double d1, double d2) {
        return RayExitPoint(s, Column({p1, p2}), Column({d1, d2}), out);
    }
};

TEST_F(Ray, LeavesThroughTheSideItPointsTo) {
    Window(0, 4, 0, 2);
    ASSERT_TRUE(Exit(2, 1, 1, 0));
    EXPECT_EQ(out.Index(1, 1), 4);
    EXPECT_EQ(out.Index(2, 1), 1);
    ASSERT_TRUE(Exit(2, 1, 0, -1));
    EXPECT_EQ(out.Index(1, 1), 2);
    EXPECT_EQ(out.Index(2, 1), 0);
    ASSERT_TRUE(Exit(2, 1, -1, 0));
    EXPECT_EQ(out.Index(1, 1), 0);
    EXPECT_EQ(out.Index(2, 1), 1);
}

TEST_F(Ray, DiagonalFromTheCentreOfASquareHitsTheCorner) {
    Window(-3, 5, 1, 9);
    ASSERT_TRUE(Exit(1, 5, 1, 1));
    EXPECT_NEAR(out.Index(1, 1), 5, 1e-12);
    EXPECT_NEAR(out.Index(2, 1), 9, 1e-12);
}

TEST_F(Ray, ClampsToTheBorderItReachesFirst) {
    Window(0, 4, 0, 2);
    ASSERT_TRUE(Exit(2, 1, 3, 2));  // flat, but leaves through the top
    EXPECT_DOUBLE_EQ(out.Index(1, 1), 3.5);
    EXPECT_EQ(out.Index(2, 1), 2);
    ASSERT_TRUE(Exit(3.5, 1, 1, 1));  // steep, but leaves through the right
    EXPECT_EQ(out.Index(1, 1), 4);
    EXPECT_DOUBLE_EQ(out.Index(2, 1), 1.5);
}

TEST_F(Ray, DirectionsTooShortOrMissingTheWindowGiveNoPoint) {
    Window(0, 4, 0, 2);
    EXPECT_FALSE(Exit(2, 1, 0, 0));
    EXPECT_FALSE(Exit(2, 1, 1e-17, 0));
    EXPECT_FALSE(Exit(2, 1, 0, -1e-17));
    EXPECT_FALSE(Exit(9, 1, 0, 1));   // vertical, beside the window
    EXPECT_FALSE(Exit(2, -5, 1, 0));  // horizontal, below the window
    EXPECT_EQ(out.Index(1, 1), -7);
    EXPECT_EQ(out.Index(2, 1), -7);
}

MatrixR RandomPlanes(std::mt19937& random, uint32_t rows) {
    std::uniform_int_distribution<int> digit(-3, 3);
    MatrixR planes(rows, 4);
    for (uint32_t r = 1; r <= rows; ++r)
        for (uint32_t c = 1; c <= 4; ++c) planes.Index(r, c) = digit(random);
    return planes;
}

TEST(EdgePairs, ExhaustiveWalkVisitsEveryPairOnALineOnceOrBothWays) {
    std::mt19937 random(5);
    for (int round = 0; round < 20; ++round) {
        const MatrixR planes = RandomPlanes(random, 6);
        const std::vector<Vertex> vertices = EnumerateVertices(planes, DefaultView());
        std::multiset<std::tuple<uint32_t, uint32_t, uint32_t, uint32_t, uint32_t>> visited;  // a, b, cA, cB
        ForEachEdgePairExhaustive(vertices, planes.rows, [&](const Vertex& A, uint32_t a, uint32_t b, uint32_t c) {
            ASSERT_LT(a, b);
            const std::set<uint32_t> triple{A.i, A.j, A.k};
            ASSERT_TRUE(triple.count(a) && triple.count(b));
            ASSERT_FALSE(triple.count(c));
            visited.insert({a, b, ThirdRow(A, a, b), c, 0});
        });
        // Expected from the lines: every ordered pair of distinct triples on a
        // line, A a vertex, kept by the side rule.
        std::multiset<std::tuple<uint32_t, uint32_t, uint32_t, uint32_t, uint32_t>> expected;
        for (const EdgeLine& line : EdgeLines(vertices, planes.rows))
            for (uint32_t x : line.on)
                for (uint32_t c = 1; c <= planes.rows; ++c) {
                    const uint32_t cA = ThirdRow(vertices[x], line.a, line.b);
                    if (c == line.a || c == line.b || c == cA) continue;
                    const bool sameSide = (c < line.a) == (cA < line.a) && (c < line.b) == (cA < line.b);
                    if (sameSide || cA > c) expected.insert({line.a, line.b, cA, c, 0});
                }
        EXPECT_EQ(visited, expected) << "round " << round;
    }
}

} // namespace
} // namespace optimara
