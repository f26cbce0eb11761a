// SPDX-License-Identifier: GPL-3.0-or-later
#include "MethodFeature.h"

#include <QActionGroup>
#include <QMenu>
#include <QSettings>

#include "Integers.h"
#include "Path.h"
#include "Questions.h"
#include "Zoom.h"

namespace optimara {

namespace {

constexpr char kMethodKey[] = "pasos/metodo";
constexpr char kIntegersKey[] = "pasos/entero";
constexpr char kFromParentKey[] = "pasos/nodos-desde-el-padre";

struct MethodItem {
    const char* caption;
    const char* name;
};
const std::array<MethodItem, 4> kMethods = {{
    {"&Compacto (sin artificiales)", "MethodCompact1"},
    {"&Dos fases", "MethodTwoPhases1"},
    {"&Gran M", "MethodBigM1"},
    {"Símplex d&ual", "MethodDual1"},
}};
const std::array<MethodItem, 2> kIntegers = {{
    {"&Ramificación y acotación", "IntegerBranch1"},
    {"&Planos de corte (Gomory)", "IntegerCuts1"},
}};

int Stored(const char* key, int count) {
    const int stored = QSettings("Optimara", "Optimara").value(key, 0).toInt();
    return stored >= 0 && stored < count ? stored : 0;
}

template <size_t N>
QMenu* ExclusiveMenu(FeatureHost& host, const char* title, const char* name, const std::array<MethodItem, N>& items,
                     int checked, std::array<QAction*, N>& actions) {
    QMenu* menu = host.AddMenu(MenuPlace::StepsMethods, QString::fromUtf8(title), name);
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    for (size_t k = 0; k < N; ++k) {
        actions[k] = menu->addAction(QString::fromUtf8(items[k].caption));
        actions[k]->setObjectName(items[k].name);
        actions[k]->setCheckable(true);
        actions[k]->setChecked(int(k) == checked);
        group->addAction(actions[k]);
    }
    return menu;
}

} // namespace

MethodFeature::MethodFeature(FeatureHost& host) : Feature(host) {
    setObjectName("MethodFeature");
    host_.AddMenuSeparator(MenuPlace::StepsMethods);
    CreateMethodMenu();
    CreateIntegerMenu();
    AddConstraint1 = host_.AddMenuItem(MenuPlace::StepsMethods, QString::fromUtf8("Añadir restricción..."),
                                       "AddConstraint1");
    OnTrigger(AddConstraint1, [this] { AddConstraint1Click(); });
    StepsShown();
}

void MethodFeature::CreateMethodMenu() {
    const int stored = Stored(kMethodKey, int(kMethods.size()));
    host_.State().SetMethod(SolveMethod(stored));
    MethodMenu1 = ExclusiveMenu(host_, "&Método", "MethodMenu1", kMethods, stored, methods_);
    for (size_t k = 0; k < methods_.size(); ++k)
        OnTrigger(methods_[k], [this, k] { ChooseMethod(SolveMethod(k)); });
}

void MethodFeature::CreateIntegerMenu() {
    const int stored = Stored(kIntegersKey, int(kIntegers.size()));
    host_.State().SetIntegers(IntegerMethod(stored));
    IntegerMethodMenu1 = ExclusiveMenu(host_, "Método e&ntero", "IntegerMethodMenu1", kIntegers, stored, integers_);
    for (size_t k = 0; k < integers_.size(); ++k)
        OnTrigger(integers_[k], [this, k] { ChooseIntegers(IntegerMethod(k)); });
    IntegerMethodMenu1->addSeparator();
    NodesFromParent1 = IntegerMethodMenu1->addAction("Nodos desde el padre");
    NodesFromParent1->setObjectName("NodesFromParent1");
    NodesFromParent1->setCheckable(true);
    const bool fromParent = QSettings("Optimara", "Optimara").value(kFromParentKey, false).toBool();
    NodesFromParent1->setChecked(fromParent);
    host_.State().SetNodesFromParent(fromParent);
    OnToggle(NodesFromParent1, [this] {
        NodesFromParent1->setChecked(!NodesFromParent1->isChecked());
        host_.State().SetNodesFromParent(NodesFromParent1->isChecked());
        QSettings("Optimara", "Optimara").setValue(kFromParentKey, NodesFromParent1->isChecked());
    });
}

void MethodFeature::ChooseMethod(SolveMethod method) {
    // From the next build: the problem on screen keeps the method it has.
    methods_[size_t(method)]->setChecked(true);
    host_.State().SetMethod(method);
    QSettings("Optimara", "Optimara").setValue(kMethodKey, int(method));
}

void MethodFeature::ChooseIntegers(IntegerMethod method) {
    integers_[size_t(method)]->setChecked(true);
    host_.State().SetIntegers(method);
    QSettings("Optimara", "Optimara").setValue(kIntegersKey, int(method));
}

void MethodFeature::StepsShown() {
    const AppState& state = host_.State();
    AddConstraint1->setEnabled(host_.WorkAreaVisible() && state.Ready() &&
                               state.problem.Stage == SolveStage::Optimal && !state.Branches.Started() &&
                               !state.Cutting());
}

void MethodFeature::AddConstraint1Click() {
    StepsShown();
    if (!AddConstraint1->isEnabled()) return;
    const QString line = host_.Ask().AskConstraint(host_.Window()).trimmed();
    if (line.isEmpty()) return;
    const std::string refusal = host_.State().AddConstraint(line.toStdString(), host_.Solver());
    if (!refusal.empty()) ShowErrorBox(QString::fromStdString(refusal));
    host_.ShowStepAids();
}

void MethodFeature::DrawLayer(QImage& layer, const QSize& size, int variables) {
    const AppState& state = host_.State();
    if ((variables != 2 && variables != 3) || state.Cuts().empty()) return;
    if (layer.isNull()) {
        layer = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
    }
    if (variables == 3) {
        DrawCutPlanes(layer);
        return;
    }
    // Each cut's plane is a·x + b·y + c <= 0: its line through the point of
    // it nearest the origin.
    for (const GomoryCut& cut : state.Cuts()) {
        if (cut.plane.size() < 3) continue;
        const double a = cut.plane[0], b = cut.plane[1], c = cut.plane[2];
        const double norm = a * a + b * b;
        if (norm == 0) continue;
        const double point[2] = {-c * a / norm, -c * b / norm};
        DrawLevelLine(layer, state.plot, a, b, point, kCutMagenta);
    }
}

// In space each cut is the outline of its plane through the region as
// typed, the cuts' own rows left out, so that each shows whole.
void MethodFeature::DrawCutPlanes(QImage& layer) {
    const AppState& state = host_.State();
    const MatrixR& all = state.problem.ConstraintPlanes;
    if (all.cols != 4) return;
    std::vector<char> cutRow(all.rows + 1, 0);
    std::vector<PlaneCut> cuts;
    for (const GomoryCut& cut : state.Cuts()) {
        if (cut.planeRow >= 1 && cut.planeRow <= all.rows) cutRow[cut.planeRow] = 1;
        if (cut.plane.size() == 4) cuts.push_back({{cut.plane[0], cut.plane[1], cut.plane[2]}, cut.plane[3]});
    }
    uint32_t kept = 0;
    for (uint32_t i = 1; i <= all.rows; ++i) kept += cutRow[i] ? 0 : 1;
    MatrixR region(kept, 4);
    for (uint32_t i = 1, k = 0; i <= all.rows; ++i)
        if (!cutRow[i]) {
            ++k;
            for (uint32_t j = 1; j <= 4; ++j) region.Index(k, j) = all.Index(i, j);
        }
    DrawPlaneCuts(layer, state.plot, region, cuts, kCutMagenta, ZoomedLineWidth(host_.Zoom()));
}

} // namespace optimara
