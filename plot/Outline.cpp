// SPDX-License-Identifier: GPL-3.0-or-later
// The border of an intersection of half-planes by the sweep over the lines
// sorted by direction, keeping a double-ended queue of the border so far.
#include "Outline.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace optimara {
namespace {

// A half-plane as a directed line: the region lies to its left. The
// direction has length 1, so cross products are distances.
struct Half {
    double px, py;  // a point of the line
    double dx, dy;  // its direction
    double angle;
    uint32_t row;   // 0 for a side of the bounding square
};

Half FromRow(double a, double b, double c, uint32_t row) {
    const double norm = std::hypot(a, b);
    // The region a x + b y + c <= 0 lies left of the direction (-b, a).
    Half h{-c * a / (norm * norm), -c * b / (norm * norm), -b / norm, a / norm, 0, row};
    h.angle = std::atan2(h.dy, h.dx);
    return h;
}

double Cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

struct Point {
    double x, y;
};

// How far the point lies to the right of the line (outside its half-plane).
double Outside(const Half& h, Point p) { return -Cross(h.dx, h.dy, p.x - h.px, p.y - h.py); }

bool Parallel(const Half& a, const Half& b) { return std::fabs(Cross(a.dx, a.dy, b.dx, b.dy)) < 1e-12; }

Point Meet(const Half& a, const Half& b) {
    const double t = Cross(b.px - a.px, b.py - a.py, b.dx, b.dy) / Cross(a.dx, a.dy, b.dx, b.dy);
    return {a.px + t * a.dx, a.py + t * a.dy};
}

// The sweep proper; false when the region has no area.
bool Sweep(std::vector<Half>& halves, double eps, std::deque<Half>& border) {
    std::sort(halves.begin(), halves.end(), [](const Half& a, const Half& b) { return a.angle < b.angle; });
    for (const Half& h : halves) {
        while (border.size() >= 2 && Outside(h, Meet(border[border.size() - 1], border[border.size() - 2])) > eps)
            border.pop_back();
        while (border.size() >= 2 && Outside(h, Meet(border[0], border[1])) > eps) border.pop_front();
        if (!border.empty() && Parallel(h, border.back())) {
            if (h.dx * border.back().dx + h.dy * border.back().dy < 0) return false;
            // Of two lines with one direction only the inner one bounds.
            if (Outside(h, {border.back().px, border.back().py}) <= 0) continue;
            border.pop_back();
        }
        border.push_back(h);
    }
    while (border.size() >= 3 && Outside(border[0], Meet(border[border.size() - 1], border[border.size() - 2])) > eps)
        border.pop_back();
    while (border.size() >= 3 && Outside(border.back(), Meet(border[0], border[1])) > eps) border.pop_front();
    return border.size() >= 3;
}

} // namespace

double OutlineBound(const MatrixR& R) {
    double farthest = 0;
    for (uint32_t i = 1; i <= R.rows; ++i) {
        const double norm = std::hypot(R.Index(i, 1), R.Index(i, 2));
        if (norm > 0) farthest = std::max(farthest, std::fabs(R.Index(i, 3)) / norm);
    }
    return 1000 * (1 + farthest);
}

std::vector<uint32_t> BoundingRows(const MatrixR& R, double bound) {
    std::vector<Half> halves;
    halves.reserve(R.rows + 4);
    for (uint32_t i = 1; i <= R.rows; ++i) {
        const double a = R.Index(i, 1), b = R.Index(i, 2), c = R.Index(i, 3);
        if (a == 0 && b == 0) {
            if (c > 0) return {};
            continue;
        }
        if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c)) return {};
        halves.push_back(FromRow(a, b, c, i));
    }
    halves.push_back(FromRow(1, 0, -bound, 0));
    halves.push_back(FromRow(-1, 0, -bound, 0));
    halves.push_back(FromRow(0, 1, -bound, 0));
    halves.push_back(FromRow(0, -1, -bound, 0));
    std::deque<Half> border;
    if (!Sweep(halves, 1e-12 * bound, border)) return {};
    std::vector<uint32_t> rows;
    for (const Half& h : border)
        if (h.row != 0) rows.push_back(h.row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

MatrixR SelectRows(const MatrixR& R, const std::vector<uint32_t>& rows) {
    MatrixR S(static_cast<uint32_t>(rows.size()), R.cols);
    for (uint32_t i = 1; i <= S.rows; ++i)
        for (uint32_t j = 1; j <= R.cols; ++j) S.Index(i, j) = R.Index(rows[i - 1], j);
    return S;
}

} // namespace optimara
