// "Una Solución" in the real main window (offscreen) on generated feasible,
// bounded problems, in both notations: steps per solution and milliseconds
// per step, the build and the final display included.
#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "Application.h"
#include "MainWindow.h"
#include "Notation.h"

namespace {

using optimara::TForm1;

// max c.x subject to A x <= b, x >= 0 with every coefficient positive: the
// origin is feasible and every variable is bounded by every row. Two-decimal
// coefficients and right-hand sides make ties, and so degenerate vertices,
// unlikely; the tableau fills with values that are no small fractions, the
// hardest case for the rational notation.
void GenerateProblem(int n, uint32_t seed, QString& objective, QStringList& lines) {
    auto next = [&seed](uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    auto coefficient = [&] { return QString::number(1.0 + next(900) / 100.0, 'f', 2); };
    auto term = [&](int j) { return (j > 1 ? "+" : "") + coefficient() + QString("x%1").arg(j); };
    objective.clear();
    lines.clear();
    for (int j = 1; j <= n; ++j) objective += term(j);
    for (int i = 0; i < n; ++i) {
        QString line;
        for (int j = 1; j <= n; ++j) line += term(j);
        lines << line + "<" + QString::number(100.0 + next(90000) / 100.0, 'f', 2);
    }
    QString signs;
    for (int j = 1; j <= n; ++j) signs += QString(j > 1 ? ",x%1" : "x%1").arg(j);
    lines << signs + ">0";
}

// Types a generated problem of the benchmark's size into a window and times
// `press` from the text to the end, counting the steps it ran.
void MeasureSolve(benchmark::State& state, bool floating, const std::function<void(TForm1&, int)>& press) {
    const int n = static_cast<int>(state.range(0));
    TForm1 form;
    // Go on at every question, up to a bound that no sound run comes near.
    form.RestartAnswerHook = [&form] { return form.QuestionCount < 1000; };
    if (floating) form.FloatingPoint1Click(); else form.Rational1Click();
    QString objective;
    QStringList lines;
    GenerateProblem(n, 2024u + static_cast<uint32_t>(n), objective, lines);
    form.ComboBox1->setCurrentIndex(1);
    form.Edit1->setText(objective);
    const QString text = lines.join('\n');

    int64_t steps = 0;
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        form.RichEdit1->setPlainText(text);  // an edit: the next solution starts from the text
        const int before = form.StepCount;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        press(form, before);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        steps += form.StepCount - before;
        if (form.StatusBar1->Text(1) != "Hecho") {
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
        } while (form.StatusBar1->Text(1).empty() && form.StepCount - before < 100000);
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

// The floating text alone, nanoseconds per value: quotients of two-decimal
// numbers as pivoting leaves them in the tableau, half of them scaled across
// the magnitudes the general form switches on, and a few arbitrary patterns.
void BM_FormatGeneral15(benchmark::State& state) {
    std::mt19937_64 rng(99);
    std::uniform_int_distribution<int> cents(1, 99999), scale(-20, 20);
    std::vector<double> values(4096);
    for (size_t i = 0; i < values.size(); ++i) {
        double x = static_cast<double>(cents(rng)) / static_cast<double>(cents(rng));
        if (i % 2 == 1) x *= std::pow(10.0, scale(rng));
        if (i % 16 == 15) do x = std::bit_cast<double>(rng()); while (!std::isfinite(x));
        values[i] = (rng() & 1) ? -x : x;
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(optimara::FormatGeneral15(values[i], "."));
        i = (i + 1) % values.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatGeneral15);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    optimara::OptimaraApplication app(argc, argv);
    optimara::SetUpApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
