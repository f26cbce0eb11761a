// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's make-up: menus, geometry, tab order, the enlarged
// picture, the view buttons, saving the picture, the auxiliary windows and
// the application's error box.
#include <sys/stat.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QHeaderView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <cmath>
#include <map>

#include "Application.h"
#include "AuxWindows.h"
#include "UiTestSupport.h"

namespace optimara::uitest {
namespace {

class MainWindowMakeUp : public WindowTest {
protected:
    void SolveWorkedExample() {
        PasteProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
        Press(Button1());
        ASSERT_EQ(Panel(1), "Hecho");
    }
    void SolveUnitCube() {
        PasteProblem(1, "x+y+z", {"x<1", "y<1", "z<1", "x>0", "y>0", "z>0"});
        Press(Button1());
        ASSERT_EQ(Panel(1), "Hecho");
    }
    std::vector<QPushButton*> ViewButtons() const {
        return {Button3(), Button4(), Button5(), Button6(), Button7(), Button8(), Button9()};
    }
    int EnabledViewButtons() const {
        int n = 0;
        for (QPushButton* b : ViewButtons()) n += b->isEnabled();
        return n;
    }
};

struct MenuEntry {
    const char* caption;  // "-" for a separator
    bool enabled;
    bool checkable;
    bool checked;
};

void ExpectMenu(QMenu* menu, const char* title, const std::vector<MenuEntry>& entries) {
    SCOPED_TRACE(title);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QString::fromUtf8(title));
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        QAction* a = actions[static_cast<qsizetype>(i)];
        const MenuEntry& e = entries[i];
        if (std::string(e.caption) == "-") {
            EXPECT_TRUE(a->isSeparator()) << i;
            continue;
        }
        EXPECT_EQ(a->text(), QString::fromUtf8(e.caption));
        EXPECT_EQ(a->isEnabled(), e.enabled) << e.caption;
        EXPECT_EQ(a->isCheckable(), e.checkable) << e.caption;
        EXPECT_EQ(a->isChecked(), e.checked) << e.caption;
        // Only the steps and the zoom have keys of their own.
        if (std::string(title) != "&Pasos" && std::string(title) != "&Ver") {
            EXPECT_TRUE(a->shortcut().isEmpty()) << e.caption;
        }
    }
}

TEST_F(MainWindowMakeUp, MenuTreeWithCaptionsChecksAndEnabledStates) {
    const QList<QAction*> bar = form->menuBar()->actions();
    // The learning aids add the "&Pasos" menu and one item to "&Archivo" and
    // "&Imagen", the zoom the "&Ver" menu; with nothing solved yet, the steps
    // cannot be gone back over nor saved, nor the optimum analysed. The export
    // and the objective's line are one more item each in "&Archivo" and "&Imagen".
    ASSERT_EQ(bar.size(), 6);
    ExpectMenu(bar[0]->menu(), "&Archivo",
               {{"&Abrir", true, false, false}, {"Nuevo &ejercicio...", true, false, false}, {"-", 0, 0, 0}, {"&Guardar", true, false, false},
                {"Guardar &Como...", true, false, false}, {"Guardar &pasos como...", false, false, false},
                {"Exportar pasos a &LaTeX...", false, false, false}, {"Exportar pasos a P&DF...", false, false, false},
                {"&Imprimir pasos...", false, false, false},
                {"E&xportar como LP...", true, false, false}, {"-", 0, 0, 0}, {"&Borrar", true, false, false}, {"-", 0, 0, 0}, {"&Salir", true, false, false}});
    // The explained steps add the rule, the explanation and the slack names;
    // the forms of the tableau their submenu.
    ExpectMenu(bar[1]->menu(), "&Notación",
               {{"Coma F&lotante", true, true, true}, {"&Racional", true, true, false}, {"-", 0, 0, 0},
                {"&Nombres de holgura", true, true, false}, {"&Aritmética exacta", true, true, false}, {"-", 0, 0, 0},
                {"Forma de la &tabla", true, false, false}});
    ExpectMenu(bar[2]->menu(), "&Pasos",
               {{"Paso &atrás", false, false, false}, {"Paso a&delante", true, false, false}, {"-", 0, 0, 0},
                {"&Elegir pivote", false, false, false}, {"-", 0, 0, 0}, {"Modo prác&tica", true, true, false},
                {"&Comprobar", false, false, false}, {"P&ista", false, false, false},
                {"Mostrar pas&o", false, false, false}, {"-", 0, 0, 0}, {"&Método", true, false, false},
                {"Método e&ntero", true, false, false}, {"Añadir restricción...", false, false, false},
                {"-", 0, 0, 0}, {"Regla de &pivote", true, false, false},
                {"&Ver explicación", true, true, true}, {"-", 0, 0, 0}, {"&Sensibilidad", false, false, false},
                {"Árbol de &ramificación", false, false, false}});
    ExpectMenu(bar[2]->menu()->actions()[14]->menu(), "Regla de &pivote",
               {{"&Aleatoria", true, true, true}, {"Mayor &coeficiente", true, true, false},
                {"Menor &índice (Bland)", true, true, false}});
    ExpectMenu(bar[3]->menu(), "&Imagen",
               {{"&Ver eje 3D", true, true, true}, {"Ver re&corrido", true, true, true},
                {"Ver línea del &objetivo", true, true, false}, {"Ver &enteros", true, true, true}, {"-", 0, 0, 0},
                {"&Guardar Imagen Como...", true, false, false}, {"-", 0, 0, 0}, {"&Agrandar", true, false, false},
                {"&Restaurar", false, false, false}});
    ExpectMenu(bar[4]->menu(), "&Ver",
               {{"A&mpliar", true, false, false}, {"Red&ucir", false, false, false},
                {"Tamaño &normal", true, false, false}});
    ExpectMenu(bar[5]->menu(), "&Ayuda", {{"&Léame.txt", true, false, false}, {"&Acerca de...", true, false, false}});
    // The zoom's menu has a letter no other menu of the bar has.
    for (QAction* menu : bar)
        if (menu != bar[4]) EXPECT_FALSE(menu->text().contains("&V", Qt::CaseInsensitive)) << menu->text().toStdString();
    const QList<QKeySequence> zoomIn = bar[4]->menu()->actions()[0]->shortcuts();
    EXPECT_EQ(zoomIn, (QList<QKeySequence>{QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")}));
    EXPECT_EQ(bar[4]->menu()->actions()[1]->shortcut(), QKeySequence("Ctrl+-"));
    EXPECT_EQ(bar[4]->menu()->actions()[2]->shortcut(), QKeySequence("Ctrl+0"));
}

// The letter after a single "&", folded; empty for none.
QString Mnemonic(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return caption.mid(i + 1, 1).toCaseFolded();
        ++i;
    }
    return QString();
}

TEST_F(MainWindowMakeUp, NoLetterMarksTwoItemsOfOneMenu) {
    // Every menu and submenu of the window, the grid's own menu too (the
    // bar's titles are the design's: "&Archivo" and "&Ayuda" share theirs).
    const QList<QMenu*> menus = form->findChildren<QMenu*>();
    ASSERT_GE(menus.size(), 7);
    for (QMenu* menu : menus) {
        std::map<QString, QString> seen;
        for (QAction* item : menu->actions()) {
            const QString letter = Mnemonic(item->text());
            if (letter.isEmpty()) continue;
            const auto [at, fresh] = seen.emplace(letter, item->text());
            EXPECT_TRUE(fresh) << menu->title().toStdString() << ": \"" << at->second.toStdString() << "\" and \""
                               << item->text().toStdString() << "\"";
        }
    }
}

TEST_F(MainWindowMakeUp, ControlsStandAtTheirDesignPlaces) {
    const struct {
        QWidget* w;
        QRect r;
    } places[] = {
        {Edit1(), {88, 8, 281, 22}},       {RichEdit1(), {89, 38, 280, 115}},
        {Button1(), {8, 64, 73, 25}},       {StringGrid1(), {88, 192, 209, 185}}, {Button2(), {8, 196, 73, 25}},
        {ListBox3(), {8, 224, 73, 153}},    {ListBox2(), {377, 32, 216, 81}},  {Edit2(), {376, 135, 217, 20}},
        {Button9(), {312, 216, 64, 25}},    {Button7(), {312, 247, 25, 25}},   {Button8(), {336, 247, 25, 25}},
        {Button5(), {312, 271, 25, 25}},    {Button6(), {336, 271, 25, 25}},   {Button3(), {312, 295, 25, 25}},
        {Button4(), {336, 295, 25, 25}},
    };
    for (const auto& p : places) EXPECT_EQ(p.w->geometry(), p.r) << p.w->objectName().toStdString();
    // The sense box may widen for its arrow, never onto the objective.
    EXPECT_EQ(ComboBox1()->pos(), QPoint(8, 8));
    EXPECT_EQ(ComboBox1()->height(), 22);
    EXPECT_GE(ComboBox1()->width(), 73);
    EXPECT_LT(ComboBox1()->geometry().right(), Edit1()->x());
    EXPECT_EQ(Label1()->pos(), QPoint(13, 40));
    EXPECT_EQ(Label4()->pos(), QPoint(93, 171));
    EXPECT_EQ(Label2()->pos(), QPoint(381, 11));
    EXPECT_EQ(Label3()->pos(), QPoint(377, 120));
    // Right of the work area, below the value box, 10 pixels from the design
    // client area's right edge and from the status bar.
    EXPECT_EQ(Image1()->geometry(), QRect(376, 165, 258, 202));
    EXPECT_EQ(StatusBar1()->height(), 22);
    EXPECT_EQ(StatusBar1()->width(), Client()->width());
    EXPECT_EQ(StatusBar1()->y() + 22, Client()->height());
}

TEST_F(MainWindowMakeUp, ControlKindsAndCaptions) {
    EXPECT_EQ(ComboBox1()->count(), 2);
    EXPECT_EQ(ComboBox1()->itemText(0), "Minimizar");
    EXPECT_EQ(ComboBox1()->itemText(1), "Maximizar");
    EXPECT_EQ(Label1()->text(), "Sujeto a:");
    EXPECT_EQ(Label2()->text(), QString::fromUtf8("Solución:"));
    EXPECT_EQ(Label3()->text(), "Valor:");
    EXPECT_EQ(Label4()->text(), "Tabla del Simplex:");
    EXPECT_EQ(Button1()->text(), QString::fromUtf8("Una Solución"));
    EXPECT_TRUE(Button1()->isDefault());
    EXPECT_EQ(Button2()->text(), "Paso a paso");
    const char* view[7] = {"Z+", "Z-", "Y+", "Y-", "X+", "X-", "Por Defecto"};
    const std::vector<QPushButton*> buttons = ViewButtons();
    for (int i = 0; i < 7; ++i) EXPECT_EQ(buttons[static_cast<size_t>(i)]->text(), view[i]);
    EXPECT_FALSE(ListBox2()->isEnabled());
    EXPECT_FALSE(ListBox3()->isEnabled());
    EXPECT_FALSE(Edit2()->isEnabled());
    EXPECT_TRUE(ListBox1()->isHidden());
    EXPECT_FALSE(ListBox1()->isEnabled());
    EXPECT_TRUE(Shape1()->isHidden());
    EXPECT_EQ(Shape1()->size(), QSize(5, 5));
    EXPECT_TRUE(Image3()->isHidden());
    EXPECT_FALSE(StringGrid1()->horizontalHeader()->isVisible());
    EXPECT_FALSE(StringGrid1()->verticalHeader()->isVisible());
    EXPECT_EQ(StringGrid1()->horizontalHeader()->defaultSectionSize(), 40);
    EXPECT_EQ(StringGrid1()->verticalHeader()->defaultSectionSize(), 16);
    EXPECT_EQ(WorkScroll()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(MainWindowMakeUp, GridCellsCanBeEditedButAreRewrittenByTheNextDisplay) {
    SolveWorkedExample();
    const QModelIndex index = GridModel()->index(1, 1);
    EXPECT_TRUE(GridModel()->flags(index) & Qt::ItemIsEditable);
    EXPECT_TRUE(GridModel()->setData(index, "typed"));
    EXPECT_EQ(Cell(1, 1), "typed");
    FloatingPoint1()->trigger();
    EXPECT_EQ(Cell(1, 1), "1");
}

TEST_F(MainWindowMakeUp, SteppingKeepsTheGridsScrollAndCurrentCell) {
    QString objective;
    QStringList lines;
    for (int i = 1; i <= 30; ++i) {
        objective += QString(i > 1 ? "+x%1" : "x%1").arg(i);
        lines << QString("x%1<%2").arg(i).arg(i) << QString("x%1>0").arg(i);
    }
    PasteProblem(1, objective, lines);
    Press(Button2());
    ASSERT_EQ(GridModel()->rowCount(), 32);
    QScrollBar* rows = StringGrid1()->verticalScrollBar();
    QScrollBar* cols = StringGrid1()->horizontalScrollBar();
    ASSERT_GT(rows->maximum(), 5);
    ASSERT_GT(cols->maximum(), 5);
    StringGrid1()->setCurrentIndex(GridModel()->index(5, 7));
    rows->setValue(rows->maximum() / 2);
    cols->setValue(cols->maximum() / 2);
    const int row = rows->value(), col = cols->value();
    const QModelIndex valueCell = GridModel()->index(31, 31);
    const QString before = GridModel()->data(valueCell).toString();
    Press(Button2());
    Press(Button2());
    EXPECT_EQ(rows->value(), row);
    EXPECT_EQ(cols->value(), col);
    EXPECT_EQ(StringGrid1()->currentIndex(), GridModel()->index(5, 7));
    // The cells are those of the new step, not the old ones.
    EXPECT_NE(GridModel()->data(valueCell).toString(), before);
    EXPECT_EQ(GridModel()->data(valueCell).toString(), Edit2()->text());
}

TEST_F(MainWindowMakeUp, TabVisitsObjectiveConstraintsSenseSolveButtonAndGridOnly) {
    Edit1()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Edit1());
    // The grid is a tab stop, so that a pivot can be chosen from the keyboard.
    QWidget* expected[] = {RichEdit1(), ComboBox1(), Button1(), StringGrid1(), Edit1()};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

TEST_F(MainWindowMakeUp, DefaultViewIsSetAtCreation) {
    const MatrixR& P = form->State().plot.ViewProjection;
    const double h = std::sqrt(3.0) * 0.5;
    EXPECT_EQ(P.Index(1, 1), -h);
    EXPECT_EQ(P.Index(1, 2), h);
    EXPECT_EQ(P.Index(1, 3), 0.0);
    EXPECT_EQ(P.Index(2, 1), -0.5);
    EXPECT_EQ(P.Index(2, 2), -0.5);
    EXPECT_EQ(P.Index(2, 3), 1.0);
}

TEST_F(MainWindowMakeUp, EnlargeHidesExactlyTheWorkAreaAndRestoreBringsItBack) {
    SolveWorkedExample();
    std::vector<QWidget*> work = {Image1(), RichEdit1(), Edit1(), Edit2(), ComboBox1(),
                                  StringGrid1(), ListBox2(), ListBox3(), StatusBar1(),
                                  Label1(), Label2(), Label3(), Label4(), Button1(), Button2()};
    for (QPushButton* b : ViewButtons()) work.push_back(b);
    const bool markerShown = !Shape1()->isHidden();

    Enlarge1()->trigger();
    for (QWidget* w : work) EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
    EXPECT_FALSE(Image3()->isHidden());
    EXPECT_EQ(Image3()->geometry(), QRect(0, 0, Client()->width() - 1, Client()->height() - 1));
    EXPECT_TRUE(Image3()->HasPicture());
    EXPECT_EQ(Image3()->Picture().size(), Image3()->size());
    EXPECT_FALSE(Enlarge1()->isEnabled());
    EXPECT_TRUE(Restore1()->isEnabled());
    for (QAction* a : {Open1(), Save1(), Saveas1(), Clear1()}) EXPECT_FALSE(a->isEnabled());
    for (QAction* a : {Exit1(), FloatingPoint1(), Rational1(), ViewAxis1(), SaveImageAs1(),
                       Readme1(), About1()})
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    EXPECT_EQ(!Shape1()->isHidden(), markerShown);
    EXPECT_TRUE(ListBox1()->isHidden());
    EXPECT_EQ(WorkScroll()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    Restore1()->trigger();
    for (QWidget* w : work) EXPECT_FALSE(w->isHidden()) << w->objectName().toStdString();
    EXPECT_TRUE(Image3()->isHidden());
    EXPECT_TRUE(Enlarge1()->isEnabled());
    EXPECT_FALSE(Restore1()->isEnabled());
    for (QAction* a : {Open1(), Save1(), Saveas1(), Clear1()}) EXPECT_TRUE(a->isEnabled());
    EXPECT_TRUE(form->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(ListBox1()->isHidden());
    EXPECT_EQ(WorkScroll()->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(Image1()->geometry(), QRect(376, 165, 258, 202));
}

TEST_F(MainWindowMakeUp, ResizingPlacesThePictureAnewAndWhileEnlargedOnlyTheEnlargedOne) {
    SolveWorkedExample();
    form->resize(700, 520);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Client()->width() == 700; }));
    // Right of the work area below the value box, 10 pixels from the edges,
    // drawn at its new size.
    // The explanation's band under the work area is no part of its room,
    // and the work area is never smaller than at the design size.
    const auto* band = form->findChild<QWidget*>("Explicacion");
    const QSize client =
        (Client()->size() - QSize(0, band->isVisible() ? band->height() : 0)).expandedTo(QSize(644, 399));
    const QRect placed = Image1()->geometry();
    EXPECT_EQ(placed, QRect(Edit2()->x(), Edit2()->geometry().bottom() + 11, client.width() - Edit2()->x() - 10,
                            client.height() - 22 - 10 - Edit2()->geometry().bottom() - 11));
    EXPECT_GT(placed.width(), 258);
    EXPECT_EQ(Image1()->Picture().size(), placed.size());

    Enlarge1()->trigger();
    form->resize(760, 560);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Client()->width() == 760; }));
    const QSize enlarged = Client()->size();
    EXPECT_EQ(Image3()->geometry(), QRect(0, 0, enlarged.width() - 1, enlarged.height() - 1));
    EXPECT_EQ(Image3()->Picture().size(), Image3()->size());
    EXPECT_EQ(Image1()->geometry(), placed);
}

TEST_F(MainWindowMakeUp, ViewButtonsEnabledExactlyAfterAThreeVariableProblem) {
    EXPECT_EQ(EnabledViewButtons(), 0);
    SolveWorkedExample();
    EXPECT_EQ(EnabledViewButtons(), 0);
    SolveUnitCube();
    EXPECT_EQ(EnabledViewButtons(), 7);
    // One variable: the build clears the picture, nothing is drawn on it,
    // the buttons go off.
    PasteProblem(1, "x", {"x<1", "x>0"});
    Press(Button1());
    ASSERT_EQ(Panel(1), "Hecho");
    EXPECT_EQ(EnabledViewButtons(), 0);
    QImage cleared(Image1()->size(), QImage::Format_RGB32);
    cleared.fill(QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(Image1()->Picture(), cleared);
    // A redraw that draws nothing shows the empty picture, whatever was there.
    Image1()->Canvas().fill(Qt::magenta);
    form->Button9Click();
    EXPECT_EQ(Image1()->Picture(), cleared);
    SolveUnitCube();
    PasteProblem(1, "a+b+c+d", {"a<1", "b<1", "c<1", "d<1", "a,b,c,d>0"});
    Press(Button1());
    EXPECT_EQ(EnabledViewButtons(), 0);
}

TEST_F(MainWindowMakeUp, RotationsAccumulateAndDefaultRestoresExactly) {
    SolveUnitCube();
    const MatrixR start = form->State().plot.ViewProjection;
    auto near = [&](const MatrixR& a, double tolerance) {
        for (uint32_t i = 1; i <= 2; ++i)
            for (uint32_t j = 1; j <= 3; ++j)
                if (std::fabs(a.Index(i, j) - start.Index(i, j)) > tolerance) return false;
        return true;
    };
    for (auto pair : {std::pair{Button3(), Button4()}, std::pair{Button5(), Button6()},
                      std::pair{Button7(), Button8()}}) {
        Press(pair.first);
        EXPECT_FALSE(near(form->State().plot.ViewProjection, 1e-3));
        Press(pair.second);
        EXPECT_TRUE(near(form->State().plot.ViewProjection, 1e-12));
    }
    for (int i = 0; i < 36; ++i) Press(Button3());
    EXPECT_TRUE(near(form->State().plot.ViewProjection, 1e-12));
    Press(Button5());
    Press(Button8());
    Press(Button9());
    EXPECT_TRUE(near(form->State().plot.ViewProjection, 0.0));
    EXPECT_EQ(EnabledViewButtons(), 7);
}

TEST_F(MainWindowMakeUp, AxesSwitchTurnsItsMarkAndRedrawsTheShowingPicture) {
    SolveWorkedExample();
    ViewAxis1()->trigger();
    EXPECT_FALSE(ViewAxis1()->isChecked());
    ViewAxis1()->trigger();
    EXPECT_TRUE(ViewAxis1()->isChecked());

    Enlarge1()->trigger();
    Image1()->Canvas().fill(Qt::magenta);
    Image3()->Canvas().fill(Qt::magenta);
    ViewAxis1()->trigger();
    EXPECT_FALSE(ViewAxis1()->isChecked());
    EXPECT_NE(Image3()->Picture().pixelColor(1, 1), QColor(Qt::magenta));
    EXPECT_EQ(Image1()->Picture().pixelColor(1, 1), QColor(Qt::magenta));
}

TEST_F(MainWindowMakeUp, SavedBitmapReadsBackWithThePicturesSize) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        // No picture yet: nothing is written.
        ModalAnswerer answerer({ModalAnswerer::ChooseFile(dir.filePath("empty.bmp"))});
        SaveImageAs1()->trigger();
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_FALSE(QFile::exists(dir.filePath("empty.bmp")));
    }
    SolveWorkedExample();
    {
        ModalAnswerer answerer({ModalAnswerer::Cancel()});
        SaveImageAs1()->trigger();
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
    {
        ModalAnswerer answerer({ModalAnswerer::ChooseFile(dir.filePath("region"))});
        SaveImageAs1()->trigger();
        const QString saved = dir.filePath("region.bmp");
        ASSERT_TRUE(QFile::exists(saved));
        QFile file(saved);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.read(2), "BM");
        const QImage back(saved, "BMP");
        EXPECT_EQ(back.size(), Image1()->size());
        EXPECT_EQ(back.pixelColor(10, 10), Image1()->Picture().pixelColor(10, 10));
    }
    Enlarge1()->trigger();
    {
        ModalAnswerer answerer({ModalAnswerer::ChooseFile(dir.filePath("large.bmp"))});
        SaveImageAs1()->trigger();
        EXPECT_EQ(QImage(dir.filePath("large.bmp")).size(), Image3()->size());
    }
}

TEST_F(MainWindowMakeUp, UnwritableBitmapGoesToTheErrorBox) {
    SolveWorkedExample();
    // A file standing where a directory should be: the bitmap cannot be created.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile blocker(dir.filePath("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString target = dir.filePath("plain/region.bmp");
    ModalAnswerer answerer({ModalAnswerer::ChooseFile(target), ModalAnswerer::Click(QMessageBox::Ok)});
    SaveImageAs1()->trigger();
    ASSERT_EQ(answerer.Seen().size(), 2u);
    EXPECT_EQ(answerer.Seen()[1].text, "Cannot create file " + target + ".");
    EXPECT_EQ(answerer.Seen()[1].title, "Optimara");
    EXPECT_EQ(answerer.Seen()[1].icon, QMessageBox::Critical);
    // The window goes on.
    Press(Button2());
    EXPECT_EQ(Panel(0), "");
}

TEST_F(MainWindowMakeUp, AuxiliaryWindowsOpenWithoutBlockingAndOnlyOnce) {
    TForm2 about;
    TForm4 readme;
    form->SetAuxWindows(&about, &readme);
    for (int i = 0; i < 2; ++i) {
        About1()->trigger();
        Readme1()->trigger();
    }
    EXPECT_TRUE(about.isVisible());
    EXPECT_TRUE(readme.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(about.windowTitle(), "Acerca de...");
    EXPECT_EQ(readme.windowTitle(), "Readme.txt");
    EXPECT_EQ(about.ProductName->text(), "Optimara");
    EXPECT_EQ(about.Version->text(), "Version 4.0");
    EXPECT_EQ(about.Licence->text(), QString::fromUtf8("Software libre: GNU GPL versión 3 o posterior"));
    // The licence line is shown whole in the fixed window.
    EXPECT_GE(about.Licence->height(), about.Licence->heightForWidth(about.Licence->width()));
    EXPECT_TRUE(about.rect().contains(QRect(about.Licence->mapTo(&about, QPoint()), about.Licence->size())));
    EXPECT_EQ(about.OKButton->text(), "&OK");
    EXPECT_EQ(about.ProgramIconLabel->pixmap().size(), QSize(64, 64));
    EXPECT_TRUE(readme.Memo1->isReadOnly());
    // The main window stays usable while they are open.
    PasteProblem(1, "x", {"x<2", "x>0"});
    Press(Button1());
    EXPECT_EQ(Panel(1), "Hecho");
    QTest::mouseClick(about.OKButton, Qt::LeftButton);
    QTest::mouseClick(readme.Button1, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_FALSE(readme.isVisible());
}

TEST(ReadmeText, Utf8AndWindows1252FilesAreBothRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile utf8(dir.filePath("a.txt"));
    ASSERT_TRUE(utf8.open(QIODevice::WriteOnly));
    utf8.write("Programaci\xc3\xb3n lineal\r\nl\xc3\xadnea 2\r\n");
    utf8.close();
    QFile ansi(dir.filePath("b.txt"));
    ASSERT_TRUE(ansi.open(QIODevice::WriteOnly));
    ansi.write("Programaci\xf3n \x80 \x93x\x94\r\nl\xednea 2");
    ansi.close();

    TForm4 readme;
    readme.FormCreate(dir.filePath("a.txt"));
    EXPECT_EQ(readme.Memo1->toPlainText(), QString::fromUtf8("Programación lineal\nlínea 2\n"));
    readme.FormCreate(dir.filePath("b.txt"));
    EXPECT_EQ(readme.Memo1->toPlainText(), QString::fromUtf8("Programación € “x”\nlínea 2"));
    try {
        readme.FormCreate(dir.filePath("missing.txt"));
        ADD_FAILURE() << "a missing file must fail";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.filePath("missing.txt").toStdString());
    }
}

// Only a regular file is read: a pipe or a folder in its place is a file
// that cannot be opened (a pipe would wait for a writer for ever).
TEST(ReadmeText, OnlyRegularFilesAreRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pipe = dir.filePath("pipe.txt"), folder = dir.filePath("folder.txt");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.txt"));
    TForm4 readme;
    for (const QString& name : {pipe, folder}) {
        try {
            readme.FormCreate(name);
            ADD_FAILURE() << "read " << name.toStdString();
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file " + name.toStdString());
        }
    }
    QFile bom(dir.filePath("bom.txt"));
    ASSERT_TRUE(bom.open(QIODevice::WriteOnly));
    bom.write("\xef\xbb\xbfL\xc3\xa9" "ame\r\n");
    bom.close();
    readme.FormCreate(bom.fileName());
    EXPECT_EQ(readme.Memo1->toPlainText(), QString::fromUtf8("Léame\n"));
}

TEST(StartUp, MissingReadmeIsReportedAndStartUpGoesOn) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    std::unique_ptr<Windows> windows;
    {
        ModalAnswerer answerer({ModalAnswerer::Click(QMessageBox::Ok)});
        windows = CreateWindows();
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen()[0].text, QString::fromUtf8("Cannot open file Léame.txt."));
        EXPECT_EQ(answerer.Seen()[0].title, "Optimara");
        EXPECT_EQ(answerer.Seen()[0].icon, QMessageBox::Critical);
    }
    QDir::setCurrent(previous);
    ASSERT_TRUE(windows && windows->main && windows->about && windows->readme);
    EXPECT_EQ(windows->readme->Memo1->toPlainText(), "");
    EXPECT_TRUE(windows->readme->isHidden());
    EXPECT_TRUE(windows->about->isHidden());
    EXPECT_EQ(QApplication::applicationName(), "Optimara");
    EXPECT_FALSE(QApplication::windowIcon().isNull());
}

TEST(StartUp, DesignFacesResolveToMetricCompatibleFaces) {
    EXPECT_EQ(QFontInfo(QFont("Arial", 8)).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(QFont("Courier New", 8)).family(), "Liberation Mono");
    EXPECT_EQ(QFontInfo(QFont("MS Sans Serif", 8)).family(), "Liberation Sans");
}

} // namespace
} // namespace optimara::uitest
