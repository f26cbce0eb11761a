// A window for the classroom: the tableau grows with the window, and the
// zoom enlarges the results and the picture's lines, remembered for the
// next run.
#include <QHeaderView>
#include <QMenuBar>
#include <QScrollBar>
#include <QSettings>
#include <QWheelEvent>
#include <algorithm>
#include <functional>
#include <map>

#include "UiTestSupport.h"
#include "Zoom.h"

namespace optimara::uitest {
namespace {

int DigitHeight(const QWidget* w) { return QFontMetrics(w->font()).tightBoundingRect("0123456789").height(); }

class ZoomedWindow : public WindowTest {
protected:
    // The zoom is kept in the test run's own settings folder (main.cpp);
    // no later test starts zoomed.
    void TearDown() override {
        WindowTest::TearDown();
        QSettings("Optimara", "Optimara").remove("zoom");
    }
    void ResizeClient(int width, int height) {
        form->resize(width, height + form->menuBar()->height());
        ASSERT_TRUE(QTest::qWaitFor([&] { return Client()->size() == QSize(width, height); }));
    }
    // Six variables, six rows, fractions of two and three digits.
    void SolveClassroomProblem() {
        Rational1()->trigger();
        PasteProblem(1, "3x+2y+4z+u+2v+w",
                     {"x+0.5y+z+u+v+w<1.25", "x+3y+0.2z+2u<6", "2x+y+z+0.25v<2.5", "x+y+3z+0.125w<7",
                      "u+v+w<0.75", "x+2u+3v<3.5", "x,y,z,u,v,w>0"});
        Press(Button1());
        ASSERT_EQ(Panel(1), "Hecho");
    }
    void Key(int key) { QTest::keyClick(form.get(), static_cast<Qt::Key>(key), Qt::ControlModifier); }
};

TEST_F(ZoomedWindow, LargerWindowShowsTheWholeTableauBesideThePicture) {
    const struct {
        int width, height, zoom;
    } sizes[] = {{1024, 768, 100}, {1280, 800, 100}, {1280, 800, 150}, {1920, 1080, 200}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height) + " " + std::to_string(s.zoom) + "%");
        form->SetZoom(s.zoom);
        ResizeClient(s.width, s.height);
        SolveClassroomProblem();
        QTableView* grid = StringGrid1();
        EXPECT_GT(grid->width(), 209);
        EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0);
        EXPECT_EQ(grid->verticalScrollBar()->maximum(), 0);
        // The last column, the constants and the value, lies wholly inside.
        const int last = GridModel()->columnCount() - 1;
        EXPECT_LE(grid->columnViewportPosition(last) + grid->columnWidth(last), grid->viewport()->width());
        EXPECT_EQ(Cell(last, GridModel()->rowCount() - 1), Edit2()->text());
        // The grid, the view buttons and the results stand side by side;
        // the picture right of the work area, below the value box.
        EXPECT_LT(grid->geometry().right(), Button9()->x());
        EXPECT_LT(Button9()->geometry().right(), Edit2()->x());
        const int top = Edit2()->geometry().bottom() + 11;
        EXPECT_EQ(Image1()->geometry(), QRect(Edit2()->x(), top, s.width - Edit2()->x() - 10,
                                              s.height - StatusBar1()->height() - 10 - top));
    }
}

TEST_F(ZoomedWindow, StepsScaleTheResultsTextsAndStopAtTheEnds) {
    const QFont gridFont = StringGrid1()->font(), listFont = ListBox2()->font(), valueFont = Edit2()->font();
    const int digits = DigitHeight(StringGrid1());
    const struct {
        int key;
        int zoom;
    } presses[] = {{Qt::Key_Plus, 125}, {Qt::Key_Equal, 150}, {Qt::Key_Plus, 175}, {Qt::Key_Plus, 200},
                   {Qt::Key_Plus, 250}, {Qt::Key_Plus, 300}, {Qt::Key_Plus, 300}, {Qt::Key_Minus, 250},
                   {Qt::Key_0, 100},    {Qt::Key_Minus, 100}, {Qt::Key_Equal, 125}};
    int previous = digits;
    for (const auto& p : presses) {
        Key(p.key);
        SCOPED_TRACE(p.zoom);
        ASSERT_EQ(form->Zoom(), p.zoom);
        const int height = DigitHeight(StringGrid1());
        EXPECT_GE(height, Zoomed(digits, p.zoom));
        if (p.zoom == 200) EXPECT_GE(height, 16);
        for (QWidget* w : {static_cast<QWidget*>(ListBox2()), static_cast<QWidget*>(Edit2()),
                           static_cast<QWidget*>(StatusBar1()->PanelLabel(1))})
            EXPECT_GE(DigitHeight(w) * 100, digits * p.zoom * 9 / 10) << w->objectName().toStdString();
        EXPECT_EQ(StringGrid1()->verticalHeader()->defaultSectionSize(), Zoomed(16, p.zoom));
        EXPECT_EQ(ZoomIn1()->isEnabled(), p.zoom < 300);
        EXPECT_EQ(ZoomOut1()->isEnabled(), p.zoom > 100);
        EXPECT_EQ(height > previous, p.zoom > 100 && p.key != Qt::Key_Minus && p.key != Qt::Key_0 &&
                                         !(p.zoom == 300 && previous == height));
        previous = height;
    }
    Key(Qt::Key_0);
    EXPECT_EQ(StringGrid1()->font(), gridFont);
    EXPECT_EQ(ListBox2()->font(), listFont);
    EXPECT_EQ(Edit2()->font(), valueFont);
}

TEST_F(ZoomedWindow, ControlWheelOverTheGridZoomsByWholeNotches) {
    QWidget* viewport = StringGrid1()->viewport();
    const struct {
        int delta;
        Qt::KeyboardModifiers modifiers;
        int zoom;
    } turns[] = {{120, Qt::ControlModifier, 125}, {60, Qt::ControlModifier, 125}, {60, Qt::ControlModifier, 150},
                 {240, Qt::NoModifier, 150},     {-240, Qt::ControlModifier, 100}};
    for (const auto& t : turns) {
        QWheelEvent wheel(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, t.delta),
                          Qt::NoButton, t.modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        EXPECT_EQ(form->Zoom(), t.zoom) << t.delta;
    }
}

TEST_F(ZoomedWindow, ZoomIsRememberedForTheNextWindow) {
    Key(Qt::Key_Plus);
    Key(Qt::Key_Plus);
    Key(Qt::Key_Plus);
    Key(Qt::Key_Plus);
    ASSERT_EQ(form->Zoom(), 200);
    const QFont zoomed = StringGrid1()->font();
    form = NewWindow();
    EXPECT_EQ(form->Zoom(), 200);
    EXPECT_EQ(StringGrid1()->font(), zoomed);
    // A remembered value that is no step comes back as the nearest one, one
    // out of range or unreadable as the normal size.
    const struct {
        QVariant stored;
        int zoom;
    } stored[] = {{130, 125}, {1000, 100}, {"grande", 100}, {300, 300}};
    for (const auto& s : stored) {
        QSettings("Optimara", "Optimara").setValue("zoom", s.stored);
        form = NewWindow();
        EXPECT_EQ(form->Zoom(), s.zoom) << s.stored.toString().toStdString();
    }
}

// The commonest run of painted pixels down a few columns of the picture: the
// width of its lines where they cross the columns at a slant.
int LineWidth(const QImage& image, const std::function<bool(int, int)>& painted) {
    std::map<int, int> runs;
    for (int x = image.width() / 7; x < image.width(); x += image.width() / 7) {
        for (int y = 0, run = 0; y <= image.height(); ++y) {
            if (y < image.height() && painted(x, y)) {
                ++run;
            } else if (run > 0) {
                ++runs[run];
                run = 0;
            }
        }
    }
    const auto commonest = std::max_element(runs.begin(), runs.end(),
                                            [](const auto& a, const auto& b) { return a.second < b.second; });
    return commonest == runs.end() ? 0 : commonest->first;
}

TEST_F(ZoomedWindow, PictureLinesMarkerAndRoadWidenWithTheZoom) {
    const QColor line = QApplication::palette().color(QPalette::WindowText);
    ResizeClient(1280, 800);
    for (int zoom : {100, 200, 300}) {
        SCOPED_TRACE(zoom);
        form->SetZoom(zoom);
        PasteProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
        Press(Button1());
        ASSERT_EQ(Panel(1), "Hecho");
        const QImage picture = Image1()->Picture(), road = Image1()->Layer();
        EXPECT_EQ(LineWidth(picture, [&](int x, int y) { return picture.pixelColor(x, y) == line; }),
                  ZoomedLineWidth(zoom));
        EXPECT_EQ(LineWidth(road, [&](int x, int y) { return qAlpha(road.pixel(x, y)) != 0; }), ZoomedLineWidth(zoom));
        // The marker is centred on the vertex (4, 0), as the 5 x 5 one is.
        const PlotState& p = form->State().plot;
        const QRect image = Image1()->geometry();
        EXPECT_EQ(Shape1()->size(), QSize(ZoomedDotSize(zoom), ZoomedDotSize(zoom)));
        EXPECT_EQ(Shape1()->x() + Shape1()->width() / 2,
                  static_cast<int>(image.x() + image.width() * (4 - p.PlotXMin) / (p.PlotXMax - p.PlotXMin) - 2) + 2);
        EXPECT_EQ(Shape1()->y() + Shape1()->height() / 2,
                  static_cast<int>(image.y() + image.height() * p.PlotYMax / (p.PlotYMax - p.PlotYMin) - 2) + 2);
    }
}

TEST_F(ZoomedWindow, NumberWidthsAreThoseOfTheLaidOutText) {
    const char* texts[] = {"11", "-1/7", "**-675/232", "*0.333333333333333", "1.5E-7", "x''", "123,45"};
    for (int zoom : kZoomSteps) {
        form->SetZoom(zoom);
        const TextWidths widths(StringGrid1()->font());
        const QFontMetricsF metrics(StringGrid1()->font());
        for (const char* t : texts) EXPECT_EQ(widths.Advance(t), metrics.horizontalAdvance(t)) << zoom << " " << t;
    }
}

} // namespace
} // namespace optimara::uitest
