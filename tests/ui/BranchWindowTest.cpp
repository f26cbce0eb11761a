// SPDX-License-Identifier: GPL-3.0-or-later
// Integer variables through the real window: "Una Solución" by branch and
// bound, the tree window and a chosen node's tableau, the node question.
#include <QFile>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTemporaryDir>

#include "BranchWindow.h"
#include "SensitivityWindow.h"
#include "Integers.h"
#include "UiTestSupport.h"

namespace optimara::uitest {
namespace {

class BranchTest : public WindowTest {
protected:
    QAction* Tree1() const { return form->findChild<QAction*>("Tree1"); }
    TBranchForm* Tree() const { return form->findChild<TBranchForm*>("Arbol"); }
    QString Explanation() const { return form->findChild<QPlainTextEdit*>("Explicacion")->toPlainText(); }
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

// How a search ends, as the window and the page tell it: no integer point
// by a line's divisor (no node question) or by closing every node, with
// neither solution nor value; unbounded with an integer point; the optimum.
TEST_F(BranchTest, NoIntegerPointUnboundedAndTheErrors) {
    struct Case {
        const char* objective;
        QStringList lines;
        std::string error, status;
        int nodes;
        QString value;
        QStringList said;  // the explanation's end, on the page too
    };
    const QString divisor = QString::fromUtf8(
        "solo tiene variables enteras y el máximo común divisor de sus coeficientes, 2, no divide a su lado derecho, ");
    const std::vector<Case> cases = {
        {"x", {"4x<3", "4x>1", "x>0", "entero:x"}, "", "No factible", 3, "",
         {QString::fromUtf8("Fin de la búsqueda: No factible, no hay ningún punto entero."),
          QString::fromUtf8("Todos los nodos están cerrados: 1 ramificado, 0 podados por cota, 2 no factibles y 0 enteros.")}},
        {"a+b", {"2a+4b=3", "a>0", "b>0", "entero: a,b"}, "", "No factible", 1, "",
         {QString::fromUtf8("Fin de la búsqueda: No factible, sin ramificar."),
          QString::fromUtf8("La línea 2a+4b=3, ") + divisor + "3: no tiene ningún punto entero."}},
        {"a+b", {"a+b<9", "0.5a+b=0.25", "entero: a,b"}, "", "No factible", 1, "",
         {QString::fromUtf8("La línea 0.5a+b=0.25, multiplicada por 4 para que sus números sean enteros (2a+4b=1), ") + divisor +
          "1"}},
        {"x+y", {"x-y<1.5", "x>0", "y>0", "entero: x, y"}, "", "Ilimitado", 2, "1",
         {QString::fromUtf8("Fin de la búsqueda: Ilimitado. La relajación lineal es ilimitada y el nodo 2 tiene un punto "
                            "entero (x=1; y=0); con datos racionales, el problema entero es entonces ilimitado.")}},
        {"5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"}, "", "Hecho", 5, "20",
         {QString::fromUtf8("Fin de la búsqueda: el óptimo entero vale 20, en el nodo 4 (x=4; y=0)."),
          QString::fromUtf8("Todos los nodos están cerrados: 2 ramificados, 1 podado por cota, 0 no factibles y 2 enteros.")}},
        {"x+y", {"x<3", "entero: z"}, "ERROR17: Variable entera desconocida", "", 0, "", {}},
        {"x+y", {"x<3", "enteros:"}, "ERROR18: Lista de enteros vacía", "", 0, "", {}},
    };
    int asked = 0;
    questions->moreNodes = [&] { return ++asked > 0; };
    for (const Case& c : cases) {
        const std::string what = c.lines.front().toStdString();
        TypeProblem(1, c.objective, c.lines);
        Press(Button1());
        EXPECT_EQ(Panel(0), c.error) << what;
        EXPECT_EQ(Panel(1), c.status) << what;
        if (c.nodes == 0) continue;
        EXPECT_EQ(Panel(2), c.nodes == 1 ? "1 nodo resuelto" : std::to_string(c.nodes) + " nodos resueltos") << what;
        EXPECT_EQ(Edit2()->text(), c.value) << what;
        if (c.value.isEmpty()) EXPECT_EQ(Solution(), QStringList()) << what;
        const QString page = PageOfSteps(*form);
        for (const QString& words : c.said) {
            EXPECT_TRUE(Explanation().contains(words)) << what << "\n" << Explanation().toStdString();
            EXPECT_TRUE(page.contains(words.toHtmlEscaped())) << what;
        }
        EXPECT_FALSE(Explanation().contains("Tabla inicial")) << what;
    }
    EXPECT_EQ(asked, 0);
}

// Each node's end in words, on the page of steps, after the node's last
// tableau; the explanation of a node chosen in the tree says the same.
TEST_F(BranchTest, EveryNodeSaysWhyItEnded) {
    TypeProblem(1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"});
    Press(Button1());
    const QStringList reasons = {
        "Nodo 1: y = 1.5 no es entero: se ramifica en dos nodos, uno con y<1 y otro con y>2.",
        "Nodo 2: x = 3.33333333333333 no es entero: se ramifica en dos nodos, uno con x<3 y otro con x>4.",
        QString::fromUtf8("Nodo 3: solución entera (x=3; y=1) de valor 19, la mejor hallada hasta entonces."),
        QString::fromUtf8("Nodo 4: solución entera (x=4; y=0) de valor 20, la mejor hallada hasta entonces."),
        QString::fromUtf8("Nodo 5: su valor, 18, no mejora el mejor valor entero hallado, 20 (nodo 4): se poda por cota."),
    };
    const QString page = PageOfSteps(*form);
    for (const QString& r : reasons) EXPECT_EQ(page.count(r.toHtmlEscaped()), 1) << r.toStdString();
    Tree1()->trigger();
    QTest::mouseClick(Tree()->Nodes->viewport(), Qt::LeftButton, {},
                      Tree()->Nodes->visualItemRect(Tree()->Nodes->item(4, 0)).center());
    EXPECT_EQ(Edit2()->text(), "18");
    EXPECT_TRUE(Explanation().endsWith(reasons[4])) << Explanation().toStdString();
}

// The tree from the keyboard: the arrows move the current row and show its
// node as a click does; Enter shows the current row's node.
TEST_F(BranchTest, TheTreeFromTheKeyboard) {
    TypeProblem(1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"});
    Press(Button1());
    Tree1()->trigger();
    QTableWidget* nodes = Tree()->Nodes;
    ASSERT_EQ(nodes->currentRow(), 3);  // the best node, shown
    nodes->setFocus();
    struct Move {
        Qt::Key key;
        int row;
        QString value;
    };
    const std::vector<Move> moves = {{Qt::Key_Down, 4, "18"}, {Qt::Key_Up, 3, "20"},     {Qt::Key_Up, 2, "19"},
                                     {Qt::Key_Up, 1, "20.6666666666667"}, {Qt::Key_Up, 0, "21"}, {Qt::Key_Return, 0, "21"},
                                     {Qt::Key_Down, 1, "20.6666666666667"}};
    for (const Move& m : moves) {
        QTest::keyClick(nodes, m.key);
        EXPECT_EQ(nodes->currentRow(), m.row) << int(m.key);
        EXPECT_EQ(Edit2()->text(), m.value) << int(m.key);
    }
    // Enter after the main window showed another node: the current row's again.
    QTest::mouseClick(nodes->viewport(), Qt::LeftButton, {}, nodes->visualItemRect(nodes->item(2, 0)).center());
    EXPECT_EQ(Edit2()->text(), "19");
    {
        const QSignalBlocker quiet(nodes);
        nodes->setCurrentCell(1, 0);
    }
    QTest::keyClick(nodes, Qt::Key_Enter);
    EXPECT_EQ(Edit2()->text(), "20.6666666666667");
}

// The sensitivity of an integer problem is its typed problem's relaxation,
// said so, never a node's problem with its bounds; without an optimal
// relaxation it is not offered.
TEST_F(BranchTest, SensitivityIsTheRelaxations) {
    QAction* sensitivity = form->findChild<QAction*>("Sensitivity1");
    TypeProblem(1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"});
    Press(Button1());
    ASSERT_TRUE(sensitivity->isEnabled());
    sensitivity->trigger();
    auto* w = form->findChild<TSensitivityForm*>("Sensibilidad");
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Words->text().startsWith(QString::fromUtf8("Relajación lineal"))) << w->Words->text().toStdString();
    ASSERT_EQ(w->LinesTable->rowCount(), 2);
    QStringList lines, values;
    for (int r = 0; r < 2; ++r) lines << w->LinesTable->item(r, 0)->text(), values << w->VariablesTable->item(r, 1)->text();
    EXPECT_EQ(lines, (QStringList{"h1: 6x+4y<24", "h2: x+2y<6"}));
    EXPECT_EQ(values, (QStringList{"3", "1.5"}));
    const QString page = PageOfSteps(*form);
    EXPECT_TRUE(page.contains(QString::fromUtf8("Relajación lineal")));
    EXPECT_FALSE(page.contains("h3: ")) << "a node's bound as a line";
    TypeProblem(1, "x+y", {"x-y<1.5", "x>0", "y>0", "entero: x, y"});
    Press(Button1());
    EXPECT_EQ(Panel(1), "Ilimitado");
    EXPECT_FALSE(sensitivity->isEnabled());
}

// The search of a problem without end asks after 1000 nodes; No stops it
// where it is, and the next "Una Solución" goes on from there.
TEST_F(BranchTest, TheNodeQuestionStopsTheSearch) {
    int asked = 0;
    // While the search goes on, panel 1 says no end.
    questions->moreNodes = [&] {
        EXPECT_EQ(Panel(1), "");
        return ++asked > 2;
    };
    TypeProblem(1, "0x", {"4x-4y<3", "4x-4y>1", "entero: x,y"});
    Press(Button1());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Panel(1), "");
    EXPECT_EQ(Panel(2).rfind("Nodo 1000 · ", 0), 0u) << Panel(2);
    Press(Button1());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Panel(2).rfind("Nodo 2000 · ", 0), 0u) << Panel(2);
    // An unbounded relaxation without an integer point known: the search
    // is the user's, and the panels say where it stands.
    asked = 0;
    TypeProblem(1, "x+y", {"4x-4y<3", "4x-4y>1", "entero: x,y"});
    Press(Button1());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Panel(1), "");
    EXPECT_NE(Panel(2).find(" · relajación ilimitada, sin punto entero conocido"), std::string::npos) << Panel(2);
    EXPECT_TRUE(Explanation().contains(QString::fromUtf8("no es entero: se ramifica"))) << Explanation().toStdString();
}

// A search's page holds its own nodes' steps, whatever was searched before
// in the window: another problem, the same one, or the other arithmetic.
TEST_F(BranchTest, APageHoldsOnlyItsOwnSearch) {
    form->findChild<QAction*>("RuleBland1")->trigger();  // the same pivots every time
    struct Typed {
        int sense;
        QString objective;
        QStringList lines;
    };
    const Typed a{1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"}};
    const Typed b{0, "-x-2y", {"x+y<3.5", "x-y<1.2", "x>0", "y>0", "entero: y"}};
    TypeProblem(b.sense, b.objective, b.lines);
    Press(Button1());
    const QString alone = PageOfSteps(*form);
    ASSERT_TRUE(alone.contains("<table class=\"arbol\">"));
    for (const Typed& before : {a, b}) {
        TypeProblem(before.sense, before.objective, before.lines);
        Press(Button1());
        TypeProblem(b.sense, b.objective, b.lines);
        Press(Button1());
        EXPECT_EQ(PageOfSteps(*form), alone) << before.objective.toStdString();
    }
    // The other arithmetic after a search: a page of the search it shows.
    TypeProblem(a.sense, a.objective, a.lines);
    Press(Button1());
    form->findChild<QAction*>("ExactArithmetic1")->trigger();
    Press(Button1());
    const QString exact = PageOfSteps(*form);
    EXPECT_TRUE(exact.contains("<table class=\"arbol\">"));
    EXPECT_EQ(Edit2()->text(), "20");
    form->findChild<QAction*>("ExactArithmetic1")->trigger();
    form->findChild<QAction*>("RuleRandom1")->trigger();
}

} // namespace
} // namespace optimara::uitest
