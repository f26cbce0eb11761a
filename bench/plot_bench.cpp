// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing times of the region pictures on a 600x400 image.
// Run offscreen: QT_QPA_PLATFORM=offscreen bench_plot
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <random>

#include "Integers.h"
#include "Plot.h"
#include "Region2D.h"
#include "Region3D.h"

namespace {

using optimara::MatrixR;

const optimara::PlotColors kColors{QColor(240, 240, 240), QColor(160, 160, 160), QColor(0, 0, 0),
                                   QColor(0, 120, 215)};

// Sign rows for every variable, then random rows a.x <= b with positive
// coefficients: a bounded region cut by planes in general position, so
// every triple of rows meets in a point.
MatrixR RandomRows(uint32_t variables, uint32_t rows, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coefficient(0.5, 5.0), bound(10.0, 50.0);
    MatrixR R(rows, variables + 1);
    for (uint32_t r = 1; r <= rows; ++r) {
        if (r <= variables) {
            R.Index(r, r) = -1;
            continue;
        }
        for (uint32_t v = 1; v <= variables; ++v) R.Index(r, v) = coefficient(random);
        R.Index(r, variables + 1) = -bound(random);
    }
    return R;
}

// A box sliced by planes parallel to its faces: many vertices spread evenly
// over the picture, so the edge lines do not collapse onto few pixels.
MatrixR SlicedBox(uint32_t rows) {
    MatrixR R(rows, 4);
    for (uint32_t r = 1; r <= rows; ++r) {
        const uint32_t axis = (r - 1) % 3 + 1;
        R.Index(r, axis) = 1;
        R.Index(r, 4) = -static_cast<double>((r - 1) / 3);
    }
    return R;
}

MatrixR Objective(uint32_t variables) {
    MatrixR g(variables, 1);
    for (uint32_t v = 1; v <= variables; ++v) g.Index(v, 1) = v;
    return g;
}

void Draw3D(benchmark::State& bench, const MatrixR& planes) {
    optimara::PlotState state;
    optimara::SetDefaultView(state);
    const MatrixR g = Objective(3);
    QImage image(600, 400, QImage::Format_RGB32);
    optimara::Marker marker;
    for (auto _ : bench) {
        optimara::DrawRegion3D(state, {planes, g, true, kColors}, {&image, 0, 0}, marker);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_DrawRegion3D_Random(benchmark::State& bench) {
    Draw3D(bench, RandomRows(3, static_cast<uint32_t>(bench.range(0)), 7));
}
BENCHMARK(BM_DrawRegion3D_Random)->Arg(10)->Arg(20)->Arg(40)->Arg(60)->Unit(benchmark::kMillisecond);

void BM_DrawRegion3D_SlicedBox(benchmark::State& bench) {
    Draw3D(bench, SlicedBox(static_cast<uint32_t>(bench.range(0))));
}
BENCHMARK(BM_DrawRegion3D_SlicedBox)->Arg(10)->Arg(20)->Arg(40)->Arg(60)->Unit(benchmark::kMillisecond);

// The plain walk over every vertex and triple, for comparison.
void BM_DrawRegion3D_Exhaustive(benchmark::State& bench) {
    optimara::PlotState state;
    optimara::SetDefaultView(state);
    const MatrixR planes = RandomRows(3, static_cast<uint32_t>(bench.range(0)), 7), g = Objective(3);
    QImage image(600, 400, QImage::Format_RGB32);
    optimara::Marker marker;
    for (auto _ : bench) {
        optimara::DrawRegion3D(state, {planes, g, true, kColors}, {&image, 0, 0}, marker,
                               optimara::EdgeWalk::Exhaustive);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DrawRegion3D_Exhaustive)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);

// The plane picture of these rows on a 600x400 picture, once per iteration.
void DrawPlane(benchmark::State& bench, const MatrixR& planes) {
    const MatrixR g = Objective(2);
    optimara::PlotState state;
    QImage image(600, 400, QImage::Format_RGB32);
    optimara::Marker marker;
    for (auto _ : bench) {
        optimara::DrawRegion2D(state, {planes, g, false, kColors}, {&image, 0, 0}, marker);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_DrawRegion2D(benchmark::State& bench) {
    DrawPlane(bench, RandomRows(2, static_cast<uint32_t>(bench.range(0)), 11));
}
BENCHMARK(BM_DrawRegion2D)->Arg(100)->Arg(200)->Arg(10000)->Unit(benchmark::kMillisecond);

// Tangents of a circle, every one of them on the region's border: past the
// readable count the picture is a note, found in O(m log m).
MatrixR Tangents(uint32_t rows) {
    MatrixR R(rows, 3);
    for (uint32_t r = 1; r <= rows; ++r) {
        const double t = 2 * M_PI * r / rows, a = std::cos(t), b = std::sin(t);
        R.Index(r, 1) = a;
        R.Index(r, 2) = b;
        R.Index(r, 3) = -(20 * a + 20 * b + 10);
    }
    return R;
}

void BM_DrawRegion2D_AllOnBorder(benchmark::State& bench) {
    DrawPlane(bench, Tangents(static_cast<uint32_t>(bench.range(0))));
}
BENCHMARK(BM_DrawRegion2D_AllOnBorder)->Arg(200)->Arg(10000)->Arg(115000)->Unit(benchmark::kMillisecond);

// The integer points of x + y <= 19, x, y >= 0 (210 of them) on a 400x300
// picture, with one bound line and the best point.
struct IntegerPicture {
    MatrixR planes{3, 3};
    optimara::PlotState state;
    IntegerPicture() {
        const double rows[3][3] = {{1, 1, -19}, {-1, 0, 0}, {0, -1, 0}};
        for (uint32_t i = 1; i <= 3; ++i)
            for (uint32_t j = 1; j <= 3; ++j) planes.Index(i, j) = rows[i - 1][j - 1];
        optimara::WindowFromMeetingPoints(planes, state);
        optimara::FitPlotWindow(state, 400, 300);
    }
    optimara::IntegerMarks Marks() const {
        return optimara::ListIntegerMarks(planes, 2, {true, true}, optimara::ShownBox(state, planes, 2));
    }
};

void BM_ListIntegerMarks2D(benchmark::State& bench) {
    const IntegerPicture picture;
    for (auto _ : bench) benchmark::DoNotOptimize(picture.Marks().points.data());
}
BENCHMARK(BM_ListIntegerMarks2D)->Unit(benchmark::kMicrosecond);

void BM_IntegerLayer2D(benchmark::State& bench) {
    const IntegerPicture picture;
    const optimara::IntegerMarks marks = picture.Marks();
    const std::vector<optimara::CutLine> cuts{{0, 7, true}};
    const optimara::Point3 best{19, 0, 0};
    for (auto _ : bench) {
        const QImage layer = optimara::IntegerLayer(picture.state, 2, {picture.planes, marks, cuts, &best},
                                                    QSize(400, 300), {kColors.windowText});
        benchmark::DoNotOptimize(layer.constBits());
    }
}
BENCHMARK(BM_IntegerLayer2D)->Unit(benchmark::kMicrosecond);

} // namespace

// The notes of pictures that cannot be drawn are text: they need fonts.
int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
