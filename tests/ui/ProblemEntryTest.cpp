// SPDX-License-Identifier: GPL-3.0-or-later
// Typing a problem into the real controls: every error text with the text it
// selects, the underlined relational signs, and typed problems solved to the end.
#include <cctype>
#include <cmath>

#include "UiTestSupport.h"
#include "catalogue/Catalogue.h"

namespace optimara::uitest {
namespace {

constexpr int kNoSelection = -2;

struct ErrorCase {
    const char* objective;
    std::vector<const char*> lines;
    const char* text;
    int source;  // -1 Edit1, k line k, kNoSelection
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << "objective \"" << c.objective << "\", lines";
    for (const char* line : c.lines) *os << " \"" << line << "\"";
    *os << " -> \"" << c.text << "\"";
}

class ErrorReport : public WindowTest, public ::testing::WithParamInterface<ErrorCase> {};

// Each fault is typed with real key events, "Una Solución" is clicked, and
// the error panel, the focus and the selection are read back.
TEST_P(ErrorReport, ShowsItsTextAndSelectsItsSource) {
    const ErrorCase& c = GetParam();
    QStringList lines;
    for (const char* line : c.lines) lines << QString::fromUtf8(line);
    TypeProblem(1, QString::fromUtf8(c.objective), lines);
    Press(Button1());

    EXPECT_EQ(Panel(0), std::string(c.text));
    EXPECT_EQ(Panel(1), "");
    EXPECT_FALSE(form->State().problem.ProblemReady);
    QWidget* focus = QApplication::focusWidget();
    if (c.source == -1) {
        EXPECT_EQ(focus, Edit1());
        EXPECT_EQ(Edit1()->selectionStart(), 0);
        EXPECT_EQ(Edit1()->selectedText(), Edit1()->text());
    } else if (c.source >= 0) {
        EXPECT_EQ(focus, RichEdit1());
        const QTextCursor cursor = RichEdit1()->textCursor();
        const QTextBlock block = RichEdit1()->document()->findBlockByNumber(c.source);
        EXPECT_EQ(cursor.selectionStart(), block.position());
        EXPECT_EQ(cursor.selectedText(), lines.value(c.source));
    } else {
        EXPECT_EQ(focus, Button1());
        EXPECT_FALSE(Edit1()->hasSelectedText());
        EXPECT_FALSE(RichEdit1()->textCursor().hasSelection());
    }
}

// The faulty constraint stands behind a blank line and a comment, so the
// selection must count the lines before it.
#define LINES(faulty) {"x<4", "", "  ; nota", faulty, "y<2"}

INSTANTIATE_TEST_SUITE_P(
    EveryText, ErrorReport,
    ::testing::Values(
        ErrorCase{"   ", {"x<1"}, "Nada para optimizar     ", -1},
        ErrorCase{"3x-", {"x<1"}, "ERROR1: Número esperado       -", -1},
        ErrorCase{"3x+", {"x<1"}, "ERROR2: Número esperado       +", -1},
        ErrorCase{"2**x", {"x<1"}, "ERROR3: Símbolo inapropiado", -1},
        ErrorCase{"2,5x", {"x<1"}, "ERROR3: Símbolo inapropiado", -1},
        ErrorCase{"x + 3", {"x<1"}, "ERROR4: Variable especrada en la función objetn", -1},
        ErrorCase{"x+2X", {"x<1"}, "ERROR5: Variable duplicada ", -1},
        ErrorCase{"x*", {"x<1"}, "ERROR13: Variable esperada", -1},
        ErrorCase{"x+y", LINES("x<-"), "ERROR1: Número esperado       -", 3},
        ErrorCase{"x+y", LINES("x<+"), "ERROR2: Número esperado       +", 3},
        ErrorCase{"x+y", LINES("2*3x<1"), "ERROR3: Símbolo inapropiado", 3},
        ErrorCase{"x+y", LINES("x + 3"), "ERROR6: Inesperado final      ", 3},
        ErrorCase{"x+y", LINES(" x + y "), "ERROR7: Inesperado final      ", 3},
        ErrorCase{"x+y", LINES("x+y,"), "ERROR9: Inesperado final      ", kNoSelection},
        ErrorCase{"x+y", LINES("x+y,<3"), "ERROR10: Inesperado final de expresió", kNoSelection},
        ErrorCase{"x+y", LINES("x+y<4y"), "ERROR11: Fin de linea esperad", 3},
        ErrorCase{"x+y", LINES("x+y<=4"), "ERROR12: Número no hayado", 3},
        ErrorCase{"x+y", LINES("x+3*"), "ERROR14: Variable esperada", 3},
        ErrorCase{"x+y", LINES("x+.y<3"), "ERROR15: Un cero no tiene ningún efecto en la (in) ecuación", 3},
        ErrorCase{"x+y", LINES("x+X<3"), "ERROR16: Variable duplicada ", 3},
        ErrorCase{"x+y", {"; solo un comentario", "", "   "}, "ERROR16: No hay restricciones", 0}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) {
        std::string name;
        for (const char* c = info.param.text; *c && *c != ':'; ++c)
            if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
        return name + "_" + std::to_string(info.index);
    });

#undef LINES

class TypedText : public WindowTest {};

TEST_F(TypedText, RelationalSignsAreUnderlinedAndNothingElse) {
    TypeConstraints({"x<3", "y>2", "x+y=1"});
    const QString text = RichEdit1()->toPlainText();
    ASSERT_EQ(text, "x<3\ny>2\nx+y=1");
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == '\n') continue;
        const bool sign = ch == '<' || ch == '>';
        EXPECT_EQ(ShownUnderlined(RichEdit1(), i), sign) << "character " << i << " '" << ch.toLatin1() << "'";
    }
}

TEST_F(TypedText, EditorDefaultIsUnderlinedArialAndTypingDoesNotFilter) {
    const QFont font = RichEdit1()->document()->defaultFont();
    EXPECT_TRUE(font.underline());
    EXPECT_EQ(font.family(), "Arial");
    // Nothing is filtered or replaced: every typed character arrives.
    TypeConstraints({"a<b>c;=,*.[]^_`"});
    EXPECT_EQ(RichEdit1()->toPlainText(), "a<b>c;=,*.[]^_`");
}

TEST_F(TypedText, SignTypedOverASelectionIsUnderlined) {
    TypeConstraints({"ab"});
    RichEdit1()->selectAll();
    QTest::keyClicks(RichEdit1(), "<x");
    ASSERT_EQ(RichEdit1()->toPlainText(), "<x");
    EXPECT_TRUE(ShownUnderlined(RichEdit1(), 0));
    EXPECT_FALSE(ShownUnderlined(RichEdit1(), 1));
}

TEST_F(TypedText, CopyingASelectionLeavesItsUnderlineAlone) {
    TypeConstraints({"x<3"});
    QTextCursor cursor = RichEdit1()->textCursor();
    cursor.setPosition(1);
    cursor.setPosition(2, QTextCursor::KeepAnchor);
    RichEdit1()->setTextCursor(cursor);
    QTest::keyClick(RichEdit1(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(RichEdit1()->toPlainText(), "x<3");
    EXPECT_TRUE(ShownUnderlined(RichEdit1(), 1));
}

TEST_F(TypedText, ShiftEnterStartsANewConstraintLine) {
    TypeConstraints({"x<3"});
    QTest::keyClick(RichEdit1(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(RichEdit1(), "y<2");
    EXPECT_EQ(RichEdit1()->LineCount(), 2);
    EXPECT_EQ(RichEdit1()->Line(1), "y<2");
}

TEST_F(TypedText, WorkedExampleSolvedEndToEnd) {
    TypeProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
    Press(Button1());
    EXPECT_EQ(Panel(0), "");
    EXPECT_EQ(Panel(1), "Hecho");
    EXPECT_EQ(Items(ListBox2()), QStringList({"x=4", "y=0"}));
    EXPECT_EQ(Edit2()->text(), "12");
    EXPECT_EQ(Items(ListBox1()), QStringList({"x", "y"}));
}

TEST_F(TypedText, EnterInTheObjectivePressesTheDefaultButton) {
    TypeConstraints({"x<4", "x>0"});
    TypeObjective("2x");
    QTest::keyClick(Edit1(), Qt::Key_Return);
    EXPECT_EQ(Panel(1), "Hecho");
    EXPECT_EQ(Edit2()->text(), "8");
}

double ParseValue(const QString& line) {
    bool ok = false;
    const double value = line.section('=', 1).toDouble(&ok);
    EXPECT_TRUE(ok) << line.toStdString();
    return value;
}

// Every known problem, typed key by key, solved at once: the outcome, the
// variable values and the objective value match the known results.
TEST_F(TypedText, KnownProblemsSolvedEndToEnd) {
    using catalogue::Outcome;
    for (const catalogue::KnownProblem& p : catalogue::Problems()) {
        SCOPED_TRACE(p.name);
        QStringList lines;
        for (const std::string& line : p.lines) lines << QString::fromStdString(line);
        TypeProblem(p.comboIndex, QString::fromStdString(p.objective), lines);
        Press(Button1());
        EXPECT_EQ(Panel(0), "");
        const std::string status = Panel(1);
        if (p.outcome == Outcome::Infeasible) {
            EXPECT_TRUE(status == "No factible" || status == "no factible") << status;
            continue;
        }
        if (p.outcome == Outcome::Unbounded) {
            EXPECT_TRUE(status == "Ilimitado" || status == "ilimitado") << status;
            continue;
        }
        EXPECT_TRUE(status == "Hecho" || status == "vale") << status;
        EXPECT_NEAR(Edit2()->text().toDouble(), p.objectiveValue, 1e-9);
        if (p.values.empty()) continue;
        const QStringList shown = Items(ListBox2());
        ASSERT_EQ(shown.size(), static_cast<qsizetype>(p.values.size()));
        for (size_t i = 0; i < p.values.size(); ++i)
            EXPECT_NEAR(ParseValue(shown[static_cast<qsizetype>(i)]), p.values[i], 1e-9) << shown[i].toStdString();
    }
}

} // namespace
} // namespace optimara::uitest
