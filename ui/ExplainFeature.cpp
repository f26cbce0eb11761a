// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExplainFeature.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPlainTextEdit>
#include <algorithm>

#include "Application.h"
#include "Display.h"
#include "Explanation.h"
#include "FormView.h"
#include "MethodTexts.h"
#include "PracticeTexts.h"
#include "Preferences.h"
#include "SessionTexts.h"
#include "StepsReport.h"
#include "ZoomedFont.h"

namespace optimara {

namespace {

QAction* AddCheckable(QMenu* menu, const QString& caption, const QString& name, bool checked) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    item->setCheckable(true);
    item->setChecked(checked);
    return item;
}

QAction* Checkable(QAction* item, bool checked) {
    item->setCheckable(true);
    item->setChecked(checked);
    return item;
}

} // namespace

ExplainFeature::ExplainFeature(FeatureHost& host) : Feature(host) {
    setObjectName("ExplainFeature");
    CreateMenus();
    Explicacion = new QPlainTextEdit;
    Explicacion->setObjectName("Explicacion");
    Explicacion->setReadOnly(true);
    Explicacion->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Explicacion->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Explicacion->setFocusPolicy(Qt::ClickFocus);
    QFont font("Arial", 9);
    Explicacion->setFont(font);
    host_.PlaceBand(Explicacion);
    host_.ShowBand(ViewExplanation1->isChecked());
    Wire();
}

void ExplainFeature::CreateMenus() {
    const files::Preferences preferences = files::ReadPreferences();
    host_.AddMenuSeparator(MenuPlace::StepsExplanation);
    RuleMenu1 = host_.AddMenu(MenuPlace::StepsExplanation, "Regla de &pivote", "RuleMenu1");
    auto* rules = new QActionGroup(RuleMenu1);
    rules->setExclusive(true);
    RuleRandom1 = AddCheckable(RuleMenu1, "&Aleatoria", "RuleRandom1", preferences.pivotRule == 0);
    RuleLargest1 = AddCheckable(RuleMenu1, "Mayor &coeficiente", "RuleLargest1", preferences.pivotRule == 1);
    RuleBland1 = AddCheckable(RuleMenu1, QString::fromUtf8("Menor &índice (Bland)"), "RuleBland1",
                              preferences.pivotRule == 2);
    for (QAction* item : {RuleRandom1, RuleLargest1, RuleBland1}) rules->addAction(item);
    host_.State().problem.Rule = static_cast<PivotRule>(preferences.pivotRule);
    ViewExplanation1 = Checkable(host_.AddMenuItem(MenuPlace::StepsExplanation, QString::fromUtf8("&Ver explicación"),
                                                   "ViewExplanation1"),
                                 preferences.explanation);
    host_.AddMenuSeparator(MenuPlace::NotationOptions);
    SlackNames1 = Checkable(host_.AddMenuItem(MenuPlace::NotationOptions, "&Nombres de holgura", "SlackNames1"),
                            preferences.slackNames);
    host_.State().slackNames = preferences.slackNames;
    ExactArithmetic1 = Checkable(
        host_.AddMenuItem(MenuPlace::NotationOptions, QString::fromUtf8("&Aritmética exacta"), "ExactArithmetic1"),
        preferences.exact);
    host_.State().problem.Exact = preferences.exact;
}

void ExplainFeature::Wire() {
    const auto rule = [this](QAction* item, PivotRule chosen) {
        OnTrigger(item, [this, chosen] { RuleClick(chosen); });
    };
    rule(RuleRandom1, PivotRule::Random);
    rule(RuleLargest1, PivotRule::LargestCoefficient);
    rule(RuleBland1, PivotRule::SmallestIndex);
    OnToggle(ViewExplanation1, [this] { ViewExplanation1Click(); });
    OnToggle(SlackNames1, [this] { SlackNames1Click(); });
    OnToggle(ExactArithmetic1, [this] { ExactArithmetic1Click(); });
}

void ExplainFeature::SavePreferences() const {
    // The other choices kept in the same store stay as they are.
    files::Preferences p = files::ReadPreferences();
    p.pivotRule = RuleLargest1->isChecked() ? 1 : RuleBland1->isChecked() ? 2 : 0;
    p.explanation = ViewExplanation1->isChecked();
    p.slackNames = SlackNames1->isChecked();
    p.exact = ExactArithmetic1->isChecked();
    files::WritePreferences(p);
}

void ExplainFeature::RuleClick(PivotRule rule) {
    // The tableau on screen keeps the pivot already chosen for it; the new
    // rule makes the next choice.
    QAction* item = rule == PivotRule::LargestCoefficient ? RuleLargest1
                    : rule == PivotRule::SmallestIndex    ? RuleBland1
                                                          : RuleRandom1;
    item->setChecked(true);
    host_.State().problem.Rule = rule;
    SavePreferences();
}

void ExplainFeature::ViewExplanation1Click() {
    ViewExplanation1->setChecked(!ViewExplanation1->isChecked());
    SavePreferences();
    host_.ShowBand(ViewExplanation1->isChecked());
    TableauShown();
}

void ExplainFeature::SlackNames1Click() {
    SlackNames1->setChecked(!SlackNames1->isChecked());
    SavePreferences();
    host_.State().slackNames = SlackNames1->isChecked();
    host_.ShowTableau();
}

void ExplainFeature::ExactArithmetic1Click() {
    ExactArithmetic1->setChecked(!ExactArithmetic1->isChecked());
    SavePreferences();
    ProblemState& problem = host_.State().problem;
    problem.Exact = ExactArithmetic1->isChecked();
    // A problem on screen is solved anew from its text in the other arithmetic.
    if (!problem.ProblemReady) return;
    problem.ProblemReady = false;
    host_.SolveAgain();
}

void ExplainFeature::ZoomChanged(int percent) {
    SetZoomedFont(Explicacion, percent);
    LayOutWholly(Explicacion);
}

void ExplainFeature::WorkAreaShown(bool visible) { host_.ShowBand(visible && ViewExplanation1->isChecked()); }

void ExplainFeature::TableauShown() {
    if (!ViewExplanation1->isChecked()) return;
    const AppState& state = host_.State();
    if (!host_.ErrorFree() || !state.Steps.Started() || !FitsTableau(state.problem)) {
        Explicacion->setPlainText(QString::fromStdString(host_.Status().Text(0)));
        return;
    }
    bool onlySearch = false;
    const std::string search = SearchWords(state, host_.Floating(), host_.DecimalSeparator(), onlySearch);
    if (onlySearch) {
        Explicacion->setPlainText(QString::fromStdString(search));
        return;
    }
    const StepFacts facts = FactsOf(state.Steps, state.Steps.Steps(), host_.Maximizing());
    const NumberText numbers{host_.Floating(), host_.DecimalSeparator()};
    // The student makes the step: the explanation would give it away.
    if (state.practice.On() && state.Running() && state.problem.Stage == SolveStage::Choosing) {
        Explicacion->setPlainText(QString::fromStdString(PracticeText(state, numbers)));
        return;
    }
    const Explanation e = ExplainInForm(state.problem, facts, numbers, state.form);
    // A textbook form starts from the problem as the method reads it.
    std::string standard;
    if (state.form != TableauForm::Compact && state.Steps.Steps() == 0 && !state.Branches.Started())
        for (const std::string& line : StandardFormLines(state.problem, numbers))
            standard += (standard.empty() ? "Forma estándar:\n" : "\n") + line;
    // The ratio table's columns, as wide as a 15-digit number in the zoomed font.
    Explicacion->setTabStopDistance(QFontMetricsF(Explicacion->font()).horizontalAdvance(QLatin1Char('0')) * 20);
    const std::string method = MethodExplanation(state, numbers);
    // In practice the student's answer and next move come first.
    const std::string practice = PracticeText(state, numbers);
    Explicacion->setPlainText(QString::fromStdString((practice.empty() ? "" : practice + "\n\n") +
                                                     (standard.empty() ? "" : standard + "\n\n") + ExplanationText(e) +
                                                     (method.empty() ? "" : "\n\n" + method) +
                                                     (search.empty() ? "" : "\n\n" + search)));
}

void ExplainFeature::PivotRefused(int gridRow, int gridCol) {
    // The grid's cell is the current form's; the reason is the tableau's cell's.
    const AppState& state = host_.State();
    // Practice answers every choice itself.
    if (state.practice.On()) return;
    const PivotCell cell = state.TableauCell(gridRow, gridCol);
    const std::string why =
        WhyNotPivot(state.problem, cell.row, cell.col, NumberText{host_.Floating(), host_.DecimalSeparator()});
    if (why.empty()) return;
    host_.Status().SetText(2, why);
    if (ViewExplanation1->isChecked()) Explicacion->setPlainText(QString::fromStdString(why));
}

} // namespace optimara
