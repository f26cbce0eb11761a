// SPDX-License-Identifier: GPL-3.0-or-later
// Everyday sequences of clicks on the real window that must neither end the
// program nor show a text the program does not define, nor leave anything
// of a cleared problem on screen, nor put the objective one key from loss.
#include <QAction>
#include <QImage>

#include "UiTestSupport.h"

namespace optimara::uitest {
namespace {

using Dialogs = std::vector<ModalAnswerer::Action>;

class EverydaySequences : public WindowTest {
protected:
    std::vector<SeenDialog> Run(const std::function<void()>& command, Dialogs answers = {}) {
        ModalAnswerer answerer(std::move(answers));
        command();
        return answerer.Seen();
    }
    std::vector<SeenDialog> Trigger(QAction* item, Dialogs answers = {}) {
        return Run([item] { item->trigger(); }, std::move(answers));
    }
    // Nothing of the old problem is shown: at most the empty problem of the
    // start (a zero in a grid of one cell and its labels), no variables.
    void ExpectNothingShown() {
        EXPECT_LE(GridModel()->rowCount(), 2);
        EXPECT_LE(GridModel()->columnCount(), 2);
        for (int r = 0; r < GridModel()->rowCount(); ++r)
            for (int c = 0; c < GridModel()->columnCount(); ++c)
                EXPECT_EQ(Cell(c, r), r == 1 && c == 1 ? "0" : "") << c << "," << r;
        EXPECT_EQ(ListBox2()->count(), 0);
        EXPECT_EQ(ListBox3()->count(), 0);
        EXPECT_TRUE(Edit2()->text() == "" || Edit2()->text() == "0");
    }
    // Every pixel of the picture in the button face, or no picture at all.
    bool Blank(const PictureBox* picture) const {
        if (!picture->HasPicture()) return true;
        const QImage image = picture->Picture().convertToFormat(QImage::Format_RGB32);
        const QRgb face = form->Colors().btnFace.rgb();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != face) return false;
        return true;
    }
    void SolveSpaceProblem() {
        // z is free: it is split, and its definition is listed.
        TypeProblem(1, "x+y+z", {"x+y+z<4", "z<2", "z>-1", "x>0", "y>0"});
        Press(Button1());
        ASSERT_EQ(Panel(1), "Hecho");
        ASSERT_EQ(Items(ListBox3()), QStringList{"z=z'-z''"});
        ASSERT_TRUE(Button3()->isEnabled());
    }
};

TEST_F(EverydaySequences, NotationSwitchAfterClearingAFaultyProblemShowsNothing) {
    TypeProblem(1, "x+y", {"x+y<4", "x+y<"});
    Press(Button1());
    ASSERT_NE(Panel(0), "");
    ASSERT_TRUE(Trigger(Clear1()).empty());
    for (QAction* notation : {Rational1(), FloatingPoint1()}) {
        EXPECT_TRUE(Trigger(notation).empty());
        ExpectNothingShown();
    }
}

TEST_F(EverydaySequences, NotationSwitchAfterClearingASolvedProblemShowsNothing) {
    TypeProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
    Press(Button1());
    ASSERT_EQ(Panel(1), "Hecho");
    ASSERT_TRUE(Trigger(Clear1()).empty());
    EXPECT_TRUE(Trigger(Rational1()).empty());
    ExpectNothingShown();
    // And the cleared window still solves what is typed next.
    TypeProblem(1, "x", {"x<3", "x>0"});
    Press(Button1());
    EXPECT_EQ(Panel(1), "Hecho");
    EXPECT_EQ(Items(ListBox2()), QStringList{"x=3"});
}

TEST_F(EverydaySequences, AbandonedBuildIsNeitherShownNorStepped) {
    TypeProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
    Press(Button1());
    ASSERT_EQ(Panel(1), "Hecho");
    TypeProblem(1, "x+y", {"x+y<4", "1" + QString(400, '0') + "x+y<3", "x>0"});
    const auto overflow = Run([&] { Press(Button1()); }, {ModalAnswerer::Click(QMessageBox::Ok)});
    ASSERT_EQ(overflow.size(), 1u);
    EXPECT_EQ(overflow[0].text, "Floating point overflow.");
    for (QAction* notation : {Rational1(), FloatingPoint1()}) {
        EXPECT_TRUE(Trigger(notation).empty());
        ExpectNothingShown();
    }
    // "Paso a paso" starts again from the text, which overflows again.
    const auto step = Run([&] { Press(Button2()); }, {ModalAnswerer::Click(QMessageBox::Ok)});
    ASSERT_EQ(step.size(), 1u);
    EXPECT_EQ(step[0].text, "Floating point overflow.");
}

TEST_F(EverydaySequences, ClearLeavesNothingForTheViewCommandsToDraw) {
    SolveSpaceProblem();
    ASSERT_FALSE(Blank(Image1()));
    ASSERT_TRUE(Trigger(Clear1()).empty());
    for (QPushButton* b : {Button3(), Button4(), Button5(), Button6(), Button7(),
                           Button8(), Button9()})
        EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
    EXPECT_EQ(ListBox3()->count(), 0);
    EXPECT_TRUE(Blank(Image1()));

    // What the view commands would draw, called as the buttons would.
    EXPECT_TRUE(Run([&] { form->Button3Click(); }).empty());
    EXPECT_TRUE(Run([&] { form->Button9Click(); }).empty());
    EXPECT_TRUE(Trigger(ViewAxis1()).empty());
    EXPECT_TRUE(Blank(Image1()));
    EXPECT_TRUE(Trigger(Enlarge1()).empty());
    EXPECT_TRUE(Blank(Image3()));
    EXPECT_TRUE(Trigger(Restore1()).empty());
    EXPECT_TRUE(Blank(Image1()));
    EXPECT_FALSE(Shape1()->isVisible());
    EXPECT_FALSE(Button3()->isEnabled());
}

TEST_F(EverydaySequences, ViewButtonsKeepTheKeyboardAwayFromTheObjective) {
    SolveSpaceProblem();
    for (QPushButton* b : {Button3(), Button6(), Button7(), Button9()}) {
        SCOPED_TRACE(b->text().toStdString());
        Edit1()->setFocus();
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_NE(QApplication::focusWidget(), Edit1());
        EXPECT_EQ(Edit1()->selectedText(), "");
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QTest::keyClick(target, Qt::Key_Q);
        EXPECT_EQ(Edit1()->text(), "x+y+z");
        EXPECT_TRUE(b->isEnabled());
    }
}

TEST_F(EverydaySequences, ClearingWithAFocusedViewButtonLeavesTheObjectiveAlone) {
    SolveSpaceProblem();
    QTest::mouseClick(Button4(), Qt::LeftButton);
    ASSERT_TRUE(Trigger(Clear1()).empty());
    EXPECT_NE(QApplication::focusWidget(), Edit1());
    // A 2-variable problem disables the buttons too.
    SolveSpaceProblem();
    QTest::mouseClick(Button5(), Qt::LeftButton);
    Edit1()->setText("x+y");
    RichEdit1()->setPlainText("x+y<4");
    form->Button1Click();
    EXPECT_FALSE(Button5()->isEnabled());
    EXPECT_NE(QApplication::focusWidget(), Edit1());
}

} // namespace
} // namespace optimara::uitest
