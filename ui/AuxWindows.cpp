// SPDX-License-Identifier: GPL-3.0-or-later
#include "AuxWindows.h"

#include "FileIO.h"
#include "TextCodec.h"
#include "WindowPlacement.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <optional>

namespace optimara {

void PaintProgramIcon(QPainter& p, int size) {
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // A rounded tile, the axes, a shaded feasible polygon, the objective's
    // direction and the optimal vertex.
    p.setPen(QPen(QColor(30, 50, 90), 2));
    p.setBrush(QColor(235, 240, 250));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.drawLine(QPointF(12, 52), QPointF(56, 52));
    p.drawLine(QPointF(12, 52), QPointF(12, 8));
    QPainterPath region;
    region.moveTo(12, 52);
    region.lineTo(12, 22);
    region.lineTo(30, 16);
    region.lineTo(46, 30);
    region.lineTo(50, 52);
    region.closeSubpath();
    p.setPen(QPen(QColor(20, 90, 40), 2));
    p.setBrush(QColor(70, 170, 90));
    p.drawPath(region);
    p.setPen(QPen(QColor(200, 40, 30), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 45), QPointF(34, 35));
    p.setBrush(QColor(200, 40, 30));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(40, 31), QPointF(30, 32), QPointF(35, 39)}));
    p.setBrush(QColor(250, 200, 40));
    p.setPen(QPen(QColor(90, 60, 0), 1.5));
    p.drawEllipse(QPointF(46, 30), 4.5, 4.5);
}

QPixmap ProgramPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    PaintProgramIcon(p, size);
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(ProgramPixmap(size));
    return icon;
}

namespace {

void CentreOnScreen(QWidget* window) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

// A window with a fixed dialog border that is never modal.
void MakeDialogWindow(QWidget* window, const QString& caption) {
    window->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    window->setWindowModality(Qt::NonModal);
    window->setWindowTitle(caption);
    window->setWindowIcon(ProgramIcon());
    window->setAttribute(Qt::WA_QuitOnClose, false);
}

} // namespace

TForm2::TForm2(QWidget* parent) : QWidget(parent) {
    setObjectName("AboutBox");
    MakeDialogWindow(this, "Acerca de...");
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ProgramIconLabel = new QLabel(panel);
    ProgramIconLabel->setPixmap(ProgramPixmap(64));
    ProgramIconLabel->setFixedSize(64, 64);
    ProductName = new QLabel("Optimara", panel);
    QFont big = ProductName->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 4);
    ProductName->setFont(big);
    Version = new QLabel("Version " + ProgramVersion(), panel);
    Licence = new QLabel(QString::fromUtf8("Software libre: GNU GPL versión 3 o posterior"), panel);
    Licence->setWordWrap(true);
    auto* texts = new QVBoxLayout;
    texts->addWidget(ProductName);
    texts->addWidget(Version);
    texts->addWidget(Licence);
    texts->addStretch();
    auto* inside = new QHBoxLayout(panel);
    inside->addWidget(ProgramIconLabel, 0, Qt::AlignTop);
    inside->addSpacing(12);
    inside->addLayout(texts, 1);
    OKButton = new QPushButton("&OK", this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TForm2::OKButtonClick);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(panel);
    outer->addWidget(OKButton, 0, Qt::AlignHCenter);
    setFixedSize(298, 180);
    CentreOnScreen(this);
}

void TForm2::OKButtonClick() { hide(); }

void TForm2::keyPressEvent(QKeyEvent* event) {
    // "&OK" is the default button of the window.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OKButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

TForm4::TForm4(QWidget* parent) : QWidget(parent) {
    setObjectName("ReadmeBox");
    MakeDialogWindow(this, "Readme.txt");
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFont(QFont("Courier New", 9));
    Button1 = new QPushButton("&OK", this);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1, 1);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    setFixedSize(kDesignSize);
    CentreOnScreen(this);
}

QString ProgramVersion() { return QStringLiteral(OPTIMARA_VERSION); }

QString InstalledDataFolder() {
    // Installed copies keep their data beside their bin folder, wherever the
    // prefix is; a copy started from a menu has the user's home as working
    // directory.
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + "/" + QStringLiteral(OPTIMARA_DATA_FROM_BIN));
}

void TForm4::FormCreate(const QString& fileName, const QString& dataFolder, bool fromWorkingDirectory) {
    // Read and decoded as every other file of the program: regular files
    // only, UTF-8 when valid and Windows-1252 otherwise. The working
    // directory comes first; the error names the file as asked for.
    std::optional<QByteArray> bytes;
    QStringList places;
    if (fromWorkingDirectory) places << fileName;
    if (!dataFolder.isEmpty()) places << QDir(dataFolder).filePath(QFileInfo(fileName).fileName());
    std::optional<files::FileError> failure;
    for (const QString& place : places) {
        try {
            bytes = files::ReadWholeFile(place);
            break;
        } catch (const files::FileError& error) {
            failure = error;
        }
    }
    // Only the file as asked for tried: its own failure; otherwise the file
    // as asked for is missing.
    if (!bytes && failure && places == QStringList{fileName}) throw *failure;
    if (!bytes) throw files::FileError(files::CannotOpenText(fileName));
    QString text = files::DecodeUtf8OrWindows1252(*bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    text.replace("\r\n", "\n");
    Memo1->setPlainText(text);
}

void TForm4::Button1Click() { hide(); }

void TForm4::SetZoom(int percent, const QWidget* mainWindow) {
    ZoomWindow(this, kDesignSize, percent, true, mainWindow);
    if (!isVisible()) CentreOnScreen(this);
}

} // namespace optimara
