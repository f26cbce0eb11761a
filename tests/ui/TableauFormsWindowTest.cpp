// SPDX-License-Identifier: GPL-3.0-or-later
// The forms of the tableau in the window: each a reading of the same steps,
// chosen in "&Notación", remembered, and with a pivot chosen in the full
// grid taken by the next step as the compact grid's would be.
#include <QSettings>

#include "LearningAidsFixture.h"

namespace optimara::uitest {
namespace {

class TableauForms : public LearningAids {
protected:
    void SetUp() override {
        // The rule and the form are the user's settings: they come back.
        rule = QSettings("Optimara", "Optimara").value("pasos/regla", 0);
        LearningAids::SetUp();
        Action("RuleLargest1")->trigger();
    }
    void TearDown() override {
        LearningAids::TearDown();
        QSettings store("Optimara", "Optimara");
        store.remove("notacion/forma");
        store.setValue("pasos/regla", rule);
    }
    QStringList Row(int row) {
        QStringList cells;
        for (int c = 0; c < Grid()->model()->columnCount(); ++c) cells << GridText(c, row);
        return cells;
    }
    QStringList All() {
        QStringList cells;
        for (int r = 0; r < Grid()->model()->rowCount(); ++r) cells << Row(r).join('|');
        return cells;
    }
    QVariant rule;
};

// Max 3x+5y, x≤4, 2y≤12, 3x+2y≤18 at its first tableau, under "Mayor
// coeficiente": y enters (z_j - c_j = -5), h2 leaves (12/2 = 6 < 18/2 = 9).
TEST_F(TableauForms, EachFormReadsTheStepShown) {
    TypeProblem(1, "3x+5y", {"x<4", "2y<12", "3x+2y<18", "x>0", "y>0"});
    Step();
    const QStringList compact = All();

    Action("FormFull1")->trigger();
    EXPECT_EQ(Row(0).mid(0, 7).join(' '), QString::fromUtf8("Básica x y h1 h2 h3 Solución"));
    EXPECT_EQ(Row(1).mid(0, 7).join(' '), "z -3 -5 0 0 0 0");
    EXPECT_EQ(GridText(0, 3), "h2");
    EXPECT_TRUE(GridText(2, 3).startsWith("**")) << GridText(2, 3).toStdString();
    EXPECT_EQ(GridText(7, 3), QString::fromUtf8("6  ← sale"));
    EXPECT_EQ(GridText(7, 4), "9");

    Action("FormDictionary1")->trigger();
    EXPECT_TRUE(All().join('\n').contains("z = 0 + 3x + 5y")) << All().join('\n').toStdString();

    Action("FormMatrix1")->trigger();
    EXPECT_TRUE(All().join('\n').contains(QString::fromUtf8("B⁻¹"))) << All().join('\n').toStdString();

    // The compact grid comes back exactly; the step is the same one.
    Action("FormCompact1")->trigger();
    EXPECT_EQ(All(), compact);

    // A step in the full form: y is basic in h2's row, z = 30.
    Action("FormFull1")->trigger();
    Step();
    EXPECT_EQ(GridText(0, 3), "y");
    EXPECT_EQ(Row(1).value(6), "30");
    EXPECT_EQ(form->State().Steps.Steps(), 1);
}

// Two tied columns: "Pivotar aquí" on the full grid's other candidate is
// the choice the next step makes; a new window opens in the form chosen.
TEST_F(TableauForms, APivotChosenInTheFullGridIsTakenAndTheFormRemembered) {
    Action("FormFull1")->trigger();
    TypeProblem(1, "x+y", {"x<3", "y<3", "x>0", "y>0"});
    Step();
    const std::vector<QPoint> candidates = Candidates();
    ASSERT_EQ(candidates.size(), 1u);
    const QPoint mine = candidates[0];
    EXPECT_FALSE(RightClick({0, 1}));  // the z row is no pivot
    ASSERT_TRUE(RightClick(mine));
    Action("PivotHere1")->trigger();
    EXPECT_EQ(Chosen(), mine);
    const QString entering = GridText(mine.x(), 0);
    Step();
    EXPECT_EQ(GridText(0, mine.y()), entering);

    form = NewWindow();
    EXPECT_TRUE(Action("FormFull1")->isChecked());
    EXPECT_EQ(form->State().form, TableauForm::Full);
}

} // namespace
} // namespace optimara::uitest
