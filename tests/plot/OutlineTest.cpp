// SPDX-License-Identifier: GPL-3.0-or-later
// The border rows of a plane region against a plain reference (each line
// cut by every other row into the stretch that is feasible), and the
// picture of thousands of lines: the border only, or a note.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cmath>
#include <random>

#include "Integers.h"
#include "Outline.h"
#include "Region2D.h"
#include "plot/PictureHelpers.h"

namespace optimara {
namespace {

using namespace plottest;

// Rows whose line keeps a feasible stretch longer than `least` inside the
// square: the interval of t along the line where every other row holds.
std::vector<uint32_t> ReferenceBorder(const MatrixR& R, double bound, double least) {
    std::vector<uint32_t> rows;
    for (uint32_t i = 1; i <= R.rows; ++i) {
        const double a = R.Index(i, 1), b = R.Index(i, 2), c = R.Index(i, 3), n2 = a * a + b * b;
        const double px = -c * a / n2, py = -c * b / n2, dx = -b, dy = a;
        double lo = -1e300, hi = 1e300;
        auto cut = [&](double ra, double rb, double rc) {
            const double slope = ra * dx + rb * dy, at = ra * px + rb * py + rc;  // at + slope t <= 0
            if (std::fabs(slope) < 1e-14) {
                if (at > 1e-9) hi = lo - 1;
                return;
            }
            if (slope > 0) hi = std::min(hi, -at / slope);
            else lo = std::max(lo, -at / slope);
        };
        for (uint32_t k = 1; k <= R.rows; ++k)
            if (k != i) cut(R.Index(k, 1), R.Index(k, 2), R.Index(k, 3));
        cut(1, 0, -bound), cut(-1, 0, -bound), cut(0, 1, -bound), cut(0, -1, -bound);
        if ((hi - lo) * std::sqrt(n2) > least) rows.push_back(i);
    }
    return rows;
}

// Tangents of the circle of radius 10 about (20, 20), the circle's inside
// feasible, in random order, with as many lines that cut nothing.
MatrixR Tangents(uint32_t tangents, uint32_t loose, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> angle(0, 2 * M_PI), far(11, 30);
    MatrixR R(tangents + loose, 3);
    for (uint32_t i = 1; i <= R.rows; ++i) {
        const double t = angle(random), r = i <= tangents ? 10 : far(random);
        const double a = std::cos(t), b = std::sin(t);
        R.Index(i, 1) = a;
        R.Index(i, 2) = b;
        R.Index(i, 3) = -(a * 20 + b * 20 + r);
    }
    return R;
}

TEST(BoundingRows, AgreeWithEachLinesFeasibleStretch) {
    struct Case {
        const char* what;
        MatrixR rows;
    };
    const Case cases[] = {
        {"the worked example", Rows({{1, 1, -4}, {1, 3, -6}, {-1, 0, 0}, {0, -1, 0}})},
        {"unbounded, one loose row", Rows({{-1, 0, 0}, {0, -1, 0}, {-1, -1, 1}, {-1, -1, -5}})},
        {"parallel copies further out", Rows({{1, 1, -4}, {2, 2, -9}, {1, 1, -9}, {-1, 0, 0}, {0, -1, 0}})},
        {"tangents and loose lines", Tangents(60, 300, 3)},
        {"tangents only", Tangents(500, 0, 4)},
    };
    for (const Case& c : cases) {
        const double bound = OutlineBound(c.rows);
        EXPECT_EQ(BoundingRows(c.rows, bound), ReferenceBorder(c.rows, bound, 1e-6)) << c.what;
    }
}

TEST(BoundingRows, EmptyRegionsHaveNoBorder) {
    EXPECT_TRUE(BoundingRows(Rows({{1, 0, 1}, {-1, 0, 0}}), 1000).empty());   // x <= -1, x >= 0
    EXPECT_TRUE(BoundingRows(Rows({{1, 1, -4}, {0, 0, 1}}), 1000).empty());  // 1 <= 0
}

// Thousands of lines, four of them on the border: the picture is the one
// of those four alone.
TEST(DrawRegion2D, ManyLinesShowTheBorderLinesOnly) {
    MatrixR many(10000, 3);
    for (uint32_t i = 1; i <= many.rows; ++i) {
        // x + y <= 4 + i / 100 and y <= 5 + i: loose copies of the border.
        many.Index(i, 1) = i % 2 ? 1 : 0;
        many.Index(i, 2) = 1;
        many.Index(i, 3) = -(4.0 + i / 100.0);
    }
    const MatrixR border = Rows({{1, 1, -4}, {1, 3, -6}, {-1, 0, 0}, {0, -1, 0}});
    for (uint32_t i = 1; i <= 4; ++i)
        for (uint32_t j = 1; j <= 3; ++j) many.Index(i * 1000, j) = border.Index(i, j);
    const MatrixR g = Column({3, 2});
    QImage whole(300, 200, QImage::Format_RGB32), few(300, 200, QImage::Format_RGB32);
    PlotState s1, s2;
    Marker m1, m2;
    DrawRegion2D(s1, {many, g, false, kColors}, {&whole, 0, 0}, m1);
    DrawRegion2D(s2, {border, g, false, kColors}, {&few, 0, 0}, m2);
    EXPECT_EQ(whole, few);
    EXPECT_EQ(s1.PlotXMin, s2.PlotXMin);
    EXPECT_EQ(s1.PlotYMax, s2.PlotYMax);
}

// The note's text needs the fonts of a running application.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_plot";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() == nullptr) new QGuiApplication(argc, argv);
}

// Lines that all bound the region: a note on the button face, no marker.
TEST(DrawRegion2D, TooManyBorderLinesGiveANote) {
    EnsureApplication();
    QImage image(300, 200, QImage::Format_RGB32);
    PlotState s;
    Marker marker{true, 1, 1};
    DrawRegion2D(s, {Tangents(20000, 0, 5), Column({1, 1}), false, kColors}, {&image, 0, 0}, marker);
    EXPECT_FALSE(marker.visible);
    int text = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) text += image.pixel(x, y) != kLight;
    EXPECT_GT(text, 50) << "the note is written on the button face";
    EXPECT_LT(text, 300 * 200 / 4);
}

// No integer points are sought among more rows than a picture draws: the
// search meets every pair of them.
TEST(ListIntegerMarks, PastTheReadableCountNothingIsMarked) {
    for (const uint32_t count : {kReadableLines, kReadableLines + 1}) {
        MatrixR R(count, 3);
        for (uint32_t i = 1; i <= count; ++i) {
            R.Index(i, 1) = 1;  // x <= 3 + i / 1000
            R.Index(i, 3) = -(3 + i / 1000.0);
        }
        R.Index(1, 1) = -1, R.Index(1, 3) = 0;  // x >= 0
        R.Index(2, 1) = 0, R.Index(2, 2) = -1, R.Index(2, 3) = 0;  // y >= 0
        R.Index(3, 1) = 0, R.Index(3, 2) = 1, R.Index(3, 3) = -2;  // y <= 2
        const IntegerMarks marks = ListIntegerMarks(R, 2, {true, true, false}, SpaceBox{});
        EXPECT_EQ(marks.outcome, count > kReadableLines ? IntegerMarks::Outcome::NotMarked
                                                        : IntegerMarks::Outcome::Listed);
        EXPECT_EQ(marks.points.size(), count > kReadableLines ? 0u : 12u);
    }
}

} // namespace
} // namespace optimara
