#pragma once
// The two auxiliary windows, created hidden at start and shown on demand
// without blocking the main window.
#include <QByteArray>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QLabel;

namespace optimara {

// The program's icon: a feasible region with the objective's arrow and the
// optimal vertex, drawn at any size.
QPixmap ProgramPixmap(int size);
QIcon ProgramIcon();

// "Acerca de...": icon, product name and version.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    void OKButtonClick();

    QLabel* ProgramIconLabel = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// "Readme.txt": the read-me text loaded once at start.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
    // Loads the named file from the working directory into Memo1; a file
    // that cannot be opened throws "Cannot open file <name>".
    void FormCreate(const QString& fileName = QString::fromUtf8("Léame.txt"));
    void Button1Click();

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button1 = nullptr;
};

} // namespace optimara
