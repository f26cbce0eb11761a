// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Entry of the feasible-region plot: the view, the plot window and the
// drawing of the region into a picture. No widgets here: the caller passes
// the picture as an image together with its place on the form.
#include <QColor>
#include <QImage>

#include "MatrixR.h"

namespace optimara {

// The desktop's named colours the pictures use, taken from the palette.
struct PlotColors {
    QColor btnFace;
    QColor btnShadow;
    QColor windowText;
    QColor highlight;
};

// Program-wide plot state: the projection of the 3D view, the rectangle of
// the picture plane the picture shows, and the current basic solution.
struct PlotState {
    MatrixR ViewProjection{2, 3};
    double PlotXMin = 0, PlotYMin = 0, PlotXMax = 0, PlotYMax = 0;
    double SolutionPoint[3] = {0, 0, 0};
};

// A picture to draw on and where it stands on the form (for the marker).
struct PlotTarget {
    QImage* image;
    int left;
    int top;
};

// The 5x5 marker over the current vertex.
struct Marker {
    bool visible = false;
    int left = 0;
    int top = 0;
};

struct PlotInput {
    const MatrixR& constraintPlanes;
    const MatrixR& objectiveVector;
    bool showAxes;  // draw the coordinate axes of the space picture
    PlotColors colors;
    int lineWidth = 1;  // of the region's edges, the axes and the objective line, in pixels
};

enum class PlotKind { None, Plane, Space };

// The axes of problem space a view turns about: X is x1, Y x2, Z x3.
enum class Axis { X, Y, Z };

// The default view: x1 down to the left, x2 down to the right, x3 up.
void SetDefaultView(PlotState& state);
// Turns the figure by one rotation step (10 degrees) about `axis`, in the
// positive sense for direction +1 and the negative one for -1; any other
// direction leaves the view alone.
void RotateView(PlotState& state, Axis axis, int direction);

// Chooses the plane or the space plot by the width of the constraint planes,
// draws it and tells which: only a space plot has a view to turn. The marker
// is changed only by a plot that places it.
PlotKind DrawPlot(PlotState& state, const PlotInput& input, PlotTarget target, Marker& marker);

// Where a picture stands on the form and its size in pixels.
struct PictureFrame {
    int left;
    int top;
    int width;
    int height;
};
inline PictureFrame FrameOf(const PlotTarget& target) {
    return {target.left, target.top, target.image->width(), target.image->height()};
}

// Where the picture-plane point (u, v) falls in a picture W or H pixels
// wide or high, before truncation: the marker's centre and the road's
// vertices are placed by these.
double PictureX(const PlotState& state, double u, int W);
double PictureY(const PlotState& state, double v, int H);
// The picture-plane point of a problem point: its first two values in a
// problem of two variables, their projection by the view in one of three;
// false for any other count.
bool PicturePlanePoint(const PlotState& state, int variables, const double point[3], double& u, double& v);

// Places the marker over the picture-plane point (u, v); hidden on or
// outside the border of the plot window.
void PlaceMarker(const PlotState& state, double u, double v, const PictureFrame& frame, Marker& marker);
inline void PlaceMarker(const PlotState& state, double u, double v, const PlotTarget& target, Marker& marker) {
    PlaceMarker(state, u, v, FrameOf(target), marker);
}

// The one placement of the marker on the current basic solution, for the
// plots and for the display after each step: a problem of two variables
// shows SolutionPoint's first two values, one of three their projection by
// the view. Any other count leaves the marker as it is.
void PlaceSolutionMarker(const PlotState& state, int variables, const PictureFrame& frame, Marker& marker);

} // namespace optimara
