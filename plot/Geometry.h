// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Geometry under the region pictures: where constraint lines and planes
// meet, the meeting points of the whole arrangement (feasible or not), the
// edge lines between them, the corner test for the shading and the exit of
// a ray from the plot window. Pure computation: the matrices and the plot
// state come in as arguments.
#include <cstdint>
#include <functional>
#include <vector>

#include "MatrixR.h"
#include "Plot.h"

namespace optimara {

// A determinant inside [-kSingularBound, kSingularBound] (both ends
// included) counts as singular.
inline constexpr double kSingularBound = 1e-16;
inline bool IsSingular(double d) { return -kSingularBound <= d && d <= kSingularBound; }

// Meeting point of a1 x + b1 y + c1 = 0 and a2 x + b2 y + c2 = 0 into the
// 2x1 `out`. Returns the determinant, or exactly 0 (out untouched) when the
// lines are parallel.
double IntersectLines(double a1, double b1, double c1, double a2, double b2, double c2, MatrixR& out);

// Meeting point of planes i, j, k (rows of a 4-column `planes`, one-based).
// Returns the determinant, or exactly 0 (out untouched) when singular. A
// 2-row `out` receives the picture-plane point viewProjection * P, a 3-row
// `out` the point P itself; any other `out` is left as it is.
double IntersectPlanes(const MatrixR& planes, uint32_t i, uint32_t j, uint32_t k, MatrixR& out,
                       const MatrixR& viewProjection);

// The same solve on plain numbers, with the very same roundings: P gets the
// point, the return value is the determinant or 0.
double SolvePlanes(const MatrixR& planes, uint32_t i, uint32_t j, uint32_t k, double P[3]);
// (u, v) = viewProjection * P, summed in the order of the matrix product.
void ProjectPoint(const MatrixR& viewProjection, const double P[3], double& u, double& v);

// One regular triple i < j < k and its picture-plane point.
struct Vertex {
    uint32_t i, j, k;
    double u, v;
};

// Every regular triple of rows in lexicographic order. No feasibility test.
std::vector<Vertex> EnumerateVertices(const MatrixR& planes, const MatrixR& viewProjection);

// Sets the plot window to the bounding box of the vertices; returns false
// and leaves the window alone when there is none.
bool VertexBox(const std::vector<Vertex>& vertices, PlotState& state);

inline constexpr int kNoCorner = -1;
// First window corner (0 bottom left, 1 top left, 2 bottom right, 3 top
// right) whose sight line avoids the wedge where rows a and b both hold, or
// kNoCorner.
int OutsideCorner(const MatrixR& planes, uint32_t a, uint32_t b, const PlotState& state);

// Where the ray from `start` along `direction` (2x1 each) leaves the plot
// window, into the 2x1 `out`. False (out untouched) when the direction is
// too short to tell or the ray never reaches the window's border lines.
bool RayExitPoint(const PlotState& state, const MatrixR& start, const MatrixR& direction, MatrixR& out);

// An edge pair as the drawing consumes it: vertex A, the two rows a < b it
// shares with the triple B, and B's third row c.
using EdgePairVisitor = std::function<void(const Vertex& A, uint32_t a, uint32_t b, uint32_t c)>;

// Whether the pair (A, B) on the line of rows a < b, with third rows cA and
// cB, is visited in this order: pairs whose third rows lie on the same side
// of a and b are visited both ways, the others only with the larger third
// row first.
bool EdgePairInOrder(uint32_t a, uint32_t b, uint32_t cA, uint32_t cB);

// Every vertex against every triple, in enumeration order: the slow
// reference walk the faster drawing must match.
void ForEachEdgePairExhaustive(const std::vector<Vertex>& vertices, uint32_t rowCount, const EdgePairVisitor& visit);

// The vertices lying on the line of each pair of rows a < b, in
// enumeration order (indices into the vertex list).
struct EdgeLine {
    uint32_t a, b;
    std::vector<uint32_t> on;
};
// Lines carrying at least one vertex, ordered by (a, b).
std::vector<EdgeLine> EdgeLines(const std::vector<Vertex>& vertices, uint32_t rowCount);

// The third row of vertex v besides a and b.
uint32_t ThirdRow(const Vertex& v, uint32_t a, uint32_t b);

} // namespace optimara
