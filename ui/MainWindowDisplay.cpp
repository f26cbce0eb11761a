// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window shows of the problem: the tableau, the solution, the
// value, the marker and the picture, and where they stand in a window
// larger than its design.
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTableView>
#include <algorithm>

#include "Display.h"
#include "FormView.h"
#include "FileIO.h"
#include "MainWindow.h"
#include "WindowFrame.h"
#include "Zoom.h"

namespace optimara {

namespace {

QStringList ToStringList(const std::vector<std::string>& lines) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) list.push_back(QString::fromStdString(line));
    return list;
}

// The room a larger window gives the tableau: half of the extra width at
// normal size, more as the tableau's text grows.
int GridGrowth(int extraWidth, int percent) {
    const double share = std::min(0.7, 0.5 * percent / kNormalZoom);
    return static_cast<int>(extraWidth * share);
}

} // namespace

void TForm1::ShowTableau() {
    ProblemState& problem = state_.problem;
    TableauView view = ComputeTableauView(problem, ComboBox1->currentIndex() != 0, state_.error.empty(), Floating(),
                                          separator_, state_.plot.SolutionPoint, state_.slackNames);
    PutFormInView(view, problem, state_.form, NumberText{Floating(), separator_});
    GridModel->SetCells(view.rowCount, view.colCount, std::move(view.cells));
    FitGridColumns();
    frame_->ShowStepAids();
    Tell(features_, [](Feature& f) { f.TableauShown(); });
    ListBox2->clear();
    ListBox3->clear();
    if (!view.filled) return;
    const BranchSearch& search = state_.Branches;
    if (search.Started() && !search.Active() && search.Result().stage == SolveStage::Infeasible) {
        // No integer point: no solution to show, least of all a node's fractional one.
        Edit2->clear();
        Shape1->hide();
        return;
    }
    ListBox2->addItems(ToStringList(view.solution));
    ListBox3->addItems(ToStringList(view.freeVariables));
    Edit2->setText(QString::fromStdString(view.value));

    // The marker goes over the picture showing, whose plot window the last
    // drawing fitted.
    const PictureBox* picture = ShowingPicture();
    Marker marker = Shape1->Current();
    PlaceSolutionMarker(state_.plot, view.count,
                        PictureFrame{picture->x(), picture->y(), picture->width(), picture->height()}, marker);
    Shape1->Apply(marker);
}

PlotColors TForm1::Colors() const {
    const QPalette palette = QApplication::palette();
    return PlotColors{palette.color(QPalette::Button), palette.color(QPalette::Dark),
                      palette.color(QPalette::WindowText), palette.color(QPalette::Highlight)};
}

void TForm1::SetViewButtonsEnabled(bool enabled) {
    for (QPushButton* b : {Button3, Button4, Button5, Button6, Button7, Button8, Button9}) {
        // A disabled button hands its focus on to the next control, the
        // objective, with all its text selected: one key would replace it.
        if (!enabled && b->hasFocus()) b->clearFocus();
        b->setEnabled(enabled);
    }
}

PlotKind TForm1::DrawPlot(PictureBox* image) {
    // The buttons get their state once the drawing is done: a button that
    // stays enabled keeps the focus the user's click gave it.
    const bool fresh = !image->HasPicture();
    Marker marker = Shape1->Current();
    PlotInput input{state_.problem.ConstraintPlanes, state_.problem.ObjectiveVector, ViewAxis1->isChecked(),
                    Colors(), ZoomedLineWidth(Zoom())};
    PlotKind kind = PlotKind::None;
    try {
        kind = optimara::DrawPlot(state_.plot, input, PlotTarget{&image->Canvas(), image->x(), image->y()}, marker);
    } catch (...) {
        SetViewButtonsEnabled(false);
        image->update();
        throw;
    }
    if (kind == PlotKind::None) {
        // No picture of this problem: the previous problem's region and
        // marker go; a picture that was never drawn on still holds no image.
        if (fresh) image->DropPicture();
        else image->Canvas().fill(Colors().btnFace);
        marker.visible = false;
    }
    image->update();
    Shape1->Apply(marker);
    frame_->DrawLayersOn(image);
    SetViewButtonsEnabled(kind == PlotKind::Space);
    return kind;
}

void TForm1::FitGridColumns() {
    // Each column is as wide as its widest text plus the cell's text margins
    // and grid line, never narrower than the design's 40 pixels (zoomed).
    QHeaderView* header = StringGrid1->horizontalHeader();
    const int textMargin = StringGrid1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, StringGrid1) + 1;
    const int extra = 2 * textMargin + (StringGrid1->showGrid() ? 1 : 0);
    if (!gridWidths_ || gridWidths_->Font() != StringGrid1->font())
        gridWidths_ = std::make_unique<TextWidths>(StringGrid1->font());
    const std::vector<int> widths = GridModel->ColumnWidths(*gridWidths_, extra, Zoomed(kGridColumnWidth, Zoom()));
    for (int c = 0; c < static_cast<int>(widths.size()); ++c)
        if (header->sectionSize(c) != widths[static_cast<size_t>(c)]) header->resizeSection(c, widths[static_cast<size_t>(c)]);
}

void TForm1::ClearPicture() {
    QImage& canvas = Image1->Canvas();
    QPainter painter(&canvas);
    const QColor face = Colors().btnFace;
    painter.setPen(face);
    painter.setBrush(face);
    painter.drawRect(0, 0, canvas.width(), canvas.height());
    painter.end();
    Image1->update();
    Shape1->hide();
    state_.Forget();
    StatusBar1->SetText(2, "");
    Image1->SetLayer(QImage());
    Image3->SetLayer(QImage());
    Tell(features_, [](Feature& f) { f.StepsForgotten(); });
    Tell(features_, [](Feature& f) { f.StepsShown(); });
}

PictureBox* TForm1::ShowingPicture() const { return Image3->isHidden() ? Image1 : Image3; }

void TForm1::SaveImageAs1Click() {
    const QString name = questions_->ChooseImageFile(this);
    if (name.isEmpty()) return;
    PictureBox* picture = ShowingPicture();
    if (!picture->HasPicture()) return;
    // Through the same safe writer as the problem files: a failed export
    // leaves an old bitmap of that name whole.
    QByteArray bitmap;
    QBuffer buffer(&bitmap);
    buffer.open(QIODevice::WriteOnly);
    if (!picture->Shown().save(&buffer, "BMP")) throw files::FileError(files::CannotCreateText(name));
    files::WriteWholeFile(name, bitmap);
}

QSize TForm1::WorkAreaMinimum() const {
    const int zoom = Zoom();
    return QSize(Zoomed(kDesignClientWidth, zoom), Zoomed(kDesignClientHeight, zoom) - StatusBar1->height());
}

void TForm1::ArrangeWorkArea() {
    if (!Image3->isHidden()) return;
    const int zoom = Zoom();
    if (zoom != kNormalZoom) WorkScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const QRect before = Image1->geometry();
    // Zoomed in a window narrower than the zoomed design, the work area
    // becomes one column that scrolls only up and down, as a page does:
    // sideways scrolling would hide the end of every line of the problem.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, WorkScroll);
    const QSize client = ClientSize();
    if (zoom != kNormalZoom && client.width() < WorkAreaMinimum().width())
        ArrangeColumn(client.width() - bar, client.height() - StatusBar1->height());
    else
        ArrangeSideBySide(client, bar);
    if (Image1->geometry() != before && Image1->HasPicture()) DrawPlot(Image1);
}

void TForm1::ArrangeSideBySide(QSize client, int bar) {
    const int zoom = Zoom();
    auto z = [zoom](int pixels) { return Zoomed(pixels, zoom); };
    // The design grown by the zoom is the least room the work area takes;
    // in a smaller window it scrolls, so that no control is out of reach,
    // and the bars it then shows take their room from the work area.
    const QSize least = WorkAreaMinimum();
    WorkArea->setMinimumSize(least);
    const int statusHeight = StatusBar1->height();
    if (WorkScroll->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff && client.height() - statusHeight < least.height())
        client.rwidth() -= bar;
    if (client.width() < least.width()) client.rheight() -= bar;
    client = client.expandedTo(least + QSize(0, statusHeight));
    const int grow = GridGrowth(client.width() - least.width(), zoom);
    const int bottom = client.height() - statusHeight;
    PlaceProblemControls(zoom);
    // The tableau and the split variables reach down to the status bar; the
    // tableau widens by its share of the room, the view buttons and the
    // results move over with it.
    StringGrid1->setGeometry(z(88), z(192), z(209) + grow, std::max(z(185), bottom - z(192)));
    ListBox3->setGeometry(z(8), z(224), z(73), std::max(z(153), bottom - z(224)));
    PlaceViewButtons(QPoint(z(312) + grow, z(216)));
    PlaceResults(QPoint(z(377) + grow, z(11)), z(216));
    // The picture goes right of the work area, below the value box.
    const int top = Edit2->y() + Edit2->height() + 10;
    const int left = Edit2->x();
    Image1->Place(QRect(left, top, client.width() - left - 10, bottom - top - 10), Colors().btnFace);
}

void TForm1::ArrangeColumn(int width, int height) {
    const int zoom = Zoom();
    auto z = [zoom](int pixels) { return Zoomed(pixels, zoom); };
    // The problem as designed, its editors no wider than the window; the
    // tableau below them as wide as the window, the results below it, and
    // the picture last, with its view buttons left of it.
    PlaceProblemControls(zoom);
    const int right = width - 10;
    for (QWidget* editor : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(RichEdit1)})
        editor->resize(std::clamp(right - editor->x(), z(73), editor->width()), editor->height());
    const int tableWidth = std::max(z(209), right - z(88));
    StringGrid1->setGeometry(z(88), z(192), tableWidth, z(185));
    ListBox3->setGeometry(z(8), z(224), z(73), z(153));
    PlaceResults(QPoint(z(88), StringGrid1->geometry().bottom() + z(11)), std::min(z(216), tableWidth));
    const int top = Edit2->y() + Edit2->height() + 10;
    PlaceViewButtons(QPoint(z(8), top));
    // As high as the window shows at once, never below the design's height.
    const int pictureHeight = std::max(202, std::min(z(202), height - 20));
    Image1->Place(QRect(z(88), top, tableWidth, pictureHeight), Colors().btnFace);
    WorkArea->setMinimumSize(z(88) + z(209) + 10, top + pictureHeight + 10);
}

void TForm1::PlaceViewButtons(QPoint corner) {
    const int zoom = Zoom();
    auto z = [zoom](int pixels) { return Zoomed(pixels, zoom); };
    // Placed as in the design, from "Por Defecto" at its top-left corner.
    const struct { QPushButton* button; int left, top, width; } buttons[] = {
        {Button9, 0, 0, 64},   {Button7, 0, 31, 25}, {Button8, 24, 31, 25}, {Button5, 0, 55, 25},
        {Button6, 24, 55, 25}, {Button3, 0, 79, 25}, {Button4, 24, 79, 25}};
    for (const auto& b : buttons) b.button->setGeometry(corner.x() + z(b.left), corner.y() + z(b.top), z(b.width), z(25));
}

void TForm1::PlaceResults(QPoint corner, int width) {
    const int zoom = Zoom();
    auto z = [zoom](int pixels) { return Zoomed(pixels, zoom); };
    // From the solution's list at `corner`, its caption 4 pixels right of
    // its left edge and 21 above, as in the design; the value box a pixel
    // further left and wider.
    Label2->move(corner.x() + z(4), corner.y());
    ListBox2->setGeometry(corner.x(), corner.y() + z(21), width, z(81));
    Label3->move(corner.x(), ListBox2->geometry().bottom() + z(8));
    Label2->resize(Label2->sizeHint().expandedTo(QSize(z(44), z(13))));
    Label3->resize(Label3->sizeHint().expandedTo(QSize(z(30), z(13))));
    Edit2->setGeometry(corner.x() - 1, Label3->y() + z(15), width + 1, z(20));
}

} // namespace optimara
