// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "Region2D.h"
#include "plot/PictureHelpers.h"

namespace optimara {
namespace {

using namespace plottest;

void Box(PlotState& s, double x0, double x1, double y0, double y1) {
    s.PlotXMin = x0;
    s.PlotXMax = x1;
    s.PlotYMin = y0;
    s.PlotYMax = y1;
}

void ExpectWindow(const PlotState& s, double x0, double x1, double y0, double y1) {
    EXPECT_DOUBLE_EQ(s.PlotXMin, x0);
    EXPECT_DOUBLE_EQ(s.PlotXMax, x1);
    EXPECT_DOUBLE_EQ(s.PlotYMin, y0);
    EXPECT_DOUBLE_EQ(s.PlotYMax, y1);
}

TEST(FitPlotWindow, MarginsThenWiderAlongThePicturesLongerSide) {
    PlotState s;
    Box(s, 0, 4, 0, 4);
    FitPlotWindow(s, 600, 400);
    ExpectWindow(s, -1.4, 5.4, -0.4, 4.4);
    Box(s, 0, 4, 0, 4);
    FitPlotWindow(s, 400, 600);
    ExpectWindow(s, -0.4, 4.4, -1.4, 5.4);
}

TEST(FitPlotWindow, AspectAmountComesFromTheUnwidenedRanges) {
    PlotState s;
    Box(s, 0, 10, 0, 1);
    FitPlotWindow(s, 100, 100);
    // 10 % margins give 12 by 1.2; the aspect step adds (1000 - 100) / 200 on
    // each side of y, so the window ends 12 by 10.2, not square.
    ExpectWindow(s, -1, 11, -4.6, 5.6);
}

TEST(FitPlotWindow, EqualProportionsOnlyGetMargins) {
    PlotState s;
    Box(s, 0, 3, 0, 2);
    FitPlotWindow(s, 300, 200);
    ExpectWindow(s, -0.3, 3.3, -0.2, 2.2);
}

TEST(FitPlotWindow, EmptyRangesOpenToWidthTwo) {
    PlotState s;
    FitPlotWindow(s, 600, 400);
    ExpectWindow(s, -1, 1, -1, 1);
    Box(s, 5, 5, -3, -3);
    FitPlotWindow(s, 600, 400);
    ExpectWindow(s, 4, 6, -4, -2);
}

struct Plane : ::testing::Test {
    PlotState state;
    Marker marker;
    QImage image = BlankImage();
    PlotKind Draw(const MatrixR& rows, const MatrixR& objective = Column({3, 2}), int left = 0, int top = 0) {
        image = BlankImage();
        return DrawPlot(state, {rows, objective, true, kColors}, {&image, left, top}, marker);
    }
    QRgb At(double x, double y) const { return image.pixelColor(PixelAt(state, x, y, 600, 400)).rgb(); }
};

const MatrixR kTriangle = Rows({{-1, 0, 0}, {0, -1, 0}, {1, 1, -4}});

TEST_F(Plane, TriangleIsDarkInsideLightOutsideWithItsThreeLines) {
    ASSERT_EQ(Draw(kTriangle), PlotKind::Plane);
    SaveForEye(image, "triangle");
    ExpectWindow(state, -1.4, 5.4, -0.4, 4.4);
    EXPECT_EQ(Count(image, kBlank), 0);
    for (auto [x, y] : {std::pair{1.0, 1.0}, {0.5, 2.5}, {2.5, 0.5}, {0.3, 3.3}}) EXPECT_EQ(At(x, y), kDark) << x << "," << y;
    for (auto [x, y] : {std::pair{3.0, 3.0}, {-1.0, 2.0}, {2.0, -0.3}, {5.0, 4.0}, {-1.2, -0.3}})
        EXPECT_EQ(At(x, y), kLight) << x << "," << y;
    // y = 0 lies on pixel row trunc(400 * (1 - 0.4 / 4.8)) = 366, x = 0 on
    // column trunc(600 * 1.4 / 6.8) = 123.
    for (int x : {5, 60, 590}) EXPECT_EQ(image.pixel(x, 366), kText) << x;
    for (int y : {5, 100, 395}) EXPECT_EQ(image.pixel(123, y), kText) << y;
    for (double x : {0.5, 2.0, 3.5, 4.3}) EXPECT_TRUE(Near(image, PixelAt(state, x, 4 - x, 600, 400), kText)) << x;
}

TEST_F(Plane, ObjectiveArrowLeavesTheCentreTheWayTheObjectiveImproves) {
    Draw(kTriangle);
    const QPoint centre(300, 200);
    double nearest = 1e9, farthest = 0;
    QPoint tip;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x) {
            if (image.pixel(x, y) != kHighlight) continue;
            const double d = std::hypot(x - centre.x(), y - centre.y());
            nearest = std::min(nearest, d);
            if (d > farthest) farthest = d, tip = QPoint(x, y);
        }
    EXPECT_LE(nearest, 1.0);
    // (3, 2) seen at the window's scale: 600 / 6.8 pixels per unit across,
    // 400 / 4.8 up; a third of the picture for the length of the unit vector.
    const double px = 3 * 600 / 6.8, py = 2 * 400 / 4.8;
    const double angle = std::atan2(py, px);
    EXPECT_NEAR(std::atan2(centre.y() - tip.y(), tip.x() - centre.x()), angle, 0.03);
    EXPECT_GT(farthest, 120);
    EXPECT_LT(farthest, 600.0 / 3);
}

TEST_F(Plane, ArrowStraightUpEndsInASymmetricHead) {
    // (0, 1): a third of the picture height up from the centre, to row 66.
    Draw(kTriangle, Column({0, 1}));
    int top = 400, previous = 0;
    for (int y = 0; y < 400; ++y)
        if (image.pixel(300, y) == kHighlight) top = std::min(top, y);
    EXPECT_NEAR(top, 66, 1);
    for (int y = top + 2; y <= top + 14; y += 3) {
        int left = 999, right = -1;
        for (int x = 280; x <= 320; ++x)
            if (image.pixel(x, y) == kHighlight) left = std::min(left, x), right = std::max(right, x);
        ASSERT_GE(right, left) << y;
        EXPECT_LE(std::abs(left + right - 600), 2) << y;
        EXPECT_GE(right - left, previous) << y;
        previous = right - left;
    }
    EXPECT_GE(previous, 4);
}

TEST_F(Plane, BoundAboveShadesAboveAndBoundBelowShadesBelow) {
    // One line meets nothing: the first window is -1..1 both ways; y = 0.5
    // is then pixel row 100.
    Draw(Rows({{0, 1, -0.5}}));
    ExpectWindow(state, -1, 1, -1, 1);
    EXPECT_EQ(At(0, 0.8), kLight);
    EXPECT_EQ(At(0, -0.3), kDark);
    EXPECT_EQ(image.pixel(300, 100), kText);

    PlotState fresh;
    state = fresh;
    Draw(Rows({{0, -1, 0.5}}));
    EXPECT_EQ(At(0, 0.8), kDark);
    EXPECT_EQ(At(0, -0.3), kLight);
}

TEST_F(Plane, VerticalAndDiagonalLinesShadeTheViolatedSide) {
    Draw(Rows({{1, 0, -0.5}}));  // x <= 0.5
    EXPECT_EQ(At(0.8, 0), kLight);
    EXPECT_EQ(At(0.2, 0), kDark);
    EXPECT_EQ(At(-0.9, 0.9), kDark);
    state = PlotState();
    Draw(Rows({{1, -1, 0}}));  // x <= y
    EXPECT_EQ(At(0.5, -0.5), kLight);
    EXPECT_EQ(At(-0.5, 0.5), kDark);
}

TEST_F(Plane, EqualityLeavesOnlyItsLine) {
    Draw(Rows({{-1, 0, 0}, {0, -1, 0}, {1, 1, -4}, {-1, -1, 4}}));
    EXPECT_EQ(Count(image, kDark), 0);
    EXPECT_EQ(Count(image, kBlank), 0);
    for (double x : {0.5, 2.0, 3.5}) EXPECT_TRUE(Near(image, PixelAt(state, x, 4 - x, 600, 400), kText)) << x;
}

TEST_F(Plane, SingleLineReusesAndWidensThePreviousWindow) {
    Draw(kTriangle);
    Draw(Rows({{0, 1, -3}}));
    // Margins of 0.68 and 0.48, then 0.2 more on each side across.
    ExpectWindow(state, -2.28, 6.28, -0.88, 4.88);
    Draw(Rows({{0, 1, -3}}));
    EXPECT_LT(state.PlotXMin, -2.28 - 0.8);
    EXPECT_GT(state.PlotYMax, 4.88 + 0.5);
}

TEST_F(Plane, MarkerSitsOnTheSolutionAndHidesOnOrOutsideTheBorder) {
    state.SolutionPoint[0] = 4;
    state.SolutionPoint[1] = 0;
    Draw(kTriangle, Column({3, 2}), 10, 20);
    ASSERT_TRUE(marker.visible);
    EXPECT_EQ(marker.left, 484);  // trunc(10 + 600 * 5.4 / 6.8 - 2)
    EXPECT_EQ(marker.top, 384);   // trunc(20 + 400 * 4.4 / 4.8 - 2)

    state.SolutionPoint[0] = state.PlotXMax;
    state.SolutionPoint[1] = 1;
    Draw(kTriangle);
    EXPECT_FALSE(marker.visible);
    state.SolutionPoint[0] = 1;
    state.SolutionPoint[1] = state.PlotYMin;
    Draw(kTriangle);
    EXPECT_FALSE(marker.visible);
    state.SolutionPoint[1] = 40;
    Draw(kTriangle);
    EXPECT_FALSE(marker.visible);
    state.SolutionPoint[1] = 1;
    Draw(kTriangle);
    EXPECT_TRUE(marker.visible);
}

TEST_F(Plane, RowsWithoutVariablesDrawNoLine) {
    Draw(kTriangle);
    const QImage base = image;
    state = PlotState();
    Draw(Rows({{-1, 0, 0}, {0, -1, 0}, {0, 0, -5}, {1, 1, -4}}));
    EXPECT_EQ(image, base);  // always true: changes nothing

    state = PlotState();
    Draw(Rows({{-1, 0, 0}, {0, -1, 0}, {0, 0, 5}, {1, 1, -4}}));
    EXPECT_EQ(Count(image, kDark), 0);  // never true: nothing stays dark
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x) {
            const QRgb was = base.pixel(x, y);
            ASSERT_EQ(image.pixel(x, y), was == kDark ? kLight : was) << x << "," << y;
        }
}

TEST_F(Plane, ObjectiveWithoutDirectionDrawsNoArrow) {
    Draw(kTriangle, Column({0, 0}));
    EXPECT_EQ(Count(image, kHighlight), 0);
    Draw(kTriangle, Column({0, -1}));
    EXPECT_GT(Count(image, kHighlight), 50);
}

TEST_F(Plane, LineFarOutsideATinyWindowChangesNothing) {
    // A tiny triangle leaves a window some 1e-12 wide; the parallel rows that
    // follow meet nowhere and reuse it, so y = 1e6 lies ~1e20 pixels away.
    const MatrixR tiny = Rows({{-1, 0, 0}, {0, -1, 0}, {1, 1, -1e-12}});
    Draw(tiny);
    Draw(Rows({{0, -1, 0}}));
    const QImage alone = image;
    state = PlotState();
    Draw(tiny);
    Draw(Rows({{0, -1, 0}, {0, 1, -1e6}, {0, -1, -1e6}}));
    EXPECT_EQ(image, alone);
    EXPECT_GT(Count(image, kDark), 1000);
    EXPECT_GT(Count(image, kLight), 1000);
}

} // namespace
} // namespace optimara
