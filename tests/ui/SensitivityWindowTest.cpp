// SPDX-License-Identifier: GPL-3.0-or-later
// Duality and sensitivity through the real window: the "Sensibilidad" window
// at the optimum and after an edit, "Abrir el dual", the LP export, the
// objective's line on the picture and the closing sections of the page.
#include <QFile>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTemporaryDir>

#include "SensitivityWindow.h"
#include "UiTestSupport.h"

namespace optimara::uitest {
namespace {

class SensitivityTest : public WindowTest {
protected:
    QAction* Item(const char* name) const { return form->findChild<QAction*>(QString::fromLatin1(name)); }
    TSensitivityForm* Window() const { return form->findChild<TSensitivityForm*>("Sensibilidad"); }
    void SolveWorkedExample() {
        TypeProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
        EXPECT_FALSE(Item("Sensitivity1")->isEnabled()) << "no optimum yet";
        Press(Button1());
        ASSERT_EQ(Panel(1), "Hecho");
    }
    static QString At(QTableWidget* table, int row, int col) { return table->item(row, col)->text(); }
};

TEST_F(SensitivityTest, ShowsTheOptimumsWorthAndNothingOnceTheTextChanges) {
    SolveWorkedExample();
    ASSERT_TRUE(Item("Sensitivity1")->isEnabled());
    Item("Sensitivity1")->trigger();
    TSensitivityForm* w = Window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    const QStringList first = {At(w->LinesTable, 0, 0), At(w->LinesTable, 0, 1), At(w->LinesTable, 0, 2),
                               At(w->LinesTable, 0, 3), At(w->LinesTable, 0, 4)};
    EXPECT_EQ(first, (QStringList{"h1: x+y<4", "0", "3", "0", "6"}));
    EXPECT_EQ(At(w->LinesTable, 1, 4), QString::fromUtf8("∞"));
    EXPECT_EQ(At(w->VariablesTable, 1, 2), "-1");
    EXPECT_EQ(At(w->VariablesTable, 0, 3), "2");
    EXPECT_TRUE(w->Bounds->text().contains("coste reducido"));
    EXPECT_EQ(w->PrimalOptimum->text(), QString::fromUtf8("Óptimo: 12"));
    EXPECT_EQ(w->DualOptimum->text(), QString::fromUtf8("Óptimo: 12"));
    // In fractions the same window follows the notation.
    Item("Rational1")->trigger();
    EXPECT_EQ(At(w->LinesTable, 0, 2), "3");
    TypeObjective("3x+3y");
    EXPECT_FALSE(w->Nothing->isHidden());
    EXPECT_FALSE(w->Pages->isEnabled());
    EXPECT_FALSE(Item("Sensitivity1")->isEnabled());
    TypeConstraints({"x+y<1", "x+y>2"});
    Press(Button1());
    EXPECT_EQ(Panel(1), "No factible");
    EXPECT_TRUE(w->Nothing->text().contains("no tiene solución factible"));
}

TEST_F(SensitivityTest, OpenTheDualAsksToSaveFirstAndSolvesIt) {
    SolveWorkedExample();
    Item("Sensitivity1")->trigger();
    TSensitivityForm* w = Window();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->DualText->toPlainText(), "Minimizar\n4y1+6y2\nSujeto a:\ny1+y2>3\ny1+3y2>2\ny1>0\ny2>0");
    ModalAnswerer answerer({ModalAnswerer::Click(QMessageBox::No)});
    QTest::mouseClick(w->OpenDualButton, Qt::LeftButton);
    EXPECT_EQ(answerer.Seen().size(), 1u) << "unsaved work is offered for saving";
    EXPECT_EQ(ComboBox1()->currentIndex(), 0);
    EXPECT_EQ(Edit1()->text(), "4y1+6y2");
    EXPECT_EQ(Panel(1), "Hecho");
    EXPECT_EQ(Edit2()->text(), "12");
}

// A problem of sign lines alone has a dual the window opens and solves.
TEST_F(SensitivityTest, TheDualOfSignLinesAloneOpensAndSolves) {
    const struct {
        int sense;
        QString objective;
        QStringList lines;
        QString dual, value;
    } cases[] = {
        {0, "x+2y", {"x>0", "y>0"}, "Maximizar\n0y1+0y2\nSujeto a:\ny1=1\ny2=2\ny1>0\ny2>0", "0"},
        {1, "-3a", {"2a>0"}, "Minimizar\n0y1\nSujeto a:\n-2y1=-3\ny1>0", "0"},
    };
    for (const auto& c : cases) {
        TypeProblem(c.sense, c.objective, c.lines);
        Press(Button1());
        ASSERT_TRUE(Item("Sensitivity1")->isEnabled()) << Panel(1);
        Item("Sensitivity1")->trigger();
        TSensitivityForm* w = Window();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->DualText->toPlainText(), c.dual);
        EXPECT_EQ(w->DualOptimum->text(), QString::fromUtf8("Óptimo: 0"));
        ModalAnswerer answerer({ModalAnswerer::Click(QMessageBox::No)});
        QTest::mouseClick(w->OpenDualButton, Qt::LeftButton);
        EXPECT_EQ(Panel(0), "") << c.objective.toStdString();
        EXPECT_EQ(Panel(1), "Hecho");
        EXPECT_EQ(Edit2()->text(), c.value);
        w->close();
    }
}

TEST_F(SensitivityTest, ExportWritesTheTypedProblemAsAnLpFile) {
    TypeProblem(0, "x+2y", {"x+y>2", "x,y<5", "x>0"});
    QTemporaryDir dir;
    const QString name = dir.filePath("p.lp");
    ModalAnswerer answerer({ModalAnswerer::ChooseFile(name)});
    Item("ExportLp1")->trigger();
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString lp = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(lp.contains("Minimize\n obj: 1 x + 2 y\n"));
    EXPECT_TRUE(lp.contains(" h2: 1 x <= 5\n h3: 1 y <= 5\n"));
    EXPECT_TRUE(lp.contains(" x >= 0\n y free\n"));
}

TEST_F(SensitivityTest, ObjectiveLineIsDrawnOnlyWhenAskedAndFollowsTheSteps) {
    ASSERT_FALSE(Item("ViewObjective1")->isChecked());
    Item("ViewPath1")->trigger();  // the road off: the layer holds the line alone
    TypeProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
    Press(Button2());
    const QImage plain = Image1()->Shown();
    EXPECT_TRUE(Image1()->Layer().isNull());
    Item("ViewObjective1")->trigger();
    ASSERT_TRUE(Item("ViewObjective1")->isChecked());
    const QImage atStart = Image1()->Layer();
    EXPECT_NE(Image1()->Shown(), plain);
    Press(Button2());
    EXPECT_NE(Image1()->Layer(), atStart) << "the line moves with the vertex";
    Item("ViewObjective1")->trigger();
    EXPECT_TRUE(Image1()->Layer().isNull());
    Press(Button1());
    EXPECT_EQ(Image1()->Shown().size(), plain.size());
    EXPECT_TRUE(Image1()->Layer().isNull()) << "unchecked, the picture is as without the item";
}

TEST_F(SensitivityTest, PageOfStepsEndsWithTheSensitivityAndTheDual) {
    SolveWorkedExample();
    const QString page = PageOfSteps(*form);
    const qsizetype lines = page.indexOf("<table class=\"sensibilidad-restricciones\">");
    const qsizetype variables = page.indexOf("<table class=\"sensibilidad-variables\">");
    const qsizetype dual = page.indexOf("<div class=\"dual\">Minimizar\n4y1+6y2");
    EXPECT_GT(lines, page.lastIndexOf("<table class=\"tabla\">"));
    EXPECT_GT(variables, lines);
    EXPECT_GT(dual, variables);
    EXPECT_TRUE(page.contains("<th>Precio dual</th>"));
}

} // namespace
} // namespace optimara::uitest
