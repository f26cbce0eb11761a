// SPDX-License-Identifier: GPL-3.0-or-later
// Long input in the real window: an objective far beyond a line edit's
// default length pasted, saved and opened whole; numbers of thousands of
// digits solved in exact arithmetic against rationals made from their
// digits, and refused by the floating reader.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTemporaryDir>
#include <gmpxx.h>

#include "UiTestSupport.h"

namespace optimara::uitest {
namespace {

class LongInput : public WindowTest {
protected:
    QAction* Action(const char* name) { return form->findChild<QAction*>(name); }
    void Paste(QWidget* into, const QString& text) {
        QApplication::clipboard()->setText(text);
        into->setFocus();
        QTest::keyClick(into, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(into, Qt::Key_V, Qt::ControlModifier);
    }
};

// Far past 32,767 characters: every character reaches the build, the file
// and, opened again through "&Abrir", the field.
TEST_F(LongInput, LongObjectiveIsSavedAndOpenedWhole) {
    QString objective;
    for (int v = 1; objective.size() < 100000; ++v) objective += QString("+%1x%2").arg(v % 7 + 1).arg(v);
    Paste(Edit1(), objective);
    ASSERT_EQ(Edit1()->text(), objective);
    Paste(RichEdit1(), "x1<1\nx1>0");
    Press(Button1());
    EXPECT_EQ(Panel(0), "");
    QTemporaryDir dir;
    const QString path = dir.filePath("largo.lpf");
    questions->saveFile = [&](const QString&) { return path; };
    Action("Saveas1")->trigger();
    Action("Clear1")->trigger();
    ASSERT_TRUE(Edit1()->text().isEmpty());
    questions->openFile = [&] { return path; };
    Action("Open1")->trigger();
    EXPECT_EQ(Edit1()->text(), objective);
    EXPECT_EQ(Panel(0), "");
    EXPECT_FALSE(form->State().session.Modified);
}

// 10^(n-1) + 7: n digits, far beyond a double for n >= 310.
std::string Digits(int n) { return "1" + std::string(size_t(n - 2), '0') + "7"; }
mpq_class Q(const std::string& digits) { return mpq_class(mpz_class(digits, 10)); }

TEST_F(LongInput, ThousandsOfDigitsAreSolvedExactly) {
    const std::string K = Digits(2000), N = Digits(5000), small = "0." + std::string(1999, '3');
    const mpq_class k = Q(K), third = mpq_class(mpz_class(std::string(1999, '3'), 10),
                                                mpz_class("1" + std::string(1999, '0'), 10));
    struct Case {
        int sense;
        std::string objective;
        QStringList lines;
        mpq_class value;
    };
    const Case cases[] = {
        // The symmetric corner x = y = K/(K+1).
        {1, "x+y", {QString::fromStdString(K + "x+y<" + K), QString::fromStdString("x+" + K + "y<" + K), "x>0", "y>0"},
         2 * k / (k + 1)},
        {1, "x", {QString::fromStdString("x<" + N), "x>0"}, Q(N)},
        {0, K + "x+y", {QString::fromStdString("x+y>" + small), "x>0", "y>0"}, third},
    };
    Action("Rational1")->trigger();
    Action("ExactArithmetic1")->trigger();
    {
        ModalAnswerer noBox;  // a fault's box would be answered, and counted
        for (const Case& c : cases) {
            PasteProblem(c.sense, QString::fromStdString(c.objective), c.lines);
            Press(Button1());
            EXPECT_EQ(Panel(0), "") << c.objective;
            EXPECT_EQ(Panel(1), "Hecho") << c.objective;
            mpq_class value = c.value;
            value.canonicalize();
            EXPECT_EQ(Edit2()->text().toStdString(), value.get_str()) << c.objective;
        }
        EXPECT_TRUE(noBox.Seen().empty());
    }
    // Back in floating arithmetic the problem on screen is solved anew, and
    // its 2,000-digit coefficient overflows.
    ModalAnswerer answerer;
    Action("ExactArithmetic1")->trigger();
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text, "Floating point overflow.");
    Action("FloatingPoint1")->trigger();
}

// The floating reader keeps its fault for a number beyond the doubles.
TEST_F(LongInput, ThousandsOfDigitsOverflowInFloatingArithmetic) {
    PasteProblem(1, "x", {QString::fromStdString("x<" + Digits(5000)), "x>0"});
    ModalAnswerer answerer;
    Press(Button1());
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text, "Floating point overflow.");
}

} // namespace
} // namespace optimara::uitest
