// SPDX-License-Identifier: GPL-3.0-or-later
#include "UiTestSupport.h"

namespace optimara {
namespace {

// Each rotation button turns the view exactly as the plot's turn about its
// caption's axis in its caption's sense.
class RotationButtons : public uitest::WindowTest {};

TEST_F(RotationButtons, EachCaptionNamesTheTurnItMakes) {
    PasteProblem(1, "x+y+z", {"x<1", "y<1", "z<1", "x>0", "y>0", "z>0"});
    Press(Button1());
    ASSERT_EQ(Panel(1), "Hecho");
    const struct {
        QPushButton* button;
        Axis axis;
        int direction;
    } rows[] = {
        {Button3(), Axis::Z, +1}, {Button4(), Axis::Z, -1}, {Button5(), Axis::Y, +1},
        {Button6(), Axis::Y, -1}, {Button7(), Axis::X, +1}, {Button8(), Axis::X, -1},
    };
    for (const auto& row : rows) {
        PlotState expected = form->State().plot;
        RotateView(expected, row.axis, row.direction);
        Press(row.button);
        SCOPED_TRACE(row.button->text().toStdString());
        for (uint32_t i = 1; i <= 2; ++i)
            for (uint32_t j = 1; j <= 3; ++j)
                EXPECT_EQ(form->State().plot.ViewProjection.Index(i, j), expected.ViewProjection.Index(i, j));
    }
}

} // namespace
} // namespace optimara
