#pragma once
// Shared helpers of the window tests: a main window shown offscreen, typing
// through real key events, and an answerer for the modal dialogs a command
// opens (the test decides every answer; nothing is left to hang).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MainWindow.h"

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

inline QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
}

// A main window as the user meets it: created, shown (which runs the first
// solution attempt) and active.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm1>();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override { form.reset(); }

    void SetSense(int index) {
        // Chosen with the keyboard, as a user does, so the change is reported.
        QTest::keyClick(form->ComboBox1, index == 0 ? Qt::Key_Home : Qt::Key_End);
        ASSERT_EQ(form->ComboBox1->currentIndex(), index);
    }
    void TypeObjective(const QString& text) {
        form->Edit1->setFocus();
        form->Edit1->selectAll();
        QTest::keyClick(form->Edit1, Qt::Key_Delete);
        QTest::keyClicks(form->Edit1, text);
    }
    void TypeConstraints(const QStringList& lines) {
        form->RichEdit1->setFocus();
        form->RichEdit1->selectAll();
        QTest::keyClick(form->RichEdit1, Qt::Key_Delete);
        for (int k = 0; k < lines.size(); ++k) {
            if (k > 0) QTest::keyClick(form->RichEdit1, Qt::Key_Return);
            QTest::keyClicks(form->RichEdit1, lines[k]);
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
        form->Edit1->setText(objective);
        form->RichEdit1->setPlainText(lines.join('\n'));
    }
    void Press(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    std::string Panel(int k) const { return form->StatusBar1->Text(k); }
    QString Cell(int col, int row) const { return QString::fromStdString(form->GridModel->Cell(col, row)); }
    QStringList GridRow(int row) const {
        QStringList cells;
        for (int c = 0; c < form->GridModel->columnCount(); ++c) cells << Cell(c, row);
        return cells;
    }
    std::unique_ptr<TForm1> form;
};

// The underline a character of the editor is shown with: its own format's,
// or the editor's default font when the format does not say.
inline bool ShownUnderlined(const QTextEdit* editor, int position) {
    QTextCursor cursor(editor->document());
    cursor.setPosition(position + 1);
    const QTextCharFormat format = cursor.charFormat();
    if (format.hasProperty(QTextFormat::FontUnderline) || format.hasProperty(QTextFormat::TextUnderlineStyle))
        return format.fontUnderline();
    return editor->document()->defaultFont().underline();
}

} // namespace optimara::uitest
