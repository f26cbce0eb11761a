// SPDX-License-Identifier: GPL-3.0-or-later
// "Una Solución" in the real main window (offscreen) on generated feasible,
// bounded problems, in both notations: steps per solution and milliseconds
// per step, the build and the final display included.
#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QTextEdit>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "Application.h"
#include "GeneratedProblem.h"
#include "MainWindow.h"
#include "ProblemFile.h"

namespace {

using optimara::TForm1;
using benchproblems::GenerateProblem;

// Goes on at every question, up to a bound that no sound run comes near.
class GoOn : public optimara::DialogQuestions {
public:
    bool AskRestart(QWidget*) override { return ++asked_ < 1000; }

private:
    int asked_ = 0;
};

// Always chooses the same file to open.
class OpenOnly : public optimara::DialogQuestions {
public:
    explicit OpenOnly(QString path) : path_(std::move(path)) {}
    QString ChooseOpenFile(QWidget*) override { return path_; }

private:
    QString path_;
};

// The solve status the window shows.
std::string Status(const TForm1& form) {
    return form.findChild<optimara::StatusPanels*>("StatusBar1")->Text(1);
}

// Types a generated problem of the benchmark's size into a window and times
// `press` from the text to the end, counting the steps it ran.
void MeasureSolve(benchmark::State& state, bool floating, const std::function<void(TForm1&, int)>& press) {
    const int n = static_cast<int>(state.range(0));
    TForm1 form(std::make_unique<GoOn>());
    if (floating) form.FloatingPoint1Click(); else form.Rational1Click();
    QString objective;
    QStringList lines;
    GenerateProblem(n, 2024u + static_cast<uint32_t>(n), objective, lines);
    form.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(1);
    form.findChild<QLineEdit*>("Edit1")->setText(objective);
    auto* constraints = form.findChild<QTextEdit*>("RichEdit1");
    const QString text = lines.join('\n');

    int64_t steps = 0;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        constraints->setPlainText(text);  // an edit: the next solution starts from the text
        const int before = form.StepCount();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        press(form, before);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        steps += form.StepCount() - before;
        if (Status(form) != "Hecho") {
            state.SkipWithError("the generated problem was not solved");
            break;
        }
    }
    state.counters["steps"] = static_cast<double>(steps) / static_cast<double>(state.iterations());
    state.counters["ms_per_step"] = steps > 0 ? 1000.0 * seconds / static_cast<double>(steps) : 0.0;
}

void SolveAtOnce(benchmark::State& state, bool floating) {
    MeasureSolve(state, floating, [](TForm1& form, int) { form.Button1Click(); });
}

// For comparison: "Paso a paso" pressed until the end, every step shown.
void StepByStep(benchmark::State& state, bool floating) {
    MeasureSolve(state, floating, [](TForm1& form, int before) {
        do {
            form.Button2Click();
        } while (Status(form).empty() && form.StepCount() - before < 100000);
    });
}

void BM_SolveFloating(benchmark::State& state) { SolveAtOnce(state, true); }
void BM_SolveRational(benchmark::State& state) { SolveAtOnce(state, false); }

BENCHMARK(BM_SolveFloating)->Arg(20)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolveRational)->Arg(20)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_StepByStepFloating(benchmark::State& state) { StepByStep(state, true); }
void BM_StepByStepRational(benchmark::State& state) { StepByStep(state, false); }
BENCHMARK(BM_StepByStepFloating)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepByStepRational)->Arg(100)->Unit(benchmark::kMillisecond);

// "&Abrir" on a problem file of the benchmark's size in bytes: a short
// problem followed by comment lines, so that the time is the reading and
// the loading into the editor, not the solving.
void BM_OpenLargeFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("grande.lpf");
    const auto size = static_cast<qsizetype>(state.range(0));
    optimara::files::ProblemDocument problem;
    problem.objective = "3x+2y";
    problem.caption = "Sujeto a:";
    for (const char* line : {"x+y<4", "x+3y<6", "x>0", "y>0"})
        problem.lines.push_back(optimara::files::RichParagraph::Plain(line));
    const QString comment = "; " + QString(60, u'c');
    for (qsizetype bytes = 0; bytes < size; bytes += comment.size() + 6)
        problem.lines.push_back(optimara::files::RichParagraph::Plain(comment));
    optimara::files::WriteProblemFile(path, problem);
    TForm1 form(std::make_unique<OpenOnly>(path));
    for (auto _ : state) {
        try {
            form.Open1Click();
        } catch (const std::exception& failure) {
            // The window's error box would show it; here it ends the measurement.
            state.SkipWithError(failure.what());
            break;
        }
        if (Status(form) != "Hecho") {
            state.SkipWithError("the opened problem was not solved");
            break;
        }
    }
    state.counters["MB"] = static_cast<double>(QFileInfo(path).size()) / (1 << 20);
}
// The largest size stays below the largest file the program reads.
BENCHMARK(BM_OpenLargeFile)->Arg(1 << 20)->Arg(3 << 19)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) { return benchproblems::RunInApplication(argc, argv); }
