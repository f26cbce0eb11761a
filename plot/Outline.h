// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows that bound the feasible region of a plane picture, found without
// meeting every pair of lines: a picture of thousands of lines shows only
// the few that make the region's border, or says why it shows none.
#include <cstdint>
#include <vector>

#include "MatrixR.h"

namespace optimara {

// More lines than this are not drawn one by one: they would cover the
// picture and take seconds to meet in pairs.
inline constexpr uint32_t kReadableLines = 200;
// Planes of a space picture: its vertices are meetings of three planes.
inline constexpr uint32_t kReadablePlanes = 60;

// The rows (one-based, increasing) of R, each a x + b y + c with the region
// on the side a x + b y + c <= 0, whose lines carry an edge of the region
// inside the square |x|, |y| <= bound; rows without variables only tell
// whether the region is empty; of rows with one and the same line only one
// is listed. Empty when the region has no area there.
// Sorting the lines by direction makes it O(m log m).
std::vector<uint32_t> BoundingRows(const MatrixR& R, double bound);

// The square BoundingRows is given for R: a thousand times the farthest
// line's distance from the origin, so every corner the picture could show
// lies inside it.
double OutlineBound(const MatrixR& R);

// The rows of R listed, in that order.
MatrixR SelectRows(const MatrixR& R, const std::vector<uint32_t>& rows);

} // namespace optimara
