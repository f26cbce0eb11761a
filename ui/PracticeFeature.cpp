// SPDX-License-Identifier: GPL-3.0-or-later
#include "PracticeFeature.h"

#include <QAbstractItemView>
#include <QBrush>
#include <QKeyEvent>
#include <QPushButton>
#include <QSettings>
#include <QTableView>

#include "ArtificialTexts.h"
#include "Display.h"
#include "PracticeTexts.h"
#include "WorkedNumbers.h"
#include "Zoom.h"
#include "ZoomedFont.h"

namespace optimara {

namespace {

constexpr char kPracticeKey[] = "pasos/practica";
// Light enough under the grid's text in either palette's dark text.
const QColor kLit(255, 240, 170);
const QColor kWrong(255, 190, 190);

} // namespace

// ---- PracticeModel ----------------------------------------------------------

void PracticeModel::SetGrid(int rows, int cols, std::vector<std::string> texts, std::vector<char> editable) {
    beginResetModel();
    rows_ = rows;
    cols_ = cols;
    texts_ = std::move(texts);
    editable_ = std::move(editable);
    looks_.assign(texts_.size(), Look::Plain);
    endResetModel();
}

void PracticeModel::SetLook(int row, int col, Look look) {
    if (row < 0 || col < 0 || row >= rows_ || col >= cols_) return;
    looks_[Index(row, col)] = look;
    emit dataChanged(index(row, col), index(row, col));
}

QVariant PracticeModel::data(const QModelIndex& at, int role) const {
    if (!at.isValid()) return {};
    const size_t k = Index(at.row(), at.column());
    if (role == Qt::DisplayRole || role == Qt::EditRole) return QString::fromStdString(texts_[k]);
    if (role == Qt::BackgroundRole && looks_[k] != Look::Plain) return QBrush(looks_[k] == Look::Wrong ? kWrong : kLit);
    // The lit and marked cells keep a dark text whatever the palette.
    if (role == Qt::ForegroundRole && looks_[k] != Look::Plain) return QBrush(Qt::black);
    return {};
}

bool PracticeModel::setData(const QModelIndex& at, const QVariant& value, int role) {
    if (!at.isValid() || role != Qt::EditRole || !editable_[Index(at.row(), at.column())]) return false;
    texts_[Index(at.row(), at.column())] = value.toString().toStdString();
    emit dataChanged(at, at);
    return true;
}

Qt::ItemFlags PracticeModel::flags(const QModelIndex& at) const {
    if (!at.isValid()) return Qt::NoItemFlags;
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return editable_[Index(at.row(), at.column())] ? base | Qt::ItemIsEditable : base;
}

// ---- PracticeFeature --------------------------------------------------------

PracticeFeature::PracticeFeature(FeatureHost& host) : Feature(host) {
    setObjectName("PracticeFeature");
    host_.AddMenuSeparator(MenuPlace::StepsPivot);
    Practice1 = host_.AddMenuItem(MenuPlace::StepsPivot, QString::fromUtf8("Modo prác&tica"), "Practice1");
    Practice1->setCheckable(true);
    Check1 = host_.AddMenuItem(MenuPlace::StepsPivot, "&Comprobar", "Check1");
    Hint1 = host_.AddMenuItem(MenuPlace::StepsPivot, "P&ista", "Hint1");
    ShowStep1 = host_.AddMenuItem(MenuPlace::StepsPivot, "Mostrar pas&o", "ShowStep1");
    OnToggle(Practice1, [this] { Practice1Click(); });
    OnTrigger(Check1, [this] { Check1Click(); });
    OnTrigger(Hint1, [this] { Hint1Click(); });
    OnTrigger(ShowStep1, [this] { ShowStep1Click(); });
    model_ = new PracticeModel(this);
    connect(model_, &QAbstractItemModel::dataChanged, this, [this] { FitColumns(); });
}

void PracticeFeature::Start() {
    QAbstractItemView* grid = host_.Grid();
    CheckButton = new QPushButton("Comprobar", grid->parentWidget());
    CheckButton->setObjectName("CheckButton");
    CheckButton->hide();
    ConnectGuarded(CheckButton, &QPushButton::clicked, this, [this] { Check1Click(); });
    connect(grid, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { RunGuarded([this, index] { Choose(index); }); });
    grid->installEventFilter(this);
    const bool on = QSettings("Optimara", "Optimara").value(kPracticeKey, false).toBool();
    Practice1->setChecked(on);
    host_.State().practice.SetOn(on);
    StepsShown();
}

bool PracticeFeature::eventFilter(QObject* watched, QEvent* event) {
    // The keyboard chooses the current cell as a click does, until the
    // tableau is typed.
    if (event->type() == QEvent::KeyPress && host_.State().practice.On() &&
        host_.State().practice.Stage() != PracticeStage::Typing) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            RunGuarded([this] { Choose(host_.Grid()->currentIndex()); });
            return true;
        }
    }
    return Feature::eventFilter(watched, event);
}

void PracticeFeature::Practice1Click() {
    Practice1->setChecked(!Practice1->isChecked());
    QSettings("Optimara", "Optimara").setValue(kPracticeKey, Practice1->isChecked());
    host_.State().practice.SetOn(Practice1->isChecked());
    host_.ShowTableau();
    host_.ShowStepAids();
}

void PracticeFeature::Choose(const QModelIndex& index) {
    AppState& state = host_.State();
    if (!index.isValid() || !state.practice.On() || state.practice.Stage() == PracticeStage::Typing) return;
    if (state.ChooseInPractice(index.row(), index.column(), false) == SolveSession::PracticeChoice::NotNow) return;
    host_.ShowTableau();
    host_.ShowStepAids();
}

void PracticeFeature::Check1Click() {
    AppState& state = host_.State();
    if (!state.practice.On() || state.practice.Stage() != PracticeStage::Typing) return;
    // The grid taking the focus back commits a cell still being edited.
    host_.Grid()->setFocus();
    std::vector<std::string> typed;
    for (const PracticeCell& cell : state.practice.Next().cells) typed.push_back(model_->Text(cell.row, cell.col));
    const PracticeCheck check = state.CheckPractice(typed, host_.DecimalSeparator(), host_.Solver());
    // A right answer made the step: the next tableau replaces these marks.
    for (const PracticeCell& cell : state.practice.Next().cells) model_->SetLook(cell.row, cell.col, PracticeModel::Look::Plain);
    for (int k : check.wrong) {
        const PracticeCell& cell = state.practice.Next().cells[size_t(k)];
        model_->SetLook(cell.row, cell.col, PracticeModel::Look::Wrong);
    }
    host_.ShowTableau();
    host_.ShowStepAids();
}

void PracticeFeature::Hint1Click() {
    AppState& state = host_.State();
    if (!state.practice.On() || state.practice.Stage() != PracticeStage::Typing) return;
    state.HintInPractice();
    host_.ShowTableau();
    host_.ShowStepAids();
}

void PracticeFeature::ShowStep1Click() {
    AppState& state = host_.State();
    if (!state.practice.On() || !state.Running()) return;
    state.ShowPracticeStep(host_.Solver());
    host_.ShowStepAids();
}

void PracticeFeature::TableauShown() {
    ShowGrid();
    Say();
}

void PracticeFeature::ShowGrid() {
    auto* view = qobject_cast<QTableView*>(host_.Grid());
    if (!view) return;
    AppState& state = host_.State();
    const bool practising = state.practice.On() && state.Ready() && state.Steps.Started() && FitsTableau(state.problem);
    if (!practising) {
        if (windowModel_ && view->model() == model_) {
            view->setModel(windowModel_);
            view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
        }
        return;
    }
    if (view->model() != model_) {
        windowModel_ = view->model();
        view->setModel(model_);
        typing_ = 0;
    }
    if (state.practice.Stage() == PracticeStage::Typing) ShowTyping();
    else ShowCurrent();
    FitColumns();
}

void PracticeFeature::FitColumns() {
    // Room for a typed fraction even in a blank column.
    auto* view = qobject_cast<QTableView*>(host_.Grid());
    if (!view || view->model() != model_) return;
    view->resizeColumnsToContents();
    const int least = view->fontMetrics().horizontalAdvance(QStringLiteral("-000/00")) + 8;
    for (int c = 1; c < model_->columnCount(); ++c)
        if (view->columnWidth(c) < least) view->setColumnWidth(c, least);
}

void PracticeFeature::ShowCurrent() {
    // The tableau as it stands, without the rule's marks or quotients.
    AppState& state = host_.State();
    const NumberText numbers{host_.Floating(), host_.DecimalSeparator()};
    const PracticeGrid g = PracticeGridOf(state.problem, state.form);
    std::vector<std::string> texts = g.labels;
    for (const PracticeCell& c : g.cells)
        texts[size_t(c.row) * size_t(g.cols) + size_t(c.col)] = g.bigM ? BigMText(c.m, c.value, numbers) : Text(c.value, numbers);
    model_->SetGrid(g.rows, g.cols, std::move(texts), std::vector<char>(size_t(g.rows) * size_t(g.cols), 0));
    typing_ = 0;
    if (state.practice.Stage() != PracticeStage::Row) return;
    // The chosen column lit, where the grid shows it.
    const uint32_t col = state.practice.Chosen().col;
    for (int c = 1; c < g.cols; ++c)
        if (TableauColumnOfGrid(state.problem, state.form == TableauForm::Compact ? TableauForm::Compact : TableauForm::Full, c) == col)
            for (int r = 0; r < g.rows; ++r) model_->SetLook(r, c, PracticeModel::Look::Lit);
}

void PracticeFeature::ShowTyping() {
    AppState& state = host_.State();
    if (typing_ == state.practice.TargetNumber()) return;
    // A new tableau to type: its headings and basic variables given, every
    // number blank.
    const PracticeGrid& g = state.practice.Next();
    std::vector<char> editable(size_t(g.rows) * size_t(g.cols), 0);
    for (const PracticeCell& c : g.cells) editable[size_t(c.row) * size_t(g.cols) + size_t(c.col)] = 1;
    model_->SetGrid(g.rows, g.cols, g.labels, std::move(editable));
    typing_ = state.practice.TargetNumber();
    host_.Grid()->setEditTriggers(QAbstractItemView::AllEditTriggers);
    if (!g.cells.empty()) host_.Grid()->setCurrentIndex(model_->index(g.cells[0].row, g.cells[0].col));
}

void PracticeFeature::Say() {
    AppState& state = host_.State();
    if (!state.practice.On()) return;
    host_.Status().SetText(2, PracticePanelText(state.practice));
}

void PracticeFeature::StepsShown() {
    const AppState& state = host_.State();
    const bool on = state.practice.On();
    const bool typing = on && state.practice.Stage() == PracticeStage::Typing && state.Running();
    Check1->setEnabled(typing);
    Hint1->setEnabled(typing);
    ShowStep1->setEnabled(on && state.Running() && host_.WorkAreaVisible());
    if (CheckButton) {
        CheckButton->setVisible(on && host_.WorkAreaVisible());
        CheckButton->setEnabled(typing);
        PlaceButton();
    }
    Say();
}

void PracticeFeature::PlaceButton() {
    // Above the grid's right end, beside its caption.
    const QRect grid = host_.Grid()->geometry();
    CheckButton->adjustSize();
    CheckButton->move(grid.right() - CheckButton->width() + 1, grid.top() - CheckButton->height() - 2);
    CheckButton->raise();
}

void PracticeFeature::ZoomChanged(int percent) {
    if (!CheckButton) return;
    SetZoomedFont(CheckButton, percent);
    PlaceButton();
}

void PracticeFeature::WorkAreaShown(bool) { StepsShown(); }

} // namespace optimara
