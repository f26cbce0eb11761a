// SPDX-License-Identifier: GPL-3.0-or-later
#include "Canvas.h"

#include <QPen>
#include <algorithm>
#include <cmath>

namespace optimara {

namespace {

// Infinite coordinates become huge finite ones so that differences stay
// numbers; the clipping then keeps the direction as far as it is known.
constexpr double kHuge = 1e300;

bool Tame(PixelD& p) {
    if (std::isnan(p.x) || std::isnan(p.y)) return false;
    p.x = std::clamp(p.x, -kHuge, kHuge);
    p.y = std::clamp(p.y, -kHuge, kHuge);
    return true;
}

bool Inside(const PixelD& p, double limit) {
    return -limit <= p.x && p.x <= limit && -limit <= p.y && p.y <= limit;
}

QPoint Truncated(const PixelD& p, double limit) {
    // Clipping may overshoot the box by a rounding; keep it inside.
    return QPoint(TruncPixel(std::clamp(p.x, -limit, limit)), TruncPixel(std::clamp(p.y, -limit, limit)));
}

// One side of the box as the half-plane sign * (coordinate) <= limit.
struct Side {
    bool onX;
    double sign;
};
constexpr Side kSides[4] = {{true, -1}, {true, 1}, {false, -1}, {false, 1}};

double Excess(const PixelD& p, const Side& s, double limit) {
    return s.sign * (s.onX ? p.x : p.y) - limit;  // <= 0 inside
}

} // namespace

bool ClipSegment(PixelD& p, PixelD& q, double limit) {
    if (!Tame(p) || !Tame(q)) return false;
    if (Inside(p, limit) && Inside(q, limit)) return true;
    const double dx = q.x - p.x, dy = q.y - p.y;
    double t0 = 0, t1 = 1;
    const double pk[4] = {-dx, dx, -dy, dy};
    const double qk[4] = {p.x + limit, limit - p.x, p.y + limit, limit - p.y};
    for (int k = 0; k < 4; ++k) {
        if (pk[k] == 0) {
            if (qk[k] < 0) return false;
            continue;
        }
        const double r = qk[k] / pk[k];
        if (pk[k] < 0) t0 = std::max(t0, r);
        else t1 = std::min(t1, r);
        if (t0 > t1) return false;
    }
    const PixelD from = p;
    if (t0 > 0) p = {from.x + t0 * dx, from.y + t0 * dy};
    if (t1 < 1) q = {from.x + t1 * dx, from.y + t1 * dy};
    return true;
}

std::vector<PixelD> ClipPolygon(const std::vector<PixelD>& polygon, double limit) {
    std::vector<PixelD> current;
    for (PixelD p : polygon) {
        if (!Tame(p)) return {};
        current.push_back(p);
    }
    if (std::all_of(current.begin(), current.end(), [&](const PixelD& p) { return Inside(p, limit); }))
        return current;
    for (const Side& side : kSides) {
        std::vector<PixelD> next;
        for (size_t n = 0; n < current.size(); ++n) {
            const PixelD& a = current[n];
            const PixelD& b = current[(n + 1) % current.size()];
            const double ea = Excess(a, side, limit), eb = Excess(b, side, limit);
            if (ea <= 0) next.push_back(a);
            if ((ea <= 0) != (eb <= 0)) {
                const double t = ea / (ea - eb);
                next.push_back({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)});
            }
        }
        current.swap(next);
        if (current.empty()) break;
    }
    return current;
}

Canvas::Canvas(QImage& target, const PlotColors& c, bool skip, int penWidth)
    : image(target), painter(&target), colors(c), skipRepeats(skip), lineWidth(std::max(1, penWidth)), width(target.width()),
      height(target.height()) {
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void Canvas::FillAll(const QColor& colour) { painter.fillRect(image.rect(), colour); }

void Canvas::Note(const QString& text) {
    painter.setPen(colors.windowText);
    painter.drawText(image.rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, text);
}

void Canvas::FillPolygon(const std::vector<PixelD>& polygon, const QColor& colour) {
    const std::vector<PixelD> clipped = ClipPolygon(polygon, kPixelLimit);
    if (clipped.size() < 3) return;
    std::vector<QPoint> points;
    points.reserve(clipped.size());
    for (const PixelD& p : clipped) points.push_back(Truncated(p, kPixelLimit));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(points.data(), static_cast<int>(points.size()));
}

void Canvas::Shade(const PixelD* polygon, size_t count) {
    if (skipRepeats && count <= 4) {
        std::array<int, 9> key{};
        bool usable = true;
        for (size_t n = 0; n < count && usable; ++n) {
            const PixelD& p = polygon[n];
            usable = Inside(p, kPixelLimit);  // clipped shapes are not remembered
            if (usable) {
                key[2 * n] = TruncPixel(p.x);
                key[2 * n + 1] = TruncPixel(p.y);
            }
        }
        key[8] = static_cast<int>(count);
        if (usable) {
            // Runs of equal polygons are the rule: check the last one first.
            if (key == lastShaded) return;
            lastShaded = key;
            if (!shaded.insert(key).second) return;
        }
    }
    FillPolygon(std::vector<PixelD>(polygon, polygon + count), colors.btnFace);
}

void Canvas::ArrowHead(PixelD T, PixelD D, double L, const QColor& colour) {
    // 0.125 cos 15deg and 0.125 sin 15deg to five places: each barb is the
    // back vector turned 15 degrees to one side and cut, as D / L is a third
    // long, to 0.125 / 3 = 1/24 of the picture.
    constexpr double kAlong = 0.12074, kAcross = 0.03235;
    if (!(L > 0)) return;
    const double W = width, H = height;
    const PixelD P1{T.x + (kAlong * D.x - kAcross * D.y) / L, T.y + (kAcross * D.x + kAlong * D.y) / L};
    const PixelD P2{T.x + (kAlong * D.x + kAcross * D.y) / L, T.y + (-kAcross * D.x + kAlong * D.y) / L};
    FillPolygon({{T.x * W, T.y * H}, {P1.x * W, P1.y * H}, {P2.x * W, P2.y * H}}, colour);
}

void Canvas::Line(PixelD p, PixelD q, const QColor& colour, bool dashed) {
    if (!ClipSegment(p, q, kPixelLimit)) return;
    QPen pen(colour);
    pen.setWidth(lineWidth);
    pen.setCosmetic(true);
    pen.setStyle(dashed ? Qt::DashLine : Qt::SolidLine);
    painter.setPen(pen);
    painter.drawLine(Truncated(p, kPixelLimit), Truncated(q, kPixelLimit));
}

void Canvas::Edge(PixelD p, PixelD q) {
    if (!ClipSegment(p, q, kPixelLimit)) return;
    QPoint a = Truncated(p, kPixelLimit), b = Truncated(q, kPixelLimit);
    if (skipRepeats) {
        // The painter draws a line the same either way round.
        if (b.x() < a.x() || (b.x() == a.x() && b.y() < a.y())) std::swap(a, b);
        if (!edges.insert({a.x(), a.y(), b.x(), b.y()}).second) return;
    }
    pendingEdges.emplace_back(a, b);
}

void Canvas::FlushEdges() {
    if (pendingEdges.empty()) return;
    QPen pen(colors.windowText);
    pen.setWidth(lineWidth);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawLines(pendingEdges.data(), static_cast<int>(pendingEdges.size()));
    pendingEdges.clear();
}

} // namespace optimara
