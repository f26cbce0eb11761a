// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The plane picture of a two-variable problem and the fitting of the plot
// window to a picture, which the space picture uses as well.
#include "Canvas.h"
#include "MatrixR.h"
#include "Plot.h"

namespace optimara {

// Widens the plot window by a tenth on each side, then towards the
// picture's proportions (amounts from the unwidened ranges), and opens an
// empty range to a width of 2.
void FitPlotWindow(PlotState& state, int W, int H);

// Sets the plot window to the box of all meeting points of two rows
// (a, b, c); false, window untouched, when no two rows meet.
bool WindowFromMeetingPoints(const MatrixR& planes, PlotState& state);

// The line a x + b y + c = 0 across the window in normalised coordinates:
// at the bottom and top edges when |a| >= |b|, else at the left and right
// edges. False for a row without a line (a = b = 0).
struct RowSegment {
    double s1, t1, s2, t2;
};
bool SegmentOfRow(const PlotState& state, double a, double b, double c, RowSegment& segment);

// The polygon over the side of the row's line where a x + b y + c > 0, in
// pixels before truncation; empty when the row has no line.
std::vector<PixelD> ViolatedSide(const PlotState& state, double a, double b, double c, int W, int H);

// Instead of a picture that cannot be drawn readably: the button face with
// the note in the middle, and no marker.
void DrawTooMany(const PlotInput& in, const PlotTarget& target, Marker& marker, const QString& note);

// Background, plot window, shading, lines, objective arrow and marker. More
// than kReadableLines rows: only the rows on the region's border, or a note.
void DrawRegion2D(PlotState& state, const PlotInput& input, const PlotTarget& target, Marker& marker);

} // namespace optimara
