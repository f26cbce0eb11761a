// SPDX-License-Identifier: GPL-3.0-or-later
// Where an auxiliary window opens beside the main window, and its size at a
// zoom, reckoned on rectangles alone.
#include <gtest/gtest.h>

#include "WindowPlacement.h"

namespace optimara {
namespace {

TEST(WindowPlacement, BesideTheMainWindowWhereTheScreenHasRoom) {
    const QRect screen(0, 0, 1920, 1080);
    const struct { QRect main; QSize frame; QRect available; std::optional<QPoint> corner; } cases[] = {
        {{0, 0, 800, 600}, {600, 400}, screen, QPoint(800, 0)},              // room right
        {{0, 10, 1320, 600}, {600, 400}, screen, QPoint(1320, 10)},          // right, just
        {{1000, 100, 900, 700}, {600, 400}, screen, QPoint(400, 100)},       // room left only
        {{600, 0, 1320, 600}, {600, 400}, screen, QPoint(0, 0)},             // left, just
        {{599, 0, 722, 600}, {600, 400}, screen, std::nullopt},              // a pixel short
        {{0, 0, 1024, 768}, {620, 480}, {0, 0, 1024, 740}, std::nullopt},    // maximised
        {{2020, 50, 600, 500}, {500, 400}, {1920, 0, 1280, 1024}, QPoint(2620, 50)},   // second screen
        {{2600, 0, 600, 500}, {600, 400}, {1920, 0, 1280, 1024}, QPoint(2000, 0)},     // its left
        {{-1000, 30, 500, 500}, {400, 300}, {-1280, 0, 1280, 1024}, QPoint(-500, 30)}, // screen at left
        {{0, 700, 800, 300}, {600, 600}, screen, QPoint(800, 480)},          // raised to fit
        {{0, 0, 800, 600}, {600, 400}, {0, 32, 1920, 1048}, QPoint(800, 32)}, // below a panel
        {{0, 100, 800, 600}, {600, 1200}, screen, QPoint(800, 0)},           // taller than it
    };
    for (const auto& c : cases) EXPECT_EQ(BesidePosition(c.main, c.frame, c.available), c.corner) << c.main.x();
}

TEST(WindowPlacement, ZoomedWindowGrowsUpToTheScreensRoom) {
    const struct { int percent; QSize room, size; } cases[] = {
        {100, {1920, 1080}, {620, 460}}, {200, {1920, 1080}, {1240, 920}}, {150, {1920, 1080}, {930, 690}},
        {300, {1024, 740}, {1024, 740}}, {200, {1000, 2000}, {1000, 920}}, {200, {600, 400}, {620, 460}}};
    for (const auto& c : cases) EXPECT_EQ(ZoomedWindowSize({620, 460}, c.percent, c.room), c.size) << c.percent;
}

} // namespace
} // namespace optimara
