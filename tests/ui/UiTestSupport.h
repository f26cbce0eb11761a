// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared helpers of the window tests: a main window shown offscreen, typing
// through real key events, and an answerer for the modal dialogs a command
// opens (the test decides every answer; nothing is left to hang).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>
#include <QTest>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "EditorDocument.h"
#include "MainWindow.h"
#include "StepsFeature.h"

namespace optimara::uitest {

struct SeenDialog {
    QString className;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Watches for modal dialogs while a command runs. Each dialog that appears
// is recorded and answered with the next action; when the actions run out
// the dialog is rejected, so a test can never hang on an unexpected box.
class ModalAnswerer {
public:
    using Action = std::function<void(QWidget*)>;

    explicit ModalAnswerer(std::vector<Action> actions = {}) : actions_(std::move(actions)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(5);
    }
    ~ModalAnswerer() { timer_.stop(); }

    const std::vector<SeenDialog>& Seen() const { return seen_; }

    static Action Click(QMessageBox::StandardButton which) {
        return [which](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr) << "expected a message box";
            ASSERT_NE(box->button(which), nullptr) << "the box has no such button";
            box->button(which)->click();
        };
    }
    static Action ChooseFile(const QString& path) {
        return [path](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr) << "expected a file dialog";
            // Typed into the name field, as a user does.
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText(path);
            static_cast<QDialog*>(dialog)->accept();
        };
    }
    static Action Cancel() {
        return [](QWidget* w) { static_cast<QDialog*>(w)->reject(); };
    }

private:
    void Poll() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible()) return;
        SeenDialog seen;
        seen.className = w->metaObject()->className();
        seen.title = w->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            seen.text = box->text();
            seen.icon = box->icon();
            seen.buttons = box->standardButtons();
        }
        seen_.push_back(seen);
        if (next_ < actions_.size()) {
            actions_[next_++](w);
        } else if (auto* dialog = qobject_cast<QDialog*>(w)) {
            dialog->reject();
        } else {
            w->close();
        }
    }

    QTimer timer_;
    std::vector<Action> actions_;
    size_t next_ = 0;
    std::vector<SeenDialog> seen_;
};

// The page of steps the window writes for what it shows now, as text.
inline QString PageOfSteps(TForm1& form) {
    QTemporaryDir dir;
    const QString name = dir.filePath("pasos.html");
    form.findChild<optimara::StepsFeature*>()->SaveStepsTo(name);
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

inline QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
}

// The window's controls and menu items, found by the names the window
// gives them (the names of the design), as the user finds them: by role.
class WindowProbe {
public:
    explicit WindowProbe(const TForm1* window = nullptr) : window_(window) {}
    virtual ~WindowProbe() = default;

    QComboBox* ComboBox1() const { return Find<QComboBox>("ComboBox1"); }
    QLineEdit* Edit1() const { return Find<QLineEdit>("Edit1"); }
    QLabel* Label1() const { return Find<QLabel>("Label1"); }
    ConstraintEditor* RichEdit1() const { return Find<ConstraintEditor>("RichEdit1"); }
    QPushButton* Button1() const { return Find<QPushButton>("Button1"); }
    QPushButton* Button2() const { return Find<QPushButton>("Button2"); }
    QPushButton* Button3() const { return Find<QPushButton>("Button3"); }
    QPushButton* Button4() const { return Find<QPushButton>("Button4"); }
    QPushButton* Button5() const { return Find<QPushButton>("Button5"); }
    QPushButton* Button6() const { return Find<QPushButton>("Button6"); }
    QPushButton* Button7() const { return Find<QPushButton>("Button7"); }
    QPushButton* Button8() const { return Find<QPushButton>("Button8"); }
    QPushButton* Button9() const { return Find<QPushButton>("Button9"); }
    QLabel* Label4() const { return Find<QLabel>("Label4"); }
    QTableView* StringGrid1() const { return Find<QTableView>("StringGrid1"); }
    TableauModel* GridModel() const { return Find<TableauModel>("GridModel"); }
    QListWidget* ListBox3() const { return Find<QListWidget>("ListBox3"); }
    QLabel* Label2() const { return Find<QLabel>("Label2"); }
    QListWidget* ListBox2() const { return Find<QListWidget>("ListBox2"); }
    QLabel* Label3() const { return Find<QLabel>("Label3"); }
    QLineEdit* Edit2() const { return Find<QLineEdit>("Edit2"); }
    QListWidget* ListBox1() const { return Find<QListWidget>("ListBox1"); }
    PictureBox* Image1() const { return Find<PictureBox>("Image1"); }
    MarkerShape* Shape1() const { return Find<MarkerShape>("Shape1"); }
    PictureBox* Image3() const { return Find<PictureBox>("Image3"); }
    StatusPanels* StatusBar1() const { return Find<StatusPanels>("StatusBar1"); }
    ClientArea* Client() const { return Find<ClientArea>("Client"); }
    QScrollArea* WorkScroll() const { return Find<QScrollArea>("WorkScroll"); }
    // Menu items.
    QAction* Open1() const { return Find<QAction>("Open1"); }
    QAction* Save1() const { return Find<QAction>("Save1"); }
    QAction* Saveas1() const { return Find<QAction>("Saveas1"); }
    QAction* Clear1() const { return Find<QAction>("Clear1"); }
    QAction* Exit1() const { return Find<QAction>("Exit1"); }
    QAction* FloatingPoint1() const { return Find<QAction>("FloatingPoint1"); }
    QAction* Rational1() const { return Find<QAction>("Rational1"); }
    QAction* ViewAxis1() const { return Find<QAction>("ViewAxis1"); }
    QAction* SaveImageAs1() const { return Find<QAction>("SaveImageAs1"); }
    QAction* Enlarge1() const { return Find<QAction>("Enlarge1"); }
    QAction* Restore1() const { return Find<QAction>("Restore1"); }
    QAction* Readme1() const { return Find<QAction>("Readme1"); }
    QAction* About1() const { return Find<QAction>("About1"); }
    QAction* StepBack1() const { return Find<QAction>("StepBack1"); }
    QAction* StepForward1() const { return Find<QAction>("StepForward1"); }
    QAction* ChoosePivot1() const { return Find<QAction>("ChoosePivot1"); }
    QAction* ViewPath1() const { return Find<QAction>("ViewPath1"); }
    QAction* ZoomIn1() const { return Find<QAction>("ZoomIn1"); }
    QAction* ZoomOut1() const { return Find<QAction>("ZoomOut1"); }

protected:
    virtual const TForm1* Probed() const { return window_; }

private:
    template <typename T>
    T* Find(const char* name) const {
        T* found = Probed()->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << "the window has no " << name;
        return found;
    }
    const TForm1* window_;
};

// The window's questions: answered by the test where it gives an answer,
// in the real dialogs (answered by a ModalAnswerer) otherwise.
class ScriptedQuestions : public DialogQuestions {
public:
    std::function<bool()> restart;
    std::function<QString()> openFile;
    // Gets the preset name; an empty answer is a cancel.
    std::function<QString(const QString& preset)> saveFile;

    std::function<bool()> moreNodes;
    std::function<bool()> moreCuts;
    // The line typed for "Añadir restricción..."; empty is a cancel.
    std::function<QString()> constraint;
    // The LaTeX file the steps go to; empty is a cancel.
    std::function<QString()> latexFile;
    QString ChooseLatexFile(QWidget* window) override {
        return latexFile ? latexFile() : DialogQuestions::ChooseLatexFile(window);
    }
    // The PDF file the steps go to; empty is a cancel.
    std::function<QString()> pdfFile;
    QString ChoosePdfFile(QWidget* window) override {
        return pdfFile ? pdfFile() : DialogQuestions::ChoosePdfFile(window);
    }
    // The printing of the steps, given what paints them; false is a cancel.
    std::function<bool(const std::function<void(QPrinter&)>&)> printSteps;
    bool PrintSteps(QWidget* window, const std::function<void(QPrinter&)>& paint) override {
        return printSteps ? printSteps(paint) : DialogQuestions::PrintSteps(window, paint);
    }
    // The exercise asked for; false is a cancel.
    std::function<bool(ExerciseRequest&)> exercise;
    bool AskExercise(QWidget* window, ExerciseRequest& request) override {
        return exercise ? exercise(request) : DialogQuestions::AskExercise(window, request);
    }
    bool AskMoreCuts(QWidget* window) override { return moreCuts ? moreCuts() : DialogQuestions::AskMoreCuts(window); }
    QString AskConstraint(QWidget* window) override {
        return constraint ? constraint() : DialogQuestions::AskConstraint(window);
    }
    bool AskRestart(QWidget* window) override { return restart ? restart() : DialogQuestions::AskRestart(window); }
    bool AskMoreNodes(QWidget* window) override {
        return moreNodes ? moreNodes() : DialogQuestions::AskMoreNodes(window);
    }
    QString ChooseOpenFile(QWidget* window) override {
        return openFile ? openFile() : DialogQuestions::ChooseOpenFile(window);
    }
    QString ChooseSaveFile(QWidget* window, const QString& preset) override {
        return saveFile ? saveFile(preset) : DialogQuestions::ChooseSaveFile(window, preset);
    }
};

// A main window as the user meets it: created, shown (which runs the first
// solution attempt) and active.
class WindowTest : public ::testing::Test, public WindowProbe {
protected:
    void SetUp() override {
        form = NewWindow();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override { form.reset(); }

    // A window whose questions the test can answer through `questions`.
    std::unique_ptr<TForm1> NewWindow() {
        auto scripted = std::make_unique<ScriptedQuestions>();
        questions = scripted.get();
        return std::make_unique<TForm1>(std::move(scripted));
    }
    const TForm1* Probed() const override { return form.get(); }

    void SetSense(int index) {
        // Chosen with the keyboard, as a user does, so the change is reported.
        QTest::keyClick(ComboBox1(), index == 0 ? Qt::Key_Home : Qt::Key_End);
        ASSERT_EQ(ComboBox1()->currentIndex(), index);
    }
    void TypeObjective(const QString& text) {
        Edit1()->setFocus();
        Edit1()->selectAll();
        QTest::keyClick(Edit1(), Qt::Key_Delete);
        QTest::keyClicks(Edit1(), text);
    }
    void TypeConstraints(const QStringList& lines) {
        RichEdit1()->setFocus();
        RichEdit1()->selectAll();
        QTest::keyClick(RichEdit1(), Qt::Key_Delete);
        for (int k = 0; k < lines.size(); ++k) {
            if (k > 0) QTest::keyClick(RichEdit1(), Qt::Key_Return);
            QTest::keyClicks(RichEdit1(), lines[k]);
        }
    }
    void TypeProblem(int sense, const QString& objective, const QStringList& lines) {
        SetSense(sense);
        TypeObjective(objective);
        TypeConstraints(lines);
    }
    // Large problems are pasted rather than typed key by key.
    void PasteProblem(int sense, const QString& objective, const QStringList& lines) {
        SetSense(sense);
        Edit1()->setText(objective);
        RichEdit1()->setPlainText(lines.join('\n'));
    }
    void Press(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    std::string Panel(int k) const { return StatusBar1()->Text(k); }
    QString Cell(int col, int row) const { return QString::fromStdString(GridModel()->Cell(col, row)); }
    QStringList GridRow(int row) const {
        QStringList cells;
        for (int c = 0; c < GridModel()->columnCount(); ++c) cells << Cell(c, row);
        return cells;
    }
    std::unique_ptr<TForm1> form;
    ScriptedQuestions* questions = nullptr;  // owned by form
};

// The underline a character of the editor is shown with, by the editor's
// own rule, read from the format the text cursor finds at it.
inline bool ShownUnderlined(const QTextEdit* editor, int position) {
    QTextCursor cursor(editor->document());
    cursor.setPosition(position + 1);
    return optimara::ShownUnderlined(cursor.charFormat(), editor->document()->defaultFont().underline());
}

// Each editor character as "_" when shown underlined and "." when not, a
// line break as "|".
inline QString Underlines(const QTextEdit* editor) {
    const QString text = editor->toPlainText();
    QString marks;
    for (int i = 0; i < text.size(); ++i) marks += text[i] == '\n' ? '|' : ShownUnderlined(editor, i) ? '_' : '.';
    return marks;
}

} // namespace optimara::uitest
