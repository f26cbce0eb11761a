// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared set-up of the plot tests: rows typed as tables, pictures drawn into
// images and read back pixel by pixel.
#include <QColor>
#include <QImage>
#include <QPoint>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "MatrixR.h"
#include "Plot.h"

namespace plottest {

using optimara::MatrixR;

// Four colours unlike each other and unlike the fresh image's white.
inline const optimara::PlotColors kColors{QColor(240, 240, 240), QColor(160, 160, 160), QColor(0, 0, 0),
                                          QColor(0, 120, 215)};
inline const QRgb kLight = QColor(240, 240, 240).rgb();
inline const QRgb kDark = QColor(160, 160, 160).rgb();
inline const QRgb kText = QColor(0, 0, 0).rgb();
inline const QRgb kHighlight = QColor(0, 120, 215).rgb();
inline const QRgb kBlank = QColor(255, 255, 255).rgb();

inline MatrixR Rows(std::initializer_list<std::initializer_list<double>> rows) {
    MatrixR m(static_cast<uint32_t>(rows.size()), static_cast<uint32_t>(rows.begin()->size()));
    uint32_t i = 1;
    for (const auto& row : rows) {
        uint32_t j = 1;
        for (double x : row) m.Index(i, j++) = x;
        ++i;
    }
    return m;
}

inline MatrixR Column(std::initializer_list<double> values) {
    MatrixR m(static_cast<uint32_t>(values.size()), 1);
    uint32_t i = 1;
    for (double x : values) m.Index(i++, 1) = x;
    return m;
}

// One turn of the view: an axis and a sense.
struct Turn {
    optimara::Axis axis;
    int direction;
};

// The six turns: Z+, Z-, Y+, Y-, X+, X-.
inline const Turn kTurns[6] = {{optimara::Axis::Z, +1}, {optimara::Axis::Z, -1}, {optimara::Axis::Y, +1},
                               {optimara::Axis::Y, -1}, {optimara::Axis::X, +1}, {optimara::Axis::X, -1}};

inline void Rotate(optimara::PlotState& state, const std::vector<Turn>& turns) {
    for (const Turn& t : turns) optimara::RotateView(state, t.axis, t.direction);
}

inline QImage BlankImage(int W = 600, int H = 400) {
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(kBlank);
    return image;
}

inline int Count(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
    return n;
}

// The pixel of a picture-plane point in the current plot window.
inline QPoint PixelAt(const optimara::PlotState& s, double u, double v, int W, int H) {
    const double sx = (u - s.PlotXMin) / (s.PlotXMax - s.PlotXMin);
    const double ty = (v - s.PlotYMin) / (s.PlotYMax - s.PlotYMin);
    return QPoint(static_cast<int>(W * sx), static_cast<int>((1 - ty) * H));
}

// Whether some pixel within `radius` of p has the colour.
inline bool Near(const QImage& image, QPoint p, QRgb colour, int radius = 1) {
    for (int y = p.y() - radius; y <= p.y() + radius; ++y)
        for (int x = p.x() - radius; x <= p.x() + radius; ++x)
            if (image.valid(x, y) && image.pixel(x, y) == colour) return true;
    return false;
}

// Keeps a picture under /tmp for a look by eye.
inline void SaveForEye(const QImage& image, const std::string& name) {
    image.save(QString::fromStdString("/tmp/optimara-plot-" + name + ".png"));
}

} // namespace plottest
