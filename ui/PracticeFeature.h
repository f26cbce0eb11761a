// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Modo práctica": the student makes the step. While it is on the grid is
// the practice's own: the tableau without the rule's marks or quotients,
// the chosen column and row lit, then the next tableau to type, its wrong
// cells marked after "Comprobar". The choices and the checks are the solve
// session's; this feature shows them and passes the student's input on.
#include <QAbstractTableModel>

#include "Feature.h"

class QAbstractItemModel;
class QPushButton;

namespace optimara {

// The practice grid: fixed texts, typed cells and the marks on them.
class PracticeModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PracticeModel(QObject* parent) : QAbstractTableModel(parent) {}
    enum class Look : uint8_t { Plain, Lit, Wrong };
    void SetGrid(int rows, int cols, std::vector<std::string> texts, std::vector<char> editable);
    void SetLook(int row, int col, Look look);
    const std::string& Text(int row, int col) const { return texts_[Index(row, col)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : cols_; }
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    size_t Index(int row, int col) const { return size_t(row) * size_t(cols_) + size_t(col); }
    int rows_ = 0, cols_ = 0;
    std::vector<std::string> texts_;
    std::vector<char> editable_;
    std::vector<Look> looks_;
};

class PracticeFeature : public Feature {
    Q_OBJECT
public:
    explicit PracticeFeature(FeatureHost& host);

    void Start() override;
    void TableauShown() override;
    void StepsShown() override;
    void ZoomChanged(int percent) override;
    void WorkAreaShown(bool visible) override;

    PracticeModel* Model() const { return model_; }

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Practice1Click();
    void Choose(const QModelIndex& index);
    void Check1Click();
    void Hint1Click();
    void ShowStep1Click();
    void ShowGrid();
    void ShowCurrent();
    void ShowTyping();
    void Say();
    void PlaceButton();
    void FitColumns();

    QAction* Practice1 = nullptr;
    QAction* Check1 = nullptr;
    QAction* Hint1 = nullptr;
    QAction* ShowStep1 = nullptr;
    QPushButton* CheckButton = nullptr;
    PracticeModel* model_ = nullptr;
    QAbstractItemModel* windowModel_ = nullptr;  // the grid's own, put back when practice ends
    uint32_t typing_ = 0;                         // the target whose cells the model holds
};

} // namespace optimara
