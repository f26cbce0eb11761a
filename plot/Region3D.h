// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The space picture of a three-variable problem: the region stays in the
// dark background where no edge line shows it to be outside, every edge
// line of the arrangement of planes is drawn, then the objective arrow,
// the axes and the marker.
#include <array>
#include <cstdint>

#include "Canvas.h"
#include "MatrixR.h"
#include "Plot.h"

namespace optimara {

// Two vertices closer than this share of the plot window's size count as
// one point: the direction between them is rounding noise.
inline constexpr double kCoincidentShare = 1e-9;
// A projected direction shorter than this is seen end-on.
inline constexpr double kEndOnLength = 1e-9;

// The polygon beyond the projected edge line through A = (Pu, Pv) and
// B = (Qu, Qv) on the side of window corner `corner`, in pixels before
// truncation; count 0 when nothing is to be painted.
struct EdgeShade {
    int count = 0;
    std::array<PixelD, 4> points;
};
EdgeShade BeyondEdgePolygon(const PlotState& state, int W, int H, int corner, double Pu, double Pv, double Qu,
                            double Qv);

// Paints the outside of one edge: rows a and b shared by vertex A (its
// picture-plane point Au, Av) and the triple (a, b, c).
void ShadeBeyondEdge(Canvas& canvas, const PlotState& state, const MatrixR& planes, uint32_t a, uint32_t b,
                     uint32_t c, double Au, double Av);

// How the shading and edge passes visit the edge pairs: along each line of
// two planes (the program's way), or every vertex against every triple
// with nothing skipped (the reference the tests compare with).
enum class EdgeWalk { ByRowPair, Exhaustive };

void DrawRegion3D(PlotState& state, const PlotInput& input, const PlotTarget& target, Marker& marker,
                  EdgeWalk walk = EdgeWalk::ByRowPair);

} // namespace optimara
