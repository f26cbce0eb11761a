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
    KeptSettings kept{"pasos/practica", "pasos/regla", "notacion/forma"};
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
    EXPECT_TRUE(RightClick({1, 2}));                // nor the grid's menu
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

// A new exercise of the kind asked for replaces the problem as one typed
// anew; an impossible request says why and leaves the problem.
TEST_F(PracticeTest, NewExerciseOfTheKindAskedFor) {
    TypeProblem(1, "x+y", {"x<1", "y<1"});
    Solve();
    const auto ask = [this](ExerciseKind kind, bool greater) {
        questions->exercise = [kind, greater](ExerciseRequest& r) {
            r.kind = kind;
            r.greaterAndEqual = greater;
            r.seed = 5;
            return true;
        };
        questions->saveFile = [](const QString&) { return QString(); };
    };
    ask(ExerciseKind::Infeasible, false);
    {
        ModalAnswerer answers({ModalAnswerer::Click(QMessageBox::Ok)});
        Action("NewExercise1")->trigger();
        ASSERT_EQ(answers.Seen().size(), 1u);
        EXPECT_TRUE(answers.Seen()[0].text.contains(QString::fromUtf8("necesita líneas «≥» o «=»")));
    }
    EXPECT_EQ(Find<QLineEdit>("Edit1")->text(), "x+y");
    ask(ExerciseKind::Unbounded, false);
    {
        ModalAnswerer answers({ModalAnswerer::Click(QMessageBox::No)});  // the unsaved problem let go
        Action("NewExercise1")->trigger();
    }
    ExerciseRequest asked;
    asked.kind = ExerciseKind::Unbounded;
    asked.seed = 5;
    EXPECT_EQ(Find<QLineEdit>("Edit1")->text().toStdString(), MakeExercise(asked).text.objective);
    EXPECT_EQ(form->State().Stage(), SolveStage::Unbounded);
    EXPECT_TRUE(form->windowTitle().endsWith("Modificado"));
}

// An LP file is read as typed lines and solved; a quadratic one is refused
// and the problem on screen stays.
TEST_F(PracticeTest, OpensAnLpFileAndRefusesAQuadraticOne) {
    QTemporaryDir dir;
    const auto write = [&dir](const char* name, const char* text) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    };
    const QString good = write("libro.lp", "Maximize\r\n obj: 3 x + 5 y\r\nSubject To\r\n c1: x <= 4\r\n"
                                           " c2: 2 y <= 12\r\n c3: 3 x + 2 y <= 18\r\nEnd\r\n");
    const QString bad = write("malo.lp", "Maximize\n obj: x + [ x ^ 2 ] / 2\nSubject To\n c1: x <= 4\nEnd\n");
    questions->openFile = [good] { return good; };
    Action("Open1")->trigger();
    EXPECT_EQ(Find<QLineEdit>("Edit2")->text(), "36");
    EXPECT_TRUE(form->windowTitle().endsWith("Modificado"));
    const QString objective = Find<QLineEdit>("Edit1")->text();
    questions->openFile = [bad] { return bad; };
    {
        ModalAnswerer answers({ModalAnswerer::Click(QMessageBox::Ok)});
        Action("Open1")->trigger();
        ASSERT_EQ(answers.Seen().size(), 1u);
        EXPECT_TRUE(answers.Seen()[0].text.startsWith(QString::fromUtf8("Línea 2: términos cuadráticos"))) << answers.Seen()[0].text.toStdString();
    }
    EXPECT_EQ(Find<QLineEdit>("Edit1")->text(), objective);
    EXPECT_EQ(Find<QLineEdit>("Edit2")->text(), "36");
}

} // namespace
} // namespace optimara::uitest
