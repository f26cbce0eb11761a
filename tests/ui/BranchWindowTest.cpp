// SPDX-License-Identifier: GPL-3.0-or-later
// Integer variables through the real window: "Una Solución" by branch and
// bound, the tree window and a chosen node's tableau, the node question.
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>

#include "BranchWindow.h"
#include "Integers.h"
#include "UiTestSupport.h"

namespace optimara::uitest {
namespace {

class BranchTest : public WindowTest {
protected:
    QAction* Tree1() const { return form->findChild<QAction*>("Tree1"); }
    TBranchForm* Tree() const { return form->findChild<TBranchForm*>("Arbol"); }
    QStringList Solution() const {
        QStringList items;
        for (int i = 0; i < ListBox2()->count(); ++i) items << ListBox2()->item(i)->text();
        return items;
    }
};

TEST_F(BranchTest, SolvesByBranchAndBoundAndListsTheTree) {
    TypeProblem(1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"});
    Press(Button1());
    EXPECT_EQ(Panel(0), "");
    EXPECT_EQ(Panel(1), "Hecho");
    EXPECT_EQ(Panel(2), "5 nodos resueltos");
    EXPECT_EQ(Edit2()->text(), "20");
    EXPECT_TRUE(Solution().join(" ").contains("4")) << Solution().join(" ").toStdString();
    ASSERT_TRUE(Tree1()->isEnabled());
    Tree1()->trigger();
    TBranchForm* w = Tree();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    ASSERT_EQ(w->Nodes->rowCount(), 5);
    QStringList ends, bounds;
    for (int r = 0; r < 5; ++r) ends << w->Nodes->item(r, 5)->text(), bounds << w->Nodes->item(r, 2)->text();
    EXPECT_EQ(ends, (QStringList{"ramificado", "ramificado", "entero", "entero (mejor)", "podado por cota"}));
    EXPECT_EQ(bounds, (QStringList{QString::fromUtf8("—"), "y<1", "y<1, x<3", "y<1, x>4", "y>2"}));
    // The third node's last tableau: its bound lines are rows of the grid,
    // its value 19; the status stays the search's.
    QTest::mouseClick(w->Nodes->viewport(), Qt::LeftButton, {}, w->Nodes->visualItemRect(w->Nodes->item(2, 0)).center());
    EXPECT_EQ(Edit2()->text(), "19");
    EXPECT_EQ(Panel(1), "Hecho");
    // The page of steps ends with the tree, one row per node.
    const QString html = PageOfSteps(*form);
    EXPECT_TRUE(html.contains("<table class=\"arbol\">"));
    EXPECT_EQ(html.count("<td>podado por cota</td>"), 1);
    EXPECT_EQ(html.count("<td>entero (mejor)</td>"), 1);
    // Without the integer line the same text is the plain simplex again.
    TypeConstraints({"6x+4y<24", "x+2y<6", "x>0", "y>0"});
    Press(Button1());
    EXPECT_EQ(Edit2()->text(), "21");
    EXPECT_EQ(Panel(2).rfind("Paso ", 0), 0u) << Panel(2);
    EXPECT_FALSE(Tree1()->isEnabled());
}

// "Paso a paso" takes the nodes in the order "Una Solución" solved them, one
// tableau a press, panel 2 naming the node and then how it ended; the page
// holds every node's steps before the tree.
TEST_F(BranchTest, StepByStepGoesThroughTheNodesInOrder) {
    TypeProblem(1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"});
    QStringList texts, nodes;
    while (texts.size() < 100 && (texts.isEmpty() || texts.back() != "5 nodos resueltos")) {
        Press(Button2());
        texts << QString::fromStdString(Panel(2));
        const QString node = texts.back().section(QString::fromUtf8(" · paso"), 0, 0);
        if (nodes.isEmpty() || nodes.back() != node) nodes << node;
        if (texts.size() == 4) {
            // A look at the first node in the tree, in the middle of the
            // second: the next press goes on with the second.
            Tree1()->trigger();
            QTest::mouseClick(Tree()->Nodes->viewport(), Qt::LeftButton, {},
                              Tree()->Nodes->visualItemRect(Tree()->Nodes->item(0, 0)).center());
            EXPECT_EQ(Panel(2).rfind("Nodo 1 · ", 0), 0u) << Panel(2);
        }
    }
    EXPECT_EQ(nodes, (QStringList{"Nodo 1", QString::fromUtf8("Nodo 2 · y<1"), QString::fromUtf8("Nodo 3 · x<3"),
                                  QString::fromUtf8("Nodo 4 · x>4"), QString::fromUtf8("Nodo 5 · y>2"),
                                  "5 nodos resueltos"}));
    EXPECT_EQ(texts.front(), QString::fromUtf8("Nodo 1 · paso 0"));
    EXPECT_TRUE(texts[texts.size() - 2].endsWith(QString::fromUtf8(" · podado por cota"))) << texts.join("\n").toStdString();
    EXPECT_EQ(Edit2()->text(), "20");
    EXPECT_EQ(Panel(1), "Hecho");
    const QString html = PageOfSteps(*form);
    EXPECT_EQ(html.count("<h2>Nodo "), texts.size() - 1);
    EXPECT_TRUE(html.contains(QString::fromUtf8("<h2>Nodo 2 · y&lt;1 · Tabla inicial</h2>")));
}

// The picture marks the shown node's bounds in blue and the best point in
// green until "Ver enteros" is unchecked; in exact arithmetic the bounds are
// the true whole numbers, however long.
TEST_F(BranchTest, PictureMarksAndExactBounds) {
    TypeProblem(1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"});
    Press(Button1());
    auto count = [&](const QColor& colour) {
        const QImage& layer = Image1()->Layer();
        int n = 0;
        for (int y = 0; y < layer.height(); ++y)
            for (int x = 0; x < layer.width(); ++x) n += layer.pixelColor(x, y) == colour;
        return n;
    };
    EXPECT_GT(count(kCutBlue), 0);
    EXPECT_GT(count(kBestGreen), 0);
    QAction* integers = form->findChild<QAction*>("ViewIntegers1");
    ASSERT_TRUE(integers->isChecked());
    integers->trigger();
    EXPECT_EQ(count(kCutBlue) + count(kBestGreen), 0);
    integers->trigger();
    EXPECT_GT(count(kCutBlue), 0);

    TypeProblem(1, "x", {"3x<10000000000000001", "x>0", "entero: x"});
    form->findChild<QAction*>("Rational1")->trigger();
    form->findChild<QAction*>("ExactArithmetic1")->trigger();
    Press(Button1());
    EXPECT_EQ(Edit2()->text(), "3333333333333333");
    Tree1()->trigger();
    ASSERT_EQ(Tree()->Nodes->rowCount(), 3);
    EXPECT_EQ(Tree()->Nodes->item(1, 2)->text(), "x<3333333333333333");
    EXPECT_EQ(Tree()->Nodes->item(1, 3)->text(), "3333333333333333");
    form->findChild<QAction*>("ExactArithmetic1")->trigger();
    form->findChild<QAction*>("FloatingPoint1")->trigger();
}

TEST_F(BranchTest, NoIntegerPointUnboundedAndTheErrors) {
    struct Case {
        const char* objective;
        QStringList lines;
        std::string error, status;
    };
    const std::vector<Case> cases = {
        {"x", {"2x=1", "x>0", "entero:x"}, "", "No factible"},
        {"x+y", {"x-y<1.5", "entero: x"}, "", "Ilimitado"},
        {"x+y", {"x<3", "entero: z"}, "ERROR17: Variable entera desconocida", ""},
        {"x+y", {"x<3", "enteros:"}, "ERROR18: Lista de enteros vacía", ""},
    };
    for (const Case& c : cases) {
        TypeProblem(1, c.objective, c.lines);
        Press(Button1());
        EXPECT_EQ(Panel(0), c.error) << c.lines.back().toStdString();
        EXPECT_EQ(Panel(1), c.status) << c.lines.back().toStdString();
    }
}

// The search of a problem without end asks after 1000 nodes; No stops it
// where it is, and the next "Una Solución" goes on from there.
TEST_F(BranchTest, TheNodeQuestionStopsTheSearch) {
    int asked = 0;
    questions->moreNodes = [&] { return ++asked > 2; };
    TypeProblem(1, "0x", {"2x-2y=1", "entero: x,y"});
    Press(Button1());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Panel(1), "");
    EXPECT_EQ(Panel(2).rfind("Nodo 1000 · ", 0), 0u) << Panel(2);
    Press(Button1());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Panel(2).rfind("Nodo 2000 · ", 0), 0u) << Panel(2);
}

} // namespace
} // namespace optimara::uitest
