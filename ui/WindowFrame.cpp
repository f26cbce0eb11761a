// SPDX-License-Identifier: GPL-3.0-or-later
// The window as its features' and its solve host's frame: the menu places
// the features fill, the band under the work area, the news the window
// gives them, and the panels, lists and questions the solve commands use.
#include "WindowFrame.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>

#include "AuxWindows.h"
#include "ProblemFile.h"
#include "SessionTexts.h"
#include "Zoom.h"
#include "ZoomedFont.h"

namespace optimara {

void TForm1::Frame::ShowStepAids() {
    w_.StatusBar1->SetText(2, StepPanelText(w_.state_));
    DrawLayersOn(w_.ShowingPicture());
    Tell(w_.features_, [](Feature& f) { f.StepsShown(); });
}

void TForm1::Frame::DrawLayersOn(PictureBox* image) {
    const std::vector<StepNote>& notes = w_.state_.Steps.Notes();
    const int variables = notes.empty() ? 0 : notes.back().variables;
    const bool drawable = (variables == 2 || variables == 3) &&
                          w_.state_.problem.ConstraintPlanes.cols == static_cast<uint32_t>(variables + 1);
    QImage layer;
    if (image->HasPicture() && drawable)
        Tell(w_.features_, [&](Feature& f) { f.DrawLayer(layer, image->Picture().size(), variables); });
    image->SetLayer(layer);
}

int TForm1::StepCount() const { return frame_->steps; }

int TForm1::QuestionCount() const { return frame_->questions; }

bool TForm1::Frame::Maximizing() const { return w_.ComboBox1->currentIndex() != 0; }

std::string TForm1::Frame::ProblemCaption() const { return w_.Label1->text().toStdString(); }

void TForm1::Frame::ShowProblemAnew() {
    ListNames(w_.state_.problem.Names);
    w_.Image1->Canvas().fill(w_.Colors().btnFace);
    w_.Shape1->hide();
    w_.DrawPlot(w_.Image1);
    ++steps;
    // The page of steps starts at the tableau shown.
    NoteTableau(true, true);
    w_.ShowTableau();
}

void TForm1::Frame::RefusePivot(int gridRow, int gridCol) {
    Tell(w_.features_, [&](Feature& f) { f.PivotRefused(gridRow, gridCol); });
}

QAction* TForm1::Frame::AddMenuItem(MenuPlace place, const QString& caption, const QString& name) {
    auto* item = new QAction(caption, places.Menu(place));
    item->setObjectName(name);
    places.Insert(place, item);
    return item;
}

void TForm1::Frame::AddMenuSeparator(MenuPlace place) {
    auto* separator = new QAction(places.Menu(place));
    separator->setSeparator(true);
    places.Insert(place, separator);
}

QMenu* TForm1::Frame::AddMenu(MenuPlace place, const QString& title, const QString& name) {
    auto* menu = new QMenu(title, places.Menu(place));
    menu->setObjectName(name);
    places.Insert(place, menu->menuAction());
    return menu;
}

QAbstractItemView* TForm1::Frame::Grid() { return w_.StringGrid1; }

bool TForm1::Frame::WorkAreaVisible() const { return w_.Image3->isHidden(); }

void TForm1::Frame::DrawLayers() {
    DrawLayersOn(w_.Image1);
    DrawLayersOn(w_.Image3);
}

void TForm1::Frame::PlaceBand(QWidget* band) {
    band->setParent(w_.Client);
    w_.Client->SetBand(band);
}

void TForm1::Frame::ShowBand(bool wanted) {
    // Never over the enlarged picture.
    if (QWidget* band = w_.Client->Band()) band->setVisible(wanted && w_.Image3->isHidden());
    w_.Client->Arrange();
}

void TForm1::Frame::ShowZoom(int percent) {
    TForm1& w = w_;
    w.state_.zoom = percent;
    // The problem's texts, the results' and every caption: the whole work
    // area reads at one size.
    for (QWidget* widget : std::initializer_list<QWidget*>{
             w.StringGrid1, w.ListBox2, w.ListBox3, w.Edit2, w.ComboBox1, w.Edit1, w.RichEdit1, w.Label1, w.Label2,
             w.Label3, w.Label4, w.Button1, w.Button2, w.Button3, w.Button4, w.Button5, w.Button6, w.Button7,
             w.Button8, w.Button9})
        SetZoomedFont(widget, percent);
    // A menu opens as a window of its own and takes no font from the bar
    // or the window: the bar's menus and the grid's each take the zoom.
    // Some platforms draw their menus themselves and pass this over.
    SetZoomedFont(w.menuBar(), percent);
    for (QMenu* menu : w.findChildren<QMenu*>()) SetZoomedFont(menu, percent);
    // The taller bar leaves the work area less room now, not after the
    // window's next layout, so the work area is arranged for its true size.
    w.layout()->activate();
    if (w.readme_) w.readme_->SetZoom(percent, &w);
    Tell(w.features_, [percent](Feature& f) { f.ZoomChanged(percent); });
    for (int panel = 0; panel < 3; ++panel) SetZoomedFont(w.StatusBar1->PanelLabel(panel), percent);
    w.StatusBar1->SetPanelWidths(Zoomed(StatusPanels::kErrorPanelWidth, percent),
                                 Zoomed(StatusPanels::kStatusPanelWidth, percent));
    w.StatusBar1->setFixedHeight(std::max(Zoomed(22, percent), w.StatusBar1->PanelLabel(0)->sizeHint().height()));
    w.StringGrid1->verticalHeader()->setDefaultSectionSize(Zoomed(16, percent));
    w.StringGrid1->horizontalHeader()->setDefaultSectionSize(Zoomed(kGridColumnWidth, percent));
    // The marker keeps its centre.
    const Marker marker = w.Shape1->Current();
    w.Shape1->setFixedSize(ZoomedDotSize(percent), ZoomedDotSize(percent));
    w.Shape1->Apply(marker);
    w.Client->Arrange();
    w.ArrangeWorkArea();
    w.FitGridColumns();
    for (PictureBox* picture : {w.Image1, w.Image3})
        if (picture->HasPicture() && picture->isVisible()) w.DrawPlot(picture);
}

void TForm1::Frame::ShowPanel(int panel, const std::string& text, bool repaint) {
    w_.StatusBar1->SetText(panel, text);
    if (repaint) w_.StatusBar1->repaint();
}

void TForm1::Frame::ListNames(const std::vector<std::string>& names) {
    w_.ListBox1->clear();
    for (const std::string& name : names) w_.ListBox1->addItem(QString::fromStdString(name));
}

void TForm1::Frame::NoteTableau(bool afterBuild, bool keepCopy) {
    w_.state_.NoteTableau(afterBuild, keepCopy, Maximizing());
}

bool TForm1::Frame::AskRestart() {
    ++questions;
    return w_.questions_->AskRestart(&w_);
}

bool TForm1::Frame::AskMoreCuts() {
    ++questions;
    return w_.questions_->AskMoreCuts(&w_);
}

bool TForm1::Frame::AskMoreNodes() {
    ++questions;
    return w_.questions_->AskMoreNodes(&w_);
}

void TForm1::Frame::SelectSource(int source) {
    if (source < 0) {
        w_.Edit1->setFocus(Qt::OtherFocusReason);
        w_.Edit1->setSelection(0, static_cast<int>(w_.Edit1->text().size()));
        return;
    }
    w_.RichEdit1->SelectLine(source);
}

void TForm1::Frame::PutNewProblem(const ProblemText& problem) {
    files::ProblemDocument document;
    document.comboIndex = problem.comboIndex;
    document.objective = QString::fromStdString(problem.objective);
    document.richText = false;
    for (const std::string& line : problem.lines)
        document.lines.push_back(files::RichParagraph::Plain(QString::fromStdString(line)));
    w_.Clear1Click();
    w_.LoadProblem(document);
    // Nothing on disk holds it yet: untitled, and changed since.
    w_.state_.session.Cleared();
    w_.state_.session.Changed();
    w_.ShowCaption();
    w_.Button1Click();
}

} // namespace optimara
