// SPDX-License-Identifier: GPL-3.0-or-later
// The methods in the window, chosen in "&Pasos" as a user does: each ends
// where the textbook's worked answer does, a refused start says why, a line
// added at an optimum is restored by the dual simplex, and the cutting
// planes reach the integer optimum.
#include <QLineEdit>
#include <QFile>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>

#include "Integers.h"
#include "LearningAidsFixture.h"

namespace optimara::uitest {
namespace {

class Methods : public LearningAids {
protected:
    KeptSettings kept{"pasos/metodo", "pasos/entero", "pasos/regla", "pasos/nodos-desde-el-padre"};
    QString Value() { return Find<QLineEdit>("Edit2")->text(); }
};

// Min 2x+3y, x+y≥4, x+3y≥6: 9 at (3,1) by every method.
TEST_F(Methods, EveryMethodReachesTheTextbooksOptimum) {
    const struct {
        const char* item;
        const char* named;  // in panel 2 ("" for the compact method)
    } rows[] = {{"MethodCompact1", ""}, {"MethodTwoPhases1", "Dos fases"}, {"MethodBigM1", "Gran M"},
                {"MethodDual1", "Símplex dual"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.item);
        Action(row.item)->trigger();
        TypeProblem(0, "2x+3y", {"x+y>4", "x+3y>6", "x>0", "y>0"});
        Solve();
        EXPECT_EQ(Status()->Text(1), "Hecho");
        EXPECT_EQ(Value(), "9");
        // Panel 2 names the method; the compact method's panel is as it always was.
        const std::string panel = Status()->Text(2);
        if (*row.named) EXPECT_NE(panel.find(row.named), std::string::npos) << panel;
        for (const auto& other : rows)
            if (*other.named && other.named != row.named)
                EXPECT_EQ(panel.find(other.named), std::string::npos) << panel;
    }
}

// Two phases: the first looks for a feasible point, the second improves.
TEST_F(Methods, PanelTwoTellsThePhaseOfTwo) {
    Action("MethodTwoPhases1")->trigger();
    TypeProblem(0, "2x+3y", {"x+y>4", "x+3y>6", "x>0", "y>0"});
    Step();
    EXPECT_EQ(Status()->Text(2), "Paso 0 · buscando una solución factible · Dos fases · Fase 1 (w)");
    Solve();
    EXPECT_EQ(Status()->Text(2), "Paso 2 · óptimo · Dos fases · Fase 2");
}

// The dual simplex cannot start from a tableau that is not dual feasible.
TEST_F(Methods, TheDualSimplexRefusesAStartThatIsNotDualFeasible) {
    Action("MethodDual1")->trigger();
    TypeProblem(1, "3x+5y", {"x<4", "2y<12", "3x+2y<18", "x>0", "y>0"});
    Solve();
    EXPECT_NE(Status()->Text(0).find("dual factible"), std::string::npos) << Status()->Text(0);
    EXPECT_EQ(Value(), "");
}

// Max 3x+5y at its optimum 36; with x<1 added the dual simplex ends at 33.
TEST_F(Methods, ALineAddedAtTheOptimumIsRestoredByTheDualSimplex) {
    Action("MethodCompact1")->trigger();
    TypeProblem(1, "3x+5y", {"x<4", "2y<12", "3x+2y<18", "x>0", "y>0"});
    Solve();
    ASSERT_EQ(Value(), "36");
    QAction* add = Action("AddConstraint1");
    ASSERT_TRUE(add->isEnabled());
    questions->constraint = [] { return QString("x<1"); };
    add->trigger();
    Solve();
    EXPECT_EQ(Status()->Text(1), "Hecho");
    EXPECT_EQ(Value(), "33");
}

// Max 5x+4y, 6x+4y≤24, x+2y≤6, integer: 20 by Gomory's cuts.
TEST_F(Methods, CuttingPlanesReachTheIntegerOptimum) {
    Action("IntegerCuts1")->trigger();
    TypeProblem(1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"});
    Solve();
    EXPECT_EQ(Value(), "20");
    const size_t cuts = form->State().Cuts().size();
    ASSERT_GT(cuts, 0u);
    // The page writes every cut with its inequality, the first worked by hand.
    QTemporaryDir dir;
    const QString page = dir.filePath("pasos.html");
    form->findChild<StepsFeature*>()->SaveStepsTo(page);
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    EXPECT_EQ(size_t(html.count("<p class=\"corte\">")), cuts);
    EXPECT_TRUE(html.contains(QString::fromUtf8("6x + 5y ≤ 25"))) << html.toStdString();
    Action("IntegerBranch1")->trigger();
}

// "Nodos desde el padre": the tree gains a column of each node's pivots. The
// first relaxation takes the textbook's two pivots from the slack basis; every
// other node starts from its parent's optimum.
TEST_F(Methods, TheTreeCountsThePivotsOfNodesFromTheirParent) {
    ASSERT_FALSE(Action("NodesFromParent1")->isChecked());
    Action("NodesFromParent1")->trigger();
    TypeProblem(1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"});
    Solve();
    EXPECT_EQ(Value(), "20");
    form->findChild<QAction*>("Tree1")->trigger();
    auto* nodes = form->findChild<QTableWidget*>("ArbolNodes");
    ASSERT_NE(nodes, nullptr);
    ASSERT_EQ(nodes->columnCount(), 7);
    EXPECT_EQ(nodes->horizontalHeaderItem(6)->text(), "Pivotes");
    ASSERT_GT(nodes->rowCount(), 1);
    EXPECT_EQ(nodes->item(0, 6)->text(), "2");
    for (int r = 1; r < nodes->rowCount(); ++r)
        EXPECT_TRUE(nodes->item(r, 6)->text().endsWith(" desde el padre")) << r;
    Action("NodesFromParent1")->trigger();
}

// The cuts keep their own colour in the plane and in space; branch and
// bound draws none of it.
TEST_F(Methods, CutsAreDrawnInTheirColourInThePlaneAndInSpace) {
    const auto count = [this] {
        const QImage& layer = Find<PictureBox>("Image1")->Layer();
        int n = 0;
        for (int y = 0; y < layer.height(); ++y)
            for (int x = 0; x < layer.width(); ++x) n += layer.pixelColor(x, y) == kCutMagenta;
        return n;
    };
    const struct {
        const char* objective;
        QStringList lines;
    } problems[] = {
        {"5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"}},
        {"x+y+z", {"2x+2y+2z<5", "x>0", "y>0", "z>0", "entero: x, y, z"}},
    };
    for (const auto& p : problems) {
        TypeProblem(1, p.objective, p.lines);
        Solve();
        EXPECT_EQ(count(), 0) << p.objective;
        Action("IntegerCuts1")->trigger();
        Solve();
        ASSERT_GT(form->State().Cuts().size(), 0u) << p.objective;
        EXPECT_GT(count(), 0) << p.objective;
        Action("IntegerBranch1")->trigger();
    }
}

} // namespace
} // namespace optimara::uitest
