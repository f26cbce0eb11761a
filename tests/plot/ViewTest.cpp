// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "plot/PictureHelpers.h"

namespace optimara {
namespace {

using plottest::kTurns;
using plottest::Rotate;
using plottest::Rows;

const double h = std::sqrt(3.0) * 0.5;
const double c = std::cos(0.17453292519943295), s = std::sin(0.17453292519943295);

void ExpectNear(const MatrixR& a, const MatrixR& b, double tolerance) {
    ASSERT_EQ(a.rows, b.rows);
    ASSERT_EQ(a.cols, b.cols);
    for (uint32_t i = 1; i <= a.rows; ++i)
        for (uint32_t j = 1; j <= a.cols; ++j) EXPECT_NEAR(a.Index(i, j), b.Index(i, j), tolerance) << i << "," << j;
}

TEST(View, DefaultLooksDownTheDiagonalWithX3Up) {
    PlotState state;
    SetDefaultView(state);
    const MatrixR& P = state.ViewProjection;
    EXPECT_EQ(P.Index(1, 1), -0.8660254037844386);
    EXPECT_EQ(P.Index(1, 2), 0.8660254037844386);
    EXPECT_EQ(P.Index(1, 3), 0);
    EXPECT_EQ(P.Index(2, 1), -0.5);
    EXPECT_EQ(P.Index(2, 2), -0.5);
    EXPECT_EQ(P.Index(2, 3), 1);
}

// Each turn multiplies the view from the right by its matrix; starting from
// a view whose columns are told apart, the product shows the table.
TEST(View, EachTurnIsAboutItsAxisInItsSense) {
    const MatrixR start = Rows({{1, 2, 3}, {4, 5, 6}});
    const MatrixR turns[6] = {
        Rows({{c, s, 0}, {-s, c, 0}, {0, 0, 1}}), Rows({{c, -s, 0}, {s, c, 0}, {0, 0, 1}}),
        Rows({{c, 0, s}, {0, 1, 0}, {-s, 0, c}}), Rows({{c, 0, -s}, {0, 1, 0}, {s, 0, c}}),
        Rows({{1, 0, 0}, {0, c, s}, {0, -s, c}}), Rows({{1, 0, 0}, {0, c, -s}, {0, s, c}}),
    };
    for (int t = 0; t < 6; ++t) {
        PlotState state;
        state.ViewProjection = start;
        RotateView(state, kTurns[t].axis, kTurns[t].direction);
        const MatrixR& R = turns[t];
        MatrixR expected(2, 3);
        for (uint32_t i = 1; i <= 2; ++i)
            for (uint32_t k = 1; k <= 3; ++k)
                for (uint32_t j = 1; j <= 3; ++j) expected.Index(i, k) += start.Index(i, j) * R.Index(j, k);
        SCOPED_TRACE(t);
        ExpectNear(state.ViewProjection, expected, 1e-15);
    }
}

TEST(View, TurningForthAndBackReturnsUpToRounding) {
    PlotState state, reference;
    SetDefaultView(state);
    SetDefaultView(reference);
    for (auto [axis, forth] : {std::pair{Axis::Z, +1}, {Axis::Y, -1}, {Axis::X, +1}}) {
        RotateView(state, axis, forth);
        RotateView(state, axis, -forth);
        ExpectNear(state.ViewProjection, reference.ViewProjection, 1e-15);
    }
}

TEST(View, ThirtySixPressesTurnOnceRoundAndEighteenHalfway) {
    PlotState state, reference;
    SetDefaultView(state);
    SetDefaultView(reference);
    for (int n = 0; n < 18; ++n) RotateView(state, Axis::Z, +1);
    // Half a turn about x3 reverses the x1 and x2 directions.
    MatrixR half = reference.ViewProjection;
    for (uint32_t i = 1; i <= 2; ++i)
        for (uint32_t j = 1; j <= 2; ++j) half.Index(i, j) = -half.Index(i, j);
    ExpectNear(state.ViewProjection, half, 1e-13);
    for (int n = 0; n < 18; ++n) RotateView(state, Axis::Z, +1);
    ExpectNear(state.ViewProjection, reference.ViewProjection, 1e-13);
    for (int n = 0; n < 36; ++n) RotateView(state, Axis::X, +1);
    ExpectNear(state.ViewProjection, reference.ViewProjection, 1e-13);
}

TEST(View, ResetRestoresTheDefaultExactly) {
    PlotState state, reference;
    SetDefaultView(reference);
    SetDefaultView(state);
    for (int n = 0; n < 25; ++n) Rotate(state, {kTurns[n % 6]});
    EXPECT_NE(state.ViewProjection.Index(1, 1), reference.ViewProjection.Index(1, 1));
    SetDefaultView(state);
    for (uint32_t i = 1; i <= 2; ++i)
        for (uint32_t j = 1; j <= 3; ++j) EXPECT_EQ(state.ViewProjection.Index(i, j), reference.ViewProjection.Index(i, j));
    EXPECT_EQ(state.ViewProjection.rows, 2u);
    EXPECT_EQ(state.ViewProjection.cols, 3u);
}

TEST(View, OtherDirectionsLeaveTheViewAlone) {
    PlotState state;
    SetDefaultView(state);
    const MatrixR before = state.ViewProjection;
    for (Axis axis : {Axis::X, Axis::Y, Axis::Z})
        for (int direction : {0, 2, -2, 10, -3}) RotateView(state, axis, direction);
    ExpectNear(state.ViewProjection, before, 0);
}

TEST(Marker, StrictlyInsideTheWindowOnly) {
    PlotState state;
    state.PlotXMin = -1;
    state.PlotXMax = 3;
    state.PlotYMin = 0;
    state.PlotYMax = 2;
    QImage image(400, 200, QImage::Format_RGB32);
    const PlotTarget target{&image, 7, 9};
    Marker marker;
    PlaceMarker(state, 1, 1, target, marker);
    ASSERT_TRUE(marker.visible);
    EXPECT_EQ(marker.left, 205);  // 7 + 400 * 2 / 4 - 2
    EXPECT_EQ(marker.top, 107);   // 9 + 200 * 1 / 2 - 2
    PlaceMarker(state, -0.99, 1.99, target, marker);
    ASSERT_TRUE(marker.visible);
    EXPECT_EQ(marker.left, 6);  // trunc(7 + 1 - 2)
    EXPECT_EQ(marker.top, 8);       // trunc(9 + 1 - 2)
    for (auto [u, v] : {std::pair{-1.0, 1.0}, {3.0, 1.0}, {1.0, 0.0}, {1.0, 2.0}, {5.0, 1.0}, {1.0, -4.0}}) {
        marker.visible = true;
        PlaceMarker(state, u, v, target, marker);
        EXPECT_FALSE(marker.visible) << u << "," << v;
    }
}

TEST(Marker, SolutionPointByTheNumberOfVariables) {
    PlotState state;
    SetDefaultView(state);
    state.PlotXMin = -2;
    state.PlotXMax = 2;
    state.PlotYMin = -2;
    state.PlotYMax = 2;
    state.SolutionPoint[0] = 1;
    state.SolutionPoint[1] = 0.5;
    state.SolutionPoint[2] = 1.5;
    const PictureFrame frame{10, 20, 400, 200};
    const struct {
        int variables;
        int left, top;  // before truncation: frame + 400 (u + 2) / 4 - 2, 20 + 200 (2 - v) / 4 - 2
    } cases[] = {
        {2, 10 + 300 - 2, 20 + 75 - 2},  // (x1, x2) = (1, 0.5)
        // u = h (x2 - x1) = -h / 2, v = x3 - (x1 + x2) / 2 = 0.75
        {3, static_cast<int>(10 + 100 * (2 - h / 2) - 2), static_cast<int>(20 + 50 * 1.25 - 2)},
    };
    for (const auto& c : cases) {
        Marker marker;
        PlaceSolutionMarker(state, c.variables, frame, marker);
        EXPECT_TRUE(marker.visible) << c.variables;
        EXPECT_EQ(marker.left, c.left) << c.variables;
        EXPECT_EQ(marker.top, c.top) << c.variables;
    }
    // Other counts leave the marker as it was.
    for (int variables : {0, 1, 4, 7}) {
        Marker marker{true, 3, 4};
        PlaceSolutionMarker(state, variables, frame, marker);
        EXPECT_TRUE(marker.visible);
        EXPECT_EQ(marker.left, 3);
        EXPECT_EQ(marker.top, 4);
    }
}

} // namespace
} // namespace optimara
