// SPDX-License-Identifier: GPL-3.0-or-later
// A window for the classroom: the tableau grows with the window, and the
// zoom enlarges the results and the picture's lines, remembered for the
// next run.
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QMenuBar>
#include <QScrollBar>
#include <QSettings>
#include <QWheelEvent>
#include <algorithm>
#include <functional>
#include <map>
#include <utility>

#include "UiTestSupport.h"
#include "Zoom.h"
#include "ZoomFeature.h"

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
};

TEST_F(ZoomedWindow, LargerWindowShowsTheWholeTableauBesideThePicture) {
    const struct {
        int width, height, zoom;
    } sizes[] = {{1024, 768, 100}, {1280, 800, 100}, {1280, 800, 150}, {1920, 1080, 200}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height) + " " + std::to_string(s.zoom) + "%");
        form->findChild<ZoomFeature*>()->SetZoom(s.zoom);
        ResizeClient(s.width, s.height);
        SolveClassroomProblem();
        QTableView* grid = StringGrid1();
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
        // Above the explanation's band, when it is shown.
        const auto* band = form->findChild<QWidget*>("Explicacion");
        const int below = StatusBar1()->height() + (band->isVisible() ? band->height() : 0);
        EXPECT_EQ(Image1()->geometry(), QRect(Edit2()->x(), top, s.width - Edit2()->x() - 10, s.height - below - 10 - top));
    }
}

TEST_F(ZoomedWindow, KeysAndControlWheelStepTheResultsTextsAndAreRemembered) {
    const QFont normal = StringGrid1()->font();
    const int digits = DigitHeight(StringGrid1());
    // A key, or (key 0) a turn of the wheel over the grid with Ctrl held.
    const struct {
        int key, wheel, zoom;
    } presses[] = {{Qt::Key_Plus, 0, 125}, {Qt::Key_Equal, 0, 150}, {0, 120, 175}, {0, 60, 175}, {0, 60, 200},
                   {Qt::Key_Plus, 0, 250}, {Qt::Key_Plus, 0, 300}, {Qt::Key_Plus, 0, 300}, {Qt::Key_Minus, 0, 250},
                   {0, -240, 175},         {Qt::Key_0, 0, 100},    {Qt::Key_Minus, 0, 100}, {Qt::Key_Plus, 0, 125},
                   {Qt::Key_Plus, 0, 150}, {Qt::Key_Plus, 0, 175}, {Qt::Key_Plus, 0, 200}};
    for (const auto& p : presses) {
        if (p.key != 0) QTest::keyClick(form.get(), static_cast<Qt::Key>(p.key), Qt::ControlModifier);
        QWidget* viewport = StringGrid1()->viewport();
        QWheelEvent turn(QPointF(9, 9), viewport->mapToGlobal(QPointF(9, 9)), {}, QPoint(0, p.wheel), Qt::NoButton,
                         Qt::ControlModifier, Qt::NoScrollPhase, false);
        if (p.wheel != 0) QApplication::sendEvent(viewport, &turn);
        SCOPED_TRACE(p.zoom);
        ASSERT_EQ(form->Zoom(), p.zoom);
        EXPECT_GE(DigitHeight(StringGrid1()), Zoomed(digits, p.zoom));
        for (QWidget* w : {static_cast<QWidget*>(ListBox2()), static_cast<QWidget*>(Edit2()),
                           static_cast<QWidget*>(StatusBar1()->PanelLabel(1))})
            EXPECT_GE(DigitHeight(w) * 100, digits * p.zoom * 9 / 10) << w->objectName().toStdString();
        EXPECT_EQ(StringGrid1()->verticalHeader()->defaultSectionSize(), Zoomed(16, p.zoom));
        EXPECT_EQ(ZoomIn1()->isEnabled(), p.zoom < 300);
        EXPECT_EQ(ZoomOut1()->isEnabled(), p.zoom > 100);
        if (p.zoom == 100) EXPECT_EQ(StringGrid1()->font(), normal);
        // The grid's columns are fitted to the widths the texts are laid out with.
        const TextWidths widths(StringGrid1()->font());
        for (const char* t : {"11", "**-675/232", "*0.333333333333333", "1.5E-7", "x''", "123,45", "*-1234567890…/1234567…",
                              "…"})
            EXPECT_EQ(widths.Advance(t), QFontMetricsF(StringGrid1()->font()).horizontalAdvance(t)) << t;
    }
    EXPECT_GE(DigitHeight(StringGrid1()), 16);
    const QFont zoomed = StringGrid1()->font();
    form = NewWindow();
    EXPECT_EQ(form->Zoom(), 200);
    EXPECT_EQ(StringGrid1()->font(), zoomed);
    // A remembered value that is no step comes back as the nearest one, one
    // out of range or unreadable as the normal size.
    for (const auto& [stored, zoom] : {std::pair<QVariant, int>{130, 125}, {1000, 100}, {"grande", 100}}) {
        QSettings("Optimara", "Optimara").setValue("zoom", stored);
        EXPECT_EQ(NewWindow()->Zoom(), zoom) << stored.toString().toStdString();
    }
}

// Whether a text is taller than the panel's page at the panel's font,
// tab stops and width, laid out apart from the panel.
bool Overflows(const QPlainTextEdit* panel) {
    QTextDocument page;
    page.setDefaultFont(panel->font());
    QTextOption option = page.defaultTextOption();
    option.setTabStopDistance(panel->tabStopDistance());
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    page.setDefaultTextOption(option);
    page.setDocumentMargin(panel->document()->documentMargin());
    page.setTextWidth(panel->viewport()->width());
    page.setPlainText(panel->toPlainText());
    return page.size().height() > panel->viewport()->height() + 1;
}

// After each zoom, and for a text shown while zoomed: a text taller than the
// panel has a scroll bar that reaches its last line.
TEST_F(ZoomedWindow, ExplanationScrollsWhenItsTextDoesNotFitAfterAZoom) {
    auto* panel = form->findChild<QPlainTextEdit*>("Explicacion");
    ASSERT_TRUE(panel && panel->isVisible());
    QScrollBar* bar = panel->verticalScrollBar();
    int overflowing = 0;
    auto expectScrolls = [&] {
        // What the user sees once the window has had its events.
        QApplication::processEvents();
        if (!Overflows(panel)) return;
        ++overflowing;
        EXPECT_TRUE(bar->isVisible());
        bar->setValue(bar->maximum());
        QTextCursor end(panel->document());
        end.movePosition(QTextCursor::End);
        EXPECT_LE(panel->cursorRect(end).bottom(), panel->viewport()->height());
        bar->setValue(0);
    };
    // The first step of the classroom problem: a ratio test over six rows.
    Rational1()->trigger();
    PasteProblem(1, "3x+2y+4z+u+2v+w",
                 {"x+0.5y+z+u+v+w<1.25", "x+3y+0.2z+2u<6", "2x+y+z+0.25v<2.5", "x+y+3z+0.125w<7", "u+v+w<0.75",
                  "x+2u+3v<3.5", "x,y,z,u,v,w>0"});
    Press(Button2());
    ASSERT_GT(panel->toPlainText().count('\n'), 8);
    QAction* normal = form->findChild<QAction*>("ZoomNormal1");
    // Through the menu items, up to the largest step, down to the smallest and back.
    for (QAction* item : {ZoomIn1(), ZoomIn1(), ZoomIn1(), ZoomIn1(), ZoomIn1(), ZoomIn1(), ZoomOut1(), ZoomOut1(),
                          normal, ZoomIn1(), ZoomIn1()}) {
        item->trigger();
        SCOPED_TRACE(form->Zoom());
        expectScrolls();
    }
    // A text shown while zoomed: the first step again, then the optimum.
    for (int k = 0; k < 4; ++k) ZoomIn1()->trigger();
    Press(Button1());
    ASSERT_EQ(Panel(1), "Hecho");
    expectScrolls();
    Press(Button1());
    Press(Button2());
    expectScrolls();
    EXPECT_GE(overflowing, 10);
}

// The commonest run of painted pixels down a few columns of the picture: the
// width of its lines where they cross the columns at a slant.
int LineWidth(const QImage& image, const std::function<bool(QRgb)>& painted) {
    std::map<int, int> runs;
    for (int x = image.width() / 7; x < image.width(); x += image.width() / 7)
        for (int y = 0, run = 0; y <= image.height(); ++y) {
            if (y < image.height() && painted(image.pixel(x, y))) ++run;
            else if (run > 0) ++runs[std::exchange(run, 0)];
        }
    return std::max_element(runs.begin(), runs.end(), [](auto a, auto b) { return a.second < b.second; })->first;
}

TEST_F(ZoomedWindow, PictureLinesMarkerAndRoadWidenWithTheZoom) {
    const QRgb line = QApplication::palette().color(QPalette::WindowText).rgb();
    ResizeClient(1280, 800);
    for (int zoom : {100, 200, 300}) {
        SCOPED_TRACE(zoom);
        form->findChild<ZoomFeature*>()->SetZoom(zoom);
        PasteProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
        Press(Button1());
        ASSERT_EQ(Panel(1), "Hecho");
        EXPECT_EQ(LineWidth(Image1()->Picture(), [&](QRgb c) { return c == line; }), ZoomedLineWidth(zoom));
        EXPECT_EQ(LineWidth(Image1()->Layer(), [](QRgb c) { return qAlpha(c) != 0; }), ZoomedLineWidth(zoom));
        // The marker is centred on the vertex (4, 0), as the 5 x 5 one is.
        const PlotState& p = form->State().plot;
        const QRect image = Image1()->geometry();
        EXPECT_EQ(Shape1()->size(), QSize(ZoomedDotSize(zoom), ZoomedDotSize(zoom)));
        EXPECT_EQ(Shape1()->geometry().center(),
                  QPoint(static_cast<int>(image.x() + image.width() * (4 - p.PlotXMin) / (p.PlotXMax - p.PlotXMin) - 2) + 2,
                         static_cast<int>(image.y() + image.height() * p.PlotYMax / (p.PlotYMax - p.PlotYMin) - 2) + 2));
    }
}

} // namespace
} // namespace optimara::uitest
