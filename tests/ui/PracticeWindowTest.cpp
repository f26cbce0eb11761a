// SPDX-License-Identifier: GPL-3.0-or-later
// Practice in the window as a student works it: the choices by clicks, the
// next tableau typed into the grid, a wrong cell marked and hinted, the
// step made when right or when shown, the counts on panel 2 and the page.
#include <QFile>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>

#include "LearningAidsFixture.h"
#include "PracticeFeature.h"

namespace optimara::uitest {
namespace {

class PracticeTest : public LearningAids {
protected:
    void SetUp() override {
        const QSettings store("Optimara", "Optimara");
        for (const char* key : kKeys) kept[key] = store.value(key);
        LearningAids::SetUp();
    }
    void TearDown() override {
        LearningAids::TearDown();
        QSettings store("Optimara", "Optimara");
        for (const char* key : kKeys) {
            if (kept[key].isValid()) store.setValue(key, kept[key]);
            else store.remove(key);
        }
    }
    void Click(int row, int col) {
        QTableView* grid = Grid();
        const QPoint at = grid->visualRect(grid->model()->index(row, col)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    }
    // F2 opens the cell's editor, as a user opens it; Return closes it.
    void Type(int row, int col, const QString& text) {
        QTableView* grid = Grid();
        grid->setCurrentIndex(grid->model()->index(row, col));
        QTest::keyClick(grid, Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, grid);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
    QString Said() { return Find<QPlainTextEdit>("Explicacion")->toPlainText(); }
    static constexpr const char* kKeys[] = {"pasos/practica", "pasos/regla", "notacion/forma"};
    std::map<std::string, QVariant> kept;
};

// Max 3x+5y: y enters, h2 leaves; the compact tableau after it, by hand.
TEST_F(PracticeTest, TheStudentMakesTheStepAndIsChecked) {
    Action("Rational1")->trigger();
    Action("Practice1")->trigger();
    TypeProblem(1, "3x+5y", {"x<4", "2y<12", "3x+2y<18", "x>0", "y>0"});
    Step();  // the build
    Step();  // no pivot by itself
    EXPECT_TRUE(Said().startsWith(QString::fromUtf8("Práctica: elija la columna"))) << Said().toStdString();
    EXPECT_FALSE(GridText(2, 2).startsWith("*"));  // no mark gives the pivot away
    Click(2, 1);                                   // x's column, h2's row: x may enter
    Click(2, 1);                                   // but h2 does not limit it
    EXPECT_TRUE(Said().startsWith("No: ")) << Said().toStdString();
    Click(0, 2);  // y's heading
    Click(2, 2);  // h2
    auto* model = form->findChild<PracticeFeature*>()->Model();
    ASSERT_EQ(Grid()->model(), model);
    EXPECT_EQ(GridText(0, 2), "y");  // the next tableau's labels, its numbers blank
    EXPECT_EQ(GridText(1, 1), "");
    const QStringList right = {"1", "0", "-4", "0", "1/2", "-6", "3", "-1", "-6", "3", "-5/2", "30"};
    for (int k = 0; k < right.size(); ++k) Type(1 + k / 3, 1 + k % 3, k == 4 ? "2" : right[k]);
    QTest::mouseClick(Find<QPushButton>("CheckButton"), Qt::LeftButton);
    EXPECT_EQ(model->index(2, 2).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 190, 190));
    EXPECT_EQ(model->index(1, 1).data(Qt::BackgroundRole), QVariant());
    EXPECT_TRUE(Said().contains(QString::fromUtf8("«fila 2, columna 2» (y, h2): debe ser positiva, menor que la escrita")))
        << Said().toStdString();
    for (int k = 0; k < 3; ++k) Action("Hint1")->trigger();
    EXPECT_TRUE(Said().contains("Pista 3")) << Said().toStdString();
    EXPECT_TRUE(Said().contains("vale 1/2")) << Said().toStdString();
    Type(2, 2, "1/2");
    Action("Check1")->trigger();
    EXPECT_EQ(form->State().Steps.Steps(), 1u);
    EXPECT_TRUE(Said().startsWith(QString::fromUtf8("¡Correcto!"))) << Said().toStdString();
    EXPECT_EQ(Panel(2), "Práctica · pasos: 1 · celdas mal al primer intento: 1 · pistas: 3");
    // "Mostrar paso" makes the next step as without practice.
    Action("ShowStep1")->trigger();
    EXPECT_EQ(form->State().Steps.Steps(), 2u);
    QTemporaryDir dir;
    const QString page = dir.filePath("pasos.html");
    form->findChild<StepsFeature*>()->SaveStepsTo(page);
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(QString::fromUtf8(
        "<p class=\"practica\">Práctica: 1 pasos hechos, 1 celdas mal al primer intento, 3 pistas.</p>")));
    Action("Practice1")->trigger();
    EXPECT_NE(Grid()->model(), model);
    Action("FloatingPoint1")->trigger();
}

} // namespace
} // namespace optimara::uitest
