// SPDX-License-Identifier: GPL-3.0-or-later
// The zoom of the results' texts and of the picture's lines, and the
// arrangement of the work area in a window larger than its design.
#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QWheelEvent>

#include "Application.h"
#include "MainWindow.h"
#include "Zoom.h"

namespace optimara {

namespace {

constexpr char kZoomKey[] = "zoom";

QSettings ZoomSettings() { return QSettings("Optimara", "Optimara"); }

int DigitHeight(const QFont& font) { return QFontMetrics(font).tightBoundingRect("0123456789").height(); }

// A font whose digits are `percent` as high as the base font's: hinting
// rounds heights unevenly, so the size is raised until the digits reach it.
QFont ZoomedFont(const QFont& base, int percent) {
    if (percent == kNormalZoom) return base;
    QFont font = base;
    const int target = Zoomed(DigitHeight(base), percent);
    const bool points = base.pointSizeF() > 0;
    const double start = (points ? base.pointSizeF() : base.pixelSize()) * percent / 100.0;
    for (int k = 0; k < 40; ++k) {
        const double size = start + k * (points ? 0.25 : 1.0);
        if (points) font.setPointSizeF(size);
        else font.setPixelSize(static_cast<int>(size));
        if (DigitHeight(font) >= target) break;
    }
    return font;
}

// The font a control had before any zoom, kept with it.
QFont BaseFont(QWidget* widget) {
    const QVariant kept = widget->property("optimaraBaseFont");
    if (kept.isValid()) return kept.value<QFont>();
    widget->setProperty("optimaraBaseFont", widget->font());
    return widget->font();
}

// The room a larger window gives the tableau: half of the extra width at
// normal size, more as the tableau's text grows.
int GridGrowth(int extraWidth, int percent) {
    const double share = std::min(0.7, 0.5 * percent / kNormalZoom);
    return static_cast<int>(extraWidth * share);
}

// After a change of font the panel counts each paragraph it has not laid
// out again as one line, so its scroll bar falls short of the end, or is
// missing when a few long paragraphs seem to fit. Its texts are short:
// every paragraph is laid out at once, and the bar follows the true height.
void LayOutWholly(QPlainTextEdit* panel) {
    QTextDocument* document = panel->document();
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout());
    if (!layout) return;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) layout->ensureBlockLayout(block);
    emit layout->documentSizeChanged(layout->documentSize());
}

} // namespace

void TForm1::CreateZoomMenu() {
    ViewMenu = new QMenu("&Ver", menuBar());
    ViewMenu->setObjectName("ViewMenu");
    menuBar()->insertMenu(HelpMenu->menuAction(), ViewMenu);
    ZoomIn1 = ViewMenu->addAction("A&mpliar");
    ZoomIn1->setObjectName("ZoomIn1");
    ZoomIn1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    ZoomOut1 = ViewMenu->addAction("Red&ucir");
    ZoomOut1->setObjectName("ZoomOut1");
    ZoomOut1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    ZoomNormal1 = ViewMenu->addAction(QString::fromUtf8("Tamaño &normal"));
    ZoomNormal1->setObjectName("ZoomNormal1");
    ZoomNormal1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    StringGrid1->viewport()->installEventFilter(this);
    state_.zoom = ZoomStep(ZoomSettings().value(kZoomKey, kNormalZoom).toInt());
    ApplyZoom();
}

void TForm1::ZoomIn1Click() { SetZoom(ZoomIn(Zoom())); }

void TForm1::ZoomOut1Click() { SetZoom(ZoomOut(Zoom())); }

void TForm1::ZoomNormal1Click() { SetZoom(kNormalZoom); }

void TForm1::SetZoom(int percent) {
    percent = ZoomStep(percent);
    if (percent == Zoom()) return;
    state_.zoom = percent;
    ZoomSettings().setValue(kZoomKey, percent);
    ApplyZoom();
}

bool TForm1::WheelZoom(QEvent* event) {
    if (event->type() != QEvent::Wheel) return false;
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier)) return false;
    // A touchpad turns in small parts of a notch: a step per whole notch.
    wheelZoom_ += wheel->angleDelta().y();
    for (; wheelZoom_ >= 120; wheelZoom_ -= 120) ZoomIn1->trigger();
    for (; wheelZoom_ <= -120; wheelZoom_ += 120) ZoomOut1->trigger();
    return true;
}

void TForm1::ApplyZoom() {
    const int zoom = Zoom();
    auto* panel = findChild<QPlainTextEdit*>("Explicacion");
    QWidget* texts[] = {StringGrid1, ListBox2, ListBox3, Edit2, panel};
    for (QWidget* w : texts)
        if (w) w->setFont(ZoomedFont(BaseFont(w), zoom));
    if (panel) LayOutWholly(panel);
    for (int panel = 0; panel < 3; ++panel) {
        QLabel* label = StatusBar1->PanelLabel(panel);
        label->setFont(ZoomedFont(BaseFont(label), zoom));
    }
    StatusBar1->SetPanelWidths(Zoomed(StatusPanels::kErrorPanelWidth, zoom),
                               Zoomed(StatusPanels::kStatusPanelWidth, zoom));
    StatusBar1->setFixedHeight(std::max(Zoomed(22, zoom), StatusBar1->PanelLabel(0)->sizeHint().height()));
    StringGrid1->verticalHeader()->setDefaultSectionSize(Zoomed(16, zoom));
    StringGrid1->horizontalHeader()->setDefaultSectionSize(Zoomed(kGridColumnWidth, zoom));
    // The marker keeps its centre.
    const Marker marker = CurrentMarker();
    Shape1->setFixedSize(ZoomedDotSize(zoom), ZoomedDotSize(zoom));
    ApplyMarker(marker);
    ZoomIn1->setEnabled(zoom < kZoomSteps.back());
    ZoomOut1->setEnabled(zoom > kZoomSteps.front());
    Client->Arrange();
    ArrangeWorkArea();
    FitGridColumns();
    for (PictureBox* picture : {Image1, Image3})
        if (picture->HasPicture() && picture->isVisible()) DrawPlot(picture);
}

void TForm1::ArrangeWorkArea() {
    if (!Image3->isHidden()) return;
    const int zoom = Zoom();
    const QSize client = ClientSize().expandedTo(QSize(kDesignClientWidth, kDesignClientHeight));
    const int grow = GridGrowth(client.width() - kDesignClientWidth, zoom);
    const int bottom = client.height() - StatusBar1->height();
    // The tableau and the split variables reach down to the status bar; the
    // tableau widens by its share of the room, the view buttons and the
    // results move over with it.
    StringGrid1->setGeometry(88, 192, 209 + grow, std::max(185, bottom - 192));
    ListBox3->setGeometry(8, 224, 73, std::max(153, bottom - 224));
    const struct { QPushButton* button; int left, top; } buttons[] = {
        {Button9, 312, 216}, {Button7, 312, 247}, {Button8, 336, 247}, {Button5, 312, 271},
        {Button6, 336, 271}, {Button3, 312, 295}, {Button4, 336, 295}};
    for (const auto& b : buttons) b.button->move(b.left + grow, b.top);
    const int right = client.width() - 10;
    auto width = [&](int left, int design) { return std::max(design, std::min(Zoomed(design, zoom), right - left)); };
    Label2->move(381 + grow, 11);
    ListBox2->setGeometry(377 + grow, 32, width(377 + grow, 216), Zoomed(81, zoom));
    Label3->move(377 + grow, ListBox2->geometry().bottom() + 8);
    Edit2->setGeometry(376 + grow, Label3->y() + 15, width(376 + grow, 217), Zoomed(20, zoom));
    const QRect before = Image1->geometry();
    PlaceImage1(client);
    if (Image1->geometry() != before && Image1->HasPicture()) DrawPlot(Image1);
}

} // namespace optimara
