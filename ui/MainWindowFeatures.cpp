// SPDX-License-Identifier: GPL-3.0-or-later
// The window as its features' host: the menu places they fill, the band
// under the work area, and the news the window gives them.
#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QHeaderView>
#include <QTableView>

#include "MainWindow.h"
#include "Preferences.h"
#include "Zoom.h"
#include "ZoomedFont.h"

namespace optimara {

void TForm1::CreateFeatures() {
    DefineMenuPlaces();
    features_ = optimara::CreateFeatures(*this);
    // The window's children, so that a test finds them by name.
    for (const auto& feature : features_) feature->setParent(this);
    for (const auto& feature : features_) feature->Start();
}

void TForm1::DefineMenuPlaces() {
    // The window's own item right after a place, which closes it.
    const auto after = [](QMenu* menu, QAction* item) {
        const QList<QAction*> items = menu->actions();
        return items.value(items.indexOf(item) + 1);
    };
    places_.Define(MenuPlace::BarLearning, menuBar(), ImageMenu->menuAction());
    places_.Define(MenuPlace::BarView, menuBar(), HelpMenu->menuAction());
    places_.Define(MenuPlace::FileExports, FileMenu, after(FileMenu, Saveas1));
    places_.Define(MenuPlace::FileSolverExports, FileMenu, after(FileMenu, SaveStepsAs1));
    places_.Define(MenuPlace::NotationOptions, NotationMenu);
    for (MenuPlace place : {MenuPlace::StepsMoves, MenuPlace::StepsPivot, MenuPlace::StepsExplanation,
                            MenuPlace::StepsAnalysis})
        places_.Define(place, StepsMenu);
    places_.Define(MenuPlace::ImageLayers, ImageMenu, after(ImageMenu, ViewAxis1));
    places_.Define(MenuPlace::ImageOverPath, ImageMenu, after(ImageMenu, ViewPath1));
}

QAction* TForm1::AddMenuItem(MenuPlace place, const QString& caption, const QString& name) {
    auto* item = new QAction(caption, places_.Menu(place));
    item->setObjectName(name);
    places_.Insert(place, item);
    return item;
}

void TForm1::AddMenuSeparator(MenuPlace place) {
    auto* separator = new QAction(places_.Menu(place));
    separator->setSeparator(true);
    places_.Insert(place, separator);
}

QMenu* TForm1::AddMenu(MenuPlace place, const QString& title, const QString& name) {
    auto* menu = new QMenu(title, places_.Menu(place));
    menu->setObjectName(name);
    places_.Insert(place, menu->menuAction());
    return menu;
}

void TForm1::ExplainRefusal(int gridRow, int gridCol) {
    for (const auto& feature : features_) feature->PivotRefused(gridRow, gridCol);
}

void TForm1::SavePreferences() const {
    // The features keep their own choices in the same store.
    files::Preferences p = files::ReadPreferences();
    p.integers = !ViewIntegers1 || ViewIntegers1->isChecked();
    files::WritePreferences(p);
}

bool TForm1::ErrorFree() const { return state_.error.empty(); }

bool TForm1::Maximizing() const { return ComboBox1->currentIndex() != 0; }

void TForm1::SolveAgain() { Button1Click(); }

bool TForm1::MayReplaceProblem() {
    return !(state_.session.Modified && questions_->AskToSave(this) && !SaveProblem());
}

bool TForm1::WorkAreaVisible() const { return Image3->isHidden(); }

void TForm1::DrawLayers() {
    DrawPathOn(Image1);
    DrawPathOn(Image3);
}

void TForm1::WatchGrid(QObject* filter) { StringGrid1->viewport()->installEventFilter(filter); }

void TForm1::PlaceBand(QWidget* band) {
    band->setParent(Client);
    Client->SetBand(band);
}

void TForm1::ShowBand(bool wanted) {
    // Never over the enlarged picture.
    if (QWidget* band = Client->Band()) band->setVisible(wanted && Image3->isHidden());
    Client->Arrange();
}

void TForm1::ShowZoom(int percent) {
    state_.zoom = percent;
    for (QWidget* w : std::initializer_list<QWidget*>{StringGrid1, ListBox2, ListBox3, Edit2}) SetZoomedFont(w, percent);
    for (const auto& feature : features_) feature->ZoomChanged(percent);
    for (int panel = 0; panel < 3; ++panel) SetZoomedFont(StatusBar1->PanelLabel(panel), percent);
    StatusBar1->SetPanelWidths(Zoomed(StatusPanels::kErrorPanelWidth, percent),
                               Zoomed(StatusPanels::kStatusPanelWidth, percent));
    StatusBar1->setFixedHeight(std::max(Zoomed(22, percent), StatusBar1->PanelLabel(0)->sizeHint().height()));
    StringGrid1->verticalHeader()->setDefaultSectionSize(Zoomed(16, percent));
    StringGrid1->horizontalHeader()->setDefaultSectionSize(Zoomed(kGridColumnWidth, percent));
    // The marker keeps its centre.
    const Marker marker = CurrentMarker();
    Shape1->setFixedSize(ZoomedDotSize(percent), ZoomedDotSize(percent));
    ApplyMarker(marker);
    Client->Arrange();
    ArrangeWorkArea();
    FitGridColumns();
    for (PictureBox* picture : {Image1, Image3})
        if (picture->HasPicture() && picture->isVisible()) DrawPlot(picture);
}

} // namespace optimara
