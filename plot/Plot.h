#pragma once
// Entry of the feasible-region plot: the view, the plot window and the
// drawing of the region into a picture. No widgets here: the window passes
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

// The 5x5 vertex marker Shape1.
struct Marker {
    bool visible = false;
    int left = 0;
    int top = 0;
};

struct PlotInput {
    const MatrixR& constraintPlanes;
    const MatrixR& objectiveVector;
    bool showAxes;  // "&Ver eje 3D" checked
    PlotColors colors;
};

enum class PlotKind { None, Plane, Space };

// Default view ("Por Defecto").
void SetDefaultView(PlotState& state);
// One press of a rotation button: 3 "Z+", 4 "Z-", 5 "Y+", 6 "Y-", 7 "X+", 8 "X-".
void RotateView(PlotState& state, int button);

// Chooses the plane or the space plot by the width of the constraint planes
// and draws it; the seven view buttons are enabled exactly when it returns
// PlotKind::Space. The marker is changed only by a plot that places it.
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
