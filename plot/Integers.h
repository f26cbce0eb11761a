// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Integer points over the region pictures, for problems solved by branch
// and bound: the lattice points (or, for a problem with some continuous
// variables, the segments) inside the typed region, found in problem
// coordinates without any painting; and a transparent layer that shows
// them with the current node's bound lines and the best integer point.
#include <QColor>
#include <QImage>
#include <QSize>
#include <array>
#include <vector>

#include "MatrixR.h"
#include "Plot.h"

namespace optimara {

using Point3 = std::array<double, 3>;  // the third value is 0 in the plane

// An axis-parallel box of problem space; in the plane only the first two
// coordinates count.
struct SpaceBox {
    Point3 lo{0, 0, 0};
    Point3 hi{0, 0, 0};
};

// More marks than this make a picture too dense to read: none is listed.
inline constexpr size_t kMaxIntegerMarks = 5000;
// Lines of the lattice walked across the box before the listing gives up
// (a huge box with a thin region inside it).
inline constexpr double kMaxLatticeColumns = 200000;

struct MarkSegment {
    Point3 from, to;
};

struct IntegerMarks {
    enum class Outcome {
        Listed,     // points and segments hold every mark (maybe none: no integer point)
        TooDense,   // more than kMaxIntegerMarks, or too large a box to walk: none listed
        NotMarked,  // no integer coordinate, two continuous ones in space, no picture, or more rows
                    // than a picture draws one by one
    };
    Outcome outcome = Outcome::NotMarked;
    // Every point whose integer coordinates are whole and that satisfies
    // every row (a1 x + a2 y (+ a3 z) + c <= 0, up to 1e-9 of the size of
    // the row's terms), in lexicographic order of the coordinates.
    std::vector<Point3> points;
    // With one continuous coordinate: for each whole value of the others,
    // the stretch of that coordinate inside the region (from <= to).
    std::vector<MarkSegment> segments;
    // Where the marks were sought: the box of the region's feasible
    // vertices when the region is bounded, the shown box otherwise; set
    // whatever the outcome (the cuts are drawn within it), zero for an
    // empty region.
    SpaceBox box;
};

// The part of problem space the picture shows, for an unbounded region: in
// the plane the plot window; in space the box of all meeting points of
// three planes, widened by a tenth on each side (a zero extent by 1), or,
// with no meeting point, the cube as large as the plot window.
SpaceBox ShownBox(const PlotState& state, const MatrixR& planes, int variables);

// The box to seek marks in (see IntegerMarks::box); false when the region
// is bounded without a feasible vertex, that is empty.
bool MarkBox(const MatrixR& planes, int variables, const SpaceBox& shown, SpaceBox& box);

// The marks of the region of `planes` (2 or 3 variables, columns as the
// plots read them), `integer` telling for each coordinate whether it is an
// integer variable. In the plane one continuous coordinate gives segments;
// in space one continuous coordinate gives segments along it and two give
// nothing.
IntegerMarks ListIntegerMarks(const MatrixR& planes, int variables, const std::array<bool, 3>& integer,
                              const SpaceBox& shown);

// The outline of the cut of the plane (axis = value) through the region of
// three-variable `planes` within `box`, corners in turn order; empty when
// the plane misses it, one or two corners when it only touches it.
std::vector<Point3> CutOutline(const MatrixR& planes, int axis, double value, const SpaceBox& box);
// The same for any plane normal·X + constant = 0.
std::vector<Point3> PlaneOutline(const MatrixR& planes, const Point3& normal, double constant, const SpaceBox& box);

// A bound line of a branch-and-bound node: «x<2» is {0, 2, true}, «y>3»
// {1, 3, false}; the axis counts the plotted coordinates from 0.
struct CutLine {
    int axis = 0;
    double value = 0;
    bool upper = true;  // shown alike either way: the picture draws where the cut lies
};

// A blue that reads on both greys of the picture and is unlike the road's
// red and the objective arrow; a green for the best integer point.
inline const QColor kCutBlue(30, 70, 220);
inline const QColor kBestGreen(0, 140, 40);
// The cutting planes' own colour, apart from the bounds' blue and the road.
inline const QColor kCutMagenta(200, 0, 160);

struct IntegerColours {
    QColor marks;                // dots and segments: the picture's window text
    QColor cuts = kCutBlue;      // the node's bound lines
    QColor best = kBestGreen;    // the best integer point
};

struct IntegerOverlay {
    const MatrixR& planes;           // the typed problem's rows: the first region
    const IntegerMarks& marks;       // ListIntegerMarks of those rows
    const std::vector<CutLine>& cuts;  // the current node's bound lines
    const Point3* best = nullptr;    // the best integer point so far, if any
};

// A layer as large as the picture, transparent but for, in this order: the
// node's bound lines, dashed (in the plane the line across the picture; in
// space the outline of the plane's cut through the first region, projected
// by the view), lineWidth wide; the segments, lineWidth wide; a square dot
// dotSize pixels wide (odd) on each integer point; and the best point as a
// square dotSize + 4 wide. The cuts lie under the dots so that the points
// on a bound line stay visible. Empty for other than 2 or 3 variables.
// A cutting plane normal·X + constant <= 0 of a three-variable problem.
struct PlaneCut {
    Point3 normal{0, 0, 0};
    double constant = 0;
};

// Each plane's outline through the region of three-variable `planes`
// (within its vertices' box, or the shown box when unbounded), dashed, on
// the layer; nothing for an empty region.
void DrawPlaneCuts(QImage& layer, const PlotState& state, const MatrixR& planes, const std::vector<PlaneCut>& cuts,
                   const QColor& colour, int lineWidth = 1);

QImage IntegerLayer(const PlotState& state, int variables, const IntegerOverlay& overlay, QSize size,
                    const IntegerColours& colours, int lineWidth = 1, int dotSize = 3);

} // namespace optimara
