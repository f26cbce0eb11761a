// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls, their design geometry, the menus and the
// wiring of every control to its handler.
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>
#include <limits>

#include "Application.h"
#include "AuxWindows.h"
#include "Legibility.h"
#include "MainWindow.h"
#include "WorkAreaLayout.h"
#include "WindowFrame.h"
#include "Zoom.h"

namespace optimara {

namespace {

constexpr int kStatusBarHeight = 22;
// The work area's extent at design size; below it the window scrolls.
constexpr int kWorkWidth = TForm1::kDesignClientWidth;
constexpr int kWorkHeight = TForm1::kDesignClientHeight - kStatusBarHeight;

QFont SansFont() { return QFont("MS Sans Serif", 8); }
QFont TextFont() { return QFont("Arial", 8); }

QPushButton* MakeButton(const QString& caption, QWidget* parent, const QString& name) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::ClickFocus);
    button->setAutoDefault(false);
    return button;
}

QListWidget* MakeList(QWidget* parent, const QString& name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setFont(TextFont());
    list->setFocusPolicy(Qt::ClickFocus);
    list->setEnabled(false);
    KeepLegibleWhenDisabled(list);
    return list;
}

QLabel* MakeLabel(const QString& caption, QWidget* parent, const QString& name) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

// Menu items carry the names of the design, as the controls do.
QAction* AddItem(QMenu* menu, const QString& caption, const QString& name) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    return item;
}

} // namespace

int ClientArea::BandHeight() const { return band_ && !band_->isHidden() ? qBound(96, height() / 4, 260) : 0; }

void ClientArea::Arrange() {
    auto* scroll = findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
    auto* status = findChild<StatusPanels*>(QString(), Qt::FindDirectChildrenOnly);
    if (!scroll || !status) return;
    const int statusHeight = status->isHidden() ? 0 : status->height();
    const int bandHeight = BandHeight();
    scroll->setGeometry(0, 0, width(), height() - statusHeight - bandHeight);
    if (bandHeight > 0) band_->setGeometry(0, height() - statusHeight - bandHeight, width(), bandHeight);
    status->setGeometry(0, height() - status->height(), width(), status->height());
}

void ClientArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
    emit Resized();
}

TForm1::TForm1(std::unique_ptr<Questions> questions, const QString& startFile, QWidget* parent)
    : QMainWindow(parent),
      frame_(std::make_unique<Frame>(*this)),
      questions_(questions ? std::move(questions) : std::make_unique<DialogQuestions>()),
      startFile_(startFile) {
    setObjectName("Form1");
    ShowCaption();
    setFont(SansFont());
    CreateControls();
    CreateMenus();
    PlaceControls();
    WireHandlers();
    features_ = CreateFeatures(*frame_);
    // The window's children, so that a test finds them by name.
    for (const auto& feature : features_) feature->setParent(this);
    for (const auto& feature : features_) feature->Start();
    separator_ = DecimalSeparatorOf(locale());
    // The window is designed at this client size; FormCreate places the
    // picture from it before the window is first shown (maximised).
    resize(kDesignClientWidth, kDesignClientHeight + menuBar()->sizeHint().height());
    RunGuarded([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

void TForm1::SetAuxWindows(TForm2* about, TForm4* readme) {
    about_ = about;
    readme_ = readme;
    if (readme_) readme_->SetZoom(Zoom(), this);
}

void TForm1::CreateControls() {
    Client = new ClientArea(this);
    Client->setObjectName("Client");
    setCentralWidget(Client);
    WorkScroll = new QScrollArea(Client);
    WorkScroll->setObjectName("WorkScroll");
    WorkScroll->setFrameShape(QFrame::NoFrame);
    WorkScroll->setWidgetResizable(true);
    WorkScroll->setFocusPolicy(Qt::NoFocus);
    // The window's vertical scroll bar is hidden until the work area is
    // shown again after an enlarged picture.
    WorkScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    WorkScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    WorkArea = new QWidget;
    WorkArea->setObjectName("WorkArea");
    WorkArea->setMinimumSize(kWorkWidth, kWorkHeight);
    WorkScroll->setWidget(WorkArea);
    StatusBar1 = new StatusPanels(Client);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setFixedHeight(kStatusBarHeight);
    CreateProblemControls();
    CreateResultControls();
    CreatePictureControls();
}

void TForm1::CreateProblemControls() {
    ComboBox1 = new QComboBox(WorkArea);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setFont(TextFont());
    ComboBox1->addItems({"Minimizar", "Maximizar"});
    Edit1 = new QLineEdit(WorkArea);
    Edit1->setObjectName("Edit1");
    Edit1->setFont(TextFont());
    // A line edit cuts its text at 32,767 characters unless told otherwise;
    // an objective that long is still the user's and must reach the build
    // and the file whole.
    Edit1->setMaxLength(std::numeric_limits<int>::max());
    Label1 = MakeLabel("Sujeto a:", WorkArea, "Label1");
    RichEdit1 = new ConstraintEditor(WorkArea);
    RichEdit1->setObjectName("RichEdit1");
    QFont underlined = TextFont();
    underlined.setUnderline(true);
    RichEdit1->setFont(underlined);
    Button1 = MakeButton(QString::fromUtf8("Una Solución"), WorkArea, "Button1");
    Button1->setFocusPolicy(Qt::StrongFocus);
    Button1->setDefault(true);
    // The projector's keys: F5 solves, F6 steps and F7 goes back (the
    // last two are the "&Pasos" menu's).
    Button1->setShortcut(QKeySequence(Qt::Key_F5));
    Button1->setToolTip(QString::fromUtf8("Una Solución (F5)"));
    Button2 = MakeButton("Paso a paso", WorkArea, "Button2");
}

void TForm1::CreateResultControls() {
    Label4 = MakeLabel("Tabla del Simplex:", WorkArea, "Label4");
    StringGrid1 = new QTableView(WorkArea);
    StringGrid1->setObjectName("StringGrid1");
    // Without kerning a number is as wide as its characters, which is how
    // the columns are fitted to their texts quickly.
    QFont gridFont = TextFont();
    gridFont.setKerning(false);
    StringGrid1->setFont(gridFont);
    GridModel = new TableauModel(StringGrid1);
    GridModel->setObjectName("GridModel");
    StringGrid1->setModel(GridModel);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setMinimumSectionSize(1);
    StringGrid1->verticalHeader()->setMinimumSectionSize(1);
    StringGrid1->horizontalHeader()->setDefaultSectionSize(kGridColumnWidth);
    StringGrid1->verticalHeader()->setDefaultSectionSize(16);
    // A tab stop, so that a pivot can be chosen with the arrows and
    // "Elegir pivote" without a mouse.
    StringGrid1->setFocusPolicy(Qt::StrongFocus);
    StringGrid1->setTabKeyNavigation(false);
    ListBox3 = MakeList(WorkArea, "ListBox3");
    Label2 = MakeLabel(QString::fromUtf8("Solución:"), WorkArea, "Label2");
    ListBox2 = MakeList(WorkArea, "ListBox2");
    Label3 = MakeLabel("Valor:", WorkArea, "Label3");
    Edit2 = new QLineEdit(WorkArea);
    Edit2->setObjectName("Edit2");
    Edit2->setFont(TextFont());
    Edit2->setEnabled(false);
    KeepLegibleWhenDisabled(Edit2);
    Edit2->setFocusPolicy(Qt::ClickFocus);
    ListBox1 = MakeList(WorkArea, "ListBox1");
    ListBox1->hide();
}

void TForm1::CreatePictureControls() {
    Image1 = new PictureBox(WorkArea);
    Image1->setObjectName("Image1");
    const char* rotations[6] = {"Z+", "Z-", "Y+", "Y-", "X+", "X-"};
    QPushButton** rotationButtons[6] = {&Button3, &Button4, &Button5, &Button6, &Button7, &Button8};
    for (int i = 0; i < 6; ++i) {
        *rotationButtons[i] = MakeButton(rotations[i], WorkArea, QString("Button%1").arg(i + 3));
        (*rotationButtons[i])->setFont(QFont("Courier New", 8));
    }
    Button9 = MakeButton("Por Defecto", WorkArea, "Button9");
    Image3 = new PictureBox(WorkArea);
    Image3->setObjectName("Image3");
    Image3->hide();
    Shape1 = new MarkerShape(WorkArea);
    Shape1->setObjectName("Shape1");
    Shape1->hide();
    Shape1->raise();
}

void TForm1::PlaceControls() {
    struct Place { QWidget* w; int left, top, width, height; };
    const Place places[] = {
        {StringGrid1, 88, 192, 209, 185}, {ListBox3, 8, 224, 73, 153}, {Label2, 381, 11, 44, 13},
        {ListBox2, 377, 32, 216, 81},     {Label3, 377, 120, 30, 13},   {Edit2, 376, 135, 217, 20},
        {Button9, 312, 216, 64, 25},      {Button7, 312, 247, 25, 25},  {Button8, 336, 247, 25, 25},
        {Button5, 312, 271, 25, 25},      {Button6, 336, 271, 25, 25},  {Button3, 312, 295, 25, 25},
        {Button4, 336, 295, 25, 25},      {ListBox1, 0, 0, 1, 1},
    };
    for (const Place& p : places) p.w->setGeometry(p.left, p.top, p.width, p.height);
    for (QLabel* label : {Label2, Label3}) label->resize(label->sizeHint().expandedTo(label->size()));
    layout_ = std::make_unique<WorkAreaLayout>(
        WorkAreaControls{Edit1, Label1, RichEdit1, Button1, Label4, Button2, ComboBox1, StringGrid1, ListBox3, Label2,
                         ListBox2, Label3, Edit2, {Button9, Button7, Button8, Button5, Button6, Button3, Button4}, Image1,
                         WorkArea},
        QSize(kDesignClientWidth, kDesignClientHeight));
    layout_->PlaceProblem(kNormalZoom);

    setTabOrder(Edit1, RichEdit1);
    setTabOrder(RichEdit1, ComboBox1);
    setTabOrder(ComboBox1, Button1);
    ComboBox1->setFocusPolicy(Qt::StrongFocus);
    Edit1->setFocusPolicy(Qt::StrongFocus);
    RichEdit1->setFocusPolicy(Qt::StrongFocus);
}

void TForm1::CreateMenus() {
    QMenuBar* bar = menuBar();
    MenuPlaces& places = frame_->places;
    QMenu* file = bar->addMenu("&Archivo");
    file->setObjectName("FileMenu");
    Open1 = AddItem(file, "&Abrir", "Open1");
    places.Define(MenuPlace::FileNew, file, file->addSeparator());
    Save1 = AddItem(file, "&Guardar", "Save1");
    Saveas1 = AddItem(file, "Guardar &Como...", "Saveas1");
    QAction* fileEnd = file->addSeparator();
    places.Define(MenuPlace::FileExports, file, fileEnd);
    places.Define(MenuPlace::FileSolverExports, file, fileEnd);
    Clear1 = AddItem(file, "&Borrar", "Clear1");
    file->addSeparator();
    ConnectGuarded(AddItem(file, "&Salir", "Exit1"), &QAction::triggered, this, [this] { Exit1Click(); });

    QMenu* notation = bar->addMenu(QString::fromUtf8("&Notación"));
    notation->setObjectName("NotationMenu");
    FloatingPoint1 = AddItem(notation, "Coma F&lotante", "FloatingPoint1");
    FloatingPoint1->setCheckable(true);
    FloatingPoint1->setChecked(true);
    Rational1 = AddItem(notation, "&Racional", "Rational1");
    Rational1->setCheckable(true);
    places.Define(MenuPlace::NotationOptions, notation);

    // The learning aids' menu is all the features'.
    QMenu* steps = bar->addMenu("&Pasos");
    steps->setObjectName("Steps1");
    for (MenuPlace place : {MenuPlace::StepsMoves, MenuPlace::StepsPivot, MenuPlace::StepsMethods,
                            MenuPlace::StepsExplanation, MenuPlace::StepsAnalysis, MenuPlace::StepsSearch})
        places.Define(place, steps);

    QMenu* image = bar->addMenu("&Imagen");
    image->setObjectName("ImageMenu");
    places.Define(MenuPlace::BarLearning, bar, image->menuAction());
    ViewAxis1 = AddItem(image, "&Ver eje 3D", "ViewAxis1");
    ViewAxis1->setCheckable(true);
    ViewAxis1->setChecked(true);
    QAction* layersEnd = image->addSeparator();
    for (MenuPlace place : {MenuPlace::ImageLayers, MenuPlace::ImageOverPath, MenuPlace::ImageSearch})
        places.Define(place, image, layersEnd);
    QAction* saveImage = AddItem(image, "&Guardar Imagen Como...", "SaveImageAs1");
    ConnectGuarded(saveImage, &QAction::triggered, this, [this] { SaveImageAs1Click(); });
    image->addSeparator();
    Enlarge1 = AddItem(image, "&Agrandar", "Enlarge1");
    Restore1 = AddItem(image, "&Restaurar", "Restore1");
    Restore1->setEnabled(false);

    QMenu* help = bar->addMenu("&Ayuda");
    help->setObjectName("HelpMenu");
    places.Define(MenuPlace::BarView, bar, help->menuAction());
    QAction* readme = AddItem(help, QString::fromUtf8("&Léame.txt"), "Readme1");
    ConnectGuarded(readme, &QAction::triggered, this, [this] { Readme1Click(); });
    QAction* about = AddItem(help, "&Acerca de...", "About1");
    ConnectGuarded(about, &QAction::triggered, this, [this] { About1Click(); });
}

void TForm1::WireHandlers() {
    ConnectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    ConnectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    ConnectGuarded(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    ConnectGuarded(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    ConnectGuarded(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    ConnectGuarded(Button6, &QPushButton::clicked, this, [this] { Button6Click(); });
    ConnectGuarded(Button7, &QPushButton::clicked, this, [this] { Button7Click(); });
    ConnectGuarded(Button8, &QPushButton::clicked, this, [this] { Button8Click(); });
    ConnectGuarded(Button9, &QPushButton::clicked, this, [this] { Button9Click(); });
    ConnectGuarded(FloatingPoint1, &QAction::triggered, this, [this] { FloatingPoint1Click(); });
    ConnectGuarded(Rational1, &QAction::triggered, this, [this] { Rational1Click(); });
    ConnectToggle(ViewAxis1, this, [this] { ViewAxis1Click(); });
    ConnectGuarded(Enlarge1, &QAction::triggered, this, [this] { Enlarge1Click(); });
    ConnectGuarded(Restore1, &QAction::triggered, this, [this] { Restore1Click(); });
    ConnectGuarded(Open1, &QAction::triggered, this, [this] { Open1Click(); });
    ConnectGuarded(Save1, &QAction::triggered, this, [this] { Save1Click(); });
    ConnectGuarded(Saveas1, &QAction::triggered, this, [this] { Saveas1Click(); });
    ConnectGuarded(Clear1, &QAction::triggered, this, [this] { Clear1Click(); });
    ConnectGuarded(Edit1, &QLineEdit::textChanged, this, [this] { RichEdit1Change(); });
    ConnectGuarded(RichEdit1, &QTextEdit::textChanged, this, [this] { RichEdit1Change(); });
    // Only a choice of the user counts as a change, not a selection made by the program.
    ConnectGuarded(ComboBox1, &QComboBox::activated, this, [this] { RichEdit1Change(); });
    connect(Client, &ClientArea::Resized, this, [this] { RunGuarded([this] { FormResize(); }); });
    // Whatever may end a problem's run or hide the work area changes what
    // the features' aids can do; these run after the handlers wired above.
    const auto update = [this] { RunGuarded([this] { Tell(features_, [](Feature& f) { f.StepsShown(); }); }); };
    connect(Edit1, &QLineEdit::textChanged, this, update);
    connect(RichEdit1, &QTextEdit::textChanged, this, update);
    connect(ComboBox1, &QComboBox::activated, this, update);
    for (QAction* action : {Clear1, Enlarge1, Restore1, Open1}) connect(action, &QAction::triggered, this, update);
}

} // namespace optimara
