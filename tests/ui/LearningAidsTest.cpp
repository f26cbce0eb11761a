// SPDX-License-Identifier: GPL-3.0-or-later
// The learning aids through the real window: going back over the pivots,
// choosing the pivot, the road on the picture, the steps panel and the page
// of steps. Controls are reached by their object names.
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cstring>
#include <random>

#include "LearningAidsFixture.h"
#include "UiTestSupport.h"
#include "catalogue/Catalogue.h"
#include "problem/Comparison.h"

namespace optimara::uitest {
namespace {

// Twenty steps, some on a pivot chosen by hand, on two hundred generated
// problems; then back to the first tableau, each state exactly as it was.
TEST_F(LearningAids, StepBackRestoresEveryStateExactly) {
    std::mt19937 rng(2024);
    const auto& families = testing::Families();
    QAction* back = Action("StepBack1");
    QAction* forward = Action("StepForward1");
    int stepsTaken = 0, choices = 0;
    for (int n = 0; n < 200; ++n) {
        const testing::TypedProblem problem = families[size_t(n) % families.size()].make(rng);
        QStringList lines;
        for (const std::string& line : problem.text.lines) lines << QString::fromStdString(line);
        PasteProblem(problem.text.comboIndex, QString::fromStdString(problem.text.objective), lines);
        Step();
        if (!Status()->Text(0).empty()) continue;
        std::vector<Seen> seen{Capture()};
        EXPECT_FALSE(back->isEnabled());
        for (int k = 0; k < 20 && Status()->Text(1).empty(); ++k) {
            const std::vector<QPoint> candidates = Candidates();
            if (!candidates.empty() && std::bernoulli_distribution(0.3)(rng)) {
                ASSERT_TRUE(RightClick(candidates[size_t(rng() % candidates.size())]));
                Action("PivotHere1")->trigger();
                ++choices;
            }
            if (k % 2) forward->trigger();
            else Step();
            seen.push_back(Capture());
            ++stepsTaken;
        }
        for (size_t k = seen.size() - 1; k > 0; --k) {
            SCOPED_TRACE(testing::Families()[size_t(n) % families.size()].name);
            ASSERT_TRUE(back->isEnabled());
            back->trigger();
            const Seen now = Capture();
            const Seen& then = seen[k - 1];
            EXPECT_EQ(now.tableau, then.tableau);
            EXPECT_EQ(now.labels, then.labels);
            EXPECT_EQ(now.marks, then.marks);
            EXPECT_EQ(now.candidates, then.candidates);
            EXPECT_EQ(now.random, then.random);
            for (int p = 0; p < 3; ++p) EXPECT_EQ(now.panels[p], then.panels[p]);
            EXPECT_EQ(now.grid, then.grid);
            EXPECT_EQ(now.solution, then.solution);
            EXPECT_EQ(now.freeVariables, then.freeVariables);
            EXPECT_EQ(now.value, then.value);
            EXPECT_EQ(now.markerVisible, then.markerVisible);
            EXPECT_EQ(now.marker, then.marker);
            EXPECT_TRUE(now.picture == then.picture);
            ASSERT_TRUE(now == then) << "problem " << n << ", back to tableau " << k - 1;
        }
        EXPECT_FALSE(back->isEnabled());
    }
    // The run must have done what it claims to test.
    EXPECT_GT(stepsTaken, 600);
    EXPECT_GT(choices, 50);
}

// "Una Solución" keeps fewer tableaux whole; going back over all of them and
// forward again retraces the same road, since the draws come back too.
TEST_F(LearningAids, GoingBackAfterASolutionRetracesItsSteps) {
    PasteProblem(0, "x1+x2+x3+x4", {"2x1+x2+3x3+x4>7", "x1+3x2+x3+2x4>5", "3x1+x2+2x3+3x4>9", "x1,x2,x3,x4>0"});
    Solve();
    ASSERT_EQ(Status()->Text(1), "Hecho");
    const Seen end = Capture();
    const std::string panel = end.panels[2];
    const size_t steps = form->State().Steps.Steps();
    ASSERT_GE(steps, 2u);
    for (size_t k = 0; k < steps; ++k) Action("StepBack1")->trigger();
    EXPECT_EQ(Status()->Text(2).substr(0, 7), "Paso 0 ");
    EXPECT_FALSE(Action("StepBack1")->isEnabled());
    for (size_t k = 0; k < steps; ++k) Action("StepForward1")->trigger();
    EXPECT_TRUE(Capture() == end);
    EXPECT_EQ(Status()->Text(2), panel);
}

// The projector's keys from the editor: F6 builds and steps, F7 goes back,
// F5 solves to the end.
TEST_F(LearningAids, FunctionKeysStepGoBackAndSolve) {
    TypeProblem(1, "3x+5y", {"x<4", "2y<12", "3x+2y<18", "x>0", "y>0"});
    QWidget* editor = Find<QWidget>("RichEdit1");
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_F6);
    QTest::keyClick(editor, Qt::Key_F6);
    EXPECT_EQ(Status()->Text(2), "Paso 1 · mejorando el objetivo");
    QTest::keyClick(editor, Qt::Key_F7);
    EXPECT_EQ(form->State().Steps.Steps(), 0u);
    QTest::keyClick(editor, Qt::Key_F5);
    // A button's key presses it as a click shown on screen, a moment later.
    for (int k = 0; k < 50 && Find<QLineEdit>("Edit2")->text() != "36"; ++k) QTest::qWait(20);
    EXPECT_EQ(Find<QLineEdit>("Edit2")->text(), "36");
}

TEST_F(LearningAids, StepKeysLeaveTheEditorsUndoAlone) {
    EXPECT_EQ(Action("StepBack1")->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::Key_F7), QKeySequence(Qt::ALT | Qt::Key_Left)}));
    EXPECT_EQ(Action("StepForward1")->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::Key_F6), QKeySequence(Qt::ALT | Qt::Key_Right)}));
    TypeProblem(1, "x+y", {"x+y>2", "x<3", "y<3", "x>0", "y>0"});
    QWidget* editor = Find<QWidget>("RichEdit1");
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_Right, Qt::AltModifier);  // builds
    QTest::keyClick(editor, Qt::Key_Right, Qt::AltModifier);  // one pivot
    EXPECT_EQ(Status()->Text(2), "Paso 1 · mejorando el objetivo");
    const Seen one = Capture();
    QTest::keyClick(editor, Qt::Key_Right, Qt::AltModifier);
    QTest::keyClick(editor, Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(Capture() == one);
    // The editor's text was not touched by the keys.
    EXPECT_EQ(Find<QTextEdit>("RichEdit1")->toPlainText(), "x+y>2\nx<3\ny<3\nx>0\ny>0");
    // An edit ends the run: nothing to go back over until the next solve.
    QTest::keyClicks(editor, " ");
    EXPECT_FALSE(Action("StepBack1")->isEnabled());
    EXPECT_FALSE(Action("SaveStepsAs1")->isEnabled());
}

TEST_F(LearningAids, ChosenPivotIsTakenByTheNextStep) {
    // Both columns improve the objective: two candidates after the build.
    TypeProblem(1, "x+y", {"x<3", "y<3", "x>0", "y>0"});
    Step();
    const std::vector<QPoint> candidates = Candidates();
    ASSERT_EQ(candidates.size(), 1u);
    const QPoint drawn = Chosen(), mine = candidates[0];
    const uint32_t random = form->State().problem.Random.state;
    // Neither the chosen cell nor a plain one offers anything.
    EXPECT_FALSE(RightClick(drawn));
    EXPECT_FALSE(RightClick({3, 1}));
    EXPECT_FALSE(RightClick({0, 0}));
    ASSERT_TRUE(RightClick(mine));
    Action("PivotHere1")->trigger();
    EXPECT_TRUE(GridText(mine.x(), mine.y()).startsWith("**"));
    EXPECT_TRUE(GridText(drawn.x(), drawn.y()).startsWith("*"));
    EXPECT_FALSE(GridText(drawn.x(), drawn.y()).startsWith("**"));
    EXPECT_EQ(form->State().problem.Random.state, random);  // the draw is not taken back
    // A switch of notation keeps the choice.
    Action("Rational1")->trigger();
    EXPECT_EQ(Chosen(), mine);
    Action("FloatingPoint1")->trigger();
    const QString entering = GridText(mine.x(), 0);
    Step();
    // The variable of the chosen column is now basic in the chosen row.
    EXPECT_EQ(GridText(0, mine.y()), entering);
    EXPECT_EQ(Status()->Text(2), "Paso 1 · mejorando el objetivo");
}

TEST_F(LearningAids, ChoosePivotFromTheKeyboardUsesTheCurrentCell) {
    TypeProblem(1, "x+y", {"x<3", "y<3", "x>0", "y>0"});
    Step();
    const QPoint drawn = Chosen();
    QTableView* grid = Grid();
    grid->setCurrentIndex(grid->model()->index(1, 3));  // a constant: nothing
    Action("ChoosePivot1")->trigger();
    EXPECT_EQ(Chosen(), drawn);
    const QPoint mine = Candidates().at(0);
    grid->setCurrentIndex(grid->model()->index(mine.y(), mine.x()));
    Action("ChoosePivot1")->trigger();
    EXPECT_EQ(Chosen(), mine);
    // Going back and choosing again starts a new branch: the undone step is dropped.
    Step();
    Action("StepBack1")->trigger();
    EXPECT_EQ(Status()->Text(2), "Paso 0 · mejorando el objetivo");
    EXPECT_EQ(Chosen(), drawn);  // as the first tableau was shown
    EXPECT_FALSE(Action("StepBack1")->isEnabled());
}

TEST_F(LearningAids, PanelTellsTheStepAndThePhase) {
    // The origin is outside the region: the method first looks for a feasible point.
    TypeProblem(1, "x+y", {"x+y>2", "x<3", "y<3", "x>0", "y>0"});
    Step();
    EXPECT_EQ(Status()->Text(2), "Paso 0 · buscando una solución factible");
    Step();
    EXPECT_EQ(Status()->Text(2), "Paso 1 · mejorando el objetivo");
    Solve();
    const std::string done = Status()->Text(2);
    EXPECT_EQ(done.rfind("Paso ", 0), 0u);
    EXPECT_EQ(done.substr(done.size() - std::strlen(" · óptimo")), " · óptimo");
    EXPECT_EQ(Status()->Text(1), "Hecho");
    const struct {
        const char* name;
        const char* panel;
    } ends[] = {{"infeasible", "sin solución factible"}, {"unbounded", "objetivo ilimitado"}, {"worked example", "óptimo"}};
    for (const auto& end : ends) {
        for (const auto& p : catalogue::Problems()) {
            if (p.name != end.name) continue;
            QStringList lines;
            for (const std::string& line : p.lines) lines << QString::fromStdString(line);
            TypeProblem(p.comboIndex, QString::fromStdString(p.objective), lines);
            Solve();
            const std::string text = Status()->Text(2);
            EXPECT_NE(text.find(std::string(" · ") + end.panel), std::string::npos) << text;
        }
    }
    // A text with an error shows no step; "&Borrar" empties the panel.
    TypeProblem(1, "x+", {"x<1"});
    Solve();
    EXPECT_EQ(Status()->Text(2), "");
    TypeProblem(1, "x", {"x<1", "x>0"});
    Solve();
    EXPECT_NE(Status()->Text(2), "");
    Action("Clear1")->trigger();
    EXPECT_EQ(Status()->Text(2), "");
    EXPECT_FALSE(Action("StepBack1")->isEnabled());
}

TEST_F(LearningAids, AbandonedPivotLeavesNothingToUndo) {
    // Dividing by the tiny coefficient overflows: the pivot is abandoned.
    const QString tiny = "0." + QString(13, '0') + "1x<1" + QString(300, '0');
    PasteProblem(1, "x", {tiny, "x>0"});
    Step();
    ASSERT_EQ(Status()->Text(0), "");
    ASSERT_EQ(Status()->Text(1), "") << Capture().grid.join("|").toStdString();
    const Seen first = Capture();
    {
        ModalAnswerer answerer({ModalAnswerer::Click(QMessageBox::Ok)});
        Step();
        ASSERT_EQ(answerer.Seen().size(), 1u);
    }
    EXPECT_FALSE(Action("StepBack1")->isEnabled());
    EXPECT_EQ(Status()->Text(2), "Paso 0 · mejorando el objetivo");
    Action("StepBack1")->trigger();
    EXPECT_TRUE(Capture() == first);
}

// The centre of the marker over the picture, in the picture's pixels.
QPoint MarkerCentre(QWidget* marker, QWidget* picture) {
    return marker->pos() + QPoint(2, 2) - picture->pos();
}

TEST_F(LearningAids, PathRunsThroughTheVisitedVertices) {
    TypeProblem(1, "x+y", {"x+y>2", "x<3", "y<3", "x>0", "y>0"});
    auto* image = Find<PictureBox>("Image1");
    QWidget* marker = Find<QWidget>("Shape1");
    std::vector<QPoint> vertices;
    Step();
    EXPECT_TRUE(image->Layer().isNull());  // no road before the first pivot
    vertices.push_back(MarkerCentre(marker, image));
    while (Status()->Text(1).empty()) {
        Step();
        vertices.push_back(MarkerCentre(marker, image));
    }
    ASSERT_GE(vertices.size(), 3u);
    const QImage shown = image->Shown();
    const QColor red(Qt::red);
    for (const QPoint& v : vertices) EXPECT_EQ(shown.pixelColor(v), red) << v.x() << "," << v.y();
    // The feasible stretch is solid: every pixel half way between its two
    // last vertices is on the road.
    const QPoint a = vertices[vertices.size() - 2], b = vertices.back();
    if (a != b) {
        EXPECT_EQ(shown.pixelColor((a + b) / 2), red);
    }
    // Unchecked, the picture is exactly the plot's.
    QAction* view = Action("ViewPath1");
    EXPECT_TRUE(view->isChecked());
    view->trigger();
    EXPECT_FALSE(view->isChecked());
    EXPECT_EQ(image->Shown(), image->Picture());
    view->trigger();
    EXPECT_EQ(image->Shown(), shown);
    // Going back shortens the road.
    Action("StepBack1")->trigger();
    EXPECT_NE(image->Shown(), shown);
    // The exported bitmap holds the road.
    QTemporaryDir dir;
    ModalAnswerer answerer({ModalAnswerer::ChooseFile(dir.filePath("road.bmp"))});
    Action("SaveImageAs1")->trigger();
    EXPECT_EQ(QImage(dir.filePath("road.bmp")).convertToFormat(QImage::Format_RGB32),
              image->Shown().convertToFormat(QImage::Format_RGB32));
}

TEST_F(LearningAids, PathTurnsWithTheViewAndFollowsTheEnlargedPicture) {
    TypeProblem(1, "x+y+z", {"x<1", "y<1", "z<1", "x>0", "y>0", "z>0"});
    Solve();
    ASSERT_EQ(Status()->Text(1), "Hecho");
    auto* image = Find<PictureBox>("Image1");
    QWidget* marker = Find<QWidget>("Shape1");
    const QColor red(Qt::red);
    EXPECT_EQ(image->Shown().pixelColor(MarkerCentre(marker, image)), red);
    const QImage before = image->Shown();
    QTest::mouseClick(Find<QPushButton>("Button3"), Qt::LeftButton);  // Z+
    EXPECT_NE(image->Shown(), before);
    EXPECT_EQ(image->Shown().pixelColor(MarkerCentre(marker, image)), red);
    Action("Enlarge1")->trigger();
    auto* large = Find<PictureBox>("Image3");
    EXPECT_FALSE(large->Layer().isNull());
    EXPECT_FALSE(Action("StepBack1")->isEnabled());
    EXPECT_FALSE(Action("StepForward1")->isEnabled());
    Action("Restore1")->trigger();
    EXPECT_TRUE(Action("StepBack1")->isEnabled());
}

// The page read back by libxml2's HTML parser: its tables' cell texts.
std::vector<QStringList> TablesOfPage(const QString& file) {
    QProcess xmllint;
    xmllint.start("xmllint", {"--html", "--xmlout", "--nonet", "--noblanks", file});
    EXPECT_TRUE(xmllint.waitForFinished(30000));
    EXPECT_EQ(xmllint.exitCode(), 0) << xmllint.readAllStandardError().toStdString();
    QXmlStreamReader xml(xmllint.readAllStandardOutput());
    std::vector<QStringList> tables;
    // The tableaux only: the sensitivity tables after them are no step.
    bool tableau = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"table") {
            tableau = xml.attributes().value("class") == u"tabla";
            if (tableau) tables.emplace_back();
        }
        if (tableau && xml.isStartElement() && xml.name() == u"td") tables.back() << xml.readElementText();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return tables;
}

TEST_F(LearningAids, PageOfStepsHoldsOneTablePerStep) {
    const struct {
        int sense;
        const char* objective;
        QStringList lines;
        const char* end;
    } cases[] = {
        {0, "x+2y", {"x>-3", "y>-1", "x+y<10"}, "óptimo"},  // free variables: primed labels
        {1, "x+y", {"x+y<1", "x+y>2", "x>0", "y>0"}, "sin solución factible"},
        {1, "x+y", {"x-y<1", "x>0", "y>0"}, "objetivo ilimitado"},
    };
    QTemporaryDir dir;
    int n = 0;
    // The page names the slack variables in its headers, as the grid does
    // with their names shown.
    Action("SlackNames1")->trigger();
    for (const auto& c : cases) {
        TypeProblem(c.sense, c.objective, c.lines);
        Action("Rational1")->trigger();
        std::vector<QStringList> grids;
        Step();
        grids.push_back(Capture().grid);
        while (Status()->Text(1).empty()) {
            Step();
            grids.push_back(Capture().grid);
        }
        const QString file = dir.filePath(QString("pasos%1").arg(++n));
        ModalAnswerer answerer({ModalAnswerer::ChooseFile(file)});
        Action("SaveStepsAs1")->trigger();
        ASSERT_EQ(answerer.Seen().size(), 1u);
        const std::vector<QStringList> tables = TablesOfPage(file + ".html");
        ASSERT_EQ(tables.size(), grids.size());
        if (n == 1) {
            // The free variables stand as their two primed columns.
            EXPECT_TRUE(tables[0].contains("x'"));
            EXPECT_TRUE(tables[0].contains("x''"));
        }
        for (size_t k = 0; k < grids.size(); ++k) EXPECT_EQ(tables[k], grids[k]) << "table " << k;
        QFile page(file + ".html");
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        EXPECT_TRUE(html.contains(QString::fromUtf8("Estado: ") + QString::fromUtf8(c.end))) << c.end;
        EXPECT_TRUE(html.contains(QString::fromUtf8(c.objective)));
        EXPECT_TRUE(html.contains("size: A4"));
        EXPECT_TRUE(html.contains("page-break-inside: avoid"));
        EXPECT_FALSE(html.contains("<script"));
        EXPECT_FALSE(html.contains("http"));
        Action("FloatingPoint1")->trigger();
    }
    Action("SlackNames1")->trigger();
}

} // namespace
} // namespace optimara::uitest

namespace optimara::uitest {
namespace {

// The rule, the explanation and the slack names, as a student meets them:
// the menus, the keyboard and the next start.
TEST_F(LearningAids, RuleExplanationAndSlackNamesFromTheMenusAndTheKeyboard) {
    auto* panel = form->findChild<QPlainTextEdit*>("Explicacion");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());  // shown at first start
    EXPECT_TRUE(Action("RuleRandom1")->isChecked());
    Action("RuleLargest1")->trigger();
    TypeProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
    Step();
    EXPECT_EQ(Chosen(), QPoint(1, 1));
    EXPECT_TRUE(panel->toPlainText().contains("Entra x (columna 1)")) << panel->toPlainText().toStdString();
    // A cell that cannot be the pivot, chosen from the keyboard, says why.
    Grid()->setFocus();
    Grid()->setCurrentIndex(Grid()->model()->index(1, 1));
    QTest::keyClick(Grid(), Qt::Key_Down);
    Action("ChoosePivot1")->trigger();
    EXPECT_EQ(Chosen(), QPoint(1, 1));
    EXPECT_NE(Status()->Text(2).find("dejaría a h1 con valor negativo"), std::string::npos) << Status()->Text(2);
    EXPECT_TRUE(panel->toPlainText().contains("dejaría a h1"));
    // The slack variables' names in the row headings.
    EXPECT_EQ(Grid()->model()->index(1, 0).data().toString(), "");
    Action("SlackNames1")->trigger();
    EXPECT_EQ(Grid()->model()->index(1, 0).data().toString(), "h1");
    EXPECT_EQ(Grid()->model()->index(2, 0).data().toString(), "h2");
    // Hidden, the window is as without the panel; every choice comes back.
    Action("ViewExplanation1")->trigger();
    EXPECT_FALSE(panel->isVisible());
    {
        TForm1 next;
        EXPECT_TRUE(next.findChild<QAction*>("RuleLargest1")->isChecked());
        EXPECT_TRUE(next.findChild<QAction*>("SlackNames1")->isChecked());
        EXPECT_FALSE(next.findChild<QAction*>("ViewExplanation1")->isChecked());
    }
    Action("ViewExplanation1")->trigger();
    Action("SlackNames1")->trigger();
    Action("RuleRandom1")->trigger();
}

// A pivot chosen from the grid's menu is the student's, in the panel and on
// the page; the tableaux the rule chose keep the rule's words.
TEST_F(LearningAids, HandChosenPivotIsTheStudentsInThePanelAndOnThePage) {
    auto* panel = form->findChild<QPlainTextEdit*>("Explicacion");
    Action("RuleLargest1")->trigger();
    TypeProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
    Step();
    ASSERT_TRUE(RightClick({2, 2}));
    Action("PivotHere1")->trigger();
    const QString mine = QString::fromUtf8("Entra y (columna 2), elegida a mano; la regla «Mayor coeficiente» habría elegido x.");
    EXPECT_TRUE(panel->toPlainText().contains(mine)) << panel->toPlainText().toStdString();
    EXPECT_FALSE(panel->toPlainText().contains(QString::fromUtf8("Regla «")));
    Step();
    EXPECT_TRUE(panel->toPlainText().contains(QString::fromUtf8("columna 2 (pivote elegido a mano): entró y y salió h2")));
    EXPECT_TRUE(panel->toPlainText().contains(QString::fromUtf8("Regla «Mayor coeficiente»: entra")));
    QTemporaryDir dir;
    ModalAnswerer answerer({ModalAnswerer::ChooseFile(dir.filePath("pasos"))});
    Action("SaveStepsAs1")->trigger();
    QFile page(dir.filePath("pasos.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QStringList tableaux = QString::fromUtf8(page.readAll()).split("<div class=\"paso\">");
    ASSERT_EQ(tableaux.size(), 3);  // the problem, tableau 0 and tableau 1
    EXPECT_TRUE(tableaux[1].contains(mine));
    EXPECT_FALSE(tableaux[1].contains(QString::fromUtf8("Regla «")));
    EXPECT_TRUE(tableaux[2].contains(QString::fromUtf8("Regla «Mayor coeficiente»: entra")));
    // h2's row lets y grow to 2; the tableau's quotient is -2.
    EXPECT_TRUE(tableaux[1].contains(QString::fromUtf8("<td>2</td><td>-2</td><td>entrada &gt; 0: limita, el menor</td>")));
    // Back on the first tableau its pivot is the rule's again, and so are the words.
    Action("StepBack1")->trigger();
    EXPECT_FALSE(panel->toPlainText().contains(QString::fromUtf8("a mano")));
    EXPECT_TRUE(panel->toPlainText().contains(QString::fromUtf8("Entra x (columna 1). Regla «Mayor coeficiente»")));
    Action("RuleRandom1")->trigger();
}

} // namespace
} // namespace optimara::uitest

namespace optimara::uitest {
namespace {

// Exact arithmetic from the menu: the problem on screen is solved anew, the
// values are exact fractions, panel 2 says so, and a long number is cut in
// the grid with the whole of it in its tooltip.
TEST_F(LearningAids, ExactArithmeticSolvesAnewWithExactValues) {
    // max x+y with 3x+y<1, x+3y<1: the optimum (1/4, 1/4), value 1/2.
    TypeProblem(1, "x+y", {"3x+y<1", "x+3y<1", "x>0", "y>0"});
    QTest::mouseClick(Find<QPushButton>("Button1"), Qt::LeftButton);
    Action("Rational1")->trigger();
    Action("ExactArithmetic1")->trigger();
    EXPECT_EQ(Status()->Text(1), "Hecho");
    EXPECT_EQ(Find<QLineEdit>("Edit2")->text(), "1/2");
    EXPECT_NE(Status()->Text(2).find("· exacta"), std::string::npos) << Status()->Text(2);
    // 0.3 and 0.1 typed are 3/10 and 1/10 exactly.
    TypeProblem(1, "x", {"0.3x<0.1", "x>0"});
    QTest::mouseClick(Find<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_EQ(Find<QLineEdit>("Edit2")->text(), "1/3");
    Action("FloatingPoint1")->trigger();
    EXPECT_EQ(Find<QLineEdit>("Edit2")->text(), "0.333333333333333");
    // A number too long for the grid.
    TypeProblem(1, "x", {"7x<123456789012345678901234567", "x>0"});
    Action("Rational1")->trigger();
    QTest::mouseClick(Find<QPushButton>("Button1"), Qt::LeftButton);
    const QModelIndex constant = Grid()->model()->index(1, 2);
    EXPECT_EQ(constant.data().toString(), QString::fromUtf8("-123456789…/7"));
    EXPECT_EQ(constant.data(Qt::ToolTipRole).toString(), "-123456789012345678901234567/7");
    Action("ExactArithmetic1")->trigger();
    EXPECT_EQ(Status()->Text(2).find("exacta"), std::string::npos);
    Action("FloatingPoint1")->trigger();
}

} // namespace
} // namespace optimara::uitest
