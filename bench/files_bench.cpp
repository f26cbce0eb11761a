// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing problem files far larger than any real one, to keep
// the codec linear in the size of its input.
#include <benchmark/benchmark.h>

#include "RichText.h"

using namespace optimara::files;

namespace {

QByteArray RtfOfSize(qsizetype bytes) {
    const QByteArray line = "x+y\\ul <\\ulnone 4 caf\\'e9 \\u8721?\\par\r\n";
    QByteArray data = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\\pard ";
    while (data.size() < bytes) data += line;
    return data + "}";
}

void BM_ReadRtf(benchmark::State& state) {
    const QByteArray data = RtfOfSize(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(ReadRtf(data));
    state.SetBytesProcessed(state.iterations() * data.size());
}
BENCHMARK(BM_ReadRtf)->Arg(1 << 16)->Arg(1 << 20)->Arg(20 << 20)->Unit(benchmark::kMillisecond);

void BM_ReadDeepNesting(benchmark::State& state) {
    const qsizetype depth = state.range(0);
    const QByteArray data = "{\\rtf1 " + QByteArray(depth, '{') + "x" + QByteArray(depth, '}') + "}";
    for (auto _ : state) benchmark::DoNotOptimize(ReadRtf(data));
    state.SetBytesProcessed(state.iterations() * data.size());
}
BENCHMARK(BM_ReadDeepNesting)->Arg(100000)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

void BM_ReadPlainText(benchmark::State& state) {
    QByteArray data;
    while (data.size() < state.range(0)) data += "x + y < 4 caf\xc3\xa9\r\n";
    for (auto _ : state) benchmark::DoNotOptimize(ReadPlainText(data));
    state.SetBytesProcessed(state.iterations() * data.size());
}
BENCHMARK(BM_ReadPlainText)->Arg(1 << 20)->Arg(20 << 20)->Unit(benchmark::kMillisecond);

void BM_WriteRtf(benchmark::State& state) {
    RichDocument doc;
    for (int k = 0; k < state.range(0); ++k) {
        RichParagraph paragraph;
        for (QChar c : QString::fromUtf8("x+y<4 café ∑")) paragraph.Append(c, c == u'<');
        doc.push_back(paragraph);
    }
    for (auto _ : state) benchmark::DoNotOptimize(WriteRtf(doc));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteRtf)->Arg(1000)->Arg(500000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
