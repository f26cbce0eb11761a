// SPDX-License-Identifier: GPL-3.0-or-later
// Where an auxiliary window opens beside the main window, and its size at a
// zoom, reckoned on rectangles alone.
#include <gtest/gtest.h>

#include "WindowPlacement.h"

namespace optimara {
namespace {

TEST(WindowPlacement, BesideTheMainWindowWhereTheScreenHasRoom) {
    const struct {
        const char* name;
        QRect main;
        QSize frame;
        QRect available;
        std::optional<QPoint> corner;
    } cases[] = {
        {"room right", {0, 0, 800, 600}, {600, 400}, {0, 0, 1920, 1080}, QPoint(800, 0)},
        {"right, just fits", {0, 10, 1320, 600}, {600, 400}, {0, 0, 1920, 1080}, QPoint(1320, 10)},
        {"room left only", {1000, 100, 900, 700}, {600, 400}, {0, 0, 1920, 1080}, QPoint(400, 100)},
        {"left, just fits", {600, 0, 1320, 600}, {600, 400}, {0, 0, 1920, 1080}, QPoint(0, 0)},
        {"one pixel short either side", {599, 0, 722, 600}, {600, 400}, {0, 0, 1920, 1080}, std::nullopt},
        {"maximised", {0, 0, 1024, 768}, {620, 480}, {0, 0, 1024, 740}, std::nullopt},
        // A second screen right of the first, and one left of it.
        {"second screen, right", {2020, 50, 600, 500}, {500, 400}, {1920, 0, 1280, 1024}, QPoint(2620, 50)},
        {"second screen, left", {2600, 0, 600, 500}, {600, 400}, {1920, 0, 1280, 1024}, QPoint(2000, 0)},
        {"screen left of the first", {-1000, 30, 500, 500}, {400, 300}, {-1280, 0, 1280, 1024}, QPoint(-500, 30)},
        // Kept on the free area: raised when it would reach below it, below
        // a panel at its top; a window taller than the area keeps its top.
        {"raised to the bottom", {0, 700, 800, 300}, {600, 600}, {0, 0, 1920, 1080}, QPoint(800, 480)},
        {"below a top panel", {0, 0, 800, 600}, {600, 400}, {0, 32, 1920, 1048}, QPoint(800, 32)},
        {"taller than the area", {0, 100, 800, 600}, {600, 1200}, {0, 0, 1920, 1080}, QPoint(800, 0)},
    };
    for (const auto& c : cases) EXPECT_EQ(BesidePosition(c.main, c.frame, c.available), c.corner) << c.name;
}

TEST(WindowPlacement, ZoomedWindowGrowsUpToTheScreensRoom) {
    const struct {
        QSize design;
        int percent;
        QSize room;
        QSize size;
    } cases[] = {
        {{620, 460}, 100, {1920, 1080}, {620, 460}},  {{620, 460}, 200, {1920, 1080}, {1240, 920}},
        {{620, 460}, 150, {1920, 1080}, {930, 690}},  {{620, 460}, 300, {1024, 740}, {1024, 740}},
        {{640, 420}, 200, {1000, 2000}, {1000, 840}}, {{620, 460}, 200, {600, 400}, {620, 460}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ZoomedWindowSize(c.design, c.percent, c.room), c.size) << c.percent << "% in " << c.room.width();
}

} // namespace
} // namespace optimara
