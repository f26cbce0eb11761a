// SPDX-License-Identifier: GPL-3.0-or-later
// The whole window zoomed: the problem's editors, captions and buttons, the
// menus and the sensitivity, tree and read-me windows; every control still
// reached on a small screen; the auxiliary windows open beside the main one.
#include <QHeaderView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSettings>
#include <QTableWidget>

#include "AuxWindows.h"
#include "BranchWindow.h"
#include "SensitivityWindow.h"
#include "UiTestSupport.h"
#include "ZoomFeature.h"

namespace optimara::uitest {
namespace {

double SizeOf(const QFont& f) { return f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize(); }
int DigitHeight(const QFont& f) { return QFontMetrics(f).tightBoundingRect("0123456789").height(); }

class ZoomedTexts : public WindowTest {
protected:
    void TearDown() override {
        WindowTest::TearDown();
        readme_.reset();
        QSettings("Optimara", "Optimara").remove("zoom");
    }
    void SetZoom(int percent) { form->findChild<ZoomFeature*>()->SetZoom(percent); }
    // A search by branch and bound for the tree, an optimum for the
    // sensitivity, and the read-me, here the test's own.
    void OpenAuxiliaryWindows() {
        readme_ = std::make_unique<TForm4>();
        form->SetAuxWindows(nullptr, readme_.get());
        PasteProblem(1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"});
        Press(Button1());
        form->findChild<QAction*>("Tree1")->trigger();
        PasteProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
        Press(Button1());
        form->findChild<QAction*>("Sensitivity1")->trigger();
        Readme1()->trigger();
        ASSERT_TRUE(Sensitivity() && Tree() && Sensitivity()->isVisible() && Tree()->isVisible());
    }
    TSensitivityForm* Sensitivity() const { return form->findChild<TSensitivityForm*>("Sensibilidad"); }
    TBranchForm* Tree() const { return form->findChild<TBranchForm*>("Arbol"); }
    std::vector<QWidget*> Texts() const {
        return {Edit1(), RichEdit1(), Label1(), Button1(), ComboBox1(), form->menuBar(),
                form->findChild<QMenu*>("ViewMenu"), form->findChild<QMenu*>("GridMenu1"), Sensitivity()->LinesTable,
                Sensitivity()->LinesTable->horizontalHeader(), Sensitivity()->Words, Sensitivity()->DualText,
                Tree()->Nodes, Tree()->Nodes->horizontalHeader(), Tree()->Summary, readme_->Memo1};
    }
    std::unique_ptr<TForm4> readme_;
};

TEST_F(ZoomedTexts, EditorsCaptionsMenusAndAuxiliaryWindowsTextsDoubleAt200) {
    OpenAuxiliaryWindows();
    std::vector<QFont> normal;
    for (QWidget* w : Texts()) normal.push_back(w->font());
    const int normalRow = Tree()->Nodes->verticalHeader()->defaultSectionSize();
    // Changed while the windows are open; then in windows opened at the
    // remembered zoom.
    SetZoom(200);
    for (bool reopened : {false, true}) {
        if (reopened) {
            form = NewWindow();
            form->show();
            OpenAuxiliaryWindows();
        }
        const std::vector<QWidget*> texts = Texts();
        for (size_t i = 0; i < texts.size(); ++i) {
            SCOPED_TRACE(texts[i]->metaObject()->className() + std::string(reopened ? " reopened" : ""));
            const QFont after = texts[i]->font();
            EXPECT_GE(DigitHeight(after), 2 * DigitHeight(normal[i]));
            EXPECT_EQ(after.family(), normal[i].family());
            // Twice the size, or the least size above it whose digits are
            // twice as tall, where hinting keeps them short of it.
            EXPECT_GE(SizeOf(after), 2 * SizeOf(normal[i]));
            QFont smaller = after;
            smaller.setPointSizeF(after.pointSizeF() - 0.25);
            if (SizeOf(after) > 2 * SizeOf(normal[i])) EXPECT_LT(DigitHeight(smaller), 2 * DigitHeight(normal[i]));
        }
        EXPECT_EQ(Tree()->Nodes->verticalHeader()->defaultSectionSize(), 2 * normalRow);
        // The read-me grows with its text, up to the screen's room.
        const QSize room = readme_->screen()->availableGeometry().size();
        EXPECT_EQ(readme_->width(), std::min(room.width(), 2 * TForm4::kDesignSize.width()));
        EXPECT_GT(readme_->height(), TForm4::kDesignSize.height());
    }
    SetZoom(100);
    for (size_t i = 0; i < normal.size(); ++i) EXPECT_EQ(Texts()[i]->font(), normal[i]) << i;
    EXPECT_EQ(readme_->size(), TForm4::kDesignSize);
}

// Narrower than the zoomed design, the work area is one column scrolling up
// and down only; wider, the design stands side by side. Every control lies
// in the area the bars scroll over, and every caption fits.
TEST_F(ZoomedTexts, EveryControlCanBeReachedAt300PercentIn1024x768) {
    const struct { int width, height, zoom; bool column; } windows[] = {
        {1024, 768, 300, true}, {1024, 768, 200, true}, {1280, 1024, 150, false}};
    form->showNormal();
    PasteProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
    Press(Button1());
    auto* scroll = form->findChild<QScrollArea*>("WorkScroll");
    QWidget* work = scroll->widget();
    QWidget* view = scroll->viewport();
    for (const auto& s : windows) {
        SCOPED_TRACE(s.zoom);
        form->resize(s.width, s.height);
        SetZoom(s.zoom);
        QApplication::processEvents();
        EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), s.column ? 0 : std::max(0, work->width() - view->width()));
        EXPECT_EQ(scroll->verticalScrollBar()->maximum(), std::max(0, work->height() - view->height()));
        for (QWidget* w : std::vector<QWidget*>{ComboBox1(), Edit1(), Label1(), RichEdit1(), Button1(), Label4(),
                                                StringGrid1(), Button2(), ListBox3(), Label2(), ListBox2(), Label3(),
                                                Edit2(), Button9(), Button3(), Button8(), Image1()}) {
            EXPECT_TRUE(w->isVisible() && work->rect().contains(w->geometry())) << w->objectName().toStdString();
            if (s.column) EXPECT_LT(w->geometry().right(), view->width()) << w->objectName().toStdString();
        }
        for (QAbstractButton* b : {Button1(), Button2(), Button9()})
            EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width());
        for (QLabel* l : {Label1(), Label2(), Label3(), Label4()})
            EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width());
        EXPECT_LE(RichEdit1()->geometry().bottom(), Label4()->y());
        // The results below the tableau, or right of the view buttons.
        EXPECT_LT(s.column ? StringGrid1()->geometry().bottom() : Button9()->geometry().right(),
                  s.column ? Label2()->y() : Edit2()->x());
    }
    // Tab from the solve button scrolls the tableau into view.
    const auto inView = [&](QWidget* w) { return view->rect().intersects(QRect(w->mapTo(view, QPoint()), w->size())); };
    scroll->verticalScrollBar()->setValue(0);
    SetZoom(300);
    form->resize(1024, 768);
    QApplication::processEvents();
    ASSERT_FALSE(inView(StringGrid1()));
    Button1()->setFocus();
    QTest::keyClick(Button1(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), StringGrid1());
    EXPECT_TRUE(inView(StringGrid1()));
}

TEST_F(ZoomedTexts, AuxiliaryWindowsOpenBesideTheMainWindowWhenTheScreenHasRoom) {
    form->showNormal();
    form->resize(560, 420);
    form->move(0, 0);
    ASSERT_GE(form->screen()->availableGeometry().width(), form->frameGeometry().width() + 640);
    OpenAuxiliaryWindows();
    for (QWidget* w : {static_cast<QWidget*>(Sensitivity()), static_cast<QWidget*>(Tree())})
        EXPECT_EQ(w->pos(), QPoint(form->frameGeometry().right() + 1, form->frameGeometry().top()));
}

} // namespace
} // namespace optimara::uitest
