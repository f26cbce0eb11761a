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
#include "WorkAreaLayout.h"
#include "Zoom.h"

namespace optimara {

namespace {

QStringList ToStringList(const std::vector<std::string>& lines) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) list.push_back(QString::fromStdString(line));
    return list;
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

void TForm1::ArrangeWorkArea() {
    if (!Image3->isHidden()) return;
    const int zoom = Zoom();
    if (zoom != kNormalZoom) WorkScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const QRect before = Image1->geometry();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, WorkScroll);
    layout_->Arrange(ClientSize(), zoom, StatusBar1->height(), bar,
                     WorkScroll->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff, Colors().btnFace);
    if (Image1->geometry() != before && Image1->HasPicture()) DrawPlot(Image1);
}

} // namespace optimara
