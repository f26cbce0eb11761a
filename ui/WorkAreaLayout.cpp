// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkAreaLayout.h"

#include <QWidget>
#include <algorithm>

#include "Controls.h"
#include "Zoom.h"

namespace optimara {
namespace {

// The room a larger window gives the tableau: half of the extra width at
// normal size, more as the tableau's text grows.
int GridGrowth(int extraWidth, int percent) {
    const double share = std::min(0.7, 0.5 * percent / kNormalZoom);
    return static_cast<int>(extraWidth * share);
}

} // namespace

void WorkAreaLayout::PlaceProblem(int percent) {
    auto zoomed = [percent](int left, int top, int width, int height) {
        return QRect(Zoomed(left, percent), Zoomed(top, percent), Zoomed(width, percent), Zoomed(height, percent));
    };
    const struct { QWidget* w; QRect r; } places[] = {
        {c_.Edit1, zoomed(88, 8, 281, 22)},  {c_.Label1, zoomed(13, 40, 51, 13)},  {c_.RichEdit1, zoomed(89, 38, 280, 115)},
        {c_.Button1, zoomed(8, 64, 73, 25)}, {c_.Label4, zoomed(93, 171, 85, 13)}, {c_.Button2, zoomed(8, 196, 73, 25)},
    };
    for (const auto& p : places) p.w->setGeometry(p.r);
    // Label captions may need a little more room with other font metrics;
    // so may the sense box, whose drop-down arrow takes more room than the
    // design's, up to the gap before the objective.
    for (QWidget* label : {c_.Label1, c_.Label4}) label->resize(label->sizeHint().expandedTo(label->size()));
    const QRect sense = zoomed(8, 8, 73, 22);
    c_.ComboBox1->setGeometry(sense.x(), sense.y(),
                              qBound(sense.width(), c_.ComboBox1->sizeHint().width(), c_.Edit1->x() - sense.x() - 2),
                              sense.height());
}

QSize WorkAreaLayout::Minimum(int percent, int statusHeight) const {
    return QSize(Zoomed(design_.width(), percent), Zoomed(design_.height(), percent) - statusHeight);
}

void WorkAreaLayout::Arrange(QSize client, int percent, int statusHeight, int bar, bool scrollsDown, QColor face) {
    // Zoomed in a window narrower than the zoomed design, the work area
    // becomes one column that scrolls only up and down, as a page does:
    // sideways scrolling would hide the end of every line of the problem.
    if (percent != kNormalZoom && client.width() < Minimum(percent, statusHeight).width())
        Column(client.width() - bar, client.height() - statusHeight, percent, face);
    else
        SideBySide(client, percent, statusHeight, bar, scrollsDown, face);
}

void WorkAreaLayout::SideBySide(QSize client, int percent, int statusHeight, int bar, bool scrollsDown, QColor face) {
    auto z = [percent](int pixels) { return Zoomed(pixels, percent); };
    // The design grown by the zoom is the least room the work area takes;
    // in a smaller window it scrolls, so that no control is out of reach,
    // and the bars it then shows take their room from the work area.
    const QSize least = Minimum(percent, statusHeight);
    c_.WorkArea->setMinimumSize(least);
    if (scrollsDown && client.height() - statusHeight < least.height()) client.rwidth() -= bar;
    if (client.width() < least.width()) client.rheight() -= bar;
    client = client.expandedTo(least + QSize(0, statusHeight));
    const int grow = GridGrowth(client.width() - least.width(), percent);
    const int bottom = client.height() - statusHeight;
    PlaceProblem(percent);
    // The tableau and the split variables reach down to the status bar; the
    // tableau widens by its share of the room, the view buttons and the
    // results move over with it.
    c_.StringGrid1->setGeometry(z(88), z(192), z(209) + grow, std::max(z(185), bottom - z(192)));
    c_.ListBox3->setGeometry(z(8), z(224), z(73), std::max(z(153), bottom - z(224)));
    PlaceViewButtons(QPoint(z(312) + grow, z(216)), percent);
    PlaceResults(QPoint(z(377) + grow, z(11)), z(216), percent);
    // The picture goes right of the work area, below the value box.
    const int top = c_.Edit2->y() + c_.Edit2->height() + 10;
    const int left = c_.Edit2->x();
    c_.Image1->Place(QRect(left, top, client.width() - left - 10, bottom - top - 10), face);
}

void WorkAreaLayout::Column(int width, int height, int percent, QColor face) {
    auto z = [percent](int pixels) { return Zoomed(pixels, percent); };
    // The problem as designed, its editors no wider than the window; the
    // tableau below them as wide as the window, the results below it, and
    // the picture last, with its view buttons left of it.
    PlaceProblem(percent);
    const int right = width - 10;
    for (QWidget* editor : {c_.Edit1, c_.RichEdit1})
        editor->resize(std::clamp(right - editor->x(), z(73), editor->width()), editor->height());
    const int tableWidth = std::max(z(209), right - z(88));
    c_.StringGrid1->setGeometry(z(88), z(192), tableWidth, z(185));
    c_.ListBox3->setGeometry(z(8), z(224), z(73), z(153));
    PlaceResults(QPoint(z(88), c_.StringGrid1->geometry().bottom() + z(11)), std::min(z(216), tableWidth), percent);
    const int top = c_.Edit2->y() + c_.Edit2->height() + 10;
    PlaceViewButtons(QPoint(z(8), top), percent);
    // As high as the window shows at once, never below the design's height.
    const int pictureHeight = std::max(202, std::min(z(202), height - 20));
    c_.Image1->Place(QRect(z(88), top, tableWidth, pictureHeight), face);
    c_.WorkArea->setMinimumSize(z(88) + z(209) + 10, top + pictureHeight + 10);
}

void WorkAreaLayout::PlaceViewButtons(QPoint corner, int percent) {
    auto z = [percent](int pixels) { return Zoomed(pixels, percent); };
    // Placed as in the design, from "Por Defecto" at its top-left corner.
    const struct { int left, top, width; } places[] = {{0, 0, 64},  {0, 31, 25}, {24, 31, 25}, {0, 55, 25},
                                                       {24, 55, 25}, {0, 79, 25}, {24, 79, 25}};
    for (size_t k = 0; k < c_.viewButtons.size(); ++k)
        c_.viewButtons[k]->setGeometry(corner.x() + z(places[k].left), corner.y() + z(places[k].top),
                                       z(places[k].width), z(25));
}

void WorkAreaLayout::PlaceResults(QPoint corner, int width, int percent) {
    auto z = [percent](int pixels) { return Zoomed(pixels, percent); };
    // From the solution's list at `corner`, its caption 4 pixels right of
    // its left edge and 21 above, as in the design; the value box a pixel
    // further left and wider.
    c_.Label2->move(corner.x() + z(4), corner.y());
    c_.ListBox2->setGeometry(corner.x(), corner.y() + z(21), width, z(81));
    c_.Label3->move(corner.x(), c_.ListBox2->geometry().bottom() + z(8));
    c_.Label2->resize(c_.Label2->sizeHint().expandedTo(QSize(z(44), z(13))));
    c_.Label3->resize(c_.Label3->sizeHint().expandedTo(QSize(z(30), z(13))));
    c_.Edit2->setGeometry(corner.x() - 1, c_.Label3->y() + z(15), width + 1, z(20));
}

} // namespace optimara
