// SPDX-License-Identifier: GPL-3.0-or-later
// A long random walk over the real window: typing valid, broken, huge and
// integer problems, solving, switching notation, clearing, turning the view,
// enlarging, opening and saving, closing and starting again in the same
// folder, and every learning aid of the menus: the pivot rules, exact
// arithmetic, the slack names, the explanation, the zoom, the sensitivity
// window and its dual, the LP export, the tree of an integer search and its
// node question, the page of steps and the picture's bitmap. After every
// action the program is alive and any error box shows a text of the
// program's own; after every close the autosave holds exactly what the
// editor showed. The walk counts what it reached, and each of those aids
// must have been reached, with its effect seen, by the end.
//
// The walk in the test run is short; `make walk` runs a long one, that is
//   OPTIMARA_WALK_ACTIONS=100000 build/tests/ui/test_ui --gtest_filter=RandomWalk.*
// (OPTIMARA_WALK_SEED chooses another walk, OPTIMARA_WALK_TRACE=1 prints
// every action), and prints its figures and what it reached.
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <unordered_set>

#include "Application.h"
#include "EditorDocument.h"
#include "Preferences.h"
#include "ProblemFile.h"
#include "UiTestSupport.h"

namespace optimara::uitest {
namespace {

const QStringList kObjectives = {
    "3x+2y", "x+y+z", "-x-y", "2x-3y+z", "x", "x+", "3x+*y", "", "1e400x+y",
    "1" + QString(400, '0') + "x+y", "x+0.000000000000001y", "99999999999999999999x-y+z", "a+b+c+d",
};
const QStringList kLines = {
    "x+y<4", "x+3y<6", "x>0", "y>0", "z>0", "x+y+z<10", "x-y>-2", "2x+y+3z<12", "x+y<", "<4",
    "x+y+z>1", "z<5", "x<1e300", "1" + QString(400, '0') + "x+y<3", "; comentario", "", "x+y=3",
    "0.5x+0.25y<1.75", "-x-y<-1", "y<2", "x+2y-z<7", "a+b+c+d<1", "entero: x, y", "entero: x",
    "enteros: x,y,z", "entero: q",
};

// Whole integer problems: a small tree, a 3-variable one, none feasible, an
// unbounded one, and one with no integer point on a long strip, whose
// search ends after some 1,600 nodes: past the node question, so that a Yes
// sees it end and a No leaves it to be resumed.
struct IntegerProblem {
    int sense;
    QString objective;
    QStringList lines;
};
const IntegerProblem kThousandNodes{1, "0x", {"4x-4y<3", "4x-4y>1", "x>-200", "x<200", "entero: x,y"}};
const std::vector<IntegerProblem> kIntegerProblems = {
    {1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x, y"}},
    {1, "x+y+z", {"2x+y+z<7.5", "x+3y<6.2", "z<2.5", "x>0", "y>0", "z>0", "entero: x,z"}},
    {0, "x", {"2x=1", "x>0", "entero:x"}},
    {1, "x+y", {"x-y<1.5", "entero: x"}},
    {0, "-x-2y", {"x+y<3.5", "x-y<1.2", "x>0", "y>0", "entero: y"}},
};

// What the walk must reach, each with its effect seen in the window.
const char* const kAids[] = {
    "regla aleatoria", "regla mayor coeficiente", "regla de Bland", "aritmética exacta", "nombres de holgura",
    "explicación", "zoom", "sensibilidad", "abrir el dual", "exportar LP", "árbol", "nodo del árbol",
    "búsqueda entera", "nodos: sí", "nodos: no", "página de pasos", "imagen",
};

// The texts an error box may show: the program's own, never a library's
// (its sentences about the problem begin "El problema ...").
bool ProgramText(const QString& text) {
    static const QRegularExpression known(
        "^(Floating point overflow|Floating point division by zero|Invalid floating point operation|"
        "Failed to Load Stream|Failed to Save Stream|Cannot open file .+|Cannot create file .+|"
        "El problema .+)$",
        QRegularExpression::DotMatchesEverythingOption);
    return known.match(text).hasMatch();
}

struct EditorShot {
    int combo;
    QString objective, caption;
    files::RichDocument lines;
    bool operator==(const EditorShot&) const = default;
};

// The window's questions of exported files are answered with a name in the
// walk's folder, one in a folder that does not exist, or a cancel; the
// fixture chooses and remembers it.
class WalkQuestions : public ScriptedQuestions {
public:
    std::function<QString(const char* suffix)> exportFile;
    QString ChooseImageFile(QWidget*) override { return exportFile("bmp"); }
    QString ChooseStepsFile(QWidget*) override { return exportFile("html"); }
    QString ChooseLpFile(QWidget*) override { return exportFile("lp"); }
    QString ChooseLatexFile(QWidget*) override { return exportFile("tex"); }
    QString ChoosePdfFile(QWidget*) override { return exportFile("pdf"); }
    // Nothing is printed on the walk.
    bool PrintSteps(QWidget*, const std::function<void(QPrinter&)>&) override { return false; }
};

class RandomWalk : public ::testing::Test, public WindowProbe {
protected:
    void SetUp() override {
        // The walk changes the rule, the arithmetic, the zoom...: the
        // settings come back as they were for the tests after it.
        const QSettings store("Optimara", "Optimara");
        for (const QString& key : store.allKeys()) settings[key] = store.value(key);
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        ErrorBoxHook() = [this](const QString& text) {
            ++errors;
            if (!ProgramText(text)) ADD_FAILURE() << "error box: " << text.toStdString() << " after " << last;
        };
        Start();
    }
    void TearDown() override {
        form.reset();
        ErrorBoxHook() = nullptr;
        QDir::setCurrent(previous);
        QSettings store("Optimara", "Optimara");
        store.clear();
        for (const auto& [key, value] : settings) store.setValue(key, value);
    }

    void Start() {
        auto questions = std::make_unique<WalkQuestions>();
        questions->restart = [this] { return form->QuestionCount() < 3 && Chance(2); };
        questions->openFile = [this]() -> QString { return Pick(names); };
        questions->saveFile = [this](const QString&) -> QString { return Pick(names); };
        questions->moreNodes = [this] { return AnswerNodeQuestion(); };
        questions->moreCuts = [this] { return form->QuestionCount() < 3 && Chance(2); };
        questions->exercise = [this](ExerciseRequest& r) {
            r.kind = ExerciseKinds()[size_t(std::uniform_int_distribution<int>(0, 5)(random))];
            r.variables = uint32_t(std::uniform_int_distribution<int>(2, 4)(random));
            r.integer = r.kind == ExerciseKind::IntegerGap;
            r.greaterAndEqual = r.kind == ExerciseKind::Infeasible || Chance(2);
            r.seed = uint64_t(std::uniform_int_distribution<int>(1, 50)(random));
            return !Chance(4);
        };
        questions->constraint = [this] {
            const QString lines[] = {"x<1", "x+y>2", "y<", "z<5", "x+y<100", QString()};
            return Pick(lines);
        };
        questions->exportFile = [this](const char* suffix) {
            const QString choices[] = {dir.filePath(QString("salida.") + suffix), dir.filePath(QString("otra.") + suffix),
                                       dir.filePath(QString("no existe/salida.") + suffix), QString()};
            exported = Pick(choices);
            if (!exported.isEmpty()) QFile::remove(exported);
            return exported;
        };
        form = std::make_unique<TForm1>(std::move(questions));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    EditorShot Editor() const {
        return {ComboBox1()->currentIndex(), Edit1()->text(), Label1()->text(),
                ToRichDocument(*RichEdit1()->document())};
    }

    void CloseAndRestart() {
        const EditorShot shown = Editor();
        const int before = errors;
        form->close();
        ASSERT_EQ(errors, before) << "the close reported a failure";
        const files::ProblemDocument saved = files::ReadProblemFile(dir.filePath("tabvex.lp~"));
        EXPECT_EQ((EditorShot{saved.comboIndex, saved.objective, saved.caption, saved.lines}), shown);
        form.reset();
        Start();
        EXPECT_EQ(Editor(), shown);
    }

    bool Chance(int in) { return std::uniform_int_distribution<int>(0, in - 1)(random) == 0; }
    template <typename List>
    auto Pick(const List& list) -> std::decay_t<decltype(list[0])> {
        return list[std::uniform_int_distribution<qsizetype>(0, std::size(list) - 1)(random)];
    }

    void Type(QWidget* target, const QString& text) {
        target->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(target)) {
            line->selectAll();
        } else {
            RichEdit1()->selectAll();
        }
        QTest::keyClick(target, Qt::Key_Delete);
        // Long texts are pasted rather than typed key by key.
        if (text.size() > 40) {
            if (auto* line = qobject_cast<QLineEdit*>(target)) line->insert(text);
            else RichEdit1()->insertPlainText(text);
            return;
        }
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') QTest::keyClick(target, Qt::Key_Return);
            else QTest::keyClicks(target, QString(text[i]));
        }
    }

    QString Constraints() {
        QStringList lines;
        const int count = std::uniform_int_distribution<int>(0, 6)(random);
        for (int k = 0; k < count; ++k) lines << Pick(kLines);
        return lines.join('\n');
    }

    // One random action of a user; returns its name for the messages.
    const char* Act() {
        if (clearNext) {
            // A search without end has had its share of thousands of nodes.
            clearNext = false;
            if (Restore1()->isEnabled()) Restore1()->trigger();
            Clear1()->trigger();
            return "Borrar tras la pregunta de nodos";
        }
        const bool enlarged = Restore1()->isEnabled();
        const int action = std::uniform_int_distribution<int>(0, 21 + kAidActions)(random);
        if (action > 21) return ActOnAid(action - 22, enlarged);
        switch (action) {
        case 0: case 1:
            if (enlarged) return "none";
            Type(Edit1(), Pick(kObjectives));
            return "objective";
        case 2: case 3:
            if (enlarged) return "none";
            Type(RichEdit1(), Constraints());
            return "constraints";
        case 4:
            if (enlarged) return "none";
            QTest::keyClick(ComboBox1(), Chance(2) ? Qt::Key_Home : Qt::Key_End);
            return "sense";
        case 5: case 6:
            QTest::mouseClick(Button1(), Qt::LeftButton);
            NoteSearch();
            // The steps just made, kept as a page now and then.
            return Chance(2) ? Page() : "Una Solución";
        case 7:
            QTest::mouseClick(Button2(), Qt::LeftButton);
            NoteSearch();
            return Chance(2) ? Page() : "Paso a paso";
        case 8:
            (Chance(2) ? Rational1() : FloatingPoint1())->trigger();
            return "notation";
        case 9:
            Clear1()->trigger();
            return "Borrar";
        case 10: {
            QPushButton* buttons[] = {Button3(), Button4(), Button5(), Button6(),
                                      Button7(), Button8(), Button9()};
            QTest::mouseClick(Pick(buttons), Qt::LeftButton);
            return "view button";
        }
        case 11:
            ViewAxis1()->trigger();
            return "axes";
        case 12:
            (enlarged ? Restore1() : Enlarge1())->trigger();
            return "enlarge/restore";
        case 13: {
            // The question before unsaved work is replaced gets either answer.
            ModalAnswerer answerer({ModalAnswerer::Click(Chance(2) ? QMessageBox::Yes : QMessageBox::No)});
            Open1()->trigger();
            NoteSearch();  // the file opened is solved
            return "Abrir";
        }
        case 14:
            Save1()->trigger();
            return "Guardar";
        case 15:
            Saveas1()->trigger();
            return "Guardar Como";
        case 16:
            if (!Chance(8)) return "none";
            CloseAndRestart();
            return "close and restart";
        case 17:
            StepBack1()->trigger();
            return "Paso atrás";
        case 18:
            StepForward1()->trigger();
            NoteSearch();
            return "Paso adelante";
        case 19: {
            // The pivot chosen by hand on whatever cell the grid has current.
            QAbstractItemModel* grid = StringGrid1()->model();
            StringGrid1()->setCurrentIndex(grid->index(std::uniform_int_distribution<int>(0, grid->rowCount() - 1)(random),
                                                       std::uniform_int_distribution<int>(0, grid->columnCount() - 1)(random)));
            ChoosePivot1()->trigger();
            return "Elegir pivote";
        }
        case 20:
            ViewPath1()->trigger();
            return "Ver recorrido";
        default:
            if (enlarged) return "none";
            // Keys the user might press anywhere after a button.
            if (QWidget* focus = QApplication::focusWidget()) QTest::keyClick(focus, Qt::Key_Q);
            return "stray key";
        }
    }

    // The menu items and windows of the learning aids, found by their names.
    QAction* Item(const char* name) const { return form->findChild<QAction*>(QString::fromLatin1(name)); }
    QWidget* AidWindow(const char* name) const {
        auto* window = form->findChild<QWidget*>(QString::fromLatin1(name));
        return window && window->isVisible() ? window : nullptr;
    }
    QString GridText() const {
        QStringList rows;
        for (int r = 0; r < GridModel()->rowCount(); ++r) rows << GridRow(r).join('\t');
        return rows.join('\n');
    }
    QString GridCell(int col, int row) const { return QString::fromStdString(GridModel()->Cell(col, row)); }
    QStringList GridRow(int row) const {
        QStringList cells;
        for (int c = 0; c < GridModel()->columnCount(); ++c) cells << GridCell(c, row);
        return cells;
    }
    std::string Panel(int k) const { return StatusBar1()->Text(k); }
    // The file the last export question was answered with, if it was written whole.
    bool Exported(const QByteArray& start) const {
        QFile file(exported);
        return !exported.isEmpty() && file.open(QIODevice::ReadOnly) && file.readAll().contains(start);
    }

    // A thousand nodes a question: the walk puts it a bounded number of
    // times, Yes and No in turn, and past its share (a search without end
    // that the walk's lines happened to make) says No and clears the problem.
    bool AnswerNodeQuestion() {
        ++nodeQuestions;
        const bool yes = nodeQuestions <= nodeBudget && nodeQuestions % 2 == 1;
        ++reached[yes ? "nodos: sí" : "nodos: no"];
        if (nodeQuestions > nodeBudget) clearNext = true;
        return yes;
    }

    // After a command that solves: an integer text shows where its search stands.
    void NoteSearch() {
        static const QRegularExpression node("^(Nodo \\d+ · |\\d+ nodos? resueltos?$)");
        if (Panel(0).empty() && RichEdit1()->toPlainText().contains("entero") &&
            node.match(QString::fromStdString(Panel(2))).hasMatch())
            ++reached["búsqueda entera"];
    }

    // What shows after any action: exact steps, an explanation of a step.
    void NoteShown() {
        if (Item("ExactArithmetic1")->isChecked() && Panel(2).find(" · exacta") != std::string::npos)
            ++reached["aritmética exacta"];
        const auto* explanation = form->findChild<QPlainTextEdit*>("Explicacion");
        if (explanation->isVisible() && Panel(0).empty() && !explanation->toPlainText().isEmpty())
            ++reached["explicación"];
    }

    const char* TypeIntegerProblem() {
        const bool thousands = nodeQuestions < nodeBudget && Chance(3);
        const IntegerProblem& problem = thousands ? kThousandNodes : Pick(kIntegerProblems);
        QTest::keyClick(ComboBox1(), problem.sense == 0 ? Qt::Key_Home : Qt::Key_End);
        Type(Edit1(), problem.objective);
        Type(RichEdit1(), problem.lines.join('\n'));
        if (thousands || Chance(2)) {
            QTest::mouseClick(Button1(), Qt::LeftButton);
            NoteSearch();
        }
        return thousands ? "problema entero de miles de nodos" : "problema entero";
    }

    const char* Rule() {
        static const char* const names[] = {"regla aleatoria", "regla mayor coeficiente", "regla de Bland"};
        QAction* rules[] = {Item("RuleRandom1"), Item("RuleLargest1"), Item("RuleBland1")};
        const int k = std::uniform_int_distribution<int>(0, 2)(random);
        rules[k]->trigger();
        if (rules[k]->isChecked() && files::ReadPreferences().pivotRule == k) ++reached[names[k]];
        return "regla de pivote";
    }

    const char* SlackNames() {
        const QString before = GridText();
        Item("SlackNames1")->trigger();
        if (Item("SlackNames1")->isChecked() && GridText() != before) ++reached["nombres de holgura"];
        return "nombres de holgura";
    }

    const char* Zoom() {
        QAction* items[] = {ZoomIn1(), ZoomOut1(), Item("ZoomNormal1")};
        const int before = form->Zoom();
        Pick(items)->trigger();
        if (form->Zoom() != before) ++reached["zoom"];
        return "zoom";
    }

    // The sensitivity window, opened from its menu item; null when it shows nothing.
    QTabWidget* Sensitivity() {
        Item("Sensitivity1")->trigger();
        QWidget* window = AidWindow("Sensibilidad");
        auto* pages = window ? window->findChild<QTabWidget*>("SensitivityPages") : nullptr;
        if (!pages || !pages->isEnabled()) return nullptr;
        ++reached["sensibilidad"];
        return pages;
    }

    const char* OpenDual() {
        QTabWidget* pages = Sensitivity();
        if (!pages) return "sensibilidad";
        pages->setCurrentIndex(1);
        const QString before = Edit1()->text() + '\n' + RichEdit1()->toPlainText();
        // Unsaved work is offered to be saved first; either answer.
        ModalAnswerer answerer({ModalAnswerer::Click(Chance(2) ? QMessageBox::Yes : QMessageBox::No)});
        QTest::mouseClick(pages->findChild<QPushButton*>("OpenDual"), Qt::LeftButton);
        if (Edit1()->text() + '\n' + RichEdit1()->toPlainText() != before) ++reached["abrir el dual"];
        return "Abrir el dual";
    }

    // The nodes of the search the panel tells of: "Nodo k · ..." or "n nodos resueltos".
    int SearchNodes() const {
        static const QRegularExpression count("^(?:Nodo )?(\\d+)");
        const QRegularExpressionMatch m = count.match(QString::fromStdString(Panel(2)));
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    }

    const char* Tree() {
        Item("Tree1")->trigger();
        QWidget* window = AidWindow("Arbol");
        auto* nodes = window ? window->findChild<QTableWidget*>("ArbolNodes") : nullptr;
        if (!nodes || nodes->rowCount() == 0) return "árbol";
        ++reached["árbol"];
        const char* done = "árbol";
        if (!Chance(4)) {
            // A node chosen in the tree shows its last tableau.
            QTableWidgetItem* node = nodes->item(std::uniform_int_distribution<int>(0, nodes->rowCount() - 1)(random), 0);
            nodes->scrollToItem(node);
            const int steps = form->StepCount();
            QTest::mouseClick(nodes->viewport(), Qt::LeftButton, {}, nodes->visualItemRect(node).center());
            if (form->StepCount() > steps) ++reached["nodo del árbol"];
            done = "nodo del árbol";
        }
        // Left open now and then, so that the search's presses refill it.
        if (Chance(2)) window->close();
        return done;
    }

    const char* Page() {
        return Export("SaveStepsAs1", "página de pasos", "<html");
    }

    const char* Export(const char* item, const char* aid, const QByteArray& start) {
        exported.clear();
        Item(item)->trigger();
        if (Exported(start)) ++reached[aid];
        return aid;
    }

    // One action on the learning aids of the menus and their windows.
    static constexpr int kAidActions = 19;
    const char* ActOnAid(int action, bool enlarged) {
        switch (action) {
        case 0: return Rule();
        case 1:
            Item("ExactArithmetic1")->trigger();
            NoteSearch();  // a problem on screen is solved again
            return "aritmética exacta";
        case 2: return SlackNames();
        case 3:
            Item("ViewExplanation1")->trigger();
            return "explicación";
        case 4: return Zoom();
        case 5: return Sensitivity() ? "sensibilidad" : "sensibilidad vacía";
        case 6: case 13: return OpenDual();
        case 7: return Export("ExportLp1", "exportar LP", "End");
        case 8: return Tree();
        case 9: case 12: return Page();
        case 10: return Chance(2) ? Export("SaveImageAs1", "imagen", "BM") : "none";
        case 11:
            Item(Chance(2) ? "ViewObjective1" : "ViewIntegers1")->trigger();
            return "línea del objetivo / enteros";
        case 16:
            Item("Practice1")->trigger();
            return "práctica";
        case 17: {
            const char* items[] = {"Check1", "Hint1", "ShowStep1"};
            Item(items[std::uniform_int_distribution<int>(0, 2)(random)])->trigger();
            return "comprobar / pista / mostrar paso";
        }
        case 18: {
            if (enlarged) return "none";
            // The question before unsaved work is replaced, or a refusal, gets an answer.
            ModalAnswerer answerer({ModalAnswerer::Click(Chance(2) ? QMessageBox::Yes : QMessageBox::No)});
            Item("NewExercise1")->trigger();
            NoteSearch();  // the exercise is solved
            return "nuevo ejercicio";
        }
        default: return enlarged ? "none" : TypeIntegerProblem();
        }
    }

    size_t StateHash() const {
        QString s = QString::number(ComboBox1()->currentIndex()) + '|' + Edit1()->text() + '|' +
                    RichEdit1()->toPlainText() + '|' + QString::fromStdString(StatusBar1()->Text(0)) + '|' +
                    QString::fromStdString(StatusBar1()->Text(1)) + '|' + QString::fromStdString(StatusBar1()->Text(2)) +
                    '|' + Edit2()->text() + '|' +
                    Items(ListBox2()).join(',') + '|' + form->windowTitle() + '|' +
                    (Rational1()->isChecked() ? "r" : "f") + (Restore1()->isEnabled() ? "E" : "N") +
                    (Button3()->isEnabled() ? "3" : "-");
        return qHash(s);
    }

    QTemporaryDir dir;
    QString previous;
    std::unique_ptr<TForm1> form;
    const TForm1* Probed() const override { return form.get(); }
    std::mt19937 random;
    int errors = 0;
    std::string last;
    QStringList names;
    std::map<QString, QVariant> settings;
    // What the walk reached, by the names of kAids.
    std::map<std::string, long long> reached;
    QString exported;  // the answer to the last question of an exported file
    int nodeQuestions = 0, nodeBudget = 2;
    bool clearNext = false;
};

TEST_F(RandomWalk, EveryActionLeavesTheProgramAliveAndTheWorkSaved) {
    const long long actions = qEnvironmentVariableIsSet("OPTIMARA_WALK_ACTIONS")
                                  ? qEnvironmentVariable("OPTIMARA_WALK_ACTIONS").toLongLong()
                                  : 1500;
    random.seed(qEnvironmentVariableIsSet("OPTIMARA_WALK_SEED") ? qEnvironmentVariable("OPTIMARA_WALK_SEED").toUInt()
                                                                 : 20261208u);
    names = {dir.filePath("a.lpf"), dir.filePath("con blancos.lpf"), dir.filePath("no existe/b.lpf"),
             dir.filePath("raro*.lpf"), QString()};
    // To find the steps to a fault: every action and the panels after it.
    const bool trace = qEnvironmentVariableIsSet("OPTIMARA_WALK_TRACE");
    // Each node question costs a thousand nodes: two for a short walk.
    nodeBudget = 2 + static_cast<int>(actions / 10000);
    std::unordered_set<size_t> states;
    QElapsedTimer clock;
    clock.start();
    long long restarts = 0;
    for (long long k = 0; k < actions && !HasFailure(); ++k) {
        last = Act();
        if (trace) std::fprintf(stderr, "%lld %s | %s | %s\n", k, last.c_str(), Panel(1).c_str(), Panel(2).c_str());
        if (last == std::string("close and restart")) ++restarts;
        // Alive and answering: the window is there and its event loop runs.
        ASSERT_TRUE(form && form->isVisible()) << "after " << last;
        QCoreApplication::processEvents();
        NoteShown();
        states.insert(StateHash());
    }
    CloseAndRestart();
    std::printf("random walk: %lld actions, %zu distinct states, %lld restarts, %d error boxes, %.1f s\n",
                actions, states.size(), restarts + 1, errors, static_cast<double>(clock.elapsed()) / 1000.0);
    EXPECT_GT(states.size(), 100u);
    std::string figures;
    for (const char* aid : kAids) figures += std::string(aid) + " " + std::to_string(reached[aid]) + ", ";
    std::printf("reached: %s%d node questions\n", figures.c_str(), nodeQuestions);
    for (const char* aid : kAids) EXPECT_GT(reached[aid], 0) << "the walk never reached: " << aid;
}

} // namespace
} // namespace optimara::uitest
