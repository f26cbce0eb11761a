// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two auxiliary windows, created hidden at start and shown on demand
// without blocking the main window.
#include <QByteArray>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QPainter;
class QPlainTextEdit;
class QPushButton;
class QLabel;

namespace optimara {

// The program's icon: a feasible region with the objective's arrow and the
// optimal vertex, drawn at any size on any paint device (the window icons,
// the About window and the icon files of an installed copy share it).
void PaintProgramIcon(QPainter& painter, int size);
QPixmap ProgramPixmap(int size);
QIcon ProgramIcon();

// "Acerca de...": icon, product name, version and licence.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    void OKButtonClick();

    QLabel* ProgramIconLabel = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Licence = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The program's version, as the About window and --version show it.
QString ProgramVersion();
// The data folder of an installed copy, found from the executable's folder.
QString InstalledDataFolder();

// "Readme.txt": the read-me text loaded once at start.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    // Its size at normal zoom.
    static constexpr QSize kDesignSize{620, 460};

    explicit TForm4(QWidget* parent = nullptr);
    // Loads the named file from the working directory into Memo1, or when it
    // cannot be opened there, the file of that name in the data folder; when
    // neither opens it throws "Cannot open file <name>". A working directory
    // that is not the user's own is passed over: its file may be anybody's.
    void FormCreate(const QString& fileName = QString::fromUtf8("Léame.txt"),
                    const QString& dataFolder = QString(), bool fromWorkingDirectory = true);
    void Button1Click();
    // Its text and size at the zoom, its frame reckoned like the main
    // window's until it is first shown; a hidden window stays centred.
    void SetZoom(int percent, const QWidget* mainWindow);

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button1 = nullptr;
};

} // namespace optimara
