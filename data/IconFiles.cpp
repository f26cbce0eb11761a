// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the program's icon for the desktop's icon theme: one PNG per size
// and a scalable SVG, all painted by the code that paints the window icons.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>

#include "AuxWindows.h"

namespace {

bool WritePng(const QDir& theme, int size) {
    const QString folder = QString("%1x%1/apps").arg(size);
    if (!theme.mkpath(folder)) return false;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        optimara::PaintProgramIcon(painter, size);
    }
    return image.save(theme.filePath(folder + "/optimara.png"), "PNG");
}

bool WriteSvg(const QDir& theme) {
    if (!theme.mkpath("scalable/apps")) return false;
    QSvgGenerator svg;
    svg.setFileName(theme.filePath("scalable/apps/optimara.svg"));
    svg.setSize(QSize(64, 64));
    svg.setViewBox(QRect(0, 0, 64, 64));
    svg.setTitle("Optimara");
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    optimara::PaintProgramIcon(painter, 64);
    return painter.end();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s THEME_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir theme(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        if (!WritePng(theme, size)) return 1;
    return WriteSvg(theme) ? 0 : 1;
}
