// SPDX-License-Identifier: GPL-3.0-or-later
// The whole window zoomed: the problem's editors, captions and buttons, the
// menus and the sensitivity, tree and read-me windows; at the largest zoom
// on a small screen every control can still be reached; the auxiliary
// windows open beside the main window when the screen has room.
#include <QHeaderView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSettings>
#include <QTableWidget>
#include <functional>

#include "AuxWindows.h"
#include "BranchWindow.h"
#include "SensitivityWindow.h"
#include "UiTestSupport.h"
#include "WindowPlacement.h"
#include "Zoom.h"
#include "ZoomFeature.h"

namespace optimara::uitest {
namespace {

// A font's size as it was set: points, or pixels for a font set in pixels.
double SizeOf(const QFont& font) { return font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize(); }
int DigitHeight(const QFont& font) { return QFontMetrics(font).tightBoundingRect("0123456789").height(); }

class ZoomedTexts : public WindowTest {
protected:
    void TearDown() override {
        readme_.reset();
        WindowTest::TearDown();
        QSettings("Optimara", "Optimara").remove("zoom");
    }
    void SetZoom(int percent) { form->findChild<ZoomFeature*>()->SetZoom(percent); }
    // The read-me window is the application's; here the test's.
    TForm4* Readme() {
        if (!readme_) {
            readme_ = std::make_unique<TForm4>();
            form->SetAuxWindows(nullptr, readme_.get());
        }
        return readme_.get();
    }
    // A search by branch and bound, for the tree, then an optimum with its
    // sensitivity; both windows open.
    void OpenAuxiliaryWindows() {
        PasteProblem(1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"});
        Press(Button1());
        ASSERT_EQ(Panel(2), "5 nodos resueltos");
        form->findChild<QAction*>("Tree1")->trigger();
        PasteProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
        Press(Button1());
        ASSERT_EQ(Panel(1), "Hecho");
        form->findChild<QAction*>("Sensitivity1")->trigger();
        Readme1()->trigger();
        ASSERT_TRUE(Sensitivity() && Tree() && Sensitivity()->isVisible() && Tree()->isVisible());
    }
    TSensitivityForm* Sensitivity() const { return form->findChild<TSensitivityForm*>("Sensibilidad"); }
    TBranchForm* Tree() const { return form->findChild<TBranchForm*>("Arbol"); }

    // Every text whose size the zoom sets, found anew in each window made.
    std::vector<std::pair<const char*, std::function<QWidget*()>>> Texts() {
        return {
            {"Edit1", [this] { return Edit1(); }},
            {"RichEdit1", [this] { return RichEdit1(); }},
            {"Label1", [this] { return Label1(); }},
            {"Button1", [this] { return Button1(); }},
            {"ComboBox1", [this] { return ComboBox1(); }},
            {"menu bar", [this] { return form->menuBar(); }},
            {"Ver menu", [this] { return form->findChild<QMenu*>("ViewMenu"); }},
            {"sensitivity table", [this] { return Sensitivity()->LinesTable; }},
            {"sensitivity headings", [this] { return Sensitivity()->LinesTable->horizontalHeader(); }},
            {"sensitivity words", [this] { return Sensitivity()->Words; }},
            {"dual text", [this] { return Sensitivity()->DualText; }},
            {"tree table", [this] { return Tree()->Nodes; }},
            {"tree headings", [this] { return Tree()->Nodes->horizontalHeader(); }},
            {"tree summary", [this] { return Tree()->Summary; }},
            {"read-me text", [this] { return Readme()->Memo1; }},
        };
    }
    std::unique_ptr<TForm4> readme_;
};

TEST_F(ZoomedTexts, EditorsCaptionsMenusAndAuxiliaryWindowsTextsDoubleAt200) {
    Readme();
    OpenAuxiliaryWindows();
    std::map<std::string, QFont> normal;
    for (const auto& [name, text] : Texts()) normal[name] = text()->font();
    const int normalRow = Tree()->Nodes->verticalHeader()->defaultSectionSize();
    // Changed while the windows are open; then opened in a window made at
    // the remembered zoom.
    SetZoom(200);
    for (bool reopened : {false, true}) {
        if (reopened) {
            form.reset();
            readme_.reset();
            form = NewWindow();
            form->show();
            Readme();
            OpenAuxiliaryWindows();
        }
        for (const auto& [name, text] : Texts()) {
            SCOPED_TRACE(std::string(name) + (reopened ? " reopened" : ""));
            const QFont& before = normal[name];
            const QFont after = text()->font();
            EXPECT_GE(SizeOf(after), 2 * SizeOf(before));
            EXPECT_GE(DigitHeight(after), 2 * DigitHeight(before));
            // Twice the size, or the least size above it whose digits are
            // twice as tall, where hinting keeps them short of it.
            if (SizeOf(after) > 2 * SizeOf(before)) {
                QFont smaller = after;
                if (after.pointSizeF() > 0) smaller.setPointSizeF(after.pointSizeF() - 0.25);
                else smaller.setPixelSize(after.pixelSize() - 1);
                EXPECT_LT(DigitHeight(smaller), 2 * DigitHeight(before));
            }
            EXPECT_EQ(after.family(), before.family());
        }
        EXPECT_EQ(Tree()->Nodes->verticalHeader()->defaultSectionSize(), 2 * normalRow);
        // The windows grow with their texts, up to the screen's room.
        const QSize room = Readme()->screen()->availableGeometry().size();
        EXPECT_EQ(Readme()->width(), std::min(room.width(), 2 * TForm4::kDesignSize.width()));
        EXPECT_GT(Readme()->height(), TForm4::kDesignSize.height());
        EXPECT_LE(Readme()->height(), std::min(room.height(), 2 * TForm4::kDesignSize.height()));
    }
    SetZoom(100);
    for (const auto& [name, text] : Texts()) EXPECT_EQ(text()->font(), normal[name]) << name;
    EXPECT_EQ(Readme()->size(), TForm4::kDesignSize);
}

// Zoomed in a window narrower than the zoomed design the work area is one
// column that scrolls up and down only; in a wider one the design stands
// side by side. Either way every control lies in the work area the bars
// scroll over, and each caption fits its control.
TEST_F(ZoomedTexts, EveryControlCanBeReachedAt300PercentIn1024x768) {
    const struct {
        int width, height, zoom;
        bool column;
    } windows[] = {{1024, 768, 300, true}, {1024, 768, 200, true}, {1280, 1024, 150, false}};
    form->showNormal();
    PasteProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
    Press(Button1());
    ASSERT_EQ(Panel(1), "Hecho");
    auto* scroll = form->findChild<QScrollArea*>("WorkScroll");
    QWidget* work = scroll->widget();
    QWidget* viewport = scroll->viewport();
    for (const auto& s : windows) {
        SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height) + " " + std::to_string(s.zoom) + "%");
        form->resize(s.width, s.height);
        SetZoom(s.zoom);
        QApplication::processEvents();
        EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), std::max(0, work->width() - viewport->width()));
        EXPECT_EQ(scroll->verticalScrollBar()->maximum(), std::max(0, work->height() - viewport->height()));
        const std::vector<QWidget*> controls = {
            ComboBox1(), Edit1(),    Label1(),  RichEdit1(), Button1(), Label4(),  StringGrid1(),
            Button2(),   ListBox3(), Label2(),  ListBox2(),  Label3(),  Edit2(),   Button9(),
            Button7(),   Button8(),  Button5(), Button6(),   Button3(), Button4(), Image1()};
        for (QWidget* w : controls) {
            EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
            EXPECT_TRUE(work->rect().contains(w->geometry())) << w->objectName().toStdString();
            if (s.column) EXPECT_LT(w->geometry().right(), viewport->width()) << w->objectName().toStdString();
        }
        for (QPushButton* b : {Button1(), Button2(), Button9()})
            EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width()) << b->text().toStdString();
        for (QLabel* l : {Label1(), Label2(), Label3(), Label4()})
            EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << l->text().toStdString();
        EXPECT_GE(Edit1()->height(), Edit1()->fontMetrics().height());
        EXPECT_LE(RichEdit1()->geometry().bottom(), Label4()->y());
        if (s.column) {
            EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
            EXPECT_LT(StringGrid1()->geometry().bottom(), Label2()->y());
            EXPECT_LT(Edit2()->geometry().bottom(), Image1()->y());
            EXPECT_LT(Button9()->geometry().right(), Image1()->x());
        } else {
            EXPECT_LT(StringGrid1()->geometry().right(), Button9()->x());
            EXPECT_LT(Button9()->geometry().right(), Edit2()->x());
        }
    }
    // The keyboard's way from the solve button to the tableau scrolls it
    // into view.
    form->resize(1024, 768);
    SetZoom(300);
    QApplication::processEvents();
    scroll->verticalScrollBar()->setValue(0);
    const auto inView = [&](QWidget* w) { return viewport->rect().intersects(QRect(w->mapTo(viewport, QPoint(0, 0)), w->size())); };
    ASSERT_FALSE(inView(StringGrid1()));
    Button1()->setFocus();
    QTest::keyClick(Button1(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), StringGrid1());
    EXPECT_TRUE(inView(StringGrid1()));
}

// The sensitivity and tree windows open right of a main window that leaves
// the screen room for them, level with it.
TEST_F(ZoomedTexts, AuxiliaryWindowsOpenBesideTheMainWindowWhenTheScreenHasRoom) {
    form->showNormal();
    form->resize(560, 420);
    form->move(0, 0);
    const QRect available = form->screen()->availableGeometry();
    ASSERT_GE(available.width(), form->frameGeometry().width() + TBranchForm::kDesignSize.width() + 8);
    OpenAuxiliaryWindows();
    for (QWidget* w : {static_cast<QWidget*>(Sensitivity()), static_cast<QWidget*>(Tree())}) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_EQ(w->pos().x(), form->frameGeometry().right() + 1);
        EXPECT_EQ(w->pos().y(), form->frameGeometry().top());
    }
}

} // namespace
} // namespace optimara::uitest
