// SPDX-License-Identifier: GPL-3.0-or-later
#include "Integers.h"

#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "Geometry.h"
#include "Outline.h"
#include "Path.h"

namespace optimara {

namespace {

constexpr double kTolerance = 1e-9;

// a . x + c <= 0 admissible; in the plane a[2] stays 0.
struct Row {
    double a[3] = {0, 0, 0};
    double c = 0;
};

std::vector<Row> RowsOf(const MatrixR& planes, int n) {
    std::vector<Row> rows;
    if (planes.cols != static_cast<uint32_t>(n) + 1) return rows;
    for (uint32_t i = 1; i <= planes.rows; ++i) {
        Row r;
        for (int k = 0; k < n; ++k) r.a[k] = planes.Index(i, k + 1);
        r.c = planes.Index(i, n + 1);
        rows.push_back(r);
    }
    return rows;
}

// Relative to the row's terms, so that a point on a line with decimal
// coefficients still counts as on it whatever the scale.
bool Holds(const Row& r, const Point3& X) {
    double value = r.c, scale = std::fabs(r.c);
    for (int k = 0; k < 3; ++k) {
        value += r.a[k] * X[k];
        scale += std::fabs(r.a[k] * X[k]);
    }
    return value <= kTolerance * scale;
}

bool HoldsAll(const std::vector<Row>& rows, const Point3& X) {
    return std::all_of(rows.begin(), rows.end(), [&](const Row& r) { return Holds(r, X); });
}

double Norm(const double a[3]) { return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]); }

// Whether d, or -d, runs along the region for ever: no row grows along it.
bool IsRecession(const std::vector<Row>& rows, Point3 d) {
    for (int sign : {1, -1}) {
        bool along = true;
        for (const Row& r : rows) {
            const double dot = sign * (r.a[0] * d[0] + r.a[1] * d[1] + r.a[2] * d[2]);
            along = along && dot <= kTolerance * Norm(r.a) * Norm(d.data());
        }
        if (along) return true;
    }
    return false;
}

Point3 Cross(const double a[3], const double b[3]) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// A non-empty region is unbounded exactly when some direction d != 0 has
// a . d <= 0 for every row. Such directions form a cone; if it holds a
// line, that line is orthogonal to all rows, and otherwise it has an edge
// on which n - 1 independent rows are tight. So the directions orthogonal
// to one row (in the plane) or to one or two rows (in space) are the only
// ones to try.
bool Unbounded(const std::vector<Row>& rows, int n) {
    std::vector<Point3> tries;
    // Two nearly parallel rows have no direction of their own.
    auto add = [&](const Point3& d, double scale) {
        if (Norm(d.data()) > 1e-12 * scale) tries.push_back(d);
    };
    static const double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    bool limited = false;
    for (size_t i = 0; i < rows.size(); ++i) {
        const double* a = rows[i].a;
        if (Norm(a) == 0) continue;
        limited = true;
        if (n == 2) add({-a[1], a[0], 0}, 0);
        if (n != 3) continue;
        for (const double* e : axes) add(Cross(a, e), Norm(a));
        for (size_t j = i + 1; j < rows.size(); ++j) add(Cross(a, rows[j].a), Norm(a) * Norm(rows[j].a));
    }
    if (!limited) return true;  // no row limits any direction
    return std::any_of(tries.begin(), tries.end(), [&](const Point3& d) { return IsRecession(rows, d); });
}

// Calls f(u, v) at the meeting point of each two lines a0 u + a1 v + c = 0.
template <class F>
void ForEachMeeting2D(const std::vector<Row>& rows, F f) {
    MatrixR P(2, 1);
    for (size_t i = 0; i < rows.size(); ++i)
        for (size_t j = i + 1; j < rows.size(); ++j) {
            const Row &r = rows[i], &s = rows[j];
            if (IntersectLines(r.a[0], r.a[1], r.c, s.a[0], s.a[1], s.c, P) != 0) f(P.Index(1, 1), P.Index(2, 1));
        }
}

// Calls f(P) at the meeting point of each three planes, as the 3D picture
// finds them.
template <class F>
void ForEachMeeting3D(const MatrixR& planes, F f) {
    const uint32_t N = planes.rows;
    Point3 P;
    for (uint32_t i = 1; i + 2 <= N; ++i)
        for (uint32_t j = i + 1; j + 1 <= N; ++j)
            for (uint32_t k = j + 1; k <= N; ++k)
                if (SolvePlanes(planes, i, j, k, P.data()) != 0) f(P);
}

void Take(SpaceBox& box, bool& any, const Point3& X) {
    for (int k = 0; k < 3; ++k) {
        box.lo[k] = any ? std::min(box.lo[k], X[k]) : X[k];
        box.hi[k] = any ? std::max(box.hi[k], X[k]) : X[k];
    }
    any = true;
}

bool FeasibleBox(const MatrixR& planes, const std::vector<Row>& rows, int n, SpaceBox& box) {
    bool any = false;
    auto take = [&](const Point3& X) {
        if (HoldsAll(rows, X)) Take(box, any, X);
    };
    if (n == 2) ForEachMeeting2D(rows, [&](double x, double y) { take({x, y, 0}); });
    else ForEachMeeting3D(planes, take);
    return any;
}

// A little room either side of a whole number that rounding left just
// outside a bound.
double Room(double lo, double hi) { return kTolerance * std::max({1.0, std::fabs(lo), std::fabs(hi)}); }

// Where coordinate t runs inside every row while the others stay at X,
// within the box: exactly, and widened by the rows' tolerance.
struct Fiber {
    double lo, hi, looseLo, looseHi;
};

bool FiberOf(const std::vector<Row>& rows, int t, const Point3& X, const SpaceBox& box, Fiber& f) {
    const double reach = std::max(std::fabs(box.lo[t]), std::fabs(box.hi[t]));
    const double room = Room(box.lo[t], box.hi[t]);
    f = {box.lo[t], box.hi[t], box.lo[t] - room, box.hi[t] + room};
    for (const Row& r : rows) {
        double rest = r.c, scale = std::fabs(r.c);
        for (int k = 0; k < 3; ++k)
            if (k != t) {
                rest += r.a[k] * X[k];
                scale += std::fabs(r.a[k] * X[k]);
            }
        const double A = r.a[t], slack = kTolerance * (scale + std::fabs(A) * reach);
        if (A == 0) {
            if (rest > slack) return false;
            continue;
        }
        const double exact = -rest / A, loose = (slack - rest) / A;
        if (A > 0) {
            f.hi = std::min(f.hi, exact);
            f.looseHi = std::min(f.looseHi, loose);
        } else {
            f.lo = std::max(f.lo, exact);
            f.looseLo = std::max(f.looseLo, loose);
        }
    }
    return f.looseLo <= f.looseHi;
}

// The whole numbers first, first + 1, ... within [lo, hi] (with room).
struct WholeRange {
    double first = 0, count = 0;
};
WholeRange WholesIn(double lo, double hi) {
    const double room = Room(lo, hi);
    WholeRange w{std::ceil(lo - room), 0};
    const double last = std::floor(hi + room);
    if (last >= w.first) w.count = last - w.first + 1;
    return w;
}

// Walks the columns of the lattice along `along`; false when the marks
// grew past the limit.
class LatticeWalk {
public:
    LatticeWalk(const std::vector<Row>& rows, const std::array<bool, 3>& integer, int along, IntegerMarks& marks)
        : rows(rows), integer(integer), along(along), marks(marks) {}

    bool Column(Point3 X) {
        Fiber f;
        if (!FiberOf(rows, along, X, marks.box, f)) return true;
        if (!integer[along]) {
            Point3 a = X, b = X;
            a[along] = f.lo <= f.hi ? f.lo : (f.lo + f.hi) / 2;  // a touching point rounded apart
            b[along] = f.lo <= f.hi ? f.hi : a[along];
            marks.segments.push_back({a, b});
            return marks.segments.size() <= kMaxIntegerMarks;
        }
        const WholeRange w = WholesIn(f.looseLo, f.looseHi);
        if (w.count > kMaxIntegerMarks) return false;
        for (double i = 0; i < w.count; ++i) {
            X[along] = w.first + i;
            if (HoldsAll(rows, X)) marks.points.push_back(X);
        }
        return marks.points.size() <= kMaxIntegerMarks;
    }

private:
    const std::vector<Row>& rows;
    const std::array<bool, 3>& integer;
    int along;
    IntegerMarks& marks;
};

// A picture of more rows than are drawn one by one shows no integer points
// either: finding them meets every pair (or triple) of rows.
bool TooManyRows(const MatrixR& planes, int n) {
    return planes.rows > (n == 3 ? kReadablePlanes : kReadableLines);
}

} // namespace

SpaceBox ShownBox(const PlotState& s, const MatrixR& planes, int variables) {
    SpaceBox box;
    if (variables == 2) {
        box.lo = {s.PlotXMin, s.PlotYMin, 0};
        box.hi = {s.PlotXMax, s.PlotYMax, 0};
        return box;
    }
    bool any = false;
    if (planes.cols == 4 && !TooManyRows(planes, 3))
        ForEachMeeting3D(planes, [&](const Point3& P) { Take(box, any, P); });
    if (!any) {
        const double r = std::max({1.0, std::fabs(s.PlotXMin), std::fabs(s.PlotXMax), std::fabs(s.PlotYMin),
                                   std::fabs(s.PlotYMax)});
        box.lo = {-r, -r, -r};
        box.hi = {r, r, r};
        return box;
    }
    for (int k = 0; k < 3; ++k) {
        const double d = box.hi[k] - box.lo[k];
        box.lo[k] -= d > 0 ? 0.1 * d : 1;
        box.hi[k] += d > 0 ? 0.1 * d : 1;
    }
    return box;
}

bool MarkBox(const MatrixR& planes, int variables, const SpaceBox& shown, SpaceBox& box) {
    const std::vector<Row> rows = RowsOf(planes, variables);
    if (Unbounded(rows, variables)) {
        box = shown;
        return true;
    }
    return FeasibleBox(planes, rows, variables, box);
}

IntegerMarks ListIntegerMarks(const MatrixR& planes, int n, const std::array<bool, 3>& integer,
                              const SpaceBox& shown) {
    IntegerMarks marks;
    if ((n != 2 && n != 3) || planes.cols != static_cast<uint32_t>(n) + 1 || TooManyRows(planes, n)) return marks;
    const bool feasible = MarkBox(planes, n, shown, marks.box);
    int continuous = 0, along = n - 1;
    for (int k = 0; k < n; ++k)
        if (!integer[k]) {
            ++continuous;
            along = k;
        }
    if (continuous > 1) return marks;
    marks.outcome = IntegerMarks::Outcome::Listed;
    if (!feasible) return marks;
    int outer[2] = {0, 0}, count = 0;
    for (int k = 0; k < n; ++k)
        if (k != along) outer[count++] = k;
    WholeRange range[2];
    double columns = 1;
    for (int o = 0; o < count; ++o) {
        range[o] = WholesIn(marks.box.lo[outer[o]], marks.box.hi[outer[o]]);
        columns *= range[o].count;
    }
    const std::vector<Row> rows = RowsOf(planes, n);
    LatticeWalk walk(rows, integer, along, marks);
    bool done = columns <= kMaxLatticeColumns;  // also false for a box without bounds
    Point3 X{0, 0, 0};
    for (double i = 0; done && i < range[0].count; ++i) {
        X[outer[0]] = range[0].first + i;
        if (count == 1) done = walk.Column(X);
        for (double j = 0; count == 2 && done && j < range[1].count; ++j) {
            X[outer[1]] = range[1].first + j;
            done = walk.Column(X);
        }
    }
    if (!done) {
        marks.outcome = IntegerMarks::Outcome::TooDense;
        marks.points.clear();
        marks.segments.clear();
    }
    return marks;
}

std::vector<Point3> PlaneOutline(const MatrixR& planes, const Point3& normal, double constant, const SpaceBox& box) {
    if (planes.cols != 4) return {};
    // The plane solved for its steepest coordinate: X[axis] = e + f·(u, v)
    // over the two others p < q, whose box sides are rows of their own so
    // that an unbounded cut closes, as are the axis's own (with room).
    int axis = 0;
    for (int k = 1; k < 3; ++k)
        if (std::fabs(normal[k]) > std::fabs(normal[axis])) axis = k;
    if (normal[axis] == 0) return {};
    const int p = axis == 0 ? 1 : 0, q = axis == 2 ? 1 : 2;
    const double e = -constant / normal[axis], fp = -normal[p] / normal[axis], fq = -normal[q] / normal[axis];
    std::vector<Row> rows;
    const auto add = [&](const Row& r) {
        Row s;
        s.a[0] = r.a[p] + r.a[axis] * fp;
        s.a[1] = r.a[q] + r.a[axis] * fq;
        s.c = r.c + r.a[axis] * e;
        rows.push_back(s);
    };
    for (const Row& r : RowsOf(planes, 3)) add(r);
    const double room = Room(box.lo[axis], box.hi[axis]);
    Row low, high;
    low.a[axis] = -1;
    low.c = box.lo[axis] - room;
    high.a[axis] = 1;
    high.c = -box.hi[axis] - room;
    add(low);
    add(high);
    rows.push_back({{-1, 0, 0}, box.lo[p]});
    rows.push_back({{1, 0, 0}, -box.hi[p]});
    rows.push_back({{0, -1, 0}, box.lo[q]});
    rows.push_back({{0, 1, 0}, -box.hi[q]});
    const double size = Room(box.hi[p] - box.lo[p], box.hi[q] - box.lo[q]);
    std::vector<Point3> corners;
    ForEachMeeting2D(rows, [&](double u, double v) {
        const Point3 X{u, v, 0};
        if (!HoldsAll(rows, X)) return;
        // Several lines through one corner give it several times.
        for (const Point3& c : corners)
            if (std::fabs(c[0] - u) + std::fabs(c[1] - v) <= size) return;
        corners.push_back(X);
    });
    double cu = 0, cv = 0;
    for (const Point3& c : corners) {
        cu += c[0] / corners.size();
        cv += c[1] / corners.size();
    }
    // A convex polygon's corners in turn order round any inner point.
    std::sort(corners.begin(), corners.end(), [&](const Point3& a, const Point3& b) {
        return std::atan2(a[1] - cv, a[0] - cu) < std::atan2(b[1] - cv, b[0] - cu);
    });
    std::vector<Point3> outline;
    for (const Point3& c : corners) {
        Point3 X;
        X[p] = c[0];
        X[q] = c[1];
        // A plane across an axis gives that axis's value itself.
        X[axis] = fp == 0 && fq == 0 ? e : e + fp * c[0] + fq * c[1];
        outline.push_back(X);
    }
    return outline;
}

std::vector<Point3> CutOutline(const MatrixR& planes, int axis, double value, const SpaceBox& box) {
    if (axis < 0 || axis > 2) return {};
    Point3 normal{0, 0, 0};
    normal[axis] = 1;
    return PlaneOutline(planes, normal, -value, box);
}

namespace {

// A polygon of problem space projected by the view, dashed; two corners
// are one line.
void DrawOutline(Canvas& canvas, const PlotState& s, int n, const std::vector<Point3>& outline, const QColor& colour) {
    const int W = canvas.W(), H = canvas.H();
    std::vector<PixelD> pixels;
    for (const Point3& X : outline) {
        PixelD p{0, 0};
        if (PathPixel(s, n, X.data(), W, H, p)) pixels.push_back(p);
    }
    if (pixels.size() < 2) return;
    // A touching edge is one line; a polygon closes on its first corner.
    const size_t sides = pixels.size() == 2 ? 1 : pixels.size();
    for (size_t k = 0; k < sides; ++k) canvas.Line(pixels[k], pixels[(k + 1) % pixels.size()], colour, true);
}

void DrawCut(Canvas& canvas, const PlotState& s, int n, const IntegerOverlay& o, const CutLine& cut,
             const QColor& colour) {
    const int W = canvas.W(), H = canvas.H();
    if (n == 2) {
        if (cut.axis == 0)
            canvas.Line(PixelOf(s, cut.value, s.PlotYMin, W, H), PixelOf(s, cut.value, s.PlotYMax, W, H), colour, true);
        else if (cut.axis == 1)
            canvas.Line(PixelOf(s, s.PlotXMin, cut.value, W, H), PixelOf(s, s.PlotXMax, cut.value, W, H), colour, true);
        return;
    }
    DrawOutline(canvas, s, n, CutOutline(o.planes, cut.axis, cut.value, o.marks.box), colour);
}

} // namespace

void DrawPlaneCuts(QImage& layer, const PlotState& s, const MatrixR& planes, const std::vector<PlaneCut>& cuts,
                   const QColor& colour, int lineWidth) {
    if (planes.cols != 4 || cuts.empty() || TooManyRows(planes, 3)) return;
    SpaceBox box;
    if (!MarkBox(planes, 3, ShownBox(s, planes, 3), box)) return;
    Canvas canvas(layer, PlotColors{colour, colour, colour, colour}, false, lineWidth);
    for (const PlaneCut& cut : cuts) DrawOutline(canvas, s, 3, PlaneOutline(planes, cut.normal, cut.constant, box), colour);
}

QImage IntegerLayer(const PlotState& s, int n, const IntegerOverlay& o, QSize size, const IntegerColours& colours,
                    int lineWidth, int dotSize) {
    QImage layer(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    if ((n != 2 && n != 3) || TooManyRows(o.planes, n)) return layer;
    const int W = layer.width(), H = layer.height();
    {
        const QColor& ink = colours.marks;
        Canvas canvas(layer, PlotColors{ink, ink, ink, ink}, false, lineWidth);
        for (const CutLine& cut : o.cuts) DrawCut(canvas, s, n, o, cut, colours.cuts);
        PixelD a{0, 0}, b{0, 0};
        for (const MarkSegment& g : o.marks.segments)
            if (PathPixel(s, n, g.from.data(), W, H, a) && PathPixel(s, n, g.to.data(), W, H, b))
                canvas.Line(a, b, ink);
        for (const Point3& X : o.marks.points)
            if (PathPixel(s, n, X.data(), W, H, a)) SquareDot(canvas, a, dotSize, ink);
        if (o.best != nullptr && PathPixel(s, n, o.best->data(), W, H, a))
            SquareDot(canvas, a, dotSize + 4, colours.best);
    }  // the painter lets go of the layer here
    return layer;
}

} // namespace optimara
