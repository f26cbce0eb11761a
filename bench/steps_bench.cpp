// SPDX-License-Identifier: GPL-3.0-or-later
// The learning aids in the real main window (offscreen): a step back against
// a step forward with its display, the page of steps, and the memory the
// history of the steps takes.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QComboBox>
#include <chrono>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextEdit>
#include <functional>
#include <memory>

#include "Application.h"
#include "GeneratedProblem.h"
#include "MainWindow.h"
#include "Questions.h"
#include "StepsFeature.h"
#include "ZoomFeature.h"

namespace {

using optimara::TForm1;

using benchproblems::GenerateProblem;

// Nobody answers the question after a hundred steps: the solution goes on.
class GoOn : public optimara::DialogQuestions {
public:
    bool AskRestart(QWidget*) override { return true; }
};

// A window with the generated n x n problem built and `steps` steps made
// one by one (fewer when it ends before).
void Prepare(TForm1& form, int n, int steps) {
    QString objective;
    QStringList lines;
    // min c.x with A x >= b: the origin is outside the region, so the method
    // takes more steps than there are rows.
    GenerateProblem(n, 2024u + static_cast<uint32_t>(n), objective, lines, '>');
    form.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(0);
    form.findChild<QLineEdit*>("Edit1")->setText(objective);
    form.findChild<QTextEdit*>("RichEdit1")->setPlainText(lines.join('\n'));
    const auto* status = form.findChild<optimara::StatusPanels*>("StatusBar1");
    form.Button2Click();
    for (int k = 0; k < steps && status->Text(1).empty(); ++k) form.Button2Click();
}

// Shows or hides the explanation panel through its menu item.
void ShowExplanation(TForm1& form, bool shown) {
    auto* item = form.findChild<QAction*>("ViewExplanation1");
    if (item->isChecked() != shown) item->trigger();
}

// Times one step forward with its display, taking it back untimed after each.
void TimeStepForward(benchmark::State& state, TForm1& form) {
    for (auto _ : state) {
        form.Button2Click();
        state.PauseTiming();
        form.findChild<optimara::StepsFeature*>()->StepBack1Click();
        state.ResumeTiming();
    }
}

// One step forward, display included, from the 50th tableau (taken back
// untimed after each); the second argument shows the explanation.
void BM_StepForward(benchmark::State& state) {
    TForm1 form(std::make_unique<GoOn>());
    const bool before = form.findChild<QAction*>("ViewExplanation1")->isChecked();
    ShowExplanation(form, state.range(1) != 0);
    Prepare(form, static_cast<int>(state.range(0)), 50);
    TimeStepForward(state, form);
    state.counters["steps_made"] = static_cast<double>(form.State().Steps.Steps());
    ShowExplanation(form, before);
}
BENCHMARK(BM_StepForward)->Args({100, 0})->Args({100, 1})->Unit(benchmark::kMillisecond);

// The same step in exact arithmetic, explanation shown, from the given
// tableau (5th or 40th), in decimals or in fractions: two-decimal data, so
// the integers grow with every pivot.
void BM_ExactStepForward(benchmark::State& state) {
    TForm1 form(std::make_unique<GoOn>());
    if (state.range(2) != 0) form.Rational1Click();
    auto* exact = form.findChild<QAction*>("ExactArithmetic1");
    if (!exact->isChecked()) exact->trigger();
    ShowExplanation(form, true);
    Prepare(form, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    state.counters["steps_made"] = static_cast<double>(form.State().Steps.Steps());
    TimeStepForward(state, form);
    exact->trigger();
}
BENCHMARK(BM_ExactStepForward)
    ->ArgNames({"n", "from", "fractions"})
    ->Args({10, 5, 0})
    ->Args({30, 5, 0})
    ->Args({100, 5, 0})
    ->Args({100, 40, 0})
    ->Args({100, 5, 1})
    ->Args({100, 40, 1})
    ->Unit(benchmark::kMillisecond);

// One step forward of a 100 x 100 problem in a shown window, the grid
// painted, in either notation (range 0: 1 floating, 0 rational) and at a
// zoom (range 1, percent).
void BM_StepForwardShown(benchmark::State& state) {
    TForm1 form(std::make_unique<GoOn>());
    if (state.range(0) != 0) form.FloatingPoint1Click(); else form.Rational1Click();
    form.findChild<optimara::ZoomFeature*>()->SetZoom(static_cast<int>(state.range(1)));
    form.show();
    QCoreApplication::processEvents();
    Prepare(form, 100, 50);
    auto* grid = form.findChild<QWidget*>("StringGrid1");
    for (auto _ : state) {
        form.Button2Click();
        grid->repaint();
        state.PauseTiming();
        form.findChild<optimara::StepsFeature*>()->StepBack1Click();
        state.ResumeTiming();
    }
    state.counters["zoom"] = static_cast<double>(form.Zoom());
}
BENCHMARK(BM_StepForwardShown)
    ->ArgNames({"floating", "zoom"})
    ->ArgsProduct({{1, 0}, {100, 200}})
    ->Unit(benchmark::kMillisecond);

// One step back, display included, from the 51st tableau to the 50th.
void BM_StepBack(benchmark::State& state) {
    TForm1 form(std::make_unique<GoOn>());
    Prepare(form, static_cast<int>(state.range(0)), 50);
    for (auto _ : state) {
        state.PauseTiming();
        form.Button2Click();
        state.ResumeTiming();
        form.findChild<optimara::StepsFeature*>()->StepBack1Click();
    }
}
BENCHMARK(BM_StepBack)->Arg(100)->Unit(benchmark::kMillisecond);

// The worst step back: the first after "Una Solución", which kept only
// checkpoints and so replays up to 63 pivots.
void BM_StepBackAfterSolve(benchmark::State& state) {
    TForm1 form(std::make_unique<GoOn>());
    Prepare(form, static_cast<int>(state.range(0)), 0);
    form.Button1Click();
    state.counters["tableaux"] = static_cast<double>(form.State().Steps.Steps() + 1);
    for (auto _ : state) {
        state.PauseTiming();
        form.Button1Click();  // "Hecho": solved again from the text
        state.ResumeTiming();
        form.findChild<optimara::StepsFeature*>()->StepBack1Click();
    }
}
BENCHMARK(BM_StepBackAfterSolve)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(5);

// The page of the first 100 tableaux of an n x n problem (or all it has).
void ExportSteps(benchmark::State& state, bool floating) {
    TForm1 form(std::make_unique<GoOn>());
    if (floating) form.FloatingPoint1Click(); else form.Rational1Click();
    Prepare(form, static_cast<int>(state.range(0)), 99);
    QTemporaryDir dir;
    const QString file = dir.filePath("pasos.html");
    state.counters["tableaux"] = static_cast<double>(form.State().Steps.Steps() + 1);
    for (auto _ : state) form.findChild<optimara::StepsFeature*>()->SaveStepsTo(file);
}
void BM_ExportFloating(benchmark::State& state) { ExportSteps(state, true); }
void BM_ExportRational(benchmark::State& state) { ExportSteps(state, false); }
BENCHMARK(BM_ExportFloating)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportRational)->Arg(50)->Unit(benchmark::kMillisecond);

// The same first 100 tableaux as the PDF handout, each step set and placed.
void BM_ExportPdf(benchmark::State& state) {
    TForm1 form(std::make_unique<GoOn>());
    form.Rational1Click();
    Prepare(form, static_cast<int>(state.range(0)), 99);
    QTemporaryDir dir;
    const QString file = dir.filePath("pasos.pdf");
    state.counters["tableaux"] = static_cast<double>(form.State().Steps.Steps() + 1);
    for (auto _ : state) form.findChild<optimara::StepsFeature*>()->SavePdfTo(file);
}
BENCHMARK(BM_ExportPdf)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond)->Iterations(1);

// Memory of a history of 1,000 steps of a 100 x 100 problem: as "Paso a
// paso" keeps it (the latest tableaux whole) and as "Una Solución" does
// (checkpoints only). The tableau recorded is the first one each time; the
// size, not the values, is what counts here.
void BM_HistoryMemory(benchmark::State& state) {
    TForm1 form(std::make_unique<GoOn>());
    Prepare(form, 100, 0);
    const optimara::ProblemState& problem = form.State().problem;
    double bytes = 0;
    for (auto _ : state) {
        optimara::StepHistory history;
        history.Start(problem, {});
        for (int k = 0; k < 1000; ++k) history.Record(problem, {}, state.range(0) != 0);
        bytes = static_cast<double>(history.MemoryBytes());
    }
    state.counters["MB"] = bytes / (1024.0 * 1024.0);
    state.counters["tableau_KB"] = static_cast<double>(problem.Tableau.rows) * problem.Tableau.cols * 8 / 1024.0;
}
BENCHMARK(BM_HistoryMemory)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);

// Answers the node question twice Yes and then No: 3,000 nodes a press.
class ThreeThousandNodes : public GoOn {
public:
    bool AskMoreNodes(QWidget*) override { return ++asked < 3; }
    int asked = 0;
};

double ResidentMB() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
    return 0;
}

// "Una Solución" on an integer problem with no integer point that no simple
// test sees, 3,000 nodes deep, in the window as the user runs it (steps kept
// for the page within their budget). Reported: the time per 1,000 nodes and
// how much the resident memory grew; the second argument is exact arithmetic.
void BM_DeepIntegerSearch(benchmark::State& state) {
    double grown = 0, nodes = 0, ms = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto questions = std::make_unique<ThreeThousandNodes>();
        TForm1 form(std::move(questions));
        if (state.range(0) != 0) {
            form.findChild<QAction*>("Rational1")->trigger();
            form.findChild<QAction*>("ExactArithmetic1")->trigger();
        }
        form.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(1);
        form.findChild<QLineEdit*>("Edit1")->setText("0x");
        form.findChild<QTextEdit*>("RichEdit1")->setPlainText("4x-4y<3\n4x-4y>1\nentero: x, y");
        const double before = ResidentMB();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        form.Button1Click();
        ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        grown = ResidentMB() - before;
        nodes = double(form.State().Branches.Result().nodes.size());
        if (state.range(0) != 0) {
            form.findChild<QAction*>("ExactArithmetic1")->trigger();
            form.findChild<QAction*>("FloatingPoint1")->trigger();
        }
        state.ResumeTiming();
    }
    state.counters["nodes"] = nodes;
    state.counters["ms_per_1000_nodes"] = ms * 1000.0 / nodes;
    state.counters["rss_growth_MB"] = grown;
}
BENCHMARK(BM_DeepIntegerSearch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) { return benchproblems::RunInApplication(argc, argv); }
