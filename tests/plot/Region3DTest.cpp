// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QPolygonF>

#include <cmath>
#include <random>
#include <vector>

#include "Geometry.h"
#include "Region3D.h"
#include "plot/PictureHelpers.h"

namespace optimara {
namespace {

using namespace plottest;

const double h = std::sqrt(3.0) * 0.5;

MatrixR UnitCube() {
    return Rows({{1, 0, 0, -1}, {0, 1, 0, -1}, {0, 0, 1, -1}, {-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}});
}

// Square pyramid over z >= 0 whose four slanted faces meet in one apex;
// decimal slopes make the apex come out of each triple with other roundings.
MatrixR Pyramid(double k) {
    const double apex[3] = {0.3, 0.3, 0.7};
    MatrixR R = Rows({{0, 0, -1, 0}, {k, 0, 0.1, 0}, {-k, 0, 0.1, 0}, {0, k, 0.1, 0}, {0, -k, 0.1, 0}});
    for (uint32_t r = 2; r <= 5; ++r)
        R.Index(r, 4) = -(R.Index(r, 1) * apex[0] + R.Index(r, 2) * apex[1] + R.Index(r, 3) * apex[2]);
    return R;
}

struct Space : ::testing::Test {
    PlotState state;
    Marker marker;
    QImage image = BlankImage();
    void SetUp() override { SetDefaultView(state); }
    QImage Draw(const MatrixR& rows, const MatrixR& objective, bool axes, EdgeWalk walk = EdgeWalk::ByRowPair) {
        image = BlankImage();
        if (walk == EdgeWalk::ByRowPair)
            EXPECT_EQ(DrawPlot(state, {rows, objective, axes, kColors}, {&image, 0, 0}, marker), PlotKind::Space);
        else
            DrawRegion3D(state, {rows, objective, axes, kColors}, {&image, 0, 0}, marker, walk);
        return image;
    }
    QPoint Pixel(double u, double v) const { return PixelAt(state, u, v, image.width(), image.height()); }
    QRgb At(double u, double v) const { return image.pixelColor(Pixel(u, v)).rgb(); }
};

// Signed distance in pixels of p from the convex polygon's border,
// positive inside (corners counter-clockwise on screen).
double InsideBy(const std::vector<QPointF>& poly, QPointF p) {
    double d = 1e9;
    for (size_t n = 0; n < poly.size(); ++n) {
        const QPointF a = poly[n], b = poly[(n + 1) % poly.size()];
        const QPointF e = b - a;
        const double cross = e.x() * (p.y() - a.y()) - e.y() * (p.x() - a.x());
        d = std::min(d, -cross / std::hypot(e.x(), e.y()));
    }
    return d;
}

TEST(BeyondEdge, PaintsTheSideOfTheLineHoldingTheCorner) {
    PlotState s;
    s.PlotXMax = s.PlotYMax = 1;
    const QPointF corners[4] = {{0.5, 99.5}, {0.5, 0.5}, {99.5, 99.5}, {99.5, 0.5}};  // pixels near 0..3
    const double lines[][4] = {{-0.2, 0, 0.6, 1},  {0.3, 0, 1.2, 1}, {0.9, 1, 0.1, 0}, {0, -0.2, 1, 0.6},
                               {0, 0.3, 1, 1.2},   {1, 0.1, 0, 0.9}, {0.2, 0.5, 0.3, 0.1}};
    for (const auto& l : lines)
        for (int n = 0; n < 4; ++n) {
            const EdgeShade shade = BeyondEdgePolygon(s, 100, 100, n, l[0], l[1], l[2], l[3]);
            ASSERT_EQ(shade.count, 4);
            QPolygonF polygon;
            for (const PixelD& p : shade.points) polygon << QPointF(p.x, p.y);
            // Which side of the line, in pixels, each corner lies on.
            auto side = [&](QPointF c) {
                const double x0 = 100 * l[0], y0 = 100 * (1 - l[1]), x1 = 100 * l[2], y1 = 100 * (1 - l[3]);
                return (x1 - x0) * (c.y() - y0) - (y1 - y0) * (c.x() - x0) > 0;
            };
            for (int m = 0; m < 4; ++m)
                EXPECT_EQ(polygon.containsPoint(corners[m], Qt::OddEvenFill), side(corners[m]) == side(corners[n]))
                    << "line " << (&l - lines) << " corner " << n << " probe " << m;
        }
    EXPECT_EQ(BeyondEdgePolygon(s, 100, 100, kNoCorner, 0, 0, 1, 1).count, 0);
    EXPECT_EQ(BeyondEdgePolygon(s, 100, 100, 0, 0.5, 0.5, 0.5, 0.5).count, 0);
}

TEST_F(Space, UnitCubeInTheDefaultViewIsADarkHexagon) {
    Draw(UnitCube(), Column({1, 2, 3}), false);
    SaveForEye(image, "cube");
    // Vertex box -h..h by -1..1, margins, then widened across.
    const double e = (600 * 2 - 400 * (2 * h)) / 800;
    EXPECT_NEAR(state.PlotXMin, -h - 0.2 * h - e, 1e-12);
    EXPECT_NEAR(state.PlotXMax, h + 0.2 * h + e, 1e-12);
    EXPECT_NEAR(state.PlotYMin, -1.2, 1e-12);
    EXPECT_NEAR(state.PlotYMax, 1.2, 1e-12);

    std::vector<QPointF> hexagon;
    for (auto [u, v] : {std::pair{-h, -0.5}, {0.0, -1.0}, {h, -0.5}, {h, 0.5}, {0.0, 1.0}, {-h, 0.5}}) {
        const double x = 600 * (u - state.PlotXMin) / (state.PlotXMax - state.PlotXMin);
        const double y = 400 * (state.PlotYMax - v) / (state.PlotYMax - state.PlotYMin);
        hexagon.emplace_back(x, y);
    }
    int inside = 0, outside = 0;
    for (int y = 0; y < 400; y += 3)
        for (int x = 0; x < 600; x += 3) {
            const double by = InsideBy(hexagon, QPointF(x + 0.5, y + 0.5));
            const QRgb c = image.pixel(x, y);
            if (by > 2) {
                ++inside;
                ASSERT_TRUE(c == kDark || c == kText || c == kHighlight) << x << "," << y;
            } else if (by < -2) {
                ++outside;
                ASSERT_EQ(c, kLight) << x << "," << y;
            }
        }
    EXPECT_GT(inside, 5000);
    EXPECT_GT(outside, 10000);
    for (QPoint corner : {QPoint(0, 0), QPoint(599, 0), QPoint(0, 399), QPoint(599, 399)})
        EXPECT_EQ(image.pixel(corner), kLight);
    // Around the centre, between the six edges that meet there.
    for (int k = 0; k < 6; ++k) {
        const double a = k * M_PI / 3;
        EXPECT_EQ(At(0.4 * std::cos(a), 0.4 * std::sin(a)), kDark) << k;
    }
}

TEST_F(Space, UnitCubeShowsAllTwelveEdgesHiddenOnesIncluded) {
    Draw(UnitCube(), Column({0, 0, 0}), false);
    int drawn = 0;
    for (int a = 0; a < 8; ++a)
        for (int bit = 0; bit < 3; ++bit) {
            const int b = a | (1 << bit);
            if (b == a) continue;
            const double x = ((a & 1) + (b & 1)) / 2.0, y = ((a >> 1 & 1) + (b >> 1 & 1)) / 2.0,
                         z = ((a >> 2 & 1) + (b >> 2 & 1)) / 2.0;
            EXPECT_TRUE(Near(image, Pixel(h * (y - x), z - 0.5 * (x + y)), kText)) << a << "-" << b;
            ++drawn;
        }
    EXPECT_EQ(drawn, 12);
    EXPECT_EQ(Count(image, kHighlight), 0);
}

TEST_F(Space, AxesAppearOnlyWhileSwitchedOn) {
    const QImage without = Draw(UnitCube(), Column({1, 2, 3}), false);
    const QImage with = Draw(UnitCube(), Column({1, 2, 3}), true);
    SaveForEye(with, "cube-axes");
    int changed = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x)
            if (with.pixel(x, y) != without.pixel(x, y)) {
                ++changed;
                ASSERT_EQ(with.pixel(x, y), kText) << x << "," << y;
            }
    EXPECT_GT(changed, 300);
    // x1 down to the left, x2 down to the right, both past the hexagon.
    for (double sign : {-1.0, 1.0}) {
        const QPoint p = Pixel(sign * 1.35 * h, -1.35 * 0.5);
        EXPECT_TRUE(Near(with, p, kText, 2)) << sign;
        EXPECT_FALSE(Near(without, p, kText, 2)) << sign;
    }
    // x3 straight up from the centre as a dashed line: above the hexagon
    // column 300 shows both ink and gaps.
    const int top = Pixel(0, 1).y();
    int ink = 0, gaps = 0;
    for (int y = 18; y < top - 2; ++y) (with.pixel(300, y) == kText ? ink : gaps)++;
    EXPECT_GT(ink, 2);
    EXPECT_GT(gaps, 2);
    // Its head at the top border is filled, symmetric about the axis and
    // widening away from the tip.
    int previous = 0;
    for (int y = 3; y <= 13; y += 2) {
        int left = 999, right = -1;
        for (int x = 285; x <= 315; ++x)
            if (with.pixel(x, y) == kText) left = std::min(left, x), right = std::max(right, x);
        ASSERT_GE(right, left) << y;
        EXPECT_LE(std::abs(left + right - 600), 2) << y;
        EXPECT_GE(right - left, previous) << y;
        previous = right - left;
    }
    EXPECT_GE(previous, 4);
}

TEST_F(Space, TurningForthAndBackGivesTheSamePicture) {
    const QImage before = Draw(UnitCube(), Column({1, 2, 3}), true);
    RotateView(state, Axis::Z, +1);
    const QImage turned = Draw(UnitCube(), Column({1, 2, 3}), true);
    EXPECT_NE(turned, before);
    RotateView(state, Axis::Z, -1);
    EXPECT_EQ(Draw(UnitCube(), Column({1, 2, 3}), true), before);
}

TEST_F(Space, UnboundedRegionStaysDarkToTheBorder) {
    // A square chimney going up along x3 from z = 0.
    const MatrixR chimney = Rows({{1, 0, 0, -1}, {0, 1, 0, -1}, {-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}});
    Draw(chimney, Column({0, 0, 0}), false);
    SaveForEye(image, "chimney");
    // Its picture runs up between u = -h and u = h to the top border; the
    // vertical edge lines carry one meeting point each and are not drawn.
    for (double u : {-0.6, -0.3, 0.0, 0.3, 0.6}) {
        EXPECT_EQ(image.pixel(Pixel(u, 0).x(), 0), kDark) << u;
        EXPECT_EQ(image.pixel(Pixel(u, 0).x(), 5), kDark) << u;
    }
    for (int y = 0; y < Pixel(0, 0).y() - 3; ++y) ASSERT_NE(image.pixel(Pixel(0, 0).x(), y), kText) << y;
    // Below the floor square it is light.
    EXPECT_EQ(At(0, -1.1), kLight);
}

TEST_F(Space, ObjectiveSeenEndOnOrWithoutDirectionDrawsNoArrow) {
    Draw(UnitCube(), Column({1, 1, 1}), false);  // the default view looks along (1, 1, 1)
    EXPECT_EQ(Count(image, kHighlight), 0);
    RotateView(state, Axis::Z, +1);
    RotateView(state, Axis::Z, -1);  // the same view up to rounding
    Draw(UnitCube(), Column({1, 1, 1}), false);
    EXPECT_EQ(Count(image, kHighlight), 0);
    Draw(UnitCube(), Column({0, 0, 0}), false);
    EXPECT_EQ(Count(image, kHighlight), 0);
    Draw(UnitCube(), Column({1, 2, 3}), false);
    EXPECT_GT(Count(image, kHighlight), 20);
    EXPECT_TRUE(Near(image, QPoint(300, 200), kHighlight, 1));
}

// The highlight pixel farthest from the picture's centre.
QPoint ArrowTip(const QImage& image) {
    QPoint tip(300, 200);
    double farthest = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == kHighlight && std::hypot(x - 300, y - 200) > farthest)
                farthest = std::hypot(x - 300, y - 200), tip = QPoint(x, y);
    return tip;
}

TEST_F(Space, ObjectiveArrowPointsAlongTheProjectedObjective) {
    // (0, 0, 1) is straight up, a third of the picture height long from the
    // centre: the tip near row (1 - (1/3 + 0.5)) * 400.
    Draw(UnitCube(), Column({0, 0, 5}), false);
    QPoint tip = ArrowTip(image);
    EXPECT_NEAR(tip.x(), 300, 2);
    EXPECT_NEAR(tip.y(), 66, 2);
    // (1, 0, 0) points down to the left; across, the window is wider than
    // high, so the across part is scaled by 2.4 / 3.346.
    Draw(UnitCube(), Column({2, 0, 0}), false);
    tip = ArrowTip(image);
    const double a = -h / 3 * (state.PlotYMax - state.PlotYMin) / (state.PlotXMax - state.PlotXMin);
    EXPECT_NEAR(tip.x(), (0.5 + a) * 600, 2);
    EXPECT_NEAR(tip.y(), (0.5 + 0.5 / 3) * 400, 2);
}

TEST_F(Space, AxisSeenEndOnIsNotDrawn) {
    // Looking along x2, then nine turns about x1: x3 is seen end-on, its
    // picture direction left by rounding some 1e-16 long and pointing up.
    state.ViewProjection = Rows({{1, 0, 0}, {0, 0, 1}});
    for (int n = 0; n < 9; ++n) RotateView(state, Axis::X, +1);
    ASSERT_LT(std::hypot(state.ViewProjection.Index(1, 3), state.ViewProjection.Index(2, 3)), 1e-9);
    const QImage without = Draw(UnitCube(), Column({0, 0, 0}), false);
    const QImage with = Draw(UnitCube(), Column({0, 0, 0}), true);
    SaveForEye(with, "cube-from-above");
    // x1 runs right and x2 down from the square's top left corner; nothing
    // runs up from it.
    const QPoint origin = Pixel(0, 0);
    int changed = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x) {
            if (with.pixel(x, y) == without.pixel(x, y)) continue;
            ++changed;
            ASSERT_GT(y, origin.y() - 6) << x << "," << y;
        }
    EXPECT_GT(changed, 100);
}

TEST_F(Space, RowsWithoutVariables) {
    const MatrixR g = Column({1, 2, 3});
    const QImage cube = Draw(UnitCube(), g, true);
    MatrixR harmless = UnitCube(), impossible = UnitCube();
    harmless.AddRow(3, 0);
    harmless.Index(4, 4) = -2;
    impossible.AddRow(6, 0);
    impossible.Index(7, 4) = 2;
    EXPECT_EQ(Draw(harmless, g, true), cube);
    Draw(impossible, g, true);
    EXPECT_EQ(Count(image, kDark), 0);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x) {
            const QRgb was = cube.pixel(x, y);
            ASSERT_EQ(image.pixel(x, y), was == kDark ? kLight : was) << x << "," << y;
        }
}

TEST_F(Space, ApexMetByFourFacesKeepsThePyramidDark) {
    const MatrixR pyramid = Pyramid(0.7);
    // The apex comes out of different triples with different roundings.
    double P[3], Q[3], pu, pv, qu, qv;
    ASSERT_NE(SolvePlanes(pyramid, 2, 3, 4, P), 0);
    ASSERT_NE(SolvePlanes(pyramid, 2, 3, 5, Q), 0);
    ProjectPoint(state.ViewProjection, P, pu, pv);
    ProjectPoint(state.ViewProjection, Q, qu, qv);
    ASSERT_TRUE(pu != qu || pv != qv);
    Draw(pyramid, Column({0, 0, 0}), false);
    SaveForEye(image, "pyramid");
    EXPECT_EQ(BeyondEdgePolygon(state, 600, 400, 0, pu, pv, qu, qv).count, 0);
    EXPECT_EQ(BeyondEdgePolygon(state, 600, 400, 0, pu, pv, qu + 0.1, qv).count, 4);
    // Inside the pyramid, beside the edge that runs straight down from the apex.
    EXPECT_EQ(At(0.05, 0), kDark);
    EXPECT_GT(Count(image, kDark), 5000);
}

TEST_F(Space, FourPlanesThroughOnePointShowOnlyThatPoint) {
    // Every triple meets at the apex (0, 0, 1): each edge pair joins two
    // vertices on the same pixel, drawn as that one pixel; no vertex box,
    // so the window is the fitted empty one around the apex's picture.
    Draw(Rows({{1, 0, 1, -1}, {-1, 0, 1, -1}, {0, 1, 1, -1}, {0, -1, 1, -1}}), Column({0, 0, 0}), false);
    EXPECT_EQ(Count(image, kText), 1);
    EXPECT_EQ(image.pixel(Pixel(0, 1)), kText);
    EXPECT_EQ(Count(image, kDark), 600 * 400 - 1);
}

TEST_F(Space, FarAwayOriginStillGivesAStraightAxis) {
    // A unit box a million units out along x1: the x1 axis comes from ~4e8
    // pixels away and crosses the picture next to the box.
    const MatrixR box = Rows({{1, 0, 0, -1e6 - 1}, {-1, 0, 0, 1e6}, {0, 1, 0, -1}, {0, -1, 0, 0}, {0, 0, 1, -1},
                              {0, 0, -1, 0}});
    const QImage without = Draw(box, Column({0, 0, 0}), false);
    const QImage with = Draw(box, Column({0, 0, 0}), true);
    const double sx = 600 / (state.PlotXMax - state.PlotXMin), sy = 400 / (state.PlotYMax - state.PlotYMin);
    const QPointF origin(-state.PlotXMin * sx, state.PlotYMax * sy);
    const QPointF dir(-h * sx, 0.5 * sy);
    const double norm = std::hypot(dir.x(), dir.y());
    int onLine = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 30; x < 600; ++x) {
            if (with.pixel(x, y) == without.pixel(x, y)) continue;
            const QPointF p(x + 0.5 - origin.x(), y + 0.5 - origin.y());
            ASSERT_LT(std::fabs(p.x() * dir.y() - p.y() * dir.x()) / norm, 1.5) << x << "," << y;
            ++onLine;
        }
    EXPECT_GT(onLine, 200);
}

TEST_F(Space, MarkerFollowsTheProjectedSolution) {
    state.SolutionPoint[0] = state.SolutionPoint[1] = state.SolutionPoint[2] = 1;
    Draw(UnitCube(), Column({1, 2, 3}), false);
    ASSERT_TRUE(marker.visible);
    EXPECT_EQ(marker.left, 298);
    EXPECT_EQ(marker.top, 198);
    state.SolutionPoint[0] = 3;  // projects left of the window
    state.SolutionPoint[1] = state.SolutionPoint[2] = 0;
    Draw(UnitCube(), Column({1, 2, 3}), false);
    EXPECT_FALSE(marker.visible);
}

// The drawing walks the edge pairs line by line and paints repeated shapes
// once; the picture must equal the one of the plain walk over all pairs.
void ExpectSameAsExhaustive(const MatrixR& planes, const std::vector<Turn>& turns, const std::string& name) {
    PlotState fast, slow;
    SetDefaultView(fast);
    Rotate(fast, turns);
    slow = fast;
    Marker m1, m2;
    QImage a = BlankImage(300, 200), b = BlankImage(300, 200);
    const MatrixR g = Column({1, 2, 3});
    DrawRegion3D(fast, {planes, g, true, kColors}, {&a, 0, 0}, m1, EdgeWalk::ByRowPair);
    DrawRegion3D(slow, {planes, g, true, kColors}, {&b, 0, 0}, m2, EdgeWalk::Exhaustive);
    EXPECT_EQ(a, b) << name;
    EXPECT_GT(Count(a, kText), 0) << name;
}

TEST(SpaceWalks, LineByLineDrawingEqualsTheExhaustiveOne) {
    const Turn zUp = kTurns[0], zDown = kTurns[1], yUp = kTurns[2], yDown = kTurns[3], xUp = kTurns[4];
    const std::vector<std::vector<Turn>> views = {
        {}, {zUp, zUp, yUp}, {xUp, xUp, xUp, zDown, yDown}, std::vector<Turn>(9, yUp)};
    MatrixR sliced = UnitCube();
    sliced.AddRow(6, 0);
    sliced.AddRow(7, 0);
    for (uint32_t c = 1; c <= 3; ++c) sliced.Index(7, c) = 1, sliced.Index(8, c) = -1;
    sliced.Index(7, 4) = -2;  // x + y + z = 2 as two opposite rows
    sliced.Index(8, 4) = 2;
    MatrixR corner = UnitCube();
    corner.AddRow(6, 0);
    for (uint32_t c = 1; c <= 3; ++c) corner.Index(7, c) = 1;
    corner.Index(7, 4) = -3;  // through the corner (1, 1, 1)
    for (size_t v = 0; v < views.size(); ++v) {
        const std::string view = " view " + std::to_string(v);
        ExpectSameAsExhaustive(UnitCube(), views[v], "cube" + view);
        ExpectSameAsExhaustive(Pyramid(0.7), views[v], "pyramid" + view);
        ExpectSameAsExhaustive(sliced, views[v], "sliced" + view);
        ExpectSameAsExhaustive(corner, views[v], "corner" + view);
    }
}

TEST(SpaceWalks, LineByLineDrawingEqualsTheExhaustiveOneOnRandomRows) {
    std::mt19937 random(17);
    std::uniform_int_distribution<int> digit(-4, 4), turn(0, 5), rows(4, 8);
    for (int round = 0; round < 40; ++round) {
        MatrixR planes(static_cast<uint32_t>(rows(random)), 4);
        for (uint32_t r = 1; r <= planes.rows; ++r)
            for (uint32_t c = 1; c <= 4; ++c) planes.Index(r, c) = digit(random) * (c == 4 ? 0.7 : 0.3);
        std::vector<Turn> turns;
        for (int n = round % 5; n > 0; --n) turns.push_back(kTurns[turn(random)]);
        ExpectSameAsExhaustive(planes, turns, "round " + std::to_string(round));
    }
}

TEST(Dispatch, OtherWidthsDrawNothingAndLeaveTheMarker) {
    PlotState s;
    SetDefaultView(s);
    Marker m{true, 11, 12};
    for (const MatrixR& rows : {Rows({{1, 2}, {3, 4}}), Rows({{1, 0, 0, 0, -1}, {0, 1, 0, 0, -1}}), MatrixR(1, 1)}) {
        QImage image = BlankImage(60, 40);
        EXPECT_EQ(DrawPlot(s, {rows, Column({1}), true, kColors}, {&image, 0, 0}, m), PlotKind::None);
        EXPECT_EQ(Count(image, kBlank), 60 * 40);
        EXPECT_TRUE(m.visible);
        EXPECT_EQ(m.left, 11);
        EXPECT_EQ(m.top, 12);
    }
}

} // namespace
} // namespace optimara
