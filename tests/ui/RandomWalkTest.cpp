// SPDX-License-Identifier: GPL-3.0-or-later
// A long random walk over the real window: typing valid, broken and huge
// problems, solving, switching notation, clearing, turning the view,
// enlarging, opening and saving, closing and starting again in the same
// folder. After every action the program is alive and any error box shows a
// text of the program's own; after every close the autosave holds exactly
// what the editor showed.
//
// The walk in the test run is short; `make walk` runs a long one, that is
//   OPTIMARA_WALK_ACTIONS=100000 build/tests/ui/test_ui --gtest_filter=RandomWalk.*
// (OPTIMARA_WALK_SEED chooses another walk), and prints its figures.
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <random>
#include <unordered_set>

#include "Application.h"
#include "EditorDocument.h"
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
    "0.5x+0.25y<1.75", "-x-y<-1", "y<2", "x+2y-z<7", "a+b+c+d<1",
};

// The texts an error box may show: the program's own, never a library's.
bool ProgramText(const QString& text) {
    static const QRegularExpression known(
        "^(Floating point overflow|Floating point division by zero|Invalid floating point operation|"
        "Failed to Load Stream|Failed to Save Stream|Cannot open file .+|Cannot create file .+)$",
        QRegularExpression::DotMatchesEverythingOption);
    return known.match(text).hasMatch();
}

struct EditorShot {
    int combo;
    QString objective, caption;
    files::RichDocument lines;
    bool operator==(const EditorShot&) const = default;
};

class RandomWalk : public ::testing::Test, public WindowProbe {
protected:
    void SetUp() override {
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
    }

    void Start() {
        auto questions = std::make_unique<ScriptedQuestions>();
        questions->restart = [this] { return form->QuestionCount() < 3 && Chance(2); };
        questions->openFile = [this]() -> QString { return Pick(names); };
        questions->saveFile = [this](const QString&) -> QString { return Pick(names); };
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
        const bool enlarged = Restore1()->isEnabled();
        const int action = std::uniform_int_distribution<int>(0, 21)(random);
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
            return "Una Solución";
        case 7:
            QTest::mouseClick(Button2(), Qt::LeftButton);
            return "Paso a paso";
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
};

TEST_F(RandomWalk, EveryActionLeavesTheProgramAliveAndTheWorkSaved) {
    const long long actions = qEnvironmentVariableIsSet("OPTIMARA_WALK_ACTIONS")
                                  ? qEnvironmentVariable("OPTIMARA_WALK_ACTIONS").toLongLong()
                                  : 1500;
    random.seed(qEnvironmentVariableIsSet("OPTIMARA_WALK_SEED") ? qEnvironmentVariable("OPTIMARA_WALK_SEED").toUInt()
                                                                 : 20261208u);
    names = {dir.filePath("a.lpf"), dir.filePath("con blancos.lpf"), dir.filePath("no existe/b.lpf"),
             dir.filePath("raro*.lpf"), QString()};
    std::unordered_set<size_t> states;
    QElapsedTimer clock;
    clock.start();
    long long restarts = 0;
    for (long long k = 0; k < actions && !HasFailure(); ++k) {
        last = Act();
        if (last == std::string("close and restart")) ++restarts;
        // Alive and answering: the window is there and its event loop runs.
        ASSERT_TRUE(form && form->isVisible()) << "after " << last;
        QCoreApplication::processEvents();
        states.insert(StateHash());
    }
    CloseAndRestart();
    std::printf("random walk: %lld actions, %zu distinct states, %lld restarts, %d error boxes, %.1f s\n",
                actions, states.size(), restarts + 1, errors, static_cast<double>(clock.elapsed()) / 1000.0);
    EXPECT_GT(states.size(), 100u);
}

} // namespace
} // namespace optimara::uitest
