// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window with its learning aids as the tests of the steps reach them:
// the items by name, the grid's texts and menu, and a step's whole state.
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTableView>

#include "UiTestSupport.h"

namespace optimara::uitest {

// Everything a step back must bring back, as the user and the engine see it.
struct Seen {
    std::vector<uint64_t> tableau;
    uint32_t rows = 0, cols = 0;
    std::vector<int32_t> labels, marks;
    int32_t candidates = 0;
    uint32_t random = 0;
    std::string panels[3];
    QStringList grid, solution, freeVariables;
    QString value;
    bool markerVisible = false;
    QPoint marker;
    QImage picture;
    bool operator==(const Seen&) const = default;
};

template <typename M>
std::vector<int32_t> Ints(const M& z) {
    std::vector<int32_t> out;
    for (uint32_t r = 1; r <= z.rows; ++r)
        for (uint32_t c = 1; c <= z.cols; ++c) out.push_back(z.Index(r, c));
    return out;
}

// The settings keys a test changes, put back as they were when it ends.
// Made with the fixture, before its window reads them; gone after it.
class KeptSettings {
public:
    explicit KeptSettings(std::initializer_list<const char*> keys) {
        const QSettings store("Optimara", "Optimara");
        for (const char* key : keys) kept_[key] = store.value(key);
    }
    ~KeptSettings() {
        QSettings store("Optimara", "Optimara");
        for (const auto& [key, value] : kept_) {
            if (value.isValid()) store.setValue(QString::fromStdString(key), value);
            else store.remove(QString::fromStdString(key));
        }
    }

private:
    std::map<std::string, QVariant> kept_;
};

class LearningAids : public WindowTest {
protected:
    template <typename T>
    T* Find(const char* name) {
        T* found = form->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAction* Action(const char* name) { return Find<QAction>(name); }
    QTableView* Grid() { return Find<QTableView>("StringGrid1"); }
    StatusPanels* Status() { return Find<StatusPanels>("StatusBar1"); }
    void Step() { QTest::mouseClick(Find<QPushButton>("Button2"), Qt::LeftButton); }
    void Solve() { QTest::mouseClick(Find<QPushButton>("Button1"), Qt::LeftButton); }
    QString GridText(int col, int row) { return Grid()->model()->index(row, col).data().toString(); }

    Seen Capture() {
        const ProblemState& p = form->State().problem;
        Seen s;
        s.rows = p.Tableau.rows;
        s.cols = p.Tableau.cols;
        for (uint32_t r = 1; r <= s.rows; ++r)
            for (uint32_t c = 1; c <= s.cols; ++c) {
                const double x = p.Tableau.Index(r, c);
                uint64_t bits;
                std::memcpy(&bits, &x, sizeof bits);
                s.tableau.push_back(bits);
            }
        s.labels = Ints(p.Labels);
        s.marks = Ints(p.PivotMarks);
        s.candidates = p.CandidateCount;
        s.random = p.Random.state;
        for (int k = 0; k < 3; ++k) s.panels[k] = Status()->Text(k);
        const QAbstractItemModel* model = Grid()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            for (int c = 0; c < model->columnCount(); ++c) s.grid << model->index(r, c).data().toString();
        s.solution = Items(Find<QListWidget>("ListBox2"));
        s.freeVariables = Items(Find<QListWidget>("ListBox3"));
        s.value = Find<QLineEdit>("Edit2")->text();
        const QWidget* marker = Find<QWidget>("Shape1");
        s.markerVisible = !marker->isHidden();
        // A hidden marker keeps whatever place it last had; only a shown one has a place.
        if (s.markerVisible) s.marker = marker->pos();
        s.picture = Find<PictureBox>("Image1")->Shown();
        return s;
    }

    // The grid cells holding a tied candidate ("*", not the chosen "**").
    std::vector<QPoint> Candidates() {
        std::vector<QPoint> cells;
        const QAbstractItemModel* model = Grid()->model();
        for (int r = 1; r < model->rowCount(); ++r)
            for (int c = 1; c < model->columnCount(); ++c) {
                const QString text = GridText(c, r);
                if (text.startsWith('*') && !text.startsWith("**")) cells.push_back({c, r});
            }
        return cells;
    }
    QPoint Chosen() {
        const QAbstractItemModel* model = Grid()->model();
        for (int r = 1; r < model->rowCount(); ++r)
            for (int c = 1; c < model->columnCount(); ++c)
                if (GridText(c, r).startsWith("**")) return {c, r};
        return {-1, -1};
    }
    // The right button on a grid cell: true when it offers "Pivotar aquí".
    bool RightClick(QPoint cell) {
        QTableView* grid = Grid();
        grid->scrollTo(grid->model()->index(cell.y(), cell.x()));
        const QPoint at = grid->visualRect(grid->model()->index(cell.y(), cell.x())).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid->viewport(), &event);
        QMenu* menu = Find<QMenu>("GridMenu1");
        const bool offered = menu->isVisible();
        if (offered) {
            EXPECT_EQ(menu->actions().value(0)->text(), QString::fromUtf8("Pivotar aquí"));
            menu->hide();
        }
        return offered;
    }
};

} // namespace optimara::uitest
