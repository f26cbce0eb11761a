// SPDX-License-Identifier: GPL-3.0-or-later
// Every menu's items in their order, by object name: the menus of the menu
// bar (with their submenus) and the grid's menu. Moving the code that makes
// an item must not move the item.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "UiTestSupport.h"

namespace optimara::uitest {
namespace {

// A menu's items: "-" for a separator, a submenu as its name followed by
// its own items in brackets.
QStringList Items(const QMenu* menu) {
    QStringList items;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            items << "-";
        } else if (const QMenu* sub = action->menu()) {
            items << sub->objectName() + "[" + Items(sub).join(" ") + "]";
        } else {
            items << action->objectName();
        }
    }
    return items;
}

class MenuOrder : public WindowTest {};

TEST_F(MenuOrder, EveryMenuListsItsItemsInTheirOrder) {
    QStringList bar;
    for (const QAction* action : form->menuBar()->actions())
        bar << action->menu()->objectName() + ": " + Items(action->menu()).join(" ");
    const QStringList expected = {
        "FileMenu: Open1 NewExercise1 - Save1 Saveas1 SaveStepsAs1 ExportLatex1 ExportPdf1 PrintSteps1 ExportLp1 - Clear1 - Exit1",
        "NotationMenu: FloatingPoint1 Rational1 - SlackNames1 ExactArithmetic1 - "
        "TableFormMenu1[FormCompact1 FormFull1 FormDictionary1 FormMatrix1]",
        "Steps1: StepBack1 StepForward1 - ChoosePivot1 - Practice1 Check1 Hint1 ShowStep1 - MethodMenu1[MethodCompact1 MethodTwoPhases1 MethodBigM1 "
        "MethodDual1] IntegerMethodMenu1[IntegerBranch1 IntegerCuts1 - NodesFromParent1] AddConstraint1 - "
        "RuleMenu1[RuleRandom1 RuleLargest1 RuleBland1] "
        "ViewExplanation1 - Sensitivity1 Tree1",
        "ImageMenu: ViewAxis1 ViewPath1 ViewObjective1 ViewIntegers1 - SaveImageAs1 - Enlarge1 Restore1",
        "ViewMenu: ZoomIn1 ZoomOut1 ZoomNormal1",
        "HelpMenu: Readme1 About1",
    };
    EXPECT_EQ(bar.join("\n").toStdString(), expected.join("\n").toStdString());

    const auto* grid = form->findChild<QMenu*>("GridMenu1");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(Items(grid).join(" ").toStdString(), "PivotHere1");
}

} // namespace
} // namespace optimara::uitest
