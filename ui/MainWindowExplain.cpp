// SPDX-License-Identifier: GPL-3.0-or-later
// The explanation of every step, the rule that chooses the pivot and the
// names of the slack variables: the window shows what the display's
// explanation says and keeps the user's choices in the preferences.
#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableView>

#include "Application.h"
#include "Display.h"
#include "Explanation.h"
#include "MainWindow.h"
#include "Preferences.h"
#include "StepsReport.h"

namespace optimara {

namespace {

QAction* AddCheckable(QMenu* menu, const QString& caption, const QString& name, bool checked) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    item->setCheckable(true);
    item->setChecked(checked);
    return item;
}

} // namespace

void TForm1::CreateExplainAids() {
    const files::Preferences preferences = files::ReadPreferences();
    StepsMenu->addSeparator();
    RuleMenu1 = StepsMenu->addMenu("Regla de &pivote");
    RuleMenu1->setObjectName("RuleMenu1");
    auto* rules = new QActionGroup(RuleMenu1);
    rules->setExclusive(true);
    RuleRandom1 = AddCheckable(RuleMenu1, "&Aleatoria", "RuleRandom1", preferences.pivotRule == 0);
    RuleLargest1 = AddCheckable(RuleMenu1, "Mayor &coeficiente", "RuleLargest1", preferences.pivotRule == 1);
    RuleBland1 = AddCheckable(RuleMenu1, QString::fromUtf8("Menor &índice (Bland)"), "RuleBland1",
                              preferences.pivotRule == 2);
    for (QAction* item : {RuleRandom1, RuleLargest1, RuleBland1}) rules->addAction(item);
    state_.problem.Rule = static_cast<PivotRule>(preferences.pivotRule);
    ViewExplanation1 = AddCheckable(StepsMenu, QString::fromUtf8("&Ver explicación"), "ViewExplanation1",
                                    preferences.explanation);
    NotationMenu->addSeparator();
    SlackNames1 = AddCheckable(NotationMenu, "&Nombres de holgura", "SlackNames1", preferences.slackNames);
    ExactArithmetic1 = AddCheckable(NotationMenu, QString::fromUtf8("&Aritmética exacta"), "ExactArithmetic1",
                                    preferences.exact);
    state_.problem.Exact = preferences.exact;

    Explicacion = new QPlainTextEdit(Client);
    Explicacion->setObjectName("Explicacion");
    Explicacion->setReadOnly(true);
    Explicacion->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Explicacion->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Explicacion->setFocusPolicy(Qt::ClickFocus);
    QFont font("Arial", 9);
    Explicacion->setFont(font);
    PlaceBand(Explicacion);
    Explicacion->setVisible(preferences.explanation);
    Client->Arrange();
}

void TForm1::WireExplainAids() {
    connect(RuleRandom1, &QAction::triggered, this, [this] { RunGuarded([this] { RuleClick(PivotRule::Random); }); });
    connect(RuleLargest1, &QAction::triggered, this,
            [this] { RunGuarded([this] { RuleClick(PivotRule::LargestCoefficient); }); });
    connect(RuleBland1, &QAction::triggered, this,
            [this] { RunGuarded([this] { RuleClick(PivotRule::SmallestIndex); }); });
    RouteToggle(ViewExplanation1, &TForm1::ViewExplanation1Click);
    RouteToggle(SlackNames1, &TForm1::SlackNames1Click);
    RouteToggle(ExactArithmetic1, &TForm1::ExactArithmetic1Click);
}

void TForm1::SavePreferences() const {
    files::Preferences p;
    p.pivotRule = RuleLargest1->isChecked() ? 1 : RuleBland1->isChecked() ? 2 : 0;
    p.explanation = ViewExplanation1->isChecked();
    p.slackNames = SlackNames1->isChecked();
    p.exact = ExactArithmetic1->isChecked();
    p.integers = !ViewIntegers1 || ViewIntegers1->isChecked();
    files::WritePreferences(p);
}

void TForm1::RuleClick(PivotRule rule) {
    // The tableau on screen keeps the pivot already chosen for it; the new
    // rule makes the next choice.
    QAction* item = rule == PivotRule::LargestCoefficient ? RuleLargest1
                    : rule == PivotRule::SmallestIndex    ? RuleBland1
                                                          : RuleRandom1;
    item->setChecked(true);
    state_.problem.Rule = rule;
    SavePreferences();
}

void TForm1::ViewExplanation1Click() {
    ViewExplanation1->setChecked(!ViewExplanation1->isChecked());
    SavePreferences();
    ShowExplanationPanel();
    ShowExplanation();
}

void TForm1::ShowExplanationPanel() {
    Explicacion->setVisible(ViewExplanation1->isChecked() && Image3->isHidden());
    Client->Arrange();
}

void TForm1::SlackNames1Click() {
    SlackNames1->setChecked(!SlackNames1->isChecked());
    SavePreferences();
    ShowTableau();
}

void TForm1::ExactArithmetic1Click() {
    ExactArithmetic1->setChecked(!ExactArithmetic1->isChecked());
    SavePreferences();
    state_.problem.Exact = ExactArithmetic1->isChecked();
    // A problem on screen is solved anew from its text in the other arithmetic.
    if (!state_.problem.ProblemReady) return;
    state_.problem.ProblemReady = false;
    Button1Click();
}

void TForm1::ShowExplanation() {
    if (!ViewExplanation1->isChecked()) return;
    const bool maximize = ComboBox1->currentIndex() != 0;
    if (!StatusBar1->Text(0).empty() || !state_.Steps.Started() || !FitsTableau(state_.problem)) {
        Explicacion->setPlainText(QString::fromStdString(StatusBar1->Text(0)));
        return;
    }
    bool onlySearch = false;
    const std::string search = SearchWords(onlySearch);
    if (onlySearch) {
        Explicacion->setPlainText(QString::fromStdString(search));
        return;
    }
    const StepFacts facts = FactsOf(state_.Steps, state_.Steps.Steps(), maximize);
    const Explanation e = ExplainTableau(state_.problem, facts, NumberText{Floating(), separator_});
    // The ratio table's columns, as wide as a 15-digit number in the zoomed font.
    Explicacion->setTabStopDistance(QFontMetricsF(Explicacion->font()).horizontalAdvance(QLatin1Char('0')) * 20);
    Explicacion->setPlainText(QString::fromStdString(ExplanationText(e) + (search.empty() ? "" : "\n\n" + search)));
}

void TForm1::ExplainRefusal(int gridRow, int gridCol) {
    const std::string why = WhyNotPivot(state_.problem, static_cast<uint32_t>(std::max(gridRow, 0)),
                                        static_cast<uint32_t>(std::max(gridCol, 0)), NumberText{Floating(), separator_});
    if (why.empty()) return;
    StatusBar1->SetText(2, why);
    if (ViewExplanation1->isChecked()) Explicacion->setPlainText(QString::fromStdString(why));
}

} // namespace optimara
