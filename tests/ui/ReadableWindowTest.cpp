// SPDX-License-Identifier: GPL-3.0-or-later
// What the window lets the user read: whole cells and error texts, legible
// results in every style, the toolkit's texts in Spanish, a picture that
// fills the window it opens in, and a marker that sits on the vertex.
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTableView>
#include <QTemporaryDir>
#include <cmath>

#include "Application.h"
#include "Legibility.h"
#include "UiTestSupport.h"

namespace optimara::uitest {
namespace {

class ReadableWindow : public WindowTest {
protected:
    // The values of ListBox2 in variable order ("x=4" gives 4).
    std::vector<double> ShownValues() const {
        std::vector<double> values;
        for (const QString& line : Items(ListBox2())) {
            QString number = line.section('=', 1);
            number.replace(QString::fromStdString(form->DecimalSeparator()), ".");
            bool ok = false;
            values.push_back(number.toDouble(&ok));
            EXPECT_TRUE(ok) << line.toStdString();
        }
        return values;
    }
    // The marker's centre is the pixel of the shown vertex in `image`'s
    // picture, and the picture shows a line or an edge there.
    void ExpectMarkerOnVertex(const PictureBox* image) {
        const std::vector<double> x = ShownValues();
        ASSERT_TRUE(x.size() == 2 || x.size() == 3);
        const PlotState& p = form->State().plot;
        double u = x[0], v = x[1];
        if (x.size() == 3) {
            const MatrixR& P = p.ViewProjection;
            u = P.Index(1, 1) * x[0] + P.Index(1, 2) * x[1] + P.Index(1, 3) * x[2];
            v = P.Index(2, 1) * x[0] + P.Index(2, 2) * x[1] + P.Index(2, 3) * x[2];
        }
        const int W = image->width(), H = image->height();
        ASSERT_FALSE(Shape1()->isHidden());
        EXPECT_EQ(Shape1()->x(), static_cast<int>(image->x() + W * (u - p.PlotXMin) / (p.PlotXMax - p.PlotXMin) - 2));
        EXPECT_EQ(Shape1()->y(), static_cast<int>(image->y() + H * (p.PlotYMax - v) / (p.PlotYMax - p.PlotYMin) - 2));
        const int col = Shape1()->x() + 2 - image->x(), row = Shape1()->y() + 2 - image->y();
        const QColor line = QApplication::palette().color(QPalette::WindowText);
        bool onLine = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                onLine = onLine || image->Picture().pixelColor(col + dx, row + dy) == line;
        EXPECT_TRUE(onLine) << "no line at the vertex pixel " << col << "," << row;
    }
    bool AllOneColour(const QImage& image, const QColor& colour) const {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) != colour) return false;
        return true;
    }
};

// ---- The tableau's cells ---------------------------------------------------

TEST_F(ReadableWindow, EveryCellShowsItsWholeTextInBothNotations) {
    PasteProblem(1, "x+y", {"3x+2y<7", "x+4y<5", "x>0", "y>0"});
    QTableView* grid = StringGrid1();
    int widened = 0;
    for (int press = 0; press < 3; ++press) {
        Press(Button2());
        ASSERT_EQ(Panel(0), "");
        for (QAction* notation : {Rational1(), FloatingPoint1()}) {
            notation->trigger();
            SCOPED_TRACE(notation->text().toStdString() + " step " + std::to_string(press));
            for (int c = 0; c < GridModel()->columnCount(); ++c) {
                const int width = grid->columnWidth(c);
                EXPECT_GE(width, 40);
                widened += width > 40;
                for (int r = 0; r < GridModel()->rowCount(); ++r) {
                    QStyleOptionViewItem option;
                    option.initFrom(grid);
                    option.font = grid->font();
                    option.features = QStyleOptionViewItem::HasDisplay;
                    const QModelIndex index = GridModel()->index(r, c);
                    // What the cell's painter needs, and the grid line.
                    const int needed = grid->itemDelegate()->sizeHint(option, index).width() + 1;
                    EXPECT_LE(needed, width) << "cell " << c << "," << r << " " << Cell(c, r).toStdString();
                }
            }
        }
    }
    EXPECT_GT(widened, 0);
    // Wider than the control, the grid scrolls.
    PasteProblem(1, "a+b+c+d+e", {"a+2b+3c+4d+5e<7", "a,b,c,d,e>0"});
    Press(Button2());
    int total = 0;
    for (int c = 0; c < GridModel()->columnCount(); ++c) total += StringGrid1()->columnWidth(c);
    ASSERT_GT(total, StringGrid1()->viewport()->width());
    EXPECT_GT(StringGrid1()->horizontalScrollBar()->maximum(), 0);
}

// ---- The error panel -------------------------------------------------------

struct FaultyText {
    const char* objective;
    QStringList lines;
    const char* error;
};

TEST_F(ReadableWindow, EveryErrorTextFitsTheErrorPanel) {
    const QStringList one = {"x<1"};
    const FaultyText cases[] = {
        {"   ", one, "Nada para optimizar     "},
        {"3x-", one, "ERROR1: Número esperado       -"},
        {"3x+", one, "ERROR2: Número esperado       +"},
        {"2**x", one, "ERROR3: Símbolo inapropiado"},
        {"x + 3", one, "ERROR4: Variable especrada en la función objetn"},
        {"x+2X", one, "ERROR5: Variable duplicada "},
        {"x*", one, "ERROR13: Variable esperada"},
        {"x+y", {"x + 3"}, "ERROR6: Inesperado final      "},
        {"x+y", {" x + y "}, "ERROR7: Inesperado final      "},
        {"x+y", {"x+y,"}, "ERROR9: Inesperado final      "},
        {"x+y", {"x+y,<3"}, "ERROR10: Inesperado final de expresió"},
        {"x+y", {"x+y<4y"}, "ERROR11: Fin de linea esperad"},
        {"x+y", {"x+y<=4"}, "ERROR12: Número no hayado"},
        {"x+y", {"x+3*"}, "ERROR14: Variable esperada"},
        {"x+y", {"x+.y<3"}, "ERROR15: Un cero no tiene ningún efecto en la (in) ecuación"},
        {"x+y", {"x+X<3"}, "ERROR16: Variable duplicada "},
        {"x+y", {"; solo un comentario"}, "ERROR16: No hay restricciones"},
    };
    const QLabel* error = StatusBar1()->PanelLabel(0);
    const QLabel* status = StatusBar1()->PanelLabel(1);
    for (const FaultyText& c : cases) {
        SCOPED_TRACE(c.error);
        PasteProblem(1, QString::fromUtf8(c.objective), c.lines);
        Press(Button1());
        ASSERT_EQ(Panel(0), c.error);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QFontMetrics metrics(error->font());
        // A framed label indents its text by half an "x".
        const int needed = metrics.horizontalAdvance('x') / 2 + metrics.horizontalAdvance(QString::fromUtf8(c.error));
        EXPECT_GE(error->contentsRect().width(), needed);
        EXPECT_GE(error->width(), 200);
        EXPECT_GE(status->width(), 50);
        EXPECT_LE(status->geometry().right(), StatusBar1()->width());
        EXPECT_LE(error->geometry().right(), status->x());
    }
    // Back to its own width once the text is short again.
    PasteProblem(1, "x", {"x<1", "x>0"});
    Press(Button1());
    ASSERT_EQ(Panel(1), "Hecho");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_EQ(error->width(), 200);
}

// ---- The disabled results --------------------------------------------------

TEST(Legibility, ContrastRatioOfKnownPairs) {
    EXPECT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(Qt::white, Qt::black), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(QColor(0x77, 0x77, 0x77), QColor(0x77, 0x77, 0x77)), 1.0, 1e-12);
    // The usual threshold pair: #767676 on white just passes, #777777 not.
    EXPECT_NEAR(ContrastRatio(QColor(0x76, 0x76, 0x76), Qt::white), 4.54, 0.01);
    EXPECT_LT(ContrastRatio(QColor(0x77, 0x77, 0x77), Qt::white), 4.5);
    // Green weighs more than red, red more than blue.
    EXPECT_GT(ContrastRatio(Qt::black, Qt::green), ContrastRatio(Qt::black, Qt::red));
    EXPECT_GT(ContrastRatio(Qt::black, Qt::red), ContrastRatio(Qt::black, Qt::blue));
}

TEST(Legibility, DisabledTextKeptOnlyWhenComfortablyLegible) {
    QPalette palette;
    palette.setColor(QPalette::Disabled, QPalette::Base, Qt::white);
    palette.setColor(QPalette::Active, QPalette::Text, QColor(0x10, 0x10, 0x40));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x40, 0x40, 0x40));  // 10:1
    EXPECT_EQ(LegibleDisabledText(palette), QColor(0x40, 0x40, 0x40));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x60, 0x60, 0x60));  // 6.3:1
    EXPECT_EQ(LegibleDisabledText(palette), QColor(0x10, 0x10, 0x40));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0xbe, 0xbe, 0xbe));
    EXPECT_EQ(LegibleDisabledText(palette), QColor(0x10, 0x10, 0x40));
    // A scheme whose own text does not read on its background: plain white
    // on a dark background, black on a light one.
    palette.setColor(QPalette::Disabled, QPalette::Base, QColor(0x20, 0x20, 0x20));
    palette.setColor(QPalette::Active, QPalette::Text, QColor(0x30, 0x30, 0x30));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x28, 0x28, 0x28));
    EXPECT_EQ(LegibleDisabledText(palette), QColor(Qt::white));
    palette.setColor(QPalette::Disabled, QPalette::Base, QColor(0xd0, 0xd0, 0xd0));
    palette.setColor(QPalette::Active, QPalette::Text, QColor(0xe0, 0xe0, 0xe0));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0xc0, 0xc0, 0xc0));
    EXPECT_EQ(LegibleDisabledText(palette), QColor(Qt::black));
}

// The colours a disabled control paints its text and background with.
double DisabledContrast(const QWidget* w, QPalette::ColorRole text) {
    return ContrastRatio(w->palette().color(QPalette::Disabled, text),
                         w->palette().color(QPalette::Disabled, QPalette::Base));
}

// The strongest contrast any painted pixel has against the corner pixel
// (the background): the text's core.
double PaintedContrast(QWidget* w) {
    const QImage shot = w->grab().toImage();
    const QColor background = shot.pixelColor(shot.width() / 2, shot.height() - 4);
    double best = 1;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) best = std::max(best, ContrastRatio(shot.pixelColor(x, y), background));
    return best;
}

TEST_F(ReadableWindow, DisabledResultsReadInEveryStyleAndScheme) {
    const QString originalStyle = QApplication::style()->name();
    const QPalette originalPalette = QApplication::palette();
    PasteProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
    Press(Button1());
    ASSERT_EQ(Panel(1), "Hecho");
    QWidget* results[] = {ListBox2(), ListBox3(), Edit2()};
    // Dark and faint schemes on top of the styles' own palettes.
    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Text, QColor(0xe0, 0xe0, 0xe0));
    dark.setColor(QPalette::Disabled, QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x3a, 0x3a, 0x3a));
    QPalette faint = QApplication::palette();
    faint.setColor(QPalette::Disabled, QPalette::Base, QColor(0xf0, 0xf0, 0xf0));
    faint.setColor(QPalette::Disabled, QPalette::Text, QColor(0xc8, 0xc8, 0xc8));
    for (const QString& key : QStyleFactory::keys()) {
        QApplication::setStyle(key);
        for (const QPalette& scheme : {QApplication::style()->standardPalette(), dark, faint}) {
            QApplication::setPalette(scheme);
            SCOPED_TRACE(key.toStdString());
            for (QWidget* w : results) {
                SCOPED_TRACE(w->objectName().toStdString());
                EXPECT_FALSE(w->isEnabled());
                EXPECT_EQ(w->focusPolicy() & Qt::TabFocus, 0);
                EXPECT_GE(DisabledContrast(w, QPalette::Text), 4.5);
                EXPECT_GE(DisabledContrast(w, QPalette::WindowText), 4.5);
            }
            EXPECT_GE(PaintedContrast(Edit2()), 4.5);
            EXPECT_GE(PaintedContrast(ListBox2()), 4.5);
        }
    }
    QApplication::setStyle(originalStyle);
    QApplication::setPalette(originalPalette);
}

// ---- The toolkit speaks Spanish ---------------------------------------------

TEST_F(ReadableWindow, QuestionBoxAndFileDialogSpeakSpanish) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("otro.lpf");
    PasteProblem(1, "x", {"x<1", "x>0"});
    form->ProblemFileWriter(file);
    PasteProblem(1, "y", {"y<1"});  // unsaved work: opening asks first
    questions->openFile = [&] { return file; };
    QStringList buttons;
    auto readButtons = [&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons()) buttons << b->text().remove('&');
        // Wide enough for the window manager to show the caption whole.
        QFont bold = box->font();
        bold.setBold(true);
        EXPECT_GE(box->width(), QFontMetrics(bold).horizontalAdvance(box->windowTitle()) + kTitleBarButtonsWidth);
        box->button(QMessageBox::No)->click();
    };
    {
        ModalAnswerer answerer({readButtons});
        Open1()->trigger();
        ASSERT_EQ(answerer.Seen().size(), 1u);
        // The program's own texts stay as they are.
        EXPECT_EQ(answerer.Seen()[0].title, QString::fromUtf8("Tu trabajo no se ha guardado "));
    }
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"No", QString::fromUtf8("Sí")}));
    EXPECT_EQ(Edit1()->text(), "x");

    QString lookIn;
    auto readDialog = [&](QWidget* w) {
        auto* label = w->findChild<QLabel*>("lookInLabel");
        ASSERT_NE(label, nullptr);
        lookIn = label->text();
        static_cast<QDialog*>(w)->reject();
    };
    {
        ModalAnswerer answerer({readDialog});
        SaveImageAs1()->trigger();
        ASSERT_EQ(answerer.Seen().size(), 1u);
    }
    EXPECT_EQ(lookIn, "Ver en:");
}

// ---- A picture that uses the window ----------------------------------------

TEST(OpeningWindow, MaximisedWindowGetsAPictureToItsEdges) {
    TForm1 form;
    const WindowProbe probe(&form);
    form.showMaximized();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    // The test screen is 1280 x 800 (see main.cpp). The explanation's band
    // under the work area is no part of the work area's room.
    const auto* band = form.findChild<QWidget*>("Explicacion");
    ASSERT_NE(band, nullptr);
    const QSize client = probe.Client()->size() - QSize(0, band->isVisible() ? band->height() : 0);
    ASSERT_GT(client.width(), 1200);
    ASSERT_GT(client.height(), 500);
    // The tableau takes half the room the design size leaves; the picture
    // stands right of the work area, below the value box.
    const int grow = (client.width() - 644) / 2;
    EXPECT_EQ(probe.Edit2()->geometry(), QRect(376 + grow, 135, 217, 20));
    EXPECT_EQ(probe.Image1()->geometry(),
              QRect(376 + grow, 165, client.width() - 376 - grow - 10, client.height() - 165 - 22 - 10));
    const QRect placed = probe.Image1()->geometry();
    // The tableau and the split variables reach down to the status bar.
    EXPECT_EQ(probe.StringGrid1()->geometry(), QRect(88, 192, 209 + grow, client.height() - 22 - 192));
    EXPECT_EQ(probe.ListBox3()->geometry(), QRect(8, 224, 73, client.height() - 22 - 224));
    // A picture drawn now fills the new place, the marker on its vertex.
    probe.Edit1()->setText("3x+2y");
    probe.RichEdit1()->setPlainText("x+y<4\nx+3y<6\nx>0\ny>0");
    QTest::mouseClick(probe.Button1(), Qt::LeftButton);
    ASSERT_EQ(probe.StatusBar1()->Text(1), "Hecho");
    EXPECT_EQ(probe.Image1()->Picture().size(), placed.size());
    const PlotState& p = form.State().plot;
    // The optimal vertex (4, 0).
    EXPECT_EQ(probe.Shape1()->x(), static_cast<int>(placed.x() + placed.width() * (4 - p.PlotXMin) / (p.PlotXMax - p.PlotXMin) - 2));
    EXPECT_EQ(probe.Shape1()->y(), static_cast<int>(placed.y() + placed.height() * (p.PlotYMax - 0) / (p.PlotYMax - p.PlotYMin) - 2));
    // Placed anew for every size: back at the same size, at the same place.
    form.showNormal();
    form.resize(700, 500);
    QTest::qWait(20);
    form.showMaximized();
    QTest::qWait(20);
    EXPECT_EQ(probe.Image1()->geometry(), placed);
}

// ---- A picture of the problem on screen --------------------------------------

TEST_F(ReadableWindow, ProblemWithoutAPictureShowsAnEmptyOneAndNoMarker) {
    const QColor face = QApplication::palette().color(QPalette::Button);
    PasteProblem(1, "x+y+z", {"x<1", "y<1", "z<1", "x>0", "y>0", "z>0"});
    Press(Button1());
    ASSERT_EQ(Panel(1), "Hecho");
    Enlarge1()->trigger();
    Restore1()->trigger();
    ASSERT_FALSE(Shape1()->isHidden());
    ASSERT_FALSE(AllOneColour(Image3()->Picture(), face));
    PasteProblem(1, "a+b+c+d", {"a<1", "b<1", "c<1", "d<1", "a,b,c,d>0"});
    Press(Button1());
    ASSERT_EQ(Panel(1), "Hecho");
    EXPECT_TRUE(AllOneColour(Image1()->Picture(), face));
    EXPECT_TRUE(Shape1()->isHidden());
    // The enlarged picture is not the cube's either.
    Enlarge1()->trigger();
    EXPECT_TRUE(AllOneColour(Image3()->Picture(), face));
    EXPECT_TRUE(Shape1()->isHidden());
    Restore1()->trigger();
    // Nor after a step, a redraw or a notation switch of a one-variable problem.
    PasteProblem(1, "x+y", {"x<1", "y<1", "x>0", "y>0"});
    Press(Button1());
    ASSERT_FALSE(Shape1()->isHidden());
    PasteProblem(1, "x", {"x<1", "x>0"});
    Press(Button2());
    Press(Button2());
    form->Button9Click();
    Rational1()->trigger();
    EXPECT_TRUE(AllOneColour(Image1()->Picture(), face));
    EXPECT_TRUE(Shape1()->isHidden());
}

// ---- The marker ------------------------------------------------------------

TEST_F(ReadableWindow, MarkerSitsOnTheVertexAfterEveryPivotIn2DAnd3D) {
    const struct {
        const char* objective;
        QStringList lines;
    } problems[] = {
        {"3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}},
        {"x+2y", {"x<3", "y<2", "x+y<4", "x>0", "y>0"}},
        {"x+2y+3z", {"x<1", "y<2", "z<1", "x+y+z<3", "x>0", "y>0", "z>0"}},
    };
    for (const auto& problem : problems) {
        SCOPED_TRACE(problem.objective);
        PasteProblem(1, problem.objective, problem.lines);
        Press(Button2());
        int pivots = 0;
        while (Panel(1).empty()) {
            Press(Button2());
            ++pivots;
            ExpectMarkerOnVertex(Image1());
            // The enlarged picture has its own size and plot window.
            Enlarge1()->trigger();
            ExpectMarkerOnVertex(Image3());
            Rational1()->trigger();
            ExpectMarkerOnVertex(Image3());
            FloatingPoint1()->trigger();
            Restore1()->trigger();
            ExpectMarkerOnVertex(Image1());
        }
        EXPECT_EQ(Panel(1), "Hecho");
        EXPECT_GE(pivots, 1);
    }
}

} // namespace
} // namespace optimara::uitest
